// A Windows test program around the profile functions:
//   profile_tool.exe write <file> <section> <key as hex bytes> <value as hex bytes>
//   profile_tool.exe read <file> <section> <key as hex bytes>   (prints the value)
//   profile_tool.exe ours-write <file> <section> <key> <value>   the program's own profile
//   profile_tool.exe ours-read <file> <section> <key>            functions, all four as hex
// Keys and values go as hex, so that their code page 932 bytes reach the functions unchanged;
// the program's own functions take the file's path in UTF-8.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/profile.h"
#include "platform/win32/windows_api.h"

namespace {

std::string FromHex(const char* hex) {
  std::string bytes;
  for (size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2) {
    const char pair[3] = {hex[i], hex[i + 1], '\0'};
    bytes += static_cast<char>(std::strtoul(pair, nullptr, 16));
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 6 && std::strcmp(argv[1], "write") == 0) {
    return WritePrivateProfileStringA(argv[3], FromHex(argv[4]).c_str(), FromHex(argv[5]).c_str(),
                                      argv[2])
               ? 0
               : 1;
  }
  if (argc >= 5 && std::strcmp(argv[1], "read") == 0) {
    char value[256] = {};
    GetPrivateProfileStringA(argv[3], FromHex(argv[4]).c_str(), "", value, sizeof value, argv[2]);
    std::fwrite(value, 1, std::strlen(value), stdout);
    return 0;
  }
  if (argc >= 6 && std::strcmp(argv[1], "ours-write") == 0) {
    return orvane::WritePrivateProfileString(FromHex(argv[3]), FromHex(argv[4]), FromHex(argv[5]),
                                             FromHex(argv[2]))
               ? 0
               : 1;
  }
  if (argc >= 5 && std::strcmp(argv[1], "ours-read") == 0) {
    const std::string value =
        orvane::GetPrivateProfileString(FromHex(argv[3]), FromHex(argv[4]), FromHex(argv[2]));
    std::fwrite(value.data(), 1, value.size(), stdout);
    return 0;
  }
  return 2;
}
