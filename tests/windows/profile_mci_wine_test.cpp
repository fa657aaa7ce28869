// Wine's profile functions against the table of INI cases our model's test reads too, and our
// MCI engine and Wine's against Windows' answers to the music module's commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "host/Orvane_B.h"
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
  std::optional<std::uint32_t> wine = std::nullopt, ours = std::nullopt;
};

// The commands the music module sends in a saver run, on a machine without a CD drive, with a
// missing, a corrupt and a good MP3 file.
const MciCase kMci[] = {
    {"open cdaudio", 266},
    {"status cdaudio current track", 266},
    {"play cdaudio from Error:266", 266},
    {"close cdaudio", 263},
    // Wine fails every file its filter graph cannot render with 277, a missing one too.
    {"open \"%F%missing.mp3\" type MPEGVideo Alias MP3Play", 275, "", 277},
    // Wine takes an alias that is not open for a file name without an extension.
    {"play MP3Play from 0", 263, "", 281},
    {"close MP3Play", 263},
    // Not pinned: Wine's 277 is its answer for any file it cannot render; ours says the file
    // cannot be played ("The file may be corrupt").
    {"open \"%F%corrupt.mp3\" type MPEGVideo Alias MP3Play", 277, "", std::nullopt, 296},
    {"open \"%F%a tone.mp3\" type MPEGVideo Alias MP3Play", 0, "1"},
    {"open \"%F%a tone.mp3\" type MPEGVideo Alias MP3Play", 289},
    {"play MP3Play", 0},
    {"status MP3Play mode", 0, "playing"},
    {"stop MP3Play", 0},
    {"status MP3Play mode", 0, "stopped"},
    {"play MP3Play from 0", 0},
    {"close MP3Play", 0},
    {"play MP3Play", 263, "", 281},
    {"", 267},
};

class WineDifferences : public ::testing::Test {
 protected:
  // The probe's answers, each word after the first sent in hexadecimal, %F% replaced.
  std::vector<std::string> Ask(const std::vector<std::vector<std::string>>& commands,
                               std::vector<std::string> env = {}) {
    std::vector<std::string> lines;
    for (const std::vector<std::string>& words : commands) {
      lines.push_back(words[0]);
      for (std::size_t i = 1; i < words.size(); ++i)
        lines.back() += " " + Hex(In(words[i], WindowsPath(folder.path()) + "\\"));
    }
    WineProbe probe(std::move(env));
    std::vector<std::string> answers = probe.AskEach(lines);
    EXPECT_FALSE(answers.back().empty()) << probe.Errors();
    return answers;
  }
  static std::string In(std::string text, const std::string& folder) {
    const std::size_t at = text.find("%F%");
    return at == std::string::npos ? text : text.replace(at, 3, folder);
  }
  TempFolder folder;
};

TEST_F(WineDifferences, ProfileReadsAndWrites) {
  std::vector<std::vector<std::string>> commands;
  for (std::size_t i = 0; i < std::size(kReads); ++i) {
    if (kReads[i].file) WriteBytes(folder / ("read" + std::to_string(i)), *kReads[i].file);
    commands.push_back({"read", "%F%read" + std::to_string(i), kReads[i].section, kReads[i].key});
  }
  for (std::size_t i = 0; i < std::size(kWrites); ++i) {
    const WriteCase& c = kWrites[i];
    if (c.before) WriteBytes(folder / ("write" + std::to_string(i)), *c.before);
    commands.push_back({"write", "%F%write" + std::to_string(i), c.section, c.key, c.value});
  }
  commands.push_back({"write", "%F%no such folder\\Orvane.ini", "Section", "k", "v"});
  const std::vector<std::string> answers = Ask(commands);
  for (std::size_t i = 0; i < std::size(kReads); ++i) {
    const std::string wine = kReads[i].wine.value_or(kReads[i].windows);
    EXPECT_EQ(answers[i], std::to_string(wine.size()) + " " + Hex(wine)) << kReads[i].what;
  }
  for (std::size_t i = 0; i < std::size(kWrites); ++i) {
    EXPECT_EQ(answers[std::size(kReads) + i], "1") << kWrites[i].what;
    EXPECT_EQ(ReadBytes(folder / ("write" + std::to_string(i))),
              kWrites[i].wine.value_or(kWrites[i].windows))
        << kWrites[i].what;
  }
  // A write into a folder that does not exist fails, and makes neither folder nor file.
  EXPECT_EQ(answers.back(), "0");
  EXPECT_FALSE(WriteIni("Section", "k", "v", folder / "no such folder/Orvane.ini"));
  EXPECT_FALSE(std::filesystem::exists(folder / "no such folder"));
}

// Our engine and Wine's answer the module's commands with Windows' numbers and replies, and
// every error number from 256 to 355 with the same text, or none.
TEST_F(WineDifferences, MciCommandsOfTheMusicModuleAndTheErrorTexts) {
  WriteBytes(folder / "corrupt.mp3", std::string(4000, '\x5A'));
  ASSERT_TRUE(WriteMp3(folder / "a tone.mp3", 3.0, 550));
  // Wine's MPEGVideo device needs an audio output to open a file: a sink of the test's own.
  PulseServer server;
  ASSERT_TRUE(server.running());
  std::vector<std::vector<std::string>> commands;
  for (const MciCase& c : kMci) commands.push_back({"mci", c.command});
  for (std::uint32_t code = 256; code < 356; ++code)
    commands.push_back({"errtext " + std::to_string(code)});
  const std::vector<std::string> answers = Ask(commands, server.env());

  auto ours = platform::CreateSystemMultimedia({"fakesink sync=true", folder / "no-cd-drive"});
  for (std::size_t i = 0; i < std::size(kMci); ++i) {
    const MciCase& c = kMci[i];
    const std::uint32_t wine = c.wine.value_or(c.windows);
    EXPECT_EQ(answers[i], std::to_string(wine) + " " + Hex(wine == c.windows ? c.reply : ""))
        << "Wine: " << c.command;
    char reply[512] = "untouched";
    const std::uint32_t code = ours->MciSendString(In(c.command, folder.path() + "/"), reply, 512);
    EXPECT_EQ(std::to_string(code) + " " + reply,
              std::to_string(c.ours.value_or(c.windows)) + " " + c.reply)
        << "ours: " << c.command;
  }
  for (std::uint32_t code = 256; code < 356; ++code) {
    const std::string& answer = answers[std::size(kMci) + code - 256];
    char text[256];
    const bool found = ours->MciGetErrorString(code, text, sizeof text);
    EXPECT_EQ(std::string(found ? "1 " : "0 ") + Hex(text), answer)
        << code << ": " << Unhex(answer.substr(2));
  }
}

}  // namespace
}  // namespace orvane::testing
