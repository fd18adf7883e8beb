#include <csignal>
#include <iostream>
#include <new>
#include <string_view>
#include <vector>

#include "cli/pinyin_cli.h"

int main(int argc, char** argv) {
  // A write to a reader that has gone fails with EPIPE, which is reported
  // like any failed write, instead of ending the program without a word.
  std::signal(SIGPIPE, SIG_IGN);
  try {
    std::ios::sync_with_stdio(false);  // allocates the streams' buffers
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return kelvaro::RunPinyinCli(args, std::cin, std::cout, std::cerr);
  } catch (const std::bad_alloc&) {
    return kelvaro::ReportOutOfMemory(std::cerr);
  }
}
