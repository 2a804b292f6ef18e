#include "fake_window.h"

namespace tarnel::test {

SearchFields FakeWindow::fields()
{
    return {editUin,  editUout,   editTol,    editRmin,   editRmax, editRsumMin, editRsumMax, editMaxResults,
            chkDivOnly, chkHi1R, chkHi2Rser, chkHi2Rpar, chkLo1R,  chkLo2Rser,  chkLo2Rpar};
}

StartWindow FakeWindow::startWindow()
{
    return {fields(),
            {{{chkSpecVal0, editSpecVal0}, {chkSpecVal1, editSpecVal1}, {chkSpecVal2, editSpecVal2},
              {chkSpecVal3, editSpecVal3}}},
            panel1,
            list};
}

std::vector<std::string> FakeWindow::lines() const
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.size(); ++i)
        out.push_back(list.line(i));
    return out;
}

void FakeWindow::tickAllArms()
{
    for (FakeCheck* c : {&chkHi1R, &chkHi2Rser, &chkHi2Rpar, &chkLo1R, &chkLo2Rser, &chkLo2Rpar})
        c->set(true);
}

void resetProcessState()
{
    inputsValid = true;
    specialValueTable = SpecialValueTable{};
}

} // namespace tarnel::test
