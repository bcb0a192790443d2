// Every window's main job by the keyboard alone: the focus where a user
// starts, Tab to the control, selection by Shift and Ctrl, Space and Enter
// on the focused control, mnemonics, Esc closing a dialog.

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QSet>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

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

namespace {

void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* focus = QApplication::focusWidget();
  QVERIFY(focus);
  QTest::keyClick(focus, key, modifiers);
}

// Tab until `name` has the focus; fails when the chain comes round without it.
void TabTo(QWidget* window, const char* name, Qt::Key key = Qt::Key_Tab) {
  QWidget* target = Find<QWidget>(window, name);
  QVERIFY(target);
  for (int i = 0; i < 60 && QApplication::focusWidget() != target; ++i) {
    Key(key);
  }
  QTRY_COMPARE(QApplication::focusWidget(), target);
}

void Focus(QWidget* window) {
  window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window));
  QTRY_COMPARE(QApplication::activeWindow(), window);
  // A window shown without a focused control: the first in its chain, as the
  // window system gives it at activation.
  if (!QApplication::focusWidget() || QApplication::focusWidget()->window() != window) {
    if (QWidget* first = window->nextInFocusChain()) first->setFocus(Qt::TabFocusReason);
  }
  QTRY_VERIFY(QApplication::focusWidget() && QApplication::focusWidget()->window() == window);
}

// The visible, enabled controls of `window` that Tab can stop at and a full
// round of Tab from the focused one does not reach. A control that hands its
// focus to another (a spin box's line edit) counts as that other one.
QStringList UnreachedByTab(QWidget* window) {
  QList<QWidget*> wanted;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || w->window() != window) continue;
    if (!w->isVisible() || !w->isEnabled()) continue;
    wanted << w;
  }
  QSet<QWidget*> reached;
  QWidget* first = QApplication::focusWidget();
  for (int i = 0; i < 2 * wanted.size() + 4; ++i) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) break;
    reached << focus;
    QTest::keyClick(focus, Qt::Key_Tab);
    if (QApplication::focusWidget() == first) break;
  }
  QStringList missing;
  for (QWidget* w : wanted) {
    if (!reached.contains(w)) missing << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
  }
  return missing;
}

void ExpectEveryControlReachedByTab(QWidget* window) {
  Focus(window);
  const QStringList missing = UnreachedByTab(window);
  QVERIFY2(missing.isEmpty(), qPrintable(window->objectName() + QStringLiteral(": ") + missing.join(QStringLiteral(", "))));
}

}  // namespace

class KeyboardTest : public QObject, public ToolWindowFixture {
  Q_OBJECT

 private slots:
  void theMainWindowMakesAnAlbumFromPicturesChosenByKeys() {
    ScriptedDialogs dialogs;
    const QString folder = pictureFolder(QStringLiteral("main"), {{40, 30}, {30, 40}, {20, 20}, {10, 10}});
    auto main = openMain(dialogs, folder);
    Focus(main.get());
    QTRY_COMPARE(QApplication::focusWidget(), Find<QWidget>(main.get(), "Button7"));
    TabTo(main.get(), "OldFile");
    auto* list = Find<QListWidget>(main.get(), "OldFile");
    Key(Qt::Key_Home);
    Key(Qt::Key_Down, Qt::ShiftModifier);  // p1 and p2
    Key(Qt::Key_Down, Qt::ControlModifier);
    Key(Qt::Key_Down, Qt::ControlModifier);
    Key(Qt::Key_Space, Qt::ControlModifier);  // and p4
    QCOMPARE(ListNames(list), (QStringList{"p1.jpg*", "p2.jpg*", "p3.jpg", "p4.jpg*"}));
    // Back to 実行 the other way round, and Space runs it.
    TabTo(main.get(), "Button7", Qt::Key_Backtab);
    // During the run the focus waits on 中止, where the same key stops it.
    QWidget* focusInRun = nullptr;
    QTimer::singleShot(0, main.get(), [&] { focusInRun = QApplication::focusWidget(); });
    Key(Qt::Key_Space);
    QCOMPARE(focusInRun, Find<QWidget>(main.get(), "Button8"));
    // The run hid 実行 and gave it back with the focus on it.
    QTRY_COMPARE(QApplication::focusWidget(), Find<QWidget>(main.get(), "Button7"));
    const std::string page = ReadFile(folder + "/index.htm");
    QVERIFY(page.find("p1.jpg") != std::string::npos);
    QVERIFY(page.find("p4.jpg") != std::string::npos);
    QVERIFY(page.find("p3.jpg") == std::string::npos);
    // Its mnemonic from anywhere in the window runs it again.
    QFile::remove(folder + "/index.htm");
    TabTo(main.get(), "HPtytlebox");
    Key(Qt::Key_X, Qt::AltModifier);
    // A mnemonic presses its button a moment later, as the eye can follow.
    QTRY_VERIFY(QFileInfo::exists(folder + "/index.htm"));

    TabTo(main.get(), "OldFile");
    // The Menu key and Shift+F10 open the list's pop-up menu; Esc closes it
    // and leaves the selection and the focus as they were.
    auto* popup = Find<QMenu>(main.get(), "PopupMenu1");
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
      Key(key, modifiers);
      QTRY_VERIFY(popup->isVisible());
      QTest::keyClick(popup, Qt::Key_Escape);
      QTRY_VERIFY(!popup->isVisible());
      QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(list));
    }
    QCOMPARE(ListNames(list), (QStringList{"p1.jpg*", "p2.jpg*", "p3.jpg", "p4.jpg*"}));
  }

  void theTableOfContentsIsMadeByKeys() {
    ScriptedDialogs dialogs;
    const QString site = makeFolder(QStringLiteral("site"));
    pictureFolder(QStringLiteral("site/a"), {{40, 30}});
    auto main = openMain(dialogs, site + "/a");
    main->execute();
    main->goToPath(site);
    main->openTableOfContents();
    TableOfContentsWindow* toc = main->tocWindow();
    Focus(toc);
    // Enter in the title field makes the page, as the window's main command.
    TabTo(toc, "HPtytlebox");
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Trips"));
    Key(Qt::Key_Return);
    QCOMPARE(dialogs.folderTitles.size(), 0);
    QVERIFY(ReadFile(site + "/index.htm").find("Trips") != std::string::npos);
    // Tab reaches 実行 and Space presses it; Esc closes the window.
    QFile::remove(site + "/index.htm");
    TabTo(toc, "Button1");
    Key(Qt::Key_Space);
    QVERIFY(QFileInfo::exists(site + "/index.htm"));
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!toc->isVisible());
  }

  void theRotationWindowKeepsTheFocusAcrossATurn() {
    ScriptedDialogs dialogs;
    const QString folder = pictureFolder(QStringLiteral("turn"), {{64, 48}});
    auto main = openMain(dialogs, folder);
    RotationWindow* w = main->rotationWindow();
    QVERIFY(w->openList(main->session().main.currentFolder, main->session().pictures));
    w->show();
    Focus(w);
    TabTo(w, "Button1");
    Key(Qt::Key_Space);  // right turn
    QCOMPARE(w->walk().picture().width, 48);
    QTRY_COMPARE(QApplication::focusWidget(), Find<QWidget>(w, "Button1"));
    Key(Qt::Key_Space);  // and again, without a second Tab
    QCOMPARE(w->walk().picture().width, 64);
    Key(Qt::Key_Space);
    TabTo(w, "Button4");
    Key(Qt::Key_Space);  // saves and closes
    QTRY_VERIFY(!w->isVisible());
    QVERIFY(QFileInfo::exists(folder + "/_backup/p1.jpg"));
  }

  void theCommentEditorTakesACommentAndSavesByKeys() {
    ScriptedDialogs dialogs;
    const QString folder = pictureFolder(QStringLiteral("comments"), {{64, 48}, {30, 40}});
    auto main = openMain(dialogs, folder);
    CommentEditorWindow* w = main->commentWindow();
    QVERIFY(w->openFolder(folder.toStdString()));
    w->show();
    Focus(w);
    TabTo(w, "File1");
    Key(Qt::Key_Down);
    QCOMPARE(w->editor().selected(), 1);
    TabTo(w, "Edit1");
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("beach"));
    TabTo(w, "Button2");
    Key(Qt::Key_Space);  // 更新
    Key(Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(ReadFile(folder + "/PicComment.txt").find("p2.jpg\r\nbeach\r\n") != std::string::npos);
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!w->isVisible());
  }

  void dialogsCloseOnEscape() {
    ScriptedDialogs dialogs;
    const QString folder = pictureFolder(QStringLiteral("esc"), {{40, 30}});
    auto main = openMain(dialogs, folder);
    main->openSettingsView();
    Focus(main->settingsView());
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!main->settingsView()->isVisible());
    main->openOptions();
    Focus(main->options());
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!main->options()->isVisible());

    const QString sub = makeFolder(QStringLiteral("esc/sub"));
    FolderChooserDialog chooser(main.get());
    bool closed = false;
    QTimer::singleShot(0, &chooser, [&] {
      Focus(&chooser);
      Key(Qt::Key_Escape);
      closed = !chooser.isVisible();
    });
    chooser.choose(folder);
    QVERIFY(closed);
    QVERIFY(chooser.chosenFolder().isEmpty());
    // Enter chooses the folder shown.
    QTimer::singleShot(0, &chooser, [&] {
      Focus(&chooser);
      Key(Qt::Key_Return);
    });
    chooser.choose(folder);
    QCOMPARE(chooser.chosenFolder(), folder);
    // Tab to the folder list, Down to the sub-folder; Enter opens it and chooses it.
    bool stillOpen = false;
    QTimer::singleShot(0, &chooser, [&] {
      Focus(&chooser);
      TabTo(&chooser, "DirectoryListBox1");
      Key(Qt::Key_Down);
      Key(Qt::Key_Return);
      stillOpen = chooser.isVisible();
      if (stillOpen) chooser.reject();
    });
    chooser.choose(folder);
    QVERIFY(!stillOpen);
    QCOMPARE(chooser.chosenFolder(), sub);

    // The about box: Enter and Esc close it.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
      bool shown = false;
      QTimer::singleShot(0, main.get(), [&] {
        auto* about = main->findChild<QDialog*>(QStringLiteral("TAbout"));
        shown = about && about->isVisible();
        if (about) QTest::keyClick(about, key);
      });
      main->showAbout();
      QVERIFY(shown);
    }
  }

  void theBatchRunsByKeys() {
    ScriptedDialogs dialogs;
    const QString site = makeFolder(QStringLiteral("batch"));
    for (int i = 1; i <= 2; ++i) pictureFolder(QStringLiteral("batch/f%1").arg(i), {{64, 48}});
    auto main = openMain(dialogs, site);
    main->goToPath(site);
    main->openTableOfContents();
    TableOfContentsWindow* toc = main->tocWindow();
    toc->openBatch();
    BatchWindow* batch = toc->batchWindow();
    QVERIFY(batch && batch->isVisible());
    Focus(batch);
    dialogs.answers = {false};  // no browser afterwards
    TabTo(batch, "Button1");
    Key(Qt::Key_Space);
    for (int i = 1; i <= 2; ++i) QVERIFY(QFile::exists(site + QStringLiteral("/f%1/index.htm").arg(i)));
    QVERIFY(QFile::exists(site + "/index.htm"));
    QTRY_VERIFY(!batch->isVisible());
    // Esc on the window it returned to closes that one too.
    Focus(toc);
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!toc->isVisible());
  }

  void bmpFilesAreChosenAndConvertedByKeys() {
    ScriptedDialogs dialogs;
    const QString folder = makeFolder(QStringLiteral("bmp"));
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
      QImage image(8, 6, QImage::Format_RGB888);
      image.fill(QColor(10, 200, 30));
      QVERIFY(image.save(folder + "/" + name, "BMP"));
    }
    auto main = openMain(dialogs, folder);
    main->openBmpConversion();
    BmpConversionWindow* bmp = main->bmpWindow();
    Focus(bmp);
    TabTo(bmp, "File1");
    auto* list = Find<QListWidget>(bmp, "File1");
    Key(Qt::Key_End);
    Key(Qt::Key_Up, Qt::ControlModifier);
    Key(Qt::Key_Up, Qt::ControlModifier);
    Key(Qt::Key_Space, Qt::ControlModifier);  // a and c
    QCOMPARE(ListNames(list), (QStringList{"a.bmp*", "b.bmp", "c.bmp*"}));
    TabTo(bmp, "Button1");
    Key(Qt::Key_Space);
    QVERIFY(QFile::exists(folder + "/a.jpg"));
    QVERIFY(!QFile::exists(folder + "/b.jpg"));
    QVERIFY(QFile::exists(folder + "/c.jpg"));
    Focus(bmp);
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!bmp->isVisible());
  }

  void aSiteIsPublishedByKeys() {
    ScriptedDialogs dialogs;
    const QString album = pictureFolder(QStringLiteral("pub/album"), {{320, 200}});
    auto main = openMain(dialogs, album);
    main->execute();
    dialogs.questions.clear();
    main->openTableOfContents();
    main->tocWindow()->openPublish();
    PublishWindow* publish = main->tocWindow()->publishWindow();
    QVERIFY(publish && publish->isVisible());
    Focus(publish);
    const QString dest = path(QStringLiteral("pub/out"));
    TabTo(publish, "DestEdit");
    QTest::keyClicks(QApplication::focusWidget(), dest);
    TabTo(publish, "PublishButton");
    Key(Qt::Key_Space);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(ReadFile(dest + "/index.htm"), ReadFile(album + "/index.htm"));
    Focus(publish);
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!publish->isVisible());
  }

  void theOptionsAreConfirmedByEnter() {
    ScriptedDialogs dialogs;
    auto main = openMain(dialogs, pictureFolder(QStringLiteral("opt"), {{40, 30}}));
    main->openOptions();
    OptionsDialog* options = main->options();
    Focus(options);
    QSignalSpy confirmed(options, &OptionsDialog::confirmed);
    Key(Qt::Key_Return);
    QCOMPARE(confirmed.count(), 1);
    QTRY_VERIFY(!options->isVisible());
  }

  void tabReachesEveryControlOfEveryWindow() {
    ScriptedDialogs dialogs;
    const QString site = makeFolder(QStringLiteral("tab"));
    const QString folder = pictureFolder(QStringLiteral("tab/a"), {{40, 30}, {30, 40}});
    auto main = openMain(dialogs, folder);
    ExpectEveryControlReachedByTab(main.get());
    main->goToPath(site);  // a batch target below
    main->openTableOfContents();
    TableOfContentsWindow* toc = main->tocWindow();
    ExpectEveryControlReachedByTab(toc);
    toc->openBatch();
    ExpectEveryControlReachedByTab(toc->batchWindow());
    toc->batchWindow()->hide();
    toc->show();
    toc->openPublish();
    ExpectEveryControlReachedByTab(toc->publishWindow());
    toc->publishWindow()->hide();
    toc->hide();
    main->openBmpConversion();
    ExpectEveryControlReachedByTab(main->bmpWindow());
    main->bmpWindow()->hide();
    main->goToPath(folder);
    RotationWindow* rotation = main->rotationWindow();
    QVERIFY(rotation->openList(main->session().main.currentFolder, main->session().pictures));
    rotation->show();
    ExpectEveryControlReachedByTab(rotation);
    rotation->hide();
    CommentEditorWindow* comment = main->commentWindow();
    QVERIFY(comment->openFolder(folder.toStdString()));
    comment->show();
    ExpectEveryControlReachedByTab(comment);
    comment->hide();
    main->openSettingsView();
    ExpectEveryControlReachedByTab(main->settingsView());
    main->settingsView()->hide();
    main->openOptions();
    ExpectEveryControlReachedByTab(main->options());
    main->options()->hide();
  }

  void theSettingsCheckViewUpdatesByKeys() {
    ScriptedDialogs dialogs;
    const QString folder = pictureFolder(QStringLiteral("view"), {{40, 30}});
    auto main = openMain(dialogs, folder);
    main->openSettingsView();
    QWidget* view = main->settingsView();
    Focus(view);
    TabTo(view, "Edit2");
    Key(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("keys.htm"));
    TabTo(view, "Button2");
    Key(Qt::Key_Space);  // 更新
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(main->session().settings.htmlFileName, std::string("keys.htm"));
    Focus(main.get());
    QTRY_COMPARE(QApplication::focusWidget(), Find<QWidget>(main.get(), "Button7"));
    Key(Qt::Key_Space);
    QVERIFY(QFile::exists(folder + "/keys.htm"));
  }
};

}  // namespace pictavo::gui

QTEST_MAIN(pictavo::gui::KeyboardTest)
#include "keyboard_test.moc"
