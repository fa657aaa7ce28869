#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/controls/Command.h"
#include "host/dialog/background.h"
#include "host/dialog/open_file_request.h"
#include "platform/platform.h"

// The settings dialog's behaviour: what it does when it loads, when a music kind is chosen,
// when its buttons are pressed and when it closes. The window itself (GTK) implements
// SettingsFormView and forwards its events here.
namespace orvane {

// The project's home page, the address the dialog's link label shows and opens.
inline constexpr std::string_view HomePageAddress = "https://orvane.org/";
// The credit line under the music panel.
inline constexpr std::string_view CreditLine = "© Orvane  Ver.1.0.0";

// Shown when the file dialog's answer holds a line break (UTF-8).
inline constexpr std::string_view MessageLineBreakInName = "改行を含むﾌｧｲﾙ名は設定できません！";

// Shown when the settings file cannot be written; the next line names the file and the
// system's reason (UTF-8).
inline constexpr std::string_view MessageSettingsNotWritten = "設定ﾌｧｲﾙに書き込めません！";

// The two marks of the choices (the pictures of Img_Ra).
enum class ChoiceMark { NotChosen = 0, Chosen = 1 };

// What the form asks of its window.
class SettingsFormView {
 public:
  virtual ~SettingsFormView() = default;
  // The dialog's window, for the open and close effect; 0 when it has none.
  virtual WindowHandle Handle() = 0;
  // The dialog's size on the screen, in pixels.
  virtual DialogPoint Size() = 0;
  // Moves the dialog's top-left corner to a point of the screen, in pixels.
  virtual void Move(DialogPoint topLeft) = 0;
  // Every Command button on the form, the file button among them.
  virtual std::vector<Command*> CommandButtons() = 0;
  virtual Command& FileButton() = 0;
  // The form's background, one colour per row from the top.
  virtual void PaintBackground(const std::vector<RowColour>& rows) = 0;
  // Where the music panel's tile goes, in the panel's pixels.
  virtual void TilePanel(const std::vector<DialogPoint>& positions) = 0;
  // The mark beside choice index (0 to 2).
  virtual void SetChoiceMark(int index, ChoiceMark mark) = 0;
  // The repeat track combo box: enabled or not, its text, its list.
  virtual void SetRepeatEnabled(bool enabled) = 0;
  virtual void SetRepeatText(const std::string& text) = 0;
  virtual std::string RepeatText() = 0;
  virtual void AddRepeatEntry(const std::string& text) = 0;
  // The caption of the music file label.
  virtual void SetFileCaption(const std::string& text) = 0;
  // Runs the open-file dialog over this one; the chosen path, or nothing when the user
  // cancelled or the dialog failed.
  virtual std::optional<std::string> OpenFile(const OpenFileRequest& request) = 0;
  // Opens the address with the desktop's default handler; false when that failed.
  virtual bool OpenAddress(const std::string& address) = 0;
  // The mouse pointer over the dialog: the hourglass, or back to the default.
  virtual void SetBusyPointer(bool busy) = 0;
  // Takes the dialog off the screen and ends its modal run.
  virtual void Close() = 0;
};

class SettingsForm {
 public:
  SettingsForm(Platform& platform, SettingsFormView& view);
  SettingsForm(const SettingsForm&) = delete;
  SettingsForm& operator=(const SettingsForm&) = delete;

  // The load steps: place the dialog, set up the buttons, tile the panel, show the settings
  // variables, take the pointer as the anchor and play the opening effect.
  void Load();
  // The form's inside got a new height (pixels): repaint the background.
  void Resize(int innerHeight);

  // Mouse presses and releases on the form (not on a control with a window of its own), at
  // pixels from the inside's top-left corner. Any button on a choice's mark or label chooses
  // it; a left click on the address label opens it.
  void MouseDown(int button, int x, int y);
  void MouseUp(int button, int x, int y);
  // Whether the address label, with its own pointer, is under a point of the form.
  bool OverLink(int x, int y) const;

  // Choose music kind (0 none, 1 audio CD, 2 music file): the variable, the marks and which
  // of the repeat box and the file button can be used. Nothing is written.
  void ChooseKind(int kind);
  // The file button: the open-file dialog, starting in BGM_Folder or where MusicFileRequest
  // says. A name with a line break is refused with a message; a path longer than the system
  // takes counts as a cancel.
  void ChooseFile();
  // The set button: writes the three keys to the settings file, then closes. When a write
  // fails, the rest are not tried, a message says so and the dialog stays open with the
  // choice as it was, so that nothing the user chose is lost without a word.
  void Save();
  // The cancel button and the title bar's close box: closes without writing.
  void Cancel() { Unload(); }
  // The address label's click.
  void OpenHomePage();

  bool Unloaded() const { return unloaded_; }

 private:
  void Unload();
  void SetCommandButtons(bool initialise, bool enable);
  void ShowMarks(int chosen);
  TwipsScale Scale() const;

  Platform& platform_;
  SettingsFormView& view_;
  bool linkPressed_ = false;
  bool unloaded_ = false;
};

}  // namespace orvane
