// Copies of bar 3 of bars 1..5 through the copy sub-prompt, and drawn-out copies: numbers,
// ordinals, number texts, which texts and leaders come along naming the copy, the anonymous
// groups made, and one U per copy.
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

}  // namespace
