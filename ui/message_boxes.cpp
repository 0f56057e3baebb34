#include "ui/message_boxes.h"

#include <windows.h>

#include <vector>

#include "core/errors.h"
#include "ui/window_base.h"

namespace ui {
namespace {

// The application title: the caption of the plain messages and of the error box.
constexpr char kApplicationTitle[] = "Korvane Configuration";

// The active tool window owns the box, so the box stays in front of the window whose command
// raised it. Before any tool window is shown (an error while loading at start-up) it has none.
HWND BoxOwner() {
  HWND active = GetActiveWindow();
  if (WindowBase::IsToolWindow(active) && IsWindowVisible(active)) {
    return active;
  }
  return nullptr;
}

int boxes_up = 0;

// Holds the whole tool for one box. The box disables its owner itself, and before it goes it
// enables the owner again and gives it back the activation, with the focus where it was; every
// other shown tool window is disabled here for as long as the box is up, and enabled again after.
class ToolHold {
 public:
  explicit ToolHold(HWND owner) : owner_(owner) {
    // Room first, so that no window is left disabled by a failed allocation.
    held_.reserve(WindowBase::ToolWindows().size());
    ++boxes_up;
    for (HWND window : WindowBase::ToolWindows()) {
      if (window != owner && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        held_.push_back(window);
      }
    }
  }
  ToolHold(const ToolHold&) = delete;
  ToolHold& operator=(const ToolHold&) = delete;
  ~ToolHold() {
    for (HWND window : held_) {
      EnableWindow(window, TRUE);
    }
    --boxes_up;
    // Should the activation have gone elsewhere while the tool was held, it comes back.
    if (owner_ && IsWindowVisible(owner_) && GetActiveWindow() != owner_) {
      SetActiveWindow(owner_);
    }
  }

 private:
  HWND owner_;
  std::vector<HWND> held_;
};

int ShowBox(const std::string& text, const char* caption, UINT type) {
  HWND owner = BoxOwner();
  ToolHold hold(owner);
  // Without an owner (start-up) the box holds every window of the thread by itself.
  return MessageBoxA(owner, text.c_str(), caption, type | (owner ? 0 : MB_TASKMODAL));
}

}  // namespace

bool MessageBoxUp() {
  return boxes_up > 0;
}

void ShowPlainMessage(const std::string& text) {
  ShowBox(text, kApplicationTitle, MB_OK);
}

bool AskConfirm(const std::string& question) {
  return ShowBox(question, "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void ShowInformation(const std::string& text) {
  ShowBox(text, "Information", MB_OK | MB_ICONINFORMATION);
}

void ShowErrorBox(const std::string& message) {
  ShowBox(core::ErrorBoxText(message), kApplicationTitle, MB_OK | MB_ICONSTOP);
}

}  // namespace ui
