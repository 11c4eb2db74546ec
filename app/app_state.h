// The one application state. It has static storage duration: constructing it
// before the entry point loads the definitions and fills the choice counts,
// so the entry point finds either everything in place or a start-up error.
//
// Threading: only the user-interface thread touches it after start-up. The
// link has its own state and threads and never reads this; it tells the
// main window of a connection published or closed with a posted message.
#pragma once

#include "app/control_registry.h"
#include "defs/definition_store.h"
#include "link/link.h"
#include "params/layout.h"
#include "params/parameter_list.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The one window class: the main window and the parameter area.
inline constexpr const char* kMainClassName = "BrontivaSetupClass";

struct AppState {
    AppState();
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    bool configurationLoaded = false;  // set by the device read, never cleared
    // Set when the unit the form was read from is gone (the status refresh
    // finds no unit, or the link has made a new connection since the read)
    // and after a read that did not complete; cleared by the next read: such
    // a form stays locked, even when a unit shows up again, until it has
    // been read anew.
    bool unitLost = false;
    // The link's connection the form was read on: its requests go there only.
    LinkConnection readConnection;
    // The link over COM1..COM256, started after the main window exists.
    std::shared_ptr<Link> link;
    HINSTANCE instance = nullptr;  // remembered when the main window is created
    HWND mainWindow = nullptr;     // null until its WM_CREATE and again once it is destroyed
    DefinitionStore definitions;
    ChoiceCountMap choiceCounts;
    ControlMap fixedControls;  // by control id
    HWND parameterArea = nullptr;
    HWND progressBar = nullptr;
    HWND statusLine = nullptr;
    ControlMap parameterRows;  // by parameter number 1..999
    HFONT guiFont = nullptr;   // the stock default GUI font: never deleted
    // Column widths and row height measured from the definition texts.
    LayoutMetrics layoutMetrics;
    bool connected = false;  // the status line shows a connected unit
    std::string statusText;  // at most 99 characters
};

extern AppState appState;

// The form may be shown and used: read from a unit that is still there.
inline bool formAvailable() {
    return appState.configurationLoaded && !appState.unitLost;
}

// The link's connection now; none before the link has started.
inline LinkConnection unitConnection() {
    return appState.link ? linkConnection(*appState.link) : LinkConnection();
}

// A session on the connection the form was read on.
inline LinkSession readSession() {
    return LinkSession{appState.link.get(), appState.readConnection.publication};
}

// Copy of the start-up error text of the definitions.
std::string startupError();

// The module whose resources every window and dialog uses: the one
// remembered when the main window was created, or the program itself
// before that.
HINSTANCE programInstance();
