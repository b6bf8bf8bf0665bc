// The DXF reader: a line tokenizer, the section walk and the conversion of each record into
// a group list that the database validates, then the links that only the whole file gives
// (extension dictionaries, owners, references to objects that were skipped).
#include "host/dxf_reader.h"

#include <charconv>
#include <cmath>
#include <unordered_set>
#include <vector>

#include "host/dxf_text.h"
#include "host/object_rules.h"

namespace host {
namespace {

struct Tag {
    int code = 0;
    std::string_view value;
    size_t line = 0;  // line of the group code, from 1
};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Cuts the file into (code, value) pairs line by line; nothing is copied.
class Tokens {
  public:
    explicit Tokens(std::string_view data) : data_(data) {
        if (data_.substr(0, 3) == "\xEF\xBB\xBF")
            data_.remove_prefix(3);
    }
    // False at the end of the data, or on a broken pair (then Error() says why).
    bool Next(Tag& tag) {
        if (havePeek_) {
            havePeek_ = false;
            tag = peeked_;
            return true;
        }
        std::string_view codeLine;
        if (!ReadLine(codeLine))
            return false;
        tag.line = line_;
        std::string_view text = Trim(codeLine);
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), tag.code);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
            error_ = "oczekiwano kodu grupy, a jest \"" + Printable(codeLine) + "\"";
            errorLine_ = line_;
            return false;
        }
        if (!ReadLine(tag.value)) {
            error_ = "plik urywa się po kodzie grupy " + std::to_string(tag.code);
            errorLine_ = line_;
            return false;
        }
        return true;
    }
    bool Peek(Tag& tag) {
        if (!havePeek_) {
            if (!Next(peeked_))
                return false;
            havePeek_ = true;
        }
        tag = peeked_;
        return true;
    }
    const std::string& Error() const { return error_; }
    size_t ErrorLine() const { return errorLine_; }
    size_t Line() const { return line_; }

  private:
    bool ReadLine(std::string_view& line) {
        if (pos_ >= data_.size())
            return false;
        size_t end = data_.find('\n', pos_);
        if (end == std::string_view::npos)
            end = data_.size();
        line = data_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        pos_ = end + 1;
        ++line_;
        return true;
    }
    static std::string Printable(std::string_view text) {
        std::string out;
        for (char c : text.substr(0, 40)) {
            unsigned char byte = static_cast<unsigned char>(c);
            out += byte >= 0x20 && byte < 0x7F ? c : '?';
        }
        return out;
    }

    std::string_view data_;
    size_t pos_ = 0;
    size_t line_ = 0;
    bool havePeek_ = false;
    Tag peeked_;
    std::string error_;
    size_t errorLine_ = 0;
};

// A handle of the file; handles so large that the seed above them would overflow are taken
// for none.
std::optional<Handle> FileHandle(std::string_view text) {
    std::optional<Handle> handle = Handle::FromText(Trim(text));
    if (handle && handle->value >= (uint64_t{1} << 48))
        return std::nullopt;
    return handle;
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

// Parts of other records that the host does not keep on its own and does not count.
bool IsSubordinate(std::string_view type) {
    return type == "VERTEX" || type == "SEQEND" || type == "ATTRIB";
}

enum class BlockKind { None, Model, Paper, Other };

class Reader {
  public:
    Reader(std::string_view bytes, Database& db, DxfReadResult& result)
        : tokens_(bytes), db_(db), result_(result) {}

    bool Run();

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
    bool SkipSection();
    bool ReadRecords(const std::string& section);
    bool ReadRecord(const Tag& start);
    bool BuildList(std::string_view type, Handle& own, Handle& xdict);
    bool ParseNumber(const Tag& tag, double& value);
    bool ParseInt(const Tag& tag, long long& value);
    void Keep(const std::string& type, const Tag& start, std::optional<Category> category,
              BlockKind block);
    void Skip(const std::string& type) {
        if (!IsSubordinate(type))
            ++result_.skipped[type];
    }
    void Finish();
    void DropDanglingReferences();

    Tokens tokens_;
    Database& db_;
    DxfReadResult& result_;
    CodePage page_ = CodePage::Ansi1252;
    Handle handSeed_;
    std::vector<Tag> record_;
    GroupList list_;
    std::vector<std::pair<ObjectId, Handle>> xdicts_;
    std::vector<Handle> reserved_;
    std::string currentTable_;
    BlockKind block_ = BlockKind::None;
    ObjectId blockRecord_;
};

bool Reader::ParseNumber(const Tag& tag, double& value) {
    std::string_view text = Trim(tag.value);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return Fail(tag.line + 1, "zła liczba w grupie " + std::to_string(tag.code));
    }
    return true;
}

bool Reader::ParseInt(const Tag& tag, long long& value) {
    std::string_view text = Trim(tag.value);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
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
        } else if (section == "TABLES" || section == "BLOCKS" || section == "ENTITIES" ||
                   section == "OBJECTS") {
            ok = ReadRecords(section);
        } else {
            ok = SkipSection();
        }
        if (!ok)
            return false;
    }
    Finish();
    return true;
}

bool Reader::ReadHeader() {
    Tag tag;
    std::string variable;
    for (;;) {
        if (!tokens_.Next(tag))
            return TokenFailure("w sekcji HEADER");
        if (tag.code == 0) {
            if (Trim(tag.value) == "ENDSEC")
                break;
            return Fail(tag.line,
                        "nieoczekiwane \"" + std::string(Trim(tag.value)) + "\" w sekcji HEADER");
        }
        if (tag.code == 9) {
            variable = std::string(Trim(tag.value));
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
    }
    // From AutoCAD 2007 (AC1021) on, a DXF file is UTF-8 whatever its code page says.
    if (result_.version >= "AC1021")
        page_ = CodePage::Utf8;
    if (handSeed_)
        db_.SetHandleSeed(handSeed_);
    return true;
}

bool Reader::SkipSection() {
    Tag tag;
    for (;;) {
        if (!tokens_.Next(tag))
            return TokenFailure("przed końcem sekcji");
        if (tag.code == 0 && Trim(tag.value) == "ENDSEC")
            return true;
        if (tag.code == 0 && Trim(tag.value) == "EOF") {
            return Fail(tag.line, "\"0 EOF\" przed końcem sekcji");
        }
    }
}

bool Reader::ReadRecord(const Tag& start) {
    record_.clear();
    Tag tag;
    for (;;) {
        if (!tokens_.Peek(tag)) {
            return TokenFailure(("w obiekcie " + std::string(Trim(start.value))).c_str());
        }
        if (tag.code == 0)
            return true;
        tokens_.Next(tag);
        if (tag.code == 999)
            continue;
        record_.push_back(tag);
    }
}

bool Reader::ReadRecords(const std::string& section) {
    Tag start;
    currentTable_.clear();
    block_ = BlockKind::None;
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
        if (section == "TABLES") {
            if (type == "TABLE") {
                currentTable_.clear();
                for (const Tag& tag : record_) {
                    if (tag.code == 2)
                        currentTable_ = UpperAscii(Trim(tag.value));
                }
                if (IsKnownTable(currentTable_) && !db_.Table(currentTable_)) {
                    // The header's count and subclass are the writer's to give again.
                    std::erase_if(record_,
                                  [](const Tag& tag) { return tag.code != 2 && tag.code != 5; });
                    Keep(type, start, std::nullopt, BlockKind::None);
                }
            } else if (type == "ENDTAB") {
                currentTable_.clear();
            } else if (IsKnownTable(type) && type == currentTable_) {
                bool wanted = true;
                if (type == "BLOCK_RECORD") {
                    wanted = false;
                    for (const Tag& tag : record_) {
                        if (tag.code != 2)
                            continue;
                        std::string name = UpperAscii(Trim(tag.value));
                        wanted = name == "*MODEL_SPACE" || name == "*PAPER_SPACE";
                    }
                }
                if (wanted) {
                    Keep(type, start, std::nullopt, BlockKind::None);
                } else {
                    Skip(type);
                }
            } else {
                Skip(type);
            }
            if (!result_.error.empty())
                return false;
            continue;
        }
        if (section == "BLOCKS" && (type == "BLOCK" || type == "ENDBLK")) {
            if (type == "BLOCK") {
                block_ = BlockKind::Other;
                for (const Tag& tag : record_) {
                    if (tag.code != 2)
                        continue;
                    std::string name = UpperAscii(Trim(tag.value));
                    if (name == "*MODEL_SPACE")
                        block_ = BlockKind::Model;
                    if (name == "*PAPER_SPACE")
                        block_ = BlockKind::Paper;
                }
                blockRecord_ = db_.FindTableEntry(
                    "BLOCK_RECORD", block_ == BlockKind::Paper ? "*Paper_Space" : "*Model_Space");
            }
            if (block_ == BlockKind::Model || block_ == BlockKind::Paper) {
                // The writer gives a space's block its contents again from its record.
                std::erase_if(record_,
                              [](const Tag& tag) { return tag.code != 5 && tag.code != 330; });
                Keep(type, start, Category::Object, block_);
            } else if (type == "BLOCK") {
                Skip(type);
            }
            if (type == "ENDBLK")
                block_ = BlockKind::None;
            if (!result_.error.empty())
                return false;
            continue;
        }
        const TypeRule* rule = FindTypeRule(type);
        const bool entitySection = section == "ENTITIES" || section == "BLOCKS";
        const bool known =
            rule != nullptr &&
            !(rule->category == Category::Table || rule->category == Category::TableEntry) &&
            (rule->category == Category::Entity) == entitySection;
        if (known &&
            (section != "BLOCKS" || block_ == BlockKind::Model || block_ == BlockKind::Paper)) {
            Keep(type, start, std::nullopt, block_);
        } else {
            Skip(type);
        }
        if (!result_.error.empty())
            return false;
    }
}

bool Reader::BuildList(std::string_view type, Handle& own, Handle& xdict) {
    list_.Clear();
    list_.AddText(0, type);
    int reactors = 0;
    for (size_t i = 0; i < record_.size(); ++i) {
        const Tag& tag = record_[i];
        const int code = tag.code;
        if (code == 5 || code == 105) {
            own = FileHandle(tag.value).value_or(Handle{});
            continue;
        }
        if (code == 102) {
            std::string_view text = Trim(tag.value);
            if (text == "{ACAD_REACTORS" || text == "}") {
                list_.AddText(102, text);
                continue;
            }
            // The entity's extension dictionary is linked once the whole file is read;
            // brackets of other applications are not kept.
            const bool extension = text == "{ACAD_XDICTIONARY";
            while (i + 1 < record_.size()) {
                const Tag& inner = record_[++i];
                if (inner.code == 102)
                    break;
                if (extension && inner.code == 360) {
                    xdict = FileHandle(inner.value).value_or(Handle{});
                }
            }
            continue;
        }
        if (code < 0)
            continue;
        // The default cloning flag of a record: the writer gives it back.
        if (code == 280 && type == "XRECORD" && i > 0 && record_[i - 1].code == 100 &&
            Trim(tag.value) == "1") {
            continue;
        }
        switch (KindOfGroup(code)) {
            case ValueKind::Invalid:
                break;
            case ValueKind::Text:
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
                for (int axis = 1; axis < 3 && i + 1 < record_.size(); ++axis) {
                    if (record_[i + 1].code != code + 10 * axis)
                        break;
                    if (!ParseNumber(record_[++i], point[axis]))
                        return false;
                }
                list_.AddPoint(code, point);
                break;
            }
            case ValueKind::Real: {
                double value = 0;
                if (!ParseNumber(tag, value))
                    return false;
                list_.AddReal(code, value);
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
                std::optional<Handle> target = FileHandle(tag.value);
                if (!target)
                    break;  // "0": no object
                // Without reactors and an owner a list's first 330 would be taken for them.
                if (code == 330 && reactors > 200)
                    break;
                ObjectId id = db_.ReserveHandle(*target);
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

void Reader::Keep(const std::string& type, const Tag& start, std::optional<Category> category,
                  BlockKind block) {
    Handle own;
    Handle xdict;
    if (!BuildList(type, own, xdict))
        return;
    Group owner;
    const bool hasOwner = list_.Find(330, owner);
    if (!hasOwner && category && blockRecord_)
        list_.AddId(330, blockRecord_);
    if (!hasOwner && !category && block == BlockKind::Paper)
        list_.AddInt(67, 1);
    MakeOptions options;
    options.structural = true;
    options.category = category;
    if (own && !db_.Find(db_.FindHandle(own))) {
        options.handle = own;
        // Making an entity may make its layer first, with the next handle of the seed; a
        // file whose $HANDSEED is too low must not hand that layer the entity's own handle.
        if (own >= db_.HandleSeed())
            db_.SetHandleSeed(Handle{own.value + 1});
    }
    std::string reason;
    ObjectId id = db_.Make(list_, options, &reason);
    if (!id) {
        ++result_.refused;
        return;
    }
    ++result_.objectsRead;
    if (xdict)
        xdicts_.emplace_back(id, xdict);
    (void)start;
}

// Replaces references to objects that never came (skipped or refused) by none; a dictionary
// loses the whole entry.
void Reader::DropDanglingReferences() {
    bool any = false;
    for (Handle handle : reserved_) {
        if (!db_.FindHandle(handle))
            any = true;
    }
    if (!any)
        return;
    auto gone = [&](ObjectId id) { return id && !db_.Find(id); };
    for (uint32_t slot = 1; slot < db_.SlotCount(); ++slot) {
        const Object* object = db_.Find(ObjectId{slot});
        if (!object)
            continue;
        bool dangling = gone(object->owner) || gone(object->extensionDictionary);
        for (const Group& group : object->body) {
            if (group.kind == ValueKind::EntityName && gone(group.id))
                dangling = true;
        }
        if (!dangling)
            continue;
        Object fixed = *object;
        if (gone(fixed.owner))
            fixed.owner = {};
        if (gone(fixed.extensionDictionary))
            fixed.extensionDictionary = {};
        fixed.body.Clear();
        const bool dictionary = db_.TypeName(*object) == "DICTIONARY";
        int index = 0;
        int reactors = 0;
        std::optional<Group> key;
        for (const Group& group : object->body) {
            const bool reactor = index++ < object->reactorCount;
            if (group.kind == ValueKind::EntityName && gone(group.id)) {
                key.reset();
                continue;
            }
            if (reactor)
                ++reactors;
            if (dictionary && group.code == 3) {
                if (key)
                    fixed.body.Add(*key);
                key = group;
                continue;
            }
            if (key) {
                fixed.body.Add(*key);
                key.reset();
            }
            fixed.body.Add(group);
        }
        if (key)
            fixed.body.Add(*key);
        fixed.reactorCount = static_cast<uint8_t>(reactors);
        db_.Restore(ObjectId{slot}, fixed);
    }
}

void Reader::Finish() {
    db_.EnsureStandardContents();
    for (const auto& [entity, handle] : xdicts_) {
        ObjectId dict = db_.FindHandle(handle);
        const Object* target = db_.Find(dict);
        const Object* object = db_.Find(entity);
        if (!object || !target || db_.TypeName(*target) != "DICTIONARY" || dict == entity)
            continue;
        Object linked = *object;
        linked.extensionDictionary = dict;
        db_.Restore(entity, linked);
        if (!target->owner) {
            Object owned = *target;
            owned.owner = entity;
            db_.Restore(dict, owned);
        }
    }
    DropDanglingReferences();
    const ObjectId paper = db_.FindTableEntry("BLOCK_RECORD", "*Paper_Space");
    for (ObjectId id : db_.EntityOrder()) {
        const Object* object = db_.Find(id);
        if (!object || object->owner)
            continue;
        Object owned = *object;
        owned.owner = object->space == 1 && paper ? paper : db_.ModelSpace();
        db_.Restore(id, owned);
    }
    if (handSeed_ > db_.HandleSeed())
        db_.SetHandleSeed(handSeed_);
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

DxfReadResult ReadDxf(std::string_view bytes, Database& drawing) {
    DxfReadResult result;
    if (bytes.substr(0, 18) == "AutoCAD Binary DXF") {
        result.error = "binarny DXF nie jest obsługiwany; zapisz rysunek jako DXF tekstowy";
        result.line = 1;
        return result;
    }
    Reader reader(bytes, drawing, result);
    result.ok = reader.Run();
    return result;
}

}  // namespace host
