#include "output/output_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace tarnel {

namespace {

// Links are followed at most this many times, as the kernel does.
constexpr int maxLinks = 40;

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A short name, so that no valid file name is pushed past the system's limit.
std::string temporaryNameFrom(std::random_device& random)
{
    return ".tarnel-" + std::to_string(random() % 1000000);
}

// Where the links from a path lead: to a path that is no link, or names
// nothing yet. A link the kernel keeps under /proc (as /dev/stdout is one)
// leads to a file already open, maybe one no name reaches: it is written
// straight into.
struct Resolved {
    std::string path;
    bool straight = false;
    int error = 0;
};

Resolved resolveLinks(std::string path)
{
    for (int hop = 0; hop < maxLinks; ++hop) {
        struct stat link {};
        if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            return {path};
        const std::string directory = directoryOf(path);
        std::string real(PATH_MAX, '\0');
        if (::realpath(directory.c_str(), real.data()) == nullptr)
            return {path, false, errno};
        if (std::string_view(real.c_str()).starts_with("/proc/"))
            return {path, true};
        std::string text(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), text.data(), text.size());
        if (length < 0)
            return {path, false, errno};
        text.resize(static_cast<std::size_t>(length));
        path = text.starts_with('/') ? text : directory + '/' + text;
    }
    return {path, false, ELOOP};
}

} // namespace

OutputFile::OutputFile(const std::string& path)
{
    const Resolved resolved = resolveLinks(path);
    struct stat status {};
    if (resolved.error != 0)
        fail("cannot be written", resolved.error);
    else if (resolved.straight)
        openStraight(resolved.path);
    else if (::stat(resolved.path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode))
            problem_ = "is a directory";
        else if (!S_ISREG(status.st_mode))
            openStraight(resolved.path);
        else if (const UniqueFd writable(::open(resolved.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
                 !writable.valid())
            // Refused as the shell's ">" would refuse it, before anything is written.
            fail("cannot be written", errno);
        else
            openTemporary(directoryOf(resolved.path), nameOf(resolved.path), &status);
    } else if (errno != ENOENT)
        fail("cannot be written", errno);
    else if (resolved.path.ends_with('/'))
        problem_ = "is a directory";
    else
        openTemporary(directoryOf(resolved.path), nameOf(resolved.path), nullptr);
    if (problem_.empty())
        buffer_.attach(file_.get());
    else
        stream_.setstate(std::ios::badbit);
}

OutputFile::~OutputFile()
{
    if (!temporaryName_.empty())
        ::unlinkat(directory_.get(), temporaryName_.c_str(), 0);
}

void OutputFile::fail(const std::string& what, int error)
{
    problem_ = what + ": " + std::generic_category().message(error);
}

bool OutputFile::isFileAt(const std::string& path) const
{
    struct stat status {};
    return target_ && ::stat(path.c_str(), &status) == 0 && status.st_dev == target_->st_dev &&
           status.st_ino == target_->st_ino;
}

void OutputFile::openStraight(const std::string& path)
{
    // Appending, so that /dev/stdout opened by the shell with ">>" keeps what it holds.
    file_.reset(::open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!file_.valid() || ::fstat(file_.get(), &status) != 0)
        fail("cannot be written", errno);
    else if (S_ISDIR(status.st_mode))
        problem_ = "is a directory";
    else
        target_ = status;
}

void OutputFile::openTemporary(const std::string& directory, const std::string& name, const struct stat* existing)
{
    if (existing)
        target_ = *existing;
    directory_.reset(::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!directory_.valid()) {
        fail("cannot be written", errno);
        return;
    }
    name_ = name;
    // A new file gets the permissions a new file gets there; a replaced one
    // gets its own below, and is private until then.
    const mode_t mode = existing ? S_IRUSR | S_IWUSR : 0666;
    // Without a name, the file is gone with the process, however it ends.
    file_.reset(::openat(directory_.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    int error = file_.valid() ? 0 : errno;
    if (error == EOPNOTSUPP || error == EISDIR) {
        // Where the file system refuses that, a short name, removed by a
        // signal handler if a signal ends the process.
        const SignalsHeld held;
        std::random_device random;
        error = EEXIST;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
            const std::string candidate = temporaryNameFrom(random);
            removal_.emplace(directory_.get(), candidate);
            file_.reset(::openat(directory_.get(), candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
            error = file_.valid() ? 0 : errno;
            if (error == 0)
                temporaryName_ = candidate;
            else
                removal_.reset();
        }
    }
    if (error != 0) {
        fail("cannot be written", error);
        return;
    }
    // The owner first, as a change of owner clears the set-user-ID bit. Only
    // root may give the file away: for others the owner stays theirs.
    if (existing && ((::fchown(file_.get(), existing->st_uid, existing->st_gid) != 0 && errno != EPERM) ||
                     ::fchmod(file_.get(), existing->st_mode & 07777) != 0))
        fail("cannot be written", errno);
}

bool OutputFile::commit()
{
    stream_.flush();
    if (!stream_) {
        fail("cannot be written", buffer_.error() != 0 ? buffer_.error() : EIO);
        return false;
    }
    if (!directory_.valid())
        return true;
    // On the disk before it takes the file's place, so that a crash leaves
    // the old file or the whole new one.
    if (::fsync(file_.get()) != 0) {
        fail("cannot be written", errno);
        return false;
    }
    return replace();
}

bool OutputFile::replace()
{
    // A name for the file and its move into place happen both or neither.
    const SignalsHeld held;
    if (temporaryName_.empty()) {
        // linkat with AT_EMPTY_PATH needs a capability; the descriptor's link under /proc does not.
        const std::string source = "/proc/self/fd/" + std::to_string(file_.get());
        std::random_device random;
        for (int attempt = 0; attempt < 100 && temporaryName_.empty(); ++attempt) {
            const std::string candidate = temporaryNameFrom(random);
            if (::linkat(AT_FDCWD, source.c_str(), directory_.get(), candidate.c_str(), AT_SYMLINK_FOLLOW) == 0)
                temporaryName_ = candidate;
            else if (errno != EEXIST) {
                fail("cannot be written", errno);
                return false;
            }
        }
        if (temporaryName_.empty()) {
            fail("cannot be written", EEXIST);
            return false;
        }
    }
    const bool renamed = ::renameat(directory_.get(), temporaryName_.c_str(), directory_.get(), name_.c_str()) == 0;
    if (!renamed) {
        fail("cannot be replaced", errno);
        ::unlinkat(directory_.get(), temporaryName_.c_str(), 0);
    }
    temporaryName_.clear();
    removal_.reset();
    return renamed;
}

} // namespace tarnel
