#include "output/signal_guards.h"

#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

namespace tarnel {

namespace {

sigset_t endingSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : endingSignals)
        sigaddset(&set, signal);
    return set;
}

// Process-wide because a signal handler reaches nothing else: the file to
// remove when a signal ends the process. Written only with the signals held.
volatile sig_atomic_t pendingDirectory = -1;
char pendingName[NAME_MAX + 1];

extern "C" void removeAndEnd(int signal)
{
    // Only async-signal-safe calls. SA_RESETHAND has put back the default
    // action, which the signal, raised again, takes once this returns.
    if (pendingDirectory >= 0)
        ::unlinkat(pendingDirectory, pendingName, 0);
    ::raise(signal);
}

} // namespace

SignalsHeld::SignalsHeld()
{
    const sigset_t set = endingSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, &previous_);
}

SignalsHeld::~SignalsHeld()
{
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

RemovalOnSignal::RemovalOnSignal(int directory, const std::string& name)
{
    const std::size_t length = std::min(name.size(), sizeof pendingName - 1);
    std::memcpy(pendingName, name.data(), length);
    pendingName[length] = '\0';
    pendingDirectory = directory;
    struct sigaction action {};
    action.sa_handler = removeAndEnd;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < endingSignals.size(); ++i) {
        sigaction(endingSignals[i], nullptr, &previous_[i]);
        if (previous_[i].sa_handler != SIG_IGN)
            sigaction(endingSignals[i], &action, nullptr);
    }
}

RemovalOnSignal::~RemovalOnSignal()
{
    const SignalsHeld held;
    for (std::size_t i = 0; i < endingSignals.size(); ++i)
        sigaction(endingSignals[i], &previous_[i], nullptr);
    pendingDirectory = -1;
}

} // namespace tarnel
