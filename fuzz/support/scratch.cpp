#include "support/scratch.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tk410::fuzz {

namespace {

std::string MakeScratch() {
  const char* tmp = std::getenv("TMPDIR");
  std::string base = tmp && *tmp ? tmp : "/dev/shm";
  if (access(base.c_str(), W_OK) != 0) base = "/tmp";
  std::string pattern = base + "/tk410-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    std::perror("tk410 fuzz: no scratch folder");
    std::abort();
  }
  const std::string dir = pattern + "/";
  for (const char* name : {"home", "config", "data", "cache", "runtime"}) {
    std::filesystem::create_directories(dir + name);
  }
  setenv("HOME", (dir + "home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (dir + "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (dir + "data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (dir + "cache").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (dir + "runtime").c_str(), 1);
  return dir;
}

struct Scratch {
  std::string dir = MakeScratch();
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
};

}  // namespace

const std::string& ScratchDir() {
  static const Scratch scratch;
  return scratch.dir;
}

std::string WriteScratchFile(const std::string& name, std::string_view bytes) {
  const std::string path = ScratchDir() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return out ? path : std::string();
}

}  // namespace tk410::fuzz
