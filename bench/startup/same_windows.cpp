// The floor of the start-up benchmark: with plain Win32 calls, the windows that the tool's
// start-up must make and nothing else. The same seven top-level windows (the main window with its
// menu, and six dialogs made hidden), the same child controls of the same classes, styles, sizes
// and fonts, the status bar with its parts, owner-drawn panels and image list, the users list
// filled on the first activation; then the main window is shown. No databank, no command table,
// no subclassing, no hints: what the tool takes beyond this program is its own work.
//
// The windows are copied from the tool's tables (app/main_window.cpp and dialogs/*.cpp); a change
// of the tool's windows should be made here too.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstddef>

#include "ui/control_ids.h"

namespace {

constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kGroup = BS_GROUPBOX;
constexpr DWORD kLink = SS_LEFT | SS_NOTIFY;
constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kPassword = ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr int kNone = -1;

// x and y relative to the group box `parent` (0: the client area); a width of 0 sizes a label
// to its caption.
struct Control {
  int id;
  const char* window_class;
  const char* caption;
  int x, y, w, h;
  DWORD style;
  int parent;
};

constexpr Control kMainControls[] = {
    {IDC_GROUPBOX1, "BUTTON", "User functions", 8, 0, 153, 153, kGroup, 0},
    {IDC_NAMECHANGE, "BUTTON", "Change user name", 8, 24, 137, 25, kButton, IDC_GROUPBOX1},
    {IDC_CHANGE_PASSWORD, "BUTTON", "Change password", 8, 56, 137, 25, kButton, IDC_GROUPBOX1},
    {IDC_LOGIN, "BUTTON", "Login to setup", 8, 88, 137, 25, kButton, IDC_GROUPBOX1},
    {IDC_BUTTON3, "BUTTON", "Logout", 8, 120, 137, 25, kButton, IDC_GROUPBOX1},
    {IDC_LABEL2, "STATIC", "(c) 2002 Ardo Vennick", 8, 176, 0, 0, SS_LEFT, 0},
    {IDC_LABEL6, "STATIC", "Ardo Vennick", 8, 200, 0, 0, kLink, 0},
    {IDC_LABEL1, "STATIC", "Visit", 8, 232, 0, 0, SS_LEFT, 0},
    {IDC_LABEL5, "STATIC", "Tarnwick Keep", 8, 248, 79, 32, kLink, 0},
    {IDC_LABEL3, "STATIC", "today!!!!", 8, 280, 0, 0, SS_LEFT, 0},
    {IDC_ADMIN_BOX, "BUTTON", "Administrator features", 168, 0, 273, 337, kGroup, 0},
    {IDC_USERLABEL, "STATIC", "Users:", 155, 10, 0, 0, SS_LEFT, IDC_ADMIN_BOX},
    {IDC_USERS_BOX, "LISTBOX", "", 144, 24, 121, 121,
     LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, IDC_ADMIN_BOX},
    {IDC_ADD_USER_BUT, "BUTTON", "Add a new user", 8, 24, 129, 25, kButton, IDC_ADMIN_BOX},
    {IDC_SHOWPASS, "BUTTON", "Display password", 8, 56, 129, 25, kButton, IDC_ADMIN_BOX},
    {IDC_FORCEPASSCHANGE, "BUTTON", "Change password", 8, 88, 129, 25, kButton, IDC_ADMIN_BOX},
    {IDC_KICK_USER, "BUTTON", "Remove user", 8, 120, 129, 25, kButton, IDC_ADMIN_BOX},
    {IDC_BUTTON1, "BUTTON", "View login info", 8, 152, 129, 25, kButton, IDC_ADMIN_BOX},
    {IDC_UNINSTALL, "BUTTON", "Uninstall", 144, 152, 113, 25, kButton, IDC_ADMIN_BOX},
    {IDC_ADVANCED_BOX, "BUTTON", "Advanced configuration", 8, 184, 257, 145, kGroup, IDC_ADMIN_BOX},
    {IDC_TURN_ON_AUTOSTART, "BUTTON", "Enable autostart", 8, 16, 113, 25, kButton,
     IDC_ADVANCED_BOX},
    {IDC_BUTTON2, "BUTTON", "Disable autostart", 128, 16, 121, 25, kButton, IDC_ADVANCED_BOX},
    {IDC_MAKESAFEMODE, "BUTTON", "Enable safemode", 8, 48, 113, 25, kButton, IDC_ADVANCED_BOX},
    {IDC_NO_SAFE_MODE, "BUTTON", "Disable safemode", 128, 48, 121, 25, kButton, IDC_ADVANCED_BOX},
    {IDC_ENABLE_F8, "BUTTON", "Enable hotkeys", 8, 80, 113, 25, kButton, IDC_ADVANCED_BOX},
    {IDC_NO_F8, "BUTTON", "Disable hotkeys", 128, 80, 121, 25, kButton, IDC_ADVANCED_BOX},
    {IDC_CANCELDISABLE, "BUTTON", "Disable Cancel", 8, 112, 113, 25, kButton, IDC_ADVANCED_BOX},
    {IDC_CANCELENABLE, "BUTTON", "Enable Cancel", 128, 112, 121, 25, kButton, IDC_ADVANCED_BOX},
    {IDC_STATBAR, STATUSCLASSNAMEA, "", 0, 344, 442, 20,
     CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0},
};

constexpr Control kAddUser[] = {
    {kNone, "STATIC", "User name:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_UNAME, "EDIT", "", 120, 8, 87, 21, kEdit, 0},
    {kNone, "STATIC", "User password:", 8, 38, 0, 0, SS_LEFT, 0},
    {IDC_ADDUSER_PASS1, "EDIT", "", 120, 34, 87, 21, kPassword, 0},
    {kNone, "STATIC", "Confirm password:", 8, 64, 0, 0, SS_LEFT, 0},
    {IDC_ADDUSER_PASS2, "EDIT", "", 120, 60, 87, 21, kPassword, 0},
    {IDC_ADDUSER_OKBUT, "BUTTON", "Add", 46, 90, 75, 25, kButton, 0},
    {IDC_ADDUSER_CANCELBUT, "BUTTON", "Cancel", 132, 90, 75, 25, kButton, 0},
};
constexpr Control kEnterForm[] = {
    {kNone, "STATIC", "Enter user name and password", 8, 6, 0, 0, SS_LEFT, 0},
    {kNone, "STATIC", "User name:", 8, 30, 0, 0, SS_LEFT, 0},
    {IDC_USER_NAME_ENTER, "EDIT", "", 80, 26, 177, 21, kEdit, 0},
    {kNone, "STATIC", "Password:", 8, 56, 0, 0, SS_LEFT, 0},
    {IDC_USER_PASS_ENTER, "EDIT", "", 80, 52, 177, 21, kPassword, 0},
    {IDC_ENTER_OKBUT, "BUTTON", "Ok", 102, 80, 75, 25, kButton, 0},
    {IDC_ENTER_QUIT, "BUTTON", "Cancel", 182, 80, 75, 25, kButton, 0},
};
constexpr Control kPassChange[] = {
    {kNone, "STATIC", "Old password:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_OLDPASS, "EDIT", "", 120, 8, 89, 21, kPassword, 0},
    {kNone, "STATIC", "New password:", 8, 38, 0, 0, SS_LEFT, 0},
    {IDC_PASSCHANGE_PASS1, "EDIT", "", 120, 34, 89, 21, kPassword, 0},
    {kNone, "STATIC", "Confirm password:", 8, 64, 0, 0, SS_LEFT, 0},
    {IDC_PASSCHANGE_PASS2, "EDIT", "", 120, 60, 89, 21, kPassword, 0},
    {IDC_PASSCHANGE_OKBUT, "BUTTON", "Change", 48, 90, 75, 25, kButton, 0},
    {IDC_PASSCHANGE_CANCELBUT, "BUTTON", "Cancel", 134, 90, 75, 25, kButton, 0},
};
constexpr Control kMakePassChange[] = {
    {kNone, "STATIC", "New password:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_MAKEPASS_PASS1, "EDIT", "", 120, 8, 105, 21, kPassword, 0},
    {kNone, "STATIC", "Confirm password:", 8, 38, 0, 0, SS_LEFT, 0},
    {IDC_MAKEPASS_PASS2, "EDIT", "", 120, 34, 105, 21, kPassword, 0},
    {IDC_MAKEPASS_OKBUT, "BUTTON", "Change", 64, 64, 75, 25, kButton, 0},
    {IDC_MAKEPASS_CANCELBUT, "BUTTON", "Cancel", 150, 64, 75, 25, kButton, 0},
};
constexpr Control kUnameChange[] = {
    {kNone, "STATIC", "New user name:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_NEW_NAME, "EDIT", "", 106, 8, 95, 21, kEdit, 0},
    {IDC_UNAME_OKBUT, "BUTTON", "Change", 40, 38, 75, 25, kButton, 0},
    {IDC_UNAME_CANCELBUT, "BUTTON", "Cancel", 124, 38, 75, 25, kButton, 0},
};
constexpr Control kAbout[] = {
    {IDC_ABOUT_COPYRIGHT, "STATIC", "(c) 2002 Ardo Vennick", 8, 8, 243, 16, SS_LEFT, 0},
    {IDC_ABOUT_LABEL2, "STATIC", "Ardo Vennick", 8, 32, 0, 0, kLink, 0},
    {IDC_ABOUT_TEXT, "STATIC",
     "Use this program to configure your user settings for the Korvane password protection program",
     8, 56, 243, 80, SS_LEFT, 0},
    {IDC_ABOUT_OKBUT, "BUTTON", "Ok", 92, 148, 75, 25, kButton, 0},
};

enum class Look { kFixed, kFixedWithSystemMenu, kResizable };
struct Dialog {
  const char* class_name;
  const char* caption;
  Look look;
  int width, height;  // the client area, or the window for the resizable look
  bool bold;
  const Control* controls;
  std::size_t count;
};
template <std::size_t N>
constexpr Dialog MakeDialog(const char* name, const char* caption, Look look, int w, int h,
                            bool bold, const Control (&controls)[N]) {
  return {name, caption, look, w, h, bold, controls, N};
}
// In the order the tool makes them.
const Dialog kDialogs[] = {
    MakeDialog("TAdduser", "Add a user to the databank", Look::kFixed, 216, 122, false, kAddUser),
    MakeDialog("TEnter_form", "Welcome to ZVK korvane Config", Look::kFixed, 266, 110, false,
               kEnterForm),
    MakeDialog("Tpasschangeform", "Change the password", Look::kFixed, 218, 122, false,
               kPassChange),
    MakeDialog("Tmakepasschange", "Change a users password", Look::kResizable, 251, 127, false,
               kMakePassChange),
    MakeDialog("Tuname_change", "Change current User's name", Look::kResizable, 222, 100, false,
               kUnameChange),
    MakeDialog("Tabout", "About korvane Configuration", Look::kFixedWithSystemMenu, 259, 182, true,
               kAbout),
};

constexpr int kPanelEdges[] = {25, 265, 415, -1};
constexpr char kUsers[][8] = {"user 1", "user 2", "user 3"};

HIMAGELIST pictures = nullptr;
bool first_activation = true;

HFONT Font(const char* face, bool bold, bool underline = false) {
  return CreateFontA(-11, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face);
}

const Control* Find(const Control* table, std::size_t count, int id) {
  for (std::size_t i = 0; id != 0 && i < count; ++i) {
    if (table[i].id == id) {
      return &table[i];
    }
  }
  return nullptr;
}

bool InGroup(const Control* table, std::size_t count, const Control* at, int group) {
  for (; at; at = Find(table, count, at->parent)) {
    if (at->id == group) {
      return true;
    }
  }
  return false;
}

SIZE TextSize(HDC dc, const char* text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return SIZE{size.cx + 1, metrics.tmHeight};
}

// As the tool makes controls: labels measured first, no parent notices, the hidden group made
// hidden, group boxes last (the first of the table lowest).
void MakeControls(HWND window, const Control* table, std::size_t count, HFONT font,
                  int hidden_group) {
  HDC measure = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(measure, font);
  auto make = [&](const Control& c) {
    POINT at{c.x, c.y};
    for (const Control* g = Find(table, count, c.parent); g; g = Find(table, count, g->parent)) {
      at.x += g->x;
      at.y += g->y;
    }
    SIZE size = c.w ? SIZE{c.w, c.h} : TextSize(measure, c.caption);
    const bool framed =
        lstrcmpiA(c.window_class, "EDIT") == 0 || lstrcmpiA(c.window_class, "LISTBOX") == 0;
    const bool hidden = hidden_group && InGroup(table, count, &c, hidden_group);
    HWND control = CreateWindowExA(
        WS_EX_NOPARENTNOTIFY | (framed ? WS_EX_CLIENTEDGE : 0), c.window_class, c.caption,
        WS_CHILD | (hidden ? 0 : WS_VISIBLE) | c.style, at.x, at.y, size.cx, size.cy, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.style & ES_PASSWORD) {
      SendMessageA(control, EM_SETPASSWORDCHAR, '*', 0);
    }
  };
  auto group_box = [](const Control& c) {
    return lstrcmpiA(c.window_class, "BUTTON") == 0 && (c.style & 0x0F) == BS_GROUPBOX;
  };
  for (std::size_t i = 0; i < count; ++i) {
    if (!group_box(table[i])) {
      make(table[i]);
    }
  }
  for (std::size_t i = count; i-- > 0;) {
    if (group_box(table[i])) {
      make(table[i]);
    }
  }
  SelectObject(measure, old);
  DeleteDC(measure);
}

// A link label in its underlined font, fitted to its caption.
void MakeLink(HWND control, HFONT font, bool fit) {
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (!fit) {
    return;
  }
  char text[64];
  GetWindowTextA(control, text, sizeof text);
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, font);
  const SIZE size = TextSize(dc, text);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE && first_activation && GetDlgItem(window, IDC_USERS_BOX)) {
        first_activation = false;
        HWND list = GetDlgItem(window, IDC_USERS_BOX);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        for (const char* user : kUsers) {
          SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(user));
        }
        SendMessageA(GetDlgItem(window, IDC_STATBAR), SB_SETTEXTA, 2,
                     reinterpret_cast<LPARAM>("Not logged in"));
        HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
        SetFocus(first ? first : window);
      }
      return 0;
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, id == IDC_LABEL5 || id == IDC_LABEL6 ? RGB(255, 0, 0)
                       : id == IDC_ABOUT_LABEL2             ? RGB(0, 0, 255)
                                                            : RGB(0, 0, 0));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CTLCOLORLISTBOX:
      SetTextColor(reinterpret_cast<HDC>(wparam), RGB(0, 0, 0));
      SetBkColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (wparam == IDC_STATBAR && (item->itemID == 0 || item->itemID == 3)) {
        ImageList_Draw(pictures, 0, item->hDC, item->rcItem.left + 2, item->rcItem.top, ILD_NORMAL);
      }
      return TRUE;
    }
    case WM_DESTROY:
      if (!GetWindow(window, GW_OWNER)) {
        PostQuitMessage(0);
      }
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

HWND MakeFrame(const char* class_name, const char* caption, DWORD style, DWORD ex_style, int width,
               int height, bool client_size, HWND owner, HMENU menu, HICON icon, HICON small_icon) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = class_name;
  window_class.hIcon = icon;
  window_class.hIconSm = small_icon;
  RegisterClassExA(&window_class);
  RECT outer{0, 0, width, height};
  if (client_size) {
    AdjustWindowRectEx(&outer, style, menu != nullptr, ex_style);
  }
  static const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const int w = outer.right - outer.left;
  const int h = outer.bottom - outer.top;
  return CreateWindowExA(ex_style, class_name, caption, style, (screen.cx - w) / 2,
                         (screen.cy - h) / 2, w, h, owner, menu, instance, nullptr);
}

HWND MakeMainWindow(HINSTANCE instance) {
  HMENU menu = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, IDM_QUIT1, "Quit");
  HMENU help = CreatePopupMenu();
  AppendMenuA(help, MF_STRING, IDM_OPENHELP1, "Open Help");
  AppendMenuA(help, MF_STRING, IDM_README1, "View the readme");
  AppendMenuA(help, MF_STRING, IDM_MAILTHEAUTHOR1, "Mail the author");
  AppendMenuA(help, MF_STRING, IDM_ABOUT1, "About Korvane");
  AppendMenuA(help, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(help, MF_STRING, IDM_HOMEPAGE1, "Homepage");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "Help");
  HWND main =
      MakeFrame("Tmain", "Korvane configuration",
                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_CONTROLPARENT, 442,
                364, true, nullptr, menu, LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN)),
                static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, 16,
                                              16, LR_DEFAULTCOLOR)));
  if (!main) {
    return nullptr;
  }
  HFONT font = Font("Arial", true);
  SendMessageA(main, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  MakeControls(main, kMainControls, sizeof kMainControls / sizeof kMainControls[0], font,
               IDC_ADMIN_BOX);
  HFONT link = Font("MS Sans Serif", true, true);
  MakeLink(GetDlgItem(main, IDC_LABEL5), link, false);
  MakeLink(GetDlgItem(main, IDC_LABEL6), link, true);

  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  const int picture = bits <= 4 ? IDB_PICTURES_16 : bits <= 8 ? IDB_PICTURES_256 : IDB_PICTURES;
  pictures = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(picture), 16, 0, RGB(255, 0, 255),
                                  IMAGE_BITMAP, LR_CREATEDIBSECTION);
  HWND bar = GetDlgItem(main, IDC_STATBAR);
  SendMessageA(bar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(kPanelEdges));
  SendMessageA(bar, SB_SETMINHEIGHT, 20, 0);
  SendMessageA(bar, SB_SETTEXTA, 0 | SBT_OWNERDRAW, 0);
  SendMessageA(bar, SB_SETTEXTA, 3 | SBT_OWNERDRAW, 0);
  SendMessageA(bar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("www.tarnwickkeep.example"));
  SendMessageA(bar, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>("Current user: Not logged in"));
  SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(Font("Times New Roman", true)), FALSE);
  return main;
}

void MakeDialogWindow(const Dialog& dialog, HWND owner) {
  DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
  DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  bool client_size = true;
  if (dialog.look == Look::kFixedWithSystemMenu) {
    style |= WS_SYSMENU;
  } else if (dialog.look == Look::kResizable) {
    style = WS_POPUP | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    ex_style = WS_EX_CONTROLPARENT;
    client_size = false;
  }
  HWND window = MakeFrame(dialog.class_name, dialog.caption, style, ex_style, dialog.width,
                          dialog.height, client_size, owner, nullptr, nullptr, nullptr);
  if (!window) {
    return;
  }
  HFONT font = Font("MS Sans Serif", dialog.bold);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  MakeControls(window, dialog.controls, dialog.count, font, 0);
  if (HWND link = GetDlgItem(window, IDC_ABOUT_LABEL2); link && dialog.bold) {
    MakeLink(link, Font("MS Sans Serif", true, true), true);
  }
}

// Imported, never called, as the bare window does: the libraries the tool binds at start-up.
void* volatile imported[] = {reinterpret_cast<void*>(&ShellExecuteA),
                             reinterpret_cast<void*>(&GetOpenFileNameA),
                             reinterpret_cast<void*>(&RegOpenKeyExA)};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  InitCommonControls();
  HWND main = MakeMainWindow(instance);
  if (!main) {
    return 1;
  }
  for (const Dialog& dialog : kDialogs) {
    MakeDialogWindow(dialog, main);
  }
  ShowWindow(main, show_command);
  UpdateWindow(main);
  SetForegroundWindow(main);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageA(GetActiveWindow(), &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return static_cast<int>(message.wParam) + (imported[0] == nullptr ? 1 : 0);
}
