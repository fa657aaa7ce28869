// A console program that puts Windows' own profile and multimedia functions, and the music
// module over them, at the service of a test on the Linux side, which runs it under Wine.
//
// It reads one command a line from its standard input and answers each with one line; texts
// travel in hexadecimal (tests/support/hex.h).
//   read FILE SECTION KEY         GetPrivateProfileStringA, buffer 256  -> result VALUE
//   write FILE SECTION KEY VALUE  WritePrivateProfileStringA            -> result
//   mci COMMAND                   mciSendStringA, buffer 512             -> code REPLY
//   file PATH                     sets BGM_File                          -> ok
//   devs                          waveOutGetNumDevs                      -> count
//   wavplay wavstop mp3open mp3keep mp3close cdopen cdclose              -> ok
//   mp3playing                    BGM_MP3IsPlaying                       -> 0 or 1
//   cdpoll                        BGM_CDPoll                             -> BGM_CDPollOn
//   query COMMAND                 BGM_MciQuery                           -> TEXT
//   errtext CODE                  mciGetErrorStringA, buffer 256         -> found TEXT

#include <windows.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/Orvane_B.h"
#include "host/music/Orvane_BGM.h"
#include "platform/multimedia.h"
#include "tests/support/hex.h"

namespace {

using orvane::testing::Hex;
using orvane::testing::Unhex;

std::string Answer(const std::vector<std::string>& words, orvane::platform::Multimedia& system) {
  using namespace orvane;
  const std::string& verb = words[0];
  auto arg = [&](std::size_t i) { return i < words.size() ? Unhex(words[i]) : std::string(); };
  if (verb == "read") {
    char buffer[256];
    std::fill(std::begin(buffer), std::end(buffer), '\0');
    const DWORD n = GetPrivateProfileStringA(arg(2).c_str(), arg(3).c_str(), "", buffer,
                                             sizeof buffer, arg(1).c_str());
    return std::to_string(n) + " " + Hex(buffer);
  }
  if (verb == "write") {
    return WritePrivateProfileStringA(arg(2).c_str(), arg(3).c_str(), arg(4).c_str(),
                                      arg(1).c_str())
               ? "1"
               : "0";
  }
  if (verb == "mci") {
    char reply[512] = "untouched";
    const std::uint32_t code = system.MciSendString(arg(1), reply, sizeof reply);
    return std::to_string(code) + " " + Hex(reply);
  }
  if (verb == "errtext") {
    char text[256];
    const bool found = system.MciGetErrorString(std::stoul(words.at(1)), text, sizeof text);
    return std::string(found ? "1 " : "0 ") + Hex(text);
  }
  if (verb == "query") return Hex(BGM_MciQuery(arg(1)));
  if (verb == "file") BGM_File = arg(1);
  if (verb == "devs") return std::to_string(system.WaveOutGetNumDevs());
  if (verb == "wavplay") BGM_WAVPlay();
  if (verb == "wavstop") BGM_WAVStop();
  if (verb == "mp3open") BGM_MP3Open();
  if (verb == "mp3keep") BGM_MP3Keep();
  if (verb == "mp3close") BGM_MP3Close();
  if (verb == "mp3playing") return BGM_MP3IsPlaying() ? "1" : "0";
  if (verb == "cdopen") BGM_CDOpen();
  if (verb == "cdclose") BGM_CDClose();
  if (verb == "cdpoll") {
    BGM_CDPoll();
    return BGM_CDPollOn ? "1" : "0";
  }
  return "ok";
}

}  // namespace

int main() {
  std::unique_ptr<orvane::platform::Multimedia> system = orvane::platform::CreateSystemMultimedia();
  orvane::BGM_UseMultimedia(*system);
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    if (words.empty()) continue;
    std::printf("%s\n", Answer(words, *system).c_str());
    std::fflush(stdout);
  }
  return 0;
}
