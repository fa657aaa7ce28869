#include "host/dialog/settings_form.h"

#include <stdexcept>
#include <variant>

#include "host/Orvane_B.h"
#include "host/dialog/dialog_layout.h"
#include "host/dialog/dialog_pictures.h"
#include "host/dialog/repeat_track.h"
#include "host/guarded.h"
#include "platform/text_limits.h"

namespace orvane {
namespace {

// Starts in the last music file's folder, else the user's music folder, else home: the
// programs' own folder is no place for music once they are installed.
OpenFileRequest MusicFileRequest(std::string folder, UserFiles& userFiles) {
  if (folder.empty()) folder = userFiles.MusicFolder();
  if (folder.empty()) folder = userFiles.HomeFolder();
  return OpenFileRequest{"ﾌｧｲﾙを開く", "BGMﾌｧｲﾙ (MP3 WAV)", "*.MP3;*.WAV", std::move(folder)};
}

// The repeat box lists "" and "1" to "30".
constexpr int kRepeatEntries = 31;
constexpr int kChoices = 3;

}  // namespace

SettingsForm::SettingsForm(Platform& platform, SettingsFormView& view, SettingsText& settingsText)
    : platform_(platform), view_(view), settingsText_(settingsText) {}

TwipsScale SettingsForm::Scale() const {
  return TwipsScale{platform_.screenMetrics.TwipsPerPixelX(),
                    platform_.screenMetrics.TwipsPerPixelY()};
}

void SettingsForm::SetUpButton(const DialogControl& control, Command& button) {
  PropertyBag design;
  design.Write("Caption", std::string(control.Text), std::string("Command"));
  design.Write("Font", DialogFont(control), FontInfo{});
  button.LoadFromBag(design);
  buttons_.push_back(&button);
  if (control.Name == "Cmd_File") fileButton_ = &button;
  if (control.Name == "Cmd_File") button.ConnectClick([this] { ChooseFile(); });
  if (control.Name == "Cmd_Set") button.ConnectClick([this] { Save(); });
  if (control.Name == "Cmd_Can") button.ConnectClick([this] { Cancel(); });
}

Command& SettingsForm::FileButton() {
  if (fileButton_ == nullptr) throw std::logic_error("the file button is not set up");
  return *fileButton_;
}

void SettingsForm::Open() {
  Load();
  if (!unloaded_) view_.Present();
}

void SettingsForm::Load() {
  Guarded([&] {
    // The dialog's whole size, its frame included; the inside alone where the system does not
    // know the frame.
    const TwipsScale scale = Scale();
    DialogPoint size{scale.ToPixelsX(kDialogInnerWidth), scale.ToPixelsY(kDialogInnerHeight)};
    if (const std::optional<Rect> outer = platform_.windowGeometry.GetWindowRect(view_.Handle())) {
      size = DialogPoint{outer->Width, outer->Height};
    }
    view_.Move(DialogPlacement(platform_.screenMetrics.ScreenWidth(),
                               platform_.screenMetrics.ScreenHeight(), size.X, size.Y, scale));
  });
  for (Command* button : buttons_) Guarded([&] { button->Initialize(); });
  Guarded([&] {
    const Rect panel = ToPixels(DialogControlNamed("Pic_C"), Scale());
    const DialogPoint tile = PictureSizeOnScreen(BackgroundTile(), Scale());
    view_.TilePanel(TilePositions(panel.Width, panel.Height, tile.X, tile.Y));
  });
  ShowKind(BGM_Kind);
  Guarded([&] { view_.SetRepeatText(FormatHashHash(BGM_RepeatTrack)); });
  Guarded([&] {
    for (int track = 0; track < kRepeatEntries; ++track)
      view_.AddRepeatEntry(FormatHashHash(track));
  });
  Guarded([&] { view_.SetFileCaption(BGM_File); });
  Guarded([&] {
    const std::optional<Point> pointer = platform_.pointer.GetCursorPos();
    const bool fits = pointer && pointer->x == static_cast<std::int16_t>(pointer->x) &&
                      pointer->y == static_cast<std::int16_t>(pointer->y);
    AnimPointX = fits ? static_cast<std::int16_t>(pointer->x) : 0;
    AnimPointY = fits ? static_cast<std::int16_t>(pointer->y) : 0;
  });
  Guarded([&] { AnimateOpen(view_.Handle(), platform_); });
  Guarded([&] { view_.SetBusyPointer(false); });
}

void SettingsForm::Resize(int innerHeight) {
  Guarded([&] { view_.PaintBackground(BackgroundRows(innerHeight)); });
}

// A kind without a choice of its own leaves every mark not chosen.
void SettingsForm::ShowKind(int kind) {
  Guarded([&] {
    FileButton().SetEnabled(false);
    view_.SetRepeatEnabled(false);
  });
  Guarded([&] {
    for (int index = 0; index < kChoices; ++index)
      view_.SetChoiceMark(index, index == kind ? ChoiceMark::Chosen : ChoiceMark::NotChosen);
  });
  Guarded([&] {
    if (kind == 1) view_.SetRepeatEnabled(true);
    if (kind == 2) FileButton().SetEnabled(true);
  });
}

void SettingsForm::MouseDown(int button, int x, int y) {
  const std::optional<DialogTarget> target = HitTest(x, y, Scale());
  if (!target) return;
  if (target->What == DialogTarget::Kind::Choice) {
    ChooseKind(target->Choice);
  } else if (button == kLeftButton) {
    linkPressed_ = true;
  }
}

void SettingsForm::MouseUp(int button, int x, int y) {
  if (button != kLeftButton) return;
  const bool pressed = linkPressed_;
  linkPressed_ = false;
  if (pressed && OverLink(x, y)) OpenHomePage();
}

bool SettingsForm::OverLink(int x, int y) const {
  const std::optional<DialogTarget> target = HitTest(x, y, Scale());
  return target && target->What == DialogTarget::Kind::Link;
}

void SettingsForm::ChooseKind(int kind) {
  Guarded([&] { BGM_Kind = static_cast<std::int16_t>(kind); });
  ShowKind(kind);
}

void SettingsForm::ChooseFile() {
  Guarded([&] {
    std::optional<std::string> chosen =
        view_.OpenFile(MusicFileRequest(BGM_Folder, platform_.userFiles));
    if (!chosen) return;
    if (const size_t nul = chosen->find('\0'); nul != std::string::npos) chosen->resize(nul);
    if (chosen->empty()) return;
    // A line break cannot stand in a settings line, so such a name could never be saved.
    if (chosen->find_first_of("\r\n") != std::string::npos) {
      platform_.messageBox.ShowMessage(MessageLineBreakInName);
      return;
    }
    const std::variant<std::string, std::string_view> stored = StoredMusicPath(*chosen);
    if (const auto* refusal = std::get_if<std::string_view>(&stored)) {
      platform_.messageBox.ShowMessage(*refusal);
      return;
    }
    BGM_File = std::get<std::string>(stored);
    view_.SetFileCaption(BGM_File);
    BGM_Folder = FolderOf(*chosen);
  });
}

// The ANSI code page may lack a character (a best-fit look-alike would name another file) and
// a value holds at most kProfileValueBytes; the short form names the same file plainly.
std::variant<std::string, std::string_view> SettingsForm::StoredMusicPath(
    const std::string& chosen) {
  const std::optional<std::string> whole = settingsText_.FromPath(chosen);
  if (whole && whole->size() <= kProfileValueBytes) return *whole;
  if (const std::optional<std::string> shortPath = settingsText_.ShortPath(chosen)) {
    const std::optional<std::string> text = settingsText_.FromPath(*shortPath);
    if (text && !text->empty() && text->size() <= kProfileValueBytes) return *text;
  }
  return whole ? MessagePathTooLong : MessageNameOutsideCodePage;
}

void SettingsForm::Save() {
  if (unloaded_) return;
  const std::string file = SettingsPath();
  const std::string section(IniSection);
  // The per-user settings folder may not exist yet; the host's own folder always does.
  Guarded([&] {
    if (FolderOf(file) != HostFolder()) platform_.fileSystem.CreateDirectory(FolderOf(file));
  });
  // The system's reason for the first write that failed.
  std::optional<std::string> failure;
  const auto write = [&](std::string_view key, const std::string& value) {
    if (failure) return;
    std::string reason;
    if (!WriteIni(section, std::string(key), value, file, &reason)) failure = reason;
  };
  Guarded([&] { write(IniKeyKind, std::to_string(BGM_Kind)); });
  Guarded([&] {
    BGM_RepeatTrack = RepeatTrackFromText(view_.RepeatText());
    write(IniKeyRepeatTrack, std::to_string(BGM_RepeatTrack));
  });
  Guarded([&] { write(IniKeyFile, BGM_File); });
  if (failure) {
    std::string text = std::string(MessageSettingsNotWritten) + "\n" + file;
    if (!failure->empty()) text += ": " + *failure;
    Guarded([&] { platform_.messageBox.ShowMessage(text); });
    return;
  }
  Unload();
}

void SettingsForm::OpenHomePage() {
  Guarded([&] { view_.SetBusyPointer(true); });
  Guarded([&] { view_.OpenAddress(std::string(HomePageAddress)); });
  Guarded([&] { view_.SetBusyPointer(false); });
}

void SettingsForm::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  Guarded([&] { AnimateClose(view_.Handle(), platform_); });
  Guarded([&] { view_.Close(); });
}

}  // namespace orvane
