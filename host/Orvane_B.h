#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/platform.h"

// The host's main module: the entry point, the settings variables that the dialog, the
// saver and the music read and change, and the small shared operations.
namespace orvane {

// Music kind: 0 none, 1 audio CD, 2 music file (MP3 or WAV).
extern std::int16_t BGM_Kind;
// CD track to repeat; 0 plays the whole disc again whenever it stops.
extern std::int16_t BGM_RepeatTrack;
// Full path of the music file (UTF-8 on Linux).
extern std::string BGM_File;
// Folder in which the settings dialog's file chooser starts, that of BGM_File; "" while no
// music file has been chosen (the chooser then starts in the user's music folder). Not stored.
extern std::string BGM_Folder;

// Anchor of the dialog's open and close animation, in screen pixels; set by the dialog
// when it loads (0, 0 when the pointer cannot be read).
extern std::int16_t AnimPointX;
extern std::int16_t AnimPointY;

// The settings file's section and keys. The key names are code page 932 bytes, as the
// Japanese Windows wrote them, so that files from there keep working:
// "BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ".
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

// The folder of the running host, without a trailing "/" (except "/" itself). Main sets it
// from Process::HostFolder(); tests set it directly.
const std::string& HostFolder();
void SetHostFolder(std::string folder);
// Companion paths: HostFolder() + "/Orvane.image", "/Orvane.dll".
std::string TexturePath();
std::string RendererPath();
// The settings file: HostFolder() + "/Orvane.ini" unless Main has set another, by the
// platform's rule (UserFiles::SettingsPath), since the host last moved.
std::string SettingsPath();
void SetSettingsPath(std::string path);
// The settings file LoadSettings reads: SettingsPath() unless Main has set another by the
// platform's rule (UserFiles::SettingsSourcePath) since the settings path last changed.
std::string SettingsSourcePath();
// The picture the saver shows: the user's own (UserFiles::UserPicturePath, set by Main) when
// it exists, otherwise TexturePath().
std::string PicturePath();
void SetUserPicturePath(std::string path);
// Takes the places from the platform's rule, for the host folder set last.
void UseUserFiles(UserFiles& userFiles);

// The raw command line of this process (arguments joined with single blanks). Main stores
// it; the saver reads the mode letter again at its end with ModeLetter().
const std::string& CommandLine();
void SetCommandLine(std::string commandLine);
// The mode letter of CommandLine(): "P", "C", "S", another character, or "" (see
// host/command_line.h).
std::string ModeLetter();

// The value of key in section of the INI file at path, cut to kProfileValueBytes
// (platform/text_limits.h); "" when the file, section or key is missing. Reads as Windows'
// GetPrivateProfileStringA does.
std::string ReadIni(std::string section, std::string key, std::string file);
// Sets key in section of the INI file at path to value, creating the file and the section
// when missing. Atomic; a failed write gives false, leaves the old file whole and, when reason
// is given, puts the system's words for why there.
bool WriteIni(std::string section, std::string key, std::string value, std::string file,
              std::string* reason = nullptr);
// Fills the four settings variables from SettingsSourcePath(), with every fallback (no music).
void LoadSettings();
// True when path (less one trailing "\" or "/") is a file that can be opened for reading.
bool FileExists(std::string path);
// The folder part of path, without a trailing separator: "C:\Music\a.mp3" gives "C:\Music",
// "C:\a.mp3" and "C:a.mp3" give "C:", "a.mp3" gives "", "/home/u/a.mp3" gives "/home/u".
std::string FolderOf(std::string path);

// The start-up shared by the saver, the settings dialog and the daemon's run: makes the data
// directory, loads the settings and checks the companion files, the picture first. Returns
// the missing file's message, or "" when both are there.
std::string_view PrepareStart(FileSystem& fileSystem);

// The dialog's open and close effect: an outline from the anchor point out to the window's
// rectangle, and back.
void AnimateOpen(WindowHandle window, Platform& platform);
void AnimateClose(WindowHandle window, Platform& platform);

// The three hand-overs Main makes. The program passes StartPreview (host/Orvane_R.h),
// ShowSettingsDialog (host/dialog/Orvane_P.h) and CreateSaverWindow (host/Orvane_S.h), so that
// this core names none of the windows; tests pass recorders.
struct ModeHandlers {
  std::function<void(WindowHandle hostWindow, Platform&)> startPreview;
  std::function<void(Platform&)> showSettingsDialog;
  std::function<void(Platform&)> createSaverWindow;
};

// The host's entry point, given the raw command line. It returns when a window of the host
// (preview or saver) lives on, and the caller then runs the main loop; on every other path it
// ends the process through Platform::process (a fake returns from there, and so does Main).
void Main(std::string commandLine, Platform& platform, const ModeHandlers& handlers);

}  // namespace orvane
