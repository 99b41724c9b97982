#include "quality/QualityGovernor.h"

#include <algorithm>

namespace {

double median(std::vector<double>& values) {
    auto middle = values.begin() + static_cast<long>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

} // namespace

QualityGovernor::QualityGovernor(QualityRung start, double targetFps, unsigned pinned)
    : current(static_cast<int>(start)), targetSeconds(1.0 / std::max(targetFps, 1.0)) {
    for (int i = 0; i < qualityRungCount; ++i) {
        drawn[i] = rungSettings(static_cast<QualityRung>(i)).pinnedTo(QualitySettings(), pinned);
        cost[i] = estimatedCost(static_cast<QualityRung>(i), pinned);
    }
    // The first frames pay for loading and compiling, not for the rung.
    skipWindow = true;
}

QualityGovernor::Event QualityGovernor::frame(double seconds) {
    // A clock that went backwards or a nonsense value counts as no time at all.
    if (!(seconds >= 0.0))
        seconds = 0.0;
    now += seconds;
    window.push_back(seconds);
    Event event = Event::None;
    if (now - windowStart >= windowSeconds) {
        double typical = median(window);
        window.clear();
        windowStart = now;
        if (skipWindow)
            skipWindow = false;
        else
            event = judgeWindow(typical);
    }
    // A rung about to be left for the one above (one roomy window in, one to go) has not
    // settled: a climb through the rungs settles once, at its top.
    if (event == Event::None && !settled && roomyWindows == 0 &&
        now - lastChange >= settleSeconds) {
        settled = true;
        event = Event::Settled;
    }
    return event;
}

QualityGovernor::Event QualityGovernor::judgeWindow(double medianSeconds) {
    // A step up that missed measured the two rungs a second apart: the rung costs at least that
    // much more, and is not expected to fit at this load again. (A step down teaches nothing
    // safe: the load that made it may go as quickly as it came.)
    if (steppedUpFrom >= 0 && medianSeconds > targetSeconds && medianBefore > 0.0)
        cost[current] = std::max(cost[current], cost[steppedUpFrom] * medianSeconds / medianBefore);
    steppedUpFrom = -1;
    lastMedian = medianSeconds;

    if (medianSeconds > targetSeconds) {
        roomyWindows = 0;
        int below = nextDistinct(current, -1);
        if (below < 0)
            return Event::None;
        backOff[current] = backOff[current] > 0.0 ? 2.0 * backOff[current] : firstBackOffSeconds;
        retryAt[current] = now + backOff[current];
        return moveTo(below, Event::SteppedDown);
    }
    int above = nextDistinct(current, 1);
    double expected = above < 0 ? 0.0 : medianSeconds * cost[above] / cost[current];
    if (above < 0 || now < retryAt[above] || expected > 0.9 * targetSeconds) {
        roomyWindows = 0;
        return Event::None;
    }
    if (++roomyWindows < 2)
        return Event::None;
    return moveTo(above, Event::SteppedUp);
}

int QualityGovernor::nextDistinct(int from, int direction) const {
    for (int i = from + direction; i >= 0 && i < qualityRungCount; i += direction) {
        if (drawn[i] != drawn[from])
            return i;
    }
    return -1;
}

QualityGovernor::Event QualityGovernor::moveTo(int rung, Event event) {
    steppedUpFrom = event == Event::SteppedUp ? current : -1;
    medianBefore = lastMedian;
    current = rung;
    skipWindow = true;
    roomyWindows = 0;
    lastChange = now;
    settled = false;
    return event;
}
