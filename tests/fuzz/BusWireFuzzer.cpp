// Fuzz target: what a bus says. The input is everything the bus sends once it has taken the
// connection, the answers of the opening conversation included. Nothing may crash or read out
// of bounds; every message that comes through reads back unchanged once written again, and
// every value of its body can be walked by its signature.
#include "BusWire.h"
#include "FuzzRequire.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::unique_ptr<QTemporaryDir> Scratch;
int Listener = -1;
QString Address;

bool Same(const BusWire::TMessage& a, const BusWire::TMessage& b) {
  return a.Type == b.Type && a.Flags == b.Flags && a.Serial == b.Serial && a.ReplySerial == b.ReplySerial &&
         a.Path == b.Path && a.Interface == b.Interface && a.Member == b.Member && a.ErrorName == b.ErrorName &&
         a.Destination == b.Destination && a.Signature == b.Signature && a.UnixFds == b.UnixFds && a.Body == b.Body;
}

void Check(const BusWire::TMessage& message) {
  BusWire::TMessage written = message, again;
  written.Sender.clear();  // the bus's to set, never the program's
  Require(BusWire::Decode(BusWire::Encode(written), again), "a message that came through does not read back");
  Require(Same(written, again), "a message changed when written and read back");
  BusWire::TReader reader(message);
  QByteArray signature = message.Signature;
  while (!signature.isEmpty() && reader.Ok())
    reader.Skip(signature);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Scratch = std::make_unique<QTemporaryDir>();
  Require(Scratch->isValid(), "no scratch directory");
  const QByteArray path = Scratch->filePath(QStringLiteral("bus")).toLocal8Bit();
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  Require(size_t(path.size()) < sizeof address.sun_path, "the scratch path is too long for a socket");
  std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
  Listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  Require(::bind(Listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 && ::listen(Listener, 4) == 0,
          "cannot listen on the scratch socket");
  Address = QStringLiteral("unix:path=") + QString::fromLocal8Bit(path);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  BusWire::TWire wire;
  Require(wire.Open(Address, true) == BusWire::TWire::Opened, "the scratch bus took no connection");
  const int bus = ::accept4(Listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  Require(bus >= 0, "the scratch bus accepted nothing");
  std::size_t sent = 0;
  while (sent < size) {
    const ssize_t put = ::send(bus, data + sent, size - sent, MSG_NOSIGNAL);
    if (put <= 0)
      break;  // the socket is full: the rest is cut off, as by a bus that stops
    sent += std::size_t(put);
  }
  ::shutdown(bus, SHUT_WR);
  for (int round = 0; round < 64 && !wire.Failed() && wire.Socket() >= 0; ++round)
    wire.Read();
  BusWire::TMessage message;
  while (wire.Next(message))
    Check(message);
  ::close(bus);
  return 0;
}
