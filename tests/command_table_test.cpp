// The command table every window dispatches its clicks and menu choices through, and its rights
// column.
#include "ui/command_table.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

using ui::Command;
using ui::Rights;

// A window with a handler per row that records which handler ran.
struct Window {
  std::vector<std::string> ran;
  void OpenClick() { ran.push_back("open"); }
  void AdminClick() { ran.push_back("admin"); }
  void OtherAdminClick() { ran.push_back("other admin"); }
};

constexpr int kOpen = 10;
constexpr int kAdmin = 20;
constexpr int kOtherAdmin = 21;
constexpr int kUnknown = 99;

constexpr Command<Window> kTable[] = {
    {kOpen, &Window::OpenClick},  // rights left out: nothing is tested
    {kAdmin, &Window::AdminClick, Rights::kAdministrator},
    {kOtherAdmin, &Window::OtherAdminClick, Rights::kAdministrator},
};

TEST(CommandTableTest, EachIdRunsItsOwnRowOnly) {
  Window window;
  bool rights = true;
  ui::CommandDispatch dispatch = ui::BindCommands(window, kTable, [&rights] { return rights; });
  EXPECT_TRUE(dispatch(kOtherAdmin));
  EXPECT_TRUE(dispatch(kOpen));
  EXPECT_TRUE(dispatch(kAdmin));
  EXPECT_EQ(window.ran, (std::vector<std::string>{"other admin", "open", "admin"}));
}

TEST(CommandTableTest, AnIdWithoutARowRunsNothing) {
  Window window;
  ui::CommandDispatch dispatch = ui::BindCommands(window, kTable, [] { return true; });
  EXPECT_FALSE(dispatch(kUnknown));
  EXPECT_FALSE(dispatch(0));
  EXPECT_TRUE(window.ran.empty());
}

TEST(CommandTableTest, AdministratorRowsRunOnlyWhileTheRightsTestHolds) {
  Window window;
  bool rights = false;
  int asked = 0;
  ui::CommandDispatch dispatch = ui::BindCommands(window, kTable, [&] {
    ++asked;
    return rights;
  });
  // Refused silently: the row is taken, its handler does not run.
  EXPECT_TRUE(dispatch(kAdmin));
  EXPECT_TRUE(window.ran.empty());
  EXPECT_EQ(asked, 1);

  // The test is asked at every click, so a login in between counts at once.
  rights = true;
  EXPECT_TRUE(dispatch(kAdmin));
  EXPECT_EQ(window.ran, std::vector<std::string>{"admin"});
  EXPECT_EQ(asked, 2);
}

TEST(CommandTableTest, OpenRowsNeverAskTheRightsTest) {
  Window window;
  int asked = 0;
  ui::CommandDispatch dispatch = ui::BindCommands(window, kTable, [&asked] {
    ++asked;
    return false;
  });
  EXPECT_TRUE(dispatch(kOpen));
  EXPECT_EQ(window.ran, std::vector<std::string>{"open"});
  EXPECT_EQ(asked, 0);
}

TEST(CommandTableTest, WithoutARightsTestAdministratorRowsStayClosed) {
  Window window;
  ui::CommandDispatch dispatch = ui::BindCommands(window, kTable);
  EXPECT_TRUE(dispatch(kAdmin));
  EXPECT_TRUE(dispatch(kOpen));
  EXPECT_EQ(window.ran, std::vector<std::string>{"open"});
}

TEST(CommandTableTest, FindGivesTheRowAndItsRights) {
  const ui::CommandRows<Window> rows{kTable, std::size(kTable)};
  ASSERT_NE(rows.Find(kAdmin), nullptr);
  EXPECT_EQ(rows.Find(kAdmin)->rights, Rights::kAdministrator);
  EXPECT_EQ(rows.Find(kOpen)->rights, Rights::kAnyone);
  EXPECT_EQ(rows.Find(kUnknown), nullptr);
}

}  // namespace
