// startup_bench: start-up to the first paint of petcalc.exe and of a bare
// Win32 window, taken in turns, under Wine (bench/win32/run.sh). A round
// starts the program and ends when its window is shown and painted: the
// program waits for input (WaitForInputIdle) and no part of its window is
// left to paint. The program is then closed and waited for.
//
//   startup_bench ROUNDS WARMUP EXE...      prints one line an EXE: its name,
//                                           the median and the quartiles, ms

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "output.h"

namespace {

struct Found {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK findShown(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != f->pid || !IsWindowVisible(w)) return TRUE;
    f->window = w;
    return FALSE;
}

double now() {
    static LARGE_INTEGER hz = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(hz.QuadPart);
}

// Milliseconds from CreateProcess to the painted window, or -1.
double round(const std::string& exe) {
    std::string line = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    WaitForInputIdle(pi.hProcess, 20000);
    Found f{pi.dwProcessId, nullptr};
    double painted = -1;
    for (int tries = 0; tries < 20000 && painted < 0; ++tries) {
        if (!f.window) EnumWindows(findShown, reinterpret_cast<LPARAM>(&f));
        if (f.window && !GetUpdateRect(f.window, nullptr, FALSE)) painted = now() - start;
        else Sleep(0);
    }
    if (f.window) PostMessageW(f.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return painted;
}

double quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_bench ROUNDS WARMUP EXE...\n");
        return 64;
    }
    const int rounds = std::atoi(argv[1]), warmup = std::atoi(argv[2]);
    std::vector<std::vector<double>> times(static_cast<std::size_t>(argc - 3));
    for (int r = 0; r < warmup + rounds; ++r)
        for (int e = 3; e < argc; ++e) {  // in turns, so that a change of the machine's load hits both
            const double ms = round(argv[e]);
            if (ms < 0) {
                std::fprintf(stderr, "startup_bench: %s did not start or paint\n", argv[e]);
                return 1;
            }
            if (r >= warmup) times[static_cast<std::size_t>(e - 3)].push_back(ms);
        }
    for (int e = 3; e < argc; ++e) {
        const auto& t = times[static_cast<std::size_t>(e - 3)];
        std::printf("%s\t%.1f\t%.1f\t%.1f\n", argv[e], quantile(t, 0.5), quantile(t, 0.25), quantile(t, 0.75));
    }
    return petcalc::output::flushStdout("startup_bench") ? 0 : 1;
}
