#include "ui/window_base.h"

#include <algorithm>
#include <vector>

#include "ui/command_runner.h"
#include "ui/message_boxes.h"

namespace ui {
namespace {

std::vector<HWND>& CreatedWindows() {
  static std::vector<HWND> windows;
  return windows;
}

bool IsClass(const char* window_class, const char* name) {
  return lstrcmpiA(window_class, name) == 0;
}

// The entry of `table` with `id`, or nullptr; id 0 (the client area) has none.
const ControlEntry* FindEntry(const ControlEntry* table, std::size_t count, int id) {
  if (id == 0) {
    return nullptr;
  }
  const ControlEntry* found = std::find_if(
      table, table + count, [id](const ControlEntry& entry) { return entry.id == id; });
  return found != table + count ? found : nullptr;
}

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(length, 0)));
  return text;
}

}  // namespace

HFONT MakeFont(const char* face, int height, bool bold, bool underline) {
  return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline ? TRUE : FALSE,
                     FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

HWND WindowBase::Control(int id) const {
  for (const auto& control : controls_) {
    if (control.first == id) {
      return control.second;
    }
  }
  return GetDlgItem(hwnd_, id);
}

std::string WindowBase::ControlText(int id) const {
  HWND control = Control(id);
  return control ? WindowText(control) : std::string();
}

void WindowBase::SetControlText(int id, const std::string& text) {
  SetWindowTextA(Control(id), text.c_str());
}

void WindowBase::ClearControls(std::initializer_list<int> ids) {
  for (int id : ids) {
    SetControlText(id, "");
  }
}

SIZE WindowBase::TextSize(HDC dc, const char* text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return SIZE{size.cx + 1, metrics.tmHeight};
}

void WindowBase::FitToText(HWND control) {
  if (!control) {
    return;
  }
  const std::string text = WindowText(control);
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  const SIZE size = TextSize(dc, text.c_str());
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const std::vector<HWND>& WindowBase::ToolWindows() {
  return CreatedWindows();
}

bool WindowBase::IsToolWindow(HWND window) {
  if (!window) {
    return false;
  }
  const auto& windows = CreatedWindows();
  return std::find(windows.begin(), windows.end(), window) != windows.end();
}

bool WindowBase::CreateFrame(const Frame& frame, HWND owner, HMENU menu) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA window_class{};
  // Windows 95 fails the call when the size is not filled in first.
  window_class.cbSize = sizeof window_class;
  if (!GetClassInfoExA(instance, frame.class_name, &window_class)) {
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = frame.class_name;
    window_class.hIcon = frame.icon;
    window_class.hIconSm = frame.small_icon;
    if (!RegisterClassExA(&window_class)) {
      return false;
    }
  }

  RECT outer{0, 0, frame.width, frame.height};
  if (frame.client_size) {
    AdjustWindowRectEx(&outer, frame.style, menu != nullptr, frame.ex_style);
  }
  int width = outer.right - outer.left;
  int height = outer.bottom - outer.top;
  // Asked once: every question about the screen costs a look at the display settings.
  static const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  int left = (screen.cx - width) / 2;
  int top = (screen.cy - height) / 2;
  CreateWindowExA(frame.ex_style, frame.class_name, frame.caption, frame.style, left, top, width,
                  height, owner, menu, instance, this);
  return hwnd_ != nullptr;
}

POINT WindowBase::Origin(const ControlEntry* table, std::size_t count, const ControlEntry& entry) {
  POINT origin{entry.x, entry.y};
  for (const ControlEntry* group = FindEntry(table, count, entry.parent); group != nullptr;
       group = FindEntry(table, count, group->parent)) {
    origin.x += group->x;
    origin.y += group->y;
  }
  return origin;
}

bool WindowBase::InGroup(const ControlEntry* table, std::size_t count, const ControlEntry& entry,
                         int group) {
  for (const ControlEntry* at = &entry; at != nullptr;) {
    if (at->id == group) {
      return true;
    }
    at = FindEntry(table, count, at->parent);
  }
  return false;
}

void WindowBase::CreateControls(const ControlEntry* table, std::size_t count, HFONT font,
                                int hidden_group) {
  // Every window, message and call to the window manager costs at start-up, where all seven
  // windows are made at once (under Wine each is a round trip to its server). So labels are
  // measured before they are made and made at their size, not resized afterwards; the
  // controls send no creation notice to the window, which has no use for it; a group that
  // starts hidden is made hidden rather than shown and hidden again; and group boxes are made
  // where they belong in the sibling order rather than moved there.
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HDC measure = nullptr;
  HGDIOBJ measure_font = nullptr;
  auto create = [&](const ControlEntry& entry) {
    POINT at = Origin(table, count, entry);
    SIZE size{entry.w, entry.h};
    if (entry.w == 0) {
      if (!measure) {
        measure = CreateCompatibleDC(nullptr);
        measure_font = SelectObject(measure, font);
      }
      size = TextSize(measure, entry.caption);
    }
    const bool framed =
        IsClass(entry.window_class, "EDIT") || IsClass(entry.window_class, "LISTBOX");
    const bool hidden = hidden_group != 0 && InGroup(table, count, entry, hidden_group);
    HWND control = CreateWindowExA(
        WS_EX_NOPARENTNOTIFY | (framed ? WS_EX_CLIENTEDGE : 0), entry.window_class, entry.caption,
        WS_CHILD | (hidden ? 0 : WS_VISIBLE) | entry.style, at.x, at.y, size.cx, size.cy, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
    if (!control) {
      return;
    }
    controls_.emplace_back(entry.id, control);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // Common controls 6 would show a dot; the stored passwords are typed behind stars.
    if (entry.style & ES_PASSWORD) {
      SendMessageA(control, EM_SETPASSWORDCHAR, '*', 0);
    }
  };
  auto is_group_box = [](const ControlEntry& entry) {
    return IsClass(entry.window_class, "BUTTON") && (entry.style & 0x0F) == BS_GROUPBOX;
  };
  for (std::size_t i = 0; i < count; ++i) {
    if (!is_group_box(table[i])) {
      create(table[i]);
    }
  }
  // Group boxes go to the bottom of the sibling order, so that they never paint over the
  // controls that stand in them: a new child window goes below its siblings, so they are made
  // last, the first of the table lowest.
  for (std::size_t i = count; i-- > 0;) {
    if (is_group_box(table[i])) {
      create(table[i]);
    }
  }
  if (measure) {
    SelectObject(measure, measure_font);
    DeleteDC(measure);
  }
}

void WindowBase::SetEnterKey(int edit_id, int button_id) {
  enter_edit_ = edit_id;
  enter_button_ = button_id;
}

LRESULT WindowBase::DefaultButton() const {
  HWND focus = GetFocus();
  if (focus && IsChild(hwnd_, focus) &&
      (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
  }
  if (enter_button_ != 0 && (enter_edit_ == 0 || (focus && IsChild(hwnd_, focus) &&
                                                  GetDlgCtrlID(focus) == enter_edit_))) {
    return MAKELRESULT(enter_button_, DC_HASDEFID);
  }
  return 0;
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) {
          saved_focus_ = focus;
        }
        return 0;
      }
      if (saved_focus_ && IsWindow(saved_focus_) && IsWindowVisible(saved_focus_)) {
        SetFocus(saved_focus_);
      } else {
        HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        SetFocus(first ? first : hwnd_);
      }
      if (activation_pending_ || IsToolWindow(reinterpret_cast<HWND>(lparam))) {
        activation_pending_ = false;
        RunCommand([this] { FormActivate(); });
      }
      return 0;
    case WM_SETCURSOR: {
      HWND over = reinterpret_cast<HWND>(wparam);
      if (over != hwnd_ && IsChild(hwnd_, over) && IsLinkControl(GetDlgCtrlID(over))) {
        // Windows 95 has no hand cursor; the arrow stands in for it there.
        HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
        SetCursor(hand ? hand : LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
      }
      return DefWindowProcA(hwnd_, message, wparam, lparam);
    }
    case WM_COMMAND: {
      // Clicks of buttons and links and menu choices come with code 0; the other notifications
      // (edit changes, list selections) are no commands. While a box of the tool is up no
      // command starts, not even one posted to a window before the box came up.
      const int id = LOWORD(wparam);
      if (HIWORD(wparam) == 0 && commands_ && !MessageBoxUp()) {
        RunCommand([this, id] { commands_(id); });
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, LabelColour(GetDlgCtrlID(reinterpret_cast<HWND>(lparam))));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case DM_GETDEFID:
      // Asked by IsDialogMessage when Enter is pressed.
      return DefaultButton();
    default:
      return DefWindowProcA(hwnd_, message, wparam, lparam);
  }
}

LRESULT CALLBACK WindowBase::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  WindowBase* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    CreatedWindows().push_back(window);
  } else {
    self = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (!self) {
    return DefWindowProcA(window, message, wparam, lparam);
  }
  return self->HandleMessage(message, wparam, lparam);
}

}  // namespace ui
