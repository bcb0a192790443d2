#include "instance_guard.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace pictavo::gui {

namespace {
constexpr int kTimeoutMs = 2000;
}

InstanceGuard::InstanceGuard(const QString& name, QObject* parent) : QObject(parent) {
  // The runtime folder is the user's own, so two users each get their instance.
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  m_path = QDir(folder).filePath(name);
}

InstanceGuard::~InstanceGuard() = default;

bool InstanceGuard::claim(const QStringList& arguments) {
  // Two starts at the same moment must not both become the first.
  QLockFile lock(m_path + QStringLiteral(".lock"));
  lock.lock();
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
    connect(socket, &QLocalSocket::readChannelFinished, this, [this, socket] {
      QDataStream in(socket->readAll());
      QStringList arguments;
      in >> arguments;
      if (in.status() == QDataStream::Ok) emit handedOver(arguments);
    });
  }
}

}  // namespace pictavo::gui
