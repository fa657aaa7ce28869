#include "renderer/tools/png_picture.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <optional>

#include "renderer/tools/row_scaler.h"

namespace orvane::renderer {

namespace {

// The one owner of a libpng reader and its info; errors jump back to the reader's setjmp.
class PngReader {
 public:
  PngReader() {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, onError, onWarning);
    if (png != nullptr) info = png_create_info_struct(png);
  }
  ~PngReader() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  png_structp png = nullptr;
  png_infop info = nullptr;
  char message[256] = "unknown error";

 private:
  static void onError(png_structp png, png_const_charp text) {
    auto* self = static_cast<PngReader*>(png_get_error_ptr(png));
    std::snprintf(self->message, sizeof self->message, "%s", text);
    png_longjmp(png, 1);
  }
  // Warnings are about chunks the picture can do without (colour profiles, text).
  static void onWarning(png_structp, png_const_charp) {}
};

// Reads through stdio a bounded block at a time; a short read is an error, not zeros.
void readData(png_structp png, png_bytep data, png_size_t length) {
  auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
  if (std::fread(data, 1, length, file) != length)
    png_error(png, std::ferror(file) ? "read error" : "the file ends early");
}

// Lays a row of RGBA over black, in place, as RGB.
void overBlack(std::uint8_t* row, std::size_t width) {
  for (std::size_t x = 0; x < width; ++x) {
    const unsigned a = row[4 * x + 3];
    for (int c = 0; c < 3; ++c)
      row[3 * x + c] = static_cast<std::uint8_t>((row[4 * x + c] * a + 127) / 255);
  }
}

// Everything the decoding holds, made before the setjmp so that a jump skips no destructor.
struct PngJob {
  std::vector<std::uint8_t> row, whole;
  std::vector<png_bytep> pointers;
  std::optional<RowScaler> scaler;
};

// The size in the header chunk, read before libpng reads the chunks that follow it, so that a
// picture too large is refused however its later chunks look.
std::string headerSizeError(std::FILE* file, const PictureLimits& limits) {
  std::uint8_t start[24];
  const bool read = std::fread(start, 1, sizeof start, file) == sizeof start;
  if (std::fseek(file, 0, SEEK_SET) != 0 || !read || std::memcmp(start + 12, "IHDR", 4) != 0)
    return "";  // libpng says what is wrong
  const auto u32 = [&](int at) {
    return std::uint64_t{start[at]} << 24 | start[at + 1] << 16 | start[at + 2] << 8 |
           start[at + 3];
  };
  return sizeError(u32(16), u32(20), limits);
}

}  // namespace

std::string decodePng(std::FILE* file, const ChooseSize& choose, Picture& picture,
                      const PictureLimits& limits) {
  if (std::string refused = headerSizeError(file, limits); !refused.empty()) return refused;
  PngReader reader;
  if (reader.info == nullptr) return "not enough memory to read it";
  PngJob job;
  if (setjmp(png_jmpbuf(reader.png)) != 0) return damagedError(reader.message);
  png_structp png = reader.png;
  png_set_read_fn(png, file, readData);
  // Any size the format allows gets as far as our own check, which names the limit.
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_read_info(png, reader.info);
  const png_uint_32 width = png_get_image_width(png, reader.info);
  const png_uint_32 height = png_get_image_height(png, reader.info);
  if (std::string refused = sizeError(width, height, limits); !refused.empty()) return refused;

  // Every kind of PNG as 8-bit RGB, with alpha where it has any.
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  const bool interlaced = png_get_interlace_type(png, reader.info) == PNG_INTERLACE_ADAM7;
  const bool whole = interlaced && std::uint64_t{width} * height <= limits.wholeInterlaced;
  if (whole) png_set_interlace_handling(png);
  png_read_update_info(png, reader.info);
  const bool alpha = png_get_channels(png, reader.info) == 4;
  const std::size_t step = alpha ? 4 : 3;

  int outWidth = 0, outHeight = 0;
  choose(static_cast<int>(width), static_cast<int>(height), outWidth, outHeight);
  // A large interlaced picture is read from its seventh pass: the odd rows, at full width.
  const png_uint_32 rows = interlaced && !whole ? PNG_PASS_ROWS(height, 6) : height;
  job.scaler.emplace(static_cast<int>(width), static_cast<int>(rows), outWidth, outHeight);
  job.row.resize(std::size_t{width} * step);

  if (whole) {
    job.whole.resize(std::size_t{width} * height * step);
    job.pointers.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
      job.pointers[y] = &job.whole[std::size_t{y} * width * step];
    png_read_image(png, job.pointers.data());
    for (png_bytep row : job.pointers) {
      if (alpha) overBlack(row, width);
      job.scaler->addRow(row);
    }
  } else {
    for (int pass = interlaced ? 0 : 6; pass < 7; ++pass) {
      const bool last = pass == 6;
      const png_uint_32 passRows = interlaced ? PNG_PASS_ROWS(height, pass) : height;
      if (interlaced && (passRows == 0 || PNG_PASS_COLS(width, pass) == 0)) continue;
      for (png_uint_32 y = 0; y < passRows; ++y) {
        png_read_row(png, job.row.data(), nullptr);
        if (!last) continue;
        if (alpha) overBlack(job.row.data(), width);
        job.scaler->addRow(job.row.data());
      }
    }
  }
  // The end, to learn that nothing was cut off after the last row.
  png_read_end(png, nullptr);

  picture.width = outWidth;
  picture.height = outHeight;
  picture.rgb = job.scaler->take();
  return "";
}

}  // namespace orvane::renderer
