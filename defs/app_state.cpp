#include "defs/app_state.h"

// Constructed during static initialisation, before the entry point. Only
// SealedDefinitionTable and the codec's masks are read here, both constant
// data of the image, so the order of initialisation between files does not
// matter.
AppState appState;

AppState::AppState() {
    // Nothing below depends on the load succeeding: on failure the rest runs
    // against a store without a database and the entry point reports the
    // start-up error.
    loadDefinitions(definitions);
    choiceCounts.clear();
    fixedControls.clear();
    parameterRows.clear();
    configurationLoaded = false;
    mainWindow = nullptr;
    parameterArea = nullptr;
    connected = false;
    guiFont = platformDefaultGuiFont();
    // No language is selected and no unit connected yet, so these are the
    // counts of variant 0 in the first language.
    fillChoiceCountsFromDefinitions(definitions, choiceCounts);
    progressBar = nullptr;
    statusLine = nullptr;
}

// Members go in reverse order: the row and control maps and the counts
// first, then the definitions. The link worker may still run at that point;
// it never reads this state, so no lock is needed.
AppState::~AppState() = default;

std::string startupError() { return startupError(appState.definitions); }

void loadDefinitions(DefinitionStore& store) { loadDefinitionsFrom(store, SealedDefinitionTable); }
