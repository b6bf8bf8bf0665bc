// How an edit operation gets its bar, through the whole program: the pick-first selection
// (one bar silently, several through the bar picker), the pick prompt, the bar's group by
// owner handle, leader pieces left out, and the clean-up at the end.
#include <algorithm>
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

// Two bars with pieces of every kind at the same place; which belong to bar 1's group, and
// which of those are leader pieces, is decided by entity type, tag and owner handle alone.
TEST_F(EdprTest, GroupIsTheBarAndWhatNamesItAsOwner) {
    const Drawing d = MakeDrawing();  // bar 1's "Opis-Nr" text belongs to its group
    const sds_point p = {0, -50, 0};
    const sds_point q = {50, -50, 0};
    enum Kind { kText, kLine, kCircle, kPolyline };
    enum Is { kOther, kMember, kLeader };  // not in the group; in it; in it but a leader piece
    const struct {
        Kind kind;
        const char* tag;
        bool ofSecondBar;
        Is is;
    } pieces[] = {
        // clang-format off
        {kText, "Opis", false, kMember},           {kText, "Opis", true, kOther},
        {kText, "Wymiary", false, kMember},        {kText, "Wymiary", true, kOther},
        {kText, "OpisOdn-Nr", false, kLeader},     {kText, "OpisOdn-Fi", false, kLeader},
        {kText, "OpisOdn-LP", false, kLeader},     {kText, "OpisOdn-Dl", false, kLeader},
        {kText, "OpisOdn-Dl", true, kOther},       {kText, "RzutPoziomy", false, kOther},
        {kText, "opis", false, kOther},  /* tags are case-sensitive */
        {kCircle, "OpisOdn-Nr", false, kLeader},   {kCircle, "Opis-Nr", false, kMember},
        {kLine, "OpisOdn", false, kMember},  /* a leader line is kept by the filter */
        {kLine, "OpisOdn-Fi", true, kOther},       {kPolyline, "OpisOdn", false, kLeader},
        {kPolyline, "OpisOdn", true, kOther},      {kPolyline, "Wymiary", false, kMember},
        {kPolyline, "Opis", false, kOther},  /* not a kind a polyline can be */
        // clang-format on
    };
    CObslugaPreta rod(nullptr);
    CSDSXDataPret records;
    const std::string bar = EntityHandle(d.straight.name);
    long members = 2;  // the bar and its description's number
    std::vector<std::string> kept = {bar, EntityHandle(d.text.name)};
    for (const auto& piece : pieces) {
        if (piece.kind == kText) {
            CSDSText().Create("x", p, 5, 0, "STANDARD", 0, 0, p, 0, "0", 256);
        } else if (piece.kind == kLine) {
            CSDSLine().Create(p, q, "0", "CONTINUOUS", 256, 1.0);
        } else if (piece.kind == kCircle) {
            CSDSCircle().Create(p, 5, "0", "CONTINUOUS", 256, 1.0);
        } else {
            CSDSPolyLine().Create({{0, -50, 0}, {50, -50, 0}}, false, "0", "CONTINUOUS", 256);
        }
        sds_name made = {0, 0};
        sds_name dictionary;
        sds_entlast(made);
        records.EnsureExtensionDictionary(made, dictionary);
        const std::string owner = piece.ofSecondBar ? EntityHandle(d.arc.name) : bar;
        if (std::string(piece.tag) == "Wymiary") {
            records.WriteDimensionLink(dictionary, kKey, piece.tag, owner);
        } else {
            records.WriteDescriptionLink(dictionary, kKey, piece.tag, owner, p);
        }
        EXPECT_EQ(rod.BelongsToRodGroup(made, bar), piece.is != kOther) << piece.tag;
        members += piece.is != kOther ? 1 : 0;
        if (piece.is == kMember) {
            kept.push_back(EntityHandle(made));
        }
    }
    std::sort(kept.begin(), kept.end());
    sds_name group = {0, 0};
    EXPECT_EQ(rod.CollectRodGroup(d.straight.name, group), members);
    EXPECT_TRUE(host::IsHighlighted(d.text.name));
    EXPECT_FALSE(host::IsHighlighted(d.arc.name));
    // Only the leader pieces are dropped.
    EXPECT_EQ(rod.DropLeaderEntities(group), members - static_cast<long>(kept.size()));
    std::vector<std::string> left;
    long length = 0;
    sds_sslength(group, &length);
    for (long i = 0; i < length; ++i) {
        sds_name member;
        sds_ssname(group, i, member);
        left.push_back(EntityHandle(member));
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, kept);
    rod.EndRodOperation({group});
    EXPECT_EQ(group[0], 0);
    EXPECT_TRUE(SelectionCleared());
    EXPECT_FALSE(rod.IsRod(d.text.name));
    EXPECT_FALSE(rod.IsRod(d.line.name));
}

}  // namespace
