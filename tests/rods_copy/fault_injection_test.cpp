// Fault injection on moving, copying, ejecting and deleting: each operation given up at each
// of its prompts in turn (Esc), and cut off there by the end of the input. Nothing may be
// lost: the drawing is unchanged, or holds one sound change that one U takes back exactly.
#include "tests/rods_copy/copy_kit.h"

namespace {

using namespace copy_kit;

TEST(CopyFaultInjection, GivenUpOrCutOffAtEveryPrompt) {
    const struct {
        const char* name;
        std::vector<std::string> answers;
    } operations[] = {
        {"move", {"TMOVE", "10,200", "0,200", "300,250"}},
        {"copy, new number", {"TCOPY", "N", "10,200", "0,200", "500,200"}},
        {"copy, same number", {"TCOPY", "W", "10,200", "0,200", "500,200"}},
        {"eject", {"TEJECT", "10,200", "0,200", "500,200"}},
        {"delete", {"TDEL", "10,200", "yes"}},
    };
    for (const auto& op : operations) {
        SCOPED_TRACE(op.name);
        RunEdit(Bars(5, {3, 4}, {3}, {3}));
        const std::string before = Snapshot();
        int unchanged = 0;
        int changed = 0;
        // Prompt 0 is the command itself: it is never given up.
        for (size_t k = 1; k <= op.answers.size(); ++k) {
            for (const bool cut : {false, true}) {
                SCOPED_TRACE((cut ? "cut off at " : "Esc at ") + std::to_string(k));
                std::vector<std::string> lines(op.answers.begin(), op.answers.begin() + k);
                if (!cut) {
                    // What follows an Esc would reach the command prompt as commands.
                    lines.push_back("^C");
                }
                RunEdit(Bars(5, {3, 4}, {3}, {3}));
                RunEdit(lines, false);
                EXPECT_EQ(testkit::LastScenarioStatus(), 0);
                EXPECT_CLEAN_AUDIT();
                if (Snapshot() == before) {
                    ++unchanged;
                    continue;
                }
                ++changed;
                RunEdit({"U"}, false);
                EXPECT_EQ(Snapshot(), before) << "one U gives back the drawing";
            }
        }
        EXPECT_GT(unchanged, 0);
        EXPECT_GT(changed, 0) << "the whole answer list must change the drawing";
    }
}

}  // namespace
