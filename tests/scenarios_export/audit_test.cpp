// AUDIT through the whole program (that it finds nothing on drawings made by the commands is
// checked at the end of every scenario): exactly the faults of a DXF another program edited,
// each kind of fault put in by hand, and the mending of what can be mended as one undo step.
#include <array>
#include <functional>
#include <map>

#include "module/entities/layer_group.h"
#include "module/entities/resbuf_util.h"
#include "tests/scenarios_export/export_kit.h"

namespace {

using namespace export_kit;

// The findings AUDIT printed, one a line, without their numbers; "" when it found nothing.
std::string Findings(const std::string& transcript) {
    std::string found;
    for (const std::string& line : Lines(transcript.substr(transcript.rfind("AUDIT: ")))) {
        const size_t dot = line.find(". ");
        if (dot != std::string::npos && dot > 0 && line.find_first_not_of("0123456789") == dot) {
            found += line.substr(dot + 2) + "\n";
        }
    }
    return found;
}

// A DXF as pairs of lines (group code, value), edited as another program would.
struct Dxf {
    std::vector<std::string> lines;

    // Drops the entity (from its "0" to the next) whose handle is `handle`.
    void Erase(const std::string& handle) {
        for (size_t i = 0; i + 3 < lines.size(); i += 2) {
            if (Trim(lines[i]) == "0" && Trim(lines[i + 2]) == "5" && lines[i + 3] == handle) {
                size_t end = i + 2;
                while (end < lines.size() && Trim(lines[end]) != "0") {
                    end += 2;
                }
                lines.erase(lines.begin() + static_cast<long>(i),
                            lines.begin() + static_cast<long>(end));
                return;
            }
        }
        ADD_FAILURE() << "no entity " << handle;
    }
    // The bar record numbered `from` gets `to`: the third 70 after its tag.
    void Renumber(int from, int to) {
        for (size_t i = 0; i + 1 < lines.size(); i += 2) {
            if (Trim(lines[i]) != "1" || lines[i + 1] != "Pręt") {
                continue;
            }
            int seventies = 0;
            for (size_t j = i + 2; j + 1 < lines.size(); j += 2) {
                if (Trim(lines[j]) == "70" && ++seventies == 3) {
                    if (Trim(lines[j + 1]) == std::to_string(from)) {
                        lines[j + 1] = std::to_string(to);
                        return;
                    }
                    break;
                }
            }
        }
        ADD_FAILURE() << "no bar numbered " << from;
    }
    std::string Text() const {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        return text;
    }
};

TEST_F(OprTest, AuditFindsExactlyTheFaultsOfAnEditedDrawingAndMendsThemInOneStep) {
    const std::string dir = ScratchFolder("edited");
    RunWpr(DescribedBars());
    const std::vector<Bar> bars = RodBars();
    ASSERT_EQ(bars.size(), 2u);
    const std::string first = EntityHandle(bars[0].name);
    const std::string second = EntityHandle(bars[1].name);
    // Bar 1's extension dictionary, which the other program leaves without its owner.
    sds_name dictionary = {0, 0};
    resbuf* barList = sds_entget(bars[0].name);
    CSDSXData::FindExtensionDictionary(barList, dictionary);
    sds_relrb(barList);
    const std::string firstDictionary = EntityHandle(dictionary);
    std::string pieces;  // the leader's pieces, as the finding names them
    for (const Piece& piece :
         Tagged({"OpisOdn", "OpisOdn-Nr", "OpisOdn-Fi", "OpisOdn-LP", "OpisOdn-Dl"})) {
        pieces += (pieces.empty() ? "" : ", ") + piece.type + " " + piece.handle;
    }
    ASSERT_FALSE(pieces.empty());
    std::string number2;  // the number text beside bar 2
    for (const Piece& piece : Tagged({"Opis-Nr"})) {
        number2 = piece.handle;
    }
    RunWpr({"SAVE " + dir + "/a.dxf"}, false);
    // Another program erases bar 1, whose leader stays, and gives bar 2 the number 5.
    Dxf dxf{Lines(ReadFile(dir + "/a.dxf"))};
    dxf.Erase(first);
    dxf.Renumber(2, 5);
    WriteFile(dir + "/b.dxf", dxf.Text());

    const std::string transcript = RunWpr({"OPEN " + dir + "/b.dxf", "AUDIT"}, false);
    EXPECT_EQ(Findings(transcript),
              "Luka w numeracji prętów, brakujące numery: 1–4.\n"
              "Pręta " +
                  first + " nie ma w rysunku, a należą do niego: " + pieces +
                  ".\n"
                  "Tekst " +
                  number2 + " pokazuje numer 2, a jego pręt " + second +
                  " ma numer 5.\n"
                  "Rekordy modułu, których nic w rysunku nie posiada: DICTIONARY " +
                  firstDictionary + ".\n")
        << transcript;
    EXPECT_NE(transcript.find("\nAUDIT: usterek: 4.\n"), std::string::npos);
    EXPECT_EQ(LastScenarioStatus(), 0);  // findings are the command's answer, not a failure

    const std::string before = testkit::DumpDrawing() + testkit::DumpNamedObjects();
    const std::string mended = RunWpr({"AUDIT Napraw", "AUDIT"}, false);
    EXPECT_NE(mended.find("AUDIT Napraw: naprawiono usterek: 4, pozostało: 0.\n"),
              std::string::npos)
        << mended;
    EXPECT_NE(mended.find("\nAUDIT: rysunek bez usterek.\n"), std::string::npos);
    EXPECT_EQ(Numbers(), std::vector<int>{1});
    EXPECT_TRUE(Tagged({"OpisOdn", "OpisOdn-Nr"}).empty());
    EXPECT_EQ(TextsTagged("Opis-Nr"), std::vector<std::string>{"1"});
    RunWpr({"U"}, false);
    EXPECT_EQ(testkit::DumpDrawing() + testkit::DumpNamedObjects(), before);
    auditAtEnd_ = false;  // the undo brings the faults back
}

TEST_F(OprTest, AuditNamesEachKindOfFault) {
    using Spoil = std::function<void(const std::vector<Bar>&)>;
    auto renumber = [](std::vector<int> numbers) -> Spoil {
        return [=](const std::vector<Bar>&) { SetNumbers(numbers); };
    };
    auto third = [](std::vector<CSDSPointExt> vertices, double diameterMm, int steel) -> Spoil {
        return [=](const std::vector<Bar>&) { MakeBarOf(vertices, 1, diameterMm, steel); };
    };
    // A stored schedule row taken out of its dictionary and left in the drawing.
    std::string unowned;
    const Spoil dropRow = [&unowned](const std::vector<Bar>&) {
        CSDSXDataPret().WriteScheduleRows("GLOBAL_ORV_ARMAVO", {CWykazObj()});
        sds_name named;
        sds_namedobjdict(named);
        resbuf* entry = sds_dictsearch(named, "GLOBAL_ORV_ARMAVO0", 0);
        unowned = rblist::Text(rblist::Find(entry, 5));
        sds_relrb(entry);
        sds_dictdel(named, "GLOBAL_ORV_ARMAVO0");
    };
    const struct {
        const char* what;
        Spoil spoil;
        std::string finding;  // "%1" stands for the first bar's handle
        bool mended;
    } cases[] = {
        // clang-format off
        {"number below one", renumber({0, 1}), "Pręt %1 ma numer 0, który nie może być pozycją wykazu.", false},
        {"a copy moved", third({{0, 500, 0}, {200, 500, 0}}, 10, 15), "", false},
        {"a copy drawn from its other end", third({{200, 500, 0}, {0, 500, 0}}, 10, 15), "", false},
        {"another diameter", third({{0, 500, 0}, {200, 500, 0}}, 12, 15), "Pręty o numerze 1 różnią się: średnicą; ich wiersz wykazu byłby błędny.", false},
        {"another steel and shape", third({{0, 500, 0}, {210, 500, 0}}, 10, 14), "Pręty o numerze 1 różnią się: stalą, kształtem; ich wiersz wykazu byłby błędny.", false},
        {"a bent copy", third({{0, 500, 0}, {100, 500, 0}, {100, 600, 0}}, 10, 15), "Pręty o numerze 1 różnią się: kształtem; ich wiersz wykazu byłby błędny.", false},
        {"a number text of another number", [](const std::vector<Bar>& bars) { LinkText("7", "Opis-Nr", bars[0].name); },
         "Tekst %2 pokazuje numer 7, a jego pręt %1 ma numer 1.", false},
        {"a description of an erased bar", [](const std::vector<Bar>& bars) { LinkText("2", "Opis-Nr", bars[1].name); sds_entdel(bars[1].name); },
         "Pręta %3 nie ma w rysunku, a należą do niego: TEXT %2.", true},
        {"a group with an erased member", [](const std::vector<Bar>& bars) {
             Entity text = LinkText("1", "Opis-Nr", bars[0].name);
             Entity other = LinkText("1", "Opis", bars[0].name);
             sds_name set; sds_ssadd(text.name, nullptr, set); sds_ssadd(other.name, set, set);
             CSDSGroup().Create(set, "", 1, 1); sds_ssfree(set); sds_entdel(text.name); },
         "Grupa *A0 zawiera usunięte obiekty: 1.", true},
        {"a schedule row nothing owns", dropRow, "Rekordy modułu, których nic w rysunku nie posiada: XRECORD %4.", true},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunWpr(DrawBars(2));
        const std::vector<Bar> bars = RodBars();
        ASSERT_EQ(bars.size(), 2u);
        const std::string firstBar = EntityHandle(bars[0].name);
        const std::string secondBar = EntityHandle(bars[1].name);
        c.spoil(bars);
        std::string finding = c.finding;
        const std::map<std::string, std::string> stand = {
            {"%1", firstBar}, {"%2", LiveHandles().back()}, {"%3", secondBar}, {"%4", unowned}};
        for (const auto& [mark, value] : stand) {
            if (const size_t at = finding.find(mark); at != std::string::npos) {
                finding.replace(at, 2, value);
            }
        }
        const std::string transcript = RunWpr({"AUDIT Napraw", "AUDIT"}, false);
        const std::string first = transcript.substr(0, transcript.find("Polecenie: AUDIT\n"));
        EXPECT_EQ(Findings(first), finding.empty() ? "" : finding + "\n") << transcript;
        // What can be mended is gone after AUDIT Napraw; the rest is still found.
        EXPECT_EQ(Findings(transcript), c.mended || finding.empty() ? "" : finding + "\n")
            << transcript;
    }
    auditAtEnd_ = false;
}

// Views name a bar mark by its number: a projection in its record and on its leader, a section
// only on its leader. Each wrong one is listed for the designer, none mended.
TEST(AuditChecks, ViewsThatNameAnotherMarkOrNone) {
    audit::DrawingSeen seen;
    seen.bars = {{"B1", 1, 1.0, 15, {}}, {"B2", 2, 1.2, 15, {}}};
    seen.views = {{"P1", false, 1, 1.0, 15},
                  {"P2", false, 2, 1.0, 14},
                  {"P3", false, 3, 1.0, 15},
                  {"S1", true, 0, 1.0, 15}};
    seen.otherOwners = {"P1", "P2", "P3", "S1"};
    for (const auto& [handle, owner, text] :
         std::vector<std::array<std::string, 3>>{{"T1", "P1", "1"},
                                                 {"T2", "P1", "2"},
                                                 {"T3", "S1", "1"},
                                                 {"T4", "S1", "2"},
                                                 {"T5", "S1", "x"}}) {
        seen.links.push_back({handle, "TEXT", owner, false, true, text});
    }
    std::string found;
    for (const audit::Finding& finding : audit::Check(seen)) {
        found += finding.text + (finding.mendable ? " (mended)\n" : "\n");
    }
    EXPECT_EQ(found,
              "Rzut P2 różni się od prętów o numerze 2: średnicą, stalą.\n"
              "Rzut P3 ma numer 3, którego nie ma żaden pręt.\n"
              "Odnośnik rzutu P1 pokazuje w tekście T2 numer 2, a rzut ma numer 1.\n"
              "Odnośnik przekroju S1 pokazuje w tekście T4 numer 2, a pręty o tym numerze różnią "
              "się od przekroju: średnicą.\n"
              "Odnośnik przekroju S1 pokazuje w tekście T5 numer x, którego nie ma żaden pręt.\n");
}

TEST_F(OprTest, AuditTakesOnlyTheWordNapraw) {
    const struct {
        std::string line;
        int status;
    } cases[] = {{"AUDIT napraw", 0}, {"AUDIT N", 0}, {"AUDIT Naprawić", 1}, {"AUDIT Napraw x", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string transcript = RunWpr({c.line});
        EXPECT_EQ(LastScenarioStatus(), c.status) << transcript;
        EXPECT_EQ(transcript.find("AUDIT przyjmuje tylko słowo Napraw") != std::string::npos,
                  c.status == 1);
    }
}

}  // namespace
