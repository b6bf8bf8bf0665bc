// The DXF reader: the section walk over a file's tokens and the conversion of each record
// into a group list that the database validates, then the links that only the whole file
// gives (extension dictionaries, owners, blocks, references to objects that never came).
#include "host/files/dxf_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <span>
#include <vector>

#include "host/drawing/object_rules.h"
#include "host/files/dxf_angles.h"
#include "host/files/dxf_repair.h"
#include "host/files/dxf_tag_stream.h"
#include "host/files/dxf_text.h"
#include "host/files/dxf_tokens.h"

namespace host {
namespace {

using dxf::FileHandle;
using dxf::Tag;

using dxf::Trim;

// The handle a group names, as read beside the reader or read here.
std::optional<Handle> HandleOf(const Tag& tag) {
    if (tag.read == Tag::Read::Handle)
        return Handle{static_cast<uint64_t>(tag.integer)};
    if (tag.read == Tag::Read::NoHandle)
        return std::nullopt;
    return FileHandle(tag.value);
}

bool IsKnownTable(std::string_view name) {
    static const char* const kTables[] = {"VPORT", "LTYPE", "LAYER",    "STYLE",       "VIEW",
                                          "UCS",   "APPID", "DIMSTYLE", "BLOCK_RECORD"};
    for (const char* table : kTables) {
        if (name == table)
            return true;
    }
    return false;
}

// A value that reads the same in every code page and holds no escape. Asked of every text
// of a file: eight bytes are looked at at once.
bool PlainAscii(std::string_view text) {
    constexpr uint64_t kHighs = 0x8080808080808080ULL;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & kHighs) != 0 || dxf::BytesEqualTo(word, '\\') != 0)
            return false;
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80 || text[i] == '\\')
            return false;
    }
    return true;
}

// Entities that belong to the entity before them (an INSERT's attributes, a POLYLINE's
// vertices, and the end marker of both).
bool IsFollower(std::string_view type) {
    return type == "VERTEX" || type == "SEQEND" || type == "ATTRIB";
}

// How the units of $INSUNITS are called in messages.
std::string UnitName(int units) {
    switch (units) {
        case 0:
            return "bez jednostek";
        case 1:
            return "cale";
        case 2:
            return "stopy";
        case 4:
            return "milimetry";
        case 6:
            return "metry";
        case 14:
            return "decymetry";
        default:
            return "kod " + std::to_string(units);
    }
}

enum class BlockKind { None, Model, Paper, Other };

std::vector<Tag> Copy(std::span<const Tag> tags) {
    return {tags.begin(), tags.end()};
}

// A record whose handle another record of the file had already: made once the whole file is
// read, with a new handle.
struct Deferred {
    std::string type;
    std::vector<Tag> tags;
    std::optional<Category> category;
    ObjectId ownerIfNone;
    bool follower = false;
    ObjectId parent;  // a follower's parent when it was made already
};

class Reader {
  public:
    template <typename Source>
    Reader(Source& source, Database& db, DxfReadResult& result)
        : tokens_(source), db_(db), result_(result) {}

    bool Run();
    bool ReadFailed() { return tokens_.ReadFailed(); }

  private:
    bool Fail(size_t line, std::string what) {
        if (result_.error.empty()) {
            result_.error = std::move(what);
            result_.line = line;
        }
        return false;
    }
    bool TokenFailure(const char* where) {
        if (!tokens_.Error().empty())
            return Fail(tokens_.ErrorLine(), tokens_.Error());
        return Fail(tokens_.Line(), std::string("plik urywa się ") + where);
    }
    bool ReadHeader();
    bool ReadRaw(const std::string& section, std::vector<std::pair<int, std::string>>& out,
                 bool decode);
    bool ReadRecords(const std::string& section);
    bool ReadRecord(const Tag& start);
    // Keeps of the record only the pairs `keep` accepts.
    void KeepOnly(bool (*keep)(const Tag&));
    void ReadTableRecord(const std::string& type);
    void ReadBlockMarker(const std::string& type);
    bool BuildList(std::string_view type, Handle& own, Handle& xdict, ObjectId ownerIfNone,
                   ObjectId parent);
    bool ParseNumber(const Tag& tag, double& value);
    bool ParseInt(const Tag& tag, long long& value);
    ObjectId Keep(const std::string& type, std::optional<Category> category,
                  ObjectId ownerIfNone = {}, ObjectId parent = {}, bool deferred = false);
    void Skip(const std::string& type) { ++result_.skipped[type]; }
    void Finish();
    void AttachBlocksWithoutRecords();
    void MakeMissingLayers();

    dxf::TagStream tokens_;
    Database& db_;
    DxfReadResult& result_;
    CodePage page_ = CodePage::Ansi1252;
    Handle handSeed_;
    // The record being read: in the block of pairs it was cut into, or in ownRecord_.
    std::span<const Tag> record_;
    std::vector<Tag> ownRecord_;
    GroupList list_;
    std::vector<std::pair<ObjectId, Handle>> xdicts_;
    std::vector<Handle> reserved_;
    std::string currentTable_;
    BlockKind block_ = BlockKind::None;
    ObjectId blockRecord_;
    // A block without a record (files before R13): its name, BLOCK, ENDBLK and entities.
    struct Orphan {
        std::string name;
        std::vector<ObjectId> members;
    };
    std::vector<Orphan> orphans_;
    // The entity that the followers read next belong to; none after its SEQEND.
    ObjectId parent_;
    bool parentDropped_ = false;
    bool parentDeferred_ = false;
    bool nonFinite_ = false;
    std::vector<std::string> nonFiniteDropped_;
    std::vector<Deferred> deferred_;
    std::vector<std::string> renamed_;
    std::map<int, int> unknownCodes_;
    std::pair<Handle, ObjectId> lastReference_;
};

bool Reader::ParseNumber(const Tag& tag, double& value) {
    if (tag.read == Tag::Read::Number) {
        value = tag.number;
        return true;
    }
    const std::string_view text = dxf::NumberText(tag.value);
    if (dxf::ParseShortDecimal(text, value))
        return true;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size() ||
        (ec != std::errc() && ec != std::errc::result_out_of_range)) {
        return Fail(tag.line + 1, "zła liczba w grupie " + std::to_string(tag.code));
    }
    // nan, inf or beyond a double: the record is kept out of the drawing, the file is read.
    if (ec == std::errc::result_out_of_range || !std::isfinite(value)) {
        nonFinite_ = true;
        value = 0;
    }
    return true;
}

bool Reader::ParseInt(const Tag& tag, long long& value) {
    if (tag.read == Tag::Read::Integer) {
        value = tag.integer;
        return true;
    }
    const std::string_view text = dxf::NumberText(tag.value);
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        // Some programs write whole-number groups as reals ("1.0").
        double real = 0;
        auto [rend, rec] = std::from_chars(text.data(), text.data() + text.size(), real);
        if (text.empty() || rec != std::errc() || rend != text.data() + text.size() ||
            real != std::floor(real) || std::fabs(real) > 4294967295.0) {
            return Fail(tag.line + 1, "zła liczba całkowita w grupie " + std::to_string(tag.code));
        }
        value = static_cast<long long>(real);
    }
    return true;
}

bool Reader::Run() {
    Tag tag;
    bool anySection = false;
    for (;;) {
        if (!tokens_.Next(tag)) {
            if (!tokens_.Error().empty())
                return TokenFailure("");
            if (!anySection)
                return Fail(tokens_.Line(), "to nie jest plik DXF (brak sekcji)");
            return Fail(tokens_.Line(), "plik urywa się przed końcem (brak \"0 EOF\")");
        }
        if (tag.code == 999)
            continue;
        std::string_view value = Trim(tag.value);
        if (tag.code == 0 && value == "EOF")
            break;
        if (tag.code != 0 || value != "SECTION") {
            return Fail(tag.line, anySection ? "oczekiwano \"0 SECTION\" lub \"0 EOF\""
                                             : "to nie jest plik DXF (brak \"0 SECTION\")");
        }
        anySection = true;
        Tag name;
        if (!tokens_.Next(name))
            return TokenFailure("w nagłówku sekcji");
        if (name.code != 2)
            return Fail(name.line, "sekcja bez nazwy (grupa 2)");
        std::string section(Trim(name.value));
        bool ok;
        if (section == "HEADER") {
            ok = ReadHeader();
        } else if (section == "CLASSES") {
            ok = ReadRaw(section, db_.fileSections.classes, true);
        } else if (section == "TABLES" || section == "BLOCKS" || section == "ENTITIES" ||
                   section == "OBJECTS") {
            ok = ReadRecords(section);
        } else {
            // A section the host does not read (a thumbnail, data of 3D solids) goes back
            // into the file as it came.
            auto& extra = db_.fileSections.extraSections;
            extra.emplace_back(0, "SECTION");
            extra.emplace_back(2, section);
            ok = ReadRaw(section, extra, false);
            extra.emplace_back(0, "ENDSEC");
        }
        if (!ok)
            return false;
    }
    Finish();
    return true;
}

bool Reader::ReadHeader() {
    Tag tag;
    // Values are decoded once the code page is known, which the header itself gives.
    std::vector<Tag> kept;
    std::string variable;
    bool skipVariable = false;
    size_t variableStart = 0;
    for (;;) {
        if (!tokens_.Next(tag))
            return TokenFailure("w sekcji HEADER");
        if (tag.code == 0) {
            if (Trim(tag.value) == "ENDSEC")
                break;
            return Fail(tag.line,
                        "nieoczekiwane \"" + std::string(Trim(tag.value)) + "\" w sekcji HEADER");
        }
        if (tag.code == 999)
            continue;
        if (tag.code == 9) {
            variable = std::string(Trim(tag.value));
            // The writer gives its own release and code page.
            skipVariable = variable == "$ACADVER" || variable == "$DWGCODEPAGE";
            variableStart = kept.size();
            if (!skipVariable)
                kept.push_back(tag);
            continue;
        }
        std::string_view value = Trim(tag.value);
        if (variable == "$ACADVER" && tag.code == 1)
            result_.version = std::string(value);
        if (variable == "$DWGCODEPAGE" && tag.code == 3)
            page_ = CodePageFromName(value);
        if (variable == "$HANDSEED" && tag.code == 5) {
            handSeed_ = FileHandle(value).value_or(Handle{});
        }
        if (variable == "$INSUNITS" && tag.code == 70) {
            long long units = 0;
            if (ParseInt(tag, units) && units != 5) {
                result_.warnings.push_back(
                    "Uwaga: rysunek jest w jednostkach innych niż centymetry ($INSUNITS = " +
                    std::to_string(units) + ", " + UnitName(static_cast<int>(units)) +
                    "); moduł mierzy w centymetrach, więc pręty, haki i zestawienie byłyby "
                    "w innych jednostkach błędne.");
            }
            result_.error.clear();
        }
        if (skipVariable)
            continue;
        const ValueKind kind = KindOfGroup(tag.code);
        if (kind == ValueKind::Real || kind == ValueKind::Point) {
            double number = 0;
            nonFinite_ = false;
            if (!ParseNumber(tag, number) || nonFinite_) {
                // Not written back: a value that is no finite number would break the file.
                result_.error.clear();
                nonFinite_ = false;
                result_.warnings.push_back("Pominięto zmienną nagłówka " + variable +
                                           ": wartość nie jest liczbą skończoną.");
                kept.resize(variableStart);
                skipVariable = true;
                continue;
            }
            if (variable == "$LTSCALE" && tag.code == 40)
                db_.SetLinetypeScale(number);  // refused unless above zero: the default stays
        }
        kept.push_back(tag);
    }
    // From AutoCAD 2007 (AC1021) on, a DXF file is UTF-8 whatever its code page says.
    if (result_.version >= "AC1021")
        page_ = CodePage::Utf8;
    auto& header = db_.fileSections.header;
    header.reserve(kept.size());
    for (const Tag& t : kept) {
        const ValueKind kind = KindOfGroup(t.code);
        if (t.code == 9 || kind != ValueKind::Text)
            header.emplace_back(t.code, std::string(Trim(t.value)));
        else
            header.emplace_back(t.code, DecodeDxfText(t.value, page_));
    }
    if (handSeed_)
        db_.SetHandleSeed(handSeed_);
    return true;
}

bool Reader::ReadRaw(const std::string& section, std::vector<std::pair<int, std::string>>& out,
                     bool decode) {
    Tag tag;
    for (;;) {
        if (!tokens_.Next(tag))
            return TokenFailure(("w sekcji " + section).c_str());
        if (tag.code == 0 && Trim(tag.value) == "ENDSEC")
            return true;
        if (tag.code == 0 && Trim(tag.value) == "EOF") {
            return Fail(tag.line, "\"0 EOF\" przed końcem sekcji");
        }
        if (tag.code == 999)
            continue;
        if (decode && KindOfGroup(tag.code) == ValueKind::Text && tag.code != 0)
            out.emplace_back(tag.code, DecodeDxfText(tag.value, page_));
        else
            out.emplace_back(tag.code, std::string(decode ? Trim(tag.value) : tag.value));
    }
}

bool Reader::ReadRecord(const Tag& start) {
    if (tokens_.TakeRecord(record_))
        return true;
    ownRecord_.clear();
    for (;;) {
        const Tag* tag = tokens_.PeekRef();
        if (!tag)
            return TokenFailure(("w obiekcie " + std::string(Trim(start.value))).c_str());
        if (tag->code == 0) {
            record_ = ownRecord_;
            return true;
        }
        if (tag->code != 999)
            ownRecord_.push_back(*tag);
        tokens_.Skip();
    }
}

void Reader::KeepOnly(bool (*keep)(const Tag&)) {
    std::vector<Tag> kept;
    std::copy_if(record_.begin(), record_.end(), std::back_inserter(kept), keep);
    ownRecord_ = std::move(kept);
    record_ = ownRecord_;
}

void Reader::ReadTableRecord(const std::string& type) {
    if (type == "TABLE") {
        currentTable_.clear();
        for (const Tag& tag : record_) {
            if (tag.code == 2)
                currentTable_ = UpperAscii(Trim(tag.value));
        }
        if (IsKnownTable(currentTable_) && !db_.Table(currentTable_)) {
            // The header's count and subclass are the writer's to give again.
            KeepOnly([](const Tag& tag) { return tag.code == 2 || tag.code == 5; });
            Keep(type, std::nullopt);
        } else if (!IsKnownTable(currentTable_)) {
            Skip("TABLE " + currentTable_);
        }
    } else if (type == "ENDTAB") {
        currentTable_.clear();
    } else if (IsKnownTable(type) && type == currentTable_) {
        Keep(type, std::nullopt);
    } else {
        Skip(type);
    }
}

void Reader::ReadBlockMarker(const std::string& type) {
    if (type == "BLOCK") {
        block_ = BlockKind::Other;
        std::string name;
        for (const Tag& tag : record_) {
            if (tag.code == 2 && name.empty())
                name = std::string(Trim(tag.value));
        }
        const std::string upper = UpperAscii(name);
        if (upper == "*MODEL_SPACE")
            block_ = BlockKind::Model;
        if (upper == "*PAPER_SPACE")
            block_ = BlockKind::Paper;
        blockRecord_ =
            db_.FindTableEntry("BLOCK_RECORD", block_ == BlockKind::Other   ? std::string_view(name)
                                               : block_ == BlockKind::Paper ? "*Paper_Space"
                                                                            : "*Model_Space");
        if (block_ == BlockKind::Other && !blockRecord_)
            orphans_.push_back(Orphan{name, {}});
    }
    ObjectId id;
    if (block_ == BlockKind::Model || block_ == BlockKind::Paper) {
        // The writer gives a space's block its contents again from its record.
        KeepOnly([](const Tag& tag) { return tag.code == 5 || tag.code == 330; });
        id = Keep(type, Category::Object, blockRecord_);
    } else if (block_ == BlockKind::Other) {
        id = Keep(type, Category::Object, blockRecord_);
        if (!blockRecord_ && id)
            orphans_.back().members.push_back(id);
    } else {
        Skip(type);  // an ENDBLK without its BLOCK
    }
    if (type == "ENDBLK") {
        block_ = BlockKind::None;
        blockRecord_ = {};
    }
}

bool Reader::ReadRecords(const std::string& section) {
    const bool tables = section == "TABLES";
    const bool blocks = section == "BLOCKS";
    const bool entitySection = blocks || section == "ENTITIES";
    Tag start;
    currentTable_.clear();
    block_ = BlockKind::None;
    blockRecord_ = {};
    parent_ = {};
    for (;;) {
        if (!tokens_.Next(start))
            return TokenFailure(("w sekcji " + section).c_str());
        if (start.code != 0) {
            return Fail(start.line, "oczekiwano początku obiektu (kod 0), a jest kod " +
                                        std::to_string(start.code));
        }
        std::string type = UpperAscii(Trim(start.value));
        if (type == "ENDSEC")
            return true;
        if (type == "EOF" || type == "SECTION") {
            return Fail(start.line, "\"" + type + "\" przed końcem sekcji " + section);
        }
        if (type.empty())
            return Fail(start.line, "obiekt bez typu");
        if (!ReadRecord(start))
            return false;
        if (tables) {
            ReadTableRecord(type);
        } else if (blocks && (type == "BLOCK" || type == "ENDBLK")) {
            parent_ = {};
            ReadBlockMarker(type);
        } else {
            const TypeRule* rule = FindTypeRule(type);
            const Category category = entitySection ? Category::Entity : Category::Object;
            const bool fits = rule ? rule->category == category
                                   : !(IsKnownTable(type) || type == "TABLE" || type == "ENDTAB" ||
                                       type == "BLOCK" || type == "ENDBLK");
            if (!fits) {
                Skip(type);
            } else if (!entitySection) {
                Keep(type, Category::Object);
            } else {
                // In a block other than the spaces the block's record owns the entity; in a
                // space the file says, or Finish decides.
                const ObjectId owner = blockRecord_;
                if (IsFollower(type)) {
                    if (parentDropped_) {
                        Skip(type);
                    } else if (parentDeferred_) {
                        deferred_.push_back(
                            Deferred{type, Copy(record_), Category::Entity, owner, true, {}});
                    } else {
                        ObjectId id = Keep(type, Category::Entity, owner, parent_);
                        if (id && !blockRecord_ && block_ == BlockKind::Other)
                            orphans_.back().members.push_back(id);
                    }
                    if (type == "SEQEND") {
                        parent_ = {};
                        parentDropped_ = parentDeferred_ = false;
                    }
                } else {
                    const size_t deferredBefore = deferred_.size();
                    parent_ = Keep(type, Category::Entity, owner);
                    parentDeferred_ = deferred_.size() != deferredBefore;
                    parentDropped_ = !parent_ && !parentDeferred_;
                    if (parent_ && !blockRecord_ && block_ == BlockKind::Other)
                        orphans_.back().members.push_back(parent_);
                }
            }
        }
        if (!result_.error.empty())
            return false;
    }
}

bool Reader::BuildList(std::string_view type, Handle& own, Handle& xdict, ObjectId ownerIfNone,
                       ObjectId parent) {
    list_.Clear();
    list_.AddText(0, type);
    // The owner is the first 330 outside the brackets; a follower's owner is its parent
    // unless the file names another entity.
    size_t ownerAt = record_.size();
    {
        bool inBracket = false;
        for (size_t i = 0; i < record_.size(); ++i) {
            const Tag& tag = record_[i];
            if (tag.code == 102)
                inBracket = Trim(tag.value) != "}";
            else if (tag.code == 330 && !inBracket) {
                ownerAt = i;
                break;
            }
        }
    }
    if (ownerAt == record_.size() && (parent || ownerIfNone))
        list_.AddId(330, parent ? parent : ownerIfNone);
    const bool flatPoints = FindTypeRule(type) == nullptr;
    const bool dictionary = type == "DICTIONARY" || type == "ACDBDICTIONARYWDFLT";
    bool inReactors = false;
    int reactors = 0;
    for (size_t i = 0; i < record_.size(); ++i) {
        const Tag& tag = record_[i];
        const int code = tag.code;
        if (code == 5 || code == 105) {
            own = HandleOf(tag).value_or(Handle{});
            continue;
        }
        if (code == 102) {
            std::string_view text = Trim(tag.value);
            if (text == "{ACAD_XDICTIONARY") {
                // The extension dictionary is linked once the whole file is read.
                while (i + 1 < record_.size()) {
                    const Tag& inner = record_[++i];
                    if (inner.code == 102)
                        break;
                    if (inner.code == 360)
                        xdict = HandleOf(inner).value_or(Handle{});
                }
                continue;
            }
            inReactors = text == "{ACAD_REACTORS";
            list_.AddText(102, text);
            continue;
        }
        if (code < 0)
            continue;
        // The default cloning flag of a record: the writer gives it back.
        if (code == 280 && type == "XRECORD" && i > 0 && record_[i - 1].code == 100 &&
            Trim(tag.value) == "1") {
            continue;
        }
        if (dictionary && code == 3 && i + 1 < record_.size() &&
            (record_[i + 1].code == 350 || record_[i + 1].code == 360) &&
            !HandleOf(record_[i + 1])) {
            ++i;  // an entry that names no object
            continue;
        }
        switch (KindOfGroup(code)) {
            case ValueKind::Invalid:
                ++unknownCodes_[code];
                break;
            case ValueKind::Text:
                if (PlainAscii(tag.value))
                    list_.AddText(code, tag.value);
                else
                    list_.AddText(code, DecodeDxfText(tag.value, page_));
                break;
            case ValueKind::Handle:
            case ValueKind::Binary:
                list_.AddText(code, Trim(tag.value));
                break;
            case ValueKind::Point: {
                double point[3] = {0, 0, 0};
                if (!ParseNumber(tag, point[0]))
                    return false;
                int axes = 1;
                for (int axis = 1; axis < 3 && i + 1 < record_.size(); ++axis) {
                    if (record_[i + 1].code != code + 10 * axis)
                        break;
                    if (!ParseNumber(record_[++i], point[axis]))
                        return false;
                    ++axes;
                }
                if (flatPoints && axes < 3)
                    list_.AddFlatPoint(code, point[0], point[1]);
                else
                    list_.AddPoint(code, point);
                break;
            }
            case ValueKind::Real: {
                double value = 0;
                if (!ParseNumber(tag, value))
                    return false;
                list_.AddReal(code, DegreesInFile(type, code) ? RadiansFromFile(value) : value);
                break;
            }
            case ValueKind::Int16:
            case ValueKind::Int32: {
                long long value = 0;
                if (!ParseInt(tag, value))
                    return false;
                const bool narrow = KindOfGroup(code) == ValueKind::Int16;
                const long long low = narrow ? -32768 : -2147483648LL;
                const long long high = narrow ? 65535 : 4294967295LL;
                if (value < low || value > high) {
                    return Fail(tag.line + 1,
                                "liczba poza zakresem w grupie " + std::to_string(code));
                }
                // Unsigned values of other writers keep their bits.
                list_.AddInt(code, narrow ? static_cast<int16_t>(static_cast<uint16_t>(value))
                                          : static_cast<int32_t>(static_cast<uint32_t>(value)));
                break;
            }
            case ValueKind::EntityName: {
                std::optional<Handle> target = HandleOf(tag);
                if (!target) {
                    // "0": no object; kept where it is not a reactor.
                    if (!inReactors)
                        list_.AddId(code, ObjectId{});
                    break;
                }
                if (i == ownerAt && parent) {
                    const Object* named = db_.Find(db_.FindHandle(*target));
                    if (!named || named->category != Category::Entity) {
                        list_.AddId(code, parent);
                        break;
                    }
                }
                // Without reactors and an owner a list's first 330 would be taken for them.
                if (code == 330 && reactors > 200)
                    break;
                // Most references of a file name the same few owners one after another.
                if (*target != lastReference_.first) {
                    lastReference_ = {*target, db_.ReserveHandle(*target)};
                }
                ObjectId id = lastReference_.second;
                if (!db_.Find(id))
                    reserved_.push_back(*target);
                list_.AddId(code, id);
                if (code == 330)
                    ++reactors;
                break;
            }
        }
    }
    return true;
}

ObjectId Reader::Keep(const std::string& type, std::optional<Category> category,
                      ObjectId ownerIfNone, ObjectId parent, bool deferred) {
    Handle own;
    Handle xdict;
    nonFinite_ = false;
    if (!BuildList(type, own, xdict, ownerIfNone, parent))
        return {};
    if (nonFinite_) {
        nonFiniteDropped_.push_back(type + (own ? " #" + own.ToText() : std::string()));
        return {};
    }
    MakeOptions options;
    options.structural = true;
    options.category = category;
    options.makeLayer = false;
    if (own && db_.Find(db_.FindHandle(own))) {
        if (!deferred) {
            deferred_.push_back(
                Deferred{type, Copy(record_), category, ownerIfNone, parent.value != 0, parent});
            return {};
        }
    } else if (own) {
        options.handle = own;
    }
    std::string reason;
    ObjectId id = db_.Make(list_, options, &reason);
    if (!id) {
        ++result_.refused;
        return {};
    }
    if (deferred)
        renamed_.push_back(type + " #" + own.ToText() + " → #" + db_.Find(id)->handle.ToText());
    ++result_.objectsRead;
    if (xdict)
        xdicts_.emplace_back(id, xdict);
    return id;
}

// A layer that entities name and the file's table lacks, made as the drawing makes one.
void Reader::MakeMissingLayers() {
    std::vector<bool> seen;
    for (ObjectId id : db_.EntityOrder()) {
        const Object* object = db_.Find(id);
        if (!object)
            continue;
        if (object->layer >= seen.size())
            seen.resize(object->layer + 1);
        if (seen[object->layer])
            continue;
        seen[object->layer] = true;
        const std::string_view name = db_.LayerName(*object);
        if (db_.FindTableEntry("LAYER", name))
            continue;
        GroupList list;
        list.AddText(0, "LAYER");
        list.AddText(2, name);
        list.AddInt(70, 0);
        list.AddInt(62, 7);
        list.AddText(6, "CONTINUOUS");
        db_.Make(list);
    }
}

// Blocks of files before R13 have no records: each gets one, owning its BLOCK, ENDBLK and
// entities.
void Reader::AttachBlocksWithoutRecords() {
    for (const Orphan& orphan : orphans_) {
        ObjectId record = db_.FindTableEntry("BLOCK_RECORD", orphan.name);
        if (!record) {
            GroupList list;
            list.AddText(0, "BLOCK_RECORD");
            list.AddText(2, orphan.name);
            list.AddInt(70, 0);
            MakeOptions options;
            options.structural = true;
            record = db_.Make(list, options);
        }
        if (!record)
            continue;
        for (ObjectId member : orphan.members) {
            const Object* object = db_.Find(member);
            if (!object || object->owner)
                continue;
            Object owned = *object;
            owned.owner = record;
            db_.Restore(member, owned);
        }
    }
}

void Reader::Finish() {
    ObjectId parent;
    for (const Deferred& item : deferred_) {
        record_ = item.tags;
        if (item.follower) {
            if (item.parent || parent)
                Keep(item.type, item.category, item.ownerIfNone, item.parent ? item.parent : parent,
                     true);
        } else {
            parent = Keep(item.type, item.category, item.ownerIfNone, {}, true);
        }
    }
    db_.EnsureStandardContents();
    MakeMissingLayers();
    AttachBlocksWithoutRecords();
    MendLinks(db_, xdicts_, reserved_, result_.warnings);
    // An entity owned by nothing that could hold it stands in its space.
    const ObjectId paper = db_.PaperSpace();
    for (ObjectId id : db_.EntityOrder()) {
        const Object* object = db_.Find(id);
        if (!object)
            continue;
        if (object->owner) {
            const Object* owner = db_.Find(object->owner);
            if (owner &&
                (owner->category == Category::Entity || db_.TypeName(*owner) == "BLOCK_RECORD")) {
                continue;
            }
        }
        Object owned = *object;
        owned.owner = object->space == 1 && paper ? paper : db_.ModelSpace();
        db_.Restore(id, owned);
    }
    if (handSeed_ > db_.HandleSeed())
        db_.SetHandleSeed(handSeed_);
    auto list = [](const std::vector<std::string>& items) {
        std::string out;
        for (const std::string& item : items)
            out += (out.empty() ? "" : ", ") + item;
        return out;
    };
    if (!nonFiniteDropped_.empty()) {
        result_.warnings.push_back(
            "Pominięto obiekty z liczbą, która nie jest skończona (nan, inf): " +
            list(nonFiniteDropped_) + ".");
    }
    if (!renamed_.empty()) {
        result_.warnings.push_back("Powtórzone uchwyty zastąpiono nowymi: " + list(renamed_) + ".");
    }
    if (!unknownCodes_.empty()) {
        std::vector<std::string> codes;
        for (const auto& [code, count] : unknownCodes_)
            codes.push_back(std::to_string(code) + " (" + std::to_string(count) + ")");
        result_.warnings.push_back("Pominięto grupy o nieznanych kodach: " + list(codes) + ".");
    }
}

}  // namespace

int DxfReadResult::SkippedCount() const {
    int count = 0;
    for (const auto& [type, n] : skipped)
        count += n;
    return count;
}

std::string DxfReadResult::SkippedSummary() const {
    std::string out;
    for (const auto& [type, n] : skipped) {
        if (!out.empty())
            out += ", ";
        out += type + " " + std::to_string(n);
    }
    return out;
}

namespace {

// `first`: the bytes read so far; `size`: the file's.
template <typename Source>
DxfReadResult ReadFrom(Source& source, std::string_view first, size_t size, Database& drawing) {
    DxfReadResult result;
    if (first.substr(0, 18) == "AutoCAD Binary DXF") {
        result.error = "binarny DXF nie jest obsługiwany; zapisz rysunek jako DXF tekstowy";
        result.line = 1;
        return result;
    }
    // Objects of a file take about a hundred bytes or more each.
    drawing.ReserveSlots(std::min<size_t>(size / 100, size_t{1} << 24));
    // Every object is read first; the drawing's search indexes are then built once.
    drawing.BeginLoading();
    Reader reader(source, drawing, result);
    result.ok = reader.Run();
    result.readFailed = reader.ReadFailed();
    result.ok = result.ok && !result.readFailed;
    drawing.EndLoading();
    return result;
}

}  // namespace

DxfReadResult ReadDxf(std::string_view bytes, Database& drawing) {
    return ReadFrom(bytes, bytes, bytes.size(), drawing);
}

DxfReadResult ReadDxf(FileBytes& file, Database& drawing) {
    return ReadFrom(file, file.View(), file.ExpectedSize(), drawing);
}

}  // namespace host
