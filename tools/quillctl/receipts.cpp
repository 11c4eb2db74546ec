#include "tools/quillctl/receipts.h"

#include "configfile/safe_file.h"
#include "tools/quillctl/csv_records.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kCsvExtension = ".csv";
constexpr const char* kReceiptsSuffix = "-receipts.csv";
constexpr size_t kReceiptFields = 10;
constexpr size_t kLabelField = 0;
constexpr size_t kResultField = 7;
const char* const kResultNames[] = {"programmed", "failed", "interrupted"};

bool knownResult(const std::string& text) {
    for (const char* name : kResultNames)
        if (text == name) return true;
    return false;
}

bool isHeader(const CsvRecord& record) {
    std::string joined;
    for (size_t i = 0; i < record.fields.size(); ++i) joined += (i ? "," : "") + record.fields[i];
    return joined == kReceiptsHeader;
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

int64_t secondsOf(const std::tm& t) {
    return daysFromCivil(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday) * 86400 + t.tm_hour * 3600 + t.tm_min * 60 +
           t.tm_sec;
}

}  // namespace

std::string composeReceipt(const Receipt& r) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", r.seconds);
    const std::string fields[kReceiptFields] = {
        r.label, "COM" + std::to_string(r.port), std::to_string(r.identity), r.version, r.started, r.ended, seconds,
        kResultNames[static_cast<int>(r.result)], r.stoppedRegister < 0 ? "" : std::to_string(r.stoppedRegister),
        r.backup};
    std::string line;
    for (size_t i = 0; i < kReceiptFields; ++i) line += (i ? "," : "") + csvField(fields[i]);
    return line + kLineEnd;
}

bool readReceipts(const std::string& bytes, std::set<std::string>& programmed, size_t& wholeBytes,
                  std::string& problem) {
    programmed.clear();
    const size_t lastBreak = bytes.rfind('\n');
    wholeBytes = lastBreak == std::string::npos ? 0 : lastBreak + 1;
    std::vector<CsvRecord> records;
    if (!readCsvRecords(bytes.substr(0, wholeBytes), records, problem)) return false;
    if (!records.empty() && !isHeader(records[0])) {
        problem = csvPlace(records[0].line, 1, "not a receipts file (its first line is not " + std::string(kReceiptsHeader) + ")");
        return false;
    }
    for (size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        if (record.fields.size() != kReceiptFields || !knownResult(record.fields[kResultField])) {
            problem = csvPlace(record.line, 1, "not a receipt line");
            return false;
        }
        if (record.fields[kResultField] == kResultNames[0]) programmed.insert(record.fields[kLabelField]);
    }
    return true;
}

std::string isoLocalTime(const std::tm& local, const std::tm& utc) {
    const int64_t offset = (secondsOf(local) - secondsOf(utc)) / 60;
    const int64_t size = offset < 0 ? -offset : offset;
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+',
                  static_cast<int>(size / 60), static_cast<int>(size % 60));
    return text;
}

std::string defaultReceiptsPath(const std::string& listPath) {
    const size_t n = std::char_traits<char>::length(kCsvExtension);
    std::string base = listPath;
    if (base.size() > n) {
        std::string end = base.substr(base.size() - n);
        for (char& ch : end) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
        if (end == kCsvExtension) base.resize(base.size() - n);
    }
    return base + kReceiptsSuffix;
}

bool openReceipts(const std::string& path, std::set<std::string>& programmed, std::string& problem) {
    std::string bytes, error;
    size_t whole = 0;
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    if (exists && !readFileBytes(path, kMaxReceiptsBytes, bytes, problem)) return false;
    if (exists && !readReceipts(bytes, programmed, whole, problem)) {
        problem = path + ": " + problem;
        return false;
    }
    if (exists && whole != bytes.size() && replaceFileSafely(path, bytes.substr(0, whole), error) != ReplaceResult::replaced) {
        problem = error;
        return false;
    }
    if (whole == 0 && !appendToFile(path, std::string(kReceiptsHeader) + kLineEnd, error)) {
        problem = error;
        return false;
    }
    return true;
}

bool appendReceipt(const std::string& path, const Receipt& receipt, std::string& error) {
    return appendToFile(path, composeReceipt(receipt), error);
}
