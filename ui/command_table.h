// A window's commands as one table of control id and handler, dispatched by the window base.
// The rights rule of each command is a column of its row, so which commands test the rights can
// be read off the table. Free of windows.h, so the dispatch is tested natively too.
#pragma once

#include <cstddef>
#include <functional>
#include <utility>

namespace ui {

enum class Rights {
  // The command tests nothing; the row says why.
  kAnyone,
  // The command runs only while the rights test holds; otherwise it returns without a word.
  kAdministrator,
};

template <class Window>
struct Command {
  int id;
  void (Window::*handler)();
  Rights rights = Rights::kAnyone;
};

// A window's whole table, for reading it from outside the window's own file.
template <class Window>
struct CommandRows {
  const Command<Window>* rows;
  std::size_t count;

  const Command<Window>* begin() const { return rows; }
  const Command<Window>* end() const { return rows + count; }
  // The row for `id`, or nullptr.
  const Command<Window>* Find(int id) const {
    for (const Command<Window>& row : *this) {
      if (row.id == id) {
        return &row;
      }
    }
    return nullptr;
  }
};

// Runs the handler of the row for `id` on `window`, unless the row asks for rights that
// `has_rights()` denies; `has_rights` is only asked for such rows. False when no row has `id`.
template <class Window, class RightsTest>
bool RunCommandRow(Window& window, const Command<Window>* rows, std::size_t count, int id,
                   const RightsTest& has_rights) {
  const Command<Window>* row = CommandRows<Window>{rows, count}.Find(id);
  if (row == nullptr) {
    return false;
  }
  if (row->rights != Rights::kAdministrator || has_rights()) {
    (window.*row->handler)();
  }
  return true;
}

// What the window base calls with the id of a click or menu choice: true when a row took it.
using CommandDispatch = std::function<bool(int id)>;

// Binds a window's table. A table with administrator rows needs the rights test.
template <class Window, std::size_t N>
CommandDispatch BindCommands(Window& window, const Command<Window> (&table)[N],
                             std::function<bool()> has_rights = {}) {
  return [&window, &table, has_rights = std::move(has_rights)](int id) {
    return RunCommandRow(window, table, N, id,
                         [&has_rights] { return has_rights && has_rights(); });
  };
}

}  // namespace ui
