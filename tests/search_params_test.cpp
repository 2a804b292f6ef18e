#include "test_support.h"

#include <gtest/gtest.h>

using namespace tarnel;

TEST(SearchParamsTest, the_field_reader_takes_the_inclusive_range_and_says_why_it_fails)
{
    using S = FieldStatus;
    const double top = maxStandardValue;
    const struct {
        const char* text;
        double lo, hi;
        FieldStatus status;
        double value;
    } rows[] = {
        {"1", 1, top, S::Ok, 1.0},           {"9100000", 1, top, S::Ok, top},     {"9100000.5", 1, top, S::OutOfRange, -1},
        {"0.5", 1, top, S::OutOfRange, -1},  {"", 1, top, S::NotANumber, -1},    {"x", 1, top, S::NotANumber, -1},
        {"nan", 1, top, S::NotANumber, -1},  {"1e400", 1, top, S::NotANumber, -1}, {"0", 0, 100, S::Ok, 0.0},
        {"100", 0, 100, S::Ok, 100.0},       {"100.01", 0, 100, S::OutOfRange, -1}, {"-1", 0, 100, S::OutOfRange, -1},
    };
    for (const auto& row : rows) {
        inputsValid = true;
        PlainEdit edit(row.text);
        EXPECT_EQ(readField(edit, row.lo, row.hi, NumberText(".")), row.value) << '"' << row.text << '"';
        EXPECT_EQ(edit.status(), row.status) << '"' << row.text << '"';
        EXPECT_EQ(inputsValid, row.status == S::Ok) << '"' << row.text << '"';
    }
}

TEST(SearchParamsTest, defaults_give_the_target_ratio_10_within_9_5_and_10_5)
{
    PlainWindow window;
    SearchParams p = window.start()->params;
    EXPECT_EQ(p.ratio, 10.0);
    EXPECT_EQ(p.ratioLow, 9.5);
    EXPECT_EQ(p.ratioHigh, 10.5);
    EXPECT_EQ(p.ratioOffset, 1.0);
    window.check("chkDivOnly").set(true);
    window.edit("editMaxResults").setText("2.9");
    p = window.start()->params;
    EXPECT_EQ(p.ratioOffset, 0.0);
    EXPECT_EQ(p.ratioHigh, 10.5);
    EXPECT_EQ(p.maxResults, 2);
}

TEST(SearchParamsTest, every_field_is_read_and_shown_after_a_failure)
{
    PlainWindow window(NumberText(","));
    window.edit("editUin").setText("2,5");
    window.edit("editTol").setText("x");
    window.edit("editRmax").setText("");
    EXPECT_FALSE(window.start().has_value());
    EXPECT_FALSE(inputsValid);
    for (const NumberField& field : numberFields) {
        const bool bad = field.name == "editTol" || field.name == "editRmax";
        EXPECT_EQ(window.edit(field.name).status(), bad ? FieldStatus::NotANumber : FieldStatus::Ok) << field.name;
    }
}
