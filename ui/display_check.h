#pragma once

namespace tarnel {

// While one lives, a platform that cannot open a display ends the program
// with one line on stderr, "tarnel: cannot open a display (could not connect
// to display :0); try tarnel-cli", and status 1, instead of Qt's abort. It
// spans the construction of the application object, where Qt opens the display.
class DisplayCheck {
public:
    DisplayCheck();
    // Hands the platform's messages held back meanwhile to Qt's own handler.
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;
};

} // namespace tarnel
