#include <gtest/gtest.h>

#include <map>
#include <set>

#include "every_option_changed.h"
#include "fixtures.h"
#include "platform/paths.h"
#include "settings/option_form.h"
#include "settings/settings_file.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

const std::vector<std::string> kFonts = {"Noto Sans CJK JP", "@Noto Sans CJK JP", "IPAGothic"};

class OptionConfirmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main.programFolder = dir.path();
    ResetSettings(settings);
  }
  std::string pcv() const { return ReadAll(DefaultSettingsPath(dir.path())); }
  // Writes the record as PCV.ini, reads it back at start, fills and confirms
  // with no edits, the main window where the file put it.
  void roundTrip(const AlbumSettings& stored) {
    SettingsLines out{};
    FillSettingsLines(stored, main.programVersion, out);
    ASSERT_TRUE(Succeeded(WriteSettingsFile(DefaultSettingsPath(dir.path()), out)));
    const std::string before = pcv();
    RecordingWindow window;
    const StartupReading reading = ReadSettingsAtStart(DefaultSettingsPath(dir.path()), settings, window);
    ASSERT_TRUE(reading.complete) << Rendered(reading.problem);
    const OptionForm form = FillOptionForm(settings, settings.picturesPerRow, kFonts);
    const int left = std::stoi(reading.windowLeft), top = std::stoi(reading.windowTop);
    const OptionConfirmResult r = ConfirmOptions(form, {left, top, 0, 0}, settings, main);
    ASSERT_EQ(r.outcome, OptionConfirm::Confirmed) << r.message;
    EXPECT_EQ(pcv(), before);
    EXPECT_EQ(settings, stored);
  }

  TempDir dir;
  MainValues main;
  AlbumSettings settings;
  SettingsLines lines{};
};

TEST_F(OptionConfirmTest, ConfirmWithoutEditsWritesTheFileItRead) {
  AlbumSettings defaults;
  defaults.displayLeft = "0";  // a confirmation always stores a position
  defaults.displayTop = "0";
  defaults.backgroundPattern = "off";  // the dialog writes switches as "on" or "off"
  roundTrip(defaults);  // the default face is not installed here, and survives
  roundTrip(EveryFieldChanged());
}

TEST_F(OptionConfirmTest, BadNamesChangeNothingAndRemoveOnlyWhatTheCheckMade) {
  const std::string scratch = dir.file("temp");
  ASSERT_TRUE(MakeFolders(scratch + "/htm_image"));
  WriteAll(scratch + "/htm_image/index.htm", "someone's");
  WriteAll(dir.file("PCV.ini"), "old");
  // Another album's saved settings beside the scratch folder.
  ASSERT_TRUE(MakeFolders(dir.file("inifile")));
  WriteAll(dir.file("inifile/春.ini"), "saved");

  OptionForm form = FillOptionForm(settings, 5, kFonts);
  form.thumbnailWidth = 300;  // an edit that must not land in the record
  const AlbumSettings before = settings;
  for (const auto& [folder, file, message] :
       std::vector<std::tuple<std::string, std::string, Message>>{
           {"..", "index.htm", msg::kBadFolderName},
           {"", "index.htm", msg::kBadFolderName},
           {"a/b", "index.htm", msg::kBadFolderName},
           {".", "index.htm", msg::kBadFolderName},
           {"../inifile", "春.ini", msg::kBadFolderName},
           {"htm_image", "", msg::kBadFileName},
           {"htm_image", "..", msg::kBadFileName},
           {"..", "inifile", msg::kBadFolderName},
           {"x", "../../PCV.ini", msg::kBadFileName},
           {"x", std::string(300, 'n'), msg::kBadFileName},
           {std::string(300, 'n'), "index.htm", msg::kBadFolderName},
       }) {
    form.thumbnailFolderName = folder;
    form.htmlFileName = file;
    const OptionConfirmResult r = ConfirmOptions(form, {}, settings, main);
    EXPECT_EQ(r.outcome, OptionConfirm::BadName) << folder << "|" << file;
    EXPECT_EQ(r.message, message) << folder << "|" << file;
  }
  EXPECT_EQ(settings, before);
  EXPECT_EQ(ReadAll(dir.file("PCV.ini")), "old");
  EXPECT_EQ(ReadAll(dir.file("inifile/春.ini")), "saved");

  // A name that exists already is left alone; what the check made is gone.
  form.thumbnailFolderName = "htm_image";
  form.htmlFileName = "index.htm";
  EXPECT_EQ(Rendered(CheckOptionNames(form, dir.path())), "");
  EXPECT_EQ(ReadAll(scratch + "/htm_image/index.htm"), "someone's");
  form.thumbnailFolderName = "new_folder";
  EXPECT_EQ(Rendered(CheckOptionNames(form, dir.path())), "");
  EXPECT_EQ(ListDir(scratch), (std::vector<std::string>{"htm_image"}));

  form.thumbnailPrefix = "../s_";
  EXPECT_NE(ConfirmOptions(form, {}, settings, main).outcome, OptionConfirm::Confirmed);
  EXPECT_EQ(settings, before);
}

TEST_F(OptionConfirmTest, AFailedWriteKeepsTheRecord) {
  // A folder where PCV.ini belongs: the file cannot be replaced.
  ASSERT_TRUE(MakeFolders(dir.file("PCV.ini/kept")));
  OptionForm form = FillOptionForm(settings, 5, kFonts);
  form.thumbnailWidth = 300;
  const AlbumSettings before = settings;
  const OptionConfirmResult r = ConfirmOptions(form, {}, settings, main);
  EXPECT_EQ(r.outcome, OptionConfirm::WriteFailed);
  EXPECT_NE(RenderMessage(r.message).find("PCV.ini"), std::string::npos) << r.message;
  EXPECT_EQ(settings, before);
  EXPECT_TRUE(FolderExists(dir.file("PCV.ini/kept")));
}

TEST_F(OptionConfirmTest, ConfirmTakesThePerRowSpinAndTheWindowPlace) {
  OptionForm form = FillOptionForm(settings, 9, kFonts);  // the main window's control, not the field
  EXPECT_EQ(form.perRow, 9);
  form.startAtCurrentPosition = false;
  ASSERT_EQ(ConfirmOptions(form, {300, 200, 10, 20}, settings, main).outcome, OptionConfirm::Confirmed);
  EXPECT_EQ(settings.picturesPerRow, 9);
  EXPECT_EQ(settings.displayLeft, "10");
  EXPECT_EQ(settings.displayTop, "20");
  form.startAtCurrentPosition = true;
  ASSERT_EQ(ConfirmOptions(form, {300, 200, 10, 20}, settings, main).outcome, OptionConfirm::Confirmed);
  EXPECT_EQ(settings.displayLeft, "300");
  EXPECT_EQ(settings.displayTop, "200");
}

// The dialog's table is the one list of its controls: a settings field
// no row writes would silently keep its old value on every confirmation,
// and a row whose member does not match its control would not compile
// into the dialog's loops.
TEST(OptionFields, EverySettingHasOneControlOfAFittingKind) {
  std::map<std::string, int> written;
  std::set<std::string> controls;
  for (const OptionField& f : OptionFields()) {
    SCOPED_TRACE(f.control);
    EXPECT_TRUE(controls.insert(f.control).second);
    const int members = (f.text != nullptr) + (f.flag != nullptr) + (f.number != nullptr) + (f.colour != nullptr) +
                        (f.storedColour != nullptr);
    EXPECT_EQ(members, 1);
    switch (f.kind) {
      case OptionControl::Edit: EXPECT_TRUE(f.text); break;
      case OptionControl::Check: EXPECT_TRUE(f.flag); break;
      case OptionControl::Combo: EXPECT_TRUE(f.number); break;
      case OptionControl::Colour: EXPECT_TRUE(f.colour || f.storedColour); break;
      case OptionControl::Spin:
      case OptionControl::UpDown:
        EXPECT_TRUE(f.number);
        EXPECT_TRUE(f.range);
        break;
    }
    if (f.rule == OptionRule::WindowPlace) {
      EXPECT_EQ(f.setting, nullptr);
      ++written["displayLeft"];
      ++written["displayTop"];
    } else {
      ASSERT_TRUE(f.setting);
      EXPECT_TRUE(FindSettingField(f.setting)) << f.setting;
      ++written[f.setting];
    }
  }
  for (const std::string& name : SettingsFieldNames()) EXPECT_EQ(written[name], 1) << name;
  EXPECT_EQ(written.size(), SettingsFieldNames().size());

  // Each row carries its field both ways: a record whose every field the
  // dialog can show comes back whole through the form.
  const AlbumSettings stored = EveryFieldChanged();
  AlbumSettings back;
  ApplyOptionForm(FillOptionForm(stored, stored.picturesPerRow, kFonts), {120, 64, 0, 0}, back);
  EXPECT_EQ(back, stored);
}

TEST(OptionFormFill, ListsAndSwitchTests) {
  AlbumSettings s;
  s.titleTableWidth = "250";  // 2.5 rounds to 2
  s.titleItalic = "";         // ticked unless "off"
  s.titleUseTable = "";       // ticked only when "on"
  s.pictureFrame = "";        // the no-frame box only when "off"
  s.scriptPopup = "on";
  s.openInSubWindow = "off";
  OptionForm f = FillOptionForm(s, 5, kFonts);
  EXPECT_EQ(f.titleWidthText(), "200");
  EXPECT_EQ(f.titleSizeText(), "7");
  EXPECT_TRUE(f.titleItalic);
  EXPECT_FALSE(f.titleUseTable);
  EXPECT_FALSE(f.titleTableEnabled());
  EXPECT_FALSE(f.noPictureFrame);
  EXPECT_EQ(f.fonts, (std::vector<std::string>{"Noto Sans CJK JP", "IPAGothic", "ＭＳ Ｐ明朝"}));
  EXPECT_TRUE(f.titleFontMissing);
  EXPECT_EQ(f.titleFontText(), "ＭＳ Ｐ明朝");

  // A disabled Check6 keeps its tick, and the confirmation stores it.
  EXPECT_FALSE(f.scriptPopupEnabled());
  EXPECT_TRUE(f.scriptPopup);
  AlbumSettings out = s;
  ApplyOptionForm(f, {}, out);
  EXPECT_EQ(out.scriptPopup, "on");
  EXPECT_EQ(out.titleTableWidth, "200");
  EXPECT_EQ(out.titleItalic, "on");
  EXPECT_EQ(out.titleUseTable, "off");
  EXPECT_EQ(out.pictureFrame, "on");

  s.titleFontFace = "IPAGothic";
  f = FillOptionForm(s, 5, kFonts);
  EXPECT_FALSE(f.titleFontMissing);
  EXPECT_EQ(f.fonts.size(), 2u);
  EXPECT_EQ(f.titleFontText(), "IPAGothic");
}

TEST(OptionFormFill, HandEditedValuesGiveNoSelectionOrABound) {
  AlbumSettings s;
  for (const char* size : {"abc", "0", "8", "", "-3"}) EXPECT_EQ(TitleSizeIndex(size), -1) << size;
  for (const char* width : {"x", "", "40", "800", "-100", "99999999"}) {
    EXPECT_EQ(TitleWidthIndex(width), -1) << width;
  }
  EXPECT_EQ(TitleWidthIndex("150"), 1);  // 1.5 rounds to 2
  EXPECT_EQ(TitleWidthIndex("標準"), 7);
  s.titleFontSize = "big";
  s.titleTableWidth = "wide";
  s.titleFontColor = "red";
  s.thumbnailWidth = "wide";   // a non-number: the lower bound
  s.thumbnailHeight = "5000";  // clamped
  s.slideShowMaxX = "10";
  s.tableBorder = "-1";
  s.rotationQuality = 10;
  const OptionForm f = FillOptionForm(s, 42, {});
  EXPECT_EQ(f.titleSize, -1);
  EXPECT_EQ(f.titleWidth, -1);
  EXPECT_FALSE(f.titleColor);
  EXPECT_EQ(f.thumbnailWidth, 10);
  EXPECT_EQ(f.thumbnailHeight, 1000);
  EXPECT_EQ(f.slideShowMaxX, 300);
  EXPECT_EQ(f.tableBorder, 0);
  EXPECT_EQ(f.rotationQuality, 50);
  EXPECT_EQ(f.perRow, 10);
  // Without a choice the stored texts stay.
  AlbumSettings out = s;
  ApplyOptionForm(f, {}, out);
  EXPECT_EQ(out.titleFontSize, "big");
  EXPECT_EQ(out.titleTableWidth, "wide");
  EXPECT_EQ(out.titleFontColor, "red");
  EXPECT_EQ(out.thumbnailWidth, "10");
}

TEST(OptionFormFill, EnablingRules) {
  OptionForm f;
  f.defaultFooter = true;
  f.footerLink = true;
  EXPECT_FALSE(f.footerEnabled());
  EXPECT_FALSE(f.footerUrlEnabled());
  f.defaultFooter = false;
  EXPECT_TRUE(f.footerUrlEnabled());
  f.footerLink = false;
  EXPECT_TRUE(f.footerEnabled());
  EXPECT_FALSE(f.footerUrlEnabled());
  f.defaultHeader = false;
  EXPECT_TRUE(f.headerCommentEnabled());
}

TEST(OptionFormFill, BackgroundFileMustBeJpgOrGif) {
  OptionForm f;
  f.backgroundFile = "/a/old.jpg";
  EXPECT_EQ(Rendered(TakeBackgroundFile(f, "/a/b.GIF")), "");
  EXPECT_EQ(f.backgroundFile, "/a/b.GIF");
  EXPECT_EQ(TakeBackgroundFile(f, "/a/b.png"), msg::kBackgroundType);
  EXPECT_EQ(f.backgroundFile, "");
}

TEST(CheckView, FillKeepsTheLastListSelectionAndUpdateWritesAsTyped) {
  AlbumSettings s;
  CheckViewRows rows;
  s.thumbnailFilter = "";  // neither entry: no selection at the first filling
  FillCheckView(s, "/p/春", rows);
  EXPECT_EQ(rows.currentFolder, "/p/春");
  EXPECT_EQ(rows.clearThumbnailFolder, 1);
  EXPECT_EQ(rows.thumbnailFilter, -1);
  rows.thumbnailFilter = 0;
  s.thumbnailFilter = "ON";
  FillCheckView(s, "/p/春", rows);
  EXPECT_EQ(rows.thumbnailFilter, 0);

  rows.htmlFileName = "other.htm";
  rows.thumbnailWidth = "wide";  // taken as typed
  rows.makeSlideShow = -1;
  ApplyCheckView(rows, s);
  EXPECT_EQ(s.htmlFileName, "other.htm");
  EXPECT_EQ(s.thumbnailWidth, "wide");
  EXPECT_EQ(s.thumbnailFilter, "on");
  EXPECT_EQ(s.makeSlideShow, "");
}

}  // namespace
}  // namespace pictavo
