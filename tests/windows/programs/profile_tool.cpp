// profile_tool.exe [ours-]write|[ours-]read <file> <section> <key> [<value>]: Windows' profile
// functions (the A forms) or the program's own; a read prints the value. Texts other than the A
// forms' file go in hexadecimal, so that blanks and code page 932 bytes arrive unchanged.
#include <cstdio>
#include <string>

#include "platform/profile.h"
#include "platform/win32/windows_api.h"
#include "tests/support/hex.h"

int main(int argc, char** argv) {
  using orvane::testing::Unhex;
  const std::string verb = argc >= 5 ? argv[1] : "";
  const std::string section = argc >= 5 ? Unhex(argv[3]) : "",
                    key = argc >= 5 ? Unhex(argv[4]) : "";
  if (verb == "write" && argc >= 6)
    return !WritePrivateProfileStringA(section.c_str(), key.c_str(), Unhex(argv[5]).c_str(),
                                       argv[2]);
  if (verb == "ours-write" && argc >= 6)
    return !orvane::WritePrivateProfileString(section, key, Unhex(argv[5]), Unhex(argv[2]));
  std::string value;
  if (verb == "read") {
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer, argv[2]);
    value = buffer;
  } else if (verb == "ours-read") {
    value = orvane::GetPrivateProfileString(section, key, Unhex(argv[2]));
  } else {
    return 2;
  }
  std::fputs(orvane::testing::Hex(value).c_str(), stdout);
  return 0;
}
