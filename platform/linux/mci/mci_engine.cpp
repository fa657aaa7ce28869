#include "platform/linux/mci/mci_engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/linux/mci/mci_command.h"
#include "platform/mci_errors.h"

namespace orvane::platform {
namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

// The device types this system has, by the names the open command and auto-open know.
std::optional<MciDeviceType> TypeNamed(std::string_view name) {
  if (SameName(name, "cdaudio")) return MciDeviceType::CdAudio;
  if (SameName(name, "mpegvideo") || SameName(name, "waveaudio")) return MciDeviceType::MpegVideo;
  return std::nullopt;
}

enum class ByExtension { Type, Unknown, None };

// The device type a file's extension stands for, as the system's extension table maps it.
ByExtension TypeOfFile(std::string_view file, MciDeviceType& type) {
  const std::size_t slash = file.find_last_of("/\\");
  const std::string_view base = slash == std::string_view::npos ? file : file.substr(slash + 1);
  const std::size_t dot = base.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == base.size()) return ByExtension::None;
  const std::string_view ext = base.substr(dot + 1);
  static constexpr std::string_view kMedia[] = {"mp3", "mp2",  "mp1", "mpa", "mpg", "mpeg",
                                                "m1v", "wav",  "wma", "asf", "avi", "ogg",
                                                "oga", "flac", "m4a", "aac", "opus"};
  for (std::string_view m : kMedia) {
    if (SameName(ext, m)) {
      type = MciDeviceType::MpegVideo;
      return ByExtension::Type;
    }
  }
  if (SameName(ext, "cda")) {
    type = MciDeviceType::CdAudio;
    return ByExtension::Type;
  }
  return ByExtension::Unknown;
}

}  // namespace

std::string FormatMciReply(const MciReply& reply) {
  char text[64];
  switch (reply.kind) {
    case MciReply::Kind::None:
      return {};
    case MciReply::Kind::Integer:
      std::snprintf(text, sizeof text, "%u", reply.value);
      return text;
    case MciReply::Kind::Colon3:
      std::snprintf(text, sizeof text, "%02u:%02u:%02u", reply.fields[0], reply.fields[1],
                    reply.fields[2]);
      return text;
    case MciReply::Kind::Colon4:
      std::snprintf(text, sizeof text, "%02u:%02u:%02u:%02u", reply.fields[0], reply.fields[1],
                    reply.fields[2], reply.fields[3]);
      return text;
    case MciReply::Kind::Text:
      return reply.text;
    case MciReply::Kind::Boolean:
      return reply.value != 0 ? "true" : "false";
  }
  return {};
}

const char* MciTimeFormatName(MciTimeFormat format) {
  switch (format) {
    case MciTimeFormat::Milliseconds:
      return "milliseconds";
    case MciTimeFormat::Msf:
      return "msf";
    case MciTimeFormat::Tmsf:
      return "tmsf";
    case MciTimeFormat::Frames:
      return "frames";
    case MciTimeFormat::Hms:
      return "hms";
    case MciTimeFormat::Smpte24:
      return "smpte 24";
    case MciTimeFormat::Smpte25:
      return "smpte 25";
    case MciTimeFormat::Smpte30:
      return "smpte 30";
    case MciTimeFormat::Smpte30Drop:
      return "smpte 30 drop";
    case MciTimeFormat::Bytes:
      return "bytes";
    case MciTimeFormat::Samples:
      return "samples";
  }
  return "";
}

MciEngine::~MciEngine() = default;

MciEngine::Entry* MciEngine::Find(std::string_view alias) {
  for (Entry& e : entries_) {
    if (SameName(e.alias, alias)) return &e;
  }
  return nullptr;
}

std::uint32_t MciEngine::NewId() const {
  std::uint32_t id = 1;
  while (
      std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; })) {
    ++id;
  }
  return id;
}

void MciEngine::CloseIdleAutoOpened() {
  std::erase_if(entries_, [](Entry& e) {
    if (!e.autoOpened) return false;
    e.device->Refresh();
    return !e.device->Busy();
  });
}

std::uint32_t MciEngine::Send(std::string_view text, std::string& reply) {
  reply.clear();
  MciCommand c;
  if (const std::uint32_t error = ParseMciCommand(text, c)) {
    // The driver of a device type that is not open loads before the command's keywords are
    // read, so a driver that cannot load is the error the caller sees.
    if (c.verb != MciVerb::Open && c.verb != MciVerb::Close && !c.all &&
        Find(c.device) == nullptr) {
      if (const auto named = TypeNamed(c.device)) {
        std::unique_ptr<MciDevice> device;
        if (const std::uint32_t loadError = factory_.Open(*named, "", device)) return loadError;
      }
    }
    return error;
  }
  CloseIdleAutoOpened();

  if (c.verb == MciVerb::Open) {
    if (c.all) return MCIERR_CANNOT_USE_ALL;
    MciDeviceType type;
    std::string element;
    if (!c.type.empty()) {
      const auto named = TypeNamed(c.type);
      if (!named) return MCIERR_INVALID_DEVICE_NAME;
      type = *named;
      element = c.device;
    } else if (const auto named = TypeNamed(c.device)) {
      type = *named;
    } else {
      switch (TypeOfFile(c.device, type)) {
        case ByExtension::Type:
          element = c.device;
          break;
        case ByExtension::Unknown:
          return MCIERR_EXTENSION_NOT_FOUND;
        case ByExtension::None:
          return MCIERR_INVALID_DEVICE_NAME;
      }
    }
    const std::string alias = c.alias.empty() ? c.device : c.alias;
    if (Entry* open = Find(alias)) {
      if (!open->autoOpened || !c.alias.empty()) {
        return c.alias.empty() ? MCIERR_DEVICE_OPEN : MCIERR_DUPLICATE_ALIAS;
      }
      // A device that was opened by a play command becomes an ordinary open one.
      open->autoOpened = false;
      reply = std::to_string(open->id);
      return 0;
    }
    std::unique_ptr<MciDevice> device;
    if (const std::uint32_t error = factory_.Open(type, element, device)) return error;
    if (!device) return MCIERR_CANNOT_LOAD_DRIVER;
    const std::uint32_t id = NewId();
    entries_.push_back({id, alias, false, std::move(device)});
    reply = std::to_string(id);
    return 0;
  }

  if (c.all) {
    std::uint32_t result = 0;
    switch (c.verb) {
      case MciVerb::Close:
        entries_.clear();
        return 0;
      case MciVerb::Stop:
      case MciVerb::Pause:
      case MciVerb::Resume:
        for (Entry& e : entries_) {
          e.device->Refresh();
          const std::uint32_t r = c.verb == MciVerb::Stop    ? e.device->Stop()
                                  : c.verb == MciVerb::Pause ? e.device->Pause()
                                                             : e.device->Resume();
          if (r != 0) result = r;
        }
        return result;
      default:
        return MCIERR_CANNOT_USE_ALL;
    }
  }

  Entry* entry = Find(c.device);
  if (entry == nullptr) {
    if (c.verb == MciVerb::Close) return MCIERR_INVALID_DEVICE_NAME;
    MciDeviceType type;
    std::string element;
    if (const auto named = TypeNamed(c.device)) {
      type = *named;
    } else if (TypeOfFile(c.device, type) == ByExtension::Type) {
      element = c.device;
    } else {
      return MCIERR_INVALID_DEVICE_NAME;
    }
    if (c.notify) return MCIERR_NOTIFY_ON_AUTO_OPEN;
    std::unique_ptr<MciDevice> device;
    if (const std::uint32_t error = factory_.Open(type, element, device)) return error;
    if (!device) return MCIERR_CANNOT_LOAD_DRIVER;
    entries_.push_back({NewId(), c.device, true, std::move(device)});
    entry = &entries_.back();
  }

  MciDevice& device = *entry->device;
  device.Refresh();
  std::uint32_t result = 0;
  switch (c.verb) {
    case MciVerb::Close: {
      const std::uint32_t id = entry->id;
      std::erase_if(entries_, [id](const Entry& e) { return e.id == id; });
      return 0;
    }
    case MciVerb::Play:
      // A wait would hold the one UI thread for the whole piece, with no way to break it.
      result = c.wait ? MCIERR_UNSUPPORTED_FUNCTION : device.Play(c.from, c.to);
      break;
    case MciVerb::Stop:
      result = device.Stop();
      break;
    case MciVerb::Pause:
      result = device.Pause();
      break;
    case MciVerb::Resume:
      result = device.Resume();
      break;
    case MciVerb::Seek:
      result = device.Seek(c.seekTarget, c.seekPosition);
      break;
    case MciVerb::Status: {
      MciReply answer;
      result = device.Status(c.item, c.track, answer);
      if (result == 0) reply = FormatMciReply(answer);
      break;
    }
    case MciVerb::Set:
      if (c.doorOpen) {
        result = MCIERR_UNSUPPORTED_FUNCTION;
      } else if (c.timeFormat) {
        result = device.SetTimeFormat(*c.timeFormat);
      }
      break;
    case MciVerb::Open:
      break;
  }
  if (result != 0) reply.clear();
  if (entry->autoOpened && !device.Busy()) {
    const std::uint32_t id = entry->id;
    std::erase_if(entries_, [id](const Entry& e) { return e.id == id; });
  }
  return result;
}

std::uint32_t MciEngine::Send(std::string_view command, char* reply, std::uint32_t length) {
  std::string text;
  std::uint32_t result = Send(command, text);
  if (reply == nullptr || length == 0) return result;
  if (result == 0 && text.size() >= length) result = MCIERR_PARAM_OVERFLOW;
  if (result != 0) {
    reply[0] = '\0';
    return result;
  }
  std::memcpy(reply, text.c_str(), text.size() + 1);
  return 0;
}

}  // namespace orvane::platform
