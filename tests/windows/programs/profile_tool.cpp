// A Windows program around the profile functions, Windows' and the program's own:
//   profile_tool.exe write <file> <section> <key> <value>      WritePrivateProfileStringA
//   profile_tool.exe read <file> <section> <key>               GetPrivateProfileStringA
//   profile_tool.exe ours-write <file> <section> <key> <value>
//   profile_tool.exe ours-read <file> <section> <key>
// Keys and values go in hexadecimal, so that their code page 932 bytes arrive unchanged, and so
// do all four arguments of ours, which take the file's path in UTF-8. Reads print the value.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/profile.h"
#include "platform/win32/windows_api.h"
#include "tests/support/hex.h"

int main(int argc, char** argv) {
  using orvane::testing::Unhex;
  const std::string verb = argc >= 5 ? argv[1] : "";
  std::string value;
  if (verb == "write" && argc >= 6)
    return WritePrivateProfileStringA(argv[3], Unhex(argv[4]).c_str(), Unhex(argv[5]).c_str(),
                                      argv[2])
               ? 0
               : 1;
  if (verb == "ours-write" && argc >= 6)
    return orvane::WritePrivateProfileString(Unhex(argv[3]), Unhex(argv[4]), Unhex(argv[5]),
                                             Unhex(argv[2]))
               ? 0
               : 1;
  if (verb == "read") {
    char buffer[256] = {};
    GetPrivateProfileStringA(argv[3], Unhex(argv[4]).c_str(), "", buffer, sizeof buffer, argv[2]);
    value = buffer;
  } else if (verb == "ours-read") {
    value = orvane::GetPrivateProfileString(Unhex(argv[3]), Unhex(argv[4]), Unhex(argv[2]));
  } else {
    return 2;
  }
  std::fwrite(value.data(), 1, value.size(), stdout);
  return 0;
}
