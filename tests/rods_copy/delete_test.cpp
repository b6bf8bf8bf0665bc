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
        for (const Bar& bar : RodBars()) {
            const std::string number = std::to_string(bar.record.number);
            numbers.push_back(bar.record.number);
            // Descriptions and leaders show the numbers as they are now.
            EXPECT_EQ(NumberTextOf(EntityHandle(bar.name), "Opis-Nr"), number);
            const std::string leader = NumberTextOf(EntityHandle(bar.name), "OpisOdn-Nr");
            EXPECT_TRUE(leader.empty() || leader == number) << leader;
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

// What names a bar by its number follows a renumbering: projection records and the number
// texts of leaders on projections and sections; a description made again keeps the count and
// spacing it showed; the projection of the deleted bar names no bar (0) rather than the bar
// that takes its number over, and AUDIT lists it. One U takes it all back.
TEST_F(WprTest, RenumberingCarriesViewsAndKeepsWhatDescriptionsShow) {
    // clang-format off
    RunWpr({"PANEL diameter 12", "PANEL steel RB500W", "PANEL rounded 0",
            "WPR", "0,0", "100,0", "", "WPR", "0,50", "100,50", "", "WPR", "0,100", "100,100", "",
            "PANEL count 15", "PANEL spacing 30", "EDPR", "Opis", "", "10,100", "^C", "^C",
            "WRP", "Poziomy", "50,100", "0,100", "0,200", "Nie", "Nie",
            "", "50,0", "0,0", "0,-50", "Nie", "Nie", "^C",
            "EDPR", "Opis", "Na_odnośniku", "50,200", "50,200", "60,230", "120,230", "^C", "^C",
            "WPP", "0,-200", "100,-200", "0", "0", "Ilość",
            "EPP", "", "", "3", "0.2,-200", "10,-250", "60,-250", "^C"});
    // clang-format on
    // "handle:number" of each projection line.
    auto projections = [] {
        std::vector<std::string> found;
        for (const testkit::EntityDump& e : testkit::LiveEntities()) {
            sds_name line;
            CRodXDataParameters record;
            if (e.type == "LINE" && sds_handent(e.handle.c_str(), line) == RTNORM &&
                CSDSXDataPret().ReadRodRecord(line, kKey, record) == RTNORM &&
                record.type == "RzutPoziomy") {
                found.push_back(e.handle + ":" + std::to_string(record.number));
            }
        }
        return found;
    };
    const std::vector<std::string> drawn = projections();
    ASSERT_EQ(drawn.size(), 2u);
    const std::string of3 = drawn[0].substr(0, drawn[0].find(':'));
    const std::string of1 = drawn[1].substr(0, drawn[1].find(':'));
    const std::string before = Snapshot();

    RunWpr({"PANEL count 30", "PANEL spacing 20", "EDPR", "Usuń", "50,0", "yes"}, false);
    EXPECT_EQ(RodBars().size(), 2u);
    EXPECT_EQ(projections(), (std::vector<std::string>{of3 + ":2", of1 + ":0"}));
    EXPECT_EQ(TextsTagged("OpisOdn-Nr"), (std::vector<std::string>{"2", "2"}));
    EXPECT_EQ(TextsTagged("Opis-Nr"), std::vector<std::string>{"2"});
    EXPECT_EQ(TextsTagged("Opis"), (std::vector<std::string>{"12 co 30 L= 100", "# ", "15", ""}));
    EXPECT_EQ(ModuleAuditText(), "Rzut " + of1 + " ma numer 0, którego nie ma żaden pręt.\n");
    RunWpr({"U"}, false);
    EXPECT_EQ(Snapshot(), before);
}
