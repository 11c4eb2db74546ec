// File access shared by the command-line tools: whole files as bytes, "-"
// for standard input or output, and replacing an output only once its new
// content is complete.
#pragma once

#include <string>

// Reads all of `path` ("-": standard input). On failure sets `error`.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Writes `bytes` to `path` ("-": standard output). A file is written beside
// the target under a temporary name and renamed over it, so a failed write
// never leaves a half-written or truncated output behind. A symbolic link is
// followed (the link stays, the file it names is replaced); a device or a
// pipe, such as /dev/stdout, is written in place.
bool writeWholeFile(const std::string& path, const std::string& bytes, std::string& error);
