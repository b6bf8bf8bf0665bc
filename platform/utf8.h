// UTF-8 decoding and encoding and the case of Latin letters, header-only so that every part
// of the program (the host's drawing files too, which link nothing of the framework) reads,
// writes and folds text the same way.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes the well-formed sequence at s[i]: its length, with the code point in `cp`; 0 when
// the bytes there are no such sequence (a stray or missing continuation byte, an overlong
// form, a surrogate, a value above U+10FFFF), so that callers can keep such bytes as they are
// or replace them, but never read them as some other character.
inline std::size_t Decode(std::string_view s, std::size_t i, char32_t& cp) {
    if (i >= s.size()) {
        return 0;
    }
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() - i < length) {
        return 0;
    }
    char32_t value = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    cp = value;
    return length;
}

// Appends a code point; surrogates and values above U+10FFFF, which UTF-8 cannot carry,
// become U+FFFD.
inline void Append(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = kReplacement;
    }
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Small letter of an ASCII, Latin-1 or Latin Extended-A capital (the Polish letters among
// them); every other code point is its own.
constexpr char32_t Lower(char32_t cp) {
    if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)) {
        return cp + 32;
    }
    // Latin Extended-A pairs capital and small letter as even and odd, except from U+0139
    // to U+0148 and from U+0179 on, where the capital is the odd one.
    if ((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177)) {
        return cp | 1;
    }
    if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) {
        return (cp & 1) != 0 ? cp + 1 : cp;
    }
    if (cp == 0x178) {
        return 0xFF;
    }
    return cp;
}

// The capital of a small letter of the same ranges; the inverse of Lower.
constexpr char32_t Upper(char32_t cp) {
    if ((cp >= 'a' && cp <= 'z') || (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7)) {
        return cp - 32;
    }
    if ((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177)) {
        return (cp & 1) != 0 ? cp - 1 : cp;
    }
    if ((cp >= 0x13A && cp <= 0x148) || (cp >= 0x17A && cp <= 0x17E)) {
        return (cp & 1) == 0 ? cp - 1 : cp;
    }
    if (cp == 0xFF) {
        return 0x178;
    }
    return cp;
}

constexpr bool IsCapital(char32_t cp) {
    return Lower(cp) != cp;
}

// The text with each well-formed character mapped; bytes that are not UTF-8 stay as they are.
template <typename Map>
std::string MapChars(std::string_view s, Map map) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t length = Decode(s, i, cp);
        if (length == 0) {
            out += s[i++];
            continue;
        }
        Append(out, map(cp));
        i += length;
    }
    return out;
}

}  // namespace platform::utf8
