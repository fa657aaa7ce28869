#pragma once

// The settings dialog "<Orvane>" as a Win32 window. All behaviour lives in SettingsForm
// (settings_form.h); this shell builds the window to the design's layout, paints its
// backgrounds, marks and labels with GDI, and forwards clicks.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/controls/command_window_win32.h"
#include "host/dialog/settings_form.h"
#include "platform/win32/windows_api.h"

namespace orvane {

class SettingsDialogWin32 final : SettingsFormView {
 public:
  // Builds the window (created, not shown).
  explicit SettingsDialogWin32(Platform& platform);
  ~SettingsDialogWin32() override;
  SettingsDialogWin32(const SettingsDialogWin32&) = delete;
  SettingsDialogWin32& operator=(const SettingsDialogWin32&) = delete;

  // Runs the load steps, then shows the dialog with no control focused.
  void Show();
  // Handles messages until the dialog has closed. Tab moves the focus; Enter and Escape do
  // nothing, as the dialog has no default or cancel button.
  void RunModal();

  HWND Window() const { return window_; }
  SettingsForm& Form() { return form_; }
  bool Closed() const { return closed_; }
  // The window of a control that has one: "Pic_C", "BGM_Repeat", "Cmd_File", "Cmd_Set" or
  // "Cmd_Can"; nullptr for any other name.
  HWND ControlWindow(std::string_view name) const;

  class Procedures;

 private:
  // SettingsFormView
  WindowHandle Handle() override;
  DialogPoint Size() override;
  void Move(DialogPoint topLeft) override;
  std::vector<Command*> CommandButtons() override;
  Command& FileButton() override { return fileButton_->Control(); }
  void PaintBackground(const std::vector<RowColour>& rows) override;
  void TilePanel(const std::vector<DialogPoint>& positions) override;
  void SetChoiceMark(int index, ChoiceMark mark) override;
  void SetRepeatEnabled(bool enabled) override;
  void SetRepeatText(const std::string& text) override;
  std::string RepeatText() override;
  void AddRepeatEntry(const std::string& text) override;
  void SetFileCaption(const std::string& text) override;
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override;
  bool OpenAddress(const std::string& address) override;
  void SetBusyPointer(bool busy) override;
  void Close() override;

  LRESULT FormMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT PanelMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ForwardPress(UINT message, int x, int y);
  bool ShowBusyPointer();
  void PaintForm(HDC dc, const RECT& client);
  void PaintPanel(HDC dc, const RECT& client);
  void FitRepeatBox();
  void PlaceCommand(std::unique_ptr<CommandWindow>& button, HWND container, std::string_view name,
                    const char* caption);

  Platform& platform_;
  TwipsScale scale_;
  SettingsForm form_;
  HWND window_ = nullptr;
  HWND panel_ = nullptr;
  HWND repeat_ = nullptr;
  std::unique_ptr<CommandWindow> fileButton_;
  std::unique_ptr<CommandWindow> setButton_;
  std::unique_ptr<CommandWindow> cancelButton_;

  std::vector<RowColour> rows_;
  std::vector<DialogPoint> tiles_;
  std::array<ChoiceMark, 3> marks_{};
  std::wstring fileCaption_;                  // the whole path
  std::optional<std::wstring> shownCaption_;  // as much of it as lbl_Fname shows
  HFONT labelFont_ = nullptr;
  HFONT linkFont_ = nullptr;
  HBITMAP tile_ = nullptr;
  std::array<HBITMAP, 2> markBitmaps_{};
  HCURSOR linkPointer_ = nullptr;
  bool overLink_ = false;
  bool busy_ = false;
  bool closed_ = false;
};

}  // namespace orvane
