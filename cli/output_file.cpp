#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace tarnel::cli {

OutputFile::OutputFile(std::string path) : path_(std::move(path))
{
    // A name of its own in the same directory, so that the rename stays on
    // one file system and so replaces the file in one step. Created
    // exclusively, with the permissions a new file gets there.
    std::random_device random;
    for (int attempt = 0; attempt < 100 && temporaryPath_.empty(); ++attempt) {
        const std::string candidate = path_ + ".tmp" + std::to_string(random());
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            temporaryPath_ = candidate;
        } else if (errno != EEXIST) {
            fail("cannot be written", errno);
            return;
        }
    }
    if (temporaryPath_.empty()) {
        fail("cannot be written", EEXIST);
        return;
    }
    stream_.open(temporaryPath_, std::ios::binary | std::ios::trunc);
    if (!stream_)
        fail("cannot be written", errno);
}

OutputFile::~OutputFile()
{
    if (!temporaryPath_.empty()) {
        stream_.close();
        std::remove(temporaryPath_.c_str());
    }
}

void OutputFile::fail(const std::string& what, int error)
{
    problem_ = what + ": " + std::generic_category().message(error);
}

bool OutputFile::commit()
{
    stream_.close();
    if (!stream_) {
        fail("cannot be written", errno != 0 ? errno : EIO);
        return false;
    }
    // On the disk before it takes the file's place, so that a crash leaves
    // the old file or the whole new one.
    const int fd = ::open(temporaryPath_.c_str(), O_WRONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    const int syncError = errno;
    if (fd >= 0)
        ::close(fd);
    if (!synced) {
        fail("cannot be written", syncError);
        return false;
    }
    if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
        fail("cannot be replaced", errno);
        return false;
    }
    temporaryPath_.clear();
    return true;
}

} // namespace tarnel::cli
