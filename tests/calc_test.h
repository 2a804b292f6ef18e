#pragma once

#include "fake_window.h"

#include <gtest/gtest.h>

namespace tarnel::test {

// Resets the process-wide state a run reads, so tests do not see each other.
class CalcTest : public ::testing::Test {
protected:
    void SetUp() override { resetProcessState(); }
};

template <class Param>
class CalcTestWithParam : public ::testing::TestWithParam<Param> {
protected:
    void SetUp() override { resetProcessState(); }
};

} // namespace tarnel::test
