#include "fake_window.h"
#include "value_cursor.h"

#include <gtest/gtest.h>

using namespace tarnel;
using namespace tarnel::test;

TEST(SearchParamsTest, the_field_reader_takes_the_inclusive_range_and_paints_the_field)
{
    const double fail = failedReadValue;
    const double top = maxStandardValue;
    const struct {
        const char* text;
        double lo, hi, value;
    } rows[] = {
        {"1", 1, top, 1.0},   {"9100000", 1, top, top}, {"9100000.5", 1, top, fail}, {"0.5", 1, top, fail},
        {"", 1, top, fail},   {"x", 1, top, fail},      {"nan", 1, top, fail},       {"1e400", 1, top, fail},
        {"0", 0, 100, 0.0},   {"100", 0, 100, 100.0},   {"100.01", 0, 100, fail},    {"-1", 0, 100, fail},
    };
    for (const auto& row : rows) {
        inputsValid = true;
        FakeEdit edit(row.text);
        edit.setColor(FieldColor::Red); // left over from an earlier run
        EXPECT_EQ(readField(edit, row.lo, row.hi, NumberText(".")), row.value) << '"' << row.text << '"';
        EXPECT_EQ(edit.color(), row.value == fail ? FieldColor::Red : FieldColor::Window) << '"' << row.text << '"';
        EXPECT_EQ(inputsValid, row.value != fail) << '"' << row.text << '"';
    }
}

TEST(SearchParamsTest, defaults_give_the_target_ratio_10_within_9_5_and_10_5)
{
    FakeWindow window;
    SearchParams p = readSearchParams(window.fields(), window.list.numbers());
    EXPECT_TRUE(inputsValid);
    EXPECT_EQ(p.ratio, 10.0);
    EXPECT_EQ(p.ratioLow, 9.5);
    EXPECT_EQ(p.ratioHigh, 10.5);
    EXPECT_EQ(p.ratioOffset, 1.0);
    window.chkDivOnly.set(true);
    window.editMaxResults.setText("2.9");
    p = readSearchParams(window.fields(), window.list.numbers());
    EXPECT_EQ(p.ratioOffset, 0.0);
    EXPECT_EQ(p.ratioHigh, 10.5);
    EXPECT_EQ(p.maxResults, 2);
}

TEST(SearchParamsTest, every_field_is_read_and_painted_after_a_failure)
{
    FakeWindow window(",");
    window.editUin.setText("2,5");
    window.editTol.setText("x");
    window.editRmax.setText("");
    EXPECT_EQ(readSearchParams(window.fields(), window.list.numbers()).uin, 2.5);
    EXPECT_FALSE(inputsValid);
    EXPECT_EQ(window.editTol.color(), FieldColor::Red);
    EXPECT_EQ(window.editRmax.color(), FieldColor::Red);
    for (const FakeEdit* e : {&window.editUin, &window.editUout, &window.editRmin, &window.editRsumMin,
                              &window.editRsumMax, &window.editMaxResults})
        EXPECT_EQ(e->paints, std::vector<FieldColor>{FieldColor::Window});
}
