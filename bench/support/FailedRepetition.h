#pragma once

#include <benchmark/benchmark.h>

#include <memory>
#include <utility>

namespace benchsupport {

// Google Benchmark (1.7) builds a repeated benchmark's aggregates from what its
// first repetition carries, which a failed repetition lacks: a first repetition
// that failed, followed by two that did not, crashes the program instead of
// reporting the failure. Run through this, a benchmark fails every repetition
// after one that failed.
template <typename Run> auto failingAfterFailure(Run run)
{
    return [run = std::move(run), failed = std::make_shared<bool>(false)](benchmark::State &state) {
        if (*failed) {
            state.SkipWithError("an earlier repetition failed");
            return;
        }
        run(state);
        *failed = state.error_occurred();
    };
}

} // namespace benchsupport
