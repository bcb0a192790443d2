// The BMP conversion window: opening at the main window's folder, the .bmp
// list, the preview box of the file in hand, and the overwrite question.

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

#include "bmp_window.h"
#include "image/jpeg.h"
#include "message_text.h"
#include "tool_window_fixture.h"

namespace pictavo::gui {

namespace {
void MakeBmp(const QString& path, int w, int h) {
  QImage image(w, h, QImage::Format_RGB888);
  image.fill(QColor(200, 40, 90));
  QVERIFY(image.save(path, "BMP"));
}
// Records a widget's geometry each time it is painted.
class GeometryWatcher : public QObject {
 public:
  GeometryWatcher(QWidget* widget, QList<QRect>& shown) : m_shown(shown) { widget->installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const QRect r = static_cast<QWidget*>(watched)->geometry();
      if (m_shown.isEmpty() || m_shown.back() != r) m_shown << r;
    }
    return false;
  }

 private:
  QList<QRect>& m_shown;
};

}  // namespace

class BmpWindowTest : public QObject, public ToolWindowFixture {
  Q_OBJECT

 private slots:
  // With no translation installed a window shows the table's text, its
  // arguments put in once, byte for byte what the command line shows.
  void messagesRenderFromTheSharedTable() {
    QCOMPARE(pictavo::MessageText({pictavo::MessageId::OverwriteQuestion, {"a%1.jpg"}}),
             QString::fromUtf8("同名のファイルが存在します。\ra%1.jpg\r上書きしてよろしいですか？"));
    QCOMPARE(pictavo::MessageText(pictavo::MessageId::Caption), QStringLiteral("Pictavo"));
    QCOMPARE(pictavo::MessageText(pictavo::Detail("0001/0002   ")), QStringLiteral("0001/0002   "));
  }

  void opensAtTheMainWindowsFolderWithItsBmpFiles() {
    ScriptedDialogs dialogs;
    const QString folder = makeFolder(QStringLiteral("list"));
    for (const char* name : {"b.bmp", "A.BMP", "c.Bmp"}) MakeBmp(folder + "/" + name, 4, 4);
    MakePicture(folder + "/photo.jpg", 8, 8);
    auto main = openMain(dialogs, folder);
    trigger(main.get(), "BMP1");
    BmpConversionWindow* bmp = main->bmpWindow();
    QVERIFY(bmp->isVisible());
    QVERIFY(bmp->isModal());
    QCOMPARE(bmp->windowTitle(), QStringLiteral("BMP-JPG変換"));
    QCOMPARE(bmp->folder(), folder);
    auto* list = Find<QListWidget>(bmp, "File1");
    QCOMPARE(ListNames(list, false), (QStringList{"A.BMP", "b.bmp", "c.Bmp"}));
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    auto* quality = Find<QSpinBox>(bmp, "SpinEdit1");
    QCOMPARE(quality->value(), 95);
    QCOMPARE(quality->minimum(), 70);
    QCOMPARE(quality->maximum(), 100);
    bmp->close();
    // The tool button opens it too, at the folder the main window shows now.
    const QString other = makeFolder(QStringLiteral("list/other"));
    main->goToPath(other);
    QTest::mouseClick(Find<QToolButton>(main.get(), "BMPBtn"), Qt::LeftButton);
    QVERIFY(bmp->isVisible());
    QCOMPARE(bmp->folder(), other);
    QCOMPARE(list->count(), 0);
    // A folder that cannot be shown: the home folder, as in every window.
    bmp->goTo(other + "/missing");
    QCOMPARE(bmp->folder(), QDir::homePath());
    bmp->goTo(other);
    // Nothing selected: the message, nothing written.
    Find<QPushButton>(bmp, "Button1")->click();
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("ファイルが選択されていません。")});
  }

  void aQualityTypedOutOfRangeBecomesTheNearestInRange() {
    ScriptedDialogs dialogs;
    auto main = openMain(dialogs, makeFolder(QStringLiteral("quality")));
    trigger(main.get(), "BMP1");
    BmpConversionWindow* bmp = main->bmpWindow();
    bmp->activateWindow();
    auto* quality = Find<QSpinBox>(bmp, "SpinEdit1");
    quality->setValue(70);
    for (const auto& [typed, kept] : {std::pair{"150", 100}, std::pair{"5", 70}, std::pair{"85", 85}}) {
      quality->setFocus();
      QTRY_VERIFY(quality->hasFocus());
      quality->selectAll();
      for (const char c : std::string(typed)) QTest::keyClick(QApplication::focusWidget(), c);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QTRY_VERIFY(!quality->hasFocus());
      QCOMPARE(quality->value(), kept);
      QCOMPARE(quality->text(), QString::number(kept));
    }
  }

  void convertsWithThePreviewBoxAndAsksBeforeOverwriting() {
    ScriptedDialogs dialogs;
    const QString folder = makeFolder(QStringLiteral("convert"));
    MakeBmp(folder + "/wide.bmp", 300, 100);
    MakeBmp(folder + "/SQUARE.BMP", 50, 50);
    auto main = openMain(dialogs, folder);
    main->openBmpConversion();
    BmpConversionWindow* bmp = main->bmpWindow();
    auto* list = Find<QListWidget>(bmp, "File1");
    auto* image = Find<QLabel>(bmp, "Image2");
    list->item(1)->setSelected(true);  // wide.bmp
    Find<QPushButton>(bmp, "Button1")->click();
    QCOMPARE(image->geometry(), QRect(5, 44, 116, 39));
    QVERIFY(image->isVisible());
    QCOMPARE(Find<QLabel>(bmp, "Label3")->text(), QStringLiteral("wide.bmp"));
    QCOMPARE(Find<QLabel>(bmp, "StatusPanel0")->text(), QStringLiteral("変換終了"));
    Bitmap out;
    JpegInfo info;
    QVERIFY(DecodeJpegFile((folder + "/wide.jpg").toStdString(), out, info).ok());
    QCOMPARE(out.width, 300);
    QCOMPARE(out.height, 100);

    // Both: the square is shown whole, and the existing JPEG is asked about; No keeps it.
    const std::string before = ReadFile(folder + "/wide.jpg");
    list->selectAll();
    dialogs.answers = {false};
    QList<QRect> shown;
    GeometryWatcher watcher(image, shown);
    // Events run during the command; the window neither closes nor starts again.
    bool refused = false;
    QTimer::singleShot(0, bmp, [&] {
      bmp->close();
      Find<QPushButton>(bmp, "Button1")->click();
      refused = bmp->busy() && bmp->isVisible() && !Find<QWidget>(bmp, "Button1")->isEnabled();
    });
    Find<QPushButton>(bmp, "Button1")->click();
    QCOMPARE(dialogs.questions,
             QStringList{QStringLiteral("Pictavo|同名のファイルが存在します。\nwide.jpg\n上書きしてよろしいですか？")});
    QCOMPARE(ReadFile(folder + "/wide.jpg"), before);
    QVERIFY(QFile::exists(folder + "/SQUARE.jpg"));
    QCOMPARE(shown, (QList<QRect>{QRect(5, 5, 116, 116), QRect(5, 44, 116, 39)}));  // in list order
    QVERIFY(refused);
    QVERIFY(!bmp->busy());
    QVERIFY(Find<QWidget>(bmp, "Button1")->isEnabled());
  }
};

}  // namespace pictavo::gui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  pictavo::gui::BmpWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "bmp_window_test.moc"
