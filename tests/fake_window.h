#pragma once

#include "start_run.h"

#include <string>
#include <vector>

namespace tarnel::test {

class FakeEdit : public EditField {
public:
    explicit FakeEdit(std::string text = {}) : text_(std::move(text)) {}
    std::string text() const override
    {
        ++reads;
        return text_;
    }
    void setColor(FieldColor c) override { color = c; paints.push_back(c); }
    void setText(std::string text) { text_ = std::move(text); }

    FieldColor color = FieldColor::Window;
    std::vector<FieldColor> paints;
    mutable int reads = 0;

private:
    std::string text_;
};

class FakeCheck : public CheckField {
public:
    explicit FakeCheck(CheckState s = CheckState::Unchecked) : state_(s) {}
    bool checked() const override { return state_ == CheckState::Checked; }
    CheckState state() const override { return state_; }
    void set(CheckState s) { state_ = s; }
    void set(bool on) { state_ = on ? CheckState::Checked : CheckState::Unchecked; }

private:
    CheckState state_;
};

class FakePanel : public PanelControl {
public:
    void setEnabled(bool e) override { history.push_back(e); }
    std::vector<bool> history; // every setEnabled, in order
};

// The window's controls with their initial texts and states.
struct FakeWindow {
    FakeEdit editUin{"10"}, editUout{"1"}, editTol{"5"}, editRmin{"1"}, editRmax{"100"}, editRsumMin{"10"},
        editRsumMax{"100"}, editMaxResults{"200"};
    FakeCheck chkDivOnly, chkHi1R{CheckState::Checked}, chkHi2Rser, chkHi2Rpar, chkLo1R{CheckState::Checked},
        chkLo2Rser, chkLo2Rpar;
    FakeEdit editSpecVal0{"2"}, editSpecVal1{"3"}, editSpecVal2{"18"}, editSpecVal3{"27"};
    FakeCheck chkSpecVal0{CheckState::Grayed}, chkSpecVal1{CheckState::Grayed}, chkSpecVal2{CheckState::Grayed},
        chkSpecVal3{CheckState::Grayed};
    FakePanel panel1;
    ResultList list;

    explicit FakeWindow(std::string decimalSeparator = ".") : list(NumberText(std::move(decimalSeparator))) {}

    SearchFields fields();
    StartWindow startWindow();
    std::vector<std::string> lines() const;
    void tickAllArms();
};

// Resets the process-wide state a run reads (validity flag, special values).
void resetProcessState();

} // namespace tarnel::test
