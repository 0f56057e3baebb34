// End-to-end tests of the registry settings and of Uninstall: the real program under Wine, its
// open-file dialog and questions worked from outside, the prefix's registry checked afterwards.
//
// The registry is read through the tool's own Win32 backend, so the checks look at the same
// view of HKEY_LOCAL_MACHINE (the 32-bit one) that the tool writes.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/product_settings.h"
#include "e2e/driver.h"
#include "platform/win32/win32_registry.h"
#include "ui/control_ids.h"

namespace {

constexpr char kDialogTitle[] = "Choose ZVK Korvane executable file";
constexpr char kChooseMessage[] = "Please choose the location of Korvane!";
constexpr char kEnabledMessage[] = "Autostart enabled!";
constexpr char kDisableQuestion[] =
    "Are you sure you wish disable autostart of the program, NOT recommended!!";
constexpr char kUninstallQuestion[] = "Are you sure you wish to uninstall this program!!";
constexpr char kExecutableDir[] = "c:\\korvane_e2e\\bin";

// The file name field of the open-file dialog: a combo box in the explorer style, an edit field
// in the old style.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;

void RemoveSettings() {
  platform::Win32Registry registry;
  core::RemoveProductSettings(registry);
  registry.DeleteKeyTree("SOFTWARE\\Tarnwick Keep");
}

bool AutostartValue(std::string* path) {
  platform::Win32Registry registry;
  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(core::kRunServicesKey, false, key) != platform::kNoError) return false;
  platform::RegistryValue value;
  if (key->ReadValue(core::kAutostartValue, value) != platform::kNoError) return false;
  if (value.type != platform::kRegString || value.data.empty() || value.data.back() != '\0') {
    return false;
  }
  *path = value.data.substr(0, value.data.size() - 1);
  return true;
}

void SetAutostartValue(const std::string& path) {
  platform::Win32Registry registry;
  core::EnableAutostart(registry, path);
}

// The "cancel" value as its raw bytes; empty when missing.
std::string CancelBytes() {
  platform::Win32Registry registry;
  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(core::kProductKey, false, key) != platform::kNoError) return "";
  platform::RegistryValue value;
  if (key->ReadValue(core::kCancelValue, value) != platform::kNoError) return "";
  if (value.type != platform::kRegDword) return "wrong type";
  return value.data;
}

void CreateProductKey(const std::string& relative = "") {
  platform::Win32Registry registry;
  std::unique_ptr<platform::RegistryKey> key;
  registry.OpenKey(std::string(core::kProductKey) + relative, true, key);
}

bool SamePath(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.c_str(),
                                                -1, b.c_str(), -1) == CSTR_EQUAL;
}

class SettingsE2E : public e2e::ToolTest {
 protected:
  void SetUp() override {
    e2e::ToolTest::SetUp();
    RemoveSettings();
    CreateDirectoryA(e2e::Tool::kDefaultWorkDir, nullptr);
    CreateDirectoryA(kExecutableDir, nullptr);
  }
  void TearDown() override {
    e2e::ToolTest::TearDown();
    RemoveSettings();
    for (const char* name : {"Korvane.exe", "Second.exe"}) {
      DeleteFileA((std::string(kExecutableDir) + "\\" + name).c_str());
    }
    RemoveDirectoryA(kExecutableDir);
  }

  // Starts the tool on an empty databank, where every administrator feature is open.
  void StartEmpty(HWND* main) {
    ASSERT_TRUE(tool_.Start());
    ASSERT_TRUE(tool_.WaitForMainWindow(main));
  }

  // After an uninstall a new start finds no databank: it creates an empty one and shows an
  // empty table.
  void ExpectFreshStart() {
    tool_.Kill();
    ASSERT_TRUE(tool_.Start());
    HWND main;
    ASSERT_TRUE(tool_.WaitForMainWindow(&main));
    std::vector<std::string> items;
    ASSERT_TRUE(e2e::ListItems(main, IDC_USERS_BOX, &items));
    EXPECT_TRUE(items.empty());
    std::string bytes;
    ASSERT_TRUE(e2e::ReadFileBytes(e2e::kDatabankPath, &bytes));
    EXPECT_EQ(bytes.size(), 0u);
  }

  void StartAsAdministrator(HWND* main) {
    ASSERT_TRUE(e2e::WriteDatabank({{"Administrator", "secret"}, {"guest", "pw"}}));
    ASSERT_TRUE(tool_.Start());
    ASSERT_TRUE(tool_.WaitForMainWindow(main));
    ASSERT_TRUE(tool_.LogIn(*main, "Administrator", "secret"));
    bool shown = false;
    for (int i = 0; i < 50 && !shown; ++i, Sleep(100))
      e2e::ControlShown(*main, IDC_ADVANCED_BOX, &shown);
    ASSERT_TRUE(shown) << "the administrator group did not appear";
  }

  testing::AssertionResult FileNameField(HWND dialog, int* id) {
    for (int candidate : {kFileNameCombo, kFileNameEdit}) {
      if (e2e::FindControl(dialog, candidate) != nullptr) {
        *id = candidate;
        return testing::AssertionSuccess();
      }
    }
    return testing::AssertionFailure() << "no file name field in the open-file dialog";
  }

  // A push button of the dialog by its id. The id alone is not enough: Wine's file dialog has a
  // list view and a tool bar that carry IDOK's number too.
  static HWND DialogButton(HWND dialog, int id) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetDlgCtrlID(child) == id && e2e::ClassName(child) == "Button") {
        return child;
      }
    }
    return nullptr;
  }

  // Presses "Enable autostart" and answers its first message; gives the open-file dialog.
  void OpenFileDialog(HWND main, HWND* dialog) {
    ASSERT_TRUE(e2e::Click(main, IDC_TURN_ON_AUTOSTART));
    ASSERT_TRUE(tool_.ExpectPlainMessage(kChooseMessage));
    ASSERT_TRUE(tool_.WaitForWindow(kDialogTitle, dialog));
  }

  enum class Confirm { kOpenButton, kEnterKey };

  // Types `name` into the open-file dialog's file name field and presses Open, or Enter in the
  // edit field inside it.
  void ChooseInDialog(HWND dialog, const std::string& name, Confirm confirm) {
    int field = 0;
    ASSERT_TRUE(FileNameField(dialog, &field));
    ASSERT_TRUE(e2e::TypeText(dialog, field, name));
    if (confirm == Confirm::kOpenButton) {
      ASSERT_TRUE(e2e::ClickButton(DialogButton(dialog, IDOK)));
      return;
    }
    HWND edit = e2e::FindControlByCaption(dialog, name, "Edit");
    ASSERT_NE(edit, nullptr) << "no edit field holding " << name;
    ASSERT_TRUE(e2e::PressEnter(GetParent(edit), GetDlgCtrlID(edit)));
  }
};

TEST_F(SettingsE2E, EnablingAutostartStoresTheChosenFileAndProposesItNextTime) {
  const std::string first = std::string(kExecutableDir) + "\\Korvane.exe";
  ASSERT_TRUE(e2e::WriteFileBytes(first, "MZ"));
  HWND main;
  StartEmpty(&main);

  HWND dialog;
  OpenFileDialog(main, &dialog);
  int field = 0;
  ASSERT_TRUE(FileNameField(dialog, &field));
  std::string proposed;
  ASSERT_TRUE(e2e::ControlText(dialog, field, &proposed));
  EXPECT_EQ(proposed, "Korvane.exe");
  ChooseInDialog(dialog, first, Confirm::kOpenButton);
  ASSERT_TRUE(tool_.ExpectPlainMessage(kEnabledMessage));
  std::string stored;
  ASSERT_TRUE(AutostartValue(&stored));
  EXPECT_TRUE(SamePath(stored, first)) << stored;

  // The second use proposes the first choice; a name typed without extension gets ".exe", and
  // Enter in the name field opens like the button.
  OpenFileDialog(main, &dialog);
  ASSERT_TRUE(e2e::ControlText(dialog, field, &proposed));
  EXPECT_NE(proposed.find("Korvane.exe"), std::string::npos) << proposed;
  const std::string second = std::string(kExecutableDir) + "\\Second";
  ASSERT_TRUE(e2e::WriteFileBytes(second + ".exe", "MZ"));
  ChooseInDialog(dialog, second, Confirm::kEnterKey);
  ASSERT_TRUE(tool_.ExpectPlainMessage(kEnabledMessage));
  ASSERT_TRUE(AutostartValue(&stored));
  EXPECT_TRUE(SamePath(stored, second + ".exe")) << stored;
}

TEST_F(SettingsE2E, CancellingTheFileDialogKeepsTheEntryAndSaysNothing) {
  SetAutostartValue("C:\\Old\\Korvane.exe");
  HWND main;
  StartEmpty(&main);
  HWND dialog;
  OpenFileDialog(main, &dialog);
  ASSERT_TRUE(e2e::ClickButton(DialogButton(dialog, IDCANCEL)));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kDialogTitle));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
  std::string stored;
  ASSERT_TRUE(AutostartValue(&stored));
  EXPECT_EQ(stored, "C:\\Old\\Korvane.exe");
}

TEST_F(SettingsE2E, DisablingAutostartAsksFirst) {
  SetAutostartValue("C:\\Korvane.exe");
  HWND main;
  StartEmpty(&main);
  std::string stored;

  ASSERT_TRUE(e2e::Click(main, IDC_BUTTON2));
  ASSERT_TRUE(tool_.AnswerConfirmation(kDisableQuestion, false));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
  EXPECT_TRUE(AutostartValue(&stored));

  ASSERT_TRUE(e2e::Click(main, IDC_BUTTON2));
  ASSERT_TRUE(tool_.AnswerConfirmation(kDisableQuestion, true));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
  EXPECT_FALSE(AutostartValue(&stored));

  // Without an entry nothing shows after the question either.
  ASSERT_TRUE(e2e::Click(main, IDC_BUTTON2));
  ASSERT_TRUE(tool_.AnswerConfirmation(kDisableQuestion, true));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
}

TEST_F(SettingsE2E, CancelButtonsWriteTheSwitchIntoKorvanesKey) {
  CreateProductKey();
  HWND main;
  StartEmpty(&main);
  ASSERT_TRUE(e2e::Click(main, IDC_CANCELENABLE));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Cancel enabled in Korvane"));
  EXPECT_EQ(CancelBytes(), std::string("\x01\x00\x00\x00", 4));
  ASSERT_TRUE(e2e::Click(main, IDC_CANCELDISABLE));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Cancel disabled in Korvane"));
  EXPECT_EQ(CancelBytes(), std::string("\x00\x00\x00\x00", 4));
}

TEST_F(SettingsE2E, CancelWithoutKorvanesKeyCreatesNothingAndStillReports) {
  HWND main;
  StartEmpty(&main);
  ASSERT_TRUE(e2e::Click(main, IDC_CANCELENABLE));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Cancel enabled in Korvane"));
  ASSERT_TRUE(e2e::Click(main, IDC_CANCELDISABLE));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Cancel disabled in Korvane"));
  platform::Win32Registry registry;
  EXPECT_FALSE(registry.KeyExists(core::kProductKey));
}

TEST_F(SettingsE2E, CommandsOfOtherUsersDoNothing) {
  SetAutostartValue("C:\\Korvane.exe");
  CreateProductKey();
  ASSERT_TRUE(e2e::WriteDatabank({{"Administrator", "secret"}}));
  ASSERT_TRUE(tool_.Start());
  HWND main;
  ASSERT_TRUE(tool_.WaitForMainWindow(&main));
  for (int id :
       {IDC_TURN_ON_AUTOSTART, IDC_BUTTON2, IDC_CANCELENABLE, IDC_CANCELDISABLE, IDC_UNINSTALL}) {
    SCOPED_TRACE(id);
    e2e::PostCommand(main, id);
    EXPECT_TRUE(tool_.ExpectNoMessageBox());
  }
  std::string stored;
  EXPECT_TRUE(AutostartValue(&stored));
  EXPECT_EQ(CancelBytes(), "");
  EXPECT_TRUE(tool_.Running());
  EXPECT_TRUE(e2e::FileExists(e2e::kDatabankPath));
}

TEST_F(SettingsE2E, AnsweringNoToUninstallChangesNothing) {
  SetAutostartValue("C:\\Korvane.exe");
  CreateProductKey();
  HWND main;
  StartAsAdministrator(&main);
  ASSERT_TRUE(e2e::Click(main, IDC_UNINSTALL));
  ASSERT_TRUE(tool_.AnswerConfirmation(kUninstallQuestion, false));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
  EXPECT_TRUE(tool_.Running());
  std::vector<std::string> items;
  ASSERT_TRUE(e2e::ListItems(main, IDC_USERS_BOX, &items));
  EXPECT_EQ(items.size(), 2u);
  std::string stored;
  EXPECT_TRUE(AutostartValue(&stored));
  platform::Win32Registry registry;
  EXPECT_TRUE(registry.KeyExists(core::kProductKey));
  std::vector<e2e::User> users;
  ASSERT_TRUE(e2e::ReadDatabank(&users));
  EXPECT_EQ(users.size(), 2u);
}

TEST_F(SettingsE2E, UninstallRemovesEverythingAndTheNextStartIsEmpty) {
  SetAutostartValue("C:\\Korvane.exe");
  CreateProductKey("\\Sub\\Deeper");
  {
    platform::Win32Registry registry;
    ASSERT_TRUE(core::SetCancel(registry, true));
  }
  HWND main;
  StartAsAdministrator(&main);
  ASSERT_TRUE(e2e::Click(main, IDC_UNINSTALL));
  ASSERT_TRUE(tool_.AnswerConfirmation(kUninstallQuestion, true));
  // No closing message: the run just ends, without saving.
  DWORD exit_code = 1;
  ASSERT_TRUE(tool_.WaitForExit(e2e::kTimeoutMs, &exit_code));
  EXPECT_EQ(exit_code, 0u);
  EXPECT_FALSE(e2e::FileExists(e2e::kDatabankPath));
  std::string stored;
  EXPECT_FALSE(AutostartValue(&stored));
  platform::Win32Registry registry;
  EXPECT_FALSE(registry.KeyExists(core::kProductKey));
  EXPECT_TRUE(registry.KeyExists(core::kRunServicesKey));

  ExpectFreshStart();
}

TEST_F(SettingsE2E, UninstallWithNothingInTheRegistryEndsSilently) {
  HWND main;
  StartEmpty(&main);
  ASSERT_TRUE(e2e::Click(main, IDC_UNINSTALL));
  ASSERT_TRUE(tool_.AnswerConfirmation(kUninstallQuestion, true));
  ASSERT_TRUE(tool_.WaitForExit());
  EXPECT_FALSE(e2e::FileExists(e2e::kDatabankPath));
}

TEST_F(SettingsE2E, CloseAndQuitQueuedBehindUninstallSaveNothing) {
  HWND main;
  StartEmpty(&main);
  ASSERT_TRUE(e2e::Click(main, IDC_UNINSTALL));
  e2e::MessageBoxInfo question;
  ASSERT_TRUE(tool_.WaitForMessageBox(&question));
  ASSERT_EQ(question.text, kUninstallQuestion);
  // Yes, and right behind it a close and a Quit, queued before Uninstall has ended the run.
  ASSERT_TRUE(e2e::ClickButton(e2e::FindControlByCaption(question.hwnd, "&Yes", "Button")));
  ASSERT_TRUE(tool_.PostClose());
  ASSERT_TRUE(tool_.ChooseMenu(IDM_QUIT1));
  ASSERT_TRUE(tool_.WaitForExit());
  EXPECT_FALSE(e2e::FileExists(e2e::kDatabankPath)) << "the databank was written again";
  ExpectFreshStart();
}

}  // namespace
