// vexo_bench: runs the benchmarks and, for every pair named "<name>/ours" and
// "<name>/baseline", prints "ratio <name> <value>": ours over the baseline, in
// throughput (bytes per second) when both report it, else in real time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

struct Figures {
    double bytesPerSecond = 0;
    double realTime = 0;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            // Without the run's settings ("/iterations:3", "/real_time", ...).
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            Figures f;
            auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end()) f.bytesPerSecond = it->second;
            f.realTime = run.GetAdjustedRealTime();
            _results[name] = f;
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
            if (ours.bytesPerSecond > 0 && b->second.bytesPerSecond > 0)
                ratio = ours.bytesPerSecond / b->second.bytesPerSecond;
            else if (b->second.realTime > 0)
                ratio = ours.realTime / b->second.realTime;
            std::printf("ratio %s %.3f\n", label.c_str(), ratio);
        }
    }

private:
    std::map<std::string, Figures> _results;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
