// The about box: the copyright line, the author link and what the program is for.
#pragma once

#include "platform/shell.h"
#include "ui/dialog_window.h"

namespace dialogs {

class Tabout : public ui::DialogWindow {
 public:
  // The author link hands the mail address to `shell`.
  explicit Tabout(platform::Shell& shell);

  void Label2Click();

 protected:
  void FormCreate() override;
  bool IsLinkControl(int id) const override;
  COLORREF LabelColour(int id) const override;

 private:
  platform::Shell& shell_;
};

}  // namespace dialogs
