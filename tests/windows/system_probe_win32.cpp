// A console program that puts Windows' own profile functions at the service of a test on the
// Linux side, which runs it under Wine.
//
// It reads one command a line from its standard input and answers each with one line; texts
// travel in hexadecimal (tests/support/hex.h).
//   read FILE SECTION KEY         GetPrivateProfileStringA, buffer 256  -> result VALUE
//   write FILE SECTION KEY VALUE  WritePrivateProfileStringA            -> result

#include <windows.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/hex.h"

using orvane::testing::Hex;
using orvane::testing::Unhex;

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(words.empty() ? word : Unhex(word));
    words.resize(5);
    char buffer[256] = {};
    if (line.starts_with("read ")) {
      const DWORD n = GetPrivateProfileStringA(words[2].c_str(), words[3].c_str(), "", buffer,
                                               sizeof buffer, words[1].c_str());
      std::printf("%lu %s\n", n, Hex(buffer).c_str());
    } else if (line.starts_with("write ")) {
      std::printf("%d\n", WritePrivateProfileStringA(words[2].c_str(), words[3].c_str(),
                                                     words[4].c_str(), words[1].c_str()) != 0);
    } else {
      std::printf("unknown\n");
    }
    std::fflush(stdout);
  }
  return 0;
}
