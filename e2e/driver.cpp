// The window and process side of the end-to-end driver: starting the tool, finding its windows
// and controls, posting user actions and reading message boxes, all from outside its process.
#include "e2e/driver.h"

#include <commctrl.h>

#include <algorithm>
#include <sstream>

namespace e2e {
namespace {

constexpr DWORD kPollMs = 10;
// The message box's text control; Windows and Wine both give it this identifier.
constexpr int kMessageTextId = 0xFFFF;

std::string& ToolPathSetting() {
  static std::string path;
  return path;
}

std::string& ScreenshotDirSetting() {
  static std::string dir;
  return dir;
}

// Polls `done` every few milliseconds until it holds or the timeout passes.
template <typename Predicate>
bool PollUntil(DWORD timeout_ms, Predicate done) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(kPollMs);
  }
}

struct EnumProcessWindows {
  DWORD pid;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<EnumProcessWindows*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->pid) search->windows.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

// All descendants of a window (EnumChildWindows walks the whole tree).
std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

bool IsMessageBox(HWND window) {
  return ClassName(window) == "#32770" && IsWindowVisible(window) &&
         GetDlgItem(window, kMessageTextId) != nullptr;
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Describe(const MessageBoxInfo& box) {
  std::ostringstream out;
  out << "box caption " << Quoted(box.caption) << ", text " << Quoted(box.text) << ", icon "
      << IconName(box.icon) << ", buttons";
  for (const auto& b : box.buttons) out << " " << Quoted(b);
  return out.str();
}

// The kind of a message box's icon, by comparing its pixels with each stock icon drawn on the
// same background; the icon handle itself belongs to the tool's process and cannot be compared.
IconKind RecogniseIcon(HWND box, HWND icon_control) {
  RECT rect, box_rect;
  GetWindowRect(icon_control, &rect);
  GetWindowRect(box, &box_rect);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const int left = rect.left - box_rect.left, top = rect.top - box_rect.top;
  if (w <= 0 || h <= 0) return IconKind::kUnknown;
  // Under Wine a child window's DC taken from another process reads nothing; the top-level
  // window's DC reads the box as painted.
  HDC control_dc = GetWindowDC(box);
  HDC memory = CreateCompatibleDC(control_dc);
  HBITMAP shot = CreateCompatibleBitmap(control_dc, w, h);
  HGDIOBJ old = SelectObject(memory, shot);
  // The box is captured as soon as it shows, maybe before or while it paints: have it paint,
  // and wait until the control holds more than its background and two captures in a row agree.
  RedrawWindow(icon_control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  COLORREF background = 0;
  std::vector<COLORREF> previous;
  PollUntil(1000, [&] {
    BitBlt(memory, 0, 0, w, h, control_dc, left, top, SRCCOPY);
    background = GetPixel(memory, w - 1, h - 1);
    std::vector<COLORREF> pixels;
    bool painted = false;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        pixels.push_back(GetPixel(memory, x, y));
        painted = painted || pixels.back() != background;
      }
    }
    const bool settled = painted && pixels == previous;
    previous = std::move(pixels);
    return settled;
  });

  struct Candidate {
    IconKind kind;
    LPCSTR id;
  };
  const Candidate candidates[] = {{IconKind::kStop, IDI_HAND},
                                  {IconKind::kQuestion, IDI_QUESTION},
                                  {IconKind::kExclamation, IDI_EXCLAMATION},
                                  {IconKind::kInformation, IDI_ASTERISK}};
  IconKind best = IconKind::kUnknown;
  long long best_score = -1;
  HDC probe = CreateCompatibleDC(control_dc);
  HBITMAP probe_bitmap = CreateCompatibleBitmap(control_dc, w, h);
  HGDIOBJ probe_old = SelectObject(probe, probe_bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  for (const auto& c : candidates) {
    RECT all = {0, 0, w, h};
    FillRect(probe, &all, brush);
    DrawIconEx(probe, 0, 0, LoadIconA(nullptr, c.id), 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    long long score = 0;
    for (int y = 0; y < h; y += 2) {
      for (int x = 0; x < w; x += 2) {
        COLORREF a = GetPixel(memory, x, y), b = GetPixel(probe, x, y);
        score += std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
                 std::abs(GetBValue(a) - GetBValue(b));
      }
    }
    if (best_score < 0 || score < best_score) {
      best_score = score;
      best = c.kind;
    }
  }
  DeleteObject(brush);
  SelectObject(probe, probe_old);
  DeleteObject(probe_bitmap);
  DeleteDC(probe);
  SelectObject(memory, old);
  DeleteObject(shot);
  DeleteDC(memory);
  ReleaseDC(box, control_dc);
  return best;
}

MessageBoxInfo ReadMessageBox(HWND window) {
  MessageBoxInfo box;
  box.hwnd = window;
  box.caption = WindowText(window);
  box.text = WindowText(GetDlgItem(window, kMessageTextId));
  struct Button {
    int left;
    std::string caption;
  };
  std::vector<Button> buttons;
  for (HWND child : Descendants(window)) {
    const std::string cls = ClassName(child);
    if (!IsWindowVisible(child)) continue;
    if (cls == "Button") {
      RECT r;
      GetWindowRect(child, &r);
      buttons.push_back({r.left, WindowText(child)});
    } else if (cls == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      box.icon =
          SendMessageA(child, STM_GETICON, 0, 0) ? RecogniseIcon(window, child) : IconKind::kNone;
    }
  }
  std::stable_sort(buttons.begin(), buttons.end(),
                   [](const Button& a, const Button& b) { return a.left < b.left; });
  for (const auto& b : buttons) box.buttons.push_back(b.caption);
  return box;
}

testing::AssertionResult CheckBox(const MessageBoxInfo& box, const std::string& caption,
                                  const std::string& text, IconKind icon,
                                  const std::vector<std::string>& buttons) {
  if (box.caption == caption && box.text == text && box.icon == icon && box.buttons == buttons) {
    return testing::AssertionSuccess();
  }
  MessageBoxInfo wanted;
  wanted.caption = caption;
  wanted.text = text;
  wanted.icon = icon;
  wanted.buttons = buttons;
  return testing::AssertionFailure()
         << "expected " << Describe(wanted) << "\n     got " << Describe(box);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

const std::string& ToolPath() {
  return ToolPathSetting();
}
const std::string& ScreenshotDir() {
  return ScreenshotDirSetting();
}

void Configure(const std::string& tool_path, const std::string& screenshot_dir) {
  ToolPathSetting() = ToWindowsPath(tool_path);
  ScreenshotDirSetting() = ToWindowsPath(screenshot_dir);
}

void PrepareDisplay() {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
  RegCloseKey(key);
}

std::string ToWindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string out = "Z:" + path;
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

std::string QuitMessage(const std::string& copyright_line) {
  return "Changes(If any) have been saved\r\n  " + copyright_line;
}

const char* IconName(IconKind icon) {
  switch (icon) {
    case IconKind::kNone:
      return "none";
    case IconKind::kStop:
      return "stop";
    case IconKind::kQuestion:
      return "question";
    case IconKind::kExclamation:
      return "exclamation";
    case IconKind::kInformation:
      return "information";
    case IconKind::kUnknown:
      break;
  }
  return "unknown";
}

// ---------------------------------------------------------------------------------------------
// Tool

Tool::~Tool() {
  Kill();
}

testing::AssertionResult Tool::Start(const std::string& work_dir, const std::string& program) {
  if (process_) return testing::AssertionFailure() << "the tool is already started";
  const std::string path = program.empty() ? ToolPath() : program;
  if (path.empty()) {
    return testing::AssertionFailure() << "no path of korvane_config.exe (--tool=)";
  }
  CreateDirectoryA(work_dir.c_str(), nullptr);
  std::string command = "\"" + path + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(path.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                      work_dir.c_str(), &startup, &info)) {
    return testing::AssertionFailure()
           << "CreateProcessA(" << path << ") failed, error " << GetLastError();
  }
  process_ = info.hProcess;
  thread_ = info.hThread;
  pid_ = info.dwProcessId;
  main_ = nullptr;
  answered_.clear();
  return testing::AssertionSuccess();
}

bool Tool::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> Tool::TopLevelWindows() const {
  EnumProcessWindows search{pid_, {}};
  if (pid_) EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.windows;
}

HWND Tool::FindWindowByCaption(const std::string& caption) const {
  HWND hidden = nullptr;
  for (HWND w : TopLevelWindows()) {
    if (WindowText(w) != caption) continue;
    if (IsWindowVisible(w)) return w;
    if (!hidden) hidden = w;
  }
  return hidden;
}

testing::AssertionResult Tool::WaitForWindow(const std::string& caption, HWND* window,
                                             DWORD timeout_ms) {
  HWND found = nullptr;
  bool ended = false;
  PollUntil(timeout_ms, [&] {
    found = FindWindowByCaption(caption);
    if (found && IsWindowVisible(found)) return true;
    found = nullptr;
    ended = !Running();
    return ended;
  });
  if (!found) {
    auto failure = testing::AssertionFailure() << "no visible window " << Quoted(caption);
    if (ended) return failure << ": the tool ended";
    failure << " within " << timeout_ms << " ms; windows of the tool:";
    for (HWND w : TopLevelWindows()) {
      failure << " " << Quoted(WindowText(w)) << (IsWindowVisible(w) ? "" : "(hidden)");
    }
    return failure;
  }
  *window = found;
  return testing::AssertionSuccess();
}

testing::AssertionResult Tool::WaitForWindowHidden(const std::string& caption, DWORD timeout_ms) {
  if (PollUntil(timeout_ms, [&] {
        HWND w = FindWindowByCaption(caption);
        return !w || !IsWindowVisible(w);
      })) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure()
         << "window " << Quoted(caption) << " still shown after " << timeout_ms << " ms";
}

testing::AssertionResult Tool::WaitForMainWindow(HWND* main, DWORD timeout_ms) {
  auto found = WaitForWindow(kMainCaption, &main_, timeout_ms);
  if (!found) {
    // A message box standing before the main window is the usual reason; name it.
    for (HWND w : TopLevelWindows()) {
      if (IsMessageBox(w)) found << "\n  a message box is open: " << Describe(ReadMessageBox(w));
    }
    return found;
  }
  *main = main_;
  return found;
}

testing::AssertionResult Tool::WaitForMessageBox(MessageBoxInfo* box, DWORD timeout_ms) {
  HWND found = nullptr;
  bool ended = false;
  PollUntil(timeout_ms, [&] {
    for (HWND w : TopLevelWindows()) {
      if (IsMessageBox(w) && std::find(answered_.begin(), answered_.end(), w) == answered_.end()) {
        found = w;
        return true;
      }
    }
    ended = !Running();
    return ended;
  });
  if (!found) {
    return testing::AssertionFailure()
           << "no message box within " << timeout_ms << " ms" << (ended ? " (the tool ended)" : "");
  }
  // The box fills its controls while it is created, before it is shown.
  *box = ReadMessageBox(found);
  return testing::AssertionSuccess();
}

testing::AssertionResult Tool::ExpectNoMessageBox(DWORD quiet_ms) {
  MessageBoxInfo box;
  if (WaitForMessageBox(&box, quiet_ms)) {
    return testing::AssertionFailure() << "unexpected message box: " << Describe(box);
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult Tool::Answer(const MessageBoxInfo& box, const std::string& button) {
  HWND target = nullptr;
  for (HWND child : Descendants(box.hwnd)) {
    if (ClassName(child) == "Button" && WindowText(child) == button) target = child;
  }
  if (!target) {
    return testing::AssertionFailure() << "no button " << Quoted(button) << " on " << Describe(box);
  }
  PostMessageA(target, BM_CLICK, 0, 0);
  answered_.push_back(box.hwnd);
  if (!PollUntil(kTimeoutMs, [&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); })) {
    return testing::AssertionFailure()
           << "the box stayed open after " << Quoted(button) << ": " << Describe(box);
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult Tool::ExpectPlainMessage(const std::string& text) {
  MessageBoxInfo box;
  auto r = WaitForMessageBox(&box);
  if (!r) return r << " (awaited the message " << Quoted(text) << ")";
  r = CheckBox(box, kAppTitle, text, IconKind::kNone, {"OK"});
  auto answered = Answer(box, "OK");
  return r ? answered : r;
}

testing::AssertionResult Tool::ExpectErrorBox(const std::string& text) {
  MessageBoxInfo box;
  auto r = WaitForMessageBox(&box);
  if (!r) return r << " (awaited the error " << Quoted(text) << ")";
  r = CheckBox(box, kAppTitle, text, IconKind::kStop, {"OK"});
  auto answered = Answer(box, "OK");
  return r ? answered : r;
}

testing::AssertionResult Tool::AnswerConfirmation(const std::string& text, bool yes) {
  MessageBoxInfo box;
  auto r = WaitForMessageBox(&box);
  if (!r) return r << " (awaited the question " << Quoted(text) << ")";
  r = CheckBox(box, "Confirm", text, IconKind::kQuestion, {"&Yes", "&No"});
  if (!r) {
    // Answer No to a box that is not the expected question, so nothing goes on by mistake.
    Answer(box, box.buttons.size() > 1 ? box.buttons.back() : "OK");
    return r;
  }
  return Answer(box, yes ? "&Yes" : "&No");
}

testing::AssertionResult Tool::ExpectInformationBox(const std::string& text) {
  MessageBoxInfo box;
  auto r = WaitForMessageBox(&box);
  if (!r) return r << " (awaited the information " << Quoted(text) << ")";
  r = CheckBox(box, "Information", text, IconKind::kInformation, {"OK"});
  auto answered = Answer(box, "OK");
  return r ? answered : r;
}

testing::AssertionResult Tool::LogIn(HWND main, const std::string& name,
                                     const std::string& password) {
  auto r = Click(main, IDC_LOGIN);
  HWND login = nullptr;
  if (r) r = WaitForWindow(kLoginCaption, &login);
  if (r) r = TypeText(login, IDC_USER_NAME_ENTER, name);
  if (r) r = TypeText(login, IDC_USER_PASS_ENTER, password);
  if (r) r = Click(login, IDC_ENTER_OKBUT);
  if (r) r = WaitForWindowHidden(kLoginCaption);
  if (!r) r << " (logging in as " << Quoted(name) << ")";
  return r;
}

testing::AssertionResult Tool::ChooseMenu(int idm) {
  if (!main_) return testing::AssertionFailure() << "no main window yet (WaitForMainWindow)";
  if (!PostMessageA(main_, WM_COMMAND, MAKEWPARAM(idm, 0), 0)) {
    return testing::AssertionFailure() << "posting menu command " << idm << " failed";
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult Tool::CloseByCloseBox() {
  if (!main_) return testing::AssertionFailure() << "no main window yet (WaitForMainWindow)";
  if (!PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0)) {
    return testing::AssertionFailure() << "posting SC_CLOSE failed";
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult Tool::PostClose() {
  if (!main_) return testing::AssertionFailure() << "no main window yet (WaitForMainWindow)";
  if (!PostMessageA(main_, WM_CLOSE, 0, 0)) {
    return testing::AssertionFailure() << "posting WM_CLOSE failed";
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult Tool::WaitForExit(DWORD timeout_ms, DWORD* exit_code) {
  if (!process_) return testing::AssertionFailure() << "the tool was not started";
  if (WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) {
    auto failure = testing::AssertionFailure()
                   << "the tool still runs after " << timeout_ms << " ms; windows:";
    for (HWND w : TopLevelWindows()) {
      if (IsWindowVisible(w)) failure << " " << Quoted(WindowText(w));
    }
    return failure;
  }
  if (exit_code) GetExitCodeProcess(process_, exit_code);
  return testing::AssertionSuccess();
}

void Tool::Kill() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kTimeoutMs);
  }
  CloseHandle(thread_);
  CloseHandle(process_);
  process_ = thread_ = nullptr;
  pid_ = 0;
  main_ = nullptr;
}

testing::AssertionResult Tool::ReadStatusPanel(int panel, std::string* text) {
  if (!main_) return testing::AssertionFailure() << "no main window yet (WaitForMainWindow)";
  HWND bar = FindControl(main_, IDC_STATBAR);
  if (!bar) return testing::AssertionFailure() << "no status bar (id " << IDC_STATBAR << ")";
  DWORD_PTR length_info = 0;
  if (!SendMessageTimeoutA(bar, SB_GETTEXTLENGTHA, panel, 0, SMTO_ABORTIFHUNG, kTimeoutMs,
                           &length_info)) {
    return testing::AssertionFailure() << "SB_GETTEXTLENGTH got no answer";
  }
  const SIZE_T size = LOWORD(length_info) + 1;
  // SB_GETTEXT takes a pointer that Windows does not carry across processes: the buffer has
  // to live in the tool's address space.
  void* remote = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return testing::AssertionFailure() << "VirtualAllocEx failed " << GetLastError();
  DWORD_PTR ignored = 0;
  std::string buffer(size, '\0');
  SIZE_T read = 0;
  const bool ok = SendMessageTimeoutA(bar, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(remote),
                                      SMTO_ABORTIFHUNG, kTimeoutMs, &ignored) &&
                  ReadProcessMemory(process_, remote, &buffer[0], size, &read);
  VirtualFreeEx(process_, remote, 0, MEM_RELEASE);
  if (!ok) return testing::AssertionFailure() << "reading status panel " << panel << " failed";
  *text = buffer.substr(0, buffer.find('\0'));
  return testing::AssertionSuccess();
}

// ---------------------------------------------------------------------------------------------
// Controls

HWND FindControl(HWND parent, int id) {
  for (HWND child : Descendants(parent)) {
    if (GetDlgCtrlID(child) == id) return child;
  }
  return nullptr;
}

HWND FindControlByCaption(HWND parent, const std::string& caption,
                          const std::string& window_class) {
  for (HWND child : Descendants(parent)) {
    if (WindowText(child) == caption &&
        (window_class.empty() || ClassName(child) == window_class)) {
      return child;
    }
  }
  return nullptr;
}

testing::AssertionResult GetControl(HWND parent, int id, HWND* control) {
  *control = parent ? FindControl(parent, id) : nullptr;
  if (!*control) {
    return testing::AssertionFailure() << "no control with id " << id << " in window "
                                       << Quoted(parent ? WindowText(parent) : "(none)");
  }
  return testing::AssertionSuccess();
}

std::string WindowText(HWND window) {
  if (!window) return "";
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &length)) {
    return "";
  }
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_ABORTIFHUNG, kTimeoutMs, &copied);
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

bool IsShown(HWND window) {
  return window && IsWindowVisible(window);
}

testing::AssertionResult ControlText(HWND parent, int id, std::string* text) {
  HWND control;
  auto r = GetControl(parent, id, &control);
  if (r) *text = WindowText(control);
  return r;
}

testing::AssertionResult ControlShown(HWND parent, int id, bool* shown) {
  HWND control;
  auto r = GetControl(parent, id, &control);
  if (r) *shown = IsShown(control);
  return r;
}

testing::AssertionResult TypeText(HWND parent, int id, const std::string& text) {
  HWND control;
  auto r = GetControl(parent, id, &control);
  if (!r) return r;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                           SMTO_ABORTIFHUNG, kTimeoutMs, &result)) {
    return testing::AssertionFailure() << "WM_SETTEXT to control " << id << " got no answer";
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult PressEnter(HWND parent, int id) {
  HWND control;
  auto r = GetControl(parent, id, &control);
  if (!r) return r;
  const LPARAM scan = MapVirtualKeyA(VK_RETURN, MAPVK_VK_TO_VSC) << 16;
  PostMessageA(control, WM_KEYDOWN, VK_RETURN, scan | 1);
  PostMessageA(control, WM_CHAR, '\r', scan | 1);
  PostMessageA(control, WM_KEYUP, VK_RETURN, scan | 1 | (3u << 30));
  return testing::AssertionSuccess();
}

testing::AssertionResult ClickButton(HWND button) {
  if (!button) return testing::AssertionFailure() << "no button to click";
  if (!PostMessageA(button, BM_CLICK, 0, 0)) {
    return testing::AssertionFailure() << "posting BM_CLICK failed";
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult Click(HWND parent, int id) {
  HWND control;
  auto r = GetControl(parent, id, &control);
  if (!r) return r;
  return ClickButton(control);
}

void PostCommand(HWND window, int id) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(FindControl(window, id)));
}

testing::AssertionResult ClickInto(HWND parent, int id) {
  HWND control;
  auto r = GetControl(parent, id, &control);
  if (!r) return r;
  const LPARAM at = MAKELPARAM(2, 2);
  PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(control, WM_LBUTTONUP, 0, at);
  return testing::AssertionSuccess();
}

testing::AssertionResult MoveMouseTo(HWND window, POINT client) {
  POINT screen = client;
  if (!window || !ClientToScreen(window, &screen)) {
    return testing::AssertionFailure() << "no window to move the mouse over";
  }
  if (!SetCursorPos(screen.x, screen.y)) {
    return testing::AssertionFailure() << "SetCursorPos failed, error " << GetLastError();
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult MoveMouseOver(HWND parent, int id) {
  HWND control;
  auto r = GetControl(parent, id, &control);
  if (!r) return r;
  RECT rect;
  GetClientRect(control, &rect);
  return MoveMouseTo(control, {rect.right / 2, rect.bottom / 2});
}

testing::AssertionResult ListItems(HWND parent, int id, std::vector<std::string>* items) {
  HWND list;
  auto r = GetControl(parent, id, &list);
  if (!r) return r;
  items->clear();
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    if (length < 0) return testing::AssertionFailure() << "LB_GETTEXTLEN failed for item " << i;
    // Wine carries LB_GETTEXT across processes in its Unicode form only (an ANSI request gets
    // UTF-16 back), so the text is asked for in Unicode and turned back into the 8-bit
    // characters the tool stored.
    std::wstring wide(length + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&wide[0]));
    if (copied < 0) return testing::AssertionFailure() << "LB_GETTEXT failed for item " << i;
    wide.resize(std::min<LRESULT>(copied, length));
    std::string text(wide.size() * 2 + 1, '\0');
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                            static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(bytes > 0 ? bytes : 0);
    items->push_back(text);
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult ListSelection(HWND parent, int id, int* index) {
  HWND list;
  auto r = GetControl(parent, id, &list);
  if (r) *index = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
  return r;
}

testing::AssertionResult SelectListItem(HWND parent, int id, int index) {
  HWND list;
  auto r = GetControl(parent, id, &list);
  if (!r) return r;
  if (SendMessageA(list, LB_SETCURSEL, index, 0) == LB_ERR && index != -1) {
    return testing::AssertionFailure() << "LB_SETCURSEL " << index << " failed";
  }
  PostMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  return testing::AssertionSuccess();
}

testing::AssertionResult WaitForControlText(HWND parent, int id, const std::string& expected,
                                            DWORD timeout_ms) {
  HWND control;
  auto r = GetControl(parent, id, &control);
  if (!r) return r;
  std::string seen;
  if (PollUntil(timeout_ms, [&] { return (seen = WindowText(control)) == expected; })) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure()
         << "control " << id << " reads " << Quoted(seen) << ", expected " << Quoted(expected);
}

// ---------------------------------------------------------------------------------------------

void ToolTest::SetUp() {
  ASSERT_TRUE(ResetToolFiles());
}

void ToolTest::TearDown() {
  tool_.Kill();
  EXPECT_TRUE(ResetToolFiles());
}

}  // namespace e2e
