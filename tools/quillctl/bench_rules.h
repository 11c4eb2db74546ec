// What the production bench means a unit to hold, what a whole read must
// give back once it is written, and what the bench knows a unit holds after
// working on it. Pure: forms in, forms out.
//
// A unit's contents are its cells: the six digit fields (texts as a read
// gives them) and every listed row (the register's value as read, not
// settled). Cell i < 6 is fields[i]; cell 6 + k is rows[k].
#pragma once

#include "configfile/config_text.h"
#include "link/device_transfer.h"
#include "params/form_values.h"
#include "tools/quillctl/unit_list.h"

#include <cstdint>
#include <string>
#include <vector>

// The form the bench writes over `read` (a whole read of the unit): the
// template's rows opened as write-config opens them; the fields the list
// names with the unit's texts; every other field absent, so not written.
FormValues meantForm(const FormValues& read, const std::vector<ConfigPair>& templatePairs, const UnitList& list,
                     const ListedUnit& unit);

// What a whole read gives once `meant` went over `read`: written fields
// as the unit gives them back (K "7" reads "70"), written rows' values;
// everything else as read.
FormValues expectedContents(const FormValues& read, const FormValues& meant);

// The first register where `got` differs from `expected` over the cells
// `compared` marks (all when empty): a field's first differing character
// (K: 252), a row's own register. False when they agree.
bool firstDifference(const FormValues& got, const FormValues& expected, const std::vector<bool>& compared,
                     int32_t& differingRegister);

// The cell a walk stopped at (TransferResult's field or row).
size_t stoppedCell(const FormValues& form, const TransferResult& result);

// What the bench knows a unit holds after it worked on it: `contents` on
// the cells `known` marks.
struct UnitMemory {
    bool valid = false;
    FormValues contents;
    std::vector<bool> known;
};

// All of `contents` known, or the cells before `cell` only (a read that
// stopped there).
UnitMemory rememberWhole(const FormValues& contents);
UnitMemory rememberBefore(const FormValues& contents, size_t cell);
// A write that stopped at `cell`: the cells before it hold what was meant,
// those after it what was read; that cell is unknown.
UnitMemory rememberWriteStopped(const FormValues& read, const FormValues& expected, size_t cell);
// The whole write went through and the check read stopped or differed at
// `cell`: everything as meant, that cell unknown.
UnitMemory rememberCheckStopped(const FormValues& expected, size_t cell);

// Whether a whole read `now` agrees with the memory on every known cell.
bool holdsRemembered(const FormValues& now, const UnitMemory& memory);
