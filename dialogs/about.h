// The about box: the copyright line, the author link and what the program is for.
#pragma once

#include "app/dialog_window.h"

namespace dialogs {

class Tabout : public app::DialogWindow {
 public:
  Tabout();

  void OkbutClick();
  void Label2Click();

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code) override;
  void OnActivate() override;
  bool IsLinkControl(int id) const override;
  COLORREF LabelColour(int id) const override;
};

}  // namespace dialogs
