// A backup of every configuration read completely from a unit, so that an
// installer who wrote the wrong configuration can open the last one and
// write it back. User-interface thread only.
#pragma once

#include "configfile/backup_names.h"
#include "params/form_values.h"

#include <cstdint>
#include <string>
#include <vector>

// Saves the rows' selections in "%APPDATA%\Valdrix\BrontivaSetup\Backups" as
// "<date> <time> COM<port> <version>.sqc" (" unsent" before ".sqc" for the
// rows of a write that did not go through), named by `moment`, and keeps the
// newest backups only. Silent: a backup that cannot be made changes nothing
// and shows nothing.
void backUpConfiguration(const std::vector<FormRow>& rows, const BackupMoment& moment, int32_t port,
                         const std::string& version, BackupKind kind = BackupKind::Read);

// The local time now, to the second.
BackupMoment localMoment();
