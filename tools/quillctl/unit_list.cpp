#include "tools/quillctl/unit_list.h"

#include "link/device_text.h"
#include "link/link.h"
#include "tools/quillctl/csv_records.h"

#include <algorithm>
#include <map>

namespace {

constexpr const char* kLabelColumn = "label";
constexpr int32_t kLabelIndex = -1;  // a column's meaning: the label, else the field's index

std::string lowerTrimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    std::string name = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    for (char& ch : name) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    return name;
}

bool columnMeaning(const std::string& name, int32_t& meaning) {
    if (name == kLabelColumn) {
        meaning = kLabelIndex;
        return true;
    }
    for (size_t i = 0; i < kListFields; ++i)
        if (name == lowerTrimmed(TextFieldLimits[i].key)) {
            meaning = static_cast<int32_t>(i);
            return true;
        }
    return false;
}

std::string unknownColumn(const std::string& name) {
    const std::string hint = name.find(';') != std::string::npos ? " (separate the columns with commas, not semicolons)"
                                                                 : " (label, T1, T2, T3, T4, H, K)";
    return "unknown column '" + name + "'" + hint;
}

// The header's columns in order; every name known, each once, a label.
bool readHeader(const CsvRecord& header, std::vector<int32_t>& columns, UnitList& list, std::string& problem) {
    bool hasLabel = false;
    for (size_t c = 0; c < header.fields.size(); ++c) {
        const int32_t column = static_cast<int32_t>(c) + 1;
        const std::string name = lowerTrimmed(header.fields[c]);
        int32_t meaning = 0;
        if (!columnMeaning(name, meaning)) {
            problem = csvPlace(header.line, column, unknownColumn(header.fields[c]));
            return false;
        }
        bool& seen = meaning == kLabelIndex ? hasLabel : list.named[meaning];
        if (seen) {
            problem = csvPlace(header.line, column, "column '" + header.fields[c] + "' given twice");
            return false;
        }
        seen = true;
        columns.push_back(meaning);
    }
    if (!hasLabel) problem = csvPlace(header.line, 1, "no column 'label'");
    return hasLabel;
}

// Bytes after a UTF-8 lead byte; kNotLead for a byte that cannot start one.
constexpr size_t kNotLead = 4;
size_t continuationBytes(unsigned char lead) {
    if (lead < 0x80) return 0;
    if (lead >= 0xC2 && lead < 0xE0) return 1;
    if (lead >= 0xE0 && lead < 0xF0) return 2;
    return lead >= 0xF0 && lead < 0xF5 ? 3 : kNotLead;
}

// Whether `text` is UTF-8 without control characters (a line break among them).
bool printableUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t extra = continuationBytes(lead);
        if (lead < 0x20 || lead == 0x7F || extra == kNotLead || i + extra >= text.size()) return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += extra;
    }
    return true;
}

bool labelProblem(const std::string& label, std::string& reason) {
    if (label.empty()) reason = "no label";
    else if (!printableUtf8(label)) reason = "the label is not one line of UTF-8 text";
    return !reason.empty();
}

bool fieldProblem(size_t index, const std::string& text, std::string& reason) {
    const TextFieldLimit& limit = TextFieldLimits[index];
    const std::string key = limit.key;
    const auto length = static_cast<int32_t>(text.size());
    if (!allDigits(text)) reason = key + " '" + text + "' holds other characters than digits";
    else if (length > limit.maxLength) reason = key + " takes at most " + std::to_string(limit.maxLength) + " digits";
    else if (length && limit.requiredLength > 0 && length != limit.requiredLength)
        reason = key + " takes exactly " + std::to_string(limit.requiredLength) + " digits, or none";
    return !reason.empty();
}

bool readUnit(const CsvRecord& record, const std::vector<int32_t>& columns, ListedUnit& unit, std::string& problem) {
    unit.line = record.line;
    if (record.fields.size() != columns.size()) {
        const size_t column = std::min(record.fields.size(), columns.size()) + 1;
        problem = csvPlace(record.line, static_cast<int32_t>(column),
                           std::to_string(record.fields.size()) + " cells where the header names " +
                               std::to_string(columns.size()));
        return false;
    }
    for (size_t c = 0; c < columns.size(); ++c) {
        const std::string& cell = record.fields[c];
        std::string reason;
        if (columns[c] == kLabelIndex ? labelProblem(cell, reason) : fieldProblem(columns[c], cell, reason)) {
            problem = csvPlace(record.line, static_cast<int32_t>(c) + 1, reason);
            return false;
        }
        (columns[c] == kLabelIndex ? unit.label : unit.texts[columns[c]]) = cell;
    }
    return true;
}

bool readUnits(const std::vector<CsvRecord>& records, const std::vector<int32_t>& columns, UnitList& list,
               std::string& problem) {
    const int32_t labelColumn = static_cast<int32_t>(std::find(columns.begin(), columns.end(), kLabelIndex) - columns.begin()) + 1;
    std::map<std::string, int32_t> lineOf;
    for (size_t r = 1; r < records.size(); ++r) {
        ListedUnit unit;
        if (!readUnit(records[r], columns, unit, problem)) return false;
        const auto seen = lineOf.emplace(unit.label, unit.line);
        if (!seen.second) {
            problem = csvPlace(unit.line, labelColumn,
                               "label '" + unit.label + "' is on line " + std::to_string(seen.first->second) + " too");
            return false;
        }
        list.units.push_back(unit);
    }
    return true;
}

}  // namespace

bool parseUnitList(const std::string& bytes, UnitList& list, std::string& problem) {
    list = UnitList();
    std::vector<CsvRecord> records;
    std::vector<int32_t> columns;
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        problem = csvPlace(1, 1, "the list is UTF-16 text; save it as CSV in UTF-8");
        return false;
    }
    if (!readCsvRecords(bytes, records, problem)) return false;
    if (records.empty()) {
        problem = csvPlace(1, 1, "the list is empty");
        return false;
    }
    if (!readHeader(records[0], columns, list, problem) || !readUnits(records, columns, list, problem)) return false;
    if (list.units.empty()) problem = csvPlace(records[0].line + 1, 1, "no units below the header");
    return !list.units.empty();
}

namespace {

bool portNumber(const std::string& text, int32_t& port) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    port = std::stoi(text);
    return port >= 1 && port <= kPortCount;
}

// One item: "7" or "7-9".
bool portItem(const std::string& item, std::vector<int32_t>& ports, std::string& reason) {
    const size_t dash = item.find('-');
    int32_t first = 0, last = 0;
    if (!portNumber(item.substr(0, dash), first) ||
        !portNumber(dash == std::string::npos ? item : item.substr(dash + 1), last)) {
        reason = "'" + item + "' is not a port 1..256 or a range such as 7-9";
        return false;
    }
    if (last < first) reason = "the range " + item + " runs backwards";
    for (int32_t p = first; p <= last && reason.empty(); ++p) {
        if (std::find(ports.begin(), ports.end(), p) != ports.end()) reason = "port " + std::to_string(p) + " is given twice";
        ports.push_back(p);
    }
    return reason.empty();
}

}  // namespace

bool parsePortList(const std::string& text, std::vector<int32_t>& ports, std::string& problem) {
    ports.clear();
    std::string reason;
    for (size_t start = 0;;) {
        const size_t comma = text.find(',', start);
        if (!portItem(text.substr(start, comma - start), ports, reason)) {
            problem = "PORTS '" + text + "': " + reason;
            return false;
        }
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}
