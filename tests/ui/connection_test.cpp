// The device scan's connection state and the hot-plug filter, over the
// virtual bus's device-change notifications.

#include "device/scripted_device.h"
#include "sim/virtual_nordic_device.h"
#include "ui/window_fixture.h"

namespace tk410 {
namespace {

using testing::kNordicCatalog;
using testing::WindowFixture;

// Catalogue with the wired mode only.
const char* kWiredOnlyCatalog = R"(<config><device>
<mouse name="TK410" device_type="101" device_attr="TK410">
<mode value="0" desc="wired" vid="1209" pid="0001" hid_interface="VID_1209&amp;PID_0001"/>
</mouse></device></config>)";

class ConnectionTest : public WindowFixture {};

TEST_F(ConnectionTest, ArrivalOfAnyVendorCollectionQueuesWhileAModeIsMissing) {
  MakeWindow(kWiredOnlyCatalog);
  StartUp();
  window_->tasks.Clear();
  // Other ids, same vendor collection: the probe does not look at ids.
  VirtualWiredMouseOptions other;
  other.vendor_id = 0x1234;
  other.product_id = 0x5678;
  AttachMouse(other);
  Pump();
  EXPECT_EQ(Queue(), std::vector<int>{kTaskDeviceArrival});  // interface 1 only
  window_->tasks.Clear();

  // Every mode present: nothing.
  AttachMouse();
  window_->ScanAndUpdate();
  window_->tasks.Clear();
  AttachMouse(other);
  Pump();
  EXPECT_TRUE(Queue().empty());

  // A device without the vendor collection never queues an arrival.
  bus_->Attach(std::make_shared<testing::ScriptedDevice>(0x1209, 0x0001,
                                                         testing::kKeyboardDescriptor));
  Pump();
  EXPECT_TRUE(Queue().empty());
}

TEST_F(ConnectionTest, RemovalRules) {
  struct Case {
    const char* name;
    const wchar_t* path;
    bool online;
    bool queued;
  };
  // The wired mode is in the device list; the receiver mode is not.
  const Case cases[] = {
      {"matching mode present", L"HID\\VID_1209&PID_0001&MI_00\\HIDRAW1", true, true},
      {"lower case path", L"hid\\vid_1209&pid_0001&mi_00\\hidraw1", true, true},
      {"mode not in the list", L"HID\\VID_1209&PID_0002&MI_00\\HIDRAW1", true, false},
      {"other device", L"HID\\VID_046D&PID_C52B&MI_00\\HIDRAW1", true, false},
      {"while offline", L"HID\\VID_1209&PID_0001&MI_00\\HIDRAW1", false, false},
      {"bluetooth without KBD",
       L"HID\\{00001812-0000-1000-8000-00805F9B34FB}_VID_1209&PID_0001\\HIDRAW1", true, false},
      {"bluetooth keyboard",
       L"HID\\{00001812-0000-1000-8000-00805F9B34FB}_VID_1209&PID_0001_KBD\\HIDRAW1", true, true},
  };
  AttachMouse();
  MakeWindow();
  StartUp();
  for (const Case& c : cases) {
    window_->tasks.Clear();
    window_->online.store(c.online);
    window_->OnDeviceChange(c.path, false);
    EXPECT_EQ(Queue() == std::vector<int>{kTaskDeviceRemoval}, c.queued) << c.name;
  }
}

TEST_F(ConnectionTest, EmptyInterfaceTextMatchesEveryRemoval) {
  AttachMouse();
  MakeWindow(R"(<config><device><mouse device_type="101" device_attr="TK410">
<mode value="0" vid="1209" pid="0001" hid_interface=""/></mouse></device></config>)");
  StartUp();
  window_->tasks.Clear();
  window_->OnDeviceChange(L"HID\\VID_046D&PID_C52B\\HIDRAW9", false);
  EXPECT_EQ(Queue(), std::vector<int>{kTaskDeviceRemoval});
}

TEST_F(ConnectionTest, BluetoothOnlyShowsTheBannerAndDisablesThePages) {
  bus_->Attach(std::make_shared<testing::ScriptedDevice>(0x1209, 0x0006,
                                                         testing::kKeyboardDescriptor,
                                                         kHidBusBluetooth));
  MakeWindow();
  StartUp();
  EXPECT_EQ(ConnectionText(), L"bluetooth");
  EXPECT_EQ(window_->GetMessageText(), L"banner");
  EXPECT_TRUE(window_->online.load());
  EXPECT_TRUE(window_->connected.load());
  EXPECT_FALSE(Tabs()->IsEnabled());
  EXPECT_EQ(Tabs()->GetSelectItem(), 0);
  EXPECT_TRUE(Visible(ctl::kHomeStatus));
  EXPECT_FALSE(Visible(ctl::kWriteButton));
  WiredFrame frame;
  EXPECT_FALSE(devices_.ExchangeWired(frame));

  // The cable comes: the next scan clears the banner and opens the pages.
  AttachMouse();
  window_->ScanAndUpdate();
  EXPECT_EQ(ConnectionText(), L"wired");
  EXPECT_EQ(window_->GetMessageText(), L"");
  EXPECT_TRUE(Tabs()->IsEnabled());
  EXPECT_EQ(Tabs()->GetSelectItem(), 1);
  EXPECT_FALSE(Visible(ctl::kHomeStatus));
  EXPECT_TRUE(Visible(ctl::kWriteButton));
}

TEST_F(ConnectionTest, NoDeviceAndAccessDeniedSayDifferentThings) {
  MakeWindow();
  StartUp();
  EXPECT_EQ(ConnectionText(), L"none");
  EXPECT_FALSE(window_->online.load());
  EXPECT_FALSE(Tabs()->IsEnabled());
  EXPECT_EQ(window_->Control<PLKUI::MControlFont>(ctl::kHomeStatus)->GetTitle(), L"connect");

  auto mouse = AttachMouse();
  mouse->SetOpenDenied(true);
  window_->ScanAndUpdate();
  EXPECT_EQ(ConnectionText(), L"denied");
  EXPECT_EQ(window_->Control<PLKUI::MControlFont>(ctl::kHomeStatus)->GetTitle(), L"no access");
  EXPECT_EQ(window_->Control<PLKUI::MControlFont>(ctl::kHomeStatus2)->GetTitle(), L"the fix");
  EXPECT_FALSE(window_->online.load());

  mouse->SetOpenDenied(false);
  window_->ScanAndUpdate();
  EXPECT_EQ(ConnectionText(), L"wired");
  EXPECT_EQ(window_->Control<PLKUI::MControlFont>(ctl::kHomeStatus2)->GetTitle(), L"");
  auto* battery = window_->Control<PLKUI::BatteryCtrl>(ctl::kBattery);
  EXPECT_EQ(battery->GetBatteryState(), 2);
  EXPECT_EQ(window_->Control<PLKUI::MControlFont>(ctl::kProgramVersion)->GetTitle(), L"9.8.7");  // from the catalogue
}

// A window serving the Nordic model (device type 201) hears its receiver
// come, go and come back: every arrival scans, shows the receiver's
// connection and reads the linked mouse; the removal goes back to "none".
TEST_F(ConnectionTest, NordicReceiverPluggedUnpluggedAndReplugged) {
  product_type_ = 201;
  MakeWindow(kNordicCatalog);
  const PLKUI::MRect r{0, 0, 10, 10};
  for (int id : {ctl::kVersionLabelA, ctl::kVersionLabelB}) window_->CreateControl(L"MText", id, r, L"");
  StartUp();
  RunQueue();  // InitialSync without a device: nothing
  ASSERT_EQ(window_->current_device_type.load(), 201);
  EXPECT_EQ(ConnectionText(), L"none");
  EXPECT_FALSE(window_->online.load());

  auto receiver = std::make_shared<VirtualNordicDevice>(VirtualNordicDevice::Receiver(1));
  receiver->SetLinked(true, true);
  receiver->WithFirmware([](NordicFirmware& f) {
    f.SetReportRate(1);
    return 0;
  });
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    const int id = bus_->Attach(receiver);
    Pump();
    EXPECT_EQ(Queue(), std::vector<int>{kTaskDeviceArrival});
    RunQueue();
    EXPECT_TRUE(window_->online.load());
    EXPECT_TRUE(window_->connected.load());
    EXPECT_EQ(devices_.ActiveMode(), 1);
    EXPECT_EQ(ConnectionText(), L"receiver");
    EXPECT_TRUE(Tabs()->IsEnabled());
    // The Nordic connection sequence ran: the mouse's values are in the
    // database and its versions on the labels.
    std::wstring rate;
    db_.GetConfigValue(window_->current_profile.load(), L"report_rate", rate);
    EXPECT_EQ(rate, L"1");
    EXPECT_EQ(window_->Control<PLKUI::MControlFont>(ctl::kVersionLabelA)->GetTitle(), L"1.0.5");
    EXPECT_EQ(window_->initial_read_done.load(), 1);

    // The user changes the rate on the computer; the next arrival reads the mouse again.
    db_.SetConfigValue(window_->current_profile.load(), L"report_rate", L"4");
    ASSERT_TRUE(bus_->Detach(id));
    Pump();
    // One removal per interface of the receiver (its mouse and vendor collections).
    EXPECT_EQ(Queue(), (std::vector<int>{kTaskDeviceRemoval, kTaskDeviceRemoval}));
    RunQueue();
    EXPECT_FALSE(window_->online.load());
    EXPECT_FALSE(window_->connected.load());
    EXPECT_EQ(ConnectionText(), L"none");
    EXPECT_FALSE(Tabs()->IsEnabled());
  }

  // A wired mouse is not this model's: its arrival queues nothing.
  AttachMouse();
  Pump();
  EXPECT_TRUE(Queue().empty());
}

}  // namespace
}  // namespace tk410
