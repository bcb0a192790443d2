// The interface's language: the English catalogue reaches every window, and
// what the program writes is the same byte for byte in either language.

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

#include "batch_window.h"
#include "bmp_window.h"
#include "comment_window.h"
#include "folder_widgets.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "options_window.h"
#include "publish_window.h"
#include "rotation_window.h"
#include "settings_view_window.h"
#include "toc_window.h"
#include "tool_window_fixture.h"
#include "translations.h"

namespace pictavo::gui {

namespace {

// Kana and kanji: a text holding them was not translated.
bool HasJapanese(const QString& text) {
  static const QRegularExpression japanese(QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}\\x{ff61}-\\x{ff9f}]"));
  return japanese.match(text).hasMatch();
}

// Every caption, label, hint and menu item of `window` still in Japanese.
QStringList JapaneseTexts(QWidget* window) {
  QStringList found;
  const auto check = [&](const QObject* o, const QString& text) {
    if (HasJapanese(text)) found << o->objectName() + ": " + text;
  };
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) check(b, b->text());
    if (auto* l = qobject_cast<QLabel*>(w)) check(l, l->text());
    check(w, w->toolTip());
    check(w, w->accessibleName());
  }
  for (QAction* a : window->findChildren<QAction*>()) check(a, a->text());
  check(window, window->windowTitle());
  return found;
}

// The English catalogue while it lives, removed again even when a check
// fails, so that one failure does not carry into the next test.
class EnglishInterface {
 public:
  explicit EnglishInterface(bool wanted = true)
      : m_translator(wanted ? LoadProgramTranslations(*qApp, QStringLiteral("en")) : nullptr) {}
  ~EnglishInterface() {
    if (!m_translator) return;
    QCoreApplication::removeTranslator(m_translator);
    delete m_translator;
  }
  EnglishInterface(const EnglishInterface&) = delete;
  EnglishInterface& operator=(const EnglishInterface&) = delete;
  bool loaded() const { return m_translator != nullptr; }

 private:
  QTranslator* m_translator;
};

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT

  QTemporaryDir m_dir;

  // Makes the album of `folder` and saves the settings as `settingsFile`,
  // in the interface of whatever catalogue is installed.
  void makeAlbumAndSaveSettings(const QString& folder, const QString& program, const QString& settingsFile) {
    ScriptedDialogs dialogs;
    StartArguments args;
    args.programFolder = program;
    args.commandLinePath = folder;
    auto window = std::make_unique<MainWindow>(dialogs, args);
    window->show();
    auto* list = Find<QListWidget>(window.get(), "OldFile");
    QTRY_COMPARE(list->count(), 3);
    list->selectAll();
    Find<QLineEdit>(window.get(), "HPtytlebox")->setText(QStringLiteral("旅の写真"));
    Find<QPushButton>(window.get(), "Button7")->click();
    QTRY_VERIFY(!window->busy());
    QVERIFY2(QFileInfo::exists(folder + "/index.htm"), qPrintable(dialogs.messages.join('|')));
    dialogs.savePath = settingsFile;
    Find<QAction>(window.get(), "settingsSave1")->trigger();
    QVERIFY(QFileInfo::exists(settingsFile));
  }

 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("HOME", m_dir.filePath(QStringLiteral("home")).toUtf8());
  }

  void theEnglishCatalogueReachesEveryTextOfTheMainWindow() {
    ScriptedDialogs dialogs;
    StartArguments args;
    args.programFolder = m_dir.filePath(QStringLiteral("program-en"));
    {
      MainWindow japanese(dialogs, args);
      QCOMPARE(Find<QPushButton>(&japanese, "Button7")->text(), QStringLiteral("実行(&X)"));
    }
    const EnglishInterface english;
    QVERIFY2(english.loaded(), "the English catalogue is not in the program");
    MainWindow window(dialogs, args);
    QCOMPARE(Find<QPushButton>(&window, "Button7")->text(), QStringLiteral("E&xecute"));
    QCOMPARE(Find<QMenu>(&window, "File2")->title(), QStringLiteral("&File"));
    const QStringList left = JapaneseTexts(&window);
    QVERIFY2(left.isEmpty(), qPrintable(left.join('\n')));
  }

  // Every window a user of the English interface meets, tool windows and
  // dialogs included, shows no Japanese text of its own.
  void everyWindowSpeaksEnglish() {
    const EnglishInterface english;
    QVERIFY(english.loaded());
    {
      ToolWindowFixture fixture;
      ScriptedDialogs dialogs;
      const QString folder = fixture.pictureFolder(QStringLiteral("pictures"), {{64, 48}, {48, 64}});
      auto main = fixture.openMain(dialogs, folder);
      QStringList left = JapaneseTexts(main.get());
      TableOfContentsWindow* toc = main->tocWindow();
      left << JapaneseTexts(toc);
      toc->openBatch();
      QVERIFY(toc->batchWindow());
      left << JapaneseTexts(toc->batchWindow());
      toc->batchWindow()->hide();
      toc->openPublish();
      QVERIFY(toc->publishWindow());
      left << JapaneseTexts(toc->publishWindow());
      toc->publishWindow()->hide();
      toc->hide();
      left << JapaneseTexts(main->bmpWindow()) << JapaneseTexts(main->rotationWindow())
           << JapaneseTexts(main->commentWindow());
      main->openOptions();
      QVERIFY(main->options());
      left << JapaneseTexts(main->options());
      Find<QPushButton>(main->options(), "Button2")->click();  // the file dialog's title
      QCOMPARE(dialogs.fileTitles.size(), 1);
      for (const QString& title : dialogs.fileTitles + dialogs.folderTitles) {
        if (HasJapanese(title)) left << QStringLiteral("dialog title: ") + title;
      }
      main->options()->hide();
      main->openSettingsView();
      QVERIFY(main->settingsView());
      left << JapaneseTexts(main->settingsView());
      main->settingsView()->hide();
      FolderChooserDialog chooser;
      left << JapaneseTexts(&chooser);
      QVERIFY2(left.isEmpty(), qPrintable(left.join('\n')));
    }
  }

  void albumAndSettingsAreTheSameBytesInEitherLanguage() {
    QStringList albums;
    for (const QString& language : {QStringLiteral("ja"), QStringLiteral("en")}) {
      const QString folder = m_dir.filePath(QStringLiteral("album-") + language);
      QDir().mkpath(folder);
      for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) MakePicture(folder + "/" + name, 96, 64);
      const EnglishInterface english(language == QStringLiteral("en"));
      makeAlbumAndSaveSettings(folder, m_dir.filePath(QStringLiteral("program-") + language),
                               m_dir.filePath(QStringLiteral("saved-") + language + QStringLiteral(".ini")));
      albums << folder;
    }
    const auto japanese = FilesBelow(albums[0]);
    const auto english = FilesBelow(albums[1]);
    QCOMPARE(english.keys(), japanese.keys());
    QVERIFY(japanese.contains(QStringLiteral("index.htm")));
    for (const QString& name : japanese.keys()) QVERIFY2(english[name] == japanese[name], qPrintable(name));
    QCOMPARE(ReadFile(m_dir.filePath(QStringLiteral("saved-en.ini"))),
             ReadFile(m_dir.filePath(QStringLiteral("saved-ja.ini"))));
  }

  // A name that is not UTF-8 is left out of the list and reported, in the
  // interface's language.
  void namesLeftOutAreReportedInTheInterfaceLanguage() {
    const QString folder = m_dir.filePath(QStringLiteral("not-utf8"));
    QDir().mkpath(folder);
    MakePicture(folder + "/a.jpg", 64, 48);
    // Qt would mend the name on the way: the bytes go to the system as they are.
    const QByteArray bad = QFile::encodeName(folder) + "/\xff\xfe.jpg";
    const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);
    for (const QString& language : {QStringLiteral("ja"), QStringLiteral("en")}) {
      const EnglishInterface english(language == QStringLiteral("en"));
      ScriptedDialogs dialogs;
      StartArguments args;
      args.programFolder = m_dir.filePath(QStringLiteral("program-utf8-") + language);
      args.commandLinePath = folder;
      {
        MainWindow window(dialogs, args);
        QTRY_COMPARE(Find<QListWidget>(&window, "OldFile")->count(), 1);
        const QString shown = Find<QLabel>(&window, "StatusPanel0")->text();
        QVERIFY2(shown.startsWith(folder), qPrintable(shown));
        QVERIFY2(shown.contains(language == QStringLiteral("en") ? QStringLiteral("1 name(s) not in UTF-8")
                                                                 : QStringLiteral("UTF-8 でない名前 1 個")),
                 qPrintable(shown));
      }
    }
  }

  // Last: it leaves the English interface installed.
  void theHelpPageIsTheInterfaceLanguagesWhereThereIsOne() {
    const QString program = m_dir.filePath(QStringLiteral("program-help"));
    QDir().mkpath(program + "/help");
    for (const char* name : {"index.html", "index.en.html"}) QFile(program + "/help/" + name).open(QIODevice::WriteOnly);
    ScriptedDialogs dialogs;
    StartArguments args;
    args.programFolder = program;
    UseInterfaceLanguage(*qApp, InterfaceLanguage::English);
    QCOMPARE(CurrentInterfaceLanguage(), InterfaceLanguage::English);
    MainWindow window(dialogs, args);
    Find<QAction>(&window, "helpContents1")->trigger();
    QCOMPARE(dialogs.opened, QStringList{"|" + program + "/help/index.en.html"});
    // Without an English page the Japanese one is opened, not nothing.
    QFile::remove(program + "/help/index.en.html");
    Find<QAction>(&window, "helpContents1")->trigger();
    QCOMPARE(dialogs.opened.last(), "|" + program + "/help/index.html");
  }
};

}  // namespace pictavo::gui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  pictavo::gui::LanguageTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "language_test.moc"
