// Fault injection on the reshaping options and ERD: each run cancelled at each of its
// prompts in turn, and cut off there by the end of the input. Nothing may be lost: the
// drawing is unchanged, or changed soundly so that one U gives it back exactly.
#include "tests/rods_reshape/reshape_kit.h"

namespace {

using namespace reshape_kit;

TEST(ReshapeFaultInjection, CancelOrCutOffAtEveryPrompt) {
    const std::vector<std::string> smooth = {"PANEL steel St0S", "PANEL diameter 10",
                                             "PANEL rounded 1", "PANEL letter 5"};
    const struct {
        const char* name;
        std::vector<std::string> setup;    // with the panel lines before
        std::vector<std::string> command;  // the panel lines, then the command
        std::vector<std::string> answers;  // every prompt and dialog line of one run
    } cases[] = {
        // clang-format off
        {"divide", {"WPR", "0,0", "300,0", "", "0,-10", "300,-10", "TDIM", "100,0", "^C"}, {"TDIV"},
         {"200,0", "o", "100,0", "50", "0", "100,-10", "200,-10"}},
        {"length", {"WPR", "0,0", "300,0", "200,100", "", "0,-10", "200,110"}, {"TLEN"},
         {"Przedłuż", "30", "100,0"}},
        {"diameter and steel", {"PANEL steel RB500W", "WPR", "0,0", "300,0", "300,100", ""},
         {"PANEL diameter 16", "TDIA"}, {"100,0", "0,-10", "310,100"}},
        {"polyline to bar", {"PLINE", "0,300", "200,300", "200,400", ""}, {"TREP"},
         {"100,300", "0,310", "210,400"}},
        {"ERD", {"WPR", "0,0", "250,0", "", "", "", "TDESC", "N", "100,0", "100,0", "120,40", "200,40"},
         {"ERD"}, {"200,40", "set 1037 3", "set 1035 4", "click 1"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> setup = smooth;
        setup.insert(setup.end(), c.setup.begin(), c.setup.end());
        RunReshape(setup);
        const std::string before = Snapshot();
        int unchanged = 0;
        int changed = 0;
        for (size_t k = 0; k <= c.answers.size(); ++k) {
            for (bool esc : {true, false}) {
                if (esc && k == c.answers.size()) {
                    continue;
                }
                SCOPED_TRACE((esc ? "Esc at " : "cut off before ") + std::to_string(k + 1));
                RunReshape(setup);
                std::vector<std::string> lines = smooth;
                lines.insert(lines.end(), c.command.begin(), c.command.end());
                lines.insert(lines.end(), c.answers.begin(), c.answers.begin() + k);
                // What follows an Esc would be read as commands: the run stops there.
                if (esc) {
                    lines.push_back("^C");
                }
                RunReshape(lines, false);
                EXPECT_EQ(testkit::LastScenarioStatus(), 0);
                EXPECT_EQ(LinesOnLayerZero(), 0) << "temporary lines left";
                EXPECT_CLEAN_AUDIT();
                if (Snapshot() == before) {
                    ++unchanged;
                    continue;
                }
                ++changed;
                RunReshape({"U"}, false);
                EXPECT_EQ(Snapshot(), before) << "one U gives the drawing back";
            }
        }
        EXPECT_GT(unchanged, 0);
        EXPECT_GT(changed, 0);
    }
}

}  // namespace
