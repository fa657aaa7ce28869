#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "host/controls/Command.h"
#include "host/dialog/settings_form.h"
#include "tests/controls/fakes.h"

namespace orvane::testing {

// A dialog window that keeps what the form shows on it and answers from its fields.
class FakeFormView final : public SettingsFormView {
 public:
  static constexpr WindowHandle kHandle = 0x4200007;

  FakeFormView() {
    for (Command* button : Buttons()) {
      PropertyBag design;
      design.Write("Caption", std::string("x"), std::string("Command"));
      button->LoadFromBag(design);
      button->Resize(1215, 375);
    }
  }

  std::vector<Command*> Buttons() { return {&fileButton, &setButton, &cancelButton}; }

  WindowHandle Handle() override { return kHandle; }
  void Move(DialogPoint topLeft) override {
    calls.push_back("Move");
    movedTo = topLeft;
  }
  std::vector<Command*> CommandButtons() override { return Buttons(); }
  Command& FileButton() override { return fileButton; }
  void PaintBackground(const std::vector<RowColour>&) override {}
  void TilePanel(const std::vector<DialogPoint>& positions) override { tiles = positions; }
  void SetChoiceMark(int index, ChoiceMark mark) override { marks.at(index) = mark; }
  void SetRepeatEnabled(bool enabled) override { repeatEnabled = enabled; }
  void SetRepeatText(const std::string& text) override { repeatText = text; }
  std::string RepeatText() override { return repeatText; }
  void AddRepeatEntry(const std::string& text) override { repeatEntries.push_back(text); }
  void SetFileCaption(const std::string& text) override { fileCaption = text; }
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override {
    requests.push_back(request);
    return fileAnswer;
  }
  bool OpenAddress(const std::string& address) override {
    calls.push_back("OpenAddress " + address);
    return addressOpens;
  }
  void SetBusyPointer(bool busy) override { calls.push_back(busy ? "Busy" : "Default"); }
  void Present() override { calls.push_back("Present"); }
  void Close() override {
    calls.push_back("Close");
    closed = true;
  }

  FakePlatform commandPlatform;
  FakeContainer container;
  Command fileButton{commandPlatform, container};
  Command setButton{commandPlatform, container};
  Command cancelButton{commandPlatform, container};

  std::optional<DialogPoint> movedTo;
  std::vector<DialogPoint> tiles;
  // Something no load step writes, so that a step that never ran shows.
  std::array<ChoiceMark, 3> marks{ChoiceMark(-1), ChoiceMark(-1), ChoiceMark(-1)};
  bool repeatEnabled = true;
  std::string repeatText = "unset";
  std::vector<std::string> repeatEntries;
  std::string fileCaption = "unset";
  std::optional<std::string> fileAnswer;
  std::vector<OpenFileRequest> requests;
  bool addressOpens = true;
  bool closed = false;
  std::vector<std::string> calls;
};

}  // namespace orvane::testing
