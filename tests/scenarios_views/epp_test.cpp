// EPP through the whole program: a section given the panel's diameter and steel, described on
// a leader with a number typed or taken from a bar, the pre-selection. That each is one undo
// step is checked by the fault-injection sweep.
#include "tests/scenarios_views/views_kit.h"

namespace {

using namespace views_kit;

// Where the discs of TenMillimetreSection are picked: the hatch lies over the circle there.
const char* const kSecondDisc = "25.2,0";

TEST_F(ViewsTest, EppChangesTheDiameterAndSteelOfASection) {
    const struct {
        const char* name;
        const char* diameter;
        double radius;
        const char* layer;
        bool sameHandles;
        bool preselected = false;  // then taken without asking
    } rows[] = {
        {"10 to 16 mm: rebuilt on the main layer", "16", 0.8, "Zbrojenie główne", false},
        {"same diameter: only the steel", "10", 0.5, "Zbrojenie", true},
        {"a preselected disc", "16", 0.8, "Zbrojenie główne", false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RunWpr(TenMillimetreSection());
        const std::vector<Disc> before = Discs();
        std::vector<std::string> lines = {"PANEL diameter " + std::string(row.diameter),
                                          "PANEL steel St3SX"};
        if (row.preselected) {
            lines.insert(lines.end(), {"SELECT", kSecondDisc, ""});
        }
        lines.insert(lines.end(), {"EPP", "Zmień_średnicę/stal", kSecondDisc, "^C"});
        if (row.preselected) {
            lines.erase(lines.end() - 2);  // no pick: the disc is taken
        }
        const std::string transcript = RunWpr(lines, false);
        EXPECT_EQ(Count(transcript, "Wybierz przekrój pręta do zmiany"), row.preselected ? 0 : 1);
        const std::vector<Disc> after = Discs();
        ASSERT_EQ(after.size(), before.size()) << transcript;
        // The other discs stay as they were; the picked one changes, both of its pieces.
        for (size_t i = 0; i < after.size(); ++i) {
            const bool picked = i == 2 || i == 3;
            EXPECT_EQ(after[i].handle == before[i].handle, !picked || row.sameHandles) << i;
            EXPECT_NEAR(after[i].r, picked ? row.radius : 0.5, 1e-12) << i;
            EXPECT_EQ(after[i].layer, picked ? row.layer : "Zbrojenie") << i;
            EXPECT_EQ(after[i].record.steel, picked ? 1 : 15) << i;
            EXPECT_NEAR(after[i].x, before[i].x, 1e-12);
            EXPECT_NEAR(after[i].record.spacing, 25, 1e-12);
            EXPECT_EQ(after[i].record.count, 5);
        }
        EXPECT_NEAR(after[2].record.diameter, std::atof(row.diameter) / 10, 1e-12);
        // Its group names the pieces it has now.
        EXPECT_EQ(GroupMembers()[1], (std::vector<std::string>{after[2].handle, after[3].handle}));
        EXPECT_CLEAN_AUDIT();
    }
}

// A description names the number given, the section's count and spacing, the panel's diameter
// and no length; its pieces belong to the disc it starts from and follow it when it changes.
TEST_F(ViewsTest, EppDescribesASection) {
    const struct {
        const char* name;
        std::vector<std::string> number;
        const char* expected;
    } rows[] = {
        {"typed", {"Wpisz_nr_pręta", "7"}, "7"},
        {"Enter types it", {"", "3"}, "3"},
        {"taken from a bar", {"Przejmij_nr_pręta", "500,500", "0,200"}, "1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> setup = TenMillimetreSection();
        setup.insert(setup.end(), {"WPR", "0,200", "200,200", ""});
        RunWpr(setup);
        std::vector<std::string> lines = {"PANEL diameter 16", "EPP", ""};
        lines.insert(lines.end(), row.number.begin(), row.number.end());
        lines.insert(lines.end(), {kSecondDisc, "25,50", "80,50", "^C"});
        const std::string transcript = RunWpr(lines, false);
        const std::vector<Piece> pieces =
            Tagged({"OpisOdn", "OpisOdn-Nr", "OpisOdn-Dl", "OpisOdn-Fi", "OpisOdn-LP"});
        ASSERT_EQ(pieces.size(), 6u) << transcript;
        const std::string disc = Circles()[1].handle;
        for (const Piece& p : pieces) {
            EXPECT_EQ(p.link.owner, disc);
            EXPECT_NEAR(p.link.point[0], 25, 1e-12);
        }
        EXPECT_EQ(pieces[0].vertices.size(), 3u);
        EXPECT_NEAR(pieces[0].vertices[0].x, 25, 1e-12);
        EXPECT_EQ(pieces[2].text, row.expected);
        EXPECT_EQ(pieces[3].text, "16 co 25");
        EXPECT_EQ(pieces[4].text, "# ");
        EXPECT_EQ(pieces[5].text, "5");
        EXPECT_EQ(GroupMembers().size(), 6u) << "five discs and the leader";
        EXPECT_CLEAN_AUDIT();
    }
    // The leader follows its disc when the disc is rebuilt at another size.
    RunWpr({"PANEL diameter 20", "EPP", "Zmień_średnicę/stal", kSecondDisc, "^C"}, false);
    for (const Piece& p : Tagged({"OpisOdn", "OpisOdn-Nr"}))
        EXPECT_EQ(p.link.owner, Circles()[1].handle);
    EXPECT_CLEAN_AUDIT();
    // Bar 1 stays 10 mm RB500W, so AUDIT names the leader of the rebuilt section, and only it.
    EXPECT_EQ(ModuleAuditText(), "Odnośnik przekroju " + Circles()[1].handle +
                                     " pokazuje w tekście " + Tagged({"OpisOdn-Nr"}).back().handle +
                                     " numer 1, a pręty o tym numerze różnią się od przekroju: "
                                     "średnicą, stalą.\n");
    auditAtEnd_ = false;
}

// Esc where the bar giving the number is asked goes back to the options; nothing is drawn.
TEST_F(ViewsTest, EppDrawsNothingWithoutANumber) {
    RunWpr(TenMillimetreSection());
    const std::string before = Snapshot();
    const std::string transcript =
        RunWpr({"EPP", "Rysuj_opis", "Przejmij_nr_pręta", "^C", "^C"}, false);
    EXPECT_EQ(Count(transcript, "Edycja przekroju pręta <Rysuj_opis>:"), 2) << transcript;
    EXPECT_EQ(transcript.find("Wybierz przekrój pręta do opisania"), std::string::npos);
    EXPECT_EQ(Snapshot(), before);
}

}  // namespace
