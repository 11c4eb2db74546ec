// A backup of every configuration read completely from a unit, so that an
// installer who wrote the wrong configuration can open the last one and
// write it back. User-interface thread only.
#pragma once

#include <cstdint>
#include <string>

// Saves the rows' selections in "%APPDATA%\Valdrix\BrontivaSetup\Backups" as
// "<date> <time> COM<port> <version>.sqc" and keeps the newest backups only.
// Silent: a backup that cannot be made changes nothing and shows nothing.
void backUpConfiguration(int32_t port, const std::string& version);
