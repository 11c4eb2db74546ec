#include "tools/quillctl/csv_records.h"

namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

struct Cursor {
    const std::string& bytes;
    size_t at = 0;
    int32_t line = 1;
    bool atEnd() const { return at >= bytes.size(); }
    char peek() const { return bytes[at]; }
};

bool atLineEnd(const Cursor& c) {
    return c.atEnd() || c.peek() == '\n' || c.peek() == '\r';
}

// Past CRLF, LF or a lone CR.
void skipLineEnd(Cursor& c) {
    if (c.atEnd()) return;
    if (c.peek() == '\r' && c.at + 1 < c.bytes.size() && c.bytes[c.at + 1] == '\n') ++c.at;
    ++c.at;
    ++c.line;
}

bool readQuoted(Cursor& c, int32_t column, std::string& field, std::string& problem) {
    const int32_t startLine = c.line;
    for (++c.at; !c.atEnd(); ++c.at) {
        const char ch = c.peek();
        if (ch == '"' && c.at + 1 < c.bytes.size() && c.bytes[c.at + 1] == '"') {
            field += '"';
            ++c.at;
        } else if (ch == '"') {
            ++c.at;
            if (c.atEnd() || c.peek() == ',' || atLineEnd(c)) return true;
            problem = csvPlace(c.line, column, "text after the closing quote");
            return false;
        } else {
            if (ch == '\n' || (ch == '\r' && (c.at + 1 >= c.bytes.size() || c.bytes[c.at + 1] != '\n'))) ++c.line;
            field += ch;
        }
    }
    problem = csvPlace(startLine, column, "the quote is never closed");
    return false;
}

bool readPlain(Cursor& c, int32_t column, std::string& field, std::string& problem) {
    for (; !atLineEnd(c) && c.peek() != ','; ++c.at) {
        if (c.peek() == '"') {
            problem = csvPlace(c.line, column, "a quote inside a field that does not start with one");
            return false;
        }
        field += c.peek();
    }
    return true;
}

bool readRecord(Cursor& c, CsvRecord& record, std::string& problem) {
    record.line = c.line;
    for (;;) {
        const int32_t column = static_cast<int32_t>(record.fields.size()) + 1;
        std::string field;
        const bool read = !c.atEnd() && c.peek() == '"' ? readQuoted(c, column, field, problem)
                                                         : readPlain(c, column, field, problem);
        if (!read) return false;
        record.fields.push_back(field);
        if (c.atEnd() || c.peek() != ',') break;
        ++c.at;
    }
    skipLineEnd(c);
    return true;
}

}  // namespace

bool readCsvRecords(const std::string& bytes, std::vector<CsvRecord>& records, std::string& problem) {
    records.clear();
    Cursor c{bytes};
    if (bytes.compare(0, 3, kByteOrderMark) == 0) c.at = 3;
    while (!c.atEnd()) {
        if (atLineEnd(c)) {
            skipLineEnd(c);
            continue;
        }
        CsvRecord record;
        if (!readRecord(c, record, problem)) return false;
        records.push_back(record);
    }
    return true;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char ch : text) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return quoted + "\"";
}

std::string csvPlace(int32_t line, int32_t column, const std::string& reason) {
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + reason;
}
