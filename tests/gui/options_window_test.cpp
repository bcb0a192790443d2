// The options dialog and the settings check view under the offscreen
// platform: named controls, fill and confirm through PCV.ini, Cancel, the
// pickers, and how the check view's update meets a run and the dialog.

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "../every_option_changed.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "options_window.h"
#include "platform/paths.h"
#include "settings/settings_file.h"
#include "settings_view_window.h"

namespace pictavo::gui {

// Every control the keyboard reaches must have a name a screen reader can
// say (its own or its buddy label's), and its hint as its description.
// The parts of a spin box or list (their editor, their popup) speak
// through the control itself.
QStringList UnnamedFocusableControls(QWidget* window) {
  QStringList problems;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!(w->focusPolicy() & Qt::TabFocus) || w->window() != window) continue;
    if (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) || qobject_cast<QComboBox*>(w->parentWidget())) continue;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    const QString id = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    if (!a || a->text(QAccessible::Name).trimmed().isEmpty()) problems << id + " has no name";
    if (!w->toolTip().isEmpty() && (!a || a->text(QAccessible::Description) != w->toolTip())) {
      problems << id + " lacks its hint as description";
    }
  }
  return problems;
}

class OptionsWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  int m_count = 0;

  QString path(const QString& name) const { return m_dir.filePath(name); }
  QString makeFolder(const QString& name) {
    QDir().mkpath(path(name));
    return path(name);
  }
  // A main window over its own program folder (with `pcv` as PCV.ini when
  // given) and a picture folder with two pictures.
  std::unique_ptr<MainWindow> open(ScriptedDialogs& dialogs, const std::optional<AlbumSettings>& pcv = std::nullopt) {
    const QString program = makeFolder(QStringLiteral("program%1").arg(++m_count));
    if (pcv) writePcv(program, *pcv);
    const QString pictures = makeFolder(QStringLiteral("pictures%1").arg(m_count));
    MakePicture(pictures + "/a.jpg", 40, 30);
    MakePicture(pictures + "/b.jpg", 30, 40);
    StartArguments args;
    args.programFolder = program;
    args.commandLinePath = pictures;
    auto window = std::make_unique<MainWindow>(dialogs, args);
    window->show();
    return window;
  }
  static void writePcv(const QString& program, const AlbumSettings& s) {
    SettingsLines lines{};
    FillSettingsLines(s, kProgramVersion, lines);
    const Status written = WriteSettingsFile(DefaultSettingsPath(program.toStdString()), lines);
    QVERIFY2(written.ok(), written.reason().c_str());
  }
  static QString pcvPath(MainWindow& window) {
    return QString::fromStdString(DefaultSettingsPath(window.session().main.programFolder));
  }
  static OptionsDialog* options(MainWindow& window) {
    window.openOptions();
    OptionsDialog* dialog = window.options();
    if (!dialog || !dialog->isVisible()) qWarning("the options dialog is not shown");
    return dialog;
  }
  static void click(QWidget* window, const char* name) {
    QTest::mouseClick(Find<QPushButton>(window, name), Qt::LeftButton);
  }

 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("HOME", makeFolder(QStringLiteral("home")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", makeFolder(QStringLiteral("runtime")).toUtf8());
  }

  void everyControlHasItsNameCaptionAndHint() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    OptionsDialog* dialog = options(*window);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("オプション"));
    QVERIFY(dialog->isModal());
    const char* names[] = {"Edit1", "Button1", "CheckBox2", "autoinibox", "linenumspin", "tablewidthbox", "Panel2",
                           "Button4", "Panel5", "Button8", "Check3", "Edit2", "Button5", "Combo1", "Panel3",
                           "Button6", "CheckBox3", "CheckBox4", "fontsetbox", "Combo2", "TtableBox", "Combo3",
                           "Panel4", "Button7", "SpinEdit5", "SpinEdit1", "SpinEdit2", "SpinEdit4", "Check5",
                           "Check6", "Checkfilter", "s_filebox", "PicFrameBox", "fileclearbox", "htmlfilebox",
                           "htmlfoldabox", "s_headerbox", "headerBox", "headertext", "footerbox", "footertext",
                           "footerlinkbox", "footerlink", "Edit3", "Button2", "Edit6", "Button3", "browserbox",
                           "Check7", "SpinEdit3", "s_maxcheck", "SpinSX", "SpinSY", "Edit7", "UpDown1", "CheckBox1",
                           "optOK", "optCansel"};
    for (const char* name : names) QVERIFY2(dialog->findChild<QWidget*>(QLatin1String(name)), name);
    auto* pages = dialog->findChild<QTabWidget*>();
    QStringList tabs;
    for (int i = 0; i < pages->count(); ++i) tabs << pages->tabText(i);
    QCOMPARE(tabs, (QStringList{"基本設定", "ページ設定", "タイトル設定", "ｻﾑﾈｲﾙ画像", "作成ﾌｧｲﾙ名", "ﾍｯﾀﾞｰ/ﾌｯﾀｰ",
                                "外部ソフト", "スライドショウ", "画像回転"}));
    QCOMPARE(Find<QPushButton>(dialog, "optOK")->text(), QStringLiteral("登録"));
    QCOMPARE(Find<QPushButton>(dialog, "optOK")->toolTip(), QStringLiteral("すべての設定が終了したら保存して下さい。"));
    QCOMPARE(Find<QPushButton>(dialog, "optCansel")->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    QCOMPARE(Find<QWidget>(dialog, "Edit1")->toolTip(), QStringLiteral("直接入力はできません。右の設定ボタンで設定します。"));
    QCOMPARE(Find<QCheckBox>(dialog, "PicFrameBox")->text(), QStringLiteral("ｻﾑﾈｲﾙ画像にリンクの枠表示をしない"));
    QCOMPARE(Find<QCheckBox>(dialog, "footerbox")->text(), QStringLiteral("デフォルト（Pictavoのリンク）"));
    QCOMPARE(Find<QCheckBox>(dialog, "browserbox")->text(), QStringLiteral("ブラウザを起動しない"));
    QCOMPARE(Find<QWidget>(dialog, "Combo1")->toolTip(),
             QStringLiteral("タイトルに使用する文字サイズです。（数字が大きいほど文字も大きい）"));
    QCOMPARE(Find<QComboBox>(dialog, "Combo3")->count(), 8);
    QCOMPARE(Find<QComboBox>(dialog, "Combo3")->currentText(), QStringLiteral("標準"));
    QCOMPARE(Find<QLineEdit>(dialog, "Edit7")->text(), QStringLiteral("95"));
    QCOMPARE(Find<QSpinBox>(dialog, "SpinSX")->singleStep(), 10);
    // A face this system lacks is still the chosen one.
    QCOMPARE(Find<QComboBox>(dialog, "Combo2")->currentText(), QStringLiteral("ＭＳ Ｐ明朝"));
  }

  // The dialog is bound to its controls through OptionFields(): each row
  // needs a control of its kind under its name, the record must come back
  // whole through the controls, and each control must move its own field.
  void everyTableRowHasItsControlAndCarriesItsField() {
    const AlbumSettings s = EveryFieldChanged();
    ScriptedDialogs dialogs;
    auto window = open(dialogs, s);
    OptionsDialog* dialog = options(*window);
    QVERIFY(dialog);
    for (const OptionField& row : OptionFields()) {
      QWidget* control = dialog->findChild<QWidget*>(QLatin1String(row.control));
      QVERIFY2(control, row.control);
      const char* type = nullptr;
      switch (row.kind) {
        case OptionControl::Edit: type = "QLineEdit"; break;
        case OptionControl::Check: type = "QCheckBox"; break;
        case OptionControl::Spin: type = "QSpinBox"; break;
        case OptionControl::Combo: type = "QComboBox"; break;
        case OptionControl::Colour: type = "QFrame"; break;
        case OptionControl::UpDown: type = "pictavo::gui::UpDown"; break;
      }
      QVERIFY2(control->inherits(type), row.control);
    }

    const QPoint start = window->startPosition();
    const WindowPlaces places{window->x(), window->y(), start.x(), start.y()};
    const auto record = [&] {
      AlbumSettings out;
      ApplyOptionForm(dialog->form(), places, out);
      return out;
    };
    AlbumSettings back = record();
    back.displayLeft = s.displayLeft;  // the place is the window's, checked elsewhere
    back.displayTop = s.displayTop;
    QCOMPARE(back, s);

    // Moving one control changes its own field and no other.
    const AlbumSettings before = record();
    for (const OptionField& row : OptionFields()) {
      if (row.kind == OptionControl::Colour || row.rule == OptionRule::WindowPlace) continue;
      QWidget* control = dialog->findChild<QWidget*>(QLatin1String(row.control));
      if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(edit->text() + "x");
      if (auto* check = qobject_cast<QCheckBox*>(control)) check->setChecked(!check->isChecked());
      if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(spin->value() == spin->minimum() ? spin->maximum() : spin->minimum());
      }
      if (auto* combo = qobject_cast<QComboBox*>(control)) combo->setCurrentIndex(combo->currentIndex() == 0 ? 1 : 0);
      if (auto* upDown = qobject_cast<UpDown*>(control)) upDown->setValue(upDown->value() == 100 ? 50 : 100);
      const AlbumSettings after = record();
      for (const SettingField& field : SettingFields()) {
        const bool changed = field.get(after) != field.get(before);
        QVERIFY2(changed == (std::string(field.name) == row.setting),
                 qPrintable(QStringLiteral("%1 moved %2").arg(row.control, field.name)));
      }
      click(dialog, "optCansel");  // refills every control from the record
      options(*window);
    }
  }

  void everyFocusableControlHasANameForScreenReaders() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    OptionsDialog* dialog = options(*window);
    QVERIFY(dialog);
    auto* pages = dialog->findChild<QTabWidget*>();
    for (int i = 0; i < pages->count(); ++i) {
      pages->setCurrentIndex(i);
      const QStringList problems = UnnamedFocusableControls(dialog);
      QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    }
    window->openSettingsView();
    SettingsCheckView* view = window->settingsView();
    QVERIFY(view);
    const QStringList problems = UnnamedFocusableControls(view);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    // In the check view each field's label is its buddy and comes first in
    // reading order.
    const QObjectList order = view->children();
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "ComboBox1", "ComboBox2", "ComboBox3", "Edit8", "Edit9",
                             "ComboBox4"}) {
      QWidget* field = Find<QWidget>(view, name);
      QLabel* label = nullptr;
      for (QLabel* l : view->findChildren<QLabel*>()) {
        if (l->buddy() == field) label = l;
      }
      QVERIFY2(label, name);
      QVERIFY2(order.indexOf(label) < order.indexOf(field), name);
    }
  }

  void confirmWithoutEditsRewritesTheSameFileAndSetsThePerRowControl() {
    AlbumSettings s;
    s.displayLeft = "120";
    s.displayTop = "64";
    s.backgroundPattern = "on";
    s.backgroundFile = "/x/back.jpg";
    s.titleFontSize = "2";
    s.titleTableWidth = "300";
    s.titleFontColor = "255";
    s.scriptPopup = "on";  // ticked but disabled: Check5 is off
    s.htmlFileName = "top.html";
    s.headerComment = "春";
    s.footerLink = "on";
    s.slideShowMaxX = "1210";
    s.picturesPerRow = 3;
    s.rotationQuality = 70;
    s.textColor = 4210752;
    ScriptedDialogs dialogs;
    auto window = open(dialogs, s);
    QCOMPARE(window->pos(), QPoint(120, 64));
    const std::string before = ReadFile(pcvPath(*window));
    OptionsDialog* dialog = options(*window);
    QVERIFY(!Find<QWidget>(dialog, "Check6")->isEnabled());
    QVERIFY(Find<QCheckBox>(dialog, "Check6")->isChecked());
    QSignalSpy confirmed(dialog, &OptionsDialog::confirmed);
    click(dialog, "optOK");
    QCOMPARE(confirmed.count(), 1);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(ReadFile(pcvPath(*window)), before);
    QCOMPARE(window->session().settings.scriptPopup, std::string("on"));
    QCOMPARE(Find<QLineEdit>(window.get(), "edit2")->text(), QStringLiteral("3"));
  }

  void cancelDiscardsEditsAndAClosedDialogKeepsThem() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    OptionsDialog* dialog = options(*window);
    auto* width = Find<QSpinBox>(dialog, "SpinEdit1");
    width->setValue(400);
    dialog->close();  // closed, not cancelled: the edit stays for the next showing
    options(*window);
    QCOMPARE(width->value(), 400);
    click(dialog, "optCansel");
    QVERIFY(!dialog->isVisible());
    QCOMPARE(width->value(), 110);
    QCOMPARE(window->session().settings.thumbnailWidth, std::string("110"));
    QVERIFY(!QFile::exists(pcvPath(*window)));
  }

  void thePerRowCountOfTheLastFillingIsShownAndConfirmed() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    OptionsDialog* dialog = options(*window);
    dialog->close();
    window->setPicturesPerRow(8);
    options(*window);
    QCOMPARE(Find<QSpinBox>(dialog, "linenumspin")->value(), 5);
    click(dialog, "optOK");
    QCOMPARE(Find<QLineEdit>(window.get(), "edit2")->text(), QStringLiteral("5"));
    QCOMPARE(window->session().settings.picturesPerRow, 5);
  }

  void aBadNameOrAFailedWriteKeepsTheDialogOpenAndTheRecord() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    OptionsDialog* dialog = options(*window);
    Find<QSpinBox>(dialog, "SpinEdit1")->setValue(400);
    Find<QLineEdit>(dialog, "htmlfoldabox")->setText(QStringLiteral(".."));
    click(dialog, "optOK");
    QCOMPARE(dialogs.messages, QStringList{"フォルダ名が不正です。\n指定し直してください。"});
    QVERIFY(dialog->isVisible());
    QCOMPARE(window->session().settings.thumbnailWidth, std::string("110"));
    Find<QLineEdit>(dialog, "htmlfoldabox")->setText(QStringLiteral("htm_image"));
    Find<QLineEdit>(dialog, "htmlfilebox")->setText(QString());
    click(dialog, "optOK");
    QCOMPARE(dialogs.messages.back(), QStringLiteral("ファイル名が不正です。\n指定し直してください。"));
    QVERIFY(!QFile::exists(pcvPath(*window)));

    Find<QLineEdit>(dialog, "htmlfilebox")->setText(QStringLiteral("index.htm"));
    QDir().mkpath(pcvPath(*window) + "/in-the-way");
    click(dialog, "optOK");
    QVERIFY(dialogs.messages.back().contains(QStringLiteral("PCV.ini")));
    QVERIFY(dialog->isVisible());
    QCOMPARE(window->session().settings.thumbnailWidth, std::string("110"));
    QDir(pcvPath(*window)).removeRecursively();
    click(dialog, "optOK");
    QVERIFY(!dialog->isVisible());
    QCOMPARE(window->session().settings.thumbnailWidth, std::string("400"));
  }

  void thePickersKeepTheFieldOnCancelAndRefuseOtherBackgrounds() {
    ScriptedDialogs dialogs;
    AlbumSettings s;
    s.startFolder = path("home").toStdString();
    s.backgroundPattern = "on";
    s.titleFontColor = "blue";  // hand-edited: kept unless a colour is chosen
    s.titleFontSize = "big";     // hand-edited: no selection, and kept
    s.titleTableWidth = "800";
    auto window = open(dialogs, s);
    OptionsDialog* dialog = options(*window);
    QCOMPARE(Find<QComboBox>(dialog, "Combo1")->currentIndex(), -1);
    QCOMPARE(Find<QComboBox>(dialog, "Combo3")->currentIndex(), -1);
    auto* start = Find<QLineEdit>(dialog, "Edit1");
    click(dialog, "Button1");  // the chooser cancelled
    QCOMPARE(dialogs.chooserOpenings, 1);
    QCOMPARE(start->text(), path("home"));
    dialogs.chosenFolder = path("pictures1");
    click(dialog, "Button1");
    QCOMPARE(start->text(), path("pictures1"));

    dialogs.openPath = QStringLiteral("/x/back.GIF");
    click(dialog, "Button5");
    QCOMPARE(Find<QLineEdit>(dialog, "Edit2")->text(), QStringLiteral("/x/back.GIF"));
    QCOMPARE(dialogs.fileTitles, QStringList{QStringLiteral("ファイル選択")});
    dialogs.openPath = QStringLiteral("/x/back.png");
    click(dialog, "Button5");
    QCOMPARE(dialogs.messages, QStringList{"背景は「jpg」か「gif」ファイルを設定してください。"});
    QVERIFY(Find<QLineEdit>(dialog, "Edit2")->text().isEmpty());
    dialogs.openPath = QStringLiteral("/usr/bin/viewer");
    click(dialog, "Button2");
    QCOMPARE(Find<QLineEdit>(dialog, "Edit3")->text(), QStringLiteral("/usr/bin/viewer"));
    dialogs.openPath.reset();
    click(dialog, "Button3");
    QVERIFY(Find<QLineEdit>(dialog, "Edit6")->text().isEmpty());

    click(dialog, "Button6");  // a cancelled colour dialog
    dialogs.colour = QColor(0, 0, 255);
    click(dialog, "Button4");
    QCOMPARE(Find<QFrame>(dialog, "Panel2")->palette().color(QPalette::Window), QColor(0, 0, 255));
    click(dialog, "optOK");
    QVERIFY(!dialog->isVisible());
    const AlbumSettings& r = window->session().settings;
    QCOMPARE(r.titleFontColor, std::string("blue"));
    QCOMPARE(r.titleFontSize, std::string("big"));
    QCOMPARE(r.titleTableWidth, std::string("800"));
    QCOMPARE(r.backgroundColor, 16711680);
    QCOMPARE(r.startFolder, path("pictures1").toStdString());
    QCOMPARE(r.externalViewerPath, std::string("/usr/bin/viewer"));
    QVERIFY(r.backgroundFile.empty());
  }

  void spinBoxesClampWhenTheyLoseTheFocus() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    OptionsDialog* dialog = options(*window);
    dialog->activateWindow();
    auto* pages = dialog->findChild<QTabWidget*>();
    pages->setCurrentIndex(3);
    auto* width = Find<QSpinBox>(dialog, "SpinEdit1");
    width->setFocus();
    QTRY_VERIFY(width->hasFocus());
    width->selectAll();
    QTest::keyClicks(width, QStringLiteral("5"));
    Find<QSpinBox>(dialog, "SpinEdit2")->setFocus();
    QTRY_COMPARE(width->value(), 10);
    QCOMPARE(width->text(), QStringLiteral("10"));
  }

  void enablingFollowsTheGoverningBoxes() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    OptionsDialog* dialog = options(*window);
    auto* footer = Find<QCheckBox>(dialog, "footerbox");
    auto* link = Find<QCheckBox>(dialog, "footerlinkbox");
    QVERIFY(footer->isChecked());
    QVERIFY(!link->isEnabled());
    footer->setChecked(false);
    QVERIFY(link->isEnabled());
    QVERIFY(!Find<QWidget>(dialog, "footerlink")->isEnabled());
    link->setChecked(true);
    QVERIFY(Find<QWidget>(dialog, "footerlink")->isEnabled());
    Find<QCheckBox>(dialog, "TtableBox")->setChecked(false);
    QVERIFY(!Find<QWidget>(dialog, "Combo3")->isEnabled());
    QVERIFY(!Find<QWidget>(dialog, "Button7")->isEnabled());
    QVERIFY(!Find<QWidget>(dialog, "SpinEdit5")->isEnabled());
    QVERIFY(!Find<QWidget>(dialog, "Edit2")->isEnabled());
    Find<QCheckBox>(dialog, "Check3")->setChecked(true);
    QVERIFY(Find<QWidget>(dialog, "Button5")->isEnabled());
  }

  void aLoadedSettingsFileRefillsTheDialogOnItsFirstPage() {
    ScriptedDialogs dialogs;
    auto window = open(dialogs);
    OptionsDialog* dialog = options(*window);
    auto* pages = dialog->findChild<QTabWidget*>();
    pages->setCurrentIndex(3);
    dialog->close();
    AlbumSettings s;
    s.thumbnailWidth = "321";
    const QString other = makeFolder(QStringLiteral("saved"));
    writePcv(other, s);
    dialogs.openPath = other + "/PCV.ini";
    window->loadSettingsFile();
    QCOMPARE(Find<QSpinBox>(dialog, "SpinEdit1")->value(), 321);
    QCOMPARE(pages->currentIndex(), 0);
  }

  void theCheckViewRefillsAtEveryOpeningAndItsUpdateSkipsTheFile() {
    ScriptedDialogs dialogs;
    AlbumSettings s;
    s.displayLeft = "0";
    s.displayTop = "0";
    s.backgroundPattern = "off";
    auto window = open(dialogs, s);
    const std::string pcv = ReadFile(pcvPath(*window));
    OptionsDialog* dialog = options(*window);  // filled before the update below
    dialog->close();

    window->openSettingsView();
    SettingsCheckView* view = window->settingsView();
    QVERIFY(view);
    QTRY_VERIFY(view->isVisible());
    QCOMPARE(view->windowTitle(), QStringLiteral("設定確認"));
    QCOMPARE(Find<QLineEdit>(view, "Edit1")->text(), QString::fromStdString(window->session().main.currentFolder));
    QCOMPARE(Find<QComboBox>(view, "ComboBox1")->currentText(), QStringLiteral("off"));
    auto* page = Find<QLineEdit>(view, "Edit2");
    QCOMPARE(page->text(), QStringLiteral("index.htm"));
    page->setText(QStringLiteral("abandoned.htm"));
    click(view, "Button1");
    QVERIFY(!view->isVisible());
    window->openSettingsView();
    QCOMPARE(page->text(), QStringLiteral("index.htm"));

    page->setText(QStringLiteral("new.htm"));
    Find<QComboBox>(view, "ComboBox4")->setCurrentIndex(0);
    click(view, "Button2");
    QVERIFY(!view->isVisible());
    QCOMPARE(window->session().settings.htmlFileName, std::string("new.htm"));
    QCOMPARE(window->session().settings.makeSlideShow, std::string("on"));
    QCOMPARE(ReadFile(pcvPath(*window)), pcv);
    window->execute();
    const QString folder = QString::fromStdString(window->session().main.currentFolder);
    QVERIFY(QFile::exists(folder + "/new.htm"));
    QVERIFY(!QFile::exists(folder + "/index.htm"));

    // The options dialog still shows what it was filled with and writes it back.
    options(*window);
    click(dialog, "optOK");
    QCOMPARE(window->session().settings.htmlFileName, std::string("index.htm"));
    QCOMPARE(window->session().settings.makeSlideShow, std::string("off"));
  }
};

}  // namespace pictavo::gui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  pictavo::gui::OptionsWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "options_window_test.moc"
