#include "tools/quillctl/bench_rules.h"

#include "link/device_text.h"
#include "tools/quillctl/provision.h"

namespace {

constexpr int32_t kBcdFieldLength = 0;  // TextFieldLimit::fieldLength of K

size_t cellCount(const FormValues& form) {
    return form.fields.size() + form.rows.size();
}

// The text a read gives back after `text` was written to field `index`.
std::string readBack(size_t index, const std::string& text) {
    if (TextFieldLimits[index].fieldLength != kBcdFieldLength) return text;
    uint8_t value = 0;
    return bcdFromText(text, value) ? textFromBcd(value) : text;
}

// The first register of field `index` where the texts part.
int32_t fieldDifference(size_t index, const std::string& got, const std::string& expected) {
    const TextFieldLimit& limit = TextFieldLimits[index];
    if (limit.fieldLength == kBcdFieldLength) return limit.registerBase;
    size_t at = 0;
    while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
    return limit.registerBase + static_cast<int32_t>(at);
}

bool cellsAgree(const FormValues& a, const FormValues& b, size_t cell) {
    const size_t fields = a.fields.size();
    if (cell < fields) return a.fields[cell].text == b.fields[cell].text;
    const FormRow& row = a.rows[cell - fields];
    return !row.hasList || row.selection == b.rows[cell - fields].selection;
}

// Cell `cell` of `from` copied into `into`.
void copyCell(const FormValues& from, FormValues& into, size_t cell) {
    const size_t fields = from.fields.size();
    if (cell < fields)
        into.fields[cell] = from.fields[cell];
    else
        into.rows[cell - fields] = from.rows[cell - fields];
}

}  // namespace

FormValues meantForm(const FormValues& read, const std::vector<ConfigPair>& templatePairs, const UnitList& list,
                     const ListedUnit& unit) {
    FormValues meant = read;
    openPairs(templatePairs, meant);
    for (size_t i = 0; i < meant.fields.size() && i < kListFields; ++i) {
        meant.fields[i].present = list.named[i];
        meant.fields[i].text = list.named[i] ? unit.texts[i] : std::string();
    }
    return meant;
}

FormValues expectedContents(const FormValues& read, const FormValues& meant) {
    FormValues expected = read;
    for (size_t i = 0; i < expected.fields.size() && i < kListFields; ++i)
        if (meant.fields[i].present) expected.fields[i].text = readBack(i, meant.fields[i].text);
    for (size_t k = 0; k < expected.rows.size(); ++k)
        if (meant.rows[k].hasList && meant.rows[k].selection >= 0) expected.rows[k].selection = meant.rows[k].selection;
    return expected;
}

bool firstDifference(const FormValues& got, const FormValues& expected, const std::vector<bool>& compared,
                     int32_t& differingRegister) {
    if (got.fields.size() != expected.fields.size() || got.rows.size() != expected.rows.size()) {
        differingRegister = -1;
        return true;
    }
    for (size_t cell = 0; cell < cellCount(got); ++cell) {
        if ((!compared.empty() && !compared[cell]) || cellsAgree(got, expected, cell)) continue;
        const size_t fields = got.fields.size();
        differingRegister = cell < fields ? fieldDifference(cell, got.fields[cell].text, expected.fields[cell].text)
                                          : got.rows[cell - fields].number;
        return true;
    }
    return false;
}

size_t stoppedCell(const FormValues& form, const TransferResult& result) {
    if (result.stoppedParameter > 0) return form.fields.size() + static_cast<size_t>(result.stoppedParameter - 1);
    const TextFieldLimit* limit = findTextField(result.stoppedField);
    return limit ? static_cast<size_t>(limit - TextFieldLimits) : 0;
}

UnitMemory rememberWhole(const FormValues& contents) {
    return UnitMemory{true, contents, std::vector<bool>(cellCount(contents), true)};
}

UnitMemory rememberBefore(const FormValues& contents, size_t cell) {
    UnitMemory memory = rememberWhole(contents);
    for (size_t c = cell; c < memory.known.size(); ++c) memory.known[c] = false;
    return memory;
}

UnitMemory rememberWriteStopped(const FormValues& read, const FormValues& expected, size_t cell) {
    UnitMemory memory = rememberWhole(read);
    for (size_t c = 0; c < cell && c < memory.known.size(); ++c) copyCell(expected, memory.contents, c);
    if (cell < memory.known.size()) memory.known[cell] = false;
    return memory;
}

UnitMemory rememberCheckStopped(const FormValues& expected, size_t cell) {
    UnitMemory memory = rememberWhole(expected);
    if (cell < memory.known.size()) memory.known[cell] = false;
    return memory;
}

bool holdsRemembered(const FormValues& now, const UnitMemory& memory) {
    int32_t differing = 0;
    return memory.valid && !firstDifference(now, memory.contents, memory.known, differing);
}
