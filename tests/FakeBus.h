#pragma once
// A session bus on a socket of its own that misbehaves as a broken one would, for the tests
// and the benchmarks. It answers the opening conversation line by line, as a bus does, so
// that a client that waits for each answer (the bus library) meets the same fault as one
// that sends everything at once (the program's own).
#include "BusWire.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

enum class TFault {
  Mute,                   // authenticates, then never answers
  MuteAfterHello,         // authenticates and answers Hello, then never answers
  OneByte,                // answers the opening with one byte, then nothing
  ClosesAtFirstMessage,   // authenticates and closes when the first message comes
  ClosesMidReply,         // authenticates, sends part of an answer to the first message, closes
  Unanswering             // takes the connection and never says a word
};

class TFakeBus {
public:
  TFakeBus(TFault fault, const QString& folder) : Fault(fault), Path(folder.toLocal8Bit() + "/fake-bus") {
    Listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, Path.constData(), sizeof address.sun_path - 1);
    ::unlink(Path.constData());
    if (::bind(Listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
      ::listen(Listener, 64);
    Thread = std::thread([this] { Serve(); });
  }
  TFakeBus(const TFakeBus&) = delete;
  TFakeBus& operator=(const TFakeBus&) = delete;
  ~TFakeBus() {
    Stopping = true;
    Thread.join();
    for (const TClient& client : Clients)
      ::close(client.Fd);
    ::close(Listener);
  }
  QString Address() const { return QStringLiteral("unix:path=") + QString::fromLocal8Bit(Path); }

private:
  struct TClient {
    int Fd = -1;
    QByteArray Heard;
    bool Begun = false;  // past BEGIN: messages now
    bool Said = false;   // the one thing this fault says has been said
  };

  void Serve() {
    while (!Stopping) {
      std::vector<pollfd> ready{{Listener, POLLIN, 0}};
      for (const TClient& client : Clients)
        ready.push_back({client.Fd, POLLIN, 0});
      if (::poll(ready.data(), ready.size(), 20) <= 0)
        continue;
      for (size_t i = ready.size() - 1; i > 0; --i)
        if (ready[i].revents && !Hear(Clients[i - 1])) {
          ::close(Clients[i - 1].Fd);
          Clients.erase(Clients.begin() + long(i - 1));
        }
      if (ready[0].revents & POLLIN)
        for (int fd; (fd = ::accept4(Listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;)
          Clients.push_back(TClient{fd, {}, false, false});
    }
  }

  // Reads what the client sent and answers as the fault does; false to close the connection.
  bool Hear(TClient& client) {
    char buffer[4096];
    const ssize_t got = ::read(client.Fd, buffer, sizeof buffer);
    if (got <= 0)
      return got < 0;  // a read that would block keeps the client; its end closes it
    client.Heard.append(buffer, got);
    if (Fault == TFault::Unanswering)
      return true;
    if (Fault == TFault::OneByte)
      return std::exchange(client.Said, true) || Say(client, "O");
    while (!client.Begun && client.Heard.contains("\r\n")) {
      const qsizetype end = client.Heard.indexOf("\r\n");
      const QByteArray line = client.Heard.left(end).replace('\0', QByteArray());
      client.Heard.remove(0, end + 2);
      client.Begun = line == "BEGIN";
      if (line.startsWith("AUTH"))
        Say(client, "OK 0123456789abcdef0123456789abcdef\r\n");
      else if (line == "NEGOTIATE_UNIX_FD")
        Say(client, "AGREE_UNIX_FD\r\n");
      else if (!client.Begun)
        Say(client, "ERROR\r\n");
    }
    if (!client.Begun || client.Heard.isEmpty())
      return true;
    switch (Fault) {
    case TFault::ClosesAtFirstMessage: return false;
    case TFault::ClosesMidReply: Say(client, QByteArray("l\x02\x01\x01\x04\x00\x00\x00", 8)); return false;
    case TFault::MuteAfterHello: {
      if (client.Said)
        return true;
      const QByteArray reply = HelloReply(client.Heard);
      client.Said = !reply.isEmpty();
      return reply.isEmpty() || Say(client, reply);
    }
    default: client.Heard.clear(); return true;
    }
  }

  static bool Say(const TClient& client, const QByteArray& bytes) {
    return ::send(client.Fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
  }

  // The bus's answer to the Hello at the start of bytes; empty until it has come whole.
  static QByteArray HelloReply(const QByteArray& bytes) {
    BusWire::TMessage hello, reply;
    const qsizetype length = BusWire::MessageLength(bytes);
    if (length <= 0 || !BusWire::Decode(bytes.left(length), hello))
      return {};
    reply.Type = BusWire::mtReturn;
    reply.Serial = 1;
    reply.ReplySerial = hello.Serial;
    BusWire::TWriter(reply).String(QStringLiteral(":1.1"));
    return BusWire::Encode(reply);
  }

  const TFault Fault;
  const QByteArray Path;
  int Listener = -1;
  std::vector<TClient> Clients;
  std::atomic<bool> Stopping = false;
  std::thread Thread;
};
