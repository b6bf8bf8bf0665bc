// The drawing generator (see drawing_generator.h): one block drawn by commands, the rest
// copied entity by entity with their records, groups and links, renumbered block by block.
#include "bench/generator/drawing_generator.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/generator/block_bars.h"
#include "host/drawing/session.h"
#include "host/sds.h"
#include "module/entities/layer_group.h"
#include "module/entities/resbuf_util.h"
#include "module/entities/xdata.h"
#include "module/frame/entry_point.h"
#include "tests/support/scenario.h"

namespace drawing_generator {

namespace {

constexpr double kBlockStep = 500.0;
constexpr const char* kKey = "ORV_ARMAVO";
constexpr const char* kBarType = "Pręt";

using Name = std::array<long, 2>;

std::vector<Name> LiveEntities() {
    std::vector<Name> names;
    sds_name all = {0, 0};
    if (sds_ssget("X", nullptr, nullptr, nullptr, all) != RTNORM)
        return names;
    long length = 0;
    sds_sslength(all, &length);
    for (long i = 0; i < length; ++i) {
        sds_name entity = {0, 0};
        if (sds_ssname(all, i, entity) == RTNORM)
            names.push_back({entity[0], entity[1]});
    }
    sds_ssfree(all);
    return names;
}

std::string HandleOf(const resbuf* list) {
    const resbuf* handle = rblist::Find(list, 5);
    return handle != nullptr ? rblist::Text(handle) : std::string();
}

bool IsPointGroup(int code) {
    return code >= 10 && code <= 17;
}

bool IsTextGroup(int code) {
    return (code >= 0 && code <= 9) || (code >= 100 && code <= 102) || code == 105 ||
           (code >= 300 && code <= 309) || (code >= 320 && code <= 329) ||
           (code >= 390 && code <= 399) || (code >= 410 && code <= 419) ||
           (code >= 1000 && code <= 1009 && code != 1004);
}

// A copy of one node, its point moved by `dy` when it is one; null for binary chunks, which
// the drawings made here do not hold.
resbuf* CopyNode(const resbuf* node, double dy) {
    const int code = node->restype;
    if (code == 1004 || (code >= 310 && code <= 319))
        return nullptr;
    // Group 0 is made as RTDXF0: a restype of 0 ends a list being built.
    resbuf* copy = sds_newrb(code == 0 ? RTDXF0 : code);
    if (copy == nullptr)
        return nullptr;
    if (IsTextGroup(code)) {
        if (!rblist::SetText(copy, rblist::Text(node))) {
            sds_relrb(copy);
            return nullptr;
        }
        return copy;
    }
    copy->resval = node->resval;
    if (IsPointGroup(code))
        copy->resval.rpoint[1] += dy;
    return copy;
}

struct Copier {
    double dy = 0;
    int ordinalShift = 0;
    int numberShift = 0;
    std::map<std::string, std::string> handles;  // template handle -> copy's handle
    std::map<Name, Name> names;                  // template entity -> copy
    sds_name groupDictionary = {0, 0};
    std::vector<Name> madeGroups;  // groups made for the copies, not filed yet

    // The entity's own groups, without name, handle, owner, extension dictionary and
    // reactors, moved by dy.
    resbuf* EntityList(const resbuf* list) const {
        resbuf head;
        head.rbnext = nullptr;
        resbuf* tail = &head;
        int skipping = 0;
        for (const resbuf* node = list; node != nullptr; node = node->rbnext) {
            if (node->restype == 102) {
                const std::string text = rblist::Text(node);
                skipping = text.rfind('{', 0) == 0 ? 1 : 0;
                continue;
            }
            if (skipping != 0 || node->restype == -1 || node->restype == 5 ||
                node->restype == 330 || node->restype == 360) {
                continue;
            }
            resbuf* copy = CopyNode(node, dy);
            if (copy == nullptr)
                continue;
            tail->rbnext = copy;
            tail = copy;
        }
        return head.rbnext;
    }

    // The record's data with handles of the block mapped to the copies, its points moved,
    // and a bar's (or a projection's) ordinal and number moved on to the block's own.
    resbuf* RecordList(const resbuf* list) const {
        resbuf* made = sds_buildlist(RTDXF0, "XRECORD", 100, "AcDbXrecord", RTNONE);
        resbuf* tail = rblist::Last(made);
        const resbuf* data = rblist::Find(list, 100);
        data = data != nullptr ? data->rbnext : nullptr;
        const std::string kind = data != nullptr && data->restype == 1 ? rblist::Text(data) : "";
        const bool numbered = kind == kBarType || kind.rfind("Rzut", 0) == 0;
        int shorts = 0;
        for (const resbuf* node = data; node != nullptr; node = node->rbnext) {
            resbuf* copy = CopyNode(node, dy);
            if (copy == nullptr)
                continue;
            if (node->restype == 1) {
                auto mapped = handles.find(rblist::Text(node));
                if (mapped != handles.end())
                    rblist::SetText(copy, mapped->second);
            } else if (node->restype == 70 && numbered) {
                const int shift = shorts == 0 ? ordinalShift : shorts == 2 ? numberShift : 0;
                copy->resval.rint = static_cast<short>(copy->resval.rint + shift);
                ++shorts;
            }
            tail->rbnext = copy;
            tail = copy;
        }
        return made;
    }
};

// The records filed in the entity's extension dictionary: (entry name, record list).
std::vector<std::pair<std::string, rblist::Owned>> Records(const resbuf* entityList) {
    std::vector<std::pair<std::string, rblist::Owned>> records;
    sds_name dictionary = {0, 0};
    if (!CSDSXData::FindExtensionDictionary(entityList, dictionary))
        return records;
    rblist::Owned listed(sds_entget(dictionary));
    std::string name;
    for (const resbuf* node = listed.get(); node != nullptr; node = node->rbnext) {
        if (node->restype == 3) {
            name = rblist::Text(node);
        } else if ((node->restype == 350 || node->restype == 360) && !name.empty()) {
            records.emplace_back(name, rblist::Owned(sds_entget(node->resval.rlname)));
            name.clear();
        }
    }
    return records;
}

// Members of every group filed in ACAD_GROUP, each group as its members' names.
std::vector<std::vector<Name>> Groups() {
    std::vector<std::vector<Name>> groups;
    sds_name all = {0, 0};
    if (CSDSGroup::AllGroups(all) != RTNORM)
        return groups;
    long length = 0;
    sds_sslength(all, &length);
    for (long i = 0; i < length; ++i) {
        sds_name group = {0, 0};
        sds_ssname(all, i, group);
        rblist::Owned list(sds_entget(group));
        std::vector<Name> members;
        for (const resbuf* node = list.get(); node != nullptr; node = node->rbnext) {
            if (node->restype == 340)
                members.push_back({node->resval.rlname[0], node->resval.rlname[1]});
        }
        groups.push_back(members);
    }
    sds_ssfree(all);
    return groups;
}

bool CopyBlock(const std::vector<Name>& entities, const std::vector<std::vector<Name>>& groups,
               Copier& copier) {
    std::vector<std::pair<Name, Name>> made;
    for (const Name& words : entities) {
        const sds_name entity = {words[0], words[1]};
        rblist::Owned list(sds_entget(entity));
        rblist::Owned own(copier.EntityList(list.get()));
        sds_name copy = {0, 0};
        if (sds_entmake(own.get()) != RTNORM || sds_entlast(copy) != RTNORM)
            return false;
        rblist::Owned copied(sds_entget(copy));
        copier.handles[HandleOf(list.get())] = HandleOf(copied.get());
        copier.names[words] = {copy[0], copy[1]};
        made.push_back({words, {copy[0], copy[1]}});
    }
    CSDSXData xdata;
    for (const auto& [original, copyWords] : made) {
        const sds_name entity = {original[0], original[1]};
        rblist::Owned list(sds_entget(entity));
        const sds_name copy = {copyWords[0], copyWords[1]};
        for (const auto& [entry, record] : Records(list.get())) {
            sds_name dictionary = {0, 0};
            rblist::Owned data(copier.RecordList(record.get()));
            sds_name recordName = {0, 0};
            if (xdata.EnsureExtensionDictionary(copy, dictionary) != RTNORM ||
                sds_entmakex(data.get(), recordName) != RTNORM ||
                sds_dictadd(dictionary, entry.c_str(), recordName) != RTNORM) {
                return false;
            }
        }
    }
    for (const std::vector<Name>& members : groups) {
        rblist::Owned list(sds_buildlist(RTDXF0, "GROUP", 102, "{ACAD_REACTORS", 330,
                                         copier.groupDictionary, 102, "}", 300, "", 70, 1, 71, 1,
                                         RTNONE));
        resbuf* tail = rblist::Last(list.get());
        for (const Name& member : members) {
            auto found = copier.names.find(member);
            if (found == copier.names.end())
                continue;
            tail = rblist::Append(tail, 340);
            if (tail == nullptr)
                return false;
            rblist::CopyName(found->second.data(), tail->resval.rlname);
        }
        sds_name made = {0, 0};
        if (sds_entmakex(list.get(), made) != RTNORM)
            return false;
        copier.madeGroups.push_back({made[0], made[1]});
    }
    return true;
}

// Files the groups made in the group dictionary under the free names "*A<n>", as the
// module does, in one change of the dictionary: filing them one by one would copy the whole
// dictionary for each.
bool FileGroups(const sds_name groupDictionary, const std::vector<Name>& made) {
    rblist::Owned list(sds_entget(groupDictionary));
    if (list == nullptr)
        return false;
    std::set<std::string> taken;
    for (const resbuf* node = rblist::Find(list.get(), 3); node != nullptr;
         node = rblist::Find(node->rbnext, 3)) {
        taken.insert(rblist::Text(node));
    }
    resbuf* tail = rblist::Last(list.get());
    int n = 0;
    for (const Name& group : made) {
        std::string name;
        do {
            name = "*A" + std::to_string(n++);
        } while (taken.contains(name));
        resbuf* entry = sds_buildlist(3, name.c_str(), 350, group.data(), RTNONE);
        if (entry == nullptr)
            return false;
        tail->rbnext = entry;
        tail = rblist::Last(entry);
    }
    return sds_entmod(list.get()) == RTNORM;
}

// The group dictionary of the drawing.
bool GroupDictionary(sds_name dictionary) {
    sds_name named = {0, 0};
    if (sds_namedobjdict(named) != RTNORM)
        return false;
    rblist::Owned entry(sds_dictsearch(named, "ACAD_GROUP", 0));
    const resbuf* self = rblist::Find(entry.get(), -1);
    if (self == nullptr)
        return false;
    rblist::CopyName(self->resval.rlname, dictionary);
    return true;
}

}  // namespace

const std::vector<std::string>& BlockScript() {
    // One answer a line, as in a script file; empty lines are Enter.
    static const std::vector<std::string> lines = [] {
        const std::string text =
            R"(# Six bars: straight 16, an L of 12 with a rounded corner, a smooth 10 with hooks,
# a U of 8, a straight 20 and a closed smooth stirrup of 6 with hooks.
)" + std::string(drawing_generator::kSixBars) +
            R"(# Their dimension texts, descriptions beside them and on leaders.
EDPR
Teksty_wymiarów(wstaw/usuń)
150,0
Opis
Pręta(włącz/wyłącz)
50,0
^C
Teksty_wymiarów(wstaw/usuń)
60,40
Opis
Na_odnośniku
100,40
100,40
120,120
180,120
^C
Teksty_wymiarów(wstaw/usuń)
60,60
Opis
Pręta(włącz/wyłącz)
230,60
^C
Teksty_wymiarów(wstaw/usuń)
0,92
Opis
Pręta(włącz/wyłącz)
100,85
^C
Teksty_wymiarów(wstaw/usuń)
200,130
Opis
Na_odnośniku
250,130
250,130
270,150
320,150
^C
Opis
Pręta(włącz/wyłącz)
60,130
^C
Teksty_wymiarów(wstaw/usuń)
340,0
Opis
Pręta(włącz/wyłącz)
360,30
^C
Opis
Na_odnośniku
60,60
60,60
450,190
500,190
^C
Opis
Na_odnośniku
40,85
40,85
450,230
500,230
^C
Opis
Na_odnośniku
360,80
360,80
450,270
500,270
^C
# Two drawn-out copies, a copy keeping its number and one with a new number.
Wyrzuć
250,0
0,0
0,-60
Wyrzuć
300,95
0,0
0,-120
Kopiuj
Wstaw_kopię
100,60
0,0
0,140
^C
Kopiuj
Nowy_nr_pręta
200,40
0,0
400,0
^C
^C
# Sections of four and eight discs described on leaders, and a projection of the U bar.
WPP
0,170
300,170
0
0
Ilość
EPP
Rysuj_opis

1
0,170
-30,200
-60,200
^C
PANEL count 8
WPP
0,220
300,220
0
0
Ilość
EPP
Rysuj_opis

2
0,220
-30,250
-60,250
^C
WRP
Poziomy
300,95
0,-150
0,-150
Nie
^C
^C
)";
        std::vector<std::string> split;
        size_t start = 0;
        for (size_t end = text.find('\n'); end != std::string::npos;
             start = end + 1, end = text.find('\n', start)) {
            split.push_back(text.substr(start, end - start));
        }
        return split;
    }();
    return lines;
}

Generated Generate(int bars, bool& ok) {
    Generated result;
    result.blockStep = kBlockStep;
    testkit::ScenarioOptions options;
    options.entry = SDS_EntryPoint;
    options.files = false;
    result.transcript = testkit::RunScenario(BlockScript(), options);
    ok = testkit::LastScenarioStatus() == 0;
    const std::vector<Name> block = LiveEntities();
    CSDSXDataPret xdata;
    std::vector<Name> blockBars;
    int numbers = 0;
    for (const Name& words : block) {
        const sds_name entity = {words[0], words[1]};
        CRodXDataParameters record;
        xdata.ReadRodRecord(entity, kKey, record);
        if (record.type == kBarType) {
            blockBars.push_back(words);
            numbers = std::max(numbers, record.number);
        }
    }
    if (!ok || static_cast<int>(blockBars.size()) != kBarsPerBlock) {
        ok = false;
        return result;
    }
    const std::vector<std::vector<Name>> groups = Groups();
    const int blocks = (std::max(bars, 1) + kBarsPerBlock - 1) / kBarsPerBlock;
    result.barNames = blockBars;
    sds_name groupDictionary = {0, 0};
    ok = GroupDictionary(groupDictionary);
    std::vector<Name> madeGroups;
    // Nobody undoes the building: the copies are not recorded for undo, which would keep a
    // copy of every object made and free them all at the end.
    host::Database& drawing = host::CurrentDrawing();
    host::ChangeRecorder* const journal = drawing.Recorder();
    drawing.SetRecorder(nullptr);
    for (int b = 1; b < blocks && ok; ++b) {
        Copier copier;
        rblist::CopyName(groupDictionary, copier.groupDictionary);
        copier.dy = b * kBlockStep;
        copier.ordinalShift = b * kBarsPerBlock;
        copier.numberShift = b * numbers;
        ok = CopyBlock(block, groups, copier);
        madeGroups.insert(madeGroups.end(), copier.madeGroups.begin(), copier.madeGroups.end());
        for (const Name& bar : blockBars)
            result.barNames.push_back(copier.names[bar]);
    }
    ok = ok && FileGroups(groupDictionary, madeGroups);
    drawing.SetRecorder(journal);
    host::GetSession().journal.Clear();
    result.bars = blocks * kBarsPerBlock;
    result.numbers = blocks * numbers;
    result.entities = static_cast<long>(LiveEntities().size());
    return result;
}

}  // namespace drawing_generator
