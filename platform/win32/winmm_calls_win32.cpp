#include <windows.h>
// mmsystem.h needs the types of windows.h.
#include <mmsystem.h>

#include "platform/win32/winmm_calls.h"

namespace orvane::platform::winmm {

std::uint32_t SendString(const char* command, char* reply, std::uint32_t length) {
  return mciSendStringA(command, reply, length, nullptr);
}

bool GetErrorString(std::uint32_t code, char* text, std::uint32_t length) {
  return mciGetErrorStringA(code, text, length) != FALSE;
}

bool PlaySoundFile(const char* name, std::uint32_t flags) {
  return PlaySoundA(name, nullptr, flags) != FALSE;
}

std::uint32_t WaveOutputCount() {
  return waveOutGetNumDevs();
}

}  // namespace orvane::platform::winmm
