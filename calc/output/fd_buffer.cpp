#include "output/fd_buffer.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace tarnel {

void UniqueFd::reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

bool FdBuffer::writeOut(const char* text, std::size_t count)
{
    while (count > 0 && error_ == 0) {
        const ssize_t written = ::write(fd_, text, count);
        if (written > 0) {
            text += written;
            count -= static_cast<std::size_t>(written);
        } else if (written == 0 || errno != EINTR) {
            error_ = written == 0 ? EIO : errno;
        }
    }
    return error_ == 0;
}

bool FdBuffer::drain()
{
    const bool written = writeOut(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return written;
}

FdBuffer::int_type FdBuffer::overflow(int_type c)
{
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof()))
        sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
}

std::streamsize FdBuffer::xsputn(const char* text, std::streamsize count)
{
    const auto size = static_cast<std::size_t>(count);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), text, size);
        pbump(static_cast<int>(count));
        return count;
    }
    // The writers hand over blocks of megabytes: those go out without a copy.
    return drain() && writeOut(text, size) ? count : 0;
}

int FdBuffer::sync()
{
    return drain() ? 0 : -1;
}

} // namespace tarnel
