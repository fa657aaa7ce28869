#include "tests/windows/wine_probe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace orvane::testing {

WineProbe::WineProbe(std::vector<std::string> env) {
  const char* given = std::getenv("WINEPREFIX");
  if (given != nullptr && std::filesystem::is_directory(given)) {
    prefix_ = given;
  } else {
    ownPrefix_ = std::make_unique<TempFolder>();
    prefix_ = ownPrefix_->path();
  }
  env.insert(env.end(),
             {"WINEPREFIX=" + prefix_, "WINEDEBUG=-all", "LANG=C.UTF-8", "LC_ALL=C.UTF-8"});
  std::string quoted;
  for (const std::string& pair : env) quoted += "'" + pair + "' ";
  // A new prefix reports its own making on standard error; make it before the probe runs.
  if (ownPrefix_ && RunShell("env " + quoted + "wineboot -i >/dev/null 2>&1").first != 0) return;
  const std::string fifo = folder_ / "commands";
  if (mkfifo(fifo.c_str(), 0600) != 0) return;
  child_ = std::make_unique<Child>(
      std::vector<std::string>{"sh", "-c", "exec wine \"$0\" <\"$1\"", ORVANE_SYSTEM_PROBE, fifo},
      env);
  // The shell opens the other end before it becomes Wine.
  writer_ = open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
}

WineProbe::~WineProbe() {
  if (writer_ >= 0) close(writer_);  // the probe ends at the end of its input
  if (child_ && !child_->Wait(std::chrono::seconds(20))) child_.reset();
  if (ownPrefix_) {
    RunShell("WINEPREFIX='" + prefix_ + "' wineserver -k; WINEPREFIX='" + prefix_ +
             "' wineserver -w");
  }
}

std::vector<std::string> WineProbe::AskEach(const std::vector<std::string>& commands,
                                            std::chrono::milliseconds timeout) {
  std::string text;
  for (const std::string& command : commands) text += command + "\n";
  if (writer_ < 0 || write(writer_, text.data(), text.size()) != ssize_t(text.size())) {
    return std::vector<std::string>(commands.size());
  }
  const std::size_t want = answered_ + commands.size();
  std::vector<std::string> lines;
  WaitFor(
      [&] {
        lines.clear();
        const std::string out = child_->Stdout();
        std::size_t start = 0;
        // Standard output of a Windows program is in text mode: its lines end in CRLF.
        for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
          lines.push_back(out.substr(start, end - start - (end > start && out[end - 1] == '\r')));
        return lines.size() >= want || !child_->Running();
      },
      timeout, std::chrono::milliseconds(20));
  std::vector<std::string> answers(commands.size());
  for (std::size_t i = answered_; i < want && i < lines.size(); ++i)
    answers[i - answered_] = lines[i];
  answered_ = want;
  return answers;
}

}  // namespace orvane::testing
