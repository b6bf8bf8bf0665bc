// The extent of a single-line text, measured in the font of font_metrics.h: what the SVG
// picture draws and what picking finds a text by.
#pragma once

#include <string>
#include <string_view>

namespace host {

// The width in ems of a UTF-8 text.
double TextAdvanceEm(std::string_view utf8);
// The font size of a drawing text of the given height: its capitals are that high.
double EmOfHeight(double height);

// A text's extent from the point its alignment refers to: along its base line (left is
// negative for a text that reaches back) and across it (below, above).
struct TextExtent {
    double left, right, below, above;
};
// For the text's height, its width in ems and its horizontal (72) and vertical (73)
// alignment: 1 centred, 2 right, 4 middle; 1 bottom of the descenders, 2 middle of the
// capitals, 3 their top. Aligned and fitted texts (3, 5) run from their first point.
TextExtent TextExtentOf(double height, double advanceEm, int horizontal, int vertical);

// The characters a drawing text shows: the control codes "%%c", "%%d", "%%p" and "%%%" as the
// signs they stand for, the underline and overline switches ("%%u", "%%o") left out.
std::string ShownCharacters(std::string_view text);

}  // namespace host
