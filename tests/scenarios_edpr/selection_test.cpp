// How an edit operation gets its bar, through the whole program: the pick-first selection
// (one bar silently, several through the bar picker), the pick prompt, the bar's group by
// owner handle, leader pieces left out, and the clean-up at the end.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/scenarios_edpr/edpr_kit.h"

namespace {

using namespace edpr_kit;

// The picker as "show" draws it for the drawing of the kit (bar 2 by its arc length).
const char* const kPickerTable =
    "  [1012] siatka 2 wierszy\n"
    "         Nr | Średnica [mm] | Stal   | Długość [cm]\n"
    "      1: 1  | 10.0          | RB500W | 250\n"
    "      2: 2  | 10.0          | RB500W | 314\n";

// The handle of bar 1 or 2 of the kit's drawing; "-" for none.
std::string BarHandle(const Drawing& d, int bar) {
    return bar == 0 ? "-" : EntityHandle(bar == 1 ? d.straight.name : d.arc.name);
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One bar of the pick-first selection is taken silently; several (the line is no bar) open the
// picker, which gives the chosen one; anything else falls back to the pick prompt, which asks
// again until a bar is picked or Esc is pressed. The probe changes nothing and leaves nothing
// selected.
TEST_F(EdprTest, PreselectionPickerOrPickPrompt) {
    const std::vector<std::string> picker = {"SELECT", kStraightAt, kLineAt, kArcAt, "", "PROBA"};
    const struct {
        std::vector<std::string> lines;
        std::vector<int> bars;  // per probe run: 1, 2, or 0 for none
        int prompts;
        int refusals;        // picks that found no bar among the objects there, and said so
        int shows;           // the picker shows itself when it opens, and again at each `show`
        int okRefusals = 0;  // OK without a row: refused, the picker stays open
    } cases[] = {
        // clang-format off
        {{"SELECT", kArcAt, kLineAt, "", "PROBA"}, {2}, 0, 0, 0},
        // The operation clears the selection, so the next one asks.
        {{"SELECT", kStraightAt, "", "PROBA", "PROBA", kArcAt}, {1, 2}, 1, 0, 0},
        {{"SELECT", kLineAt, kTextAt, "", "PROBA", kStraightAt}, {1}, 1, 0, 0},
        // A description text, a line, empty space and Enter are no bars: the prompt repeats.
        {{"PROBA", kTextAt, kLineAt, "500,500", "", kArcAt}, {2}, 5, 2, 0},
        {{"PROBA", kTextAt, "^C"}, {0}, 2, 1, 0},
        {{"PROBA", kLineAt}, {0}, 2, 1, 0},
        {Join(picker, {"show", "select 2", "click 1"}), {2}, 0, 0, 2},
        {Join(picker, {"select 1", "click OK"}), {1}, 0, 0, 1},
        // Clicking into a cell selects its row; the picker's cells cannot be edited.
        {Join(picker, {"cell 2 3 999", "click 1"}), {2}, 0, 0, 1},
        {Join(picker, {"click 1", "select 2", "click 1"}), {2}, 0, 0, 1, 1},
        {Join(picker, {"click 1", "click 1", "select 1", "click 1"}), {1}, 0, 0, 1, 2},
        // Cancel, Esc and the end of the input end the operation without a pick prompt.
        {Join(picker, {"select 2", "click 2"}), {0}, 0, 0, 1},
        {Join(picker, {"click Anuluj"}), {0}, 0, 0, 1},
        {Join(picker, {"^C"}), {0}, 0, 0, 1},
        {Join(picker, {"click 1"}), {0}, 0, 0, 1, 1},
        // clang-format on
    };
    for (const auto& c : cases) {
        const Drawing d = MakeDrawing();
        InstallProbe();
        const std::string before = Snapshot();
        const std::string transcript = RunWpr(c.lines, false);
        SCOPED_TRACE(transcript);
        std::vector<std::string> expected;
        for (int bar : c.bars) {
            expected.push_back(BarHandle(d, bar));
        }
        EXPECT_EQ(Probe().bars, expected);
        EXPECT_EQ(Count(transcript, kProbePrompt), c.prompts);
        EXPECT_EQ(Count(transcript, "\nTo nie jest pręt.\n"), c.refusals);
        EXPECT_EQ(Count(transcript, "=== Wybierz jeden z zaznaczonych prętów: ==="), c.shows);
        EXPECT_EQ(Count(transcript, "Nie został wybrany żaden z prętów !"), c.okRefusals);
        if (c.shows == 2) {
            EXPECT_NE(transcript.find(kPickerTable), std::string::npos);
        }
        EXPECT_EQ(Count(transcript, "Komórki (2, 3) nie można edytować."),
                  std::ranges::count(c.lines, "cell 2 3 999"));
        EXPECT_EQ(Snapshot(), before);
        EXPECT_TRUE(SelectionCleared());
    }
}

// A pick takes the nearest bar within the aperture, whatever lies nearer: the leader that
// starts on it, the dimension text centred on a segment's middle.
TEST_F(EdprTest, PickTakesTheBarUnderItsLeaderAndItsTexts) {
    const Drawing d = MakeDrawing();
    InstallProbe();
    const std::string transcript = RunWpr(
        {"EDPR", "Teksty_wymiarów(wstaw/usuń)", "10,0", "Opis", "Tylko_numer_na_odnośniku", "10,0",
         kStraightAt, "110,30", "200,30", "^C", "^C", "PROBA", kStraightAt, "PROBA", "125,0"},
        false);
    SCOPED_TRACE(transcript);
    const std::string bar = EntityHandle(d.straight.name);
    EXPECT_EQ(Probe().bars, (std::vector<std::string>{bar, bar}));
    EXPECT_EQ(Count(transcript, kProbePrompt), 2);
}

// Marks an entity as belonging to `bar` with the tag (description link, or dimension link
// for "Wymiary").
void Link(const std::string& tag, const sds_name bar) {
    sds_name made = {0, 0};
    sds_entlast(made);
    sds_name dictionary;
    CSDSXDataPret records;
    records.EnsureExtensionDictionary(made, dictionary);
    const sds_point at = {0, -50, 0};
    if (tag == "Wymiary") {
        records.WriteDimensionLink(dictionary, kKey, tag, EntityHandle(bar));
    } else {
        records.WriteDescriptionLink(dictionary, kKey, tag, EntityHandle(bar), at);
    }
}

// Two bars with pieces of every kind at the same place; which belong to bar 1's group is
// decided by entity type, tag and owner handle alone.
TEST_F(EdprTest, GroupIsTheBarAndWhatNamesItAsOwner) {
    const Drawing d = MakeDrawing();  // bar 1's "Opis-Nr" text belongs to its group
    const sds_point p = {0, -50, 0};
    const sds_point q = {50, -50, 0};
    const std::vector<CSDSPointExt> path = {{0, -50, 0}, {50, -50, 0}};
    auto makeText = [&] { CSDSText().Create("x", p, 5, 0, "STANDARD", 0, 0, p, 0, "0", 256); };
    auto makeLine = [&] { CSDSLine().Create(p, q, "0", "CONTINUOUS", 256, 1.0); };
    auto makeCircle = [&] { CSDSCircle().Create(p, 5, "0", "CONTINUOUS", 256, 1.0); };
    auto makePolyline = [&] { CSDSPolyLine().Create(path, false, "0", "CONTINUOUS", 256); };
    const struct {
        std::function<void()> make;
        const char* tag;
        bool ofSecondBar;
        bool member;
        bool leader;
    } pieces[] = {
        {makeText, "Opis", false, true, false},
        {makeText, "Opis", true, false, false},  // the same place, the other bar
        {makeText, "Wymiary", false, true, false},
        {makeText, "Wymiary", true, false, false},
        {makeText, "OpisOdn-Nr", false, true, true},
        {makeText, "OpisOdn-Fi", false, true, true},
        {makeText, "OpisOdn-LP", false, true, true},
        {makeText, "OpisOdn-Dl", false, true, true},
        {makeText, "OpisOdn-Dl", true, false, true},
        {makeText, "RzutPoziomy", false, false, false},
        {makeText, "opis", false, false, false},  // tags are case-sensitive
        {makeCircle, "OpisOdn-Nr", false, true, true},
        {makeCircle, "Opis-Nr", false, true, false},
        {makeLine, "OpisOdn", false, true, false},  // a leader line is kept by the filter
        {makeLine, "OpisOdn-Fi", true, false, false},
        {makePolyline, "OpisOdn", false, true, true},
        {makePolyline, "OpisOdn", true, false, true},
        {makePolyline, "Wymiary", false, true, false},
        {makePolyline, "Opis", false, false, false},  // not a kind a polyline can be
    };
    std::vector<std::string> members = {EntityHandle(d.straight.name), EntityHandle(d.text.name)};
    std::vector<std::string> kept = members;
    for (const auto& piece : pieces) {
        piece.make();
        Link(piece.tag, piece.ofSecondBar ? d.arc.name : d.straight.name);
        sds_name made;
        sds_entlast(made);
        if (piece.member) {
            members.push_back(EntityHandle(made));
            if (!piece.leader) {
                kept.push_back(EntityHandle(made));
            }
        }
    }
    auto handles = [](const sds_name set) {
        std::vector<std::string> list;
        long length = 0;
        sds_sslength(set, &length);
        for (long i = 0; i < length; ++i) {
            sds_name member;
            sds_ssname(set, i, member);
            list.push_back(EntityHandle(member));
        }
        std::sort(list.begin(), list.end());
        return list;
    };
    std::sort(members.begin(), members.end());
    std::sort(kept.begin(), kept.end());

    CObslugaPreta rod(nullptr);
    sds_name group = {0, 0};
    EXPECT_EQ(rod.CollectRodGroup(d.straight.name, group), static_cast<long>(members.size()));
    EXPECT_EQ(handles(group), members);
    // The group is the pick-first selection now, and highlighted.
    resbuf* grips = nullptr;
    resbuf* picks = nullptr;
    sds_ssgetfirst(&grips, &picks);
    ASSERT_NE(picks, nullptr);
    EXPECT_EQ(handles(picks->resval.rlname), members);
    sds_ssfree(picks->resval.rlname);
    sds_relrb(picks);
    EXPECT_TRUE(host::IsHighlighted(d.text.name));
    EXPECT_FALSE(host::IsHighlighted(d.arc.name));

    EXPECT_EQ(rod.DropLeaderEntities(group), static_cast<long>(members.size() - kept.size()));
    EXPECT_EQ(handles(group), kept);
    rod.EndRodOperation({group});
    EXPECT_EQ(group[0], 0);
    EXPECT_TRUE(SelectionCleared());

    // Bar 2's group: itself and its two pieces.
    rod.HighlightRodGroup(d.arc.name);
    EXPECT_TRUE(host::IsHighlighted(d.arc.name));
    EXPECT_FALSE(host::IsHighlighted(d.straight.name));
    rod.EndRodOperation();
    EXPECT_TRUE(SelectionCleared());
    EXPECT_TRUE(rod.IsRod(d.straight.name));
    EXPECT_FALSE(rod.IsRod(d.text.name));
    EXPECT_FALSE(rod.IsRod(d.line.name));
}

}  // namespace
