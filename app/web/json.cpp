// The page's JSON writer.
#include "app/web/json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/utf8.h"

namespace app::web {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        size_t n = platform::utf8::Decode(text, i, cp);
        if (n == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (cp == '"' || cp == '\\') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp == '\n') {
            out += "\\n";
        } else if (cp < 0x20 || cp == 0x2028 || cp == 0x2029) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(cp));
            out += escaped;
        } else {
            out.append(text.substr(i, n));
        }
        i += n;
    }
    return out + "\"";
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[32];
    for (int precision = 6; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value) {
            break;
        }
    }
    return text;
}

void JsonBuilder::Separate() {
    if (needComma_) {
        out_ += ',';
    }
    needComma_ = true;
}

JsonBuilder& JsonBuilder::Open(char bracket) {
    Separate();
    out_ += bracket;
    needComma_ = false;
    return *this;
}

JsonBuilder& JsonBuilder::Close(char bracket) {
    out_ += bracket;
    needComma_ = true;
    return *this;
}

JsonBuilder& JsonBuilder::Key(std::string_view key) {
    Separate();
    out_ += JsonString(key);
    out_ += ':';
    needComma_ = false;
    return *this;
}

JsonBuilder& JsonBuilder::String(std::string_view value) {
    return Raw(JsonString(value));
}

JsonBuilder& JsonBuilder::Number(double value) {
    return Raw(JsonNumber(value));
}

JsonBuilder& JsonBuilder::Bool(bool value) {
    return Raw(value ? "true" : "false");
}

JsonBuilder& JsonBuilder::Raw(std::string_view json) {
    Separate();
    out_ += json;
    return *this;
}

}  // namespace app::web
