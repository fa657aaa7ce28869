// profile_tool.exe [ours-]write|[ours-]read <file> <section> <key> [<value>]: Windows' profile
// functions (the A forms) or the program's own; a read prints the value. Keys and values go in
// hexadecimal, so that code page 932 bytes arrive unchanged, and all texts of ours do.
#include <cstdio>
#include <string>

#include "platform/profile.h"
#include "platform/win32/windows_api.h"
#include "tests/support/hex.h"

int main(int argc, char** argv) {
  using orvane::testing::Unhex;
  const std::string verb = argc >= 5 ? argv[1] : "";
  if (verb == "write" && argc >= 6)
    return !WritePrivateProfileStringA(argv[3], Unhex(argv[4]).c_str(), Unhex(argv[5]).c_str(),
                                       argv[2]);
  if (verb == "ours-write" && argc >= 6)
    return !orvane::WritePrivateProfileString(Unhex(argv[3]), Unhex(argv[4]), Unhex(argv[5]),
                                              Unhex(argv[2]));
  std::string value;
  if (verb == "read") {
    char buffer[256] = {};
    GetPrivateProfileStringA(argv[3], Unhex(argv[4]).c_str(), "", buffer, sizeof buffer, argv[2]);
    value = buffer;
  } else if (verb == "ours-read") {
    value = orvane::GetPrivateProfileString(Unhex(argv[3]), Unhex(argv[4]), Unhex(argv[2]));
  } else {
    return 2;
  }
  std::fputs(value.c_str(), stdout);
  return 0;
}
