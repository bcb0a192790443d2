// The rotation window: the walk as the main window hands it over, its
// buttons and counter, saving from the list, the quality control, and a
// sideways-stored photo shown and saved upright.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "rotation_window.h"
#include "tool_window_fixture.h"

namespace pictavo::gui {

class RotationWindowTest : public QObject, public ToolWindowFixture {
  Q_OBJECT

  struct Shown {
    QString counter, button4;
    bool button3 = false, button6 = false;
    QString name;
  };
  static Shown Look(RotationWindow* w) {
    return {Find<QLabel>(w, "StatusPanel2")->text(), Find<QPushButton>(w, "Button4")->text(),
            Find<QPushButton>(w, "Button3")->isEnabled(), Find<QPushButton>(w, "Button6")->isEnabled(),
            QString::fromStdString(w->walk().currentName())};
  }
  static void Click(RotationWindow* w, const char* name) { QTest::mouseClick(Find<QPushButton>(w, name), Qt::LeftButton); }

 private slots:
  void theWalkFollowsTheListsSelectionAndComesBack() {
    const QString folder = makeFolder(QStringLiteral("walk"));
    for (int i = 1; i <= 10; ++i) MakePicture(folder + QStringLiteral("/p%1.jpg").arg(i, 2, 10, QLatin1Char('0')), 8, 6);
    ScriptedDialogs dialogs;
    auto main = openMain(dialogs, folder);
    auto* list = Find<QListWidget>(main.get(), "OldFile");
    list->clearSelection();
    for (int row : {1, 4, 8}) list->item(row)->setSelected(true);  // entries 2, 5 and 9
    // Entries the list never shows itself: selected, but no ".jpg".
    main->session().pictures.push_back({"photo.jpeg", true});
    main->session().pictures.push_back({"photo.bmp", true});

    std::vector<Shown> seen;
    bool visible = false;
    QTimer::singleShot(0, this, [&] {
      RotationWindow* w = main->rotationWindow();
      visible = w->isVisible();
      seen.push_back(Look(w));
      Click(w, "Button3");
      seen.push_back(Look(w));
      Click(w, "Button6");
      seen.push_back(Look(w));
      Click(w, "Button6");  // back on the first picture: only disables itself
      seen.push_back(Look(w));
      Click(w, "Button3");
      Click(w, "Button3");
      seen.push_back(Look(w));
      Click(w, "Button5");
    });
    Find<QToolButton>(main.get(), "kaitenBtn")->click();

    QVERIFY(visible);
    QCOMPARE(seen.size(), size_t{5});
    QCOMPARE(seen[0].counter, QStringLiteral("001/003"));
    QCOMPARE(seen[0].name, QStringLiteral("p02.jpg"));
    QCOMPARE(seen[0].button4, QStringLiteral("保存して次へ"));
    QVERIFY(!seen[0].button6);
    QCOMPARE(seen[1].counter, QStringLiteral("002/003"));
    QCOMPARE(seen[1].name, QStringLiteral("p05.jpg"));
    QVERIFY(seen[1].button6);
    QCOMPARE(seen[2].counter, QStringLiteral("001/003"));
    QVERIFY(seen[2].button6);
    QCOMPARE(seen[3].counter, QStringLiteral("001/003"));
    QCOMPARE(seen[3].name, QStringLiteral("p02.jpg"));
    QVERIFY(!seen[3].button6);
    QVERIFY(seen[3].button3);
    QCOMPARE(seen[4].counter, QStringLiteral("003/003"));
    QCOMPARE(seen[4].name, QStringLiteral("p09.jpg"));
    QCOMPARE(seen[4].button4, QStringLiteral("保存して終了"));
    QVERIFY(!seen[4].button3);
    QVERIFY(!main->rotationWindow()->isVisible());

    // Back in the main list: the other entries deselected in its view, the
    // pictures' own selection unchanged.
    const QStringList names = ListNames(list);
    QVERIFY(names.contains(QStringLiteral("photo.jpeg")));
    QVERIFY(names.contains(QStringLiteral("photo.bmp")));
    QVERIFY(names.contains(QStringLiteral("p05.jpg*")));
    QVERIFY(dialogs.messages.isEmpty());

    // Nothing selected: the message, and no window.
    list->clearSelection();
    Find<QAction>(main.get(), "kaiten1")->trigger();
    QCOMPARE(dialogs.messages.value(0), QStringLiteral("ファイルが選択されていません。"));
    QVERIFY(!main->rotationWindow()->isVisible());
  }

  void aTurnSavedFromTheListIsOnDiskAndTheQualityStaysTheWindows() {
    const QString folder = makeFolder(QStringLiteral("save"));
    MakePicture(folder + "/a.jpg", 64, 48);
    ScriptedDialogs dialogs;
    auto main = openMain(dialogs, folder);
    RotationWindow* w = main->rotationWindow();
    QCOMPARE(Find<QLineEdit>(w, "Edit1")->text(), QStringLiteral("95"));
    w->setQuality(120);
    QCOMPARE(Find<QLineEdit>(w, "Edit1")->text(), QStringLiteral("100"));
    QTest::mouseClick(Find<QToolButton>(w, "UpDown1Down"), Qt::LeftButton);
    QCOMPARE(w->quality(), 99);
    QCOMPARE(Find<QLineEdit>(w, "Edit1")->text(), QStringLiteral("99"));

    QSize preview;
    QTimer::singleShot(0, this, [&] {
      Click(w, "Button1");
      preview = Find<QLabel>(w, "Image2")->size();
      Click(w, "Button4");  // the last picture: saves and closes
    });
    main->openRotation();
    QCOMPARE(preview, QSize(150, 200));
    QVERIFY(!w->isVisible());
    Bitmap saved;
    JpegInfo info;
    QVERIFY(DecodeJpegFile((folder + "/a.jpg").toStdString(), saved, info).ok());
    QCOMPARE(saved.width, 48);
    QCOMPARE(saved.height, 64);
    QCOMPARE(int(main->session().settings.rotationQuality), 95);
    QCOMPARE(ListNames(Find<QListWidget>(main.get(), "OldFile")), QStringList{QStringLiteral("a.jpg*")});
  }

  void aSidewaysPhotoIsShownAndSavedAsViewersShowIt() {
    const QString folder = makeFolder(QStringLiteral("sideways"));
    MakeSidewaysPicture(folder + "/s.jpg");
    ScriptedDialogs dialogs;
    auto main = openMain(dialogs, folder);
    RotationWindow* w = main->rotationWindow();
    QSize preview;
    QTimer::singleShot(0, this, [&] {
      preview = Find<QLabel>(w, "Image2")->size();
      Click(w, "Button4");  // turned zero times
    });
    main->openRotation();
    QCOMPARE(preview, QSize(150, 200));
    JpegInfo info;
    QVERIFY(ReadJpegInfo((folder + "/s.jpg").toStdString(), info).ok());
    QCOMPARE(info.orientation, 1);
    QCOMPARE(info.width, 48);
    QCOMPARE(info.height, 64);
  }
};

}  // namespace pictavo::gui

int RunRotationWindowTests(int argc, char** argv) {
  pictavo::gui::RotationWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "rotation_window_test.moc"
