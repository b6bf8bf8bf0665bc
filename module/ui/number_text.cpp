// Leading-number parsing shared by the panel and the dialogs.
#include "module/ui/number_text.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

std::size_t SkipBlanks(std::string_view t, std::size_t i) {
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) {
        ++i;
    }
    return i;
}

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

double LeadingDecimal(std::string_view text) {
    std::size_t i = SkipBlanks(text, 0);
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i, ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    // An exponent counts only when it has digits ("12e" reads as 12).
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    // strtod needs a terminated string and follows the C locale's decimal point.
    const std::string number(text.substr(start, i - start));
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

int LeadingWhole(std::string_view text) {
    std::size_t i = SkipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    bool any = false;
    while (i < text.size() && IsDigit(text[i])) {
        any = true;
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (text[i] - '0');
        }
        ++i;
    }
    if (!any) {
        return 0;
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}
