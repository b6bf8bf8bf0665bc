// Reading numbers from what a user typed into an edit: the leading number of the text, the
// way the panel and the dialogs read their fields, without ever failing.
#pragma once

#include <string_view>

// The leading decimal number of the text (blanks before it allowed, optional sign, digits
// with an optional fraction and exponent); 0.0 when the text does not start with one or the
// number is not finite, so that a typed "nan" or "1e999" cannot reach the geometry.
double LeadingDecimal(std::string_view text);

// The leading whole number of the text; 0 when there is none. Values beyond the range of
// int are clamped to it instead of overflowing.
int LeadingWhole(std::string_view text);
