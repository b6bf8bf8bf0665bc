// Deleting a bar: which question is asked (string 60 when numbers are closed up afterwards,
// 61 when not), the bar's texts and leaders going with it, the numbers that follow, their
// texts, and one U taking the deletion and the renumbering back; No changes nothing.
#include "tests/rods_copy/copy_kit.h"

namespace {

using namespace copy_kit;

TEST_F(WprTest, DeletingABarAndClosingUpTheNumbers) {
    const struct {
        const char* name;
        int bars;
        std::vector<int> numbers;         // given by hand first; empty: 1..bars
        std::vector<int> ordinals;        // the same
        std::vector<std::string> before;  // further lines before the deletion
        int deleted;                      // index of the bar picked, 0 first
        const char* answer;
        int question;            // 60 or 61
        std::vector<int> after;  // numbers of the bars left, creation order
    } cases[] = {
        // clang-format off
        {"a middle number", 4, {}, {}, {}, 1, "yes", 60, {1, 2, 3}},
        {"the highest number", 4, {}, {}, {}, 3, "yes", 61, {1, 2, 3}},
        {"a number a drawn-out copy carries", 4, {}, {},
         {"EDPR", "Wyrzuć", "10,100", "0,100", "500,100"}, 1, "yes", 61, {1, 3, 4, 2}},
        // Another bar of the same number is another bar, whatever its ordinal.
        {"a number shared with the same ordinal", 4, {1, 2, 2, 3}, {1, 2, 2, 3}, {}, 1, "yes", 61, {1, 2, 3}},
        {"the highest of 1, 2, 5", 3, {1, 2, 5}, {}, {}, 2, "yes", 60, {1, 2}},
        {"2 of 1, 2, 5", 3, {1, 2, 5}, {}, {}, 1, "yes", 60, {1, 2}},
        {"below a bar and its copy", 4, {}, {},
         {"EDPR", "Wyrzuć", "10,300", "0,300", "500,300"}, 1, "yes", 60, {1, 2, 3, 3}},
        {"answered no", 4, {}, {}, {}, 1, "no", 60, {1, 2, 3, 4}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> all;
        for (int i = 1; i <= c.bars; ++i) {
            all.push_back(i);
        }
        RunWpr(DrawBars(c.bars));
        if (!c.numbers.empty()) {
            SetNumbers(c.numbers);
        }
        if (!c.ordinals.empty()) {
            SetNumbers(c.ordinals, &CRodXDataParameters::ordinal);
        }
        // Every bar described, the picked one and another with leaders too.
        const int other = c.deleted + 1 == c.bars ? 1 : c.deleted + 2;
        std::vector<std::string> lines = Bars(0, all, {}, {c.deleted + 1, other});
        lines.insert(lines.end(), c.before.begin(), c.before.end());
        RunWpr(lines, false);
        const std::string deleted = HandleOfBar(c.deleted);
        const std::string before = Snapshot();
        const std::string y = std::to_string(100 * c.deleted);
        const std::string transcript = RunWpr({"EDPR", "Usuń", "10," + y, c.answer}, false);
        EXPECT_EQ(testkit::LastScenarioStatus(), 0);
        const std::string asked = LoadUiString(c.question);
        const std::string otherQuestion = LoadUiString(c.question == 60 ? 61 : 60);
        EXPECT_NE(transcript.find(asked), std::string::npos) << transcript;
        EXPECT_EQ(transcript.find(otherQuestion), std::string::npos);
        EXPECT_CLEAN_AUDIT();
        std::vector<int> numbers;
        for (const BarInfo& bar : BarList()) {
            numbers.push_back(bar.number);
            // Descriptions and leaders show the numbers as they are now.
            EXPECT_EQ(NumberTextOf(bar.handle, "Opis-Nr"), std::to_string(bar.number));
            const std::string leader = NumberTextOf(bar.handle, "OpisOdn-Nr");
            if (!leader.empty()) {
                EXPECT_EQ(leader, std::to_string(bar.number));
            }
        }
        EXPECT_EQ(numbers, c.after);
        if (std::string(c.answer) != "yes") {
            EXPECT_EQ(Snapshot(), before);
            continue;
        }
        EXPECT_TRUE(OwnedBy(deleted, kAllLinkTags).empty()) << "nothing names the bar";
        EXPECT_EQ(GroupMembers().size(), 1u) << "the leader of the deleted bar goes whole";
        RunWpr({"U"}, false);
        EXPECT_EQ(Snapshot(), before);
    }
}

}  // namespace
