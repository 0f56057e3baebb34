// What a dialog does with each outcome of the core operation behind its OK button, as one table:
// the message it shows, the fields it empties and whether it hides, and in which order. The
// dialog base carries a row out (DialogWindow::Conclude). Free of windows.h, so the lookup and
// the completeness check are tested natively too.
#pragma once

#include <cstddef>
#include <initializer_list>

namespace ui {

enum class Hiding {
  kStays,          // the dialog stays up
  kAfterMessage,   // message, then the fields are emptied, then the dialog hides
  kBeforeMessage,  // the dialog hides first, so the message stands over the main window
};

template <class Outcome>
struct OutcomeRow {
  Outcome outcome;
  const char* message;  // nullptr: the outcome says nothing
  std::initializer_list<int> clear;
  Hiding hiding;
};

// The row for `outcome`, or nullptr.
template <class Outcome, std::size_t N>
constexpr const OutcomeRow<Outcome>* FindOutcome(const OutcomeRow<Outcome> (&rows)[N],
                                                 Outcome outcome) {
  for (const OutcomeRow<Outcome>& row : rows) {
    if (row.outcome == outcome) {
      return &row;
    }
  }
  return nullptr;
}

// True when every outcome from the first enumerator (0) up to `last` has exactly one row: the
// check a switch gets from the compiler, for a dialog's static_assert.
template <class Outcome, std::size_t N>
constexpr bool CoversEveryOutcome(const OutcomeRow<Outcome> (&rows)[N], Outcome last) {
  for (int value = 0; value <= static_cast<int>(last); ++value) {
    int found = 0;
    for (const OutcomeRow<Outcome>& row : rows) {
      found += static_cast<int>(row.outcome) == value ? 1 : 0;
    }
    if (found != 1) {
      return false;
    }
  }
  return N == static_cast<std::size_t>(last) + 1;
}

}  // namespace ui
