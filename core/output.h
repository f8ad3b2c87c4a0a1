#pragma once
// Checked writes for our programs and tools. A full disk, a closed pipe or a
// missing folder must end the run with a message and a failing status, not
// pass for a finished run with a short file behind it.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace petcalc::output {

// "TOOL: cannot write WHAT: REASON" on standard error; always false.
inline bool writeFailed(std::string_view tool, std::string_view what, int error) {
    std::fprintf(stderr, "%.*s: cannot write %.*s: %s\n", static_cast<int>(tool.size()), tool.data(),
                 static_cast<int>(what.size()), what.data(), error ? std::strerror(error) : "write error");
    return false;
}

// Everything printed to standard output so far has been written out.
inline bool flushStdout(std::string_view tool) {
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return writeFailed(tool, "standard output", errno);
    return true;
}

// Writes the text and a line end to standard output, flushed at once.
inline bool writeLine(std::string_view tool, std::string_view text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fputc('\n', stdout) == EOF)
        return writeFailed(tool, "standard output", errno);
    return flushStdout(tool);
}

// Replaces the file at path with the text (or appends to it).
inline bool writeFile(std::string_view tool, const std::string& path, std::string_view text, bool append = false) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), append ? "ab" : "wb");
    if (!file) return writeFailed(tool, path, errno);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int error = errno;
    if (std::fclose(file) != 0 || !written) return writeFailed(tool, path, written ? errno : error);
    return true;
}

}  // namespace petcalc::output
