#include "result_writers.h"

#include "cli_test_support.h"

#include <gtest/gtest.h>

#include <charconv>
#include <optional>
#include <sstream>

using namespace tarnel;
using namespace tarnel::cli;
using namespace tarnel::cli::test;

namespace {

std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

// The number a cell holds if it is written plainly: digits, at most one
// period, perhaps a sign; no exponent, no locale's comma.
std::optional<double> plainNumber(std::string_view cell)
{
    if (cell.empty() || cell.find_first_not_of("-0123456789.") != std::string_view::npos)
        return std::nullopt;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    if (ec != std::errc() || end != cell.data() + cell.size())
        return std::nullopt;
    return value;
}

double arm(const std::string& shape, double first, double second)
{
    if (shape == "ser")
        return first + second;
    if (shape == "par")
        return 1.0 / (1.0 / first + 1.0 / second);
    return first;
}

struct RowCase {
    const char* name;
    std::size_t combination;
    std::vector<double> resistors; // in line order
    double ratioOffset;
    const char* high;
    const char* low;
};

void PrintTo(const RowCase& row, std::ostream* os) { *os << row.name; }

// What a row must hold, worked out here from the resistors alone.
struct ExpectedRow {
    std::vector<std::optional<double>> cells; // high_r1 .. low_r2
    double ratio;
    double total;
};

ExpectedRow expectedRow(const RowCase& c)
{
    const std::size_t highCount = std::string(c.high) == "1" ? 1 : 2;
    const std::size_t lowCount = std::string(c.low) == "1" ? 1 : 2;
    const auto at = [&](std::size_t i) { return i < c.resistors.size() ? c.resistors[i] : 0.0; };
    ExpectedRow e;
    e.cells = {at(0), highCount == 2 ? std::optional<double>(at(1)) : std::nullopt, at(highCount),
               lowCount == 2 ? std::optional<double>(at(highCount + 1)) : std::nullopt};
    const double high = arm(c.high, at(0), at(1));
    const double low = arm(c.low, at(highCount), at(highCount + 1));
    e.ratio = c.ratioOffset + high / low;
    // The chosen resistors add up exactly in any order.
    e.total = high + low;
    return e;
}

const double deviation = -0.123456789012345;

std::string written(OutputFormat format, const RowCase& c)
{
    ResultList list;
    std::vector<double> values = c.resistors;
    values.push_back(deviation);
    switch (values.size()) {
    case 3:
        list.addResult(c.combination, {values[0], values[1], values[2]});
        break;
    case 4:
        list.addResult(c.combination, {values[0], values[1], values[2], values[3]});
        break;
    default:
        list.addResult(c.combination, {values[0], values[1], values[2], values[3], values[4]});
        break;
    }
    std::ostringstream out;
    writeResults(format, list, c.ratioOffset, out);
    return out.str();
}

class ResultRowTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(ResultRowTest, csv_row_holds_shapes_resistors_and_figures_that_read_back_exactly)
{
    const RowCase& c = GetParam();
    const ExpectedRow e = expectedRow(c);
    const auto lines = linesOf(written(OutputFormat::Csv, c));
    ASSERT_EQ(lines.size(), 2u);
    const auto cells = split(lines[1], ',');
    ASSERT_EQ(cells.size(), resultColumns.size()) << lines[1];
    EXPECT_EQ(cells[0], std::to_string(c.combination));
    EXPECT_EQ(cells[1], c.high);
    EXPECT_EQ(cells[2], c.low);
    for (std::size_t i = 0; i < 4; ++i) {
        if (e.cells[i])
            EXPECT_EQ(plainNumber(cells[3 + i]), e.cells[i]) << resultColumns[3 + i] << " " << cells[3 + i];
        else
            EXPECT_EQ(cells[3 + i], "") << resultColumns[3 + i];
    }
    EXPECT_EQ(plainNumber(cells[7]), e.ratio) << cells[7];
    EXPECT_EQ(plainNumber(cells[8]), deviation) << cells[8];
    EXPECT_EQ(plainNumber(cells[9]), e.total) << cells[9];
}

TEST_P(ResultRowTest, json_object_has_the_csv_fields_with_null_for_a_missing_resistor)
{
    const RowCase& c = GetParam();
    const ExpectedRow e = expectedRow(c);
    const auto lines = linesOf(written(OutputFormat::Json, c));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "[");
    EXPECT_EQ(lines[2], "]");
    const std::string& object = lines[1];
    ASSERT_TRUE(object.starts_with("{") && object.ends_with("}")) << object;
    const auto members = split(std::string_view(object).substr(1, object.size() - 2), ',');
    ASSERT_EQ(members.size(), resultColumns.size()) << object;
    std::vector<std::string> values;
    for (std::size_t i = 0; i < members.size(); ++i) {
        std::string key = "\"";
        key.append(resultColumns[i]).append("\":");
        ASSERT_TRUE(members[i].starts_with(key)) << members[i];
        values.push_back(members[i].substr(key.size()));
    }
    EXPECT_EQ(values[0], std::to_string(c.combination));
    EXPECT_EQ(values[1], std::string("\"") + c.high + "\"");
    EXPECT_EQ(values[2], std::string("\"") + c.low + "\"");
    for (std::size_t i = 0; i < 4; ++i) {
        if (e.cells[i])
            EXPECT_EQ(plainNumber(values[3 + i]), e.cells[i]) << values[3 + i];
        else
            EXPECT_EQ(values[3 + i], "null");
    }
    EXPECT_EQ(plainNumber(values[7]), e.ratio);
    EXPECT_EQ(plainNumber(values[8]), deviation);
    EXPECT_EQ(plainNumber(values[9]), e.total);
}

// 1.1 * 100 is the standard value 110.00000000000001, which must not come out as 110.
const double standard110 = 1.1 * 100.0;

INSTANTIATE_TEST_SUITE_P(
    EveryCombination, ResultRowTest,
    ::testing::Values(RowCase{"single_single", 0, {9.1, 1.0}, 1.0, "1", "1"},
                      RowCase{"single_single_high_over_low", 0, {9.1, 1.0}, 0.0, "1", "1"},
                      RowCase{"series_single", 1, {47.0, 1.0, 5.1}, 1.0, "ser", "1"},
                      RowCase{"parallel_single", 2, {standard110, 33.0, 2.2}, 1.0, "par", "1"},
                      RowCase{"single_series", 3, {1000000.0, 100000.0, 10000.0}, 1.0, "1", "ser"},
                      RowCase{"single_parallel", 4, {68.0, 12.0, 18.0}, 0.0, "1", "par"},
                      RowCase{"series_series", 5, {20.0, 1.0, 2.0, 1.0}, 1.0, "ser", "ser"},
                      RowCase{"parallel_parallel", 6, {30.0, 30.0, 3.3, 3.9}, 1.0, "par", "par"},
                      RowCase{"series_parallel", 7, {9100000.0, 1.0, 1.3, 1.5}, 1.0, "ser", "par"},
                      RowCase{"parallel_series", 8, {4.7, 4.7, standard110, 1.2}, 0.0, "par", "ser"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultWritersTest, text_writes_the_lists_lines_including_messages)
{
    ResultList list(NumberText(","));
    list.addMessage("specValsInit: bad chk->State");
    list.addResult(5, {20.0, 1.0, 2.0, 1.0, 0.5});
    std::ostringstream out;
    writeResults(OutputFormat::Text, list, 1.0, out);
    EXPECT_EQ(out.str(), "specValsInit: bad chk->State\n20,00 + 1,00   /  2,00 + 1,00   d 0,50\n");
}

TEST(ResultWritersTest, csv_and_json_pass_over_message_lines)
{
    ResultList list;
    list.addMessage("a message");
    list.addResult(0, {9.1, 1.0, 1.0});
    list.addMessage("another");
    std::ostringstream csv;
    writeResults(OutputFormat::Csv, list, 1.0, csv);
    EXPECT_EQ(linesOf(csv.str()).size(), 2u) << csv.str();
    std::ostringstream json;
    writeResults(OutputFormat::Json, list, 1.0, json);
    EXPECT_EQ(linesOf(json.str()).size(), 3u) << json.str();
    EXPECT_EQ(json.str().find("message"), std::string::npos);
}

} // namespace
