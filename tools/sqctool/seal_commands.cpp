#include "defs/sealed_codec.h"
#include "tools/sqctool/sqctool.h"
#include "tools/common/tool_io.h"

int runSeal(const std::vector<std::string>& args) {
    if (args.size() != 2) return usage("seal takes IN and OUT");
    std::string payload, sealed, error;
    if (!readWholeFile(args[0], payload, error)) return reject(error);
    if (!sealBytes(payload, sealed)) return reject("sealing failed");
    if (!writeWholeFile(args[1], sealed, error)) return reject(error);
    return kExitOk;
}

int runUnseal(const std::vector<std::string>& args) {
    if (args.size() != 2) return usage("unseal takes IN and OUT");
    std::string sealed, payload, error;
    if (!readWholeFile(args[0], sealed, error)) return reject(error);
    if (!unsealBytes(sealed, payload)) return reject(args[0] + ": not a sealed file, or damaged");
    if (!writeWholeFile(args[1], payload, error)) return reject(error);
    return kExitOk;
}
