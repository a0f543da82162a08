// The countdown and its alarm on the Windows taskbar, the counterpart of the dock entry on
// Linux: the main window's button shows the progress while counting, and at the end it turns
// to the attention state and flashes until the alarm dialog closes. The alarm dialog is the
// notification itself: there is no separate one, and there is no session bus.

#include "DesktopBus.h"
#include "Platform.h"
#include "TaskbarButton.h"

#include <QWidget>

#include <windows.h>
#include <shobjidl.h>

namespace Platform::TaskbarButton {

namespace {

constexpr ULONGLONG ProgressSteps = 1000;

// The shell's taskbar object, made on first use; nothing once that has failed.
struct TTaskbar {
  enum { Unmade, Made, Failed } Status = Unmade;
  ITaskbarList3* List = nullptr;
};

TTaskbar& Taskbar() {
  static TTaskbar taskbar;
  return taskbar;
}

ITaskbarList3* List() {
  TTaskbar& taskbar = Taskbar();
  if (taskbar.Status == TTaskbar::Unmade) {
    // Qt has already entered the user-interface thread into a single-threaded apartment;
    // where it has not, this does, for the life of the process.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ITaskbarList3* list = nullptr;
    const bool made = SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                                 reinterpret_cast<void**>(&list))) &&
                      SUCCEEDED(list->HrInit());
    if (!made && list)
      list->Release();
    taskbar.List = made ? list : nullptr;
    taskbar.Status = made ? TTaskbar::Made : TTaskbar::Failed;
  }
  return taskbar.List;
}

HWND Handle(WId window) { return reinterpret_cast<HWND>(window); }

bool Flash(WId window, DWORD flags) {
  FLASHWINFO flash{};
  flash.cbSize = sizeof flash;
  flash.hwnd = Handle(window);
  flash.dwFlags = flags;
  flash.uCount = 0;
  flash.dwTimeout = 0;
  FlashWindowEx(&flash);  // its result is the state before, not success
  return IsWindow(Handle(window));
}

bool Show(WId window, ULONGLONG completed, TBPFLAG state) {
  ITaskbarList3* list = List();
  return list && SUCCEEDED(list->SetProgressValue(Handle(window), completed, ProgressSteps)) &&
         SUCCEEDED(list->SetProgressState(Handle(window), state));
}

} // namespace

bool SetProgress(WId window, double fraction) {
  const double clamped = fraction < 0 ? 0 : fraction > 1 ? 1 : fraction;
  return Show(window, ULONGLONG(clamped * ProgressSteps + 0.5), TBPF_NORMAL);
}

bool SetAttention(WId window) {
  const bool shown = Show(window, ProgressSteps, TBPF_PAUSED);
  return Flash(window, FLASHW_ALL | FLASHW_TIMER) && shown;
}

bool Clear(WId window) {
  ITaskbarList3* list = List();
  const bool cleared = list && SUCCEEDED(list->SetProgressState(Handle(window), TBPF_NOPROGRESS));
  return Flash(window, FLASHW_STOP) && cleared;
}

void Release() {
  TTaskbar& taskbar = Taskbar();
  if (taskbar.List)
    taskbar.List->Release();
  taskbar = {};
}

} // namespace Platform::TaskbarButton

namespace DesktopBus {

namespace {
// The main window owns the taskbar button; nothing to show before there is one.
WId Button() {
  QWidget* window = Platform::MainWindow();
  return window ? window->winId() : 0;
}
} // namespace

// The taskbar needs no bus and no connection.
TBusCheck CheckBuses(const QString&, const QString&, int) { return {}; }
TGuard GuardSessionBus() { return gdNothing; }
void Connect() {}

void Progress(double fraction) {
  if (const WId button = Button())
    Platform::TaskbarButton::SetProgress(button, fraction);
}

void Urgent() {
  if (const WId button = Button())
    Platform::TaskbarButton::SetAttention(button);
}

void Clear() {
  if (const WId button = Button())
    Platform::TaskbarButton::Clear(button);
}

void Notify(const TNotification&, TInvoked) {}
void Notify(const TNotification&, std::function<void(const QString& token)>) {}
void Withdraw() {}
void Warn(const QString&, const QString&) {}
void WithdrawWarning() {}
void SetUnreachedText(const QString&) {} // no bus, so never unreached
void SetBusAddress(const QString&) {}
void SetSandboxed(bool) {}
void Reset() { Platform::TaskbarButton::Release(); }

} // namespace DesktopBus
