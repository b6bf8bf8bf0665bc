// The parts of a DXF file's structure that the drawing does not keep for itself: added to a
// copy of the drawing before writing, with handles above the drawing's own.
#include <cmath>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/drawing/object_rules.h"
#include "host/files/dxf_writer.h"

namespace host {
namespace {

ObjectId MakeStructural(Database& db, const GroupList& list, bool unknownType = false) {
    MakeOptions options;
    options.structural = true;
    if (unknownType)
        options.category = Category::Object;
    return db.Make(list, options);
}

void EnsureActiveViewport(Database& db) {
    for (ObjectId id : db.ObjectsOf(Category::TableEntry)) {
        if (db.TypeName(*db.Find(id)) == "VPORT")
            return;
    }
    GroupList list;
    list.AddText(0, "VPORT");
    list.AddText(2, "*Active");
    list.AddInt(70, 0);
    list.AddPoint(10, 0, 0, 0);
    list.AddPoint(11, 1, 1, 0);
    list.AddPoint(12, 0, 0, 0);
    list.AddPoint(13, 0, 0, 0);
    list.AddPoint(14, 10, 10, 0);
    list.AddPoint(15, 10, 10, 0);
    list.AddPoint(16, 0, 0, 1);
    list.AddPoint(17, 0, 0, 0);
    list.AddReal(40, 1000.0);
    list.AddReal(41, 1.7);
    list.AddReal(42, 50.0);
    list.AddReal(43, 0.0);
    list.AddReal(44, 0.0);
    list.AddReal(50, 0.0);
    list.AddReal(51, 0.0);
    list.AddInt(71, 0);
    list.AddInt(72, 1000);
    list.AddInt(73, 1);
    list.AddInt(74, 3);
    list.AddInt(75, 0);
    list.AddInt(76, 0);
    list.AddInt(77, 0);
    list.AddInt(78, 0);
    list.AddInt(281, 0);
    list.AddInt(65, 0);
    list.AddReal(146, 0.0);
    MakeStructural(db, list);
}

GroupList LayoutList(ObjectId dictionary, const char* name, int order, ObjectId blockRecord,
                     bool model) {
    GroupList list;
    list.AddText(0, "LAYOUT");
    list.AddId(330, dictionary);
    list.AddText(100, "AcDbPlotSettings");
    list.AddText(1, "");
    list.AddText(2, "none_device");
    list.AddText(4, "ISO_A3_(420.00_x_297.00_MM)");
    list.AddText(6, "");
    for (int code = 40; code <= 49; ++code) {
        list.AddReal(code, code == 44 ? 420.0 : code == 45 ? 297.0 : 0.0);
    }
    list.AddReal(140, 0.0);
    list.AddReal(141, 0.0);
    list.AddReal(142, 1.0);
    list.AddReal(143, 1.0);
    list.AddInt(70, model ? 1024 : 0);
    list.AddInt(72, 1);
    list.AddInt(73, 0);
    list.AddInt(74, 5);
    list.AddText(7, "");
    list.AddInt(75, 16);
    list.AddInt(76, 0);
    list.AddInt(77, 2);
    list.AddInt(78, 300);
    list.AddReal(147, 1.0);
    list.AddReal(148, 0.0);
    list.AddReal(149, 0.0);
    list.AddText(100, "AcDbLayout");
    list.AddText(1, name);
    list.AddInt(70, 1);
    list.AddInt(71, order);
    list.AddPoint(10, 0, 0, 0);
    list.AddPoint(11, 420, 297, 0);
    list.AddPoint(12, 0, 0, 0);
    list.AddPoint(14, 0, 0, 0);
    list.AddPoint(15, 0, 0, 0);
    list.AddReal(146, 0.0);
    list.AddPoint(13, 0, 0, 0);
    list.AddPoint(16, 1, 0, 0);
    list.AddPoint(17, 0, 1, 0);
    list.AddInt(76, 0);
    list.AddId(330, blockRecord);
    return list;
}

// The block record a layout belongs to: its last group 330.
ObjectId LayoutBlockRecord(const Database& db, ObjectId layout) {
    ObjectId record;
    const Object* object = db.Find(layout);
    if (!object)
        return record;
    int index = 0;
    for (const Group& group : object->body) {
        if (index++ >= object->reactorCount && group.code == 330)
            record = group.id;
    }
    return record;
}

void EnsureLayouts(Database& db, ObjectId modelRecord, ObjectId paperRecord) {
    const ObjectId root = db.NamedObjectDictionary();
    ObjectId layouts = db.DictionaryLookup(root, "ACAD_LAYOUT");
    if (!db.Find(layouts)) {
        GroupList list;
        list.AddText(0, "DICTIONARY");
        list.AddId(330, root);
        list.AddInt(281, 1);
        layouts = MakeStructural(db, list);
        if (!layouts || !db.DictionaryAdd(root, "ACAD_LAYOUT", layouts))
            return;
    }
    bool haveModel = false;
    bool havePaper = false;
    for (const auto& [key, layout] : db.DictionaryEntries(layouts)) {
        ObjectId record = LayoutBlockRecord(db, layout);
        haveModel = haveModel || record == modelRecord;
        havePaper = havePaper || record == paperRecord;
    }
    if (!haveModel && !db.DictionaryLookup(layouts, "Model")) {
        ObjectId id = MakeStructural(db, LayoutList(layouts, "Model", 0, modelRecord, true));
        if (id)
            db.DictionaryAdd(layouts, "Model", id);
    }
    if (!havePaper && !db.DictionaryLookup(layouts, "Layout1")) {
        ObjectId id = MakeStructural(db, LayoutList(layouts, "Layout1", 1, paperRecord, false));
        if (id)
            db.DictionaryAdd(layouts, "Layout1", id);
    }
    // Each space's block record names its layout (340) right after its name.
    for (const auto& [key, layout] : db.DictionaryEntries(layouts)) {
        ObjectId record = LayoutBlockRecord(db, layout);
        const Object* object = db.Find(record);
        if (!object || db.TypeName(*object) != "BLOCK_RECORD")
            continue;
        Group existing;
        if (object->body.Find(340, existing))
            continue;
        Object linked = *object;
        linked.body.Clear();
        bool added = false;
        for (const Group& group : object->body) {
            linked.body.Add(group);
            if (group.code == 2 && !added) {
                linked.body.AddId(340, layout);
                added = true;
            }
        }
        // Restore is the journal's own path and tells no recorder: told here, so that a
        // drawing written in place gets its record back (WriteDrawingDxf).
        if (ChangeRecorder* recorder = db.Recorder())
            recorder->BeforeChange(record, *object);
        db.Restore(record, linked);
    }
}

// Every block record has its BLOCK and ENDBLK; those of the spaces the writer fills in.
void EnsureBlocks(Database& db) {
    std::unordered_set<uint32_t> begins, ends;
    for (ObjectId id : db.ObjectsOf(Category::Object)) {
        const Object* object = db.FindLive(id);
        if (!object || !object->owner)
            continue;
        if (db.TypeName(*object) == "BLOCK")
            begins.insert(object->owner.value);
        else if (db.TypeName(*object) == "ENDBLK")
            ends.insert(object->owner.value);
    }
    for (ObjectId record : db.ObjectsOf(Category::TableEntry)) {
        const Object* object = db.FindLive(record);
        if (!object || db.TypeName(*object) != "BLOCK_RECORD")
            continue;
        const bool space = record == db.ModelSpace() || record == db.PaperSpace();
        const std::string name = db.EntryName(*object);
        if (!begins.count(record.value)) {
            GroupList list;
            list.AddText(0, "BLOCK");
            list.AddId(330, record);
            if (!space) {
                list.AddText(100, "AcDbEntity");
                list.AddText(8, "0");
                list.AddText(100, "AcDbBlockBegin");
                list.AddText(2, name);
                list.AddInt(70, 0);
                list.AddPoint(10, 0, 0, 0);
                list.AddText(3, name);
                list.AddText(1, "");
            }
            MakeStructural(db, list, true);
        }
        if (!ends.count(record.value)) {
            GroupList list;
            list.AddText(0, "ENDBLK");
            list.AddId(330, record);
            if (!space) {
                list.AddText(100, "AcDbEntity");
                list.AddText(8, "0");
                list.AddText(100, "AcDbBlockEnd");
            }
            MakeStructural(db, list, true);
        }
    }
}

void AddFileStructure(Database& db) {
    db.EnsureStandardContents();
    EnsureActiveViewport(db);
    const ObjectId model = db.FindTableEntry("BLOCK_RECORD", "*Model_Space");
    const ObjectId paper = db.FindTableEntry("BLOCK_RECORD", "*Paper_Space");
    EnsureLayouts(db, model, paper);
    EnsureBlocks(db);
}

// Keeps the state of every object and of the counters before their first change, and puts
// them back: what the file's structure added to the drawing is taken out again.
class TakeBack : public ChangeRecorder {
  public:
    explicit TakeBack(Database& db)
        : db_(db), slots_(db.SlotCount()), counters_(db.GetCounters()) {}
    void BeforeChange(ObjectId id, const Object& before) override {
        if (seen_.insert(id.value).second)
            before_.emplace_back(id, before);
    }
    void BeforeCountersChange() override {}
    void Run() {
        for (auto it = before_.rbegin(); it != before_.rend(); ++it)
            db_.Restore(it->first, it->second);
        db_.RestoreCounters(counters_);
        db_.DropSlotsFrom(slots_);
    }

  private:
    Database& db_;
    const uint32_t slots_;
    const Counters counters_;
    std::unordered_set<uint32_t> seen_;
    std::vector<std::pair<ObjectId, Object>> before_;
};

}  // namespace

Database PrepareForFile(const Database& drawing) {
    Database db = drawing;
    db.SetRecorder(nullptr);
    AddFileStructure(db);
    return db;
}

std::string WriteDrawingDxf(Database& drawing) {
    // A drawing read from a file has its structure already: then nothing is added. A copy of
    // the whole drawing to add it to would cost more than the writing.
    ChangeRecorder* const journal = drawing.Recorder();
    TakeBack takeBack(drawing);
    drawing.SetRecorder(&takeBack);
    struct PutBack {
        Database& drawing;
        ChangeRecorder* journal;
        TakeBack& takeBack;
        ~PutBack() {
            drawing.SetRecorder(nullptr);
            takeBack.Run();
            drawing.SetRecorder(journal);
        }
    } putBack{drawing, journal, takeBack};
    AddFileStructure(drawing);
    return WriteDxf(drawing);
}

}  // namespace host
