#include "support/file_swapper.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

namespace tk410::testing {

FileSwapper::FileSwapper(std::filesystem::path path, const std::string& bytes)
    : path_(std::move(path)) {
  std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
  thread_ = std::thread([this] { Run(); });
}

FileSwapper::~FileSwapper() {
  stop_ = true;
  thread_.join();
}

void FileSwapper::Run() {
  const std::string target = path_.string();
  const std::string pipe = target + ".pipe";
  const std::string zero = target + ".zero";
  const std::string regular = target + ".regular";
  ::mkfifo(pipe.c_str(), 0600);
  ::symlink("/dev/zero", zero.c_str());
  // Each exchange swaps two names in one step, so the path never goes missing
  // and changes kind as often as the machine allows.
  auto exchange = [&](const std::string& other) {
    return ::renameat2(AT_FDCWD, other.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0;
  };
  // Where names cannot be exchanged, a new entry of each kind is renamed over
  // the path (the regular one as a second link to the same file).
  bool can_exchange = true;
  auto replace = [&](const std::string& kind) {
    const std::string staged = target + ".staged";
    ::unlink(staged.c_str());
    if (kind == regular) ::link(regular.c_str(), staged.c_str());
    if (kind == pipe) ::mkfifo(staged.c_str(), 0600);
    if (kind == zero) ::symlink("/dev/zero", staged.c_str());
    std::rename(staged.c_str(), target.c_str());
  };
  while (!stop_) {
    if (can_exchange) {
      can_exchange = exchange(pipe) && exchange(pipe) && exchange(zero) && exchange(zero);
      if (!can_exchange) ::link(target.c_str(), regular.c_str());
    } else {
      replace(pipe);
      replace(zero);
      replace(regular);
    }
    ++rounds_;
  }
  for (const std::string& name : {pipe, zero, regular}) ::unlink(name.c_str());
}

}  // namespace tk410::testing
