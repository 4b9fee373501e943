// vexo_bench: runs the benchmarks and, for every pair named "<name>/ours" and
// "<name>/baseline", prints "ratio <name> <value> <kind>": ours over the baseline.
// Kind "throughput" (higher is better): bytes per second, which the library reckons
// in CPU time, when both report it. Kind "time" (lower is better): CPU time per
// iteration (wall time for a benchmark that asks for it, whose work runs on other
// threads or processes; the time a benchmark measures itself when it uses manual
// time). CPU time, unlike wall time, barely moves when other work shares the machine.
//
// Unless the command line says otherwise, every benchmark runs 20 repetitions of
// at least half a second each, all benchmarks' repetitions interleaved in random
// order so that a slow spell of the machine hits ours and the baseline alike, and
// only the aggregates (mean, median, deviation) are shown. With repetitions, a
// ratio always comes from the two medians. Colour only goes to a terminal, unless
// --benchmark_color says otherwise.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Figures {
    double bytesPerSecond = 0;
    double time = 0;
    bool median = false;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median) continue;
            // Without the run's settings ("/iterations:3", "/real_time", ...).
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            Figures& f = _results[name];
            if (f.median && !median) continue;   // a repetition never replaces the median
            auto it = run.counters.find("bytes_per_second");
            f.bytesPerSecond = it != run.counters.end() ? double(it->second) : 0;
            // A benchmark that measures wall time (work on other threads or processes)
            // or times itself (manual time) is compared in that time.
            const bool wall = run.run_name.time_type == "real_time" || run.run_name.time_type == "manual_time";
            f.time = wall ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
            f.median = median;
        }
    }

    void printRatios() const {
        for (const auto& [name, ours] : _results) {
            const std::string suffix = "/ours";
            if (name.size() <= suffix.size() ||
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
                continue;
            std::string base = name.substr(0, name.size() - suffix.size());
            auto b = _results.find(base + "/baseline");
            if (b == _results.end()) continue;
            std::string label = base.rfind("BM_", 0) == 0 ? base.substr(3) : base;
            double ratio = 0;
            const char* kind = "time";
            if (ours.bytesPerSecond > 0 && b->second.bytesPerSecond > 0) {
                ratio = ours.bytesPerSecond / b->second.bytesPerSecond;
                kind = "throughput";
            } else if (b->second.time > 0) {
                ratio = ours.time / b->second.time;
            }
            std::printf("ratio %s %.3f %s\n", label.c_str(), ratio, kind);
        }
        std::fflush(stdout);
    }

private:
    std::map<std::string, Figures> _results;
};

bool hasFlag(const std::vector<char*>& args, const char* flag) {
    const size_t n = std::strlen(flag);
    for (const char* arg : args) {
        if (std::strncmp(arg, flag, n) == 0 && (arg[n] == '=' || arg[n] == '\0')) return true;
    }
    return false;
}

// --benchmark_color as the library reads it for its own reporter: "auto" (the
// default) means colour only when stdout is a terminal.
bool wantsColour(const std::vector<char*>& args) {
    std::string value = "auto";
    const char* flag = "--benchmark_color=";
    for (const char* arg : args) {
        if (std::strncmp(arg, flag, std::strlen(flag)) == 0) value = arg + std::strlen(flag);
    }
    if (value == "true" || value == "yes" || value == "1") return true;
    if (value == "false" || value == "no" || value == "0") return false;
    const char* term = std::getenv("TERM");
    return ::isatty(STDOUT_FILENO) && term && std::strcmp(term, "dumb") != 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=20";
    char minTime[] = "--benchmark_min_time=0.5";
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    char aggregatesOnly[] = "--benchmark_display_aggregates_only=true";
    for (char* flag : {repetitions, minTime, interleave, aggregatesOnly}) {
        const std::string name(flag, std::strchr(flag, '='));
        if (!hasFlag(args, name.c_str())) args.push_back(flag);
    }
    const bool colour = wantsColour(args);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);

    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    RatioReporter reporter(colour ? benchmark::ConsoleReporter::OO_ColorTabular
                                  : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
