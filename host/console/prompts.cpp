// The sds_* input and output calls. Every prompt goes through one loop that reads a line,
// classifies it, applies the pending initget conditions and either answers or asks again.
#include "host/console/prompts.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

#include "host/console/command_line.h"
#include "host/console/input_sources.h"
#include "host/console/input_text.h"
#include "host/console/run_status.h"
#include "host/drawing/drawing_access.h"
#include "host/drawing/picking.h"
#include "host/sds.h"
#include "platform/console.h"

namespace host {
namespace {

constexpr size_t kResultSize = 512;

struct Conditions {
    int flags = 0;
    std::vector<std::string> keywords;
};

Conditions g_pending;
std::optional<std::string> g_lastKeyword;  // what sds_getinput gives back
double g_lastPoint[3] = {0.0, 0.0, 0.0};

// Answers typed on the command line after the command's name (SetAnswersOnLine).
struct AnswersOnLine {
    std::deque<std::string> answers;
    bool enter = false;  // the line's end, still to come
};
AnswersOnLine g_ahead;

// The next answer: one typed on the command line, shown after its prompt, or a line read.
std::optional<std::string> NextAnswer(std::string_view prompt,
                                      const platform::InputRequest& request) {
    if (!g_ahead.answers.empty()) {
        std::string answer = std::move(g_ahead.answers.front());
        g_ahead.answers.pop_front();
        Print(answer + "\n");
        return answer;
    }
    if (g_ahead.enter) {
        g_ahead.enter = false;
        Print("\n");
        return std::string();
    }
    return platform::ReadLine(prompt, request);
}

// The conditions of one input call: taken once, so they never outlive that call.
Conditions TakeConditions() {
    Conditions c = std::move(g_pending);
    g_pending = Conditions{};
    return c;
}

enum class Want { Point, Real, Int, Keyword, Pick };

struct Outcome {
    double point[3] = {0.0, 0.0, 0.0};
    double number = 0.0;
    std::string keyword;
};

const char* RefusalFor(Want want) {
    switch (want) {
        case Want::Point:
        case Want::Pick:
            return kMsgBadPoint;
        case Want::Real:
            return kMsgNeedNumber;
        case Want::Int:
            return kMsgNeedWhole;
        case Want::Keyword:
            return kMsgBadOption;
    }
    return kMsgBadOption;
}

// A number accepted at a numeric prompt, or the message that refuses it.
const char* CheckNumber(Want want, const Answer& a, int flags) {
    if (want == Want::Int && (!a.whole || a.number < -2147483648.0 || a.number > 2147483647.0)) {
        return kMsgNeedWhole;
    }
    if ((flags & SDS_RSG_NOZERO) && a.number == 0.0) {
        return kMsgNonZero;
    }
    if ((flags & SDS_RSG_NONEG) && a.number < 0.0) {
        return kMsgNonNegative;
    }
    return nullptr;
}

// A number or point too large for a drawing is refused whatever else the prompt takes, so
// that it never passes on as typed text either.
void RefuseOutOfRange() {
    PrintLine(kMsgOutOfRange);
    NoteRefusedAnswer();
}

// What a front end learns of a prompt beyond its text.
platform::InputRequest RequestFor(Want want, const double* base, const Conditions& c) {
    using platform::InputKind;
    platform::InputRequest request;
    switch (want) {
        case Want::Point:
            request.kind = InputKind::Point;
            break;
        case Want::Pick:
            request.kind = InputKind::Pick;
            break;
        case Want::Real:
        case Want::Int:
            request.kind = InputKind::Number;
            break;
        case Want::Keyword:
            request.kind = InputKind::Keyword;
            break;
    }
    if (base != nullptr) {
        request.hasBase = true;
        std::memcpy(request.base, base, sizeof request.base);
    }
    request.keywords = c.keywords;
    return request;
}

// What "?" at a prompt that takes keywords answers: the keywords on one line, in full.
std::string KeywordListing(const std::vector<std::string>& keywords) {
    std::string listing = "Opcje:";
    for (const std::string& keyword : keywords) {
        listing += " " + keyword;
    }
    return listing;
}

// Asks until the answer fits: RTNORM with a value, RTKWORD (RTNORM for Want::Keyword) with
// a keyword, RTNONE, or RTCAN (Esc, or the end of the input).
int Ask(Want want, const char* prompt, const double* base, Outcome& out) {
    Conditions c = TakeConditions();
    g_lastKeyword.reset();
    std::string text = prompt != nullptr ? prompt : "";
    const platform::InputRequest request = RequestFor(want, base, c);
    for (;;) {
        Print(text);
        std::optional<std::string> line = NextAnswer(text, request);
        if (!line) {
            return RTCAN;
        }
        // A transparent command runs inside this one; the prompt is then asked again.
        if (RunTransparentLine(*line)) {
            continue;
        }
        Answer a = ClassifyAnswer(*line);
        if (!c.keywords.empty() && a.kind == Answer::Kind::Text && a.text == "?") {
            PrintLine(KeywordListing(c.keywords));
            continue;
        }
        const char* refusal = RefusalFor(want);
        switch (a.kind) {
            case Answer::Kind::Enter:
                if (c.flags & SDS_RSG_NONULL) {
                    PrintLine(kMsgNeedAnswer);
                    NoteRefusedAnswer();
                    continue;
                }
                return RTNONE;
            case Answer::Kind::Cancel:
                return RTCAN;
            case Answer::Kind::Point:
                if (want == Want::Point || want == Want::Pick) {
                    const double* origin = base != nullptr ? base : g_lastPoint;
                    for (int i = 0; i < 3; ++i) {
                        out.point[i] = a.point[i] + (a.relative ? origin[i] : 0.0);
                    }
                    // A relative point may overflow where its parts did not.
                    if (!WithinRange(a.point) || !WithinRange(out.point)) {
                        RefuseOutOfRange();
                        continue;
                    }
                    // A point typed at a point prompt goes where the running object snaps
                    // would take a click there; a pick stays where it was made.
                    sds_point snapped;
                    if (want == Want::Point && SnapWithRunningModes(out.point, snapped)) {
                        std::memcpy(out.point, snapped, sizeof out.point);
                    }
                    std::memcpy(g_lastPoint, out.point, sizeof g_lastPoint);
                    return RTNORM;
                }
                break;
            case Answer::Kind::Number:
                if (want == Want::Real || want == Want::Int) {
                    if (!WithinRange(a.number)) {
                        RefuseOutOfRange();
                        continue;
                    }
                    refusal = CheckNumber(want, a, c.flags);
                    if (refusal == nullptr) {
                        out.number = a.number;
                        return RTNORM;
                    }
                }
                break;
            case Answer::Kind::Text:
                break;
        }
        if (std::optional<std::string> k = MatchKeyword(c.keywords, a.text)) {
            out.keyword = *k;
        } else if (c.flags & SDS_RSG_OTHER) {
            out.keyword = a.text;
        } else {
            PrintLine(refusal);
            NoteRefusedAnswer();
            continue;
        }
        g_lastKeyword = out.keyword;
        return want == Want::Keyword ? RTNORM : RTKWORD;
    }
}

void CopyPoint(const double from[3], sds_point to) {
    if (to != nullptr) {
        std::memcpy(to, from, sizeof(sds_point));
    }
}

void Identity(sds_matrix m) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            m[r][c] = r == c ? 1.0 : 0.0;
        }
    }
}

// The pick prompts: a point (typed or given) hit-tested against the drawing.
int Pick(const char* prompt, const double* given, sds_name entity, sds_point point) {
    Outcome out;
    if (given != nullptr) {
        std::memcpy(out.point, given, sizeof out.point);
    } else {
        int rc = Ask(Want::Pick, prompt, nullptr, out);
        if (rc != RTNORM) {
            return rc;
        }
    }
    CopyPoint(out.point, point);
    sds_name found = {0, 0};
    if (!PickEntityAt(out.point, found)) {
        PrintLine(kMsgNoObject);
        if (given == nullptr) {
            NoteRefusedAnswer();  // a click the user made that hit nothing
        }
        return RTERROR;
    }
    if (entity != nullptr) {
        entity[0] = found[0];
        entity[1] = found[1];
    }
    return RTNORM;
}

}  // namespace

void ResetPromptState() {
    g_pending = Conditions{};
    g_lastKeyword.reset();
    std::memset(g_lastPoint, 0, sizeof g_lastPoint);
    g_ahead = AnswersOnLine{};
}

int GetPickPoint(const char* prompt, const double* base, double point[3]) {
    Outcome out;
    const int rc = Ask(Want::Pick, prompt, base, out);
    if (rc == RTNORM) {
        std::memcpy(point, out.point, sizeof out.point);
    }
    return rc;
}

void SetAnswersOnLine(std::string_view rest) {
    g_ahead = AnswersOnLine{};
    size_t i = 0;
    while (i < rest.size()) {
        if (rest[i] == ' ' || rest[i] == '\t') {
            ++i;
            continue;
        }
        std::string answer;
        if (rest[i] == '"') {
            const size_t close = rest.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? rest.size() : close;
            answer = std::string(rest.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? rest.size() : close + 1;
        } else {
            const size_t end = std::min(rest.find_first_of(" \t", i), rest.size());
            answer = std::string(rest.substr(i, end - i));
            i = end;
        }
        g_ahead.answers.push_back(std::move(answer));
    }
    g_ahead.enter = !g_ahead.answers.empty();
}

std::vector<std::string> TakeUnusedAnswers() {
    std::vector<std::string> unused(g_ahead.answers.begin(), g_ahead.answers.end());
    g_ahead = AnswersOnLine{};
    return unused;
}

}  // namespace host

using host::Ask;
using host::Outcome;
using host::Want;

extern "C" {

int sds_initget(int flags, const char* keywords) {
    host::g_pending.flags = flags;
    host::g_pending.keywords = host::SplitKeywords(keywords != nullptr ? keywords : "");
    return RTNORM;
}

int sds_getpoint(const sds_point base, const char* prompt, sds_point result) {
    Outcome out;
    int rc = Ask(Want::Point, prompt, base, out);
    if (rc == RTNORM) {
        host::CopyPoint(out.point, result);
    }
    return rc;
}

int sds_getreal(const char* prompt, sds_real* result) {
    Outcome out;
    int rc = Ask(Want::Real, prompt, nullptr, out);
    if (rc == RTNORM && result != nullptr) {
        *result = out.number;
    }
    return rc;
}

int sds_getint(const char* prompt, int* result) {
    Outcome out;
    int rc = Ask(Want::Int, prompt, nullptr, out);
    if (rc == RTNORM && result != nullptr) {
        *result = static_cast<int>(out.number);
    }
    return rc;
}

int sds_getkword(const char* prompt, char* result) {
    Outcome out;
    int rc = Ask(Want::Keyword, prompt, nullptr, out);
    if (result != nullptr) {
        host::CopyToBuffer(rc == RTNORM ? out.keyword : std::string(), result, host::kResultSize);
    }
    return rc;
}

int sds_getstring(int allowSpaces, const char* prompt, char* result) {
    host::TakeConditions();
    host::g_lastKeyword.reset();
    std::string text = prompt != nullptr ? prompt : "";
    host::Print(text);
    std::optional<std::string> line = host::NextAnswer(text, {});
    if (!line || host::ClassifyAnswer(*line).kind == host::Answer::Kind::Cancel) {
        host::CopyToBuffer("", result, host::kResultSize);
        return RTCAN;
    }
    std::string value = *line;
    if (!allowSpaces) {
        // Without spaces allowed a blank ends the answer, as the space bar does at a prompt.
        size_t b = value.find_first_not_of(" \t");
        value = b == std::string::npos ? std::string() : value.substr(b);
        value = value.substr(0, value.find_first_of(" \t"));
    }
    host::CopyToBuffer(value, result, host::kResultSize);
    return RTNORM;
}

int sds_getinput(char* result) {
    if (result == nullptr) {
        return RTERROR;
    }
    if (!host::g_lastKeyword) {
        host::CopyToBuffer("", result, host::kResultSize);
        return RTERROR;
    }
    host::CopyToBuffer(*host::g_lastKeyword, result, host::kResultSize);
    return RTNORM;
}

int sds_draggen(const sds_name set, const char* prompt, int cursor,
                int (*callback)(sds_point point, sds_matrix matrix), sds_point result) {
    (void)cursor;
    long length = 0;
    if (set == nullptr || sds_sslength(set, &length) != RTNORM) {
        host::TakeConditions();
        return RTERROR;
    }
    // The drag starts with the cursor where the last point was given (the base point, as a
    // rule): the callback previews the set there before any answer is read.
    sds_matrix matrix;
    if (callback != nullptr) {
        sds_point cursorPoint;
        host::CopyPoint(host::g_lastPoint, cursorPoint);
        host::Identity(matrix);
        if (callback(cursorPoint, matrix) == RTCAN) {
            host::TakeConditions();
            return RTCAN;
        }
    }
    // Measured from where the drag started, as relative points are anyway; a front end
    // draws its rubber band from there.
    Outcome out;
    sds_point start;
    host::CopyPoint(host::g_lastPoint, start);
    int rc = Ask(Want::Point, prompt, start, out);
    if (rc != RTNORM) {
        return rc;
    }
    // The script gives the cursor's final position: the callback previews the set there, and
    // the position is then accepted.
    if (callback != nullptr) {
        sds_point cursorPoint;
        host::CopyPoint(out.point, cursorPoint);
        host::Identity(matrix);
        if (callback(cursorPoint, matrix) == RTCAN) {
            return RTCAN;
        }
    }
    host::CopyPoint(out.point, result);
    return RTNORM;
}

int sds_entsel(const char* prompt, sds_name entity, sds_point point) {
    return host::Pick(prompt, nullptr, entity, point);
}

int sds_nentselp(const char* prompt, sds_name entity, sds_point point, int pickFlag,
                 sds_matrix xform, struct resbuf** refStack) {
    if (xform != nullptr) {
        host::Identity(xform);
    }
    if (refStack != nullptr) {
        *refStack = nullptr;  // no blocks are nested in this host's drawings
    }
    if (pickFlag != 0) {
        if (point == nullptr) {
            return RTERROR;
        }
        double given[3] = {point[0], point[1], point[2]};
        return host::Pick(prompt, given, entity, point);
    }
    return host::Pick(prompt, nullptr, entity, point);
}

int sds_printf(const char* format, ...) {
    if (format == nullptr) {
        return RTERROR;
    }
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n < 0) {
        va_end(args);
        return RTERROR;
    }
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    host::Print(std::string_view(buffer.data(), static_cast<size_t>(n)));
    return RTNORM;
}

int sds_alert(const char* message) {
    host::PrintLine(message != nullptr ? message : "");
    return RTNORM;
}

}  // extern "C"
