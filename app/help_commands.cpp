// The Help menu, the two credit links, the login log view and the about box command. Every
// document and address goes to the shell's "open"; a refusal of the shell is not reported.
#include "app/main_window.h"
#include "dialogs/about.h"
#include "platform/shell.h"
#include "ui/product_texts.h"

namespace app {
namespace {

// Relative to the current directory; the build ships both beside the program, and
// scripts/run.sh starts it there.
constexpr char kHelpFile[] = "help.html";
constexpr char kReadmeFile[] = "readme.txt";
// Written by the protection program; the tool only hands a copy of it to the shell.
constexpr char kLoginLogPath[] = "c:\\windows\\logfile.zvk";
constexpr char kLoginLogCopyPath[] = "c:\\korvanelog.txt";
// On the maker's web host, which status panel 1 shows at start-up.
constexpr char kHomePageUrl[] = "http://www.tarnwickkeep.example/software/index.html";

}  // namespace

void Tmain::OpenHelp1Click() {
  parts_.shell.Open(hwnd(), kHelpFile);
}

void Tmain::Readme1Click() {
  parts_.shell.Open(hwnd(), kReadmeFile);
}

void Tmain::Mailtheauthor1Click() {
  parts_.shell.Open(hwnd(), ui::kAuthorMailUrl);
}

void Tmain::About1Click() {
  parts_.about.Show();
}

void Tmain::Homepage1Click() {
  parts_.shell.Open(hwnd(), kHomePageUrl);
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
  platform::CopyAndOpen(parts_.files, parts_.shell, hwnd(), kLoginLogPath, kLoginLogCopyPath);
}

}  // namespace app
