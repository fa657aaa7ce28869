#pragma once

#include <cstdint>

// Windows' multimedia functions, called from a file of their own: the Windows headers define
// PlaySound and the SND_ flags as macros, which would rewrite the interface's names.
namespace orvane::platform::winmm {

std::uint32_t SendString(const char* command, char* reply, std::uint32_t length);
bool GetErrorString(std::uint32_t code, char* text, std::uint32_t length);
bool PlaySoundFile(const char* name, std::uint32_t flags);
std::uint32_t WaveOutputCount();

}  // namespace orvane::platform::winmm
