#include "cli_test_support.h"

#include "calc_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <streambuf>

using namespace tarnel;
using namespace tarnel::cli;
using namespace tarnel::cli::test;

namespace {

const std::string usageHintLine = "Usage: tarnel-cli [OPTION]...; see tarnel-cli --help for the options.\n";

class CommandLineTest : public tarnel::test::CalcTest {};

TEST_F(CommandLineTest, defaults_print_the_windows_24_lines_and_nothing_else)
{
    const RunResult r = runCli({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const auto lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0], "9.10   /  1.00   d 1.00");
    EXPECT_EQ(lines[1], "10.00   /  1.10   d 0.91");
    EXPECT_EQ(lines[7], "18.00   /  2.00   d 0.00");
    EXPECT_EQ(r.out.back(), '\n');
}

TEST_F(CommandLineTest, text_lines_and_typed_numbers_use_the_decimal_separator_handed_in)
{
    const RunResult r = runCli({"--tol", "5,0"}, ",");
    EXPECT_EQ(r.status, 0) << r.err;
    const auto lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0], "9,10   /  1,00   d 1,00");
}

TEST_F(CommandLineTest, no_divider_found_is_still_success_with_empty_output)
{
    const RunResult r = runCli({"--tol", "0", "--uin", "3.14159"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

// Lines known from the window's behaviour, independent of how the run is reached.
struct KnownResultRow {
    const char* name;
    std::vector<std::string> args;
    std::size_t lineCount;
    const char* firstLine;
};

void PrintTo(const KnownResultRow& row, std::ostream* os) { *os << row.name; }

class KnownResultTest : public tarnel::test::CalcTestWithParam<KnownResultRow> {};

TEST_P(KnownResultTest, gives_the_known_lines)
{
    const KnownResultRow& row = GetParam();
    const RunResult r = runCli(row.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const auto lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), row.lineCount);
    if (row.lineCount > 0) {
        EXPECT_EQ(lines[0], row.firstLine);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, KnownResultTest,
    ::testing::Values(KnownResultRow{"explicit_text_format", {"--format", "text"}, 24, "9.10   /  1.00   d 1.00"},
                      KnownResultRow{"total_up_to_20", {"--rsum-max", "20"}, 8, "9.10   /  1.00   d 1.00"},
                      KnownResultRow{"total_up_to_19_9", {"--rsum-max", "19.9"}, 7, "9.10   /  1.00   d 1.00"},
                      KnownResultRow{"limit_of_three", {"--max-results", "3"}, 3, "9.10   /  1.00   d 1.00"},
                      KnownResultRow{"limit_truncated", {"--max-results", "2.9"}, 2, "9.10   /  1.00   d 1.00"},
                      KnownResultRow{"ratio_high_over_low", {"--ratio", "h/l"}, 23, "10.00   /  1.00   d 0.00"},
                      KnownResultRow{"ratio_in_capitals", {"--ratio", "H/L"}, 23, "10.00   /  1.00   d 0.00"},
                      KnownResultRow{"only_two_values", {"--only", "9.1", "--only", "1"}, 1,
                                     "9.10   /  1.00   d 1.00"},
                      KnownResultRow{"no_high_shape", {"--hi", ""}, 0, ""},
                      KnownResultRow{"no_low_shape", {"--lo", ""}, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Each option must reach its own control with its value: the command line's
// lines equal those of the window's run with that control set, and differ
// from the defaults, so an option mapped to the wrong control shows.
struct OptionRow {
    const char* name;
    std::vector<std::string> args;
    void (*setUp)(tarnel::test::FakeWindow&);
};

void PrintTo(const OptionRow& row, std::ostream* os) { *os << row.name; }

std::vector<std::string> windowLines(void (*setUp)(tarnel::test::FakeWindow&))
{
    tarnel::test::FakeWindow window;
    setUp(window);
    StartWindow start = window.startWindow();
    EXPECT_TRUE(runStart(start).has_value());
    return window.lines();
}

class OptionEffectTest : public tarnel::test::CalcTestWithParam<OptionRow> {};

TEST_P(OptionEffectTest, prints_the_lines_of_the_window_set_alike)
{
    const OptionRow& row = GetParam();
    const std::vector<std::string> defaults = windowLines([](tarnel::test::FakeWindow&) {});
    const std::vector<std::string> expected = windowLines(row.setUp);
    ASSERT_NE(expected, defaults) << "the row must change the result to show the option's effect";

    const RunResult r = runCli(row.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(linesOf(r.out), expected);
}

using tarnel::test::FakeWindow;

INSTANTIATE_TEST_SUITE_P(
    EveryOption, OptionEffectTest,
    ::testing::Values(
        OptionRow{"uin", {"--uin", "12"}, [](FakeWindow& w) { w.editUin.setText("12"); }},
        OptionRow{"uout", {"--uout", "2"}, [](FakeWindow& w) { w.editUout.setText("2"); }},
        OptionRow{"tol", {"--tol", "1"}, [](FakeWindow& w) { w.editTol.setText("1"); }},
        OptionRow{"rmin", {"--rmin", "5"}, [](FakeWindow& w) { w.editRmin.setText("5"); }},
        OptionRow{"rmax", {"--rmax", "50"}, [](FakeWindow& w) { w.editRmax.setText("50"); }},
        OptionRow{"rsum_min", {"--rsum-min", "50"}, [](FakeWindow& w) { w.editRsumMin.setText("50"); }},
        OptionRow{"rsum_max", {"--rsum-max", "30"}, [](FakeWindow& w) { w.editRsumMax.setText("30"); }},
        OptionRow{"max_results", {"--max-results", "5"}, [](FakeWindow& w) { w.editMaxResults.setText("5"); }},
        OptionRow{"ratio", {"--ratio", "h/l"}, [](FakeWindow& w) { w.chkDivOnly.set(true); }},
        OptionRow{"ratio_back_to_default_after_h_over_l",
                  {"--ratio", "h/l", "--ratio", "1+h/l", "--uin", "12"},
                  [](FakeWindow& w) { w.editUin.setText("12"); }},
        OptionRow{"hi_series_added", {"--hi", "1,ser"}, [](FakeWindow& w) { w.chkHi2Rser.set(true); }},
        OptionRow{"hi_parallel_only",
                  {"--hi", "par", "--tol", "20"},
                  [](FakeWindow& w) {
                      w.chkHi1R.set(false);
                      w.chkHi2Rpar.set(true);
                      w.editTol.setText("20");
                  }},
        OptionRow{"lo_parallel_added", {"--lo", "1, par"}, [](FakeWindow& w) { w.chkLo2Rpar.set(true); }},
        OptionRow{"lo_series_only",
                  {"--lo", "ser"},
                  [](FakeWindow& w) {
                      w.chkLo1R.set(false);
                      w.chkLo2Rser.set(true);
                  }},
        OptionRow{"all_shapes_both_arms",
                  {"--hi", "1,ser,par", "--lo", "par,ser,1", "--max-results", "500"},
                  [](FakeWindow& w) {
                      w.tickAllArms();
                      w.editMaxResults.setText("500");
                  }},
        OptionRow{"exclude",
                  {"--exclude", "9.1"},
                  [](FakeWindow& w) {
                      w.chkSpecVal0.set(CheckState::Unchecked);
                      w.editSpecVal0.setText("9.1");
                  }},
        OptionRow{"only",
                  {"--only", "18", "--only", "2"},
                  [](FakeWindow& w) {
                      w.chkSpecVal0.set(CheckState::Checked);
                      w.editSpecVal0.setText("18");
                      w.chkSpecVal1.set(CheckState::Checked);
                      w.editSpecVal1.setText("2");
                  }},
        OptionRow{"four_special_values_mixed",
                  {"--exclude", "9.1", "--only", "1", "--only", "1.1", "--exclude", "10"},
                  [](FakeWindow& w) {
                      w.chkSpecVal0.set(CheckState::Unchecked);
                      w.editSpecVal0.setText("9.1");
                      w.chkSpecVal1.set(CheckState::Checked);
                      w.editSpecVal1.setText("1");
                      w.chkSpecVal2.set(CheckState::Checked);
                      w.editSpecVal2.setText("1.1");
                      w.chkSpecVal3.set(CheckState::Unchecked);
                      w.editSpecVal3.setText("10");
                  }},
        OptionRow{"value_after_equals_sign", {"--uin=12"}, [](FakeWindow& w) { w.editUin.setText("12"); }},
        OptionRow{"last_value_wins", {"--uin", "5", "--uin", "12"}, [](FakeWindow& w) { w.editUin.setText("12"); }},
        OptionRow{"blanks_around_a_value",
                  {"--tol", " 1 "},
                  [](FakeWindow& w) { w.editTol.setText("1"); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadInputRow {
    const char* name;
    std::vector<std::string> args;
    std::string expectedErr;
    std::string decimalSeparator = ".";
};

void PrintTo(const BadInputRow& row, std::ostream* os) { *os << row.name; }

class BadInputTest : public tarnel::test::CalcTestWithParam<BadInputRow> {};

TEST_P(BadInputTest, names_every_bad_argument_prints_nothing_and_exits_2)
{
    const BadInputRow& row = GetParam();
    const RunResult r = runCli(row.args, row.decimalSeparator);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, row.expectedErr);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, BadInputTest,
    ::testing::Values(
        BadInputRow{"uin_not_a_number",
                    {"--uin", "abc"},
                    "tarnel-cli: --uin \"abc\" is not a number in the range 1 to 9100000\n"},
        BadInputRow{"uout_below_range",
                    {"--uout", "0.5"},
                    "tarnel-cli: --uout \"0.5\" is out of range 1 to 9100000\n"},
        BadInputRow{"tol_above_range", {"--tol", "100.01"}, "tarnel-cli: --tol \"100.01\" is out of range 0 to 100\n"},
        BadInputRow{"tol_negative", {"--tol", "-1"}, "tarnel-cli: --tol \"-1\" is out of range 0 to 100\n"},
        BadInputRow{"rmin_empty", {"--rmin", ""}, "tarnel-cli: --rmin \"\" is not a number in the range 1 to 9100000\n"},
        BadInputRow{"rmax_above_range",
                    {"--rmax", "9100000.5"},
                    "tarnel-cli: --rmax \"9100000.5\" is out of range 1 to 9100000\n"},
        BadInputRow{"rsum_min_with_unit",
                    {"--rsum-min=1k"},
                    "tarnel-cli: --rsum-min \"1k\" is not a number in the range 1 to 9100000\n"},
        BadInputRow{"rsum_max_zero", {"--rsum-max", "0"}, "tarnel-cli: --rsum-max \"0\" is out of range 1 to 9100000\n"},
        BadInputRow{"max_results_below_one",
                    {"--max-results", "0.5"},
                    "tarnel-cli: --max-results \"0.5\" is out of range 1 to 9100000\n"},
        BadInputRow{"exclude_not_a_number",
                    {"--exclude", "x"},
                    "tarnel-cli: --exclude \"x\" is not a number in the range 1 to 9100000\n"},
        BadInputRow{"only_above_range",
                    {"--exclude", "2", "--only", "1e7"},
                    "tarnel-cli: --only \"1e7\" is out of range 1 to 9100000\n"},
        BadInputRow{"period_where_the_locale_wants_a_comma",
                    {"--uin", "2.5"},
                    "tarnel-cli: --uin \"2.5\" is not a number in the range 1 to 9100000 (decimal separator \",\")\n",
                    ","},
        BadInputRow{"missing_value_at_the_end", {"--uin"}, "tarnel-cli: --uin needs a value\n"},
        BadInputRow{"missing_value_before_the_next_option",
                    {"--format", "--uin", "5"},
                    "tarnel-cli: --format needs a value\n"},
        BadInputRow{"unknown_shape",
                    {"--hi", "1,triple"},
                    "tarnel-cli: --hi \"1,triple\": \"triple\" is not a shape; SHAPES is a comma list of 1, ser, par, "
                    "or empty for none\n"},
        BadInputRow{"empty_shape_in_a_list",
                    {"--lo", "ser,"},
                    "tarnel-cli: --lo \"ser,\": \"\" is not a shape; SHAPES is a comma list of 1, ser, par, or empty "
                    "for none\n"},
        BadInputRow{"bad_ratio", {"--ratio", "h+l"}, "tarnel-cli: --ratio \"h+l\" is not one of 1+h/l, h/l\n"},
        BadInputRow{"bad_format", {"--format", "xml"}, "tarnel-cli: --format \"xml\" is not one of text, csv, json\n"},
        BadInputRow{"unknown_option", {"--volts"}, "tarnel-cli: unknown option \"--volts\"\n" + usageHintLine},
        BadInputRow{"unknown_option_with_value",
                    {"--volts=5"},
                    "tarnel-cli: unknown option \"--volts\"\n" + usageHintLine},
        BadInputRow{"short_option", {"-h"}, "tarnel-cli: unknown option \"-h\"\n" + usageHintLine},
        BadInputRow{"argument_without_option", {"10"}, "tarnel-cli: unexpected argument \"10\"\n" + usageHintLine},
        BadInputRow{"fifth_special_value",
                    {"--exclude", "1", "--exclude", "2", "--only", "3", "--only", "4", "--exclude", "5"},
                    "tarnel-cli: --exclude \"5\": at most four --exclude and --only values together\n" +
                        usageHintLine},
        BadInputRow{"value_for_a_flag", {"--version=2"}, "tarnel-cli: --version takes no value\n" + usageHintLine},
        BadInputRow{"help_does_not_hide_a_bad_value",
                    {"--help", "--uout", "0.5"},
                    "tarnel-cli: --uout \"0.5\" is out of range 1 to 9100000\n"},
        BadInputRow{"every_bad_argument_in_the_order_given",
                    {"--tol", "x", "--hi", "q", "--uin", "0", "--format", "xml", "--only", "y", "--bogus", "--uout",
                     "2"},
                    "tarnel-cli: --tol \"x\" is not a number in the range 0 to 100\n"
                    "tarnel-cli: --hi \"q\": \"q\" is not a shape; SHAPES is a comma list of 1, ser, par, or empty "
                    "for none\n"
                    "tarnel-cli: --uin \"0\" is out of range 1 to 9100000\n"
                    "tarnel-cli: --format \"xml\" is not one of text, csv, json\n"
                    "tarnel-cli: --only \"y\" is not a number in the range 1 to 9100000\n"
                    "tarnel-cli: unknown option \"--bogus\"\n" +
                        usageHintLine}),
    [](const auto& info) { return std::string(info.param.name); });

class RangeBoundTest : public tarnel::test::CalcTestWithParam<std::vector<std::string>> {};

TEST_P(RangeBoundTest, a_value_on_a_bound_is_accepted)
{
    const RunResult r = runCli(GetParam());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    EveryValueOption, RangeBoundTest,
    ::testing::Values(std::vector<std::string>{"--uin", "1"}, std::vector<std::string>{"--uin", "9100000"},
                      std::vector<std::string>{"--uout", "1"}, std::vector<std::string>{"--uout", "9100000"},
                      std::vector<std::string>{"--tol", "0"}, std::vector<std::string>{"--tol", "100"},
                      std::vector<std::string>{"--rmin", "1"}, std::vector<std::string>{"--rmin", "9100000"},
                      std::vector<std::string>{"--rmax", "1"}, std::vector<std::string>{"--rmax", "9100000"},
                      std::vector<std::string>{"--rsum-min", "1"}, std::vector<std::string>{"--rsum-min", "9100000"},
                      std::vector<std::string>{"--rsum-max", "1"}, std::vector<std::string>{"--rsum-max", "9100000"},
                      std::vector<std::string>{"--max-results", "1"},
                      std::vector<std::string>{"--max-results", "9100000"},
                      std::vector<std::string>{"--exclude", "1"}, std::vector<std::string>{"--exclude", "9100000"},
                      std::vector<std::string>{"--only", "1"}, std::vector<std::string>{"--only", "9100000"}),
    [](const auto& info) {
        std::string name;
        for (const char c : info.param[0].substr(2))
            name.push_back(c == '-' ? '_' : c);
        return name + "_" + info.param[1];
    });

TEST_F(CommandLineTest, version_prints_the_version_line)
{
    const RunResult r = runCli({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "tarnel-cli 1.0.0.0\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CommandLineTest, help_wins_over_version_and_the_search)
{
    const RunResult r = runCli({"--version", "--help", "--uin", "12"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with("Usage: tarnel-cli [OPTION]...\n")) << r.out;
    EXPECT_EQ(r.out.find("   /  "), std::string::npos) << "no result line";
    EXPECT_EQ(r.err, "");
}

struct HelpRow {
    const char* option; // as the help's line begins
    const char* shownDefault;
};

void PrintTo(const HelpRow& row, std::ostream* os) { *os << row.option; }

class HelpTest : public tarnel::test::CalcTestWithParam<HelpRow> {};

TEST_P(HelpTest, lists_the_option_with_its_default)
{
    const RunResult r = runCli({"--help"});
    ASSERT_EQ(r.status, 0);
    const auto lines = linesOf(r.out);
    const std::string start = std::string("  ") + GetParam().option + " ";
    const auto line =
        std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(start); });
    ASSERT_NE(line, lines.end()) << "no help line for " << GetParam().option;
    if (*GetParam().shownDefault != '\0') {
        EXPECT_TRUE(line->ends_with(std::string("(default ") + GetParam().shownDefault + ")")) << *line;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryOption, HelpTest,
                         ::testing::Values(HelpRow{"--uin V", "10"}, HelpRow{"--uout V", "1"},
                                           HelpRow{"--tol PCT", "5"}, HelpRow{"--rmin K", "1"},
                                           HelpRow{"--rmax K", "100"}, HelpRow{"--rsum-min K", "10"},
                                           HelpRow{"--rsum-max K", "100"}, HelpRow{"--max-results N", "200"},
                                           HelpRow{"--ratio 1+h/l|h/l", "1+h/l"}, HelpRow{"--hi SHAPES", "1"},
                                           HelpRow{"--lo SHAPES", "1"}, HelpRow{"--exclude V", "none"},
                                           HelpRow{"--only V", "none"}, HelpRow{"--format text|csv|json", "text"},
                                           HelpRow{"--help", ""}, HelpRow{"--version", ""}),
                         [](const auto& info) {
                             std::string name;
                             for (const char c : std::string_view(info.param.option).substr(2))
                                 name.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
                             return name;
                         });

// The formats through the whole command line; result_writers_test checks
// every column on hand-made lists.
TEST_F(CommandLineTest, csv_has_a_header_and_one_row_per_window_line)
{
    const RunResult r = runCli({"--format", "csv"});
    EXPECT_EQ(r.status, 0);
    const auto rows = linesOf(r.out);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], "combination,high,low,high_r1,high_r2,low_r1,low_r2,ratio,deviation_percent,total_resistance");
    // 1 + 9.1/1 and ((10.1 - 10) / 10) * 100 in doubles, written to read back exactly.
    EXPECT_EQ(rows[1], "0,1,1,9.1,,1,,10.1,0.9999999999999963,10.1");
    EXPECT_EQ(rows[8], "0,1,1,18,,2,,10,0,20");
}

TEST_F(CommandLineTest, csv_and_json_write_a_period_whatever_the_decimal_separator)
{
    for (const char* format : {"csv", "json"}) {
        const RunResult point = runCli({"--format", format}, ".");
        const RunResult comma = runCli({"--format", format}, ",");
        EXPECT_EQ(comma.status, 0);
        EXPECT_EQ(comma.out, point.out) << format;
    }
}

TEST_F(CommandLineTest, json_is_one_array_with_an_object_per_line)
{
    const RunResult r = runCli({"--format", "json", "--max-results", "2"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "[\n"
                     "{\"combination\":0,\"high\":\"1\",\"low\":\"1\",\"high_r1\":9.1,\"high_r2\":null,\"low_r1\":1,"
                     "\"low_r2\":null,\"ratio\":10.1,\"deviation_percent\":0.9999999999999963,"
                     "\"total_resistance\":10.1},\n"
                     "{\"combination\":0,\"high\":\"1\",\"low\":\"1\",\"high_r1\":10,\"high_r2\":null,\"low_r1\":1.1,"
                     "\"low_r2\":null,\"ratio\":10.09090909090909,\"deviation_percent\":0.9090909090908993,"
                     "\"total_resistance\":11.1}\n"
                     "]\n");
}

struct EmptyResultRow {
    const char* format;
    const char* expectedOut;
};

void PrintTo(const EmptyResultRow& row, std::ostream* os) { *os << row.format; }

class EmptyResultTest : public tarnel::test::CalcTestWithParam<EmptyResultRow> {};

TEST_P(EmptyResultTest, no_divider_gives_the_formats_empty_form)
{
    const RunResult r = runCli({"--format", GetParam().format, "--hi", ""});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, GetParam().expectedOut);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, EmptyResultTest,
    ::testing::Values(EmptyResultRow{"text", ""},
                      EmptyResultRow{"csv", "combination,high,low,high_r1,high_r2,low_r1,low_r2,ratio,"
                                            "deviation_percent,total_resistance\n"},
                      EmptyResultRow{"json", "[]\n"}),
    [](const auto& info) { return std::string(info.param.format); });

// Records the largest piece handed to the stream at once: output built as one
// string would arrive as one piece.
class PieceRecorder : public std::streambuf {
public:
    std::size_t largestPiece = 0;
    std::size_t total = 0;
    std::size_t newlines = 0;

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        const auto size = static_cast<std::size_t>(n);
        largestPiece = std::max(largestPiece, size);
        total += size;
        newlines += static_cast<std::size_t>(std::count(s, s + n, '\n'));
        return n;
    }
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            largestPiece = std::max<std::size_t>(largestPiece, 1);
            ++total;
            newlines += traits_type::to_char_type(c) == '\n' ? 1 : 0;
        }
        return traits_type::not_eof(c);
    }
};

class StreamingTest : public tarnel::test::CalcTestWithParam<const char*> {};

TEST_P(StreamingTest, writes_line_by_line)
{
    PieceRecorder recorder;
    std::ostream out(&recorder);
    std::ostringstream err;
    const int status = run({"--format", GetParam(), "--tol", "100", "--rmax", "1000", "--rsum-max", "9100000",
                            "--hi", "1,ser", "--max-results", "5000"},
                           out, err, ".");
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_GE(recorder.newlines, 5000u);
    EXPECT_LE(recorder.largestPiece, 400u) << "of " << recorder.total << " characters";
}

INSTANTIATE_TEST_SUITE_P(Formats, StreamingTest, ::testing::Values("text", "csv", "json"),
                         [](const auto& info) { return std::string(info.param); });

class FailingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type /*c*/) override { return traits_type::eof(); }
};

TEST_F(CommandLineTest, an_output_that_cannot_be_written_is_reported_with_status_1)
{
    FailingBuffer failing;
    std::ostream out(&failing);
    std::ostringstream err;
    EXPECT_EQ(run({}, out, err, "."), 1);
    EXPECT_EQ(err.str(), "tarnel-cli: cannot write the output\n");
}

} // namespace
