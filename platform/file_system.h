#pragma once

#include <string>

namespace orvane {

// Directory creation and file copy. Paths under the fixed Windows folder "C:\t_ovin" are
// mapped to the per-user data directory (common/data_directory.h); other paths are used as
// they are.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates the folder, private to the user. True when it exists afterwards; an existing
  // folder is no failure. The data directory gets its missing parents too, and the rule of
  // common/data_directory.h: false when that refuses it.
  virtual bool CreateDirectory(const std::string& path) = 0;
  // Copies from to to, replacing to. The copy is atomic: a temporary file beside to, then a
  // rename, so a reader never sees half a file; a symbolic link at to is replaced, never
  // followed. False (and to left as it was) on any failure, and when to lies in a data
  // directory that the rule refuses.
  virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
};

}  // namespace orvane
