// The drawing database: every object of a drawing (tables, table entries, entities,
// dictionaries, records, groups) kept as its DXF group list, with constant-time lookup by id
// and by handle. The drawing files read and write it through this interface; the sds_*
// functions and the undo journal work on the current drawing (CurrentDrawing()).
//
// List order of an object, as sds_entget returns it (FullList):
//   (-1 id) (0 type) (5 handle) [(102 "{ACAD_REACTORS") (330 r)... (102 "}")]
//   [(102 "{ACAD_XDICTIONARY") (360 dict) (102 "}")] (330 owner)
//   entities only: (100 "AcDbEntity") (67 space) (410 layout) (8 layer)
//   then the body: the type's own groups in the order given when it was made; a subclass
//   marker such as (100 "AcDbLine") is inserted after the common entity groups (6, 62, 48,
//   60, 370, ...) when the maker gave none.
// Dictionary entries are body groups (3 key) followed by (350 object) or (360 object).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/drawing/change_log.h"
#include "host/drawing/dictionary_keys.h"
#include "host/drawing/entity_motion.h"
#include "host/drawing/group_index.h"
#include "host/drawing/group_list.h"
#include "host/drawing/handle_map.h"
#include "host/drawing/pick_grid.h"
#include "host/drawing/record_index.h"

namespace host {

// A handle: the object's permanent name in files and in records (group 5), written as
// upper-case hexadecimal. 0 is "none".
struct Handle {
    uint64_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(Handle, Handle) = default;
    friend auto operator<=>(Handle, Handle) = default;
    std::string ToText() const;
    // Hexadecimal text of either case, 1 to 16 digits; nothing for anything else or zero.
    static std::optional<Handle> FromText(std::string_view text);
};

// How an object sits in the drawing's structure (which DXF section keeps it).
enum class Category : uint8_t {
    Table,       // a table header: LAYER, LTYPE, STYLE, ... (body holds (2 table name))
    TableEntry,  // a LAYER, LTYPE, STYLE, BLOCK_RECORD, APPID, ... entry (body holds (2 name))
    Entity,      // a graphical entity of model or paper space
    Object,      // DICTIONARY, XRECORD, GROUP and other non-graphical objects
};

// Absent: the slot holds nothing (never made, undone, or only a handle reserved by a file
// reader). Erased: deleted by sds_entdel, restorable, invisible to lookups by name.
enum class ObjectState : uint8_t { Absent, Live, Erased };

// One object. Texts that many objects share (type names, layers, layouts) are kept once in
// the drawing's string pool and referred to by index.
class Object {
  public:
    ObjectState state = ObjectState::Absent;
    Category category = Category::Object;
    int16_t space = 0;         // group 67 of entities: 0 model space, 1 paper space
    uint8_t reactorCount = 0;  // the first reactorCount groups of body are (330 reactor)
    uint32_t type = 0;         // pool index of the upper-case type name
    uint32_t layer = 0;        // pool index of group 8 (entities)
    uint32_t layout = 0;       // pool index of group 410 (entities)
    Handle handle;
    ObjectId owner;  // group 330 outside the brackets; none for ownerless objects
    ObjectId extensionDictionary;
    GroupList body;
    friend bool operator==(const Object&, const Object&) = default;
};

// How Make treats the list it is given.
struct MakeOptions {
    // The handle to give the object (files); none: the next handle from the seed.
    Handle handle;
    // For a type the host does not know: the category to keep it under (files). Without it
    // an unknown type is refused.
    std::optional<Category> category;
    // Whether the maker may name a table header, a block record or a layout (files only).
    bool structural = false;
    // Whether a missing layer that an entity names is made at once. A file reader makes
    // them after the whole file, when no handle of the file can be taken any more.
    bool makeLayer = true;
};

// Receives the state of every object and of the drawing's counters before each change,
// so that the change can be undone (see undo_journal.h).
class ChangeRecorder {
  public:
    virtual ~ChangeRecorder() = default;
    virtual void BeforeChange(ObjectId id, const Object& before) = 0;
    virtual void BeforeCountersChange() = 0;
};

// What a file holds outside its objects, kept as read so that saving gives it back: the
// HEADER variables ((9 "$NAME") then its value groups) and the CLASS records ((0 "CLASS")
// then their groups), and whole sections the host does not read ((0 "SECTION") (2 name) ...
// (0 "ENDSEC")), each group as its code and its value text (texts in UTF-8).
struct FileSections {
    std::vector<std::pair<int, std::string>> header;
    std::vector<std::pair<int, std::string>> classes;
    std::vector<std::pair<int, std::string>> extraSections;
};

// The drawing-wide values that the undo journal restores with the objects.
struct Counters {
    Handle seed;  // the next handle to give out; above every handle in use
    // LTSCALE, kept in the file's header: the factor of every line type's pattern.
    double linetypeScale = 1.0;
    friend bool operator==(const Counters&, const Counters&) = default;
};

class Database {
  public:
    // A drawing with the standard structure: the nine tables, the model and paper space
    // block records, layer "0", line types "BYBLOCK", "BYLAYER" and "CONTINUOUS", text
    // style "STANDARD", application "ACAD" and the named object dictionary with
    // "ACAD_GROUP".
    Database();
    // A drawing with nothing in it at all, for a file reader that brings its own structure
    // (then EnsureStandardContents after reading).
    static Database Empty();
    // Adds whatever of the standard structure is missing.
    void EnsureStandardContents();

    // ---- Reading ----
    // The object in a slot, or null when the slot is absent or out of range.
    const Object* Find(ObjectId id) const;
    // The live (not erased) object, or null.
    const Object* FindLive(ObjectId id) const;
    ObjectId FindHandle(Handle handle) const;  // none when no present object has it
    // Every slot id from 1 to SlotCount() - 1, in order of creation; check Find for absence.
    uint32_t SlotCount() const { return static_cast<uint32_t>(objects_.size()); }
    // Entities in order of creation (erased and absent ones included: check their state).
    const std::vector<ObjectId>& EntityOrder() const { return entityOrder_; }
    // Present objects of a category in slot order.
    std::vector<ObjectId> ObjectsOf(Category category) const;

    std::string_view TypeName(const Object& object) const { return pool_[object.type]; }
    std::string_view LayerName(const Object& object) const { return pool_[object.layer]; }
    std::string_view LayoutName(const Object& object) const { return pool_[object.layout]; }
    // The full group list in sds_entget order, with (-1 id) first.
    GroupList FullList(ObjectId id) const;
    // The text of group 2 of a table entry or table header ("" when none).
    std::string EntryName(const Object& object) const;

    ObjectId ModelSpace() const { return modelSpace_; }
    ObjectId PaperSpace() const { return paperSpace_; }
    // The live entity when it stands on its own in model or paper space: not one inside a
    // block, nor a part that follows its parent (an ATTRIB, VERTEX or SEQEND owned by an
    // INSERT or POLYLINE). Selection, picking and the entity walk see only these.
    const Object* FindTopLevel(ObjectId id) const;
    // The entities owned by an entity (its attributes, vertices and end marker), in the order
    // they were made.
    std::vector<ObjectId> Followers(ObjectId parent) const;
    ObjectId NamedObjectDictionary() const { return namedObjects_; }
    // The table header of a table name ("LAYER", any case), or none.
    ObjectId Table(std::string_view table) const;
    // A table entry by table and name, names compared without regard to ASCII case.
    ObjectId FindTableEntry(std::string_view table, std::string_view name) const;

    // Dictionary entries in stored order; the object of a key (exact text), or none.
    std::vector<std::pair<std::string, ObjectId>> DictionaryEntries(ObjectId dict) const;
    ObjectId DictionaryLookup(ObjectId dict, std::string_view key) const;
    // The least n from 0 up for which the dictionary has no key `prefix` (any case) followed
    // by n in decimals ("*A" gives "*A0", "*A1", ... as groups are named).
    size_t DictionaryFreeKey(ObjectId dict, std::string_view prefix) const;

    const Counters& GetCounters() const { return counters_; }
    Handle HandleSeed() const { return counters_.seed; }
    // The live entity made last (what sds_entlast names), or none.
    ObjectId LastEntity() const;
    // Live entities, in order of creation, whose extension dictionary files an XRECORD holding
    // a text group equal to `value`, and the live entity whose handle is written `value`;
    // only texts that could be handles are kept (RecordIndex::Indexable).
    std::vector<ObjectId> RecordHolders(std::string_view value) const {
        return records_.Holders(*this, value);
    }
    // Live entities, in order of creation, filing a record of the field's entry and kind (with
    // `value`, only those whose field holds it), and the distinct values of the field.
    std::vector<ObjectId> RecordKindHolders(const RecordIndex::Field& field,
                                            const int32_t* value) const {
        return records_.KindHolders(*this, field, value);
    }
    std::vector<int32_t> RecordFieldValues(const RecordIndex::Field& field) const {
        return records_.FieldValues(field);
    }
    // How many entities RecordKindHolders gives, and what the field's values from 1 up leave
    // free (see RecordIndex), both answered from the index without listing anything.
    size_t RecordKindCount(const RecordIndex::Field& field, const int32_t* value) const {
        return records_.KindCount(field, value);
    }
    RecordIndex::Numbering RecordFieldNumbering(const RecordIndex::Field& field) const {
        return records_.FieldNumbering(field);
    }
    // Live groups listing the object (live or erased) as a member, in order of creation.
    std::vector<ObjectId> GroupsListing(ObjectId member) const;
    // Entities (live or erased, top level or not) whose bounding box comes within `reach` of
    // the point, in order of creation: what a pick has to measure.
    std::vector<ObjectId> EntitiesNear(double x, double y, double reach) const;

    // ---- Changing (each change is reported to the recorder first) ----
    // Makes an object from a list (any order of the header groups; (-1) ignored; (5) ignored
    // unless options.handle). Validates the list as a whole; on refusal returns none, leaves
    // the drawing unchanged and puts the reason into *error.
    ObjectId Make(const GroupList& list, const MakeOptions& options = {},
                  std::string* error = nullptr);
    // Replaces an object's groups by those of a list of the same type; header groups the
    // list leaves out keep their values. False and no change on refusal.
    bool Modify(ObjectId id, const GroupList& list, std::string* error = nullptr);
    // Joins an object to its extension dictionary, which it then owns (file readers, once
    // both are read). False when either is missing or the dictionary is none.
    bool SetExtensionDictionary(ObjectId object, ObjectId dictionary);
    // Erases a live object or brings back an erased one.
    bool SetErased(ObjectId id, bool erased);
    // Dictionary edits: Add refuses a key already present; Remove refuses a missing key.
    // Add makes the dictionary the object's owner.
    bool DictionaryAdd(ObjectId dict, std::string_view key, ObjectId object,
                       std::string* error = nullptr);
    bool DictionaryRemove(ObjectId dict, std::string_view key);
    // Moves an entity's geometry by a displacement: its positions, not its directions (what is
    // which depends on the type), and the entities that follow it with it.
    bool Translate(ObjectId entity, const double delta[3]);
    // Turns or mirrors an entity and the entities that follow it (with `copy`, a deep copy of
    // them, the original staying). The entity moved, or none with the reason when a kind
    // cannot be carried so (see entity_motion.h); the drawing is then unchanged.
    ObjectId Transform(ObjectId entity, const PlaneMotion& motion, bool copy,
                       std::string* error = nullptr);
    // Makes a copy of a live entity with a new handle; its extension dictionary and every
    // record and dictionary under it are copied too, and the entities that follow it.
    // Returns the copy, or none.
    ObjectId DeepCopy(ObjectId entity);

    // For file readers: room for about this many objects, made before reading them.
    void ReserveSlots(size_t count);
    // For file readers: between these, objects are made, changed and found by handle and
    // name as always, but the indexes that searches use (records, the pick grid, groups,
    // followers) are left alone, and EndLoading builds them in one pass over the whole
    // drawing instead of object by object. Nothing may search the drawing in between.
    void BeginLoading();
    void EndLoading();
    // For file readers: the slot of a handle, reserving an absent one for a forward
    // reference (Make with that handle later fills it).
    ObjectId ReserveHandle(Handle handle);
    // Sets LTSCALE; refused (false) unless finite, above zero and at most 1e15.
    bool SetLinetypeScale(double scale);
    double LinetypeScale() const { return counters_.linetypeScale; }
    // Sets the handle seed; refused (false) when not above every handle in use.
    bool SetHandleSeed(Handle seed);

    // ---- Undo support ----
    void SetRecorder(ChangeRecorder* recorder) { recorder_ = recorder; }
    ChangeRecorder* Recorder() const { return recorder_; }
    // The slot as it is, absent or not (an absent default for ids out of range).
    const Object& SlotState(ObjectId id) const;
    // Puts an object back exactly as it was, re-indexing it; the journal's only write path.
    void Restore(ObjectId id, const Object& state);
    void RestoreCounters(const Counters& counters);
    // Drops the slots from `count` on when all are absent and none was an entity (objects
    // made and taken back again); otherwise keeps them.
    void DropSlotsFrom(uint32_t count);
    // Aborts the program when the indexes disagree with the objects.
    void CheckInvariants() const;

    // Which objects changed since a version of the drawing (every change stamps its object).
    const ChangeLog& Changes() const { return changes_; }

    // The header variables and classes of the file the drawing was read from (empty for a
    // drawing made here).
    FileSections fileSections;

    // The string pool: index of a text, adding it when new.
    uint32_t Intern(std::string_view text);
    std::string_view PoolText(uint32_t index) const { return pool_[index]; }

  private:
    struct EmptyTag {};
    explicit Database(EmptyTag);
    Object* Slot(ObjectId id);
    ObjectId NewSlot();
    void Record(ObjectId id);
    void RecordCounters();
    // Unindex takes a slot out of the indexes before it changes; Index files it after, and
    // moves it in the handle index from the handle it had before.
    void Index(ObjectId id, Handle before);
    void Unindex(ObjectId id);
    // Whether an entity is filed among its owner's followers (owned by another than a space).
    bool Follows(const Object& object) const;
    // The key index of a large dictionary, made at its first lookup; null for a small one.
    DictionaryKeys* KeysOf(ObjectId dict, const Object& object) const;
    void Store(ObjectId id, Object object);
    bool Normalise(const GroupList& list, Object& out, ObjectId self, const MakeOptions& options,
                   std::string& error);
    bool Referable(ObjectId id) const;
    void Adopt(ObjectId owner, ObjectId child);
    void AdoptReferences(ObjectId id);
    ObjectId EnsureLayer(std::string_view name);
    ObjectId MakeStandard(std::string_view type, Category category, ObjectId owner,
                          const GroupList& body);
    ObjectId CopyTree(ObjectId source, ObjectId newOwner, int depth);
    ObjectId CopyEntity(ObjectId entity, ObjectId owner);
    void TranslateOne(ObjectId entity, const double delta[3]);
    static std::string TableKey(std::string_view table, std::string_view name);

    std::vector<Object> objects_;  // slot 0 is never used
    std::vector<ObjectId> entityOrder_;
    HandleMap byHandle_;
    std::unordered_map<std::string, ObjectId> tableEntries_;  // "TABLE\nNAME" upper case
    std::unordered_map<std::string, ObjectId> tables_;        // "LAYER" -> header
    // Parent entity slot -> the entities it owns, in slot order.
    std::unordered_map<uint32_t, std::vector<ObjectId>> followers_;
    std::vector<std::string> pool_;
    // Looked up by string_view: a file reader interns a type and a layer per object.
    struct PoolHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, uint32_t, PoolHash, std::equal_to<>> poolIndex_;
    uint32_t recent_[4] = {};  // pool indexes Intern found last
    uint32_t nextRecent_ = 0;
    uint32_t layerZero_ = 0;    // pool index of "0", what an entity is on unless it says
    uint32_t modelLayout_ = 0;  // pool index of "Model"
    Counters counters_;
    ObjectId modelSpace_;
    ObjectId paperSpace_;
    ObjectId namedObjects_;
    ChangeRecorder* recorder_ = nullptr;
    bool loading_ = false;
    RecordIndex records_;
    PickGrid picks_;
    GroupIndex groups_;
    ChangeLog changes_;
    // Key indexes of large dictionaries by slot, kept until the dictionary changes otherwise
    // than by DictionaryAdd or DictionaryRemove.
    mutable std::unordered_map<uint32_t, DictionaryKeys> dictionaryKeys_;
};

// The drawing the sds_* functions work on.
Database& CurrentDrawing();
// Serial number of the current drawing, carried in every sds_name handed out, so that names
// of an earlier drawing are refused.
long CurrentDrawingSerial();
// Swaps in a drawing built elsewhere (a file just read): selection sets, highlights and the
// undo journal of the old drawing are dropped and its names refused from then on.
void ReplaceDrawing(Database&& drawing);

}  // namespace host
