#include "params/control_registry.h"

const ControlRecord* findControl(const ControlMap& map, int32_t key) {
    auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}

void storeControl(ControlMap& map, int32_t key, const ControlRecord& record) { map[key] = record; }

void removeControl(ControlMap& map, int32_t key) { map.erase(key); }

std::optional<int32_t> findChoiceCount(const ChoiceCountMap& counts, int32_t param) {
    auto it = counts.find(param);
    if (it == counts.end()) return std::nullopt;
    return it->second;
}

void storeChoiceCount(ChoiceCountMap& counts, int32_t param, int32_t count) { counts[param] = count; }
