#pragma once
// Every control a keyboard can reach must tell a screen reader what it is:
// the helpers walk a window's widgets through Qt's accessibility interface.

#include <QAccessible>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <QtTest>

namespace pictavo::test {

// The object names (or class names) of the focusable controls in `window`
// whose accessible name is empty. A control that hands its focus to another
// (a spin box to its line edit) is judged by itself, not by the inner one.
inline QStringList UnnamedFocusableControls(QWidget* window) {
  QStringList unnamed;
  QList<QWidget*> widgets = window->findChildren<QWidget*>();
  widgets.prepend(window);
  for (QWidget* w : widgets) {
    // Pop-ups (a combo box's list) are windows of their own.
    if (w->focusPolicy() == Qt::NoFocus || w->focusProxy() || w->window() != window->window()) continue;
    QWidget* judged = w;
    if (QWidget* parent = w->parentWidget(); parent && parent->focusProxy() == w) judged = parent;
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(judged);
    if (access && !access->text(QAccessible::Name).trimmed().isEmpty()) continue;
    unnamed << (judged->objectName().isEmpty() ? QString::fromLatin1(judged->metaObject()->className())
                                               : judged->objectName());
  }
  unnamed.removeDuplicates();
  return unnamed;
}

// Fails the running test when a focusable control of `window` has no accessible name.
inline void ExpectEveryFocusableControlNamed(QWidget* window) {
  const QStringList unnamed = UnnamedFocusableControls(window);
  QVERIFY2(unnamed.isEmpty(),
           qPrintable(window->objectName() + QStringLiteral(": ") + unnamed.join(QStringLiteral(", "))));
}

}  // namespace pictavo::test
