#include "keyboard_menu.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>

namespace pictavo::gui {

namespace {

class MenuKeyFilter : public QObject {
 public:
  explicit MenuKeyFilter(QWidget* widget) : QObject(widget), m_widget(widget) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != m_widget || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool menuKey = key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier;
    const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
    if (!menuKey && !shiftF10) return false;
    QPoint at = m_widget->rect().center();
    if (auto* view = qobject_cast<QAbstractItemView*>(m_widget)) {
      const QRect item = view->visualRect(view->currentIndex());
      at = item.isValid() ? item.center() : view->viewport()->rect().center();
    }
    emit m_widget->customContextMenuRequested(at);
    return true;  // taken: no second menu from the platform
  }

 private:
  QWidget* m_widget;
};

}  // namespace

void OpenMenuFromKeyboard(QWidget* widget) { widget->installEventFilter(new MenuKeyFilter(widget)); }

}  // namespace pictavo::gui
