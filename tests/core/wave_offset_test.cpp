// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "media/wave_offset.h"

namespace pelmoravan {
namespace {

TEST(WaveOffset, TitleLogoRowsShiftRightThenBackThenLeft) {
    // Amplitude 4, wavelength 200, phase 0: the logo's first frame.
    EXPECT_EQ(WaveK(0, 200, 0), 0);
    EXPECT_EQ(WaveK(50, 200, 0), 63);  // 50 * 83886 = 4194300, just under 64 * 65536
    EXPECT_EQ(WaveK(100, 200, 0), 127);
    EXPECT_EQ(WaveK(150, 200, 0), 191);
    EXPECT_EQ(WaveShift(WaveK(0, 200, 0), 4), 0);
    EXPECT_EQ(WaveShift(WaveK(50, 200, 0), 4), 4);
    EXPECT_EQ(WaveShift(WaveK(100, 200, 0), 4), 0);
    EXPECT_EQ(WaveShift(WaveK(150, 200, 0), 4), -4);
}

TEST(WaveOffset, PhaseMovesTheWaveByWholeSteps) {
    // Phase p adds p to k; the title advances it by 10 per tick.
    EXPECT_EQ(WaveK(0, 200, 10), 10);
    EXPECT_EQ(WaveK(50, 200, 10), 73);
    EXPECT_EQ(WaveK(0, 200, 256), 0);
    EXPECT_EQ(WaveK(0, 200, 300), 44);
}

TEST(WaveOffset, KWrapsLikeASigned32BitValue) {
    // phase 32767 * 65536 is just below 2^31; row 1 pushes V past it and it wraps negative.
    EXPECT_EQ(WaveK(0, 200, 32767), 255);
    // V = 2147418112 + 83886 wraps to -2147465298; div 65536 truncates toward zero: -32767,
    // whose low byte is 1.
    EXPECT_EQ(WaveK(1, 200, 32767), 1);
    // A negative phase counts down, truncating toward zero.
    EXPECT_EQ(WaveK(0, 200, -1), 255);
    EXPECT_EQ(WaveK(1, 200, -1), 0); // V = -65536 + 83886 = 18350 -> 0
}

TEST(WaveOffset, WavelengthZeroGivesEveryRowTheSameK) {
    for (std::int32_t row : {0, 1, 99, 1000}) {
        EXPECT_EQ(WaveK(row, 0, 5), 5);
    }
}

TEST(WaveOffset, ShiftFollowsTheSineOverAWholeTurn) {
    EXPECT_EQ(WaveShift(0, 4), 0);
    EXPECT_EQ(WaveShift(64, 4), 4);
    EXPECT_EQ(WaveShift(128, 4), 0);
    EXPECT_EQ(WaveShift(192, 4), -4);
    EXPECT_EQ(WaveShift(32, 4), 3);   // 4 * 0.7071 = 2.83
    EXPECT_EQ(WaveShift(10, 4), 1);   // 4 * 0.2430 = 0.97
    EXPECT_EQ(WaveShift(64, -4), -4);
    EXPECT_EQ(WaveShift(64, 0), 0);
}

TEST(WaveOffset, FixedPointScalingPicksTheNearestSourcePixelBelow) {
    // Same size: identity.
    const std::int64_t same = ScaleStep(300, 300);
    for (std::int32_t i : {0, 1, 150, 299}) {
        EXPECT_EQ(ScaledIndex(i, same), i);
    }
    // 50 source pixels stretched over 57.
    const std::int64_t up = ScaleStep(50, 57);
    EXPECT_EQ(up, 57487);
    EXPECT_EQ(ScaledIndex(56, up), 49);
    EXPECT_EQ(ScaledIndex(8, up), 7);
    // Halving.
    const std::int64_t down = ScaleStep(300, 150);
    EXPECT_EQ(ScaledIndex(149, down), 298);
    EXPECT_EQ(ScaleStep(300, 0), 0);
}

TEST(WaveOffset, ClipSpanKeepsTheVisiblePart) {
    EXPECT_EQ(ClipSpan(10, 20, 100), (TSpan{0, 20}));
    EXPECT_EQ(ClipSpan(-5, 20, 100), (TSpan{5, 20}));
    EXPECT_EQ(ClipSpan(90, 20, 100), (TSpan{0, 10}));
    EXPECT_EQ(ClipSpan(-5, 200, 100), (TSpan{5, 105}));
    EXPECT_EQ(ClipSpan(100, 20, 100), (TSpan{}));
    EXPECT_EQ(ClipSpan(-20, 20, 100), (TSpan{}));
    EXPECT_EQ(ClipSpan(0, 0, 100), (TSpan{}));
    EXPECT_EQ(ClipSpan(2147483600, 100, 100), (TSpan{}));
}

TEST(WaveOffset, RowsCoverTheDestinationWithSourceRowsAndShifts) {
    const auto rows = WaveRows(10, 300, 300, 1000, 4, 200, 0);
    ASSERT_EQ(rows.size(), 300u);
    EXPECT_EQ(rows[0], (TWaveRow{10, 0, 0}));
    EXPECT_EQ(rows[50], (TWaveRow{60, 50, 4}));
    EXPECT_EQ(rows[100], (TWaveRow{110, 100, 0}));
    EXPECT_EQ(rows[150], (TWaveRow{160, 150, -4}));
}

TEST(WaveOffset, ClippingDropsRowsWithoutChangingTheOthers) {
    // The same draw far down a tall surface, where nothing is clipped: row i is whole[i].
    const auto whole = WaveRows(1000, 300, 150, 10000, 4, 200, 7);
    ASSERT_EQ(whole.size(), 300u);
    const auto clipped = WaveRows(-40, 300, 150, 200, 4, 200, 7);
    // Rows -40..-1 are above the surface and rows 200.. below it.
    ASSERT_EQ(clipped.size(), 200u);
    EXPECT_EQ(clipped.front().DestY, 0);
    EXPECT_EQ(clipped.back().DestY, 199);
    for (const TWaveRow& row : clipped) {
        const TWaveRow& same = whole[static_cast<std::size_t>(row.DestY + 40)];
        EXPECT_EQ(row.SourceRow, same.SourceRow) << "surface row " << row.DestY;
        EXPECT_EQ(row.Shift, same.Shift) << "surface row " << row.DestY;
    }
    // Row 40 of the destination is surface row 0 and takes source row 20 (stretched 2x).
    EXPECT_EQ(clipped.front().SourceRow, 20);
    EXPECT_EQ(clipped.front().Shift, WaveShift(WaveK(40, 200, 7), 4));
}

TEST(WaveOffset, NothingVisibleGivesNoRows) {
    EXPECT_TRUE(WaveRows(500, 300, 300, 400, 4, 200, 0).empty());
    EXPECT_TRUE(WaveRows(0, 0, 300, 400, 4, 200, 0).empty());
    EXPECT_TRUE(WaveRows(0, 300, 0, 400, 4, 200, 0).empty());
}

} // namespace
} // namespace pelmoravan
