#include "app/message_name.h"

#include "defs/definition_parser.h"

#include <algorithm>

bool splitMessageName(std::string_view name, MessageName& parts) {
    const size_t space = name.find(' ');
    if (space == std::string_view::npos) return false;
    parts.key = std::string(name.substr(0, std::min(space, kMaxMessageKeyLength)));
    parts.index = parseLeadingInt(name.substr(space + 1));
    return true;
}
