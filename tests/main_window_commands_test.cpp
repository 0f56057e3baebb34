// The main window's command table read as the design's per-button tables: which commands test
// the administrator rights before doing anything, and which test nothing.
#include <gtest/gtest.h>

#include <set>

#include "app/main_window.h"
#include "ui/control_ids.h"

namespace {

using ui::Rights;

// Every administrator command returns without a word unless HasAdminRights() holds.
const std::set<int> kAdministratorCommands = {
    IDC_ADD_USER_BUT,  IDC_SHOWPASS,     IDC_FORCEPASSCHANGE,   IDC_KICK_USER,
    IDC_BUTTON1,       IDC_UNINSTALL,    IDC_TURN_ON_AUTOSTART, IDC_BUTTON2,
    IDC_CANCELDISABLE, IDC_CANCELENABLE, IDC_MAKESAFEMODE,      IDC_ENABLE_F8,
};

// The user functions, the menu and the credit links are for everybody; "Disable safemode" and
// "Disable hotkeys" test nothing and rely on the administrator group being hidden.
const std::set<int> kOpenCommands = {
    IDC_NAMECHANGE, IDC_CHANGE_PASSWORD, IDC_LOGIN,        IDC_BUTTON3, IDC_LABEL6,
    IDC_LABEL5,     IDM_QUIT1,           IDM_OPENHELP1,    IDM_README1, IDM_MAILTHEAUTHOR1,
    IDM_ABOUT1,     IDM_HOMEPAGE1,       IDC_NO_SAFE_MODE, IDC_NO_F8,
};

TEST(MainWindowCommandsTest, TheRightsColumnMatchesEachButtonsRule) {
  const auto rows = app::Tmain::Commands();
  for (int id : kAdministratorCommands) {
    const auto* row = rows.Find(id);
    ASSERT_NE(row, nullptr) << id;
    EXPECT_EQ(row->rights, Rights::kAdministrator) << id;
  }
  for (int id : kOpenCommands) {
    const auto* row = rows.Find(id);
    ASSERT_NE(row, nullptr) << id;
    EXPECT_EQ(row->rights, Rights::kAnyone) << id;
  }
}

TEST(MainWindowCommandsTest, EveryCommandHasOneRowAndNothingElseHasOne) {
  std::set<int> seen;
  for (const auto& row : app::Tmain::Commands()) {
    EXPECT_TRUE(seen.insert(row.id).second) << "two rows for " << row.id;
    EXPECT_TRUE(kAdministratorCommands.count(row.id) + kOpenCommands.count(row.id) == 1)
        << "unexpected row " << row.id;
    EXPECT_NE(row.handler, nullptr) << row.id;
  }
  EXPECT_EQ(seen.size(), kAdministratorCommands.size() + kOpenCommands.size());
  // Clicking into the list or a group box is no command.
  for (int id : {IDC_USERS_BOX, IDC_ADMIN_BOX, IDC_ADVANCED_BOX, IDC_GROUPBOX1}) {
    EXPECT_EQ(app::Tmain::Commands().Find(id), nullptr) << id;
  }
}

}  // namespace
