// A small JSON writer for the page's state: strings escaped for JSON, numbers as the page
// reads them, objects and arrays built in order.
#pragma once

#include <string>
#include <string_view>

namespace app::web {

// The text as a JSON string literal, quotes included. Bytes that are not UTF-8 become
// U+FFFD so that the browser's parser never meets a broken string.
std::string JsonString(std::string_view text);
// A finite number in the shortest form that reads back the same; null otherwise.
std::string JsonNumber(double value);

// Appends "key":value pairs or bare values, with the commas between them.
class JsonBuilder {
  public:
    JsonBuilder& Open(char bracket);  // '{' or '['
    JsonBuilder& Close(char bracket);
    JsonBuilder& Key(std::string_view key);
    JsonBuilder& String(std::string_view value);
    JsonBuilder& Number(double value);
    JsonBuilder& Bool(bool value);
    JsonBuilder& Raw(std::string_view json);
    const std::string& Text() const { return out_; }

  private:
    void Separate();
    std::string out_;
    bool needComma_ = false;
};

}  // namespace app::web
