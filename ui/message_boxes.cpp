#include "ui/message_boxes.h"

#include <windows.h>

#include "core/io_error.h"
#include "ui/product_texts.h"
#include "ui/window_base.h"

namespace ui {
namespace {

// The active tool window owns the box, so the box stays in front of the window whose command
// raised it. Before any tool window is shown (an error while loading at start-up) it has none.
HWND BoxOwner() {
  HWND active = GetActiveWindow();
  if (WindowBase::IsToolWindow(active) && IsWindowVisible(active)) {
    return active;
  }
  return nullptr;
}

int ShowBox(const std::string& text, const char* caption, UINT type) {
  HWND owner = BoxOwner();
  return MessageBoxA(owner, text.c_str(), caption, type | (owner ? 0 : MB_TASKMODAL));
}

}  // namespace

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
