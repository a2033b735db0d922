#pragma once
// Per-user folders of the program: the data directory that holds the settings
// database folder, and the XDG configuration folder that holds the settings
// file and the autostart entry.

#include <string>
#include <string_view>

#include "base/safe_file.h"
#include "device/product.h"  // kProductName names the folders and the autostart entry

namespace tk410 {

// $HOME, or the password database's home folder when HOME is unset. No
// trailing '/'.
std::wstring HomeDirectory();

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config. No
// trailing '/'.
std::wstring XdgConfigHome();

// $XDG_CACHE_HOME when it is an absolute path, else $HOME/.cache. No
// trailing '/'.
std::wstring XdgCacheHome();

// The value of XDG_DOCUMENTS_DIR in the text of a user-dirs.dirs file, with a
// leading "$HOME" replaced by `home`; empty when the file names no documents
// folder or the value is neither absolute nor relative to $HOME.
std::wstring ParseUserDirsDocuments(std::string_view user_dirs_text,
                                    const std::wstring& home);

// The user's documents folder, no trailing '/': $XDG_DOCUMENTS_DIR when set,
// else the value in $XDG_CONFIG_HOME/user-dirs.dirs, else $HOME/Documents.
std::wstring DocumentsDirectory();

// The documents folder followed by "/TEVO TK410 MouseDbFiles/" (ends with '/').
std::wstring GetDataDirectory();

// Creates `path` with every missing parent folder. True when the folder
// exists afterwards (also when it existed before); false for an empty path or
// when a level cannot be created (for example a file of that name exists).
bool CreateDirectoryPath(const std::wstring& path);

// Reads a whole regular file into `bytes` (see ReadRegularFile); false, with
// `bytes` empty, when it is missing, not a regular file, larger than
// `max_bytes` or unreadable.
bool ReadFileBytes(const std::wstring& path, std::string& bytes,
                   size_t max_bytes = 8u << 20, FileLinks links = FileLinks::kFollow);

}  // namespace tk410
