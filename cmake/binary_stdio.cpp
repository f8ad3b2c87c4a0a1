// Linked into the Windows build of every console program: binary standard
// streams, so that "\n" is written as it is and the output is the same,
// byte for byte, as on the other targets (text mode would write "\r\n").
#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace {
[[maybe_unused]] const int kBinaryStdio =
    (_setmode(_fileno(stdin), _O_BINARY), _setmode(_fileno(stdout), _O_BINARY), _setmode(_fileno(stderr), _O_BINARY));
}  // namespace
