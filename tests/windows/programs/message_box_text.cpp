// A Windows test program: prints, in UTF-8, the text of the message box captioned by the first
// argument (the static control of the box that holds text). Exit code 1 when there is none.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

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
  wchar_t caption[256] = {};
  MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, caption, 255);
  const HWND box = FindWindowW(nullptr, caption);
  if (box == nullptr) return 1;
  std::wstring text;
  EnumChildWindows(box, TakeText, reinterpret_cast<LPARAM>(&text));
  if (text.empty()) return 1;
  char utf8[2048] = {};
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
  std::fputs(utf8, stdout);
  return 0;
}
