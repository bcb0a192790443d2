#pragma once
// What the rotation and comment editor window tests share: a main window
// over a folder of their own, with a program folder of its own.

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <memory>

#include "gui_test_support.h"
#include "main_window.h"

namespace pictavo::gui {

class ToolWindowFixture {
 protected:
  QTemporaryDir m_dir;

  QString makeFolder(const QString& name) {
    const QString path = m_dir.filePath(name);
    QDir().mkpath(path);
    return path;
  }
  std::unique_ptr<TMain> openMain(ScriptedDialogs& dialogs, const QString& folder) {
    static int n = 0;
    StartArguments args;
    args.programFolder = m_dir.filePath(QStringLiteral("program%1").arg(++n));
    args.commandLinePath = folder;
    auto window = std::make_unique<TMain>(dialogs, args);
    window->show();
    return window;
  }
};

// A 64 x 48 picture stored sideways: EXIF orientation 6, seen 48 x 64.
inline void MakeSidewaysPicture(const QString& path) {
  const std::string exif("Exif\0\0II\x2a\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 32);
  std::string bytes, error;
  QVERIFY2(EncodeJpeg(Bitmap::Create(64, 48, 24), 90, {{0xE1, exif}}, bytes, error), error.c_str());
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

}  // namespace pictavo::gui
