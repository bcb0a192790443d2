// The publish window: opened from the table-of-contents window's file menu,
// its settings kept in the program folder apart from PCV.ini, a publish of
// the albums the main window made, and 中止.

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include "publish_window.h"
#include "toc_window.h"
#include "tool_window_fixture.h"

namespace pictavo::gui {

class PublishWindowTest : public QObject, public ToolWindowFixture {
  Q_OBJECT

  // An album of two pictures made by the main window, and its table of contents window.
  PublishWindow* openOnAlbum(ScriptedDialogs& dialogs, std::unique_ptr<MainWindow>& main, QString& album) {
    album = pictureFolder(QStringLiteral("site%1/album").arg(++m_sites), {{320, 200}, {60, 40}});
    main = openMain(dialogs, album);
    main->execute();
    dialogs.questions.clear();
    main->openTableOfContents();
    trigger(main->tocWindow(), "PublishItem");
    return main->tocWindow()->publishWindow();
  }

 private slots:
  void itsSettingsLiveInTheirOwnFileNotInTheSettingsFile() {
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
    QString album;
    PublishWindow* publish = openOnAlbum(dialogs, main, album);
    QVERIFY(publish);
    QVERIFY(publish->isVisible());
    QCOMPARE(publish->site(), album);
    QCOMPARE(Find<QAction>(main->tocWindow(), "PublishItem")->text(), QStringLiteral("公開用コピーの作成"));
    QCOMPARE(Find<QSpinBox>(publish, "MaxSize")->value(), 2048);
    QCOMPARE(Find<QSpinBox>(publish, "Quality")->value(), 85);
    QVERIFY(!Find<QCheckBox>(publish, "KeepLocation")->isChecked());
    QVERIFY(!Find<QPushButton>(publish, "AbortButton")->isEnabled());

    dialogs.folder = path(QStringLiteral("out1"));
    Find<QPushButton>(publish, "DestButton")->click();
    QCOMPARE(dialogs.folderTitles, QStringList{QStringLiteral("公開先フォルダ")});
    QCOMPARE(Find<QLineEdit>(publish, "DestEdit")->text(), path(QStringLiteral("out1")));
    const QString program = QString::fromStdString(main->session().main.programFolder);
    const std::string ini = ReadFile(program + "/PCV.ini");
    Find<QSpinBox>(publish, "MaxSize")->setValue(100);
    Find<QSpinBox>(publish, "Quality")->setValue(70);
    Find<QCheckBox>(publish, "KeepLocation")->setChecked(true);
    Find<QPushButton>(publish, "PublishButton")->click();
    QCOMPARE(ReadFile(program + "/publish.txt"), std::string("maxSize=100\r\nquality=70\r\nkeepLocation=on\r\n"));
    QCOMPARE(ReadFile(program + "/PCV.ini"), ini);
    publish->close();
    Find<QSpinBox>(publish, "MaxSize")->setValue(500);
    trigger(main->tocWindow(), "PublishItem");
    QCOMPARE(Find<QSpinBox>(publish, "MaxSize")->value(), 100);
    QCOMPARE(Find<QSpinBox>(publish, "Quality")->value(), 70);
    QVERIFY(Find<QCheckBox>(publish, "KeepLocation")->isChecked());
  }

  void publishesTheAlbumAndSaysWhatItWrote() {
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
    QString album;
    PublishWindow* publish = openOnAlbum(dialogs, main, album);
    Find<QPushButton>(publish, "PublishButton")->click();
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("公開先のフォルダを指定してください。")});
    dialogs.messages.clear();

    // A copy inside the site is refused, with the reason in the interface's words.
    Find<QLineEdit>(publish, "DestEdit")->setText(album + QStringLiteral("/web"));
    Find<QPushButton>(publish, "PublishButton")->click();
    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("公開用コピーを作成できません。\n\n公開先と公開するフォルダは、互いの中に置けません。")});
    QVERIFY(!QFileInfo::exists(album + QStringLiteral("/web")));
    dialogs.messages.clear();

    const QString dest = path(QStringLiteral("out2"));
    Find<QLineEdit>(publish, "DestEdit")->setText(dest);
    Find<QSpinBox>(publish, "MaxSize")->setValue(100);
    Find<QPushButton>(publish, "PublishButton")->click();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.front(),
             QStringLiteral("公開用コピーを作成しました。\n縮小した画像 1 枚、コピーしたファイル 4 件、"
                            "変更のなかったファイル 0 件、削除したファイル 0 件"));
    auto* bar = Find<QProgressBar>(publish, "Progress");
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(ReadFile(dest + "/index.htm"), ReadFile(album + "/index.htm"));
    Bitmap p;
    JpegInfo info;
    QVERIFY(DecodeJpegFile((dest + "/p1.jpg").toStdString(), p, info).ok());
    QCOMPARE(p.width, 100);
    QCOMPARE(p.height, 63);
    QVERIFY(Find<QPushButton>(publish, "PublishButton")->isEnabled());
    QVERIFY(!Find<QPushButton>(publish, "AbortButton")->isEnabled());
  }

  void abortStopsBeforeAnythingMoreIsWritten() {
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
    QString album;
    PublishWindow* publish = openOnAlbum(dialogs, main, album);
    const QString dest = path(QStringLiteral("out3"));
    Find<QLineEdit>(publish, "DestEdit")->setText(dest);
    // 中止 is pressed as soon as the publish lets events run.
    QTimer::singleShot(0, publish, [publish] {
      auto* abort = Find<QPushButton>(publish, "AbortButton");
      QVERIFY(abort->isEnabled());
      abort->click();
    });
    Find<QPushButton>(publish, "PublishButton")->click();
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("処理は中断されました。")});
    QVERIFY(!QFile::exists(dest + "/index.htm"));
    QVERIFY(QFile::exists(dest + "/.pictavo-publish"));
    // The next publish completes the copy.
    dialogs.messages.clear();
    Find<QPushButton>(publish, "PublishButton")->click();
    QVERIFY(dialogs.messages.front().startsWith(QStringLiteral("公開用コピーを作成しました。")));
    QCOMPARE(ReadFile(dest + "/index.htm"), ReadFile(album + "/index.htm"));
  }

 private:
  int m_sites = 0;
};

}  // namespace pictavo::gui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  pictavo::gui::PublishWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "publish_window_test.moc"
