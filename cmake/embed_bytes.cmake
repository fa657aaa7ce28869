# Writes a C++ source that holds a file's bytes, run as
#   cmake -DINPUT=<file> -DOUTPUT=<source> -DFUNCTION=<qualified name> -P embed_bytes.cmake
# (see orvane_embed_bytes in Orvane.cmake).
# The function returns the bytes as std::span<const std::uint8_t>.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line keeps the generated file readable.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
string(REGEX MATCH "^(.*)::([^:]+)$" matched "${FUNCTION}")
set(namespace "${CMAKE_MATCH_1}")
set(name "${CMAKE_MATCH_2}")
file(WRITE "${OUTPUT}.tmp" "// Made from ${INPUT} by embed_bytes.cmake; do not edit.
#include <cstdint>
#include <span>

namespace ${namespace} {
namespace {
const std::uint8_t kBytes[${size}] = {
    ${bytes}
};
}  // namespace

std::span<const std::uint8_t> ${name}() {
  return kBytes;
}

}  // namespace ${namespace}
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
