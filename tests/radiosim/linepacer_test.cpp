// The line rate: 10 bits per byte at the line's speed.

#include "radiosim/linepacer.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::microseconds;
using std::chrono::nanoseconds;

const LinePacer::Time kStart = LinePacer::Time() + std::chrono::seconds(100);

TEST(LinePacer, ByteTimes) {
  EXPECT_EQ(nanoseconds(LinePacer::ByteTime(9600)).count(), 1'041'666);  // 10 / 9600 s
  EXPECT_EQ(nanoseconds(LinePacer::ByteTime(38400)).count(), 260'416);   // 10 / 38400 s
  EXPECT_EQ(nanoseconds(LinePacer::ByteTime(115200)).count(), 86'805);
}

TEST(LinePacer, NothingPassesUntilTheLineRuns) {
  LinePacer pacer;
  EXPECT_FALSE(pacer.Running());
  EXPECT_EQ(pacer.Allowance(kStart + std::chrono::seconds(1), 9600), 0u);
}

TEST(LinePacer, AByteNeedsItsTimeToCross) {
  LinePacer pacer;
  pacer.Start(kStart);
  EXPECT_EQ(pacer.Allowance(kStart, 9600), 0u);
  EXPECT_EQ(pacer.Allowance(kStart + microseconds(1041), 9600), 0u);
  EXPECT_EQ(pacer.Allowance(kStart + microseconds(1042), 9600), 1u);
  EXPECT_EQ(pacer.Allowance(kStart + microseconds(10417), 9600), 10u);
  EXPECT_EQ(pacer.Allowance(kStart + microseconds(10417), 38400), 40u);
  EXPECT_EQ(pacer.NextByteDone(9600), kStart + nanoseconds(1'041'666));
}

TEST(LinePacer, PassedBytesUseUpTheTime) {
  LinePacer pacer;
  pacer.Start(kStart);
  LinePacer::Time later = kStart + microseconds(10417);
  pacer.Pass(10, 9600);
  EXPECT_EQ(pacer.Allowance(later, 9600), 0u);
  EXPECT_EQ(pacer.NextByteDone(9600), kStart + nanoseconds(11 * 1'041'666));
  // A late wake-up is made up: two byte times later, two bytes.
  EXPECT_EQ(pacer.Allowance(kStart + nanoseconds(12 * 1'041'666), 9600), 2u);
}

TEST(LinePacer, AStartWhileRunningKeepsTheLine) {
  LinePacer pacer;
  pacer.Start(kStart);
  pacer.Start(kStart + std::chrono::milliseconds(5));
  EXPECT_EQ(pacer.Allowance(kStart + std::chrono::milliseconds(5), 9600), 4u);
  pacer.Stop();
  pacer.Start(kStart + std::chrono::milliseconds(5));
  EXPECT_EQ(pacer.Allowance(kStart + std::chrono::milliseconds(5), 9600), 0u);
}

}  // namespace
