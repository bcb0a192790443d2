// The table-of-contents window: its controls and enabling rules, the title
// kept or reset on opening, the background picture's dialog, and Execute
// over albums the main window made.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "tool_window_fixture.h"
#include "toc_window.h"

namespace pictavo::gui {

class TocWindowTest : public QObject, public ToolWindowFixture {
  Q_OBJECT

 private slots:
  void opensFromItsMenuItemAndButtonWithItsControls() {
    ScriptedDialogs dialogs;
    const QString folder = makeFolder(QStringLiteral("trips"));
    auto main = openMain(dialogs, folder);
    trigger(main.get(), "mokuji1");
    TableOfContentsWindow* toc = main->tocWindow();
    QVERIFY(toc->isVisible());
    QVERIFY(toc->isModal());
    QCOMPARE(toc->windowTitle(), QStringLiteral("目次作成"));
    QCOMPARE(toc->folder(), folder);
    QCOMPARE(Find<QLineEdit>(toc, "HPtytlebox")->text(), QStringLiteral("trips"));
    QCOMPARE(Find<QPushButton>(toc, "Button1")->toolTip(), QStringLiteral("目次となるページを作成します。"));
    QCOMPARE(Find<QAction>(toc, "N2")->text(), QStringLiteral("連続アルバム作成"));
    toc->close();
    QVERIFY(!toc->isVisible());
    QTest::mouseClick(Find<QToolButton>(main.get(), "mokujiBtn"), Qt::LeftButton);
    QVERIFY(toc->isVisible());
    QCOMPARE(main->tocWindow(), toc);  // made once

    // The frame size and the background picture are off until their check boxes say so.
    auto* edit5 = Find<QLineEdit>(toc, "Edit5");
    QCOMPARE(edit5->text(), QStringLiteral("3"));
    QVERIFY(!edit5->isEnabled());
    QVERIFY(!Find<QWidget>(toc, "UpDown1")->isEnabled());
    QVERIFY(!Find<QWidget>(toc, "Edit2")->isEnabled());
    QVERIFY(!Find<QWidget>(toc, "Button4")->isEnabled());
    Find<QCheckBox>(toc, "framecheck")->setChecked(true);
    QVERIFY(edit5->isEnabled());
    QVERIFY(Find<QWidget>(toc, "UpDown1")->isEnabled());
    for (int i = 0; i < 6; ++i) Find<QToolButton>(toc, "UpDown1Up")->click();
    QCOMPARE(edit5->text(), QStringLiteral("7"));  // no wrap
    for (int i = 0; i < 9; ++i) Find<QToolButton>(toc, "UpDown1Down")->click();
    QCOMPARE(edit5->text(), QStringLiteral("1"));
    QCOMPARE(toc->options().frameTitleSize, 1);
    Find<QCheckBox>(toc, "framecheck")->setChecked(false);
    QVERIFY(!edit5->isEnabled());
    Find<QCheckBox>(toc, "Check3")->setChecked(true);
    QVERIFY(Find<QWidget>(toc, "Edit2")->isEnabled());
    QVERIFY(Find<QWidget>(toc, "Button4")->isEnabled());
  }

  void theTitleIsResetOnlyWhenTheFolderChanges() {
    ScriptedDialogs dialogs;
    const QString one = makeFolder(QStringLiteral("title/one"));
    const QString two = makeFolder(QStringLiteral("title/two"));
    auto main = openMain(dialogs, one);
    main->openTableOfContents();
    TableOfContentsWindow* toc = main->tocWindow();
    auto* title = Find<QLineEdit>(toc, "HPtytlebox");
    title->setText(QStringLiteral("わたしの旅"));
    toc->close();
    main->openTableOfContents();
    QCOMPARE(title->text(), QStringLiteral("わたしの旅"));
    toc->close();
    main->goToPath(two);
    main->openTableOfContents();
    QCOMPARE(title->text(), QStringLiteral("two"));
    // Moving the window's own folder list retitles too, to the last component.
    toc->goTo(one);
    QCOMPARE(title->text(), QStringLiteral("one"));
    toc->goTo(QStringLiteral("/"));
    QCOMPARE(title->text(), QString());
  }

  void aCancelledPictureDialogKeepsTheLastChosenName() {
    ScriptedDialogs dialogs;
    auto main = openMain(dialogs, makeFolder(QStringLiteral("bg")));
    main->openTableOfContents();
    TableOfContentsWindow* toc = main->tocWindow();
    Find<QCheckBox>(toc, "Check3")->setChecked(true);
    dialogs.openPath = QStringLiteral("/pictures/wall.jpg");
    Find<QPushButton>(toc, "Button4")->click();
    QCOMPARE(Find<QLineEdit>(toc, "Edit2")->text(), QStringLiteral("/pictures/wall.jpg"));
    dialogs.openPath.reset();
    Find<QPushButton>(toc, "Button4")->click();
    QCOMPARE(Find<QLineEdit>(toc, "Edit2")->text(), QStringLiteral("/pictures/wall.jpg"));
    QCOMPARE(toc->options().backgroundPicturePath, std::string("/pictures/wall.jpg"));
    // A cancelled colour dialog keeps the colour; a chosen one is the page's.
    Find<QPushButton>(toc, "Button3")->click();
    QCOMPARE(toc->options().tocBackgroundColor, 0x808080);
    dialogs.colour = QColor(0x12, 0x34, 0x56);
    Find<QPushButton>(toc, "Button3")->click();
    QCOMPARE(toc->options().tocBackgroundColor, 0x563412);
  }

  void executeLinksTheAlbumsTheMainWindowMade() {
    ScriptedDialogs dialogs;
    const QString site = makeFolder(QStringLiteral("site"));
    pictureFolder(QStringLiteral("site/b-summer"), {{320, 200}});
    pictureFolder(QStringLiteral("site/a-spring"), {{200, 320}, {100, 100}});
    makeFolder(QStringLiteral("site/c-empty"));
    auto main = openMain(dialogs, site + "/a-spring");
    main->execute();
    main->goToPath(site + "/b-summer");
    main->execute();
    dialogs.questions.clear();
    main->goToPath(site);
    main->openTableOfContents();
    TableOfContentsWindow* toc = main->tocWindow();
    Find<QCheckBox>(toc, "Check2")->setChecked(true);
    Find<QPushButton>(toc, "Button1")->click();
    const std::string page = ReadFile(site + "/index.htm");
    QCOMPARE(Count(page, "<!-- FILE=002 -->"), 1);
    QVERIFY(page.find("<IMG src=\"a-spring/htm_image/p1.jpg\"") < page.find("<IMG src=\"b-summer/htm_image/p1.jpg\""));
    QCOMPARE(Find<QLabel>(toc, "Label2")->text(), QStringLiteral("002/002"));
    // Not in a batch, and noBrowserPrompt off: the question is asked.
    QCOMPARE(dialogs.questions.size(), 1);
    QVERIFY(dialogs.questions.front().startsWith(QStringLiteral("Pictavo|")));
    QVERIFY(dialogs.messages.isEmpty());

    // With no title the command stops at its message.
    Find<QLineEdit>(toc, "HPtytlebox")->clear();
    Find<QPushButton>(toc, "Button1")->click();
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("目次のタイトルが指定されていません。")});
  }
};

}  // namespace pictavo::gui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  pictavo::gui::TocWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "toc_window_test.moc"
