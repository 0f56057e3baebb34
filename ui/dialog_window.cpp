#include "ui/dialog_window.h"

#include "ui/command_runner.h"
#include "ui/message_boxes.h"

namespace ui {

bool DialogWindow::Create(HWND owner) {
  Frame frame{look_.class_name,
              look_.caption,
              WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN,
              WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
              look_.size.width,
              look_.size.height,
              true};
  switch (look_.frame) {
    case DialogFrame::kFixed:
      break;
    case DialogFrame::kFixedWithSystemMenu:
      frame.style |= WS_SYSMENU;
      break;
    case DialogFrame::kResizable:
      frame.style = WS_POPUP | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
      frame.ex_style = WS_EX_CONTROLPARENT;
      frame.client_size = false;
      break;
  }
  if (!CreateFrame(frame, owner, nullptr)) {
    return false;
  }
  font_ = MakeFont(look_.font.face, -11, look_.font.bold);
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  CreateControls(controls_, control_count_, font_);
  RunCommand([this] { FormCreate(); });
  return true;
}

void DialogWindow::Show() {
  // Showing the dialog that is active already does not make it become active again.
  if (GetActiveWindow() != hwnd()) {
    ExpectActivation();
  }
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

void DialogWindow::Hide() {
  ShowWindow(hwnd(), SW_HIDE);
}

LRESULT DialogWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      if (look_.close == CloseAction::kHide && !MessageBoxUp()) {
        Hide();
      }
      return 0;
    default:
      return WindowBase::HandleMessage(message, wparam, lparam);
  }
}

}  // namespace ui
