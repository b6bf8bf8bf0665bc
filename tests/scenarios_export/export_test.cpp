// EXPORT .csv and .abs through the whole program: the files byte for byte against golden
// files (the CSV's totals among them) and, so that a golden file copied over without a look
// cannot hide it, every BVBS record's checksum and the legs and bends of bar shapes; the
// refusals that write nothing and stop the script.
#include <cstdlib>
#include <map>

#include "module/audit/audit_checks.h"
#include "module/exchange/bvbs.h"
#include "module/exchange/schedule_csv.h"
#include "tests/scenarios_export/export_kit.h"

namespace {

using namespace export_kit;

// Compares with the golden file; a difference leaves the new file beside the build's tests
// as NAME.out, to be looked at and copied over the golden one when right.
void ExpectGolden(const std::string& actual, const std::string& name) {
    const std::string golden = ReadFile(std::string(ARMAVO_EXPORT_GOLDEN_DIR "/") + name);
    if (actual != golden) {
        const std::string out = std::string(ARMAVO_EXPORT_OUT_DIR "/") + name + ".out";
        WriteFile(out, actual);
        ADD_FAILURE() << name << " differs from its golden file; written to " << out;
    }
}

// The drawing of the golden files: two straight 8 mm bars of one mark made by hand, and with
// the commands an L turning left and one turning right (rounded corners) and a smooth bar with
// hooks, its count typed in OPR; a row added by hand in OPR; saved as belka.dxf, whose name
// the records carry.
std::string ExportGoldenDrawing(const std::string& dir) {
    RunWpr({}, true);
    StraightBar(250, 0, 1, 8, 15);
    StraightBar(250, 20, 1, 8, 15);
    // clang-format off
    return RunWpr({"PANEL steel RB500W", "PANEL diameter 12", "PANEL rounded 1",
                   "WPR", "0,100", "200,100", "200,150", "", "WPR", "0,250", "200,250", "200,200", "",
                   "PANEL steel St0S", "PANEL rounded 0", "WPR", "0,300", "300,300", "", "0,310", "300,310",
                   "OPR", "cell 4 4 41", "click Dodaj", "cell 5 3 120", "cell 5 4 10", "click 2",
                   "SAVE " + dir + "/belka.dxf", "EXPORT " + dir + "/belka.csv",
                   "EXPORT " + dir + "/belka.abs"},
                  // clang-format on
                  false);
}

TEST_F(OprTest, ExportedFilesMatchTheirGoldenFiles) {
    const std::string dir = ScratchFolder("golden");
    const std::string transcript = ExportGoldenDrawing(dir);
    ASSERT_EQ(LastScenarioStatus(), 0) << transcript;
    ExpectGolden(ReadFile(dir + "/belka.csv"), "belka.csv");
    const std::string text = ReadFile(dir + "/belka.abs");
    ExpectGolden(text, "belka.abs");
    // Every record ends its line with CR LF; the checksum covers it up to and including "@C".
    std::map<int, std::string> byMark;
    for (const std::string& record : Lines(text)) {
        SCOPED_TRACE(record);
        ASSERT_EQ(record.rfind("BF2D@Hjbelka@rbelka@p", 0), 0u);
        const size_t c = record.rfind("@C");
        ASSERT_NE(c, std::string::npos);
        long sum = 0;
        for (size_t i = 0; i < c + 2; ++i) {
            sum += static_cast<unsigned char>(record[i]);
        }
        EXPECT_EQ(record.substr(c + 2), std::to_string(96 - sum % 32) + "@");
        byMark[std::atoi(record.c_str() + record.find("@p") + 2)] = record;
    }
    EXPECT_EQ(Count(text, "\r\n"), 4);
    const struct {
        int mark;
        std::vector<std::string> parts;
    } cases[] = {
        // clang-format off
        // Straight: one leg, angle 0; the hand-made pair counts 2; mandrel 15 d of ribbed steel.
        {1, {"@l2500@n2@e0.988@d8@gRB500W@s120@Gl2500@w0@C"}},
        // A rounded corner: legs to the corner point, a left turn +90; cut at the developed length.
        {2, {"@l2461@n1@", "@d12@gRB500W@s180@Gl2000@w90@l500@w0@C"}},
        // The same turning right: the same bar turned over, so the same legs and bends.
        {3, {"@d12@gRB500W@s180@Gl2000@w90@l500@w0@C"}},
        // Hooks are legs too: three legs, bends of the same sign, mandrel 10 d of smooth steel.
        {4, {"@d12@gSt0S@s120@Gl", "@w0@C"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mark);
        for (const std::string& part : c.parts) {
            EXPECT_NE(byMark[c.mark].find(part), std::string::npos) << byMark[c.mark];
        }
    }
    EXPECT_EQ(Count(byMark[4], "@w"), 3);  // hook, bar, hook
}

// What other programs split fields on never splits one: BVBS header texts lose the separator
// and Polish marks, CSV fields are quoted with their quotes doubled.
TEST(ExportTexts, SeparatorsNeverSplitAField) {
    EXPECT_EQ(exchange::BvbsText("Żuraw @2 ściana-ŁĄ"), "Zuraw _2 sciana-LA");
    EXPECT_EQ(exchange::CsvField("belka 1"), "belka 1");
    EXPECT_EQ(exchange::CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(exchange::CsvField("5\" pręt"), "\"5\"\" pręt\"");
    EXPECT_EQ(exchange::CsvField(" x"), "\" x\"");
}

TEST_F(OprTest, FailedExportsWriteNothingAndStopTheScript) {
    const struct {
        const char* what;
        std::vector<int> numbers;  // bars made by hand
        std::string file;
        std::string message;
    } cases[] = {
        // clang-format off
        {"unknown kind", {1}, "x.xyz", "nieznany rodzaj pliku; EXPORT zapisuje pliki .svg, .abs, .csv."},
        {"gap as CSV", {1, 3}, "x.csv", "Numeracja prętów ma lukę (brak numeru 2); nic nie zapisano."},
        {"gap as BVBS", {1, 3}, "x.abs", "Numeracja prętów ma lukę (brak numeru 2); nic nie zapisano."},
        {"BVBS without bars", {}, "x.abs", "Rysunek nie ma prętów; nic nie zapisano."},
        {"missing folder", {1}, "brak/x.csv", "Nie można wyeksportować rysunku do "},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = ScratchFolder("refused");
        const std::string path = dir + "/" + c.file;
        if (std::filesystem::exists(std::filesystem::path(path).parent_path())) {
            WriteFile(path, "stary plik");
        }
        RunWpr({}, true);
        for (int number : c.numbers) {
            StraightBar(100, 10.0 * number, number);
        }
        const std::string before = testkit::DumpDrawing() + testkit::DumpNamedObjects();
        const std::string transcript = RunWpr({"EXPORT " + path, "PANEL diameter 16"}, false);
        EXPECT_NE(transcript.find(c.message), std::string::npos) << transcript;
        EXPECT_NE(transcript.find("Skrypt zatrzymany w wierszu 1 (EXPORT "), std::string::npos)
            << transcript;
        EXPECT_EQ(LastScenarioStatus(), 1);
        EXPECT_EQ(testkit::DumpDrawing() + testkit::DumpNamedObjects(), before);
        EXPECT_EQ(ReadFile(path), std::filesystem::exists(path) ? "stary plik" : "");
    }
    // Without the module the host writes only its own kind.
    const std::string alone = testkit::RunScenario({"EXPORT " + ScratchFolder("alone") + "/x.csv"});
    EXPECT_NE(alone.find("nieznany rodzaj pliku; EXPORT zapisuje pliki .svg.\n"), std::string::npos)
        << alone;
    EXPECT_EQ(LastScenarioStatus(), 1);
    auditAtEnd_ = false;  // the last drawings keep their gap on purpose
}

// A bar turned over is the same mark: mirrored in place its BVBS record stays, its mirrored
// copy carries its record and counts in its row, and AUDIT finds nothing. CHPROP gives the
// copy another layer, colour and line type, and it stays a bar: saved with the line type in
// the file's table, and drawn dashed, LTSCALE times its pattern, with the sheet's title.
TEST_F(OprTest, MirroredAndChangedBarsStayTheirMark) {
    const std::string dir = ScratchFolder("mirror");
    const std::string transcript = RunWpr(
        {"PANEL steel RB500W", "PANEL diameter 10", "WPR", "0,0", "100,0", "100,50", "",
         "EXPORT " + dir + "/a.abs", "MIRROR 50,0 \"\" 200,0 200,10 Tak",
         "EXPORT " + dir + "/b.abs", "MIRROR 350,0 \"\" 200,0 200,10 \"\"",
         "CHPROP 350,0 \"\" Rodzaj_linii DASHED Kolor 1 Warstwa \"Zbrojenie górne\" \"\"",
         "TEXT 10,-40 5 0 \"PRZEKRÓJ A-A\"", "SETVAR LTSCALE 10", "AUDIT",
         "EXPORT " + dir + "/c.abs", "SAVE " + dir + "/bar.dxf", "EXPORT " + dir + "/bar.svg"});
    ASSERT_EQ(LastScenarioStatus(), 0) << transcript;
    EXPECT_NE(transcript.find("AUDIT: rysunek bez usterek."), std::string::npos) << transcript;
    const std::vector<Bar> bars = RodBars();
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].vertices.front().x, 400);  // the original, mirrored in place
    EXPECT_EQ(bars[0].vertices.back().x, 300);
    EXPECT_EQ(bars[1].vertices.front().x, 0);  // its mirrored copy, back where it started
    EXPECT_EQ(RecordText(bars[1].record), RecordText(bars[0].record));
    // A U turns the same way twice, a Z once each way: not the same shape.
    const std::vector<CSDSPointExt> u = {{0, 0, 0}, {100, 0, 0}, {100, 50, 0}, {0, 50, 0}};
    const std::vector<CSDSPointExt> z = {{0, 0, 0}, {100, 0, 0}, {100, 50, 0}, {200, 50, 0}};
    EXPECT_FALSE(audit::SameShape(u, z));
    EXPECT_EQ(bars[0].layer, "Zbrojenie górne");
    const std::string before = ReadFile(dir + "/a.abs");
    EXPECT_EQ(ReadFile(dir + "/b.abs"), before);
    const std::string both = ReadFile(dir + "/c.abs");
    auto legs = [](const std::string& record) {
        return record.substr(record.find("@G"), record.find("@C") - record.find("@G"));
    };
    EXPECT_EQ(legs(both), legs(before));
    EXPECT_NE(both.find("@n2@"), std::string::npos) << both;
    const std::string dxf = ReadFile(dir + "/bar.dxf");
    EXPECT_NE(dxf.find("  2\nDASHED\n 70\n0\n  3\nDashed __"), std::string::npos);
    EXPECT_NE(dxf.find("  8\nZbrojenie górne\n  6\nDASHED\n 62\n1\n"), std::string::npos);
    EXPECT_NE(dxf.find("$LTSCALE\n 40\n10.0\n"), std::string::npos);
    const std::string svg = ReadFile(dir + "/bar.svg");
    EXPECT_NE(svg.find(">PRZEKRÓJ A-A</text>"), std::string::npos) << svg;
    EXPECT_NE(svg.find("stroke-dasharray=\""), std::string::npos) << svg;
}

TEST_F(OprTest, ExportIsNoUndoStepAndReplacesAnOlderFile) {
    const std::string dir = ScratchFolder("undo");
    WriteFile(dir + "/a.CSV", "stary plik");
    const std::string transcript =
        RunWpr({"PANEL steel RB500W", "WPR", "0,0", "100,0", "", "EXPORT " + dir + "/a.CSV", "U"});
    EXPECT_EQ(LastScenarioStatus(), 0) << transcript;
    EXPECT_TRUE(RodBars().empty());  // the one U took back the bar, not an empty export step
    EXPECT_EQ(Lines(ReadFile(dir + "/a.CSV")).size(), 4u);  // heading, row, two totals
}

}  // namespace
