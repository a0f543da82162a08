#pragma once
// The D-Bus wire protocol as far as this program speaks it, on a socket of its own: the
// conversation that opens a connection, and messages of the few types the desktop's services
// use. Nothing here blocks. A bus that answers nonsense, too much or nothing makes a failed
// connection, never a wait or a crash: every length it sends is checked before it is used.
// (The bus library would wait for a silent bus without a limit on a thread that every
// connection of the process shares, and abort the process when it gives up.)

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QVariant>

#include <deque>
#include <functional>

namespace BusWire {

enum TMessageType : quint8 { mtCall = 1, mtReturn = 2, mtError = 3, mtSignal = 4 };
// Flags of a message: no reply is wanted; the bus must not start the service for it.
constexpr quint8 NoReplyExpected = 1, NoAutoStart = 2;

// A message: its header fields and its body, marshalled in the sender's byte order.
struct TMessage {
  TMessageType Type = mtCall;
  quint8 Flags = 0;
  quint32 Serial = 0;
  quint32 ReplySerial = 0;
  QByteArray Path, Interface, Member, ErrorName, Destination, Sender, Signature;
  quint32 UnixFds = 0;
  bool BigEndian = false;
  QByteArray Body;
  QList<int> Fds;  // descriptors that came with it: the receiver closes them or keeps them

  static TMessage Call(const QString& destination, const QString& path, const QString& interface,
                       const QString& member);
  static TMessage Signal(const QString& path, const QString& interface, const QString& member);
  bool IsReplyTo(quint32 serial) const { return (Type == mtReturn || Type == mtError) && ReplySerial == serial; }
};

// Appends values to a body, each at its alignment (the body starts at a multiple of 8).
class TWriter {
public:
  explicit TWriter(TMessage& message) : Message(message) {}
  TWriter& Byte(quint8 value);
  TWriter& Boolean(bool value);
  TWriter& Int32(qint32 value);
  TWriter& UInt32(quint32 value);
  TWriter& Double(double value);
  TWriter& String(const QString& value);
  TWriter& ObjectPath(const QByteArray& value);
  TWriter& StringList(const QStringList& values);
  // a{sv}: strings, booleans, bytes (uchar), int, uint and double numbers, and lists of such
  // maps.
  TWriter& Dictionary(const QVariantMap& values);
  // v: one value of the kinds above, with its signature.
  TWriter& Variant(const QVariant& value);

private:
  void Align(int alignment);
  void Raw(const QByteArray& bytes) { Message.Body += bytes; }
  void Value(const QVariant& value);
  void Sign(const QByteArray& signature);
  static QByteArray SignatureOf(const QVariant& value);

  TMessage& Message;
  int Depth = 0;  // inside an array or a variant: the message's signature is already written
};

// Reads values from a body, checking every length and position. Once a read fails, every
// later read gives an empty value and Ok() stays false.
class TReader {
public:
  explicit TReader(const TMessage& message) : Data(message.Body), BigEndian(message.BigEndian) {}
  TReader(const QByteArray& data, bool bigEndian) : Data(data), BigEndian(bigEndian) {}
  bool Ok() const { return Good; }
  quint8 Byte();
  bool Boolean();
  quint32 UInt32();
  QString String();
  QByteArray ObjectPath() { return String().toUtf8(); }
  QByteArray Signature();
  // Skips one value of the first complete type of signature, which loses that type.
  void Skip(QByteArray& signature, int depth = 0);
  // The end of an array whose elements align to alignment: read elements while before it.
  int ArrayEnd(int alignment);
  bool Before(int end) const { return Good && Position < end; }
  void Align(int alignment);

private:
  const uchar* Take(int size);
  void Fail() { Good = false; }

  const QByteArray& Data;
  bool BigEndian;
  int Position = 0;
  bool Good = true;
};

// The bytes of message, with serial set: the header, its fields, the body.
QByteArray Encode(const TMessage& message);
// The length of the message at the start of data: 0 while it is incomplete, -1 when it can
// never be one (a wrong byte-order mark, a size beyond the limit).
qsizetype MessageLength(QByteArrayView data);
// Reads the complete message in bytes; false when its header is not a valid one.
bool Decode(const QByteArray& bytes, TMessage& message);

// One connection to a bus over a Unix socket: the opening conversation (EXTERNAL, the
// descriptors' negotiation where wanted, BEGIN) and Hello are sent at once, in one write, and
// every message sent before the answers comes behind them. The socket never blocks: the
// owner watches Socket() and calls Read() and Write() when it is ready.
class TWire {
public:
  enum TOpen { Opened, Refused, Busy };

  TWire() = default;
  TWire(const TWire&) = delete;
  TWire& operator=(const TWire&) = delete;
  ~TWire();

  // Connects to the first socket of address that takes the connection. Refused: nothing
  // listens there (or the address names no Unix socket); Busy: the bus takes no one in.
  TOpen Open(const QString& address, bool unixFds = false);
  int Socket() const { return Fd; }
  bool Failed() const { return Stage == sFailed; }
  QString Failure() const { return Why; }
  // Hello has been answered: the bus has taken the connection.
  bool Answered() const { return Stage == sMessages && HelloAnswered; }
  bool WantsWrite() const { return !Out.isEmpty() && Fd >= 0; }

  void Read();
  void Write();
  // Queues message (its serial is set here and returned) and writes what the socket takes.
  quint32 Send(TMessage message);
  // The next message received, in order; false when there is none.
  bool Next(TMessage& message);
  void Close();

private:
  enum TStage { sClosed, sAuthenticating, sAgreeing, sMessages, sFailed };
  void Fail(const QString& why);
  void Drop();
  bool ReadLine(QByteArray& line);
  void Authenticate();
  void Frame();
  void Received(QByteArray bytes);

  int Fd = -1;
  TStage Stage = sClosed;
  bool UnixFds = false;
  bool HelloAnswered = false;
  quint32 NextSerial = 1;
  quint32 HelloSerial = 0;
  QByteArray In, Out;
  QList<int> InFds;
  std::deque<TMessage> Inbox;
  QString Why;
};

// Serves wire until done() is true: false when the deadline passed first or the wire failed.
// For a caller without an event loop (the start-up, before the application exists).
bool Pump(TWire& wire, const QDeadlineTimer& deadline, const std::function<bool()>& done);

// The first error name of a reply, or empty for a return.
inline QString ErrorOf(const TMessage& reply) {
  return reply.Type == mtError ? QString::fromUtf8(reply.ErrorName) : QString();
}

// The bus's own name, path and interface, for Hello and AddMatch.
inline const QString BusName = QStringLiteral("org.freedesktop.DBus");

} // namespace BusWire
