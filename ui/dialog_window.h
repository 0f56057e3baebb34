// The common part of the six modeless dialogs: caption, frame kind, size, font, what the close
// command does, showing and hiding. Each dialog is created once, hidden, and shown and hidden on
// demand; it fills in FormCreate and FormActivate where it has something to do then.
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

#include "ui/message_boxes.h"
#include "ui/outcome_table.h"
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

struct DialogSize {
  int width, height;
};

struct DialogFont {
  const char* face;
  bool bold;
};
inline constexpr DialogFont kDialogFont{"MS Sans Serif", false};
inline constexpr DialogFont kBoldDialogFont{"MS Sans Serif", true};

struct DialogLook {
  const char* class_name;
  const char* caption;
  DialogFrame frame;
  // The client area for the fixed frames; the whole window for the resizable one.
  DialogSize size;
  CloseAction close;
  DialogFont font;
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
  // `commands` is the dialog's own table, bound with BindCommands.
  template <std::size_t N>
  DialogWindow(const DialogLook& look, const ControlEntry (&controls)[N], CommandDispatch commands)
      : look_(look), controls_(controls), control_count_(N) {
    SetCommands(std::move(commands));
  }

  // Runs once, inside RunCommand, when the dialog and its controls have been created.
  virtual void FormCreate() {}

  // Carries out the row of `rows` for `outcome`: shows its message, empties its fields and
  // hides the dialog before or after the message, as the row says.
  template <class Outcome, std::size_t N>
  void Conclude(const OutcomeRow<Outcome> (&rows)[N], Outcome outcome) {
    const OutcomeRow<Outcome>* row = FindOutcome(rows, outcome);
    if (row == nullptr) {
      return;
    }
    if (row->hiding == Hiding::kBeforeMessage) {
      Hide();
    }
    if (row->message != nullptr) {
      ShowPlainMessage(row->message);
    }
    ClearControls(row->clear);
    if (row->hiding == Hiding::kAfterMessage) {
      Hide();
    }
  }

  HFONT font() const { return font_; }
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  const DialogLook& look_;
  const ControlEntry* controls_;
  std::size_t control_count_;
  HFONT font_ = nullptr;
};

}  // namespace ui
