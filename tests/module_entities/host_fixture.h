// Shared set-up of the entity tests: a fresh drawing per test, small list helpers, and the
// host's count of live result buffers, so that every wrapper call can be checked for leaks.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/document.h"
#include "host/drawing_access.h"
#include "host/resbuf_count.h"
#include "host/sds.h"

namespace entities_test {

inline long LiveLists() {
    return host::LiveResbufCount();
}

class DrawingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host::NewDrawing();
        startLive = LiveLists();
    }
    void TearDown() override { EXPECT_EQ(LiveLists(), startLive) << "a result buffer leaked"; }

    long startLive = 0;
};

// Checks that `call` leaves as many result buffers alive as before it.
template <typename Call>
void ExpectNoLeak(const char* what, Call call) {
    long before = LiveLists();
    call();
    EXPECT_EQ(LiveLists(), before) << what;
}

// The groups of an entity's list as (code) in order, for checks on placement.
inline std::vector<int> GroupCodes(const sds_name entity) {
    std::vector<int> codes;
    resbuf* list = sds_entget(entity);
    for (resbuf* node = list; node != nullptr; node = node->rbnext) {
        codes.push_back(node->restype);
    }
    if (list != nullptr) {
        sds_relrb(list);
    }
    return codes;
}

inline int CountGroup(const sds_name entity, int group) {
    int count = 0;
    for (int code : GroupCodes(entity)) {
        count += code == group ? 1 : 0;
    }
    return count;
}

inline void Last(sds_name entity) {
    ASSERT_EQ(sds_entlast(entity), RTNORM);
}

inline std::string Handle(const sds_name entity) {
    resbuf* list = sds_entget(entity);
    std::string handle;
    for (resbuf* node = list; node != nullptr; node = node->rbnext) {
        if (node->restype == 5) {
            handle = node->resval.rstring;
            break;
        }
    }
    if (list != nullptr) {
        sds_relrb(list);
    }
    return handle;
}

// Record key and tags as the string table gives them.
inline const std::string kKey = "ORV_ARMAVO";
inline const std::string kScheduleKey = "GLOBAL_ORV_ARMAVO";
inline const std::string kBarTag = "Pręt";

}  // namespace entities_test
