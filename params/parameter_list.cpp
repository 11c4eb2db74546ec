#include "params/parameter_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kMaxDisplayedCaption = 499;
constexpr size_t kMaxGeneratedText = 999;
const char* const kHiddenCaption = "0";
const char* const kChoiceFormatKey = "XI";

// Format grammar accepted for "XI", by example: "%d", "%3d min", "%+05i",
// "0x%02X", "100%% %u". One conversion % [flags -+ #0] [width] [.precision]
// with d, i, o, u, x or X; width and precision at most three digits, so the
// output stays within the 999-character limit; "%%" anywhere. No length
// modifiers (the argument is a plain int) and no "*".
enum class FormatKind { NoConversion, SingleInteger, Unsupported };

bool readDigits(const std::string& format, size_t& i, size_t maxDigits) {
    size_t digits = 0;
    for (; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i) ++digits;
    return digits <= maxDigits;
}

bool isOneOf(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

// `i` stands after the '%'; on success it moves past the conversion.
bool readIntegerConversion(const std::string& format, size_t& i) {
    while (i < format.size() && isOneOf(format[i], "-+ #0")) ++i;
    if (!readDigits(format, i, 3)) return false;
    if (i < format.size() && format[i] == '.' && !readDigits(format, ++i, 3)) return false;
    if (i >= format.size() || !isOneOf(format[i], "diouxX")) return false;
    ++i;
    return true;
}

FormatKind classifyFormat(const std::string& format) {
    int conversions = 0;
    for (size_t i = 0; i < format.size();) {
        if (format[i++] != '%') continue;
        if (i < format.size() && format[i] == '%') {
            ++i;
            continue;
        }
        if (!readIntegerConversion(format, i)) return FormatKind::Unsupported;
        ++conversions;
    }
    if (conversions == 0) return FormatKind::NoConversion;
    return conversions == 1 ? FormatKind::SingleInteger : FormatKind::Unsupported;
}

std::string withoutPercentEscapes(const std::string& format) {
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        out += format[i];
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') ++i;
    }
    return out;
}

std::string limited(std::string s, size_t limit) {
    if (s.size() > limit) s.resize(limit);
    return s;
}

}  // namespace

std::string parameterKey(int32_t n) { return "X" + std::to_string(n); }

int32_t parameterListLength(const DefinitionStore& store) {
    int32_t length = 0;
    forEachParameter(store, [&](int32_t n, const Row&) { length = n; });
    return length;
}

bool isVisibleCaption(const std::string& caption) { return !caption.empty() && caption != kHiddenCaption; }

bool isParameterVisible(const DefinitionStore& store, int32_t n) { return visibleIndex(store, n) >= 0; }

int32_t countVisibleParameters(const DefinitionStore& store) {
    int32_t visible = 0;
    forEachParameter(store, [&](int32_t, const Row& row) {
        if (isVisibleCaption(row.front())) ++visible;
    });
    return visible;
}

int32_t visibleIndex(const DefinitionStore& store, int32_t n) {
    int32_t before = 0, index = -1;
    forEachParameter(store, [&](int32_t m, const Row& row) {
        if (!isVisibleCaption(row.front())) return;
        if (m == n) index = before;
        ++before;
    });
    return index;
}

std::string displayedCaption(int32_t n, const std::string& caption) {
    return limited(std::to_string(n) + ". " + caption, kMaxDisplayedCaption);
}

int32_t choiceCount(const DefinitionStore& store, const ChoiceCountMap& counts, int32_t n) {
    if (std::optional<int32_t> stored = findChoiceCount(counts, n)) return *stored;
    const Row* row = findRow(store, parameterKey(n));
    return row ? static_cast<int32_t>(row->size()) - 1 : 0;
}

std::string choiceText(const DefinitionStore& store, int32_t n, int32_t k) {
    std::string choice = k >= 0 ? text(store, parameterKey(n), k + 1) : std::string();
    if (choice == kHiddenCaption) choice.clear();
    if (choice.empty()) choice = formatChoiceIndex(text(store, kChoiceFormatKey, 0), k);
    return choice;
}

std::vector<std::string> choiceTexts(const DefinitionStore& store, const ChoiceCountMap& counts, int32_t n) {
    std::vector<std::string> texts;
    const int32_t count = choiceCount(store, counts, n);
    for (int32_t k = 0; k < count; ++k) texts.push_back(choiceText(store, n, k));
    return texts;
}

int32_t keptSelection(int32_t remembered, int32_t count) {
    return remembered >= 0 && remembered < count ? remembered : 0;
}

bool isSingleIntegerFormat(const std::string& format) {
    return classifyFormat(format) == FormatKind::SingleInteger;
}

std::string formatChoiceIndex(const std::string& format, int32_t k) {
    switch (classifyFormat(format)) {
    case FormatKind::SingleInteger: {
        char buffer[kMaxGeneratedText + 1];
        const int written = std::snprintf(buffer, sizeof buffer, format.c_str(), k);
        if (written < 0) break;
        return std::string(buffer, std::min<size_t>(static_cast<size_t>(written), kMaxGeneratedText));
    }
    case FormatKind::NoConversion:
        return limited(withoutPercentEscapes(format), kMaxGeneratedText);
    case FormatKind::Unsupported:
        break;
    }
    return std::to_string(k);
}

std::optional<int32_t> findChoiceCount(const ChoiceCountMap& counts, int32_t param) {
    auto it = counts.find(param);
    if (it == counts.end()) return std::nullopt;
    return it->second;
}

void storeChoiceCount(ChoiceCountMap& counts, int32_t param, int32_t count) { counts[param] = count; }

void fillChoiceCountsFromDefinitions(const DefinitionStore& store, ChoiceCountMap& counts) {
    forEachParameter(store, [&](int32_t n, const Row& row) {
        storeChoiceCount(counts, n, static_cast<int32_t>(row.size()) - 1);
    });
}
