// Character sets and the keystroke filters of the schedule grid.
#include "module/schedule/char_check.h"

#include <algorithm>

size_t CCharCheck::FindFirstNotIn(const std::string& text, size_t start) const {
    for (size_t i = start == 0 ? 0 : start - 1; i < text.size(); ++i) {
        if (!Test(text[i])) {
            return i + 1;
        }
    }
    return 0;
}

bool FilterDecimal(std::string& text) {
    CCharCheck allowed;
    allowed.AddRange('0', '9');
    allowed.Add(',');
    allowed.Add('.');
    if (allowed.FindFirstNotIn(text) != 0) {
        return false;
    }
    const auto points = std::count(text.begin(), text.end(), '.');
    const auto commas = std::count(text.begin(), text.end(), ',');
    if (points > 1 || (commas > 0 && (points > 0 || commas > 1))) {
        return false;
    }
    std::replace(text.begin(), text.end(), ',', '.');
    return true;
}

bool FilterWhole(std::string& text) {
    CCharCheck allowed;
    allowed.AddRange('0', '9');
    return allowed.FindFirstNotIn(text) == 0;
}
