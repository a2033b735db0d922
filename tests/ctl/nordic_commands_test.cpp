// tk410ctl against the virtual Nordic devices (--simulate nordic|receiver):
// the write takes the link from the receiver and sends what the database
// holds without reading the mouse into it first.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ctl/ctl_runner.h"
#include "sim/state_text.h"

namespace tk410::testing {
namespace {

class NordicCtl {
 public:
  explicit NordicCtl(const char* kind) : kind_(kind) {}
  CtlRun Run(std::vector<std::string> args) const {
    std::vector<std::string> all = {"--data-dir", ctl_.DataDir(), "--simulate", kind_, "--sim-state",
                                    ctl_.StatePath()};
    all.insert(all.end(), args.begin(), args.end());
    return ctl_.RunRaw(all);
  }
  // Settings block of profile index `p` as the virtual mouse saved it.
  std::vector<uint8_t> SavedSettings(int p) const {
    std::ifstream in(ctl_.StatePath());
    for (std::string line; std::getline(in, line);) {
      const auto f = sim_state::Fields(line);
      if (f.size() == 3 && f[0] == "settings" && f[1] == std::to_string(p)) {
        std::vector<uint8_t> bytes(64);
        if (sim_state::FromHex(f[2], bytes.data(), bytes.size())) return bytes;
      }
    }
    return {};
  }
  std::vector<uint8_t> SavedKeys(int p) const {
    std::ifstream in(ctl_.StatePath());
    for (std::string line; std::getline(in, line);) {
      const auto f = sim_state::Fields(line);
      if (f.size() == 3 && f[0] == "keys" && f[1] == std::to_string(p)) {
        std::vector<uint8_t> bytes(60);
        if (sim_state::FromHex(f[2], bytes.data(), bytes.size())) return bytes;
      }
    }
    return {};
  }

 private:
  CtlRunner ctl_;
  std::string kind_;
};

// Settings block bytes 8..11 (DPI stage 0 twice), key slot 0 (bytes 0..3 of
// the slot area).
TEST(CtlNordicTest, WriteSendsTheDatabaseWithoutReadingTheMouseFirst) {
  NordicCtl ctl("receiver");
  CtlRun run = ctl.Run({"set", "dpi_group0_value", "12000"});
  ASSERT_EQ(run.code, 0) << run.err;
  run = ctl.Run({"assign", "1", "3"});  // right click on the left button
  ASSERT_EQ(run.code, 0) << run.err;
  run = ctl.Run({"write"});
  ASSERT_EQ(run.code, 0) << run.err << run.out;
  const auto settings = ctl.SavedSettings(0);
  ASSERT_EQ(settings.size(), 64u);
  EXPECT_EQ(std::vector<uint8_t>(settings.begin() + 8, settings.begin() + 12),
            (std::vector<uint8_t>{0xE0, 0x2E, 0xE0, 0x2E}));
  EXPECT_EQ(settings[6], 0x1F);
  const auto keys = ctl.SavedKeys(0);
  ASSERT_EQ(keys.size(), 60u);
  EXPECT_EQ(std::vector<uint8_t>(keys.begin(), keys.begin() + 4), (std::vector<uint8_t>{1, 0, 0xF1, 0}));
  // The database still holds what the user set.
  run = ctl.Run({"get", "dpi_group0_value"});
  EXPECT_NE(run.out.find("12000"), std::string::npos) << run.out;

  run = ctl.Run({"status"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.out.find("version: 1.0.5"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("version: 2.0.1"), std::string::npos) << run.out;
}

TEST(CtlNordicTest, DirectMouseReadsIntoTheDatabase) {
  NordicCtl ctl("nordic");
  CtlRun run = ctl.Run({"devices"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.out.find("1209:0003 wired online"), std::string::npos) << run.out;
  run = ctl.Run({"read"});
  ASSERT_EQ(run.code, 0) << run.err;
  run = ctl.Run({"get", "dpi_group5_value"});
  EXPECT_NE(run.out.find("6400"), std::string::npos) << run.out;
  run = ctl.Run({"--sim-fault", "no-reply", "write"});
  EXPECT_EQ(run.code, 1) << run.out;
}

}  // namespace
}  // namespace tk410::testing
