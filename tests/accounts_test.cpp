#include "core/accounts.h"

#include <gtest/gtest.h>

namespace core {
namespace {

using Names = std::vector<std::string>;

struct Account {
  std::string name, password;
};

UserTable TableOf(const std::vector<Account>& accounts) {
  UserTable table;
  for (const auto& account : accounts) {
    EXPECT_TRUE(table.AppendUser(account.name, account.password));
  }
  return table;
}

UserTable LoggedInAs(const std::vector<Account>& accounts, int slot) {
  UserTable table = TableOf(accounts);
  EXPECT_EQ(LogIn(table, table.NameOf(slot), table.PasswordOf(slot)), slot);
  return table;
}

const std::vector<Account> kFour = {
    {"Administrator", "root"}, {"u2", "p2"}, {"u3", ""}, {"u4", "p4"}};

TEST(LoginTest, TheFirstFullMatchLogsInAndALaterEmptyUserDoesNotTakeOver) {
  UserTable table = TableOf({{"Administrator", "root"}, {"bob", "pw"}, {"", ""}});
  EXPECT_EQ(LogIn(table, "bob", "pw"), 2);
  EXPECT_EQ(table.LoggedIn, 1);
  EXPECT_EQ(LogIn(table, "administrator", "root"), 0);
  EXPECT_EQ(table.CurrentUser, 2) << "a failed login keeps the current user";
  LogOut(table);
  EXPECT_EQ(table.CurrentUser, 0);
  EXPECT_EQ(table.LoggedIn, 0);
}

TEST(OwnPasswordTest, NeedsTheOldPasswordAndAMatchingConfirmation) {
  UserTable table = LoggedInAs(kFour, 2);
  EXPECT_EQ(ChangeOwnPassword(table, "p2", "new", "neW"), OwnPasswordResult::kMismatch);
  EXPECT_EQ(ChangeOwnPassword(table, "P2", "new", "new"), OwnPasswordResult::kMismatch);
  EXPECT_EQ(table.PasswordOf(2), "p2");
  EXPECT_EQ(ChangeOwnPassword(table, "p2", "new", "new"), OwnPasswordResult::kChanged);
  EXPECT_EQ(table.PasswordOf(2), "new");
}

TEST(OwnPasswordTest, AfterLogoutNothingIsChangedOrReportedAsChanged) {
  UserTable table = LoggedInAs(kFour, 3);
  LogOut(table);
  // Slot 0 has the empty password, so the old-password test alone would pass.
  EXPECT_EQ(ChangeOwnPassword(table, "", "x", "x"), OwnPasswordResult::kNotLoggedIn);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(table.PasswordOf(k), kFour[k - 1].password);
  }
}

TEST(RenameTest, AnyNameButTheReservedOneIsTaken) {
  UserTable table = LoggedInAs(kFour, 2);
  EXPECT_EQ(RenameCurrentUser(table, "Administrator"), RenameResult::kReservedName);
  EXPECT_EQ(RenameCurrentUser(table, "u3"), RenameResult::kRenamed);
  EXPECT_EQ(table.UserNames(), (Names{"Administrator", "u3", "u3", "u4"}));
  EXPECT_EQ(RenameCurrentUser(table, ""), RenameResult::kRenamed);
  EXPECT_EQ(table.NameOf(2), "");
}

TEST(RenameTest, TheAdministratorAndNobodyCannotBeRenamed) {
  UserTable table = LoggedInAs(kFour, 1);
  EXPECT_EQ(RenameCurrentUser(table, "boss"), RenameResult::kAdministratorFixed);
  LogOut(table);
  EXPECT_EQ(RenameCurrentUser(table, "ghost"), RenameResult::kNotLoggedIn);
  EXPECT_EQ(table.UserNames(), (Names{"Administrator", "u2", "u3", "u4"}));
}

TEST(AddUserTest, RefusalsComeInTheirOrderAndChangeNothing) {
  UserTable table = LoggedInAs(kFour, 1);
  // The second administrator is refused before the passwords are looked at.
  EXPECT_EQ(AddUser(table, "Administrator", "a", "b"), AddResult::kSecondAdministrator);
  EXPECT_EQ(AddUser(table, "u5", "a", "b"), AddResult::kPasswordsDiffer);
  EXPECT_EQ(table.Count(), 4);
  EXPECT_EQ(AddUser(table, "", "", ""), AddResult::kAdded);
  EXPECT_EQ(table.Count(), 5);
  LogOut(table);
  EXPECT_EQ(AddUser(table, "u6", "a", "a"), AddResult::kNoRights);
  EXPECT_EQ(table.Count(), 5);
}

TEST(AddUserTest, TheFirstUserIsTheAdministratorWithoutALogin) {
  UserTable table;
  EXPECT_EQ(AddUser(table, "Administrator", "root", "root"), AddResult::kAdded);
  EXPECT_EQ(table.NameOf(1), "Administrator");
  EXPECT_FALSE(table.HasAdminRights()) << "nobody is logged in once a user exists";
}

TEST(AddUserTest, A256thUserIsRefused) {
  UserTable table;
  ASSERT_TRUE(table.AppendUser("Administrator", "root"));
  table.CurrentUser = 1;
  for (int k = 2; k <= UserTable::kSlots; ++k) {
    ASSERT_EQ(AddUser(table, "u" + std::to_string(k), "p", "p"), AddResult::kAdded);
  }
  EXPECT_EQ(AddUser(table, "late", "p", "p"), AddResult::kTableFull);
  EXPECT_EQ(table.Count(), 255);
  EXPECT_EQ(table.NameOf(1), "Administrator");
}

TEST(SetPasswordTest, ChangesThePickedUser) {
  UserTable table = LoggedInAs(kFour, 1);
  PickedUser picked;
  picked.Pick(table, 2);
  EXPECT_EQ(table.SelectedUser, 3);
  EXPECT_EQ(SetPickedPassword(table, picked, "a", "b"), SetPasswordResult::kPasswordsDiffer);
  EXPECT_EQ(SetPickedPassword(table, picked, "new", "new"), SetPasswordResult::kChanged);
  EXPECT_EQ(table.PasswordOf(3), "new");
  picked.Pick(table, 0);  // his own, without the old password
  EXPECT_EQ(SetPickedPassword(table, picked, "", ""), SetPasswordResult::kChanged);
  EXPECT_EQ(table.PasswordOf(1), "");
}

TEST(SetPasswordTest, NeverWritesToASlotThatNoLongerHoldsThePickedUser) {
  const struct {
    const char* what;
    int picked_index;
    void (*change)(UserTable&);
  } cases[] = {
      // u2 is removed and the last user, u4, moves into his slot.
      {"picked user removed", 1, [](UserTable& t) { t.RemoveUserAt(2); }},
      {"picked slot now past the end", 3, [](UserTable& t) { t.RemoveUserAt(2); }},
      {"a user added", 1, [](UserTable& t) { t.AppendUser("u5", ""); }},
      {"the picked user renamed", 1, [](UserTable& t) { t.SetUserName(2, "other"); }},
      {"the selection moved", 1, [](UserTable& t) { t.SelectedUser = 3; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    UserTable table = LoggedInAs(kFour, 1);
    PickedUser picked;
    picked.Pick(table, c.picked_index);
    c.change(table);
    const UserTable before = table;
    EXPECT_EQ(SetPickedPassword(table, picked, "new", "new"), SetPasswordResult::kUserGone);
    for (int k = 1; k <= table.Count(); ++k) {
      EXPECT_EQ(table.PasswordOf(k), before.PasswordOf(k));
    }
  }
}

TEST(SetPasswordTest, NothingWithoutAPickOrWithoutRights) {
  UserTable table = LoggedInAs(kFour, 1);
  PickedUser never_picked;
  EXPECT_EQ(SetPickedPassword(table, never_picked, "x", "x"), SetPasswordResult::kUserGone);
  PickedUser picked;
  picked.Pick(table, 1);
  LogOut(table);
  EXPECT_EQ(SetPickedPassword(table, picked, "x", "x"), SetPasswordResult::kNoRights);
  EXPECT_EQ(table.PasswordOf(2), "p2");
}

TEST(RemovalTest, RefusalsAndTheQuestionFollowTheSelectionAndTheCount) {
  const struct {
    int count;
    int index;
    bool nothing_selected, administrator, only_user, may_ask;
  } cases[] = {
      {4, -1, true, false, false, false},
      {1, -1, true, false, true, false},  // both messages, one after the other
      {4, 0, false, true, false, false},
      {1, 0, false, true, false, false},
      {4, 1, false, false, false, true},
      {4, 3, false, false, false, true},
      {4, 4, true, false, false, false},  // a stale entry past the users
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "count " << c.count << ", index " << c.index);
    UserTable table = TableOf(std::vector<Account>(kFour.begin(), kFour.begin() + c.count));
    const RemovalCheck check = CheckRemoval(table, c.index);
    EXPECT_EQ(check.nothing_selected, c.nothing_selected);
    EXPECT_EQ(check.administrator, c.administrator);
    EXPECT_EQ(check.only_user, c.only_user);
    EXPECT_EQ(check.may_ask, c.may_ask);
  }
}

}  // namespace
}  // namespace core
