// The detail sheet's script (see sheet_script.h): one block's lines, written for the block's
// place on the sheet and its own bar numbers.
#include "bench/generator/sheet_script.h"

#include <cstdio>
#include <string_view>

#include "bench/generator/block_bars.h"

namespace sheet_script {

namespace {

constexpr double kStepX = 900.0;
constexpr double kStepY = 500.0;

// One block at the origin after its six bars. A line "x,y" is a point and is moved to the block's
// place; "N" stands for the number of the block's first bar.
constexpr std::string_view kRest = R"(PANEL steel RB500W
PANEL diameter 16
PANEL rounded 1
WPR
400,60
450,60
490,20
630,20
670,60
700,60

PANEL diameter 10
PANEL rounded 0
WPR
400,100
700,100

EDPR
Teksty_wymiarów(wstaw/usuń)
150,0
Opis
Pręta(włącz/wyłącz)
50,0
^C
Teksty_wymiarów(wstaw/usuń)
60,40
Opis
Pręta(włącz/wyłącz)
230,40
^C
Teksty_wymiarów(wstaw/usuń)
60,60
Opis
Pręta(włącz/wyłącz)
230,60
^C
Teksty_wymiarów(wstaw/usuń)
0,92
Opis
Pręta(włącz/wyłącz)
100,85
^C
Teksty_wymiarów(wstaw/usuń)
200,130
Opis
Na_odnośniku
250,130
250,130
270,150
320,150
^C
Teksty_wymiarów(wstaw/usuń)
340,0
Opis
Pręta(włącz/wyłącz)
360,30
^C
Teksty_wymiarów(wstaw/usuń)
560,20
Opis
Pręta(włącz/wyłącz)
600,20
^C
Teksty_wymiarów(wstaw/usuń)
550,100
Opis
Na_odnośniku
650,100
650,100
720,150
770,150
^C
Wyrzuć
250,0
0,0
0,-60
Kopiuj
Wstaw_kopię
60,60
0,0
0,140
^C
^C
WPP
0,170
300,170
0
0
Ilość
EPP
Rysuj_opis

N
0,170
-30,200
-60,200
^C
WRP
Poziomy
300,95
0,-150
0,-150
Nie
^C
^C
)";

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// The line for the block at (dx, dy) whose bars are numbered from `first`.
std::string Placed(std::string_view line, double dx, double dy, int first) {
    if (line == "N")
        return std::to_string(first);
    const size_t comma = line.find(',');
    if (comma == std::string_view::npos || line.find_first_not_of("-0123456789.,") != line.npos)
        return std::string(line);
    const double x = std::stod(std::string(line.substr(0, comma)));
    const double y = std::stod(std::string(line.substr(comma + 1)));
    return Number(x + dx) + "," + Number(y + dy);
}

}  // namespace

std::vector<std::string> Lines(int bars, int perRow) {
    const std::string block = std::string(drawing_generator::kSixBars) + std::string(kRest);
    std::vector<std::string> lines;
    const int blocks = (bars + kBarsPerBlock - 1) / kBarsPerBlock;
    for (int b = 0; b < blocks; ++b) {
        const double dx = (b % perRow) * kStepX;
        const double dy = (b / perRow) * kStepY;
        size_t start = 0;
        for (size_t end = block.find('\n'); end != std::string::npos;
             start = end + 1, end = block.find('\n', start)) {
            lines.push_back(Placed(std::string_view(block).substr(start, end - start), dx, dy,
                                   b * kNumbersPerBlock + 1));
        }
    }
    return lines;
}

}  // namespace sheet_script
