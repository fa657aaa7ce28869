#pragma once

#include <string_view>

namespace orvane {

// The caption of every message box of the host.
inline constexpr std::string_view MessageBoxCaption = "Orvane (ScreenSaver)";

// Stand-in for MessageBox with MB_OK: a modal box with the text, an OK button only, no
// icon, captioned MessageBoxCaption. Returns when the user has dismissed it.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  // text is UTF-8.
  virtual void ShowMessage(std::string_view text) = 0;
};

}  // namespace orvane
