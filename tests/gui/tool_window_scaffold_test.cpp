// What the windows share around their forms: the busy guard, the status
// strip, the preview label and the up-down control.

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

#include "tool_window.h"
#include "up_down.h"

namespace pictavo::gui {
namespace {

class BusyWindow : public ToolWindow {
 public:
  BusyWindow() : ToolWindow(nullptr, Qt::Dialog) {
    button = new QPushButton(QStringLiteral("実行"), this);
    disableWhileBusy({button});
  }
  using ToolWindow::setBusy;
  QPushButton* button;
};

}  // namespace

class ToolWindowScaffoldTest : public QObject {
  Q_OBJECT

 private slots:
  void aBusyWindowRefusesClosingAndEscapeAndDisablesItsControls() {
    BusyWindow window;
    window.show();
    window.setBusy(true);
    QVERIFY(window.busy());
    QVERIFY(!window.button->isEnabled());
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    window.reject();
    QVERIFY(window.isVisible());

    window.setBusy(false);
    QVERIFY(window.button->isEnabled());
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    window.show();
    QVERIFY(window.close());
  }

  void theStatusStripNamesItsPanelsInOrder() {
    QStatusBar bar;
    const auto panels = FillStatusStrip(&bar, {{100}, {50, Qt::AlignRight | Qt::AlignVCenter}, {40, {}, false, true}});
    QCOMPARE(panels.size(), size_t{3});
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(panels[static_cast<size_t>(i)]->objectName(), QStringLiteral("StatusPanel%1").arg(i));
      QCOMPARE(bar.findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i)), panels[static_cast<size_t>(i)]);
    }
    QCOMPARE(panels[0]->minimumWidth(), 100);
    QCOMPARE(panels[0]->maximumWidth(), 100);
    QCOMPARE(panels[1]->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(panels[0]->frameShape(), QFrame::Panel);
    // A stretching panel keeps its least width and may grow.
    QCOMPARE(panels[2]->minimumWidth(), 40);
    QVERIFY(panels[2]->maximumWidth() > 40);
    QCOMPARE(panels[2]->frameShape(), QFrame::NoFrame);
  }

  void thePreviewShowsAPictureOverItsBoxAndHidesForNone() {
    QWidget panel;
    auto* image = new QLabel(&panel);
    panel.show();
    ShowPreviewPicture(image, Bitmap::Create(8, 6, 24), QRect(5, 44, 116, 39));
    QVERIFY(image->isVisible());
    QCOMPARE(image->geometry(), QRect(5, 44, 116, 39));
    QCOMPARE(image->pixmap().size(), QSize(8, 6));
    ShowPreviewPicture(image, Bitmap{}, QRect(0, 0, 10, 10));
    QVERIFY(!image->isVisible());
    QVERIFY(image->pixmap().isNull());  // nothing of the last picture is kept
  }

  void theUpDownStaysInItsRangeAndReportsChangesOnly() {
    UpDown upDown;
    upDown.setRange(1, 7);
    upDown.setValue(3);
    QSignalSpy changed(&upDown, &UpDown::valueChanged);
    auto* up = upDown.findChild<QToolButton*>(QStringLiteral("UpDown1Up"));
    auto* down = upDown.findChild<QToolButton*>(QStringLiteral("UpDown1Down"));
    QVERIFY(up && down);
    QVERIFY(!up->accessibleName().isEmpty() && !down->accessibleName().isEmpty());
    for (int i = 0; i < 6; ++i) up->click();
    QCOMPARE(upDown.value(), 7);
    QCOMPARE(changed.count(), 4);  // 4, 5, 6, 7; the clicks past the top change nothing
    upDown.setRange(1, 5);         // a narrower range pulls the value in
    QCOMPARE(upDown.value(), 5);
    for (int i = 0; i < 9; ++i) down->click();
    QCOMPARE(upDown.value(), 1);
  }
};

}  // namespace pictavo::gui

int RunToolWindowScaffoldTests(int argc, char** argv) {
  pictavo::gui::ToolWindowScaffoldTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "tool_window_scaffold_test.moc"
