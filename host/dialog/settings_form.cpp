#include "host/dialog/settings_form.h"

#include <limits>

#include "host/Orvane_B.h"
#include "host/dialog/dialog_layout.h"
#include "host/dialog/dialog_pictures.h"
#include "host/dialog/repeat_track.h"
#include "host/guarded.h"
#include "platform/text_limits.h"

namespace orvane {
namespace {

bool FitsInt16(std::int32_t value) {
  return value >= std::numeric_limits<std::int16_t>::min() &&
         value <= std::numeric_limits<std::int16_t>::max();
}

// The repeat box lists "" and "1" to "30".
constexpr int kRepeatEntries = 31;
constexpr int kChoices = 3;

}  // namespace

SettingsForm::SettingsForm(Platform& platform, SettingsFormView& view)
    : platform_(platform), view_(view) {}

TwipsScale SettingsForm::Scale() const {
  return TwipsScale{platform_.screenMetrics.TwipsPerPixelX(),
                    platform_.screenMetrics.TwipsPerPixelY()};
}

void SettingsForm::Load() {
  Guarded([&] {
    const DialogPoint size = view_.Size();
    view_.Move(DialogPlacement(platform_.screenMetrics.ScreenWidth(),
                               platform_.screenMetrics.ScreenHeight(), size.X, size.Y, Scale()));
  });
  Guarded([&] { SetCommandButtons(true, true); });
  Guarded([&] {
    const DialogRect panel = ToPixels(DialogControlNamed("Pic_C"), Scale());
    const Picture& tile = BackgroundTile();
    view_.TilePanel(TilePositions(panel.Width, panel.Height, tile.Width, tile.Height));
  });
  Guarded([&] { view_.SetRepeatEnabled(false); });
  Guarded([&] { ShowMarks(BGM_Kind); });
  Guarded([&] {
    if (BGM_Kind == 1) view_.SetRepeatEnabled(true);
  });
  Guarded([&] { view_.FileButton().SetEnabled(BGM_Kind == 2); });
  Guarded([&] { view_.SetRepeatText(FormatHashHash(BGM_RepeatTrack)); });
  Guarded([&] {
    for (int track = 0; track < kRepeatEntries; ++track)
      view_.AddRepeatEntry(FormatHashHash(track));
  });
  Guarded([&] { view_.SetFileCaption(BGM_File); });
  Guarded([&] {
    const std::optional<Point> pointer = platform_.pointer.GetCursorPos();
    if (pointer && FitsInt16(pointer->x) && FitsInt16(pointer->y)) {
      AnimPointX = static_cast<std::int16_t>(pointer->x);
      AnimPointY = static_cast<std::int16_t>(pointer->y);
    } else {
      AnimPointX = 0;
      AnimPointY = 0;
    }
  });
  Guarded([&] { AnimateOpen(view_.Handle(), platform_); });
  Guarded([&] { view_.SetBusyPointer(false); });
}

void SettingsForm::Resize(int innerHeight) {
  Guarded([&] { view_.PaintBackground(BackgroundRows(innerHeight)); });
}

void SettingsForm::SetCommandButtons(bool initialise, bool enable) {
  for (Command* button : view_.CommandButtons()) {
    if (button == nullptr) continue;
    Guarded([&] {
      if (initialise) {
        button->Initialize();
      } else {
        button->SetEnabled(enable);
      }
    });
  }
}

// Every mark shows not chosen, then the chosen one's; a kind without a choice of its own
// leaves them all not chosen.
void SettingsForm::ShowMarks(int chosen) {
  for (int index = 0; index < kChoices; ++index) view_.SetChoiceMark(index, ChoiceMark::NotChosen);
  if (chosen >= 0 && chosen < kChoices) view_.SetChoiceMark(chosen, ChoiceMark::Chosen);
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
  Guarded([&] {
    view_.FileButton().SetEnabled(false);
    view_.SetRepeatEnabled(false);
  });
  Guarded([&] { ShowMarks(kind); });
  Guarded([&] {
    if (kind == 1) view_.SetRepeatEnabled(true);
    if (kind == 2) view_.FileButton().SetEnabled(true);
  });
}

void SettingsForm::ChooseFile() {
  Guarded([&] {
    std::optional<std::string> chosen =
        view_.OpenFile(MusicFileRequest(BGM_Folder, platform_.userFiles));
    if (!chosen) return;
    if (const size_t nul = chosen->find('\0'); nul != std::string::npos) chosen->resize(nul);
    if (chosen->empty() || chosen->size() > kChosenPathBytes) return;
    // A line break cannot stand in a settings line, so such a name could never be saved.
    if (chosen->find_first_of("\r\n") != std::string::npos) {
      platform_.messageBox.ShowMessage(MessageLineBreakInName);
      return;
    }
    BGM_File = *chosen;
    view_.SetFileCaption(BGM_File);
    BGM_Folder = FolderOf(BGM_File);
  });
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
