#include "link/device_transfer.h"

#include "link/device_text.h"
#include "link/frame.h"
#include "link/link.h"
#include "params/text_fields.h"

#include <iterator>

namespace {

const TextFieldLimit& fieldLimit(size_t index) {
    return TextFieldLimits[index];
}

uint8_t rowRegister(int32_t number) {
    return static_cast<uint8_t>(number & 0xFF);
}

TransferResult stoppedAtField(TransferStatus status, size_t index) {
    TransferResult result;
    result.status = status;
    result.stoppedField = fieldLimit(index).controlId;
    result.stoppedRegister = fieldLimit(index).registerBase;
    return result;
}

TransferResult stoppedAtRow(TransferStatus status, const FormRow& row) {
    TransferResult result;
    result.status = status;
    result.stoppedParameter = row.number;
    result.stoppedRegister = rowRegister(row.number);
    return result;
}

bool readField(const LinkSession& session, const TextFieldLimit& limit, std::string& text) {
    if (limit.fieldLength == 0) return readBcdPair(session, text);
    return readDigitString(session, limit.registerBase, limit.fieldLength, text);
}

bool writeField(const LinkSession& session, const TextFieldLimit& limit, const std::string& text) {
    if (limit.fieldLength == 0) return writeBcdPair(session, text);
    return writeDigitString(session, limit.registerBase, text, limit.fieldLength);
}

bool readRow(const LinkSession& session, FormRow& row) {
    uint8_t value = 0;
    uint8_t count = 0;
    if (!submitRequest(session, kOpRead, rowRegister(row.number), 0, &value)) return false;
    row.selection = value;
    if (!submitRequest(session, kOpChoiceCount, rowRegister(row.number), 0, &count)) return false;
    row.count = count;
    row.transferred = true;
    return true;
}

}  // namespace

int32_t transferSteps(const FormValues& form) {
    int32_t steps = static_cast<int32_t>(form.fields.size());
    for (const FormRow& row : form.rows)
        if (row.hasList) ++steps;
    return steps;
}

bool fieldsWritable(const FormValues& form, int32_t& badField) {
    for (size_t i = 0; i < form.fields.size() && i < std::size(TextFieldLimits); ++i) {
        const FormField& field = form.fields[i];
        const bool fits = static_cast<int32_t>(field.text.size()) <= fieldLimit(i).maxLength;
        if (field.present && (!fits || !allDigits(field.text))) {
            badField = field.controlId;
            return false;
        }
    }
    return true;
}

// An absent field (no caption in the current language) is neither read nor
// written: the unit keeps what it holds there. It still counts its step.
TransferResult readForm(const LinkSession& session, FormValues& form, const TransferProgress& progress) {
    for (size_t i = 0; i < form.fields.size() && i < std::size(TextFieldLimits); ++i) {
        std::string text;
        if (form.fields[i].present) {
            if (!readField(session, fieldLimit(i), text)) return stoppedAtField(TransferStatus::Failed, i);
            form.fields[i].text = text;
        }
        if (!progress(TransferStep{true, i})) return stoppedAtField(TransferStatus::Stopped, i);
    }
    for (size_t k = 0; k < form.rows.size(); ++k) {
        FormRow& row = form.rows[k];
        if (!row.hasList) continue;
        if (!readRow(session, row)) return stoppedAtRow(TransferStatus::Failed, row);
        if (!progress(TransferStep{false, k})) return stoppedAtRow(TransferStatus::Stopped, row);
    }
    return TransferResult{TransferStatus::Complete};
}

TransferResult writeForm(const LinkSession& session, const FormValues& form, const TransferProgress& progress) {
    int32_t badField = 0;
    if (!fieldsWritable(form, badField)) {
        TransferResult rejected;
        rejected.status = TransferStatus::Rejected;
        rejected.stoppedField = badField;
        if (const TextFieldLimit* limit = findTextField(badField)) rejected.stoppedRegister = limit->registerBase;
        return rejected;
    }
    for (size_t i = 0; i < form.fields.size() && i < std::size(TextFieldLimits); ++i) {
        if (form.fields[i].present && !writeField(session, fieldLimit(i), form.fields[i].text))
            return stoppedAtField(TransferStatus::Failed, i);
        if (!progress(TransferStep{true, i})) return stoppedAtField(TransferStatus::Stopped, i);
    }
    for (size_t k = 0; k < form.rows.size(); ++k) {
        const FormRow& row = form.rows[k];
        if (!row.hasList) continue;
        if (row.selection >= 0 && !writeVerified(session, rowRegister(row.number), static_cast<uint8_t>(row.selection & 0xFF)))
            return stoppedAtRow(TransferStatus::Failed, row);
        if (!progress(TransferStep{false, k})) return stoppedAtRow(TransferStatus::Stopped, row);
    }
    return TransferResult{TransferStatus::Complete};
}

std::string describeStop(const TransferResult& result) {
    const std::string reg = " (register " + std::to_string(result.stoppedRegister) + ")";
    if (result.stoppedParameter) return "parameter " + std::to_string(result.stoppedParameter) + reg;
    if (const TextFieldLimit* limit = findTextField(result.stoppedField)) return limit->key + reg;
    return "nothing";
}
