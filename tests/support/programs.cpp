#include "tests/support/programs.h"

#include <stdlib.h>

#include <filesystem>

namespace orvane::testing {

Programs::Programs(Build build, const Xvfb& xvfb, std::string locale)
    : build_(build), display_(xvfb.display()), locale_(std::move(locale)) {
  std::filesystem::create_directories(DataDirectory());
  if (!windows()) return;
  // A new prefix reports its own making on standard error: it is made before any program runs.
  ready_ = Wine("wineboot -i").first == 0;
  for (const char* font : {"Tahoma", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2"}) {
    ready_ = ready_ && Wine(std::string("wine reg add 'HKLM\\Software\\Microsoft\\Windows NT\\"
                                        "CurrentVersion\\FontLink\\SystemLink' /v '") +
                            font + "' /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f")
                               .first == 0;
  }
  std::filesystem::create_directories(DataDirectory());
}

Programs::~Programs() {
  // Ends whatever still runs in the driver's own prefix, then lets the prefix go.
  if (!windows()) return;
  Wine("wineserver -k");
  Wine("wineserver -w");
}

std::vector<std::string> Programs::Environment() const {
  if (!windows()) return {"DISPLAY=" + display_, "XDG_CACHE_HOME=" + home_.path()};
  return {"DISPLAY=" + display_, "WINEPREFIX=" + home_.path(), "WINEDEBUG=-all", "LANG=" + locale_,
          "LC_ALL=" + locale_};
}

std::pair<int, std::string> Programs::Wine(const std::string& command) const {
  std::string environment;
  for (const std::string& pair : Environment()) environment += "'" + pair + "' ";
  return RunShell("env " + environment + command + " >/dev/null 2>&1");
}

std::string Programs::Built(const std::string& name) const {
  if (!windows()) return ProgramPath(name);
  const char* folder = getenv("ORVANE_TEST_WINDOWS_BIN_DIR");
  return std::string(folder != nullptr && *folder != '\0' ? folder : ORVANE_WINDOWS_BIN_DIR) + "/" +
         name;
}

std::unique_ptr<Child> Programs::Start(const std::string& program,
                                       const std::vector<std::string>& arguments,
                                       std::vector<std::string> env) const {
  std::vector<std::string> full = Environment();
  full.insert(full.end(), env.begin(), env.end());
  if (!windows()) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return std::make_unique<Child>(argv, full);
  }
  // Windows sets no DISPLAY variable, and freeglut would take one for a device name: cmd
  // clears it for the program alone, and hands back its exit code.
  std::string line = "set DISPLAY=&& " + Path(program);
  for (const std::string& argument : arguments) line += " " + argument;
  return std::make_unique<Child>(std::vector<std::string>{"wine", "cmd", "/c", line}, full);
}

std::string Programs::Path(const std::string& path) const {
  if (!windows()) return path;
  std::string windowsPath = "Z:" + std::filesystem::absolute(path).string();
  for (char& c : windowsPath)
    if (c == '/') c = '\\';
  return windowsPath;
}

std::string Programs::DataDirectory() const {
  return home_ / (windows() ? "drive_c/t_ovin" : "t_ovin");
}

unsigned long Programs::FindWindow(const std::string& title,
                                   std::chrono::milliseconds timeout) const {
  unsigned long window = 0;
  WaitFor(
      [&] {
        const std::string found = Xdotool("search --maxdepth 1 --name '^" + title + "$'");
        return (window = std::strtoul(found.c_str(), nullptr, 10)) != 0;
      },
      timeout, std::chrono::milliseconds(100));
  return window;
}

std::string Programs::Xdotool(const std::string& arguments) const {
  return RunShell("DISPLAY=" + display_ + " xdotool " + arguments + " 2>&1").second;
}

}  // namespace orvane::testing
