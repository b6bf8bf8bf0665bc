// A generated drawing of two blocks (20 bars; a debug build checks the whole drawing after
// every change, so larger ones take minutes here): the counts it reports, a clean audit, and the
// bars, counts and numbers that edits take from the host's indexes equal to those read entity by
// entity.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#include "bench/generator/drawing_generator.h"
#include "module/rods/obsluga_preta.h"
#include "tests/support/audit.h"
#include "tests/support/scenario.h"

namespace {

TEST(DrawingGenerator, TwoBlocksAuditCleanAndIndexedAsRead) {
    bool ok = false;
    const drawing_generator::Generated drawing = drawing_generator::Generate(20, ok);
    ASSERT_TRUE(ok) << drawing.transcript;
    EXPECT_EQ(drawing.bars, 20);
    EXPECT_EQ(drawing.numbers, 14);
    EXPECT_EQ(drawing.entities, 300);
    EXPECT_EQ(static_cast<long>(testkit::LiveEntities().size()), drawing.entities);
    EXPECT_CLEAN_AUDIT();

    // Every bar and its number, read entity by entity.
    CObslugaPreta rod(nullptr);
    std::vector<std::array<long, 2>> bars;
    std::set<int> numbers;
    std::vector<int> numberOf;
    for (const testkit::EntityDump& e : testkit::LiveEntities()) {
        sds_name name;
        sds_handent(e.handle.c_str(), name);
        if (!rod.IsRod(name))
            continue;
        CRodXDataParameters record;
        CSDSXDataPret().ReadRodRecord(name, "ORV_ARMAVO", record);
        bars.push_back({name[0], name[1]});
        numbers.insert(record.number);
        numberOf.push_back(record.number);
    }
    ASSERT_EQ(static_cast<int>(bars.size()), drawing.bars);
    EXPECT_EQ(rod.BarCount(), drawing.bars);
    EXPECT_EQ(rod.BarNumbers(), std::vector<int>(numbers.begin(), numbers.end()));
    EXPECT_EQ(rod.CountRods(1), drawing.numbers);
    EXPECT_EQ(rod.FindFirstNumberGap(), -1);
    std::vector<std::array<long, 2>> listed;
    for (const rods::BarEntry& entry : rod.ListBars())
        listed.push_back({entry.name[0], entry.name[1]});
    EXPECT_EQ(listed, bars);
    for (int number : {1, 2, 7, 8, 14}) {
        std::vector<std::array<long, 2>> same;
        for (size_t i = 0; i < bars.size(); ++i) {
            if (numberOf[i] == number)
                same.push_back(bars[i]);
        }
        EXPECT_EQ(rod.BarsNumbered(number), same) << number;
    }

    // A bar numbered 0 is no mark and leaves no gap: a new bar must not renumber the others.
    const size_t last = static_cast<size_t>(
        std::find(numberOf.begin(), numberOf.end(), drawing.numbers) - numberOf.begin());
    ASSERT_LT(last, bars.size());
    CRodXDataParameters record;
    CSDSXDataPret xdata;
    xdata.ReadRodRecord(bars[last].data(), "ORV_ARMAVO", record);
    record.number = 0;
    sds_name dictionary = {0, 0};
    ASSERT_EQ(xdata.ResetExtensionDictionary(bars[last].data(), dictionary), RTNORM);
    xdata.WriteRodRecord(dictionary, "ORV_ARMAVO", record);
    EXPECT_EQ(rod.CountRods(1), drawing.numbers - 1);
    EXPECT_EQ(rod.FindFirstNumberGap(), -1);
}

}  // namespace
