// The comment editor window: opened from the main window, its fields always
// on the selected entry, the fill commands, Open1's order and its cancel,
// unsaved changes offered for saving, and the single-picture rotation.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "comment_window.h"
#include "rotation_window.h"
#include "tool_window_fixture.h"

namespace pictavo::gui {

class CommentWindowTest : public QObject, public ToolWindowFixture {
  Q_OBJECT

  static void Click(QWidget* w, const char* name) { QTest::mouseClick(Find<QPushButton>(w, name), Qt::LeftButton); }
  static QString Field(QWidget* w, const char* name) { return Find<QLineEdit>(w, name)->text(); }

  QString pictureFolder(const QString& name) {
    const QString folder = makeFolder(name);
    MakePicture(folder + "/a.jpg", 64, 48);
    MakePicture(folder + "/b.jpg", 30, 40);
    QFile broken(folder + "/c.jpg");
    broken.open(QIODevice::WriteOnly);
    broken.write("not a picture");
    return folder;
  }

 private slots:
  void itOpensOnTheMainFoldersFirstPictureAndKeepsCommentsOnTheirOwn() {
    const QString folder = pictureFolder(QStringLiteral("open"));
    ScriptedDialogs dialogs;
    auto main = openMain(dialogs, folder);
    QStringList files;
    QString count, afterBroken;
    QRect image;
    bool askedOnClose = false;
    QTimer::singleShot(0, this, [&] {
      CommentEditorWindow* w = main->commentWindow();
      files = ListNames(Find<QListWidget>(w, "File1"));
      count = Find<QLabel>(w, "StatusPanel0")->text();
      image = Find<QLabel>(w, "Image1")->geometry();
      Find<QLineEdit>(w, "Edit1")->setText(QStringLiteral("sea"));
      Click(w, "Button2");
      Find<QListWidget>(w, "File1")->setCurrentRow(2);  // cannot be decoded
      afterBroken = Field(w, "Edit1");
      Click(w, "Button2");  // stores c.jpg's own (empty) comments on c.jpg
      dialogs.answers = {true};
      Find<QAction>(w, "Exit1")->trigger();
      askedOnClose = !dialogs.questions.isEmpty();
      if (w->isVisible()) w->done(0);
    });
    Find<QToolButton>(main.get(), "commentBtn")->click();
    QCOMPARE(files, (QStringList{QStringLiteral("a.jpg*"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")}));
    QCOMPARE(count, QStringLiteral("ファイル数：3"));
    QCOMPARE(image, QRect(8, 95 - 56 + 10, 150, 112));
    QCOMPARE(afterBroken, QString());
    QVERIFY(askedOnClose);
    QCOMPARE(dialogs.questions.value(0),
             QStringLiteral("Pictavo|コメントが修正されています。\nファイルを保存しますか？"));
    const std::string saved = ReadFile(folder + "/PicComment.txt");
    QVERIFY(saved.find("a.jpg\r\nsea\r\n") != std::string::npos);
    QVERIFY(saved.find("c.jpg\r\n\r\n\r\n") != std::string::npos);
  }

  void aRunWantingCommentsWithoutTheFileOpensTheEditor() {
    const QString folder = pictureFolder(QStringLiteral("run"));
    ScriptedDialogs dialogs;
    auto main = openMain(dialogs, folder);
    Find<QCheckBox>(main.get(), "CommentBox")->setChecked(true);
    dialogs.answers = {true};
    bool opened = false;
    QString shownFolder;
    QTimer::singleShot(0, this, [&] {
      CommentEditorWindow* w = main->commentWindow();
      opened = w->isVisible();
      shownFolder = QString::fromStdString(w->editor().folder());
      Find<QLineEdit>(w, "Edit1")->setText(QStringLiteral("from the run"));
      Click(w, "Button2");
      Click(w, "Button5");  // save and finish
    });
    Find<QPushButton>(main.get(), "Button7")->click();
    QVERIFY(opened);
    QCOMPARE(shownFolder, folder);
    QVERIFY(dialogs.questions.value(0).contains(QStringLiteral("コメントファイルが見つかりません。")));
    QVERIFY(ReadFile(folder + "/PicComment.txt").find("from the run") != std::string::npos);
    QVERIFY(!main->busy());
    QVERIFY(!QFile::exists(folder + "/index.htm"));  // the run ended there
  }

  void fillsAndOpenOtherFollowTheirRules() {
    const QString folder = pictureFolder(QStringLiteral("fills"));
    QFile::remove(folder + "/c.jpg");
    const QString other = makeFolder(QStringLiteral("fills-other"));
    MakePicture(other + "/z.jpg", 8, 8);
    ScriptedDialogs dialogs;
    auto main = openMain(dialogs, folder);
    CommentEditorWindow* w = main->commentWindow();
    QVERIFY(w->openFolder(folder.toStdString()));
    Find<QListWidget>(w, "File1")->setCurrentRow(1);

    // An "all files" fill: every entry filled, the fields on the selected one.
    Find<QAction>(w, "N13")->trigger();
    QCOMPARE(Field(w, "Edit1"), QStringLiteral("b.jpg"));
    QCOMPARE(w->editor().commentSlots()[0].comment1, std::string("a.jpg"));
    Find<QAction>(w, "N11")->trigger();
    Find<QAction>(w, "N12")->trigger();
    QCOMPARE(Field(w, "Edit1"), QStringLiteral("b"));

    // After a fill Open1 does not ask; a cancelled chooser changes nothing.
    dialogs.chosenFolder.reset();
    Find<QAction>(w, "Open1")->trigger();
    QVERIFY(dialogs.questions.isEmpty());
    QCOMPARE(dialogs.chooserOpenings, 1);
    QCOMPARE(w->editor().folder(), folder.toStdString());

    // After 更新 and a save it still asks, before the chooser; No and a
    // cancel keep the edits.
    Find<QLineEdit>(w, "Edit1")->setText(QStringLiteral("mine"));
    Click(w, "Button2");
    Click(w, "Button1");
    QCOMPARE(dialogs.messages.last(), QStringLiteral("コメントファイルを保存しました。"));
    Find<QLineEdit>(w, "Edit1")->setText(QStringLiteral("later"));
    Click(w, "Button2");
    dialogs.answers = {false};
    Find<QAction>(w, "Open1")->trigger();
    QCOMPARE(dialogs.questions.size(), 1);
    QCOMPARE(dialogs.chooserOpenings, 2);
    QCOMPARE(w->editor().commentSlots()[1].comment1, std::string("later"));
    QCOMPARE(Field(w, "Edit1"), QStringLiteral("later"));

    // A chosen folder is read, with nothing selected.
    dialogs.answers = {false};
    dialogs.chosenFolder = other;
    Find<QAction>(w, "Open1")->trigger();
    QCOMPARE(ListNames(Find<QListWidget>(w, "File1")), QStringList{QStringLiteral("z.jpg")});
    QCOMPARE(w->editor().selected(), -1);
    QCOMPARE(Field(w, "Edit1"), QString());

    // Reopened from the main window with unsaved changes: asked first.
    Find<QListWidget>(w, "File1")->setCurrentRow(0);
    Find<QAction>(w, "N12")->trigger();
    dialogs.answers = {true};
    QVERIFY(w->openFolder(folder.toStdString()));
    QCOMPARE(dialogs.questions.size(), 3);
    QVERIFY(ReadFile(other + "/PicComment.txt").find("z\r\n") != std::string::npos);
  }

  void aPictureTurnedFromTheEditorIsShownTurned() {
    const QString folder = pictureFolder(QStringLiteral("turn"));
    ScriptedDialogs dialogs;
    auto main = openMain(dialogs, folder);
    CommentEditorWindow* w = main->commentWindow();
    QVERIFY(w->openFolder(folder.toStdString()));
    Find<QLineEdit>(w, "Edit1")->setText(QStringLiteral("kept"));
    Click(w, "Button2");
    struct {
      bool visible = false, button3 = true, button6 = true;
      QString button4, counter;
    } rotation;
    QTimer::singleShot(0, this, [&] {
      RotationWindow* r = main->rotationWindow();
      rotation = {r->isVisible(), Find<QPushButton>(r, "Button3")->isEnabled(),
                  Find<QPushButton>(r, "Button6")->isEnabled(), Find<QPushButton>(r, "Button4")->text(),
                  Find<QLabel>(r, "StatusPanel2")->text()};
      QTest::mouseClick(Find<QPushButton>(r, "Button1"), Qt::LeftButton);
      QTest::mouseClick(Find<QPushButton>(r, "Button4"), Qt::LeftButton);  // saves and closes
    });
    Find<QAction>(w, "N17")->trigger();
    QVERIFY(rotation.visible);
    QVERIFY(!rotation.button3);
    QVERIFY(!rotation.button6);
    QCOMPARE(rotation.button4, QStringLiteral("保存して終了"));
    QCOMPARE(rotation.counter, QString());
    // The turned picture is shown again, with its comments.
    QCOMPARE(w->editor().picture().width, 48);
    QCOMPARE(Find<QLabel>(w, "Image1")->size(), QSize(112, 150));
    QCOMPARE(Field(w, "Edit1"), QStringLiteral("kept"));

    // The Menu key and Shift+F10 open the list's pop-up menu, as a right click does.
    auto* menu = Find<QMenu>(w, "PopupMenu1");
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
      QTest::keyClick(Find<QListWidget>(w, "File1"), key, modifiers);
      QTRY_VERIFY(menu->isVisible());
      menu->close();
      QTRY_VERIFY(!menu->isVisible());
    }

    // Nothing selected: the message instead of the window.
    Find<QListWidget>(w, "File1")->clearSelection();
    Find<QAction>(w, "N18")->trigger();
    QCOMPARE(dialogs.messages.last(), QStringLiteral("ファイルが選択されていません。"));
  }
};

}  // namespace pictavo::gui

int RunCommentWindowTests(int argc, char** argv) {
  pictavo::gui::CommentWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "comment_window_test.moc"
