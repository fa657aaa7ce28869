#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/record.h>
#include <X11/extensions/xfixeswire.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace orvane::testing {

// Records, through the X server's RECORD extension, every XFixes HideCursor and ShowCursor
// request of any client, in the server's order: a host's ShowCursor(FALSE/TRUE) on the wire.
class CursorRequests {
 public:
  // Recording has begun when the constructor returns (check ok()).
  explicit CursorRequests(const std::string& display)
      : control_(XOpenDisplay(display.c_str())), data_(XOpenDisplay(display.c_str())) {
    int event = 0, error = 0, major = 0, minor = 0;
    if (!control_ || !data_ || !XRecordQueryVersion(control_, &major, &minor) ||
        !XQueryExtension(control_, "XFIXES", &xfixes_, &event, &error)) {
      return;
    }
    XRecordRange* range = XRecordAllocRange();
    if (!range) return;
    range->ext_requests.ext_major = {static_cast<unsigned char>(xfixes_),
                                     static_cast<unsigned char>(xfixes_)};
    range->ext_requests.ext_minor = {X_XFixesHideCursor, X_XFixesShowCursor};
    XRecordClientSpec clients = XRecordAllClients;
    context_ = XRecordCreateContext(control_, 0, &clients, 1, &range, 1);
    XFree(range);
    XSync(control_, False);
    // The server's first reply on the data connection says that recording has begun.
    if (!context_ ||
        !XRecordEnableContextAsync(data_, context_, Intercept, reinterpret_cast<XPointer>(this))) {
      return;
    }
    for (int i = 0; i < 250 && !recording_; ++i) {
      XRecordProcessReplies(data_);
      if (!recording_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ~CursorRequests() {
    if (context_) {
      XRecordDisableContext(control_, context_);
      XRecordFreeContext(control_, context_);
      XSync(control_, False);
    }
    if (data_) XCloseDisplay(data_);
    if (control_) XCloseDisplay(control_);
  }
  CursorRequests(const CursorRequests&) = delete;
  CursorRequests& operator=(const CursorRequests&) = delete;

  bool ok() const { return recording_; }
  // "hide" and "show", one per request so far. The server hands recorded requests over when
  // they are processed; a round trip on the control connection lets the ones sent so far arrive.
  std::vector<std::string> Seen() {
    XSync(control_, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    XRecordProcessReplies(data_);
    return seen_;
  }

 private:
  static void Intercept(XPointer pointer, XRecordInterceptData* data) {
    auto* self = reinterpret_cast<CursorRequests*>(pointer);
    if (data->category == XRecordStartOfData) self->recording_ = true;
    if (data->category == XRecordFromClient && data->data_len >= 1 &&
        data->data[0] == self->xfixes_) {
      if (data->data[1] == X_XFixesHideCursor) self->seen_.push_back("hide");
      if (data->data[1] == X_XFixesShowCursor) self->seen_.push_back("show");
    }
    XRecordFreeData(data);
  }

  Display* control_ = nullptr;
  Display* data_ = nullptr;
  XRecordContext context_ = 0;
  int xfixes_ = 0;
  bool recording_ = false;
  std::vector<std::string> seen_;
};

}  // namespace orvane::testing
