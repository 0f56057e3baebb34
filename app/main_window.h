// The main window Tmain: the user functions, the administrator features, the credit block, the
// menu and the status bar. Its creation loads the databank; each time it becomes active it shows
// the user table's state; Quit saves the table and ends the run.
//
// The handlers are spread over files by subject: main_window.cpp (creation, activation, Quit and
// the wiring of every message), account_commands.cpp, boot_commands.cpp, settings_commands.cpp,
// help_commands.cpp and status_feedback.cpp.
#pragma once

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "core/databank_file.h"
#include "core/messages.h"
#include "core/user_table.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "ui/window_base.h"

namespace dialogs {
class TEnter_form;
class Tpasschangeform;
class Tuname_change;
class TAdduser;
class Tmakepasschange;
class Tabout;
}  // namespace dialogs

namespace app {

// The maker link of the credit block.
inline constexpr char kMakerName[] = "Tarnwick Keep";

// What the main window works with. The program owns all of it (app/program.h); the user table
// is the one the dialogs share.
struct MainWindowParts {
  core::UserTable& users;
  core::DatabankFile& databank;
  platform::FileSystem& files;
  platform::Registry& registry;
  platform::Shell& shell;
  core::MessageSink& messages;
  dialogs::Tpasschangeform& passchangeform;
  dialogs::TAdduser& adduser;
  dialogs::TEnter_form& enter_form;
  dialogs::Tabout& about;
  dialogs::Tuname_change& uname_change;
  dialogs::Tmakepasschange& makepasschange;
};

class Tmain : public ui::WindowBase {
 public:
  explicit Tmain(const MainWindowParts& parts);

  // The menu items, buttons and link clicks, each with its handler and the rights it asks for.
  static ui::CommandRows<Tmain> Commands();

  // Creates the window hidden (running FormCreate); Show shows it for the first time.
  bool Create();
  void Show(int show_command);

  HWND users_box() const;
  // Refills users_box with the names of slots 1..count, in slot order.
  void FillUsersBox();
  HWND statbar() const;
  HIMAGELIST image_list() const { return image_list1_; }
  // Status bar panels 1 and 2 hold text; 0 and 3 are drawn by statbarDrawPanel.
  void SetStatusPanel(int index, const std::string& text);
  std::string StatusPanel(int index) const;
  // Hiding the administrator group hides everything in it, advanced_box included.
  void ShowAdminBox(bool visible);
  bool AdminBoxShown() const;
  // Caption and text colour of a link label (IDC_LABEL5, IDC_LABEL6); the auto-sized one is
  // refitted to its new caption.
  void SetLinkLook(int id, const std::string& caption, COLORREF colour);
  // The file the open-file dialog of "Enable autostart" proposes: the one chosen last.
  std::string& executable_path() { return executable_path_; }

  // Creation, activation and shutdown (main_window.cpp).
  void FormCreate();
  void FormActivate() override;
  void Quit1Click();
  // Ends the run: the loop stops once the messages already posted are handled. From then on
  // Quit and the close box do nothing, so a message still queued neither saves a second time
  // nor re-creates the databank that Uninstall deleted.
  void EndRun();

  // The user functions and the administrator's user management (account_commands.cpp).
  void namechangeClick();
  void change_passwordClick();
  void LoginClick();
  void Button3Click();
  void add_user_butClick();
  void showpassClick();
  void forcepasschangeClick();
  void kick_userClick();

  // Boot options in the boot configuration file (boot_commands.cpp).
  void makesafemodeClick();
  void NO_SAFE_MODEClick();
  void Enable_f8Click();
  void No_f8Click();

  // Registry settings and uninstall (settings_commands.cpp).
  void turn_on_autostartClick();
  void Button2Click();
  void canceldisableClick();
  void cancelenableClick();
  void uninstallClick();

  // Help menu, credit links, login log and about box (help_commands.cpp).
  void OpenHelp1Click();
  void Readme1Click();
  void Mailtheauthor1Click();
  void About1Click();
  void Homepage1Click();
  void Label6Click();
  void Label5Click();
  void Button1Click();

  // Status bar text, hover feedback and the picture panels (status_feedback.cpp).
  void showmsg(const std::string& text);
  void FormMouseMove();
  void Label6MouseMove();
  void Label5MouseMove();
  void namechangeMouseMove();
  void change_passwordMouseMove();
  void LoginMouseMove();
  void Button3MouseMove();
  // Panel `index` (0 or 3) of statbar, to be drawn into `rect` of `dc`.
  void statbarDrawPanel(int index, HDC dc, const RECT& rect);

 protected:
  COLORREF LabelColour(int id) const override;
  bool IsLinkControl(int id) const override;
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void CreateStatusBar();
  void CreateToolTips();
  void SetAdvancedBoxTip(bool active);
  void SubclassMouseMoves();
  static LRESULT CALLBACK ControlMouseProc(HWND control, UINT message, WPARAM wparam,
                                           LPARAM lparam);
  // The window procedure a control had before SubclassMouseMoves.
  WNDPROC OldProc(HWND control) const;

  // The selected entry of users_box; -1 when none is.
  int SelectedListIndex() const;

  MainWindowParts parts_;
  HFONT font_ = nullptr;
  HFONT link_font_ = nullptr;
  HFONT status_font_ = nullptr;
  HIMAGELIST image_list1_ = nullptr;
  HWND tooltips_ = nullptr;
  bool tooltips_asked_ = false;
  std::vector<std::pair<HWND, WNDPROC>> old_procs_;  // the subclassed controls
  COLORREF label5_colour_ = RGB(255, 0, 0);
  COLORREF label6_colour_ = RGB(255, 0, 0);
  std::string executable_path_;
  bool run_ending_ = false;
};

}  // namespace app
