// Every window's focusable controls carry an accessible name: captions,
// labels set as buddies, or a name of their own for the caption-less ones.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "accessibility_support.h"
#include "batch_window.h"
#include "bmp_window.h"
#include "comment_window.h"
#include "folder_widgets.h"
#include "options_window.h"
#include "publish_window.h"
#include "rotation_window.h"
#include "settings_view_window.h"
#include "toc_window.h"
#include "tool_window_fixture.h"

namespace pictavo::gui {

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void theCheckFindsAnUnnamedFieldAndAcceptsABuddy() {
    QWidget window;
    window.setObjectName(QStringLiteral("Probe"));
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel(QStringLiteral("タイトル"), &window);
    auto* titled = new QLineEdit(&window);
    titled->setObjectName(QStringLiteral("Titled"));
    label->setBuddy(titled);
    auto* bare = new QLineEdit(&window);
    bare->setObjectName(QStringLiteral("Bare"));
    auto* arrow = new QToolButton(&window);
    arrow->setObjectName(QStringLiteral("Arrow"));
    arrow->setArrowType(Qt::UpArrow);
    auto* hidden = new QPushButton(&window);
    hidden->setObjectName(QStringLiteral("Hidden"));
    hidden->hide();  // hidden until a run shows it: still checked
    for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(titled), static_cast<QWidget*>(bare),
                       static_cast<QWidget*>(arrow), static_cast<QWidget*>(hidden)}) {
      layout->addWidget(w);
    }
    QCOMPARE(test::UnnamedFocusableControls(&window), (QStringList{"Bare", "Arrow", "Hidden"}));
    bare->setAccessibleName(QStringLiteral("名前"));
    arrow->setAccessibleName(QStringLiteral("値を増やす"));
    hidden->setText(QStringLiteral("中止"));
    test::ExpectEveryFocusableControlNamed(&window);
  }

  void everyWindowNamesItsControls() {
    ToolWindowFixture fixture;
    ScriptedDialogs dialogs;
    const QString folder = fixture.pictureFolder(QStringLiteral("trip"), {{40, 30}, {30, 40}});
    auto main = fixture.openMain(dialogs, folder);
    test::ExpectEveryFocusableControlNamed(main.get());

    TableOfContentsWindow* toc = main->tocWindow();
    test::ExpectEveryFocusableControlNamed(toc);
    toc->openBatch();  // made even when no folder below holds pictures
    QVERIFY(toc->batchWindow());
    test::ExpectEveryFocusableControlNamed(toc->batchWindow());
    toc->batchWindow()->hide();
    toc->openPublish();
    QVERIFY(toc->publishWindow());
    test::ExpectEveryFocusableControlNamed(toc->publishWindow());
    toc->publishWindow()->hide();
    toc->hide();

    test::ExpectEveryFocusableControlNamed(main->bmpWindow());
    test::ExpectEveryFocusableControlNamed(main->rotationWindow());
    test::ExpectEveryFocusableControlNamed(main->commentWindow());
    FolderChooserDialog chooser;
    test::ExpectEveryFocusableControlNamed(&chooser);
    main->openOptions();
    QVERIFY(main->options());
    test::ExpectEveryFocusableControlNamed(main->options());
    main->options()->hide();
    main->openSettingsView();
    QVERIFY(main->settingsView());
    test::ExpectEveryFocusableControlNamed(main->settingsView());
    main->settingsView()->hide();

    bool checked = false;
    QTimer::singleShot(0, this, [&] {
      auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QVERIFY(about);
      test::ExpectEveryFocusableControlNamed(about);
      checked = true;
      about->accept();
    });
    ToolWindowFixture::trigger(main.get(), "about1");
    QVERIFY(checked);
  }
};

}  // namespace pictavo::gui

QTEST_MAIN(pictavo::gui::AccessibilityTest)
#include "accessibility_test.moc"
