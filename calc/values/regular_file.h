#pragma once

#include <cstddef>
#include <string>

namespace tarnel {

// A file's whole content, read only when it is a regular file of at most a
// given size: a named pipe, a socket, a device or a directory could block a
// reader forever or never end.
struct FileContent {
    enum class Status { Read, NotRegular, Unreadable, TooLarge };
    Status status = Status::Unreadable;
    std::string text;   // when read
    std::string reason; // the system's reason when unreadable
    int error = 0;      // and its number
};

[[nodiscard]] FileContent readRegularFile(const std::string& path, std::size_t maxBytes);

} // namespace tarnel
