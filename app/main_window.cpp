// The main window: its layout, creation (FormCreate), refresh on activation (FormActivate), Quit,
// and the wiring of commands, mouse moves and status bar drawing to the handlers.
#include "app/main_window.h"

#include <iterator>

#include "core/boot_options.h"
#include "core/databank_file.h"
#include "core/user_table.h"
#include "ui/command_runner.h"
#include "ui/control_ids.h"
#include "ui/message_boxes.h"
#include "ui/product_texts.h"
#include "ui/status_text.h"

namespace app {
namespace {

using ui::ControlEntry;
using ui::kCopyrightLine;
using ui::Rights;
using Command = ui::Command<Tmain>;

// Differs from the application title, the caption of the message boxes, in one letter's case.
constexpr char kMainWindowCaption[] = "Korvane configuration";
// The maker's web host, on which the home page lives.
constexpr char kMakerHost[] = "www.tarnwickkeep.example";

constexpr int kClientWidth = 442;
constexpr int kClientHeight = 364;
constexpr COLORREF kBlack = RGB(0, 0, 0);

constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kGroup = BS_GROUPBOX;
constexpr DWORD kLabel = SS_LEFT;
constexpr DWORD kLink = SS_LEFT | SS_NOTIFY;

// Positions inside a group box are relative to the group box.
constexpr ControlEntry kControls[] = {
    {IDC_GROUPBOX1, "BUTTON", "User functions", 8, 0, 153, 153, kGroup, 0},
    {IDC_NAMECHANGE, "BUTTON", "Change user name", 8, 24, 137, 25, kButton, IDC_GROUPBOX1},
    {IDC_CHANGE_PASSWORD, "BUTTON", "Change password", 8, 56, 137, 25, kButton, IDC_GROUPBOX1},
    {IDC_LOGIN, "BUTTON", "Login to setup", 8, 88, 137, 25, kButton, IDC_GROUPBOX1},
    {IDC_BUTTON3, "BUTTON", "Logout", 8, 120, 137, 25, kButton, IDC_GROUPBOX1},
    {IDC_LABEL2, "STATIC", kCopyrightLine, 8, 176, 0, 0, kLabel, 0},
    {IDC_LABEL6, "STATIC", ui::kAuthorName, 8, 200, 0, 0, kLink, 0},
    {IDC_LABEL1, "STATIC", "Visit", 8, 232, 0, 0, kLabel, 0},
    {IDC_LABEL5, "STATIC", kMakerName, 8, 248, 79, 32, kLink, 0},
    {IDC_LABEL3, "STATIC", "today!!!!", 8, 280, 0, 0, kLabel, 0},
    {IDC_ADMIN_BOX, "BUTTON", "Administrator features", 168, 0, 273, 337, kGroup, 0},
    {IDC_USERLABEL, "STATIC", "Users:", 155, 10, 0, 0, kLabel, IDC_ADMIN_BOX},
    // Not sorted: list index i is slot i + 1.
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
    // Placed by the table, not by the status bar's own docking.
    {IDC_STATBAR, STATUSCLASSNAMEA, "", 0, 344, 442, 20,
     CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0},
};

// Menu items, buttons and the clicks of the two link labels, with the rights each one asks for.
// The administrator's commands test the rights again although admin_box hides them from everybody
// else, since the group shows the rights as they were at the window's last activation; a click
// that reaches one of them without the rights does nothing and says nothing.
constexpr Command kCommands[] = {
    // The menu and the credit links are for everybody.
    {IDM_QUIT1, &Tmain::Quit1Click, Rights::kAnyone},
    {IDM_OPENHELP1, &Tmain::OpenHelp1Click, Rights::kAnyone},
    {IDM_README1, &Tmain::Readme1Click, Rights::kAnyone},
    {IDM_MAILTHEAUTHOR1, &Tmain::Mailtheauthor1Click, Rights::kAnyone},
    {IDM_ABOUT1, &Tmain::About1Click, Rights::kAnyone},
    {IDM_HOMEPAGE1, &Tmain::Homepage1Click, Rights::kAnyone},
    {IDC_LABEL6, &Tmain::Label6Click, Rights::kAnyone},
    {IDC_LABEL5, &Tmain::Label5Click, Rights::kAnyone},
    // The user functions work on the user's own login, which each of them checks itself.
    {IDC_NAMECHANGE, &Tmain::namechangeClick, Rights::kAnyone},
    {IDC_CHANGE_PASSWORD, &Tmain::change_passwordClick, Rights::kAnyone},
    {IDC_LOGIN, &Tmain::LoginClick, Rights::kAnyone},
    {IDC_BUTTON3, &Tmain::Button3Click, Rights::kAnyone},
    // Administrator features.
    {IDC_ADD_USER_BUT, &Tmain::add_user_butClick, Rights::kAdministrator},
    {IDC_SHOWPASS, &Tmain::showpassClick, Rights::kAdministrator},
    {IDC_FORCEPASSCHANGE, &Tmain::forcepasschangeClick, Rights::kAdministrator},
    {IDC_KICK_USER, &Tmain::kick_userClick, Rights::kAdministrator},
    {IDC_BUTTON1, &Tmain::Button1Click, Rights::kAdministrator},
    {IDC_UNINSTALL, &Tmain::uninstallClick, Rights::kAdministrator},
    {IDC_TURN_ON_AUTOSTART, &Tmain::turn_on_autostartClick, Rights::kAdministrator},
    {IDC_BUTTON2, &Tmain::Button2Click, Rights::kAdministrator},
    {IDC_CANCELDISABLE, &Tmain::canceldisableClick, Rights::kAdministrator},
    {IDC_CANCELENABLE, &Tmain::cancelenableClick, Rights::kAdministrator},
    {IDC_MAKESAFEMODE, &Tmain::makesafemodeClick, Rights::kAdministrator},
    {IDC_ENABLE_F8, &Tmain::Enable_f8Click, Rights::kAdministrator},
    // Switching safe-mode booting and the boot hot keys off only tightens the protection, so
    // these two test nothing and rely on admin_box alone: a click that reaches them without the
    // rights does no harm.
    {IDC_NO_SAFE_MODE, &Tmain::NO_SAFE_MODEClick, Rights::kAnyone},
    {IDC_NO_F8, &Tmain::No_f8Click, Rights::kAnyone},
};

// The controls with a mouse-move handler of their own; the window's own surface has
// FormMouseMove. Group boxes, plain labels and everything in admin_box have none.
constexpr Command kMouseMoves[] = {
    {IDC_LABEL6, &Tmain::Label6MouseMove},
    {IDC_LABEL5, &Tmain::Label5MouseMove},
    {IDC_NAMECHANGE, &Tmain::namechangeMouseMove},
    {IDC_CHANGE_PASSWORD, &Tmain::change_passwordMouseMove},
    {IDC_LOGIN, &Tmain::LoginMouseMove},
    {IDC_BUTTON3, &Tmain::Button3MouseMove},
};

struct ToolTip {
  int id;
  const char* text;
};

// No_f8 has no tip; advanced_box's own tip covers its free surface.
constexpr char kAdvancedBoxTip[] = "Prevent F5 F8 etc to work while booting.";
constexpr ToolTip kToolTips[] = {
    {IDC_TURN_ON_AUTOSTART, "Load ZVK Login on startup"},
    {IDC_BUTTON2, "Stop ZVK Login from loading on startup"},
    {IDC_MAKESAFEMODE, "Enable the computer to boot in safemode"},
    {IDC_NO_SAFE_MODE, "Prevent users from booting in safemode"},
    {IDC_ENABLE_F8, "Enable F5 F8 etc on boot"},
    {IDC_CANCELDISABLE, "Enable F5 F8 etc on boot"},
    {IDC_CANCELENABLE, "Enable F5 F8 etc on boot"},
};

// Status bar panels: widths 25, 240, 150, 25; the last one reaches to the right end.
constexpr int kPanelEdges[] = {25, 265, 415, -1};
constexpr int kStatusBarHeight = 20;

constexpr char kNotLoggedIn[] = "Not logged in";

// The status bar pictures drawn for the display's colours: 16- and 256-colour displays, common
// on Windows 9x machines, get pictures made for them rather than a reduction of the true-colour
// ones. On a palette display (8 bits or fewer) they are loaded as device bitmaps: the image list
// then finds the transparent magenta in the display's own colours. Kept as a DIB section there,
// its colours are matched to the palette only when drawn, the mask misses, and magenta shows.
struct Pictures {
  int id;
  UINT load_flags;
};

Pictures PicturesForTheDisplay() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  if (bits <= 4) {
    return {IDB_PICTURES_16, LR_DEFAULTCOLOR};
  }
  if (bits <= 8) {
    return {IDB_PICTURES_256, LR_DEFAULTCOLOR};
  }
  return {IDB_PICTURES, LR_CREATEDIBSECTION};
}

}  // namespace

ui::CommandRows<Tmain> Tmain::Commands() {
  return {kCommands, std::size(kCommands)};
}

Tmain::Tmain(const MainWindowParts& parts) : parts_(parts) {
  SetCommands(ui::BindCommands(*this, kCommands, [this] { return parts_.users.HasAdminRights(); }));
}

bool Tmain::Create() {
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

  // The icons go with the window's class, so the window is made with them rather than given
  // them afterwards.
  HINSTANCE instance = GetModuleHandleA(nullptr);
  Frame frame{"Tmain",
              kMainWindowCaption,
              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
              WS_EX_CONTROLPARENT,
              kClientWidth,
              kClientHeight,
              true,
              LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN)),
              static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, 16,
                                            16, LR_DEFAULTCOLOR))};
  if (!CreateFrame(frame, nullptr, menu)) {
    return false;
  }

  font_ = ui::MakeFont("Arial", -11, true);
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // admin_box starts hidden: the first activation shows it when the rights are there, and
  // otherwise has nothing to hide.
  CreateControls(kControls, std::size(kControls), font_, IDC_ADMIN_BOX);
  link_font_ = ui::MakeFont("MS Sans Serif", -11, true, true);
  for (int id : {IDC_LABEL5, IDC_LABEL6}) {
    SendMessageA(Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(link_font_), FALSE);
  }
  FitToText(IDC_LABEL6);
  const Pictures pictures = PicturesForTheDisplay();
  image_list1_ = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(pictures.id), 16, 0,
                                      RGB(255, 0, 255), IMAGE_BITMAP, pictures.load_flags);
  CreateStatusBar();
  SubclassMouseMoves();

  ui::RunCommand([this] { FormCreate(); });
  // After the error box of a databank that could not be read whole: what was read and what
  // Quit will do with the file.
  const std::string report =
      core::LoadReport(parts_.databank.Loaded(), parts_.users.Count(), core::kDatabankPath);
  if (!report.empty()) {
    ui::ShowPlainMessage(report);
  }
  return true;
}

void Tmain::Show(int show_command) {
  ShowWindow(hwnd(), show_command);
  UpdateWindow(hwnd());
  SetForegroundWindow(hwnd());
}

HWND Tmain::users_box() const {
  return Control(IDC_USERS_BOX);
}
HWND Tmain::statbar() const {
  return Control(IDC_STATBAR);
}

void Tmain::CreateStatusBar() {
  HWND bar = statbar();
  SendMessageA(bar, SB_SETPARTS, std::size(kPanelEdges), reinterpret_cast<LPARAM>(kPanelEdges));
  SendMessageA(bar, SB_SETMINHEIGHT, kStatusBarHeight, 0);
  SendMessageA(bar, SB_SETTEXTA, 0 | SBT_OWNERDRAW, 0);
  SendMessageA(bar, SB_SETTEXTA, 3 | SBT_OWNERDRAW, 0);
  SetStatusPanel(1, kMakerHost);
  SetStatusPanel(2, "Current user: Not logged in");
}

void Tmain::SetStatusPanel(int index, const std::string& text) {
  ui::SetStatusText(statbar(), index, text);
}

std::string Tmain::StatusPanel(int index) const {
  auto length = LOWORD(SendMessageA(statbar(), SB_GETTEXTLENGTHA, index, 0));
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(statbar(), SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return text;
}

// The size of the first TOOLINFO, which comctl32 4.00 of Windows 95 knows; it refuses the
// larger ones, and the later fields are not used here.
const UINT kToolInfoSize = TTTOOLINFOA_V1_SIZE;

// Made when the mouse first comes over the window rather than at start-up, where the tool tip
// window and its tools cost as much as a dialog's controls and nobody can see a tip yet.
void Tmain::CreateToolTips() {
  tooltips_asked_ = true;
  tooltips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  if (!tooltips_) {
    return;
  }
  for (const ToolTip& tip : kToolTips) {
    TOOLINFOA tool{};
    tool.cbSize = kToolInfoSize;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(Control(tip.id));
    tool.lpszText = const_cast<char*>(tip.text);
    SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SetAdvancedBoxTip(AdminBoxShown());
}

// The group box lets the mouse through to the window, so its tip is a tool over its rectangle
// of the window, present only while the box is shown.
void Tmain::SetAdvancedBoxTip(bool active) {
  if (!tooltips_) {
    return;
  }
  TOOLINFOA tool{};
  tool.cbSize = kToolInfoSize;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = hwnd();
  tool.uId = IDC_ADVANCED_BOX;
  SendMessageA(tooltips_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  if (!active) {
    return;
  }
  RECT box{};
  GetWindowRect(Control(IDC_ADVANCED_BOX), &box);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&box), 2);
  tool.rect = box;
  tool.lpszText = const_cast<char*>(kAdvancedBoxTip);
  SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

// Classic subclassing: the control's window procedure is swapped for ours, which calls the old
// one through CallWindowProcA. Every Windows has it; comctl32 exports SetWindowSubclass by name
// only from XP on. The main window goes in the control's user data and the old procedure in the
// window's own list: a window property would be asked for on every message the control gets,
// and under Wine each such question is a round trip to its server.
void Tmain::SubclassMouseMoves() {
  for (const Command& move : kMouseMoves) {
    HWND control = Control(move.id);
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const LONG_PTR old_proc =
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlMouseProc));
    old_procs_.emplace_back(control, reinterpret_cast<WNDPROC>(old_proc));
  }
}

WNDPROC Tmain::OldProc(HWND control) const {
  for (const auto& entry : old_procs_) {
    if (entry.first == control) {
      return entry.second;
    }
  }
  return nullptr;
}

LRESULT CALLBACK Tmain::ControlMouseProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  Tmain* self = reinterpret_cast<Tmain*>(GetWindowLongPtrA(control, GWLP_USERDATA));
  const WNDPROC old_proc = self->OldProc(control);
  if (message == WM_MOUSEMOVE) {
    const int id = GetDlgCtrlID(control);
    for (const Command& move : kMouseMoves) {
      if (move.id == id) {
        ui::RunCommand([self, &move] { (self->*move.handler)(); });
      }
    }
  } else if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_proc));
  }
  return CallWindowProcA(old_proc, control, message, wparam, lparam);
}

void Tmain::ShowAdminBox(bool visible) {
  // The group and all in it are shown and hidden together, so the box's own flag tells the
  // state of all (IsWindowVisible would also ask whether the main window is shown).
  const bool shown = (GetWindowLongA(Control(IDC_ADMIN_BOX), GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown == visible) {
    return;
  }
  int command = visible ? SW_SHOW : SW_HIDE;
  for (const ControlEntry& entry : kControls) {
    if (InGroup(kControls, std::size(kControls), entry, IDC_ADMIN_BOX)) {
      ShowWindow(Control(entry.id), command);
    }
  }
  SetAdvancedBoxTip(visible);
}

bool Tmain::AdminBoxShown() const {
  return IsWindowVisible(Control(IDC_ADMIN_BOX)) != FALSE;
}

void Tmain::SetLinkLook(int id, const std::string& caption, COLORREF colour) {
  COLORREF& current = id == IDC_LABEL5 ? label5_colour_ : label6_colour_;
  bool recolour = current != colour;
  current = colour;
  if (ControlText(id) != caption) {
    SetControlText(id, caption);
    if (id == IDC_LABEL6) {
      FitToText(id);
    }
  } else if (recolour) {
    InvalidateRect(Control(id), nullptr, TRUE);
  }
}

COLORREF Tmain::LabelColour(int id) const {
  if (id == IDC_LABEL5) {
    return label5_colour_;
  }
  if (id == IDC_LABEL6) {
    return label6_colour_;
  }
  return kBlack;
}

bool Tmain::IsLinkControl(int id) const {
  return id == IDC_LABEL5 || id == IDC_LABEL6;
}

void Tmain::FormCreate() {
  status_font_ = ui::MakeFont("Times New Roman", -11, true);
  // Not redrawn now: the window is not shown yet, and its first showing paints the bar.
  SendMessageA(statbar(), WM_SETFONT, reinterpret_cast<WPARAM>(status_font_), FALSE);
  core::UserTable& users = parts_.users;
  users.SetCount(0);
  users.CurrentUser = 0;
  // A boot option change that a crash cut off is finished or undone first, then the databank's
  // own (inside OpenDatabank).
  core::RecoverBootConfig(parts_.files, parts_.messages);
  parts_.databank.OpenDatabank();
}

void Tmain::FillUsersBox() {
  HWND list = users_box();
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& name : parts_.users.UserNames()) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}

void Tmain::FormActivate() {
  const core::UserTable& users = parts_.users;
  FillUsersBox();
  if (users.Count() != 0 && users.CurrentUser != 0) {
    SetStatusPanel(2, "Current user: " + users.NameOf(users.CurrentUser));
  } else {
    SetStatusPanel(2, kNotLoggedIn);
  }
  ShowAdminBox(users.HasAdminRights());
}

void Tmain::Quit1Click() {
  if (run_ending_) {
    return;
  }
  // A failed save throws from here: the error box shows and the window stays.
  if (parts_.databank.SaveDatabank() == core::SaveOutcome::kLeftUnchanged) {
    ui::ShowPlainMessage(
        "The databank could not be read at start-up, so it has been left as it was.");
  } else {
    ui::ShowInformation(std::string("Changes(If any) have been saved") + "\r\n" + "  " +
                        kCopyrightLine);
  }
  EndRun();
}

void Tmain::EndRun() {
  run_ending_ = true;
  // The loop takes WM_QUIT only once the messages already posted have been handled.
  PostQuitMessage(0);
}

LRESULT Tmain::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      // The close box and the system menu end the run through Quit, which saves first; not
      // while a box of the tool is up, as no command starts then.
      if (!ui::MessageBoxUp()) {
        ui::RunCommand([this] { Quit1Click(); });
      }
      return 0;
    case WM_SETCURSOR:
      // Sent for every move of the mouse over the window or any of its controls, before the
      // move itself: the tips are there for the first move over a tool.
      if (!tooltips_asked_) {
        CreateToolTips();
      }
      break;
    case WM_MOUSEMOVE: {
      // Only the window's own surface: group boxes and plain labels let the mouse through to
      // the window, but they count as controls here.
      POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      if (ChildWindowFromPointEx(hwnd(), at, CWP_SKIPINVISIBLE) == hwnd()) {
        ui::RunCommand([this] { FormMouseMove(); });
      }
      return 0;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (wparam != IDC_STATBAR) {
        break;
      }
      int index = static_cast<int>(item->itemID);
      HDC dc = item->hDC;
      RECT rect = item->rcItem;
      ui::RunCommand([this, index, dc, rect] { statbarDrawPanel(index, dc, rect); });
      return TRUE;
    }
    case WM_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, kBlack);
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    default:
      break;
  }
  return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace app
