#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// The console report, and each benchmark's median real and CPU time (or those of
// its only run) with its counters, kept by name, as "function" and as
// "function/args", for the ratios a benchmark program prints at the end. Times
// are in the benchmark's unit; -1 means not measured.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (!median && !single)
                continue;
            Times times{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(), {}};
            for (const auto &[name, counter] : run.counters)
                times.counters[name] = counter.value;
            m_times[run.run_name.function_name] = times;
            if (!run.run_name.args.empty())
                m_times[run.run_name.function_name + "/" + run.run_name.args] = times;
        }
    }

    struct Times
    {
        double real = -1;
        double cpu = -1;
        std::map<std::string, double> counters;

        [[nodiscard]] double counter(const std::string &name) const
        {
            const auto it = counters.find(name);
            return it == counters.end() ? -1 : it->second;
        }
    };
    [[nodiscard]] const std::map<std::string, Times> &times() const { return m_times; }
    [[nodiscard]] double real(const std::string &name) const { return of(name).real; }
    [[nodiscard]] double cpu(const std::string &name) const { return of(name).cpu; }
    [[nodiscard]] Times of(const std::string &name) const
    {
        const auto it = m_times.find(name);
        return it == m_times.end() ? Times{} : it->second;
    }

private:
    std::map<std::string, Times> m_times;
};
