// A recorded route imported end to end: a day's drive of 100,000 points at
// one a second (about 28 hours) read from a GPX file, cut into slices and
// binned into a duty list with its life. Reports the process's peak resident
// memory (ru_maxrss) beside the time.
#include "analysis/RouteDuty.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace
{

constexpr int TrackPoints = 100'000;

double PeakRssMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024; // kilobytes on Linux
}

// A drive that speeds up, cruises, slows and stops every few minutes, turning
// gently over rolling hills, with a metre or two of GPS noise in the elevation.
// Written straight to the file, never held whole.
std::string WriteTrack()
{
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("bench_route_" + std::to_string(::getpid()) + ".gpx"))
                                 .string();
    std::FILE *f = std::fopen(path.c_str(), "w");
    std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"bench\" "
               "xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><name>day</name><trkseg>\n",
               f);
    constexpr double metresPerDegree = 111'320;
    constexpr double t0 = 1714550400; // 2024-05-01T08:00:00Z
    double lat = 48.0, lon = 11.0, heading = 0, dist = 0;
    unsigned noise = 12345;
    for (int i = 0; i < TrackPoints; ++i) {
        const double phase = std::fmod(i, 600.0); // a ten-minute cycle
        const double mps = phase < 30   ? 0
                           : phase < 90 ? (phase - 30) / 2
                                        : 30 - 10 * std::sin(i / 97.0);
        heading += 0.002 * std::sin(i / 1000.0);
        lat += mps * std::cos(heading) / metresPerDegree;
        lon += mps * std::sin(heading) / (metresPerDegree * std::cos(lat * M_PI / 180));
        dist += mps;
        noise = noise * 1103515245 + 12345;
        const double ele = 300 + 60 * std::sin(dist / 3000) + ((noise >> 16) % 400) / 100.0 - 2;
        const auto t = static_cast<long long>(t0) + i;
        const long long day = t / 86400 - 19844, sec = t % 86400;
        std::fprintf(f,
                     "<trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele>"
                     "<time>2024-05-%02lldT%02lld:%02lld:%02lldZ</time></trkpt>\n",
                     lat, lon, ele, 1 + day, sec / 3600, sec / 60 % 60, sec % 60);
    }
    std::fputs("</trkseg></trk>\n</gpx>\n", f);
    std::fclose(f);
    return path;
}

void BM_ImportRoute100k(benchmark::State &state)
{
    const std::string path = WriteTrack();
    const double before = PeakRssMb();
    const TTruck truck;
    std::size_t segments = 0;
    double km = 0;
    for (auto _ : state) {
        const auto r = ImportRoute(path, truck);
        if (const auto *e = std::get_if<TGpxError>(&r)) {
            state.SkipWithError(e->Message().c_str());
            break;
        }
        segments = std::get<TRoute>(r).Duty.size();
        km = std::get<TRoute>(r).Summary.DistanceM / 1000;
        benchmark::DoNotOptimize(segments);
    }
    const double peak = PeakRssMb();
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(path)) / (1024 * 1024);
    state.counters["peak_rss_MB"] = peak;
    state.counters["import_rss_MB"] = peak - before;
    state.counters["segments"] = static_cast<double>(segments);
    state.counters["km"] = km;
    state.SetItemsProcessed(state.iterations() * TrackPoints);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ImportRoute100k)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
