#include "toc/toc_page.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>

#include "platform/messages.h"
#include "album/escape.h"
#include "platform/file_copy.h"
#include "platform/folder_write.h"
#include "platform/sink.h"
#include "settings/name_check.h"
#include "settings/openers.h"
#include "text/chars.h"
#include "platform/textfile.h"

namespace pictavo {

namespace {

std::string DotDate(const CivilDate& d) {
  return std::to_string(d.year) + "." + std::to_string(d.month) + "." + std::to_string(d.day);
}

std::vector<std::string> HeadLines(const TocTexts& t, const std::string& thirdLine) {
  return {
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">",
      "<!-- Pictavo Version " + t.version + " -->",
      thirdLine,
      "<!-- " + DotDate(t.date) + " -->",
      "<HTML>",
      "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">",
      "<TITLE>" + t.title + "</TITLE>",
      "</HEAD>",
  };
}

// The head, BODY tag and title banner of the table page and the list page;
// `blank` frames the title.
std::vector<std::string> ListOpening(const TocTexts& t, const std::string& size, const std::string& face,
                                     const std::string& blank) {
  std::vector<std::string> lines = HeadLines(t, "<!-- FILE=" + t.count3 + " -->");
  const std::vector<std::string> banner = {
      t.bodyTag,
      "",
      "<CENTER>",
      "<TABLE border=\"3\">",
      "<TR>",
      "<TD align=\"center\" " + t.widthAttr + "bgcolor=\"#" + t.titleBack + "\"><FONT size=\"" + size +
          "\" color=\"#" + t.titleColor + "\" face=\"" + face + "\">" + t.boldOpen + t.italicOpen + blank + t.title +
          blank + t.italicClose + t.boldClose + "</FONT></TD></TR>",
      "</TABLE>",
      "</CENTER>",
  };
  lines.insert(lines.end(), banner.begin(), banner.end());
  return lines;
}

// Folder and file names go into addresses and text escaped as on the album page.
std::string AlbumHref(const AlbumEntry& a, const AlbumSettings& s) {
  return EscapeAddressAttribute(a.folderName + "/" + s.htmlFileName);
}

std::string ThumbnailSrc(const AlbumEntry& a, const AlbumSettings& s) {
  return EscapeAddressAttribute(a.folderName + "/" + s.thumbnailFolderName + "/" + a.thumbnailName);
}

void Progress(TocHost* host, size_t n, size_t count) {
  if (host) host->showTocProgress(ZeroPad(static_cast<long long>(n), 3) + "/" + ZeroPad(static_cast<long long>(count), 3));
}

bool WritePage(const std::string& path, const std::vector<std::string>& lines, TocHost& host) {
  SinkOpening opened = OpenAtomicSink(path);
  std::string error = opened.status.reason();
  if (opened.sink) {
    TextWriter writer(std::move(opened.sink));
    if (writer.writeLines(lines) && writer.close()) return true;
    error = writer.error();
  }
  host.note(Detail(error));
  host.showMessage(msg::kWriteError);
  return false;
}

// Puts the chosen picture into the folder as back.jpg or back.gif; false
// after its message. A picture of that name already there is never replaced.
bool CopyBackground(const TocOptions& o, const std::string& base, TocHost& host) {
  const std::string name = LastComponent(o.backgroundPicturePath);
  const std::string copy = base + name;
  // A link there, even one leading nowhere, is a name in use; one leading
  // out of the folder is said to be so.
  if (const FolderWrite target = FolderWritePath(base, name, {o.backgroundPicturePath}); !target) {
    host.note(Detail(target.error->detail));
    host.showMessage(target.error->message);
    return false;
  }
  if (PathExists(copy) || IsSymbolicLink(copy)) {
    host.showMessage(msg::kBackgroundCopyFailed);
    return false;
  }
  Message error;
  std::string detail;
  if (!CopyFileTo(o.backgroundPicturePath, base, error, &detail)) {
    host.note(Detail(detail));
    host.showMessage(error);
    return false;
  }
  // Earlier backgrounds go, but never the copy just made (a picture that is
  // itself called back.jpg or back.gif).
  for (const char* earlier : {"back.jpg", "back.gif"}) {
    if (name != earlier) ::unlink((base + earlier).c_str());
  }
  const std::string ext = LowerAscii(Extension(name));
  if (ext == ".jpg") {
    (void)::rename(copy.c_str(), (base + "back.jpg").c_str());
  } else if (ext == ".gif") {
    (void)::rename(copy.c_str(), (base + "back.gif").c_str());
  }
  return true;
}

}  // namespace

std::string TocColorHtml(int32_t color) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08" PRIX32, static_cast<uint32_t>(color));
  const std::string h = hex;
  return h.substr(6, 2) + h.substr(4, 2) + h.substr(2, 2);
}

std::string TocBodyTag(const TocOptions& o) {
  const std::string bg = "bgcolor=\"#" + TocColorHtml(o.tocBackgroundColor) + "\">";
  if (!o.useBackgroundPicture) return "<BODY " + bg;
  const bool jpg = LowerAscii(Extension(LastComponent(o.backgroundPicturePath))) == ".jpg";
  return std::string("<BODY background=\"") + (jpg ? "back.jpg" : "back.gif") + "\" " + bg;
}

std::vector<std::string> TocTablePage(const TocTexts& t, const TocOptions& o, const AlbumSettings& s,
                                      const std::vector<AlbumEntry>& albums, TocHost* host) {
  std::vector<std::string> lines = ListOpening(t, s.titleFontSize, s.titleFontFace, "　");
  const std::vector<std::string> opening = {
      "<P align=\"right\">",
      CreationDateLine(t.date),
      "</P>",
      "<CENTER>",
      "<BR>",
      "<TABLE border=\"1\">",
      "<TR>",
  };
  lines.insert(lines.end(), opening.begin(), opening.end());

  const size_t count = albums.size();
  if (!o.showPictures) {
    lines.emplace_back(
        "<TD align=\"center\">タイトル</TD><TD align=\"center\">フォルダ名</TD><TD align=\"center\">ファイル数</TD>"
        "<TD align=\"center\">作成日</TD>");
    lines.emplace_back("</TR>");
    lines.emplace_back("<TR>");
    for (size_t k = 1; k <= count; ++k) {
      const AlbumEntry& a = albums[k - 1];
      Progress(host, k, count);
      lines.push_back("<TD align=\"center\"><A href=\"" + AlbumHref(a, s) + "\">" + a.title + "</A></TD>");
      lines.push_back("<TD align=\"center\">" + EscapeAttribute(a.folderName) + "</TD>");
      lines.push_back("<TD align=\"center\">" + a.fileCount + "</TD>");
      lines.push_back("<TD align=\"center\">" + a.createdDate + "</TD>");
      if (k < count) lines.emplace_back("</TR><TR>");
    }
  } else {
    // Five albums to a row: a row of pictures, then a row of their titles.
    constexpr size_t kPerRow = 5;
    std::vector<std::string> slots(kPerRow);
    auto titleRow = [&] {
      for (auto& slot : slots) {
        lines.push_back(slot.empty() ? "<TD></TD>" : "<TD align=\"center\">" + slot + "</A></TD>");
        slot.clear();
      }
    };
    for (size_t k = 1; k <= count; ++k) {
      const AlbumEntry& a = albums[k - 1];
      Progress(host, k, count);
      const std::string size = a.hasThumbnailSize ? " height=\"" + std::to_string(a.thumbnailHeight) + "\" width=\"" +
                                                        std::to_string(a.thumbnailWidth) + "\" "
                                                  : "";
      const std::string link = "<A href=\"" + AlbumHref(a, s) + "\">";
      lines.push_back("<TD align=\"center\" valign=\"middle\">" + link + "<IMG src=\"" + ThumbnailSrc(a, s) +
                      "\" ALT=\"" + EscapeAttribute(a.title) + "\"" + size + "></A></TD>");
      slots[(k - 1) % kPerRow] = link + a.title;
      if (k == count) {
        lines.emplace_back("</TR><TR>");
        titleRow();
      } else if (k % kPerRow == 0) {
        lines.emplace_back("</TR><TR>");
        titleRow();
        lines.emplace_back("</TR><TR>");
      }
    }
  }
  const std::vector<std::string> closing = {
      "</TR>",
      "</TABLE>",
      "</CENTER>",
      "<P align=\"right\">",
      std::string("Created by <A href=\"") + kHomePageUrl + "\">Pictavo</A>",
      "</P>",
      "</BODY>",
      "</HTML>",
  };
  lines.insert(lines.end(), closing.begin(), closing.end());
  return lines;
}

std::vector<std::string> TocFramesetPage(const TocTexts& t, const AlbumSettings& s,
                                         const std::string& firstAlbumFolder) {
  std::vector<std::string> lines = HeadLines(t, "<!-- FRAME TOP PAGE -->");
  const std::vector<std::string> frames = {
      "",
      "<FRAMESET cols=\"20%,80%\">",
      "<FRAME src=\"title.htm\" name=\"h_title\" scrolling=\"auto\" >",
      "<FRAME src=\"" + EscapeAddressAttribute(firstAlbumFolder + "/" + s.htmlFileName) +
          "\" name=\"h_main\" scrolling=\"auto\" >",
      "<NOFRAMES>",
      "<BODY>",
      "</BODY>",
      "</NOFRAMES>",
      "</FRAMESET>",
      "</HTML>",
  };
  lines.insert(lines.end(), frames.begin(), frames.end());
  return lines;
}

std::vector<std::string> TocListPage(const TocTexts& t, const TocOptions& o, const AlbumSettings& s,
                                     const std::vector<AlbumEntry>& albums, TocHost* host) {
  std::vector<std::string> lines = ListOpening(t, std::to_string(o.frameTitleSize), s.titleFontFace, "");
  const std::vector<std::string> opening = {
      "",
      "",
      "",
      "<CENTER>",
      "<BR>",
      "<TABLE border=\"1\">",
  };
  lines.insert(lines.end(), opening.begin(), opening.end());
  const size_t count = albums.size();
  for (size_t k = 1; k <= count; ++k) {
    const AlbumEntry& a = albums[k - 1];
    Progress(host, k, count);
    const std::string link = "<A href=\"" + AlbumHref(a, s) + "\" target=\"h_main\">";
    if (o.showPictures) {
      // Every thumbnail of the list is shown 80 pixels wide.
      const std::string size =
          a.hasThumbnailSize
              ? " height=\"" +
                    std::to_string(RoundHalfEven(static_cast<long double>(a.thumbnailHeight) * 80 / a.thumbnailWidth)) +
                    "\" width=\"80\" "
              : "";
      lines.push_back("<TR><TD align=\"center\" valign=\"middle\">" + link + "<IMG src=\"" + ThumbnailSrc(a, s) +
                      "\" ALT=\"" + EscapeAttribute(a.title) + "\"" + size + "></A></TD>");
      lines.emplace_back("</TR>");
    }
    lines.push_back("<TR><TD align=\"center\">" + link + a.title + "</A></TD>");
    lines.emplace_back("</TR>");
  }
  const std::vector<std::string> closing = {
      "", "</TABLE>", "<BR>", "Created by<BR>", std::string("<A href=\"") + kHomePageUrl + "\">Pictavo</A>",
      "</CENTER>", "</BODY>", "</HTML>",
  };
  lines.insert(lines.end(), closing.begin(), closing.end());
  return lines;
}

TocOutcome MakeTableOfContents(const TocOptions& o, const AlbumSettings& s, const MainValues& main, TocHost& host,
                               const CivilDate& today) {
  if (o.tocTitle.empty()) {
    host.showMessage(msg::kNoTocTitle);
    return TocOutcome::Stopped;
  }
  if (o.useBackgroundPicture && o.backgroundPicturePath.empty()) {
    host.showMessage(msg::kNoBackgroundPicture);
    return TocOutcome::Stopped;
  }

  // Names from the settings become paths: checked before anything is written.
  const std::string base = FolderBase(o.tocFolder);
  std::optional<Message> bad = CheckSettingsNames(s);
  if (!bad) bad = CheckPageNotLink("htmlFileName", s.htmlFileName, base + s.htmlFileName);
  if (!bad && o.useFrames && IsSymbolicLink(base + "title.htm")) bad = msg::LinkPathText(base + "title.htm");
  if (bad) {
    host.showMessage(*bad);
    return TocOutcome::Stopped;
  }

  const DiscoveryResult found = DiscoverAlbums(o.tocFolder, s, o.showPictures);
  ReportPassedOverNames(host, o.tocFolder, found.skippedNames.size());
  for (const auto& note : found.notes) host.note(note);
  switch (found.status) {
    case DiscoveryStatus::NoSubfolders: host.showMessage(msg::kNoFolders); return TocOutcome::Stopped;
    case DiscoveryStatus::NoAlbums: host.showMessage(msg::kNoTargetFolders); return TocOutcome::Stopped;
    case DiscoveryStatus::Failed: host.showMessage(Detail(found.error)); return TocOutcome::Stopped;
    case DiscoveryStatus::Found: break;
  }

  // Derived values. The title colours are decimal texts; a hand-edited file
  // may hold something else, which stops the command before anything is written.
  TocTexts t;
  t.version = main.programVersion;
  t.title = o.tocTitle;
  t.date = today;
  t.count3 = ZeroPad(static_cast<long long>(found.albumCount), 3);
  t.bodyTag = TocBodyTag(o);
  const auto titleColor = ParseDecimal(s.titleFontColor);
  const auto titleBack = ParseDecimal(s.titleBackgroundColor);
  if (!titleColor || !titleBack) {
    host.showMessage(!titleColor ? BadSettingText("titleFontColor", s.titleFontColor)
                                 : BadSettingText("titleBackgroundColor", s.titleBackgroundColor));
    return TocOutcome::Stopped;
  }
  t.titleColor = ColorToHtml(*titleColor);
  t.titleBack = ColorToHtml(*titleBack);
  if (isOn(s.titleBold)) t.boldOpen = "<B>", t.boldClose = "</B>";
  if (isOn(s.titleItalic)) t.italicOpen = "<I>", t.italicClose = "</I>";
  if (s.titleTableWidth != "標準") t.widthAttr = "width=\"" + s.titleTableWidth + "\" ";

  if (o.useBackgroundPicture && !CopyBackground(o, base, host)) return TocOutcome::Stopped;

  const std::string page = base + s.htmlFileName;
  if (o.useFrames) {
    if (!WritePage(page, TocFramesetPage(t, s, found.firstAlbumFolder), host)) return TocOutcome::Stopped;
    if (!WritePage(base + "title.htm", TocListPage(t, o, s, found.albums, &host), host)) return TocOutcome::Stopped;
  } else {
    if (!WritePage(page, TocTablePage(t, o, s, found.albums, &host), host)) return TocOutcome::Stopped;
  }

  if (s.noBrowserPrompt == "off" && !main.batchRunning && host.askYesNo(msg::kBrowserQuestion, msg::kCaption)) {
    Open(host, PageOpening(s, base));
  }
  return TocOutcome::Written;
}

}  // namespace pictavo
