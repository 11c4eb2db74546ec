#include "params/layout.h"

#include <algorithm>

int32_t centringOffset(int32_t clientWidth, int32_t groupWidth) {
    return (clientWidth - groupWidth) / 2;  // C++ division truncates toward zero
}

int32_t parameterAreaHeight(int32_t clientHeight) {
    return std::max(0, clientHeight - kFixedStripHeight);
}

int32_t rowPitch(int32_t rowHeight) { return rowHeight + kRowGap; }

int32_t rowTop(int32_t rowHeight, int32_t visibleIndex) { return rowPitch(rowHeight) * visibleIndex + kRowGap; }

Point fixedFirstWindowPosition(const ControlRecord& record, int32_t clientWidth, int32_t clientHeight) {
    return {record.firstX + centringOffset(clientWidth, record.groupWidth), clientHeight - record.offsetY};
}

Point fixedSecondWindowPosition(const ControlRecord& record, int32_t clientWidth, int32_t clientHeight) {
    return {record.secondX + centringOffset(clientWidth, record.groupWidth), clientHeight - record.offsetY};
}

Point rowCaptionPosition(const ControlRecord& record, int32_t areaWidth, int32_t rowHeight, int32_t position) {
    return {record.firstX + centringOffset(areaWidth, record.groupWidth),
            record.offsetY - rowPitch(rowHeight) * position};
}

Point rowChoicePosition(const ControlRecord& record, int32_t areaWidth, int32_t rowHeight, int32_t position) {
    return {record.secondX + centringOffset(areaWidth, record.groupWidth),
            record.offsetY - rowPitch(rowHeight) * position};
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
