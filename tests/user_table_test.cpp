#include "core/user_table.h"

#include <gtest/gtest.h>

namespace core {
namespace {

using Names = std::vector<std::string>;

UserTable TableOf(const Names& names) {
  UserTable table;
  for (const auto& name : names) {
    EXPECT_TRUE(table.AppendUser(name, name + "-pw"));
  }
  return table;
}

TEST(UserTableTest, AnEmptyTableOpensTheAdministratorFeaturesToAnybody) {
  UserTable table;
  EXPECT_TRUE(table.HasAdminRights());
  table.CurrentUser = 7;
  EXPECT_TRUE(table.HasAdminRights());
}

TEST(UserTableTest, AdministratorRightsFollowTheCurrentSlotsExactName) {
  UserTable table = TableOf({"Administrator", "administrator", "Administrator "});
  EXPECT_FALSE(table.HasAdminRights());  // nobody logged in: slot 0 has the empty name
  table.CurrentUser = 1;
  EXPECT_TRUE(table.HasAdminRights());  // LoggedIn is not looked at
  table.CurrentUser = 2;
  EXPECT_FALSE(table.HasAdminRights());
  table.CurrentUser = 3;
  EXPECT_FALSE(table.HasAdminRights());
}

TEST(UserTableTest, RemovalMovesTheLastUserIntoTheFreedSlot) {
  const struct {
    Names before;
    int removed;
    Names after;
  } cases[] = {
      {{"u1", "u2", "u3"}, 2, {"u1", "u3"}},
      {{"u1", "u2", "u3", "u4"}, 2, {"u1", "u4", "u3"}},
      {{"u1", "u2", "u3"}, 3, {"u1", "u2"}},
      {{"u1"}, 1, {}},
  };
  for (const auto& c : cases) {
    UserTable table = TableOf(c.before);
    table.RemoveUserAt(c.removed);
    EXPECT_EQ(table.UserNames(), c.after);
    EXPECT_EQ(table.Count(), static_cast<int>(c.after.size()));
  }
}

TEST(UserTableTest, RemovalKeepsTheMovedUsersPassword) {
  UserTable table = TableOf({"u1", "u2", "u3", "u4"});
  table.RemoveUserAt(2);
  EXPECT_EQ(table.PasswordOf(2), "u4-pw");
  EXPECT_EQ(table.FindLogin("u4", "u4-pw"), 2);
}

TEST(UserTableTest, TextsLongerThan255CharactersAreCut) {
  UserTable table;
  const std::string long_name(300, 'n');
  ASSERT_TRUE(table.AppendUser(long_name, std::string(256, 'p')));
  EXPECT_EQ(table.NameOf(1), long_name.substr(0, 255));
  EXPECT_EQ(table.PasswordOf(1).size(), 255u);
  EXPECT_EQ(table.FindLogin(long_name, std::string(256, 'p')), 0);
  EXPECT_EQ(table.FindLogin(long_name.substr(0, 255), std::string(255, 'p')), 1);
  table.SetUserName(1, std::string(400, 'x'));
  EXPECT_EQ(table.NameOf(1), std::string(255, 'x'));
}

TEST(UserTableTest, TheCountNeverWrapsPastSlot255) {
  UserTable table;
  for (int k = 1; k <= UserTable::kSlots; ++k) {
    ASSERT_TRUE(table.AppendUser("user" + std::to_string(k), "pw"));
  }
  EXPECT_TRUE(table.IsFull());
  EXPECT_FALSE(table.AppendUser("one too many", "pw"));
  EXPECT_EQ(table.Count(), 255);
  EXPECT_EQ(table.NameOf(255), "user255");
  EXPECT_EQ(table.NameOf(1), "user1");
}

TEST(UserTableTest, NothingIsWrittenForSlotZeroOrUnusedSlots) {
  UserTable table = TableOf({"u1"});
  table.SetUserName(0, "ghost");
  table.SetUserPassword(0, "ghost");
  table.SetUserName(2, "ghost");
  table.RemoveUserAt(0);
  table.RemoveUserAt(5);
  EXPECT_EQ(table.UserNames(), Names{"u1"});
  EXPECT_EQ(table.NameOf(0), "");
  EXPECT_EQ(table.NameOf(2), "");
  EXPECT_THROW(table.Slot(0), std::out_of_range);
  EXPECT_THROW(table.Slot(256), std::out_of_range);
}

TEST(UserTableTest, LoginSearchIsExactAndTakesTheFirstMatchingSlot) {
  UserTable table = TableOf({"Administrator", "bob", "Bob"});
  table.AppendUser("bob", "bob-pw");  // same name and password as slot 2
  table.AppendUser("", "");
  EXPECT_EQ(table.FindLogin("bob", "bob-pw"), 2);
  EXPECT_EQ(table.FindLogin("Bob", "Bob-pw"), 3);
  EXPECT_EQ(table.FindLogin("BOB", "bob-pw"), 0);
  EXPECT_EQ(table.FindLogin("bob", "bob-pw "), 0);
  EXPECT_EQ(table.FindLogin("", ""), 5);
}

TEST(UserTableTest, ShortStringKeepsEightBitCharacters) {
  ShortString255 text;
  text.assign(std::string("\xE9t\xE9\0x", 5));
  EXPECT_EQ(text.length(), 5);
  EXPECT_EQ(text.str(), std::string("\xE9t\xE9\0x", 5));
  EXPECT_TRUE(text == std::string("\xE9t\xE9\0x", 5));
  EXPECT_FALSE(text == std::string("\xE9t\xE9", 3));
}

}  // namespace
}  // namespace core
