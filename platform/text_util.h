// Text helpers of the framework's back ends: UTF-8 case folding for the letters users type
// (ASCII, Latin-1, Latin Extended-A, so Polish letters too), caption matching, word splitting.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace platform::text {

// Lower-case form for case-insensitive comparison; bytes that are not valid UTF-8 stay as
// they are.
std::string Fold(std::string_view s);
// Capital form of the same letters (command names are compared in capitals).
std::string Upper(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
// A caption as a user names it: "&" removed, blanks trimmed, one trailing ":" dropped, folded.
std::string CaptionKey(std::string_view caption);
std::string Trim(std::string_view s);
// Words separated by blanks or tabs.
std::vector<std::string> SplitWords(std::string_view s);
// The parts one after another. Building texts this way rather than with "literal" + string
// also keeps GCC 12's false -Wrestrict report on that operator out of optimised builds.
std::string Cat(std::initializer_list<std::string_view> parts);
// The text in double quotes.
std::string Quoted(std::string_view s);
// Whole decimal number (optional sign), nothing else.
bool ParseInt(std::string_view s, int& value);
// The UTF-8 characters of a text, each as its own string (invalid bytes one by one).
std::vector<std::string> Utf8Chars(std::string_view s);

}  // namespace platform::text
