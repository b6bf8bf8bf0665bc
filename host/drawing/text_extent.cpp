// Text extents in the measured font: widths of UTF-8 texts, the box an alignment gives, and
// the characters behind the control codes.
#include "host/drawing/text_extent.h"

#include "host/drawing/font_metrics.h"

namespace host {

double TextAdvanceEm(std::string_view utf8) {
    double em = 0;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80    ? 1
                           : lead >= 0xF0 ? 4
                           : lead >= 0xE0 ? 3
                           : lead >= 0xC0 ? 2
                                          : 1;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + static_cast<size_t>(k) < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]) & 0x3F);
        em += AdvanceEm(c);
        i += static_cast<size_t>(length);
    }
    return em;
}

double EmOfHeight(double height) {
    return height * kDejaVuSans.unitsPerEm / kDejaVuSans.capHeight;
}

TextExtent TextExtentOf(double height, double advanceEm, int horizontal, int vertical) {
    const double em = EmOfHeight(height);
    const double width = advanceEm * em;
    const double descent = em * kDejaVuSans.descent / kDejaVuSans.unitsPerEm;
    TextExtent box{0, width, descent, height};
    const int h = horizontal;
    if (h == 1 || h == 4) {
        box.left = -width / 2, box.right = width / 2;
    } else if (h == 2) {
        box.left = -width, box.right = 0;
    }
    // Vertical alignment moves the base line; a text centred both ways ("middle") is centred
    // on its capitals.
    double lift = 0;
    const int v = h == 4 ? 2 : (h == 3 || h == 5) ? 0 : vertical;
    if (v == 1)
        lift = descent;
    else if (v == 2)
        lift = -height / 2;
    else if (v == 3)
        lift = -height;
    box.below -= lift;
    box.above += lift;
    return box;
}

std::string ShownCharacters(std::string_view text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "%%" && i + 2 < text.size()) {
            const char c = static_cast<char>(text[i + 2] | 0x20);
            const char* sign = c == 'c' ? "Ø" : c == 'd' ? "°" : c == 'p' ? "±" : nullptr;
            if (text[i + 2] == '%')
                sign = "%";
            if (sign != nullptr || c == 'u' || c == 'o') {
                shown += sign != nullptr ? sign : "";
                i += 2;
                continue;
            }
        }
        shown += text[i];
    }
    return shown;
}

}  // namespace host
