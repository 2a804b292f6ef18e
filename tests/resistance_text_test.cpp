#include "text/resistance_text.h"

#include <gtest/gtest.h>

using namespace tarnel;

// Values in kilo-ohms, marked as on the part.
TEST(ResistanceTextTest, a_value_is_marked_as_on_the_part)
{
    EXPECT_EQ(resistorMarking(4.7), "4k7");
    EXPECT_EQ(resistorMarking(0.24), "240R");
    EXPECT_EQ(resistorMarking(1000.0), "1M");
    EXPECT_EQ(resistorMarking(3.32), "3k32");
    EXPECT_EQ(resistorMarking(1500.0), "1M5");
    EXPECT_EQ(resistorMarking(10.0), "10k");
    EXPECT_EQ(resistorMarking(100.0), "100k");
    EXPECT_EQ(resistorMarking(0.001), "1R");
    EXPECT_EQ(resistorMarking(0.0475), "47R5");
    EXPECT_EQ(resistorMarking(0.00047), "R47");
    EXPECT_EQ(resistorMarking(0.0), "0R");
    EXPECT_EQ(resistorMarking(9100.0), "9M1");
    EXPECT_EQ(resistorMarking(0.9999996), "1k");   // rounded to six digits before the multiplier is chosen
    EXPECT_EQ(resistorMarking(2.2 * 3.0), "6k6"); // a value off in its last bit is marked as it is meant
}

// Every marking reads back, through the parser the fields and stock files use, as its value.
TEST(ResistanceTextTest, a_marking_reads_back_as_its_value)
{
    for (const double kiloOhms : {0.001, 0.0047, 0.0475, 0.24, 1.0, 3.32, 4.7, 10.0, 49.9, 220.0, 1000.0, 9100.0}) {
        const auto read = parseResistance(resistorMarking(kiloOhms), NumberText());
        ASSERT_TRUE(read.has_value()) << resistorMarking(kiloOhms);
        EXPECT_NEAR(*read, kiloOhms, kiloOhms * 1e-12) << resistorMarking(kiloOhms);
    }
}
