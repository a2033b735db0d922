// PLACEHOLDER bodies: the Nordic family work replaces this file.
#include "sync/nordic_routines.h"

namespace tk410 {

void NordicRoutines::ConnectionSequence(bool) {}
void NordicRoutines::InitialConnection() {}
void NordicRoutines::SelectNordicProfile() {}
void NordicRoutines::CommitNordic() {}
void NordicRoutines::MacroDownload() {}
void NordicRoutines::KeyDownload() {}
void NordicRoutines::RestoreNordicButton() {}
void NordicRoutines::WriteNordicSettings() {}
void NordicRoutines::WriteNordicReportRate() {}
void NordicRoutines::RestoreNordicDefaults() {}
void NordicRoutines::FactoryResetNordic() {}
void NordicRoutines::DownloadNordicProfile() {}
void NordicRoutines::StatusPoll() {}

}  // namespace tk410
