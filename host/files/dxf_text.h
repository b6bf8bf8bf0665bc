// Text of DXF files: code pages of older files turned into UTF-8, the "\U+XXXX" escapes of
// DXF texts, and the escaping that keeps any text on one line of a written file.
#pragma once

#include <string>
#include <string_view>

namespace host {

// The single-byte code pages of $DWGCODEPAGE that are read; others are read as ANSI_1252.
enum class CodePage { Utf8, Ansi1250, Ansi1251, Ansi1252 };

// The code page a $DWGCODEPAGE value names ("ANSI_1250", any case).
CodePage CodePageFromName(std::string_view name);

// A value of a file in the code page made into UTF-8, "\U+XXXX" escapes decoded. Bytes that
// are not valid in the code page become U+FFFD, so the drawing only ever holds valid UTF-8.
std::string DecodeDxfText(std::string_view raw, CodePage page);

// A UTF-8 text as a written value: control characters (a line break would split the value)
// and a backslash that would read as an escape are written as "\U+XXXX".
void AppendEscapedDxfText(std::string& out, std::string_view text);

}  // namespace host
