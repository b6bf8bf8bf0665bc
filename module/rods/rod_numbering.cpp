// Bar numbering: gaps and renumbering of bar numbers.
#include "module/rods/rod_numbering.h"

#include <algorithm>
#include <cmath>

namespace rods {

int FirstNumberGap(const std::vector<double>& numbers) {
    std::vector<double> sorted = numbers;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (size_t i = 0; i < sorted.size(); ++i) {
        const int expected = static_cast<int>(i) + 1;
        if (std::trunc(sorted[i]) != static_cast<double>(expected)) {
            return expected;
        }
    }
    return -1;
}

std::vector<int> RenumberedFrom(const std::vector<int>& numbers, int from) {
    std::vector<int> result = numbers;
    std::vector<bool> done(numbers.size(), false);
    int next = from;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (done[i] || numbers[i] <= from) {
            continue;
        }
        for (size_t j = i; j < numbers.size(); ++j) {
            if (!done[j] && numbers[j] == numbers[i]) {
                result[j] = next;
                done[j] = true;
            }
        }
        ++next;
    }
    return result;
}

}  // namespace rods
