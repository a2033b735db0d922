#include "base/safe_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/text.h"

namespace tk410 {

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

FileRead FromOpenError(int error, FileLinks links) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return FileRead::kMissing;
    case ELOOP:  // the link refused by O_NOFOLLOW, or a loop of links
      return links == FileLinks::kRefuse ? FileRead::kNotRegular : FileRead::kMissing;
    case ENXIO:   // a socket
    case ENODEV:  // a device without a driver
      return FileRead::kNotRegular;
    default:
      return FileRead::kReadError;
  }
}

}  // namespace

FileRead ReadRegularFile(const std::string& path, size_t max_bytes, FileLinks links,
                         std::string* bytes, struct stat* info) {
  bytes->clear();
  if (path.empty()) return FileRead::kMissing;
  // A look at the name first keeps devices from being opened at all in the
  // ordinary case (opening some has effects); the descriptor decides below.
  struct stat st {};
  const int looked = links == FileLinks::kFollow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
  if (looked != 0) return FromOpenError(errno, links);
  if (!S_ISREG(st.st_mode)) return FileRead::kNotRegular;

  int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
  if (links == FileLinks::kRefuse) flags |= O_NOFOLLOW;
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return FromOpenError(errno, links);
  const Descriptor file(fd);
  if (::fstat(fd, &st) != 0) return FileRead::kReadError;
  if (!S_ISREG(st.st_mode)) return FileRead::kNotRegular;
  if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > max_bytes) return FileRead::kTooLarge;
  if (info) *info = st;

  // Files of /proc and some file systems say 0 and still have content: read
  // to the end, but never past the bound.
  bytes->reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const size_t room = max_bytes - bytes->size();
    const size_t want = room < sizeof buffer ? room + 1 : sizeof buffer;  // +1 sees growth
    const ssize_t got = ::read(fd, buffer, want);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      bytes->clear();
      return FileRead::kReadError;
    }
    if (static_cast<size_t>(got) > room) {
      bytes->clear();
      bytes->shrink_to_fit();
      return FileRead::kTooLarge;
    }
    bytes->append(buffer, static_cast<size_t>(got));
  }
  return FileRead::kOk;
}

FileRead ReadRegularFile(const std::wstring& path, size_t max_bytes, FileLinks links,
                         std::string* bytes, struct stat* info) {
  return ReadRegularFile(ToUtf8(path), max_bytes, links, bytes, info);
}

const char* FileReadText(FileRead result) {
  switch (result) {
    case FileRead::kOk: return "read";
    case FileRead::kMissing: return "no such file";
    case FileRead::kNotRegular: return "not a regular file";
    case FileRead::kTooLarge: return "file too large";
    case FileRead::kReadError: return "cannot be read";
  }
  return "cannot be read";
}

}  // namespace tk410
