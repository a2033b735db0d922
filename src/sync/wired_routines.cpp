// Placeholder bodies; the wired command set replaces this file.
#include "sync/wired_routines.h"

namespace tk410 {

bool WiredRoutines::ReadAll() { return true; }
void WiredRoutines::WriteSettings() {}
void WiredRoutines::WriteDpiStage() {}
void WiredRoutines::WriteReportRate() {}
void WiredRoutines::WriteLightMode() {}
void WiredRoutines::RestoreSequence() {}
void WiredRoutines::FirmwareVersionLabel() {}
void WiredRoutines::VersionLabels() {}
void WiredRoutines::KeyRead(int) {}
void WiredRoutines::KeyDownload() {}
void WiredRoutines::DefaultKeyWrite() {}
void WiredRoutines::MacroDownload() {}
void WiredRoutines::StatusPoll() {}

}  // namespace tk410
