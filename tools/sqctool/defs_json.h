// The definition database as JSON, for people who write definition tables
// and for tests:
//   {"parseError": "...", "firstLanguage": "...", "variants": [..],
//    "languages": {"NAME": {"KEY": ["field", ...], ...}, ...}}
// Every byte outside printable ASCII is written as \u00XX of its byte value,
// so the output is ASCII and maps back to the exact bytes.
#pragma once

#include "defs/definition_parser.h"

#include <string>

std::string jsonString(const std::string& bytes);
std::string definitionsToJson(const DefinitionDatabase& db);
