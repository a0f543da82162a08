#pragma once
// What the indicator's benchmark rows share (LumoLiquidIndicatorBench.cpp defines them):
// the screen of a ratio, thread CPU time per iteration, and the report of a row as a
// multiple of a QLCDNumber paint at the same ratio.
#include <benchmark/benchmark.h>

class QScreen;

namespace LumoBench {

QScreen* ScreenOfRatio(int ratio);
// A row runs only where a screen of its ratio exists; otherwise it says so and skips.
bool HasScreen(benchmark::State& state, int ratio);
double ThreadCpuNanoseconds();
// Sets x_QLCDNumber: perIteration over the QLCDNumber paint at the ratio.
void Report(benchmark::State& state, int ratio, double perIteration);

// Runs body once per iteration; returns the thread CPU time per iteration.
template <typename Body> double Run(benchmark::State& state, Body&& body) {
  const double start = ThreadCpuNanoseconds();
  for (auto _ : state)
    body();
  return (ThreadCpuNanoseconds() - start) / double(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

} // namespace LumoBench
