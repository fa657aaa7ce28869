#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "host/dialog/settings_form.h"

// What the form has put on the settings dialog, kept for the window of either system to
// paint from.
namespace orvane {

struct DialogShown {
  std::vector<RowColour> Rows;     // the form's bands, one colour a row from the top
  std::vector<DialogPoint> Tiles;  // where the panel's tile goes, in the panel's pixels
  std::array<ChoiceMark, 3> Marks{};
  std::string FileCaption;                   // the music file's whole path, as UTF-8
  std::optional<std::string> FittedCaption;  // as much of it as lbl_Fname shows, once measured
};

// A window of the settings dialog that keeps what the form shows and has the container it
// lies in painted again.
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
