#include "cli_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tarnel::cli::test;

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the built tarnel-cli with the C locale, whatever the machine's, and
// collects its output and exit status.
RunResult runExecutable(const std::vector<std::string>& args)
{
    const std::string dir = ::testing::TempDir();
    const std::string outPath = dir + "tarnel_cli_test_out_" + std::to_string(::getpid());
    const std::string errPath = dir + "tarnel_cli_test_err_" + std::to_string(::getpid());

    std::vector<std::string> argvStrings{TARNEL_CLI_EXECUTABLE};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : argvStrings)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    std::string lcAll = "LC_ALL=C";
    std::vector<char*> envp{lcAll.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);

    RunResult result;
    EXPECT_EQ(spawned, 0) << "cannot start " << argv[0];
    if (spawned != 0)
        return result;
    int waitStatus = 0;
    EXPECT_EQ(::waitpid(pid, &waitStatus, 0), pid);
    EXPECT_TRUE(WIFEXITED(waitStatus)) << "tarnel-cli did not exit normally";
    result.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return result;
}

TEST(TarnelCliExecutableTest, prints_the_results_and_exits_0)
{
    const RunResult r = runExecutable({"--max-results", "3"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "9.10   /  1.00   d 1.00\n10.00   /  1.10   d 0.91\n11.00   /  1.20   d 1.67\n");
    EXPECT_EQ(r.err, "");
}

TEST(TarnelCliExecutableTest, bad_input_names_every_fault_and_exits_2)
{
    const RunResult r = runExecutable({"--uout", "0.5", "--bogus"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "tarnel-cli: --uout \"0.5\" is out of range 1 to 9100000\n"
                     "tarnel-cli: unknown option \"--bogus\"\n"
                     "Usage: tarnel-cli [OPTION]...; see tarnel-cli --help for the options.\n");
}

} // namespace
