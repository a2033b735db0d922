#include "platform/gio_library.h"

#ifdef TK410_HAVE_GIO

#include <dlfcn.h>

#include "base/trace.h"

namespace tk410 {

std::unique_ptr<GioLibrary> GioLibrary::Load() {
  auto gio = std::make_unique<GioLibrary>();
  gio->handle_ = ::dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  if (!gio->handle_) {
    Trace(kTraceInfo, "GIO not loaded: %s", ::dlerror());
    return nullptr;
  }
#define TK410_GIO_LOOKUP(name)                                                  \
  gio->name = reinterpret_cast<decltype(gio->name)>(::dlsym(gio->handle_, #name)); \
  if (!gio->name) {                                                             \
    Trace(kTraceInfo, "GIO lacks %s", #name);                                   \
    return nullptr;                                                             \
  }
  TK410_GIO_CALLS(TK410_GIO_LOOKUP)
#undef TK410_GIO_LOOKUP
  return gio;
}

GioLibrary::~GioLibrary() {
  // GIO stays in the process once loaded (it registers types that cannot
  // be unregistered); the reference is given back all the same.
  if (handle_) ::dlclose(handle_);
}

}  // namespace tk410

#endif  // TK410_HAVE_GIO
