// The whole configuration between the unit and the form: the six free-text
// fields, then every parameter row, one register after the other. The walk
// knows the form only as plain values, so the window and quillctl run the
// same code; the window applies each step's result as it comes and keeps
// itself live in the progress callback.
//
//   read    fields in device order: the digit strings, then the BCD pair;
//           then rows 1, 2, ...: op 0 (the selected choice) and op 64 (the
//           unit's number of choices) for every row with a choice list
//   write   the same fields, every register written and read back; then
//           each row's selection, written and read back (a row without a
//           selection writes nothing)
//
// A hidden row (no choice list) costs no request and no step. Every other
// field and row is one step; the callback runs after each and can stop the
// walk before its next request. The first failed request ends the walk:
// the registers before it hold their new values, those after it the old.
//
// The link's submitting thread (the window's user-interface thread, or a
// tool's); every request goes to the session's connection, so a walk that
// began on one connection fails, sending nothing more, once it is gone.
#pragma once

#include "link/link.h"
#include "params/form_values.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class TransferStatus {
    Complete,  // every field and row went through
    Failed,    // a request failed, was refused or read back differently
    Stopped,   // the progress callback asked to stop
    Rejected,  // a write whose field texts could not be written: nothing sent
};

// What a step finished: fields[index] or rows[index] of the form.
struct TransferStep {
    bool isField = false;
    size_t index = 0;
};

// Called after every step; returning false stops the walk.
using TransferProgress = std::function<bool(const TransferStep&)>;

struct TransferResult {
    TransferStatus status = TransferStatus::Failed;
    int32_t stoppedParameter = 0;  // the row where it stopped, 0 for a field
    int32_t stoppedField = 0;      // the field's control id, 0 for a row
    int32_t stoppedRegister = -1;  // first register of that field or row
};

// Steps a complete walk over `form` makes: one per field and per row with
// a choice list (the progress bar's range).
int32_t transferSteps(const FormValues& form);

// Whether every present field text can go to the unit as it stands: digits
// only and no longer than the field takes. On false, `badField` is the
// control id of the first one that cannot.
bool fieldsWritable(const FormValues& form, int32_t& badField);

// Fills the present fields' texts and each listed row's selection, count
// and transferred flag from the unit.
TransferResult readForm(const LinkSession& session, FormValues& form, const TransferProgress& progress);
// Writes the present fields and the listed rows' selections, each register
// confirmed; Rejected before any request when fieldsWritable fails.
TransferResult writeForm(const LinkSession& session, const FormValues& form, const TransferProgress& progress);

// "T1 (register 181)" or "parameter 12 (register 12)": where a walk stopped.
std::string describeStop(const TransferResult& result);
