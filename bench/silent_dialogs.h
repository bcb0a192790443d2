#pragma once
// Dialogs for the window benchmarks: every question answered No, nothing shown.

#include "dialogs.h"

namespace pictavo::bench {

class SilentDialogs : public gui::Dialogs {
 public:
  void message(QWidget*, const QString&) override {}
  bool question(QWidget*, const QString&, const QString&) override { return false; }
  std::optional<QString> openFile(QWidget*, const QString&, const QString&) override { return {}; }
  std::optional<QString> saveFile(QWidget*, const QString&, const QString&) override { return {}; }
  std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
  std::optional<QColor> chooseColour(QWidget*, const QColor&) override { return {}; }
  std::optional<QString> chooseFolderInWindow(QWidget*) override { return {}; }
  void startProgram(const QString&, const QString&, const QString&) override {}
  void openDocument(const QString&) override {}
};

}  // namespace pictavo::bench
