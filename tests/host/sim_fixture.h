#pragma once
#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"

namespace qm::test {

// A test on a simulated machine; a dialog the test did not answer fails it.
class SimTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const auto& d : m.user.unscripted())
            ADD_FAILURE() << "unanswered dialog: " << d.caption << ": " << d.text;
    }
    const sim::DialogRecord& dialog(size_t i) {
        if (i >= m.user.shown.size()) throw std::out_of_range("no dialog " + std::to_string(i));
        return m.user.shown[i];
    }
    sim::SimMachine m;
};

}  // namespace qm::test
