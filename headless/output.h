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

// Closes a file written with stdio, reporting a failed write or close.
inline bool closeFile(std::string_view tool, std::FILE* file, const std::string& path) {
    const bool clean = !std::ferror(file);
    errno = 0;
    const bool closed = std::fclose(file) == 0;
    if (!clean || !closed) return writeFailed(tool, path, closed ? 0 : errno);
    return true;
}

// Replaces the file at path with the text (or appends to it).
inline bool writeFile(std::string_view tool, const std::string& path, std::string_view text, bool append = false) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), append ? "ab" : "wb");
    if (!file) return writeFailed(tool, path, errno);
    if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
        const int error = errno;
        std::fclose(file);
        return writeFailed(tool, path, error);
    }
    return closeFile(tool, file, path);
}

}  // namespace petcalc::output
