#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/platform.h"

// The host's main module: the entry point, the settings variables and small shared operations.
namespace orvane {

// Music kind: 0 none, 1 audio CD, 2 music file (MP3 or WAV).
extern std::int16_t BGM_Kind;
// CD track to repeat; 0 plays the whole disc again whenever it stops.
extern std::int16_t BGM_RepeatTrack;
// The music file's full path as the settings file holds it: ANSI on Windows, bytes on Linux.
extern std::string BGM_File;
// Where the file chooser starts: BGM_File's folder as UTF-8 on Windows, bytes on Linux; "" (the
// user's music folder) until a file is chosen. Not stored.
extern std::string BGM_Folder;

// Anchor of the dialog's open and close effect in screen pixels; 0, 0 if the pointer is unknown.
extern std::int16_t AnimPointX;
extern std::int16_t AnimPointY;

// The key names are code page 932 bytes, as Japanese Windows wrote them, so that its files keep
// working: "BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ".
inline constexpr std::string_view IniSection = "Section";
inline constexpr std::string_view IniKeyKind = "BGM\x8B\xE6\x95\xAA";
inline constexpr std::string_view IniKeyRepeatTrack = "BGM\xD8\xCB\xDF\xB0\xC4";
inline constexpr std::string_view IniKeyFile = "BGM\xCC\xA7\xB2\xD9";

// The two missing-file messages of start-up (UTF-8).
inline constexpr std::string_view MessageImageMissing =
    "Orvane.image が同じﾌｫﾙﾀﾞに見つかりません！";
inline constexpr std::string_view MessageDllMissing = "Orvane.dll が同じﾌｫﾙﾀﾞに見つかりません！";

// Window titles searched by the single-instance test and the saver's watch.
inline constexpr std::string_view SaverWindowTitle = "Orvane_Main";
inline constexpr std::string_view DialogWindowTitle = "<Orvane>";
inline constexpr std::string_view RendererWindowTitle = "Orvane_VC";

// The fixed data directory and the texture copy in it (FileSystem maps them).
inline constexpr std::string_view DataDirectoryPath = "C:\\t_ovin";
inline constexpr std::string_view TextureCopyPath = "C:\\t_ovin\\Orvane.image";

// The running host's folder, without a trailing "/" (except "/" itself); tests set it directly.
const std::string& HostFolder();
void SetHostFolder(std::string folder);
// Companion paths: HostFolder() + "/Orvane.image", "/Orvane.dll" ("\" on Windows).
std::string TexturePath();
std::string RendererPath();
// The settings file: HostFolder() + "/Orvane.ini" ("\" on Windows) unless Main has set another, by
// the platform's rule (UserFiles::SettingsPath), since the host last moved.
std::string SettingsPath();
void SetSettingsPath(std::string path);
// The settings file LoadSettings reads: SettingsPath() unless Main has set another by the
// platform's rule (UserFiles::SettingsSourcePath) since the settings path last changed.
std::string SettingsSourcePath();
// The user's own picture (UserFiles::UserPicturePath) when it exists, else TexturePath().
std::string PicturePath();
void SetUserPicturePath(std::string path);
// Takes the places from the platform's rule, for the host folder set last.
void UseUserFiles(UserFiles& userFiles);

// Arguments joined with single blanks; the saver reads its mode letter again when it ends.
const std::string& CommandLine();
void SetCommandLine(std::string commandLine);
// The mode letter of CommandLine(): "P", "C", "S", another character, or "".
std::string ModeLetter();

// Reads as GetPrivateProfileStringA: the value cut to kProfileValueBytes, "" when missing.
std::string ReadIni(std::string section, std::string key, std::string file);
// Creates the file and section when missing. Atomic: a failed write gives false, leaves the old
// file whole and puts the system's words for why in reason, when given.
bool WriteIni(std::string section, std::string key, std::string value, std::string file,
              std::string* reason = nullptr);
// Fills the four settings variables from SettingsSourcePath(), with every fallback (no music).
void LoadSettings();
// True when path (less one trailing "\" or "/") is a file that can be opened for reading.
bool FileExists(std::string path);
// The folder part of path, without a trailing separator: "C:\Music\a.mp3" gives "C:\Music",
// "C:\a.mp3" and "C:a.mp3" give "C:", "a.mp3" gives "", "/home/u/a.mp3" gives "/home/u".
std::string FolderOf(std::string path);

// Start-up shared by the saver, the dialog and the daemon's run: makes the data directory, loads
// the settings and returns the missing companion's message (the picture first), or "".
std::string_view PrepareStart(FileSystem& fileSystem);

// The dialog's open and close effect: an outline between the anchor point and the window.
void AnimateOpen(WindowHandle window, Platform& platform);
void AnimateClose(WindowHandle window, Platform& platform);

// Main's three hand-overs, passed in so that this core names none of the windows.
struct ModeHandlers {
  std::function<void(WindowHandle hostWindow, Platform&)> startPreview;
  std::function<void(Platform&)> showSettingsDialog;
  std::function<void(Platform&)> createSaverWindow;
};

// Returns only when a preview or saver window lives on, for the caller's main loop; every other
// path ends the process through Platform::process (a fake returns from there, and so does Main).
void Main(std::string commandLine, Platform& platform, const ModeHandlers& handlers);

}  // namespace orvane
