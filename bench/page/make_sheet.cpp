// Writes a sheet of N bars for the page's benchmark: the generator's block, drawn by the
// program's commands, repeated until the sheet holds the bars asked for.
// Usage: make_sheet BARS FILE.dxf
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/generator/drawing_generator.h"
#include "host/files/file_commands.h"

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: make_sheet BARS FILE.dxf\n");
        return 2;
    }
    bool ok = false;
    const drawing_generator::Generated sheet = drawing_generator::Generate(std::atoi(argv[1]), ok);
    if (!ok) {
        std::fprintf(stderr, "the sheet could not be drawn:\n%s\n", sheet.transcript.c_str());
        return 1;
    }
    if (!host::SaveDrawingFile(argv[2]))
        return 1;
    std::printf("%d bars, %ld entities, %d bar numbers\n", sheet.bars, sheet.entities,
                sheet.numbers);
    return 0;
}
