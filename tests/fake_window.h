#pragma once

#include "start_run.h"

#include <string>
#include <vector>

namespace tarnel::test {

class FakeEdit : public EditField {
public:
    explicit FakeEdit(std::string text = {}) : text_(std::move(text)) {}
    std::string text() const override { return text_; }
    void setColor(FieldColor c) override { paints.push_back(c); }
    void setText(std::string text) { text_ = std::move(text); }
    FieldColor color() const { return paints.empty() ? FieldColor::Window : paints.back(); }
    std::vector<FieldColor> paints;

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

// The window's controls with their initial texts and states. Every run
// loads the process-wide validity flag and special-value table afresh.
struct FakeWindow {
    FakeEdit editUin{"10"}, editUout{"1"}, editTol{"5"}, editRmin{"1"}, editRmax{"100"}, editRsumMin{"10"},
        editRsumMax{"100"}, editMaxResults{"200"};
    FakeCheck chkDivOnly, chkHi1R{CheckState::Checked}, chkHi2Rser, chkHi2Rpar, chkLo1R{CheckState::Checked},
        chkLo2Rser, chkLo2Rpar;
    std::array<FakeEdit, 4> editSpecVal{FakeEdit("2"), FakeEdit("3"), FakeEdit("18"), FakeEdit("27")};
    std::array<FakeCheck, 4> chkSpecVal{FakeCheck(CheckState::Grayed), FakeCheck(CheckState::Grayed),
                                        FakeCheck(CheckState::Grayed), FakeCheck(CheckState::Grayed)};
    FakePanel panel1;
    ResultList list;

    explicit FakeWindow(std::string decimalSeparator = ".") : list(NumberText(std::move(decimalSeparator))) {}

    SearchFields fields()
    {
        return {editUin,    editUout, editTol,    editRmin,   editRmax, editRsumMin, editRsumMax, editMaxResults,
                chkDivOnly, chkHi1R,  chkHi2Rser, chkHi2Rpar, chkLo1R,  chkLo2Rser,  chkLo2Rpar};
    }
    // One press of Start; gives the parameters searched with, or nothing.
    std::optional<SearchParams> start()
    {
        StartWindow window{fields(),
                           {{{chkSpecVal[0], editSpecVal[0]},
                             {chkSpecVal[1], editSpecVal[1]},
                             {chkSpecVal[2], editSpecVal[2]},
                             {chkSpecVal[3], editSpecVal[3]}}},
                           panel1,
                           list};
        return runStart(window);
    }
    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < list.size(); ++i)
            out.push_back(list.line(i));
        return out;
    }
};

} // namespace tarnel::test
