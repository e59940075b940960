// The console report of a benchmark run, then how many times one benchmark's time another's takes,
// both measured in the same run. With --benchmark_repetitions the medians are compared, otherwise
// the single runs.
#ifndef SCANLINK_TESTS_RATIO_REPORTER_H
#define SCANLINK_TESTS_RATIO_REPORTER_H

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    struct Ratio {
        std::string label;
        std::string measured;
        std::string baseline;
    };

    RatioReporter(std::string heading, std::vector<Ratio> ratios)
        : heading_(std::move(heading)), ratios_(std::move(ratios)) {}

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

  private:
    std::string heading_;
    std::vector<Ratio> ratios_;
    std::map<std::string, double> times_;
    std::map<std::string, double> medians_;
};

#endif
