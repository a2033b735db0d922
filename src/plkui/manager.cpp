#include "plkui/manager.h"

#include <mutex>

#include "plkui/headless_runtime.h"

namespace PLKUI {

namespace {

struct ManagerState {
  std::mutex mutex;
  std::wstring font_name = L"Open Sans Semibold";
  Runtime* runtime = nullptr;
};

ManagerState& State() {
  static ManagerState state;
  return state;
}

Runtime* Installed() {
  std::lock_guard<std::mutex> lock(State().mutex);
  return State().runtime;
}

}  // namespace

void Manager::SetInstance(void*) {}

void Manager::SetFontName(const std::wstring& name) {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().font_name = name;
}

std::wstring Manager::GetFontName() {
  std::lock_guard<std::mutex> lock(State().mutex);
  return State().font_name;
}

void Manager::SetRuntime(Runtime* runtime) {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().runtime = runtime;
}

Runtime& Manager::GetRuntime() {
  if (Runtime* runtime = Installed()) return *runtime;
  static HeadlessRuntime fallback;
  return fallback;
}

ScopedRuntime::ScopedRuntime(Runtime& runtime) : previous_(Installed()) {
  Manager::SetRuntime(&runtime);
}

ScopedRuntime::~ScopedRuntime() { Manager::SetRuntime(previous_); }

}  // namespace PLKUI
