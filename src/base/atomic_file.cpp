#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "base/text.h"
#include "base/trace.h"

namespace tk410 {

namespace {

// Longest part of the target's name kept in the temporary name, so that the
// temporary name stays within NAME_MAX (255 bytes).
constexpr size_t kMaxStem = 200;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a write to `path` lands in: the target of a link, else `path`.
bool ResolveTarget(const std::string& path, std::string* target) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
    *target = path;
    return true;
  }
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (!resolved) return false;  // a dangling or looping link
  *target = resolved;
  std::free(resolved);
  return true;
}

// Creates "<folder>/.<name>.<random>.tmp" with O_EXCL, mode 0666 (the kernel
// applies the umask). Hidden, so a leftover after a crash is not taken for a
// file of the user's.
int CreateTemporary(const std::string& folder, const std::string& name, std::string* temp) {
  std::random_device random;
  const std::string stem = name.substr(0, kMaxStem);
  for (int attempt = 0; attempt < 64; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    *temp = folder + "/." + stem + "." + suffix + ".tmp";
    const int fd = ::open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// After the rename the new file is in place and readable, so a folder that
// cannot be flushed (some file systems do not support it) is traced, not
// reported as a failed write.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 || (::fsync(fd) != 0 && errno != EINVAL)) {
    Trace(kTraceError, "folder %s not flushed to disk: errno %d", folder.c_str(), errno);
  }
  if (fd >= 0) ::close(fd);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) return false;
  std::string target;
  if (!ResolveTarget(path, &target)) return false;

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return false;
  if (exists && !S_ISREG(old.st_mode)) return false;
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;

  const std::string folder = FolderOf(target);
  std::string temp;
  const int fd = CreateTemporary(folder, NameOf(target), &temp);
  if (fd < 0) return false;
  bool ok = true;
  if (exists) {
    // Owner first: a change of owner clears set-id bits that the mode restores.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
      (void)::fchown(fd, old.st_uid, old.st_gid);
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  }
  ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    const int error = errno;
    ::unlink(temp.c_str());
    Trace(kTraceError, "%s not written: errno %d", target.c_str(), error);
    return false;
  }
  SyncFolder(folder);
  return true;
}

bool WriteFileAtomically(const std::wstring& path, std::string_view bytes) {
  return WriteFileAtomically(ToUtf8(path), bytes);
}

}  // namespace tk410
