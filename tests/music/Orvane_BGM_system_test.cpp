// The music module over the real multimedia system, with a sink that plays nowhere.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "host/Orvane_B.h"
#include "host/music/Orvane_BGM.h"
#include "platform/multimedia.h"
#include "tests/mci/media_files.h"
#include "tests/support/child.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

std::string Ask(platform::Multimedia& mm, const std::string& command) {
  char reply[128];
  return mm.MciSendString(command, reply, sizeof reply) == 0 ? reply : "#";
}

class RealMusic : public ::testing::Test {
 protected:
  void Use(const std::string& cdSource = "") {
    mm = platform::CreateSystemMultimedia({"fakesink sync=true", cdSource});
    BGM_UseMultimedia(*mm);
  }
  testing::TempFolder folder;
  std::unique_ptr<platform::Multimedia> mm;
};

// Any name Linux allows plays: a double quote, an apostrophe, blanks, a tab, non-ASCII letters
// and a byte that is not UTF-8.
TEST_F(RealMusic, AnMp3WithQuotesAndBlanksInItsNameRepeatsAfterItsEnd) {
  Use();
  BGM_File = folder / "It's \"a song\" ♪ \xE9\t.mp3";
  ASSERT_TRUE(testing::WriteMp3(BGM_File, 0.6, 440));
  BGM_MP3Open();
  EXPECT_TRUE(BGM_MP3IsPlaying());
  EXPECT_TRUE(testing::WaitFor([] { return !BGM_MP3IsPlaying(); }, 3000ms, 50ms)) << "its end";
  BGM_MP3Keep();
  EXPECT_TRUE(BGM_MP3IsPlaying()) << "the keep tick started it again";
  EXPECT_LT(std::stol(Ask(*mm, "status MP3Play position")), 300);
  BGM_MP3Close();
  EXPECT_EQ(Ask(*mm, "status MP3Play mode"), "#");
}

TEST_F(RealMusic, TheRepeatTrackOfADiscImageComesBack) {
  Use(testing::WriteDiscImage(folder.path(), {1.0, 0.6, 1.0}));
  BGM_RepeatTrack = 2;
  BGM_CDOpen();
  BGM_CDPoll();
  EXPECT_TRUE(BGM_CDPollOn);
  EXPECT_EQ(Ask(*mm, "status cdaudio current track"), "2");
  EXPECT_EQ(Ask(*mm, "status cdaudio number of tracks"), "3");
  // Polled as the saver does, track 2 runs into track 3 and is called back.
  bool sawTrack3 = false;
  EXPECT_TRUE(testing::WaitFor(
      [&] {
        sawTrack3 = sawTrack3 || Ask(*mm, "status cdaudio current track") == "3";
        BGM_CDPoll();
        return sawTrack3 && Ask(*mm, "status cdaudio current track") == "2";
      },
      5000ms, 200ms));
  EXPECT_TRUE(BGM_CDPollOn);
  BGM_CDClose();
  EXPECT_EQ(mm->MciSendString("close cdaudio", nullptr, 0), 263u) << "no longer open";
}

}  // namespace
}  // namespace orvane
