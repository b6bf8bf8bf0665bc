// Copies through the copy sub-prompt and drawn-out copies: numbers, ordinals, number texts,
// which texts and leaders come along naming the copy, the anonymous groups made, and one U per
// copy.

// Moving a bar: its description, dimension text and leader go along by the move made (locked
// to an axis in orthogonal mode, the locked point snapped), nothing else moves, and one U
// takes it back; Esc at the base point or during the drag, or a drag back onto the base point,
// moves nothing. Projection lines dragged along an axis start on the base point's axis.

// Deleting a bar: which question is asked (string 60 when numbers are closed up afterwards,
// 61 when not), the bar's texts and leaders going with it, the numbers that follow, their
// texts, and one U taking the deletion and the renumbering back; No changes nothing.
#include "tests/rods_copy/copy_kit.h"

namespace {

using namespace copy_kit;

// The types of a group's members, by handle.
std::vector<std::string> TypesOf(const std::vector<std::string>& handles) {
    std::vector<std::string> types;
    for (const std::string& handle : handles) {
        sds_name entity;
        sds_handent(handle.c_str(), entity);
        types.push_back(Read(entity).type);
    }
    return types;
}

// The copy's pieces lie where the bar's lie, moved by (500, 0), and name the copy.
void ExpectCopiedPieces(const std::string& bar, const std::string& copy,
                        const std::vector<std::string>& tags) {
    const auto original = OwnedBy(bar, tags);
    const auto copied = OwnedBy(copy, tags);
    ASSERT_EQ(copied.size(), original.size());
    for (size_t i = 0; i < copied.size(); ++i) {
        auto moved = PointsOf(original[i]);
        for (auto& point : moved) {
            point[0] += 500;
        }
        EXPECT_EQ(PointsOf(copied[i]), moved);
        sds_name a;
        sds_name b;
        const Piece p = Read(NameOf(original[i], a));
        const Piece q = Read(NameOf(copied[i], b));
        EXPECT_EQ(q.link.type, p.link.type);
        if (p.link.type != "Wymiary") {
            EXPECT_NEAR(q.link.point[0], p.link.point[0] + 500, 1e-9) << "link point moved";
            EXPECT_NEAR(q.link.point[1], p.link.point[1], 1e-9) << "by the move made";
        }
        if (p.link.type != "Opis-Nr") {
            EXPECT_EQ(q.text, p.text);
        }
    }
}

TEST_F(WprTest, CopiesOfABar) {
    const struct {
        const char* name;
        std::vector<std::string> answers;  // after EDPR's "Kopiuj"
        std::vector<int> numbers;          // of every bar afterwards, 6 and 7 the copies
        bool leadersCopied;
        bool ortho = false;
    } cases[] = {
        // clang-format off
        {"new number", {"N", "10,200", "0,200", "500,200"}, {1, 2, 3, 4, 5, 6}, false},
        // The cursor is let go 30 off the locked axis: the copy goes where it was shown.
        {"new number, orthogonal", {"N", "10,200", "0,200", "500,230"}, {1, 2, 3, 4, 5, 6}, false, true},
        {"keeping the number, the default", {"", "10,200", "0,200", "500,200"}, {1, 2, 3, 4, 5, 3}, true},
        // Enter repeats the mode of the last copy.
        {"two new numbers", {"N", "10,200", "0,200", "500,200", "", "10,200", "0,200", "500,300"},
         {1, 2, 3, 4, 5, 6, 7}, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> setup = Bars(5, {3}, {3}, {3});
        setup.push_back(c.ortho ? "SETVAR ORTHOMODE 1" : "SETVAR ORTHOMODE 0");
        RunWpr(setup);
        const std::string bar = HandleOfBar(2);
        const std::string before = Snapshot();
        const auto groupsBefore = GroupMembers();
        ASSERT_EQ(groupsBefore.size(), 1u);
        const std::vector<std::string> lines = Join({"EDPR", "Kopiuj"}, c.answers);
        const std::string transcript = RunWpr(lines, false);
        EXPECT_EQ(testkit::LastScenarioStatus(), 0);
        EXPECT_CLEAN_AUDIT();

        const auto bars = RodBars();
        ASSERT_EQ(bars.size(), c.numbers.size()) << transcript;
        for (size_t i = 0; i < bars.size(); ++i) {
            EXPECT_EQ(bars[i].record.number, c.numbers[i]) << i;
            // A copy's ordinal is the count of bars with it, as a new bar's is.
            EXPECT_EQ(bars[i].record.ordinal, static_cast<int>(i) + 1) << i;
        }
        const std::string copy = EntityHandle(bars[5].name);
        ExpectCopiedPieces(bar, copy, {"Opis", "Wymiary"});
        EXPECT_EQ(NumberTextOf(copy, "Opis-Nr"), std::to_string(c.numbers[5]));
        EXPECT_EQ(NumberTextOf(bar, "Opis-Nr"), "3");
        const auto groups = GroupMembers();
        ASSERT_EQ(groups.size(), c.numbers.size() - 5 + (c.leadersCopied ? 2 : 1));
        EXPECT_EQ(groups[0], groupsBefore[0]) << "the bar's own leader keeps its group";
        if (c.leadersCopied) {
            ExpectCopiedPieces(bar, copy, kLeaderTags);
            EXPECT_EQ(NumberTextOf(copy, "OpisOdn-Nr"), "3");
            EXPECT_EQ(groups[1], OwnedBy(copy, kLeaderTags)) << "the copied leader's group";
        } else {
            EXPECT_TRUE(OwnedBy(copy, kLeaderTags).empty());
        }
        // Every copy in one more group, lines, polylines, circles, texts.
        const auto& all = groups[c.leadersCopied ? 2 : 1];
        std::vector<std::string> expected = OwnedBy(copy, kAllLinkTags);
        expected.push_back(copy);
        EXPECT_EQ(all.size(), expected.size());
        const auto types = TypesOf(all);
        const std::vector<std::string> order = {"LINE", "LWPOLYLINE", "CIRCLE", "TEXT"};
        for (size_t i = 1; i < types.size(); ++i) {
            const auto rank = [&](const std::string& t) {
                return std::find(order.begin(), order.end(), t) - order.begin();
            };
            EXPECT_LE(rank(types[i - 1]), rank(types[i])) << i;
        }
        for (const std::string& handle : expected) {
            EXPECT_NE(std::find(all.begin(), all.end(), handle), all.end()) << handle;
        }
        EXPECT_EQ(all.front(), copy) << "the copied bar is the group's first polyline";
        // One U for each copy.
        RunWpr({"UNDO " + std::to_string(c.numbers.size() - 5)}, false);
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(WprTest, CopyOntoTheBasePointCopiesNothing) {
    RunWpr(Bars(5, {3}, {3}, {3}));
    const std::string before = Snapshot();
    RunWpr({"EDPR", "Kopiuj", "N", "10,200", "0,200", "0,200"}, false);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(WprTest, DrawnOutCopiesCompleteWhatTheBarLacks) {
    const struct {
        const char* name;
        std::vector<int> described, dimensioned, leadered;
        size_t copyPieces;  // texts and circles naming the copy
    } cases[] = {
        {"bare bar", {}, {}, {}, 5 + 1},
        {"described and dimensioned", {3}, {3}, {3}, 5 + 1},
        {"dimensioned only", {}, {3}, {}, 5 + 1},
        {"described only", {3}, {}, {}, 5 + 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWpr(Bars(5, c.described, c.dimensioned, c.leadered));
        const std::string bar = HandleOfBar(2);
        const std::string before = Snapshot();
        const auto groupsBefore = GroupMembers();
        const size_t barPieces = OwnedBy(bar, kAllLinkTags).size();
        RunWpr({"EDPR", "Wyrzuć", "10,200", "0,200", "500,200"}, false);
        EXPECT_CLEAN_AUDIT();
        const auto bars = RodBars();
        ASSERT_EQ(bars.size(), 6u);
        EXPECT_EQ(RecordText(bars[5].record), "Pręt 6 1 0 3 15 0 0");
        const std::string copy = EntityHandle(bars[5].name);
        EXPECT_EQ(OwnedBy(copy, kAllLinkTags).size(), c.copyPieces);
        EXPECT_EQ(OwnedBy(copy, {"Wymiary"}).size(), 1u);
        EXPECT_EQ(NumberTextOf(copy, "Opis-Nr"), "3");
        EXPECT_TRUE(OwnedBy(copy, kLeaderTags).empty());
        EXPECT_EQ(OwnedBy(bar, kAllLinkTags).size(), barPieces) << "the bar keeps its own";
        if (!c.described.empty()) {
            ExpectCopiedPieces(bar, copy, {"Opis", "Opis-Nr"});
        }
        if (!c.dimensioned.empty()) {
            ExpectCopiedPieces(bar, copy, {"Wymiary"});
        }
        EXPECT_EQ(GroupMembers(), groupsBefore) << "no groups made";
        RunWpr({"U"}, false);
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(WprTest, MovingABarCarriesItsWholeGroup) {
    const struct {
        const char* name;
        std::vector<std::string> setup;    // after the bars
        std::vector<std::string> answers;  // after the pick
        double dx, dy;                     // 0, 0: nothing moves
    } cases[] = {
        // clang-format off
        {"free", {}, {"0,200", "300,250"}, 300, 50},
        {"orthogonal, horizontal", {"SETVAR ORTHOMODE 1"}, {"0,200", "300,250"}, 300, 0},
        {"orthogonal, near the base's X", {"SETVAR ORTHOMODE 1"}, {"0,200", "15,500"}, 0, 300},
        // The locked point (403,200) is snapped to the line's end 3.2 away.
        {"orthogonal, snapped", {"LINE", "404,203", "500,300", "", "SETVAR ORTHOMODE 1", "SETVAR OSMODE 1"},
         {"0,200", "403,260"}, 404, 3},
        {"onto the base point", {}, {"0,200", "0,200"}, 0, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> setup = Bars(5, {3, 4}, {3}, {3, 4});
        setup.insert(setup.end(), c.setup.begin(), c.setup.end());
        RunWpr(setup);
        const std::string bar = HandleOfBar(2);
        std::vector<std::string> group = OwnedBy(bar, kAllLinkTags);
        ASSERT_EQ(group.size(), 5u + 1u + 6u) << "description, dimension text, leader";
        group.push_back(bar);
        const std::string before = Snapshot();
        const auto points = AllPoints();

        const std::vector<std::string> lines = Join({"EDPR", "Przesuń", "10,200"}, c.answers);
        RunWpr(lines, false);
        EXPECT_EQ(testkit::LastScenarioStatus(), 0);
        EXPECT_CLEAN_AUDIT();
        if (c.dx == 0 && c.dy == 0) {
            EXPECT_EQ(Snapshot(), before);
            continue;
        }
        const auto moved = AllPoints();
        ASSERT_EQ(moved.size(), points.size());
        for (const auto& [handle, was] : points) {
            SCOPED_TRACE(handle);
            const bool carried = std::find(group.begin(), group.end(), handle) != group.end();
            const auto& now = moved.at(handle);
            ASSERT_EQ(now.size(), was.size());
            for (size_t i = 0; i < was.size(); ++i) {
                EXPECT_NEAR(now[i][0], was[i][0] + (carried ? c.dx : 0), 1e-9);
                EXPECT_NEAR(now[i][1], was[i][1] + (carried ? c.dy : 0), 1e-9);
                EXPECT_EQ(now[i][2], was[i][2]);
            }
        }
        EXPECT_EQ(RodBars().at(2).record.number, 3);
        EXPECT_EQ(OwnedBy(bar, kAllLinkTags).size(), 12u) << "the records still name the bar";
        EXPECT_EQ(GroupMembers().size(), 2u) << "the leaders keep their groups";
        RunWpr({"U"}, false);
        EXPECT_EQ(Snapshot(), before);
    }
}

// The lines of a projection are first brought onto the base point's X (or Y), each by its
// start, then carried like a bar's group.
TEST_F(WprTest, DragAlongAnAxisAlignsTheLinesFirst) {
    const struct {
        const char* axis;
        std::vector<std::array<double, 3>> original, copy;  // start and end of each line
    } cases[] = {
        {"x", {{0, 10, 0}, {100, 10, 0}}, {{0, 110, 0}, {100, 110, 0}}},
        {"y", {{50, 0, 0}, {150, 0, 0}}, {{50, 100, 0}, {150, 100, 0}}},
        {"", {{50, 10, 0}, {150, 10, 0}}, {{50, 110, 0}, {150, 110, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.axis);
        const std::string axis = c.axis;
        host::RegisterVerb("TDRAG", [axis](const std::vector<std::string>&) {
            CObslugaPreta rod(ModulePanel());
            sds_name all = {0, 0};
            sds_ssget("X", nullptr, nullptr, nullptr, all);
            sds_name made = {0, 0};
            sds_point moved = {0, 0, 0};
            EXPECT_TRUE(rod.DragRodGroup(all, made, moved, "_COPY", axis));
            long count = 0;
            sds_sslength(made, &count);
            EXPECT_EQ(count, 1);
            EXPECT_EQ(moved[1], 100.0);
            sds_ssfree(all);
            sds_ssfree(made);
            return true;
        });
        RunWpr({"LINE", "50,10", "150,10", "", "TDRAG", "0,0", "0,100"});
        const auto lines = testkit::LiveHandles();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(PointsOf(lines[0]), c.original);
        EXPECT_EQ(PointsOf(lines[1]), c.copy);
    }
}

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
