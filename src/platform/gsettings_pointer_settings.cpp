#include "platform/gsettings_pointer_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>


#include "base/trace.h"
#include "platform/desktop_names.h"
#include "platform/file_pointer_settings.h"
#include "platform/gio_library.h"
#include "platform/lazy_pointer_settings.h"

namespace tk410 {

double SpeedToGnome(int speed) {
  speed = std::clamp(speed, 1, 20);
  if (speed <= 10) return (speed - 10) / 9.0;
  return (speed - 10) / 10.0;
}

int SpeedFromGnome(double value) {
  if (!std::isfinite(value)) return kDefaultPointerSpeed;
  value = std::clamp(value, -1.0, 1.0);
  const double speed = value <= 0 ? 10 + 9 * value : 10 + 10 * value;
  return std::clamp(static_cast<int>(std::lround(speed)), 1, 20);
}

bool SessionAppliesGnomeMouseKeys(const std::string& current_desktop) {
  for (const std::string& family : DesktopFamilies(current_desktop))
    if (family == "GNOME" || family == "PANTHEON") return true;
  return false;
}

bool GSettingsPointerSettings::DesktopUses(PointerValue value) {
  bool from_schema = false;
  switch (value) {
    case PointerValue::kSpeed: from_schema = has_speed_; break;
    case PointerValue::kAcceleration: from_schema = has_accel_; break;
    case PointerValue::kDoubleClick: from_schema = has_double_click_; break;
    case PointerValue::kWheelLines: break;
  }
  return from_schema ? session_applies_ : fallback_->DesktopUses(value);
}

#ifdef TK410_HAVE_GIO

namespace {

constexpr char kSpeedKey[] = "speed";
constexpr char kAccelKey[] = "accel-profile";
constexpr char kDoubleClickKey[] = "double-click";

GSettings* AsSettings(void* p) { return static_cast<GSettings*>(p); }

// The schema's default of `key` (the vendor's overrides included); null
// when the settings object carries no schema.
GVariant* SchemaDefault(const GioLibrary& gio, GSettings* settings, const char* key) {
  GSettingsSchema* schema = nullptr;
  gio.g_object_get(settings, "settings-schema", &schema, nullptr);
  if (!schema) return nullptr;
  GSettingsSchemaKey* schema_key = gio.g_settings_schema_get_key(schema, key);
  GVariant* value = gio.g_settings_schema_key_get_default_value(schema_key);
  gio.g_settings_schema_key_unref(schema_key);
  gio.g_settings_schema_unref(schema);
  return value;
}

// "flat" turns acceleration off; "adaptive" and "default" (the device's own
// profile, adaptive for mice) leave it on.
int AccelerationOfProfile(const char* profile) { return profile && std::strcmp(profile, "flat") == 0 ? 0 : 1; }

bool HasKeyOfType(const GioLibrary& gio, GSettingsSchema* schema, const char* key, const char* type) {
  if (!gio.g_settings_schema_has_key(schema, key)) return false;
  GSettingsSchemaKey* schema_key = gio.g_settings_schema_get_key(schema, key);
  const bool ok = g_variant_type_equal(gio.g_settings_schema_key_get_value_type(schema_key),
                                       G_VARIANT_TYPE(type));
  gio.g_settings_schema_key_unref(schema_key);
  return ok;
}

}  // namespace

GSettingsPointerSettings::GSettingsPointerSettings(std::unique_ptr<PointerSettings> fallback,
                                                   Options options)
    : fallback_(std::move(fallback)), session_applies_(options.session_applies), gio_(GioLibrary::Load()) {
  if (!gio_) return;  // without GIO every value is emulated
  const GioLibrary& gio = *gio_;
  GSettingsSchemaSource* source = gio.g_settings_schema_source_get_default();
  GSettingsSchemaSource* own_source = nullptr;
  if (!options.schema_dir.empty()) {
    GError* error = nullptr;
    own_source = gio.g_settings_schema_source_new_from_directory(options.schema_dir.c_str(), source,
                                                             FALSE, &error);
    if (error) {
      Trace(kTraceInfo, "schema folder not read: %s", error->message);
      g_error_free(error);
    }
    if (own_source) source = own_source;
  }
  GSettingsSchema* schema =
      source ? gio.g_settings_schema_source_lookup(source, options.schema_id.c_str(), TRUE) : nullptr;
  if (schema) {
    has_speed_ = HasKeyOfType(gio, schema, kSpeedKey, "d");
    has_accel_ = HasKeyOfType(gio, schema, kAccelKey, "s");
    has_double_click_ = HasKeyOfType(gio, schema, kDoubleClickKey, "i");
    GSettingsBackend* backend = options.memory_backend ? gio.g_memory_settings_backend_new() : nullptr;
    settings_ = gio.g_settings_new_full(schema, backend, nullptr);
    if (backend) gio.g_object_unref(backend);
    gio.g_settings_schema_unref(schema);
  } else {
    Trace(kTraceInfo, "no pointer settings schema %s; using the emulation",
          options.schema_id.c_str());
  }
  if (own_source) gio.g_settings_schema_source_unref(own_source);
}

GSettingsPointerSettings::~GSettingsPointerSettings() {
  if (settings_) {
    gio_->g_settings_sync();
    gio_->g_object_unref(AsSettings(settings_));
  }
}

int GSettingsPointerSettings::GetMouseSpeed() {
  if (!has_speed_) return fallback_->GetMouseSpeed();
  return SpeedFromGnome(gio_->g_settings_get_double(AsSettings(settings_), kSpeedKey));
}

void GSettingsPointerSettings::SetMouseSpeed(int speed) {
  if (!has_speed_) return fallback_->SetMouseSpeed(speed);
  gio_->g_settings_set_double(AsSettings(settings_), kSpeedKey, SpeedToGnome(speed));
  gio_->g_settings_sync();
}

int GSettingsPointerSettings::GetAcceleration() {
  if (!has_accel_) return fallback_->GetAcceleration();
  gchar* profile = gio_->g_settings_get_string(AsSettings(settings_), kAccelKey);
  const int on = AccelerationOfProfile(profile);
  g_free(profile);
  return on;
}

void GSettingsPointerSettings::SetAcceleration(int on) {
  if (!has_accel_) return fallback_->SetAcceleration(on);
  gio_->g_settings_set_string(AsSettings(settings_), kAccelKey, on ? "adaptive" : "flat");
  gio_->g_settings_sync();
}

unsigned GSettingsPointerSettings::GetWheelScrollLines() { return fallback_->GetWheelScrollLines(); }

void GSettingsPointerSettings::SetWheelScrollLines(unsigned lines) {
  fallback_->SetWheelScrollLines(lines);
}

int GSettingsPointerSettings::GetDoubleClickTime() {
  if (!has_double_click_) return fallback_->GetDoubleClickTime();
  return gio_->g_settings_get_int(AsSettings(settings_), kDoubleClickKey);
}

void GSettingsPointerSettings::SetDoubleClickTime(int ms) {
  if (!has_double_click_) return fallback_->SetDoubleClickTime(ms);
  if (ms <= 0) return;
  // Where the schema limits the value, GSettings refuses one out of range.
  GSettingsSchema* schema = nullptr;
  gio_->g_object_get(AsSettings(settings_), "settings-schema", &schema, nullptr);
  bool in_range = true;
  if (schema) {
    GSettingsSchemaKey* key = gio_->g_settings_schema_get_key(schema, kDoubleClickKey);
    GVariant* value = g_variant_new_int32(ms);
    g_variant_ref_sink(value);
    in_range = gio_->g_settings_schema_key_range_check(key, value);
    g_variant_unref(value);
    gio_->g_settings_schema_key_unref(key);
    gio_->g_settings_schema_unref(schema);
  }
  if (!in_range) return;
  gio_->g_settings_set_int(AsSettings(settings_), kDoubleClickKey, ms);
  gio_->g_settings_sync();
}

PointerValues GSettingsPointerSettings::Defaults() {
  PointerValues values = fallback_->Defaults();
  GSettings* settings = AsSettings(settings_);
  if (has_speed_) {
    if (GVariant* v = SchemaDefault(*gio_, settings, kSpeedKey)) {
      values.speed = SpeedFromGnome(g_variant_get_double(v));
      g_variant_unref(v);
    }
  }
  if (has_accel_) {
    if (GVariant* v = SchemaDefault(*gio_, settings, kAccelKey)) {
      values.acceleration = AccelerationOfProfile(g_variant_get_string(v, nullptr));
      g_variant_unref(v);
    }
  }
  if (has_double_click_) {
    if (GVariant* v = SchemaDefault(*gio_, settings, kDoubleClickKey)) {
      values.double_click_ms = g_variant_get_int32(v);
      g_variant_unref(v);
    }
  }
  return values;
}

#else  // no GIO: everything goes to the fallback

GSettingsPointerSettings::GSettingsPointerSettings(std::unique_ptr<PointerSettings> fallback,
                                                   Options options)
    : fallback_(std::move(fallback)), session_applies_(options.session_applies) {}
GSettingsPointerSettings::~GSettingsPointerSettings() = default;
int GSettingsPointerSettings::GetMouseSpeed() { return fallback_->GetMouseSpeed(); }
void GSettingsPointerSettings::SetMouseSpeed(int speed) { fallback_->SetMouseSpeed(speed); }
int GSettingsPointerSettings::GetAcceleration() { return fallback_->GetAcceleration(); }
void GSettingsPointerSettings::SetAcceleration(int on) { fallback_->SetAcceleration(on); }
unsigned GSettingsPointerSettings::GetWheelScrollLines() { return fallback_->GetWheelScrollLines(); }
void GSettingsPointerSettings::SetWheelScrollLines(unsigned lines) {
  fallback_->SetWheelScrollLines(lines);
}
int GSettingsPointerSettings::GetDoubleClickTime() { return fallback_->GetDoubleClickTime(); }
void GSettingsPointerSettings::SetDoubleClickTime(int ms) { fallback_->SetDoubleClickTime(ms); }
PointerValues GSettingsPointerSettings::Defaults() { return fallback_->Defaults(); }

#endif

std::unique_ptr<PointerSettings> CreateSystemPointerSettings() {
  GSettingsPointerSettings::Options options;
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  options.session_applies = SessionAppliesGnomeMouseKeys(desktop ? desktop : "");
  return std::make_unique<LazyPointerSettings>([options]() -> std::unique_ptr<PointerSettings> {
    return std::make_unique<GSettingsPointerSettings>(
        std::make_unique<FilePointerSettings>(PointerSettingsFilePath()), options);
  });
}

}  // namespace tk410
