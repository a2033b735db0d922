#pragma once
// RawInputHub: where raw input meets the windows that listen to it. A window
// registers once (the registration stays until it unregisters, as a window
// keeps its raw input registration until it is destroyed); a source publishes
// each event from any thread; the hub keeps the event under a handle and
// posts the raw input message with that handle to every registered window.
// The window thread reads the event back by its handle. The hub keeps the
// most recent events only, so a handle of a long-gone event reads as nothing.
// Events published while no window listens are dropped.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "platform/raw_input.h"

namespace tk410 {

class RawInputHub {
 public:
  using Poster = std::function<void(intptr_t handle)>;
  static constexpr size_t kKeptEvents = 512;

  // Registers `owner` with the function that posts the raw input message to
  // it; registering an owner again replaces its poster. False for an empty poster.
  bool Register(const void* owner, Poster post);
  // After this returns, the owner's poster is not called any more.
  void Unregister(const void* owner);
  bool IsRegistered(const void* owner) const;
  bool HasListeners() const;

  // Keeps the event and posts it to every registered window; returns its
  // handle, 0 when nobody listens.
  intptr_t Publish(const RawInputEvent& event);
  // The event of a handle; false when it is unknown or no longer kept.
  bool GetRawInputData(intptr_t handle, RawInputEvent& event) const;

 private:
  mutable std::mutex mutex_;
  std::map<const void*, Poster> listeners_;
  std::map<intptr_t, RawInputEvent> events_;
  intptr_t next_ = 1;
};

// A source of raw events: started with the hub it publishes into.
class RawInputSource {
 public:
  virtual ~RawInputSource() = default;
  // False when the source is not available here (no display, no extension).
  virtual bool Start(RawInputHub& hub) = 0;
  virtual void Stop() = 0;
  // True when the source sees input meant for other programs' windows too.
  virtual bool IsGlobal() const = 0;
};

}  // namespace tk410
