// What the tray's slow check of the networks costs, where the platform sends
// no notices of a move: one look is the networks read through the platform
// and reduced to what tells one place from another. Prints the clock and CPU
// time of a look, the median of several rounds; judges nothing.
//
//   network_bench [looks per round]      (default 50; 7 rounds)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "network/network_seam.h"
#include "network/networks.h"

namespace {

double CpuSeconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The clock and CPU milliseconds of one look, the median of the rounds.
template <class Look>
std::pair<double, double> Time(int looks, Look look) {
    constexpr int kRounds = 7;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    look();  // the libraries loaded first
    std::vector<double> clock, cpu;
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER start, end;
        const double cpuStart = CpuSeconds();
        QueryPerformanceCounter(&start);
        for (int i = 0; i < looks; ++i) {
            look();
        }
        QueryPerformanceCounter(&end);
        clock.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1000 /
                        static_cast<double>(frequency.QuadPart) / looks);
        cpu.push_back((CpuSeconds() - cpuStart) * 1000 / looks);
    }
    return {Median(clock), Median(cpu)};
}

}  // namespace

int main(int argc, char** argv) {
    const int looks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const auto [placeClock, placeCpu] = Time(looks, [] { return Whereabouts(TheNetworks()); });
    const auto [allClock, allCpu] = Time(looks, [] { return ReadNetworks(TheNetworks()); });
    std::printf("networks: %zu, whereabouts: %s\n", ReadNetworks(TheNetworks()).size(),
                Whereabouts(TheNetworks()).c_str());
    std::printf("a look for the whereabouts (the slow check): %.2f ms clock, %.2f ms CPU\n",
                placeClock, placeCpu);
    std::printf("a look at every identity (once settled):     %.2f ms clock, %.2f ms CPU\n",
                allClock, allCpu);
    std::printf("(medians of 7 rounds of %d looks)\n", looks);
    std::printf("the slow check every 5 s: %.4f %% of one CPU\n", placeCpu / 5000 * 100);
    return 0;
}
