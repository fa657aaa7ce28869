// A Windows test program standing in for the display settings: `preview_caller.exe <host> <width>
// <height> <ms>` makes a borderless window of that size, starts `<host> /p <its handle>`, prints
// its child windows after ms, destroys itself and prints "ended <code>" if the host ends in 10 s.
#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// "child <title> <left>,<top> <width>x<height> visible|hidden", in the caller's client pixels.
static BOOL CALLBACK PrintChild(HWND child, LPARAM caller) {
  char title[64] = {};
  GetWindowTextA(child, title, sizeof title);
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, reinterpret_cast<HWND>(caller), reinterpret_cast<POINT*>(&r), 2);
  std::printf("child %s %ld,%ld %ldx%ld %s\n", title, r.left, r.top, r.right - r.left,
              r.bottom - r.top, IsWindowVisible(child) ? "visible" : "hidden");
  return TRUE;
}

int main(int argc, char** argv) {
  if (argc < 5) return 2;
  HWND caller = CreateWindowExA(0, "STATIC", "Preview Caller", WS_POPUP | WS_VISIBLE, 100, 100,
                                std::atoi(argv[2]), std::atoi(argv[3]), nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  // The host's path from the wide command line: its folder may be named outside the code page.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (caller == nullptr || wide == nullptr) return 2;
  std::wstring commandLine = L"\"" + std::wstring(wide[1]) + L"\" /p " +
                             std::to_wstring(reinterpret_cast<std::uintptr_t>(caller));
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION host{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &host))
    return 3;
  SetTimer(caller, 1, static_cast<UINT>(std::atoi(argv[4])), nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
    DispatchMessageA(&message);
  EnumChildWindows(caller, PrintChild, reinterpret_cast<LPARAM>(caller));
  DestroyWindow(caller);
  DWORD code = 1;
  if (WaitForSingleObject(host.hProcess, 10000) != WAIT_OBJECT_0) return 1;
  GetExitCodeProcess(host.hProcess, &code);
  std::printf("ended %lu\n", code);
  return 0;
}
