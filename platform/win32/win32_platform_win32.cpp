#include <cstdint>
#include <map>
#include <string>

#include "platform/atomic_file.h"
#include "platform/win32/known_folders_win32.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

namespace orvane {
namespace {

HWND Hwnd(WindowHandle window) {
  return static_cast<HWND>(ToHwnd(window));
}

// Quotes one command-line argument so that the C library of the started program reads it back.
std::string Quoted(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
    return argument;
  }
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

class Win32Windows final : public WindowFinder, public WindowGeometry, public RectAnimation {
 public:
  WindowHandle FindWindow(std::string_view title) override {
    return FromHwnd(FindWindowA(nullptr, std::string(title).c_str()));
  }

  std::optional<Rect> GetWindowRect(WindowHandle window) override {
    RECT r{};
    if (window == 0 || !::GetWindowRect(Hwnd(window), &r)) return std::nullopt;
    return Rect::FromEdges(r.left, r.top, r.right, r.bottom);
  }

  bool SetParent(WindowHandle child, WindowHandle parent) override {
    const HWND c = Hwnd(child);
    if (child == 0 || !IsWindow(c) || (parent != 0 && !IsWindow(Hwnd(parent)))) return false;
    // A child window needs WS_CHILD in place of WS_POPUP to live inside its parent.
    LONG style = GetWindowLongA(c, GWL_STYLE);
    style = parent != 0 ? (style | WS_CHILD) & ~WS_POPUP : (style & ~WS_CHILD) | WS_POPUP;
    SetWindowLongA(c, GWL_STYLE, style);
    if (::SetParent(c, Hwnd(parent)) == nullptr && GetLastError() != ERROR_SUCCESS) return false;
    SetWindowPos(c, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
  }

  void DrawAnimatedRects(WindowHandle window, const Rect& from, const Rect& to) override {
    const RECT f{from.X, from.Y, from.Right(), from.Bottom()};
    const RECT t{to.X, to.Y, to.Right(), to.Bottom()};
    ::DrawAnimatedRects(Hwnd(window), IDANI_CAPTION, &f, &t);
  }
};

class Win32Desktop final : public Cursor, public Pointer, public ScreenMetrics, public MessageBox {
 public:
  void ShowCursor(bool show) override { ::ShowCursor(show ? TRUE : FALSE); }

  std::optional<Point> GetCursorPos() override {
    POINT p{};
    if (!::GetCursorPos(&p)) return std::nullopt;
    return Point{p.x, p.y};
  }

  float TwipsPerPixelX() override { return 1440.0f / Dpi(LOGPIXELSX); }
  float TwipsPerPixelY() override { return 1440.0f / Dpi(LOGPIXELSY); }
  int ScreenWidth() override { return GetSystemMetrics(SM_CXSCREEN); }
  int ScreenHeight() override { return GetSystemMetrics(SM_CYSCREEN); }

  void ShowMessage(std::string_view text) override {
    MessageBoxW(nullptr, Utf16(text).c_str(), Utf16(MessageBoxCaption).c_str(), MB_OK);
  }

 private:
  static int Dpi(int axis) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, axis) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
  }
};

bool Exists(const std::string& path) {
  return GetFileAttributesW(Utf16(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Whether the user may make files in folder (no trailing backslash): a file of our own is made
// there and removed. A name from GetTempFileNameA proves nothing: Wine reports success without
// making the file.
bool CanMakeFilesIn(const std::string& folder) {
  const std::wstring base =
      Utf16(folder) + L"\\~orvane-" + std::to_wstring(GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::wstring probe = base + std::to_wstring(attempt) + L".tmp";
    const HANDLE made = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (made != INVALID_HANDLE_VALUE) {
      CloseHandle(made);
      DeleteFileW(probe.c_str());
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

// True when the user may write the file, or, where it is missing, make files in its folder.
bool Writable(const std::string& file, const std::string& folder) {
  // A read-only file is refused by the attribute itself, which Wine run as root would not.
  const std::wstring wide = Utf16(file);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  const HANDLE opened = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened != INVALID_HANDLE_VALUE) {
    CloseHandle(opened);
    return true;
  }
  if (Exists(file)) return false;
  return CanMakeFilesIn(folder);
}

class Win32Files final : public FileSystem, public Process, public UserFiles {
  static std::string FolderWithoutBackslash(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
  }

 public:
  bool CreateDirectory(const std::string& path) override {
    const std::wstring wide = Utf16(path);
    CreateDirectoryW(wide.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool CopyFile(const std::string& from, const std::string& to) override {
    return CopyFileAtomically(from, to);
  }

  std::string HostFolder() override {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
      path.resize(path.size() * 2);
    }
    path.resize(length);
    const size_t cut = path.find_last_of(L'\\');
    if (cut == std::wstring::npos) return Utf8(path);
    // A drive root keeps its backslash: "C:\".
    return Utf8(path.substr(0, cut == 2 && path[1] == L':' ? cut + 1 : cut));
  }

  ProgramId StartProgram(const std::string& program,
                         const std::vector<std::string>& arguments) override {
    std::string commandLine = Quoted(program);
    for (const std::string& argument : arguments) commandLine += " " + Quoted(argument);
    std::wstring wideCommandLine = Utf16(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(Utf16(program).c_str(), wideCommandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &started)) {
      return 0;
    }
    // The host never waits for the programs it starts; it only asks whether they have ended.
    CloseHandle(started.hThread);
    const ProgramId id = nextProgram_++;
    programs_[id] = started.hProcess;
    return id;
  }

  bool ProgramEnded(ProgramId program) override {
    const auto found = programs_.find(program);
    if (found == programs_.end()) return true;
    DWORD code = 0;
    if (GetExitCodeProcess(found->second, &code) && code == STILL_ACTIVE) return false;
    CloseHandle(found->second);
    programs_.erase(found);
    return true;
  }

  // Beside the host while the user may write there, else %APPDATA%\Orvane (a .scr installed
  // under System32 or Program Files). The folder is made by the first save, not here.
  std::string SettingsPath(const std::string& hostFolder) override {
    const std::string folder = FolderWithoutBackslash(hostFolder);
    const std::string beside = folder + "\\Orvane.ini";
    if (Writable(beside, folder)) return beside;
    wchar_t appData[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return beside;
    return Utf8(std::wstring_view(appData, length)) + "\\Orvane\\Orvane.ini";
  }

  // Until the first save in %APPDATA%\Orvane, the settings beside the host are read.
  std::string SettingsSourcePath(const std::string& hostFolder) override {
    const std::string chosen = SettingsPath(hostFolder);
    const std::string beside = FolderWithoutBackslash(hostFolder) + "\\Orvane.ini";
    return chosen != beside && !Exists(chosen) && Exists(beside) ? beside : chosen;
  }

  // Windows has no picture tool of ours: the picture beside the host is the one.
  std::string UserPicturePath() override { return ""; }
  std::string MusicFolder() override { return KnownMusicFolder(); }
  std::string HomeFolder() override { return KnownProfileFolder(); }

  void EndProcess() override { ExitProcess(0); }

 private:
  ProgramId nextProgram_ = 1;
  std::map<ProgramId, HANDLE> programs_;
};

constexpr char kTimerClass[] = "OrvaneTimers";

// Window timers on a hidden window of the UI thread: each WM_TIMER runs its timer's tick.
class Win32Timers final : public Timers {
 public:
  static std::unique_ptr<Win32Timers> Make() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kTimerClass;
    RegisterClassA(&windowClass);
    auto timers = std::unique_ptr<Win32Timers>(new Win32Timers);
    timers->window_ = CreateWindowExA(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      windowClass.hInstance, nullptr);
    if (timers->window_ == nullptr) return nullptr;
    SetWindowLongPtrA(timers->window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(timers.get()));
    return timers;
  }
  ~Win32Timers() override {
    if (window_ != nullptr) DestroyWindow(window_);
  }

  TimerId StartTimer(std::chrono::milliseconds interval, std::function<void()> tick) override {
    const TimerId id = nextId_++;
    if (SetTimer(window_, id, static_cast<UINT>(interval.count()), nullptr) == 0) return id;
    ticks_[id] = std::move(tick);
    return id;
  }

  void StopTimer(TimerId id) override {
    if (ticks_.erase(id) > 0) KillTimer(window_, id);
  }

 private:
  Win32Timers() = default;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Timers*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message != WM_TIMER || self == nullptr) {
      return DefWindowProcA(window, message, wParam, lParam);
    }
    const auto found = self->ticks_.find(static_cast<TimerId>(wParam));
    if (found != self->ticks_.end()) {
      // A copy, since the tick may stop its own timer.
      const std::function<void()> tick = found->second;
      tick();
    }
    return 0;
  }

  HWND window_ = nullptr;
  TimerId nextId_ = 1;
  std::map<TimerId, std::function<void()>> ticks_;
};

}  // namespace

void* ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(window)));
}

WindowHandle FromHwnd(void* hwnd) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hwnd));
}

struct Win32Platform::Parts {
  Win32Windows windows;
  Win32Desktop desktop;
  Win32Files files;
  std::unique_ptr<Win32Timers> timers;
  Platform platform{windows, desktop, desktop, windows, desktop, windows,
                    desktop, files,   files,   *timers, files};

  explicit Parts(std::unique_ptr<Win32Timers> made) : timers(std::move(made)) {}
};

std::unique_ptr<Win32Platform> Win32Platform::Open() {
  auto timers = Win32Timers::Make();
  if (!timers) return nullptr;
  return std::unique_ptr<Win32Platform>(
      new Win32Platform(std::make_unique<Parts>(std::move(timers))));
}

Win32Platform::Win32Platform(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
Win32Platform::~Win32Platform() = default;

Platform& Win32Platform::platform() {
  return parts_->platform;
}

void Win32Platform::RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace orvane
