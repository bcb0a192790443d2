#pragma once
// The settings check view (設定確認, object name Tsetview): the current
// folder and the nine fields that decide where and how a run writes,
// editable in place. 更新 changes the record only; no settings file is
// written. The controls are laid out in settings_view_window.ui, each label
// before its field and its buddy, so a screen reader reads label, then field.

#include <QDialog>
#include <QPoint>
#include <memory>

#include "settings/option_form.h"

namespace Ui {
class SettingsCheckView;
}

namespace pictavo {
struct Session;
}

namespace pictavo::gui {

class SettingsCheckView : public QDialog {
  Q_OBJECT
 public:
  // Over the session, owned by `parent`, placed beside `start` (where the
  // main window stood at start).
  SettingsCheckView(Session& session, QWidget* parent, QPoint start);
  ~SettingsCheckView() override;

  // The rows from the record and the current folder; run at every opening.
  void fill();

 public slots:
  void Button1Click();  // OK: close, nothing written
  void Button2Click();  // 更新: the rows into the record, then close

 private:
  CheckViewRows rows() const;

  Session& m_session;
  std::unique_ptr<Ui::SettingsCheckView> m_ui;
};

}  // namespace pictavo::gui
