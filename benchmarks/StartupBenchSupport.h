#pragma once
// What the start-up benchmarks share: an X connection that sees windows mapped, launching a
// program with a settings folder of its own, and private session buses.
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

namespace StartupBench {


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

// Starts program with home as its home and settings folder; quiet sends its output nowhere.
inline pid_t Launch(const std::string& program, const std::vector<std::string>& arguments, const std::string& home,
                    bool quiet = false) {
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
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return failed ? 0 : pid;
}

inline void Stop(pid_t pid) {
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

inline long StatusKiB(pid_t pid, const char* field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0)
      return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
  return 0;
}

// Nanoseconds that all threads of pid have spent on a processor.
inline long long CpuNanoseconds(pid_t pid) {
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
inline std::string SteepoProgram() {
  const char* other = std::getenv("STEEPO_BENCH_PROGRAM");
  return other && *other ? other : STEEPO_PROGRAM;
}

inline XConnection& Display() {
  static XConnection connection;
  return connection;
}

inline std::string TemporaryHome() {
  char pattern[] = "/tmp/steepo-bench-XXXXXX";
  const char* made = mkdtemp(pattern);
  return made ? made : "/tmp";
}

// Starts program and waits for its window; 0 (and the benchmark marked failed) when there is
// no display or the window does not appear.
inline pid_t LaunchMapped(benchmark::State& state, const std::string& program,
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

inline std::optional<TLaunch> MeasureLaunch(benchmark::State& state, const std::string& program,
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

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
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
    if (Pid <= 0)
      return;
    kill(Pid, SIGTERM);
    kill(Pid, SIGCONT);  // a stopped one ends only once it goes on
  }
};

} // namespace StartupBench
