#include "request/divider_details.h"
#include "request/result_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

using namespace tarnel;

// Positions of 1.0, 4.7, 9.1 and 10 in the standard values, above three decades below 1.
constexpr ValueIndex r1 = 72, r47 = 88, r91 = 95, r10 = 96;

TEST(DividerDetailsTest, what_a_divider_delivers_at_the_input_voltage)
{
    const SearchParams params = readSearchParams(SearchInput(), NumberText()).params; // Uin 10, Uout 1, parts of 1 %
    const DividerDetails d = dividerDetails({0, {r91, r91, r1, r1}}, params);
    EXPECT_DOUBLE_EQ(d.output, 10.0 / 10.1);
    EXPECT_DOUBLE_EQ(d.outputError, 10.0 / 10.1 - 1.0);
    EXPECT_DOUBLE_EQ(d.current, 10.0 / 10100.0);
    EXPECT_DOUBLE_EQ(d.power[0], d.current * d.current * 9100.0);
    EXPECT_DOUBLE_EQ(d.power[2], d.current * d.current * 1000.0);
    EXPECT_DOUBLE_EQ(d.outputLow, 10.0 / (1 + 9.1 * 1.01 / 0.99));
    EXPECT_DOUBLE_EQ(d.outputHigh, 10.0 / (1 + 9.1 * 0.99 / 1.01));

    // Two in parallel share the arm's voltage: 10 k || 10 k is 5 k, so each has half the arm's power.
    const DividerDetails p = dividerDetails({6, {r47, r47, r10, r10}}, params);
    EXPECT_DOUBLE_EQ(p.figures.low, 5.0);
    EXPECT_DOUBLE_EQ(p.power[2] + p.power[3], p.current * p.current * 5000.0);
    EXPECT_DOUBLE_EQ(p.power[2], p.power[3]);

    EXPECT_EQ(detailsText({3, {r47, r47, r1, r91}}, params, NumberText(",")),
              "High arm: 4,7 k\u03a9\n"
              "Low arm: 1 k\u03a9 + 9,1 k\u03a9 = 10,1 k\u03a9\n"
              "Total: 14,8 k\u03a9, 675,7 \u00b5A at 10 V\n"
              "Output: 6,82432 V, +5,82 V (+582 %)\n"
              "Power: 2,146 mW / 456,5 \u00b5W, 4,154 mW\n"
              "Voltage: 3,176 V / 675,7 mV, 6,149 V\n"
              "Output impedance: 3,207 k\u03a9\n"
              "With 1 % parts: 6,7808 V to 6,8675 V");
}

// 3.3 / 1.1 is 2.9999999999999996 in binary: such dividers meet Uout in
// decimal, their lines say d 0.00, and the details' figures and the table
// rows of csv, json and Copy as table no less.
TEST(DividerDetailsTest, a_divider_that_meets_uout_in_decimal_is_off_by_nothing)
{
    const auto column = [](std::string_view name) {
        return static_cast<std::size_t>(std::ranges::find(resultColumns, name) - resultColumns.begin());
    };
    for (const auto& [uin, uout] : {std::pair{"4", "1"}, {"12", "3.3"}, {"7.2", "1.1"}, {"6.25", "1"}}) {
        SearchInput input = test::inputWith({{Field::Uin, uin}, {Field::Uout, uout}, {Field::Tol, "0"}});
        input.highShapes = input.lowShapes = ArmShapes::every();
        const test::TestRun run = test::runInput(input);
        const WrittenValues written(run.list.values(), NumberText());
        std::size_t offInBinary = 0;
        for (std::size_t i = 0; i < run.list.size(); ++i) {
            const ResultEntry entry = run.list.entry(i);
            offInBinary += entry.deviationPercent != 0.0 ? 1 : 0;
            const ResultRow row = resultRow(entry.divider, run.reading.params, written);
            for (const char* name : {"deviation_percent", "output_error_mv", "output_error_percent"})
                EXPECT_EQ(row[column(name)].number, 0.0) << run.list.line(i) << ": " << name;
        }
        EXPECT_GT(offInBinary, 0u) << uin << " / " << uout;
    }
}

// The schematic's texts: each resistor as marked on the part, with its
// voltage and power; the chain's top, the tap and the current.
TEST(DividerDetailsTest, the_schematic_names_each_part_as_marked_and_each_node_with_its_voltage)
{
    SearchParams params = readSearchParams(SearchInput(), NumberText()).params; // Uin 10, Uout 1
    const DividerSchematic s = dividerSchematic({3, {r47, r47, r1, r91}}, params, NumberText());
    EXPECT_EQ(s.topName, "Uin");
    EXPECT_EQ(s.topVoltage, "10 V");
    EXPECT_EQ(s.tapName, "Uout");
    EXPECT_EQ(s.tapVoltage, "6.82432 V");
    EXPECT_EQ(s.current, "675.7 \u00b5A");
    EXPECT_EQ(s.high.kind, ArmKind::Single);
    ASSERT_EQ(s.high.resistors.size(), 1u);
    EXPECT_EQ(s.high.resistors[0].marking, "4k7");
    EXPECT_EQ(s.high.resistors[0].voltage, "3.176 V");
    EXPECT_EQ(s.high.resistors[0].power, "2.146 mW");
    EXPECT_EQ(s.low.kind, ArmKind::Series);
    ASSERT_EQ(s.low.resistors.size(), 2u);
    EXPECT_EQ(s.low.resistors[0].marking, "1k");
    EXPECT_EQ(s.low.resistors[1].marking, "9k1");
    EXPECT_EQ(s.low.resistors[1].voltage, "6.149 V");

    // Two in parallel, side by side, share the arm's voltage.
    const DividerSchematic p = dividerSchematic({6, {r47, r47, r10, r10}}, params, NumberText(","));
    EXPECT_EQ(p.high.kind, ArmKind::Parallel);
    ASSERT_EQ(p.low.resistors.size(), 2u);
    EXPECT_EQ(p.low.resistors[0].voltage, p.low.resistors[1].voltage);
    EXPECT_EQ(p.low.resistors[0].marking, "10k");
    EXPECT_EQ(p.tapVoltage.find('.'), std::string::npos); // figures in the separator given, markings as on the part

    // H/L mode: the chain H + L still lies across Uin; the tap is where L's share puts it.
    params.ratioOffset = 0.0;
    const DividerSchematic hl = dividerSchematic({0, {r91, r91, r1, r1}}, params, NumberText());
    EXPECT_EQ(hl.topVoltage, "10 V");
    EXPECT_EQ(hl.tapVoltage, "990.099 mV");

    // Feedback use: the chain lies across the regulated output and the tap is the pin at the reference.
    params.ratioOffset = 1.0;
    params.use = DividerUse::Feedback;
    params.uin = 5.0;
    params.uout = 0.8;
    const DividerSchematic fb = dividerSchematic({0, {r91, r91, r1, r1}}, params, NumberText());
    EXPECT_EQ(fb.topName, "Vout");
    EXPECT_EQ(fb.topVoltage, "8.08 V");
    EXPECT_EQ(fb.tapName, "FB = Vref");
    EXPECT_EQ(fb.tapVoltage, "800 mV");
}
