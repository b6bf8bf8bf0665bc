// The plain text of an MTEXT entity's formatted string: what a reader sees, one paragraph a
// line, without the formatting codes (fonts, heights, colours, underlines, grouping braces).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

// The paragraphs of a formatted text (the chunks of groups 3 followed by group 1, joined).
// A stacked fraction \S1^2; reads "1/2"; \U+XXXX escapes become their letters.
std::vector<std::string> MtextParagraphs(std::string_view formatted);

}  // namespace host
