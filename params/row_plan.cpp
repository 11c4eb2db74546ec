#include "params/row_plan.h"

#include "params/layout.h"
#include "params/parameter_list.h"

std::vector<RowPlan> planParameterRows(const DefinitionStore& store, const ChoiceCountMap& counts,
                                       int32_t rowHeight) {
    std::vector<RowPlan> plans;
    int32_t visibleRows = 0;
    forEachParameter(store, [&](int32_t n, const Row& row) {
        RowPlan plan;
        plan.number = n;
        const std::string& caption = row.front();
        plan.caption = caption == "0" ? std::string() : displayedCaption(n, caption);
        plan.visible = isVisibleCaption(caption);
        plan.offsetY = rowTop(rowHeight, visibleRows);
        if (plan.visible) {
            plan.choices = choiceTexts(store, counts, n);
            ++visibleRows;
        }
        plans.push_back(std::move(plan));
    });
    return plans;
}

MeasuredTexts measuredTexts(const DefinitionStore& store) {
    MeasuredTexts texts;
    forEachParameter(store, [&](int32_t, const Row& row) {
        texts.captions.push_back(row.front());
        texts.choices.insert(texts.choices.end(), row.begin() + 1, row.end());
    });
    return texts;
}
