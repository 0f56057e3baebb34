// End-to-end tests of the status bar hints, the link labels' hover looks, the help commands, the
// about box and the login log view: the real program under Wine, the mouse moved over its
// controls for real, and what the shell is handed observed from outside.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace {

constexpr char kAboutCaption[] = "About korvane Configuration";
constexpr char kAboutText[] =
    "Use this program to configure your user settings for the Korvane password protection program";
constexpr char kLogCopyName[] = "korvanelog";
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);
// The key of the status bar's picture 0.
constexpr COLORREF kKeyGold = RGB(200, 160, 0);

// How many pixels of the control (or of `part` of it, in its client coordinates) show this
// colour, read from its top-level window's surface.
int PixelsOf(HWND control, COLORREF colour, const RECT* part = nullptr) {
  HWND top = GetAncestor(control, GA_ROOT);
  RECT frame, rect;
  GetWindowRect(top, &frame);
  GetWindowRect(control, &rect);
  if (part) {
    POINT origin{0, 0};
    ClientToScreen(control, &origin);
    rect = {origin.x + part->left, origin.y + part->top, origin.x + part->right,
            origin.y + part->bottom};
  }
  e2e::WindowPixels shot;
  if (!e2e::CaptureWindow(top, false, shot)) {
    return 0;
  }
  const int left = std::max(0, static_cast<int>(rect.left - frame.left));
  const int right = std::min(shot.width, static_cast<int>(rect.right - frame.left));
  const int top_row = std::max(0, static_cast<int>(rect.top - frame.top));
  const int bottom_row = std::min(shot.height, static_cast<int>(rect.bottom - frame.top));
  int count = 0;
  for (int y = top_row; y < bottom_row; ++y) {
    for (int x = left; x < right; ++x) {
      if (shot.At(x, y) == colour) {
        ++count;
      }
    }
  }
  return count;
}

bool ContainsNoCase(std::string text, std::string part) {
  for (std::string* s : {&text, &part}) {
    std::transform(s->begin(), s->end(), s->begin(),
                   [](unsigned char c) { return std::tolower(c); });
  }
  return text.find(part) != std::string::npos;
}

testing::AssertionResult EndsWithNoCase(const std::string& text, const std::string& end) {
  if (text.size() >= end.size() && ContainsNoCase(text.substr(text.size() - end.size()), end)) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "\"" << text << "\" does not end in \"" << end << "\"";
}

struct ViewerSearch {
  DWORD tool_pid;
  std::string part;
  std::vector<HWND> found;
};

// An enumeration callback is stdcall on 32-bit x86, which a lambda cannot be converted to.
BOOL CALLBACK CollectViewer(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ViewerSearch*>(param);  // NOLINT(performance-no-int-to-ptr)
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->tool_pid && pid != GetCurrentProcessId() && IsWindowVisible(window) &&
      ContainsNoCase(e2e::WindowText(window), search->part)) {
    search->found.push_back(window);
  }
  return TRUE;
}

// Visible top-level windows of other programs (not the tool, not this test) whose caption holds
// `part`: what the shell started to show a document.
std::vector<HWND> ViewerWindows(DWORD tool_pid, const std::string& part) {
  ViewerSearch search{tool_pid, part, {}};
  EnumWindows(CollectViewer, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Ends the programs that own these windows, so that nothing the shell started outlives a test.
void EndViewers(const std::vector<HWND>& windows) {
  for (HWND window : windows) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process) {
      continue;
    }
    TerminateProcess(process, 0);
    WaitForSingleObject(process, e2e::kTimeoutMs);
    CloseHandle(process);
  }
}

// Points one file type's or protocol's open command of the prefix (a key of HKEY_CLASSES_ROOT,
// its default value) elsewhere for the life of the object, then puts back what was there. A key
// that did not exist is removed again, but not the keys made above it.
class ScopedClassValue {
 public:
  ScopedClassValue(const std::string& key, const std::string& value) : key_(key) {
    char old[1024];
    LONG size = sizeof old;
    had_value_ = RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), old, &size) == ERROR_SUCCESS;
    if (had_value_) {
      old_ = old;
    }
    set_ = RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
  }
  ~ScopedClassValue() {
    if (had_value_) {
      RegSetValueA(HKEY_CLASSES_ROOT, key_.c_str(), REG_SZ, old_.c_str(),
                   static_cast<DWORD>(old_.size()));
    } else {
      RegDeleteTreeA(HKEY_CLASSES_ROOT, key_.c_str());
    }
  }
  ScopedClassValue(const ScopedClassValue&) = delete;
  ScopedClassValue& operator=(const ScopedClassValue&) = delete;
  bool set() const { return set_; }

 private:
  std::string key_;
  std::string old_;
  bool had_value_ = false;
  bool set_ = false;
};

class FeedbackE2E : public e2e::ToolTest {
 protected:
  void SetUp() override {
    e2e::ToolTest::SetUp();
    // The pointer stays where the last test left it: park it off the centred main window.
    SetCursorPos(0, 0);
  }

  void TearDown() override {
    EndViewers(ViewerWindows(tool_.pid(), kLogCopyName));
    if (added_text_type_) {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, ".txt");
    }
    e2e::ToolTest::TearDown();
  }

  void StartTool() {
    ASSERT_TRUE(tool_.Start());
    ASSERT_TRUE(tool_.WaitForMainWindow(&main_));
  }

  // A fresh prefix may lack the ".txt" file type that every Windows has; without it the shell has
  // nothing to open the log copy with.
  void RegisterTextFiles() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".txt", 0, KEY_READ, &key) == ERROR_SUCCESS) {
      RegCloseKey(key);
      return;
    }
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, ".txt", 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &key, nullptr));
    added_text_type_ = true;
    const char type[] = "txtfile";
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(type), sizeof type);
    RegCloseKey(key);
  }

  testing::AssertionResult WaitForPanel(int panel, const std::string& expected) {
    std::string text;
    for (int i = 0; i < 200; ++i, Sleep(20)) {
      auto r = tool_.ReadStatusPanel(panel, &text);
      if (!r) {
        return r;
      }
      if (text == expected) {
        return testing::AssertionSuccess();
      }
    }
    return testing::AssertionFailure() << "status panel " << panel << " reads \"" << text
                                       << "\", expected \"" << expected << "\"";
  }

  // The mouse goes over the control; panel 1 must come to read `hint`.
  testing::AssertionResult HoverShows(int id, const std::string& hint) {
    auto moved = e2e::MoveMouseOver(main_, id);
    if (!moved) {
      return moved;
    }
    return WaitForPanel(1, hint) << " after moving over control " << id;
  }

  // The mouse goes to `client` of the main window; after a quiet while panel 1 still reads `hint`.
  testing::AssertionResult HoverLeaves(POINT client, const std::string& hint) {
    auto moved = e2e::MoveMouseTo(main_, client);
    if (!moved) {
      return moved;
    }
    Sleep(e2e::kQuietMs);
    std::string text;
    auto r = tool_.ReadStatusPanel(1, &text);
    if (!r) {
      return r;
    }
    if (text == hint) {
      return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "panel 1 changed to \"" << text << "\" at " << client.x << "," << client.y;
  }

  // A shown tool tip of the tool comes to read `tip`; for an empty `tip`, no tip is shown.
  testing::AssertionResult WaitForToolTip(const std::string& tip) {
    std::string seen;
    for (int i = 0; i < 150; ++i, Sleep(20)) {
      seen.clear();
      for (HWND window : tool_.TopLevelWindows()) {
        if (e2e::ClassName(window).find("tooltips_class32") != std::string::npos &&
            IsWindowVisible(window)) {
          seen = e2e::WindowText(window);
        }
      }
      if (seen == tip) {
        return testing::AssertionSuccess();
      }
    }
    return testing::AssertionFailure()
           << "the tool tip reads \"" << seen << "\", expected \"" << tip << "\"";
  }

  // A link label's caption, and its colour as painted: white when lit, red otherwise.
  testing::AssertionResult HasLook(int id, const std::string& caption, bool lit) {
    HWND label = e2e::FindControl(main_, id);
    std::string seen;
    int white = 0, red = 0;
    for (int i = 0; i < 50; ++i, Sleep(20)) {
      seen = e2e::WindowText(label);
      white = PixelsOf(label, kWhite);
      red = PixelsOf(label, kRed);
      if (seen == caption && (lit ? white > 0 && red == 0 : red > 0 && white == 0)) {
        return testing::AssertionSuccess();
      }
    }
    return testing::AssertionFailure()
           << "label " << id << " reads \"" << seen << "\" with " << white << " white and " << red
           << " red pixels, expected \"" << caption << "\" " << (lit ? "lit" : "in red");
  }

  HWND main_ = nullptr;
  bool added_text_type_ = false;
};

TEST_F(FeedbackE2E, HintsAndLinkLooksFollowTheMouse) {
  StartTool();
  EXPECT_TRUE(HoverShows(IDC_NAMECHANGE, "Change your username."));
  EXPECT_TRUE(HoverShows(IDC_CHANGE_PASSWORD, "Change your password"));
  EXPECT_TRUE(HoverShows(IDC_LOGIN, "Login to configuration."));
  EXPECT_TRUE(HoverShows(IDC_BUTTON3, "Logout of configuration"));

  EXPECT_TRUE(HoverShows(IDC_LABEL6, "Email the author."));
  EXPECT_TRUE(HasLook(IDC_LABEL6, "ARDO VENNICK", true));
  EXPECT_TRUE(HasLook(IDC_LABEL5, "Tarnwick Keep", false));
  EXPECT_TRUE(e2e::SaveScreenshot(main_, "lit_link.png"));

  // Straight from one link to the other: the first goes back to normal.
  EXPECT_TRUE(HoverShows(IDC_LABEL5, "Visit Korvane's homepage"));
  EXPECT_TRUE(HasLook(IDC_LABEL6, "Ardo Vennick", false));
  EXPECT_TRUE(HasLook(IDC_LABEL5, "TARNWICK KEEP", true));

  // Group boxes and the administrator features have no hint: nothing changes over them. The
  // point lies in "User functions" between "Change user name" and "Change password".
  EXPECT_TRUE(HoverLeaves({80, 52}, "Visit Korvane's homepage"));
  for (int id : {IDC_ADD_USER_BUT, IDC_USERS_BOX, IDC_UNINSTALL, IDC_NO_F8}) {
    HWND control = e2e::FindControl(main_, id);
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_TRUE(HoverLeaves({rect.left + 5, rect.top + 5}, "Visit Korvane's homepage")) << id;
  }
  EXPECT_TRUE(HasLook(IDC_LABEL5, "TARNWICK KEEP", true));

  // The window's own surface, below the credit block's links and left of the administrator group.
  ASSERT_TRUE(e2e::MoveMouseTo(main_, {120, 300}));
  EXPECT_TRUE(WaitForPanel(1, "Ready"));
  EXPECT_TRUE(HasLook(IDC_LABEL5, "Tarnwick Keep", false));
  EXPECT_TRUE(HasLook(IDC_LABEL6, "Ardo Vennick", false));

  // Panels 0 and 3 (25 pixels wide, the last one to the right end) show picture 0, the key.
  HWND bar = e2e::FindControl(main_, IDC_STATBAR);
  RECT bar_rect;
  GetClientRect(bar, &bar_rect);
  const RECT first{0, 0, 25, bar_rect.bottom};
  const RECT last{bar_rect.right - 25, 0, bar_rect.right, bar_rect.bottom};
  EXPECT_GT(PixelsOf(bar, kKeyGold, &first), 10);
  EXPECT_GT(PixelsOf(bar, kKeyGold, &last), 10);

  std::string login;
  ASSERT_TRUE(tool_.ReadStatusPanel(2, &login));
  EXPECT_EQ("Not logged in", login) << "hints never write the login panel";
}

// The buttons of the advanced configuration and the box's own free surface show their tips when
// the mouse rests on them; "Disable hotkeys" has none. A first start, so the box is shown.
TEST_F(FeedbackE2E, AdvancedConfigurationShowsItsToolTips) {
  StartTool();
  const struct {
    int id;
    const char* tip;
  } tips[] = {
      {IDC_TURN_ON_AUTOSTART, "Load ZVK Login on startup"},
      {IDC_BUTTON2, "Stop ZVK Login from loading on startup"},
      {IDC_MAKESAFEMODE, "Enable the computer to boot in safemode"},
      {IDC_NO_SAFE_MODE, "Prevent users from booting in safemode"},
      {IDC_CANCELENABLE, "Enable F5 F8 etc on boot"},
  };
  for (const auto& tip : tips) {
    ASSERT_TRUE(e2e::MoveMouseOver(main_, tip.id));
    EXPECT_TRUE(WaitForToolTip(tip.tip)) << "over control " << tip.id;
  }
  ASSERT_TRUE(e2e::MoveMouseOver(main_, IDC_NO_F8));
  EXPECT_TRUE(WaitForToolTip("")) << "over Disable hotkeys";

  // The box's free surface between its two button columns, below the last row.
  HWND box = e2e::FindControl(main_, IDC_ADVANCED_BOX);
  RECT rect;
  GetWindowRect(box, &rect);
  MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&rect), 2);
  ASSERT_TRUE(e2e::MoveMouseTo(main_, {rect.left + 124, rect.bottom - 6}));
  EXPECT_TRUE(WaitForToolTip("Prevent F5 F8 etc to work while booting."));
}

// Every help command and link hands its document or address to the shell. The prefix's open
// commands for web pages, text files, "mailto:" and "http:" are pointed at a recorder that
// appends what it was given to a file, so nothing is really started.
TEST_F(FeedbackE2E, HelpCommandsAndLinksOpenTheirDocumentsAndAddresses) {
  static constexpr char kRecorderType[] = "KorvaneE2E.Recorder";
  const std::string work = e2e::Tool::kDefaultWorkDir;
  const std::string record = work + "\\opened.txt";
  const std::string recorder = "C:\\windows\\system32\\cmd.exe /c echo %1>>" + record;
  struct Cleanup {
    std::vector<std::string> files;
    ~Cleanup() {
      for (const std::string& file : files) {
        DeleteFileA(file.c_str());
      }
      RegDeleteTreeA(HKEY_CLASSES_ROOT, kRecorderType);
    }
  } cleanup{{record, work + "\\help.html", work + "\\readme.txt"}};
  const ScopedClassValue handlers[] = {
      {std::string(kRecorderType) + "\\shell\\open\\command", recorder},
      {".html", kRecorderType},
      {".txt", kRecorderType},
      {"mailto\\shell\\open\\command", recorder},
      {"http\\shell\\open\\command", recorder},
  };
  for (const ScopedClassValue& handler : handlers) {
    ASSERT_TRUE(handler.set());
  }
  ASSERT_TRUE(e2e::WriteFileBytes(work + "\\help.html", "<html></html>"));
  ASSERT_TRUE(e2e::WriteFileBytes(work + "\\readme.txt", "readme\r\n"));
  StartTool();

  std::size_t recorded = 0;
  // The last line the recorder wrote once the action has run, quotes and line end taken off.
  auto opened = [&](const char* what, const std::function<void()>& action) -> std::string {
    SCOPED_TRACE(what);
    action();
    std::string bytes;
    std::vector<std::string> lines;
    for (int i = 0; i < 100 && lines.size() <= recorded; ++i, Sleep(50)) {
      lines.clear();
      if (!e2e::FileExists(record) || !e2e::ReadFileBytes(record, &bytes)) {
        continue;
      }
      std::size_t start = 0;
      for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos;
           start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
      }
    }
    if (lines.size() <= recorded) {
      return "(nothing opened)";
    }
    recorded = lines.size();
    std::string line = lines.back();
    line.erase(std::remove(line.begin(), line.end(), '"'), line.end());
    while (!line.empty() && line.back() == ' ') {
      line.pop_back();
    }
    return line;
  };
  const std::string mail = "mailto:ardo.vennick@tarnwickkeep.example?subject=Korvane";
  const std::string home = "http://www.tarnwickkeep.example/software/index.html";

  // The shell resolves the bare name: Wine looks beside the program first, where the build
  // ships the two files, then in the current directory.
  EXPECT_TRUE(
      EndsWithNoCase(opened("Open Help", [&] { tool_.ChooseMenu(IDM_OPENHELP1); }), "\\help.html"));
  EXPECT_TRUE(EndsWithNoCase(opened("View the readme", [&] { tool_.ChooseMenu(IDM_README1); }),
                             "\\readme.txt"));
  EXPECT_EQ(mail, opened("Mail the author", [&] { tool_.ChooseMenu(IDM_MAILTHEAUTHOR1); }));
  EXPECT_EQ(home, opened("Homepage", [&] { tool_.ChooseMenu(IDM_HOMEPAGE1); }));
  EXPECT_EQ(mail, opened("author link", [&] { e2e::ClickInto(main_, IDC_LABEL6); }));
  EXPECT_EQ(home, opened("maker link", [&] { e2e::ClickInto(main_, IDC_LABEL5); }));
  ASSERT_TRUE(tool_.ChooseMenu(IDM_ABOUT1));
  HWND about;
  ASSERT_TRUE(tool_.WaitForWindow(kAboutCaption, &about));
  EXPECT_EQ(mail, opened("about box link", [&] { e2e::ClickInto(about, IDC_ABOUT_LABEL2); }));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
}

TEST_F(FeedbackE2E, AboutBoxHidesOnlyByOkOrEnter) {
  StartTool();
  ASSERT_TRUE(tool_.ChooseMenu(IDM_ABOUT1));
  HWND about;
  ASSERT_TRUE(tool_.WaitForWindow(kAboutCaption, &about));
  std::string copyright, author, text;
  ASSERT_TRUE(e2e::ControlText(main_, IDC_LABEL2, &copyright));
  EXPECT_TRUE(e2e::WaitForControlText(about, IDC_ABOUT_COPYRIGHT, copyright));
  EXPECT_TRUE(e2e::WaitForControlText(about, IDC_ABOUT_LABEL2, "Ardo Vennick"));
  EXPECT_TRUE(e2e::WaitForControlText(about, IDC_ABOUT_TEXT, kAboutText));
  EXPECT_TRUE(e2e::WaitForControlText(about, IDC_ABOUT_OKBUT, "Ok"));
  EXPECT_GT(PixelsOf(e2e::FindControl(about, IDC_ABOUT_LABEL2), kBlue), 0) << "author link in blue";
  EXPECT_TRUE(e2e::SaveScreenshot(about, "about_box.png"));

  // The close box, Alt+F4 and a plain close request are all ignored.
  PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageA(about, WM_CLOSE, 0, 0);
  Sleep(e2e::kQuietMs);
  EXPECT_TRUE(IsWindowVisible(about)) << "the close command hid the about box";

  // Enter anywhere in the box presses "Ok", here with the long text under the key.
  ASSERT_TRUE(e2e::PressEnter(about, IDC_ABOUT_TEXT));
  EXPECT_TRUE(tool_.WaitForWindowHidden(kAboutCaption));

  ASSERT_TRUE(tool_.ChooseMenu(IDM_ABOUT1));
  ASSERT_TRUE(tool_.WaitForWindow(kAboutCaption, &about));
  ASSERT_TRUE(e2e::Click(about, IDC_ABOUT_OKBUT));
  EXPECT_TRUE(tool_.WaitForWindowHidden(kAboutCaption));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
  EXPECT_TRUE(tool_.Running());
}

// Without a log nothing is copied and nothing is said; with one, the copy replaces an older one
// and the shell shows it (here in the text viewer that ".txt" files open with).
TEST_F(FeedbackE2E, ViewLoginInfoCopiesTheLogAndHandsTheCopyToTheShell) {
  RegisterTextFiles();
  StartTool();
  ASSERT_TRUE(e2e::Click(main_, IDC_BUTTON1));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
  EXPECT_FALSE(e2e::FileExists(e2e::kLogCopyPath));
  EXPECT_TRUE(ViewerWindows(tool_.pid(), kLogCopyName).empty());

  const std::string log = "12.03.2003 10:15 Administrator\r\n12.03.2003 11:02 guest\r\n";
  ASSERT_TRUE(e2e::WriteFileBytes(e2e::kLogPath, log));
  ASSERT_TRUE(e2e::WriteFileBytes(e2e::kLogCopyPath, std::string(300, '-') + "\r\n"));
  ASSERT_TRUE(e2e::Click(main_, IDC_BUTTON1));
  std::vector<HWND> viewers;
  for (int i = 0; i < 100 && viewers.empty(); ++i, Sleep(100)) {
    viewers = ViewerWindows(tool_.pid(), kLogCopyName);
  }
  ASSERT_FALSE(viewers.empty()) << "the shell showed no window with the log copy";
  std::string copy;
  ASSERT_TRUE(e2e::ReadFileBytes(e2e::kLogCopyPath, &copy));
  EXPECT_EQ(log, copy);
  HWND edit = nullptr;
  for (int i = 0; i < 50 && !edit; ++i, Sleep(100)) {
    edit = FindWindowExA(viewers.front(), nullptr, "Edit", nullptr);
  }
  ASSERT_NE(nullptr, edit);
  std::string shown;
  for (int i = 0; i < 50 && shown != log; ++i, Sleep(100)) {
    shown = e2e::WindowText(edit);
  }
  EXPECT_EQ(log, shown) << "the viewer shows the fresh copy";
  EndViewers(viewers);
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
}

TEST_F(FeedbackE2E, ViewLoginInfoDoesNothingWithoutAdministratorRights) {
  ASSERT_TRUE(e2e::WriteDatabank({{"Administrator", "secret"}, {"guest", "pw"}}));
  ASSERT_TRUE(e2e::WriteFileBytes(e2e::kLogPath, "log\r\n"));
  StartTool();
  // The button is hidden with the administrator group; its command is sent as a click would.
  PostMessageA(main_, WM_COMMAND, MAKEWPARAM(IDC_BUTTON1, BN_CLICKED),
               reinterpret_cast<LPARAM>(e2e::FindControl(main_, IDC_BUTTON1)));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
  EXPECT_FALSE(e2e::FileExists(e2e::kLogCopyPath));
  EXPECT_TRUE(ViewerWindows(tool_.pid(), kLogCopyName).empty());
}

}  // namespace
