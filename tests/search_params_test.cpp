#include "calc_test.h"
#include "value_cursor.h"

using namespace tarnel;
using namespace tarnel::test;

namespace {

struct FieldCase {
    const char* name;
    const char* text;
    double lo;
    double hi;
    double value; // failedReadValue when the read fails
};

// Test output names the row, not its bytes.
void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }

class ReadFieldTest : public CalcTestWithParam<FieldCase> {};

TEST_P(ReadFieldTest, reads_within_the_inclusive_range_or_turns_red)
{
    const FieldCase& c = GetParam();
    FakeEdit edit(c.text);
    edit.color = FieldColor::Red; // left over from an earlier run
    const double value = readField(edit, c.lo, c.hi, NumberText("."));
    const bool ok = c.value != failedReadValue;
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(edit.color, ok ? FieldColor::Window : FieldColor::Red);
    EXPECT_EQ(inputsValid, ok);
}

constexpr double fail = failedReadValue;
constexpr double top = 9100000.0;

INSTANTIATE_TEST_SUITE_P(
    Fields, ReadFieldTest,
    ::testing::Values(FieldCase{"lowest_value", "1", 1, top, 1.0}, FieldCase{"highest_value", "9100000", 1, top, top},
                      FieldCase{"just_above_the_top", "9100000.5", 1, top, fail},
                      FieldCase{"below_one", "0.5", 1, top, fail}, FieldCase{"empty", "", 1, top, fail},
                      FieldCase{"letters", "x", 1, top, fail}, FieldCase{"infinity", "inf", 1, top, fail},
                      FieldCase{"not_a_number", "nan", 1, top, fail},
                      FieldCase{"tolerance_zero", "0", 0, 100, 0.0}, FieldCase{"tolerance_100", "100", 0, 100, 100.0},
                      FieldCase{"tolerance_above_100", "100.01", 0, 100, fail},
                      FieldCase{"tolerance_negative", "-1", 0, 100, fail}),
    [](const auto& info) { return std::string(info.param.name); });

class ReadSearchParamsTest : public CalcTest {
protected:
    SearchParams read() { return readSearchParams(window.fields(), window.list.numbers()); }
    FakeWindow window;
};

TEST_F(ReadSearchParamsTest, defaults_give_target_10_within_9_5_and_10_5)
{
    const SearchParams p = read();
    EXPECT_TRUE(inputsValid);
    EXPECT_EQ(p.ratio, 10.0);
    EXPECT_EQ(p.ratioLow, 9.5);
    EXPECT_EQ(p.ratioHigh, 10.5);
    EXPECT_EQ(p.ratioOffset, 1.0);
    EXPECT_EQ(p.tolerance, 0.05);
    EXPECT_EQ(p.maxResults, 200);
    EXPECT_TRUE(p.useHi1R && p.useLo1R);
    EXPECT_FALSE(p.useHi2Rser || p.useHi2Rpar || p.useLo2Rser || p.useLo2Rpar);
}

TEST_F(ReadSearchParamsTest, the_ratio_box_only_drops_the_offset)
{
    window.chkDivOnly.set(true);
    const SearchParams p = read();
    EXPECT_EQ(p.ratioOffset, 0.0);
    EXPECT_EQ(p.ratioLow, 9.5);
    EXPECT_EQ(p.ratioHigh, 10.5);
}

TEST_F(ReadSearchParamsTest, tolerance_zero_closes_the_window_and_100_doubles_it)
{
    window.editTol.setText("0");
    SearchParams p = read();
    EXPECT_EQ(p.ratioLow, p.ratio);
    EXPECT_EQ(p.ratioHigh, p.ratio);
    window.editTol.setText("100");
    p = read();
    EXPECT_EQ(p.ratioLow, 0.0);
    EXPECT_EQ(p.ratioHigh, 20.0);
}

TEST_F(ReadSearchParamsTest, the_result_limit_is_truncated)
{
    window.editMaxResults.setText("2.9");
    EXPECT_EQ(read().maxResults, 2);
    window.editMaxResults.setText("9100000");
    EXPECT_EQ(read().maxResults, 9100000);
    for (const char* bad : {"0", "0.5"}) {
        window.editMaxResults.setText(bad);
        read();
        EXPECT_FALSE(inputsValid) << bad;
    }
}

TEST_F(ReadSearchParamsTest, every_field_is_read_and_painted_after_a_failure)
{
    window.editTol.setText("x");
    window.editRmax.setText("");
    read();
    EXPECT_FALSE(inputsValid);
    EXPECT_EQ(window.editTol.color, FieldColor::Red);
    EXPECT_EQ(window.editRmax.color, FieldColor::Red);
    for (const FakeEdit* e : {&window.editUin, &window.editUout, &window.editRmin, &window.editRsumMin,
                              &window.editRsumMax, &window.editMaxResults}) {
        EXPECT_EQ(e->paints, std::vector<FieldColor>{FieldColor::Window});
    }
}

TEST_F(ReadSearchParamsTest, a_corrected_field_loses_its_red_and_validity_is_reset)
{
    window.editUout.setText("0.5");
    read();
    EXPECT_FALSE(inputsValid);
    window.editUout.setText("1");
    read();
    EXPECT_TRUE(inputsValid);
    EXPECT_EQ(window.editUout.color, FieldColor::Window);
}

TEST_F(ReadSearchParamsTest, uout_above_uin_is_no_error)
{
    window.editUin.setText("1");
    window.editUout.setText("10");
    const SearchParams p = read();
    EXPECT_TRUE(inputsValid);
    EXPECT_EQ(p.ratio, 0.1);
}

TEST_F(ReadSearchParamsTest, comma_locale_reads_comma_decimals)
{
    FakeWindow comma(",");
    comma.editUin.setText("2,5");
    const SearchParams p = readSearchParams(comma.fields(), comma.list.numbers());
    EXPECT_TRUE(inputsValid);
    EXPECT_EQ(p.uin, 2.5);
}

} // namespace
