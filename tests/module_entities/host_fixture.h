// Shared set-up of the entity tests: a fresh drawing per test that must end with as many live
// result buffers as it began (so that every wrapper call is checked for leaks), and list helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/document.h"
#include "host/drawing_access.h"
#include "host/resbuf_count.h"
#include "host/sds.h"

namespace entities_test {

class DrawingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host::NewDrawing();
        startLive = host::LiveResbufCount();
    }
    void TearDown() override {
        EXPECT_EQ(host::LiveResbufCount(), startLive) << "a result buffer leaked";
    }
    long startLive = 0;
};

// The entity's groups as "code=value" texts, from the first group `from` on (all when 0),
// subclass markers left out.
inline std::vector<std::string> Groups(const sds_name entity, int from = 0) {
    std::vector<std::string> out;
    resbuf* list = sds_entget(entity);
    bool started = from == 0;
    for (const resbuf* node = list; node != nullptr; node = node->rbnext) {
        const int code = node->restype;
        started = started || code == from;
        if (!started || code == 100 || code == from) {
            continue;
        }
        char value[96];
        if ((code >= 0 && code <= 9) || (code >= 300 && code <= 309)) {
            std::snprintf(value, sizeof value, "%s", node->resval.rstring);
        } else if ((code >= 10 && code <= 17) || code == 210) {
            std::snprintf(value, sizeof value, "%g,%g,%g", node->resval.rpoint[0],
                          node->resval.rpoint[1], node->resval.rpoint[2]);
        } else if ((code >= 60 && code <= 79) || (code >= 170 && code <= 179)) {
            std::snprintf(value, sizeof value, "%d", node->resval.rint);
        } else if (code >= 90 && code <= 99) {
            std::snprintf(value, sizeof value, "%ld", static_cast<long>(node->resval.rlong));
        } else {
            std::snprintf(value, sizeof value, "%g", node->resval.rreal);
        }
        out.push_back(std::to_string(code) + "=" + value);
    }
    sds_relrb(list);
    return out;
}

// How many groups of the code the entity's list holds.
inline int CountGroup(const sds_name entity, int group) {
    int count = 0;
    resbuf* list = sds_entget(entity);
    for (const resbuf* node = list; node != nullptr; node = node->rbnext) {
        count += node->restype == group ? 1 : 0;
    }
    sds_relrb(list);
    return count;
}

inline void Last(sds_name entity) {
    ASSERT_EQ(sds_entlast(entity), RTNORM);
}

inline std::string Handle(const sds_name entity) {
    resbuf* list = sds_entget(entity);
    std::string handle;
    for (const resbuf* node = list; node != nullptr && handle.empty(); node = node->rbnext) {
        handle = node->restype == 5 ? node->resval.rstring : "";
    }
    sds_relrb(list);
    return handle;
}

// Record key and tags as the string table gives them.
inline const std::string kKey = "ORV_ARMAVO";
inline const std::string kScheduleKey = "GLOBAL_ORV_ARMAVO";
inline const std::string kBarTag = "Pręt";

}  // namespace entities_test
