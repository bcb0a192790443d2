#include "instance_guard.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <optional>

#include "platform/private_folder.h"

namespace pictavo::gui {

namespace {
constexpr int kTimeoutMs = 2000;

quint32 BigEndian32(const QByteArray& b, qsizetype at) {
  const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
  return (quint32{p[0]} << 24) | (quint32{p[1]} << 16) | (quint32{p[2]} << 8) | quint32{p[3]};
}

// A string list in the form QDataStream writes it (a count, then each
// string's byte length and UTF-16 big-endian units), read with every count
// checked against the bytes present: the stream's own reader reserves what
// the count claims before it reads.
std::optional<QStringList> ReadHandOver(const QByteArray& bytes) {
  qsizetype at = 0;
  auto have = [&](qint64 n) { return n >= 0 && at + n <= bytes.size(); };
  if (!have(4)) return std::nullopt;
  const quint32 count = BigEndian32(bytes, at);
  at += 4;
  if (count > static_cast<quint32>(bytes.size() / 4)) return std::nullopt;
  QStringList out;
  for (quint32 i = 0; i < count; ++i) {
    if (!have(4)) return std::nullopt;
    const quint32 length = BigEndian32(bytes, at);
    at += 4;
    if (length == 0xFFFFFFFFu) {
      out.append(QString());
      continue;
    }
    if (length % 2 != 0 || !have(length)) return std::nullopt;
    QString s(static_cast<qsizetype>(length / 2), Qt::Uninitialized);
    for (qsizetype k = 0; k < s.size(); ++k) {
      const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + at + 2 * k;
      s[k] = QChar(static_cast<char16_t>((p[0] << 8) | p[1]));
    }
    at += length;
    out.append(std::move(s));
  }
  if (at != bytes.size()) return std::nullopt;
  return out;
}
}  // namespace

InstanceGuard::InstanceGuard(const QString& name, QObject* parent) : QObject(parent) {
  std::string folder, error;
  if (!ChoosePrivateFolder(PrivateFolderEnvironmentOfProcess(), folder, error)) {
    qWarning("%s", error.c_str());
    return;
  }
  m_path = QDir(QString::fromStdString(folder)).filePath(name);
}

InstanceGuard::~InstanceGuard() = default;

bool InstanceGuard::claim(const QStringList& arguments) {
  if (m_path.isEmpty()) return true;
  // Two starts at the same moment must not both become the first; the lock
  // is waited on for a while only, never for ever.
  QLockFile lock(m_path + QStringLiteral(".lock"));
  (void)lock.tryLock(2 * kTimeoutMs);
  {
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (socket.waitForConnected(kTimeoutMs)) {
      QByteArray bytes;
      QDataStream out(&bytes, QIODevice::WriteOnly);
      out << arguments;  // paths keep their full length
      socket.write(bytes);
      socket.waitForBytesWritten(kTimeoutMs);
      socket.disconnectFromServer();
      if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kTimeoutMs);
      return false;
    }
  }
  // Nobody answers: a socket file left by a crash is removed.
  QLocalServer::removeServer(m_path);
  m_server = new QLocalServer(this);
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!m_server->listen(m_path)) {
    qWarning("%s: %s", qPrintable(m_path), qPrintable(m_server->errorString()));
    return true;  // no guard, but the program still runs
  }
  connect(m_server, &QLocalServer::newConnection, this, &InstanceGuard::readHandOver);
  return true;
}

void InstanceGuard::readHandOver() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // The socket buffers one byte past the limit, so an oversized message
    // costs no more than that before it is dropped.
    socket->setReadBufferSize(kMaxHandOverBytes + 1);
    // Marked before it is closed: closing ends the read channel too, and
    // what is left then is no message.
    static constexpr const char* kDropped = "pictavoDropped";
    connect(socket, &QLocalSocket::readyRead, socket, [socket] {
      if (socket->bytesAvailable() <= kMaxHandOverBytes) return;
      socket->setProperty(kDropped, true);
      socket->abort();
    });
    connect(socket, &QLocalSocket::readChannelFinished, this, [this, socket] {
      if (socket->property(kDropped).toBool() || socket->bytesAvailable() > kMaxHandOverBytes) return;
      if (const std::optional<QStringList> arguments = ReadHandOver(socket->readAll())) emit handedOver(*arguments);
    });
  }
}

}  // namespace pictavo::gui
