#pragma once
// TrayPresence: the program's icon in the desktop's tray (Qt's
// QSystemTrayIcon: the XEmbed tray of X11 desktops or a StatusNotifier
// host) while per-program rules keep it running. Its tooltip shows the
// profile and the battery; its menu lists the profiles (the current one
// checked) and offers "open" and "quit"; a click on the icon opens the
// window. The actions run on the GUI thread, which is the window thread.

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <string>

#include "ui/background_presence.h"

namespace tk410 {

class TrayPresence : public QObject, public BackgroundPresence {
  Q_OBJECT

 public:
  struct Actions {
    std::function<void(int profile)> select_profile;
    std::function<void()> open;
    std::function<void()> quit;
    std::function<std::wstring(int text_id)> text;  // language texts of the menu
  };

  explicit TrayPresence(Actions actions);
  ~TrayPresence() override;

  bool Available() const override;
  // Any thread; applied on the GUI thread.
  void Update(const PresenceState& state) override;

 private:
  void Apply(const PresenceState& state);

  Actions actions_;
  // Made the first time the tray entry is shown: making one asks the
  // desktop's session bus for a tray host and waits for the answer, which
  // a start without rules has no reason to do.
  std::unique_ptr<QSystemTrayIcon> icon_;
  QMenu menu_;
};

}  // namespace tk410
