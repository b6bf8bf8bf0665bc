// Bar numbering: the first gap, the renumbering that closes it, and distinct numbers.
#include <gtest/gtest.h>

#include <vector>

#include "module/rods/rod_numbering.h"

namespace {

TEST(FirstNumberGap, Cases) {
    const struct {
        std::vector<double> numbers;
        int gap;
    } cases[] = {
        {{}, -1},          {{1}, -1},      {{1, 1}, -1}, {{2, 1, 3}, -1},
        {{1, 2, 4, 5}, 3}, {{4, 1, 4}, 2}, {{2}, 1},     {{1, 2, 2, 7}, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rods::FirstNumberGap(c.numbers), c.gap) << ::testing::PrintToString(c.numbers);
    }
}

TEST(RenumberedFrom, FollowsDrawingOrderAndKeepsSharedNumbers) {
    const struct {
        std::vector<int> numbers;
        int from;
        std::vector<int> result;
    } cases[] = {
        {{1, 2, 4, 5}, 3, {1, 2, 3, 4}},
        // Drawing order, not number order, decides who gets the lower number.
        {{1, 5, 2, 4}, 3, {1, 3, 2, 4}},
        {{1, 4, 4}, 2, {1, 2, 2}},
        {{7, 1, 9, 7, 9}, 2, {2, 1, 3, 2, 3}},
        {{}, 1, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rods::RenumberedFrom(c.numbers, c.from), c.result)
            << ::testing::PrintToString(c.numbers);
    }
}

TEST(CountDistinctNumbers, CountsNumbersAboveTheBarCountToo) {
    EXPECT_EQ(rods::CountDistinctNumbers({}), 0);
    EXPECT_EQ(rods::CountDistinctNumbers({1, 1}), 1);
    EXPECT_EQ(rods::CountDistinctNumbers({1, 2, 3}), 3);
    // Two bars numbered 1 and 40 are two numbers, even though 40 is above the count of bars.
    EXPECT_EQ(rods::CountDistinctNumbers({1, 40}), 2);
    EXPECT_EQ(rods::CountDistinctNumbers({-1, 0, 3}), 1);
}

}  // namespace
