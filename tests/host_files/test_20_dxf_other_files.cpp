// Files that other programs wrote, older files in their code page, and files that are not
// DXF at all, cut short or broken: read or refused with the line, never a crash.
#include <gtest/gtest.h>

#include <filesystem>

#include "../host_drawing/drawing_test_util.h"
#include "files_test_util.h"
#include "host/drawing/database.h"
#include "host/drawing/document.h"
#include "host/files/dxf_reader.h"
#include "host/files/dxf_text.h"
#include "host/files/dxf_writer.h"
#include "host/files/file_commands.h"
#include "host/sds.h"

namespace {

// A small R2000 file as older programs write it: no handles on some objects, no classes,
// no layouts; the text in the code page of $DWGCODEPAGE.
std::string OldFile(const std::string& codePage, const std::string& text,
                    const std::string& version = "AC1015") {
    return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\n" + version +
           "\n  9\n$DWGCODEPAGE\n  3\n" + codePage +
           "\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n"
           "  0\nLWPOLYLINE\n  8\nZbrojenie\n 90\n2\n 70\n0\n 10\n0.0\n 20\n0.0\n 10\n50\n 20\n0\n"
           "  0\nTEXT\n  8\n0\n 10\n1.0\n 20\n2.0\n 30\n0.0\n 40\n2.5\n  1\n" +
           text +
           "\n  0\nMTEXT\n  8\n0\n 10\n0\n 20\n0\n  1\nx\n"
           "  0\nINSERT\n  8\n0\n  2\nBLOK\n 10\n0\n 20\n0\n"
           "  0\nMTEXT\n  8\n0\n 10\n0\n 20\n0\n  1\ny\n"
           "  0\nENDSEC\n  0\nEOF\n";
}

std::string TextOf(const host::Database& drawing, const char* type) {
    for (host::ObjectId id : drawing.EntityOrder()) {
        const host::Object* object = drawing.FindLive(id);
        if (!object || drawing.TypeName(*object) != type)
            continue;
        host::Group text;
        if (object->body.Find(1, text))
            return std::string(text.text);
    }
    return "<none>";
}

TEST(DxfOtherFiles, OldFilesInTheirCodePageWithEscapes) {
    struct Case {
        const char* page;
        std::string raw;
        const char* expected;
        const char* version = "AC1015";
    } cases[] = {
        // clang-format off
        {"ANSI_1250", "Pr\xEA" "t \xB3\xB9" "cznik \\U+0144", "Pręt łącznik ń"},
        {"ANSI_1252", "caf\xE9 \\U+00D8", "café Ø"},
        {"ANSI_1251", "\xCF\xF0\xE8", "При"},
        {"ANSI_1250", "\\U+D800 broken escape stays", "\xEF\xBF\xBD broken escape stays"},
        // Up to AutoCAD 2004 (AC1018) texts are in the code page; from 2007 (AC1021) in UTF-8.
        {"ANSI_1250", "Pr\xEA" "t", "Pręt", "AC1018"},
        {"ANSI_1250", "Pręt", "Pręt", "AC1021"},
        // clang-format on
    };
    for (const Case& c : cases) {
        host::Database drawing = host::Database::Empty();
        host::DxfReadResult result = host::ReadDxf(OldFile(c.page, c.raw, c.version), drawing);
        ASSERT_TRUE(result.ok) << c.page << ": " << result.error;
        EXPECT_EQ(TextOf(drawing, "TEXT"), c.expected) << c.page;
        // Kinds the host does not draw are kept all the same.
        std::string types;
        for (host::ObjectId id : drawing.EntityOrder())
            types += std::string(drawing.TypeName(*drawing.Find(id))) + " ";
        EXPECT_EQ(types, "LWPOLYLINE TEXT MTEXT INSERT MTEXT ");
        EXPECT_EQ(result.SkippedCount(), 0);
        drawing.CheckInvariants();
        // The drawing gets the standard structure and its entities an owner.
        EXPECT_TRUE(drawing.FindTableEntry("LAYER", "Zbrojenie"));
        EXPECT_TRUE(drawing.ModelSpace());
        for (host::ObjectId id : drawing.EntityOrder()) {
            EXPECT_EQ(drawing.Find(id)->owner, drawing.ModelSpace());
        }
    }
}

// Every character of each code page, against Python's codecs.
TEST(DxfOtherFiles, CodePagesGiveEveryCharacterAsPythonReadsIt) {
    std::string upperHalf;
    for (int c = 0x80; c <= 0xFF; ++c)
        upperHalf += static_cast<char>(c);
    for (auto [page, codec] : {std::pair{host::CodePage::Ansi1250, "cp1250"},
                               {host::CodePage::Ansi1251, "cp1251"},
                               {host::CodePage::Ansi1252, "cp1252"}}) {
        std::string expected;
        ASSERT_EQ(files_test::RunCommand(
                      std::string("/usr/bin/python3 -c \"import sys; sys.stdout.buffer.write("
                                  "bytes(range(128, 256)).decode('") +
                          codec + "', 'replace').encode())\"",
                      &expected),
                  0);
        EXPECT_EQ(host::DecodeDxfText(upperHalf, page), expected) << codec;
    }
}

TEST(DxfOtherFiles, TextsKeepEveryCharacterThroughAFile) {
    host::Database drawing;
    host::GroupList list;
    list.AddText(0, "TEXT");
    list.AddPoint(10, 0, 0, 0);
    list.AddReal(40, 1);
    const std::string awkward = "a\nb\rc\\U+0041 \\P ż";
    list.AddText(1, awkward);
    ASSERT_TRUE(drawing.Make(list));
    host::Database read = host::Database::Empty();
    ASSERT_TRUE(host::ReadDxf(host::WriteDxf(host::PrepareForFile(drawing)), read).ok);
    EXPECT_EQ(TextOf(read, "TEXT"), awkward);
}

class BrokenFiles : public host_test::DrawingTest {};

// Each broken file is refused with the line where reading stopped, and the drawing that
// was open stays exactly as it was.
TEST_F(BrokenFiles, RefusedWithTheLineAndTheOpenDrawingUnchanged) {
    files_test::MakeSampleDrawing();
    const std::string good = host::WriteDxf(host::PrepareForFile(host::CurrentDrawing()));
    const size_t cut = good.find("LWPOLYLINE");
    const size_t lineOfCut =
        static_cast<size_t>(std::count(good.begin(), good.begin() + cut, '\n'));
    std::string binary;
    for (int i = 0; i < 2000; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    struct Case {
        const char* name;
        std::string bytes;
        size_t line;  // 0: any line
        const char* says = "";
    } cases[] = {
        {"empty", "", 0},
        {"binary", binary, 1},
        {"binary DXF", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + binary, 1},
        {"truncated inside an entity", good.substr(0, cut + 20), 0},
        {"truncated after a group code", good.substr(0, cut - 1), lineOfCut},
        {"no EOF", good.substr(0, good.rfind("  0\nEOF")), 0},
        {"bad number", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n1,5\n", 8},
        {"bad group code", "  0\nSECTION\n  2\nENTITIES\n  x\nLINE\n", 5},
        {"no section", "  0\nLINE\n  0\nEOF\n", 1},
        {"section without name", "  0\nSECTION\n  8\nX\n", 3},
        {"16-bit out of range", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 70\n70000\n", 8},
        {"group code beyond the format",
         "  0\nSECTION\n  2\nHEADER\n  9\n$X\n92022280\n1\n  0\nENDSEC\n  0\nEOF\n", 7,
         "kod grupy 92022280 spoza zakresu DXF"},
    };
    for (const Case& c : cases) {
        host::Database aside = host::Database::Empty();
        host::DxfReadResult result = host::ReadDxf(c.bytes, aside);
        EXPECT_FALSE(result.ok) << c.name;
        EXPECT_FALSE(result.error.empty()) << c.name;
        if (c.line != 0) {
            EXPECT_EQ(result.line, c.line) << c.name << ": " << result.error;
        }
        EXPECT_NE(result.error.find(c.says), std::string::npos) << c.name << ": " << result.error;

        const std::string before = host_test::Dump();
        const std::string path = files_test::TempPath("broken.dxf");
        files_test::WriteFile(path, c.bytes);
        EXPECT_FALSE(host::OpenDrawingFile(path)) << c.name;
        EXPECT_EQ(host_test::Dump(), before) << c.name;
    }
    EXPECT_FALSE(host::OpenDrawingFile(files_test::TempPath("missing.dxf")));
}

// A file larger than the pieces OPEN reads it in, so that pairs, lines and CR LF ends are cut
// by the ends of the pieces while the objects of the pieces before are made.
TEST(DxfOtherFiles, LargeFileReadInPiecesEqualsTheWholeFile) {
    std::string bytes =
        "\xEF\xBB\xBF  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\n"
        "AC1027\r\n  0\r\nENDSEC\r\n  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
    size_t lines = 0;
    for (int i = 0; bytes.size() < (size_t{5} << 20); ++i, ++lines) {
        const std::string n = std::to_string(i);
        // The layer last: a record cut one pair short loses it.
        // Now and then a comment within the record, which is no group of it.
        bytes += std::string("  0\r\nLINE\r\n") + (i % 1000 == 1 ? "999\r\nuwaga\r\n" : "") +
                 " 10\r\n" + n + ".25\r\n 20\r\n-" + n + "\r\n 30\r\n0\r\n 11\r\n1e2\r\n 21\r\n" +
                 n + "\r\n 31\r\n0\r\n  8\r\nWarstwa" + std::to_string(i % 7) + "\r\n";
        if (i % 1000 == 0)
            bytes +=
                "  0\r\nTEXT\r\n  8\r\n0\r\n 10\r\n0\r\n 20\r\n0\r\n 40\r\n2.5\r\n  1\r\nŻółć " +
                n + "\r\n";
    }
    bytes += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    const std::string path = files_test::TempPath("large.dxf");
    files_test::WriteFile(path, bytes);

    host::Database whole = host::Database::Empty();
    ASSERT_TRUE(host::ReadDxf(bytes, whole).ok);
    // Every value is its own, whether read beside the reader or by it (1e2).
    size_t asWritten = 0;
    for (host::ObjectId id : whole.EntityOrder()) {
        const host::Object* line = whole.FindLive(id);
        host::Group start, end, comment;
        asWritten += line && whole.LayerName(*line).starts_with("Warstwa") &&
                             !line->body.Find(999, comment) && line->body.Find(10, start) &&
                             start.point[1] == 0.25 - start.point[0] && line->body.Find(11, end) &&
                             end.point[0] == 100
                         ? 1
                         : 0;
    }
    EXPECT_EQ(asWritten, lines);
    ASSERT_TRUE(host::OpenDrawingFile(path));
    EXPECT_EQ(host::WriteDxf(host::CurrentDrawing()), host::WriteDxf(whole));

    // A file that grows while it is read is refused, not read in part.
    host::FileBytes file;
    ASSERT_TRUE(file.Open(path));
    ASSERT_FALSE(file.Complete());
    files_test::WriteFile(path, bytes + "999\r\nmore\r\n");
    host::Database part = host::Database::Empty();
    const host::DxfReadResult result = host::ReadDxf(file, part);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.readFailed);
}

}  // namespace
