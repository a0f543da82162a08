// The timer against session buses that misbehave, as seen from outside:
// - StartupDelay: launch to the mapped main window with each fault of the bus, less the same
//   launch with no bus at all, measured in turn;
// - StopAfterLaunch: a working session bus stopped (SIGSTOP) a given time after launch, which
//   no check made before can foresee: how often the program hangs (no window, or a window
//   that does not close when asked), and when the window comes;
// - StopAccessibilityBusAfterLaunch: the same with screen readers on, for their bus;
// - ExitAfterOK: from the alarm dialog's close (WM_DELETE_WINDOW, which ends the program as
//   OK does) to the end of the process, and its exit status.
// Run under xvfb-run -a; STEEPO_BENCH_PROGRAM names another build to compare.
#include "StartupBenchSupport.h"

#include "BusWire.h"
#include "FakeBus.h"

#include <QString>

#include <atomic>

namespace {

using namespace StartupBench;

enum TCase {
  fNoBus, fLive, fMute, fOneByte, fClosesAtFirstMessage, fClosesMidReply, fUnanswering, fStopped,
  fAccessibilityStopped, fServiceNeverAnswers, fMuteAfterHello
};

// The fault of the fake bus that plays a case.
TFault FakeFault(TCase fault) {
  switch (fault) {
  case fOneByte: return TFault::OneByte;
  case fClosesAtFirstMessage: return TFault::ClosesAtFirstMessage;
  case fClosesMidReply: return TFault::ClosesMidReply;
  case fUnanswering: return TFault::Unanswering;
  case fMuteAfterHello: return TFault::MuteAfterHello;
  default: return TFault::Mute;
  }
}

// A connection that takes the accessibility service's name and never answers: a stopped one.
std::unique_ptr<BusWire::TWire> StoppedAccessibilityService(const std::string& address) {
  auto owner = std::make_unique<BusWire::TWire>();
  if (owner->Open(QString::fromStdString(address)) != BusWire::TWire::Opened)
    return owner;
  BusWire::TMessage request = BusWire::TMessage::Call(BusWire::BusName, QStringLiteral("/org/freedesktop/DBus"),
                                                      BusWire::BusName, QStringLiteral("RequestName"));
  BusWire::TWriter(request).String(QStringLiteral("org.a11y.Bus")).UInt32(4);
  const quint32 serial = owner->Send(request);
  bool named = false;
  BusWire::Pump(*owner, QDeadlineTimer(5000), [&] {
    BusWire::TMessage reply;
    while (owner->Next(reply))
      named = named || reply.IsReplyTo(serial);
    return named;
  });
  return owner;
}

// The accessibility service with screen readers on, its bus at Address, served on a thread.
class TAccessibilityService {
public:
  TAccessibilityService(const std::string& session, const std::string& address) : Address(address) {
    Thread = std::thread([this, session] { Serve(session); });
  }
  ~TAccessibilityService() {
    Stopping = true;
    Thread.join();
  }

private:
  void Serve(const std::string& session) {
    BusWire::TWire wire;
    if (wire.Open(QString::fromStdString(session)) != BusWire::TWire::Opened)
      return;
    BusWire::TMessage request = BusWire::TMessage::Call(BusWire::BusName, QStringLiteral("/org/freedesktop/DBus"),
                                                        BusWire::BusName, QStringLiteral("RequestName"));
    BusWire::TWriter(request).String(QStringLiteral("org.a11y.Bus")).UInt32(4);
    wire.Send(request);
    while (!Stopping && !wire.Failed())
      BusWire::Pump(wire, QDeadlineTimer(100), [&] {
        BusWire::TMessage call;
        while (wire.Next(call))
          if (call.Type == BusWire::mtCall)
            wire.Send(Answer(call));
        return false;
      });
  }
  BusWire::TMessage Answer(const BusWire::TMessage& call) const {
    BusWire::TMessage reply;
    reply.Type = BusWire::mtReturn;
    reply.ReplySerial = call.Serial;
    reply.Destination = call.Sender;
    if (call.Member == "GetAddress")
      BusWire::TWriter(reply).String(QString::fromStdString(Address));
    else
      BusWire::TWriter(reply).Variant(true);  // IsEnabled, ScreenReaderEnabled
    return reply;
  }

  const std::string Address;
  std::atomic<bool> Stopping = false;
  std::thread Thread;
};

// The session bus of a case, for as long as it lives.
struct TBus {
  TBus(TCase fault, const std::string& home) {
    Address = "unix:path=" + home + "/bus-" + std::to_string(fault);
    if (fault == fLive || fault == fStopped || fault == fAccessibilityStopped || fault == fServiceNeverAnswers) {
      Daemon = std::make_unique<TPrivateBus>(fault == fServiceNeverAnswers);
      Address = Daemon->Address;
    } else if (fault != fNoBus) {
      const std::string folder = home + "/bus-" + std::to_string(fault);
      std::filesystem::create_directories(folder);
      Fake = std::make_unique<TFakeBus>(FakeFault(fault), QString::fromStdString(folder));
      Address = Fake->Address().toStdString();
    }
    if (fault == fStopped)
      Pause();
    if (fault == fAccessibilityStopped)
      Owner = StoppedAccessibilityService(Address);
  }
  void Pause() const { kill(Daemon->Pid, SIGSTOP); }
  void Resume() const { kill(Daemon->Pid, SIGCONT); }
  void Use() const { setenv("DBUS_SESSION_BUS_ADDRESS", Address.c_str(), 1); }

  std::string Address;
  std::unique_ptr<TPrivateBus> Daemon;
  std::unique_ptr<TFakeBus> Fake;
  std::unique_ptr<BusWire::TWire> Owner;
};

constexpr auto Hung = std::chrono::seconds(30);

// Launch to the mapped main window in milliseconds, the process in *pid; Hung when none came.
double TimeToWindow(const std::vector<std::string>& arguments, const std::string& home, pid_t* pid) {
  const auto start = Clock::now();
  *pid = Launch(SteepoProgram(), arguments, home, true);
  if (*pid == 0 || Display().Serve(Hung, *pid) == 0)
    return std::chrono::duration<double, std::milli>(Hung).count();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Worst(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

void StartupDelay(benchmark::State& state, TCase fault) {
  if (!Display().Ok()) {
    state.SkipWithError("no X display (run under xvfb-run -a, without a window manager)");
    return;
  }
  const std::string home = TemporaryHome();
  setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + home + "/no-system-bus").c_str(), 1);
  const TBus none(fNoBus, home), bus(fault, home);
  std::vector<double> plain, faulty, delays;
  int hung = 0;
  for (auto _ : state) {
    pid_t pid = 0;
    none.Use();
    plain.push_back(TimeToWindow({}, home, &pid));
    Stop(pid);
    bus.Use();
    faulty.push_back(TimeToWindow({}, home, &pid));
    Stop(pid);
    hung += faulty.back() >= std::chrono::duration<double, std::milli>(Hung).count();
    delays.push_back(faulty.back() - plain.back());
    state.SetIterationTime(faulty.back() / 1000.0);
  }
  state.counters["no_bus_ms"] = Median(plain);
  state.counters["ms"] = Median(faulty);
  state.counters["delay_ms"] = Median(delays);
  state.counters["worst_delay_ms"] = Worst(delays);
  state.counters["hung"] = hung;
}

// Asks the window manager's way for window to close: what its close box does.
void Close(xcb_window_t window) {
  xcb_connection_t* connection = Display().Connection;
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = Display().Atom("WM_PROTOCOLS");
  event.data.data32[0] = Display().Atom("WM_DELETE_WINDOW");
  event.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
  xcb_flush(connection);
}

// Waits for pid to end; its status as the shell gives it (128 + signal), -1 after timeout.
int WaitEnd(pid_t pid, std::chrono::seconds timeout = std::chrono::seconds(60)) {
  const auto until = Clock::now() + timeout;
  int status = 0;
  while (Clock::now() < until) {
    if (waitpid(pid, &status, WNOHANG) == pid)
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  Stop(pid);
  return -1;
}

// A bus stopped a given time after launch: the session bus, or the screen readers' bus with
// screen readers on. The program hangs when its window does not come within ten seconds or
// does not close when asked.
void StopAfterLaunch(benchmark::State& state, bool accessibility) {
  if (!Display().Ok()) {
    state.SkipWithError("no X display (run under xvfb-run -a, without a window manager)");
    return;
  }
  const std::string home = TemporaryHome();
  setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + home + "/no-system-bus").c_str(), 1);
  std::vector<double> shown;
  int hung = 0;
  for (auto _ : state) {
    const TBus bus(fLive, home), screenReaders(fLive, home);
    std::unique_ptr<TAccessibilityService> service;
    if (accessibility)
      service = std::make_unique<TAccessibilityService>(bus.Address, screenReaders.Address);
    bus.Use();
    const auto start = Clock::now();
    const pid_t pid = Launch(SteepoProgram(), {}, home, true);
    std::this_thread::sleep_until(start + std::chrono::milliseconds(state.range(0)));
    (accessibility ? screenReaders : bus).Pause();
    const xcb_window_t window = Display().Serve(std::chrono::seconds(10), pid);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (window)
      Close(window);
    const bool ended = window && WaitEnd(pid, std::chrono::seconds(10)) >= 0;
    (accessibility ? screenReaders : bus).Resume();
    if (!ended)
      Stop(pid);
    hung += !ended;
    if (window)
      shown.push_back(ms);
    state.SetIterationTime(ms / 1000.0);
  }
  state.counters["hung"] = hung;
  state.counters["window_ms"] = Median(shown);
  state.counters["worst_window_ms"] = Worst(shown);
}

void ExitAfterOK(benchmark::State& state, TCase fault) {
  if (!Display().Ok()) {
    state.SkipWithError("no X display (run under xvfb-run -a, without a window manager)");
    return;
  }
  const std::string home = TemporaryHome();
  setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + home + "/no-system-bus").c_str(), 1);
  std::vector<double> ends;
  int abnormal = 0, lastStatus = 0;
  for (auto _ : state) {
    const TBus bus(fault == fStopped ? fLive : fault, home);
    bus.Use();
    const pid_t pid = Launch(SteepoProgram(), {"0:01", "-start"}, home, true);
    const xcb_window_t main = pid ? Display().Serve(std::chrono::seconds(30), pid) : 0;
    xcb_window_t alarm = 0;
    for (auto until = Clock::now() + std::chrono::seconds(10); main && !alarm && Clock::now() < until;) {
      const xcb_window_t mapped = Display().Serve(std::chrono::seconds(10), pid);
      alarm = mapped != main ? mapped : 0;
    }
    if (!alarm) {
      Stop(pid);
      state.SkipWithError("the alarm dialog did not appear");
      return;
    }
    if (fault == fStopped)
      bus.Pause();  // the notification may be out, its answer not yet in
    const auto closed = Clock::now();
    Close(alarm);
    lastStatus = WaitEnd(pid);
    ends.push_back(std::chrono::duration<double, std::milli>(Clock::now() - closed).count());
    abnormal += lastStatus != 0;
    if (fault == fStopped)
      bus.Resume();
    state.SetIterationTime(ends.back() / 1000.0);
  }
  state.counters["exit_ms"] = Median(ends);
  state.counters["worst_exit_ms"] = Worst(ends);
  state.counters["abnormal_exits"] = abnormal;
  state.counters["last_status"] = lastStatus;
}

} // namespace

BENCHMARK_CAPTURE(StartupDelay, live_bus, fLive)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartupDelay, mute_after_authentication, fMute)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartupDelay, mute_after_hello, fMuteAfterHello)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartupDelay, one_byte, fOneByte)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartupDelay, closes_at_first_message, fClosesAtFirstMessage)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartupDelay, closes_mid_reply, fClosesMidReply)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartupDelay, never_a_word, fUnanswering)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartupDelay, stopped_daemon, fStopped)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartupDelay, accessibility_service_stopped, fAccessibilityStopped)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopAfterLaunch, session_bus, false)
    ->DenseRange(0, 400, 20)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopAfterLaunch, accessibility_bus, true)
    ->DenseRange(0, 400, 20)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExitAfterOK, no_bus, fNoBus)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExitAfterOK, live_bus, fLive)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExitAfterOK, mute_after_authentication, fMute)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExitAfterOK, mute_after_hello, fMuteAfterHello)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExitAfterOK, notification_service_never_answers, fServiceNeverAnswers)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExitAfterOK, daemon_stopped_at_the_alarm, fStopped)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
