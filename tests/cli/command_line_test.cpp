#include "command_line.h"
#include "command_line_options.h"
#include "output/result_writers.h"
#include "request/search_input.h"
#include "search/divider_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tarnel;

namespace {

using Args = std::vector<std::string>;
using Lines = std::vector<std::string>;

struct RunResult {
    int status = -1;
    std::string out, err;
};

// The command line in-process, with a pinned decimal separator.
RunResult runCli(const Args& args, const std::string& decimalSeparator = ".")
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::run(args, out, err, decimalSeparator);
    return {status, out.str(), err.str()};
}

// A search on the input with some texts changed, read as the command line reads it.
struct Search {
    Search(std::initializer_list<std::pair<Field, const char*>> texts, SearchInput input = {})
    {
        for (const auto& [field, text] : texts)
            input.text(field) = text;
        reading = readSearchParams(input, list.numbers());
        EXPECT_TRUE(reading.valid);
        searchDividers(reading.params, list);
        for (std::size_t i = 0; i < list.size(); ++i)
            lines.push_back(list.line(i));
    }
    ResultList list{NumberText(".", NumberText::Period::AlsoAccepted)};
    InputReading reading;
    Lines lines;
};

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
    EXPECT_EQ(runCli({"--"}).out, r.out); // the options end, and no argument follows
    r = runCli({"--tol", "5,0", "--uout", "1.0"}, ","); // a period reads in every locale
    EXPECT_TRUE(r.out.starts_with("9,10   /  1,00   d 1,00\n")) << r.err;
}

// Each option must reach its own input: the lines equal a search's on inputs set alike.
TEST(CommandLineTest, each_option_reaches_its_input)
{
    SearchInput in;
    in.highOverLowOnly = true;
    in.highShapes.allow(ArmKind::Series);
    in.lowShapes = {ArmKind::Series, ArmKind::Parallel};
    in.specialSlots[0] = {CheckState::Unchecked, "4.7"};
    const Search searched({{Field::Uin, "12"}, {Field::Uout, "3.3"}, {Field::Tol, "2"}, {Field::Rmin, "1.5"},
                           {Field::Rmax, "470"}, {Field::RsumMin, "20"}, {Field::RsumMax, "300"},
                           {Field::MaxResults, "500"}}, in);
    RunResult r = runCli({"--uin", "5", "--uin=12", "--uout", "3.3", "--tol", " 2 ", "--rmin", "1.5", "--rmax", "470",
                          "--rsum-min", "20", "--rsum-max", "300", "--max-results", "500", "--ratio", "H/L", "--hi",
                          "1,SER", "--lo", "Par,\u00a0ser", "--exclude", "4.7"});
    EXPECT_GT(searched.list.size(), 100u);
    EXPECT_EQ(outputLines(r.out), searched.lines) << r.err;

    SearchInput listed;
    listed.shapes(true).allow(ArmKind::Parallel);
    listed.specialSlots = {{{CheckState::Checked, "1"}, {CheckState::Unchecked, "10"}, {CheckState::Checked, "1.1"},
                            {CheckState::Checked, "9.1"}}};
    const Search searchedListed({}, listed);
    r = runCli({"--only", "1", "--exclude", "10", "--only", "1.1", "--only", "9.1", "--hi", "par,1", "--ratio", "1+h/l"});
    EXPECT_EQ(outputLines(r.out), searchedListed.lines) << r.err;
    EXPECT_EQ(searchedListed.list.size(), 1u);
}

TEST(CommandLineTest, a_series_gives_its_own_values_only)
{
    SearchInput in;
    in.choice(ChoiceId::Series) = 5;
    const Search searched({{Field::Uin, "5"}, {Field::Uout, "1.25"}, {Field::Tol, "0.1"}}, in);
    const RunResult r = runCli({"--series", "e96", "--uin", "5", "--uout", "1.25", "--tol", "0.1"});
    EXPECT_EQ(outputLines(r.out), searched.lines) << r.err;
    const ValueSet& e24 = *e24Values();
    std::size_t beyondE24 = 0;
    for (std::size_t i = 0; i < searched.list.size(); ++i)
        for (const ValueIndex v : searched.list.entry(i).divider.values)
            beyondE24 += std::none_of(e24.values().begin(), e24.values().end(),
                                      [&](double e) { return e == (*seriesValues(5))[v]; });
    EXPECT_GT(beyondE24, 0u);
    EXPECT_TRUE(r.out.starts_with("10.20   /  3.40   d 0.00\n")) << r.out;
    // A value that cannot be used is named even when nothing was cut.
    const RunResult listed = runCli({"--series", "E12", "--only", "2.2", "--only", "2.4", "--only", "22", "--tol", "100",
                                     "--rmax", "10000", "--rsum-max", "100000"});
    EXPECT_EQ(listed.err, "tarnel-cli: 3 dividers; 2.4 is no E12 value\n");
}

TEST(CommandLineTest, a_regulators_240_ohms_is_found_and_resistances_read_as_parts_are_marked)
{
    const RunResult r = runCli({"--uin", "5", "--uout", "1.25", "--rmin", "0.1", "--rmax", "1k", "--rsum-min", "100R"});
    EXPECT_NE(r.out.find("\n0.75   /  0.24   d 3.12\n"), std::string::npos) << r.out;
    // Written as marked, the lines name the parts; a file keeps kilo-ohms for the scripts that read it.
    const std::vector<std::string> regulator{"--uin", "5", "--uout", "1.25", "--rmin", "0.1", "--rmax", "1k",
                                             "--rsum-min", "100R", "--notation", "marked"};
    const RunResult marked = runCli(regulator);
    EXPECT_NE(marked.out.find("\n750R   /  240R   d 3.12\n"), std::string::npos) << marked.out;
    EXPECT_EQ(outputLines(marked.out).size(), outputLines(r.out).size());
    std::vector<std::string> csv = regulator;
    csv.insert(csv.end(), {"--format", "csv"});
    EXPECT_NE(runCli(csv).out.find("\n0,1,1,0.75,,0.24,,"), std::string::npos);
    // 240R is no E96 value: fixed, the low arm is that one part, and E96 pairs give the 720R above it.
    const RunResult fixed = runCli({"--use", "feedback", "--uin", "5", "--uout", "1.25", "--series", "E96", "--lo-fixed",
                                    "240R", "--rmin", "0.1", "--rsum-min", "0.1", "--hi", "1,ser", "--tol", "0",
                                    "--order", "best", "--notation", "marked"});
    ASSERT_FALSE(outputLines(fixed.out).empty()) << fixed.err;
    EXPECT_EQ(outputLines(fixed.out).front(), "130R + 590R   /  240R   d 0.00") << fixed.out;
    // The adjust current's 50 uA through R2, the high arm, adds 35.75 mV to 715R's 4.974 V, as the README shows.
    const Args lm317{"--use", "feedback", "--uin", "5", "--uout", "1.25", "--lo-fixed", "240R", "--series", "E96",
                     "--rmin", "0.1", "--rsum-min", "0.1", "--order", "best", "--max-results", "3"};
    Args adjusted = lm317;
    adjusted.insert(adjusted.end(), {"--pin-current", "50"});
    EXPECT_EQ(runCli(lm317).out, "0.715   /  0.24   d -0.52\n0.732   /  0.24   d 1.25\n0.698   /  0.24   d -2.29\n");
    EXPECT_EQ(runCli(adjusted).out, "0.715   /  0.24   d 0.19\n0.698   /  0.24   d -1.59\n0.732   /  0.24   d 1.98\n");
    adjusted.insert(adjusted.end(), {"--hi", "1,ser,par", "--max-results", "1", "--format", "csv"});
    EXPECT_NE(runCli(adjusted).out.find("\n2,par,1,0.806,6.19,0.24,,3.99994981894,-0.00125452639602,"), std::string::npos);
}

TEST(CommandLineTest, bad_input_is_named_on_stderr_with_nothing_on_stdout_and_status_2)
{
    const std::string usage = "Usage: tarnel-cli [OPTION]...; see tarnel-cli --help for the options.\n";
    const std::string notAShape = " is not a shape; SHAPES is a comma list of 1, ser, par, or empty for none\n";
    const std::string huge(1 << 20, 'q');
    const std::string cut = "\"" + std::string(40, 'q') + "\u2026\""; // a huge value, as messages show it
    const struct {
        Args args;
        std::string err;
        std::string separator = ".";
    } rows[] = {
        {{"--uout", "0.0009"}, "--uout \"0.0009\" is out of range 0.001 to 9100000\n"},
        {{"--exclude", "2", "--only", "1e7"}, "--only \"1e7\" is out of range 0.001 to 9100000\n"},
        {{"--uin", "1,5.5"}, "--uin \"1,5.5\" is not a number in the range 0.001 to 9100000\n", ","},
        {{"--tol", "1e999"}, "--tol \"1e999\" is out of range 0 to 100\n"},
        {{"--rmax", "10\u2009k\u200b"}, "--rmax \"10\\u2009k\\u200B\" is not a number in the range 0.001 to 9100000\n"},
        {{"--hi", ","}, "--hi \",\": \"\"" + notAShape},
        {{"--out-max", "3", "--ratio", "h/l"}, "--out-max \"3\" bounds the output only with 1 + H/L counted\n"},
        {{"--current-max", "1", "--ratio", "h/l", "--use", "feedback"},
         "--current-max \"1\" bounds a feedback divider's current only with 1 + H/L counted\n"},
        {{"--load", "10", "--use", "feedback"}, "--load \"10\" is a load on a divider's tap, for divider use only\n"},
        {{"--pin-current", "-0.05"}, "--pin-current \"-0.05\" is a regulator pin's current, for feedback use only\n"},
        {{"--load", "1M", "--ratio", "h/l"}, "--load \"1M\" loads the tap only with 1 + H/L counted\n"},
        {{"--uin"}, "--uin needs a value\n"},
        {{"--format", "--uin", "5"}, "--format needs a value\n"},
        {{"--lo", "ser,"}, "--lo \"ser,\": \"\"" + notAShape},
        {{"--lo", huge + ",x", "--uin", huge},
         "--lo " + cut + ": " + cut + notAShape + "tarnel-cli: --uin " + cut +
             " is not a number in the range 0.001 to 9100000\n"},
        {{"--volts=5"}, "unknown option \"--volts\"\n" + usage},
        {{"10"}, "unexpected argument \"10\"\n" + usage},
        // An empty value typed as --uin= ends there: 7 is no value of it.
        {{"--uin=", "7"},
         "--uin \"\" is not a number in the range 0.001 to 9100000\ntarnel-cli: unexpected argument \"7\"\n" + usage},
        {{"--tol", "x", "--", "--uin", "5"},
         "--tol \"x\" is not a number in the range 0 to 100\n"
         "tarnel-cli: unexpected argument \"--uin\": tarnel-cli takes no arguments\n"
         "tarnel-cli: unexpected argument \"5\": tarnel-cli takes no arguments\n" + usage},
        {{"--version=2"}, "--version takes no value\n" + usage},
        {{"-h=1"}, "unknown option \"-h\"\n" + usage},
        {{"--series", "E25"}, "--series \"E25\" is not one of E3, E6, E12, E24, E48, E96, E192\n"},
        {{"--values", "drawer.txt", "--series", "E12"},
         "--values \"drawer.txt\": cannot be read: No such file or directory\n"
         "tarnel-cli: --series and --values exclude each other\n"},
        {{"--values", "drawer.txt", "--series"},
         "--values \"drawer.txt\": cannot be read: No such file or directory\n"
         "tarnel-cli: --series needs a value\n"},
        {{"--exclude", "1", "--exclude", "2", "--only", "3", "--only", "4", "--exclude", "5"},
         "--exclude \"5\": at most four --exclude and --only values together\n" + usage},
        // Each where it stands, the last x too, whose text came before as a value.
        {{"--tol", "x", "--hi", "q", "--uin", "0", "--format", "xml", "--bogus", "--uout", "2", "x"},
         "--tol \"x\" is not a number in the range 0 to 100\ntarnel-cli: --hi \"q\": \"q\"" + notAShape +
             "tarnel-cli: --uin \"0\" is out of range 0.001 to 9100000\n"
             "tarnel-cli: --format \"xml\" is not one of text, csv, json\n"
             "tarnel-cli: unknown option \"--bogus\"\ntarnel-cli: unexpected argument \"x\"\n" + usage},
    };
    for (const auto& row : rows) {
        const RunResult r = runCli(row.args, row.separator);
        EXPECT_EQ(r.status, 2) << row.err;
        EXPECT_EQ(r.out, "") << row.err;
        EXPECT_EQ(r.err, "tarnel-cli: " + row.err);
    }
    // -h is --help, and wins over bad input as --help does.
    const RunResult help = runCli({"--uin", "x", "-h"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, runCli({"--help"}).out);
    EXPECT_NE(help.out.find("--rmin"), std::string::npos);
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
                       "high_r2_power_mw,low_r1_power_mw,low_r2_power_mw,output_min_v,output_max_v,ratio_counted,"
                       "worst_deviation_percent,output_impedance,high_r1_v,high_r2_v,low_r1_v,low_r2_v");
    // 9.1 k over 1 k at 10 V: 0.990 V out, 0.990 mA, 8.92 mW and 0.980 mW, with 1 % parts 0.972 to 1.008 V,
    // the ratio then up to 2.84 % off; 0.901 k out of the tap, 9.01 V and 0.990 V across the resistors.
    EXPECT_EQ(rows[1], "0,1,1,9.1,,1,,10.1,1,10.1,9.1,1,0.990099009901,-9.90099009901,-0.990099009901,"
                       "0.990099009901,8.9206940496,,0.980296049407,,0.972399567822,1.00808463919,1+h/l,"
                       "2.83838383838,0.90099009901,9.0099009901,,0.990099009901,");
    EXPECT_EQ(rows[8], "0,1,1,18,,2,,10,0,20,18,2,1,0,0,0.5,4.5,,0.5,,0.982142857143,1.01814516129,1+h/l,"
                       "1.81818181818,1.8,9,,1,");
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
              "0.906930322917,\"output_max_v\":1.08608380531,\"ratio_counted\":\"1+h/l\","
              "\"worst_deviation_percent\":10.2620537357,\"output_impedance\":0.9134842383,\"high_r1_v\":"
              "0.979030690182,\"high_r2_v\":8.02805165949,\"low_r1_v\":0.992917650326,\"low_r2_v\":"
              "0.992917650326},");
    EXPECT_EQ(outputLines(r.out).size(), 4u);
    // A one-resistor arm has no second resistor: null, never a 0 Ω one a script would read.
    const std::string single = runCli({"--format", "json", "--max-results", "1"}).out;
    for (const char* absent : {"high_r2", "low_r2", "high_r2_power_mw", "low_r2_power_mw", "high_r2_v", "low_r2_v"})
        EXPECT_NE(single.find("\"" + std::string(absent) + "\":null"), std::string::npos) << absent << single;
    EXPECT_EQ(runCli({"--format", "csv", "--hi", ""}).out, rows[0] + "\n");
    r = runCli({"--format", "json", "--hi", ""});
    EXPECT_EQ(r.out, "[]\n");
    EXPECT_EQ(r.err, "tarnel-cli: No divider: no shape is ticked for the high arm\n");
}

TEST(CommandLineTest, no_divider_names_the_option_that_blocks_whether_at_its_default_and_the_change_that_gives_some)
{
    const std::pair<Args, const char*> cases[] = {
        {{"--use", "feedback", "--uin", "5", "--uout", "1.25", "--lo-min", "240R", "--lo-max", "240R"},
         "--rmin 1 k, the default, leaves no low arm in 0.24 to 0.24 k; with --rmin 0.001 (1 k by default) and "
         "--rsum-min 0.001 (10 k by default) there are 2"},
        {{"--use", "feedback", "--uin", "5", "--uout", "1.25", "--lo-min", "240R", "--lo-max", "240R", "--rmin", "0.1"},
         "every ratio lies outside the window; closest: 10 / 0.24 k, d +966.67 %; with --rsum-min 0.001 (10 k by "
         "default) there are 2"},
        {{"--uin", "5", "--uout", "1.25", "--rsum-max", "2"},
         "--rsum-min 10 k, the default, is above --rsum-max 2 k; with --rmin 0.001 (1 k by default) and --rsum-min "
         "0.001 (10 k by default) there are 90"},
        {{"--use", "feedback", "--uin", "3.3", "--uout", "0.8", "--tol", "1", "--series", "E96", "--lo-min", "50",
          "--lo-max", "100"},
         "every ratio lies outside the window; closest: 48.7 / 51.1 k, d -52.65 %; with --rmax 9100000 (100 k by "
         "default) and --rsum-max 9100000 (100 k by default) there are 43"},
        {{"--uin", "24", "--uout", "3", "--rsum-min", "100", "--rsum-max", "1000", "--rmax", "1000", "--rout-max", "10"},
         "at ratio 8 H || L is 0.109 of the total, so --rsum-min 100 k holds it at or above 10.9 k, more than "
         "--rout-max 10 k; with --rsum-min 0.001 there are 30"},
        {{"--only", "4.7", "--exclude", "4.7"},
         "4.7 is both listed and excluded, which leaves no listed value in 1 to 100 k"},
    };
    for (const auto& [args, why] : cases) {
        const RunResult r = runCli(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "tarnel-cli: No divider: " + std::string(why) + "\n");
    }
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

// --pareto against the front the definition gives of the full csv, read
// back from its columns, over generated inputs of every criterion and use.
TEST(CommandLineTest, pareto_prints_the_front_of_the_full_csv_ordered_by_current)
{
    const auto column = [](const Lines& rows, const std::string& name) {
        std::istringstream header(rows.at(0));
        std::size_t at = 0;
        for (std::string cell; std::getline(header, cell, ',') && cell != name;)
            ++at;
        return at;
    };
    const auto cell = [](const std::string& row, std::size_t at) {
        std::istringstream in(row);
        std::string text;
        for (std::size_t i = 0; i <= at; ++i)
            std::getline(in, text, ',');
        return std::stod(text);
    };
    std::mt19937 random(32);
    for (int run = 0; run < 24; ++run) {
        const bool worst = run % 3 == 0;
        const std::string uin = std::to_string(2 + random() % 20);
        const std::string uout = std::to_string(1 + random() % 100 / 100.0);
        Args args{"--uin", uin, "--uout", uout, "--tol", std::to_string(1 + random() % 20), "--hi", "1,ser,par",
                  "--lo", run % 2 == 0 ? "1,ser" : "1,par", "--rmax", "100", "--max-results", "5000", "--format",
                  "csv", "--series", run % 4 == 0 ? "E12" : "E24"};
        if (worst)
            args.insert(args.end(), {"--criterion", "worst-case", "--part-tolerance", "0.1"});
        if (run % 5 == 0)
            args.insert(args.end(), {"--use", "feedback"});
        const Lines all = outputLines(runCli(args).out);
        args.push_back("--pareto");
        const RunResult front = runCli(args);
        ASSERT_EQ(front.status, 0) << front.err;
        const std::size_t deviation = column(all, worst ? "worst_deviation_percent" : "deviation_percent");
        const std::size_t total = column(all, "total_resistance");
        struct Point {
            double deviation, total;
            std::string row;
        };
        std::vector<Point> points;
        for (std::size_t i = 1; i < all.size(); ++i)
            points.push_back({std::fabs(cell(all[i], deviation)), cell(all[i], total), all[i]});
        Lines expected{all.at(0)};
        for (const Point& p : points)
            if (std::none_of(points.begin(), points.end(), [&](const Point& q) {
                    return q.deviation <= p.deviation && q.total >= p.total &&
                           (q.deviation < p.deviation || q.total > p.total);
                }))
                expected.push_back(p.row);
        // Least current first: the largest total first; equals in list order.
        std::stable_sort(expected.begin() + 1, expected.end(),
                         [&](const std::string& a, const std::string& b) { return cell(a, total) > cell(b, total); });
        EXPECT_EQ(outputLines(front.out), expected) << "run " << run;
        EXPECT_TRUE(front.err.ends_with("tarnel-cli: " + std::to_string(expected.size() - 1) + " of " +
                                        NumberText().grouped(points.size()) + " dividers on the front\n"))
            << front.err;
    }
}

// Keeps what is handed to the stream and counts the pieces: output built as
// one string would arrive as one piece. Takes no piece after takenPieces.
struct PieceRecorder : std::streambuf {
    std::string text;
    std::size_t pieces = 0, largestPiece = 0, takenPieces = SIZE_MAX;
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        if (++pieces > takenPieces)
            return 0;
        largestPiece = std::max(largestPiece, static_cast<std::size_t>(n));
        text.append(s, static_cast<std::size_t>(n));
        return n;
    }
};

// Blocks far more than are worked on at once come out whole and in the
// list's order, in every format, each block one piece of bounded size;
// and none is formatted once the output fails.
TEST(CommandLineTest, results_are_written_in_ordered_blocks_of_bounded_size)
{
    SearchInput in;
    in.shapes(true).allow(ArmKind::Series);
    const Search searched(
        {{Field::Tol, "100"}, {Field::Rmax, "1000"}, {Field::RsumMax, "9100000"}, {Field::MaxResults, "40000"}}, in);
    ASSERT_EQ(searched.list.size(), 40000u);
    constexpr std::size_t linesPerBlock = 100;
    for (const auto format : {OutputFormat::Text, OutputFormat::Csv, OutputFormat::Json}) {
        PieceRecorder recorder;
        std::ostream out(&recorder);
        writeResults(format, searched.list, searched.reading.params, out, linesPerBlock);
        std::ostringstream whole; // one block; compared as lines, which print short
        writeResults(format, searched.list, searched.reading.params, whole, searched.list.size());
        EXPECT_EQ(outputLines(recorder.text),
                  format == OutputFormat::Text ? searched.lines : outputLines(whole.str()));
        EXPECT_GE(recorder.pieces, 400u);
        EXPECT_LE(recorder.largestPiece, linesPerBlock * 1024); // a json object is some 500 bytes
    }
    // Once the output fails, no block is formatted for it: the stream throws at the next write.
    PieceRecorder failing;
    failing.takenPieces = 7;
    std::ostream failingOut(&failing);
    failingOut.exceptions(std::ios::failbit);
    EXPECT_NO_THROW(
        writeResults(OutputFormat::Csv, searched.list, searched.reading.params, failingOut, linesPerBlock));
    EXPECT_EQ(failing.pieces, 8u);
    const Args args{"--tol", "100", "--rmax", "1000", "--rsum-max", "9100000", "--hi", "1,ser",
                    "--max-results", "40000"};
    EXPECT_EQ(outputLines(runCli(args).out), searched.lines); // in blocks of blockLines
}

// Takes room bytes, then fails as a full disk does, or throws as memory running out does.
struct FailingBuffer : std::streambuf {
    FailingBuffer(std::size_t room, bool throws) : room(room), throws(throws) {}
    std::streamsize xsputn(const char* /*text*/, std::streamsize count) override
    {
        if (static_cast<std::size_t>(count) <= room) {
            room -= static_cast<std::size_t>(count);
            return count;
        }
        if (throws)
            throw std::bad_alloc();
        return 0;
    }
    int_type overflow(int_type c) override { return xsputn("", 1) == 1 ? c : traits_type::eof(); }
    std::size_t room;
    bool throws;
};

TEST(CommandLineTest, an_output_that_fails_gives_status_1_and_says_what_is_missing)
{
    for (const bool throws : {false, true}) {
        FailingBuffer failing(20, throws);
        std::ostream out(&failing);
        if (throws) // lets the exception through, as one of the formatters would come
            out.exceptions(std::ios::badbit);
        std::ostringstream err;
        EXPECT_EQ(cli::run({}, out, err, "."), 1);
        EXPECT_EQ(err.str(), throws ? "tarnel-cli: out of memory: narrow the run with a lower --max-results, a smaller --tol, "
                                             "fewer --hi and --lo shapes or a narrower --rmin to --rmax; the output "
                                             "above is incomplete\n"
                                    : "tarnel-cli: cannot write the output\n");
    }
}

// What stands at --output's name is written as the shell's ">" would write
// it, but whole or not at all; what cannot be written is refused before the
// search, and no temporary file is left beside it.
TEST(CommandLineTest, the_output_goes_where_its_name_leads_or_is_refused_before_the_search)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "tarnel-output-test";
    fs::remove_all(dir);
    fs::create_directories(dir / "adir");
    const auto put = [&](const char* name, const std::string& text, fs::perms perms) {
        std::ofstream(dir / name) << text;
        fs::permissions(dir / name, perms);
    };
    const std::string old = "old\n";
    const std::string line = "9.10   /  1.00   d 1.00\n";
    const auto rw = fs::perms::owner_read | fs::perms::owner_write;
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    put("private.txt", old, rw);
    put("readonly.txt", old, readOnly);
    put("target.txt", old, rw);
    fs::create_symlink("target.txt", dir / "link.txt");
    put("linked.txt", old, rw);
    fs::create_hard_link(dir / "linked.txt", dir / "other-name.txt");
    const std::string stock = "10k\n2.2k\n";
    put("stock.txt", stock, rw);
    fs::create_symlink("stock.txt", dir / "stock-link.txt");
    // Root writes a read-only file, as the shell's ">" lets it, and keeps it read-only.
    const bool root = ::geteuid() == 0;
    // A new file gets the permissions the umask leaves, as the shell's ">" gives it.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const auto newFile = static_cast<fs::perms>(0666 & ~mask);
    const std::string in = dir.string() + "/";
    const struct {
        std::string output;
        Args more;
        int status;
        std::string err; // a part of it
        std::string content;
        fs::perms perms = fs::perms::unknown;
    } rows[] = {
        {in + "new.txt", {}, 0, "", line, newFile},
        {in + "private.txt", {"--uin", "x"}, 2, "--uin", old, rw},
        {in + "private.txt", {}, 0, "", line, rw},
        {in + "readonly.txt", {}, root ? 0 : 2, root ? "" : ": cannot be written: Permission denied",
         root ? line : old, readOnly},
        {in + "link.txt", {}, 0, "", line},
        {in + "linked.txt", {}, 0, "", line},
        {in + std::string(250, 'n'), {}, 0, "", line},
        {in + "missing/new.txt", {}, 2, ": cannot be written: No such file or directory", ""},
        {in + "adir", {}, 2, "adir\": is a directory", ""},
        {in + "adir/", {}, 2, "adir/\": is a directory", ""},
        {".", {}, 2, "\".\": is a directory", ""},
        {"/", {}, 2, "\"/\": is a directory", ""},
        {in + "stock.txt", {"--values", in + "stock.txt"}, 2, "--output is the stock file being read", stock},
        {in + "stock-link.txt", {"--values", in + "stock.txt"}, 2, "--output is the stock file being read", stock},
    };
    for (const auto& row : rows) {
        Args args{"--max-results", "1", "--output", row.output};
        args.insert(args.end(), row.more.begin(), row.more.end());
        const RunResult r = runCli(args);
        EXPECT_EQ(r.status, row.status) << row.output << r.err;
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
        std::ostringstream content;
        content << std::ifstream(row.output).rdbuf();
        EXPECT_EQ(content.str(), row.content) << row.output;
        if (row.perms != fs::perms::unknown) {
            EXPECT_EQ(fs::status(row.output).permissions(), row.perms) << row.output;
        }
    }
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    // A hard link is not written through: the name gets a new file, which no failure can leave half written.
    std::ostringstream otherName;
    otherName << std::ifstream(dir / "other-name.txt").rdbuf();
    EXPECT_EQ(otherName.str(), old);
    // The eleven names made here and by the runs, no temporary.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 11);
    // A write that fails part way (here the file size limit, as a full disk
    // would) fails the run and leaves the file and the folder as they were.
    {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{1 << 16, limit.rlim_max};
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        const RunResult r = runCli({"--tol", "100", "--max-results", "100000", "--hi", "1,ser", "--output", in + "private.txt"});
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, previous);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "tarnel-cli: --output \"" + in + "private.txt\": cannot be written: File too large\n");
        std::ostringstream content;
        content << std::ifstream(dir / "private.txt").rdbuf();
        EXPECT_TRUE(content.str() == line) << content.str().size() << " bytes";
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 11);
    }
    // Without --format the file's extension, in any case, picks it, as Save results does; --format wins.
    const auto written = [&](const char* name, Args more) {
        Args args{"--max-results", "1", "--output", in + name};
        args.insert(args.end(), more.begin(), more.end());
        EXPECT_EQ(runCli(args).status, 0) << name;
        std::ostringstream content;
        content << std::ifstream(dir / name).rdbuf();
        return content.str();
    };
    EXPECT_EQ(written("rows.CSV", {}), runCli({"--max-results", "1", "--format", "csv"}).out);
    EXPECT_EQ(written("rows.json", {}), runCli({"--max-results", "1", "--format", "json"}).out);
    EXPECT_EQ(written("text.json", {"--format", "text"}), line);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 14);
    // "-" is standard output, no file of that name.
    EXPECT_EQ(runCli({"--max-results", "1", "--output", "-"}).out, line);
    EXPECT_FALSE(fs::exists("-"));
    fs::remove_all(dir);
}

// The real program, ended by a signal while its output file is open: it
// ends as by the signal (the shell's 128 + signal) and leaves nothing.
TEST(CommandLineTest, a_signal_during_a_run_leaves_no_temporary_file)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "tarnel-signal-test";
    // The signals act as by default in the program, whatever this process does with them.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        sigaddset(&signals, signal);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        const std::string output = (dir / "dividers.json").string();
        const char* const argv[] = {TARNEL_CLI, "--series", "E192", "--tol", "100", "--rmax", "9100000",
                                    "--rsum-max", "9100000", "--max-results", "9100000", "--hi", "1,ser,par",
                                    "--lo", "1,ser,par", "--format", "json", "--output", output.c_str(), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(::posix_spawn(&pid, TARNEL_CLI, nullptr, &attributes, const_cast<char* const*>(argv), environ), 0);
        // Waits until the program holds a file in the folder, named or not.
        const fs::path fds = "/proc/" + std::to_string(pid) + "/fd";
        bool open = false;
        while (!open && ::waitpid(pid, nullptr, WNOHANG) == 0) {
            std::error_code error;
            for (const auto& fd : fs::directory_iterator(fds, error))
                open = open || fs::read_symlink(fd, error).string().starts_with(dir.string() + "/");
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_TRUE(open) << "the run ended before its output was open";
        ::kill(pid, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_TRUE(fs::is_empty(dir)) << fs::directory_iterator(dir)->path();
    }
    posix_spawnattr_destroy(&attributes);
    fs::remove_all(dir);
}

} // namespace
