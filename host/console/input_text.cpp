// Classifying typed lines and matching keywords; the case of letters, Polish ones included,
// is the framework's (platform/utf8.h).
#include "host/console/input_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/text_util.h"
#include "platform/utf8.h"

namespace host {
namespace {

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
    return platform::text::Fold(text);
}
std::string UpperText(std::string_view text) {
    return platform::text::Upper(text);
}

std::vector<std::string> SplitKeywords(std::string_view list) {
    return platform::text::SplitWords(list);
}

std::string KeywordAbbreviation(std::string_view keyword) {
    std::string out;
    for (size_t i = 0; i < keyword.size();) {
        char32_t cp = 0;
        size_t len = platform::utf8::Decode(keyword, i, cp);
        if (len == 0) {
            ++i;
            continue;
        }
        if (platform::utf8::IsCapital(cp)) {
            platform::utf8::Append(out, cp);
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

bool WithinRange(double value) {
    return std::isfinite(value) && std::fabs(value) <= kLargestValue;
}

bool WithinRange(const double point[3]) {
    return WithinRange(point[0]) && WithinRange(point[1]) && WithinRange(point[2]);
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
