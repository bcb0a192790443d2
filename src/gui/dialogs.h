#pragma once
// Every message box, question, file, folder and colour dialog of the windows,
// and the desktop's openers, behind one interface: the program uses
// QtDialogs, the tests a scripted one that answers in advance and records
// what was asked.

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace pictavo::gui {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A modal message; the text's "\r" line breaks are already "\n".
  virtual void message(QWidget* parent, const QString& text) = 0;
  // A Yes/No question with its caption; true for Yes.
  virtual bool question(QWidget* parent, const QString& text, const QString& caption) = 0;
  // File dialogs with a filter in the form "text|pattern"; nullopt when cancelled.
  virtual std::optional<QString> openFile(QWidget* parent, const QString& filter, const QString& folder) = 0;
  virtual std::optional<QString> saveFile(QWidget* parent, const QString& filter, const QString& folder) = 0;
  // An open-file dialog with its own title; by default the untitled one.
  virtual std::optional<QString> openFileTitled(QWidget* parent, const QString& title, const QString& filter,
                                                const QString& folder) {
    (void)title;
    return openFile(parent, filter, folder);
  }
  virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& start) = 0;
  virtual std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) = 0;
  // The program's own folder chooser window (FolderChooserDialog), which keeps its
  // drive and folder between uses: the chosen folder after it closes, nullopt
  // when none is chosen (キャンセル, or closed before any choice).
  virtual std::optional<QString> chooseFolderInWindow(QWidget* parent) = 0;
  // Starts `program` detached with one argument in `folder`; opens a document
  // with the desktop's associated program. Neither reports a failure.
  virtual void startProgram(const QString& program, const QString& argument, const QString& folder) = 0;
  virtual void openDocument(const QString& path) = 0;
};

class FolderChooserDialog;

class QtDialogs : public Dialogs {
 public:
  QtDialogs();
  ~QtDialogs() override;
  void message(QWidget* parent, const QString& text) override;
  bool question(QWidget* parent, const QString& text, const QString& caption) override;
  std::optional<QString> openFile(QWidget* parent, const QString& filter, const QString& folder) override;
  std::optional<QString> saveFile(QWidget* parent, const QString& filter, const QString& folder) override;
  std::optional<QString> openFileTitled(QWidget* parent, const QString& title, const QString& filter,
                                        const QString& folder) override;
  std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& start) override;
  std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) override;
  std::optional<QString> chooseFolderInWindow(QWidget* parent) override;
  void startProgram(const QString& program, const QString& argument, const QString& folder) override;
  void openDocument(const QString& path) override;

 private:
  FolderChooserDialog* m_chooser = nullptr;  // made at first use, kept for the run
};

// "設定ファイル(*.ini)|*.ini" as a Qt name filter: "設定ファイル(*.ini) (*.ini)".
QString QtFilter(const QString& filter);

}  // namespace pictavo::gui
