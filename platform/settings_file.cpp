// The settings file of the registry.
//
// Format (UTF-8 text, one record a line; blank lines and lines starting with "#" are skipped):
//   armavo-settings 1                      first record: the format and its version
//   key <path>                             starts a key; its values follow
//   value <type> <name> <data>             a value of the key above
// <type> is sz, expand_sz, binary, dword, multi_sz, none, or a decimal number for others.
// <path>, <name> and <data> are single tokens: the value's exact bytes with "\" written "\\",
// a blank "\s", a tab "\t", a line feed "\n", a carriage return "\r", a zero byte "\0", other
// control bytes and bytes that are not UTF-8 "\xHH"; an empty token is "\e". UTF-8 text is
// kept as it is, so Polish text stays readable and the file is always UTF-8. String values
// written by the program end with "\0", their terminating zero, so a value without one can be
// told apart.
//
// Each record is read on its own: a line that cannot be understood (or a value whose key line
// could not be) is left out and reported, and every other value is still read.
#include "platform/settings_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/registry.h"
#include "platform/text_util.h"
#include "platform/utf8.h"

namespace platform::settings {
namespace {

constexpr std::string_view kHeader = "armavo-settings 1";

std::string Escape(std::string_view bytes) {
    if (bytes.empty()) {
        return "\\e";
    }
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x80) {
            char32_t cp = 0;
            size_t length = utf8::Decode(bytes, i, cp);
            if (length > 0) {
                out.append(bytes.substr(i, length));
                i += length - 1;
                continue;
            }
        }
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case ' ':
                out += "\\s";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case 0:
                out += "\\0";
                break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    out += "\\x";
                    out += hex[c >> 4];
                    out += hex[c & 0xF];
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

bool Unescape(std::string_view token, std::string& out) {
    out.clear();
    if (token == "\\e") {
        return true;
    }
    if (token.empty()) {
        return false;
    }
    for (size_t i = 0; i < token.size(); ++i) {
        char c = token[i];
        if (c == ' ' || c == '\t') {
            return false;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= token.size()) {
            return false;
        }
        switch (token[i]) {
            case '\\':
                out += '\\';
                break;
            case 's':
                out += ' ';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case '0':
                out += '\0';
                break;
            case 'x': {
                int hi = i + 1 < token.size() ? HexDigit(token[i + 1]) : -1;
                int lo = i + 2 < token.size() ? HexDigit(token[i + 2]) : -1;
                if (hi < 0 || lo < 0) {
                    return false;
                }
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default:
                return false;
        }
    }
    return true;
}

struct TypeName {
    unsigned type;
    const char* name;
};
constexpr TypeName kTypeNames[] = {{REG_NONE, "none"},           {REG_SZ, "sz"},
                                   {REG_EXPAND_SZ, "expand_sz"}, {REG_BINARY, "binary"},
                                   {REG_DWORD, "dword"},         {REG_MULTI_SZ, "multi_sz"}};

std::string TypeToText(unsigned type) {
    for (const TypeName& t : kTypeNames) {
        if (t.type == type) {
            return t.name;
        }
    }
    return std::to_string(type);
}

bool TypeFromText(std::string_view s, unsigned& type) {
    for (const TypeName& t : kTypeNames) {
        if (s == t.name) {
            type = t.type;
            return true;
        }
    }
    int n = 0;
    if (!text::ParseInt(s, n) || n < 0) {
        return false;
    }
    type = static_cast<unsigned>(n);
    return true;
}

std::string KeyForm(std::string_view path) {
    std::string p(path);
    while (!p.empty() && p.back() == '\\') {
        p.pop_back();
    }
    return text::Fold(p);
}

bool IsUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        size_t length = utf8::Decode(s, i, cp);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace

Key* Store::FindKey(std::string_view path) {
    std::string want = KeyForm(path);
    for (Key& k : keys) {
        if (KeyForm(k.path) == want) {
            return &k;
        }
    }
    return nullptr;
}

Key& Store::AddKey(std::string_view path) {
    if (Key* k = FindKey(path)) {
        return *k;
    }
    std::string p(path);
    while (!p.empty() && p.back() == '\\') {
        p.pop_back();
    }
    keys.push_back(Key{p, {}});
    return keys.back();
}

Value* FindValue(Key& key, std::string_view name) {
    std::string want = text::Fold(name);
    for (Value& v : key.values) {
        if (text::Fold(v.name) == want) {
            return &v;
        }
    }
    return nullptr;
}

std::string Serialize(const Store& store) {
    std::string out = "# Settings of the current user, kept by armavo; see settings_file.cpp.\n";
    out += kHeader;
    out += "\n";
    for (const Key& k : store.keys) {
        out += "key " + Escape(k.path) + "\n";
        for (const Value& v : k.values) {
            out +=
                "value " + TypeToText(v.type) + " " + Escape(v.name) + " " + Escape(v.bytes) + "\n";
        }
    }
    return out;
}

bool Parse(std::string_view textIn, Store& store, std::vector<int>& damagedLines) {
    store.keys.clear();
    damagedLines.clear();
    bool headerSeen = false;
    bool recordRead = false;
    Key* current = nullptr;
    int lineNo = 0;
    size_t pos = 0;
    while (pos < textIn.size()) {
        size_t end = textIn.find('\n', pos);
        if (end == std::string_view::npos) {
            end = textIn.size();
        }
        std::string_view line = textIn.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (!headerSeen) {
            headerSeen = true;
            if (text::Trim(line) == kHeader) {
                continue;
            }
            // Another version's file is not ours to read line by line.
            if (line.substr(0, kHeader.size() - 1) == kHeader.substr(0, kHeader.size() - 1)) {
                damagedLines = {lineNo};
                return false;
            }
            // A damaged first line: the records after it are still worth reading.
            damagedLines.push_back(lineNo);
            continue;
        }
        std::vector<std::string> parts =
            IsUtf8(line) ? text::SplitWords(line) : std::vector<std::string>{};
        std::string a;
        std::string b;
        unsigned type = 0;
        if (parts.size() == 2 && parts[0] == "key" && Unescape(parts[1], a)) {
            current = &store.AddKey(a);
            recordRead = true;
        } else if (parts.size() == 4 && parts[0] == "value" && current != nullptr &&
                   TypeFromText(parts[1], type) && Unescape(parts[2], a) && Unescape(parts[3], b)) {
            if (Value* v = FindValue(*current, a)) {
                *v = Value{a, type, b};
            } else {
                current->values.push_back(Value{a, type, b});
            }
            recordRead = true;
        } else {
            damagedLines.push_back(lineNo);
            // The values after a damaged key line belong to a key nobody can name.
            if (!parts.empty() && parts[0] == "key") {
                current = nullptr;
            }
        }
    }
    // Nothing but damage: this is no settings file at all.
    return recordRead || damagedLines.empty();
}

LoadResult Load(const std::string& path, Store& store, std::vector<int>& damagedLines) {
    store.keys.clear();
    damagedLines.clear();
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        return LoadResult::Missing;
    }
    if (ec || status.type() != std::filesystem::file_type::regular) {
        return LoadResult::Unreadable;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return LoadResult::Unreadable;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        return LoadResult::Unreadable;
    }
    if (!Parse(buffer.str(), store, damagedLines)) {
        return LoadResult::Corrupt;
    }
    return damagedLines.empty() ? LoadResult::Ok : LoadResult::Damaged;
}

bool WriteAtomically(const std::string& path, const Store& store, const std::string& keepOldAs,
                     std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target(path);
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), ec);
    }
    std::string temp = path + ".tmp";
    std::string data = Serialize(store);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "nie można utworzyć pliku " + temp;
            return false;
        }
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            error = "nie można zapisać pliku " + temp;
            return false;
        }
    }
    if (!keepOldAs.empty()) {
        fs::rename(path, keepOldAs, ec);
        if (ec) {
            fs::remove(temp, ec);
            error = "nie można zachować starego pliku jako " + keepOldAs;
            return false;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        error = "nie można zastąpić pliku " + path;
        return false;
    }
    return true;
}

}  // namespace platform::settings
