// quillctl read-config, write-config and diff: the unit's rows through the
// window's walk, the file through the program's text code and codec.
#include "configfile/config_file.h"
#include "link/device_transfer.h"
#include "link/link.h"
#include "params/parameter_list.h"
#include "tools/common/tool_io.h"
#include "tools/common/windows1250.h"
#include "tools/quillctl/progress_line.h"
#include "tools/quillctl/provision.h"
#include "tools/quillctl/quillctl.h"

#include <cstdio>

namespace {

const char* const kLanguageOption = "--language";

// The table's language called `name` (as the table spells it or in UTF-8).
bool chooseLanguage(DefinitionStore& store, const std::string& name, std::string& problem) {
    for (const std::string& language : languageNames(store))
        if (name == language || name == windows1250ToUtf8(language)) {
            selectLanguage(store, language);
            return true;
        }
    problem = "unknown language '" + name + "'";
    return false;
}

// The walk over the rows of the connected unit's variant, with the bar.
template <class Walk>
TransferResult walkRows(const LinkSession& session, FormValues& form, const std::string& doing, Walk walk) {
    ProgressDisplay display = startProgressDisplay(transferSteps(form));
    const TransferResult result = walk(session, form, [&](const TransferStep& step) {
        const std::string what = step.isField ? "" : " parameter " + std::to_string(form.rows[step.index].number);
        stepProgressDisplay(display, doing + what);
        return true;
    });
    endProgressDisplay(display);
    return result;
}

// The connected unit's rows read: selections and choice counts.
bool readUnitRows(Plan& plan, FormValues& form, int& status) {
    form = unitForm(plan.store, plan.connection.deviceId);
    withoutFields(form);
    const TransferResult result = walkRows(plan.session, form, "reading", readForm);
    if (result.status == TransferStatus::Complete) return true;
    status = failed("read stopped at " + describeStop(result));
    return false;
}

std::string choiceShown(const DefinitionStore& store, int32_t n, int32_t index) {
    return windows1250ToUtf8(choiceText(store, n, index));
}

}  // namespace

bool loadTable(DefinitionStore& store, std::string& problem) {
    loadDefinitionsFrom(store, SealedDefinitionTable);
    problem = "built-in table: " + startupError(store);
    return startupError(store).empty();
}

bool prepareReadConfig(const std::vector<std::string>& args, Plan& plan, std::string& problem) {
    plan.path = args.at(0);
    return loadTable(plan.store, problem);
}

bool prepareWriteConfig(const std::vector<std::string>& args, Plan& plan, std::string& problem) {
    std::string payload;
    plan.path = args.at(0);
    return readConfigFile(plan.path, payload, plan.pairs, problem) && loadTable(plan.store, problem);
}

// diff IN.sqc [--language NAME], the option before or after the file.
bool prepareDiff(const std::vector<std::string>& args, Plan& plan, std::string& problem) {
    std::vector<std::string> files;
    std::string language;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != kLanguageOption) {
            files.push_back(args[i]);
        } else if (i + 1 < args.size()) {
            language = args[++i];
        } else {
            problem = "--language needs a NAME";
            return false;
        }
    }
    if (files.size() != 1) {
        problem = files.empty() ? "diff needs the file to compare the unit with"
                                : "diff compares the unit with one file (two files: sqctool config diff A B)";
        return false;
    }
    std::string payload;
    plan.path = files[0];
    if (!readConfigFile(plan.path, payload, plan.pairs, problem) || !loadTable(plan.store, problem)) return false;
    return language.empty() || chooseLanguage(plan.store, language, problem);
}

int runReadConfig(Plan& plan) {
    FormValues form;
    int status = kExitOk;
    if (!readUnitRows(plan, form, status)) return status;
    settleReadSelections(form);
    std::string error;
    if (writeConfigFile(plan.path, form.rows, error) != ReplaceResult::replaced) return failed(error);
    return kExitOk;
}

// As the window's write after opening the file: the rows read first (the
// unit's choice counts decide what each pair selects), then every row the
// file names written and read back.
int runWriteConfig(Plan& plan) {
    FormValues form;
    int status = kExitOk;
    if (!readUnitRows(plan, form, status)) return status;
    openPairs(plan.pairs, form);
    const TransferResult result = walkRows(plan.session, form, "writing", writeForm);
    if (result.status != TransferStatus::Complete) return failed("write stopped at " + describeStop(result));
    return kExitOk;
}

// "12. Caption<tab>unit: text<tab>file: text" per row the file would change.
int runDiff(Plan& plan) {
    FormValues form;
    int status = kExitOk;
    if (!readUnitRows(plan, form, status)) return status;
    const std::vector<RowDifference> found = differences(form, plan.pairs);
    for (const RowDifference& d : found)
        std::printf("%s\tunit: %s\tfile: %s\n",
                    windows1250ToUtf8(displayedCaption(d.number, text(plan.store, parameterKey(d.number), 0))).c_str(),
                    choiceShown(plan.store, d.number, d.unitValue).c_str(),
                    choiceShown(plan.store, d.number, d.fileValue).c_str());
    return found.empty() ? kExitOk : kExitDifferent;
}
