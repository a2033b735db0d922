#include "sync/nordic_routines.h"

namespace tk410 {

void NordicRoutines::ConnectionSequence(bool with_scan) {
  if (with_scan) {
    protocol_.NordicResync();
  } else {
    protocol_.NordicArrivalSync();
  }
}
void NordicRoutines::InitialConnection() { protocol_.NordicFirstSync(); }
void NordicRoutines::ReadAll() { protocol_.ReadNordicAll(); }
void NordicRoutines::SelectNordicProfile() { protocol_.SelectNordicProfile(); }
bool NordicRoutines::CommitNordic() { return protocol_.CommitNordic(); }
NordicMacroResult NordicRoutines::MacroDownload() { return protocol_.DownloadNordicMacros(); }
void NordicRoutines::KeyDownload() { protocol_.DownloadNordicKeys(); }
void NordicRoutines::RestoreNordicButton() { protocol_.RestoreNordicButton(); }
void NordicRoutines::WriteNordicSettings() { protocol_.WriteNordicSettings(); }
void NordicRoutines::WriteNordicReportRate() { protocol_.WriteNordicReportRate(); }
void NordicRoutines::RestoreNordicDefaults() { protocol_.RestoreNordicDefaults(); }
void NordicRoutines::FactoryResetNordic() { protocol_.FactoryResetNordic(); }
void NordicRoutines::DownloadNordicProfile() { protocol_.DownloadNordicProfile(); }
void NordicRoutines::StatusPoll() { protocol_.PollNordicStatus(false); }

}  // namespace tk410
