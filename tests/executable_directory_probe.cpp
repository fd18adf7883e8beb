// Prints the directory that the program finds itself in, byte for byte.
#include <cstdio>

#include "wordlist/word_list_location.h"

int main() {
  const auto directory = kelvaro::ExecutableDirectory();
  std::fwrite(directory.c_str(), 1, directory.native().size(), stdout);
  return directory.empty() ? 1 : 0;
}
