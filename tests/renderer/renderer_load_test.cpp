// The real Orvane.dll under an Xvfb of the test's own, given pictures that it must not read:
// no regular file at the path, and files whose declared size is far beyond what they hold or
// what GL takes. Mesa's software GL, as under Xvfb here, takes at most 16384 pixels a side.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>

#include "tests/renderer/renderer_fixture.h"
#include "tests/support/child.h"

namespace orvane::renderer {
namespace {

using namespace std::chrono_literals;
using namespace orvane::testing;

class RendererLoadTest : public RendererFixture {
 protected:
  RendererLoadTest() : RendererFixture(1280, 1024) {}
  // True once the window covers the screen, which it does only after the picture is dealt
  // with (the screen is not the window's first size, 1024 × 768).
  bool fullScreen() {
    return RunShell("DISPLAY=" + xvfb_.display() +
                    " xdotool search --maxdepth 1 --name '^Orvane_VC$' getwindowgeometry 2>&1")
               .second.find("Geometry: 1280x1024") != std::string::npos;
  }
  // The most memory the running renderer has held, in MB.
  static long peakMegabytes(const Child& child) {
    std::ifstream status("/proc/" + std::to_string(child.pid()) + "/status");
    for (std::string line; std::getline(status, line);)
      if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6)) / 1024;
    return -1;
  }
  // Starts the renderer on bytes and gives its peak memory once it runs full screen.
  long peakFor(const std::string& bytes) {
    WriteBytes(picturePath_, bytes);
    auto renderer = startRenderer();
    EXPECT_TRUE(WaitFor([&] { return fullScreen() || !renderer->Running(); }, 30s));
    EXPECT_TRUE(renderer->Running()) << renderer->Stderr();
    const long peak = peakMegabytes(*renderer);
    EXPECT_EQ(renderer->Stderr(), "");
    return peak;
  }
};

// A 512-byte header: magic, storage, one byte per channel, dimension 3, the three sizes.
std::string header(unsigned storage, unsigned xsize, unsigned ysize, unsigned zsize) {
  std::string b(512, '\0');
  const unsigned words[] = {474, storage << 8 | 1, 3, xsize, ysize, zsize};
  for (int i = 0; i < 6; ++i) {
    b[2 * i] = static_cast<char>(words[i] >> 8);
    b[2 * i + 1] = static_cast<char>(words[i]);
  }
  return b;
}

void putLong(std::string& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

// A directory or a FIFO is a file that cannot be opened as a picture, like a missing one.
TEST_F(RendererLoadTest, NoRegularFileEndsWithOneAndTheCLibrarysReport) {
  std::filesystem::create_directory(picturePath_);
  auto directory = startRenderer();
  EXPECT_EQ(directory->Wait(10s), 1);
  EXPECT_EQ(directory->Stderr(), picturePath_ + ": Is a directory\n");

  std::filesystem::remove(picturePath_);
  ASSERT_EQ(mkfifo(picturePath_.c_str(), 0600), 0);
  auto fifo = startRenderer();
  const auto code = fifo->Wait(10s);
  if (!code) std::fclose(std::fopen(picturePath_.c_str(), "wb"));  // let it go on to its end
  EXPECT_EQ(code, 1) << "a FIFO without a writer held the renderer up";
  EXPECT_EQ(fifo->Stderr(), picturePath_ + ": Illegal seek\n");
}

// Sizes declared by a few bytes, or refused by GL, cost no memory: the tunnel runs untextured.
TEST_F(RendererLoadTest, PicturesThatCannotBeShownAreNotDecoded) {
  std::string small = header(0, 16, 16, 3);
  small.resize(512 + 16 * 16 * 3, '\x40');
  const long baseline = peakFor(small);
  ASSERT_GT(baseline, 0);

  // 16384 × 16384 is 1 GiB of pixels, which GL would take, but the file holds none of them.
  for (const unsigned storage : {0, 1})
    EXPECT_LT(peakFor(header(storage, 16384, 16384, 3)), baseline + 16) << storage;

  // 16385 × 8192 in one channel is complete in 66 kB, every row one run-length row; but GL
  // refuses a side above 16384, so 537 MB of pixels would be decoded for nothing.
  std::string wide = header(1, 16385, 8192, 1);
  wide.resize(512 + 8192 * 8);
  const std::uint32_t row = static_cast<std::uint32_t>(wide.size());
  for (unsigned x = 0; x < 16385; x += 127)
    wide += {static_cast<char>(std::min(127u, 16385 - x)), '\x80'};
  wide += '\0';
  for (std::size_t y = 0; y < 8192; ++y) {
    putLong(wide, 512 + y * 4, row);
    putLong(wide, 512 + (8192 + y) * 4, static_cast<std::uint32_t>(wide.size() - row));
  }
  EXPECT_LT(peakFor(wide), baseline + 16);
}

}  // namespace
}  // namespace orvane::renderer
