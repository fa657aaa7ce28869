#include "platform/linux/x11_error_trap.h"

namespace orvane {
namespace {

bool errorSeen = false;

int RecordError(Display*, XErrorEvent*) {
  errorSeen = true;
  return 0;
}

}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display) {
  XSync(display_, False);  // earlier errors belong to whoever made those requests
  errorSeen = false;
  previous_ = XSetErrorHandler(RecordError);
}

X11ErrorTrap::~X11ErrorTrap() {
  XSync(display_, False);
  XSetErrorHandler(previous_);
}

bool X11ErrorTrap::Failed() {
  XSync(display_, False);
  return errorSeen;
}

}  // namespace orvane
