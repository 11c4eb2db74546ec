// Message names: how an operation names the message it wants shown.
//
//   "E 5"     text("E", 5)        key, one space, decimal index
//   "E1 3"    text("E1", 3)
//   "E x"     text("E", 0)        an index that is not a number counts as 0
//   "E  -2"   text("E", -2)       leading blanks and a sign are allowed
//   "Ready"   "Ready"             no space: shown verbatim
//
// The key is the part before the first space, at most 99 characters (a
// longer one is cut there).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

constexpr size_t kMaxMessageKeyLength = 99;

struct MessageName {
    std::string key;
    int32_t index = 0;
};

// False for a name without a space, which is shown as it is.
bool splitMessageName(std::string_view name, MessageName& parts);
