// profile_tool.exe write|read <file> <section> <key> [<value>]: the program's own profile
// functions; a read prints the value. Texts go in hexadecimal, so that blanks and code page 932
// bytes arrive unchanged.
#include <cstdio>
#include <string>

#include "platform/profile.h"
#include "tests/support/hex.h"

int main(int argc, char** argv) {
  using orvane::testing::Unhex;
  const std::string verb = argc >= 5 ? argv[1] : "";
  if (verb == "write" && argc >= 6)
    return !orvane::WritePrivateProfileString(Unhex(argv[3]), Unhex(argv[4]), Unhex(argv[5]),
                                              Unhex(argv[2]));
  if (verb != "read") return 2;
  const std::string value =
      orvane::GetPrivateProfileString(Unhex(argv[3]), Unhex(argv[4]), Unhex(argv[2]));
  std::fputs(orvane::testing::Hex(value).c_str(), stdout);
  return 0;
}
