// libFuzzer target of the lines the served page sends: any bytes as a tab's name (up to the
// first line end) and the body of a POST /input (the rest). The server's checks must let
// through exactly one line of well-formed UTF-8 without control characters, no longer than
// the server takes, from a tab with a valid name; a line they let through reaches the session
// as it came. Aborts otherwise.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "app/web/web_hub.h"
#include "app/web/web_server.h"

namespace {

// Well-formed UTF-8 by the table of RFC 3629, written apart from the program's decoder so
// that a fault in that one is not hidden by the same fault here.
bool WellFormedUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
        const unsigned char lead = byte(i);
        size_t length = 4;
        unsigned char low = 0x80, high = 0xBF;  // the second byte's range
        if (lead <= 0x7F) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
            high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (s.size() - i < length)
            return false;
        for (size_t k = 1; k < length; ++k) {
            const unsigned char from = k == 1 ? low : 0x80, to = k == 1 ? high : 0xBF;
            if (byte(i + k) < from || byte(i + k) > to)
                return false;
        }
        i += length;
    }
    return true;
}

// No C0 control character (line ends among them) and no DEL: in UTF-8 these bytes stand
// only for themselves.
bool WithoutControls(std::string_view s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

bool TabName(std::string_view tab) {
    if (tab.empty() || tab.size() > 64)
        return false;
    for (char c : tab) {
        if (!(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9') &&
            c != '-' && c != '_')
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t cut = bytes.find('\n');
    const std::string_view tab = bytes.substr(0, cut);
    const std::string_view body =
        cut == std::string_view::npos ? std::string_view() : bytes.substr(cut + 1);

    const bool tabOk = app::web::ValidTab(tab);
    if (tabOk != TabName(tab))
        std::abort();
    const app::web::Refusal refusal = app::web::CheckLine(body);
    const bool line =
        body.size() <= app::web::kMaxLineBytes && WellFormedUtf8(body) && WithoutControls(body);
    if ((refusal.status == 0) != line)
        std::abort();
    if (refusal.status != 0 && ((refusal.status != 400 && refusal.status != 413) ||
                                !WellFormedUtf8(refusal.message) || refusal.message.empty()))
        std::abort();
    if (refusal.status != 0 || !tabOk)
        return 0;

    // The line taken for the prompt the session waits at comes to the session unchanged.
    app::web::WebHub hub;
    if (!hub.OpenStream(tab))
        std::abort();
    hub.Publish("{}");
    if (hub.SubmitLine(tab, std::string(body)) != app::web::Verdict::Taken)
        std::abort();
    const std::optional<std::string> taken = hub.WaitForLine();
    if (!taken || *taken != body)
        std::abort();
    return 0;
}
