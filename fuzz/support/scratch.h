#pragma once
// The fuzz programs' private folder: created on first use in $TMPDIR, else
// /dev/shm (files there cost no disk writes), removed when the program ends. HOME
// and the XDG folders are moved into it at the same time, so nothing a target
// runs can reach the user's own files.

#include <string>
#include <string_view>

namespace tk410::fuzz {

// The folder, with a trailing '/'.
const std::string& ScratchDir();
// Replaces ScratchDir() + name with `bytes` and returns its path; empty when
// the file could not be written.
std::string WriteScratchFile(const std::string& name, std::string_view bytes);

}  // namespace tk410::fuzz
