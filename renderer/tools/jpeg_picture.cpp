#include "renderer/tools/jpeg_picture.h"

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <optional>

#include "renderer/tools/exif_orientation.h"
#include "renderer/tools/row_scaler.h"

namespace orvane::renderer {

namespace {

// What libjpeg may allocate for a whole-picture buffer, which only a progressive picture needs.
constexpr long kWholePictureBytes = 200L << 20;

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = "unknown error";
  int code = 0;
};

// The one owner of a libjpeg decompressor; its errors and warnings jump back to the setjmp.
class JpegReader {
 public:
  JpegReader() {
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onError;
    errors.manager.emit_message = onMessage;
  }
  ~JpegReader() { jpeg_destroy_decompress(&info); }
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  jpeg_decompress_struct info{};
  JpegErrors errors;

 private:
  static void stop(j_common_ptr common) {
    auto* errors = reinterpret_cast<JpegErrors*>(common->err);
    errors->code = errors->manager.msg_code;
    errors->manager.format_message(common, errors->message);
    std::longjmp(errors->jump, 1);
  }
  static void onError(j_common_ptr common) { stop(common); }
  // A warning (level -1) means damaged data that libjpeg would paper over: refused as well.
  static void onMessage(j_common_ptr common, int level) {
    if (level < 0) stop(common);
  }
};

// Turns CMYK (Adobe's, stored inverted) into RGB in place.
void cmykToRgb(std::uint8_t* row, std::size_t width, bool inverted) {
  for (std::size_t x = 0; x < width; ++x) {
    const std::uint8_t* p = row + 4 * x;
    const unsigned k = inverted ? p[3] : 255 - p[3];
    for (int c = 0; c < 3; ++c) {
      const unsigned ink = inverted ? p[c] : 255 - p[c];
      row[3 * x + c] = static_cast<std::uint8_t>((ink * k + 127) / 255);
    }
  }
}

// Everything the decoding holds, made before the setjmp so that a jump skips no destructor.
struct JpegJob {
  std::vector<std::uint8_t> row;
  std::optional<RowScaler> scaler;
  Picture stored;
};

}  // namespace

std::string decodeJpeg(std::FILE* file, const ChooseSize& choose, Picture& picture,
                       const PictureLimits& limits) {
  JpegReader reader;
  JpegJob job;
  jpeg_decompress_struct& info = reader.info;
  if (setjmp(reader.errors.jump) != 0) {
    if (reader.errors.code == JERR_NO_BACKING_STORE || reader.errors.code == JERR_OUT_OF_MEMORY)
      return "a progressive JPEG of " + std::to_string(info.image_width) + " x " +
             std::to_string(info.image_height) + " pixels needs more than " +
             std::to_string(kWholePictureBytes >> 20) +
             " MB to read; save it as a baseline JPEG or a PNG";
    return damagedError(reader.errors.message);
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kWholePictureBytes;
  jpeg_stdio_src(&info, file);
  jpeg_save_markers(&info, JPEG_APP0 + 1, 0xffff);
  jpeg_read_header(&info, TRUE);
  if (std::string refused = sizeError(info.image_width, info.image_height, limits);
      !refused.empty())
    return refused;

  int orientation = 1;
  for (jpeg_saved_marker_ptr m = info.marker_list; m != nullptr && orientation == 1; m = m->next)
    orientation = exifOrientation(m->data, m->data_length);
  const bool turned = swapsSides(orientation);
  const int width = static_cast<int>(info.image_width),
            height = static_cast<int>(info.image_height);
  int outWidth = 0, outHeight = 0;
  choose(turned ? height : width, turned ? width : height, outWidth, outHeight);
  job.stored.width = turned ? outHeight : outWidth;
  job.stored.height = turned ? outWidth : outHeight;

  // The smallest of libjpeg's eighths that still gives at least the size wanted.
  info.scale_denom = 8;
  for (info.scale_num = 1; info.scale_num < 8; ++info.scale_num) {
    const long num = static_cast<long>(info.scale_num);
    if ((width * num + 7) / 8 >= job.stored.width && (height * num + 7) / 8 >= job.stored.height)
      break;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);

  job.scaler.emplace(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                     job.stored.width, job.stored.height);
  job.row.resize(std::size_t{info.output_width} * info.output_components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {job.row.data()};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) return damagedError("no more rows");
    if (cmyk) cmykToRgb(job.row.data(), info.output_width, info.saw_Adobe_marker);
    job.scaler->addRow(job.row.data());
  }
  // The end, to learn that nothing was cut off after the last row.
  jpeg_finish_decompress(&info);

  job.stored.rgb = job.scaler->take();
  picture = orientPicture(job.stored, orientation);
  return "";
}

}  // namespace orvane::renderer
