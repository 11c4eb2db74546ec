// What the production bench is given: the list of units and the ports.
// Pure: text in, records out, every fault named before anything is sent.
//
// The list is CSV (csv_records.h), UTF-8. The header names the column
// `label` and any of the digit fields by their keys T1, T2, T3, T4, H, K
// (any order, letters in either case); one unit a line below it:
//
//   label,T1,T2,H,K
//   Shop 12,0612345678,,123456,07
//   "Main St, 4",0698765432,0611111111,654321,
//
// A label is one line of text, unique in the list. A field's cell holds
// digits only, at most as many as the field takes (H: none or exactly
// six); an empty cell clears the field on the unit. A field without a
// column keeps what each unit holds.
//
// Ports: "3,4,7-9", COM numbers 1..256, each once.
#pragma once

#include "params/text_fields.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

constexpr size_t kListFields = std::size(TextFieldLimits);
// A list of some thousand units is a few hundred KB; a larger file is
// refused unread.
constexpr size_t kMaxListBytes = 16 << 20;

struct ListedUnit {
    std::string label;
    int32_t line = 0;                // where the unit stands in the list
    std::string texts[kListFields];  // in the order of TextFieldLimits
};

struct UnitList {
    bool named[kListFields] = {};  // the list has a column for this field
    std::vector<ListedUnit> units;
};

// The whole list, checked. False with one `problem`, "line L, column C:
// reason", for the first fault: an empty list, an unknown or repeated
// column, no label column, a line with more or fewer cells than the
// header, a missing, repeated or multi-line label, a cell that is not
// digits or does not fit its field.
bool parseUnitList(const std::string& bytes, UnitList& list, std::string& problem);

// "3,4,7-9" as 3, 4, 7, 8, 9. False with `problem` for an empty item, a
// number outside 1..256, a range that runs backwards, or a port twice.
bool parsePortList(const std::string& text, std::vector<int32_t>& ports, std::string& problem);
