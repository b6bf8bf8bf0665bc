// Finding what refers to an entity through the host's record index gives exactly what reading
// every entity of the drawing gives, through dimension texts, descriptions, leaders, copies,
// erasure, undo, redo, moves and a save and open.
#include <filesystem>
#include <set>

#include "tests/rods_dims/dims_kit.h"

namespace {

using namespace dims_kit;

bool IsTextCode(int code) {
    return (code >= 1 && code <= 9) || (code >= 300 && code <= 309) ||
           (code >= 320 && code <= 329) || (code >= 390 && code <= 399) ||
           (code >= 1000 && code <= 1009);
}

// The texts of the records filed in an entity's extension dictionary, read through lists.
std::set<std::string> RecordTexts(const sds_name entity) {
    std::set<std::string> texts;
    rblist::Owned list(sds_entget(entity));
    sds_name dictionary = {0, 0};
    if (!CSDSXData::FindExtensionDictionary(list.get(), dictionary)) {
        return texts;
    }
    rblist::Owned entries(sds_entget(dictionary));
    bool afterKey = false;
    for (const resbuf* node = entries.get(); node != nullptr; node = node->rbnext) {
        if (afterKey && (node->restype == 350 || node->restype == 360)) {
            rblist::Owned record(sds_entget(node->resval.rlname));
            if (CSDSBaseClass::GetTypeName(record.get()) == "XRECORD") {
                for (const resbuf* g = record.get(); g != nullptr; g = g->rbnext) {
                    if (IsTextCode(g->restype)) {
                        texts.insert(rblist::Text(g));
                    }
                }
            }
        }
        afterKey = node->restype == 3;
    }
    return texts;
}

std::vector<std::string> Handles(const sds_name set) {
    std::vector<std::string> handles;
    long length = 0;
    sds_sslength(set, &length);
    for (long i = 0; i < length; ++i) {
        sds_name entity = {0, 0};
        sds_ssname(set, i, entity);
        handles.push_back(EntityHandle(entity));
    }
    return handles;
}

// For every live entity: what the index finds against the plain reading of every entity,
// and for every bar its group as the edit command collects it against the membership rule
// applied to every entity. The number of group members found beside the bars themselves.
size_t ExpectIndexMatchesPlainScan() {
    const std::vector<std::string> all = testkit::LiveHandles();
    std::vector<std::set<std::string>> texts;
    for (const std::string& handle : all) {
        sds_name entity;
        sds_handent(handle.c_str(), entity);
        texts.push_back(RecordTexts(entity));
    }
    CObslugaPreta rod(nullptr);
    size_t followers = 0;
    for (const std::string& handle : all) {
        SCOPED_TRACE(handle);
        std::vector<std::string> plain;
        for (size_t i = 0; i < all.size(); ++i) {
            if (all[i] == handle || texts[i].contains(handle)) {
                plain.push_back(all[i]);
            }
        }
        sds_name found = {0, 0};
        EXPECT_EQ(sds_ssgetrecordref(handle.c_str(), found), RTNORM);
        EXPECT_EQ(Handles(found), plain);
        sds_ssfree(found);

        sds_name entity;
        sds_handent(handle.c_str(), entity);
        if (!rod.IsRod(entity)) {
            continue;
        }
        std::vector<std::string> members;
        for (const std::string& other : all) {
            sds_name candidate;
            sds_handent(other.c_str(), candidate);
            if (rod.BelongsToRodGroup(candidate, handle)) {
                members.push_back(other);
            }
        }
        sds_name group = {0, 0};
        EXPECT_EQ(rod.CollectRodGroup(entity, group), static_cast<long>(members.size()));
        EXPECT_EQ(Handles(group), members);
        rod.EndRodOperation({group});
        followers += members.size() - 1;
    }
    return followers;
}

TEST_F(WprTest, RecordIndexAnswersAsReadingEveryEntity) {
    const std::string file =
        (std::filesystem::path(::testing::TempDir()) / "record_refs.dxf").string();
    // Bars A (0,0)-(200,0), B lying on A from x = 100, C an L at y = 100; dimension texts on
    // all three, a description beside C, a leader of A.
    // clang-format off
    RunWpr({"PANEL steel RB500W", "PANEL diameter 12", "PANEL letter 5", "WPR", "0,0", "200,0", "",
            "WPR", "100,0", "300,0", "", "WPR", "0,100", "200,100", "200,200", "", "EDPR",
            kDimsOption, "50,0", "", "250,0", "", "100,100"});
    // clang-format on
    RunWpr({"EDPR", "Opis", "", "100,100"}, false);
    RunWpr({"EDPR", "Opis", "N", "50,0", "150,0", "150,50", "300,50"}, false);
    const struct {
        const char* name;
        std::vector<std::string> lines;
    } steps[] = {
        {"drawn", {}},
        {"copies of C and of A",
         {"COPY", "100,100", "", "0,0", "0,500", "COPY", "50,0", "", "0,0", "0,-300"}},
        {"A erased", {"ERASE", "50,0", ""}},
        {"erasure undone", {"U"}},
        {"and redone", {"REDO"}},
        {"B moved", {"MOVE", "250,0", "", "0,0", "10,10"}},
        {"C's texts off", {"EDPR", kDimsOption, "100,100"}},
        {"the copy's description off", {"EDPR", "Opis", "P", "100,600"}},
        // The description off, C's texts on again, B back, A back.
        {"four steps undone", {"U", "U", "U", "U"}},
        {"saved and opened", {"SAVE " + file, "OPEN " + file}},
        {"the opened drawing edited", {"EDPR", kDimsOption, "100,100"}},
        {"and B erased", {"ERASE", "260,10", ""}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        if (!step.lines.empty()) {
            RunWpr(step.lines, false);
        }
        EXPECT_GE(ExpectIndexMatchesPlainScan(), 4u);
    }
    std::filesystem::remove(file);
}

}  // namespace
