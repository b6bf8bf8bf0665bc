#include "tests/support/audit.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string_view>

#include "host/drawing/database.h"

namespace testkit {
namespace {

using host::Category;
using host::Database;
using host::Group;
using host::Object;
using host::ObjectId;

const char* const kRecordKey = "ORV_ARMAVO";
const char* const kBarTag = "Pręt";
// Tags of the entities that belong to a bar and name its handle as their second field.
const char* const kLinkTags[] = {"Wymiary",    "Opis",       "Opis-Nr",    "OpisOdn",
                                 "OpisOdn-Nr", "OpisOdn-Fi", "OpisOdn-LP", "OpisOdn-Dl"};

// The data fields of a record, in order: the groups that records are written with.
std::vector<Group> RecordFields(const Object& record) {
    std::vector<Group> fields;
    int skip = record.reactorCount;
    for (const Group& group : record.body) {
        if (skip > 0)
            --skip;
        else if (group.code == 1 || group.code == 10 || group.code == 70 || group.code == 140)
            fields.push_back(group);
    }
    return fields;
}

class Auditor {
  public:
    explicit Auditor(const Database& db) : db_(db) {}

    std::vector<std::string> Run() {
        db_.CheckInvariants();
        std::set<std::string> barHandles;
        std::set<std::string> ownerHandles;        // projection lines
        std::map<std::string, std::string> links;  // entity handle -> bar handle it names
        std::set<int> numbers;
        for (ObjectId id : db_.EntityOrder()) {
            const Object* entity = db_.FindLive(id);
            if (!entity)
                continue;
            const std::string handle = entity->handle.ToText();
            const Object* record = Record(id, *entity);
            if (!record)
                continue;
            // Group views point into the record's body, which outlives this loop step.
            const std::vector<Group> fields = RecordFields(*record);
            if (fields.empty() || fields[0].code != 1)
                continue;
            const std::string_view tag = fields[0].text;
            if (tag == kBarTag && db_.TypeName(*entity) == "LWPOLYLINE") {
                barHandles.insert(handle);
                CheckBar(handle, fields, numbers);
                continue;
            }
            // Projection lines (with a copy of their bar's record) and the circles of
            // cross-section discs carry leaders too.
            if (((tag == "RzutPoziomy" || tag == "RzutPionowy") &&
                 db_.TypeName(*entity) == "LINE") ||
                (tag == "Przekrój" && db_.TypeName(*entity) == "CIRCLE")) {
                ownerHandles.insert(handle);
                continue;
            }
            if (std::find(std::begin(kLinkTags), std::end(kLinkTags), tag) == std::end(kLinkTags))
                continue;
            if (fields.size() < 2 || fields[1].code != 1)
                Add(AuditCode::DeadLink, std::string(tag) + " " + handle + " names no bar");
            else
                links[handle] = std::string(fields[1].text);
        }
        for (const auto& [entity, bar] : links) {
            if (!barHandles.count(bar) && !ownerHandles.count(bar)) {
                Add(AuditCode::DeadLink,
                    entity + " belongs to bar \"" + bar + "\", which is no live bar");
            }
        }
        int missing = 1;  // the first number 1.. that no bar has
        while (numbers.count(missing))
            ++missing;
        if (!numbers.empty() && missing < *numbers.rbegin())
            Add(AuditCode::NumberingGap, "bar numbers skip " + std::to_string(missing));
        CheckGroups();
        return findings_;
    }

  private:
    void Add(AuditCode code, const std::string& text) {
        char number[8];
        std::snprintf(number, sizeof number, "A%02d ", static_cast<int>(code));
        findings_.push_back(number + text);
    }

    // The entity's record under the module's key, after checking the dictionaries on the
    // way; null when there is none.
    const Object* Record(ObjectId id, const Object& entity) {
        if (!entity.extensionDictionary)
            return nullptr;
        const std::string handle = entity.handle.ToText();
        const Object* dict = db_.FindLive(entity.extensionDictionary);
        if (!dict || db_.TypeName(*dict) != "DICTIONARY") {
            Add(AuditCode::ExtensionDictionary,
                handle + ": extension dictionary is no live DICTIONARY");
            return nullptr;
        }
        if (dict->owner != id) {
            Add(AuditCode::ExtensionDictionary, handle + ": extension dictionary " +
                                                    dict->handle.ToText() +
                                                    " is owned by another object");
        }
        ObjectId recordId = db_.DictionaryLookup(entity.extensionDictionary, kRecordKey);
        if (!recordId)
            return nullptr;
        const Object* record = db_.FindLive(recordId);
        if (!record || db_.TypeName(*record) != "XRECORD") {
            Add(AuditCode::RecordOwner, handle + ": record is no live XRECORD");
            return nullptr;
        }
        if (record->owner != entity.extensionDictionary) {
            Add(AuditCode::RecordOwner,
                handle + ": record " + record->handle.ToText() + " is not owned by its dictionary");
        }
        return record;
    }

    void CheckBar(const std::string& handle, const std::vector<Group>& fields,
                  std::set<int>& numbers) {
        static const int kLayout[] = {1, 70, 140, 70, 70, 70, 70, 70};
        if (!std::equal(fields.begin(), fields.end(), std::begin(kLayout), std::end(kLayout),
                        [](const Group& field, int code) { return field.code == code; })) {
            Add(AuditCode::BarRecord, handle + ": bar record has the wrong layout");
            return;
        }
        const int ordinal = fields[1].integer;
        const double diameter = fields[2].real;
        const int hooks = fields[3].integer;
        const int number = fields[4].integer;
        const int steel = fields[5].integer;
        auto bad = [&](const char* what, const std::string& value) {
            Add(AuditCode::BarRecord, handle + ": bar " + what + " " + value);
        };
        if (ordinal < 1)
            bad("ordinal", std::to_string(ordinal));
        if (number < 1)
            bad("number", std::to_string(number));
        else
            numbers.insert(number);
        if (!(diameter > 0))
            bad("diameter", std::to_string(diameter));
        if (hooks < 0 || hooks > 3)
            bad("hook code", std::to_string(hooks));
        if (steel < 0 || steel > 15)
            bad("steel index", std::to_string(steel));
    }

    void CheckGroups() {
        const ObjectId groups = db_.DictionaryLookup(db_.NamedObjectDictionary(), "ACAD_GROUP");
        if (!groups)
            return;
        for (const auto& [name, id] : db_.DictionaryEntries(groups)) {
            const Object* group = db_.FindLive(id);
            if (!group || db_.TypeName(*group) != "GROUP") {
                Add(AuditCode::GroupOwner, "ACAD_GROUP entry " + name + " is no live GROUP");
                continue;
            }
            if (group->owner != groups)
                Add(AuditCode::GroupOwner, "group " + name + " is not owned by ACAD_GROUP");
            for (const Group& member : group->body) {
                if (member.code != 340)
                    continue;
                const Object* entity = db_.FindLive(member.id);
                if (!entity || entity->category != Category::Entity) {
                    const Object* any = db_.Find(member.id);
                    Add(AuditCode::GroupMember,
                        "group " + name + " lists " +
                            (any ? any->handle.ToText() : std::string("nothing")) +
                            ", which is no live entity");
                }
            }
        }
    }

    const Database& db_;
    std::vector<std::string> findings_;
};

}  // namespace

std::vector<std::string> AuditDrawing() {
    return Auditor(host::CurrentDrawing()).Run();
}

std::string AuditText() {
    std::string text;
    for (const std::string& finding : AuditDrawing())
        text += finding + "\n";
    return text;
}

}  // namespace testkit
