// The end-to-end driver: starts the real korvane_config.exe under Wine and works its windows
// from outside its process, the way a user would, since the program has no test hooks.
//
// Everything runs in the test program's own Wine prefix, so c:\ here is the c:\ the tool sees:
// the file helpers below read and write the tool's databank, boot file and log directly.
//
// Conventions of this API:
// - Functions that can fail return testing::AssertionResult (use them with ASSERT_TRUE or
//   EXPECT_TRUE) and deliver their result through an out parameter; the failure text says
//   what was awaited and what was seen, so the caller's line and the cause show together.
// - Every wait polls in short steps and gives up after a timeout (kTimeoutMs by default).
// - Clicks, keys, menu commands and closing are posted, never sent, so a message box that the
//   action opens does not block the driver; wait for the box with WaitForMessageBox().
//
// A typical test:
//   class MyE2E : public e2e::ToolTest {};
//   TEST_F(MyE2E, Login) {
//     ASSERT_TRUE(e2e::WriteDatabank({{"Administrator", "pw"}}));
//     ASSERT_TRUE(tool_.Start());
//     HWND main;
//     ASSERT_TRUE(tool_.WaitForMainWindow(&main));
//     ASSERT_TRUE(e2e::Click(main, IDC_LOGIN));
//     HWND login;
//     ASSERT_TRUE(tool_.WaitForWindow("Welcome to ZVK korvane Config", &login));
//     ...
//     ASSERT_TRUE(tool_.ChooseMenu(IDM_QUIT1));
//     ASSERT_TRUE(tool_.ExpectInformationBox(e2e::QuitMessage(copyright)));
//     ASSERT_TRUE(tool_.WaitForExit());
//   }
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/control_ids.h"

namespace e2e {

// ---------------------------------------------------------------------------------------------
// Settings, from the command line of the test program (see e2e_main.cpp).

// Windows path of korvane_config.exe ("--tool=", Unix paths are turned into Z:\ paths).
const std::string& ToolPath();
// Directory for screenshots ("--screenshots="), a Windows path; empty when not given.
const std::string& ScreenshotDir();
// Sets both; called by main() before the tests run.
void Configure(const std::string& tool_path, const std::string& screenshot_dir);
// Under Wine, has the X11 driver leave the tool's windows unmanaged. Xvfb runs no window manager,
// and for a managed window Wine waits up to two seconds for the window manager to confirm each
// hide, which made every message box cost two seconds. Called by main().
void PrepareDisplay();
// "/work/x/y" -> "Z:\work\x\y"; a path that is already a Windows path is returned unchanged.
std::string ToWindowsPath(const std::string& path);

// Default timeout of every wait, and the quiet period of the checks that nothing happens.
constexpr DWORD kTimeoutMs = 5000;
constexpr DWORD kQuietMs = 300;

// Texts the tool shows, for the message box checks.
inline constexpr char kMainCaption[] = "Korvane configuration";
inline constexpr char kAppTitle[] = "Korvane Configuration";
inline constexpr char kLoginCaption[] = "Welcome to ZVK korvane Config";
// The closing message of Quit, around the copyright line that stands on the main window.
std::string QuitMessage(const std::string& copyright_line);

// ---------------------------------------------------------------------------------------------
// Message boxes.

enum class IconKind { kNone, kStop, kQuestion, kExclamation, kInformation, kUnknown };
const char* IconName(IconKind icon);

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;                  // the text of the static control 0xFFFF
  std::vector<std::string> buttons;  // captions of the buttons, left to right ("OK", "&Yes")
  IconKind icon = IconKind::kNone;   // kUnknown: an icon is shown, its kind was not recognised
};

// ---------------------------------------------------------------------------------------------
// The tool's process.

class Tool {
 public:
  // The current directory that Start() gives the tool unless told otherwise; made if missing.
  static constexpr char kDefaultWorkDir[] = "c:\\korvane_e2e";

  Tool() = default;
  ~Tool();  // kills the process if it still runs
  Tool(const Tool&) = delete;
  Tool& operator=(const Tool&) = delete;

  // CreateProcessA of `program` (ToolPath() when empty) with the given current directory.
  testing::AssertionResult Start(const std::string& work_dir = kDefaultWorkDir,
                                 const std::string& program = "");
  bool Running() const;
  DWORD pid() const { return pid_; }
  HANDLE process() const { return process_; }

  // Waits for the visible main window ("Korvane configuration").
  testing::AssertionResult WaitForMainWindow(HWND* main, DWORD timeout_ms = kTimeoutMs);
  // Waits for a visible top-level window of the tool with exactly this caption.
  testing::AssertionResult WaitForWindow(const std::string& caption, HWND* window,
                                         DWORD timeout_ms = kTimeoutMs);
  // Waits until no visible top-level window of the tool has this caption (a dialog hid).
  testing::AssertionResult WaitForWindowHidden(const std::string& caption,
                                               DWORD timeout_ms = kTimeoutMs);
  // A top-level window of the tool by caption, visible or not; nullptr when none.
  HWND FindWindowByCaption(const std::string& caption) const;
  // All top-level windows of the tool, in z-order.
  std::vector<HWND> TopLevelWindows() const;

  // Waits for a visible message box (a #32770 dialog of the tool with a text control) and reads
  // it. A box already answered with Answer() is not returned again.
  testing::AssertionResult WaitForMessageBox(MessageBoxInfo* box, DWORD timeout_ms = kTimeoutMs);
  // True when no message box shows up within the quiet period.
  testing::AssertionResult ExpectNoMessageBox(DWORD quiet_ms = kQuietMs);
  // Presses the button with this caption ("OK", "&Yes", "&No") and waits for the box to go.
  testing::AssertionResult Answer(const MessageBoxInfo& box, const std::string& button);

  // The boxes of the tool's conventions, each checked in full and answered:
  // plain message: caption "Korvane Configuration", no icon, one "OK"; pressed.
  testing::AssertionResult ExpectPlainMessage(const std::string& text);
  // error box: caption "Korvane Configuration", stop icon, one "OK"; pressed.
  testing::AssertionResult ExpectErrorBox(const std::string& text);
  // confirmation: caption "Confirm", question icon, "&Yes" and "&No"; answered as told.
  testing::AssertionResult AnswerConfirmation(const std::string& text, bool yes);
  // closing message: caption "Information", information icon, one "OK"; pressed.
  testing::AssertionResult ExpectInformationBox(const std::string& text);

  // Main-window commands, posted to the main window.
  testing::AssertionResult ChooseMenu(int idm);
  // Closes the main window by its close box (WM_SYSCOMMAND SC_CLOSE).
  testing::AssertionResult CloseByCloseBox();
  // Posts WM_CLOSE to the main window.
  testing::AssertionResult PostClose();
  // Logs in through the login dialog: "Login to setup", both fields typed, "Ok", and waits for
  // the dialog to hide (a failed login leaves it shown, which fails here).
  testing::AssertionResult LogIn(HWND main, const std::string& name, const std::string& password);

  // Waits for the process to end; gives its exit code when asked.
  testing::AssertionResult WaitForExit(DWORD timeout_ms = kTimeoutMs, DWORD* exit_code = nullptr);
  // Ends the process at once (teardown); harmless when it does not run.
  void Kill();

  // Reads a pointer-taking message's text from the tool's memory: the message is sent with a
  // buffer allocated in the tool's process (VirtualAllocEx) and the result read back.
  testing::AssertionResult ReadStatusPanel(int panel, std::string* text);

 private:
  HWND main_ = nullptr;
  HANDLE process_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD pid_ = 0;
  std::vector<HWND> answered_;
};

// ---------------------------------------------------------------------------------------------
// Controls, found among all descendants of a window.

HWND FindControl(HWND parent, int id);
// By caption, optionally only of one window class ("Button", "Edit", ...).
HWND FindControlByCaption(HWND parent, const std::string& caption,
                          const std::string& window_class = "");
// As FindControl, with a failure naming the id.
testing::AssertionResult GetControl(HWND parent, int id, HWND* control);

std::string WindowText(HWND window);  // WM_GETTEXT, which Windows carries across processes
std::string ClassName(HWND window);
// Visible: the control and all its parents are shown (IsWindowVisible).
bool IsShown(HWND window);
testing::AssertionResult ControlText(HWND parent, int id, std::string* text);
testing::AssertionResult ControlShown(HWND parent, int id, bool* shown);

// Sets an edit field's text (WM_SETTEXT).
testing::AssertionResult TypeText(HWND parent, int id, const std::string& text);
// Posts Enter to a control: WM_KEYDOWN, WM_CHAR and WM_KEYUP of VK_RETURN.
testing::AssertionResult PressEnter(HWND parent, int id);
// Posts BM_CLICK to a button.
testing::AssertionResult Click(HWND parent, int id);
// Posts a left button press and release onto a control, as a user's click into it; an edit
// field takes the focus from it (so that Enter then goes to that field).
testing::AssertionResult ClickInto(HWND parent, int id);
testing::AssertionResult ClickButton(HWND button);
// Posts a button's click command to its window: it reaches the command even while the button is
// hidden, as a click from outside the tool's own rights tests would.
void PostCommand(HWND window, int id);
// Moves the real mouse pointer (SetCursorPos) to the middle of a control, or to a point given in
// a window's client coordinates; the window under it gets WM_MOUSEMOVE as from a user's hand.
testing::AssertionResult MoveMouseOver(HWND parent, int id);
testing::AssertionResult MoveMouseTo(HWND window, POINT client);

// List boxes. Items are read with LB_GETTEXT.
testing::AssertionResult ListItems(HWND parent, int id, std::vector<std::string>* items);
// The selected index, or -1 for none (LB_GETCURSEL).
testing::AssertionResult ListSelection(HWND parent, int id, int* index);
// LB_SETCURSEL, then the LBN_SELCHANGE notification a user's click would send to the parent.
testing::AssertionResult SelectListItem(HWND parent, int id, int index);

// Waits until a control's text equals `expected` (for state the tool sets asynchronously).
testing::AssertionResult WaitForControlText(HWND parent, int id, const std::string& expected,
                                            DWORD timeout_ms = kTimeoutMs);

// ---------------------------------------------------------------------------------------------
// Screenshots.

// The surface of a top-level window, frame included, in top-down rows.
struct WindowPixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Reads the window's own surface, which holds its picture even when another window covers it;
// a child window's DC reads nothing from another process under Wine, so controls are read from
// their top-level window. With `settle` the capture is repeated until two in a row agree (or a
// second has passed), for a window that is still painting its controls one after another.
testing::AssertionResult CaptureWindow(HWND window, bool settle, WindowPixels& captured);

// Captures the window, frame included, into a 24-bit PNG at `path` (a Windows path). With a
// relative name the file goes to ScreenshotDir(). Gives the written path when asked.
testing::AssertionResult SaveScreenshot(HWND window, const std::string& path,
                                        std::string* written = nullptr);

// ---------------------------------------------------------------------------------------------
// Files in the prefix (c:\ of the tool).

inline constexpr char kDatabankPath[] = "c:\\windows\\system\\QslSysTbl.dll";
inline constexpr char kMsdosPath[] = "c:\\Msdos.sys";
inline constexpr char kMsdos2Path[] = "c:\\Msdos2.zvk";
inline constexpr char kLogPath[] = "c:\\windows\\logfile.zvk";
inline constexpr char kLogCopyPath[] = "c:\\korvanelog.txt";

// Removes every file the tool reads or writes (databank, boot files, working files in
// Tool::kDefaultWorkDir, log and its copy), clearing attributes first, and makes the default
// working directory. Removes the registry values of ResetRegistry() too.
testing::AssertionResult ResetToolFiles();
bool FileExists(const std::string& path);
// Missing files are read as failure; attributes are cleared before writing and removing.
testing::AssertionResult ReadFileBytes(const std::string& path, std::string* bytes);
testing::AssertionResult WriteFileBytes(const std::string& path, const std::string& bytes);
testing::AssertionResult RemoveFile(const std::string& path);
DWORD FileAttributes(const std::string& path);  // INVALID_FILE_ATTRIBUTES when missing

// ---------------------------------------------------------------------------------------------
// Registry of the prefix (HKEY_LOCAL_MACHINE).

inline constexpr char kRunServicesKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Runservices";
inline constexpr char kAutostartValue[] = "Z-V-K-Korvane";
inline constexpr char kProductKey[] = "SOFTWARE\\Tarnwick Keep\\Korvane";
inline constexpr char kCancelValue[] = "cancel";

// Deletes the autostart value and the whole product key.
void ResetRegistry();
bool RegistryKeyExists(const std::string& key);
// False when the value is missing or of another type.
bool ReadRegistryString(const std::string& key, const std::string& value, std::string* text);
bool ReadRegistryDword(const std::string& key, const std::string& value, DWORD* number);
// Creates the key when missing.
testing::AssertionResult CreateRegistryKey(const std::string& key);

// ---------------------------------------------------------------------------------------------
// The databank file: 512-byte records, three per user, the third the data record whose byte at
// offset k is stored as (byte + k mod 256) mod 256; the rest is filler.

struct User {
  std::string name;
  std::string password;
  bool operator==(const User& other) const {
    return name == other.name && password == other.password;
  }
};
std::ostream& operator<<(std::ostream& out, const User& user);

constexpr std::size_t kRecordSize = 512;
constexpr std::size_t kEntrySize = 3 * kRecordSize;

// Decodes one 512-byte stored record into the slot's bytes (subtracts the positions).
std::string DecodeRecord(const std::string& stored);
// Encodes a user record of 512 slot bytes as the tool would: positions 0..L+1 of each half
// carried and shifted, the rest filler (p + r) mod 256 with r in 0..254, from `seed`.
std::string EncodeDataRecord(const std::string& slot, std::uint32_t seed);
// The 512 slot bytes of a user: length bytes and characters, zeros after. `after_name` and
// `after_password` are the bytes right after each text, which the file carries too.
std::string SlotBytes(const User& user, std::uint8_t after_name = 0,
                      std::uint8_t after_password = 0);
// A whole databank of these users, decoys and filler drawn from `seed`.
std::string EncodeDatabank(const std::vector<User>& users, std::uint32_t seed = 1);

// Decodes a whole file; fails when its length is not a multiple of 1536 bytes.
testing::AssertionResult DecodeDatabank(const std::string& file, std::vector<User>* users);
// Reads and decodes the databank in the prefix.
testing::AssertionResult ReadDatabank(std::vector<User>* users);
// Writes a databank of these users into the prefix.
testing::AssertionResult WriteDatabank(const std::vector<User>& users);
// Checks the filler rule on a whole file: no filler byte at position p equals (p - 1) mod 256,
// in the decoys and in the unused tail of each data record half.
testing::AssertionResult FillerIsWellFormed(const std::string& file);

// ---------------------------------------------------------------------------------------------
// A fixture that resets the tool's files and registry before and after each test and kills
// the tool when a test ends early.

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  Tool tool_;
};

}  // namespace e2e
