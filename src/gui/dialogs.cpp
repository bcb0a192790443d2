#include "dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include "folder_widgets.h"
#include "platform/paths.h"

namespace pictavo::gui {

void QtDialogs::message(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QStringLiteral("Pictavo"), text);
}

bool QtDialogs::question(QWidget* parent, const QString& text, const QString& caption) {
  return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString QtFilter(const QString& filter) {
  const qsizetype bar = filter.indexOf(QLatin1Char('|'));
  if (bar < 0) return filter;
  return filter.left(bar) + QStringLiteral(" (") + filter.mid(bar + 1) + QStringLiteral(")");
}

std::optional<QString> QtDialogs::openFile(QWidget* parent, const QString& filter, const QString& folder) {
  return openFileTitled(parent, QString(), filter, folder);
}

std::optional<QString> QtDialogs::openFileTitled(QWidget* parent, const QString& title, const QString& filter,
                                                 const QString& folder) {
  const QString path = QFileDialog::getOpenFileName(parent, title, folder, QtFilter(filter));
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> QtDialogs::saveFile(QWidget* parent, const QString& filter, const QString& folder) {
  // The save command itself decides about an existing file.
  const QString path = QFileDialog::getSaveFileName(parent, QString(), folder, QtFilter(filter), nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> QtDialogs::chooseFolder(QWidget* parent, const QString& title, const QString& start) {
  const QString path = QFileDialog::getExistingDirectory(parent, title, start);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

QtDialogs::QtDialogs() = default;
QtDialogs::~QtDialogs() { delete m_chooser; }

std::optional<QString> QtDialogs::chooseFolderInWindow(QWidget* parent) {
  if (!m_chooser) m_chooser = new FolderChooserDialog(parent ? parent->window() : nullptr);
  m_chooser->choose(QString::fromStdString(HomeFolder()));
  if (m_chooser->chosenFolder().isEmpty()) return std::nullopt;
  return m_chooser->chosenFolder();
}

std::optional<QColor> QtDialogs::chooseColour(QWidget* parent, const QColor& initial) {
  const QColor c = QColorDialog::getColor(initial, parent);
  if (!c.isValid()) return std::nullopt;
  return c;
}

void QtDialogs::startProgram(const QString& program, const QString& argument, const QString& folder) {
  QProcess::startDetached(program, {argument}, folder);
}

void QtDialogs::openDocument(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

}  // namespace pictavo::gui
