#include "app/app_state.h"

// Constructed during static initialisation, before the entry point. Only
// SealedDefinitionTable and the codec's masks are read here, both constant
// data of the image, so the order of initialisation between files does not
// matter.
AppState appState;

// Nothing below depends on the load succeeding: on failure the rest runs
// against a store without a database and the entry point reports the
// start-up error. No language is selected and no unit connected yet, so the
// counts are those of variant 0 in the first language.
AppState::AppState() {
    loadDefinitionsFrom(definitions, SealedDefinitionTable);
    guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fillChoiceCountsFromDefinitions(definitions, choiceCounts);
}

// Members go in reverse order: the row and control maps and the counts
// first, then the definitions. The link worker may still run at that point;
// it never reads this state, so no lock is needed.
AppState::~AppState() = default;

std::string startupError() { return startupError(appState.definitions); }

HINSTANCE programInstance() { return appState.instance ? appState.instance : GetModuleHandleA(nullptr); }
