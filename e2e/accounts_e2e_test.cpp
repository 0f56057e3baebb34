// End-to-end tests of logging in and out, the own account dialogs and the administrator's user
// management: the real program under Wine, its dialogs worked from outside, the databank
// checked after Quit. Each test groups several checks into few starts of the tool.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/driver.h"

namespace {

using e2e::User;
using Names = std::vector<std::string>;

constexpr char kOwnPasswordCaption[] = "Change the password";
constexpr char kRenameCaption[] = "Change current User's name";
constexpr char kAddCaption[] = "Add a user to the databank";
constexpr char kSetPasswordCaption[] = "Change a users password";

constexpr char kFirstUserMessage[] =
    "As you are the first user, you need to configure your settings.";
constexpr char kLogInFirst[] = "You must log in first!!!";
constexpr char kSelectFirst[] = "Select a user first!!";
constexpr char kRemoveQuestion[] = "Are you sure you want to remove this user??";

class AccountsE2E : public e2e::ToolTest {
 protected:
  void Start(HWND* main) {
    ASSERT_TRUE(tool_.Start());
    ASSERT_TRUE(tool_.WaitForMainWindow(main));
  }

  // File > Quit, the closing message, the end of the process; the tool may then start again.
  void Quit(HWND main) {
    std::string copyright;
    ASSERT_TRUE(e2e::ControlText(main, IDC_LABEL2, &copyright));
    ASSERT_TRUE(tool_.ChooseMenu(IDM_QUIT1));
    ASSERT_TRUE(tool_.ExpectInformationBox(e2e::QuitMessage(copyright)));
    ASSERT_TRUE(tool_.WaitForExit());
    tool_.Kill();
  }

  void ExpectSaved(const std::vector<User>& expected) {
    std::string file;
    ASSERT_TRUE(e2e::ReadFileBytes(e2e::kDatabankPath, &file));
    std::vector<User> saved;
    ASSERT_TRUE(e2e::DecodeDatabank(file, &saved));
    EXPECT_EQ(expected, saved);
    EXPECT_TRUE(e2e::FillerIsWellFormed(file));
  }

  // The main window refreshes when a dialog gives the activation back, so these poll.
  testing::AssertionResult WaitForPanel(const std::string& expected) {
    std::string text;
    for (int i = 0; i < 200; ++i, Sleep(10)) {
      auto r = tool_.ReadStatusPanel(2, &text);
      if (!r) {
        return r;
      }
      if (text == expected) {
        return testing::AssertionSuccess();
      }
    }
    return testing::AssertionFailure()
           << "status panel 2 reads \"" << text << "\", expected \"" << expected << "\"";
  }

  testing::AssertionResult WaitForAdminBox(HWND main, bool expected) {
    bool shown = !expected;
    for (int i = 0; i < 200; ++i, Sleep(10)) {
      auto r = e2e::ControlShown(main, IDC_ADMIN_BOX, &shown);
      if (!r) {
        return r;
      }
      if (shown == expected) {
        return testing::AssertionSuccess();
      }
    }
    return testing::AssertionFailure()
           << "the administrator group is still " << (shown ? "shown" : "hidden");
  }

  testing::AssertionResult WaitForList(HWND main, const Names& expected) {
    Names items;
    for (int i = 0; i < 200; ++i, Sleep(10)) {
      auto r = e2e::ListItems(main, IDC_USERS_BOX, &items);
      if (!r) {
        return r;
      }
      if (items == expected) {
        return testing::AssertionSuccess();
      }
    }
    auto failure = testing::AssertionFailure() << "users_box lists";
    for (const auto& item : items) {
      failure << " \"" << item << "\"";
    }
    return failure;
  }

  static testing::AssertionResult FieldIs(HWND dialog, int id, const std::string& expected) {
    std::string text;
    auto r = e2e::ControlText(dialog, id, &text);
    if (!r) {
      return r;
    }
    if (text == expected) {
      return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "field " << id << " holds \"" << text << "\", expected \"" << expected << "\"";
  }

  struct Field {
    int id;
    std::string text;
  };
  static void Fill(HWND dialog, const std::vector<Field>& fields) {
    for (const Field& field : fields) {
      ASSERT_TRUE(e2e::TypeText(dialog, field.id, field.text));
    }
  }
  static void ExpectFields(HWND dialog, const std::vector<Field>& fields) {
    for (const Field& field : fields) {
      EXPECT_TRUE(FieldIs(dialog, field.id, field.text));
    }
  }

  static bool ReadOnly(HWND dialog, int id) {
    return (GetWindowLongA(e2e::FindControl(dialog, id), GWL_STYLE) & ES_READONLY) != 0;
  }

  // Opens a dialog by a main-window button and waits for it.
  void Open(HWND main, int button, const char* caption, HWND* dialog) {
    ASSERT_TRUE(e2e::Click(main, button));
    ASSERT_TRUE(tool_.WaitForWindow(caption, dialog));
  }

  // Logs in through the dialog, by Enter in the password field, and waits for it to hide.
  void LogIn(HWND main, const std::string& name, const std::string& password) {
    HWND login;
    Open(main, IDC_LOGIN, e2e::kLoginCaption, &login);
    Fill(login, {{IDC_USER_NAME_ENTER, name}, {IDC_USER_PASS_ENTER, password}});
    ASSERT_TRUE(e2e::ClickInto(login, IDC_USER_PASS_ENTER));
    ASSERT_TRUE(e2e::PressEnter(login, IDC_USER_PASS_ENTER));
    ASSERT_TRUE(tool_.WaitForWindowHidden(e2e::kLoginCaption));
    ASSERT_TRUE(WaitForPanel("Current user: " + name));
  }

  void AddUser(HWND main, const std::string& name, const std::string& password) {
    HWND add;
    Open(main, IDC_ADD_USER_BUT, kAddCaption, &add);
    EXPECT_TRUE(FieldIs(add, IDC_UNAME, ""));
    EXPECT_FALSE(ReadOnly(add, IDC_UNAME));
    Fill(add, {{IDC_UNAME, name}, {IDC_ADDUSER_PASS1, password}, {IDC_ADDUSER_PASS2, password}});
    ASSERT_TRUE(e2e::Click(add, IDC_ADDUSER_OKBUT));
    ASSERT_TRUE(tool_.ExpectPlainMessage("User successfully added"));
    ASSERT_TRUE(tool_.WaitForWindowHidden(kAddCaption));
  }

  void Select(HWND main, int index) {
    ASSERT_TRUE(e2e::SelectListItem(main, IDC_USERS_BOX, index));
  }

  // A click into the users list of the inactive main window, as a user's: the window becomes
  // active and refills the list, then the click selects the top entry.
  void ActivateMain(HWND main) {
    ASSERT_TRUE(e2e::ClickInto(main, IDC_USERS_BOX));
    int selected = -1;
    for (int i = 0; i < 200 && selected != 0; ++i, Sleep(10)) {
      ASSERT_TRUE(e2e::ListSelection(main, IDC_USERS_BOX, &selected));
    }
    ASSERT_EQ(0, selected);
  }

  void Remove(HWND main, int index) {
    Select(main, index);
    ASSERT_TRUE(e2e::Click(main, IDC_KICK_USER));
    ASSERT_TRUE(tool_.AnswerConfirmation(kRemoveQuestion, true));
    ASSERT_TRUE(tool_.ExpectPlainMessage("User has been deleted"));
  }
};

// The first user on an empty databank is the administrator; from then on the group needs his
// login; his users and the password he sets survive Quit and a new start.
TEST_F(AccountsE2E, TypicalRunFromAnEmptyDatabankThroughTwoRestarts) {
  HWND main;
  Start(&main);
  ASSERT_TRUE(e2e::Click(main, IDC_LOGIN));
  ASSERT_TRUE(tool_.ExpectPlainMessage("You must first create a user profile!!!"));

  HWND add;
  Open(main, IDC_ADD_USER_BUT, kAddCaption, &add);
  ASSERT_TRUE(tool_.ExpectPlainMessage(kFirstUserMessage));
  EXPECT_TRUE(FieldIs(add, IDC_UNAME, "Administrator"));
  EXPECT_TRUE(ReadOnly(add, IDC_UNAME));
  Fill(add, {{IDC_ADDUSER_PASS1, "adm1"}, {IDC_ADDUSER_PASS2, "adm1"}});
  EXPECT_TRUE(e2e::SaveScreenshot(add, "adduser.png"));
  ASSERT_TRUE(e2e::ClickInto(add, IDC_ADDUSER_PASS2));
  ASSERT_TRUE(e2e::PressEnter(add, IDC_ADDUSER_PASS2));
  ASSERT_TRUE(tool_.ExpectPlainMessage("User successfully added"));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kAddCaption));
  EXPECT_TRUE(WaitForList(main, {"Administrator"}));
  EXPECT_TRUE(WaitForAdminBox(main, false)) << "a user exists and nobody is logged in";
  Quit(main);
  ExpectSaved({{"Administrator", "adm1"}});

  Start(&main);
  EXPECT_TRUE(WaitForAdminBox(main, false));
  LogIn(main, "Administrator", "adm1");
  EXPECT_TRUE(WaitForAdminBox(main, true));
  // Nothing selected and a single user: both refusals, one after the other.
  ASSERT_TRUE(e2e::Click(main, IDC_KICK_USER));
  ASSERT_TRUE(tool_.ExpectPlainMessage("You must select a user first!!"));
  ASSERT_TRUE(tool_.ExpectPlainMessage("You can't remove the only user"));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
  AddUser(main, "anna", "a1");
  AddUser(main, "bob", "b1");
  EXPECT_TRUE(WaitForList(main, {"Administrator", "anna", "bob"}));

  Select(main, 2);
  HWND set;
  Open(main, IDC_FORCEPASSCHANGE, kSetPasswordCaption, &set);
  Fill(set, {{IDC_MAKEPASS_PASS1, "b2"}, {IDC_MAKEPASS_PASS2, "b2"}});
  EXPECT_TRUE(e2e::SaveScreenshot(set, "makepasschange.png"));
  ASSERT_TRUE(e2e::Click(set, IDC_MAKEPASS_OKBUT));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Passwords changed successfully"));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kSetPasswordCaption));
  Quit(main);
  ExpectSaved({{"Administrator", "adm1"}, {"anna", "a1"}, {"bob", "b2"}});

  Start(&main);
  LogIn(main, "bob", "b2");
  EXPECT_TRUE(WaitForAdminBox(main, false));
}

TEST_F(AccountsE2E, LoginNeedsTheExactNameAndPasswordAndLogoutHidesTheGroupAtOnce) {
  // The last user has an empty name and password: he must not take over a login.
  ASSERT_TRUE(e2e::WriteDatabank({{"Administrator", "secret"}, {"anna", "pw"}, {"", ""}}));
  HWND main;
  Start(&main);
  HWND login;
  Open(main, IDC_LOGIN, e2e::kLoginCaption, &login);
  const struct {
    const char* name;
    const char* password;
  } failures[] = {{"administrator", "secret"}, {"Administrator", "Secret"}};
  for (const auto& failure : failures) {
    SCOPED_TRACE(failure.name + std::string("/") + failure.password);
    Fill(login, {{IDC_USER_NAME_ENTER, failure.name}, {IDC_USER_PASS_ENTER, failure.password}});
    ASSERT_TRUE(e2e::Click(login, IDC_ENTER_OKBUT));
    EXPECT_TRUE(tool_.ExpectNoMessageBox());
    EXPECT_TRUE(IsWindowVisible(login));
    ExpectFields(login, {{IDC_USER_NAME_ENTER, failure.name}, {IDC_USER_PASS_ENTER, ""}});
  }
  // Cancel keeps what the fields hold for the next showing.
  ASSERT_TRUE(e2e::TypeText(login, IDC_USER_PASS_ENTER, "typed"));
  EXPECT_TRUE(e2e::SaveScreenshot(login, "enter_form.png"));
  ASSERT_TRUE(e2e::Click(login, IDC_ENTER_QUIT));
  ASSERT_TRUE(tool_.WaitForWindowHidden(e2e::kLoginCaption));
  Open(main, IDC_LOGIN, e2e::kLoginCaption, &login);
  ExpectFields(login, {{IDC_USER_NAME_ENTER, "Administrator"}, {IDC_USER_PASS_ENTER, "typed"}});
  ASSERT_TRUE(e2e::Click(login, IDC_ENTER_QUIT));
  ASSERT_TRUE(tool_.WaitForWindowHidden(e2e::kLoginCaption));

  LogIn(main, "anna", "pw");
  EXPECT_TRUE(WaitForAdminBox(main, false));
  // A second login while logged in switches the user.
  LogIn(main, "Administrator", "secret");
  EXPECT_TRUE(WaitForAdminBox(main, true));
  Open(main, IDC_LOGIN, e2e::kLoginCaption, &login);
  EXPECT_TRUE(FieldIs(login, IDC_USER_NAME_ENTER, "")) << "a login clears both fields";
  ASSERT_TRUE(e2e::Click(login, IDC_ENTER_QUIT));
  ASSERT_TRUE(tool_.WaitForWindowHidden(e2e::kLoginCaption));

  ASSERT_TRUE(e2e::Click(main, IDC_BUTTON3));
  EXPECT_TRUE(WaitForAdminBox(main, false));
  std::string panel;
  ASSERT_TRUE(tool_.ReadStatusPanel(2, &panel));
  EXPECT_EQ("Current user: Administrator", panel) << "the panel changes at the next activation";
}

TEST_F(AccountsE2E, OwnPasswordAndNameChangesAndTheirRefusals) {
  ASSERT_TRUE(e2e::WriteDatabank({{"Administrator", "secret"}, {"anna", "pw"}, {"bob", "pb"}}));
  HWND main;
  Start(&main);
  ASSERT_TRUE(e2e::Click(main, IDC_NAMECHANGE));
  ASSERT_TRUE(tool_.ExpectPlainMessage(kLogInFirst));
  ASSERT_TRUE(e2e::Click(main, IDC_CHANGE_PASSWORD));
  ASSERT_TRUE(tool_.ExpectPlainMessage("No user selected"));
  LogIn(main, "Administrator", "secret");
  ASSERT_TRUE(e2e::Click(main, IDC_NAMECHANGE));
  ASSERT_TRUE(tool_.ExpectPlainMessage("The administrator's name cannot be changed!!"));

  LogIn(main, "anna", "pw");
  HWND own;
  Open(main, IDC_CHANGE_PASSWORD, kOwnPasswordCaption, &own);
  const struct {
    const char* old_password;
    const char* pass1;
    const char* pass2;
  } mismatches[] = {{"pw", "n1", "n2"}, {"PW", "n1", "n1"}};
  for (const auto& typed : mismatches) {
    SCOPED_TRACE(typed.old_password);
    Fill(own, {{IDC_OLDPASS, typed.old_password},
               {IDC_PASSCHANGE_PASS1, typed.pass1},
               {IDC_PASSCHANGE_PASS2, typed.pass2}});
    ASSERT_TRUE(e2e::Click(own, IDC_PASSCHANGE_OKBUT));
    ASSERT_TRUE(tool_.ExpectPlainMessage("Passwords do not match up"));
    for (int id : {IDC_OLDPASS, IDC_PASSCHANGE_PASS1, IDC_PASSCHANGE_PASS2}) {
      EXPECT_TRUE(FieldIs(own, id, ""));
    }
  }
  Fill(own, {{IDC_OLDPASS, "pw"}, {IDC_PASSCHANGE_PASS1, "n1"}, {IDC_PASSCHANGE_PASS2, "n1"}});
  EXPECT_TRUE(e2e::SaveScreenshot(own, "passchange_form.png"));
  ASSERT_TRUE(e2e::ClickInto(own, IDC_PASSCHANGE_PASS2));
  ASSERT_TRUE(e2e::PressEnter(own, IDC_PASSCHANGE_PASS2));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Password successfully changed"));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kOwnPasswordCaption));

  HWND rename;
  Open(main, IDC_NAMECHANGE, kRenameCaption, &rename);
  EXPECT_TRUE(FieldIs(rename, IDC_NEW_NAME, "")) << "filled at start-up, when nobody was in";
  ASSERT_TRUE(e2e::TypeText(rename, IDC_NEW_NAME, "Administrator"));
  ASSERT_TRUE(e2e::Click(rename, IDC_UNAME_OKBUT));
  ASSERT_TRUE(tool_.ExpectPlainMessage("You can't be the administrator!!"));
  EXPECT_TRUE(FieldIs(rename, IDC_NEW_NAME, "Administrator"));
  // Another user's name is accepted.
  ASSERT_TRUE(e2e::TypeText(rename, IDC_NEW_NAME, "bob"));
  EXPECT_TRUE(e2e::SaveScreenshot(rename, "uname_change.png"));
  ASSERT_TRUE(e2e::ClickInto(rename, IDC_NEW_NAME));
  ASSERT_TRUE(e2e::PressEnter(rename, IDC_NEW_NAME));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Name has been successfully changed!!"));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kRenameCaption));
  EXPECT_TRUE(WaitForList(main, {"Administrator", "bob", "bob"}));
  EXPECT_TRUE(WaitForPanel("Current user: bob"));

  // "bob" with the old bob's password logs in slot 3: his own password change lands there.
  LogIn(main, "bob", "pb");
  Open(main, IDC_CHANGE_PASSWORD, kOwnPasswordCaption, &own);
  Fill(own, {{IDC_OLDPASS, "pb"}, {IDC_PASSCHANGE_PASS1, "p3"}, {IDC_PASSCHANGE_PASS2, "p3"}});
  ASSERT_TRUE(e2e::Click(own, IDC_PASSCHANGE_OKBUT));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Password successfully changed"));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kOwnPasswordCaption));

  // Both dialogs left open across a logout refuse instead of reporting a change.
  Open(main, IDC_CHANGE_PASSWORD, kOwnPasswordCaption, &own);
  ASSERT_TRUE(e2e::Click(main, IDC_BUTTON3));
  ASSERT_TRUE(e2e::TypeText(own, IDC_OLDPASS, ""));
  ASSERT_TRUE(e2e::Click(own, IDC_PASSCHANGE_OKBUT));
  ASSERT_TRUE(tool_.ExpectPlainMessage(kLogInFirst));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kOwnPasswordCaption));
  LogIn(main, "bob", "n1");
  Open(main, IDC_NAMECHANGE, kRenameCaption, &rename);
  ASSERT_TRUE(e2e::Click(main, IDC_BUTTON3));
  ASSERT_TRUE(e2e::TypeText(rename, IDC_NEW_NAME, "carl"));
  ASSERT_TRUE(e2e::Click(rename, IDC_UNAME_OKBUT));
  ASSERT_TRUE(tool_.ExpectPlainMessage(kLogInFirst));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kRenameCaption));
  EXPECT_TRUE(WaitForList(main, {"Administrator", "bob", "bob"}));

  Quit(main);
  ExpectSaved({{"Administrator", "secret"}, {"bob", "n1"}, {"bob", "p3"}});
}

TEST_F(AccountsE2E, AdministratorManagesUsersAndStaleDialogsWriteNothing) {
  ASSERT_TRUE(
      e2e::WriteDatabank({{"Administrator", "secret"}, {"u2", "p2"}, {"u3", "p3"}, {"u4", ""}}));
  HWND main;
  Start(&main);
  LogIn(main, "Administrator", "secret");
  ASSERT_TRUE(e2e::Click(main, IDC_SHOWPASS));
  ASSERT_TRUE(tool_.ExpectPlainMessage(kSelectFirst));
  ASSERT_TRUE(e2e::Click(main, IDC_FORCEPASSCHANGE));
  ASSERT_TRUE(tool_.ExpectPlainMessage(kSelectFirst));
  ASSERT_TRUE(e2e::Click(main, IDC_KICK_USER));
  ASSERT_TRUE(tool_.ExpectPlainMessage("You must select a user first!!"));
  EXPECT_TRUE(tool_.ExpectNoMessageBox()) << "more than one user: no second refusal";

  Select(main, 3);
  ASSERT_TRUE(e2e::Click(main, IDC_SHOWPASS));
  ASSERT_TRUE(tool_.ExpectPlainMessage("u4 password is..."));
  Select(main, 0);
  ASSERT_TRUE(e2e::Click(main, IDC_KICK_USER));
  ASSERT_TRUE(tool_.ExpectPlainMessage("You can't remove the Administrator!!"));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());

  HWND add;
  Open(main, IDC_ADD_USER_BUT, kAddCaption, &add);
  Fill(add, {{IDC_UNAME, "Administrator"}, {IDC_ADDUSER_PASS1, "a"}, {IDC_ADDUSER_PASS2, "b"}});
  ASSERT_TRUE(e2e::Click(add, IDC_ADDUSER_OKBUT));
  ASSERT_TRUE(tool_.ExpectPlainMessage("There can only be one administrator!!!"));
  ExpectFields(add,
               {{IDC_UNAME, "Administrator"}, {IDC_ADDUSER_PASS1, "a"}, {IDC_ADDUSER_PASS2, "b"}});
  ASSERT_TRUE(e2e::TypeText(add, IDC_UNAME, "u5"));
  ASSERT_TRUE(e2e::Click(add, IDC_ADDUSER_OKBUT));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Passwords do not match"));
  ExpectFields(add, {{IDC_UNAME, "u5"}, {IDC_ADDUSER_PASS1, ""}, {IDC_ADDUSER_PASS2, ""}});
  ASSERT_TRUE(e2e::Click(add, IDC_ADDUSER_CANCELBUT));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kAddCaption));

  // Removing user 2 of 4 moves the last user into his slot.
  Select(main, 1);
  ASSERT_TRUE(e2e::Click(main, IDC_KICK_USER));
  ASSERT_TRUE(tool_.AnswerConfirmation(kRemoveQuestion, false));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
  Remove(main, 1);
  EXPECT_TRUE(WaitForList(main, {"Administrator", "u4", "u3"}));

  // u4 is picked, then removed while the dialog stands open: u3 now sits in his slot and must
  // keep his password.
  Select(main, 1);
  HWND set;
  Open(main, IDC_FORCEPASSCHANGE, kSetPasswordCaption, &set);
  Fill(set, {{IDC_MAKEPASS_PASS1, "a"}, {IDC_MAKEPASS_PASS2, "b"}});
  ASSERT_TRUE(e2e::Click(set, IDC_MAKEPASS_OKBUT));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Passwords do not match"));
  ExpectFields(set, {{IDC_MAKEPASS_PASS1, ""}, {IDC_MAKEPASS_PASS2, ""}});
  ActivateMain(main);
  Remove(main, 1);
  EXPECT_TRUE(WaitForList(main, {"Administrator", "u3"}));
  Fill(set, {{IDC_MAKEPASS_PASS1, "new"}, {IDC_MAKEPASS_PASS2, "new"}});
  ASSERT_TRUE(e2e::Click(set, IDC_MAKEPASS_OKBUT));
  ASSERT_TRUE(tool_.ExpectPlainMessage(
      "The list of users has changed since the user was selected. Select the user again."));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kSetPasswordCaption));

  // The add dialog left open across the administrator's logout adds nobody, silently.
  Open(main, IDC_ADD_USER_BUT, kAddCaption, &add);
  ASSERT_TRUE(e2e::Click(main, IDC_BUTTON3));
  Fill(add, {{IDC_UNAME, "zed"}, {IDC_ADDUSER_PASS1, "z"}, {IDC_ADDUSER_PASS2, "z"}});
  ASSERT_TRUE(e2e::Click(add, IDC_ADDUSER_OKBUT));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kAddCaption));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
  EXPECT_TRUE(WaitForList(main, {"Administrator", "u3"}));

  Quit(main);
  ExpectSaved({{"Administrator", "secret"}, {"u3", "p3"}});
}

TEST_F(AccountsE2E, AFullDatabankRefusesAnotherUserAndKeepsTheFields) {
  std::vector<User> users = {{"Administrator", "secret"}};
  for (int k = 2; k <= 255; ++k) {
    users.push_back({"u" + std::to_string(k), "p"});
  }
  ASSERT_TRUE(e2e::WriteDatabank(users));
  HWND main;
  Start(&main);
  LogIn(main, "Administrator", "secret");
  HWND add;
  Open(main, IDC_ADD_USER_BUT, kAddCaption, &add);
  Fill(add, {{IDC_UNAME, "late"}, {IDC_ADDUSER_PASS1, "p"}, {IDC_ADDUSER_PASS2, "p"}});
  ASSERT_TRUE(e2e::Click(add, IDC_ADDUSER_OKBUT));
  ASSERT_TRUE(tool_.ExpectPlainMessage(
      "The databank is full: it holds no more than 255 users. Remove a user first."));
  EXPECT_TRUE(IsWindowVisible(add));
  ExpectFields(add, {{IDC_UNAME, "late"}, {IDC_ADDUSER_PASS1, "p"}, {IDC_ADDUSER_PASS2, "p"}});
  Names items;
  ASSERT_TRUE(e2e::ListItems(main, IDC_USERS_BOX, &items));
  EXPECT_EQ(255u, items.size());
  EXPECT_EQ("u255", items.back());
}

}  // namespace
