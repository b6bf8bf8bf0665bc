// WPP through the whole program: where the discs go in both distribution modes and with
// covers along and across the line, what every piece records, the groups, and the file other
// programs read.

// EPP through the whole program: a section given the panel's diameter and steel, described on
// a leader with a number typed or taken from a bar, the pre-selection. That each is one undo
// step is checked by the fault-injection sweep.

// WRP through the whole program: the projection line of a bar over its body, dragged (held to
// an axis in orthogonal mode), shifted and repeated, with the bar's record; the remembered
// answers; a leader on a projection; one undo step per projection.
#include <filesystem>

#include "tests/scenarios_views/views_kit.h"
#include "tests/support/files.h"

namespace {

using namespace views_kit;

struct Case {
    const char* name;
    double diameter;
    int count;
    double spacing;
    const char* start;
    const char* end;
    const char* longitudinal;
    const char* transverse;
    const char* mode;
    std::vector<std::pair<double, double>> centres;
    double recordedSpacing;
    int recordedCount;
};

const Case kCases[] = {
    // clang-format off
    // name, diameter, count, spacing, start, end, covers along and across, mode; centres,
    // recorded spacing and count
    {"count 5 over 100", 10, 5, 20, "0,0", "100,0", "0", "0", "Ilość", {{0, 0}, {25, 0}, {50, 0}, {75, 0}, {100, 0}}, 25, 5},
    {"Enter takes the remembered count mode", 10, 3, 20, "0,0", "100,0", "", "", "", {{0, 0}, {50, 0}, {100, 0}}, 50, 3},
    {"spacing 30 over 100", 10, 1, 30, "0,0", "100,0", "0", "0", "Rozstaw", {{0, 0}, {30, 0}, {60, 0}, {90, 0}, {100, 0}}, 30, 5},
    {"spacing 30 over 90", 10, 1, 30, "0,0", "90,0", "0", "0", "r", {{0, 0}, {30, 0}, {60, 0}, {90, 0}}, 30, 4},
    {"spacing beyond the length", 10, 1, 30, "0,0", "20,0", "0", "0", "Rozstaw", {{0, 0}, {20, 0}}, 30, 2},
    {"longitudinal cover", 10, 3, 20, "0,0", "120,0", "10", "0", "Ilość", {{10, 0}, {60, 0}, {110, 0}}, 50, 3},
    {"transverse cover to the left", 10, 2, 20, "0,0", "100,0", "0", "5", "Ilość", {{0, 5}, {100, 5}}, 100, 2},
    {"negative transverse cover to the right", 10, 2, 20, "0,0", "100,0", "0", "-5", "Ilość", {{0, -5}, {100, -5}}, 100, 2},
    {"left of an upward line", 10, 2, 20, "0,0", "0,100", "0", "5", "Ilość", {{-5, 0}, {-5, 100}}, 100, 2},
    {"count of one", 10, 1, 20, "0,0", "100,0", "0", "0", "Ilość", {{0, 0}}, 0, 1},
    {"count capped below what fits", 10, 10, 20, "0,0", "3,0", "0", "0", "Ilość", {{0, 0}, {1.5, 0}, {3, 0}}, 1.5, 3},
    {"spacing mode capped spreads evenly", 10, 1, 0.7, "0,0", "3,0", "0", "0", "Rozstaw", {{0, 0}, {1.5, 0}, {3, 0}}, 1.5, 3},
    {"covers leaving no room: no discs, no layer made", 12, 5, 20, "0,0", "100,0", "50", "0", "Ilość", {}, 0, 0},
    {"12 mm on the main layer", 12, 2, 20, "0,0", "100,0", "0", "0", "Ilość", {{0, 0}, {100, 0}}, 100, 2},
    // clang-format on
};

std::string Number(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

TEST_F(ViewsTest, WppPlacesAndRecordsEveryDisc) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string transcript =
            RunWpr({"PANEL diameter " + Number(c.diameter), "PANEL steel RB500W",
                    "PANEL count " + std::to_string(c.count), "PANEL spacing " + Number(c.spacing),
                    "WPP", c.start, c.end, c.longitudinal, c.transverse, c.mode});
        EXPECT_EQ(testkit::LastScenarioStatus(), 0) << transcript;
        const std::vector<Disc> discs = Discs();
        ASSERT_EQ(discs.size(), 2 * c.centres.size()) << transcript;
        const std::string layer = c.diameter >= 12 ? "Zbrojenie główne" : "Zbrojenie";
        for (size_t i = 0; i < discs.size(); ++i) {
            const Disc& d = discs[i];
            // Circle and hatch of one disc, made one after the other.
            EXPECT_EQ(d.type, i % 2 == 0 ? "CIRCLE" : "HATCH");
            EXPECT_NEAR(d.x, c.centres[i / 2].first, 1e-9) << i;
            EXPECT_NEAR(d.y, c.centres[i / 2].second, 1e-9) << i;
            EXPECT_NEAR(d.r, c.diameter / 20, 1e-12);
            EXPECT_EQ(d.layer, layer);
            EXPECT_NEAR(d.record.diameter, c.diameter / 10, 1e-12);
            EXPECT_EQ(d.record.steel, 15);
            EXPECT_NEAR(d.record.spacing, c.recordedSpacing, 1e-9);
            EXPECT_EQ(d.record.count, c.recordedCount);
        }
        rblist::Owned made(sds_tblsearch("LAYER", layer.c_str(), 0));
        EXPECT_EQ(made != nullptr, !c.centres.empty());
        const auto groups = GroupMembers();
        ASSERT_EQ(groups.size(), c.centres.size());
        for (size_t g = 0; g < groups.size(); ++g) {
            EXPECT_EQ(groups[g],
                      (std::vector<std::string>{discs[2 * g].handle, discs[2 * g + 1].handle}));
        }
        EXPECT_CLEAN_AUDIT();
    }
}

// A spacing of zero cannot spread bars, nor repeat a projection, nor can a count beyond any
// drawing be drawn: said, and only what can be drawn is (WRP's line without its repeats).
TEST_F(ViewsTest, SpacingsAndCountsThatCannotBeDrawnAreRefused) {
    const std::vector<std::string> wpp = {"PANEL diameter 10", "WPP", "0,0", "1000000,0", "0", "0"};
    // clang-format off
    const std::vector<std::string> wrp = {"PANEL diameter 12", "PANEL steel RB500W", "WPR", "0,0", "100,0", "",
                                          "WRP", "", "50,0", "0,-100", "0,-100", "Nie", "Tak", "0,-300", "^C"};
    // clang-format on
    const struct {
        const char* spacing;
        const char* count;
        const char* mode;  // WPP's answer; WRP for nullptr
        const char* message;
    } rows[] = {
        {"0", "2", "Rozstaw", "Rozstaw na panelu parametrów musi być większy od zera"},
        {"-5", "2", "Rozstaw", "Rozstaw na panelu parametrów musi być większy od zera"},
        {"20", "20000", "Ilość", "Tyle prętów (ponad 10000)"},
        {"0", "3", nullptr, "Rozstaw na panelu parametrów musi być większy od zera"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.spacing + std::string(" ") + row.count);
        std::vector<std::string> lines = row.mode != nullptr ? wpp : wrp;
        if (row.mode != nullptr) {
            lines.push_back(row.mode);
        }
        const std::string transcript =
            RunWpr(lines, true, false, SettingsWith(row.spacing, row.count));
        EXPECT_NE(transcript.find(row.message), std::string::npos) << transcript;
        EXPECT_TRUE(Discs().empty());
        EXPECT_EQ(Projections().size(), row.mode != nullptr ? 0u : 1u);
    }
}

// The discs keep their solid circular boundary through a file: ezdxf reads each hatch as a
// closed two-arc polyline path, and the outside readers accept the file.
TEST_F(ViewsTest, WppDiscsSurviveAFileThatOtherProgramsRead) {
    const std::string path = ::testing::TempDir() + "wpp-discs.dxf";
    const std::string svg = ::testing::TempDir() + "wpp-discs.svg";
    RunWpr({"PANEL diameter 16", "PANEL count 2", "WPP", "0,0", "100,0", "0", "0", "",
            "SAVE " + path, "EXPORT " + svg});
    ASSERT_EQ(testkit::LastScenarioStatus(), 0);
    // The plot fills each disc: a closed path of two arcs, filled, not stroked.
    const std::string text = testkit::ReadFile(svg);
    int filled = 0;
    for (size_t at = text.find("<path d=\"M"); at != std::string::npos;
         at = text.find("<path d=\"M", at + 1)) {
        const std::string one = text.substr(at, text.find("/>", at) - at);
        filled += Count(one, " A") == 2 && one.find("Z\" fill=\"#") != std::string::npos &&
                  one.find("stroke=\"none\"") != std::string::npos;
    }
    EXPECT_EQ(filled, 2) << text;
    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") == 0) {
        const std::string check = "/usr/bin/python3 " ARMAVO_SOURCE_DIR
                                  "/tests/host_files/check_ezdxf.py " +
                                  path + " >" + svg + ".txt 2>&1";
        EXPECT_EQ(std::system(check.c_str()), 0);
        const std::string output = testkit::ReadFile(svg + ".txt");
        EXPECT_EQ(Count(output, "HATCH SOLID closed (0.8, 0, 1) (-0.8, 0, 1) 1=Przekrój"), 1)
            << output;
        EXPECT_EQ(Count(output, "HATCH SOLID closed (100.8, 0, 1) (99.2, 0, 1) 1=Przekrój"), 1)
            << output;
        EXPECT_EQ(Count(output, "CIRCLE 0.8 1=Przekrój 140=1.6 70=0 140=100 70=2"), 2) << output;
    }
    const std::string tool = ARMAVO_SOURCE_DIR "/../shared/tools/dxf-validate";
    if (std::filesystem::exists(tool)) {
        EXPECT_EQ(std::system((tool + " " + path + " >/dev/null 2>&1").c_str()), 0);
    }
}

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
        const std::string disc = Discs()[2].handle;
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
        EXPECT_EQ(p.link.owner, Discs()[2].handle);
    EXPECT_CLEAN_AUDIT();
    // Bar 1 stays 10 mm RB500W, so AUDIT names the leader of the rebuilt section, and only it.
    EXPECT_EQ(ModuleAuditText(), "Odnośnik przekroju " + Discs()[2].handle +
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

// A 12 mm smooth bar (0,0)-(100,0)-(100,50) with hooks at both ends; the second stroke reaches
// beyond the body, to X 105.5.
// clang-format off
const std::vector<std::string> kHookedBar = {
    "PANEL diameter 12", "PANEL steel St0S", "PANEL count 3", "PANEL spacing 15",
    "WPR", "0,0", "100,0", "100,50", "", "-10,10", "110,60"};
// clang-format on

struct Line {
    double x0, y0, x1, y1;
};

struct WrpCase {
    const char* name;
    std::vector<std::string> answers;  // after WRP
    const char* tag;
    std::vector<Line> lines;
    const char* leader = nullptr;  // the main text of a leader drawn from the first line
};

const WrpCase kWrpCases[] = {
    // clang-format off
    {"horizontal over the body, dropped at the base point's level",
     {"", "50,0", "0,-100", "0,-100", "Nie", ""}, "RzutPoziomy", {{0, -100, 100, -100}}},
    // A description on a leader from a projection line leaves the length out.
    {"described on a leader", {"", "50,0", "0,-100", "0,-100", "Nie", "", "^C", "EDPR", "Opis",
     "Na_odnośniku", "50,-100", "50,-100", "50,-80", "100,-80", "^C"}, "RzutPoziomy",
     {{0, -100, 100, -100}}, "12 co 15"},
    {"shifted toward the side, repeated three times below",
     {"Poziomy", "50,0", "0,-100", "0,-100", "Tak", "0,-300", "5", "", "0,-400"}, "RzutPoziomy",
     {{0, -105, 100, -105}, {0, -120, 100, -120}, {0, -135, 100, -135}, {0, -150, 100, -150}}},
    {"repeated above", {"", "50,0", "0,-100", "0,-100", "Nie", "Tak", "0,100"}, "RzutPoziomy",
     {{0, -100, 100, -100}, {0, -85, 100, -85}, {0, -70, 100, -70}, {0, -55, 100, -55}}},
    {"dragged freely", {"", "50,0", "0,-100", "3,-150", "Nie", ""}, "RzutPoziomy", {{3, -150, 103, -150}}},
    {"held to the vertical in orthogonal mode", {"", "50,0", "0,-100", "3,-150", "Nie", ""}, "RzutPoziomy",
     {{0, -150, 100, -150}}},
    {"vertical along the right side, dropped at the base point's X",
     {"pIonowy", "50,0", "300,0", "300,0", "Nie", ""}, "RzutPionowy", {{300, 0, 300, 50}}},
    {"vertical shifted toward the side", {"I", "50,0", "300,0", "300,0", "Tak", "200,0", "10", "Nie"},
     "RzutPionowy", {{290, 0, 290, 50}}},
    // clang-format on
};

TEST_F(ViewsTest, WrpDrawsProjectionLinesWithTheBarsRecord) {
    for (const WrpCase& c : kWrpCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = kHookedBar;
        if (std::string(c.name).find("orthogonal") != std::string::npos)
            lines.push_back("SETVAR ORTHOMODE 1");
        lines.push_back("WRP");
        lines.insert(lines.end(), c.answers.begin(), c.answers.end());
        lines.push_back("^C");
        const std::string transcript = RunWpr(lines);
        CRodXDataParameters bar = Polylines().at(0).record;
        ASSERT_EQ(bar.hooks, 3);
        const std::vector<Projection> found = Projections();
        ASSERT_EQ(found.size(), c.lines.size()) << transcript;
        for (size_t i = 0; i < found.size(); ++i) {
            const Projection& p = found[i];
            EXPECT_NEAR(p.from[0], c.lines[i].x0, 1e-9) << i;
            EXPECT_NEAR(p.from[1], c.lines[i].y0, 1e-9) << i;
            EXPECT_NEAR(p.to[0], c.lines[i].x1, 1e-9) << i;
            EXPECT_NEAR(p.to[1], c.lines[i].y1, 1e-9) << i;
            EXPECT_EQ(p.layer, "Zbrojenie główne");
            EXPECT_EQ(p.colour, 2);
            bar.type = c.tag;
            EXPECT_EQ(RecordText(p.record), RecordText(bar));
        }
        if (c.leader != nullptr) {
            const std::vector<Piece> main = Tagged({"OpisOdn-Dl"});
            ASSERT_EQ(main.size(), 1u) << transcript;
            EXPECT_EQ(main[0].text, c.leader);
            EXPECT_EQ(main[0].link.owner, found[0].handle);
        }
        EXPECT_CLEAN_AUDIT();
    }
}

TEST_F(ViewsTest, WrpRemembersNoForBothQuestionsAndIsOneUndoStepPerProjection) {
    std::vector<std::string> lines = kHookedBar;
    lines[0] = "PANEL diameter 10";
    RunWpr(lines);
    const std::string before = Snapshot();
    const std::string transcript =
        RunWpr({"PANEL count 3", "WRP", "", "50,0", "0,-100", "0,-100", "Nie", "", "", "50,0",
                "0,-200", "0,-200", "", "Tak", "0,-400", "^C"},
               false);
    EXPECT_EQ(Count(transcript, "Odsunąć <Tak>:"), 1) << transcript;
    EXPECT_EQ(Count(transcript, "Powielić  <Nie>:"), 2) << transcript;
    EXPECT_EQ(Count(transcript, "Odsunąć <Nie>:"), 1) << transcript;
    const std::vector<Projection> found = Projections();
    ASSERT_EQ(found.size(), 5u) << transcript;
    EXPECT_EQ(found[0].layer, "Zbrojenie");
    EXPECT_EQ(found[0].colour, 5);
    RunWpr({"U"}, false);
    EXPECT_EQ(Projections().size(), 1u) << "the second projection and its repeats go together";
    RunWpr({"U"}, false);
    EXPECT_EQ(Snapshot(), before);
}

}  // namespace
