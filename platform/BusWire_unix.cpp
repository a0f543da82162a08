#include "BusWire.h"

#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace BusWire {

namespace {

// What a message of the desktop's services may weigh; a bus that sends more is broken.
constexpr quint32 MaxFields = 64 * 1024;
constexpr quint32 MaxBody = 1024 * 1024;
// What may wait unread or unsent before the connection is given up.
constexpr qsizetype MaxBuffered = 4 * 1024 * 1024;
constexpr int MaxDescriptors = 16;
constexpr int MaxDepth = 64;

enum THeaderField : quint8 {
  hfPath = 1, hfInterface = 2, hfMember = 3, hfErrorName = 4, hfReplySerial = 5, hfDestination = 6,
  hfSender = 7, hfSignature = 8, hfUnixFds = 9
};

int Padding(qsizetype position, int alignment) { return int((alignment - position % alignment) % alignment); }

int AlignmentOf(char type) {
  switch (type) {
  case 'n': case 'q': return 2;
  case 'b': case 'i': case 'u': case 'h': case 's': case 'o': case 'a': return 4;
  case 'x': case 't': case 'd': case '(': case '{': return 8;
  default: return 1;
  }
}

// Removes the first complete type from signature and returns it; empty when there is none.
QByteArray TakeCompleteType(QByteArray& signature) {
  qsizetype end = 0;
  while (end < signature.size() && signature.at(end) == 'a')
    ++end;
  if (end < signature.size() && (signature.at(end) == '(' || signature.at(end) == '{')) {
    int open = 0;
    do {
      const char c = signature.at(end);
      open += (c == '(' || c == '{') ? 1 : (c == ')' || c == '}') ? -1 : 0;
      ++end;
    } while (open > 0 && end < signature.size());
    if (open > 0)
      return {};
  } else if (end < signature.size()) {
    ++end;
  } else {
    return {};
  }
  const QByteArray type = signature.left(end);
  signature.remove(0, end);
  return type;
}

void CloseAll(QList<int>& fds) {
  for (const int fd : fds)
    if (fd >= 0)
      ::close(fd);
  fds.clear();
}

// The header's fields, as the header's array of (code, variant) takes them.
class THeaderWriter {
public:
  QByteArray Bytes;  // starts at offset 16 of the message: a multiple of 8
  void Field(quint8 code, char type, const QByteArray& value) {
    if (value.isEmpty())
      return;
    Start(code, type);
    if (type == 'g') {
      Bytes += char(value.size());
    } else {
      UInt32(quint32(value.size()));
    }
    Bytes += value;
    Bytes += '\0';
  }
  void Number(quint8 code, quint32 value) {
    if (value == 0)
      return;
    Start(code, 'u');
    UInt32(value);
  }

private:
  void Start(quint8 code, char type) {
    Bytes.append(Padding(Bytes.size(), 8), '\0');
    Bytes += char(code);
    Bytes += char(1);
    Bytes += type;
    Bytes += '\0';
  }
  void UInt32(quint32 value) {
    Bytes.append(Padding(Bytes.size(), 4), '\0');
    char raw[4];
    qToLittleEndian(value, raw);
    Bytes.append(raw, 4);
  }
};

bool ReadField(TReader& reader, quint8 code, const QByteArray& type, TMessage& message) {
  const auto expect = [&](const char* wanted) { return type == wanted; };
  switch (code) {
  case hfPath: if (!expect("o")) return false; message.Path = reader.ObjectPath(); return true;
  case hfInterface: if (!expect("s")) return false; message.Interface = reader.String().toUtf8(); return true;
  case hfMember: if (!expect("s")) return false; message.Member = reader.String().toUtf8(); return true;
  case hfErrorName: if (!expect("s")) return false; message.ErrorName = reader.String().toUtf8(); return true;
  case hfReplySerial: if (!expect("u")) return false; message.ReplySerial = reader.UInt32(); return true;
  case hfDestination: if (!expect("s")) return false; message.Destination = reader.String().toUtf8(); return true;
  case hfSender: if (!expect("s")) return false; message.Sender = reader.String().toUtf8(); return true;
  case hfSignature: if (!expect("g")) return false; message.Signature = reader.Signature(); return true;
  case hfUnixFds: if (!expect("u")) return false; message.UnixFds = reader.UInt32(); return true;
  default: {
    QByteArray rest = type;
    reader.Skip(rest);
    return rest.isEmpty();
  }
  }
}

bool Complete(const TMessage& message) {
  switch (message.Type) {
  case mtCall: return !message.Path.isEmpty() && !message.Member.isEmpty();
  case mtSignal: return !message.Path.isEmpty() && !message.Interface.isEmpty() && !message.Member.isEmpty();
  case mtError: return message.ReplySerial != 0 && !message.ErrorName.isEmpty();
  case mtReturn: return message.ReplySerial != 0;
  }
  return false;
}

// The sockets an address names, in its order: a path, or an abstract name led by a zero byte.
QList<QByteArray> SocketNames(const QString& address) {
  QList<QByteArray> names;
  for (const QString& entry : address.split(u';', Qt::SkipEmptyParts)) {
    if (!entry.startsWith(QStringLiteral("unix:")))
      continue;
    for (const QString& pair : entry.mid(5).split(u',')) {
      const QByteArray value = QByteArray::fromPercentEncoding(pair.section(u'=', 1).toUtf8());
      if (pair.startsWith(QStringLiteral("path=")))
        names << value;
      else if (pair.startsWith(QStringLiteral("abstract=")))
        names << '\0' + value;
    }
  }
  return names;
}

} // namespace

// ---- Messages -------------------------------------------------------------------------------

TMessage TMessage::Call(const QString& destination, const QString& path, const QString& interface,
                        const QString& member) {
  TMessage message;
  message.Destination = destination.toUtf8();
  message.Path = path.toUtf8();
  message.Interface = interface.toUtf8();
  message.Member = member.toUtf8();
  return message;
}

TMessage TMessage::Signal(const QString& path, const QString& interface, const QString& member) {
  TMessage message = Call(QString(), path, interface, member);
  message.Type = mtSignal;
  message.Flags = NoReplyExpected;
  return message;
}

QByteArray Encode(const TMessage& message) {
  THeaderWriter fields;
  fields.Field(hfPath, 'o', message.Path);
  fields.Field(hfInterface, 's', message.Interface);
  fields.Field(hfMember, 's', message.Member);
  fields.Field(hfErrorName, 's', message.ErrorName);
  fields.Number(hfReplySerial, message.ReplySerial);
  fields.Field(hfDestination, 's', message.Destination);
  fields.Field(hfSignature, 'g', message.Signature);
  fields.Number(hfUnixFds, message.UnixFds);
  QByteArray bytes;
  bytes += 'l';
  bytes += char(message.Type);
  bytes += char(message.Flags);
  bytes += char(1);
  char raw[12];
  qToLittleEndian(quint32(message.Body.size()), raw);
  qToLittleEndian(message.Serial, raw + 4);
  qToLittleEndian(quint32(fields.Bytes.size()), raw + 8);
  bytes.append(raw, 12);
  bytes += fields.Bytes;
  bytes.append(Padding(bytes.size(), 8), '\0');
  return bytes + message.Body;
}

qsizetype MessageLength(QByteArrayView data) {
  if (data.size() < 16)
    return 0;
  const bool big = data.at(0) == 'B';
  if ((!big && data.at(0) != 'l') || data.at(3) != 1)
    return -1;
  const auto number = [&](int at) {
    return big ? qFromBigEndian<quint32>(data.data() + at) : qFromLittleEndian<quint32>(data.data() + at);
  };
  const quint32 body = number(4), fields = number(12);
  if (body > MaxBody || fields > MaxFields)
    return -1;
  const qsizetype length = 16 + fields + Padding(fields, 8) + body;
  return data.size() >= length ? length : 0;
}

bool Decode(const QByteArray& bytes, TMessage& message) {
  const qsizetype length = MessageLength(bytes);
  if (length <= 0 || length != bytes.size())
    return false;
  message = TMessage{};
  message.BigEndian = bytes.at(0) == 'B';
  message.Type = TMessageType(quint8(bytes.at(1)));
  message.Flags = quint8(bytes.at(2));
  const auto number = [&](int at) {
    return message.BigEndian ? qFromBigEndian<quint32>(bytes.constData() + at)
                             : qFromLittleEndian<quint32>(bytes.constData() + at);
  };
  const quint32 body = number(4);
  message.Serial = number(8);
  // The fields start at 16, a multiple of 8, so their alignment is the message's.
  const QByteArray fields = bytes.mid(16, number(12));
  TReader head(fields, message.BigEndian);
  while (head.Before(int(fields.size()))) {
    head.Align(8);
    const quint8 code = head.Byte();
    const QByteArray type = head.Signature();
    if (!head.Ok() || !ReadField(head, code, type, message))
      return false;
  }
  if (!head.Ok() || message.Serial == 0 || !Complete(message))
    return false;
  message.Body = bytes.right(body);
  return true;
}

// ---- Writing --------------------------------------------------------------------------------

void TWriter::Align(int alignment) { Message.Body.append(Padding(Message.Body.size(), alignment), '\0'); }

void TWriter::Sign(const QByteArray& signature) {
  if (Depth == 0)
    Message.Signature += signature;
}

TWriter& TWriter::Byte(quint8 value) {
  Sign("y");
  Message.Body += char(value);
  return *this;
}

TWriter& TWriter::Boolean(bool value) {
  Sign("b");
  ++Depth;
  UInt32(value ? 1 : 0);
  --Depth;
  return *this;
}

TWriter& TWriter::Int32(qint32 value) {
  Sign("i");
  ++Depth;
  UInt32(quint32(value));
  --Depth;
  return *this;
}

TWriter& TWriter::UInt32(quint32 value) {
  Sign("u");
  Align(4);
  char raw[4];
  qToLittleEndian(value, raw);
  Message.Body.append(raw, 4);
  return *this;
}

TWriter& TWriter::Double(double value) {
  Sign("d");
  Align(8);
  quint64 bits = 0;
  static_assert(sizeof bits == sizeof value);
  std::memcpy(&bits, &value, sizeof bits);
  char raw[8];
  qToLittleEndian(bits, raw);
  Message.Body.append(raw, 8);
  return *this;
}

TWriter& TWriter::String(const QString& value) {
  Sign("s");
  const QByteArray bytes = value.toUtf8();
  ++Depth;
  UInt32(quint32(bytes.size()));
  --Depth;
  Raw(bytes);
  Message.Body += '\0';
  return *this;
}

TWriter& TWriter::ObjectPath(const QByteArray& value) {
  Sign("o");
  ++Depth;
  String(QString::fromUtf8(value));
  --Depth;
  return *this;
}

TWriter& TWriter::StringList(const QStringList& values) {
  Sign("as");
  ++Depth;
  Align(4);
  const qsizetype at = Message.Body.size();
  UInt32(0);
  const qsizetype start = Message.Body.size();
  for (const QString& value : values)
    String(value);
  qToLittleEndian(quint32(Message.Body.size() - start), Message.Body.data() + at);
  --Depth;
  return *this;
}

TWriter& TWriter::Dictionary(const QVariantMap& values) {
  Sign("a{sv}");
  ++Depth;
  Align(4);
  const qsizetype at = Message.Body.size();
  UInt32(0);
  Align(8);
  const qsizetype start = Message.Body.size();
  for (auto entry = values.cbegin(); entry != values.cend(); ++entry) {
    Align(8);
    String(entry.key());
    Variant(entry.value());
  }
  qToLittleEndian(quint32(Message.Body.size() - start), Message.Body.data() + at);
  --Depth;
  return *this;
}

TWriter& TWriter::Variant(const QVariant& value) {
  Sign("v");
  ++Depth;
  const QByteArray signature = SignatureOf(value);
  Message.Body += char(signature.size());
  Message.Body += signature;
  Message.Body += '\0';
  Value(value);
  --Depth;
  return *this;
}

QByteArray TWriter::SignatureOf(const QVariant& value) {
  switch (value.metaType().id()) {
  case QMetaType::Bool: return "b";
  case QMetaType::UChar: return "y";
  case QMetaType::Int: return "i";
  case QMetaType::UInt: return "u";
  case QMetaType::Double: return "d";
  case QMetaType::QVariantList: return "aa{sv}";
  default: return "s";
  }
}

void TWriter::Value(const QVariant& value) {
  switch (value.metaType().id()) {
  case QMetaType::Bool: Boolean(value.toBool()); break;
  case QMetaType::UChar: Byte(uchar(value.toUInt())); break;
  case QMetaType::Int: Int32(value.toInt()); break;
  case QMetaType::UInt: UInt32(value.toUInt()); break;
  case QMetaType::Double: Double(value.toDouble()); break;
  case QMetaType::QVariantList: {
    Align(4);
    const qsizetype at = Message.Body.size();
    UInt32(0);
    const qsizetype start = Message.Body.size();
    for (const QVariant& map : value.toList())
      Dictionary(map.toMap());
    qToLittleEndian(quint32(Message.Body.size() - start), Message.Body.data() + at);
    break;
  }
  default: String(value.toString()); break;
  }
}

// ---- Reading --------------------------------------------------------------------------------

const uchar* TReader::Take(int size) {
  if (!Good || size < 0 || Position > Data.size() - size) {
    Fail();
    return nullptr;
  }
  const uchar* at = reinterpret_cast<const uchar*>(Data.constData()) + Position;
  Position += size;
  return at;
}

void TReader::Align(int alignment) { Take(Padding(Position, alignment)); }

quint8 TReader::Byte() {
  const uchar* at = Take(1);
  return at ? *at : 0;
}

quint32 TReader::UInt32() {
  Align(4);
  const uchar* at = Take(4);
  if (!at)
    return 0;
  return BigEndian ? qFromBigEndian<quint32>(at) : qFromLittleEndian<quint32>(at);
}

bool TReader::Boolean() {
  const quint32 value = UInt32();
  if (value > 1)
    Fail();
  return Good && value == 1;
}

QString TReader::String() {
  const quint32 length = UInt32();
  if (length > MaxBody)
    Fail();
  const uchar* at = Take(int(length) + 1);
  if (!at || at[length] != 0) {
    Fail();
    return {};
  }
  return QString::fromUtf8(reinterpret_cast<const char*>(at), qsizetype(length));
}

QByteArray TReader::Signature() {
  const quint8 length = Byte();
  const uchar* at = Take(int(length) + 1);
  if (!at || at[length] != 0) {
    Fail();
    return {};
  }
  return QByteArray(reinterpret_cast<const char*>(at), length);
}

int TReader::ArrayEnd(int alignment) {
  const quint32 length = UInt32();
  Align(alignment);
  if (!Good || length > quint32(Data.size() - Position)) {
    Fail();
    return Position;
  }
  return Position + int(length);
}

void TReader::Skip(QByteArray& signature, int depth) {
  if (!Good || signature.isEmpty() || depth > MaxDepth) {
    Fail();
    return;
  }
  const char type = signature.at(0);
  if (type == 'a') {
    signature.remove(0, 1);
    const int alignment = signature.isEmpty() ? 1 : AlignmentOf(signature.at(0));
    const int end = ArrayEnd(alignment);
    if (TakeCompleteType(signature).isEmpty())
      Fail();
    if (Good)
      Position = end;
    return;
  }
  signature.remove(0, 1);
  switch (type) {
  case 'y': Byte(); return;
  case 'b': case 'i': case 'u': case 'h': UInt32(); return;
  case 'n': case 'q': Align(2); Take(2); return;
  case 'x': case 't': case 'd': Align(8); Take(8); return;
  case 's': case 'o': String(); return;
  case 'g': Signature(); return;
  case 'v': {
    QByteArray inner = Signature();
    Skip(inner, depth + 1);
    if (!inner.isEmpty())
      Fail();
    return;
  }
  case '(': case '{': {
    const char close = type == '(' ? ')' : '}';
    Align(8);
    while (Good && !signature.isEmpty() && signature.at(0) != close)
      Skip(signature, depth + 1);
    if (signature.isEmpty())
      Fail();
    else
      signature.remove(0, 1);
    return;
  }
  default: Fail(); return;
  }
}

// ---- The connection -------------------------------------------------------------------------

TWire::~TWire() { Close(); }

TWire::TOpen TWire::Open(const QString& address, bool unixFds) {
  Close();
  TOpen result = Refused;
  for (const QByteArray& name : SocketNames(address)) {
    sockaddr_un socketAddress{};
    if (name.isEmpty() || size_t(name.size()) >= sizeof socketAddress.sun_path)
      continue;
    socketAddress.sun_family = AF_UNIX;
    std::memcpy(socketAddress.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
      continue;
    const socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(name.size()));
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&socketAddress), length) == 0) {
      Fd = fd;
      break;
    }
    // A full backlog: a bus that takes no one in is as silent as one that never answers.
    if (errno == EAGAIN)
      result = Busy;
    ::close(fd);
  }
  if (Fd < 0) {
    Why = result == Busy ? QStringLiteral("the bus took no connection") : QStringLiteral("no bus listens there");
    return result;
  }
  UnixFds = unixFds;
  Stage = sAuthenticating;
  // The client's credentials are the socket's: EXTERNAL names the user by number, in hex.
  Out = QByteArray("\0AUTH EXTERNAL ", 15) + QByteArray::number(::getuid()).toHex() + "\r\n";
  if (UnixFds)
    Out += "NEGOTIATE_UNIX_FD\r\n";
  Out += "BEGIN\r\n";
  HelloSerial = Send(TMessage::Call(BusName, QStringLiteral("/org/freedesktop/DBus"), BusName, QStringLiteral("Hello")));
  return Opened;
}

quint32 TWire::Send(TMessage message) {
  message.Serial = NextSerial++;
  if (NextSerial == 0)
    NextSerial = 1;
  if (Fd < 0)
    return message.Serial;
  Out += Encode(message);
  if (Out.size() > MaxBuffered) {
    Fail(QStringLiteral("the bus does not read"));
    return message.Serial;
  }
  Write();
  return message.Serial;
}

void TWire::Write() {
  while (Fd >= 0 && !Out.isEmpty()) {
    const ssize_t sent = ::send(Fd, Out.constData(), size_t(Out.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0 && errno == EINTR)
      continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
      return;
    if (sent < 0) {
      Fail(QString::fromLocal8Bit(std::strerror(errno)));
      return;
    }
    Out.remove(0, sent);
  }
}

void TWire::Read() {
  // A few reads per call: a bus that floods the socket cannot hold its reader.
  for (int round = 0; round < 16 && Fd >= 0; ++round) {
    char buffer[64 * 1024];
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * MaxDescriptors)];
    iovec part{buffer, sizeof buffer};
    msghdr header{};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    header.msg_control = control;
    header.msg_controllen = sizeof control;
    const ssize_t got = ::recvmsg(Fd, &header, MSG_CMSG_CLOEXEC | MSG_DONTWAIT);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
      return;
    for (cmsghdr* c = CMSG_FIRSTHDR(&header); c; c = CMSG_NXTHDR(&header, c))
      if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_RIGHTS)
        for (size_t i = 0; i < (c->cmsg_len - CMSG_LEN(0)) / sizeof(int); ++i) {
          int fd = -1;
          std::memcpy(&fd, CMSG_DATA(c) + i * sizeof(int), sizeof fd);
          InFds << fd;
        }
    if (got < 0) {
      Fail(QString::fromLocal8Bit(std::strerror(errno)));
      return;
    }
    if (got == 0) {
      Fail(QStringLiteral("the bus closed the connection"));
      return;
    }
    if ((header.msg_flags & MSG_CTRUNC) || (!UnixFds && !InFds.isEmpty()))
      CloseAll(InFds);  // descriptors not asked for, or more than a message of ours brings
    Received(QByteArray(buffer, got));
  }
}

void TWire::Received(QByteArray bytes) {
  In += bytes;
  if (In.size() > MaxBuffered) {
    Fail(QStringLiteral("the bus sent too much"));
    return;
  }
  if (Stage == sAuthenticating || Stage == sAgreeing)
    Authenticate();
  if (Stage == sMessages)
    Frame();
}

bool TWire::ReadLine(QByteArray& line) {
  const qsizetype end = In.indexOf("\r\n");
  if (end < 0) {
    if (In.size() > 1024)
      Fail(QStringLiteral("the bus answered garbage"));
    return false;
  }
  line = In.left(end);
  In.remove(0, end + 2);
  return true;
}

void TWire::Authenticate() {
  QByteArray line;
  while ((Stage == sAuthenticating || Stage == sAgreeing) && ReadLine(line)) {
    if (Stage == sAuthenticating) {
      if (!line.startsWith("OK ")) {
        Fail(QStringLiteral("the bus refused the connection"));
        return;
      }
      Stage = UnixFds ? sAgreeing : sMessages;
    } else {
      if (line != "AGREE_UNIX_FD" && !line.startsWith("ERROR")) {
        Fail(QStringLiteral("the bus answered garbage"));
        return;
      }
      UnixFds = line == "AGREE_UNIX_FD";
      Stage = sMessages;
    }
  }
}

void TWire::Frame() {
  while (Stage == sMessages) {
    const qsizetype length = MessageLength(In);
    if (length == 0)
      return;
    TMessage message;
    if (length < 0 || !Decode(In.left(length), message)) {
      Fail(QStringLiteral("the bus sent a garbled message"));
      return;
    }
    In.remove(0, length);
    if (message.UnixFds > quint32(InFds.size())) {
      Fail(QStringLiteral("the bus lost a descriptor"));
      return;
    }
    message.Fds = InFds.mid(0, int(message.UnixFds));
    InFds.remove(0, int(message.UnixFds));
    if (HelloSerial != 0 && message.IsReplyTo(HelloSerial)) {
      HelloAnswered = message.Type == mtReturn;
      CloseAll(message.Fds);
      if (!HelloAnswered)
        Fail(QStringLiteral("the bus refused Hello"));
      continue;
    }
    Inbox.push_back(std::move(message));
  }
}

bool TWire::Next(TMessage& message) {
  if (Inbox.empty())
    return false;
  message = std::move(Inbox.front());
  Inbox.pop_front();
  return true;
}

// A failed connection keeps the messages it received before: an answer followed by the
// bus's close is still an answer.
void TWire::Fail(const QString& why) {
  Drop();
  Stage = sFailed;
  Why = why;
}

void TWire::Close() {
  Drop();
  for (TMessage& message : Inbox)
    CloseAll(message.Fds);
  Inbox.clear();
  Stage = sClosed;
}

void TWire::Drop() {
  if (Fd >= 0)
    ::close(Fd);
  Fd = -1;
  CloseAll(InFds);
  In.clear();
  Out.clear();
  HelloAnswered = false;
}

bool Pump(TWire& wire, const QDeadlineTimer& deadline, const std::function<bool()>& done) {
  while (!done()) {
    if (wire.Failed() || wire.Socket() < 0 || deadline.hasExpired())
      return false;
    pollfd ready{wire.Socket(), short(POLLIN | (wire.WantsWrite() ? POLLOUT : 0)), 0};
    const int count = ::poll(&ready, 1, int(std::clamp<qint64>(deadline.remainingTime(), 0, 1000)));
    if (count < 0 && errno != EINTR)
      return false;
    if (count > 0 && (ready.revents & POLLOUT))
      wire.Write();
    if (count > 0 && (ready.revents & (POLLIN | POLLHUP | POLLERR)))
      wire.Read();
  }
  return true;
}

} // namespace BusWire
