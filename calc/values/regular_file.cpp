#include "values/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnel {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    [[nodiscard]] int fd() const { return fd_; }

private:
    int fd_;
};

FileContent unreadable()
{
    return {FileContent::Status::Unreadable, {}, std::generic_category().message(errno), errno};
}

} // namespace

FileContent readRegularFile(const std::string& path, std::size_t maxBytes)
{
    // Looked at before opening, since opening a named pipe waits for a writer
    // and a socket cannot be opened at all; and again once open, without
    // waiting, as the path may have been replaced in between.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return unreadable();
    if (!S_ISREG(info.st_mode))
        return {FileContent::Status::NotRegular, {}, {}};
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0)
        return unreadable();
    if (!S_ISREG(info.st_mode))
        return {FileContent::Status::NotRegular, {}, {}};
    // Room for one byte more than the file says it holds, which tells its
    // end; files of the system say nothing, so the room grows as needed, up
    // to one byte more than allowed.
    std::string text(std::min(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)), maxBytes) + 1, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == text.size()) {
            if (size > maxBytes)
                break;
            text.resize(std::min(maxBytes + 1, 2 * size));
        }
        const ssize_t got = ::read(file.fd(), text.data() + size, text.size() - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return unreadable();
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    if (size > maxBytes)
        return {FileContent::Status::TooLarge, {}, {}};
    text.resize(size);
    return {FileContent::Status::Read, std::move(text), {}};
}

} // namespace tarnel
