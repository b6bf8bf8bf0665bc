// The line level of DXF files: (code, value) pairs cut from the bytes without copying,
// and the handles they name.
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "host/drawing/database.h"

namespace host::dxf {

// The group codes the format defines, from the application codes (-5..-1) to the last
// extended-data code; a file with any other holds no DXF group there.
inline constexpr int kFirstGroupCode = -5;
inline constexpr int kLastGroupCode = 1071;

struct Tag {
    int code = 0;
    std::string_view value;
    size_t line = 0;  // line of the group code, from 1
};

inline std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Cuts the file into (code, value) pairs line by line; nothing is copied.
class Tokens {
  public:
    explicit Tokens(std::string_view data) : data_(data) {
        if (data_.substr(0, 3) == "\xEF\xBB\xBF")
            data_.remove_prefix(3);
    }
    // False at the end of the data, or on a broken pair (then Error() says why).
    bool Next(Tag& tag) {
        if (havePeek_) {
            havePeek_ = false;
            tag = peeked_;
            return true;
        }
        std::string_view codeLine;
        if (!ReadLine(codeLine))
            return false;
        tag.line = line_;
        std::string_view text = Trim(codeLine);
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), tag.code);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
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
            error_ = "plik urywa się po kodzie grupy " + std::to_string(tag.code);
            errorLine_ = line_;
            return false;
        }
        return true;
    }
    bool Peek(Tag& tag) {
        if (!havePeek_) {
            if (!Next(peeked_))
                return false;
            havePeek_ = true;
        }
        tag = peeked_;
        return true;
    }
    const std::string& Error() const { return error_; }
    size_t ErrorLine() const { return errorLine_; }
    size_t Line() const { return line_; }

  private:
    bool ReadLine(std::string_view& line) {
        if (pos_ >= data_.size())
            return false;
        size_t end = data_.find('\n', pos_);
        if (end == std::string_view::npos)
            end = data_.size();
        line = data_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        pos_ = end + 1;
        ++line_;
        return true;
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
    size_t pos_ = 0;
    size_t line_ = 0;
    bool havePeek_ = false;
    Tag peeked_;
    std::string error_;
    size_t errorLine_ = 0;
};

// A handle of the file; handles so large that the seed above them would overflow are taken
// for none.
inline std::optional<Handle> FileHandle(std::string_view text) {
    std::optional<Handle> handle = Handle::FromText(Trim(text));
    if (handle && handle->value >= (uint64_t{1} << 48))
        return std::nullopt;
    return handle;
}

}  // namespace host::dxf
