// Profile rows and the default-profile rule.

#include <gtest/gtest.h>

#include "store/store_fixture.h"

namespace tk410::testing {
namespace {

TEST_F(StoreTest, EmptyDatabaseGetsFiveDefaultProfilesWithFirstActive) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(db_.EnsureDefaultProfiles(), 1);

  RecordList<ProfileRecord> profiles;
  ASSERT_EQ(db_.LoadProfiles(profiles), 5);
  const std::wstring names[] = {L"800", L"801", L"811", L"821", L"831"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(profiles[i]->profile, i + 1);
    EXPECT_EQ(profiles[i]->name, names[i]);
    EXPECT_EQ(profiles[i]->status, i == 0 ? 1 : 0);
    EXPECT_EQ(profiles[i]->app, L"");
    EXPECT_EQ(profiles[i]->type, 0);
  }
  RawDb raw(FilePath());
  EXPECT_EQ(raw.Int("SELECT count(*) FROM t_configdata"), 5 * 25);

  // A second refresh adds nothing.
  EXPECT_EQ(db_.EnsureDefaultProfiles(), 1);
  EXPECT_EQ(db_.LoadProfiles(profiles), 5);

  // After a reset of all data the same five come back, numbered from 1.
  ASSERT_TRUE(db_.OpenAndClear(dir_.wide(), L"TK410"));
  EXPECT_EQ(db_.LoadProfiles(profiles), 0);
  EXPECT_EQ(db_.EnsureDefaultProfiles(), 1);
  ASSERT_EQ(db_.LoadProfiles(profiles), 5);
  EXPECT_EQ(profiles.front()->profile, 1);
  EXPECT_EQ(profiles.back()->profile, 5);
}

TEST_F(StoreTest, SetActiveProfileKeepsAtMostOneActive) {
  ASSERT_TRUE(Open());
  db_.EnsureDefaultProfiles();
  EXPECT_TRUE(db_.SetActiveProfile(3));
  EXPECT_EQ(db_.GetActiveProfile(), 3);
  RawDb raw(FilePath());
  EXPECT_EQ(raw.Int("SELECT count(*) FROM t_profile_data WHERE status = 1"), 1);

  // A number without a row leaves none active and still reports success;
  // the next refresh makes profile 1 active again.
  EXPECT_TRUE(db_.SetActiveProfile(42));
  EXPECT_EQ(db_.GetActiveProfile(), 0);
  EXPECT_EQ(db_.EnsureDefaultProfiles(), 1);
  EXPECT_EQ(raw.Int("SELECT count(*) FROM t_profile_data WHERE status = 1"), 1);
}

TEST_F(StoreTest, ProfileOperationsWithoutDatabase) {
  RecordList<ProfileRecord> profiles;
  profiles.push_back(std::make_unique<ProfileRecord>());
  EXPECT_EQ(db_.LoadProfiles(profiles), 0);
  EXPECT_TRUE(profiles.empty());
  EXPECT_EQ(db_.AddProfile(ProfileRecord{}), 0);
  EXPECT_FALSE(db_.SetActiveProfile(1));
  EXPECT_EQ(db_.GetActiveProfile(), 0);
  EXPECT_EQ(db_.EnsureDefaultProfiles(), 0);
}

TEST_F(StoreTest, FailedProfileInsertWritesNoConfigurationRows) {
  ASSERT_TRUE(Open());
  {
    RawDb raw(FilePath());
    ASSERT_EQ(raw.Exec("CREATE TRIGGER refuse BEFORE INSERT ON t_profile_data "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"),
              0);
  }
  EXPECT_EQ(db_.AddProfile(ProfileRecord{}), 0);
  RawDb raw(FilePath());
  EXPECT_EQ(raw.Int("SELECT count(*) FROM t_configdata"), 0);
}

}  // namespace
}  // namespace tk410::testing
