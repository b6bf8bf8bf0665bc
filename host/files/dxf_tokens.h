// The line level of DXF files: (code, value) pairs cut from the bytes without copying,
// and the handles they name.
#pragma once

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "host/drawing/database.h"

namespace host::dxf {

// The group codes the format defines, from the application codes (-5..-1) to the last
// extended-data code; a file with any other holds no DXF group there.
inline constexpr int kFirstGroupCode = -5;
inline constexpr int kLastGroupCode = 1071;

// Kept small (40 bytes): millions of them pass from the thread that cuts them to the reader.
struct Tag {
    int code = 0;
    uint32_t line = 0;  // line of the group code, from 1
    std::string_view value;
    // What was read from `value` beside the reader (see TagStream), as `read` says: a real or
    // coordinate in `number`, a whole number in `integer`, a handle (none for a handle of 0)
    // in `integer`'s bits.
    union {
        double number;
        long long integer = 0;
    };
    enum class Read : uint8_t { Nothing, Number, Integer, Handle, NoHandle };
    Read read = Read::Nothing;
    // Of a (0) pair cut beside the reader: the pairs of its record after it, where they end
    // in the same block before the next (0) pair and hold no comment; 0 where not known.
    uint32_t pairs = 0;
};

inline std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Eight bytes looked at at once: in the result, the high bit of the least significant byte of
// `word` that equals `byte` is set, and none below it; zero when no byte equals it.
inline uint64_t BytesEqualTo(uint64_t word, char byte) {
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    constexpr uint64_t kHighs = 0x8080808080808080ULL;
    const uint64_t x = word ^ (kOnes * static_cast<unsigned char>(byte));  // zero where equal
    return (x - kOnes) & ~x & kHighs;
}

// A number's text as the readers take it: without blanks around it or a leading "+".
inline std::string_view NumberText(std::string_view value) {
    std::string_view text = Trim(value);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    return text;
}

// Cuts the file into (code, value) pairs line by line; nothing is copied.
class Tokens {
  public:
    // `complete`: the data is the whole file; otherwise more of it comes through Extend.
    explicit Tokens(std::string_view data, bool complete = true) : complete_(complete) {
        if (data.substr(0, 3) == "\xEF\xBB\xBF")
            skipped_ = 3;
        data_ = data.substr(skipped_);
    }
    // The same data read further: `data` begins where the data given before began.
    void Extend(std::string_view data, bool complete) {
        data_ = data.substr(skipped_);
        complete_ = complete;
    }
    // Next gave false only because the pair it came to is not all there yet.
    bool Starved() const { return !complete_ && error_.empty(); }
    // False at the end of the data, or on a broken pair (then Error() says why).
    bool Next(Tag& tag) {
        std::string_view codeLine;
        const size_t pairStart = pos_;
        const size_t pairLine = line_;
        if (!ReadLine(codeLine))
            return false;
        tag.line = static_cast<uint32_t>(line_);
        std::string_view text = Trim(codeLine);
        if (!ShortCode(text, tag.code) && !LongCode(text, tag.code)) {
            error_ = "oczekiwano kodu grupy, a jest \"" + Printable(codeLine) + "\"";
            errorLine_ = line_;
            return false;
        }
        if (tag.code < kFirstGroupCode || tag.code > kLastGroupCode) {
            error_ = "kod grupy " + std::to_string(tag.code) + " spoza zakresu DXF (" +
                     std::to_string(kFirstGroupCode) + ".." + std::to_string(kLastGroupCode) + ")";
            errorLine_ = line_;
            return false;
        }
        if (!ReadLine(tag.value)) {
            if (!complete_) {
                pos_ = pairStart;  // the pair is read again once its value is there
                line_ = pairLine;
                return false;
            }
            error_ = "plik urywa się po kodzie grupy " + std::to_string(tag.code);
            errorLine_ = line_;
            return false;
        }
        return true;
    }
    const std::string& Error() const { return error_; }
    size_t ErrorLine() const { return errorLine_; }
    size_t Line() const { return line_; }

  private:
    // Codes of up to four digits, nearly every code of a file, without a library call.
    static bool ShortCode(std::string_view text, int& code) {
        if (text.empty() || text.size() > 4)
            return false;
        int value = 0;
        for (char c : text) {
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + (c - '0');
        }
        code = value;
        return true;
    }
    static bool LongCode(std::string_view text, int& code) {
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), code);
        return !text.empty() && ec == std::errc() && end == text.data() + text.size();
    }
    bool ReadLine(std::string_view& line) {
        if (pos_ >= data_.size())
            return false;
        const char* begin = data_.data() + pos_;
        const char* last = data_.data() + data_.size();
        const char* end = FindNewline(begin, last);
        if (end == last && !complete_)
            return false;  // the line goes on in what is still to be read
        line = std::string_view(begin, static_cast<size_t>(end - begin));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        pos_ = static_cast<size_t>(end - data_.data()) + 1;
        ++line_;
        return true;
    }
    // The first '\n' in [from, to), or `to`. Most lines are a few bytes long: eight bytes are
    // looked at a time, without the cost of a call to a library search.
    static const char* FindNewline(const char* from, const char* to) {
        while (std::endian::native == std::endian::little && to - from >= 8) {
            uint64_t word;
            std::memcpy(&word, from, 8);
            const uint64_t found = BytesEqualTo(word, '\n');
            if (found != 0)
                return from + std::countr_zero(found) / 8;
            from += 8;
        }
        while (from != to && *from != '\n')
            ++from;
        return from;
    }
    static std::string Printable(std::string_view text) {
        std::string out;
        for (char c : text.substr(0, 40)) {
            unsigned char byte = static_cast<unsigned char>(c);
            out += byte >= 0x20 && byte < 0x7F ? c : '?';
        }
        return out;
    }

    std::string_view data_;
    size_t skipped_ = 0;  // a byte order mark
    bool complete_ = true;
    size_t pos_ = 0;
    size_t line_ = 0;
    std::string error_;
    size_t errorLine_ = 0;
};

// A number written as plain decimals ("-12.5", "300", ".25"), at most 15 digits, read exactly
// and fast: an integer below 2^53 divided by a power of ten that a double holds exactly gives
// the correctly rounded value, as std::from_chars does. False for anything else (exponents,
// more digits, signs, blanks), which is then read the general way.
inline bool ParseShortDecimal(std::string_view text, double& value) {
    static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    at += negative ? 1 : 0;
    uint64_t digits = 0;
    int count = 0;
    int decimals = -1;  // digits after the point; -1 before it
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c >= '0' && c <= '9') {
            if (++count > 15)
                return false;
            digits = digits * 10 + static_cast<uint64_t>(c - '0');
            decimals += decimals >= 0 ? 1 : 0;
        } else if (c == '.' && decimals < 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    if (count == 0)
        return false;
    const double magnitude = static_cast<double>(digits) / kTens[decimals > 0 ? decimals : 0];
    value = negative ? -magnitude : magnitude;
    return true;
}

// A handle of the file; handles so large that the seed above them would overflow are taken
// for none.
inline std::optional<Handle> FileHandle(std::string_view text) {
    std::optional<Handle> handle = Handle::FromText(Trim(text));
    if (handle && handle->value >= (uint64_t{1} << 48))
        return std::nullopt;
    return handle;
}

}  // namespace host::dxf
