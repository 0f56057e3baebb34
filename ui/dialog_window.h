// The common part of the six modeless dialogs: caption, frame kind, size, font, what the close
// command does, showing and hiding. Each dialog is created once, hidden, and shown and hidden on
// demand; it fills in FormCreate and FormActivate where it has something to do then.
#pragma once

#include <windows.h>

#include <cstddef>

#include "ui/window_base.h"

namespace ui {

enum class DialogFrame {
  kFixed,                // fixed dialog frame, no system menu and no title-bar buttons
  kFixedWithSystemMenu,  // fixed dialog frame with system menu (close box only)
  kResizable,            // ordinary resizable window with system menu and close box
};

enum class CloseAction {
  kNone,  // the close command (close box, Alt+F4) is ignored
  kHide,  // the close command hides the dialog
};

struct DialogLook {
  const char* class_name;
  const char* caption;
  DialogFrame frame;
  // The client area for the fixed frames; the whole window for the resizable one.
  int width, height;
  CloseAction close;
  const char* font_face;
  bool bold;
};

class DialogWindow : public WindowBase {
 public:
  // Creates the dialog hidden, centred on the screen, owned by `owner` (the main window, so
  // that hiding the dialog gives the focus back to it), then runs FormCreate.
  bool Create(HWND owner);
  void Show();
  void Hide();
  bool IsShown() const { return IsWindowVisible(hwnd()) != FALSE; }

 protected:
  DialogWindow(const DialogLook& look, const ControlEntry* controls, std::size_t control_count);

  // Runs once, inside RunCommand, when the dialog and its controls have been created.
  virtual void FormCreate() {}

  HFONT font() const { return font_; }
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  const DialogLook& look_;
  const ControlEntry* controls_;
  std::size_t control_count_;
  HFONT font_ = nullptr;
};

}  // namespace ui
