#pragma once

class QWidget;

namespace kelvaro {

// Asks an X11 window manager to keep the window out of task bars. Must be called before every show:
// the window manager drops the request when the window is hidden. Does nothing on other platforms.
void RequestSkipTaskbar(QWidget& window);

}  // namespace kelvaro
