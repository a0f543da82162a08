// The start-up's check of the buses that Qt's accessibility bridge will ask on the
// user-interface thread: the same questions, asked first with a deadline.
#include "DesktopBus.h"

#include "BusWire.h"

#include <algorithm>
#include <vector>

namespace DesktopBus {

namespace {

using BusWire::TMessage;
using BusWire::TWire;

const QString AccessibilityService = QStringLiteral("org.a11y.Bus");
const QString AccessibilityPath = QStringLiteral("/org/a11y/bus");

// A call and its answer, once it has come.
struct TQuestion {
  quint32 Serial = 0;
  bool Answered = false;
  TMessage Reply;
};

// Serves wire until Hello and every question have their answers, or until the deadline.
void Ask(TWire& wire, std::vector<TQuestion>& questions, const QDeadlineTimer& deadline) {
  BusWire::Pump(wire, deadline, [&] {
    TMessage message;
    while (wire.Next(message))
      for (TQuestion& question : questions)
        if (message.IsReplyTo(question.Serial)) {
          question.Reply = std::move(message);
          question.Answered = true;
        }
    return wire.Answered() &&
           std::all_of(questions.cbegin(), questions.cend(), [](const TQuestion& q) { return q.Answered; });
  });
}

bool AllAnswered(const std::vector<TQuestion>& questions) {
  return std::all_of(questions.cbegin(), questions.cend(), [](const TQuestion& q) { return q.Answered; });
}

// A question to the accessibility service that never starts it: Qt asks only a running one.
TMessage AccessibilityCall(const QString& interface, const QString& member) {
  TMessage call = TMessage::Call(AccessibilityService, AccessibilityPath, interface, member);
  call.Flags = BusWire::NoAutoStart;
  return call;
}

TMessage StatusGet(const QString& property) {
  TMessage call = AccessibilityCall(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  BusWire::TWriter(call).String(QStringLiteral("org.a11y.Status")).String(property);
  return call;
}

bool TrueIn(const TMessage& reply) {
  if (reply.Type != BusWire::mtReturn)
    return false;
  BusWire::TReader reader(reply);
  return reader.Signature() == "b" && reader.Boolean();
}

// Hello and a ping of the registry, which Qt's bridge asks to embed the program.
TAnswer CheckAccessibilityBus(const QString& address, const QDeadlineTimer& deadline) {
  TWire wire;
  const TWire::TOpen opened = wire.Open(address);
  if (opened != TWire::Opened)
    return opened == TWire::Busy ? TAnswer::Silent : TAnswer::Absent;
  std::vector<TQuestion> ping(1);
  ping[0].Serial = wire.Send(TMessage::Call(QStringLiteral("org.a11y.atspi.Registry"),
                                            QStringLiteral("/org/a11y/atspi/accessible/root"),
                                            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
  Ask(wire, ping, deadline);
  return wire.Answered() && AllAnswered(ping) ? TAnswer::Answers : TAnswer::Silent;
}

// The session bus's Hello and the accessibility service's state; where screen readers are on,
// the accessibility bus's address (in *accessibility).
TBusCheck CheckSessionBus(const QString& address, QString* accessibility, const QDeadlineTimer& deadline) {
  TWire wire;
  const TWire::TOpen opened = wire.Open(address);
  if (opened != TWire::Opened)
    return {opened == TWire::Busy ? TAnswer::Silent : TAnswer::Absent, TAnswer::Absent, {}};
  std::vector<TQuestion> status(accessibility->isEmpty() ? 2 : 0);
  if (!status.empty()) {
    status[0].Serial = wire.Send(StatusGet(QStringLiteral("IsEnabled")));
    status[1].Serial = wire.Send(StatusGet(QStringLiteral("ScreenReaderEnabled")));
  }
  Ask(wire, status, deadline);
  if (!wire.Answered())
    return {TAnswer::Silent, TAnswer::Absent, {}};
  if (!AllAnswered(status))
    return {TAnswer::Answers, TAnswer::Silent, {}};
  const bool on = qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON") ||
                  (!status.empty() && (TrueIn(status[0].Reply) || TrueIn(status[1].Reply)));
  if (status.empty() || !on)
    return {TAnswer::Answers, TAnswer::Absent, {}};
  std::vector<TQuestion> where(1);
  where[0].Serial = wire.Send(AccessibilityCall(AccessibilityService, QStringLiteral("GetAddress")));
  Ask(wire, where, deadline);
  if (!wire.Answered() || !AllAnswered(where))
    return {TAnswer::Answers, TAnswer::Silent, {}};
  if (where[0].Reply.Type == BusWire::mtReturn)
    *accessibility = BusWire::TReader(where[0].Reply).String();
  return {TAnswer::Answers, TAnswer::Absent, {}};
}

} // namespace

TBusCheck CheckBuses(const QString& sessionAddress, const QString& accessibilityAddress, int milliseconds) {
  const QDeadlineTimer deadline(milliseconds);
  QString accessibility = accessibilityAddress;
  TBusCheck check;
  if (!sessionAddress.isEmpty())
    check = CheckSessionBus(sessionAddress, &accessibility, deadline);
  if (check.Accessibility != TAnswer::Silent && check.Session != TAnswer::Silent && !accessibility.isEmpty())
    check.Accessibility = CheckAccessibilityBus(accessibility, deadline);
  if (check.Accessibility == TAnswer::Answers)
    check.AccessibilityAddress = accessibility;
  return check;
}

} // namespace DesktopBus
