#include "tests/support/programs.h"

#include <stdlib.h>

#include <filesystem>
#include <set>

namespace orvane::testing {

using namespace std::chrono_literals;

Programs::Programs(Build build, std::string display, std::string locale)
    : build_(build), display_(std::move(display)), locale_(std::move(locale)) {
  std::filesystem::create_directories(DataDirectory());
  if (!windows()) return;
  // A new prefix reports its own making on standard error: it is made before any program runs.
  ready_ = Run("wineboot -i >/dev/null").first == 0;
  for (const std::string& command : JapaneseFontLinkCommands())
    ready_ = ready_ && Run(command).first == 0;
  std::filesystem::create_directories(DataDirectory());
}

Programs::~Programs() {
  // Ends whatever still runs in the driver's own prefix, then lets the prefix go.
  if (!windows()) return;
  Run("wineserver -k");
  Run("wineserver -w");
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
  return windows() ? WindowsPath(path) : path;
}

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + std::filesystem::absolute(unixPath).string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::vector<std::string> JapaneseFontLinkCommands() {
  std::vector<std::string> commands;
  for (const char* font : {"Tahoma", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2"}) {
    commands.push_back(std::string("wine reg add 'HKLM\\Software\\Microsoft\\Windows NT\\"
                                   "CurrentVersion\\FontLink\\SystemLink' /v '") +
                       font + "' /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f >/dev/null 2>&1");
  }
  return commands;
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

bool Programs::EscapeUntilGone(const std::string& title) const {
  for (int attempt = 0; attempt < 5 && FindWindow(title, 1ms) != 0; ++attempt) {
    Xdotool("key Escape");
    WaitFor([&] { return FindWindow(title, 1ms) == 0; }, 3s, 100ms);
  }
  return FindWindow(title, 1ms) == 0;
}

std::optional<std::string> Programs::MessageText(const std::string& caption) const {
  if (!windows()) return std::nullopt;
  const std::filesystem::path reader = std::filesystem::path(ORVANE_WINDOWS_BIN_DIR).parent_path() /
                                       "tests/windows/message_box_text.exe";
  return Run("wine '" + reader.string() + "' '" + caption + "'").second;
}

size_t DistinctGlyphs(const Screenshot& shot) {
  constexpr int kEdge = 5;  // a box's own edges are left out
  const auto dark = [&](int x, int y) {
    const Rgb p = shot.at(x, y);
    return x >= kEdge && x < shot.width - kEdge && p.r + p.g + p.b < 250;
  };
  int top = -1, end = -1;
  for (int y = kEdge; y < shot.height && end < 0; ++y) {
    bool any = false;
    for (int x = 0; x < shot.width && !any; ++x) any = dark(x, y);
    if (any && top < 0) top = y;
    if (!any && top >= 0) end = y;
  }
  if (top < 0 || end < 0) return 0;
  std::set<std::string> shapes;
  std::string shape;
  for (int x = 0; x <= shot.width; ++x) {
    std::string column;
    for (int y = top; x < shot.width && y < end; ++y) column += dark(x, y) ? '#' : '.';
    if (column.find('#') == std::string::npos) {
      if (!shape.empty()) shapes.insert(shape);
      shape.clear();
    } else {
      shape += column + "|";
    }
  }
  return shapes.size();
}

}  // namespace orvane::testing
