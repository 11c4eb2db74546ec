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
    position = std::min(position, state.maximum - state.page + 1);
    return std::max(position, state.minimum);
}

std::vector<int32_t> separatorLines(int32_t count, int32_t position, int32_t rowHeight) {
    std::vector<int32_t> lines;
    for (int32_t i = 1; i <= count - position; ++i) lines.push_back(i * rowPitch(rowHeight) + 2);
    return lines;
}
