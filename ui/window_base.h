// The object bound to its window handle (GWLP_USERDATA, set in WM_NCCREATE), the static table of
// a window's controls in pixels, and the one routine that creates the controls from that table.
// Shared by the main window and the six dialogs; each of them is created once and lives for the
// whole run.
#pragma once

#include <windows.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ui/command_table.h"

namespace ui {

// One control of a window. x and y are relative to the group box named by `parent` (0: the
// window's client area), as the layout gives them; the control itself is created as a child of
// the window, at the summed position, so every control is found with GetDlgItem on its window.
// A width of 0 sizes the control to its caption in its font. WS_CHILD and WS_VISIBLE are added
// (WS_VISIBLE not to the controls of a group made hidden).
// Identifier of the controls that no code refers to (plain labels).
constexpr int kNoId = -1;

struct ControlEntry {
  int id;
  const char* window_class;
  const char* caption;
  int x, y, w, h;
  DWORD style;
  int parent;
};

// A font that lives as long as the process; `height` in pixels (-11 is 8 points at 96 dpi).
HFONT MakeFont(const char* face, int height, bool bold, bool underline = false);

class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  virtual ~WindowBase() = default;

  HWND hwnd() const { return hwnd_; }
  // The controls made from the table are looked up here without asking the window manager.
  HWND Control(int id) const;
  std::string ControlText(int id) const;
  void SetControlText(int id, const std::string& text);
  // Empties these edit fields.
  void ClearControls(std::initializer_list<int> ids);
  // Resizes a control to fit its caption in its current font (for auto-sized labels).
  void FitToText(int id) { FitToText(Control(id)); }
  static void FitToText(HWND control);
  // The size FitToText gives a caption in the font selected into `dc`.
  static SIZE TextSize(HDC dc, const char* text);

  // True for the main window and the six dialogs; false for message boxes, the open-file
  // dialog and windows of other programs.
  static bool IsToolWindow(HWND window);
  // The main window and the six dialogs, in the order they were created.
  static const std::vector<HWND>& ToolWindows();

 protected:
  struct Frame {
    const char* class_name;
    const char* caption;
    DWORD style;
    DWORD ex_style;
    int width, height;
    bool client_size;      // width and height are those of the client area, not of the window
    HICON icon = nullptr;  // the class icons, for the caption and the task bar
    HICON small_icon = nullptr;
  };

  // Registers the window class on first use, creates the window hidden and centred on the
  // screen. The menu, if any, is counted in when sizing from the client area.
  bool CreateFrame(const Frame& frame, HWND owner, HMENU menu);
  // Controls in the group box `hidden_group` (and the box itself) are made hidden.
  void CreateControls(const ControlEntry* table, std::size_t count, HFONT font,
                      int hidden_group = 0);
  // True when `entry` is the group box `group` or stands in it, directly or not.
  static bool InGroup(const ControlEntry* table, std::size_t count, const ControlEntry& entry,
                      int group);
  // The client position of a table entry, with its group boxes' offsets summed.
  static POINT Origin(const ControlEntry* table, std::size_t count, const ControlEntry& entry);

  // Enter in the edit field `edit_id` presses the button `button_id`; edit_id 0: Enter anywhere
  // in the window presses it. A focused push button is always pressed by Enter.
  void SetEnterKey(int edit_id, int button_id);
  // The next activation counts as the window becoming active (its first showing).
  void ExpectActivation() { activation_pending_ = true; }
  // The window's command table: clicks of its buttons and links and its menu choices go to it.
  void SetCommands(CommandDispatch commands) { commands_ = std::move(commands); }

  // Runs when the window becomes the active window of the tool: when it is first shown, and when
  // the focus comes to it from another of the tool's windows. Returning from a message box, the
  // open-file dialog or another program does not count.
  virtual void FormActivate() {}
  // Link labels show the hand cursor.
  virtual bool IsLinkControl(int id) const {
    (void)id;
    return false;
  }
  // Text colour of a static control; the background is always the button face.
  virtual COLORREF LabelColour(int id) const {
    (void)id;
    return RGB(0, 0, 0);
  }
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT DefaultButton() const;

  HWND hwnd_ = nullptr;
  std::vector<std::pair<int, HWND>> controls_;  // id and handle of each control of the table
  HWND saved_focus_ = nullptr;
  CommandDispatch commands_;
  bool activation_pending_ = true;
  int enter_edit_ = -1;
  int enter_button_ = 0;
};

}  // namespace ui
