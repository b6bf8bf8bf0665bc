// The keys of a large dictionary (see dictionary_keys.h).
#include "host/drawing/dictionary_keys.h"

#include "host/drawing/object_rules.h"

namespace host {

namespace {

// A numbered key's number after the prefix: decimals without a leading zero, or none.
bool NumberAfter(std::string_view key, std::string_view prefix, size_t& number) {
    if (key.size() <= prefix.size() || key.size() - prefix.size() > 9 ||
        !EqualNoCase(key.substr(0, prefix.size()), prefix)) {
        return false;
    }
    const std::string_view digits = key.substr(prefix.size());
    if (digits.size() > 1 && digits[0] == '0')
        return false;
    number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + static_cast<size_t>(c - '0');
    }
    return true;
}

}  // namespace

DictionaryKeys DictionaryKeys::Of(const GroupList& body) {
    DictionaryKeys keys;
    std::string_view key;
    bool haveKey = false;
    for (const Group& group : body) {
        if (group.code == 3) {
            key = group.text;
            haveKey = true;
        } else if ((group.code == 350 || group.code == 360) && haveKey) {
            keys.byKey_.try_emplace(UpperAscii(key), group.id);
            haveKey = false;
        }
    }
    return keys;
}

ObjectId DictionaryKeys::Find(std::string_view key) const {
    auto found = byKey_.find(UpperAscii(key));
    return found != byKey_.end() ? found->second : ObjectId{};
}

void DictionaryKeys::Add(std::string_view key, ObjectId object) {
    byKey_.try_emplace(UpperAscii(key), object);
}

void DictionaryKeys::Remove(std::string_view key) {
    byKey_.erase(UpperAscii(key));
    for (auto& [prefix, below] : taken_) {
        size_t number = 0;
        if (NumberAfter(key, prefix, number) && number < below)
            below = number;
    }
}

size_t DictionaryKeys::FirstFree(std::string_view prefix) {
    const std::string upper = UpperAscii(prefix);
    size_t* below = nullptr;
    for (auto& [known, number] : taken_) {
        if (known == upper)
            below = &number;
    }
    if (below == nullptr) {
        taken_.emplace_back(upper, 0);
        below = &taken_.back().second;
    }
    // Keys are mostly numbered in turn: the search goes on from where the last one ended.
    while (byKey_.contains(upper + std::to_string(*below)))
        ++*below;
    return *below;
}

bool DictionaryKeys::Matches(const GroupList& body) const {
    if (byKey_ != Of(body).byKey_)
        return false;
    for (const auto& [prefix, below] : taken_) {
        for (size_t n = 0; n < below; ++n) {
            if (!byKey_.contains(prefix + std::to_string(n)))
                return false;
        }
    }
    return true;
}

}  // namespace host
