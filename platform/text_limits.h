#pragma once

#include <cstddef>

// How long a path or a settings value may be on this system, in bytes without the closing
// NUL. The logic that reads settings and stores the file dialog's answer cuts or refuses at
// these, and nowhere else.
namespace orvane {

#if defined(_WIN32)
// GetPrivateProfileStringA is called with a 256-byte buffer.
inline constexpr std::size_t kProfileValueBytes = 255;
#else
// The longest path the kernel takes (PATH_MAX less its NUL).
inline constexpr std::size_t kPathBytes = 4095;
// A settings value holds a whole path.
inline constexpr std::size_t kProfileValueBytes = kPathBytes;
#endif

}  // namespace orvane
