// The test seam's state inside the layer: whether boxes take scripted answers, and the records
// of what was shown. Tests reach it through platform/testing.h only.
#pragma once

#include "platform/testing.h"

#include <deque>

namespace platform::seam {

struct State {
    bool scripted = false;
    std::deque<int> boxAnswers;
    std::vector<testing::ShownBox> shownBoxes;
    int unscriptedBoxes = 0;
    std::vector<UINT> beeps;
};

State& state();

} // namespace platform::seam
