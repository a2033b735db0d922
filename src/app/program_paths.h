#pragma once
// Where the program and the files that ship beside it (config.xml, language/,
// skin/) are. Both end with '/'.

#include <string>

namespace tk410 {

// The id of the installed desktop entry and icon (reverse DNS):
// share/applications/<id>.desktop, share/icons/hicolor/*/apps/<id>.*.
inline constexpr const char* kDesktopId = "io.github.tk410.Configurator";

// The folder of the running executable (from /proc/self/exe), with a trailing '/'.
std::wstring GetProgramDirectory();

// The folder that holds config.xml, language/ and skin/:
//  1. $TK410_DATA_DIR when set;
//  2. the program directory when config.xml lies there (build tree, portable use);
//  3. <program directory>/../share/tk410/ (installed under a prefix);
//  4. the install prefix's share/tk410/ chosen at build time;
//  5. the source tree's data/ folder (tests run from the build tree).
// The first candidate holding config.xml wins; when none does, the program
// directory is returned.
std::wstring ShippedDataDirectory();

// True when `path` (UTF-8 or wide) names an existing regular file / directory.
bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);

}  // namespace tk410
