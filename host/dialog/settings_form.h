#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "host/controls/Command.h"
#include "host/dialog/dialog_layout.h"
#include "platform/platform.h"
#include "platform/settings_text.h"

// The settings dialog's behaviour; its GTK or Win32 window implements SettingsFormView.
namespace orvane {

// Shown when the file dialog's answer holds a line break (UTF-8).
inline constexpr std::string_view MessageLineBreakInName = "改行を含むﾌｧｲﾙ名は設定できません！";
// Shown when even the path's short form has a character outside the code page, or more bytes
// than a settings value takes (UTF-8).
inline constexpr std::string_view MessageNameOutsideCodePage =
    "ｼｽﾃﾑの文字ｺｰﾄﾞにない文字を含むﾌｧｲﾙ名は設定できません！";
inline constexpr std::string_view MessagePathTooLong = "長すぎるﾊﾟｽは設定できません！";

// Shown when the settings file cannot be written, above its name and the system's reason (UTF-8).
inline constexpr std::string_view MessageSettingsNotWritten = "設定ﾌｧｲﾙに書き込めません！";

// What the settings dialog asks of the open-file dialog.
struct OpenFileRequest {
  std::string Title;          // the dialog's caption
  std::string FilterName;     // the one entry of its file type list
  std::string FilterPattern;  // the patterns that entry stands for, as shown to the user
  std::string InitialFolder;  // where it starts; a folder that does not exist is ignored
};

// The two marks of the choices (the pictures of Img_Ra).
enum class ChoiceMark { NotChosen = 0, Chosen = 1 };

// What the form asks of its window.
class SettingsFormView {
 public:
  virtual ~SettingsFormView() = default;
  // The dialog's window, for its place and the open and close effect; 0 when it has none.
  virtual WindowHandle Handle() = 0;
  // Moves the dialog's top-left corner, its frame's, to a point of the screen, in pixels.
  virtual void Move(DialogPoint topLeft) = 0;
  // The form's background, one colour per row from the top.
  virtual void PaintBackground(const std::vector<RowColour>& rows) = 0;
  // Where the music panel's tile goes, in the panel's pixels.
  virtual void TilePanel(const std::vector<DialogPoint>& positions) = 0;
  // The mark beside choice index (0 to 2).
  virtual void SetChoiceMark(int index, ChoiceMark mark) = 0;
  virtual void SetRepeatEnabled(bool enabled) = 0;
  virtual void SetRepeatText(const std::string& text) = 0;
  virtual std::string RepeatText() = 0;
  virtual void AddRepeatEntry(const std::string& text) = 0;
  virtual void SetFileCaption(const std::string& text) = 0;
  // The chosen path, or nothing when the user cancelled or the dialog failed.
  virtual std::optional<std::string> OpenFile(const OpenFileRequest& request) = 0;
  // Opens the address with the desktop's default handler; false when that failed.
  virtual bool OpenAddress(const std::string& address) = 0;
  virtual void SetBusyPointer(bool busy) = 0;
  // Shows the dialog, with no control focused.
  virtual void Present() = 0;
  // Takes the dialog off the screen and ends its modal run.
  virtual void Close() = 0;
};

class SettingsForm {
 public:
  SettingsForm(Platform& platform, SettingsFormView& view,
               SettingsText& settingsText = SystemSettingsText());
  SettingsForm(const SettingsForm&) = delete;
  SettingsForm& operator=(const SettingsForm&) = delete;

  // Gives a button its stored caption and font and its click; it must live as long as the form.
  void SetUpButton(const DialogControl& control, Command& button);

  // The load steps, then the dialog shown unless one of them closed it.
  void Open();
  // The load steps: place the dialog, set up the buttons, tile the panel, show the settings
  // variables, take the pointer as the anchor and play the opening effect.
  void Load();
  // The form's inside got a new height (pixels): repaint the background.
  void Resize(int innerHeight);

  // In pixels from the inside's top-left corner: any button on a choice's mark or label
  // chooses it; a left click on the address label opens it.
  void MouseDown(int button, int x, int y);
  void MouseUp(int button, int x, int y);
  // Whether the address label, with its own pointer, is under a point of the form.
  bool OverLink(int x, int y) const;

  // Kind 0 none, 1 audio CD (the repeat box), 2 music file (the file button); nothing is written.
  void ChooseKind(int kind);
  // The path is kept whole, else in its short form; a name with a line break, or a path the
  // settings file cannot hold either way, is refused with a message saying why.
  void ChooseFile();
  // The set button. A failed write stops the rest, says so and keeps the dialog open with the
  // choice as it was, so that nothing the user chose is lost without a word.
  void Save();
  // The cancel button and the title bar's close box: closes without writing.
  void Cancel() { Unload(); }
  // The address label's click.
  void OpenHomePage();

  bool Unloaded() const { return unloaded_; }

 private:
  void Unload();
  Command& FileButton();
  void ShowKind(int kind);
  std::variant<std::string, std::string_view> StoredMusicPath(const std::string& chosen);
  TwipsScale Scale() const;

  Platform& platform_;
  SettingsFormView& view_;
  SettingsText& settingsText_;
  // The buttons set up, in the table's order; the file button among them.
  std::vector<Command*> buttons_;
  Command* fileButton_ = nullptr;
  bool linkPressed_ = false;
  bool unloaded_ = false;
};

// What the form has put on the dialog, kept for either system's window to paint from.
struct DialogShown {
  std::vector<RowColour> Rows;     // the form's bands, one colour a row from the top
  std::vector<DialogPoint> Tiles;  // where the panel's tile goes, in the panel's pixels
  std::array<ChoiceMark, 3> Marks{};
  std::string FileCaption;                   // the music file's whole path, as UTF-8
  std::optional<std::string> FittedCaption;  // as much of it as lbl_Fname shows, once measured
};

// A dialog window that keeps what the form shows and repaints the container it lies in.
class ShownFormView : public SettingsFormView {
 public:
  void PaintBackground(const std::vector<RowColour>& rows) override {
    shown_.Rows = rows;
    Repaint(DialogContainer::Form);
  }
  void TilePanel(const std::vector<DialogPoint>& positions) override {
    shown_.Tiles = positions;
    Repaint(DialogContainer::Panel);
  }
  void SetChoiceMark(int index, ChoiceMark mark) override {
    shown_.Marks.at(static_cast<size_t>(index)) = mark;
    Repaint(DialogContainer::Panel);
  }
  void SetFileCaption(const std::string& text) override {
    shown_.FileCaption = Readable(text);
    shown_.FittedCaption.reset();
    Repaint(DialogContainer::Panel);
  }

 protected:
  // Has the form or the panel painted again, from Shown().
  virtual void Repaint(DialogContainer container) = 0;
  // A file name as this system shows it, as UTF-8.
  virtual std::string Readable(const std::string& name) = 0;

  DialogShown& Shown() { return shown_; }

 private:
  DialogShown shown_;
};

}  // namespace orvane
