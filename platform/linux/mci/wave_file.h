#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// What PlaySound accepts: a RIFF file of form WAVE.
namespace orvane::platform {

// True when the first bytes of a file are a RIFF header of form "WAVE".
bool IsRiffWave(std::span<const std::uint8_t> head);

// The file PlaySound plays for `name`: the name itself, or the name with ".wav" added when
// it has no extension; empty when neither is a readable RIFF WAVE file.
std::string FindWaveFile(const std::string& name);

}  // namespace orvane::platform
