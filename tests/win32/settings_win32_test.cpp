#include "app/settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Value names of these tests only; the program's own values stay untouched.
constexpr const char* kProbeValue = "TestProbeValue";

std::string keyPath() { return std::string(kSettingsKeyPrefix) + kSettingsSection; }

void setRaw(const char* name, DWORD type, const std::vector<BYTE>& data) {
    RegSetKeyValueA(HKEY_CURRENT_USER, keyPath().c_str(), name, type, data.data(), static_cast<DWORD>(data.size()));
}

// The value's type and bytes exactly as stored (RegGetValue would add a
// missing terminating zero).
bool rawValue(const char* name, DWORD& type, std::vector<BYTE>& data) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    data.resize(size);
    if (status == ERROR_SUCCESS) status = RegQueryValueExA(key, name, nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

class Settings : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteKeyValueA(HKEY_CURRENT_USER, keyPath().c_str(), kProbeValue); }
};

// A value missing or too long gives the default; REG_SZ is written with its
// terminating zero and read back; other types read as text up to the first zero.
TEST_F(Settings, MissingValuesWrittenOnesAndOtherTypes) {
    EXPECT_EQ(readSetting(kProbeValue, "fallback"), "fallback");
    for (const std::string& value : {std::string(), std::string("Deutsch"), std::string(300, '7'),
                                    std::string("Polski \xB3\xB9\xEA")}) {
        ASSERT_TRUE(writeSetting(kProbeValue, value));
        DWORD type = 0;
        std::vector<BYTE> data;
        ASSERT_TRUE(rawValue(kProbeValue, type, data));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(std::string(data.begin(), data.end()), value + '\0');
        EXPECT_EQ(readSetting(kProbeValue, "fallback"), value);
    }
    const struct { DWORD type; std::vector<BYTE> data; std::string expected; } cases[] = {
        {REG_SZ, std::vector<BYTE>(70000, 'A'), "fallback"},  // longer than the 65000-byte buffer
        {REG_BINARY, {'4', '2'}, "42"}, {REG_BINARY, {'a', 0, 'b'}, "a"},  // no terminating zero; the first zero
        {REG_DWORD, {'1', '2', 0, 0}, "12"}, {REG_EXPAND_SZ, {'%', 'X', '%', 0}, "%X%"}};  // not expanded
    for (const auto& c : cases) {
        setRaw(kProbeValue, c.type, c.data);
        EXPECT_EQ(readSetting(kProbeValue, "fallback"), c.expected) << "type " << c.type;
    }
}

}  // namespace
