// Classifying typed lines and matching keywords, with UTF-8 aware case folding of the
// Polish letters that the module's keywords use.
#include "host/input_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace host {
namespace {

struct CasePair {
    char32_t upper;
    char32_t lower;
};
// Polish capitals and their small letters; ASCII is handled arithmetically.
constexpr CasePair kPolish[] = {{0x104, 0x105}, {0x106, 0x107}, {0x118, 0x119},
                                {0x141, 0x142}, {0x143, 0x144}, {0xD3, 0xF3},
                                {0x15A, 0x15B}, {0x179, 0x17A}, {0x17B, 0x17C}};

// Decodes the UTF-8 sequence at text[i]; returns its length, or 0 when the bytes there are
// not a well-formed sequence (the caller then treats the byte as opaque).
size_t Decode(std::string_view text, size_t i, char32_t& cp) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > text.size()) {
        return 0;
    }
    cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (size_t k = 1; k < len; ++k) {
        unsigned char c = static_cast<unsigned char>(text[i + k]);
        if ((c >> 6) != 2) {
            return 0;
        }
        cp = (cp << 6) | (c & 0x3F);
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

bool IsUpper(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') {
        return true;
    }
    for (const CasePair& p : kPolish) {
        if (p.upper == cp) {
            return true;
        }
    }
    return false;
}

char32_t ToLower(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') {
        return cp + ('a' - 'A');
    }
    for (const CasePair& p : kPolish) {
        if (p.upper == cp) {
            return p.lower;
        }
    }
    return cp;
}

char32_t ToUpper(char32_t cp) {
    if (cp >= 'a' && cp <= 'z') {
        return cp - ('a' - 'A');
    }
    for (const CasePair& p : kPolish) {
        if (p.lower == cp) {
            return p.upper;
        }
    }
    return cp;
}

template <typename Map>
std::string MapText(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        size_t len = Decode(text, i, cp);
        if (len == 0) {
            out += text[i];
            ++i;
            continue;
        }
        Encode(map(cp), out);
        i += len;
    }
    return out;
}

std::string_view Trim(std::string_view text) {
    size_t b = text.find_first_not_of(" \t");
    if (b == std::string_view::npos) {
        return {};
    }
    size_t e = text.find_last_not_of(" \t");
    return text.substr(b, e - b + 1);
}

bool ParsePoint(std::string_view text, double point[3]) {
    double values[3] = {0.0, 0.0, 0.0};
    size_t count = 0;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        std::string_view part =
            Trim(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        std::optional<double> v = ParseNumber(part);
        if (!v || count == 3) {
            return false;
        }
        values[count++] = *v;
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (count < 2) {
        return false;
    }
    std::memcpy(point, values, sizeof values);
    return true;
}

}  // namespace

std::string LowerText(std::string_view text) {
    return MapText(text, ToLower);
}
std::string UpperText(std::string_view text) {
    return MapText(text, ToUpper);
}

std::vector<std::string> SplitKeywords(std::string_view list) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < list.size()) {
        size_t b = list.find_first_not_of(" \t", i);
        if (b == std::string_view::npos) {
            break;
        }
        size_t e = list.find_first_of(" \t", b);
        if (e == std::string_view::npos) {
            e = list.size();
        }
        words.emplace_back(list.substr(b, e - b));
        i = e;
    }
    return words;
}

std::string KeywordAbbreviation(std::string_view keyword) {
    std::string out;
    for (size_t i = 0; i < keyword.size();) {
        char32_t cp = 0;
        size_t len = Decode(keyword, i, cp);
        if (len == 0) {
            ++i;
            continue;
        }
        if (IsUpper(cp)) {
            Encode(cp, out);
        }
        i += len;
    }
    return out;
}

std::optional<std::string> MatchKeyword(const std::vector<std::string>& keywords,
                                        std::string_view typed) {
    std::string lowered = LowerText(Trim(typed));
    if (lowered.empty()) {
        return std::nullopt;
    }
    for (const std::string& k : keywords) {
        if (LowerText(k) == lowered) {
            return k;
        }
    }
    for (const std::string& k : keywords) {
        std::string abbreviation = KeywordAbbreviation(k);
        if (!abbreviation.empty() && LowerText(abbreviation) == lowered) {
            return k;
        }
    }
    return std::nullopt;
}

std::optional<double> ParseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0.0;
    auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

Answer ClassifyAnswer(std::string_view line) {
    Answer a;
    std::string_view text = Trim(line);
    a.text = std::string(text);
    if (text.empty()) {
        a.kind = Answer::Kind::Enter;
        return a;
    }
    if (text == "^C" || text == "^c") {
        a.kind = Answer::Kind::Cancel;
        return a;
    }
    std::string_view body = text;
    if (body.front() == '@') {
        a.relative = true;
        body.remove_prefix(1);
    }
    if (body.find(',') != std::string_view::npos && ParsePoint(body, a.point)) {
        a.kind = Answer::Kind::Point;
        return a;
    }
    a.relative = false;
    if (std::optional<double> n = ParseNumber(text)) {
        a.kind = Answer::Kind::Number;
        a.number = *n;
        a.whole = text.find_first_of(".eE") == std::string_view::npos;
        return a;
    }
    a.kind = Answer::Kind::Text;
    return a;
}

void CopyToBuffer(std::string_view text, char* buffer, size_t size) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    if (n < text.size()) {
        // Step back over continuation bytes so that the cut falls between characters.
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) {
            --n;
        }
    }
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace host
