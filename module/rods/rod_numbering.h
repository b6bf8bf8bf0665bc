// Bar numbering without the host: the first gap in the numbers and the renumbering that closes
// it. The drawing operations feed these with the bars' numbers in the order in which the
// drawing lists the bars.
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

}  // namespace rods
