// The process-wide state every window uses: the one user table, the file system, the shell,
// the databank file, the message sink for core operations, and the seven windows of the run.
#pragma once

#include "core/databank_file.h"
#include "core/messages.h"
#include "core/user_table.h"
#include "platform/file_system.h"
#include "platform/shell.h"

namespace dialogs {
class TEnter_form;
class Tpasschangeform;
class Tuname_change;
class TAdduser;
class Tmakepasschange;
class Tabout;
}  // namespace dialogs

namespace app {

class Tmain;

core::UserTable& Users();
platform::FileSystem& Files();
platform::Shell& Shell();
core::DatabankFile& Databank();
core::MessageSink& Messages();

Tmain& MainForm();
dialogs::Tpasschangeform& PasschangeForm();
dialogs::TAdduser& AdduserForm();
dialogs::TEnter_form& EnterForm();
dialogs::Tabout& AboutBox();
dialogs::Tuname_change& UnameChangeForm();
dialogs::Tmakepasschange& MakepasschangeForm();

}  // namespace app
