// Drives the real multimedia system through its failure paths with the default output;
// the test that runs it checks that nothing was printed.
#include <cstdio>
#include <string>

#include "platform/mci/multimedia.h"
#include "tests/mci/media_files.h"

int main() {
  orvane::testing::TempFolder folder;
  const std::string wav = folder / "a.wav";
  orvane::testing::WriteWav(wav, 0.2, 440);
  orvane::testing::WriteBytes(folder / "bad.mp3", std::string(4096, 0x5A));
  auto mm = orvane::platform::CreateSystemMultimedia();
  int failures = 0;
  auto send = [&](const std::string& command) {
    failures += mm->MciSendString(command, nullptr, 0) != 0;
  };
  send("open \"" + wav + "\" type MPEGVideo Alias MP3Play");
  send("play MP3Play");
  send("status MP3Play mode");
  send("stop MP3Play");
  send("close MP3Play");
  send("open \"" + folder / "bad.mp3" + "\" type MPEGVideo Alias b");
  send("open \"" + folder / "gone.mp3" + "\" type MPEGVideo Alias c");
  send("open cdaudio");
  send("status cdaudio current track");
  mm->WaveOutGetNumDevs();
  mm->PlaySound(wav.c_str(), orvane::platform::SND_ASYNC | orvane::platform::SND_LOOP);
  mm->PlaySound(nullptr, 0);
  return failures == 4 ? 0 : 1;  // the bad file, the missing one and the two CD commands
}
