// WPP through the whole program: where the discs go in both distribution modes and with
// covers along and across the line, what every piece records, the groups, and the file other
// programs read.
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

}  // namespace
