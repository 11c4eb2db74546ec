#include "configfile/safe_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace {

constexpr size_t kReadChunkBytes = 64 * 1024;

}  // namespace

std::string temporaryName(const std::string& target, int attempt) {
    return target + ".part" + (attempt == 0 ? std::string() : std::to_string(attempt));
}

bool readFileBytes(const std::string& path, size_t maxBytes, std::string& bytes, std::string& error) {
    bytes.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    // read() rather than a stream-buffer iterator: the file buffer throws
    // when the read call itself fails (a folder, an I/O error), and only the
    // stream's own functions turn that into a bad state.
    char chunk[kReadChunkBytes];
    while (bytes.size() <= maxBytes && (in.read(chunk, sizeof chunk) || in.gcount() > 0))
        bytes.append(chunk, static_cast<size_t>(in.gcount()));
    if (in.bad() || bytes.size() > maxBytes) {
        error = path + (in.bad() ? ": cannot be read" : ": too large");
        bytes.clear();
        return false;
    }
    return true;
}
