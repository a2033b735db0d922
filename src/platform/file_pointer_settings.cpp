#include "platform/file_pointer_settings.h"

#include <mutex>

#include "app/app_paths.h"
#include "app/ini_file.h"
#include "base/atomic_file.h"
#include "base/safe_file.h"
#include "base/text.h"
#include "base/trace.h"

namespace tk410 {

namespace {

constexpr wchar_t kSection[] = L"Pointer";
constexpr wchar_t kSpeedKey[] = L"Speed";
constexpr wchar_t kAccelerationKey[] = L"Acceleration";
constexpr wchar_t kWheelLinesKey[] = L"WheelLines";  // -1: one screen per notch
constexpr wchar_t kDoubleClickKey[] = L"DoubleClickTime";
// The file holds four short lines; anything near this size is not ours.
constexpr size_t kMaxPointerFileBytes = 8u << 20;

// Read-modify-write of the file must not interleave within the process.
std::mutex& FileMutex() {
  static std::mutex mutex;
  return mutex;
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.rfind(L'/');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

std::wstring PointerSettingsFilePath() {
  return XdgConfigHome() + L"/" + kProductName + L"/pointer.ini";
}

FilePointerSettings::FilePointerSettings(std::wstring path) : path_(std::move(path)) {}

// pointer.ini is only ever written by renaming a new file over it, so a link
// in its place was not made by this program and is not read.
int FilePointerSettings::ReadValue(const wchar_t* key, int fallback) const {
  std::lock_guard<std::mutex> lock(FileMutex());
  const IniFile file = IniFile::Load(path_, FileLinks::kRefuse);
  if (!file.HasKey(kSection, key)) return fallback;
  const std::wstring text = file.GetString(kSection, key);
  if (text.empty()) return fallback;
  return WToI(text);
}

bool FilePointerSettings::WriteValue(const wchar_t* key, int value) {
  std::lock_guard<std::mutex> lock(FileMutex());
  std::string bytes;
  IniFile file;
  // The program replaces this file only by rename, so a link here is not the
  // program's and is neither read nor replaced.
  const FileRead read = ReadRegularFile(path_, kMaxPointerFileBytes, FileLinks::kRefuse, &bytes);
  if (read == FileRead::kOk) {
    file = IniFile::Parse(bytes);
  } else if (read != FileRead::kMissing) {
    // There is something the reader refuses (too large, not a file, not
    // readable): it is the user's, so it is left alone rather than replaced.
    Trace(kTraceError, "pointer settings not stored: %s: %s", ToUtf8(path_).c_str(),
          FileReadText(read));
    return false;
  }
  if (!file.SetString(kSection, key, FormatInt(value))) return true;
  const std::wstring folder = FolderOf(path_);
  if (!folder.empty()) CreateDirectoryPath(folder);
  return WriteFileAtomically(path_, file.Serialize());
}

int FilePointerSettings::GetMouseSpeed() {
  const int speed = ReadValue(kSpeedKey, kDefaultPointerSpeed);
  return speed >= 1 && speed <= 20 ? speed : kDefaultPointerSpeed;
}

void FilePointerSettings::SetMouseSpeed(int speed) { WriteValue(kSpeedKey, speed); }

int FilePointerSettings::GetAcceleration() {
  return ReadValue(kAccelerationKey, kDefaultAcceleration) != 0 ? 1 : 0;
}

void FilePointerSettings::SetAcceleration(int on) { WriteValue(kAccelerationKey, on ? 1 : 0); }

unsigned FilePointerSettings::GetWheelScrollLines() {
  const int lines = ReadValue(kWheelLinesKey, static_cast<int>(kDefaultWheelLines));
  if (lines < 0) return kWheelPageScroll;
  return lines == 0 ? kDefaultWheelLines : static_cast<unsigned>(lines);
}

void FilePointerSettings::SetWheelScrollLines(unsigned lines) {
  WriteValue(kWheelLinesKey, lines == kWheelPageScroll ? -1 : static_cast<int>(lines));
}

int FilePointerSettings::GetDoubleClickTime() {
  const int ms = ReadValue(kDoubleClickKey, kDefaultDoubleClickMs);
  return ms > 0 ? ms : kDefaultDoubleClickMs;
}

void FilePointerSettings::SetDoubleClickTime(int ms) { WriteValue(kDoubleClickKey, ms); }

}  // namespace tk410
