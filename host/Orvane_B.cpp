#include "host/Orvane_B.h"

#include <cmath>
#include <optional>
#include <utility>

#include "common/number_text.h"
#include "host/command_line.h"
#include "host/guarded.h"
#include "platform/profile.h"
#include "platform/settings_text.h"
#include "platform/text_limits.h"

namespace orvane {

std::int16_t BGM_Kind = 0;
std::int16_t BGM_RepeatTrack = 0;
std::string BGM_File;
std::string BGM_Folder;
std::int16_t AnimPointX = 0;
std::int16_t AnimPointY = 0;

namespace {

std::string hostFolder = ".";
std::string settingsPath;
std::string settingsSourcePath;
std::string userPicturePath;
std::string commandLine;

#if defined(_WIN32)
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The most a section or key name passes to WriteIni, as its 128-byte buffer allows.
constexpr size_t kMaxNameBytes = 127;

// Texts cross the ANSI functions up to their first NUL.
std::string UpToNul(std::string text) {
  if (const size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

// A settings number taken towards minus infinity; nullopt when it is none or exceeds 16 bits.
std::optional<std::int16_t> ParseSettingNumber(std::string_view text) {
  const std::optional<double> value = common::ParseNumberText(text);
  if (!value) return std::nullopt;
  const double whole = std::floor(*value);
  if (!(whole >= -32768.0 && whole <= 32767.0)) return std::nullopt;
  return static_cast<std::int16_t>(whole);
}

std::int16_t ReadSettingNumber(std::string_view key, const std::string& file) {
  const std::string text = ReadIni(std::string(IniSection), std::string(key), file);
  if (text.empty()) return 0;
  return ParseSettingNumber(text).value_or(0);
}

bool EndsWithSeparator(std::string_view path) {
  return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

}  // namespace

const std::string& HostFolder() {
  return hostFolder;
}
void SetHostFolder(std::string folder) {
  hostFolder = std::move(folder);
  settingsPath.clear();
  settingsSourcePath.clear();
  userPicturePath.clear();
}

// A folder of "/" would give "//Orvane.ini", which the file system reads as "/Orvane.ini".
std::string TexturePath() {
  return hostFolder + kPathSeparator + "Orvane.image";
}
std::string RendererPath() {
  return hostFolder + kPathSeparator + "Orvane.dll";
}
std::string SettingsPath() {
  return settingsPath.empty() ? hostFolder + kPathSeparator + "Orvane.ini" : settingsPath;
}
void SetSettingsPath(std::string path) {
  settingsPath = std::move(path);
  settingsSourcePath.clear();
}
std::string SettingsSourcePath() {
  return settingsSourcePath.empty() ? SettingsPath() : settingsSourcePath;
}

std::string PicturePath() {
  return !userPicturePath.empty() && FileExists(userPicturePath) ? userPicturePath : TexturePath();
}
void SetUserPicturePath(std::string path) {
  userPicturePath = std::move(path);
}

void UseUserFiles(UserFiles& userFiles) {
  Guarded([&] { SetSettingsPath(userFiles.SettingsPath(HostFolder())); });
  Guarded([&] { settingsSourcePath = userFiles.SettingsSourcePath(HostFolder()); });
  Guarded([&] { SetUserPicturePath(userFiles.UserPicturePath()); });
}

const std::string& CommandLine() {
  return commandLine;
}
void SetCommandLine(std::string text) {
  commandLine = std::move(text);
}
std::string ModeLetter() {
  return ModeLetter(commandLine);
}

std::string ReadIni(std::string section, std::string key, std::string file) {
  std::string value = GetPrivateProfileString(UpToNul(std::move(section)), UpToNul(std::move(key)),
                                              UpToNul(std::move(file)));
  if (value.size() > kProfileValueBytes) value.resize(kProfileValueBytes);
  return value;
}

bool WriteIni(std::string section, std::string key, std::string value, std::string file,
              std::string* reason) {
  section = UpToNul(std::move(section));
  key = UpToNul(std::move(key));
  if (section.size() > kMaxNameBytes) section.resize(kMaxNameBytes);
  if (key.size() > kMaxNameBytes) key.resize(kMaxNameBytes);
  return WritePrivateProfileString(section, key, UpToNul(std::move(value)),
                                   UpToNul(std::move(file)), reason);
}

void LoadSettings() {
  const std::string file = SettingsSourcePath();
  Guarded([&] { BGM_Kind = ReadSettingNumber(IniKeyKind, file); });
  Guarded([&] { BGM_RepeatTrack = ReadSettingNumber(IniKeyRepeatTrack, file); });
  Guarded([&] {
    BGM_File = ReadIni(std::string(IniSection), std::string(IniKeyFile), file);
    if (!BGM_File.empty() && !FileExists(SystemSettingsText().ToPath(BGM_File))) BGM_File.clear();
    if (BGM_File.empty() && BGM_Kind == 2) BGM_Kind = 0;
  });
  Guarded([&] {
    BGM_Folder = BGM_File.empty() ? "" : FolderOf(SystemSettingsText().ToPath(BGM_File));
  });
}

bool FileExists(std::string path) {
  if (EndsWithSeparator(path)) path.pop_back();
  path = UpToNul(std::move(path));
  if (path.empty()) return false;
  return CanOpenForReading(path);
}

std::string FolderOf(std::string path) {
  // A Linux path is cut at its last "/" alone: ":" and "\" are ordinary characters in its
  // names. Other paths are cut as Windows paths, at the last ":", "\" or "/".
  const bool posix = !path.empty() && path.front() == '/';
  const size_t cut = posix ? path.rfind('/') : path.find_last_of(":\\/");
  if (cut == std::string::npos) return "";
  if (posix && cut == 0) return "/";  // the root folder keeps its one "/"
  path.resize(cut + 1);
  if (EndsWithSeparator(path)) path.pop_back();
  return path;
}

namespace {

Rect AnchorRect() {
  return Rect{AnimPointX, AnimPointY, 0, 0};
}

Rect WindowRectOrZero(WindowHandle window, Platform& platform) {
  return platform.windowGeometry.GetWindowRect(window).value_or(Rect{});
}

}  // namespace

void AnimateOpen(WindowHandle window, Platform& platform) {
  const Rect from = AnchorRect();
  const Rect to = WindowRectOrZero(window, platform);
  platform.rectAnimation.DrawAnimatedRects(window, from, to);
}

void AnimateClose(WindowHandle window, Platform& platform) {
  const Rect from = WindowRectOrZero(window, platform);
  platform.rectAnimation.DrawAnimatedRects(window, from, AnchorRect());
}

std::string_view PrepareStart(FileSystem& fileSystem) {
  Guarded([&] { fileSystem.CreateDirectory(std::string(DataDirectoryPath)); });
  Guarded([] { LoadSettings(); });
  // The picture is looked for first, so a folder missing both names the picture.
  for (const auto& [companion, message] : {std::pair{&TexturePath, MessageImageMissing},
                                           std::pair{&RendererPath, MessageDllMissing}}) {
    bool missing = false;
    Guarded([&] { missing = !FileExists(companion()); });
    if (missing) return message;
  }
  return "";
}

}  // namespace orvane
