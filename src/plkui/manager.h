#pragma once
// Manager: the library's process-wide settings — the font name of every text
// and the runtime new top-level windows use. The resource module of the
// original platform has no meaning here; SetInstance keeps the call and does
// nothing.

#include <string>

namespace PLKUI {

class Runtime;

class Manager {
 public:
  static void SetInstance(void* instance);
  static void SetFontName(const std::wstring& name);
  static std::wstring GetFontName();
  // The runtime for windows created without a parent. When none was set, a
  // headless runtime that runs no loops is used.
  static void SetRuntime(Runtime* runtime);
  static Runtime& GetRuntime();
};

// Installs a runtime for the lifetime of a scope and restores the previous one.
class ScopedRuntime {
 public:
  explicit ScopedRuntime(Runtime& runtime);
  ~ScopedRuntime();
  ScopedRuntime(const ScopedRuntime&) = delete;
  ScopedRuntime& operator=(const ScopedRuntime&) = delete;

 private:
  Runtime* previous_;
};

}  // namespace PLKUI
