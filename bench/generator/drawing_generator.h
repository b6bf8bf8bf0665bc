// Realistic drawings of any size for the benchmarks and the tests: a block of bars of mixed
// shapes, diameters and steels with descriptions, dimension texts, leaders, drawn-out copies,
// a section and a projection, drawn by the program's own commands, then repeated through the
// host's interface with its own numbers until the drawing holds the bars asked for.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace drawing_generator {

// What the block drawn by commands holds.
constexpr int kBarsPerBlock = 10;

struct Generated {
    int bars = 0;          // bars (records of the bar type), kBarsPerBlock in each block
    int numbers = 0;       // distinct bar numbers, 1 .. numbers
    long entities = 0;     // live entities of the drawing
    double blockStep = 0;  // the blocks' distance in Y; block b lies at Y = b * blockStep
    std::vector<std::array<long, 2>> barNames;  // every bar, in drawing order
    std::string transcript;                     // what the commands of the first block printed
};

// The script lines that draw the first block (everything within Y -150 to 280).
const std::vector<std::string>& BlockScript();

// A fresh drawing with `bars` bars (rounded up to whole blocks): the block drawn by running
// BlockScript through the whole program (so this must not be called inside a command), then
// copied through sds_* calls. `ok` false with the reason in `transcript` when the block could
// not be drawn.
Generated Generate(int bars, bool& ok);

}  // namespace drawing_generator
