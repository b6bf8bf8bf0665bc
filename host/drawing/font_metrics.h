// The font in which texts are measured (the SVG picture names it) and the widths of its
// characters, so that a text's extent is measured from the font rather than guessed.
#pragma once

namespace host {

struct FontMetrics {
    const char* family;
    int unitsPerEm;
    int capHeight;       // a drawing text's height is the height of its capitals
    int descent;         // below the base line
    int averageAdvance;  // for characters the table does not hold
};

extern const FontMetrics kDejaVuSans;

// The advance width of a character in ems.
double AdvanceEm(char32_t c);

}  // namespace host
