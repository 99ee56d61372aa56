#include "control/undohistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kSize = 4096;

cmcEeprom Image(std::uint8_t fill = 0) {
  cmcEeprom image(kSize);
  image.Fill(fill);
  return image;
}

// Writes `bytes` at each address of `addresses`.
cmcEeprom Changed(cmcEeprom image, std::initializer_list<int> addresses, std::uint8_t value) {
  for (int address : addresses) image.SetByte(address, value);
  return image;
}

TEST(UndoHistory, StepsGoBackAndAgainToTheSameBytes) {
  // Changes at the start, the end, far apart, close together and on both
  // sides of 64-byte boundaries.
  const std::vector<std::vector<int>> edits = {{0},
                                               {kSize - 1},
                                               {5, 3000},
                                               {100, 103, 120, 121},
                                               {0, kSize - 1},
                                               {63, 64},
                                               {127, 128, 150},
                                               {kSize - 65, kSize - 64, kSize - 2}};
  std::vector<cmcEeprom> states{Image()};
  UndoHistory history;
  for (std::size_t n = 0; n < edits.size(); ++n) {
    cmcEeprom next = states.back();
    for (int address : edits[n]) next.SetByte(address, static_cast<std::uint8_t>(n + 1));
    history.Record(states.back(), next, "edit " + std::to_string(n));
    states.push_back(next);
  }
  ASSERT_EQ(history.StepCount(), edits.size());

  cmcEeprom image = states.back();
  for (std::size_t n = edits.size(); n > 0; --n) {
    EXPECT_EQ(history.UndoWhat(), "edit " + std::to_string(n - 1));
    ASSERT_TRUE(history.Undo(image));
    EXPECT_TRUE(image == states[n - 1]) << n;
  }
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.Undo(image));
  EXPECT_EQ(history.UndoWhat(), "");
  for (std::size_t n = 1; n <= edits.size(); ++n) {
    EXPECT_EQ(history.RedoWhat(), "edit " + std::to_string(n - 1));
    ASSERT_TRUE(history.Redo(image));
    EXPECT_TRUE(image == states[n]) << n;
  }
  EXPECT_FALSE(history.CanRedo());
  EXPECT_FALSE(history.Redo(image));
}

TEST(UndoHistory, AnUnchangedImageRecordsNothing) {
  UndoHistory history;
  history.Record(Image(), Image(), "nothing");
  history.Record(Image(), cmcEeprom(kSize + 1), "another size");
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(history.StoredBytes(), 0u);
}

TEST(UndoHistory, ANewEditDropsTheStepsThatWereUndone) {
  UndoHistory history;
  cmcEeprom image = Image();
  const cmcEeprom first = Changed(image, {1}, 1);
  const cmcEeprom second = Changed(first, {2}, 2);
  history.Record(image, first, "first");
  history.Record(first, second, "second");
  image = second;
  ASSERT_TRUE(history.Undo(image));
  const cmcEeprom other = Changed(image, {3}, 3);
  history.Record(image, other, "other");
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.StepCount(), 2u);
  image = other;
  ASSERT_TRUE(history.Undo(image));
  EXPECT_TRUE(image == first);
  ASSERT_TRUE(history.Undo(image));
  EXPECT_TRUE(image == Image());
}

TEST(UndoHistory, AStepKeepsOnlyTheBytesItChanged) {
  UndoHistory history;
  history.Record(Image(), Changed(Image(), {10, 11, 2000}, 7), "three bytes");
  EXPECT_GT(history.StoredBytes(), 0u);
  EXPECT_LT(history.StoredBytes(), 200u);
  history.Clear();
  history.Record(Image(), Image(0xFF), "everything");
  EXPECT_GE(history.StoredBytes(), 2u * kSize);
}

TEST(UndoHistory, TheOldestStepsGoFirstWhenALimitIsReached) {
  struct Case {
    UndoHistory::Limits limits;
    std::size_t stepsKept;
  };
  // Each step changes the whole image: a little over 2 * kSize bytes.
  const Case cases[] = {
      {{3, 1u << 30}, 3}, {{100, 5 * kSize}, 2}, {{100, 1}, 1},  // the newest step stays, however large
  };
  for (const Case& c : cases) {
    UndoHistory history(c.limits);
    cmcEeprom image = Image();
    for (int n = 1; n <= 5; ++n) {
      const cmcEeprom next = Image(static_cast<std::uint8_t>(n));
      history.Record(image, next, "fill " + std::to_string(n));
      image = next;
    }
    EXPECT_EQ(history.StepCount(), c.stepsKept) << c.limits.maxSteps << " " << c.limits.maxBytes;
    EXPECT_LE(history.StepCount(), c.limits.maxSteps);
    int undone = 0;
    while (history.Undo(image)) ++undone;
    EXPECT_EQ(undone, static_cast<int>(c.stepsKept));
    EXPECT_TRUE(image == Image(static_cast<std::uint8_t>(5 - c.stepsKept)));
  }
}

TEST(UndoHistory, AStepIsNotAppliedToAnImageOfAnotherSize) {
  UndoHistory history;
  history.Record(Image(), Changed(Image(), {kSize - 1}, 9), "last byte");
  cmcEeprom smaller(kSize / 2);
  EXPECT_FALSE(history.Undo(smaller));
  EXPECT_TRUE(history.CanUndo());
}

}  // namespace
