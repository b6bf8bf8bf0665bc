// A modest drawing made by scripts, and the undo property over random command sequences on
// it: undoing every step gives back the starting DXF byte for byte, redoing every step the end.
#pragma once

#include <string>
#include <vector>

namespace testkit {

// Lines that make the drawing, ribbed 10 mm bars: 1 straight from (0,0) to (300,0) with its
// dimension texts and description, 2 an L from (0,100) over (300,100) to (300,200) with a
// leader, a polyline that is no bar from (0,500) over (200,500) to (200,600), a cross-section
// of five bars over (0,-300)-(100,-300), a line and a circle.
std::vector<std::string> SampleDrawing();

// A seeded random sequence of whole commands of the host and the module, each one a list of
// lines typed at the terminal; picks often hit what the drawing and the commands before drew.
std::vector<std::vector<std::string>> RandomCommands(unsigned seed, int count);

struct UndoWalk {
    int steps = 0;         // undo steps the commands left
    int states = 0;        // distinct drawings the commands passed through, start included
    std::string failures;  // what went wrong, with the commands; empty when nothing did
};

// Makes the sample drawing, saves and opens it (so the undo history starts there), runs the
// commands one by one noting the drawing after each, then undoes step by step to the start
// and redoes step by step to the end: each state noted must come back in order, the start and
// the end byte for byte.
UndoWalk WalkUndo(const std::vector<std::vector<std::string>>& commands);

}  // namespace testkit
