#include "album/album_page.h"

#include <algorithm>

#include "album/escape.h"
#include "album/thumbnail_name.h"
#include "platform/paths.h"
#include "text/chars.h"

namespace pictavo {

DisplaySize ThumbnailDisplaySize(int w, int h, int tw, int th) {
  const long double rx = static_cast<long double>(w) / tw;
  const long double ry = static_cast<long double>(h) / th;
  const long double r = rx >= ry ? rx : ry;
  // A sliver (1 x 5000) would round to 0 on its short side; its thumbnail
  // file is one pixel there, and a 0 in the page would hide it.
  return {std::max(1LL, RoundHalfEven(w / r)), std::max(1LL, RoundHalfEven(h / r)), r};
}

std::string PageDateText(const CivilDate& d) {
  return RightChars("    " + std::to_string(d.year) + "." + std::to_string(d.month) + "." + std::to_string(d.day), 10);
}

std::string CreationDateLine(const CivilDate& d) {
  return "[" + std::to_string(d.year) + "年" + std::to_string(d.month) + "月" + std::to_string(d.day) + "日作成]";
}

std::vector<std::string> AlbumHeadBlock(const AlbumSettings& s, const PageTexts& t, long long selectedCount,
                                        const std::string& firstPicture) {
  std::vector<std::string> lines = {
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">",
      "<!-- Pictavo Version " + t.version + " -->",
      "<!-- FILE=" + ZeroPad(selectedCount, 3) + " " + ThumbnailFileName(s, firstPicture) + " -->",
      "<!-- " + PageDateText(t.date) + " -->",
      "<HTML>",
      "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">",
      "<TITLE>" + t.title + "</TITLE>",
  };
  if (!isOn(s.scriptPopup)) {
    lines.push_back("</HEAD>");
    for (int i = 0; i < 5; ++i) lines.emplace_back();
    return lines;
  }
  const std::string open =
      "  sub_win=window.open(file,\"sub\",\"width=\"+imgx+\",height=\"+imgy+\",toolbar=no,menubar=no,location=no,"
      "status=no,scrollbars=yes,resizable=yes\");";
  const std::vector<std::string> script = {
      "",
      "<SCRIPT LANGUAGE=\"JavaScript\">",
      "<!--",
      "function disp(file,xpic,ypic){",
      "  if ((navigator.appName == \"Netscape\") &&",
      "        (3 <= parseInt(navigator.appVersion.substring(0, 1)))) ",
      "     {",
      "  imgx=eval(xpic)+20;",
      "  imgy=eval(ypic)+20;",
      "",
      open,
      "  sub_win.focus();",
      "     }",
      "   else",
      "     {",
      "  imgx=eval(xpic)+40;",
      "  imgy=eval(ypic)+30;",
      "",
      open,
      "     }",
      " }",
      "//-->",
      "</SCRIPT>",
      "</HEAD>",
  };
  lines.insert(lines.end(), script.begin(), script.end());
  return lines;
}

std::vector<std::string> AlbumBodyOpening(const AlbumSettings& s, const PageTexts& t) {
  std::vector<std::string> lines;
  const std::string colours = "bgcolor=\"#" + t.backgroundHtml + "\" text=\"#" + t.textHtml + "\">";
  if (!isOn(s.backgroundPattern)) {
    lines.push_back("<BODY " + colours);
  } else {
    const std::string back = LowerAscii(Extension(s.backgroundFile)) == ".jpg" ? "back.jpg" : "back.gif";
    lines.push_back("<BODY background=\"" + EscapeAddressAttribute(s.thumbnailFolderName) + "/" + back + "\" " +
                    colours);
  }
  lines.push_back("<CENTER>");
  const bool table = isOn(s.titleUseTable);
  if (table) {
    const std::string width = s.titleTableWidth == "標準" ? "" : "width=\"" + s.titleTableWidth + "\" ";
    lines.push_back("<TABLE border=\"" + s.titleTableBorder + "\"><TR><TD align=\"center\" " + width + "bgcolor=\"#" +
                    t.titleBackHtml + "\">");
  } else {
    lines.emplace_back();
  }
  const std::string boldOpen = isOn(s.titleBold) ? "<B>" : "", boldClose = isOn(s.titleBold) ? "</B>" : "";
  const std::string italOpen = isOn(s.titleItalic) ? "<I>" : "", italClose = isOn(s.titleItalic) ? "</I>" : "";
  const std::string face = isOn(s.titleFontSpecified) ? " face=\"" + s.titleFontFace + "\">" : " >";
  lines.push_back("<FONT size=\"" + s.titleFontSize + "\" color=\"#" + t.titleColorHtml + "\"" + face + boldOpen +
                  italOpen + "　" + t.title + "　" + italClose + boldClose + "</FONT>");
  lines.push_back(table ? "</TD></TR></TABLE>" : "");
  lines.push_back("</CENTER>");
  lines.push_back("<P align=\"right\">");
  lines.push_back(isOn(s.defaultHeader) ? CreationDateLine(t.date) : s.headerComment);
  lines.push_back("</P>");
  lines.push_back("<CENTER>");
  lines.push_back("<BR>");
  lines.emplace_back();
  lines.push_back("<TABLE border=\"" + s.tableBorder + "\">");
  lines.push_back("<TR>");
  return lines;
}

std::string AlbumPictureCell(const AlbumSettings& s, const std::string& name, int w, int h, long long displayWidth,
                             long long displayHeight) {
  std::string click;
  if (isOn(s.openInSubWindow) && isOn(s.scriptPopup)) {
    click = " onclick=\"disp('" + EscapeAttribute(EscapeScriptString(EscapeAddressPart(name), '\'')) + "'," +
            std::to_string(w) + "," + std::to_string(h) + ")\"";
  }
  const std::string target = isOn(s.openInSubWindow) ? " target=\"sub\"" : "";
  const std::string border = s.pictureFrame == "off" ? "border=\"0\" " : "";
  const std::string stem = LeftChars(name, CharLength(name) - 4);
  return "  <TD align=\"center\" valign=\"middle\"><A href=\"" + EscapeAddressAttribute(name) + "\"" + click + target +
         "><IMG src=\"" + EscapeAddressAttribute(s.thumbnailFolderName + "/" + ThumbnailFileName(s, name)) +
         "\" ALT=\"" + EscapeAttribute(stem) + "\" " + border + "height=\"" + std::to_string(displayHeight) +
         "\" width=\"" + std::to_string(displayWidth) + "\"></A></TD>";
}

std::string AlbumCommentCell(const PageTexts& t, long long displayWidth, const std::string& comment1,
                             const std::string& comment2) {
  const std::string text = comment2.empty() ? comment1 : comment1 + "<BR>" + comment2;
  return "  <TD align=\"center\" valign=\"middle\" width=\"" + std::to_string(displayWidth) + "\"><FONT color=\"#" +
         t.commentColorHtml + "\">" + text + "</FONT></TD>";
}

std::vector<std::string> AlbumRowBreak(bool comments, const std::vector<std::string>& commentRow) {
  std::vector<std::string> lines = {"</TR>", "<TR>"};
  if (comments) {
    lines.insert(lines.end(), commentRow.begin(), commentRow.end());
    lines.emplace_back("</TR>");
    lines.emplace_back("<TR>");
  }
  return lines;
}

std::vector<std::string> AlbumTableEnd(int perRow, long long processed, bool comments,
                                       const std::vector<std::string>& commentRow) {
  std::vector<std::string> lines;
  const long long rest = processed % perRow;
  if (rest != 0) {
    for (long long i = 0; i < perRow - rest; ++i) lines.emplace_back("  <TD></TD>");
  }
  if (comments) {
    lines.emplace_back("</TR>");
    lines.emplace_back("<TR>");
    lines.insert(lines.end(), commentRow.begin(), commentRow.end());
  }
  return lines;
}

std::vector<std::string> AlbumClosingBlock(const AlbumSettings& s) {
  std::string footer;
  if (isOn(s.defaultFooter)) {
    footer = std::string("Created by <A href=\"") + kHomePageUrl + "\">「Pictavo」</A>";
  } else if (s.footerLink == "off") {
    footer = s.footerComment;
  } else {
    footer = "<A href=\"" + s.footerLinkUrl + "\">" + s.footerComment + "</A>";
  }
  return {
      "</TR>",
      "</TABLE>",
      "",
      isOn(s.makeSlideShow) ? "<FORM action=\"SShow.htm\"><input type=SUBMIT value=\" スライドショウ \"></FORM></CENTER>"
                            : "</CENTER>",
      "<P align=\"right\">",
      footer,
      "",
      "</P>",
      "</BODY>",
      "</HTML>",
  };
}

}  // namespace pictavo
