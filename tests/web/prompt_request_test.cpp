// What each input call tells a front end about the line it waits for (platform's
// InputRequest): its kind, the base point a rubber band starts from, and the keywords.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/console/prompts.h"
#include "host/sds.h"
#include "platform/backend.h"
#include "platform/console.h"
#include "tests/support/scenario.h"

namespace {

using platform::InputKind;

// Answers every read with the next line and keeps the request it was read for.
class Recorder : public platform::LineInput {
  public:
    explicit Recorder(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    std::optional<std::string> Next(std::string_view) override {
        seen.push_back(platform::CurrentRequest());
        return next_ < lines_.size() ? std::optional(lines_[next_++]) : std::nullopt;
    }
    std::vector<platform::InputRequest> seen;

  private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

TEST(PromptRequests, EachInputCallSaysWhatItWaitsFor) {
    testkit::RunScenario({"LINE", "0,0", "100,0", ""});
    sds_point p = {0, 0, 0}, at = {7, 8, 0};
    sds_name set;
    double real = 0;
    int whole = 0;
    char text[512];
    struct Case {
        const char* what;
        std::function<void()> call;
        InputKind kind;
        bool hasBase;
        double bx, by;
    };
    // Plain points and picks, a base from a point given, keywords and questions are asked by
    // the page test in Chromium; these are not.
    const Case cases[] = {
        {"real", [&] { sds_getreal("R:", &real); }, InputKind::Number, false, 0, 0},
        {"whole", [&] { sds_getint("I:", &whole); }, InputKind::Number, false, 0, 0},
        {"text", [&] { sds_getstring(1, "T:", text); }, InputKind::Text, false, 0, 0},
        // The point is answered 7,8, and the drag starts from it.
        {"drag from the last point",
         [&] {
             sds_getpoint(nullptr, "P:", at);
             sds_ssget("X", nullptr, nullptr, nullptr, set);
             sds_draggen(set, "D:", 0, nullptr, p);
             sds_ssfree(set);
         },
         InputKind::Point, true, 7, 8},
    };
    platform::SetOutputSink([](std::string_view, void*) {}, nullptr);
    for (const Case& c : cases) {
        host::ResetPromptState();
        Recorder input({"7,8", "^C"});
        platform::SetLineInput(&input);
        c.call();
        platform::SetLineInput(nullptr);
        ASSERT_FALSE(input.seen.empty()) << c.what;
        const platform::InputRequest& r = input.seen.back();
        EXPECT_EQ(r.kind, c.kind) << c.what;
        EXPECT_EQ(r.hasBase, c.hasBase) << c.what;
        if (c.hasBase) {
            EXPECT_EQ(r.base[0], c.bx) << c.what;
            EXPECT_EQ(r.base[1], c.by) << c.what;
        }
        EXPECT_TRUE(r.keywords.empty()) << c.what;  // none offered
    }
    platform::SetOutputSink(nullptr, nullptr);
}

}  // namespace
