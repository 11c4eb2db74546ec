#include "tools/common/tool_io.h"

#include "configfile/config_file.h"

#include <iostream>
#include <limits>
#include <sstream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

void binaryStdio() {
#ifdef _WIN32
    // The Windows runtime translates line ends on text streams; sealed bytes
    // must pass untouched.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    if (path != "-") return readFileBytes(path, std::numeric_limits<size_t>::max(), bytes, error);
    binaryStdio();
    std::ostringstream all;
    all << std::cin.rdbuf();
    bytes = all.str();
    return true;
}

bool writeWholeFile(const std::string& path, const std::string& bytes, std::string& error) {
    if (path != "-") return replaceFileSafely(path, bytes, error) == ReplaceResult::replaced;
    binaryStdio();
    std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::cout.flush();
    if (!std::cout) error = "standard output: write error";
    return static_cast<bool>(std::cout);
}

bool readConfigFile(const std::string& path, std::string& payload, std::vector<ConfigPair>& pairs,
                    std::string& error) {
    std::string sealed;
    if (!readWholeFile(path, sealed, error)) return false;
    if (openConfigBytes(sealed, payload, pairs, error)) return true;
    error = path + ": " + error;
    return false;
}
