#include "calc_test.h"
#include "divider.h"

using namespace tarnel;
using namespace tarnel::test;

namespace {

class DividerSearchTest : public CalcTest {
protected:
    std::vector<std::string> run()
    {
        StartWindow w = window.startWindow();
        runStart(w);
        return window.lines();
    }
    FakeWindow window;
};

TEST_F(DividerSearchTest, result_limit_shows_at_most_the_limit)
{
    window.editMaxResults.setText("1");
    EXPECT_EQ(run().size(), 1u);
    window.editMaxResults.setText("23");
    EXPECT_EQ(run().size(), 23u);
    window.editMaxResults.setText("24");
    EXPECT_EQ(run().size(), 24u);
}

TEST_F(DividerSearchTest, low_series_pairs_loop_second_value_outside)
{
    window.chkLo1R.set(false);
    window.chkLo2Rser.set(true);
    window.editMaxResults.setText("3");
    EXPECT_EQ(run(), (std::vector<std::string>{"18.00   /  1.00 + 1.00   d 0.00", "18.00   /  1.00 + 1.10   d -4.29",
                                               "20.00   /  1.10 + 1.10   d 0.91"}));
    window.editMaxResults.setText("4");
    EXPECT_EQ(run().back(), "20.00   /  1.00 + 1.20   d 0.91") << "the smaller second value comes first";
}

TEST_F(DividerSearchTest, h_over_l_mode_starts_at_10_over_1)
{
    window.chkDivOnly.set(true);
    EXPECT_EQ(run().front(), "10.00   /  1.00   d 0.00");
}

TEST_F(DividerSearchTest, no_resistor_above_rmax_even_when_rmin_is_above_it)
{
    window.editRmin.setText("100");
    window.editRmax.setText("10");
    window.editTol.setText("100");
    window.editRsumMin.setText("1");
    window.editRsumMax.setText("9100000");
    window.chkDivOnly.set(true);
    EXPECT_TRUE(run().empty());
}

TEST_F(DividerSearchTest, the_floor_of_rmin_below_rmin_stays_in_the_search)
{
    window.editRmin.setText("1.55"); // floor 1.5
    window.editRmax.setText("1.5");
    window.editTol.setText("0");
    window.editUin.setText("2");
    window.editRsumMin.setText("1");
    EXPECT_EQ(run(), std::vector<std::string>{"1.50   /  1.50   d 0.00"});
}

TEST_F(DividerSearchTest, each_unordered_pair_is_tried_once_and_equal_values_count)
{
    window.chkHi1R.set(false);
    window.chkHi2Rser.set(true);
    window.editRmin.setText("1");
    window.editRmax.setText("1.1");
    window.editUin.setText("3");
    window.editTol.setText("100");
    window.editRsumMin.setText("1");
    window.editMaxResults.setText("100");
    EXPECT_EQ(run(), (std::vector<std::string>{"1.00 + 1.00   /  1.00   d 0.00", "1.00 + 1.00   /  1.10   d -6.06",
                                               "1.00 + 1.10   /  1.00   d 3.33", "1.00 + 1.10   /  1.10   d -3.03",
                                               "1.10 + 1.10   /  1.00   d 6.67", "1.10 + 1.10   /  1.10   d 0.00"}));
}

TEST(DividerArithmeticTest, a_parallel_arm_enters_the_total_with_its_effective_resistance)
{
    const DividerFigures f = dividerFigures(armCombinations[2], 1.0, {10, 10, 5.1, 0});
    EXPECT_EQ(f.high, 5.0);
    EXPECT_DOUBLE_EQ(f.total, 10.1);
}

TEST(DividerArithmeticTest, series_low_arms_add_to_the_running_total_one_at_a_time)
{
    // (1e16 + 1) + 1 loses both ones; 1e16 + (1 + 1) keeps them.
    EXPECT_EQ(dividerFigures(armCombinations[3], 1.0, {1e16, 1, 1, 0}).total, 1e16);
    EXPECT_EQ(dividerFigures(armCombinations[8], 1.0, {2e16, 2e16, 1, 1, }).total, 1e16 + 2);
}

TEST(DividerArithmeticTest, parallel_is_the_reciprocal_of_summed_reciprocals)
{
    // Where the two textbook forms differ in the last bit.
    bool differs = false;
    for (double a = 1.0; a < 50 && !differs; a += 0.1)
        for (double b = a; b < 50 && !differs; b += 0.3)
            differs = parallel(a, b) != a * b / (a + b);
    ASSERT_TRUE(differs);
    EXPECT_EQ(parallel(3.0, 6.0), 1.0 / (1.0 / 3.0 + 1.0 / 6.0));
}

} // namespace
