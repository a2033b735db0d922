// Placeholder bodies; the sync worker replaces this file.
#include "ui/device_main_dlg.h"

namespace tk410 {

void DeviceMainDlg::ThreadBody() { WorkerTurn(); }
void DeviceMainDlg::StartWorker() {}
void DeviceMainDlg::StopWorker() {
  StopThread(1000);
  JoinThread();
  tasks.Clear();
}
void DeviceMainDlg::WorkerTurn() {}
void DeviceMainDlg::RunTask(int) {}
void DeviceMainDlg::ReadSequence(bool) {}
void DeviceMainDlg::InitialSequence() {}

}  // namespace tk410
