#include "tools/sqctool/defs_lint.h"

#include "defs/definition_store.h"
#include "params/parameter_list.h"
#include "params/text_fields.h"
#include "report/date_format.h"
#include "tools/common/windows1250.h"

#include <algorithm>

namespace {

// Plain keys the program asks for, with the highest position it asks for.
// The fields of a row are positional and never empty, so a row that has the
// highest one has all below it.
struct RequiredText {
    const char* key;
    int32_t lastIndex;
};
const RequiredText kPlainTexts[] = {
    {"Q", 5}, {"Q1", 4}, {"E1", 3}, {"E", 5}, {"A1", 0}, {"A2", 0}, {"A3", 0}, {"A4", 0}, {"P", 6},
};
const char* const kChoiceFormatKey = "XI";
// The report's date format: text("P", 0).
const char* const kReportKey = "P";

struct Lint {
    DefinitionStore store;
    DefinitionSourceMap sources;
    std::vector<LintFinding> findings;
};

void add(Lint& lint, int32_t line, const std::string& message, bool note = false) {
    lint.findings.push_back({line, note, message});
}

const LanguageTable& tableOf(const Lint& lint, const std::string& language) {
    return lint.store.database->languages.at(language);
}

int32_t lineOf(const std::map<std::string, int32_t>& lines, const std::string& key) {
    auto it = lines.find(key);
    return it == lines.end() ? 0 : it->second;
}

// The line of the row that findRow gives for `storedKey` in `language`: the
// language's own row, else the first language's.
int32_t rowLine(const Lint& lint, const std::string& language, const std::string& storedKey) {
    auto own = lint.sources.rowLines.find(language);
    if (own != lint.sources.rowLines.end() && own->second.count(storedKey)) return own->second.at(storedKey);
    auto first = lint.sources.rowLines.find(lint.store.database->firstLanguage);
    return first == lint.sources.rowLines.end() ? 0 : lineOf(first->second, storedKey);
}

int32_t sectionLine(const Lint& lint, const std::string& language, int32_t variant) {
    auto sections = lint.sources.sectionLines.find(language);
    if (sections != lint.sources.sectionLines.end() && sections->second.count(variant))
        return sections->second.at(variant);
    return lineOf(lint.sources.languageLines, language);
}

std::string where(const std::string& language, int32_t variant, bool variantSpecific) {
    if (!variantSpecific) return " (" + windows1250ToUtf8(language) + ")";
    return " (" + windows1250ToUtf8(language) + ", variant " + std::to_string(variant) + ")";
}

void checkText(Lint& lint, const std::string& language, const std::string& key, int32_t lastIndex) {
    const int32_t variant = lint.store.currentVariant;
    const bool specific = isVariantKey(key);
    const std::string place = where(language, variant, specific);
    const Row* row = findRow(lint.store, key);
    if (!row) {
        add(lint, sectionLine(lint, language, specific ? variant : 0), key + " is missing" + place);
    } else if (row->size() <= static_cast<size_t>(lastIndex)) {
        add(lint, rowLine(lint, language, variantKey(key, variant)),
            key + " " + std::to_string(lastIndex) + " is missing" + place + ": the row has only positions 0 to " +
                std::to_string(row->size() - 1));
    }
}

// Splits a stored parameter key "X<n>-<variant>".
bool splitParameterKey(const std::string& storedKey, int32_t& n, int32_t& variant) {
    const size_t dash = storedKey.find('-');
    if (storedKey.size() < 2 || storedKey[0] != 'X' || dash == std::string::npos || dash > 10) return false;
    const std::string digits = storedKey.substr(1, dash - 1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return false;
    n = std::stoi(digits);
    variant = parseLeadingInt(storedKey.substr(dash + 1));
    return variantKey(parameterKey(n), variant) == storedKey;
}

bool isParameterRowKey(const std::string& storedKey) {
    int32_t n = 0, variant = 0;
    return splitParameterKey(storedKey, n, variant);
}

// Keys the program looks up; other rows (comments, say) are the writer's own.
bool isProgramKey(const std::string& storedKey) {
    if (isParameterRowKey(storedKey)) return true;
    const std::string key = isVariantKey(storedKey) ? storedKey.substr(0, storedKey.rfind('-')) : storedKey;
    if (key == kChoiceFormatKey) return isVariantKey(storedKey);
    for (const TextFieldLimit& field : TextFieldLimits)
        if (key == field.key) return isVariantKey(storedKey);
    for (const RequiredText& required : kPlainTexts)
        if (key == required.key) return !isVariantKey(storedKey);
    return false;
}

void checkParameters(Lint& lint, const std::string& language) {
    const int32_t variant = lint.store.currentVariant;
    const std::string place = where(language, variant, true);
    const int32_t length = parameterListLength(lint.store);
    if (length == 0) add(lint, sectionLine(lint, language, variant), "X1 is missing" + place + ": no parameters");
    for (const auto& entry : tableOf(lint, language)) {
        int32_t n = 0, rowVariant = 0;
        if (!splitParameterKey(entry.first, n, rowVariant) || rowVariant != variant || n <= length) continue;
        const std::string reason = n > kMaxParamNumber ? "parameters end at " + std::to_string(kMaxParamNumber)
                                                       : "the list ends before the missing X" + std::to_string(length + 1);
        add(lint, rowLine(lint, language, entry.first), "X" + std::to_string(n) + " is never shown" + place + ": " + reason);
    }
}

void checkChoiceFormat(Lint& lint, const std::string& language) {
    const std::string storedKey = variantKey(kChoiceFormatKey, lint.store.currentVariant);
    const bool own = tableOf(lint, language).count(storedKey) != 0;
    const Row* row = findRow(lint.store, kChoiceFormatKey);
    if (!row || !own || isSingleIntegerFormat(row->front())) return;
    add(lint, rowLine(lint, language, storedKey),
        std::string(kChoiceFormatKey) + where(language, lint.store.currentVariant, true) + " \"" +
            windows1250ToUtf8(row->front()) + "\" is not a format with exactly one integer conversion (%d, %i, %u, %x, %X, %o)");
}

// A conversion outside POSIX strftime is printed as it stands in the
// report's date.
void checkDateFormat(Lint& lint, const std::string& language) {
    auto own = tableOf(lint, language).find(kReportKey);
    if (own == tableOf(lint, language).end() || own->second.empty()) return;
    const std::vector<std::string> unknown = unknownDateConversions(own->second.front());
    if (unknown.empty()) return;
    std::string listed;
    for (const std::string& conversion : unknown) listed += (listed.empty() ? "" : " ") + conversion;
    add(lint, rowLine(lint, language, kReportKey),
        std::string(kReportKey) + " 0" + where(language, 0, false) + " \"" + windows1250ToUtf8(own->second.front()) +
            "\" has conversions outside POSIX strftime, printed as they stand: " + windows1250ToUtf8(listed));
}

void checkVariant(Lint& lint, const std::string& language, int32_t variant) {
    lint.store.currentVariant = variant;
    checkText(lint, language, kChoiceFormatKey, 0);
    for (const TextFieldLimit& field : TextFieldLimits) checkText(lint, language, field.key, 0);
    checkParameters(lint, language);
    checkChoiceFormat(lint, language);
}

// Rows the program asks for that a later language leaves to the first one,
// and translated parameters whose choice lists differ in length from the
// first language's (usually a missing or extra "X" line that shifts every
// parameter after it).
void checkTranslation(Lint& lint, const std::string& language) {
    const std::string& firstName = lint.store.database->firstLanguage;
    const LanguageTable& first = tableOf(lint, firstName);
    const LanguageTable& own = tableOf(lint, language);
    const std::string name = windows1250ToUtf8(language), firstShown = windows1250ToUtf8(firstName);
    for (const auto& [key, row] : first) {
        if (!isProgramKey(key)) continue;
        auto translated = own.find(key);
        if (translated == own.end()) {
            add(lint, rowLine(lint, firstName, key), name + " has no row " + key + ": the " + firstShown + " text is shown", true);
        } else if (isParameterRowKey(key) && translated->second.size() != row.size()) {
            add(lint, rowLine(lint, language, key),
                key + " has " + std::to_string(translated->second.size() - 1) + " choices in " + name + " but " +
                    std::to_string(row.size() - 1) + " in " + firstShown);
        }
    }
}

void checkEncoding(Lint& lint, std::string_view utf8, std::string& text) {
    std::vector<EncodingProblem> problems;
    utf8ToWindows1250(utf8, text, problems);
    for (const EncodingProblem& p : problems)
        add(lint, p.line, "column " + std::to_string(p.column) + ": " + p.message);
}

void checkLineLengths(Lint& lint, std::string_view text) {
    int32_t line = 1;
    for (size_t start = 0; start <= text.size(); ++line) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (end - start > kMaxDefinitionLine)
            add(lint, line, "the line is longer than 9999 characters: the program ignores the rest of the table from here");
        start = end + 1;
    }
}

std::vector<int32_t> variantsToCheck(const DefinitionDatabase& db) {
    std::vector<int32_t> variants{0};
    for (int32_t v : db.variants)
        if (v != 0) variants.push_back(v);
    return variants;
}

void checkContent(Lint& lint) {
    for (const auto& [language, line] : lint.sources.carriedVariantLines)
        add(lint, line, "this row belongs to the last variant of the previous language, not to variant 0: put \"V;0\" "
                        "after the \"Y\" line of " + windows1250ToUtf8(language));
    const DefinitionDatabase& db = *lint.store.database;
    for (const auto& entry : db.languages) {
        const std::string& language = entry.first;
        selectLanguage(lint.store, language);
        lint.store.currentVariant = 0;
        for (const RequiredText& required : kPlainTexts) checkText(lint, language, required.key, required.lastIndex);
        checkDateFormat(lint, language);
        for (int32_t variant : variantsToCheck(db)) checkVariant(lint, language, variant);
        if (language != db.firstLanguage) checkTranslation(lint, language);
    }
}

}  // namespace

std::vector<LintFinding> lintDefinitionSource(std::string_view utf8) {
    Lint lint;
    std::string text;
    checkEncoding(lint, utf8, text);
    checkLineLengths(lint, text);
    const DefinitionDatabase parsed = parseDefinitions(text, lint.sources);
    if (!parsed.parseError.empty()) {
        add(lint, lint.sources.errorLine, "parse error \"" + parsed.parseError + "\": the program would not start");
    } else {
        loadDefinitionText(lint.store, text);
        checkContent(lint);
    }
    std::stable_sort(lint.findings.begin(), lint.findings.end(),
                     [](const LintFinding& a, const LintFinding& b) { return a.line < b.line; });
    return lint.findings;
}

bool hasFailures(const std::vector<LintFinding>& findings) {
    return std::any_of(findings.begin(), findings.end(), [](const LintFinding& f) { return !f.note; });
}
