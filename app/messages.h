// Every keyed message the program shows: a text key, a space and a position
// in the definition table (app/message_name.h), and the title each kind of
// message takes. The table holds each of these texts in every language.
#pragma once

#include <cstdint>

// Errors are titled text("E1", 1), completions text("Q1", 3).
inline constexpr const char* kErrorTitleKey = "E1";
constexpr int32_t kErrorTitleIndex = 1;
inline constexpr const char* kCompletionTitleKey = "Q1";
constexpr int32_t kCompletionTitleIndex = 3;

inline constexpr const char* kTransferFailedMessage = "E 0";  // a read or write stopped part-way
inline constexpr const char* kOpenFailedMessage = "E 2";      // a configuration file was refused
inline constexpr const char* kCannotCreateMessage = "E 3";    // the saved file cannot be created
inline constexpr const char* kWriteFailedMessage = "E 4";     // the saved file cannot be written
inline constexpr const char* kNoUnitMessage = "E 5";          // a read without a unit
inline constexpr const char* kReadDoneMessage = "E1 2";
inline constexpr const char* kWriteDoneMessage = "E1 3";

// Every message name above with its title, for the check that the table has
// them all.
struct KeyedMessage {
    const char* message;
    const char* titleKey;
    int32_t titleIndex;
};
inline constexpr KeyedMessage kKeyedMessages[] = {
    {kTransferFailedMessage, kErrorTitleKey, kErrorTitleIndex},
    {kOpenFailedMessage, kErrorTitleKey, kErrorTitleIndex},
    {kCannotCreateMessage, kErrorTitleKey, kErrorTitleIndex},
    {kWriteFailedMessage, kErrorTitleKey, kErrorTitleIndex},
    {kNoUnitMessage, kErrorTitleKey, kErrorTitleIndex},
    {kReadDoneMessage, kCompletionTitleKey, kCompletionTitleIndex},
    {kWriteDoneMessage, kCompletionTitleKey, kCompletionTitleIndex},
};
