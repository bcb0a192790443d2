#pragma once
// One instance per user: the first start listens on a local socket in a
// folder only the user can reach (ChoosePrivateFolder); a later start hands
// its command line over to it and ends. Without such a folder there is no
// guard, and every start runs on its own.

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace pictavo::gui {

class InstanceGuard : public QObject {
  Q_OBJECT
 public:
  // `name`: the socket's file name inside the private folder.
  explicit InstanceGuard(const QString& name = QStringLiteral("pictavo-KAPRI"), QObject* parent = nullptr);
  ~InstanceGuard() override;

  // True when this is the first instance (it now listens); false when a
  // running instance took `arguments`, and this one should end.
  bool claim(const QStringList& arguments);
  QString socketPath() const { return m_path; }

 signals:
  // A later start's command line (without the program name).
  void handedOver(const QStringList& arguments);

 private:
  void readHandOver();

  QString m_path;
  QLocalServer* m_server = nullptr;
};

}  // namespace pictavo::gui
