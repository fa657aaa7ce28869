#pragma once

// Reader for the tunnel's picture: an SGI image file (512-byte big-endian header, then the
// channel planes, verbatim or run-length encoded), read into four bytes per pixel.
// Every read is bounded: a short or damaged file gives zeros where its data is missing, and a
// file too short to hold its row tables or one channel plane is not decoded at all.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane::renderer {

inline constexpr long kSgiHeaderSize = 512;

enum class ImageError {
  none,
  cannotOpen,        // fopen failed or the path is no regular file; osError holds the errno
  noMemoryForFile,   // the record, the compressed-row buffer or a row table
  noMemoryForImage,  // the output or a row buffer
  tooLarge,          // a byte count does not fit a signed 32-bit integer
};

// Bytes of the file read ahead for one channel, so that rows stored one after another cost
// one read for many rows rather than a seek and a read each.
struct ReadWindow {
  std::vector<std::uint8_t> bytes;
  std::uint64_t base = 0;  // file offset of bytes[0]
  std::size_t filled = 0;  // bytes[0, filled) hold file data
};

// An open image file: the header words in host order, the file and its length, the read-ahead
// windows and, for run-length encoded files that hold them, the row start and length tables
// (rows without both entries read as zeros).
struct ImageFile {
  std::uint16_t magic = 0;
  std::uint16_t storageWord = 0;  // storage byte (high) and bytes per channel (low)
  std::uint16_t dimension = 0;
  std::uint16_t xsize = 0;
  std::uint16_t ysize = 0;
  std::uint16_t zsize = 0;
  std::FILE* file = nullptr;
  bool ownsFile = false;
  std::uint64_t fileBytes = 0;
  ReadWindow windows[4];  // one per channel read, allocated as rows are read
  std::vector<std::uint32_t> rowStart;
  std::vector<std::uint32_t> rowLength;

  bool runLengthEncoded() const { return (storageWord >> 8) == 1; }
  // The longest compressed row that is read; a longer stored length is clipped to it.
  std::size_t compressedRowLimit() const { return std::size_t{256} * xsize; }
  // Whether the file is long enough for its row tables (run-length encoded) or for one whole
  // channel plane (verbatim); channel 0 is read even when zsize is 0.
  bool holdsItsData() const;
};

struct OpenResult {
  std::unique_ptr<ImageFile> file;  // null on error
  ImageError error = ImageError::none;
  int osError = 0;
};

// Opens path for reading and reads the header and tables. Anything but a regular file is
// refused without blocking: a directory with EISDIR, a FIFO or socket with ESPIPE, a device
// with ENODEV.
OpenResult openImageFile(const char* path);
// The same for a stream that is already open; the caller keeps ownership of it.
OpenResult openImageStream(std::FILE* stream);

// Fills destination with the xsize bytes of row y of channel z.
void readImageRow(ImageFile& file, std::uint8_t* destination, unsigned y, unsigned z);

// Closes the file (if the record owns it) and frees the record with its buffers.
void closeImageFile(std::unique_ptr<ImageFile> file);

// Decodes one run-length encoded row of packed data into exactly width bytes: packets stop at
// a count of 0, at the end of the data or at width; whatever is not decoded is zero.
void decodeRleRow(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* destination,
                  std::size_t width);

void expandGrey(std::uint8_t* out, const std::uint8_t* grey, std::size_t count);
void expandGreyAlpha(std::uint8_t* out, const std::uint8_t* grey, const std::uint8_t* alpha,
                     std::size_t count);
void expandRgb(std::uint8_t* out, const std::uint8_t* red, const std::uint8_t* green,
               const std::uint8_t* blue, std::size_t count);
void expandRgba(std::uint8_t* out, const std::uint8_t* red, const std::uint8_t* green,
                const std::uint8_t* blue, const std::uint8_t* alpha, std::size_t count);

// Big-endian words to host order, in place; a big-endian host leaves them alone.
void swapShorts(std::uint16_t* words, std::size_t count);
void swapLongs(std::uint32_t* words, std::size_t count);

struct FreePixels {
  void operator()(std::uint8_t* pixels) const;
};

// The decoded picture: width × height pixels of R, G, B, A, rows in file order.
struct TextureImage {
  // Null on error, for an empty picture and for one left undecoded.
  std::unique_ptr<std::uint8_t[], FreePixels> pixels;
  int width = 0;
  int height = 0;
  int channels = 0;
  ImageError error = ImageError::none;
  int osError = 0;
};

// Asked with the declared width and height before anything is decoded: false leaves the
// picture undecoded (null pixels, no error), as for a file that does not hold its data.
using SizeCheck = std::function<bool(int width, int height)>;

TextureImage loadTextureImage(const char* path, const SizeCheck& accepts = {});
TextureImage loadTextureImage(ImageFile& file, const SizeCheck& accepts = {});

// Writes the report for a failed load to standard error (perror for a file that cannot be
// opened) and gives the exit code the renderer ends with; nullopt when the load succeeded.
std::optional<int> reportLoadFailure(const TextureImage& image, const char* path);

}  // namespace orvane::renderer
