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
        {"nan", 1, top, S::NotANumber, -1},  {"1e400", 1, top, S::OutOfRange, -1}, {"0", 0, 100, S::Ok, 0.0},
        {"100", 0, 100, S::Ok, 100.0},       {"100.01", 0, 100, S::OutOfRange, -1}, {"-1", 0, 100, S::OutOfRange, -1},
        // Too small for a double is out of range too; the spaces datasheets print are blanks.
        {"1e-999", 0, 100, S::OutOfRange, -1}, {"-1e999", 0, 100, S::OutOfRange, -1}, {"1e99x", 0, 100, S::NotANumber, -1},
        {"\u00a012\u2009", 0, 100, S::Ok, 12.0}, {"\u202f5", 0, 100, S::Ok, 5.0}, {"1\u200b", 0, 100, S::NotANumber, -1},
    };
    for (const auto& row : rows) {
        const FieldReading reading = readNumber(row.text, {row.lo, row.hi}, NumberText("."));
        EXPECT_EQ(reading.value, row.value) << '"' << row.text << '"';
        EXPECT_EQ(reading.status, row.status) << '"' << row.text << '"';
    }
}

TEST(SearchParamsTest, defaults_give_the_target_ratio_10_within_9_5_and_10_5)
{
    SearchInput input;
    SearchParams p = readSearchParams(input, NumberText()).params;
    EXPECT_EQ(p.ratio(), 10.0);
    EXPECT_EQ(p.ratioLow(), 9.5);
    EXPECT_EQ(p.ratioHigh(), 10.5);
    EXPECT_EQ(p.ratioOffset, 1.0);
    input.highOverLowOnly = true;
    input.text(Field::MaxResults) = "2.9";
    p = readSearchParams(input, NumberText()).params;
    EXPECT_EQ(p.ratioOffset, 0.0);
    EXPECT_EQ(p.ratioHigh(), 10.5);
    EXPECT_EQ(p.maxResults, 2);
}

TEST(SearchParamsTest, every_field_is_read_and_judged_after_a_failure)
{
    const SearchInput input = test::inputWith({{Field::Uin, "2,5"}, {Field::Tol, "x"}, {Field::Rmax, ""}});
    const InputReading reading = readSearchParams(input, NumberText(","));
    EXPECT_FALSE(reading.valid);
    EXPECT_EQ(reading.params.uin, 2.5);
    for (const NumberField& field : numberFields) {
        const bool bad = field.field == Field::Tol || field.field == Field::Rmax;
        // A bound left empty bounds nothing and is not read.
        const FieldStatus fine = field.mayBeEmpty ? FieldStatus::NotRead : FieldStatus::Ok;
        EXPECT_EQ(reading.verdict(field.field).status, bad ? FieldStatus::NotANumber : fine) << field.caption;
    }
    EXPECT_EQ(reading.verdict(Field::Tol).problem, "\"x\" is not a number in the range 0 to 100");
    EXPECT_EQ(reading.verdict(Field::Rmax).problem, "\"\" is not a number in the range 0,001 to 9100000");
}
