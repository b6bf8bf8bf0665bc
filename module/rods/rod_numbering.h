// Bar numbering without the host: the first gap in the numbers, the renumbering that closes it,
// and the count of distinct numbers. The drawing operations feed these with the bars' numbers
// in the order in which the drawing lists the bars.
#pragma once

#include <vector>

namespace rods {

// The first whole number i = 1, 2, ... that the sorted, distinct numbers miss, or -1 when they
// run 1 .. k without a gap (or there are none).
int FirstNumberGap(const std::vector<double>& numbers);

// New numbers for bars numbered `numbers` (drawing order) when the gap at `from` is closed:
// every number above `from` is given from `from` upwards in the order in which the drawing
// first lists it, and bars that shared a number still share one. Others keep theirs.
std::vector<int> RenumberedFrom(const std::vector<int>& numbers, int from);

// How many distinct positive numbers the bars carry, however large the numbers are.
int CountDistinctNumbers(const std::vector<int>& numbers);

// The number for a bar of a new position: the first whole number 1, 2, ... that no bar
// carries. In a gapless numbering that is the one after the count of numbers; a gap (bars
// erased by other means) is filled rather than a number in use given out again.
int FirstNumberNoBarCarries(const std::vector<int>& numbers);

}  // namespace rods
