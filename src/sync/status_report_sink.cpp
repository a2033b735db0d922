// Status reports met by an exchange instead of the status poll: the DPI
// button pressed while a request waited for its reply, a battery change
// queued before a write. They are handled as the poll would have handled
// them, so a stage the user chose on the mouse is not lost.

#include "sync/wired_routines.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

void DeviceMainDlg::OnStatusReport(ReportFamily family, const uint8_t* report, size_t length) {
  if (family == ReportFamily::kWired) {
    WiredRoutines(*this).ApplyStatusReport(report, length);
  } else {
    // Handling a Nordic link-up report reads the whole mouse again, which
    // must not happen inside the exchange that met it.
    nordic_state.KeepPending(report, length);
  }
}

}  // namespace tk410
