// Loads a test main frame, made by the caller, from a test resource, with
// docking on all sides.
#pragma once
#include <gtest/gtest.h>
#include "afx/afx.h"

namespace vt {

// NULL when the frame cannot be made: one that failed to become a window has
// already freed itself.
template <class F>
F* LoadDockingFrame(F* p, UINT nID)
{
    if (!p->LoadFrame(nID)) {
        ADD_FAILURE() << "LoadFrame failed";
        return nullptr;
    }
    p->EnableDocking(CBRS_ALIGN_ANY);
    return p;
}

} // namespace vt
