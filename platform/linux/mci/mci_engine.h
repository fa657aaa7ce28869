#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/mci/mci_device.h"

// The MCI command-string engine: it parses each command, keeps the table of open devices
// with their ids and aliases, opens device types on demand, and writes the replies.
namespace orvane::platform {

enum class MciDeviceType { CdAudio, MpegVideo };

// Makes the devices the engine opens.
class MciDeviceFactory {
 public:
  virtual ~MciDeviceFactory() = default;
  // Opens a device of `type`. `element` is the file of an MPEGVideo device, or for cdaudio
  // the drive or disc image named in the open command (empty for the default drive).
  virtual std::uint32_t Open(MciDeviceType type, const std::string& element,
                             std::unique_ptr<MciDevice>& device) = 0;
};

class MciEngine {
 public:
  explicit MciEngine(MciDeviceFactory& factory) : factory_(factory) {}
  ~MciEngine();
  MciEngine(const MciEngine&) = delete;
  MciEngine& operator=(const MciEngine&) = delete;

  // Runs one command (the text up to its first NUL); returns 0 or an MCI error code, with
  // the reply text in `reply` ("" on error or when the command has none).
  std::uint32_t Send(std::string_view command, std::string& reply);

  // mciSendStringA's contract: the reply goes to reply[0..length) NUL-terminated, "" on
  // error; a reply that does not fit fails with 268. No buffer: the reply is dropped.
  std::uint32_t Send(std::string_view command, char* reply, std::uint32_t length);

  std::size_t OpenDevices() const { return entries_.size(); }

 private:
  struct Entry {
    std::uint32_t id = 0;
    std::string alias;
    bool autoOpened = false;
    std::unique_ptr<MciDevice> device;
  };

  Entry* Find(std::string_view alias);
  std::uint32_t NewId() const;
  void CloseIdleAutoOpened();

  MciDeviceFactory& factory_;
  std::vector<Entry> entries_;
};

}  // namespace orvane::platform
