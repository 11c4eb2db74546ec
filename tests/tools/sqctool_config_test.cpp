// sqctool config: files made by "make" are shown and compared with the
// built-in table's texts, and "show" rejects what the program's open
// command would reject.
#include "defs/definition_store.h"
#include "defs/sealed_codec.h"
#include "tools/sqctool/sqctool.h"
#include "tests/file_text.h"
#include "tests/tools/sqctool_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

CommandResult run(const std::vector<std::string>& args) {
    setBuiltinDefinitionTable(SealedDefinitionTable);
    return runCaptured(runConfig, args);
}

std::string sealedFile(const std::string& name, const std::string& payload) {
    std::string sealed;
    sealBytes(payload, sealed);
    writeText(tempPath(name), sealed);
    return tempPath(name);
}

// Made files are shown and compared with the table's texts; a refused file
// (the parser's and the end-to-end test's in full) and bad arguments of
// make give their exit codes, and a refused make writes nothing.
TEST(SqctoolConfig, MadeFilesShowWithTheTableTextsAndBadInputIsRefused) {
    const std::string a = tempPath("a.sqc"), b = tempPath("b.sqc"), never = tempPath("never.sqc");
    ASSERT_EQ(run({"make", a, "3=9", "1=2", "2=-1", "43=0"}).code, 0);
    ASSERT_EQ(run({"make", b, "1=2", "3=1", "8=0"}).code, 0);
    const std::string halfValid = sealedFile("half.sqc", "BRONTIVASETUP1.0 T1 - T2 - T3 - T4 - H - K - 1 0 2 x -1");
    struct Case { std::vector<std::string> args; int code; std::string out; };
    const Case cases[] = {
        {{"show", a}, 0,
         "1=2\tInput 1 type\tNC\n"
         "2=-1\tInput 1 function\t(no selection)\n"
         "3=9\tInput 1 response time\t50 ms (past the list: the first choice)\n"
         "43=0\tPrepaid credit check\tDisabled\n"},
        {{"show", a, "--raw"}, 0, "BRONTIVASETUP1.0\nT1 -\nT2 -\nT3 -\nT4 -\nH -\nK -\n1 2\n2 -1\n3 9\n43 0\n-1\n"},
        {{"show", b, "--device", "100", "--language", "Deutsch"}, 0,
         "1=2\tEingang 1: Typ\tNC (\xC3\x96" "ffner)\n3=1\tEingang 1: Reaktionszeit\t100 ms\n"
         "8=0\tEingang 3: Funktion\tVerz\xC3\xB6gert\n"},
        {{"diff", a, b}, 0,
         "2\t-1\t-\tInput 1 function\n3\t9\t1\tInput 1 response time\n8\t-\t0\tInput 3 function\n"
         "43\t0\t-\tPrepaid credit check\n"},
        {{"diff", a, a}, 0, ""},
        {{"show", halfValid}, 1, ""}, {{"diff", halfValid, halfValid}, 1, ""}, {{"show"}, 2, ""},
        {{"make", never, "0=1"}, 2, ""}, {{"make", never, "1000=1"}, 2, ""}, {{"make", never, "1=-2"}, 2, ""},
        {{"make", never, "1=x"}, 2, ""}, {{"make", never, "1=1", "1=2"}, 2, ""},
    };
    for (const Case& c : cases) {
        const CommandResult r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.front() << " " << c.args.back();
        EXPECT_EQ(r.out, c.out) << c.args.front() << " " << c.args.back();
    }
    EXPECT_FALSE(std::ifstream(never)) << "a refused make writes nothing";
}

}  // namespace
