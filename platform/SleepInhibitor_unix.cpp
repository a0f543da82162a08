#include "SleepInhibitor.h"
#include "SleepInhibitorState.h"

#include "BusLink.h"

#include <QPointer>

#include <unistd.h>

namespace SleepInhibitor {

namespace {

using BusWire::TMessage;

const QString LoginService = QStringLiteral("org.freedesktop.login1");
const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
// The portal's flag for suspending the computer.
constexpr quint32 PortalSuspend = 4;
// A bus whose Hello has not been answered within a second is given up; a lock not granted
// within 25 s counts as refused.
constexpr int AnswerMilliseconds = 1000;
constexpr int InhibitMilliseconds = 25000;


// The bus thread's side: touched there only.
struct TSide {
  QPointer<BusLink::TLink> Link;
  QString FailReason;  // why the link was given up
  bool Wanted = false;
  bool Asking = false;  // Inhibit sent, its answer not yet come
  int Fd = -1;          // logind's lock: it holds while this is open
  QByteArray Handle;    // the portal's lock: its request, closed to release
};

TSide& Side() {
  static TSide side;
  return side;
}

void Unheld(const QString& reason) {
  BusLink::OnUiThread([reason] { Report(reason); });
}

BusLink::TLink* LinkOnBus(const QString& address, bool portal) {
  TSide& side = Side();
  if (!side.Link) {
    side.Link = new BusLink::TLink;
    side.Link->OnFailed = [](const QString& why) {
      Side().FailReason = why;
      if (Side().Wanted)
        Unheld(why);
    };
    // logind's answer is a descriptor.
    side.Link->Open(address, !portal, AnswerMilliseconds);
  }
  if (side.Link->Failed()) {
    Unheld(side.FailReason);
    return nullptr;
  }
  return side.Link.data();
}

TMessage InhibitCall(const QString& reason, bool portal) {
  if (portal) {
    TMessage call = TMessage::Call(PortalService, QStringLiteral("/org/freedesktop/portal/desktop"),
                                   QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
    BusWire::TWriter(call).String(QString()).UInt32(PortalSuspend).Dictionary({{QStringLiteral("reason"), reason}});
    return call;
  }
  TMessage call = TMessage::Call(LoginService, QStringLiteral("/org/freedesktop/login1"),
                                 QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
  BusWire::TWriter(call).String(QStringLiteral("sleep")).String(QStringLiteral("Steepo")).String(reason).String(
      QStringLiteral("block"));
  return call;
}

void CloseRequest(const QByteArray& handle) {
  TMessage call = TMessage::Call(PortalService, QString::fromUtf8(handle), QStringLiteral("org.freedesktop.portal.Request"),
                                 QStringLiteral("Close"));
  call.Flags = BusWire::NoReplyExpected;
  if (BusLink::TLink* link = Side().Link.data())
    link->Send(std::move(call));
}

void Answered(bool portal, TMessage& reply) {
  TSide& side = Side();
  side.Asking = false;
  if (reply.Type == BusWire::mtError) {
    Unheld(reply.Sender.isEmpty() ? BusWire::TReader(reply).String() : BusWire::ErrorOf(reply));
    return;
  }
  BusWire::TReader reader(reply);
  if (portal) {
    const QByteArray handle = reader.ObjectPath();
    if (!side.Wanted)
      CloseRequest(handle);
    else
      side.Handle = handle;
    return;
  }
  const quint32 index = reader.UInt32();
  if (reply.Signature != "h" || !reader.Ok() || index >= quint32(reply.Fds.size()) || reply.Fds[index] < 0) {
    Unheld(QStringLiteral("logind sent no lock"));
    return;
  }
  const int fd = std::exchange(reply.Fds[index], -1);
  if (side.Wanted)
    side.Fd = fd;
  else
    ::close(fd);  // released before it came
}

void HoldOnBus(const QString& reason, bool portal, const QString& address) {
  TSide& side = Side();
  side.Wanted = true;
  if (side.Fd >= 0 || !side.Handle.isEmpty() || side.Asking)
    return;
  BusLink::TLink* link = LinkOnBus(address, portal);
  if (!link)
    return;
  side.Asking = true;
  link->Call(InhibitCall(reason, portal), [portal](TMessage& reply) { Answered(portal, reply); }, InhibitMilliseconds);
}

void ReleaseOnBus() {
  TSide& side = Side();
  side.Wanted = false;
  if (side.Fd >= 0)
    ::close(std::exchange(side.Fd, -1));
  if (!side.Handle.isEmpty())
    CloseRequest(std::exchange(side.Handle, QByteArray()));
}

} // namespace

void Hold(const QString& reason) {
  TState& state = State();
  if (std::exchange(state.Wanted, true))
    return;
  static bool hooked = false;
  if (!std::exchange(hooked, true))
    BusLink::AtEnd(Release);
  const bool portal = BusLink::Sandboxed();
  const QString address = portal ? BusLink::SessionAddress() : BusLink::SystemAddress();
  BusLink::Post([reason, portal, address] { HoldOnBus(reason, portal, address); });
}

void Release() {
  if (!std::exchange(State().Wanted, false))
    return;
  BusLink::Post(ReleaseOnBus);
}

void Reset() {
  BusLink::Reset();
  // The bus thread has stopped: its side is the caller's now.
  if (Side().Fd >= 0)
    ::close(Side().Fd);
  Side() = TSide{};
  State() = TState{};
}

} // namespace SleepInhibitor
