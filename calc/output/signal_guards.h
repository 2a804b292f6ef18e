#pragma once

#include <array>
#include <string>

#include <signal.h>

namespace tarnel {

// The signals that end a process by default and that a handler may catch:
// an interrupted run must leave no temporary file behind.
inline constexpr std::array<int, 4> endingSignals{SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Holds the ending signals back on the calling thread while it lives, so that
// a few steps are done all or none; they are delivered once it ends.
class SignalsHeld {
public:
    SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;
    ~SignalsHeld();

private:
    sigset_t previous_{};
};

// While it lives, an ending signal first removes the named file, then ends
// the process as it would have (status 128 + the signal). A signal the
// process ignores stays ignored. One at a time in a process.
class RemovalOnSignal {
public:
    // Called with the ending signals held, before the file is made.
    RemovalOnSignal(int directory, const std::string& name);
    RemovalOnSignal(const RemovalOnSignal&) = delete;
    RemovalOnSignal& operator=(const RemovalOnSignal&) = delete;
    ~RemovalOnSignal();

private:
    std::array<struct sigaction, endingSignals.size()> previous_{};
};

} // namespace tarnel
