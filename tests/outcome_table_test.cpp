// The outcome tables the dialogs carry out after their OK button: the lookup and the check that
// every outcome has exactly one row.
#include "ui/outcome_table.h"

#include <gtest/gtest.h>

namespace {

using ui::Hiding;
using ui::OutcomeRow;

enum class Result { kDone, kRefused, kGone };

constexpr OutcomeRow<Result> kComplete[] = {
    {Result::kDone, "Done", {1, 2}, Hiding::kAfterMessage},
    {Result::kRefused, nullptr, {}, Hiding::kStays},
    {Result::kGone, "Gone", {2}, Hiding::kBeforeMessage},
};

constexpr OutcomeRow<Result> kMissingOne[] = {
    {Result::kDone, "Done", {}, Hiding::kStays},
    {Result::kGone, "Gone", {}, Hiding::kStays},
};

constexpr OutcomeRow<Result> kTwice[] = {
    {Result::kDone, "Done", {}, Hiding::kStays},
    {Result::kRefused, "Refused", {}, Hiding::kStays},
    {Result::kRefused, "Refused again", {}, Hiding::kStays},
    {Result::kGone, "Gone", {}, Hiding::kStays},
};

TEST(OutcomeTableTest, FindsTheRowOfEachOutcome) {
  const OutcomeRow<Result>* gone = ui::FindOutcome(kComplete, Result::kGone);
  ASSERT_NE(gone, nullptr);
  EXPECT_STREQ(gone->message, "Gone");
  EXPECT_EQ(gone->hiding, Hiding::kBeforeMessage);
  ASSERT_EQ(gone->clear.size(), 1u);
  EXPECT_EQ(*gone->clear.begin(), 2);
  EXPECT_EQ(ui::FindOutcome(kComplete, Result::kRefused)->message, nullptr);
  EXPECT_EQ(ui::FindOutcome(kMissingOne, Result::kRefused), nullptr);
}

TEST(OutcomeTableTest, CoverageWantsExactlyOneRowPerOutcome) {
  static_assert(ui::CoversEveryOutcome(kComplete, Result::kGone));
  EXPECT_FALSE(ui::CoversEveryOutcome(kMissingOne, Result::kGone));
  EXPECT_FALSE(ui::CoversEveryOutcome(kTwice, Result::kGone));
  // A table that stops short of the last outcome.
  EXPECT_FALSE(ui::CoversEveryOutcome(kComplete, static_cast<Result>(3)));
}

}  // namespace
