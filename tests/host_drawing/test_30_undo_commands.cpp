// The undo journal and the host commands the module sends.
#include "drawing_test_util.h"
#include "host/drawing/document.h"
#include "host/drawing/drawing_access.h"
#include "host/drawing/journal.h"
#include "host/drawing/undo_journal.h"

namespace host_test {
namespace {

class Undo : public DrawingTest {};

// A straight bar along y, marked with its record as the module marks bars.
void MakeMarkedBar(double y, sds_name bar) {
    const double points[2][2] = {{0, y}, {100, y}};
    ASSERT_EQ(host_test::MakeMarkedBar(points, 2, nullptr, 1, bar), RTNORM);
}

TEST_F(Undo, MixedSequenceUndoesAndRedoesExactly) {
    std::vector<std::string> dumps = {Dump()};
    host::BeginCommandStep();
    ASSERT_EQ(MakeLine(0, 0, 5, 5, "Nowa"), RTNORM);  // makes a layer too
    host::EndCommandStep();
    dumps.push_back(Dump());

    host::BeginCommandStep();
    sds_name bar;
    MakeMarkedBar(10, bar);
    host::EndCommandStep();
    dumps.push_back(Dump());

    host::BeginCommandStep();
    resbuf* list = sds_entget(bar);
    const_cast<resbuf*>(FindGroup(list, 10))->resval.rpoint[0] = -7;
    ASSERT_EQ(sds_entmod(list), RTNORM);
    sds_relrb(list);
    sds_name line;
    sds_entnext(nullptr, line);
    ASSERT_EQ(sds_entdel(line), RTNORM);
    host::EndCommandStep();
    dumps.push_back(Dump());

    host::BeginCommandStep();
    sds_name named, row;
    sds_namedobjdict(named);
    ASSERT_EQ(MakeBarRecord("row", 0, row), RTNORM);
    ASSERT_EQ(sds_dictadd(named, "GLOBAL_ORV_ARMAVO0", row), RTNORM);
    resbuf* layer = sds_buildlist(RTDXF0, "LAYER", 2, "Tabela_stali_zbrojeniowej", 62, 3, RTNONE);
    ASSERT_EQ(sds_entmake(layer), RTNORM);
    sds_relrb(layer);
    host::EndCommandStep();
    dumps.push_back(Dump());

    host::BeginCommandStep();
    ASSERT_EQ(sds_dictdel(named, "GLOBAL_ORV_ARMAVO0"), RTNORM);
    ASSERT_EQ(
        sds_command(RTSTR, "_COPY", RTENAME, bar, RTSTR, "", RTSTR, "0,0", RTSTR, "0,20", RTNONE),
        RTNORM);
    host::EndCommandStep();
    dumps.push_back(Dump());

    for (size_t i = dumps.size() - 1; i > 0; --i) {
        ASSERT_EQ(host::UndoSteps(1), 1);
        EXPECT_EQ(Dump(), dumps[i - 1]) << "after undoing step " << i;
    }
    EXPECT_EQ(host::UndoSteps(1), 0);
    for (size_t i = 1; i < dumps.size(); ++i) {
        ASSERT_TRUE(host::RedoStep());
        EXPECT_EQ(Dump(), dumps[i]) << "after redoing step " << i;
    }
    EXPECT_FALSE(host::RedoStep());
    EXPECT_EQ(host::UndoSteps(100), static_cast<int>(dumps.size() - 1));
    EXPECT_EQ(Dump(), dumps[0]);
    // The handles given out again after undo are the same the undone objects had.
    ASSERT_EQ(MakeLine(0, 0, 5, 5, "Nowa"), RTNORM);
    EXPECT_EQ(Dump(), dumps[1]);
    EXPECT_FALSE(host::RedoStep()) << "a new change drops what was undone";
}

class Commands : public DrawingTest {};

// COPYMODE 0 makes a copy for every point given, the last becoming entlast; each copy has its
// own extension dictionary and record, with the record's groups; COPYMODE 1 makes one copy.
TEST_F(Commands, CopyDeepCopiesTheRecordAndBecomesEntlast) {
    sds_name bar, copy, set;
    MakeMarkedBar(0, bar);
    ASSERT_EQ(sds_ssadd(bar, nullptr, set), RTNORM);
    ASSERT_EQ(sds_command(RTSTR, "_COPY", RTPICKS, set, RTSTR, "", RTSTR, "0,0", RTSTR, "0,50",
                          RTSTR, "0,100", RTSTR, "", RTNONE),
              RTNORM);
    sds_entlast(copy);
    resbuf* original = sds_entget(bar);
    resbuf* copied = sds_entget(copy);
    EXPECT_DOUBLE_EQ(FindGroup(copied, 10)->resval.rpoint[1], 100);
    EXPECT_STRNE(FindGroup(original, 5)->resval.rstring, FindGroup(copied, 5)->resval.rstring);
    const long* dictA = FindGroup(original, 360)->resval.rlname;
    const long* dictB = FindGroup(copied, 360)->resval.rlname;
    ASSERT_NE(dictA[0], dictB[0]);
    resbuf* recordA = sds_dictsearch(dictA, "ORV_ARMAVO", 0);
    resbuf* recordB = sds_dictsearch(dictB, "ORV_ARMAVO", 0);
    ASSERT_NE(recordB, nullptr);
    EXPECT_NE(FindGroup(recordA, -1)->resval.rlname[0], FindGroup(recordB, -1)->resval.rlname[0]);
    EXPECT_EQ(ListText(FindGroup(recordA, 100)), ListText(FindGroup(recordB, 100)));
    EXPECT_EQ(FindGroup(recordB, 330)->resval.rlname[0], dictB[0]);
    resbuf* dictList = sds_entget(dictB);
    EXPECT_EQ(FindGroup(dictList, 330)->resval.rlname[0], copy[0]);
    for (resbuf* list : {original, copied, recordA, recordB, dictList})
        sds_relrb(list);

    resbuf one;
    one.restype = RTSHORT;
    one.resval.rint = 1;
    ASSERT_EQ(sds_setvar("COPYMODE", &one), RTNORM);
    long before = 0, after = 0;
    sds_ssget("X", nullptr, nullptr, nullptr, set);
    sds_sslength(set, &before);
    ASSERT_EQ(sds_command(RTSTR, "_COPY", RTENAME, bar, RTSTR, "", RTSTR, "0,0", RTSTR, "5,0",
                          RTSTR, "9,0", RTNONE),
              RTNORM);
    sds_ssget("X", nullptr, nullptr, nullptr, set);
    sds_sslength(set, &after);
    EXPECT_EQ(after, before + 1);
}

TEST_F(Commands, MenuloadUnknownAndMalformed) {
    EXPECT_EQ(sds_command(RTSTR, "_menuload", RTSTR, "ArmavoApp", RTNONE), RTNORM);
    ASSERT_EQ(host::LoadedMenus().size(), 1u);
    EXPECT_EQ(host::LoadedMenus()[0], "ArmavoApp");
    const std::string before = Dump();
    EXPECT_EQ(sds_command(RTSTR, "_ZOOM", RTSTR, "E", RTNONE), RTERROR);
    EXPECT_EQ(sds_command(RTSTR, "_MOVE", RTSTR, "", RTNONE), RTERROR);
    EXPECT_EQ(sds_command(RTSTR, "_UNDO", RTNONE), RTERROR);
    EXPECT_EQ(sds_command(RTNONE), RTERROR);
    EXPECT_EQ(sds_command(RTSTR, static_cast<const char*>(nullptr), RTNONE), RTERROR);
    EXPECT_EQ(Dump(), before);
}

// The log the page asks what changed since the version it shows.
TEST_F(Undo, ChangesSinceAVersionNameEachObjectOnceUntilTheLogOrDrawingIsGone) {
    host::ChangeLog log;
    for (uint32_t slot : {3u, 5u, 3u, 7u})
        log.Stamp(slot);
    const auto since = [&](uint64_t version) {
        std::optional<std::vector<uint32_t>> slots;
        if (auto changed = log.Since(version)) {
            slots.emplace();
            for (host::ObjectId id : *changed)
                slots->push_back(id.value);
        }
        return slots;
    };
    EXPECT_EQ(since(0), (std::vector<uint32_t>{5, 3, 7}));
    EXPECT_EQ(since(2), (std::vector<uint32_t>{3, 7}));
    EXPECT_EQ(since(4), std::vector<uint32_t>{});
    EXPECT_EQ(since(5), std::nullopt);  // a version this drawing never had
    // A long log forgets its older half: a viewer that far behind takes the whole drawing.
    for (size_t i = 0; i < host::ChangeLog::kKept; ++i)
        log.Stamp(9);
    EXPECT_EQ(since(4), std::nullopt);
    EXPECT_EQ(since(log.Version() - 1), std::vector<uint32_t>{9});

    // Undo changes the drawing too; a new drawing is taken whole.
    const host::DrawingChanges before = host::ChangesSince(0, 0);
    host::BeginCommandStep();
    ASSERT_EQ(MakeLine(0, 0, 5, 5, "0"), RTNORM);
    host::EndCommandStep();
    ASSERT_EQ(host::UndoSteps(1), 1);
    const host::DrawingChanges undone = host::ChangesSince(before.drawing, before.version);
    ASSERT_TRUE(undone.changed);
    EXPECT_EQ(undone.changed->size(), 1u);  // the line, made and taken back
    host::NewDrawing();
    EXPECT_FALSE(host::ChangesSince(undone.drawing, undone.version).changed);
}

}  // namespace
}  // namespace host_test
