// Launch of a program to its mapped main window (X11 MapNotify of a window whose _NET_WM_PID
// is the program's) and its resident memory once settled, on Linux and for the Windows build
// under Wine; the processor time a running countdown takes. Each program gets a settings folder
// of its own, so the user's preset is never touched.
#include "StartupBenchSupport.h"

namespace {

using namespace StartupBench;

// A program and what it is started with.
struct TCommand {
  std::string Program;
  std::vector<std::string> Arguments;
};

// The timer and a baseline launched in turn, so that both see the same machine: medians of
// each and their ratios. The iteration time is the timer's own launch.
void Compare(benchmark::State& state, const TCommand& baselineCommand, const TCommand& steepoCommand) {
  const std::string home = TemporaryHome();
  std::vector<double> baselineMs, steepoMs, baselineMiB, steepoMiB;
  for (auto _ : state) {
    const auto baseline = MeasureLaunch(state, baselineCommand.Program, baselineCommand.Arguments, home);
    const auto steepo = MeasureLaunch(state, steepoCommand.Program, steepoCommand.Arguments, home);
    if (!baseline || !steepo)
      return;
    baselineMs.push_back(baseline->Milliseconds);
    steepoMs.push_back(steepo->Milliseconds);
    baselineMiB.push_back(baseline->ResidentMiB);
    steepoMiB.push_back(steepo->ResidentMiB);
    state.SetIterationTime(steepo->Milliseconds / 1000.0);
  }
  state.counters["baseline_ms"] = Median(baselineMs);
  state.counters["steepo_ms"] = Median(steepoMs);
  state.counters["time_ratio"] = Median(steepoMs) / Median(baselineMs);
  state.counters["baseline_MiB"] = Median(baselineMiB);
  state.counters["steepo_MiB"] = Median(steepoMiB);
  state.counters["rss_ratio"] = Median(steepoMiB) / Median(baselineMiB);
}

void SideBySide(benchmark::State& state, std::vector<std::string> baselineArguments) {
  Compare(state, {BASELINE_PROGRAM, std::move(baselineArguments)}, {SteepoProgram(), {}});
}

// The same under Wine: steepo.exe beside the baseline built for Windows with the same toolchain
// (MinGW, static Qt), both started by the same Wine; the Wine process is the program, so its
// window and its memory are measured as on Linux. STEEPO_BENCH_WINDOWS_BUILD names the Windows
// build folder; scripts/windows --bench sets it, with a Wine prefix of its own whose server and
// services are up before the first launch.
void SideBySideUnderWine(benchmark::State& state, std::vector<std::string> baselineArguments) {
  const char* build = std::getenv("STEEPO_BENCH_WINDOWS_BUILD");
  if (!build || !*build) {
    state.SkipWithError("STEEPO_BENCH_WINDOWS_BUILD names no Windows build (scripts/windows --bench)");
    return;
  }
  const char* loader = std::getenv("STEEPO_BENCH_WINE");
  const std::string wine = loader && *loader ? loader : "/usr/lib/wine/wine64";
  baselineArguments.insert(baselineArguments.begin(), std::string(build) + "/benchmarks/steepo_startup_baseline.exe");
  Compare(state, {wine, std::move(baselineArguments)}, {wine, {std::string(build) + "/app/steepo.exe"}});
}

// A countdown running for twenty seconds beside the plainest Qt countdown (a window that
// minimises itself and writes the time into a label and its caption every 200 ms): the share
// of one core each takes, measured over the same twenty seconds, and their ratio.
void RunningCountdown(benchmark::State& state) {
  const std::string home = TemporaryHome();
  std::vector<double> baselinePercent, steepoPercent;
  for (auto _ : state) {
    const pid_t baseline = LaunchMapped(state, BASELINE_PROGRAM, {"--countdown"}, home);
    const pid_t steepo = baseline ? LaunchMapped(state, SteepoProgram(), {"59:00", "-start"}, home) : 0;
    if (!steepo) {
      if (baseline)
        Stop(baseline);
      return;
    }
    Display().Serve(std::chrono::seconds(2));  // started and minimised
    Display().Iconify(baseline);
    Display().Iconify(steepo);
    const long long baselineBefore = CpuNanoseconds(baseline), steepoBefore = CpuNanoseconds(steepo);
    const auto from = Clock::now();
    Display().Serve(std::chrono::seconds(20));
    const long long baselineAfter = CpuNanoseconds(baseline), steepoAfter = CpuNanoseconds(steepo);
    const double seconds = std::chrono::duration<double>(Clock::now() - from).count();
    baselinePercent.push_back(100.0 * double(baselineAfter - baselineBefore) * 1e-9 / seconds);
    steepoPercent.push_back(100.0 * double(steepoAfter - steepoBefore) * 1e-9 / seconds);
    Stop(steepo);
    Stop(baseline);
  }
  state.counters["baseline_cpu_percent"] = Median(baselinePercent);
  state.counters["steepo_cpu_percent"] = Median(steepoPercent);
  state.counters["cpu_ratio"] = Median(steepoPercent) / Median(baselinePercent);
}

// From the end of a one-second countdown to the alarm dialog on the screen, as seen from
// outside: the dialog's window mapped, less the second counted from the main window's. The
// desktop bus is none, one without a notification service, or one whose service never answers.
void AlarmLatency(benchmark::State& state, int desktop) {
  const std::string home = TemporaryHome();
  std::unique_ptr<TPrivateBus> bus;
  if (desktop > 0)
    bus = std::make_unique<TPrivateBus>(desktop == 2);
  setenv("DBUS_SESSION_BUS_ADDRESS", bus ? bus->Address.c_str() : ("unix:path=" + home + "/no-bus").c_str(), 1);
  std::vector<double> latencies;
  for (auto _ : state) {
    const auto start = Clock::now();
    const pid_t pid = LaunchMapped(state, SteepoProgram(), {"0:01", "-start"}, home);
    if (!pid)
      break;
    const auto shown = Clock::now();
    const bool alarm = Display().Serve(std::chrono::seconds(10), pid) != 0;
    const auto end = Clock::now();
    Stop(pid);
    if (!alarm) {
      state.SkipWithError("the alarm dialog did not appear");
      break;
    }
    latencies.push_back(std::chrono::duration<double, std::milli>(end - shown).count() - 1000.0);
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  state.counters["alarm_after_end_ms"] = Median(latencies);
  state.counters["worst_ms"] = latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end());
}

} // namespace

BENCHMARK_CAPTURE(SideBySide, bare_window, {})
    ->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SideBySide, same_controls, {"--controls"})
    ->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SideBySideUnderWine, bare_window, {})
    ->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SideBySideUnderWine, same_controls, {"--controls"})
    ->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(RunningCountdown)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AlarmLatency, no_bus, 0)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AlarmLatency, no_notification_service, 1)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AlarmLatency, silent_notification_service, 2)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
