// The framework's MDI and SDI frames hide the platform frame's docking
// operations with their own (non-virtual): callers that hold a CFrameWnd*
// reach the right one through this.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKFrameWnd.h"
#include "framework/frames/TWKMDIFrameWnd.h"

// Runs op on the frame as the framework frame it is, or as a plain frame.
template <class Op>
void TWKWithFrame(CFrameWnd* pFrame, Op op)
{
    if (!pFrame)
        return;
    if (pFrame->IsKindOf(RUNTIME_CLASS(TWKMDIFrameWnd)))
        op(static_cast<TWKMDIFrameWnd*>(pFrame));
    else if (pFrame->IsKindOf(RUNTIME_CLASS(TWKFrameWnd)))
        op(static_cast<TWKFrameWnd*>(pFrame));
    else
        op(pFrame);
}
