#include "tests/support/undo_property.h"

#include <unistd.h>

#include <filesystem>
#include <random>

#include "module/frame/entry_point.h"
#include "tests/support/fault_injection.h"
#include "tests/support/scenario.h"

namespace testkit {
namespace {

std::string RunTyped(const std::vector<std::string>& lines, const std::string& settings) {
    return RunScenario(
        lines,
        {.entry = SDS_EntryPoint, .newDrawing = false, .typed = true, .settingsFile = settings});
}

std::string Listing(const std::vector<std::vector<std::string>>& commands) {
    std::string text;
    for (const auto& command : commands) {
        for (const std::string& line : command)
            text += (line.empty() ? "\"\"" : line) + " | ";
        text += "\n";
    }
    return text;
}

}  // namespace

std::vector<std::string> SampleDrawing() {
    return {"PANEL steel RB500W", "PANEL diameter 10", "PANEL letter 5", "PANEL letterdim 4",
            "PANEL count 5",
            // The bars and the polyline.
            "WPR", "0,0", "300,0", "", "WPR", "0,100", "300,100", "300,200", "", "PLINE", "0,500",
            "200,500", "200,600", "",
            // Bar 1's dimension texts and description, bar 2's leader.
            "EDPR", "Teksty_wymiarów(wstaw/usuń)", "10,0", "Opis", "", "10,0", "^C", "Opis",
            "Na_odnośniku", "10,100", "200,100", "210,150", "280,150", "^C", "^C",
            // The cross-section and plain entities.
            "WPP", "0,-300", "100,-300", "0", "0", "Ilość", "LINE", "400,0", "400,300", "",
            "CIRCLE", "500,500", "20"};
}

std::vector<std::vector<std::string>> RandomCommands(unsigned seed, int count) {
    // Whole commands: "@" stands for a point where something is, "+" for a new point (where
    // something will be), "~" for any point; "a|b" for one of the answers.
    static const std::vector<std::vector<std::string>> kCommands = {
        {"WPR", "+", "+", ""},
        {"WPR", "+", "+", "+", ""},
        {"LINE", "+", "+", ""},
        {"CIRCLE", "+", "10"},
        {"ERASE", "@", ""},
        {"MOVE|COPY", "@", "", "~", "~"},
        {"EDPR", "Przesuń", "@", "~", "~"},
        {"EDPR", "Kopiuj", "|Nowy_nr_pręta", "@", "~", "~"},
        {"EDPR", "Wyrzuć", "@", "~", "~"},
        {"EDPR", "Usuń", "@", "Tak"},
        {"EDPR", "Dziel", "@", "@"},
        {"EDPR", "Edycja_długości", "Skróć|Przedłuż", "20", "@"},
        {"PANEL diameter 12|PANEL diameter 8", "EDPR", "Zmień_średnicę/stal", "@"},
        {"EDPR", "Teksty_wymiarów(wstaw/usuń)", "@"},
        {"EDPR", "Opis", "", "@"},
        {"EDPR", "Opis", "Na_odnośniku", "@", "@", "~", "~"},
        {"EDPR", "zAmień_polilinię", "@"},
        {"WRP", "|Pionowy", "@", "~", "~", "Nie", "Nie"},
        {"WPP", "+", "+", "0", "0", "Ilość|Rozstaw"},
        {"EPP", "", "", "1|2|3|4|5", "@", "~", "~"},
        {"OPR", "cell 1 4 7|cell 1 5 uwaga|click Dodaj", "click 2"}};
    std::mt19937 random(seed);
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    auto grid = [&](int from) {
        return std::to_string(from + 50 * static_cast<int>(pick(10))) + "," +
               std::to_string(from + 50 * static_cast<int>(pick(10)));
    };
    // Points on what the sample drawing holds; new points join them.
    std::vector<std::string> hot = {"10,0",    "150,0",   "290,0",    "10,100",
                                    "200,100", "300,150", "100,500",  "200,550",
                                    "400,100", "200,40",  "25.2,-300"};
    std::vector<std::vector<std::string>> commands;
    for (int i = 0; i < count; ++i) {
        std::vector<std::string> command;
        for (const std::string& word : kCommands[pick(kCommands.size())]) {
            if (word == "@") {
                command.push_back(hot[pick(hot.size())]);
            } else if (word == "+") {
                command.push_back(hot.emplace_back(grid(0)));
            } else if (word == "~") {
                command.push_back(grid(-200));
            } else {
                std::vector<std::string> choices = {""};
                for (char c : word) {
                    if (c == '|')
                        choices.emplace_back();
                    else
                        choices.back().push_back(c);
                }
                command.push_back(choices[pick(choices.size())]);
            }
        }
        commands.push_back(command);
    }
    return commands;
}

UndoWalk WalkUndo(const std::vector<std::vector<std::string>>& commands) {
    UndoWalk walk;
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("armavo-undo-walk-" + std::to_string(getpid()) + ".dxf"))
                                 .string();
    std::vector<std::string> setup = SampleDrawing();
    setup.insert(setup.end(), {"SAVE " + file, "OPEN " + file});
    const std::string made = RunScenario(setup, {.entry = SDS_EntryPoint});
    const std::string settings = LastSettingsFile();
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    if (LastScenarioStatus() != 0) {
        walk.failures = "the sample drawing failed:\n" + made;
        return walk;
    }
    std::vector<std::string> states = {DrawingDxf()};
    std::string transcript;
    for (const auto& command : commands) {
        transcript += RunTyped(command, settings);
        if (DrawingDxf() != states.back())
            states.push_back(DrawingDxf());
    }
    walk.states = static_cast<int>(states.size());
    auto fail = [&](const std::string& what) { walk.failures += what + "\n"; };
    // Steps with `verb` until there is nothing left to step, moving `at` along the states noted
    // each time the drawing is the next one (`by` -1 back, +1 forward); at most `limit` steps.
    auto stepAll = [&](const char* verb, const char* none, size_t& at, size_t by, int limit,
                       const char* endless) {
        int n = 0;
        while (RunTyped({verb}, settings).find(none) == std::string::npos) {
            if (at + by < states.size() && DrawingDxf() == states[at + by])
                at += by;
            if (++n > limit) {
                fail(endless);
                break;
            }
        }
        return n;
    };
    size_t at = states.size() - 1;
    walk.steps = stepAll("U", "Nie ma nic do cofnięcia", at, SIZE_MAX, 10000, "undo does not end");
    if (at != 0)
        fail("undoing never gave back drawing " + std::to_string(at) + " of the commands");
    if (DrawingDxf() != states.front())
        fail("undoing everything does not give back the starting drawing");
    at = 0;
    const int redone = stepAll("REDO", "Nie ma nic do przywrócenia", at, 1, walk.steps,
                               "more steps redone than undone");
    if (redone != walk.steps)
        fail("redone " + std::to_string(redone) + " of " + std::to_string(walk.steps) + " steps");
    if (at + 1 != states.size())
        fail("redoing never gave back drawing " + std::to_string(at + 1) + " of the commands");
    if (DrawingDxf() != states.back())
        fail("redoing everything does not give the end drawing");
    if (!walk.failures.empty())
        walk.failures += "commands:\n" + Listing(commands) + "transcript:\n" + transcript;
    return walk;
}

}  // namespace testkit
