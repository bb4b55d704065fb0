// For the tests of the programs that show the analysis window: what the
// window must show for a palette, drawn from scratch at the window's size.
#pragma once

#include <gtest/gtest.h>

#include "analysis/analysiswindow.h"
#include "analysis/picture.h"
#include "shell/headless/testing.h"

namespace analysis::testing {

// The analysis picture of p, drawn by a new picture at the given size.
inline shell::Surface freshanalysis(const shell::Palette& p, int width, int height) {
    Picture pic(width);
    shell::Surface s(width, height);
    pic.drawall(s, p);
    return s;
}

// The analysis window of w is open and shows the analysis of p.
inline ::testing::AssertionResult showsanalysis(shell::Window& w, const shell::Palette& p) {
    const shell::SideWindow* s = w.sidewindow(AnalysisWindow::kId);
    if (!s) return ::testing::AssertionFailure() << "the analysis window is closed";
    const shell::Surface want = freshanalysis(p, s->xres(), s->yres());
    if (shell::testing::surfacehash(s->onscreen) != shell::testing::surfacehash(want))
        return ::testing::AssertionFailure() << "it shows another palette";
    return ::testing::AssertionSuccess();
}

}  // namespace analysis::testing
