// A Windows test program: prints, in UTF-8, the text of the message box captioned by the first
// argument (the static control of the box that holds text). Exit code 1 when there is none.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring Wide(const char* utf8) {
  std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(wide.size() - 1);
  return wide;
}

BOOL CALLBACK TakeText(HWND child, LPARAM found) {
  wchar_t className[16] = {};
  GetClassNameW(child, className, 16);
  wchar_t text[512] = {};
  if (lstrcmpiW(className, L"Static") != 0 || GetWindowTextW(child, text, 512) == 0) return TRUE;
  *reinterpret_cast<std::wstring*>(found) = text;
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const HWND box = FindWindowW(nullptr, Wide(argv[1]).c_str());
  if (box == nullptr) return 1;
  std::wstring text;
  EnumChildWindows(box, TakeText, reinterpret_cast<LPARAM>(&text));
  if (text.empty()) return 1;
  std::string utf8(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr),
                   '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), static_cast<int>(utf8.size()),
                      nullptr, nullptr);
  std::fwrite(utf8.c_str(), 1, utf8.size() - 1, stdout);
  return 0;
}
