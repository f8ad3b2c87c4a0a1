// Start-up of petcalc against the floor, a bare Qt window: for each program
// the time from exec to its first frame on screen, its resident memory one
// second later, and the CPU time of all its threads (start-up and that idle
// second, which costs next to nothing). The programs take
// turns within every round (the order flips each round), so that a busy
// moment of the machine falls on both alike.
//
// Usage: startup_bench --probe first_frame_probe.so [--rounds 15]
//            [--warmup 2] [--settle-ms 1000] [--rows FILE]
//            FLOOR_NAME=COMMAND NAME=COMMAND ...
// The first program is the floor the others are divided by. Needs a display
// (run it under xvfb-run); see bench/README.md.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "output.h"

extern char** environ;

namespace petcalc::bench {
namespace {

using Ns = long long;

Ns now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return Ns(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

struct Program {
    std::string name, exe;
};

// One start of one program.
struct Sample {
    double startMs = 0;     // exec to first frame
    double loadMs = 0;      // exec to QApplication (dynamic loading, static init)
    double appToExposeMs = 0;  // QApplication, window built, shown, mapped
    double paintMs = 0;     // exposed to first frame flushed and synced
    double cpuMs = 0;       // CPU time of all its threads, start to end (idle after the frame)
    double rssMiB = 0, anonMiB = 0, fileMiB = 0, pssMiB = 0;  // one second later
};

// A "Key:   123 kB" field of a /proc file, in MiB; 0 if absent.
double procKiB(const std::string& path, const std::string& key) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + ":", 0) == 0) return std::atof(line.c_str() + key.size() + 1) / 1024.0;
    return 0;
}

bool run(const Program& p, const std::string& probe, int settleMs, Sample& s) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;

    std::vector<std::string> env;
    std::string preload = "LD_PRELOAD=" + probe;
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "LD_PRELOAD=", 11) == 0)
            preload += std::string(":") + (*e + 11);
        else if (std::strncmp(*e, "PETCALC_BENCH_FIRST_FRAME=", 26) != 0)
            env.emplace_back(*e);
    }
    env.push_back(preload);
    env.emplace_back("PETCALC_BENCH_FIRST_FRAME=3");
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    // The command is split at blanks: "env VAR=1 /path/prog" works.
    std::vector<std::string> words;
    std::istringstream command(p.exe);
    for (std::string w; command >> w;) words.push_back(w);
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    const std::string& exe = words.front();

    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, fds[1], 3);  // dup2 clears close-on-exec
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    if (!std::getenv("STARTUP_BENCH_SHOW_OUTPUT")) posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);

    pid_t pid = 0;
    const Ns t0 = now();
    const int rc = posix_spawnp(&pid, exe.c_str(), &fa, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    close(fds[1]);
    if (rc != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", exe.c_str(), std::strerror(rc));
        close(fds[0]);
        return false;
    }

    std::map<std::string, Ns> at;
    std::string buffer;
    const Ns deadline = t0 + 20'000'000'000LL;
    while (!at.count("frame") && now() < deadline) {
        pollfd pfd{fds[0], POLLIN, 0};
        if (poll(&pfd, 1, 200) <= 0) continue;
        char chunk[256];
        const ssize_t n = read(fds[0], chunk, sizeof chunk);
        if (n <= 0) break;  // the program ended
        buffer.append(chunk, size_t(n));
        for (size_t nl; (nl = buffer.find('\n')) != std::string::npos; buffer.erase(0, nl + 1)) {
            std::istringstream line(buffer.substr(0, nl));
            std::string what;
            Ns t = 0;
            if (line >> what >> t) at[what] = t;
        }
    }
    close(fds[0]);
    const bool ok = at.count("app") && at.count("expose") && at.count("frame");
    if (ok) {
        const Ns frame = at["frame"];
        s.startMs = double(frame - t0) / 1e6;
        s.loadMs = double(at["app"] - t0) / 1e6;
        s.appToExposeMs = double(at["expose"] - at["app"]) / 1e6;
        s.paintMs = double(frame - at["expose"]) / 1e6;
        std::this_thread::sleep_for(std::chrono::nanoseconds(frame + Ns(settleMs) * 1'000'000 - now()));
        const std::string proc = "/proc/" + std::to_string(pid);
        s.rssMiB = procKiB(proc + "/status", "VmRSS");
        s.anonMiB = procKiB(proc + "/status", "RssAnon");
        s.fileMiB = procKiB(proc + "/status", "RssFile");
        s.pssMiB = procKiB(proc + "/smaps_rollup", "Pss");
    } else {
        std::fprintf(stderr, "%s: no first frame within 20 s (is DISPLAY set?)\n", p.name.c_str());
    }
    // SIGTERM ends a Qt program at once, without running any of its code;
    // the usage then counts every thread the program ever had.
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    pid_t done = 0;
    for (int i = 0; i < 300 && (done = wait4(pid, &status, WNOHANG, &usage)) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (done == 0) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
    }
    auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    s.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    return ok;
}

struct Stats {
    double median, min, max;
};

Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return {median, v.front(), v.back()};
}

template <class F>
Stats statsOf(const std::vector<Sample>& samples, F field) {
    std::vector<double> v;
    for (const Sample& s : samples) v.push_back(field(s));
    return stats(v);
}

// One line of the rows file bench/run.sh gathers: measure, program, median,
// min, max and the median's ratio to the floor's.
std::string row(const char* measure, const std::string& program, const Stats& s, const Stats& floor) {
    char line[160];
    std::snprintf(line, sizeof line, "%s\t%s\t%.2f\t%.2f\t%.2f\t%.3f\n", measure, program.c_str(), s.median, s.min,
                  s.max, s.median / floor.median);
    return line;
}

int usage() {
    std::fprintf(stderr,
                 "usage: startup_bench --probe PROBE.so [--rounds N] [--warmup N] [--settle-ms MS] [--rows FILE]\n"
                 "                     FLOOR=COMMAND NAME=COMMAND ...   (a command is split at blanks)\n");
    return 2;
}

}  // namespace
}  // namespace petcalc::bench

int main(int argc, char* argv[]) {
    using namespace petcalc::bench;
    std::string probe, rowsPath;
    int rounds = 15, warmup = 2, settleMs = 1000;
    std::vector<Program> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--probe") probe = value();
        else if (a == "--rounds") rounds = std::atoi(value().c_str());
        else if (a == "--warmup") warmup = std::atoi(value().c_str());
        else if (a == "--settle-ms") settleMs = std::atoi(value().c_str());
        else if (a == "--rows") rowsPath = value();
        else if (const auto eq = a.find('='); eq != std::string::npos && eq > 0) programs.push_back({a.substr(0, eq), a.substr(eq + 1)});
        else return usage();
    }
    if (probe.empty() || programs.size() < 2 || rounds < 1) return usage();
    if (probe.find('/') == std::string::npos) probe = "./" + probe;

    std::map<std::string, std::vector<Sample>> samples;
    for (int r = -warmup; r < rounds; ++r) {
        std::vector<Program> order = programs;
        if (r % 2) std::reverse(order.begin(), order.end());
        for (const Program& p : order) {
            Sample s;
            if (!run(p, probe, settleMs, s)) return 1;
            if (r >= 0) samples[p.name].push_back(s);
        }
        std::fprintf(stderr, "\rround %d/%d", r + 1 + warmup, rounds + warmup);
    }
    std::fprintf(stderr, "\n");

    const Program& floor = programs.front();
    const Stats floorStart = statsOf(samples[floor.name], [](const Sample& s) { return s.startMs; });
    const Stats floorCpu = statsOf(samples[floor.name], [](const Sample& s) { return s.cpuMs; });
    const Stats floorRss = statsOf(samples[floor.name], [](const Sample& s) { return s.rssMiB; });
    std::printf("%d rounds after %d warm-up rounds; median [min .. max]; ratio = median / median of %s\n\n", rounds,
                warmup, floor.name.c_str());
    std::printf("%-10s %-30s %-30s %-30s\n", "program", "exec to first frame (ms)", "CPU, all threads (ms)",
                "resident 1 s later (MiB)");
    std::string rows;
    for (const Program& p : programs) {
        const auto& v = samples[p.name];
        const Stats start = statsOf(v, [](const Sample& s) { return s.startMs; });
        const Stats cpu = statsOf(v, [](const Sample& s) { return s.cpuMs; });
        const Stats rss = statsOf(v, [](const Sample& s) { return s.rssMiB; });
        char a[64], b[64], c[64];
        std::snprintf(a, sizeof a, "%.1f [%.1f .. %.1f] x%.2f", start.median, start.min, start.max,
                      start.median / floorStart.median);
        std::snprintf(b, sizeof b, "%.1f [%.1f .. %.1f] x%.2f", cpu.median, cpu.min, cpu.max,
                      cpu.median / floorCpu.median);
        std::snprintf(c, sizeof c, "%.1f [%.1f .. %.1f] x%.2f", rss.median, rss.min, rss.max,
                      rss.median / floorRss.median);
        std::printf("%-10s %-30s %-30s %-30s\n", p.name.c_str(), a, b, c);
        rows += row("startup", p.name, start, floorStart) + row("cpu", p.name, cpu, floorCpu) +
                row("rss", p.name, rss, floorRss);
    }
    if (!rowsPath.empty() && !petcalc::output::writeFile("startup_bench", rowsPath, rows, true)) return 1;

    std::printf("\nwhere the time and memory go (medians):\n");
    std::printf("%-10s %10s %14s %10s %10s %10s %10s\n", "program", "load ms", "app→expose ms", "paint ms",
                "anon MiB", "file MiB", "PSS MiB");
    for (const Program& p : programs) {
        const auto& v = samples[p.name];
        std::printf("%-10s %10.1f %14.1f %10.1f %10.1f %10.1f %10.1f\n", p.name.c_str(),
                    statsOf(v, [](const Sample& s) { return s.loadMs; }).median,
                    statsOf(v, [](const Sample& s) { return s.appToExposeMs; }).median,
                    statsOf(v, [](const Sample& s) { return s.paintMs; }).median,
                    statsOf(v, [](const Sample& s) { return s.anonMiB; }).median,
                    statsOf(v, [](const Sample& s) { return s.fileMiB; }).median,
                    statsOf(v, [](const Sample& s) { return s.pssMiB; }).median);
    }
    return petcalc::output::flushStdout("startup_bench") ? 0 : 1;
}
