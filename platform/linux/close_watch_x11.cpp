#include <X11/Xlib.h>
#include <glib-unix.h>
#include <signal.h>
#include <unistd.h>

#include "platform/linux/close_watch.h"

namespace orvane {
namespace {

// Xlib's handler for a lost connection is a plain function, so it finds the watch here.
CloseWatch* current = nullptr;

gboolean OnCloseSignal(gpointer data) {
  static_cast<CloseWatch*>(data)->Close();
  return G_SOURCE_CONTINUE;
}

// Xlib ends the process with code 1 when this handler returns; the close ends it first, and a
// close that returns still ends it here, cleanly. Xlib makes every later request on the dead
// connection a no-op, so the close may still call into it.
[[noreturn]] int OnConnectionLost(Display*) {
  if (current != nullptr) current->Close();
  _exit(0);
}

}  // namespace

CloseWatch::CloseWatch(std::function<void()> onClose) : onClose_(std::move(onClose)) {
  current = this;
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    sources_.push_back(g_unix_signal_add(signal, OnCloseSignal, this));
  }
  // A write to a connection the server has dropped must reach the handler above instead of
  // killing the process; the programs the host starts get SIGPIPE back before they run.
  ::signal(SIGPIPE, SIG_IGN);
  previousHandler_ = XSetIOErrorHandler(OnConnectionLost);
}

CloseWatch::~CloseWatch() {
  // GLib gives a signal its default action back once no source watches it any more.
  for (guint source : sources_) g_source_remove(source);
  XSetIOErrorHandler(previousHandler_);
  if (current == this) current = nullptr;
}

void CloseWatch::Close() {
  if (closed_) return;
  closed_ = true;
  // The close may end this watch (its owner's last window goes), so it runs from a copy.
  const std::function<void()> onClose = onClose_;
  if (onClose) onClose();
}

}  // namespace orvane
