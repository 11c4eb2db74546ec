#include "app/message_spec.h"

#include "defs/definition_parser.h"

#include <algorithm>

bool splitMessageSpec(std::string_view spec, MessageSpec& parts) {
    const size_t space = spec.find(' ');
    if (space == std::string_view::npos) return false;
    parts.key = std::string(spec.substr(0, std::min(space, kMaxMessageKeyLength)));
    parts.index = parseLeadingInt(spec.substr(space + 1));
    return true;
}
