#pragma once

// Pictures built byte by byte for the renderer's tests, and a temporary folder to put them in.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace orvane::renderer::testing {

using Bytes = std::vector<std::uint8_t>;

inline void putShort(Bytes& b, std::size_t at, unsigned v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<std::uint8_t>(v >> 8);
  b[at + 1] = static_cast<std::uint8_t>(v);
}

inline void putLong(Bytes& b, std::size_t at, std::uint32_t v) {
  if (b.size() < at + 4) b.resize(at + 4);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// A 512-byte header: magic, storage, one byte per channel, dimension 3, the three sizes.
inline Bytes sgiHeader(int storage, unsigned xsize, unsigned ysize, unsigned zsize) {
  Bytes b(512, 0);
  putShort(b, 0, 474);
  b[2] = static_cast<std::uint8_t>(storage);
  b[3] = 1;
  putShort(b, 4, 3);
  putShort(b, 6, xsize);
  putShort(b, 8, ysize);
  putShort(b, 10, zsize);
  return b;
}

inline void writeBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline Bytes readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-r-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace orvane::renderer::testing
