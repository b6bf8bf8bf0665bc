// UTF-8 case folding and the small parsing helpers the dialog lines and PANEL verb share.
#include "platform/text_util.h"

#include <charconv>

namespace platform::text {
namespace {

// Decodes one UTF-8 sequence at s[i]; returns its length, 0 when invalid.
size_t Decode(std::string_view s, size_t i, char32_t& cp) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80           ? 1
                 : (c >> 5) == 0x6  ? 2
                 : (c >> 4) == 0xE  ? 3
                 : (c >> 3) == 0x1E ? 4
                                    : 0;
    if (len == 0 || i + len > s.size()) {
        return 0;
    }
    cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (size_t k = 1; k < len; ++k) {
        unsigned char cc = static_cast<unsigned char>(s[i + k]);
        if ((cc >> 6) != 0x2) {
            return 0;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    return len;
}

void Encode(char32_t cp, std::string& out) {
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

char32_t FoldCodePoint(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') {
        return cp + 32;
    }
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) {
        return cp + 32;
    }
    // Latin Extended-A pairs upper/lower case as even/odd, except between U+0139 and U+0148
    // and from U+0179 on, where the upper case is the odd one.
    if ((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177)) {
        return cp | 1;
    }
    if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) {
        return (cp & 1) ? cp + 1 : cp;
    }
    if (cp == 0x178) {
        return 0xFF;
    }
    return cp;
}

}  // namespace

std::string Fold(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        size_t len = Decode(s, i, cp);
        if (len == 0) {
            out += s[i++];
            continue;
        }
        Encode(FoldCodePoint(cp), out);
        i += len;
    }
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return Fold(a) == Fold(b);
}

std::string Trim(std::string_view s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) {
        return {};
    }
    size_t e = s.find_last_not_of(" \t");
    return std::string(s.substr(b, e - b + 1));
}

std::string CaptionKey(std::string_view caption) {
    std::string plain;
    for (char c : caption) {
        if (c != '&') {
            plain += c;
        }
    }
    plain = Trim(plain);
    if (!plain.empty() && plain.back() == ':') {
        plain.pop_back();
        plain = Trim(plain);
    }
    return Fold(plain);
}

std::vector<std::string> SplitWords(std::string_view s) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < s.size()) {
        size_t b = s.find_first_not_of(" \t", i);
        if (b == std::string_view::npos) {
            break;
        }
        size_t e = s.find_first_of(" \t", b);
        if (e == std::string_view::npos) {
            e = s.size();
        }
        words.emplace_back(s.substr(b, e - b));
        i = e;
    }
    return words;
}

std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view part : parts) {
        out.append(part);
    }
    return out;
}

std::string Quoted(std::string_view s) {
    return Cat({"\"", s, "\""});
}

bool ParseInt(std::string_view s, int& value) {
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
    }
    if (s.empty()) {
        return false;
    }
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

std::vector<std::string> Utf8Chars(std::string_view s) {
    std::vector<std::string> chars;
    for (size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        size_t len = Decode(s, i, cp);
        if (len == 0) {
            len = 1;
        }
        chars.emplace_back(s.substr(i, len));
        i += len;
    }
    return chars;
}

}  // namespace platform::text
