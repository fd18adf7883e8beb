#pragma once

#include <fstream>
#include <string>

namespace kelvaro::bench {

// A "VmRSS" or "VmHWM" figure of this process in MiB, from /proc.
inline double ProcessMemoryMiB(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field + ":", 0) == 0) {
      return std::stod(line.substr(field.size() + 1)) / 1024.0;
    }
  }
  return 0;
}

}  // namespace kelvaro::bench
