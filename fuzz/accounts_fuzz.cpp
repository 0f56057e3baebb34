// Fuzzes the account rules with sequences of operations decoded from the input: add, remove,
// rename, own password, pick and set a user's password, display a password, login, logout, a
// quit with its save followed by a start with its load, a start that cannot open the databank,
// and writes aimed at slots that hold nobody. Each runs against core/accounts and the user table
// the way the windows call them, at any moment (the dialogs are modeless, so a button may be
// pressed long after its dialog was opened). After every step the table is checked against a
// model of its own, byte for byte, and: at most 255 users and the count never wraps;
// "Administrator" only ever in slot 1, and slot 1 never removed; nothing written for slot 0 or
// outside 1..count; a login finds the first slot whose name and password both match;
// HasAdminRights() exactly when the current slot's name is "Administrator" or the table is fresh
// and empty; and a save then load gives back every user in his slot.
//
// Input: one byte per operation (its number modulo 13) followed by its arguments. A text
// argument is one byte: a text of a small list ("Administrator", its look-alikes, the empty
// text, ...), the name or the password of a slot, up to 31 bytes taken from the input, a text of
// 254, 255, 256 or 300 characters, or a length byte and as many bytes from the input.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/accounts.h"
#include "core/databank_file.h"
#include "core/errors.h"
#include "core/user_table.h"
#include "fuzz/scratch_drive.h"

namespace {

constexpr int kSlots = 255;
constexpr std::string_view kAdministrator = "Administrator";

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : at_(data), end_(data + size) {}
  bool More() const { return at_ < end_; }
  // 0 past the end, so every input decodes to whole operations.
  std::uint8_t Byte() { return More() ? *at_++ : 0; }
  std::string Bytes(std::size_t n) {
    n = std::min<std::size_t>(n, static_cast<std::size_t>(end_ - at_));
    std::string bytes(reinterpret_cast<const char*>(at_), n);
    at_ += n;
    return bytes;
  }

 private:
  const std::uint8_t* at_;
  const std::uint8_t* end_;
};

// The table as the rules say it must be, kept apart from the code under test: every byte of the
// slots (a stored text keeps the bytes after it), the count and the login state.
struct Model {
  std::array<core::UserRecord, kSlots> slots{};
  int count = 0;
  int current = 0;
  int logged_in = 0;
  int selected = 0;
  bool fresh = true;  // no databank whose users could not be read
  // The users in the databank file, as the last save that wrote it left them.
  std::vector<std::pair<std::string, std::string>> on_disk;
  int highest = 0;  // slots above it were never written and are still zero
  // The pick of the set-password dialog: the slot and the list of names it was made on.
  int picked = 0;
  std::vector<std::string> picked_names;

  static void Store(core::ShortString255& field, std::string_view text) {
    const std::size_t n = std::min<std::size_t>(text.size(), 255);
    field.bytes[0] = static_cast<std::uint8_t>(n);
    std::memcpy(field.bytes.data() + 1, text.data(), n);
  }
  static std::string Text(const core::ShortString255& field) {
    return std::string(reinterpret_cast<const char*>(field.bytes.data()) + 1, field.bytes[0]);
  }
  bool InUse(int k) const { return k >= 1 && k <= count; }
  std::string Name(int k) const { return InUse(k) ? Text(slots[k - 1].name) : ""; }
  std::string Password(int k) const { return InUse(k) ? Text(slots[k - 1].password) : ""; }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int k = 1; k <= count; ++k) {
      names.push_back(Name(k));
    }
    return names;
  }
  bool AdminRights() const { return Name(current) == kAdministrator || (count == 0 && fresh); }
  void Append(std::string_view name, std::string_view password) {
    ++count;
    if (count > highest) {
      // A slot never written before holds zero bytes, in the table as in the model.
      slots[count - 1] = core::UserRecord{};
      highest = count;
    }
    Store(slots[count - 1].name, name);
    Store(slots[count - 1].password, password);
  }
  // A fresh model without clearing its 130 KB of slots, which Append clears one by one.
  void Reset() {
    count = current = logged_in = selected = picked = highest = 0;
    fresh = true;
    on_disk.clear();
    picked_names.clear();
  }
  // A start: nobody logged in or picked, and the table as loaded.
  void Restart(int loaded) {
    count = highest = loaded;
    current = logged_in = selected = picked = 0;
    picked_names.clear();
  }
};

// Everything of one run: the drive, the table with its databank file, and the model. One
// instance serves every run, so the 130 KB table is not mapped and unmapped anew each time.
struct Run {
  explicit Run(fuzzing::ScratchDrive& scratch) : drive(scratch) {}
  fuzzing::ScratchDrive& drive;
  std::optional<core::UserTable> table;
  std::optional<core::DatabankFile> databank;
  core::PickedUser picked;
  Model model;
  int next_user = 1;  // names of the users a bulk add creates
};

std::uint32_t FixedClock() {
  return 34567;
}

// Start-up: a fresh table, loaded from the databank file (created empty when there is none).
// Raises the I/O error of a failed open or load.
void Start(Run& run) {
  run.databank.reset();
  run.table.emplace();
  run.picked = core::PickedUser();
  run.databank.emplace(run.drive.files(), *run.table, core::kDatabankPath, FixedClock);
  run.databank->OpenDatabank();
}

const std::string kLongTexts[] = {std::string(254, 'a'), std::string(255, 'a'),
                                  std::string(256, 'a'), std::string(300, 'a')};

std::string TextArgument(Input& in, const Model& model) {
  static const std::string kListed[] = {
      std::string(kAdministrator),
      "administrator",
      "ADMINISTRATOR",
      "Administrator ",
      " Administrator",
      "Administrato",
      "",
      "root",
      "bob",
      "pw",
      std::string("Admin\0istrator", 14),
      std::string("\xff\x01", 2),
      std::string(kAdministrator) + std::string(300 - kAdministrator.size(), 'x'),
  };
  const std::uint8_t kind = in.Byte();
  const int slot = (kind & 0x3F) % (model.count + 2);  // up to one past the last user
  switch (kind >> 6) {
    case 0:
      return kListed[kind % std::size(kListed)];
    case 1:
      return model.Name(slot);
    case 2:
      return model.Password(slot);
    default:
      break;
  }
  if (kind < 0xE0) {
    return in.Bytes(kind & 0x1F);
  }
  if (kind < 0xF0) {
    // 254 to 300 characters: a text of 256 or more is stored cut to 255.
    std::string text = kLongTexts[kind & 3];
    text[0] = static_cast<char>('a' + ((kind >> 2) & 3));
    return text;
  }
  return in.Bytes(in.Byte());
}

// A new password and its confirmation: a text, then a byte whose bit 0 says the confirmation is
// the same text, else a second text.
struct TypedTwice {
  std::string password;
  std::string confirmation;
};
TypedTwice PasswordArguments(Input& in, const Model& model) {
  TypedTwice typed;
  typed.password = TextArgument(in, model);
  typed.confirmation = in.Byte() & 1 ? typed.password : TextArgument(in, model);
  return typed;
}

// A list index as the users list may hand it: -1 for no selection, up to one past the list.
int ListIndex(Input& in, const Model& model) {
  return in.Byte() % (model.count + 2) - 1;
}

// Every byte of every slot ever written is what the model says, slots never written are zero,
// and the rest of the table and its rights follow.
void RequireTable(const Run& run) {
  const core::UserTable& table = *run.table;
  const Model& model = run.model;
  FUZZ_REQUIRE(table.Count() >= 0 && table.Count() <= kSlots);
  FUZZ_REQUIRE(table.Count() == model.count);
  for (int k = 1; k <= model.highest; ++k) {
    FUZZ_REQUIRE(std::memcmp(&table.Slot(k), &model.slots[k - 1], sizeof(core::UserRecord)) == 0);
  }
  for (int k = 2; k <= model.count; ++k) {
    FUZZ_REQUIRE(Model::Text(model.slots[k - 1].name) != kAdministrator);
  }
  FUZZ_REQUIRE(table.CurrentUser == model.current);
  FUZZ_REQUIRE(table.LoggedIn == model.logged_in);
  FUZZ_REQUIRE(table.SelectedUser == model.selected);
  FUZZ_REQUIRE(table.HasAdminRights() == model.AdminRights());
}

// The slots above the highest one ever used: nothing may have been written there. Checked once
// per run, as it reads the whole table.
void RequireUntouchedSlots(const Run& run) {
  static const core::UserRecord kZero{};
  for (int k = run.model.highest + 1; k <= kSlots; ++k) {
    FUZZ_REQUIRE(std::memcmp(&run.table->Slot(k), &kZero, sizeof kZero) == 0);
  }
}

void Add(Run& run, const std::string& typed_name, const std::string& pass1,
         const std::string& pass2) {
  Model& model = run.model;
  // The add dialog fixes the name of the first user.
  const std::string name = model.count == 0 ? std::string(kAdministrator) : typed_name;
  core::AddResult expected = core::AddResult::kAdded;
  if (!model.AdminRights()) {
    expected = core::AddResult::kNoRights;
  } else if (name == kAdministrator && model.count != 0) {
    expected = core::AddResult::kSecondAdministrator;
  } else if (pass1 != pass2) {
    expected = core::AddResult::kPasswordsDiffer;
  } else if (model.count == kSlots) {
    expected = core::AddResult::kTableFull;
  }
  FUZZ_REQUIRE(core::AddUser(*run.table, name, pass1, pass2) == expected);
  if (expected == core::AddResult::kAdded) {
    model.Append(name, pass1);
  }
}

// "Remove user": the rights test, the refusals in their order, then the removal on "Yes".
void Remove(Run& run, int index, bool yes) {
  Model& model = run.model;
  if (!run.table->HasAdminRights()) {
    return;
  }
  const core::RemovalCheck check = core::CheckRemoval(*run.table, index);
  const bool selected = index >= 0 && index < model.count;
  FUZZ_REQUIRE(check.nothing_selected == !selected);
  FUZZ_REQUIRE(check.administrator == (selected && index == 0));
  FUZZ_REQUIRE(check.only_user == (!check.administrator && model.count == 1));
  FUZZ_REQUIRE(check.may_ask == (selected && index != 0 && model.count != 1));
  if (!check.may_ask || !yes) {
    return;
  }
  const int slot = index + 1;
  FUZZ_REQUIRE(slot != 1);  // slot 1, the administrator's, is never removed
  run.table->RemoveUserAt(slot);
  model.slots[slot - 1] = model.slots[model.count - 1];
  --model.count;
}

void Rename(Run& run, const std::string& name) {
  Model& model = run.model;
  core::RenameResult expected = core::RenameResult::kRenamed;
  if (!model.InUse(model.current)) {
    expected = core::RenameResult::kNotLoggedIn;
  } else if (model.Name(model.current) == kAdministrator) {
    expected = core::RenameResult::kAdministratorFixed;
  } else if (name == kAdministrator) {
    expected = core::RenameResult::kReservedName;
  }
  FUZZ_REQUIRE(core::RenameCurrentUser(*run.table, name) == expected);
  if (expected == core::RenameResult::kRenamed) {
    Model::Store(model.slots[model.current - 1].name, name);
  }
}

void ChangeOwnPassword(Run& run, const std::string& old_password, const std::string& pass1,
                       const std::string& pass2) {
  Model& model = run.model;
  core::OwnPasswordResult expected = core::OwnPasswordResult::kChanged;
  if (!model.InUse(model.current)) {
    expected = core::OwnPasswordResult::kNotLoggedIn;
  } else if (pass1 != pass2 || old_password != model.Password(model.current)) {
    expected = core::OwnPasswordResult::kMismatch;
  }
  FUZZ_REQUIRE(core::ChangeOwnPassword(*run.table, old_password, pass1, pass2) == expected);
  if (expected == core::OwnPasswordResult::kChanged) {
    Model::Store(model.slots[model.current - 1].password, pass1);
  }
}

// "Change password" in the administrator's group: the pick of a listed user.
void Pick(Run& run, int index) {
  Model& model = run.model;
  if (!run.table->HasAdminRights() || index < 0) {
    return;
  }
  run.picked.Pick(*run.table, index);
  model.picked = index + 1;
  // SelectedUser is one byte: a pick one past a full list, which the list never offers, names
  // slot 0, nobody.
  model.selected = (index + 1) & 0xFF;
  model.picked_names = model.Names();
}

void SetPickedPassword(Run& run, const std::string& pass1, const std::string& pass2) {
  Model& model = run.model;
  core::SetPasswordResult expected = core::SetPasswordResult::kChanged;
  if (!model.AdminRights()) {
    expected = core::SetPasswordResult::kNoRights;
  } else if (pass1 != pass2) {
    expected = core::SetPasswordResult::kPasswordsDiffer;
  } else if (!model.InUse(model.picked) || model.selected != model.picked ||
             model.Names() != model.picked_names) {
    expected = core::SetPasswordResult::kUserGone;
  }
  FUZZ_REQUIRE(core::SetPickedPassword(*run.table, run.picked, pass1, pass2) == expected);
  if (expected == core::SetPasswordResult::kChanged) {
    Model::Store(model.slots[model.selected - 1].password, pass1);
  }
}

void DisplayPassword(Run& run, int index) {
  const Model& model = run.model;
  if (!run.table->HasAdminRights() || index < 0) {
    return;
  }
  FUZZ_REQUIRE(core::PasswordDisplayText(*run.table, index) ==
               model.Name(index + 1) + " password is..." + model.Password(index + 1));
}

void LogIn(Run& run, const std::string& name, const std::string& password) {
  Model& model = run.model;
  int first = 0;
  for (int k = 1; k <= model.count && first == 0; ++k) {
    if (model.Name(k) == name && model.Password(k) == password) {
      first = k;
    }
  }
  FUZZ_REQUIRE(core::LogIn(*run.table, name, password) == first);
  if (first != 0) {
    model.current = first;
    model.logged_in = 1;
  }
}

void LogOut(Run& run) {
  core::LogOut(*run.table);
  run.model.current = 0;
  run.model.logged_in = 0;
}

// Quit and start again: the save, then a load into a fresh table, which must give back every
// user of the file in his slot: all users of the table, unless the last start could not read
// the file, in which case the save leaves it alone. The bytes after each text are filler after
// the load; the model takes them from the loaded table once the texts are found right.
void SaveAndLoad(Run& run) {
  Model& model = run.model;
  if (model.fresh) {
    FUZZ_REQUIRE(run.databank->SaveDatabank() == core::SaveOutcome::kSaved);
    model.on_disk.clear();
    for (int k = 1; k <= model.count; ++k) {
      model.on_disk.emplace_back(model.Name(k), model.Password(k));
    }
  } else {
    FUZZ_REQUIRE(run.databank->SaveDatabank() == core::SaveOutcome::kLeftUnchanged);
  }
  Start(run);
  const core::UserTable& table = *run.table;
  const int loaded = static_cast<int>(model.on_disk.size());
  FUZZ_REQUIRE(table.Count() == loaded);
  FUZZ_REQUIRE(run.databank->SurplusEntries() == 0);
  for (int k = 1; k <= loaded; ++k) {
    const core::UserRecord& slot = table.Slot(k);
    FUZZ_REQUIRE(Model::Text(slot.name) == model.on_disk[k - 1].first);
    FUZZ_REQUIRE(Model::Text(slot.password) == model.on_disk[k - 1].second);
    model.slots[k - 1] = slot;
  }
  model.Restart(loaded);
  model.fresh = true;
}

// A start while another program holds the databank read-only: the open fails, the table stays
// empty, and that empty table is no fresh one: it opens nothing to anybody, and the next save
// leaves the file as it is.
void StartLocked(Run& run) {
  run.drive.files().SetAttributes(core::kDatabankPath, platform::kAttributeReadOnly);
  bool refused = false;
  try {
    Start(run);
  } catch (const core::IoError& error) {
    refused = error.code() == core::kIoAccessDenied;
  }
  FUZZ_REQUIRE(refused);
  run.drive.files().SetAttributes(core::kDatabankPath, platform::kAttributeArchive);
  run.model.Restart(0);
  run.model.fresh = false;
}

// Writes aimed at a slot that holds nobody: slot 0, the slots past the count, past the table.
void StrayWrites(Run& run, Input& in, const std::string& text) {
  const int count = run.model.count;
  const int slots[] = {0, -1, kSlots + 1, count + 1 + in.Byte() % (kSlots + 1 - count)};
  const int slot = slots[in.Byte() % std::size(slots)];
  run.table->SetUserName(slot, text);
  run.table->SetUserPassword(slot, text);
  run.table->RemoveUserAt(slot);
}

// Adds up to 255 users with names of their own, as the administrator would one by one.
void AddMany(Run& run, int n) {
  for (int i = 0; i < n; ++i) {
    const std::string name = "user" + std::to_string(run.next_user++);
    Add(run, name, name, name);
  }
}

fuzzing::ScratchDrive& Drive() {
  static fuzzing::ScratchDrive drive;
  return drive;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Run run(Drive());
  run.drive.files().SetAttributes(core::kDatabankPath, 0);
  run.drive.files().DeleteByName(core::kDatabankPath);
  run.model.Reset();
  run.next_user = 1;
  Start(run);
  RequireTable(run);

  Input in(data, size);
  while (in.More()) {
    Model& model = run.model;
    switch (in.Byte() % 13) {
      case 0: {
        const std::string name = TextArgument(in, model);
        const TypedTwice typed = PasswordArguments(in, model);
        Add(run, name, typed.password, typed.confirmation);
        break;
      }
      case 1: {
        const int index = ListIndex(in, model);
        Remove(run, index, (in.Byte() & 1) == 0);
        break;
      }
      case 2:
        Rename(run, TextArgument(in, model));
        break;
      case 3: {
        const std::string old_password = TextArgument(in, model);
        const TypedTwice typed = PasswordArguments(in, model);
        ChangeOwnPassword(run, old_password, typed.password, typed.confirmation);
        break;
      }
      case 4:
        Pick(run, ListIndex(in, model));
        break;
      case 5: {
        const TypedTwice typed = PasswordArguments(in, model);
        SetPickedPassword(run, typed.password, typed.confirmation);
        break;
      }
      case 6:
        DisplayPassword(run, ListIndex(in, model));
        break;
      case 7:
      case 8: {
        const std::string name = TextArgument(in, model);
        const std::string password = TextArgument(in, model);
        LogIn(run, name, password);
        break;
      }
      case 9:
        LogOut(run);
        break;
      case 10:
        SaveAndLoad(run);
        break;
      case 12:
        StartLocked(run);
        break;
      default:
        if (in.Byte() & 1) {
          AddMany(run, in.Byte());
        } else {
          const std::string text = TextArgument(in, model);
          StrayWrites(run, in, text);
        }
        break;
    }
    RequireTable(run);
  }
  RequireUntouchedSlots(run);
  FUZZ_REQUIRE(run.table->UserNames() == run.model.Names());
  return 0;
}
