// Drawings of other programs through the armavo program: opened and saved they come back
// whole and readable by strict readers; what the host does not model stays out of selection
// and moves, copies and goes as whole objects; damaged files are mended and say so.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "files_test_util.h"
#include "host/drawing/database.h"
#include "host/files/dxf_reader.h"
#include "host/files/dxf_writer.h"
#include "host/sds.h"
#include "tests/support/scenario.h"

namespace {

const std::string kSample = ARMAVO_FILES_TEST_DIR "/samples/foreign-kitchen-sink.dxf";
const std::string kValidator = ARMAVO_SOURCE_DIR "/../shared/tools/dxf-validate";

// Runs script lines through the program, on a new drawing or on the one there is.
std::string Script(const std::vector<std::string>& lines, bool newDrawing = true) {
    testkit::ScenarioOptions options;
    options.newDrawing = newDrawing;
    return testkit::RunScenario(lines, options);
}

// The nth point of a group code of an object, by handle.
std::array<double, 3> PointOf(const std::string& handle, int code, int nth) {
    const host::Database& drawing = host::CurrentDrawing();
    const host::Object* object = drawing.Find(drawing.FindHandle(*host::Handle::FromText(handle)));
    if (object) {
        for (const host::Group& group : object->body) {
            if (group.code == code && group.kind == host::ValueKind::Point && nth-- == 0)
                return {group.point[0], group.point[1], group.point[2]};
        }
    }
    ADD_FAILURE() << "#" << handle << " has no point " << code;
    return {0, 0, 0};
}

void Name(const char* handle, sds_name name) {
    ASSERT_EQ(sds_handent(handle, name), RTNORM) << handle;
}

TEST(ForeignDrawings, OpenAndSaveGiveEverythingBackToStrictReaders) {
    const std::string out = files_test::TempPath("sink.dxf");
    const std::string transcript = Script({"OPEN " + kSample, "SAVE " + out});
    ASSERT_EQ(testkit::LastScenarioStatus(), 0) << transcript;
    EXPECT_EQ(transcript.find("Pominięto"), std::string::npos) << transcript;
    // Selection sees the entities of model and paper space, not block contents, attributes,
    // vertices or end markers.
    const std::vector<std::string> topLevel = {"92", "93", "96", "97", "9A", "9B", "9E", "9F",
                                               "A0", "A1", "A2", "A3", "A4", "A5", "AA", "AF",
                                               "B0", "B1", "B2", "B3", "B4", "C3", "C4", "CB"};
    EXPECT_EQ(testkit::LiveHandles(), topLevel);
    if (std::filesystem::exists(kValidator)) {
        std::string output;
        EXPECT_EQ(files_test::RunCommand(kValidator + " " + out, &output), 0) << output;
    }
    if (files_test::HaveEzdxf()) {
        std::string output;
        EXPECT_EQ(
            files_test::RunCommand("/usr/bin/python3 " ARMAVO_FILES_TEST_DIR "/compare_ezdxf.py " +
                                       kSample + " " + out,
                                   &output),
            0)
            << output;
    }
    // The file written is this program's own now: saved again it stays byte for byte.
    const std::string again = files_test::TempPath("sink-again.dxf");
    Script({"OPEN " + out, "SAVE " + again});
    EXPECT_EQ(files_test::ReadFile(again), files_test::ReadFile(out));
    if (!std::filesystem::exists(kValidator) || !files_test::HaveEzdxf())
        GTEST_SKIP() << "no " << kValidator << " or no python3-ezdxf: outside readers not asked";
}

TEST(ForeignDrawings, KeptEntitiesMoveCopyAndGoAsWholes) {
    Script({"OPEN " + kSample});
    struct Case {
        const char* handle;
        int code;
        int nth;
        bool moves;
    } cases[] = {
        {"93", 10, 0, true},  {"95", 10, 0, true},  // the INSERT takes its ATTRIB along
        {"95", 11, 0, true},  {"9E", 10, 0, true},  {"A3", 10, 0, true},
        {"A3", 11, 0, false},                        // ELLIPSE axis
        {"A0", 10, 0, false}, {"A0", 10, 1, true},   // HATCH elevation, boundary
        {"A5", 10, 0, false}, {"A7", 10, 0, true},   // POLYLINE elevation, its VERTEX
        {"B2", 10, 0, true},  {"B2", 11, 0, false},  // XLINE
        {"C4", 10, 0, true},  {"C4", 12, 0, true},  {"C4", 11, 0, false},  // MULTILEADER
        {"C4", 10, 3, false},                                              // its block scale
        {"B4", 10, 0, true},  {"B4", 13, 0, true},  {"C3", 10, 0, true},
        {"A2", 11, 2, true},  // SPLINE fit point
    };
    std::vector<std::array<double, 3>> before;
    for (const Case& c : cases)
        before.push_back(PointOf(c.handle, c.code, c.nth));
    for (const char* handle : {"93", "9E", "A3", "A0", "A5", "B2", "C4", "B4", "C3", "A2"}) {
        sds_name name;
        Name(handle, name);
        ASSERT_EQ(sds_command(RTSTR, "_MOVE", RTENAME, name, RTSTR, "", RTSTR, "0,0", RTSTR,
                              "10,20", RTNONE),
                  RTNORM)
            << handle;
    }
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const auto after = PointOf(c.handle, c.code, c.nth);
        EXPECT_EQ(after[0] - before[i][0], c.moves ? 10 : 0) << c.handle << " " << c.code;
        EXPECT_EQ(after[1] - before[i][1], c.moves ? 20 : 0) << c.handle << " " << c.code;
    }
    // A copy of an INSERT has its own attribute and end marker; an erased one takes its own
    // out of the file.
    sds_name insert, erased;
    Name("97", insert);
    Name("9B", erased);
    ASSERT_EQ(sds_command(RTSTR, "_COPY", RTENAME, insert, RTSTR, "", RTSTR, "0,0", RTSTR, "0,-500",
                          RTNONE),
              RTNORM);
    ASSERT_EQ(sds_entdel(erased), RTNORM);
    const host::Database& drawing = host::CurrentDrawing();
    EXPECT_EQ(drawing.TypeName(*drawing.Find(drawing.LastEntity())), "INSERT");
    EXPECT_EQ(drawing.Followers(drawing.LastEntity()).size(), 2u);
    const std::string path = files_test::TempPath("moved.dxf");
    Script({"SAVE " + path}, false);
    const std::string text = files_test::ReadFile(path);
    EXPECT_EQ(text.find("\n  5\n9D\n"), std::string::npos);
    EXPECT_EQ(text.find("\n  5\n9C\n"), std::string::npos);
    if (files_test::HaveEzdxf()) {
        const std::string script = path + ".py";
        files_test::WriteFile(
            script,
            "import ezdxf\n"
            "doc = ezdxf.readfile('" +
                path +
                "')\n"
                "assert not doc.audit().has_errors\n"
                "for e in doc.modelspace().query('INSERT'):\n"
                "    print(e.dxf.handle, e.dxf.insert.y, [(a.dxf.tag, a.dxf.insert.y)"
                " for a in e.attribs])\n");
        std::string output;
        ASSERT_EQ(files_test::RunCommand("/usr/bin/python3 " + script, &output), 0) << output;
        EXPECT_NE(output.find("93 130.0 [('NR', 130.0)]"), std::string::npos) << output;
        EXPECT_EQ(output.find("9B "), std::string::npos) << output;
        EXPECT_NE(output.find("-390.0 [('NR', -390.0)]"), std::string::npos) << output;
    } else {
        GTEST_SKIP() << "python3-ezdxf is not installed: the moved file was not read by ezdxf";
    }
}


std::string File(const std::string& header, const std::string& entities,
                 const std::string& objects) {
    return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1027\n" + header +
           "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n" + entities +
           "  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS\n"
           "  0\nDICTIONARY\n  5\nC\n330\n0\n100\nAcDbDictionary\n" +
           objects + "  0\nENDSEC\n  0\nEOF\n";
}

std::string Line(const std::string& handle, const std::string& xdict = "",
                 const std::string& x = "0.0") {
    return "  0\nLINE\n  5\n" + handle + "\n" +
           (xdict.empty() ? "" : "102\n{ACAD_XDICTIONARY\n360\n" + xdict + "\n102\n}\n") +
           "100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n" + x +
           "\n 20\n0.0\n 30\n0.0\n 11\n1.0\n 21\n1.0\n 31\n0.0\n";
}

std::string Dict(const std::string& handle, const std::string& owner,
                 const std::string& entries = "") {
    return "  0\nDICTIONARY\n  5\n" + handle + "\n330\n" + owner + "\n100\nAcDbDictionary\n" +
           entries;
}

std::string Record(const std::string& handle, const std::string& owner) {
    return "  0\nXRECORD\n  5\n" + handle + "\n330\n" + owner +
           "\n100\nAcDbXrecord\n280\n1\n  1\nPręt\n";
}

// Each damage is told with the handles concerned; the file still opens, and once saved it
// reads back clean and passes ezdxf's strict reading and audit.
TEST(ForeignDrawings, DamagedFilesAreMendedAndTold) {
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::string> told;  // every one in the transcript of OPEN
    } cases[] = {
        // clang-format off
        {"extension dictionary missing", File("", Line("21", "30"), ""), {"LINE #21", "#30"}},
        {"extension dictionary is a record", File("", Line("21", "31"), Record("31", "21")),
         {"LINE #21", "#31 nie jest słownikiem"}},
        {"extension dictionary shared", File("", Line("21", "30") + Line("22", "30"), Dict("30", "21")),
         {"LINE #22", "należy już do #21"}},
        {"record in two dictionaries",
         File("", Line("21", "30") + Line("22", "32"), Dict("30", "21", "  3\nR\n360\n31\n") + Dict("32", "22", "  3\nR\n360\n31\n") + Record("31", "30")),
         {"#31 jest w słownikach #30 i #32"}},
        {"record missing", File("", Line("21", "30"), Dict("30", "21", "  3\nR\n360\n99\n")), {"#30", "#99"}},
        {"handle twice", File("", Line("21") + Line("21"), ""), {"LINE #21 → #"}},
        {"not a number", File("", Line("21") + Line("22", "", "nan"), ""), {"LINE #22", "nan"}},
        {"beyond a double", File("", Line("23", "", "-1e999"), ""), {"LINE #23"}},
        {"millimetres",
         File("  9\n$INSUNITS\n 70\n4\n  9\n$EXTMIN\n 10\n1e+20\n 20\n1e+20\n 30\n1e+20\n", Line("21"), ""),
         {"$INSUNITS = 4, milimetry", "centymetrach"}},
        {"centimetres", File("  9\n$INSUNITS\n 70\n5\n", Line("21"), ""), {}},
        {"polyline of one vertex",
         File("", "  0\nLWPOLYLINE\n  5\n20\n  8\n0\n 90\n1\n 10\n0\n 20\n0\n" + Line("21"), ""),
         {"Pominięto błędne obiekty: 1."}},
        // clang-format on
    };
    std::string saved;
    for (const Case& c : cases) {
        const std::string path = files_test::TempPath("damaged.dxf");
        const std::string out = files_test::TempPath(std::string(c.name) + ".dxf");
        files_test::WriteFile(path, c.file);
        const std::string transcript = Script({"OPEN " + path, "SAVE " + out});
        EXPECT_EQ(testkit::LastScenarioStatus(), 0) << c.name << "\n" << transcript;
        for (const std::string& told : c.told)
            EXPECT_NE(transcript.find(told), std::string::npos) << c.name << "\n" << transcript;
        if (c.told.empty()) {
            EXPECT_EQ(transcript.find("Uwaga"), std::string::npos) << transcript;
        }
        const std::string text = files_test::ReadFile(out);
        EXPECT_EQ(text.find("nan"), std::string::npos) << c.name;
        EXPECT_EQ(text.find("inf"), std::string::npos) << c.name;
        host::Database again = host::Database::Empty();
        const host::DxfReadResult result = host::ReadDxf(text, again);
        ASSERT_TRUE(result.ok) << c.name;
        if (std::string(c.name) != "millimetres") {
            EXPECT_TRUE(result.warnings.empty()) << c.name << ": " << result.warnings[0];
        } else {
            EXPECT_NE(text.find("$EXTMIN\n 10\n1e+20\n"), std::string::npos);
        }
        saved += " '" + out + "'";
    }
    if (files_test::HaveEzdxf()) {
        std::string output;
        EXPECT_EQ(files_test::RunCommand("for f in" + saved +
                                             "; do /usr/bin/python3 " ARMAVO_FILES_TEST_DIR
                                             "/check_ezdxf.py \"$f\" || exit 1; done",
                                         &output),
                  0)
            << output;
    } else {
        GTEST_SKIP() << "python3-ezdxf is not installed: the mended files were not audited";
    }
}

}  // namespace
