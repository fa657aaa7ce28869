#include "renderer/sgi_image.h"

#include <sys/types.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

namespace orvane::renderer {
namespace {

constexpr std::uint64_t kLargestByteCount = INT32_MAX;

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

std::size_t bytesFrom(std::size_t size, std::size_t offset) {
  return size > offset ? size - offset : 0;
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

}  // namespace

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
  if (!tryResize(f->rowBuffer, std::size_t{256} * f->xsize)) {
    result.error = ImageError::noMemoryForFile;
    return result;
  }
  if (f->runLengthEncoded()) {
    const std::size_t entries = std::size_t{f->ysize} * f->zsize;
    // Entries past the end of the file would all be zero, giving rows of zeros: keep only
    // those the file holds, so that a few bytes cannot make us allocate gigabytes.
    const std::size_t size = fileSize(stream);
    const std::size_t lengthsAt = kSgiHeaderSize + entries * 4;
    const std::size_t starts = std::min(entries, bytesFrom(size, kSgiHeaderSize) / 4);
    const std::size_t lengths = std::min(entries, bytesFrom(size, lengthsAt) / 4);
    if (!tryResize(f->rowStart, starts) || !tryResize(f->rowLength, lengths)) {
      result.error = ImageError::noMemoryForFile;
      return result;
    }
    readAt(stream, kSgiHeaderSize, f->rowStart.data(), starts * 4);
    readAt(stream, static_cast<off_t>(lengthsAt), f->rowLength.data(), lengths * 4);
    swapLongs(f->rowStart.data(), starts);
    swapLongs(f->rowLength.data(), lengths);
  }
  result.file = std::move(f);
  return result;
}

OpenResult openImageFile(const char* path) {
  std::FILE* stream = std::fopen(path, "rb");
  if (stream == nullptr) {
    OpenResult result;
    result.error = ImageError::cannotOpen;
    result.osError = errno;
    return result;
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

void readImageRow(ImageFile& file, std::uint8_t* destination, unsigned y, unsigned z) {
  const std::size_t width = file.xsize;
  const std::size_t index = y + std::size_t{z} * file.ysize;
  if (file.runLengthEncoded()) {
    if (index >= file.rowStart.size() || index >= file.rowLength.size()) {
      // No table entry (zsize 0, or tables cut short by the file's end): a row of zeros.
      std::memset(destination, 0, width);
      return;
    }
    // A stored length beyond the compressed-row buffer is clipped to it.
    const std::size_t length = std::min<std::size_t>(file.rowLength[index], file.rowBuffer.size());
    const std::size_t got = readAt(file.file, file.rowStart[index], file.rowBuffer.data(), length);
    decodeRleRow(file.rowBuffer.data(), got, destination, width);
  } else {
    const off_t offset = kSgiHeaderSize + static_cast<off_t>(width * index);
    const std::size_t got = readAt(file.file, offset, destination, width);
    std::memset(destination + got, 0, width - got);
  }
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

TextureImage loadTextureImage(ImageFile& file) {
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
  if (imageBytes == 0) return image;  // an empty picture: the tunnel is drawn untextured

  image.pixels.reset(new (std::nothrow) std::uint8_t[imageBytes]);
  std::unique_ptr<std::uint8_t[]> rows(new (std::nothrow) std::uint8_t[width * 4]);
  if (!image.pixels || !rows) {
    image.pixels.reset();
    image.error = ImageError::noMemoryForImage;
    return image;
  }
  std::uint8_t* red = rows.get();
  std::uint8_t* green = red + width;
  std::uint8_t* blue = green + width;
  std::uint8_t* alpha = blue + width;
  for (unsigned y = 0; y < file.ysize; ++y) {
    std::uint8_t* out = image.pixels.get() + rowBytes * y;
    if (file.zsize >= 4) {
      readImageRow(file, red, y, 0);
      readImageRow(file, green, y, 1);
      readImageRow(file, blue, y, 2);
      readImageRow(file, alpha, y, 3);
      expandRgba(out, red, green, blue, alpha, width);
    } else if (file.zsize == 3) {
      readImageRow(file, red, y, 0);
      readImageRow(file, green, y, 1);
      readImageRow(file, blue, y, 2);
      expandRgb(out, red, green, blue, width);
    } else if (file.zsize == 2) {
      readImageRow(file, red, y, 0);
      readImageRow(file, alpha, y, 1);
      expandGreyAlpha(out, red, alpha, width);
    } else {
      readImageRow(file, red, y, 0);
      expandGrey(out, red, width);
    }
  }
  return image;
}

TextureImage loadTextureImage(const char* path) {
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
  TextureImage image = loadTextureImage(*opened.file);
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
