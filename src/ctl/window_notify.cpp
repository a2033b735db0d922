#include "ctl/window_notify.h"

#include "app/instance_request.h"
#include "app/single_instance.h"
#include "base/text.h"
#include "device/product.h"

namespace tk410::ctl_tool {

bool NotifyRunningWindow(const std::string& line) {
  const std::wstring folder = RuntimeDirectory();
  if (folder.empty()) return false;
  const SingleInstance window(folder, kProductName);
  return SendInstanceRequest(ToUtf8(window.SocketPath()), line);
}

}  // namespace tk410::ctl_tool
