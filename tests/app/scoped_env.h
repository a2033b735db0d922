#pragma once
// Sets (or unsets, with a null value) an environment variable for one scope
// and restores the old value afterwards.

#include <cstdlib>
#include <string>

namespace tk410 {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value) setenv(name, value, 1); else unsetenv(name);
  }
  ~ScopedEnv() {
    if (had_) setenv(name_, old_.c_str(), 1); else unsetenv(name_);
  }
 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

}  // namespace tk410
