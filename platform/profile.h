#pragma once

#include <string>

// The Windows profile functions the settings file is read and written with, and the file test
// of the settings. Each family has its own: Windows' own functions there, our INI model
// (platform/linux/ini_file.h) on Linux. Texts end at their first NUL.
namespace orvane {

// GetPrivateProfileStringA(section, key, "", buffer, kProfileValueBytes + 1, file): the key's
// value, cut to kProfileValueBytes (platform/text_limits.h); "" when the file, the section or
// the key is missing.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& file);

// WritePrivateProfileStringA(section, key, value, file): sets the key, creating the file and
// the section when missing. False when nothing was written; the old file then stays whole, and
// reason, when given, receives the system's own words for why (UTF-8). A read-only file is
// refused on both systems, on Linux for root too.
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file,
                               std::string* reason = nullptr);

// True when path names a file (not a folder) that this process can open for reading now.
bool CanOpenForReading(const std::string& path);

}  // namespace orvane
