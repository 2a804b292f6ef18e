#include "command_line.h"
#include "command_line_options.h"
#include "result_writers.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace tarnel;
using tarnel::test::linesOf;

namespace {

using Args = std::vector<std::string>;
using Lines = std::vector<std::string>;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// The command line in-process, with a pinned decimal separator.
RunResult runCli(const Args& args, const std::string& decimalSeparator = ".")
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::run(args, out, err, decimalSeparator);
    return {status, out.str(), err.str()};
}

Lines outputLines(const std::string& text)
{
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(CommandLineTest, defaults_print_the_windows_24_lines_with_the_separator_handed_in)
{
    RunResult r = runCli({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(outputLines(r.out).size(), 24u);
    EXPECT_TRUE(r.out.starts_with("9.10   /  1.00   d 1.00\n10.00   /  1.10   d 0.91\n")) << r.out;
    r = runCli({"--tol", "5,0", "--uout", "1.0"}, ","); // a period reads in every locale
    EXPECT_TRUE(r.out.starts_with("9,10   /  1,00   d 1,00\n")) << r.err;
}

// Each option must reach its own control: the lines equal those of the
// window's run with the controls set alike.
TEST(CommandLineTest, each_option_reaches_its_control)
{
    PlainWindow w;
    for (const auto& [edit, text] : {std::pair{"editUin", "12"}, {"editUout", "3.3"}, {"editTol", "2"},
                                     {"editRmin", "1.5"}, {"editRmax", "470"}, {"editRsumMin", "20"},
                                     {"editRsumMax", "300"}, {"editMaxResults", "500"}, {"editSpecVal0", "4.7"}})
        w.edit(edit).setText(text);
    for (const char* box : {"chkDivOnly", "chkHi2Rser", "chkLo2Rser", "chkLo2Rpar"})
        w.check(box).set(true);
    w.check("chkLo1R").set(false);
    w.check("chkSpecVal0").set(CheckState::Unchecked);
    w.start();
    RunResult r = runCli({"--uin", "5", "--uin=12", "--uout", "3.3", "--tol", " 2 ", "--rmin", "1.5", "--rmax", "470",
                          "--rsum-min", "20", "--rsum-max", "300", "--max-results", "500", "--ratio", "H/L", "--hi",
                          "1,ser", "--lo", "par, ser", "--exclude", "4.7"});
    EXPECT_GT(w.list().size(), 100u);
    EXPECT_EQ(outputLines(r.out), linesOf(w.list())) << r.err;

    PlainWindow listed;
    listed.check("chkHi2Rpar").set(true);
    const std::array<const char*, 4> values{"1", "10", "1.1", "9.1"};
    for (std::size_t i = 0; i < 4; ++i) {
        listed.check(specialSlotFields[i].boxName).set(i == 1 ? CheckState::Unchecked : CheckState::Checked);
        listed.edit(specialSlotFields[i].editName).setText(values[i]);
    }
    listed.start();
    r = runCli({"--only", "1", "--exclude", "10", "--only", "1.1", "--only", "9.1", "--hi", "par,1", "--ratio", "1+h/l"});
    EXPECT_EQ(outputLines(r.out), linesOf(listed.list())) << r.err;
    EXPECT_EQ(listed.list().size(), 1u);
}

TEST(CommandLineTest, a_series_gives_its_own_values_only)
{
    PlainWindow w;
    for (const auto& [edit, text] : {std::pair{"editUin", "5"}, {"editUout", "1.25"}, {"editTol", "0.1"}})
        w.edit(edit).setText(text);
    w.choice("cmbSeries").set(5);
    w.start();
    const RunResult r = runCli({"--series", "e96", "--uin", "5", "--uout", "1.25", "--tol", "0.1"});
    EXPECT_EQ(outputLines(r.out), linesOf(w.list())) << r.err;
    const ValueSet& e24 = *e24Values();
    std::size_t beyondE24 = 0;
    for (std::size_t i = 0; i < w.list().size(); ++i)
        for (const ValueIndex v : w.list().entry(i).divider.values)
            beyondE24 += std::none_of(e24.values().begin(), e24.values().end(),
                                      [&](double e) { return e == (*seriesValues(5))[v]; });
    EXPECT_GT(beyondE24, 0u);
    EXPECT_TRUE(r.out.starts_with("10.20   /  3.40   d 0.00\n")) << r.out;
    // A value that cannot be used is named even when nothing was cut.
    const RunResult listed = runCli({"--series", "E12", "--only", "2.2", "--only", "2.4", "--only", "22", "--tol", "100",
                                     "--rmax", "10000", "--rsum-max", "100000"});
    EXPECT_EQ(listed.err, "tarnel-cli: 3 dividers; 2.4 is no E12 value\n");
}

TEST(CommandLineTest, bad_input_is_named_on_stderr_with_nothing_on_stdout_and_status_2)
{
    const std::string usage = "Usage: tarnel-cli [OPTION]...; see tarnel-cli --help for the options.\n";
    const struct {
        Args args;
        std::string err;
        std::string separator = ".";
    } rows[] = {
        {{"--uout", "0.0009"}, "--uout \"0.0009\" is out of range 0.001 to 9100000\n"},
        {{"--exclude", "2", "--only", "1e7"}, "--only \"1e7\" is out of range 1 to 9100000\n"},
        {{"--uin", "1,5.5"}, "--uin \"1,5.5\" is not a number in the range 0.001 to 9100000\n", ","},
        {{"--hi", ","}, "--hi \",\": \"\" is not a shape; SHAPES is a comma list of 1, ser, par, or empty for none\n"},
        {{"--uin"}, "--uin needs a value\n"},
        {{"--format", "--uin", "5"}, "--format needs a value\n"},
        {{"--lo", "ser,"}, "--lo \"ser,\": \"\" is not a shape; SHAPES is a comma list of 1, ser, par, or empty for none\n"},
        {{"--volts=5"}, "unknown option \"--volts\"\n" + usage},
        {{"10"}, "unexpected argument \"10\"\n" + usage},
        {{"--version=2"}, "--version takes no value\n" + usage},
        {{"--series", "E25"}, "--series \"E25\" is not one of E3, E6, E12, E24, E48, E96, E192\n"},
        {{"--values", "/nonexistent/drawer.txt"},
         "--values \"/nonexistent/drawer.txt\": cannot be read: No such file or directory\n"},
        {{"--values", "drawer.txt", "--series", "E12"},
         "--values \"drawer.txt\": cannot be read: No such file or directory\n"
         "tarnel-cli: --series and --values exclude each other\n"},
        {{"--values", "drawer.txt", "--series"},
         "--values \"drawer.txt\": cannot be read: No such file or directory\n"
         "tarnel-cli: --series needs a value\n"},
        {{"--exclude", "1", "--exclude", "2", "--only", "3", "--only", "4", "--exclude", "5"},
         "--exclude \"5\": at most four --exclude and --only values together\n" + usage},
        {{"--tol", "x", "--hi", "q", "--uin", "0", "--format", "xml", "--bogus", "--uout", "2"},
         "--tol \"x\" is not a number in the range 0 to 100\n"
         "tarnel-cli: --hi \"q\": \"q\" is not a shape; SHAPES is a comma list of 1, ser, par, or empty for none\n"
         "tarnel-cli: --uin \"0\" is out of range 0.001 to 9100000\n"
         "tarnel-cli: --format \"xml\" is not one of text, csv, json\n"
         "tarnel-cli: unknown option \"--bogus\"\n" + usage},
    };
    for (const auto& row : rows) {
        const RunResult r = runCli(row.args, row.separator);
        EXPECT_EQ(r.status, 2) << row.err;
        EXPECT_EQ(r.out, "") << row.err;
        EXPECT_EQ(r.err, "tarnel-cli: " + row.err);
    }
}

TEST(CommandLineTest, a_huge_value_gives_one_short_message)
{
    const std::string huge(1 << 20, 'q');
    const RunResult r = runCli({"--lo", huge + ",x", "--uin", huge});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(outputLines(r.err), (Lines{"tarnel-cli: --lo \"" + std::string(40, 'q') + "\u2026\": \"" +
                                            std::string(40, 'q') + "\u2026\" is not a shape; SHAPES is a comma list of 1, "
                                                                  "ser, par, or empty for none",
                                        "tarnel-cli: --uin \"" + std::string(40, 'q') +
                                            "\u2026\" is not a number in the range 0.001 to 9100000"}));
}

TEST(CommandLineTest, csv_and_json_give_every_column_with_a_period_whatever_the_locale)
{
    RunResult r = runCli({"--format", "csv", "--max-results", "8"}, ",");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "tarnel-cli: 8 of 24 dividers shown: the limit cut the rest\n");
    const Lines rows = outputLines(r.out);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0], "combination,high,low,high_r1,high_r2,low_r1,low_r2,ratio,deviation_percent,total_resistance,"
                       "high_arm,low_arm,output_v,output_error_mv,output_error_percent,current_ma,high_r1_power_mw,"
                       "high_r2_power_mw,low_r1_power_mw,low_r2_power_mw,output_min_v,output_max_v");
    // 9.1 k over 1 k at 10 V: 0.990 V out, 0.990 mA, 8.92 mW and 0.980 mW, with 1 % parts 0.972 to 1.008 V.
    EXPECT_EQ(rows[1], "0,1,1,9.1,,1,,10.1,1,10.1,9.1,1,0.990099009901,-9.90099009901,-0.990099009901,"
                       "0.990099009901,8.9206940496,,0.980296049407,,0.972399567822,1.00808463919");
    EXPECT_EQ(rows[8], "0,1,1,18,,2,,10,0,20,18,2,1,0,0,0.5,4.5,,0.5,,0.982142857143,1.01814516129");
    r = runCli({"--format", "json", "--max-results", "2", "--hi", "ser", "--lo", "par", "--tol", "1", "--part-tolerance",
                "5"},
               ",");
    // The low arm 1.1 k || 13 k is 1.014 k; each resistor has the arm's 0.993 V.
    EXPECT_EQ(outputLines(r.out)[1],
              "{\"combination\":7,\"high\":\"ser\",\"low\":\"par\",\"high_r1\":1,\"high_r2\":8.2,\"low_r1\":1.1,"
              "\"low_r2\":13,\"ratio\":10.0713286713,\"deviation_percent\":0.713286713287,\"total_resistance\":"
              "10.2141843972,\"high_arm\":9.2,\"low_arm\":1.01418439716,\"output_v\":0.992917650326,"
              "\"output_error_mv\":-7.08234967366,\"output_error_percent\":-0.708234967366,\"current_ma\":"
              "0.979030690182,\"high_r1_power_mw\":0.958501092318,\"high_r2_power_mw\":7.85970895701,"
              "\"low_r1_power_mw\":0.896259509391,\"low_r2_power_mw\":0.0758373431023,\"output_min_v\":"
              "0.906930322917,\"output_max_v\":1.08608380531},");
    EXPECT_EQ(outputLines(r.out).size(), 4u);
    EXPECT_EQ(runCli({"--format", "csv", "--hi", ""}).out, rows[0] + "\n");
    r = runCli({"--format", "json", "--hi", ""});
    EXPECT_EQ(r.out, "[]\n");
    EXPECT_EQ(r.err, "tarnel-cli: No divider: no shape is ticked for the high arm\n");
}

TEST(CommandLineTest, best_first_lists_the_exact_dividers_first)
{
    const RunResult r = runCli({"--uin", "12", "--uout", "3.3", "--tol", "1", "--hi", "1,ser,par", "--lo", "1,ser,par",
                                "--order", "best"});
    const Lines lines = outputLines(r.out);
    ASSERT_EQ(lines.size(), 200u);
    EXPECT_TRUE(std::all_of(lines.begin(), lines.begin() + 112, [](const auto& l) { return l.ends_with(" d 0.00"); }));
    EXPECT_FALSE(lines[112].ends_with(" d 0.00"));
    EXPECT_EQ(lines[0], "11.00 + 18.00   /  11.00   d 0.00") << "three resistors of two values come first";
    EXPECT_EQ(r.err, "tarnel-cli: 200 of 15,975 dividers shown: the limit cut the rest\n");
}

// Counts the pieces handed to the stream and the largest: output built as
// one string would arrive as one piece.
class PieceRecorder : public std::streambuf {
public:
    std::size_t pieces = 0;
    std::size_t largestPiece = 0;
    std::size_t newlines = 0;

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        ++pieces;
        largestPiece = std::max(largestPiece, static_cast<std::size_t>(n));
        newlines += static_cast<std::size_t>(std::count(s, s + n, '\n'));
        return n;
    }
};

TEST(CommandLineTest, results_are_written_in_blocks_of_bounded_size)
{
    for (const char* format : {"text", "csv", "json"}) {
        PieceRecorder recorder;
        std::ostream out(&recorder);
        std::ostringstream err;
        const std::size_t lines = 3 * cli::blockLines + 5;
        EXPECT_EQ(cli::run({"--format", format, "--tol", "100", "--rmax", "1000", "--rsum-max", "9100000", "--hi",
                            "1,ser", "--max-results", std::to_string(lines)},
                           out, err, "."),
                  0);
        EXPECT_GE(recorder.newlines, lines) << format;
        EXPECT_GE(recorder.pieces, 4u) << format;
        EXPECT_LE(recorder.largestPiece, cli::blockLines * 1024) << format; // a json object is some 500 bytes
    }
}

// The lines of both cores' blocks come in list order.
TEST(CommandLineTest, blocks_keep_the_order_of_the_list)
{
    const Args args{"--tol", "100", "--rmax", "9100000", "--rsum-max", "9100000", "--hi", "1,ser", "--lo", "1,par",
                    "--max-results", std::to_string(5 * cli::blockLines / 2)};
    PlainWindow w;
    applyOptions(cli::parseArguments(args).options, w);
    w.start();
    EXPECT_EQ(outputLines(runCli(args).out), linesOf(w.list()));
}

class FailingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type /*c*/) override { return traits_type::eof(); }
};

TEST(CommandLineTest, an_output_that_cannot_be_written_gives_status_1)
{
    FailingBuffer failing;
    std::ostream out(&failing);
    std::ostringstream err;
    EXPECT_EQ(cli::run({}, out, err, "."), 1);
    EXPECT_EQ(err.str(), "tarnel-cli: cannot write the output\n");
}

} // namespace
