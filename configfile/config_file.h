// Configuration files on disk, as the program and quillctl save and open
// them: the configuration text (config_text.h) sealed (defs/sealed_codec.h)
// and replaced safely (safe_file.h).
#pragma once

#include "configfile/config_text.h"
#include "configfile/safe_file.h"
#include "params/form_values.h"

#include <string>
#include <vector>

// The rows' selections sealed into `path`, replaced safely. `error` gets a
// one-line reason on failure.
ReplaceResult writeConfigFile(const std::string& path, const std::vector<FormRow>& rows, std::string& error);

// The pairs of a configuration file's sealed bytes: refused when they are
// larger than any file the program writes, do not unseal, or hold a text
// that does not parse. `payload` keeps the unsealed text whenever unsealing
// worked; `error` gets a one-line reason on failure.
bool openConfigBytes(const std::string& sealed, std::string& payload, std::vector<ConfigPair>& pairs,
                     std::string& error);
