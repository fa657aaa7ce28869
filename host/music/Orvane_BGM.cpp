#include "host/music/Orvane_BGM.h"

#include <cstring>
#include <optional>
#include <string_view>

#include "common/ascii_case.h"
#include "common/number_text.h"
#include "host/Orvane_B.h"
#include "platform/multimedia.h"

namespace orvane {

bool BGM_CDPollOn = false;

namespace {

// Stands in until the saver hands over the real system: nothing can be opened (266, Windows'
// MCIERR_CANNOT_LOAD_DRIVER), and no error has a text.
class NoMultimedia final : public platform::Multimedia {
 public:
  std::uint32_t MciSendString(std::string_view, char* reply, std::uint32_t length) override {
    if (reply != nullptr && length > 0) reply[0] = '\0';
    return 266;
  }
  bool MciGetErrorString(std::uint32_t, char* text, std::uint32_t length) override {
    if (text != nullptr && length > 0) text[0] = '\0';
    return false;
  }
  bool PlaySound(const char*, std::uint32_t) override { return false; }
  std::uint32_t WaveOutGetNumDevs() override { return 0; }
};

NoMultimedia noMultimedia;
platform::Multimedia* multimedia = &noMultimedia;

// The module's buffers keep their contents from one call to the next, as the device leaves them.
char replyBuffer[512];
char errorBuffer[256];
char cdModeBuffer[255];
char mp3ModeBuffer[30];

constexpr char kCdDevice[] = "cdaudio";
constexpr char kMp3Alias[] = "MP3Play";
constexpr std::uint32_t kLoopFlags = platform::SND_ASYNC | platform::SND_LOOP;  // 9

std::uint32_t SendNoReply(const std::string& command) {
  return multimedia->MciSendString(command, nullptr, 0);
}

std::string UpTo(const char* buffer, std::size_t size) {
  return std::string(buffer, strnlen(buffer, size));
}

// Only the first 7 characters of a mode buffer are ever looked at.
bool ModeIs(const char* buffer, const char (&word)[8]) {
  return std::memcmp(buffer, word, 7) == 0;
}

// A file name between double quotes. A quote within it is doubled, which our MCI parser reads
// as one; Windows names hold no quote, so for them this is the name as it stands.
std::string QuotedName(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + '"';
}

bool IsError(const std::string& reply) {
  return common::AsciiUpper(reply).find("ERR") != std::string::npos;
}

}  // namespace

void BGM_UseMultimedia(platform::Multimedia& system) {
  multimedia = &system;
}

std::int32_t BGM_MciSend(const std::string& command, std::string& reply) {
  if (command.empty()) {
    reply = "コマンド文字列が指定されていません";
    return -1;
  }
  const auto result = static_cast<std::int32_t>(
      multimedia->MciSendString(command, replyBuffer, sizeof replyBuffer));
  if (result != 0) {
    if (multimedia->MciGetErrorString(static_cast<std::uint32_t>(result), errorBuffer,
                                      sizeof errorBuffer)) {
      reply = UpTo(errorBuffer, sizeof errorBuffer);
    } else {
      reply = "Error (文字列が取れません)";
    }
    return result;
  }
  reply = UpTo(replyBuffer, sizeof replyBuffer);
  return 0;
}

std::string BGM_MciQuery(const std::string& command) {
  std::string reply;
  const std::int32_t result = BGM_MciSend(command, reply);
  if (result != 0) return "Error:" + std::to_string(result);
  return reply;
}

std::int32_t BGM_MciPlay(const std::string& device, const std::string& from,
                         const std::string& to) {
  std::string command = "play " + device;
  if (!from.empty()) command += " from " + from;
  if (!to.empty()) command += " to " + to;
  std::string reply;
  return BGM_MciSend(command, reply);
}

void BGM_CDOpen() {
  SendNoReply("open cdaudio");
  SendNoReply("set cdaudio time format tmsf");
}

void BGM_CDPoll() {
  BGM_CDPollOn = true;
  const std::string current = BGM_MciQuery("status cdaudio current track");
  if (IsError(current)) {
    BGM_CDPollOn = false;
    return;
  }
  const std::string count = BGM_MciQuery("status cdaudio number of tracks");
  if (IsError(count)) {
    BGM_CDPollOn = false;
    return;
  }
  multimedia->MciSendString("status cdaudio mode", cdModeBuffer, sizeof cdModeBuffer);
  const bool stopped = ModeIs(cdModeBuffer, "stopped");

  if (BGM_RepeatTrack != 0) {
    // Both sides of the test are evaluated, so a current track that is no number ends the
    // poll even when the disc has stopped.
    const std::optional<double> track = common::ParseNumberText(current);
    if (!track) {
      BGM_CDPollOn = false;
      return;
    }
    if (stopped || *track != BGM_RepeatTrack) {
      const std::string position =
          BGM_MciQuery("status cdaudio position track " + std::to_string(BGM_RepeatTrack));
      BGM_MciPlay(kCdDevice, position, "");
    }
  } else if (stopped) {
    BGM_MciPlay(kCdDevice, "", "");
  }
}

void BGM_CDClose() {
  SendNoReply("stop cdaudio");
  SendNoReply("close cdaudio");
}

void BGM_MP3Open() {
  const std::string open =
      "open " + QuotedName(BGM_File) + " type MPEGVideo Alias " + std::string(kMp3Alias);
  if (SendNoReply(open) == 0) SendNoReply(std::string("play ") + kMp3Alias);
}

bool BGM_MP3IsPlaying() {
  multimedia->MciSendString(std::string("status ") + kMp3Alias + " mode", mp3ModeBuffer,
                            sizeof mp3ModeBuffer);
  return ModeIs(mp3ModeBuffer, "playing");
}

void BGM_MP3Keep() {
  if (!BGM_MP3IsPlaying()) {
    SendNoReply(std::string("stop ") + kMp3Alias);
    SendNoReply(std::string("play ") + kMp3Alias + " from 0");
  }
}

void BGM_MP3Close() {
  SendNoReply(std::string("stop ") + kMp3Alias);
  SendNoReply(std::string("close ") + kMp3Alias);
}

void BGM_WAVPlay() {
  if (multimedia->WaveOutGetNumDevs() > 0) multimedia->PlaySound(BGM_File.c_str(), kLoopFlags);
}

void BGM_WAVStop() {
  multimedia->PlaySound(nullptr, 0);
}

}  // namespace orvane
