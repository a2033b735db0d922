#pragma once
// The GSettings calls of GIO, loaded from libgio-2.0 when pointer settings are
// first needed instead of linked into the program: linked, GIO and GObject
// (with libmount, libselinux, libffi and others behind them) were loaded and
// relocated at every start before main(), for settings most starts never
// touch. GLib itself stays linked (Qt's event loop runs on it). Built only
// where GIO's headers were found (TK410_HAVE_GIO).

#ifdef TK410_HAVE_GIO

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <memory>

namespace tk410 {

struct GioLibrary {
#define TK410_GIO_CALLS(X)                  \
  X(g_object_get)                           \
  X(g_object_unref)                         \
  X(g_memory_settings_backend_new)          \
  X(g_settings_schema_source_get_default)   \
  X(g_settings_schema_source_new_from_directory) \
  X(g_settings_schema_source_lookup)        \
  X(g_settings_schema_source_unref)         \
  X(g_settings_schema_get_key)              \
  X(g_settings_schema_has_key)              \
  X(g_settings_schema_unref)                \
  X(g_settings_schema_key_get_default_value) \
  X(g_settings_schema_key_get_value_type)   \
  X(g_settings_schema_key_range_check)      \
  X(g_settings_schema_key_unref)            \
  X(g_settings_new_full)                    \
  X(g_settings_sync)                        \
  X(g_settings_get_double)                  \
  X(g_settings_set_double)                  \
  X(g_settings_get_string)                  \
  X(g_settings_set_string)                  \
  X(g_settings_get_int)                     \
  X(g_settings_set_int)
#define TK410_GIO_MEMBER(name) decltype(&::name) name = nullptr;
  TK410_GIO_CALLS(TK410_GIO_MEMBER)
#undef TK410_GIO_MEMBER

  // Loads the library and every call; null (and a trace line) when the
  // library or one of its calls is missing.
  static std::unique_ptr<GioLibrary> Load();

  GioLibrary() = default;
  ~GioLibrary();
  GioLibrary(const GioLibrary&) = delete;
  GioLibrary& operator=(const GioLibrary&) = delete;

 private:
  void* handle_ = nullptr;
};

}  // namespace tk410

#else  // no GIO headers: nothing to load

namespace tk410 {
struct GioLibrary {};
}  // namespace tk410

#endif  // TK410_HAVE_GIO
