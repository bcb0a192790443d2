#pragma once
// What the window tests share: dialogs answered in advance, controls found
// by object name inside their window, small pictures and file reads.

#include <QColor>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QtTest>
#include <deque>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "dialogs.h"
#include "image/jpeg.h"

namespace pictavo::gui {

// Answers every dialog from what the test put in beforehand and records
// what was shown.
class ScriptedDialogs : public Dialogs {
 public:
  void message(QWidget*, const QString& text) override { messages << text; }
  bool question(QWidget*, const QString& text, const QString& caption) override {
    questions << caption + "|" + text;
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  std::optional<QString> openFile(QWidget*, const QString&, const QString&) override { return openPath; }
  std::optional<QString> openFileTitled(QWidget*, const QString& title, const QString&, const QString&) override {
    fileTitles << title;
    return openPath;
  }
  std::optional<QString> saveFile(QWidget*, const QString&, const QString&) override { return savePath; }
  std::optional<QString> chooseFolder(QWidget*, const QString& title, const QString&) override {
    folderTitles << title;
    return folder;
  }
  std::optional<QColor> chooseColour(QWidget*, const QColor&) override { return colour; }
  std::optional<QString> chooseFolderInWindow(QWidget*) override {
    ++chooserOpenings;
    return chosenFolder;
  }
  void startProgram(const QString& program, const QString& argument, const QString& dir) override {
    opened << program + "|" + argument + "|" + dir;
  }
  void openDocument(const QString& path) override { opened << "|" + path; }

  QStringList messages, questions, opened, folderTitles, fileTitles;
  std::deque<bool> answers;
  std::optional<QString> openPath, savePath, folder;
  std::optional<QColor> colour;
  std::optional<QString> chosenFolder;  // the chooser window's answer
  int chooserOpenings = 0;
};

inline void MakePicture(const QString& path, int w, int h) {
  Bitmap b = Bitmap::Create(w, h, 24);
  for (size_t i = 0; i < b.data.size(); ++i) b.data[i] = static_cast<uint8_t>(i * 7);
  const Status written = WriteJpegFile(path.toStdString(), b, 80);
  QVERIFY2(written.ok(), written.reason().c_str());
}

// A 64 x 48 picture stored sideways: EXIF orientation 6, seen 48 x 64.
inline void MakeSidewaysPicture(const QString& path) {
  const std::string exif("Exif\0\0II\x2a\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 32);
  std::string bytes;
  const Status encoded = EncodeJpeg(Bitmap::Create(64, 48, 24), 90, {{0xE1, exif}}, bytes);
  QVERIFY2(encoded.ok(), encoded.reason().c_str());
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

// Every file below `root` (hidden ones too) with its bytes, by relative path.
inline QMap<QString, QByteArray> FilesBelow(const QString& root) {
  QMap<QString, QByteArray> files;
  QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString file = it.next();
    QFile f(file);
    if (f.open(QIODevice::ReadOnly)) files.insert(QDir(root).relativeFilePath(file), f.readAll());
  }
  return files;
}

inline std::string ReadFile(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

inline QStringList ListNames(QListWidget* list, bool markSelected = true) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i) {
    names << list->item(i)->text() + (markSelected && list->item(i)->isSelected() ? "*" : "");
  }
  return names;
}

template <typename T>
T* Find(QWidget* window, const char* name) {
  T* found = window->findChild<T*>(QLatin1String(name));
  if (!found) qWarning("no control %s", name);
  return found;
}

}  // namespace pictavo::gui
