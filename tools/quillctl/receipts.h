// The production bench's receipts: one CSV line (csv_records.h) per unit it
// worked on, added to the file the moment the unit is done. The file is the
// bench's memory: a label with a `programmed` line is never programmed
// again, so a bench that was stopped or killed goes on where it was.
//
//   label,port,identity,version,started,ended,seconds,result,stopped_register,backup
//   Shop 12,COM3,105,1.05,2026-12-06T14:03:22+01:00,2026-12-06T14:03:53+01:00,31.2,programmed,,2026-12-06 14-03-25 COM3 1.05.sqc
//   Shop 13,COM4,105,1.05,2026-12-06T14:03:23+01:00,2026-12-06T14:03:40+01:00,17.0,failed,197,2026-12-06 14-03-26 COM4 1.05.sqc
//
// result: programmed, failed or interrupted (the bench was stopped);
// stopped_register: the first register of the field or row a failed unit
// failed at (a check that read back another value: that register), of the
// last one an interrupted unit did; empty when none; backup: the file saved
// before writing, empty when none was.
// Each line is appended in one write (safe_file.h): a killed bench leaves
// whole lines, and a torn last line (a power cut) is dropped on the next
// start.
#pragma once

#include <cstdint>
#include <ctime>
#include <set>
#include <string>

inline constexpr const char* kReceiptsHeader =
    "label,port,identity,version,started,ended,seconds,result,stopped_register,backup";
// A receipts file of a whole year's production is a few MB.
constexpr size_t kMaxReceiptsBytes = 256 << 20;

enum class ReceiptResult { Programmed, Failed, Interrupted };

struct Receipt {
    std::string label;
    int32_t port = 0;
    int32_t identity = 0;
    std::string version;
    std::string started;  // isoLocalTime
    std::string ended;
    double seconds = 0;
    ReceiptResult result = ReceiptResult::Failed;
    int32_t stoppedRegister = -1;  // -1: empty
    std::string backup;
};

// The receipt's line, with its CRLF.
std::string composeReceipt(const Receipt& receipt);

// Of a receipts file's bytes: the labels with a `programmed` line, and
// `wholeBytes`, the length of its complete lines (a torn last line lies
// after them). False with `problem` when the first line is not the header
// or a line is not a receipt: such a file is not appended to.
bool readReceipts(const std::string& bytes, std::set<std::string>& programmed, size_t& wholeBytes,
                  std::string& problem);

// "2026-12-06T14:03:22+01:00" from the same moment as local and as UTC time.
std::string isoLocalTime(const std::tm& local, const std::tm& utc);

// Beside the list: "units.csv" -> "units-receipts.csv" (other names get
// "-receipts.csv" added).
std::string defaultReceiptsPath(const std::string& listPath);

// Reads the file (none yet: it is made with its header), drops a torn last
// line, and gives the labels programmed. False with one `problem`.
bool openReceipts(const std::string& path, std::set<std::string>& programmed, std::string& problem);
// Appends one line; false with `error` when it did not go in whole.
bool appendReceipt(const std::string& path, const Receipt& receipt, std::string& error);
