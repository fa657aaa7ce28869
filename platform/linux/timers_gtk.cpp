#include <glib.h>

#include <map>

#include "platform/linux/x11_platform.h"

namespace orvane {
namespace {

// Each timer is a GLib timeout source on the default main context; this object owns them all
// and removes any still running when it goes.
class GLibTimers final : public Timers {
 public:
  ~GLibTimers() override {
    for (const auto& [id, source] : sources_) g_source_remove(source);
  }

  TimerId StartTimer(std::chrono::milliseconds interval, std::function<void()> tick) override {
    const TimerId id = nextId_++;
    auto* entry = new Entry{this, id, std::move(tick)};
    const guint source = g_timeout_add_full(
        G_PRIORITY_DEFAULT, static_cast<guint>(std::max<long long>(interval.count(), 0)), Tick,
        entry, [](gpointer data) { delete static_cast<Entry*>(data); });
    sources_[id] = source;
    return id;
  }

  void StopTimer(TimerId id) override {
    auto it = sources_.find(id);
    if (it == sources_.end()) return;
    const guint source = it->second;
    sources_.erase(it);
    g_source_remove(source);
  }

 private:
  struct Entry {
    GLibTimers* owner;
    TimerId id;
    std::function<void()> tick;
  };

  static gboolean Tick(gpointer data) {
    auto* entry = static_cast<Entry*>(data);
    // GLib holds the entry until this dispatch ends, even when the tick stops its own timer.
    entry->tick();
    return G_SOURCE_CONTINUE;
  }

  std::map<TimerId, guint> sources_;
  TimerId nextId_ = 1;
};

}  // namespace

std::unique_ptr<Timers> MakeGLibTimers() {
  return std::make_unique<GLibTimers>();
}

}  // namespace orvane
