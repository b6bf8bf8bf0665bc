// Sets of allowed characters and the keystroke filters of the schedule grid's number cells.
#pragma once

#include <bitset>
#include <string>

class CCharCheck {
  public:
    void Add(char c) { allowed_.set(static_cast<unsigned char>(c)); }
    void AddRange(char first, char last) {
        for (int c = static_cast<unsigned char>(first); c <= static_cast<unsigned char>(last);
             ++c) {
            allowed_.set(static_cast<size_t>(c));
        }
    }
    bool Test(char c) const { return allowed_.test(static_cast<unsigned char>(c)); }
    // 1-based position, from the 1-based `start`, of the first character of `text` not in the
    // set; 0 when there is none. Every byte of a multi-byte character counts as not in it.
    size_t FindFirstNotIn(const std::string& text, size_t start = 1) const;

  private:
    std::bitset<256> allowed_;
};

// A decimal of digits and one separator; a comma becomes a point. False refuses the text.
bool FilterDecimal(std::string& text);
// Digits only.
bool FilterWhole(std::string& text);
