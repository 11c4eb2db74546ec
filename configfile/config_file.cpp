#include "configfile/config_file.h"

#include "defs/sealed_codec.h"

ReplaceResult writeConfigFile(const std::string& path, const std::vector<FormRow>& rows, std::string& error) {
    std::string sealed;
    if (!sealBytes(composeConfigText(rows), sealed)) {
        error = "sealing the file failed";
        return ReplaceResult::writeFailed;
    }
    return replaceFileSafely(path, sealed, error);
}

bool openConfigBytes(const std::string& sealed, std::string& payload, std::vector<ConfigPair>& pairs,
                     std::string& error) {
    pairs.clear();
    if (sealed.size() > kMaxConfigFileBytes) {
        error = "too large for a configuration file";
        return false;
    }
    if (!unsealBytes(sealed, payload)) {
        error = "not a sealed file, or damaged";
        return false;
    }
    return parseConfigText(payload, pairs, error);
}
