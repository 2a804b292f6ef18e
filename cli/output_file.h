#pragma once

#include <fstream>
#include <string>

namespace tarnel::cli {

// A file written whole or not at all: the text goes to a temporary file
// beside it, which takes the file's place only once everything is written.
// Until then the file stays as it was; a temporary never committed is
// removed.
class OutputFile {
public:
    // Creates the temporary file; problem() tells why when it cannot.
    explicit OutputFile(std::string path);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    [[nodiscard]] const std::string& problem() const { return problem_; }
    [[nodiscard]] std::ostream& stream() { return stream_; }
    // Puts the written text in the file's place; false, with problem() set, when it cannot.
    [[nodiscard]] bool commit();

private:
    void fail(const std::string& what, int error);

    std::string path_;
    std::string temporaryPath_; // empty once renamed or removed
    std::ofstream stream_;
    std::string problem_;
};

} // namespace tarnel::cli
