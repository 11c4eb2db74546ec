// Comma-separated records as RFC 4180 has them, for the production bench's
// list of units and its receipts. Pure: bytes in, records out.
//
//   label,T1,H                      fields separated by commas
//   Shop 12,0612345678,123456       one record a line, CRLF or LF
//   "Main St, 4",,"say ""hi"""      quoted: commas and line breaks inside,
//                                   "" for one quote; an empty field
//
// A UTF-8 byte-order mark before the first record is skipped; blank lines
// are no records; the last line needs no line break. Refused: a quote
// inside an unquoted field, text after a closing quote, a quote never
// closed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CsvRecord {
    int32_t line = 0;  // where it starts, from 1
    std::vector<std::string> fields;
};

// Every record of `bytes`. False with `problem` "line L, column C: reason"
// for the first fault; `records` then holds those before it.
bool readCsvRecords(const std::string& bytes, std::vector<CsvRecord>& records, std::string& problem);

// One field as a record holds it: quoted (quotes doubled) when it holds a
// comma, a quote or a line break, as is otherwise.
std::string csvField(const std::string& text);

// "line L, column C: reason".
std::string csvPlace(int32_t line, int32_t column, const std::string& reason);
