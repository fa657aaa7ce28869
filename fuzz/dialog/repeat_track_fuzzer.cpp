// The repeat box's text, as the user types it, read into a track. Beyond not crashing: a
// track that is not 0 came from a number, and its own text reads back as itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/number_text.h"
#include "host/dialog/repeat_track.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::int16_t track = orvane::RepeatTrackFromText(text);
  if (track != 0 && !orvane::common::ParseNumberText(text)) std::abort();
  if (orvane::RepeatTrackFromText(orvane::FormatHashHash(track)) != track) std::abort();
  return 0;
}
