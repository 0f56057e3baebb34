// The Help menu, the two credit links, the login log view and the about box command. Every
// document and address goes to the shell's "open"; a refusal of the shell is not reported.
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/product_texts.h"
#include "dialogs/about.h"
#include "platform/shell.h"

namespace app {
namespace {

// Relative to the current directory; the build ships both beside the program, and
// scripts/run.sh starts it there.
constexpr char kHelpFile[] = "help.html";
constexpr char kReadmeFile[] = "readme.txt";
// Written by the protection program; the tool only hands a copy of it to the shell.
constexpr char kLoginLogPath[] = "c:\\windows\\logfile.zvk";
constexpr char kLoginLogCopyPath[] = "c:\\korvanelog.txt";

}  // namespace

void Tmain::OpenHelp1Click() {
  Shell().Open(hwnd(), kHelpFile);
}

void Tmain::Readme1Click() {
  Shell().Open(hwnd(), kReadmeFile);
}

void Tmain::Mailtheauthor1Click() {
  Shell().Open(hwnd(), kAuthorMailUrl);
}

void Tmain::About1Click() {
  AboutBox().Show();
}

void Tmain::Homepage1Click() {
  Shell().Open(hwnd(), kHomePageUrl);
}

void Tmain::Label6Click() {
  Mailtheauthor1Click();
}

void Tmain::Label5Click() {
  Homepage1Click();
}

// "View login info". A failed copy (no log yet, or the log held by the protection program) is not
// reported; the shell is still asked to open the copy, which is then that of an earlier view, if
// there is one.
void Tmain::Button1Click() {
  if (!Users().HasAdminRights()) {
    return;
  }
  platform::CopyAndOpen(Files(), Shell(), hwnd(), kLoginLogPath, kLoginLogCopyPath);
}

}  // namespace app
