#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/record.h>

#include <string>
#include <vector>

namespace orvane::testing {

// Records, through the X server's RECORD extension, every XFixes HideCursor and ShowCursor
// request that any client (present or future) sends, in the order the server saw them: what
// ShowCursor(FALSE/TRUE) of a host process amounts to on the wire.
class CursorRequests {
 public:
  // Recording has begun when the constructor returns (check ok()).
  explicit CursorRequests(const std::string& display);
  ~CursorRequests();
  CursorRequests(const CursorRequests&) = delete;
  CursorRequests& operator=(const CursorRequests&) = delete;

  bool ok() const { return recording_; }
  // "hide" and "show", one per request so far.
  std::vector<std::string> Seen();

 private:
  static void Intercept(XPointer self, XRecordInterceptData* data);

  Display* control_ = nullptr;
  Display* data_ = nullptr;
  XRecordContext context_ = 0;
  int xfixes_ = 0;
  bool recording_ = false;
  std::vector<std::string> seen_;
};

}  // namespace orvane::testing
