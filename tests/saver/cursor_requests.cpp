#include "tests/saver/cursor_requests.h"

#include <X11/extensions/xfixeswire.h>

#include <chrono>

namespace orvane::testing {

CursorRequests::CursorRequests(const std::string& display) {
  control_ = XOpenDisplay(display.c_str());
  data_ = XOpenDisplay(display.c_str());
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
  if (!context_) return;
  XSync(control_, False);

  thread_ = std::thread([this] {
    XRecordEnableContext(data_, context_, Intercept, reinterpret_cast<XPointer>(this));
    // Also ends a wait that the server never answered.
    std::lock_guard lock(mutex_);
    recording_ = true;
    started_.notify_all();
  });
  std::unique_lock lock(mutex_);
  ok_ = started_.wait_for(lock, std::chrono::seconds(5), [this] { return recording_; });
}

CursorRequests::~CursorRequests() {
  if (thread_.joinable()) {
    XRecordDisableContext(control_, context_);
    XSync(control_, False);
    thread_.join();
  }
  if (context_) XRecordFreeContext(control_, context_);
  if (data_) XCloseDisplay(data_);
  if (control_) XCloseDisplay(control_);
}

std::vector<std::string> CursorRequests::Seen() {
  // The server hands recorded requests over when they are processed; a short round trip on
  // the control connection lets the ones sent so far arrive.
  XSync(control_, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::lock_guard lock(mutex_);
  return seen_;
}

void CursorRequests::Intercept(XPointer pointer, XRecordInterceptData* data) {
  auto* self = reinterpret_cast<CursorRequests*>(pointer);
  {
    std::lock_guard lock(self->mutex_);
    if (data->category == XRecordStartOfData) {
      self->recording_ = true;
      self->started_.notify_all();
    } else if (data->category == XRecordFromClient && data->data_len >= 1) {
      const unsigned char* request = data->data;
      if (request[0] == self->xfixes_) {
        if (request[1] == X_XFixesHideCursor) self->seen_.push_back("hide");
        if (request[1] == X_XFixesShowCursor) self->seen_.push_back("show");
      }
    }
  }
  XRecordFreeData(data);
}

}  // namespace orvane::testing
