// Launch of a program to its mapped main window (X11 MapNotify of a window whose _NET_WM_PID
// is the program's) and its resident memory once settled, on Linux and for the Windows build
// under Wine; the processor time a running countdown takes. Each program gets a settings folder
// of its own, so the user's preset is never touched.
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct XConnection {
  xcb_connection_t* Connection = nullptr;
  xcb_window_t Root = 0;
  xcb_atom_t PidAtom = 0;
  xcb_atom_t StateAtom = 0;

  xcb_atom_t Atom(const char* name) const {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(Connection, xcb_intern_atom(Connection, 0, uint16_t(std::strlen(name)), name), nullptr),
        &std::free);
    return atom ? atom->atom : 0;
  }

  XConnection() {
    Connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(Connection))
      return;
    Root = xcb_setup_roots_iterator(xcb_get_setup(Connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(Connection, Root, XCB_CW_EVENT_MASK, &mask);
    PidAtom = Atom("_NET_WM_PID");
    StateAtom = Atom("WM_STATE");
    xcb_flush(Connection);
  }
  ~XConnection() { xcb_disconnect(Connection); }
  bool Ok() const { return !xcb_connection_has_error(Connection) && PidAtom != 0; }

  pid_t WindowPid(xcb_window_t window) const {
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(Connection,
                               xcb_get_property(Connection, 0, window, PidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr),
        &std::free);
    if (!reply || xcb_get_property_value_length(reply.get()) < 4)
      return 0;
    return pid_t(*static_cast<const uint32_t*>(xcb_get_property_value(reply.get())));
  }

  // What a window manager does when a program minimises its window: it unmaps the window and
  // marks it iconic, so that the program stops drawing it. The display has no window manager,
  // so the benchmark does this for every window of pid.
  void Iconify(pid_t pid) const {
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(Connection, xcb_query_tree(Connection, Root), nullptr), &std::free);
    if (!tree)
      return;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const uint32_t iconic[2] = {3, 0};
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
      if (WindowPid(children[i]) != pid)
        continue;
      xcb_change_property(Connection, XCB_PROP_MODE_REPLACE, children[i], StateAtom, StateAtom, 32, 2, iconic);
      xcb_unmap_window(Connection, children[i]);
    }
    xcb_flush(Connection);
  }

  // Handles events until the time is up; when pid is given, returns as soon as a window of pid
  // is mapped, with that window (0 after the time-out).
  xcb_window_t Serve(std::chrono::milliseconds duration, pid_t pid = 0) const {
    const auto end = Clock::now() + duration;
    while (Clock::now() < end) {
      std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(xcb_poll_for_event(Connection), &std::free);
      if (!event) {
        std::this_thread::sleep_for(std::chrono::microseconds(pid ? 200 : 5000));
        continue;
      }
      if (pid && (event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
        if (WindowPid(map->window) == pid)
          return map->window;
      }
    }
    return 0;
  }

  // Waits until a window of pid is mapped; false after the time-out.
  bool WaitMapped(pid_t pid, std::chrono::seconds timeout) const { return Serve(timeout, pid) != 0; }
};

pid_t Launch(const std::string& program, const std::vector<std::string>& arguments, const std::string& home) {
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("HOME=", 0) != 0 && entry.rfind("XDG_CONFIG_HOME=", 0) != 0)
      environment.push_back(entry);
  }
  environment.push_back("HOME=" + home);
  environment.push_back("XDG_CONFIG_HOME=" + home + "/.config");
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : arguments)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& e : environment)
    envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
    return 0;
  return pid;
}

void Stop(pid_t pid) {
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

long StatusKiB(pid_t pid, const char* field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0)
      return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
  return 0;
}

// Nanoseconds that all threads of pid have spent on a processor.
long long CpuNanoseconds(pid_t pid) {
  long long total = 0;
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  for (const auto& task : std::filesystem::directory_iterator(tasks)) {
    std::ifstream schedstat(task.path() / "schedstat");
    long long onCpu = 0;
    if (schedstat >> onCpu)
      total += onCpu;
  }
  return total;
}

// The timer under test: the one built beside this program, or STEEPO_BENCH_PROGRAM (another
// build of it, to compare before and after a change).
std::string SteepoProgram() {
  const char* other = std::getenv("STEEPO_BENCH_PROGRAM");
  return other && *other ? other : STEEPO_PROGRAM;
}

XConnection& Display() {
  static XConnection connection;
  return connection;
}

std::string TemporaryHome() {
  char pattern[] = "/tmp/steepo-bench-XXXXXX";
  const char* made = mkdtemp(pattern);
  return made ? made : "/tmp";
}

// Starts program and waits for its window; 0 (and the benchmark marked failed) when there is
// no display or the window does not appear.
pid_t LaunchMapped(benchmark::State& state, const std::string& program,
                   const std::vector<std::string>& arguments, const std::string& home) {
  const XConnection& x = Display();
  if (!x.Ok()) {
    state.SkipWithError("no X display (run under xvfb-run -a, without a window manager)");
    return 0;
  }
  const pid_t pid = Launch(program, arguments, home);
  if (pid && x.WaitMapped(pid, std::chrono::seconds(20)))
    return pid;
  if (pid)
    Stop(pid);
  state.SkipWithError("the window was not mapped");
  return 0;
}

// One launch: the time to the mapped window, and the resident memory once settled.
struct TLaunch {
  double Milliseconds = 0;
  double ResidentMiB = 0;
};

std::optional<TLaunch> MeasureLaunch(benchmark::State& state, const std::string& program,
                                     const std::vector<std::string>& arguments, const std::string& home) {
  const auto start = Clock::now();
  const pid_t pid = LaunchMapped(state, program, arguments, home);
  if (!pid)
    return std::nullopt;
  TLaunch launch;
  launch.Milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let start-up settle
  launch.ResidentMiB = double(StatusKiB(pid, "VmRSS:")) / 1024.0;
  Stop(pid);
  return launch;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

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

// A session bus of the benchmark's own, gone with it: without a notification service, or with
// one that never answers (its activation starts a program that never takes the name).
struct TPrivateBus {
  std::string Address;
  pid_t Pid = 0;

  explicit TPrivateBus(bool silentService) {
    const std::string dir = TemporaryHome();
    std::ofstream(dir + "/org.freedesktop.Notifications.service")
        << "[D-BUS Service]\nName=org.freedesktop.Notifications\nExec=/bin/sleep 30\n";
    std::ofstream(dir + "/bus.conf")
        << "<busconfig><include>/usr/share/dbus-1/session.conf</include>"
        << (silentService ? "<servicedir>" + dir + "</servicedir>" : std::string()) << "</busconfig>\n";
    const std::string command = "dbus-daemon --config-file=" + dir + "/bus.conf --fork --print-address=1 --print-pid=1";
    if (FILE* out = popen(command.c_str(), "r")) {
      char line[512] = {};
      if (std::fgets(line, sizeof line, out))
        Address = std::string(line, std::strcspn(line, "\n"));
      if (std::fgets(line, sizeof line, out))
        Pid = pid_t(std::atoi(line));
      pclose(out);
    }
  }
  ~TPrivateBus() {
    if (Pid > 0)
      kill(Pid, SIGTERM);
  }
};

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
