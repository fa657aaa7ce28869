// The Wayland saver run: the saver lock, then the owned renderer and the music.
#include "host/wayland_saver.h"

#include "host/guarded.h"

namespace orvane {

WaylandSaver::WaylandSaver(Platform& platform, WaylandSaverParts parts)
    : platform_(platform),
      saverLock_(parts.saverLock),
      run_(DaemonParts{platform.fileSystem, platform.process, platform.timers, parts.renderer,
                       parts.musicLock, std::move(parts.prepareMusic)},
           std::vector<std::string>{RendererSwitch}, true) {}

void WaylandSaver::Start() {
  // Two starts at the same moment both pass start-up's search, and the lock lets one through;
  // a lock that cannot be opened cannot tell, and the saver runs rather than never.
  SaverLock::Take take = SaverLock::Take::Unavailable;
  Guarded([&] { take = saverLock_.TryTake(); });
  if (take == SaverLock::Take::HeldElsewhere) {
    platform_.process.EndProcess();
    return;
  }
  run_.Start();
}

void WaylandSaver::Close() {
  run_.End();
}

}  // namespace orvane
