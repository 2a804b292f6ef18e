#pragma once

#include "output/fd_buffer.h"
#include "output/signal_guards.h"

#include <optional>
#include <ostream>
#include <string>

#include <sys/stat.h>

namespace tarnel {

// Where a run's results are written, by one rule for the command line and
// the window: what the shell's ">" would write into, but whole or not at all.
// - A symbolic link is followed and its target written; the link stays.
// - A regular file, or a new one, is written whole or not at all: the text
//   goes to a temporary file without a name in the same directory, which
//   takes the file's place, with its mode and, where permitted, its owner,
//   once all is written. A file that could not be opened for writing is
//   refused at once, with the system's reason. A file with other hard links
//   is replaced too: the name gets the new file, the other names keep the
//   old text, so that no failure can leave a file half written.
// - Anything else but a directory (a named pipe, a device, /dev/stdout) is
//   written straight into, never replaced.
// - A directory is refused.
// Until commit() the file stays as it was, and nothing is left beside it,
// also when a signal ends the process.
class OutputFile {
public:
    // Opens the way to the file; problem() tells why there is none.
    explicit OutputFile(const std::string& path);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    [[nodiscard]] const std::string& problem() const { return problem_; }
    // Whether the file at path, links followed, is the one written: same
    // device, same inode.
    [[nodiscard]] bool isFileAt(const std::string& path) const;
    [[nodiscard]] std::ostream& stream() { return stream_; }
    // Puts the written text in the file's place; false, with problem() set, when it cannot.
    [[nodiscard]] bool commit();

private:
    void fail(const std::string& what, int error);
    void openStraight(const std::string& path);
    void openTemporary(const std::string& directory, const std::string& name, const struct stat* existing);
    [[nodiscard]] bool replace();

    std::optional<struct stat> target_; // the file written, once it exists
    UniqueFd directory_;                // of the file replaced; none when written straight into
    std::string name_;                  // within directory_
    std::string temporaryName_;         // within directory_, where the file system refuses unnamed ones
    std::optional<RemovalOnSignal> removal_; // of temporaryName_
    UniqueFd file_;
    FdBuffer buffer_;
    std::ostream stream_{&buffer_};
    std::string problem_;
};

} // namespace tarnel
