// The batch window: opening from the table-of-contents window with the
// main window as the album driver, the progress texts, 中止 pressed inside
// an album run's event pump, the preview switch shared with the main
// window, the final question, and a site identical to the command line's.

#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "batch_window.h"
#include "toc_window.h"
#include "tool_window_fixture.h"

namespace pictavo::gui {

namespace {

// Calls `seen` with a label's or box's text each time it is painted.
class PaintWatcher : public QObject {
 public:
  PaintWatcher(QWidget* widget, std::function<void(const QString&)> seen) : m_seen(std::move(seen)) {
    widget->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      if (auto* label = qobject_cast<QLabel*>(watched)) m_seen(label->text());
      if (auto* edit = qobject_cast<QLineEdit*>(watched)) m_seen(edit->text());
    }
    return false;
  }

 private:
  std::function<void(const QString&)> m_seen;
};

void AddOnce(QStringList& list, const QString& text) {
  if (list.isEmpty() || list.back() != text) list << text;
}

}  // namespace

class BatchWindowTest : public QObject, public ToolWindowFixture {
  Q_OBJECT

  // Five folders of two pictures, the table-of-contents window at their parent.
  TableOfContentsWindow* openAtSite(MainWindow& main, const QString& site) {
    main.goToPath(site);
    main.openTableOfContents();
    return main.tocWindow();
  }
  QString fiveFolders(const QString& name) {
    const QString site = makeFolder(name);
    for (int i = 1; i <= 5; ++i) pictureFolder(name + QStringLiteral("/f%1").arg(i), {{64, 48}, {48, 64}});
    return site;
  }

 private slots:
  void countsWithTheMainWindowAndShowsFiveSteps() {
    ScriptedDialogs dialogs;
    const QString site = fiveFolders(QStringLiteral("five"));
    pictureFolder(QStringLiteral("five/g-back"), {});
    MakePicture(site + "/g-back/back.jpg", 20, 20);  // only a background: not a target
    auto main = openMain(dialogs, site);
    main->session().settings.noBrowserPrompt = "on";  // the batch asks anyway
    TableOfContentsWindow* toc = openAtSite(*main, site);
    trigger(toc, "N2");
    BatchWindow* batch = toc->batchWindow();
    QVERIFY(batch && batch->isVisible());
    QCOMPARE(batch->windowTitle(), QStringLiteral("連続ファイル作成"));
    QCOMPARE(Find<QLineEdit>(batch, "Edit2")->text(), QStringLiteral("5"));
    QCOMPARE(Find<QLabel>(batch, "Panel3")->text(), QStringLiteral("00000/00005"));
    QVERIFY(!Find<QWidget>(batch, "Edit1")->isVisible());
    QVERIFY(!Find<QWidget>(batch, "Button2")->isVisible());
    // Counting moved the main window through the folders, to the last one.
    QCOMPARE(QString::fromStdString(main->session().main.currentFolder), site + "/g-back");

    QStringList progress, folders;
    bool tocHidden = true, abortShown = true;
    PaintWatcher panel(Find<QLabel>(batch, "Panel3"), [&](const QString& t) { AddOnce(progress, t); });
    PaintWatcher folder(Find<QLineEdit>(batch, "Edit1"), [&](const QString& t) {
      AddOnce(folders, t);
      tocHidden = tocHidden && !toc->isVisible();
      abortShown = abortShown && Find<QWidget>(batch, "Button2")->isVisible();
      // The main window shows the folder being made.
      QCOMPARE(QString::fromStdString(main->session().main.currentFolder), site + "/" + t);
    });
    QTest::mouseClick(Find<QPushButton>(batch, "Button1"), Qt::LeftButton);
    QCOMPARE(progress, (QStringList{"00001/00005", "00002/00005", "00003/00005", "00004/00005", "00005/00005"}));
    QCOMPARE(folders, (QStringList{"f1", "f2", "f3", "f4", "f5"}));
    QVERIFY(tocHidden);
    QVERIFY(abortShown);
    QCOMPARE(Find<QProgressBar>(batch, "ProgressBar1")->maximum(), 5);
    QCOMPARE(Find<QProgressBar>(batch, "ProgressBar1")->value(), 5);
    for (int i = 1; i <= 5; ++i) QVERIFY(QFile::exists(site + QStringLiteral("/f%1/index.htm").arg(i)));
    QVERIFY(!QFile::exists(site + "/g-back/index.htm"));
    QCOMPARE(Count(ReadFile(site + "/index.htm"), "<!-- FILE=005 -->"), 1);
    // Only the batch's own question, asked although noBrowserPrompt is on.
    QCOMPARE(dialogs.questions,
             QStringList{QStringLiteral("Pictavo|　　　　ファイル作成終了　　　　\nブラウザを起動しますか？")});
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(!batch->isVisible());
    QVERIFY(toc->isVisible());
    QVERIFY(!Find<QWidget>(batch, "Button1")->isHidden());
    QVERIFY(Find<QWidget>(batch, "Button2")->isHidden());
  }

  void abortDuringTheSecondFolderCompletesItAndWritesNoTableOfContents() {
    ScriptedDialogs dialogs;
    const QString site = fiveFolders(QStringLiteral("abort"));
    auto main = openMain(dialogs, site);
    TableOfContentsWindow* toc = openAtSite(*main, site);
    toc->openBatch();
    BatchWindow* batch = toc->batchWindow();
    bool pressedInsideAlbumRun = false;
    bool refused = false;
    PaintWatcher folder(Find<QLineEdit>(batch, "Edit1"), [&](const QString& t) {
      if (t != QStringLiteral("f2")) return;
      // Runs at the album run's first look at its events, inside MainWindow's pump.
      QTimer::singleShot(0, batch, [&] {
        pressedInsideAlbumRun = main->busy();
        // Mid-run the windows refuse to close, and Esc does nothing.
        batch->close();
        batch->reject();
        toc->close();
        refused = batch->isVisible() && batch->running();
        QTest::mouseClick(Find<QPushButton>(batch, "Button2"), Qt::LeftButton);
      });
    });
    QTest::mouseClick(Find<QPushButton>(batch, "Button1"), Qt::LeftButton);
    QVERIFY(pressedInsideAlbumRun);
    QVERIFY(refused);
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("処理は中断されました")});
    QVERIFY(dialogs.questions.isEmpty());
    // The second album is complete; nothing after it, and no table of contents.
    QCOMPARE(Count(ReadFile(site + "/f2/index.htm"), "<IMG src=\"htm_image/"), 2);
    QVERIFY(ReadFile(site + "/f2/index.htm").find("</HTML>") != std::string::npos);
    QVERIFY(!QFile::exists(site + "/f3/index.htm"));
    QVERIFY(!QFile::exists(site + "/index.htm"));
    QVERIFY(!batch->isVisible());
    QVERIFY(toc->isVisible());
  }

  void thePreviewSwitchIsTheMainWindowsSwitch() {
    ScriptedDialogs dialogs;
    const QString site = fiveFolders(QStringLiteral("preview"));
    auto main = openMain(dialogs, site);
    TableOfContentsWindow* toc = openAtSite(*main, site);
    toc->openBatch();
    BatchWindow* batch = toc->batchWindow();
    auto* speed = Find<QToolButton>(batch, "SpeedButton1");
    auto* noPic = Find<QToolButton>(main.get(), "NoPicButton");
    QCOMPARE(speed->toolTip(), QStringLiteral("連続処理時の画像表示切換"));
    QVERIFY(speed->isChecked());
    QTest::mouseClick(speed, Qt::LeftButton);
    QVERIFY(!main->session().main.previewOn);
    QVERIFY(!noPic->isChecked());
    batch->close();
    // The next opening shows the main window's state.
    toc->openBatch();
    QVERIFY(!speed->isChecked());
    batch->close();
    noPic->setChecked(true);
    toc->openBatch();
    QVERIFY(speed->isChecked());
  }

  void aTableOfContentsThatStopsGetsNoQuestion() {
    ScriptedDialogs dialogs;
    const QString site = makeFolder(QStringLiteral("stops"));
    pictureFolder(QStringLiteral("stops/a"), {{40, 30}});
    MakePicture(site + "/wall.jpg", 10, 10);  // already in the folder: the copy stops
    auto main = openMain(dialogs, site);
    TableOfContentsWindow* toc = openAtSite(*main, site);
    Find<QCheckBox>(toc, "Check3")->setChecked(true);
    dialogs.openPath = site + "/a/p1.jpg";
    MakePicture(site + "/p1.jpg", 10, 10);
    Find<QPushButton>(toc, "Button4")->click();
    toc->openBatch();
    QTest::mouseClick(Find<QPushButton>(toc->batchWindow(), "Button1"), Qt::LeftButton);
    QVERIFY(QFile::exists(site + "/a/index.htm"));
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("背景ファイルコピーに失敗しました。\n処理は中断されました。")});
    QVERIFY(dialogs.questions.isEmpty());
    QVERIFY(dialogs.opened.isEmpty());
    QVERIFY(!QFile::exists(site + "/index.htm"));
  }

  // A sub-folder the main window cannot show sends it to the home folder;
  // the batch must not take the home folder's pictures for that album.
  void aFolderTheMainWindowCannotShowHoldsNothing() {
    ScriptedDialogs dialogs;
    const QString home = QDir::homePath();
    MakePicture(home + "/mine.jpg", 20, 20);
    const QString site = pictureFolder(QStringLiteral("gone/a"), {{30, 20}});
    auto main = openMain(dialogs, site);
    MainWindowDriver driver(*main, main->session());
    driver.moveToFolder((site + "/vanished").toStdString());
    QCOMPARE(QString::fromStdString(main->session().main.currentFolder), home);
    QVERIFY(driver.listPictures().empty());
    QVERIFY(!IsBatchTarget(driver.listPictures()));
    QCOMPARE(driver.runAlbum(), RunOutcome::Failed);
    QVERIFY(!QFile::exists(home + "/index.htm"));
    QVERIFY(!QDir(home + "/htm_image").exists());
    // A folder it shows is driven as usual.
    driver.moveToFolder(site.toStdString());
    QCOMPARE(driver.listPictures().size(), size_t{1});
    driver.deselect("p1.jpg");
    QVERIFY(!main->session().pictures.front().selected);
    QVERIFY(Find<QListWidget>(main.get(), "OldFile")->selectedItems().isEmpty());
    QFile::remove(home + "/mine.jpg");
  }

  void theSiteIsTheOneTheCommandLineMakes() {
    // The same tree twice, under parents of different names.
    QString sites[2];
    for (int i = 0; i < 2; ++i) {
      sites[i] = makeFolder(QStringLiteral("same%1/旅の写真").arg(i));
      pictureFolder(sites[i].section('/', -2) + "/春", {{640, 480}, {300, 400}, {90, 60}});
      pictureFolder(sites[i].section('/', -2) + "/夏", {{500, 500}});
      pictureFolder(sites[i].section('/', -2) + "/empty", {});
    }
    // The windows: frames, pictures, default settings.
    ScriptedDialogs dialogs;
    auto main = openMain(dialogs, sites[0]);
    TableOfContentsWindow* toc = openAtSite(*main, sites[0]);
    Find<QCheckBox>(toc, "framecheck")->setChecked(true);
    Find<QCheckBox>(toc, "Check2")->setChecked(true);
    toc->openBatch();
    QTest::mouseClick(Find<QPushButton>(toc->batchWindow(), "Button1"), Qt::LeftButton);
    QVERIFY(dialogs.messages.isEmpty());

    QProcess cli;
    cli.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    cli.start(QStringLiteral(PICTAVO_CLI_PATH),
              {"batch", sites[1], "--frames", "--pictures", "--quiet", "--home", makeFolder("cli-home")});
    QVERIFY(cli.waitForFinished(120000));
    QCOMPARE(cli.exitCode(), 0);

    const auto made = FilesBelow(sites[0]);
    const auto expected = FilesBelow(sites[1]);
    QCOMPARE(made.keys(), expected.keys());
    QVERIFY(made.contains(QStringLiteral("title.htm")));
    QVERIFY(made.contains(QStringLiteral("春/htm_image/p1.jpg")));
    for (auto it = made.begin(); it != made.end(); ++it) QVERIFY2(it.value() == expected[it.key()], qPrintable(it.key()));
  }
};

}  // namespace pictavo::gui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  pictavo::gui::BatchWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "batch_window_test.moc"
