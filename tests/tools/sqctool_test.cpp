// sqctool in-process: the Windows-1250 conversion, the lint's findings, and
// the exit codes and output of the defs and config commands.
#include "defs/definition_store.h"
#include "defs/sealed_codec.h"
#include "tests/file_text.h"
#include "tools/common/windows1250.h"
#include "tools/sqctool/defs_lint.h"
#include "tools/sqctool/sqctool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

struct CommandResult { int code; std::string out; };

// A command run in-process, its standard output captured, its standard error dropped.
CommandResult runCaptured(int (*command)(const std::vector<std::string>&), const std::vector<std::string>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = command(args);
    testing::internal::GetCapturedStderr();
    return {code, testing::internal::GetCapturedStdout()};
}

// The test's files, beside each other in its temporary folder.
std::string tempPath(const std::string& name) { return testing::TempDir() + "sqctool_test_" + name; }
std::string writeFile(const std::string& name, const std::string& bytes) {
    writeText(tempPath(name), bytes);
    return tempPath(name);
}
std::string sealedFile(const std::string& name, const std::string& payload) {
    std::string sealed;
    sealBytes(payload, sealed);
    return writeFile(name, sealed);
}

TEST(Windows1250, ConvertsWhatItCanNamesTheRestAndEveryDefinedByteRoundTrips) {
    const struct { std::string utf8; std::string expected; std::vector<std::string> problems; } cases[] = {
        // Zażółć, "€ ß „", a byte-order mark dropped, ₽, a truncated sequence, an overlong NUL
        {"Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87", "Za\xBF\xF3\xB3\xE6", {}},
        {"\xE2\x82\xAC \xC3\x9F \xE2\x80\x9E", "\x80 \xDF \x84", {}}, {"\xEF\xBB\xBFY;E", "Y;E", {}},
        {"a\nb \xE2\x82\xBD", "a\nb ?", {"2:3:U+20BD"}}, {"\xC3", "?", {"1:1:byte 0xC3"}},
        {"\xC0\x80", "??", {"1:1:byte 0xC0", "1:2:byte 0x80"}},
        {"\xED\xA0\x80", "???", {"1:1:byte 0xED", "1:2:byte 0xA0", "1:3:byte 0x80"}},       // surrogate
        {"x\0y"s, "x?y", {"1:2:U+0000"}},
        {"\xF0\x9F\x94\x94", "?", {"1:1:U+1F514"}}};  // a bell emoji
    for (const auto& c : cases) {
        std::string out;
        std::vector<EncodingProblem> problems;
        EXPECT_EQ(utf8ToWindows1250(c.utf8, out, problems), c.problems.empty()) << c.utf8;
        EXPECT_EQ(out, c.expected) << c.utf8;
        ASSERT_EQ(problems.size(), c.problems.size()) << c.utf8;
        for (size_t i = 0; i < problems.size(); ++i) {
            const std::string at = std::to_string(problems[i].line) + ":" + std::to_string(problems[i].column) + ":";
            EXPECT_EQ(at + problems[i].message.substr(0, c.problems[i].size() - at.size()), c.problems[i]);
        }
    }
    // Every byte but NUL comes back through UTF-8; the five Windows-1250
    // leaves undefined come back as '?'.
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        std::string back;
        std::vector<EncodingProblem> problems;
        const bool defined = b != 0x81 && b != 0x83 && b != 0x88 && b != 0x90 && b != 0x98;
        EXPECT_EQ(utf8ToWindows1250(windows1250ToUtf8(byte), back, problems), defined) << b;
        EXPECT_EQ(back, defined ? byte : "?") << b;
    }
}

// A complete table: English, then Polski; variant 0 and 100. Polski
// repeats English's rows 2-29 as its lines 32-59, its "Q" 0 translated.
const std::vector<std::string> kEnglish = {
    "Y;\"English\"",                                                          // 1
    "Q;\"a\";\"b\";\"c\";\"d\";\"e\";\"f\"", "Q1;\"a\";\"b\";\"c\";\"d\";\"e\"",         // 2-3
    "E1;\"a\";\"b\";\"c\";\"d\"", "E;\"a\";\"b\";\"c\";\"d\";\"e\";\"f\"",               // 4-5
    "A1;\"a\"", "A2;\"a\"", "A3;\"a\"", "A4;\"a\"",                             // 6-9
    "P;\"a\";\"b\";\"c\";\"d\";\"e\";\"f\";\"g\"", "XI;\"%d\"",                     // 10-11
    "T1;\"t\"", "T2;\"t\"", "T3;\"t\"", "T4;\"t\"", "H;\"h\"", "K;\"k\"",         // 12-17
    "X;\"Delay\";\"Off\";\"On\"", "X;\"Siren\";\"Off\";\"On\"",                   // 18-19
    "V;100", "XI;\"%d min\"",                                                 // 20-21
    "T1;\"t\"", "T2;\"t\"", "T3;\"0\"", "T4;\"0\"", "H;\"h\"", "K;\"k\"",         // 22-27
    "X;\"Delay\";\"Off\";\"On\";\"Long\"", "X;\"0\"",                             // 28-29
};

struct Edit { int line; std::string text; };  // line from 1; an empty text keeps the numbering

std::string tableWith(const std::vector<Edit>& edits) {
    std::vector<std::string> lines = kEnglish;
    lines.insert(lines.end(), {"Y;\"Polski\"", "V;0"});  // 30, 31
    lines.insert(lines.end(), kEnglish.begin() + 1, kEnglish.end());
    lines[31] = "Q;\"\xC4\x85\";\"b\";\"c\";\"d\";\"e\";\"f\"";  // line 32, "ą"
    for (const Edit& e : edits) lines.at(static_cast<size_t>(e.line - 1)) = e.text;
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

std::string describe(const std::vector<LintFinding>& findings) {
    std::string out;
    for (const LintFinding& f : findings) out += std::to_string(f.line) + (f.note ? ": note: " : ": ") + f.message + "\n";
    return out;
}

TEST(Lint, FindingsNameTheLineAndTheProblemUntranslatedRowsAreNotes) {
    const struct { const char* what; std::vector<Edit> edits; int line; const char* fragment; } cases[] = {
        {"key missing everywhere", {{6, ""}, {36, ""}}, 1, "A1 is missing (English)"},
        {"translation shorter than asked", {{32, "Q;\"a\";\"b\";\"c\";\"d\";\"e\""}}, 32, "Q 5 is missing (Polski)"},
        {"caption missing in a variant", {{24, ""}, {54, ""}}, 20, "T3 is missing (English, variant 100)"},
        {"gap in the numbering", {{19, "X3;\"Siren\""}}, 19, "X3 is never shown (English, variant 0)"},
        {"beyond 999", {{19, "X1000;\"Siren\""}}, 19, "parameters end at 999"},
        {"no parameters", {{28, ""}, {29, ""}, {58, ""}, {59, ""}}, 20, "X1 is missing (English, variant 100)"},
        {"unsafe XI", {{21, "XI;\"%s min\""}}, 21, "XI (English, variant 100) \"%s min\" is not a format"},
        {"date conversions outside POSIX", {{40, "P;\"%d.%m.%Y %k%5d\";\"b\";\"c\";\"d\";\"e\";\"f\";\"g\""}}, 40,
         "P 0 (Polski) \"%d.%m.%Y %k%5d\" has conversions outside POSIX strftime, printed as they stand: %k %5d"},
        {"character without a byte", {{37, "A2;\"\xE2\x82\xBD\""}}, 37, "column 5: U+20BD"},
        {"parse error", {{1, "Q;\"x\""}}, 1, "parse error \"Missing Y identifier\""},
        {"variant carried into the next language", {{31, ""}}, 41, "put \"V;0\" after the \"Y\" line of Polski"},
        {"choice lists of different length", {{49, "X;\"Syrena\";\"Wy\xC5\x82.\""}}, 49,
         "X2-0 has 1 choices in Polski but 2 in English"},
        {"overlong line", {{8, "A3;\"" + std::string(10000, 'a') + "\""}}, 8, "longer than 9999 characters"}};
    for (const auto& c : cases) {
        const auto findings = lintDefinitionSource(tableWith(c.edits));
        const bool found = std::any_of(findings.begin(), findings.end(), [&](const LintFinding& f) {
            return !f.note && f.line == c.line && f.message.find(c.fragment) != std::string::npos;
        });
        EXPECT_TRUE(found && hasFailures(findings)) << c.what << ": expected line " << c.line << ": " << c.fragment
                                                    << "\nfound:\n" << describe(findings);
    }
    // Rows that only English has are notes, which pass: nobody's business but the writer's.
    const auto findings =
        lintDefinitionSource(tableWith({{37, ""}, {58, ""}, {59, ""}, {30, "#;\"comment\"\nY;\"Polski\""}}));
    EXPECT_FALSE(hasFailures(findings));
    EXPECT_EQ(describe(findings), "7: note: Polski has no row A2: the English text is shown\n"
                                  "28: note: Polski has no row X1-100: the English text is shown\n"
                                  "29: note: Polski has no row X2-100: the English text is shown\n");
}

CommandResult defs(const std::vector<std::string>& args) { return runCaptured(runDefs, args); }

// The bytes of the table that a generated source defines.
std::vector<unsigned char> bytesOfGeneratedSource(const std::string& source) {
    std::vector<unsigned char> bytes;
    for (size_t at = source.find("= {"); (at = source.find("0x", at)) != std::string::npos; at += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoul(source.substr(at + 2, 2), nullptr, 16)));
    return bytes;
}

// lint, text and embed: exit codes and what reaches standard output (of lint
// a part: the finding names the file). A refused embed writes nothing.
TEST(SqctoolDefs, ExitCodesOutputAndTheEmbeddedTable) {
    const std::string plain = writeFile("text.txt", tableWith({}));
    const std::string bad = writeFile("bad.txt", tableWith({{21, "XI;\"%s\""}}));
    const std::string unmappable = writeFile("unmappable.txt", tableWith({{37, "A2;\"\xE2\x82\xBD\""}}));
    const std::string broken = writeFile("broken.txt", "Q;\"no language\"\n"), never = tempPath("never.cpp");
    const std::string sealedPath = sealedFile("text.sqc", tableWith({}));
    std::remove(never.c_str());
    const struct { std::vector<std::string> args; int code; std::string out; bool whole = true; } cases[] = {
        {{"lint", plain}, 0, ""}, {{"lint", bad}, 1, ":21: XI (English, variant 100)", false},
        {{"lint", tempPath("missing.txt")}, 1, ""}, {{"lint"}, 2, ""}, {{"lint", plain, "--sealed"}, 2, ""},
        {{"text", plain, "Q", "1"}, 0, "b\n"}, {{"text", plain, "--language", "Polski", "Q", "0"}, 0, "\xC4\x85\n"},
        {{"text", sealedPath, "--sealed", "--language", "Polski", "Q", "0"}, 0, "\xC4\x85\n"},
        {{"text", plain, "--device", "105", "T3", "0"}, 0, "0\n"},  // unknown unit: newest variant
        {{"text", plain, "X1", "3"}, 0, "\n"},                      // no such text: empty
        {{"text", broken, "Q", "0"}, 1, ""}, {{"text", plain, "--sealed", "Q", "0"}, 1, ""},
        {{"text", plain, "Q", "x"}, 2, ""}, {{"text", plain, "--device", "new", "Q", "0"}, 2, ""},
        {{"text", plain, "--colour", "Q", "0"}, 2, ""},
        // A character the program could not show, a table it could not load.
        {{"embed", unmappable, never}, 1, ""}, {{"embed", broken, never}, 1, ""}};
    for (const auto& c : cases) {
        const CommandResult r = defs(c.args);
        const std::string what = testing::PrintToString(c.args);
        EXPECT_EQ(r.code, c.code) << what;
        EXPECT_TRUE(c.whole ? r.out == c.out : r.out.find(c.out) != std::string::npos) << what << "\n" << r.out;
    }
    EXPECT_FALSE(std::ifstream(never).good()) << "a refused embed writes nothing";
    // A table embedded loads, twice to the same source; a damaged one fails.
    const std::string out = tempPath("embed.cpp"), again = tempPath("embed2.cpp"), damaged = tempPath("damaged.cpp");
    for (const auto& args : {std::vector<std::string>{"embed", plain, out}, {"embed", plain, again},
                             {"embed", plain, damaged, "--damage"}})
        ASSERT_EQ(defs(args).code, 0) << args.back();
    EXPECT_EQ(fileText(out), fileText(again));
    DefinitionStore store;
    loadDefinitionsFrom(store, bytesOfGeneratedSource(fileText(damaged)).data());
    EXPECT_EQ(startupError(store), kDecryptError);
    // --builtin reads the table this sqctool was built with: the generated one loads, "ą" in Windows-1250.
    const std::vector<unsigned char> table = bytesOfGeneratedSource(fileText(out));
    setBuiltinDefinitionTable(table.data());
    EXPECT_EQ(defs({"text", "--builtin", "--language", "Polski", "Q", "0"}).out, "\xB9\n");
    EXPECT_NE(defs({"dump", "--builtin"}).out.find("\"firstLanguage\": \"English\""), std::string::npos);
    setBuiltinDefinitionTable(nullptr);
    EXPECT_EQ(defs({"text", "--builtin", "Q", "0"}).code, 1);
}

CommandResult config(const std::vector<std::string>& args) {
    setBuiltinDefinitionTable(SealedDefinitionTable);
    return runCaptured(runConfig, args);
}

// Made files are shown and compared with the table's texts; a refused file
// (the parser's and the end-to-end test's in full) and bad arguments of
// make give their exit codes, and a refused make writes nothing.
TEST(SqctoolConfig, MadeFilesShowWithTheTableTextsAndBadInputIsRefused) {
    const std::string a = tempPath("a.sqc"), b = tempPath("b.sqc"), never = tempPath("never.sqc");
    ASSERT_EQ(config({"make", a, "3=9", "1=2", "2=-1", "43=0"}).code, 0);
    ASSERT_EQ(config({"make", b, "1=2", "3=1", "8=0"}).code, 0);
    const std::string halfValid = sealedFile("half.sqc", "BRONTIVASETUP1.0 T1 - T2 - T3 - T4 - H - K - 1 0 2 x -1");
    const struct { std::vector<std::string> args; int code; std::string out; } cases[] = {
        {{"show", a}, 0, "1=2\tInput 1 type\tNC\n2=-1\tInput 1 function\t(no selection)\n3=9\tInput 1 response "
                         "time\t50 ms (past the list: the first choice)\n43=0\tPrepaid credit check\tDisabled\n"},
        {{"show", a, "--raw"}, 0, "BRONTIVASETUP1.0\nT1 -\nT2 -\nT3 -\nT4 -\nH -\nK -\n1 2\n2 -1\n3 9\n43 0\n-1\n"},
        {{"show", b, "--device", "100", "--language", "Deutsch"}, 0, "1=2\tEingang 1: Typ\tNC (\xC3\x96" "ffner)\n"
                             "3=1\tEingang 1: Reaktionszeit\t100 ms\n8=0\tEingang 3: Funktion\tVerz\xC3\xB6gert\n"},
        {{"diff", a, b}, 0, "2\t-1\t-\tInput 1 function\n3\t9\t1\tInput 1 response time\n8\t-\t0\tInput 3 "
                            "function\n43\t0\t-\tPrepaid credit check\n"},
        {{"diff", a, a}, 0, ""}, {{"show"}, 2, ""}, {{"show", halfValid}, 1, ""}, {{"diff", a, halfValid}, 1, ""},
        {{"make", never, "0=1"}, 2, ""}, {{"make", never, "1000=1"}, 2, ""}, {{"make", never, "1=-2"}, 2, ""},
        {{"make", never, "1=x"}, 2, ""}, {{"make", never, "1=1", "1=2"}, 2, ""}};
    for (const auto& c : cases) {
        const CommandResult r = config(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.front() << " " << c.args.back();
        EXPECT_EQ(r.out, c.out) << c.args.front() << " " << c.args.back();
    }
    EXPECT_FALSE(std::ifstream(never)) << "a refused make writes nothing";
}

}  // namespace
