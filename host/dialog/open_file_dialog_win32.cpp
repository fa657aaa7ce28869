#include "host/dialog/open_file_dialog_win32.h"

// commdlg.h after windows.h: the file dialog's record and function.
#include <commdlg.h>

#include "platform/win32/wide_text.h"

namespace orvane {
namespace {

// The open-file dialog's answer, in characters with the closing NUL.
constexpr size_t kFileBufferCharacters = 4096;

}  // namespace

std::optional<std::string> RunOpenFileDialog(HWND owner, const OpenFileRequest& request) {
  // The wide record of this system's own size: the ANSI record the design names is refused on
  // 64-bit Windows, and the wide one shows the Japanese title and filter on any code page.
  const std::wstring title = Utf16(request.Title);
  std::wstring filter = Utf16(request.FilterName);
  filter += L'\0';
  filter += Utf16(request.FilterPattern);
  filter += L'\0';
  const std::wstring folder = Utf16(request.InitialFolder);
  // Room for any path the dialog may answer; whether the settings can hold it is the form's
  // to decide.
  std::wstring file(kFileBufferCharacters, L'\0');
  std::wstring fileTitle(255, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hInstance = GetModuleHandleW(nullptr);
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrFileTitle = fileTitle.data();
  dialog.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = 0;
  if (GetOpenFileNameW(&dialog) <= 0) return std::nullopt;
  file.resize(file.find(L'\0') == std::wstring::npos ? file.size() : file.find(L'\0'));
  return Utf8(file);
}

}  // namespace orvane
