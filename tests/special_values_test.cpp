#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace tarnel;

TEST(SpecialValuesTest, a_value_is_classified_by_the_slots)
{
    using C = SpecialValueClass;
    constexpr double no = unusedSpecialValue;
    const double standard110 = (*e24Values())[5 * 24 + 1]; // 1.1 * 100, one last place above 110
    const struct {
        std::array<double, 4> listed, excluded;
        double x;
        SpecialValueClass expected;
    } rows[] = {
        {{no, no, no, no}, {no, no, 18, no}, 18.0, C::Excluded}, {{no, no, no, no}, {no, no, 18, no}, 2.0, C::Ok},
        {{2, 3, no, no}, {no, no, no, no}, 3.0, C::Ok},          {{2, 3, no, no}, {no, no, no, no}, 4.7, C::Unlisted},
        {{no, 27, no, no}, {no, no, no, 27}, 27.0, C::Excluded}, // exclusion wins
        {{2.5, no, no, no}, {no, no, no, no}, 2.4, C::Unlisted},
        {{110, no, no, no}, {no, no, no, no}, standard110, C::Ok},
        {{no, no, no, no}, {8200000, no, no, no}, 8199999.999999999, C::Excluded},
    };
    for (const auto& row : rows)
        EXPECT_EQ(specValClassify({row.listed, row.excluded}, row.x), row.expected) << row.x << " row " << (&row - rows);
}

TEST(SpecialValueMatchTest, every_value_of_every_series_is_matched_by_its_typed_number_and_nothing_else)
{
    for (std::size_t s = 0; s < seriesTable.size(); ++s) {
        const ValueSet& values = *seriesValues(s);
        for (std::size_t i = 0; i < values.size(); ++i) {
            // Three significant digits, as a part is marked.
            std::array<char, 32> text{};
            std::snprintf(text.data(), text.size(), "%.3g", values[i]);
            const double typed = std::strtod(text.data(), nullptr);
            for (std::size_t j = 0; j < values.size(); ++j)
                ASSERT_EQ(specialValueMatches(typed, values[j]), i == j) << typed << " vs " << values[j];
        }
    }
}

TEST(SpecialValuesTest, a_slot_is_loaded_by_its_checkbox_state)
{
    constexpr double no = unusedSpecialValue;
    const double fail = failedReadValue;
    using S = FieldStatus;
    const struct {
        CheckState state;
        const char* text;
        double listed, excluded;
        bool valid;
        FieldStatus shown;
    } rows[] = {
        {CheckState::Unchecked, "18", no, 18, true, S::Ok},
        {CheckState::Checked, "18", 18, no, true, S::Ok},
        {CheckState::Grayed, "abc", no, no, true, S::NotRead},
        {CheckState::Checked, "0.5R", fail, no, false, S::OutOfRange},
        {CheckState::Unknown, "18", 99, 99, false, S::NotRead}, // the slot is left as it was
    };
    for (const auto& row : rows) {
        InputReading reading;
        reading.params.specialValues.listedValues[1] = reading.params.specialValues.excludedValues[1] = 99;
        specValsInit({row.state, row.text}, 1, reading, NumberText());
        const auto where = ::testing::Message() << "state " << static_cast<int>(row.state);
        EXPECT_EQ(reading.params.specialValues.listedValues[1], row.listed) << where;
        EXPECT_EQ(reading.params.specialValues.excludedValues[1], row.excluded) << where;
        EXPECT_EQ(reading.valid, row.valid) << where;
        EXPECT_EQ(reading.specialSlots[1].status, row.shown) << where;
        EXPECT_EQ(reading.listMessages.size(), row.state == CheckState::Unknown ? 1u : 0u) << where;
    }
}
