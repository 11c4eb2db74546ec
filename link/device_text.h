// Texts held in device registers, as pure conversions:
//
//   digit string   a field of N registers holding up to N-1 character codes
//                  of the digits 0..9, then NUL bytes: "123" in N = 7 is
//                  31 32 33 00 00 00 00
//   BCD pair       register 252, two decimal digits in one byte, the first
//                  in the high nibble: "59" is 0x59, "7" is 0x70, "" is 0x00
//   version        the identity shown as "%d.%02.2d" of id / 100, id % 100:
//                  105 is "1.05", 1234 is "12.34", 7 is "0.07"
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Whether a field of `length` registers from `base` lies inside 0..255
// (length at least 1), so that no register address wraps around.
bool fieldFitsRegisters(int32_t base, int32_t length);

// The bytes that writing `text` into a field of `length` registers stores,
// register by register: the character codes of its first length - 1
// characters, NUL padding, and the NUL of the last register. When one of
// those characters is not a digit, `bytes` ends before it and the result is
// false: the positions before it are still written.
bool digitStringBytes(const std::string& text, int32_t length, std::vector<uint8_t>& bytes);

// Whether every character of `text` is a decimal digit (the empty text is).
bool allDigits(const std::string& text);

// Register 252's value for a text; false when one of its first two
// characters is not a digit. Characters after the second are ignored.
bool bcdFromText(const std::string& text, uint8_t& value);

// Two characters: '0' + high nibble, '0' + low nibble. Nibbles above 9 give
// the characters after '9' (':' to '?'), as the unit's value is shown as is.
std::string textFromBcd(uint8_t value);

// The version text of an identity; empty unless deviceId is above 0.
std::string formatVersion(int32_t deviceId);
