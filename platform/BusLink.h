#pragma once
// The thread on which the program talks to its buses, and the connections that live there.
// Nothing on the user-interface thread ever waits for a bus: it posts jobs to the bus thread,
// and the answers come back as queued calls. At the program's end the thread gets a bounded
// time to send what is left, and is then left behind: it holds no lock and never blocks, so
// the process ends without it.

#include "BusWire.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace BusLink {

// A connection to a bus, made and used on the bus thread only.
class TLink : public QObject {
  Q_OBJECT

public:
  using TReply = std::function<void(BusWire::TMessage& reply)>;

  // Made on the bus thread, as a child of Home(); nothing is sent before Open.
  TLink();
  ~TLink() override;

  // Opens the bus at address; one whose Hello is not answered within answerMilliseconds is
  // given up (OnFailed, after the call returns). With unixFds, descriptors may come with
  // answers.
  void Open(const QString& address, bool unixFds, int answerMilliseconds);

  // Sends call; onReply gets its reply, or an error of the link's own when it fails or no
  // answer came within timeoutMilliseconds. A call awaited at the end holds the thread's end
  // until it is answered or the end's bound is over.
  void Call(BusWire::TMessage call, TReply onReply, int timeoutMilliseconds, bool awaitedAtEnd = false);
  // Sends a signal, or a call whose answer nobody wants.
  void Send(BusWire::TMessage message);
  // Asks the bus for the signals that match rule.
  void AddMatch(const QString& rule);

  bool Failed() const { return Broken; }
  // Nothing left to send and no answer awaited at the end.
  bool Settled() const;

  // Each signal received; descriptors it brings are closed after it unless taken.
  std::function<void(BusWire::TMessage& signal)> OnSignal;
  // Once, when the link is given up, with the reason in words.
  std::function<void(const QString& why)> OnFailed;

private:
  struct TPending {
    TReply OnReply;
    bool AwaitedAtEnd = false;
  };
  void Serve();
  void Dispatch(BusWire::TMessage& message);
  void Answer(quint32 serial, BusWire::TMessage& reply);
  void Fail(const QString& why);
  void Watch();

  BusWire::TWire Wire;
  std::unique_ptr<QSocketNotifier> Readable, Writable;
  std::map<quint32, TPending> Pending;
  bool Broken = false;
};

// An error reply made here, for a call that got none: name and the reason in words.
BusWire::TMessage LocalError(const QString& name, const QString& why);

// Runs job on the bus thread, after the jobs posted before it; starts the thread first.
void Post(std::function<void()> job);
// The object that owns the links: it lives on the bus thread.
QObject* Home();
// Runs job on the user-interface thread, unless the thread has been reset since it was posted.
void OnUiThread(std::function<void()> job);

// Called on the user-interface thread when the program ends, in order, before the end; for
// the life of the process.
void AtEnd(std::function<void()> hook);
// The end: the hooks, then the bus thread gets at most milliseconds to send what it was given
// and to receive the answers awaited at the end, and stops. Called at aboutToQuit.
void Finish(int milliseconds);

// The session bus: the one found at start-up (kept when it is hidden from Qt), the test's, the
// session's address, or the user's bus socket; empty when there is none. Never the autolaunch
// that the bus library would otherwise try, which would start a bus of its own.
QString SessionAddress();
// Keeps address as the session bus's for the program's own connections.
void KeepSessionAddress(const QString& address);
// The system bus: DBUS_SYSTEM_BUS_ADDRESS, or the system's well-known socket.
QString SystemAddress();
// Whether the program runs inside a Flatpak sandbox, where the desktop's portal serves it.
bool Sandboxed();
// For tests: as inside a sandbox or not.
void SetSandboxed(bool sandboxed);

// For tests: stops the thread (waiting for it at most five seconds) and deletes its links;
// queued answers of the old thread are dropped. The next job starts a new thread.
void Reset();
// For tests: whether the bus thread is running.
bool Running();

} // namespace BusLink
