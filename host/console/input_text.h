// How the host reads one typed line: Enter, Esc, points, numbers, keywords of an initget
// list (by full word or by its capital letters, Polish letters included) and free text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// Lower-cases the Latin letters (ASCII, Latin-1, Latin Extended-A: the Polish ĄĆĘŁŃÓŚŹŻ among
// them); other bytes stay as they are, so text that is not valid UTF-8 passes unchanged.
std::string LowerText(std::string_view text);
// Upper-cases the same letters (command names are compared in upper case).
std::string UpperText(std::string_view text);

// The keywords of an initget list, separated by blanks.
std::vector<std::string> SplitKeywords(std::string_view list);
// The capital letters of a keyword (Latin, Polish included), in order; empty when it has none,
// and then only the full word selects it.
std::string KeywordAbbreviation(std::string_view keyword);
// The keyword of the list that the typed text selects, exactly as the list writes it: a
// full word wins over an abbreviation, and an earlier keyword over a later one.
std::optional<std::string> MatchKeyword(const std::vector<std::string>& keywords,
                                        std::string_view typed);

// One answer line, classified. A point may be relative ("@dx,dy"), to be added to a base.
struct Answer {
    enum class Kind { Enter, Cancel, Point, Number, Text };
    Kind kind = Kind::Enter;
    double point[3] = {0.0, 0.0, 0.0};
    bool relative = false;
    double number = 0.0;
    bool whole = false;  // the number was written without a fraction or exponent
    std::string text;    // the line without surrounding blanks
};
Answer ClassifyAnswer(std::string_view line);

// The largest size of a number or coordinate taken as an answer: far beyond any drawing, and
// small enough that sums and offsets of such numbers stay exact to a millimetre and finite.
inline constexpr double kLargestValue = 1e15;
// Whether a value is finite and within kLargestValue in size; for points every coordinate.
bool WithinRange(double value);
bool WithinRange(const double point[3]);

// A finite number written in full (no trailing junk); locale-independent.
std::optional<double> ParseNumber(std::string_view text);

// Copies text into a caller's buffer of `size` bytes, cutting it at a character boundary
// so that no half of a UTF-8 sequence is left at the end.
void CopyToBuffer(std::string_view text, char* buffer, size_t size);

}  // namespace host
