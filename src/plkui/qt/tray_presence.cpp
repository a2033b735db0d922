#include "plkui/qt/tray_presence.h"

#include <QActionGroup>

#include "plkui/qt/program_icon.h"

namespace tk410 {

namespace {

constexpr int kTextOpen = 1020;
constexpr int kTextQuit = 1021;
constexpr int kTextProfiles = 1023;

}  // namespace

TrayPresence::TrayPresence(Actions actions) : actions_(std::move(actions)) {}

TrayPresence::~TrayPresence() {
  if (icon_) icon_->hide();
}

bool TrayPresence::Available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayPresence::Update(const PresenceState& state) {
  QMetaObject::invokeMethod(this, [this, state] { Apply(state); }, Qt::QueuedConnection);
}

void TrayPresence::Apply(const PresenceState& state) {
  auto text = [this](int id) { return QString::fromStdWString(actions_.text ? actions_.text(id) : std::wstring()); };
  menu_.clear();
  QMenu* profiles = menu_.addMenu(text(kTextProfiles));
  auto* group = new QActionGroup(profiles);
  for (const PresenceState::Profile& profile : state.profiles) {
    QAction* action = profiles->addAction(QString::fromStdWString(profile.name));
    action->setCheckable(true);
    action->setChecked(profile.number == state.current_profile);
    group->addAction(action);
    const int number = profile.number;
    connect(action, &QAction::triggered, this, [this, number] {
      if (actions_.select_profile) actions_.select_profile(number);
    });
  }
  menu_.addSeparator();
  connect(menu_.addAction(text(kTextOpen)), &QAction::triggered, this, [this] {
    if (actions_.open) actions_.open();
  });
  connect(menu_.addAction(text(kTextQuit)), &QAction::triggered, this, [this] {
    if (actions_.quit) actions_.quit();
  });
  const bool shown = state.shown && Available();
  if (shown && !icon_) {
    icon_ = std::make_unique<QSystemTrayIcon>(PLKUI::qt::ProgramIcon());
    icon_->setContextMenu(&menu_);
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
      if (reason == QSystemTrayIcon::Trigger && actions_.open) actions_.open();
    });
  }
  if (!icon_) return;
  icon_->setToolTip(QString::fromStdWString(state.title));
  icon_->setVisible(shown);
}

}  // namespace tk410
