// Wine's GetPrivateProfileStringA and WritePrivateProfileStringA against the table of INI cases
// our model's unit test reads too, and our MCI engine against Wine's mciSendStringA. Every case
// holds the answer Windows gives (from Windows' behaviour as Wine's own tests pin it on real
// Windows; where nothing pins it, the answer Wine gives), and, where they differ from it, the
// answers of Wine and of ours, each with its reason.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>

#include "host/Orvane_B.h"
#include "platform/mci_errors.h"
#include "platform/multimedia.h"
#include "tests/host/ini_cases.h"
#include "tests/mci/media_files.h"
#include "tests/support/pulse.h"
#include "tests/windows/wine_probe.h"

namespace orvane::testing {
namespace {

struct MciCase {
  std::string command;  // %F% stands for the test's folder, with a separator after it
  std::uint32_t windows;
  std::string reply = "";
  std::optional<std::uint32_t> wine = std::nullopt;
  std::optional<std::uint32_t> ours = std::nullopt;
};

// The commands the music module sends, in the order of a saver run, on a machine without a
// CD drive, with a missing, a corrupt and a good MP3 file.
const MciCase kMci[] = {
    {"open cdaudio", 266},
    {"set cdaudio time format tmsf", 266},
    {"status cdaudio current track", 266},
    {"status cdaudio number of tracks", 266},
    {"status cdaudio mode", 266},
    {"status cdaudio position track 3", 266},
    {"play cdaudio", 266},
    {"play cdaudio from Error:266", 266},
    {"stop cdaudio", 266},
    {"close cdaudio", 263},
    // Wine fails every file its filter graph cannot render with 277, a missing one too.
    {"open \"%F%missing.mp3\" type MPEGVideo Alias MP3Play", 275, "", 277},
    // Wine takes an alias that is not open for a file name without an extension.
    {"play MP3Play", 263, "", 281},
    {"status MP3Play mode", 263, "", 281},
    {"stop MP3Play", 263, "", 281},
    {"play MP3Play from 0", 263, "", 281},
    {"close MP3Play", 263},
    // Not pinned: Wine's 277 is its answer for any file it cannot render, so it says nothing
    // of Windows; ours says the file cannot be played ("The file may be corrupt").
    {"open \"%F%corrupt.mp3\" type MPEGVideo Alias MP3Play", 277, "", std::nullopt, 296},
    {"play MP3Play", 263, "", 281},
    {"close MP3Play", 263},
    {"open \"%F%a tone.mp3\" type MPEGVideo Alias MP3Play", 0, "1"},
    {"open \"%F%a tone.mp3\" type MPEGVideo Alias MP3Play", 289},
    {"status MP3Play mode", 0, "stopped"},
    {"play MP3Play", 0},
    {"status MP3Play mode", 0, "playing"},
    {"stop MP3Play", 0},
    {"status MP3Play mode", 0, "stopped"},
    {"play MP3Play from 0", 0},
    {"close MP3Play", 0},
    {"play MP3Play", 263, "", 281},
    {"close all", 0},
    {"", 267},
};

class WineDifferences : public ::testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(WineDifferences, ProfileReadsAndWrites) {
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < std::size(kReads); ++i) {
    const std::string path = folder / ("read" + std::to_string(i) + ".ini");
    if (kReads[i].file) WriteBytes(path, *kReads[i].file);
    commands.push_back("read " + Hex(WindowsPath(path)) + " " + Hex(kReads[i].section) + " " +
                       Hex(kReads[i].key));
  }
  for (std::size_t i = 0; i < std::size(kWrites); ++i) {
    const std::string path = folder / ("write" + std::to_string(i) + ".ini");
    if (kWrites[i].before) WriteBytes(path, *kWrites[i].before);
    for (const auto& [section, key, value] : kWrites[i].writes)
      commands.push_back("write " + Hex(WindowsPath(path)) + " " + Hex(section) + " " + Hex(key) +
                         " " + Hex(value));
  }
  const std::string noFolder = folder / "no such folder/Orvane.ini";
  commands.push_back("write " + Hex(WindowsPath(noFolder)) + " " + Hex("Section") + " " + Hex("k") +
                     " " + Hex("v"));
  WineProbe probe;
  ASSERT_TRUE(probe.running());
  const std::vector<std::string> answers = probe.AskEach(commands);
  ASSERT_FALSE(answers.back().empty()) << probe.Errors();

  for (std::size_t i = 0; i < std::size(kReads); ++i) {
    const ReadCase& c = kReads[i];
    SCOPED_TRACE(c.what);
    const std::string& answer = answers[i];
    const std::string wine = Unhex(answer.substr(answer.find(' ') + 1));
    EXPECT_EQ(wine, c.wine.value_or(c.windows)) << "Wine";
    EXPECT_EQ(answer.substr(0, answer.find(' ')), std::to_string(wine.size())) << "the count";
  }
  std::size_t next = std::size(kReads);
  for (std::size_t i = 0; i < std::size(kWrites); ++i) {
    const WriteCase& c = kWrites[i];
    SCOPED_TRACE(c.what);
    for (std::size_t w = 0; w < c.writes.size(); ++w) EXPECT_EQ(answers[next++], "1");
    const std::string path = folder / ("write" + std::to_string(i) + ".ini");
    EXPECT_EQ(ReadBytes(path), c.wine.value_or(c.windows)) << "Wine";
  }
  // A write into a folder that does not exist fails, and makes neither folder nor file.
  EXPECT_EQ(answers[next], "0");
  EXPECT_FALSE(WriteIni("Section", "k", "v", noFolder));
  EXPECT_FALSE(std::filesystem::exists(folder / "no such folder"));
}

std::string Replace(std::string text, const std::string& folder) {
  if (const std::size_t at = text.find("%F%"); at != std::string::npos) text.replace(at, 3, folder);
  return text;
}

TEST_F(WineDifferences, MciCommandsOfTheMusicModuleAndTheErrorTexts) {
  WriteBytes(folder / "corrupt.mp3", std::string(4000, '\x5A'));
  ASSERT_TRUE(WriteMp3(folder / "a tone.mp3", 3.0, 550));
  // Wine's MPEGVideo device needs an audio output to open a file: a sink of the test's own.
  PulseServer server;
  ASSERT_TRUE(server.running());
  std::vector<std::string> commands;
  for (const MciCase& c : kMci)
    commands.push_back("mci " + Hex(Replace(c.command, WindowsPath(folder.path()) + "\\")));
  std::vector<std::uint32_t> codes;
  for (std::uint32_t code = platform::MCIERR_BASE; code < platform::MCIERR_BASE + 100; ++code) {
    commands.push_back("errtext " + std::to_string(code));
    codes.push_back(code);
  }
  WineProbe probe(server.env());
  ASSERT_TRUE(probe.running());
  const std::vector<std::string> answers = probe.AskEach(commands);
  ASSERT_FALSE(answers.back().empty()) << probe.Errors();

  auto ours = platform::CreateSystemMultimedia({"fakesink sync=true", folder / "no-cd-drive"});
  for (std::size_t i = 0; i < std::size(kMci); ++i) {
    const MciCase& c = kMci[i];
    SCOPED_TRACE(c.command);
    const std::string& answer = answers[i];
    const std::string wine = std::to_string(c.wine.value_or(c.windows)) + " " +
                             Hex(c.wine && *c.wine != c.windows ? "" : c.reply);
    EXPECT_EQ(answer, wine) << "Wine";
    char reply[512] = "untouched";
    const std::uint32_t code =
        ours->MciSendString(Replace(c.command, folder.path() + "/"), reply, sizeof reply);
    EXPECT_EQ(code, c.ours.value_or(c.windows)) << "ours";
    if (code == 0) EXPECT_EQ(std::string(reply), c.reply) << "ours";
  }
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const std::string& answer = answers[std::size(kMci) + i];
    char text[256];
    const bool found = ours->MciGetErrorString(codes[i], text, sizeof text);
    EXPECT_EQ(std::string(found ? "1 " : "0 ") + Hex(text), answer)
        << codes[i] << ": " << Unhex(answer.substr(2));
  }
}

}  // namespace
}  // namespace orvane::testing
