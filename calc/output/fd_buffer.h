#pragma once

#include <array>
#include <cstddef>
#include <streambuf>

namespace tarnel {

// A file descriptor closed with its owner.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(-1); }
    void reset(int fd);
    [[nodiscard]] int get() const { return fd_; }
    [[nodiscard]] bool valid() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// A stream buffer that writes to a file descriptor and keeps the system's
// reason when a write fails, which std::ofstream loses.
class FdBuffer final : public std::streambuf {
public:
    FdBuffer() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
    void attach(int fd) { fd_ = fd; }
    // The errno of the write that failed, or 0.
    [[nodiscard]] int error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    bool writeOut(const char* text, std::size_t count);
    bool drain();

    int fd_ = -1;
    int error_ = 0;
    std::array<char, std::size_t{1} << 16> buffer_{};
};

} // namespace tarnel
