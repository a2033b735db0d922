#pragma once
// Reading a whole file that a user, another program or another user may have
// put in place. The file is opened once, without blocking and without giving
// the descriptor to child programs; the open descriptor (not the name, which
// may have been swapped since) must be a regular file no larger than the
// caller's bound, and at most that bound is read. So a named pipe, a device
// such as /dev/zero, a folder or a file that keeps growing is refused at once
// and never read without end.
//
// Whether a symbolic link may stand at the path is the caller's choice per
// kind of file (see FileLinks); the target must still be a regular file.

#include <sys/stat.h>

#include <cstddef>
#include <string>

namespace tk410 {

enum class FileRead {
  kOk,
  kMissing,     // no such file (or a folder on the way is missing)
  kNotRegular,  // a pipe, device, socket, folder, or a refused link
  kTooLarge,    // larger than the bound, or grew past it while being read
  kReadError,   // no permission, or the read failed
};

enum class FileLinks {
  kFollow,  // a link at the path is followed (to a regular file)
  kRefuse,  // a link at the path is refused (the last name must be the file)
};

// Reads `path` (UTF-8) into `bytes`; on any result but kOk `bytes` is empty.
// When `info` is given it receives the status of the descriptor read.
FileRead ReadRegularFile(const std::string& path, size_t max_bytes, FileLinks links,
                         std::string* bytes, struct stat* info = nullptr);
FileRead ReadRegularFile(const std::wstring& path, size_t max_bytes, FileLinks links,
                         std::string* bytes, struct stat* info = nullptr);

// A short English phrase for traces and command-line messages
// ("not a regular file").
const char* FileReadText(FileRead result);

}  // namespace tk410
