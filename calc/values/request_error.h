#pragma once

#include <stdexcept>

namespace tarnel {

// The one error the library throws for a request it cannot search: a field
// outside its range, an unknown series. Its message is the command line's
// ("--uin \"0\" is out of range 0.001 to 9100000"); nothing was searched.
class RequestError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

} // namespace tarnel
