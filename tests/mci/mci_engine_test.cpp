#include "platform/mci/mci_engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "platform/mci/mci_errors.h"

namespace orvane::platform {
namespace {

// A device that plays until told otherwise and remembers what it was asked.
struct FakeDevice final : MciDevice {
  explicit FakeDevice(std::vector<std::string>* log) : log(log) {}
  ~FakeDevice() override { log->push_back("closed"); }
  bool Busy() override { return playing; }
  std::uint32_t Play(std::optional<std::uint32_t> from, std::optional<std::uint32_t>) override {
    log->push_back("play" + (from ? " " + std::to_string(*from) : std::string()));
    playing = true;
    return 0;
  }
  std::uint32_t Stop() override {
    log->push_back("stop");
    playing = false;
    return 0;
  }
  std::uint32_t Pause() override { return 0; }
  std::uint32_t Resume() override { return 0; }
  std::uint32_t Seek(MciSeekTarget, std::uint32_t) override { return 0; }
  std::uint32_t Status(MciStatusItem item, std::optional<std::uint32_t> track,
                       MciReply& reply) override {
    switch (item) {
      case MciStatusItem::Mode:
        reply = MciReply::Text(playing ? "playing" : "stopped");
        return 0;
      case MciStatusItem::Position:
        if (track) {
          if (*track > 9) return MCIERR_OUTOFRANGE;
          reply = MciReply::Tmsf(*track, 0, 0, 0);
        } else {
          reply = MciReply::Msf(0, 2, 0);
        }
        return 0;
      case MciStatusItem::NumberOfTracks:
        reply = MciReply::Integer(9);
        return 0;
      case MciStatusItem::Ready:
        reply = MciReply::Boolean(true);
        return 0;
      default:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
  }
  std::uint32_t SetTimeFormat(MciTimeFormat f) override {
    return f == MciTimeFormat::Tmsf ? 0 : MCIERR_BAD_TIME_FORMAT;
  }
  std::vector<std::string>* log;
  bool playing = false;
};

struct FakeFactory final : MciDeviceFactory {
  std::uint32_t Open(MciDeviceType type, const std::string& element,
                     std::unique_ptr<MciDevice>& device) override {
    opened.push_back((type == MciDeviceType::CdAudio ? "cdaudio:" : "mpegvideo:") + element);
    if (fail.count(element)) return fail[element];
    device = std::make_unique<FakeDevice>(&log);
    return 0;
  }
  std::vector<std::string> opened;
  std::vector<std::string> log;
  std::map<std::string, std::uint32_t> fail;
};

class Engine : public ::testing::Test {
 protected:
  std::uint32_t Send(const std::string& command) { return engine.Send(command, reply); }
  FakeFactory factory;
  MciEngine engine{factory};
  std::string reply;
};

TEST_F(Engine, OpenAnswersTheDeviceIdAndAliasesAreCaseBlind) {
  ASSERT_EQ(Send("open cdaudio"), 0u);
  EXPECT_EQ(reply, "1");
  ASSERT_EQ(Send("open \"/m/a b.mp3\" type MPEGVideo Alias MP3Play"), 0u);
  EXPECT_EQ(reply, "2");
  EXPECT_EQ(factory.opened, (std::vector<std::string>{"cdaudio:", "mpegvideo:/m/a b.mp3"}));
  ASSERT_EQ(Send("STATUS mp3play MODE"), 0u);
  EXPECT_EQ(reply, "stopped");
  ASSERT_EQ(Send("close MP3PLAY"), 0u);
  EXPECT_EQ(reply, "");
  ASSERT_EQ(Send("open x.wav alias again"), 0u);
  EXPECT_EQ(reply, "2") << "the lowest free id is used again";
}

TEST_F(Engine, OpenRefusesNamesInUseAndUnknownTypes) {
  ASSERT_EQ(Send("open cdaudio"), 0u);
  EXPECT_EQ(Send("open cdaudio"), MCIERR_DEVICE_OPEN);
  EXPECT_EQ(Send("open a.mp3 alias cdaudio"), MCIERR_DUPLICATE_ALIAS);
  EXPECT_EQ(Send("open a.mp3 type jukebox"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("open a.xyz"), MCIERR_EXTENSION_NOT_FOUND);
  EXPECT_EQ(Send("open noextension"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("open all"), MCIERR_CANNOT_USE_ALL);
  EXPECT_EQ(Send("open a.mp3"), 0u) << "the extension names the type";
  EXPECT_EQ(factory.opened.back(), "mpegvideo:a.mp3");
  EXPECT_EQ(Send("open \"d:\" type cdaudio alias cd"), 0u);
  EXPECT_EQ(factory.opened.back(), "cdaudio:d:");
}

TEST_F(Engine, FactoryErrorsComeBackAndLeaveNothingOpen) {
  factory.fail["/gone.mp3"] = MCIERR_FILE_NOT_FOUND;
  EXPECT_EQ(Send("open \"/gone.mp3\" type MPEGVideo Alias MP3Play"), MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(Send("play MP3Play"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("stop MP3Play"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("close MP3Play"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(engine.OpenDevices(), 0u);
}

TEST_F(Engine, ADeviceTypeThatIsNotOpenOpensForOneCommand) {
  ASSERT_EQ(Send("status cdaudio mode"), 0u);
  EXPECT_EQ(reply, "stopped");
  EXPECT_EQ(engine.OpenDevices(), 0u) << "an idle auto-opened device closes again";
  EXPECT_EQ(factory.log, (std::vector<std::string>{"closed"}));

  ASSERT_EQ(Send("play cdaudio"), 0u);
  EXPECT_EQ(engine.OpenDevices(), 1u) << "it stays open while it plays";
  ASSERT_EQ(Send("status cdaudio mode"), 0u);
  EXPECT_EQ(reply, "playing");
  ASSERT_EQ(Send("open cdaudio"), 0u) << "an open takes the playing device over";
  EXPECT_EQ(reply, "1");
  ASSERT_EQ(Send("stop cdaudio"), 0u);
  EXPECT_EQ(engine.OpenDevices(), 1u);

  EXPECT_EQ(Send("status nosuchalias mode"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("play cdaudio2 notify"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("close all"), 0u);
  EXPECT_EQ(Send("status cdaudio mode notify"), MCIERR_NOTIFY_ON_AUTO_OPEN);

  factory.fail[""] = MCIERR_CANNOT_LOAD_DRIVER;
  EXPECT_EQ(Send("status cdaudio current track"), MCIERR_CANNOT_LOAD_DRIVER)
      << "no drive: the auto-open fails with the driver's error";
}

TEST_F(Engine, RepliesAreFormattedByKind) {
  ASSERT_EQ(Send("open cdaudio"), 0u);
  ASSERT_EQ(Send("status cdaudio position track 3"), 0u);
  EXPECT_EQ(reply, "03:00:00:00");
  ASSERT_EQ(Send("status cdaudio position"), 0u);
  EXPECT_EQ(reply, "00:02:00");
  ASSERT_EQ(Send("status cdaudio number of tracks"), 0u);
  EXPECT_EQ(reply, "9");
  ASSERT_EQ(Send("status cdaudio ready"), 0u);
  EXPECT_EQ(reply, "true");
  EXPECT_EQ(Send("status cdaudio position track 10"), MCIERR_OUTOFRANGE);
  EXPECT_EQ(reply, "");
  EXPECT_EQ(Send("set cdaudio time format bytes"), MCIERR_BAD_TIME_FORMAT);
  EXPECT_EQ(Send("set cdaudio door open"), MCIERR_UNSUPPORTED_FUNCTION);
  EXPECT_EQ(Send("play cdaudio wait"), MCIERR_UNSUPPORTED_FUNCTION);
  EXPECT_EQ(Send("status all mode"), MCIERR_CANNOT_USE_ALL);
  EXPECT_EQ(Send("play cdaudio from 7"), 0u);
  EXPECT_EQ(factory.log.back(), "play 7");
  EXPECT_EQ(Send("stop all"), 0u);
  EXPECT_EQ(factory.log.back(), "stop");
}

TEST_F(Engine, TheBufferGetsTheReplyOrIsClearedAndOverflowIsAnError) {
  char buffer[16];
  std::memset(buffer, 'z', sizeof buffer);
  ASSERT_EQ(engine.Send("open cdaudio", buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "1");
  ASSERT_EQ(engine.Send("status cdaudio position track 3", buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "03:00:00:00");
  EXPECT_EQ(engine.Send("status cdaudio position track 30", buffer, sizeof buffer),
            MCIERR_OUTOFRANGE);
  EXPECT_STREQ(buffer, "");
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(engine.Send("status cdaudio position track 3", buffer, 11), MCIERR_PARAM_OVERFLOW);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], 'z') << "nothing written past the given length";
  ASSERT_EQ(engine.Send("status cdaudio position track 3", buffer, 12), 0u);
  EXPECT_STREQ(buffer, "03:00:00:00") << "exactly fits with its NUL";
  EXPECT_EQ(engine.Send("status cdaudio mode", nullptr, 0), 0u) << "no buffer, no overflow";
  EXPECT_EQ(engine.Send("", buffer, sizeof buffer), MCIERR_MISSING_COMMAND_STRING);
  EXPECT_STREQ(buffer, "");
}

TEST(MciErrors, TextsExistForTheEngineCodesAndNotForOthers) {
  EXPECT_STREQ(MciErrorText(263), "The specified device is not open or is not recognized by MCI.");
  EXPECT_STREQ(MciErrorText(275),
               "Cannot find the specified file. Make sure the path and filename are correct.");
  EXPECT_STREQ(MciErrorText(267), "No command was specified.");
  for (std::uint32_t code : {259u, 261u, 262u, 265u, 266u, 268u, 269u, 270u, 273u, 274u, 279u, 281u,
                             282u, 284u, 289u, 290u, 292u, 293u, 294u, 295u, 296u, 300u, 305u}) {
    EXPECT_NE(MciErrorText(code), nullptr) << code;
  }
  for (std::uint32_t code : {0u, 1u, 255u, 256u, 258u, 283u, 999u, 0xFFFFFFFFu}) {
    EXPECT_EQ(MciErrorText(code), nullptr) << code;
  }
  char text[256];
  EXPECT_FALSE(CopyMciErrorText(999, text, sizeof text));
  EXPECT_STREQ(text, "");
  char small[8];
  ASSERT_TRUE(CopyMciErrorText(263, small, sizeof small));
  EXPECT_STREQ(small, "The spe");
  EXPECT_FALSE(CopyMciErrorText(263, nullptr, 0));
}

}  // namespace
}  // namespace orvane::platform
