#pragma once
// Replacing a file whole, for every file the program writes.
//
// The new content goes to a hidden temporary file in the target's folder, is
// flushed to disk (fsync) and renamed over the target; then the folder is
// flushed so that the rename itself survives a power cut. A reader, or a
// crash at any moment, finds the old file or the new one, never a mix, and a
// write that fails (disk full, folder not writable) leaves the old file as it
// was and removes the temporary one.
//
// Modes: a new file gets 0666 less the umask, as fopen would give it; a
// replaced file keeps its mode (and its owner and group where the process
// may set them). A file that fopen could not open for writing (read-only for
// this user) is refused as fopen would refuse it. A symbolic link is written
// through: its target is replaced and the link stays. A target that exists
// but is no regular file (a folder, a FIFO, a device) is refused.

#include <string>
#include <string_view>

namespace tk410 {

// `path` in UTF-8. True when the file holds `bytes` afterwards.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);
bool WriteFileAtomically(const std::wstring& path, std::string_view bytes);

}  // namespace tk410
