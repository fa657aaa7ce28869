#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orvane {

// Called with the temporary file's path once it holds every byte and just before the rename;
// returning false abandons the write (the temporary file is removed). Tests use it to stand
// for a crash or a failure at the worst moment.
using BeforeRename = std::function<bool(const std::string& temporaryPath)>;

// Replaces the file at path with bytes, atomically: the bytes go to a temporary file in the
// same folder, are flushed to disk, and the temporary file is renamed over path. An existing
// file's permission bits are kept; a new file gets 0666 less the umask. On any failure the old
// file stays whole, no temporary file is left, and the result is false (on Linux errno then says
// why). A symbolic link at path is replaced by the new file, never followed.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         const BeforeRename& beforeRename = {});

// Copies from to to in the same way, reading from in bounded chunks, but without flushing to
// disk: the copy is a cache that a crash may lose, never one a reader sees half of. The copy
// gets mode 0600 unless to already exists, whose mode it keeps.
bool CopyFileAtomically(const std::string& from, const std::string& to,
                        const BeforeRename& beforeRename = {});

}  // namespace orvane
