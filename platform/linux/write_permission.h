#pragma once

#include <string>

namespace orvane {

// True when this process may change the file at path (a link is followed) or, for a folder,
// make files in it. A file that no one may write (mode 0444) counts as read-only for root too,
// whom access(2) would let through, as Windows refuses a read-only file to everyone. False for
// a missing path, with errno saying why.
bool MayWrite(const std::string& path);

}  // namespace orvane
