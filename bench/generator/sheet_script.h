// The script of a realistic detail sheet, drawn as a designer draws one: block after block of
// a beam's bars put in with WPR, each with its dimension texts and its description beside it
// or on a leader, a drawn-out copy and a copy keeping its number, two sections described on
// leaders and a projection. Run through the whole program it gives a drawing made by the
// program's own commands only.
#pragma once

#include <string>
#include <vector>

namespace sheet_script {

// Bars in one block: eight drawn by WPR and two copies.
constexpr int kBarsPerBlock = 10;
constexpr int kNumbersPerBlock = 8;

// The lines of the script (one answer a line, as in a script file) that draw `bars` bars,
// rounded up to whole blocks; the blocks are laid out in rows of `perRow`.
std::vector<std::string> Lines(int bars, int perRow = 25);

}  // namespace sheet_script
