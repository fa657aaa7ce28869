#include "tests/support/programs.h"

#include <algorithm>
#include <filesystem>

namespace orvane::testing {

using namespace std::chrono_literals;

Programs::Programs(Build build, std::string display, std::string locale)
    : build_(build), display_(std::move(display)), locale_(std::move(locale)) {
  if (windows()) {
    // A new prefix reports its own making on standard error: it is made before any program runs.
    ready_ = Run("wineboot -i >/dev/null").first == 0;
    // Wine's dialog fonts have no Japanese glyphs: IPA Gothic is linked behind them.
    for (const char* font : {"Tahoma", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2"})
      ready_ = ready_ &&
               Run("wine reg add 'HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\"
                   "FontLink\\SystemLink' /v '" +
                   std::string(font) + "' /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f >/dev/null")
                       .first == 0;
  }
  std::filesystem::create_directories(DataDirectory());
}

std::vector<std::string> Programs::Environment() const {
  if (!windows())
    return {"DISPLAY=" + display_, "XDG_CACHE_HOME=" + home_.path(),
            "XDG_CONFIG_HOME=" + home_ / ".config"};
  // Wine's menu builder is off, so that nothing is written outside the prefix.
  return {"DISPLAY=" + display_, "WINEPREFIX=" + home_.path(),
          "WINEDEBUG=-all",      "WINEDLLOVERRIDES=winemenubuilder.exe=d",
          "LANG=" + locale_,     "LC_ALL=" + locale_};
}

std::pair<int, std::string> Programs::Run(const std::string& command) const {
  std::string environment;
  for (const std::string& pair : Environment()) environment += "'" + pair + "' ";
  return RunShell("env " + environment + command + " 2>/dev/null");
}

std::string Programs::Built(const std::string& name) const {
  return windows() ? ORVANE_WINDOWS_BIN_DIR "/" + name : ProgramPath(name);
}

std::unique_ptr<Child> Programs::Start(const std::string& program,
                                       const std::vector<std::string>& arguments,
                                       std::vector<std::string> env) const {
  std::vector<std::string> full = Environment();
  full.insert(full.end(), env.begin(), env.end());
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  if (!windows()) return std::make_unique<Child>(argv, full);
  // Windows sets no DISPLAY variable, and freeglut would take one for a device name: cmd
  // clears it for the program alone, and hands back its exit code.
  std::string line = "set DISPLAY=&& " + Path(program);
  for (const std::string& argument : arguments) line += " " + argument;
  return std::make_unique<Child>(std::vector<std::string>{"wine", "cmd", "/c", line}, full);
}

std::string Programs::Path(const std::string& path) const {
  if (!windows()) return path;
  std::string drive = "Z:" + std::filesystem::absolute(path).string();
  std::replace(drive.begin(), drive.end(), '/', '\\');
  return drive;
}

unsigned long VisibleWindow(const std::string& display, const std::string& title,
                            std::chrono::milliseconds timeout, bool visible) {
  unsigned long window = 0;
  const std::string search = "DISPLAY=" + display + " xdotool search" +
                             (visible ? " --onlyvisible" : "") + " --maxdepth 1 --name '^" + title +
                             "$' 2>/dev/null";
  WaitFor([&] { return (window = std::strtoul(RunShell(search).second.c_str(), nullptr, 10)); },
          timeout, 100ms);
  return window;
}

bool Programs::EscapeUntilGone(const std::string& title) const {
  for (int attempt = 0; attempt < 5 && FindWindow(title, 1ms) != 0; ++attempt) {
    Xdotool("key Escape");
    WaitFor([&] { return FindWindow(title, 1ms) == 0; }, 3s, 100ms);
  }
  return FindWindow(title, 1ms) == 0;
}

std::optional<std::string> Programs::MessageText(const std::string& caption) const {
  if (!windows()) return std::nullopt;
  return Run("wine '" ORVANE_WINDOWS_BIN_DIR "/../tests/windows/message_box_text.exe' '" + caption +
             "'")
      .second;
}

}  // namespace orvane::testing
