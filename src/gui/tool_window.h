#pragma once
// What the windows share around their forms: the status strip's panels,
// the preview label inside its panel, and ToolWindow, the dialog that
// refuses to close while its command runs and disables its controls then.

#include <QDialog>
#include <initializer_list>
#include <vector>

#include "image/bitmap.h"

class QLabel;
class QRect;
class QStatusBar;

namespace pictavo::gui {

// One panel of a status strip: its width (fixed, or with `stretch` the
// least width of a panel that takes the rest), alignment and frame.
struct StatusPanelSpec {
  int width;
  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
  bool sunken = true;
  bool stretch = false;
};
// Adds the panels StatusPanel0, StatusPanel1 ... to `bar` in order.
std::vector<QLabel*> FillStatusStrip(QStatusBar* bar, std::initializer_list<StatusPanelSpec> panels);

// The preview label over `geometry` of its panel showing `picture` (the
// label scales it when it is set to); an empty picture hides the label.
void ShowPreviewPicture(QLabel* image, const Bitmap& picture, const QRect& geometry);

class ToolWindow : public QDialog {
  Q_OBJECT
 public:
  // True while the window's command runs: closing and Esc are refused.
  bool busy() const { return m_busy; }

 public slots:
  void reject() override;

 protected:
  ToolWindow(QWidget* parent, Qt::WindowFlags flags);
  // The controls disabled while the command runs.
  void disableWhileBusy(std::initializer_list<QWidget*> controls);
  void setBusy(bool busy);
  // Whether closing is refused now; a window that hands work to another
  // window may refuse longer.
  virtual bool keepOpen() const { return m_busy; }
  void closeEvent(QCloseEvent* event) override;

 private:
  bool m_busy = false;
  std::vector<QWidget*> m_busyControls;
};

}  // namespace pictavo::gui
