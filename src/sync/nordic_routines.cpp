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
bool NordicRoutines::ReadAll() {
  bool answered = false;
  // A receiver without a linked mouse answered, but nothing could be read.
  return protocol_.ReadNordicAll(&answered) && answered;
}
bool NordicRoutines::SelectNordicProfile() { return protocol_.SelectNordicProfile(); }
bool NordicRoutines::CommitNordic() { return protocol_.CommitNordic(); }
NordicMacroResult NordicRoutines::MacroDownload() { return protocol_.DownloadNordicMacros(); }
bool NordicRoutines::KeyDownload() { return protocol_.DownloadNordicKeys(); }
bool NordicRoutines::RestoreNordicButton() { return protocol_.RestoreNordicButton(); }
bool NordicRoutines::WriteNordicSettings() { return protocol_.WriteNordicSettings(); }
bool NordicRoutines::WriteNordicReportRate() { return protocol_.WriteNordicReportRate(); }
bool NordicRoutines::RestoreNordicDefaults() { return protocol_.RestoreNordicDefaults(); }
bool NordicRoutines::FactoryResetNordic() { return protocol_.FactoryResetNordic(); }
bool NordicRoutines::DownloadNordicProfile() { return protocol_.DownloadNordicProfile(); }
void NordicRoutines::StatusPoll() { protocol_.PollNordicStatus(false); }

}  // namespace tk410
