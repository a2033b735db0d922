#include "plkui/runtime.h"

namespace PLKUI {

bool Runtime::IsAlive(const MWindow* window) const {
  std::lock_guard<std::mutex> lock(live_mutex_);
  return live_.count(window) != 0;
}

void Runtime::Register(MWindow* window) {
  std::lock_guard<std::mutex> lock(live_mutex_);
  live_.insert(window);
}

void Runtime::Unregister(MWindow* window) {
  std::lock_guard<std::mutex> lock(live_mutex_);
  live_.erase(window);
}

}  // namespace PLKUI
