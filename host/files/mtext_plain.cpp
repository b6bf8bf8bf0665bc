// Plain text of MTEXT strings: the formatting codes are read and dropped, line breaks kept.
#include "host/files/mtext_plain.h"

#include <cstdint>

namespace host {
namespace {

void AppendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::vector<std::string> MtextParagraphs(std::string_view text) {
    std::vector<std::string> lines(1);
    const size_t n = text.size();
    // The argument of a code that runs to ';' (or to the end of a broken string).
    auto argumentEnd = [&](size_t from) {
        const size_t end = text.find(';', from);
        return end == std::string_view::npos ? n : end;
    };
    for (size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '{' || c == '}')
            continue;
        if (c == '^' && i + 1 < n) {
            // Control characters as drawing files spell them: ^I tab, ^J line feed.
            const char next = text[++i];
            if (next == 'J')
                lines.emplace_back();
            else
                lines.back() += next == 'I' ? ' ' : next == ' ' ? '^' : next;
            continue;
        }
        if (c != '\\' || i + 1 == n) {
            lines.back() += c;
            continue;
        }
        const char code = text[++i];
        switch (code) {
            case 'P':
            case 'N':
            case 'X':
                lines.emplace_back();
                break;
            case '~':
                lines.back() += ' ';
                break;
            case 'L':
            case 'l':
            case 'O':
            case 'o':
            case 'K':
            case 'k':
                break;  // underline, overline, strike-through on and off
            case 'S': {
                const size_t end = argumentEnd(i + 1);
                for (size_t k = i + 1; k < end; ++k) {
                    const char s = text[k];
                    if (s == '\\' && k + 1 < end) {
                        lines.back() += text[++k];
                    } else {
                        lines.back() += s == '^' || s == '#' ? '/' : s;
                    }
                }
                i = end;
                break;
            }
            case 'U':
                if (i + 5 < n && text[i + 1] == '+') {
                    uint32_t value = 0;
                    bool ok = true;
                    for (size_t k = i + 2; k < i + 6; ++k) {
                        const int digit = HexDigit(text[k]);
                        ok = ok && digit >= 0;
                        value = value * 16 + static_cast<uint32_t>(digit < 0 ? 0 : digit);
                    }
                    if (ok) {
                        AppendUtf8(lines.back(), value);
                        i += 5;
                        break;
                    }
                }
                lines.back() += code;
                break;
            case 'A':
            case 'C':
            case 'c':
            case 'F':
            case 'f':
            case 'H':
            case 'h':
            case 'p':
            case 'Q':
            case 'q':
            case 'T':
            case 't':
            case 'W':
            case 'w':
                i = argumentEnd(i + 1);  // font, height, colour, spacing...: up to ';'
                break;
            default:
                lines.back() += code;  // \\, \{, \} and anything unknown: the letter itself
                break;
        }
    }
    return lines;
}

}  // namespace host
