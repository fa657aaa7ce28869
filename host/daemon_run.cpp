// The daemon's saver run: texture copy, the owned renderer, the music under its lock, the end.
#include "host/daemon_run.h"

#include "host/Orvane_B.h"
#include "host/guarded.h"

namespace orvane {

std::string_view PrepareDaemonRun(FileSystem& fileSystem, UserFiles& userFiles) {
  // The settings and picture the user chose, wherever this installation keeps them.
  UseUserFiles(userFiles);
  return PrepareStart(fileSystem);
}

DaemonRun::DaemonRun(DaemonParts parts, std::uint32_t window, bool music)
    : DaemonRun(std::move(parts), {"--window-id", WindowIdText(window)}, music) {}

DaemonRun::DaemonRun(DaemonParts parts, std::vector<std::string> rendererArguments, bool music)
    : parts_(std::move(parts)),
      rendererArguments_(std::move(rendererArguments)),
      music_(music),
      watch_(parts_.timers, WatchInterval, [this] { WatchRenderer(); }),
      retry_(parts_.timers, MusicRetryInterval, [this] { TryMusic(); }),
      saverMusic_(parts_.timers, parts_.prepareMusic) {}

DaemonRun::~DaemonRun() {
  retry_.Stop();
  watch_.Stop();
  saverMusic_.StopTimers();
}

void DaemonRun::Start() {
  // The renderer reads its texture from the data directory, so the copy comes first.
  Guarded([&] { parts_.fileSystem.CopyFile(PicturePath(), std::string(TextureCopyPath)); });
  Guarded([&] { parts_.renderer.Start(RendererPath(), rendererArguments_); });
  Guarded([&] { watch_.Start(); });
  if (!music_ || !SaverMusic::HasMusic()) return;
  TryMusic();
  if (!playing_) Guarded([&] { retry_.Start(); });
}

void DaemonRun::TryMusic() {
  if (ending_ || playing_) return;
  bool taken = false;
  Guarded([&] { taken = parts_.musicLock.TryTake(); });
  if (!taken) return;
  Guarded([&] { retry_.Stop(); });
  playing_ = true;
  saverMusic_.Start();
}

void DaemonRun::WatchRenderer() {
  if (ending_) return;
  bool running = false;
  Guarded([&] { running = parts_.renderer.Running(); });
  if (!running) End();
}

void DaemonRun::End() {
  if (ending_) return;
  ending_ = true;
  Guarded([&] { watch_.Stop(); });
  Guarded([&] { retry_.Stop(); });
  if (playing_) saverMusic_.Stop();
  // The next saver's host takes over the music only once this one's has stopped.
  Guarded([&] { parts_.musicLock.Release(); });
  Guarded([&] { parts_.renderer.End(); });
  Guarded([&] { parts_.process.EndProcess(); });
}

}  // namespace orvane
