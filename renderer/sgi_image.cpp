#include "renderer/sgi_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "renderer/pixel_memory.h"

namespace orvane::renderer {
namespace {

constexpr std::uint64_t kLargestByteCount = INT32_MAX;
// Read-ahead per channel: large enough that a picture's rows cost a few dozen reads.
constexpr std::size_t kWindowBytes = std::size_t{1} << 20;

bool littleEndianHost() {
  return std::endian::native == std::endian::little;
}

// Both byte counts that the reader allocates from must fit a signed 32-bit integer.
bool fitsSizeLimits(const ImageFile& f) {
  const std::uint64_t imageBytes = std::uint64_t{f.xsize} * f.ysize * 4;
  const std::uint64_t tableBytes = std::uint64_t{f.ysize} * f.zsize * 4;
  return imageBytes <= kLargestByteCount && tableBytes <= kLargestByteCount;
}

// Reads count bytes at offset; what the file does not hold is left as zeros.
std::size_t readAt(std::FILE* file, off_t offset, void* destination, std::size_t count) {
  if (count == 0 || fseeko(file, offset, SEEK_SET) != 0) return 0;
  return std::fread(destination, 1, count, file);
}

// The stream's length in bytes; 0 if it cannot be told.
std::size_t fileSize(std::FILE* stream) {
  if (fseeko(stream, 0, SEEK_END) != 0) return 0;
  const off_t end = ftello(stream);
  return end > 0 ? static_cast<std::size_t>(end) : 0;
}

template <typename T>
bool tryResize(std::vector<T>& buffer, std::size_t count) {
  try {
    buffer.assign(count, T{});
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Up to count bytes of the file at offset, through channel z's window; got says how many the
// file holds. Reads that carry on forward fill the whole window, so stored rows cost a read per
// megabyte; any other read takes exactly its bytes, so no file costs more than its rows.
const std::uint8_t* fetch(ImageFile& f, unsigned z, std::uint64_t offset, std::size_t count,
                          std::size_t& got) {
  got = 0;
  if (offset >= f.fileBytes) return nullptr;
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, f.fileBytes - offset));
  ReadWindow& w = f.windows[z % 4];
  const std::uint64_t end = w.base + w.filled;
  if (offset >= w.base && offset + count <= end) {
    got = count;
    return w.bytes.data() + (offset - w.base);
  }
  const bool forward = offset >= end && offset < end + kWindowBytes;
  const std::size_t want = forward
                               ? std::max(count, static_cast<std::size_t>(std::min<std::uint64_t>(
                                                     kWindowBytes, f.fileBytes - offset)))
                               : count;
  if (w.bytes.size() < want) {
    try {
      w.bytes.resize(want);
    } catch (const std::bad_alloc&) {
      w.filled = 0;
      return nullptr;
    }
  }
  w.base = offset;
  w.filled = readAt(f.file, static_cast<off_t>(offset), w.bytes.data(), want);
  got = std::min(count, w.filled);
  return w.bytes.data();
}

// The errno that stands for a file that is not a regular file.
int notAFileError(mode_t mode) {
  if (S_ISDIR(mode)) return EISDIR;
  if (S_ISFIFO(mode) || S_ISSOCK(mode)) return ESPIPE;
  return ENODEV;
}

}  // namespace

void FreePixels::operator()(std::uint8_t* pixels) const {
  freePixels(pixels);
}

bool ImageFile::holdsItsData() const {
  const std::uint64_t channels = std::max<std::uint64_t>(zsize, 1);
  const std::uint64_t needed =
      runLengthEncoded() ? std::uint64_t{ysize} * channels * 8 : std::uint64_t{xsize} * ysize;
  return fileBytes >= kSgiHeaderSize + needed;
}

void swapShorts(std::uint16_t* words, std::size_t count) {
  if (!littleEndianHost()) return;
  for (std::size_t i = 0; i < count; ++i)
    words[i] = static_cast<std::uint16_t>(std::rotl(words[i], 8));
}

void swapLongs(std::uint32_t* words, std::size_t count) {
  if (!littleEndianHost()) return;
  for (std::size_t i = 0; i < count; ++i) words[i] = __builtin_bswap32(words[i]);
}

OpenResult openImageStream(std::FILE* stream) {
  OpenResult result;
  std::unique_ptr<ImageFile> f(new (std::nothrow) ImageFile);
  if (!f) {
    result.error = ImageError::noMemoryForFile;
    return result;
  }
  f->file = stream;

  std::uint16_t header[6] = {};
  const std::size_t got = readAt(stream, 0, header, sizeof header);
  std::memset(reinterpret_cast<std::uint8_t*>(header) + got, 0, sizeof header - got);
  swapShorts(header, 6);
  f->magic = header[0];
  f->storageWord = header[1];
  f->dimension = header[2];
  f->xsize = header[3];
  f->ysize = header[4];
  f->zsize = header[5];

  if (!fitsSizeLimits(*f)) {
    result.error = ImageError::tooLarge;
    result.file = std::move(f);
    return result;
  }
  f->fileBytes = fileSize(stream);
  // Tables that the file cannot hold are not read: such a file is not decoded.
  if (f->runLengthEncoded() && f->holdsItsData()) {
    const std::size_t entries = std::size_t{f->ysize} * f->zsize;
    if (!tryResize(f->rowStart, entries) || !tryResize(f->rowLength, entries)) {
      result.error = ImageError::noMemoryForFile;
      return result;
    }
    readAt(stream, kSgiHeaderSize, f->rowStart.data(), entries * 4);
    readAt(stream, static_cast<off_t>(kSgiHeaderSize + entries * 4), f->rowLength.data(),
           entries * 4);
    swapLongs(f->rowStart.data(), entries);
    swapLongs(f->rowLength.data(), entries);
  }
  result.file = std::move(f);
  return result;
}

OpenResult openImageFile(const char* path) {
  OpenResult failed;
  failed.error = ImageError::cannotOpen;
  // Opened without blocking, so that a FIFO with no writer cannot hold the renderer up.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    // Windows' C library refuses to open a folder at all ("Permission denied"); it is named as
    // a folder there too.
    const int openError = errno;
    struct stat info {};
    failed.osError = stat(path, &info) == 0 && S_ISDIR(info.st_mode) ? EISDIR : openError;
    return failed;
  }
  struct stat info {};
  const bool statted = fstat(fd, &info) == 0;
  std::FILE* stream = statted && S_ISREG(info.st_mode) ? fdopen(fd, "rb") : nullptr;
  if (stream == nullptr) {
    failed.osError = statted && !S_ISREG(info.st_mode) ? notAFileError(info.st_mode) : errno;
    close(fd);
    return failed;
  }
  OpenResult result = openImageStream(stream);
  if (result.file) {
    result.file->ownsFile = true;
  } else {
    std::fclose(stream);
  }
  return result;
}

void closeImageFile(std::unique_ptr<ImageFile> file) {
  if (file && file->ownsFile && file->file != nullptr) std::fclose(file->file);
}

void decodeRleRow(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* destination,
                  std::size_t width) {
  std::size_t in = 0;
  std::size_t out = 0;
  while (in < packedSize && out < width) {
    const std::uint8_t control = packed[in++];
    const std::size_t count = control & 0x7F;
    if (count == 0) break;
    const std::size_t room = width - out;
    if (control & 0x80) {
      const std::size_t take = std::min({count, packedSize - in, room});
      std::memcpy(destination + out, packed + in, take);
      in += take;
      out += take;
      if (take < count) break;  // the data or the row ran out inside the packet
    } else {
      if (in == packedSize) break;
      const std::size_t take = std::min(count, room);
      std::memset(destination + out, packed[in++], take);
      out += take;
    }
  }
  std::memset(destination + out, 0, width - out);
}

namespace {

// Row y of channel z: a pointer to its xsize bytes, either straight into the channel's window
// (a verbatim row the file holds whole) or into scratch, where it is decoded or completed.
const std::uint8_t* imageRow(ImageFile& file, std::uint8_t* scratch, unsigned y, unsigned z) {
  const std::size_t width = file.xsize;
  const std::size_t index = y + std::size_t{z} * file.ysize;
  std::size_t got = 0;
  if (file.runLengthEncoded()) {
    if (index >= file.rowStart.size() || index >= file.rowLength.size()) {
      // No table entry (zsize 0, or a file that does not hold its tables): a row of zeros.
      std::memset(scratch, 0, width);
      return scratch;
    }
    const std::size_t length =
        std::min<std::size_t>(file.rowLength[index], file.compressedRowLimit());
    const std::uint8_t* packed = fetch(file, z, file.rowStart[index], length, got);
    decodeRleRow(packed, got, scratch, width);
    return scratch;
  }
  const std::uint64_t offset = kSgiHeaderSize + std::uint64_t{width} * index;
  const std::uint8_t* row = fetch(file, z, offset, width, got);
  if (got == width) return row;
  if (got > 0) std::memcpy(scratch, row, got);
  std::memset(scratch + got, 0, width - got);
  return scratch;
}

}  // namespace

void readImageRow(ImageFile& file, std::uint8_t* destination, unsigned y, unsigned z) {
  const std::uint8_t* row = imageRow(file, destination, y, z);
  if (row != destination) std::memcpy(destination, row, file.xsize);
}

void expandGrey(std::uint8_t* out, const std::uint8_t* grey, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i, out += 4) {
    out[0] = out[1] = out[2] = grey[i];
    out[3] = 255;
  }
}

void expandGreyAlpha(std::uint8_t* out, const std::uint8_t* grey, const std::uint8_t* alpha,
                     std::size_t count) {
  for (std::size_t i = 0; i < count; ++i, out += 4) {
    out[0] = out[1] = out[2] = grey[i];
    out[3] = alpha[i];
  }
}

void expandRgb(std::uint8_t* out, const std::uint8_t* red, const std::uint8_t* green,
               const std::uint8_t* blue, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i, out += 4) {
    out[0] = red[i];
    out[1] = green[i];
    out[2] = blue[i];
    out[3] = 255;
  }
}

void expandRgba(std::uint8_t* out, const std::uint8_t* red, const std::uint8_t* green,
                const std::uint8_t* blue, const std::uint8_t* alpha, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i, out += 4) {
    out[0] = red[i];
    out[1] = green[i];
    out[2] = blue[i];
    out[3] = alpha[i];
  }
}

TextureImage loadTextureImage(ImageFile& file, const SizeCheck& accepts) {
  TextureImage image;
  image.width = file.xsize;
  image.height = file.ysize;
  image.channels = file.zsize;
  if (!fitsSizeLimits(file)) {
    image.error = ImageError::tooLarge;
    return image;
  }
  const std::size_t width = file.xsize;
  const std::size_t rowBytes = width * 4;
  const std::size_t imageBytes = rowBytes * file.ysize;
  // An empty picture, one the file cannot hold or one the caller refuses: the tunnel is
  // drawn untextured, and a few bytes never make us allocate for the size they declare.
  if (imageBytes == 0 || !file.holdsItsData()) return image;
  if (accepts && !accepts(image.width, image.height)) return image;

  image.pixels.reset(allocatePixels(imageBytes));
  std::unique_ptr<std::uint8_t[]> rows(new (std::nothrow) std::uint8_t[width * 4]);
  if (!image.pixels || !rows) {
    image.pixels.reset();
    image.error = ImageError::noMemoryForImage;
    return image;
  }
  std::uint8_t* scratch[4];
  for (int c = 0; c < 4; ++c) scratch[c] = rows.get() + width * c;
  const auto row = [&](unsigned y, unsigned z) { return imageRow(file, scratch[z], y, z); };
  for (unsigned y = 0; y < file.ysize; ++y) {
    std::uint8_t* out = image.pixels.get() + rowBytes * y;
    if (file.zsize >= 4) {
      expandRgba(out, row(y, 0), row(y, 1), row(y, 2), row(y, 3), width);
    } else if (file.zsize == 3) {
      expandRgb(out, row(y, 0), row(y, 1), row(y, 2), width);
    } else if (file.zsize == 2) {
      expandGreyAlpha(out, row(y, 0), row(y, 1), width);
    } else {
      expandGrey(out, row(y, 0), width);
    }
  }
  return image;
}

TextureImage loadTextureImage(const char* path, const SizeCheck& accepts) {
  OpenResult opened = openImageFile(path);
  if (opened.error != ImageError::none) {
    TextureImage image;
    image.error = opened.error;
    image.osError = opened.osError;
    if (opened.file) {
      image.width = opened.file->xsize;
      image.height = opened.file->ysize;
      image.channels = opened.file->zsize;
    }
    closeImageFile(std::move(opened.file));
    return image;
  }
  TextureImage image = loadTextureImage(*opened.file, accepts);
  closeImageFile(std::move(opened.file));
  return image;
}

std::optional<int> reportLoadFailure(const TextureImage& image, const char* path) {
  switch (image.error) {
    case ImageError::none:
      return std::nullopt;
    case ImageError::cannotOpen:
      errno = image.osError;
      std::perror(path);
      return 1;
    case ImageError::tooLarge:
      std::fprintf(stderr, "%s: picture of %d x %d pixels in %d channels is too large to read\n",
                   path, image.width, image.height, image.channels);
      return 1;
    case ImageError::noMemoryForFile:
      return 1;
    case ImageError::noMemoryForImage:
      return 0;
  }
  return 1;
}

}  // namespace orvane::renderer
