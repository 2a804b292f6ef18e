#include "values/stock_file.h"
#include "text/resistance_text.h"
#include "values/value_set.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

using namespace tarnel;

namespace {

std::vector<double> valuesOf(const StockReading& reading)
{
    if (!reading.values)
        return {};
    return {reading.values->values().begin(), reading.values->values().end()};
}

std::string temporaryFile(const std::string& name, const std::string& content)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

} // namespace

// One reader: a field and a stock file's line read a resistance alike in
// either locale ('|' its separator); below 1 Ω a field refuses it and a file counts it.
TEST(StockFileTest, a_resistance_reads_alike_in_a_field_and_a_stock_file_in_either_locale)
{
    constexpr double below = -2, refused = -3;
    const std::pair<const char*, double> rows[] = {
        {"4k7", 4.7},      {" 4K7 ", 4.7},   {"240R", 0.24},   {"1M5", 1500},    {"1R0", 0.001},  {"2|2k", 2.2},
        {"470 \u03a9", 0.47}, {"47 Ohms", 0.047}, {"10 k", 10},  {"4|7", 4.7},     {"1e3", 1000},   {"0R", below},
        {"R47", below},    {"4k7k", refused}, {"1e3k", refused}, {"k", refused},   {"4k-7", refused}, {"nan", refused},
        {"10 pF", refused}, {"\u03a9", refused}, {"1||5", refused},
        // The ohm sign is the Greek omega; the spaces of datasheets are spaces.
        {"1\u2126", 0.001}, {"10\u2009k", 10}, {"10\u00a0k\u03a9", 10}, {"4\u202fk7", refused},
        {"\u00a04k7\u202f", 4.7}, {"10\u200bk", refused}};
    for (const char* separator : {".", ","}) {
        for (const auto& [text, kiloOhms] : rows) {
            std::string typed = text;
            std::replace(typed.begin(), typed.end(), '|', *separator);
            const NumberText numbers(separator);
            const InputReading field = readSearchParams(test::inputWith({{Field::Rmax, typed.c_str()}}), numbers);
            const StockReading file = parseStock(typed, "drawer.txt", numbers);
            EXPECT_EQ(field.verdict(Field::Rmax).status, kiloOhms == refused ? FieldStatus::NotANumber
                                                         : kiloOhms == below ? FieldStatus::OutOfRange
                                                                             : FieldStatus::Ok) << typed;
            EXPECT_EQ(field.params.rMax, kiloOhms >= 0 ? kiloOhms : failedReadValue) << typed;
            EXPECT_EQ(valuesOf(file), kiloOhms >= 0 ? std::vector{kiloOhms} : std::vector<double>{}) << typed;
            EXPECT_EQ(file.problem.starts_with("line 1"), kiloOhms == refused) << typed;
        }
    }
}

// The marking the lines write reads back as the very resistance, for every
// series value at every decade a field allows.
TEST(StockFileTest, a_value_written_as_marked_is_the_part_and_reads_back_unchanged)
{
    const std::pair<double, const char*> rows[] = {{0.24, "240R"}, {4.7, "4k7"}, {1000, "1M"}, {0.0033, "3R3"},
                                                   {12.4, "12k4"}, {0.001, "1R"}, {1500, "1M5"}, {9100000, "9100M"},
                                                   {0.0475, "47R5"}, {100, "100k"}, {0.00047, "R47"}};
    for (const auto& [kiloOhms, marked] : rows) {
        std::string text;
        appendMarkedValue(text, kiloOhms);
        EXPECT_EQ(text, marked);
    }
    const NumberText numbers(".");
    for (const double value : seriesValues(seriesIndex("E192").value())->values()) {
        for (const double decade : {1e-3, 1e-2, 0.1, 1.0, 10.0, 100.0, 1e3, 1e4, 1e5, 1e6}) {
            std::string text;
            appendMarkedValue(text, value * decade);
            EXPECT_DOUBLE_EQ(parseResistance(text, numbers).value_or(0), value * decade) << text;
        }
    }
}

TEST(StockFileTest, a_stock_is_sorted_once_each_and_a_bad_line_is_named_by_its_number)
{
    const NumberText period(".", NumberText::Period::AlsoAccepted);
    const struct {
        std::string text;
        std::vector<double> values;
        std::string problem;
        std::size_t outsideRange = 0;
    } rows[] = {
        {"\xEF\xBB\xBF# drawer 3\r\n10k\r\n\r\n4k7  # metal film\r\n4.7\n1\n", {1, 4.7, 10}, ""},
        {"4.7\n4.700000000001\n4.8\n", {4.7, 4.8}, ""}, // one resistor written twice in decimal
        {"100R\n0R\n1k\n9200000\n", {0.1, 1}, "", 2},
        {"1k\n\n3 k3\n", {}, "line 3: \"3 k3\" is no resistor value"},
        {"1k\n" + std::string(60, 'x') + "\n", {}, "line 2: \"" + std::string(40, 'x') + "\u2026\" is no resistor value"},
        {"1k\nx\ty\n", {}, "line 2: \"x\\x09y\" is no resistor value"},
        {std::string("\xFF\xFE" "1\0" "0\0\n", 7), {}, "line 1: \"\\xFF\\xFE1\\x000\\x00\" is no resistor value"}, // UTF-16
        {"x\n1k\n10 pF\n", {}, "lines 1 \"x\" and 3 \"10 pF\" are no resistor values"},
        {"# nothing\n\n", {}, "holds no value"},
        {"0R\nR47\n", {}, "holds no value from 0.001 to 9100000 k"},
    };
    for (const auto& row : rows) {
        const StockReading reading = parseStock(row.text, "drawer.txt", period);
        EXPECT_EQ(valuesOf(reading), row.values) << row.text;
        EXPECT_EQ(reading.problem, row.problem) << row.text;
        EXPECT_EQ(reading.values ? reading.values->outsideRange() : 0, row.outsideRange) << row.text;
    }
    std::string many;
    for (int i = 0; i <= 10'000; ++i)
        many += std::to_string(1.0 + i * 0.01) + "\n";
    EXPECT_EQ(parseStock("# many\n" + many, "many.txt", period).problem, "line 10002: more than 10,000 values");
    EXPECT_EQ(parseStock("x\n" + many, "many.txt", period).problem,
              "line 1: \"x\" is no resistor value; line 10002: more than 10,000 values");
    // Every bad line is counted, the first twenty named.
    std::string bad;
    std::string named = "lines ";
    for (int i = 1; i <= 25; ++i) {
        bad.append("x").append(std::to_string(i)).append("\n");
        if (i > 1 && i <= 20)
            named += ", ";
        if (i <= 20)
            named.append(std::to_string(i)).append(" \"x").append(std::to_string(i)).append("\"");
    }
    EXPECT_EQ(parseStock(bad, "bad.txt", period).problem, named + " and 5 more are no resistor values");
}

TEST(StockFileTest, a_file_that_cannot_be_read_says_why)
{
    const NumberText period(".");
    const std::string fifo = (std::filesystem::temp_directory_path() / "tarnel-fifo").string();
    std::filesystem::remove(fifo);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A named pipe with no writer would keep a reader waiting for ever.
    for (const std::string& path : {fifo, std::string("/dev/null"), std::filesystem::temp_directory_path().string()})
        EXPECT_EQ(readStockFile(path, period).problem, "is not a regular file") << path;
    std::filesystem::remove(fifo);
    EXPECT_EQ(readStockFile("/nonexistent/drawer.txt", period).problem, "cannot be read: No such file or directory");
    EXPECT_EQ(readStockFile("/proc/self/mem", period).problem, "cannot be read: Input/output error");
    EXPECT_EQ(readStockFile(temporaryFile("tarnel-huge.txt", std::string(maxStockFileBytes + 1, '1')), period).problem,
              "is larger than 4 MB");
    const StockReading read = readStockFile(temporaryFile("tarnel-drawer.txt", "2k2\n1k\n"), period);
    EXPECT_EQ(valuesOf(read), (std::vector<double>{1, 2.2}));
    EXPECT_EQ(read.values->name(), "tarnel-drawer.txt");
}

TEST(StockFileTest, a_run_on_a_stock_names_what_it_could_not_use_and_refuses_pairs_over_too_many_values)
{
    SearchInput input;
    input.valuesFile = temporaryFile("tarnel-stock.txt", "1k\n9k1\nR47\n");
    const char* listed[] = {"9.1", "2.2", "1"};
    for (std::size_t slot = 0; slot < 3; ++slot)
        input.specialSlots[slot] = {CheckState::Checked, listed[slot]};
    const test::TestRun run = test::runInput(input);
    ASSERT_TRUE(run.summary.has_value());
    EXPECT_EQ(run.lines(), (std::vector<std::string>{"9.10   /  1.00   d 1.00"}));
    EXPECT_EQ(summaryText(*run.summary, run.list.numbers(), false),
              "1 divider; 2.2 is not in tarnel-stock.txt; 1 value in tarnel-stock.txt lies outside 0.001 to 9100000 k "
              "and is not tried");

    std::string many;
    for (int i = 0; i < 2001; ++i)
        many += std::to_string(1.0 + i * 0.01) + "\n";
    SearchInput crowded = test::inputWith({{Field::Rmax, "9100000"}});
    crowded.valuesFile = temporaryFile("tarnel-crowded.txt", many);
    EXPECT_TRUE(readSearchParams(crowded, NumberText()).valid) << "one resistor an arm";
    crowded.shapes(true).allow(ArmKind::Parallel);
    const InputReading refused = readSearchParams(crowded, NumberText());
    EXPECT_FALSE(refused.valid);
    EXPECT_EQ(refused.valuesFileProblem,
              "holds 2,001 values from Rmin to Rmax; arms of two resistors take at most 2,000");
}
