#include "params/row_plan.h"

#include "params/layout.h"
#include "params/parameter_list.h"

std::vector<RowPlan> planParameterRows(const DefinitionStore& store, const ChoiceCountMap& counts,
                                       int32_t rowHeight) {
    std::vector<RowPlan> plans;
    const int32_t length = parameterListLength(store);
    int32_t visibleIndex = 0;
    for (int32_t n = 1; n <= length; ++n) {
        RowPlan plan;
        plan.number = n;
        const std::string caption = text(store, parameterKey(n), 0);
        plan.caption = caption == "0" ? std::string() : displayedCaption(n, caption);
        plan.visible = isVisibleCaption(caption);
        plan.offsetY = rowTop(rowHeight, visibleIndex);
        if (plan.visible) {
            plan.choices = choiceTexts(store, counts, n);
            ++visibleIndex;
        }
        plans.push_back(std::move(plan));
    }
    return plans;
}

MeasuredTexts measuredTexts(const DefinitionStore& store) {
    MeasuredTexts texts;
    const int32_t length = parameterListLength(store);
    for (int32_t n = 1; n <= length; ++n) {
        const Row* row = findRow(store, parameterKey(n));
        if (!row) break;
        texts.captions.push_back((*row)[0]);
        texts.choices.insert(texts.choices.end(), row->begin() + 1, row->end());
    }
    return texts;
}
