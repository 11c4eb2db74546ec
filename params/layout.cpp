#include "params/layout.h"

#include <algorithm>

namespace {

constexpr int32_t kButtonGroupWidth = 400, kButtonDistance = 60;
constexpr int32_t kFieldGroupWidth = 305, kFieldEditX = 155;
constexpr int32_t kFieldSlotPitch = 25, kFieldBaseDistance = 95;
constexpr int32_t kFootDistance = 25;

}  // namespace

ControlPlace commandButtonPlace(int32_t groupX) { return {kButtonDistance, groupX, 0, kButtonGroupWidth}; }

ControlPlace textFieldPlace(int32_t slot) {
    return {kFieldSlotPitch * slot + kFieldBaseDistance, 0, kFieldEditX, kFieldGroupWidth};
}

ControlPlace footPlace() { return {kFootDistance, 0, 0, kFootWidth}; }

int32_t centringOffset(int32_t clientWidth, int32_t groupWidth) {
    return (clientWidth - groupWidth) / 2;  // C++ division truncates toward zero
}

int32_t parameterAreaHeight(int32_t clientHeight) {
    return std::max(0, clientHeight - kFixedStripHeight);
}

int32_t rowPitch(int32_t rowHeight) { return rowHeight + kRowGap; }

int32_t rowTop(int32_t rowHeight, int32_t visibleIndex) { return rowPitch(rowHeight) * visibleIndex + kRowGap; }

Point fixedFirstWindowPosition(const ControlPlace& place, int32_t clientWidth, int32_t clientHeight) {
    return {place.firstX + centringOffset(clientWidth, place.groupWidth), clientHeight - place.offsetY};
}

Point fixedSecondWindowPosition(const ControlPlace& place, int32_t clientWidth, int32_t clientHeight) {
    return {place.secondX + centringOffset(clientWidth, place.groupWidth), clientHeight - place.offsetY};
}

Point rowCaptionPosition(const ControlPlace& place, int32_t areaWidth, int32_t rowHeight, int32_t position) {
    return {place.firstX + centringOffset(areaWidth, place.groupWidth),
            place.offsetY - rowPitch(rowHeight) * position};
}

Point rowChoicePosition(const ControlPlace& place, int32_t areaWidth, int32_t rowHeight, int32_t position) {
    return {place.secondX + centringOffset(areaWidth, place.groupWidth),
            place.offsetY - rowPitch(rowHeight) * position};
}

void measureCaption(LayoutMetrics& metrics, int32_t width, int32_t height) {
    metrics.captionWidth = std::max(metrics.captionWidth, width);
    metrics.rowHeight = std::max(metrics.rowHeight, height);
}

void measureChoice(LayoutMetrics& metrics, int32_t width) {
    metrics.choiceWidth = std::max(metrics.choiceWidth, width);
}

void padMetrics(LayoutMetrics& metrics) {
    metrics.rowHeight += 5;
    metrics.choiceWidth += 30;
    metrics.captionWidth += 30;
}

int32_t scrollPage(int32_t clientHeight, int32_t rowHeight) {
    const int32_t rows = clientHeight / rowPitch(rowHeight);
    return rows > 0 ? rows : 1;
}

namespace {

int32_t limitedPosition(const ScrollState& state, int64_t position) {
    position = std::min<int64_t>(position, int64_t{state.maximum} - state.page + 1);
    return static_cast<int32_t>(std::max<int64_t>(position, state.minimum));
}

}  // namespace

int32_t scrolledPosition(const ScrollState& state, int32_t request) {
    int32_t position = state.position;
    switch (request) {
        case kScrollLineUp: position -= 1; break;
        case kScrollLineDown: position += 1; break;
        case kScrollPageUp: position -= state.page; break;
        case kScrollPageDown: position += state.page; break;
        case kScrollThumbTrack: position = state.trackPosition; break;
        case kScrollTop: position = state.minimum; break;
        case kScrollBottom: position = state.maximum; break;
        default: break;
    }
    return limitedPosition(state, position);
}

int32_t scrolledBy(const ScrollState& state, int32_t rows) {
    return limitedPosition(state, int64_t{state.position} + rows);
}

int32_t positionShowing(const ScrollState& state, int32_t index) {
    if (index < state.position) return limitedPosition(state, index);
    if (index >= int64_t{state.position} + state.page) return limitedPosition(state, int64_t{index} - state.page + 1);
    return state.position;
}

// `pending` counts 1/120 rows, so that any setting adds up exactly: a delta
// d at n rows a notch is d * n of them.
int32_t wheelRows(int32_t& pending, int32_t delta, uint32_t linesPerNotch, int32_t page) {
    if ((pending > 0 && delta < 0) || (pending < 0 && delta > 0)) pending = 0;
    const int64_t perNotch = linesPerNotch == kWheelPageScroll ? std::max(page, 1) : std::min<uint32_t>(linesPerNotch, 1000);
    const int64_t units = int64_t{pending} + int64_t{delta} * perNotch;
    const int64_t rows = units / kWheelDelta;  // whole rows, toward zero
    pending = static_cast<int32_t>(units - rows * kWheelDelta);
    return static_cast<int32_t>(-rows);
}

std::vector<int32_t> separatorLines(int32_t count, int32_t position, int32_t rowHeight) {
    std::vector<int32_t> lines;
    for (int32_t i = 1; i <= count - position; ++i) lines.push_back(i * rowPitch(rowHeight) + 2);
    return lines;
}
