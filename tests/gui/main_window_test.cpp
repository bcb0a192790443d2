// The main window under the offscreen platform: its named controls, start-up,
// the picture list commands, and Execute with Abort pressed from inside the
// run's event pump.

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalSocket>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <atomic>
#include <deque>
#include <fstream>
#include <memory>
#include <semaphore>
#include <sstream>

#include "folder_widgets.h"
#include "gui_test_support.h"
#include "message_text.h"
#include "image/jpeg.h"
#include "instance_guard.h"
#include "main_window.h"
#include "platform/paths.h"
#include "settings/settings_file.h"
#include "translations.h"

namespace pictavo::gui {

namespace {

// A user's typing: every key goes to the control that has the focus at
// that moment, modifiers pressed first as a keyboard does.
void TypeAtFocus(const QString& text) {
  for (const QChar c : text) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    const char key = c.toLatin1();
    QTest::keyClick(focus, key, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
  }
}
void KeyAtFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* focus = QApplication::focusWidget();
  QVERIFY(focus);
  QTest::keyClick(focus, key, modifiers);
}
void Activate(QWidget* window, QWidget* control) {
  window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window));
  control->setFocus();
  QTRY_VERIFY(control->hasFocus());
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  QString m_home;

  QString path(const QString& name) const { return m_dir.filePath(name); }
  QString makeFolder(const QString& name) {
    QDir().mkpath(path(name));
    return path(name);
  }
  // The real program started again, as a user would from `workingFolder`;
  // it hands `argument` over and ends.
  void startSecond(const QString& argument, const QString& workingFolder = {}) {
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PICTAVO_HOME"), path(QStringLiteral("program-second")));
    second.setProcessEnvironment(env);
    if (!workingFolder.isEmpty()) second.setWorkingDirectory(workingFolder);
    second.start(QStringLiteral(PICTAVO_GUI_PATH), {argument});
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
  }
  // A fresh program folder per window, so no test sees another's settings.
  std::unique_ptr<MainWindow> open(ScriptedDialogs& dialogs, const QString& argument = {}, const QString& program = {}) {
    static int n = 0;
    StartArguments args;
    args.programFolder = program.isEmpty() ? path(QStringLiteral("program%1").arg(++n)) : program;
    args.commandLinePath = argument;
    auto window = std::make_unique<MainWindow>(dialogs, args);
    window->show();
    return window;
  }

 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    m_home = makeFolder(QStringLiteral("home"));
    qputenv("HOME", m_home.toUtf8());
    // The instance guard's socket lives here, apart from any running program.
    const QString runtime = makeFolder(QStringLiteral("runtime"));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
  }

  void theFolderChooserKeepsItsFolderAndAnswersByItsButtons() {
    const QString start = makeFolder(QStringLiteral("chooser/one"));
    makeFolder(QStringLiteral("chooser/one/two"));
    FolderChooserDialog chooser;
    QCOMPARE(chooser.windowTitle(), QStringLiteral("フォルダ選択"));
    // 選択 takes the list's folder; the title bar's close keeps it; キャンセル empties it.
    QTimer::singleShot(0, &chooser, [&] { chooser.goTo(start + "/two"); chooser.accept(); });
    chooser.choose(start);
    QCOMPARE(chooser.chosenFolder(), start + "/two");
    QTimer::singleShot(0, &chooser, [&] { chooser.close(); });
    chooser.choose(m_home);
    QCOMPARE(chooser.chosenFolder(), start + "/two");
    // It opened where it was left, not at the folder asked for.
    QCOMPARE(Find<QListWidget>(&chooser, "DirectoryListBox1")->currentItem()->data(Qt::UserRole).toString(),
             start + "/two");
    QTimer::singleShot(0, &chooser, [&] { QTest::mouseClick(Find<QWidget>(&chooser, "Button2"), Qt::LeftButton); });
    chooser.choose(start);
    QVERIFY(chooser.chosenFolder().isEmpty());
  }

  void everyNamedControlIsFoundWithItsCaption() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    const char* names[] = {"mokujiBtn", "kaitenBtn", "BMPBtn", "commentBtn", "CoolBar1", "Drive1", "Button5", "Dir1",
                           "PopupMenu2", "Button7", "Button8", "HPtytlebox", "edit2", "UpDown1", "CommentBox",
                           "Panel7", "Button9", "Button6", "Button10", "OldFile", "PopupMenu1", "Splitter1",
                           "Button11", "Button3", "Button4", "Button1", "Button2", "htmButton", "NoPicButton",
                           "Panel3", "Image1", "StatusBar1", "StatusPanel0", "StatusPanel1", "StatusPanel2",
                           "File2", "Edit1", "Help1", "mokuji1", "kaiten1", "BMP1", "comment1", "folderSelect1",
                           "settingsSave1", "settingsLoad1", "exit1", "option1", "helpContents1", "about1",
                           "moveTop1", "moveBottom1", "refresh1", "nextFolder2", "refresh2"};
    for (const char* name : names) QVERIFY2(window->findChild<QObject*>(QLatin1String(name)), name);

    QCOMPARE(window->windowTitle(), QStringLiteral("Pictavo"));
    QCOMPARE(Find<QPushButton>(window.get(), "Button7")->text(), QStringLiteral("実行(&X)"));
    QCOMPARE(Find<QPushButton>(window.get(), "Button8")->text(), QStringLiteral("中止"));
    QCOMPARE(Find<QPushButton>(window.get(), "Button5")->text(), QStringLiteral("次のフォルダ"));
    QCOMPARE(Find<QCheckBox>(window.get(), "CommentBox")->text(), QStringLiteral("コメントを付加する"));
    QCOMPARE(Find<QMenu>(window.get(), "File2")->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    QCOMPARE(Find<QAction>(window.get(), "helpContents1")->text(), QStringLiteral("ﾍﾙﾌﾟ&H)"));
    QCOMPARE(Find<QToolButton>(window.get(), "commentBtn")->text(), QStringLiteral("ｺﾒﾝﾄ作成"));
    QCOMPARE(Find<QWidget>(window.get(), "Drive1")->toolTip(), QStringLiteral("ドライブを指定します。"));
    QCOMPARE(Find<QWidget>(window.get(), "Button1")->toolTip(), QStringLiteral("選択したファイルの順番を上げます。"));
    QCOMPARE(Find<QWidget>(window.get(), "NoPicButton")->toolTip(), QStringLiteral("実行時のPreview Windowの表示切換"));
    QCOMPARE(Find<QWidget>(window.get(), "HPtytlebox")->toolTip(), QStringLiteral("作成されたHTMLのタイトルになります。"));
    QCOMPARE(Find<QLineEdit>(window.get(), "edit2")->text(), QStringLiteral("5"));
    QVERIFY(Find<QToolButton>(window.get(), "NoPicButton")->isChecked());
    QVERIFY(Find<QWidget>(window.get(), "Button7")->isVisible());
    QVERIFY(!Find<QWidget>(window.get(), "Button8")->isVisible());
    QCOMPARE(window->focusWidget(), Find<QWidget>(window.get(), "Button7"));
  }

  void theAboutBoxShowsTheVersionWithItsTrailingBlank() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    QString caption, version;
    QTimer::singleShot(0, this, [&] {
      auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QVERIFY(about);
      caption = about->windowTitle();
      version = Find<QLabel>(about, "Verlabel")->text();
      about->accept();
    });
    Find<QAction>(window.get(), "about1")->trigger();
    QCOMPARE(caption, QStringLiteral("バージョン情報"));
    QCOMPARE(version, QStringLiteral("Pictavo Ver2.02 "));
  }

  void theClientAreaIs502By394AndShowsTheWholePreview() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    QTRY_COMPARE(window->width(), 502);
    QCOMPARE(window->height() - window->menuBar()->height(), 394);
    QVERIFY(Find<QWidget>(window.get(), "Panel3")->width() >= 150);
    QVERIFY(Find<QWidget>(window.get(), "Panel3")->height() >= 150);
  }

  void thePreviewShowsASidewaysPhotoUpright() {
    const QString folder = makeFolder(QStringLiteral("sideways"));
    MakeSidewaysPicture(folder + "/s.jpg");
    ScriptedDialogs dialogs;
    auto window = open(dialogs, folder);
    auto* list = Find<QListWidget>(window.get(), "OldFile");
    list->clearSelection();
    list->item(0)->setSelected(true);
    window->preview();
    auto* image = Find<QLabel>(window.get(), "Image1");
    QTRY_VERIFY(image->isVisible());
    QCOMPARE(image->size(), QSize(112, 150));  // 64 x 48 stored, seen 48 x 64
    QVERIFY(dialogs.messages.isEmpty());
  }

  // The click is answered before the decode ends; a click on another picture
  // meanwhile wins, and the first picture's result is never shown.
  void aPreviewClickNeverWaitsAndTheNewestWins() {
    const QString folder = makeFolder(QStringLiteral("held"));
    MakePicture(folder + "/a.jpg", 40, 30);
    MakePicture(folder + "/b.jpg", 30, 40);
    ScriptedDialogs dialogs;
    auto window = open(dialogs, folder);
    struct Held {
      std::binary_semaphore a{0}, b{0};
      std::atomic<int> started{0};
    };
    auto held = std::make_shared<Held>();
    window->setPreviewDecode([held](const std::string& path) {
      ++held->started;
      (path.ends_with("/a.jpg") ? held->a : held->b).acquire();
      return DecodePreview(path);
    });
    auto* list = Find<QListWidget>(window.get(), "OldFile");
    auto* image = Find<QLabel>(window.get(), "Image1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QVERIFY(!image->isVisible());  // answered, the decode still held
    QTRY_COMPARE(held->started.load(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    held->a.release();
    QTRY_COMPARE(held->started.load(), 2);  // a's decode has ended, b's begun
    QCoreApplication::processEvents();
    QVERIFY(!image->isVisible());
    held->b.release();
    QTRY_VERIFY(image->isVisible());
    QCOMPARE(image->size(), QSize(112, 150));  // b, 30 x 40
    QVERIFY(dialogs.messages.isEmpty());
  }

  void helpOpensTheShippedPageUnlessTheProgramFolderHasOne() {
    ScriptedDialogs dialogs;
    const QString program = path(QStringLiteral("help-program"));
    auto window = open(dialogs, {}, program);
    Find<QAction>(window.get(), "helpContents1")->trigger();
    QCOMPARE(dialogs.opened.size(), 1);
    QVERIFY2(dialogs.opened.front().endsWith(QStringLiteral("/help/index.html")), qPrintable(dialogs.opened.front()));
    QVERIFY(QFileInfo(dialogs.opened.front().mid(1)).isFile());

    QDir().mkpath(program + "/help");
    QFile(program + "/help/index.html").open(QIODevice::WriteOnly);
    Find<QAction>(window.get(), "helpContents1")->trigger();
    QCOMPARE(dialogs.opened.back(), "|" + program + "/help/index.html");
    QVERIFY(dialogs.messages.isEmpty());
  }

  void aPictureArgumentOpensItsFolderInNameOrder() {
    const QString folder = makeFolder(QStringLiteral("写真 2024"));
    for (const char* name : {"b.JPG", "a.jpg"}) MakePicture(folder + "/" + name, 40, 30);
    for (const char* name : {"c.jpeg", "d.txt"}) QFile(folder + "/" + name).open(QIODevice::WriteOnly);
    ScriptedDialogs dialogs;
    auto window = open(dialogs, folder + "/b.JPG");
    QCOMPARE(QString::fromStdString(window->session().main.currentFolder), folder);
    QCOMPARE(ListNames(Find<QListWidget>(window.get(), "OldFile")), (QStringList{"a.jpg*", "b.JPG*"}));
    QCOMPARE(Find<QLineEdit>(window.get(), "HPtytlebox")->text(), QStringLiteral("写真 2024"));
    QVERIFY(!Find<QWidget>(window.get(), "htmButton")->isEnabled());  // no page yet
  }

  void aRemovedStartFolderFallsBackToTheHomeFolder() {
    const QString program = path(QStringLiteral("program-removed"));
    QDir().mkpath(program);
    AlbumSettings settings;
    ResetSettings(settings);
    settings.startFolder = path(QStringLiteral("gone")).toStdString();
    SettingsLines lines{};
    FillSettingsLines(settings, kProgramVersion, lines);
    QVERIFY(WriteSettingsFile((program + "/PCV.ini").toStdString(), lines).ok());
    ScriptedDialogs dialogs;
    auto window = open(dialogs, {}, program);
    QCOMPARE(QString::fromStdString(window->session().main.currentFolder), m_home);
    QVERIFY(dialogs.messages.isEmpty());

    // A start folder that exists is used.
    settings.startFolder = makeFolder(QStringLiteral("start")).toStdString();
    FillSettingsLines(settings, kProgramVersion, lines);
    QVERIFY(WriteSettingsFile((program + "/PCV.ini").toStdString(), lines).ok());
    auto again = open(dialogs, {}, program);
    QCOMPARE(QString::fromStdString(again->session().main.currentFolder), path(QStringLiteral("start")));
  }

  void theSavedPositionIsUsedAndPulledBackOntoTheScreen() {
    ScriptedDialogs dialogs;
    auto fresh = open(dialogs);
    QCOMPARE(fresh->pos(), QPoint(0, 0));  // no settings file: the top-left corner

    const QString program = path(QStringLiteral("program-position"));
    QDir().mkpath(program);
    AlbumSettings settings;
    ResetSettings(settings);
    SettingsLines lines{};
    settings.displayLeft = "12";
    settings.displayTop = "34";
    FillSettingsLines(settings, kProgramVersion, lines);
    QVERIFY(WriteSettingsFile((program + "/PCV.ini").toStdString(), lines).ok());
    QCOMPARE(open(dialogs, {}, program)->pos(), QPoint(12, 34));

    settings.displayLeft = "-5000";
    settings.displayTop = "99999";
    FillSettingsLines(settings, kProgramVersion, lines);
    QVERIFY(WriteSettingsFile((program + "/PCV.ini").toStdString(), lines).ok());
    auto window = open(dialogs, {}, program);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(window->pos().x(), screen.left());
    QVERIFY(screen.contains(window->pos()));
  }

  void listButtonsMoveAndSelectAndRefuseWithTheMessage() {
    const QString folder = makeFolder(QStringLiteral("five"));
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) MakePicture(folder + "/" + name, 30, 20);
    ScriptedDialogs dialogs;
    auto window = open(dialogs, folder);
    auto* list = Find<QListWidget>(window.get(), "OldFile");
    QTest::mouseClick(Find<QWidget>(window.get(), "Button1"), Qt::LeftButton);
    QCOMPARE(dialogs.messages, QStringList{"移動できません"});

    // A click selects only what was clicked, and the preview shows it at 150 x 100.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(ListNames(list), (QStringList{"a.jpg", "b.jpg*", "c.jpg", "d.jpg", "e.jpg"}));
    auto* image = Find<QLabel>(window.get(), "Image1");
    QTRY_VERIFY(image->isVisible());
    QCOMPARE(image->size(), QSize(150, 100));
    auto* panel = Find<QWidget>(window.get(), "Panel3");
    QCOMPARE(image->pos(), QPoint(panel->width() / 2 - 75, panel->height() / 2 - 50));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(3)).center());
    window->moveToTop();
    QCOMPARE(ListNames(list), (QStringList{"b.jpg*", "a.jpg", "d.jpg*", "c.jpg", "e.jpg"}));
    QTest::mouseClick(Find<QWidget>(window.get(), "Button2"), Qt::LeftButton);
    QCOMPARE(ListNames(list), (QStringList{"a.jpg", "b.jpg*", "c.jpg", "d.jpg*", "e.jpg"}));
    QTest::mouseClick(Find<QWidget>(window.get(), "Button4"), Qt::LeftButton);
    QCOMPARE(ListNames(list), (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}));
    QTest::mouseClick(Find<QWidget>(window.get(), "Button3"), Qt::LeftButton);
    QCOMPARE(ListNames(list), (QStringList{"a.jpg*", "b.jpg*", "c.jpg*", "d.jpg*", "e.jpg*"}));
  }

  void nextFolderWrapsFromTheLastSibling() {
    const QString parent = makeFolder(QStringLiteral("X"));
    for (const char* name : {"1", "2", "3"}) makeFolder(QStringLiteral("X/") + name);
    ScriptedDialogs dialogs;
    auto window = open(dialogs, parent + "/3");
    QTest::mouseClick(Find<QWidget>(window.get(), "Button5"), Qt::LeftButton);
    QCOMPARE(QString::fromStdString(window->session().main.currentFolder), parent + "/1");
    QCOMPARE(Find<QLineEdit>(window.get(), "HPtytlebox")->text(), QStringLiteral("1"));
    auto* dir = Find<QListWidget>(window.get(), "Dir1");
    QCOMPARE(dir->currentItem()->data(Qt::UserRole).toString(), parent + "/1");
    QCOMPARE(dir->item(0)->text(), QStringLiteral("/"));
  }

  void theSplitterClampsAt150AndTheCommentColourShows() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    auto* splitter = Find<QSplitter>(window.get(), "Splitter1");
    const int total = splitter->sizes().value(0) + splitter->sizes().value(1);
    splitter->setSizes({20, total - 20});
    window->clampSplitter();
    QCOMPARE(splitter->sizes().value(0), 150);
    splitter->setSizes({total - 10, 10});
    window->clampSplitter();
    QCOMPARE(splitter->sizes().value(0), splitter->width() - 150);

    // The colour chosen becomes the comment colour (red in the lowest byte); a
    // cancelled dialog keeps the preset.
    dialogs.colour = QColor(0x12, 0x34, 0x56);
    QTest::mouseClick(Find<QWidget>(window.get(), "Button10"), Qt::LeftButton);
    QCOMPARE(window->session().main.commentColor, 0x563412);
    QCOMPARE(Find<QWidget>(window.get(), "Panel7")->palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
    dialogs.colour.reset();
    QTest::mouseClick(Find<QWidget>(window.get(), "Button10"), Qt::LeftButton);
    QCOMPARE(window->session().main.commentColor, 0x563412);
  }

  void keysTypedInTheTitleStayThereAndStartNothing() {
    const QString folder = makeFolder(QStringLiteral("typing"));
    MakePicture(folder + "/a.jpg", 30, 20);
    ScriptedDialogs dialogs;
    auto window = open(dialogs, folder);
    auto* title = Find<QLineEdit>(window.get(), "HPtytlebox");
    Activate(window.get(), title);
    KeyAtFocus(Qt::Key_A, Qt::ControlModifier);
    TypeAtFocus(QStringLiteral("Tokyo trip one"));
    QCOMPARE(title->text(), QStringLiteral("Tokyo trip one"));
    QVERIFY(title->hasFocus());
    QVERIFY(!QFileInfo::exists(folder + "/index.htm"));
    QVERIFY(!QFileInfo::exists(folder + "/htm_image"));
    QVERIFY(dialogs.questions.isEmpty());

    // A key aimed at the window itself, no control focused, still moves the focus to 実行.
    title->clearFocus();
    QVERIFY(!QApplication::focusWidget());
    QTest::keyClick(window.get(), Qt::Key_X);
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(window.get(), "Button7"));
    QVERIFY(!QFileInfo::exists(folder + "/index.htm"));
  }

  void thePictureListSelectsAndOpensItsMenuFromTheKeyboard() {
    const QString folder = makeFolder(QStringLiteral("keyboard-list"));
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) MakePicture(folder + "/" + name, 30, 20);
    ScriptedDialogs dialogs;
    auto window = open(dialogs, folder);
    auto* list = Find<QListWidget>(window.get(), "OldFile");
    Activate(window.get(), list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QCOMPARE(list->selectedItems().size(), 1);
    KeyAtFocus(Qt::Key_Down, Qt::ShiftModifier);
    KeyAtFocus(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(list->selectedItems().size(), 3);
    KeyAtFocus(Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(list->selectedItems().size(), 5);
    KeyAtFocus(Qt::Key_Space, Qt::ControlModifier);  // the current picture, e.jpg, leaves the selection
    QCOMPARE(list->selectedItems().size(), 4);
    QVERIFY(!list->item(4)->isSelected());
    QVERIFY(list->hasFocus());

    auto* menu = Find<QMenu>(window.get(), "PopupMenu1");
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
      QVERIFY(!menu->isVisible());
      QTest::keyClick(list, key, modifiers);
      QTRY_VERIFY(menu->isVisible());
      menu->close();
      QTRY_VERIFY(!menu->isVisible());
    }
    QVERIFY(!QFileInfo::exists(folder + "/index.htm"));
  }

  void aNoteIsShownWhenItsCommandEnds() {
    const QString folder = makeFolder(QStringLiteral("note"));
    MakePicture(folder + "/a.jpg", 30, 20);
    AlbumSettings settings;
    ResetSettings(settings);
    settings.browserPath = "/usr/bin/elsewhere";
    SettingsLines lines{};
    FillSettingsLines(settings, kProgramVersion, lines);
    QVERIFY(WriteSettingsFile((folder + "/album.ini").toStdString(), lines).ok());
    ScriptedDialogs dialogs;
    auto window = open(dialogs, folder);
    QTest::mouseClick(Find<QPushButton>(window.get(), "Button9"), Qt::LeftButton);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY2(dialogs.messages[0].contains(pictavo::MessageText(pictavo::msg::kProgramsKept)), qPrintable(dialogs.messages[0]));
    QVERIFY(window->session().settings.browserPath.empty());
    // The next command's message stands alone.
    dialogs.savePath = QString::fromStdString(window->session().main.programFolder) + "/PCV.ini";
    Find<QAction>(window.get(), "settingsSave1")->trigger();
    QCOMPARE(dialogs.messages.size(), 2);
    QVERIFY2(!dialogs.messages[1].contains(pictavo::MessageText(pictavo::msg::kProgramsKept)), qPrintable(dialogs.messages[1]));
  }

  void folderSettingsLoadUpdatesThePerRowControl() {
    const QString folder = makeFolder(QStringLiteral("withini"));
    MakePicture(folder + "/a.jpg", 30, 20);
    AlbumSettings settings;
    ResetSettings(settings);
    settings.picturesPerRow = 3;
    SettingsLines lines{};
    FillSettingsLines(settings, kProgramVersion, lines);
    QVERIFY(WriteSettingsFile((folder + "/album.ini").toStdString(), lines).ok());
    ScriptedDialogs dialogs;
    auto window = open(dialogs, folder);
    auto* button9 = Find<QPushButton>(window.get(), "Button9");
    QVERIFY(button9->isEnabled());
    QTest::mouseClick(button9, Qt::LeftButton);
    QCOMPARE(Find<QLineEdit>(window.get(), "edit2")->text(), QStringLiteral("3"));
    QCOMPARE(window->session().perRow, 3);
    QCOMPARE(window->findChild<UpDown*>(QStringLiteral("UpDown1"))->value(), 3);
  }

  void executeWithAbortAfterThreeOfTenKeepsThreeCellsAndTheOrder() {
    const QString folder = makeFolder(QStringLiteral("ten"));
    QStringList names;
    for (int i = 1; i <= 10; ++i) {
      names << QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
      MakePicture(folder + "/" + names.back(), 64, 48);
    }
    ScriptedDialogs dialogs;
    auto window = open(dialogs, folder);
    auto* list = Find<QListWidget>(window.get(), "OldFile");
    // The user's order: p10 first, everything selected.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(9)).center());
    window->moveToTop();
    QTest::mouseClick(Find<QWidget>(window.get(), "Button3"), Qt::LeftButton);
    QCOMPARE(list->item(0)->text(), QStringLiteral("p10.jpg"));

    const char* disabledDuringRun[] = {"Drive1",  "Dir1",     "OldFile", "Button1",    "Button2",    "Button3",
                                       "Button4", "Button11", "Button5", "Button6",    "Button9",    "Button10",
                                       "UpDown1", "HPtytlebox", "CommentBox", "htmButton", "CoolBar1"};
    QStringList disabledSeen, enabledSeen;
    bool clicked = false;
    QTimer probe;
    probe.setInterval(0);
    connect(&probe, &QTimer::timeout, this, [&] {
      if (clicked || !window->busy()) return;
      if (!Find<QLabel>(window.get(), "StatusPanel2")->text().startsWith(QStringLiteral("0003/0010"))) return;
      for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QStringLiteral("qt_"))) continue;
        (w->isEnabled() ? enabledSeen : disabledSeen) << w->objectName();
      }
      QVERIFY(!Find<QWidget>(window.get(), "Button7")->isVisible());
      QVERIFY(Find<QWidget>(window.get(), "Button8")->isVisible());
      QVERIFY(!Find<QMenu>(window.get(), "File2")->menuAction()->isEnabled());
      QVERIFY(!Find<QMenu>(window.get(), "Help1")->menuAction()->isEnabled());
      QTest::mouseClick(Find<QWidget>(window.get(), "Button8"), Qt::LeftButton);
      clicked = true;
    });
    probe.start();
    QTest::mouseClick(Find<QWidget>(window.get(), "Button7"), Qt::LeftButton);
    probe.stop();
    QVERIFY(clicked);

    // Exactly the run's controls were disabled (their children with them); Abort and the preview switch stayed.
    for (const char* name : disabledDuringRun) QVERIFY2(disabledSeen.contains(QLatin1String(name)), name);
    for (const char* name : {"Button8", "NoPicButton", "Panel3", "StatusBar1", "Splitter1"}) {
      QVERIFY2(enabledSeen.contains(QLatin1String(name)), name);
    }
    for (const QString& name : disabledSeen) {
      QWidget* w = window->findChild<QWidget*>(name);
      bool underDisabled = false;
      for (QWidget* p = w; p; p = p->parentWidget()) {
        for (const char* listed : disabledDuringRun) underDisabled |= p->objectName() == QLatin1String(listed);
      }
      QVERIFY2(underDisabled || name == "mokujiBtn" || name == "kaitenBtn" || name == "BMPBtn" || name == "commentBtn",
               qPrintable(name));
    }

    const std::string page = ReadFile(folder + "/index.htm");
    QCOMPARE(Count(page, "<IMG src=\"htm_image/"), 3);
    QVERIFY(page.find("htm_image/p10.jpg") < page.find("htm_image/p01.jpg"));
    QVERIFY(page.find("htm_image/p03.jpg") == std::string::npos);
    QCOMPARE(dialogs.messages, QStringList{"処理は中断されました。"});
    QVERIFY(dialogs.questions.isEmpty());
    QCOMPARE(list->item(0)->text(), QStringLiteral("p10.jpg"));
    QCOMPARE(list->selectedItems().size(), 10);

    // Restored: Execute back, the controls enabled, the open-page button now finds the page on refresh.
    QVERIFY(!window->busy());
    QVERIFY(Find<QWidget>(window.get(), "Button7")->isVisible());
    QVERIFY(!Find<QWidget>(window.get(), "Button8")->isVisible());
    for (const char* name : {"Drive1", "Dir1", "OldFile", "Button1", "Button5", "Button6", "Button10", "CoolBar1"}) {
      QVERIFY2(Find<QWidget>(window.get(), name)->isEnabled(), name);
    }
    QVERIFY(Find<QMenu>(window.get(), "File2")->menuAction()->isEnabled());

    // A run to its end: every cell, the browser question with its caption, answered No.
    QTest::mouseClick(Find<QWidget>(window.get(), "Button7"), Qt::LeftButton);
    QCOMPARE(Count(ReadFile(folder + "/index.htm"), "<IMG src=\"htm_image/"), 10);
    QCOMPARE(dialogs.questions.size(), 1);
    QVERIFY(dialogs.questions.front().startsWith(QStringLiteral("Pictavo|")));
    QVERIFY(dialogs.opened.isEmpty());
    QVERIFY(Find<QLabel>(window.get(), "Image1")->isVisible());  // the last thumbnail
  }

  void anEarlyEndRefillsInNameOrderAndKeepsTheLoadButton() {
    const QString folder = makeFolder(QStringLiteral("early"));
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) MakePicture(folder + "/" + name, 30, 20);
    ScriptedDialogs dialogs;
    auto window = open(dialogs, folder);
    auto* list = Find<QListWidget>(window.get(), "OldFile");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    window->moveToTop();
    QTest::mouseClick(Find<QWidget>(window.get(), "Button4"), Qt::LeftButton);
    QCOMPARE(ListNames(list), (QStringList{"c.jpg", "a.jpg", "b.jpg"}));
    QVERIFY(!Find<QWidget>(window.get(), "Button9")->isEnabled());
    QTest::mouseClick(Find<QWidget>(window.get(), "Button7"), Qt::LeftButton);
    QCOMPARE(dialogs.messages, QStringList{"ファイルが選択されていません。"});
    QCOMPARE(ListNames(list), (QStringList{"a.jpg*", "b.jpg*", "c.jpg*"}));
    QVERIFY(!Find<QWidget>(window.get(), "Button9")->isEnabled());
    QVERIFY(Find<QWidget>(window.get(), "Button7")->isVisible());
  }

  void theLastDroppedPathWinsWhole() {
    const QString first = makeFolder(QStringLiteral("drop1"));
    const QString second = makeFolder(QStringLiteral("drop2"));
    // Longer than 256 bytes, so a cut would land elsewhere.
    const QString deep = makeFolder(QStringLiteral("drop3/") + QString(120, QLatin1Char('d')) + "/" +
                                    QString(80, QChar(0x5199)));
    QVERIFY(deep.toUtf8().size() > 256);
    MakePicture(deep + "/a.jpg", 30, 20);
    ScriptedDialogs dialogs;
    auto window = open(dialogs, first);
    QVERIFY(window->dropPaths({first, second, deep + "/a.jpg"}));
    QCOMPARE(QString::fromStdString(window->session().main.currentFolder), deep);
    QCOMPARE(ListNames(Find<QListWidget>(window.get(), "OldFile")), QStringList{"a.jpg*"});
  }

  void aSecondStartHandsItsPathToTheFirstAndEnds() {
    const QString folder = makeFolder(QStringLiteral("handed"));
    const QString picture = folder + "/" + QString(100, QLatin1Char('h')) + ".jpg";
    MakePicture(picture, 30, 20);
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    InstanceGuard guard;
    QVERIFY(guard.claim({}));
    connect(&guard, &InstanceGuard::handedOver, window.get(), &MainWindow::handOver);

    startSecond(picture);
    QTRY_COMPARE(QString::fromStdString(window->session().main.currentFolder), folder);
    QCOMPARE(ListNames(Find<QListWidget>(window.get(), "OldFile")), QStringList{QFileInfo(picture).fileName() + "*"});
  }

  void aHandOverIsACommandLineOfBoundedSize() {
    InstanceGuard guard(QStringLiteral("pictavo-test-%1").arg(QCoreApplication::applicationPid()));
    QVERIFY(guard.claim({}));
    QVERIFY(!guard.socketPath().isEmpty());
    QSignalSpy spy(&guard, &InstanceGuard::handedOver);
    auto message = [](const QStringList& arguments) {
      QByteArray bytes;
      QDataStream out(&bytes, QIODevice::WriteOnly);
      out << arguments;
      return bytes;
    };
    auto send = [&](const QByteArray& bytes, QLocalSocket& socket) {
      socket.connectToServer(guard.socketPath());
      QVERIFY(socket.waitForConnected(5000));
      socket.write(bytes);
    };
    // Larger than a command line: dropped, and the connection closed by the first window.
    {
      QLocalSocket socket;
      send(message({QString(40 * 1024, QLatin1Char('x'))}), socket);
      QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
    }
    // A count that claims more strings than the bytes hold.
    {
      QLocalSocket socket;
      send(QByteArray("\xFF\xFF\xFF\xF0\0\0\0\x02\0x", 10), socket);
      socket.disconnectFromServer();
      QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
    }
    // Up to the limit it is taken whole.
    const QString longest(30 * 1024, QChar(0x5199));
    {
      QLocalSocket socket;
      send(message({longest, QStringLiteral("b")}), socket);
      socket.disconnectFromServer();
      QTRY_COMPARE(spy.count(), 1);
    }
    QCOMPARE(spy.at(0).at(0).toStringList(), (QStringList{longest, QStringLiteral("b")}));
  }

  void aSecondStartFromAnotherFolderHandsOverAWholePath() {
    const QString folder = makeFolder(QStringLiteral("relative/pictures"));
    makeFolder(QStringLiteral("relative/elsewhere"));
    MakePicture(folder + "/r.jpg", 30, 20);
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    InstanceGuard guard;
    QVERIFY(guard.claim({}));
    connect(&guard, &InstanceGuard::handedOver, window.get(), &MainWindow::handOver);

    startSecond(QStringLiteral("../elsewhere/./../pictures"), path(QStringLiteral("relative/elsewhere")));
    QTRY_COMPARE(QString::fromStdString(window->session().main.currentFolder), folder);
    QCOMPARE(ListNames(Find<QListWidget>(window.get(), "OldFile")), QStringList{"r.jpg*"});
  }

  void closeAndDropsAreRefusedWhileBusyAndAHandOverWaits() {
    const QString folder = makeFolder(QStringLiteral("busy"));
    for (const char* name : {"a.jpg", "b.jpg"}) MakePicture(folder + "/" + name, 30, 20);
    const QString other = makeFolder(QStringLiteral("other"));
    ScriptedDialogs dialogs;
    auto window = open(dialogs, folder);
    bool tried = false, closed = true, moved = true, dropped = true;
    QString during;
    QTimer probe;
    probe.setInterval(0);
    connect(&probe, &QTimer::timeout, this, [&] {
      if (tried || !window->busy()) return;
      tried = true;
      closed = window->close();
      moved = window->goToPath(other);
      dropped = window->dropPaths({other});
      window->handOver({other});
      during = QString::fromStdString(window->session().main.currentFolder);
    });
    probe.start();
    QTest::mouseClick(Find<QWidget>(window.get(), "Button7"), Qt::LeftButton);
    probe.stop();
    QVERIFY(tried);
    QVERIFY(!closed);
    QVERIFY(!moved);
    QVERIFY(!dropped);
    QCOMPARE(during, folder);
    QCOMPARE(Count(ReadFile(folder + "/index.htm"), "<IMG src=\"htm_image/"), 2);
    QVERIFY(window->isVisible());
    // The handed-over path is taken once the run has ended.
    QCOMPARE(QString::fromStdString(window->session().main.currentFolder), other);
  }

  // Questions and messages show Qt's buttons; they must not be English in
  // the Japanese interface.
  void qtButtonsSpeakTheInterfaceLanguage() {
    QTranslator* translator = LoadQtTranslations(*qApp);
    QVERIFY2(translator, "Qt's Japanese translations are not installed");
    QMessageBox question(QMessageBox::Question, QStringLiteral("Pictavo"), QStringLiteral("?"),
                         QMessageBox::Yes | QMessageBox::No);
    QVERIFY(question.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")));
    QVERIFY(question.button(QMessageBox::No)->text().contains(QStringLiteral("いいえ")));
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
};

}  // namespace pictavo::gui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  pictavo::gui::MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
