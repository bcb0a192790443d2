#pragma once
// What the tool windows' tests share: a main window with its own program
// folder under a temporary home, and folders of pictures.

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "gui_test_support.h"
#include "main_window.h"

namespace pictavo::gui {

class ToolWindowFixture {
 public:
  ToolWindowFixture() {
    QVERIFY(m_dir.isValid());
    m_home = makeFolder(QStringLiteral("home"));
    qputenv("HOME", m_home.toUtf8());
  }
  QString path(const QString& name) const { return m_dir.filePath(name); }
  QString makeFolder(const QString& name) {
    QDir().mkpath(path(name));
    return path(name);
  }
  // A folder holding JPEG pictures of the given sizes, named p1.jpg, p2.jpg ...
  QString pictureFolder(const QString& name, std::initializer_list<QSize> sizes) {
    const QString folder = makeFolder(name);
    int n = 0;
    for (const QSize& s : sizes) MakePicture(folder + QStringLiteral("/p%1.jpg").arg(++n), s.width(), s.height());
    return folder;
  }
  // A main window at `folder` with a fresh program folder.
  std::unique_ptr<MainWindow> openMain(ScriptedDialogs& dialogs, const QString& folder) {
    static int n = 0;
    StartArguments args;
    args.programFolder = path(QStringLiteral("program%1").arg(++n));
    args.commandLinePath = folder;
    auto window = std::make_unique<MainWindow>(dialogs, args);
    window->show();
    return window;
  }
  static void trigger(QWidget* window, const char* action) {
    auto* a = window->findChild<QAction*>(QLatin1String(action));
    QVERIFY2(a, action);
    a->trigger();
  }

 private:
  QTemporaryDir m_dir;
  QString m_home;
};


}  // namespace pictavo::gui
