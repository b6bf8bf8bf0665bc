// Helpers of the drawing-core tests: a fresh drawing per test, a full text dump of the
// drawing for before/after comparisons, and the module's entity lists.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "host/drawing/database.h"
#include "host/sds.h"
#include "host/sds/resbuf_count.h"

namespace host_test {

// Every test starts from a new drawing and must give back every list it received.
class DrawingTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    long liveAtStart_ = 0;
};

// Every present object with its state and groups (references as handles), the handle seed
// and the last entity: equal dumps mean equal drawings.
std::string Dump();
// One group as "(code value)": reals in full, references as "#handle" of the drawing's
// object, or "@slot" without a drawing.
std::string GroupText(const host::Group& group, const host::Database* drawing = nullptr);
// One object's groups as GroupText gives them, without its name (-1).
std::string ObjectText(const host::Database& drawing, host::ObjectId id);

// The module's create lists, as its entity layer builds them.
int MakeLine(double x1, double y1, double x2, double y2, const char* layer = "0");
int MakeCircle(double x, double y, double radius, const char* layer = "0");
// With an alignment other than the base line's left end, (x, y) is the point it refers to.
int MakeText(const char* text, double x, double y, double height, int horizontal = 0,
             int vertical = 0);
int MakePolyline(const double (*points)[2], int count, const double* bulges = nullptr);
int MakeDisc(double x, double y, double radius);
// A DICTIONARY and an XRECORD (bar record layout) made with sds_entmakex.
int MakeDictionary(sds_name result);
int MakeBarRecord(const char* tag, int number, sds_name result);
// The module's EnsureExtensionDictionary: the three groups put right before group 67.
int AttachExtensionDictionary(const sds_name entity, sds_name dictionary);
// A bar as the module marks it: the polyline, its extension dictionary and its record
// under "ORV_ARMAVO". RTNORM when every call succeeded.
int MakeMarkedBar(const double (*points)[2], int count, const double* bulges, int number,
                  sds_name bar);
// A group listed in ACAD_GROUP under `key`, made the module's way: ownerless first, then
// named by changing the dictionary.
int MakeGroup(const char* key, const char* description, std::initializer_list<const long*> members,
              sds_name group);

// The text of a list for messages and comparisons: "(0 LINE)(8 0)...".
std::string ListText(const resbuf* list);
const resbuf* FindGroup(const resbuf* list, int code);
long LastName(int which);  // sds_entlast component

}  // namespace host_test
