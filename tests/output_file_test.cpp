#include "output/output_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace tarnel;
namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& path)
{
    std::ostringstream content;
    content << std::ifstream(path).rdbuf();
    return content.str();
}

// A folder of its own for each test, removed after it.
struct Folder {
    explicit Folder(const char* name) : path(fs::temp_directory_path() / name)
    {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() { fs::remove_all(path); }
    [[nodiscard]] std::size_t entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(path), {})); }
    fs::path path;
};

// A named pipe and a device are written straight into and stay what they are.
TEST(OutputFileTest, a_pipe_and_a_device_are_written_into_not_replaced)
{
    const Folder folder("tarnel-output-file-straight");
    const fs::path pipe = folder.path / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string read;
    std::thread reader([&] { read = contentOf(pipe); });
    {
        OutputFile file(pipe.string());
        EXPECT_EQ(file.problem(), "");
        file.stream() << "through the pipe\n";
        EXPECT_TRUE(file.commit());
    }
    reader.join();
    EXPECT_EQ(read, "through the pipe\n");
    EXPECT_TRUE(fs::is_fifo(pipe));
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root makes a device";
    const fs::path device = folder.path / "null";
    ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    OutputFile file(device.string());
    file.stream() << "into the device\n";
    EXPECT_TRUE(file.commit()) << file.problem();
    EXPECT_TRUE(fs::is_character_file(device));
    EXPECT_EQ(folder.entries(), 2u);
}

// A write that fails part way, as on a full disk, and a writer that gives
// up without committing, leave the file as it was and nothing beside it.
TEST(OutputFileTest, a_failure_part_way_leaves_the_file_as_it_was)
{
    const Folder folder("tarnel-output-file-failure");
    const fs::path path = folder.path / "dividers.txt";
    std::ofstream(path) << "old\n";
    const std::string block(1 << 20, 'x');
    {
        // The file size limit fails the write with EFBIG, as a full disk fails it with ENOSPC.
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{1 << 18, limit.rlim_max};
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        OutputFile file(path.string());
        file.stream() << block << block;
        EXPECT_FALSE(file.commit());
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, previous);
        EXPECT_EQ(file.problem(), "cannot be written: File too large");
    }
    {
        OutputFile file(path.string());
        file.stream() << block;
    }
    EXPECT_EQ(contentOf(path), "old\n");
    EXPECT_EQ(folder.entries(), 1u);
}

} // namespace
