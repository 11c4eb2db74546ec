// The small modal windows of the program and the one routine through which
// every operation reports to the user. All texts come from the definition
// table in the current language; a missing text shows as an empty string.
//
// User-interface thread only. Every call here returns when the user has
// closed the window (the splash closes itself after kSplashMilliseconds).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

constexpr uint32_t kSplashMilliseconds = 3000;

// A message box owned by the main window: title text(titleKey, titleIndex),
// the text that the message name `message` stands for (app/message_name.h),
// one OK button, no icon.
void showKeyedMessage(int32_t titleIndex, const std::string& message, const std::string& titleKey);
// A keyed message with the error title (app/messages.h).
void showError(const char* message);

// Moves a dialog so that it is centred on its owner; size, z-order and
// activation stay as they are.
void centreOnParent(HWND dialog);

// The start-up picture, with no owner, before the main window exists.
void showSplashDialog();
// The about box, owned by the main window.
void showAboutDialog();

// Opens the entry dialog for one of the six free-text fields and, after OK,
// puts the entered digits into the field's edit control. Does nothing for a
// field that the control registry does not hold (one without caption).
// requiredLength: exact length OK needs, or -1 for none. The entry starts
// with `typed` (the digit the user opened it with), else empty.
void editFreeTextField(int32_t controlId, int32_t requiredLength, const std::string& typed = "");
