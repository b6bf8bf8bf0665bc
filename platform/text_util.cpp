// UTF-8 case folding and the small parsing helpers the dialog lines and PANEL verb share.
#include "platform/text_util.h"

#include <charconv>

#include "platform/utf8.h"

namespace platform::text {

std::string Fold(std::string_view s) {
    return utf8::MapChars(s, utf8::Lower);
}

std::string Upper(std::string_view s) {
    return utf8::MapChars(s, utf8::Upper);
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
        size_t len = utf8::Decode(s, i, cp);
        if (len == 0) {
            len = 1;
        }
        chars.emplace_back(s.substr(i, len));
        i += len;
    }
    return chars;
}

}  // namespace platform::text
