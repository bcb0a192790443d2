#include "instance_guard.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <optional>
#include <string>
#include <vector>

#include "platform/hand_over.h"
#include "platform/private_folder.h"

namespace pictavo::gui {

namespace {
constexpr int kTimeoutMs = 2000;
constexpr qint64 kMaxMessage = static_cast<qint64>(kMaxHandOverBytes);
}  // namespace

InstanceGuard::InstanceGuard(const QString& name, QObject* parent) : QObject(parent) {
  std::string folder;
  if (const Status chosen = ChoosePrivateFolder(PrivateFolderEnvironmentOfProcess(), folder); !chosen.ok()) {
    qWarning("%s", chosen.reason().c_str());
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
      std::vector<std::string> whole;
      for (const QString& a : arguments) whole.push_back(a.toStdString());  // paths keep their full length
      socket.write(QByteArray::fromStdString(WriteHandOver(whole)));
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
    socket->setReadBufferSize(kMaxMessage + 1);
    // Marked before it is closed: closing ends the read channel too, and
    // what is left then is no message.
    static constexpr const char* kDropped = "pictavoDropped";
    connect(socket, &QLocalSocket::readyRead, socket, [socket] {
      if (socket->bytesAvailable() <= kMaxMessage) return;
      socket->setProperty(kDropped, true);
      socket->abort();
    });
    connect(socket, &QLocalSocket::readChannelFinished, this, [this, socket] {
      if (socket->property(kDropped).toBool() || socket->bytesAvailable() > kMaxMessage) return;
      const std::optional<std::vector<std::string>> arguments = ReadHandOver(socket->readAll().toStdString());
      if (!arguments) return;
      QStringList list;
      for (const std::string& a : *arguments) list << QString::fromStdString(a);
      emit handedOver(list);
    });
  }
}

}  // namespace pictavo::gui
