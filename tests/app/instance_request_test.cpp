// The request lines another start (tk410ctl) sends to the running window.
#include <gtest/gtest.h>

#include "app/instance_request.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

TEST(InstanceRequest, LinesAreParsedStrictly) {
  struct Case {
    std::string line;
    InstanceRequest::Kind kind;
    int profile;
    std::string database;
  };
  const Case cases[] = {
      {ProfileRequestLine(3, "/h/Documents/TEVO TK410 MouseDbFiles/db/TK410_data_kvr.db"), InstanceRequest::kProfile,
       3, "/h/Documents/TEVO TK410 MouseDbFiles/db/TK410_data_kvr.db"},
      {"profile 12 /d.db\r\n", InstanceRequest::kProfile, 12, "/d.db"},
      {RulesRequestLine("/x y/d.db"), InstanceRequest::kRules, 0, "/x y/d.db"},
      {"profile 0 /d.db", InstanceRequest::kNone, 0, ""},
      {"profile -1 /d.db", InstanceRequest::kNone, 0, ""},
      {"profile 3", InstanceRequest::kNone, 0, ""},
      {"profile 3 ", InstanceRequest::kNone, 0, ""},
      {"profile  3 /d.db", InstanceRequest::kNone, 0, ""},
      {"profile 99999999999 /d.db", InstanceRequest::kNone, 0, ""},
      {"profile 3x /d.db", InstanceRequest::kNone, 0, ""},
      {"rules ", InstanceRequest::kNone, 0, ""},
      {"activate", InstanceRequest::kNone, 0, ""},
      {"", InstanceRequest::kNone, 0, ""},
  };
  for (const Case& c : cases) {
    const InstanceRequest r = ParseInstanceRequest(c.line);
    EXPECT_EQ(r.kind, c.kind) << c.line;
    EXPECT_EQ(r.profile, c.profile) << c.line;
    EXPECT_EQ(r.database, c.database) << c.line;
  }
}

TEST(InstanceRequest, NothingListeningIsNoSuccess) {
  testing::TempDir dir;
  EXPECT_FALSE(SendInstanceRequest((dir.path() / "none.socket").string(), "rules /d.db"));
  EXPECT_FALSE(SendInstanceRequest("", "rules /d.db"));
  EXPECT_FALSE(SendInstanceRequest("/" + std::string(200, 'x'), "rules /d.db"));
}

}  // namespace
}  // namespace tk410
