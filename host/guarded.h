#pragma once

namespace orvane {

// Runs one step of a handler. The host's handlers go on with their next step when one
// fails, without a message, so a step that throws is skipped here. False when it failed.
template <typename Step>
bool Guarded(Step&& step) {
  try {
    step();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace orvane
