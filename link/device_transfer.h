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
// User-interface thread (the only submitter of link requests).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One free-text field, in the order of TextFieldLimits.
struct FormField {
    int32_t controlId = 0;
    bool present = false;  // the form shows it; an absent field is skipped
    std::string text;
};

// One parameter row, in ascending parameter number without gaps.
struct FormRow {
    int32_t number = 0;
    bool hasList = false;    // hidden rows have none
    int32_t selection = -1;  // choice index, -1 for none
    int32_t count = 0;       // choices the unit offers (filled by a read)
    bool transferred = false;
};

struct FormValues {
    std::vector<FormField> fields;
    std::vector<FormRow> rows;
};

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

// The form with the six fields of TextFieldLimits, all present and empty.
FormValues emptyForm();

struct DefinitionStore;
// The form a read from a unit of identity `deviceId` fills, with the rows
// the window builds for it: the unit's variant selected in `store`, then
// its parameters 1, 2, ... up to the first gap (planParameterRows), hidden
// ones without a list; the six fields present and empty.
FormValues unitForm(DefinitionStore& store, int32_t deviceId);

// Steps a complete walk over `form` makes: one per field and per row with
// a choice list (the progress bar's range).
int32_t transferSteps(const FormValues& form);

// Whether every present field text can go to the unit as it stands: digits
// only and no longer than the field takes. On false, `badField` is the
// control id of the first one that cannot.
bool fieldsWritable(const FormValues& form, int32_t& badField);

// Fills the present fields' texts and each listed row's selection, count
// and transferred flag from the unit.
TransferResult readForm(FormValues& form, const TransferProgress& progress);
// Writes the present fields and the listed rows' selections, each register
// confirmed; Rejected before any request when fieldsWritable fails.
TransferResult writeForm(const FormValues& form, const TransferProgress& progress);

// "T1 (register 181)" or "parameter 12 (register 12)": where a walk stopped.
std::string describeStop(const TransferResult& result);
