// tk410: the GUI program. Builds the Qt application, the Qt runtime of the UI
// library and the main window on the real services (settings database,
// device manager, language files, settings file), and runs the window
// modally until it closes.
//
// Options:
//   --simulate wired        run against the virtual wired mouse (shown in the title)
//   --screenshot FILE       after the window has settled, save a picture of it and quit
//   --screenshot-delay MS   how long to let it settle first (default 1500)
//   --device-type N         serve device type N (default 101, the product's own)
//   -hide                   start without showing the window (anywhere in the command line)
// A second start activates the running instance and says so on stderr; it ends
// with 0, or with 1 when the running instance did not answer or the start
// asked for what only a first start can do (app/second_start.h).
// A single-instance lock that cannot be taken for want of permission ends the
// start with 1 and says why (stderr, and a message box where a display is).

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/app_entry.h"
#include "app/app_paths.h"
#include "app/first_frame_trace.h"
#include "app/single_instance.h"
#include "app/lang_text.h"
#include "app/language_files.h"
#include "app/second_start.h"
#include "app/settings_store.h"
#include "base/clock.h"
#include "base/start_trace.h"
#include "base/text.h"
#include "base/trace.h"
#include "device/device_manager.h"
#include "device/product.h"
#include "platform/lazy_text_injector.h"
#include "platform/mouse_panel.h"
#include "platform/pointer_settings.h"
#include "platform/x11_text_injector.h"
#include "plkui/manager.h"
#include "platform/raw_input_hub.h"
#include "platform/x11_raw_input.h"
#include "platform/x11_active_window.h"
#include "plkui/qt/program_icon.h"
#include "plkui/qt/font_warmup.h"
#include "plkui/qt/tray_presence.h"
#include "ui/profile_follower.h"
#include "plkui/qt/qt_file_dialogs.h"
#include "plkui/qt/qt_raw_input.h"
#include "plkui/qt/qt_runtime.h"
#include "plkui/qt/window_host.h"
#include "sim/virtual_bus_device_changes.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_wired_mouse.h"
#include "store/config_database.h"
#include "ui/device_main_dlg.h"

namespace {

constexpr int kWindowWidth = 1121;
constexpr int kWindowHeight = 780;

struct Options {
  std::string simulate;
  std::string screenshot;
  int screenshot_delay_ms = 1500;
  bool ok = true;
};

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 < argc) {
        out = argv[++i];
      } else {
        std::fprintf(stderr, "tk410: %s needs a value\n", arg.c_str());
        o.ok = false;
      }
    };
    if (arg == "--simulate") {
      value(o.simulate);
    } else if (arg == "--screenshot") {
      value(o.screenshot);
    } else if (arg == "--screenshot-delay") {
      std::string ms;
      value(ms);
      o.screenshot_delay_ms = std::atoi(ms.c_str());
    }
    // Other arguments (-hide, Qt's own) are left to their owners.
  }
  if (!o.simulate.empty() && o.simulate != "wired") {
    std::fprintf(stderr, "tk410: --simulate %s is not available; use --simulate wired\n",
                 o.simulate.c_str());
    o.ok = false;
  }
  return o;
}

// The start cannot go on: says why on stderr and, unless the run is
// unattended (a screenshot, an offscreen platform), in a message box.
void ReportStartRefused(const std::string& reason, bool unattended) {
  using namespace tk410;
  std::fprintf(stderr, "tk410: cannot start: %s\n", reason.c_str());
  if (unattended || QGuiApplication::platformName() == QLatin1String("offscreen")) return;
  const SettingsStore settings(SettingsStore::DefaultDirectory());
  int language = settings.ReadLanguageSetting();
  if (language != kLanguageChinese && language != kLanguageEnglish)
    language = UserUiLanguageFromEnvironment();
  const LanguageFileTexts texts(LanguageFileTexts::DefaultDirectory(), language);
  const std::wstring message = FillLangText(texts.GetLangText(941), FromUtf8(reason));
  QMessageBox::critical(nullptr, QString::fromStdWString(kProductName),
                        QString::fromStdWString(message));
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tk410;
  TraceStartStep("main");
  const Options options = ParseOptions(argc, argv);
  if (!options.ok) return 2;

  const StartupOptions startup = ParseStartupOptions(argc, argv);
  for (const std::string& warning : startup.warnings) std::fprintf(stderr, "tk410: %s\n", warning.c_str());

  QApplication app(argc, argv);
  PLKUI::qt::ProgramIdentityLoader identity;
  TraceStartStep("application");
  FirstFrameTrace first_frame([&identity] { identity.Load(); });
  const RuntimeDirectoryChoice runtime_folder = FindRuntimeDirectory();
  for (const std::string& line : runtime_folder.rejected) std::fprintf(stderr, "tk410: %s\n", line.c_str());
  SingleInstance instance(runtime_folder.folder, kProductName);
  switch (instance.Acquire(ActivationTokenFromEnvironment())) {
    case SingleInstance::Role::kSecond: {
      std::vector<std::string> not_passed;
      if (!options.screenshot.empty()) not_passed.push_back("--screenshot");
      if (!options.simulate.empty()) not_passed.push_back("--simulate");
      if (startup.device_type != kProductDeviceType) not_passed.push_back("--device-type");
      const SecondStartReport report = DescribeSecondStart(instance.ActivationDelivered(), not_passed);
      std::fprintf(stderr, "tk410: %s\n", report.message.c_str());
      return report.exit_code;
    }
    case SingleInstance::Role::kRefused:
      ReportStartRefused(instance.error(), !options.screenshot.empty());
      return 1;
    case SingleInstance::Role::kFirst:
      break;
  }
  TraceStartStep("single instance");
  PLKUI::qt::QtRuntime runtime;
  PLKUI::ScopedRuntime scoped_runtime(runtime);
  // Created where CenterWindow puts it, so the window is not mapped in the
  // corner first and then moved.
  const PLKUI::MRect screen = runtime.ScreenRect();
  const int left = screen.left + (screen.Width() - kWindowWidth) / 2;
  const int top = screen.top + (screen.Height() - kWindowHeight) / 2;
  const PLKUI::MRect window_rect{left, top, left + kWindowWidth, top + kWindowHeight};
  // The window is on the screen, with its backdrop and no controls yet,
  // before the services and pages behind it are made: no value is shown
  // before it is known. The pages appear on it when they are built, saying
  // "Connecting to the mouse..." until the first read. Started hidden
  // (-hide), nothing is shown until something asks.
  if (!startup.start_hidden) {
    runtime.ShowStartWindow(window_rect, kProductName);
    TraceStartStep("start window shown");
  }
  // The font configuration loads beside the start's other work.
  PLKUI::qt::FontWarmup fonts;

  SettingsStore settings(SettingsStore::DefaultDirectory());
  const std::wstring data_directory = GetDataDirectory();
  const ShellStart shell = PrepareShell(settings, UserUiLanguageFromEnvironment(), data_directory);
  LanguageFileTexts texts(LanguageFileTexts::DefaultDirectory(), shell.language);
  if (!shell.data_folder_ready)
    std::fprintf(stderr, "tk410: cannot create the folder %s\n", ToUtf8(data_directory + L"db").c_str());
  TraceStartStep("settings and language texts");
  if (!startup.start_hidden) {
    // The backdrop needs no fonts: it is drawn while they load.
    runtime.DrawStartWindow();
    TraceStartStep("start window drawn");
  }
  const std::unique_ptr<PointerSettings> pointer = CreateSystemPointerSettings();
  SystemProcessLauncher launcher;
  // Typing needs an X connection of its own, opened the first time an emoji
  // button of the mouse asks for text.
  const std::string typing_unavailable = ToUtf8(texts.GetLangText(907));
  LazyTextInjector injector([] { return CreateSystemTextInjector(SystemClockInstance()); },
                            [typing_unavailable] {
                              std::fprintf(stderr, "tk410: %s\n", typing_unavailable.c_str());
                            });

  std::shared_ptr<VirtualHidBus> bus;
  if (options.simulate == "wired") {
    bus = std::make_shared<VirtualHidBus>(SystemClockInstance());
    bus->Attach(std::make_shared<VirtualWiredMouse>());
    DeviceManager::Instance().SetBackend(bus);
  }

  // Raw input for the macro recorder and key capture: XInput2 sees the whole
  // display; without it (Wayland, no extension) the events of our own windows.
  RawInputHub raw_input;
  X11RawInput global_input;
  PLKUI::qt::QtRawInput window_input;
  window_input.Start(raw_input);
  window_input.SetSuppressed(global_input.Start(raw_input));

  TraceStartStep("platform services");
  DeviceMainServices services;
  services.raw_input = &raw_input;
  services.db = &ConfigDatabase::Instance();
  services.devices = &DeviceManager::Instance();
  services.clock = &SystemClockInstance();
  services.texts = &texts;
  services.data_directory = data_directory;
  services.read_device_type = [&settings] { return settings.ReadDeviceTypeSetting(); };
  services.write_device_type = [&settings](int type) { settings.WriteDeviceTypeSetting(type); };
  services.product_device_type = startup.device_type;
  services.pointer = pointer.get();
  services.launcher = &launcher;
  services.injector = &injector;
  services.language_files = &texts;
  services.settings = &settings;
  services.config_home = XdgConfigHome();
  services.virtual_mouse = bus != nullptr;

  // Profiles that follow the program in front, and the tray icon that keeps
  // the program reachable while they do (both idle until a rule exists).
  X11ActiveWindow active_window(SystemClockInstance());
  services.active_window = &active_window;
  DeviceMainDlg* shown_window = nullptr;
  auto bring_forward = [&] {
    if (!shown_window) return;
    shown_window->ShowWindow(1);
    if (QWidget* host = runtime.HostOf(*shown_window)) {
      host->showNormal();
      host->raise();
      host->activateWindow();
    }
  };
  TrayPresence tray({[&](int profile) { if (shown_window) FollowProfile(*shown_window, profile); },
                     bring_forward,
                     [&] { if (shown_window) shown_window->EndProgram(); },
                     [&](int text_id) { return texts.GetLangText(text_id); }});
  services.presence = &tray;
  // The program ends through its own exits only: a tray menu that closes
  // while the window is hidden is no last window closing.
  app.setQuitOnLastWindowClosed(false);

  DeviceMainDlg window(services);
  shown_window = &window;
  PLKUI::QtFileDialogs file_dialogs;
  window.SetFileDialogs(&file_dialogs);
  // Hot-plug of the virtual mouse comes from its bus instead of udev.
  if (bus) window.SetDeviceChangeSource(std::make_unique<VirtualBusDeviceChanges>(*bus));
  fonts.Wait();  // the window's views are the first to lay out text
  TraceStartStep("fonts");
  // The frameless window draws its own title line; both say when the mouse is
  // virtual. Started hidden (-hide) it is made without WS_VISIBLE, so it is
  // neither mapped nor drawn until something asks for it.
  const uint32_t style = startup.start_hidden ? 0x86000000u : 0x96000000u;
  runtime.GiveStartWindowTo(window);
  if (!window.Create(nullptr, window.WindowTitleText(), style, 0, window_rect)) {
    std::fprintf(stderr, "tk410: the main window could not be created\n");
    return 1;
  }
  window.CenterWindow();
  TraceStartStep("window created and shown");

  if (!options.screenshot.empty()) {
    QTimer::singleShot(options.screenshot_delay_ms, &app, [&] {
      auto* host = runtime.HostOf(window);
      const bool saved = host && host->grab().save(QString::fromStdString(options.screenshot));
      std::fprintf(stderr, saved ? "tk410: screenshot saved to %s\n" : "tk410: could not save %s\n",
                   options.screenshot.c_str());
      window.EndProgram();
    });
  }
  // A later start asks this one to come forward, shown normally even when started hidden.
  instance.SetActivationHandler([&](const std::string& token) {
    if (!token.empty()) qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(token));
    Trace(kTraceInfo, "another start asked for the window: brought forward");
    bring_forward();
  });
  // tk410ctl tells of a profile it selected or rules it changed.
  instance.SetRequestHandler([&](const std::string& line) { HandleInstanceRequest(window, line); });
  window.ShowModal(startup.start_hidden ? 0 : 1);
  window.EndProgram();
  shown_window = nullptr;
  window.DestroyWindow();
  global_input.Stop();
  window_input.Stop();
  return 0;
}
