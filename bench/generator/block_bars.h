// The six bars every block of the generated drawings begins with, as script lines (one answer a
// line, empty lines are Enter): a straight 16, an L of 12 with a rounded corner, a smooth 10
// with hooks, a U of 8, a straight 20 and a closed smooth stirrup of 6 with hooks.
#pragma once

#include <string_view>

namespace drawing_generator {

inline constexpr std::string_view kSixBars = R"(PANEL steel RB500W
PANEL diameter 16
PANEL rounded 0
PANEL count 4
WPR
0,0
300,0

PANEL diameter 12
PANEL rounded 1
WPR
10,40
290,40
290,15

PANEL steel St0S
PANEL diameter 10
WPR
20,60
280,60

20,70
280,70
PANEL steel RB500W
PANEL diameter 8
PANEL rounded 0
WPR
0,100
0,85
300,85
300,100

PANEL diameter 20
WPR
0,130
300,130

PANEL diameter 6
PANEL steel St3SX
WPR
320,0
360,0
360,100
320,100
320,5

330,10
330,10
)";

}  // namespace drawing_generator
