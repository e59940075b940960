#include "ratio_reporter.h"

#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        const std::string name = run.run_name.str();
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
            medians_[name] = run.GetAdjustedRealTime();
        } else if (run.run_type == Run::RT_Iteration) {
            times_[name] = run.GetAdjustedRealTime();
        }
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::map<std::string, double> compared = medians_;
    compared.merge(times_);  // a single run's time only where there is no median
    std::printf("\n%s\n", heading_.c_str());
    for (const Ratio& ratio : ratios_) {
        const auto measured = compared.find(ratio.measured);
        const auto baseline = compared.find(ratio.baseline);
        if (measured != compared.end() && baseline != compared.end() && baseline->second > 0) {
            std::printf("  %-32s %8.2fx\n", ratio.label.c_str(),
                        measured->second / baseline->second);
        }
    }
}
