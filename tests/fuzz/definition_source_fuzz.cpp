// The definition source as a translator's editor writes it (UTF-8), through
// the Windows-1250 conversion and the lint. Properties: the conversion
// gives one byte per character or problem and never a NUL; a source that
// converts without problems comes back unchanged from the reverse
// conversion (a leading byte-order mark aside), and converting that
// Windows-1250 text to UTF-8 and back is the identity; problems are in line
// order; the lint's findings are in line order and it passes only sources
// that convert cleanly and parse.
#include "defs/definition_parser.h"
#include "tests/fuzz/fuzz_check.h"
#include "tools/sqctool/defs_lint.h"
#include "tools/common/windows1250.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string source(reinterpret_cast<const char*>(data), size);

    std::string converted;
    std::vector<EncodingProblem> problems;
    const bool clean = utf8ToWindows1250(source, converted, problems);
    FUZZ_CHECK(clean == problems.empty(), "result and problem list disagree");
    FUZZ_CHECK(converted.size() <= source.size(), "the conversion grew the text");
    FUZZ_CHECK(converted.find('\0') == std::string::npos, "a NUL reached the converted text");
    for (size_t i = 1; i < problems.size(); ++i) {
        const EncodingProblem& a = problems[i - 1];
        const EncodingProblem& b = problems[i];
        FUZZ_CHECK(a.line < b.line || (a.line == b.line && a.column < b.column), "problems out of order");
    }
    if (clean) {
        const bool bom = source.compare(0, 3, "\xEF\xBB\xBF") == 0;
        FUZZ_CHECK(windows1250ToUtf8(converted) == source.substr(bom ? 3 : 0), "a clean source does not come back");
    }

    // The same bytes taken as program text: every byte that Windows-1250
    // defines, except NUL, survives the way through UTF-8.
    std::string again;
    std::vector<EncodingProblem> reverseProblems;
    const std::string utf8 = windows1250ToUtf8(source);
    utf8ToWindows1250(utf8, again, reverseProblems);
    FUZZ_CHECK(again.size() == source.size(), "the way through UTF-8 changed the number of characters");
    if (reverseProblems.empty()) FUZZ_CHECK(again == source, "Windows-1250 text changed on its way through UTF-8");

    const std::vector<LintFinding> findings = lintDefinitionSource(source);
    for (size_t i = 1; i < findings.size(); ++i)
        FUZZ_CHECK(findings[i - 1].line <= findings[i].line, "lint findings out of line order");
    if (!hasFailures(findings)) {
        FUZZ_CHECK(clean, "the lint passed a source with encoding problems");
        FUZZ_CHECK(parseDefinitions(converted).parseError.empty(), "the lint passed a source that does not parse");
    }
    return 0;
}
