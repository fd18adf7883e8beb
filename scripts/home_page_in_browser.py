#!/usr/bin/python3
"""Opens the home page in headless Chromium and checks what a parent sees.

Usage: home_page_in_browser.py PAGE_DIR OUT_DIR

Checks that every link and reference of index.html stays inside PAGE_DIR and
names a file (or an anchor) that exists; loads the page in Chromium, driven
over the DevTools protocol on a pipe, and fails on any console error or
script exception; saves screenshots to OUT_DIR; clicks each copy button as a
user does and compares the clipboard with the text beside it. Also runs the
page's command that turns a UTF-8 word list into GBK: on a themed list
written as UTF-8, with and without a byte-order mark, it must give the
shipped list; on a list with an emoji or in GBK it must name the line and
write nothing. Where the package is installed, runs the page's command that
makes a parent's own list, in a home folder of its own.
"""

import base64
import html.parser
import json
import os
import pathlib
import subprocess
import sys
import tempfile
import time
import urllib.parse


class References(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.references = []  # (tag, attribute, value)
        self.ids = set()

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name == "id":
                self.ids.add(value)
            if name in ("href", "src", "action", "poster", "data"):
                self.references.append((tag, name, value))


def check_references(page_dir):
    parser = References()
    parser.feed((page_dir / "index.html").read_text(encoding="utf-8"))
    problems = []
    for tag, name, value in parser.references:
        parts = urllib.parse.urlsplit(value)
        if parts.scheme or parts.netloc:
            problems.append(f"<{tag} {name}={value}> leaves the page's folder")
        elif not parts.path:
            if parts.fragment not in parser.ids:
                problems.append(f"<{tag} {name}={value}> names no element")
        else:
            target = (page_dir / urllib.parse.unquote(parts.path)).resolve()
            if page_dir.resolve() not in target.parents or not target.is_file():
                problems.append(f"<{tag} {name}={value}> names no file of the page")
    css = (page_dir / "style.css").read_text(encoding="utf-8")
    if "url(" in css or "@import" in css:
        problems.append("style.css loads something")
    return len(parser.references), problems


class PreText(html.parser.HTMLParser):
    """The text of the <pre> with a given id."""

    def __init__(self, wanted):
        super().__init__()
        self.wanted, self.inside, self.text = wanted, False, ""

    def handle_starttag(self, tag, attrs):
        self.inside = self.inside or (tag == "pre" and ("id", self.wanted) in attrs)

    def handle_endtag(self, tag):
        self.inside = self.inside and tag != "pre"

    def handle_data(self, data):
        if self.inside:
            self.text += data


def run_page_command(command, folder, home=None):
    environment = dict(os.environ, HOME=home) if home else None
    return subprocess.run(["bash", "-c", command], cwd=folder, env=environment,
                          capture_output=True, text=True, errors="replace")


def check_conversion_command(page_dir):
    parser = PreText("to-gbk")
    parser.feed((page_dir / "index.html").read_text(encoding="utf-8"))
    shipped = (page_dir / "lists" / "animals.txt").read_bytes()
    entries = shipped.decode("gbk").split("\r\n")[:-1]
    # As a parent might write it: LF line ends, a blank line, no final line end.
    lines = entries[:5] + ["", "  "] + entries[5:]
    written = "\n".join(lines)
    with_emoji = lines[:8] + [lines[8] + "\U0001F43C"] + lines[9:]
    cases = [  # name, bytes of 我的词.txt, the line that cannot be converted
        ("UTF-8, LF", written.encode("utf-8"), None),
        ("UTF-8 with a byte-order mark, CR LF",
         b"\xEF\xBB\xBF" + "\r\n".join(lines).encode("utf-8") + b"\r\n", None),
        ("an emoji on line 9", "\n".join(with_emoji).encode("utf-8"), 9),
        # Its first line, 小猫, is valid UTF-8 too (Сè); the second is not.
        ("GBK instead of UTF-8", "\n".join(lines).encode("gbk"), 2),
    ]
    problems = []
    for name, source, bad_line in cases:
        with tempfile.TemporaryDirectory() as folder:
            pathlib.Path(folder, "我的词.txt").write_bytes(source)
            made = pathlib.Path(folder, "小孩子感兴趣的词.txt")
            earlier = b"\xC0\xCF\xCA\xA6\r\n"  # 老师: a list made before, which must stay
            if bad_line:
                made.write_bytes(earlier)
            result = run_page_command(parser.text, folder)
            left = sorted(p.name for p in pathlib.Path(folder).iterdir())
            print(f"conversion command, {name}: {result.stdout.strip() or result.stderr.strip()}")
            if left != ["小孩子感兴趣的词.txt", "我的词.txt"]:
                problems.append(f"the conversion command, {name}, leaves {left}")
            if bad_line is None and made.read_bytes() != shipped:
                problems.append(f"the conversion command, {name}, gives another file")
            if bad_line is not None:
                if made.read_bytes() != earlier:
                    problems.append(f"the conversion command, {name}, wrote the list")
                if f"第 {bad_line} 行" not in result.stderr:
                    problems.append(f"the conversion command, {name}, does not name line "
                                    f"{bad_line}: {result.stderr!r}")
    return problems


def check_own_list_command(page_dir):
    installed = pathlib.Path("/usr/lib/kelvaro/小孩子感兴趣的词.txt")
    if not installed.is_file():
        print("own-list command: not run, the package is not installed")
        return []
    parser = PreText("own-list")
    parser.feed((page_dir / "index.html").read_text(encoding="utf-8"))
    with tempfile.TemporaryDirectory() as home:
        own = pathlib.Path(home, ".config/kelvaro/小孩子感兴趣的词.txt")
        first = run_page_command(parser.text, home, home)
        if first.returncode != 0 or not own.is_file():
            return [f"the own-list command failed: {first.stderr!r}"]
        problems = []
        if own.read_bytes().decode("utf-8") != installed.read_bytes().decode("gbk"):
            problems.append("the own-list command does not copy the installed list as UTF-8")
        own.write_bytes("恐龙\n".encode("utf-8"))
        run_page_command(parser.text, home, home)
        if own.read_bytes() != "恐龙\n".encode("utf-8"):
            problems.append("the own-list command overwrites a parent's list")
        print(f"own-list command: made {own.relative_to(home)}, left it alone the second time")
        return problems


class Browser:
    """Chromium with its DevTools protocol on fds 3 (commands) and 4 (replies)."""

    def __init__(self, profile):
        commands_read, self.commands = os.pipe()
        self.replies, replies_write = os.pipe()

        def hand_over_pipes():
            os.dup2(commands_read, 3)
            os.dup2(replies_write, 4)

        self.process = subprocess.Popen(
            ["chromium", "--headless=new", "--remote-debugging-pipe", "--no-sandbox",
             "--no-first-run", "--disable-gpu", f"--user-data-dir={profile}", "about:blank"],
            pass_fds=(commands_read, replies_write, 3, 4), preexec_fn=hand_over_pipes,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(commands_read)
        os.close(replies_write)
        self.next_id = 0
        self.buffer = b""
        self.events = []

    def _read_message(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.replies, 1 << 16)
            if not chunk:
                raise RuntimeError("Chromium closed its DevTools pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, session=None, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self.commands, json.dumps(message).encode() + b"\0")
        while True:
            reply = self._read_message()
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]
            self.events.append(reply)

    def wait_for(self, method, timeout=20):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for event in self.events:
                if event.get("method") == method:
                    self.events.remove(event)
                    return event
            self.events.append(self._read_message())
        raise RuntimeError(f"no {method} within {timeout} s")

    def close(self):
        try:
            self.send("Browser.close")
        except RuntimeError:
            pass
        self.process.wait(timeout=20)


def errors_in(events):
    errors = []
    for event in events:
        method, params = event.get("method"), event.get("params", {})
        if method == "Runtime.exceptionThrown":
            errors.append(params["exceptionDetails"].get("text", "exception"))
        elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "warning"):
            errors.append(" ".join(str(a.get("value")) for a in params.get("args", [])))
        elif method == "Log.entryAdded" and params["entry"]["level"] in ("error", "warning"):
            errors.append(params["entry"]["text"] + " " + params["entry"].get("url", ""))
    return errors


def main():
    page_dir = pathlib.Path(sys.argv[1]).resolve()
    out_dir = pathlib.Path(sys.argv[2])
    out_dir.mkdir(parents=True, exist_ok=True)
    failures = []

    count, problems = check_references(page_dir)
    failures += problems
    print(f"references: {count} checked, {len(problems)} broken")
    failures += check_conversion_command(page_dir)
    failures += check_own_list_command(page_dir)

    with tempfile.TemporaryDirectory() as profile:
        browser = Browser(profile)
        try:
            target = browser.send("Target.createTarget", url="about:blank")["targetId"]
            session = browser.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
            for domain in ("Page", "Runtime", "Log"):
                browser.send(f"{domain}.enable", session)
            browser.send("Browser.grantPermissions",
                         permissions=["clipboardReadWrite", "clipboardSanitizedWrite"])
            browser.send("Emulation.setFocusEmulationEnabled", session, enabled=True)
            browser.send("Emulation.setDeviceMetricsOverride", session, width=1280, height=1000,
                         deviceScaleFactor=1, mobile=False)
            address = (page_dir / "index.html").as_uri()
            browser.send("Page.navigate", session, url=address)
            browser.wait_for("Page.loadEventFired")
            print(f"loaded {address}")

            def evaluate(expression):
                result = browser.send("Runtime.evaluate", session, expression=expression,
                                      awaitPromise=True, returnByValue=True)
                if "exceptionDetails" in result:
                    raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
                return result["result"].get("value")

            def screenshot(name):
                data = browser.send("Page.captureScreenshot", session, format="png")["data"]
                (out_dir / name).write_bytes(base64.b64decode(data))
                print(f"screenshot {out_dir / name}")

            screenshot("home-page-top.png")
            evaluate("document.getElementById('practice').scrollIntoView(); true")
            screenshot("home-page-practice.png")

            buttons = evaluate("document.querySelectorAll('button[data-copy]').length")
            if not buttons:
                failures.append("no copy button")
            for index in range(buttons):
                button = f"document.querySelectorAll('button[data-copy]')[{index}]"
                box = evaluate(f"{button}.scrollIntoView({{block: 'center'}});"
                               f"(r => [r.x + r.width / 2, r.y + r.height / 2])"
                               f"({button}.getBoundingClientRect())")
                for kind in ("mousePressed", "mouseReleased"):
                    browser.send("Input.dispatchMouseEvent", session, type=kind, x=box[0],
                                 y=box[1], button="left", clickCount=1)
                expected = evaluate(f"document.getElementById({button}.dataset.copy).textContent")
                for _ in range(50):
                    if evaluate(f"{button}.textContent") != "复制":
                        break
                    time.sleep(0.05)
                copied = evaluate("navigator.clipboard.readText()")
                label = evaluate(f"{button}.textContent")
                if copied != expected or label != "已复制":
                    failures.append(f"copy button {index}: clipboard {copied!r}, button {label!r}")
            print(f"copy buttons: {buttons} clicked")
            screenshot("home-page-copied.png")

            errors = errors_in(browser.events)
            failures += [f"console: {e}" for e in errors]
            print(f"console errors: {len(errors)}")
        finally:
            browser.close()

    for failure in failures:
        print(f"FAIL {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
