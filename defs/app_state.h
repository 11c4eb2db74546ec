// The one application state. It has static storage duration: constructing it
// before the entry point loads the definitions and fills the choice counts,
// so the entry point finds either everything in place or a start-up error.
//
// Threading: only the user-interface thread touches it after start-up. The
// link worker has its own state and never reads this.
#pragma once

#include "defs/definition_store.h"
#include "defs/handles.h"
#include "defs/control_records.h"

#include <cstdint>
#include <string>

struct AppState {
    AppState();
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    bool configurationLoaded = false;  // set by the device read, never cleared
    // Set when the status refresh finds no unit, cleared by the next read
    // from a unit: a form read from a unit that is gone stays locked even
    // when a unit shows up again, until it has been read anew.
    bool unitLost = false;
    WindowHandle mainWindow = nullptr;
    DefinitionStore definitions;
    ChoiceCountMap choiceCounts;
    ControlMap fixedControls;  // by control id
    WindowHandle parameterArea = nullptr;
    WindowHandle progressBar = nullptr;
    WindowHandle statusLine = nullptr;
    ControlMap parameterRows;  // by parameter number 1..999
    FontHandle guiFont = nullptr;
    // Layout metrics measured from the definition texts, in pixels.
    int32_t captionWidth = 0;
    int32_t choiceWidth = 0;
    int32_t rowHeight = 0;
    bool connected = false;  // the status line shows a connected unit
    std::string statusText;  // at most 99 characters
};

extern AppState appState;

// The form may be shown and used: read from a unit that is still there.
inline bool formAvailable() {
    return appState.configurationLoaded && !appState.unitLost;
}

// Copy of the start-up error text of the definitions.
std::string startupError();

// The platform's stock default GUI font (DEFAULT_GUI_FONT on Windows, none in
// the native build).
FontHandle platformDefaultGuiFont();

// Fills `counts` from the parameter rows 1, 2, ... of the current variant up
// to the first gap: entry n = row length - 1.
void fillChoiceCountsFromDefinitions(const DefinitionStore& store, ChoiceCountMap& counts);
