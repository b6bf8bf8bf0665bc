// libFuzzer target: any bytes as the registry's settings file. What was read must write back
// to a text that parses to the same values and writes again to the same text; aborts when it
// does not.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings_file.h"

namespace {

bool SameStores(const platform::settings::Store& a, const platform::settings::Store& b) {
    if (a.keys.size() != b.keys.size())
        return false;
    for (size_t k = 0; k < a.keys.size(); ++k) {
        const auto& x = a.keys[k];
        const auto& y = b.keys[k];
        if (x.path != y.path || x.values.size() != y.values.size())
            return false;
        for (size_t v = 0; v < x.values.size(); ++v) {
            if (x.values[v].name != y.values[v].name || x.values[v].type != y.values[v].type ||
                x.values[v].bytes != y.values[v].bytes)
                return false;
        }
    }
    return true;
}

[[noreturn]] void Fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "settings round trip: %s\n--- written ---\n%s\n", what, text.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace platform::settings;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Store read;
    std::vector<int> damaged;
    if (!Parse(text, read, damaged))
        return 0;
    const std::string written = Serialize(read);
    Store again;
    if (!Parse(written, again, damaged) || !damaged.empty())
        Fail("the written text does not read back cleanly", written);
    if (!SameStores(read, again))
        Fail("the values read back differ", written);
    if (Serialize(again) != written)
        Fail("writing again gives another text", written);
    return 0;
}
