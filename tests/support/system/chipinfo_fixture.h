// Shared set-up of the chip-information tests: the program's own module as
// the program folder, and message boxes answered.
#pragma once
#include <gtest/gtest.h>
#include "support/system/ChipInfo.h"
#include "support/text/CUString.h"
#include "tests/harness/harness.h"

class ChipInfo : public ::testing::Test {
protected:
    void SetUp() override { g_hInstance = GetModuleHandleA(nullptr); }
    void TearDown() override { g_hInstance = nullptr; }
    vt::ModalAnswerer answerer;
};
