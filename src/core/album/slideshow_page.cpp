#include "album/slideshow_page.h"

#include "album/escape.h"
#include "platform/paths.h"
#include "text/chars.h"

namespace pictavo {

SlideSize SlideShowDisplaySize(bool limit, int w, int h, int maxX, int maxY) {
  if (!limit || (w <= maxX && h <= maxY)) return {w, h};
  const long double rx = static_cast<long double>(w) / maxX;
  const long double ry = static_cast<long double>(h) / maxY;
  if (ry >= rx) return {RoundHalfEven(w / ry), maxY};
  return {maxX, RoundHalfEven(h / rx)};
}

std::vector<std::string> SlideShowHead(const AlbumSettings& s, const std::string& version, const std::string& title,
                                       long long selectedCount) {
  const std::string count = std::to_string(selectedCount);
  return {
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">",
      "<!-- Pictavo Version " + version + " -->",
      "<!--  -->",
      "<!--  -->",
      "<HTML>",
      "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">",
      "<TITLE>" + title + " Slide Show</TITLE>",
      "<SCRIPT LANGUAGE=\"JavaScript\">",
      "<!--",
      "function makearray(n){this.length=n;}",
      "var imag=new makearray(" + count + ");",
      "var imagx=new makearray(" + count + ");",
      "var imagy=new makearray(" + count + ");",
      "var s_win;",
      "var TimerSet1=" + s.slideShowInterval + "000;",
      "var i;",
      "",
  };
}

std::vector<std::string> SlideShowEntry(long long n, const std::string& name, const SlideSize& size) {
  const std::string k = std::to_string(n);
  return {
      "imag[" + k + "]=\"" + EscapeSlideShowName(name) + "\";",
      "imagx[" + k + "]=\"" + std::to_string(size.width) + "\";",
      "imagy[" + k + "]=\"" + std::to_string(size.height) + "\";",
  };
}

std::vector<std::string> SlideShowTail(const std::string& backgroundHtml, long long processed, bool limit,
                                       long long widest, long long tallest, int maxX, int maxY) {
  if (limit) {
    if (widest > maxX) widest = maxX;
    if (tallest > maxY) tallest = maxY;
  }
  return {
      "",
      "function Brovar(ver) {",
      "  if ((navigator.appName == \"Netscape\") &&",
      "        (ver <= parseInt(navigator.appVersion.charAt(0)))) ",
      "     {",
      "     return false;}",
      "   else {",
      "     return true;}",
      "}",
      "",
      "function disp(n) {",
      "",
      "",
      "  imgx=eval(imagx[n])+20;",
      "  imgy=eval(imagy[n])+20;",
      "",
      "  s_win=window.open(\"\",\"s_sub\",\"width=\"+imgx+\",height=\"+imgy+\",toolbar=no,menubar=no,location=no,"
      "status=no,scrollbars=no,resizable=yes\");",
      "",
      "//Netscape4以降",
      "  if (Brovar(4)) {}",
      "   else{",
      "    s_win.focus();//最前面に表示",
      "    s_win.window.moveTo(0,0);//画面の左上部に表示",
      "  }",
      "",
      "//ドキュメント表示",
      "  s_win.document.open();",
      "  s_win.document.write(\"<HTML><HEAD><TITLE>Slide Show \" + imag[n] + \" </TITLE></HEAD>\");",
      "  s_win.document.write(\"<BODY>\");",
      "  s_win.document.write(\"<IMG SRC=./\"+imag[n]+\" ALT=\"+imag[n]+\" WIDTH=\"+imagx[n]+\" "
      "HEIGHT=\"+imagy[n]+\">\");",
      "  s_win.document.write(\"</BODY>\");",
      "  s_win.document.write(\"</HTML>\");",
      "  s_win.document.close();",
      "}",
      "",
      "function s_main(){",
      "  if (i>" + std::to_string(processed) + ") {",
      "    s_win.close();",
      "    history.back();",
      "  }",
      " else {",
      "  disp(i);",
      "//カウント設定",
      "  i++",
      "  timerID=setTimeout(\"s_main()\",TimerSet1);",
      "  }",
      "}",
      "",
      "function Pwait() {",
      "  clearTimeout(timerID);",
      "  }",
      "",
      "function Pstart(){",
      "  timerID=setTimeout(\"s_main()\",TimerSet1);",
      "  }",
      "",
      "//-->",
      "</SCRIPT>",
      "</HEAD>",
      "<BODY bgcolor=\"#" + backgroundHtml + "\">",
      "<SCRIPT LANGUAGE=\"JavaScript\">",
      "<!--",
      "if (Brovar(4)) {",
      "    s_win=window.open(\"\",\"s_sub\",\"width=" + std::to_string(widest + 20) + ",height=" +
          std::to_string(tallest + 20) + ",toolbar=no,menubar=no,location=no,status=no,scrollbars=no,resizable=yes\");",
      "    }",
      "//IE系の場合画面サイズを指定",
      "",
      " disp(1);",
      " i=2;",
      "",
      "  Pstart();",
      "//-->",
      "</SCRIPT>",
      "<CENTER>",
      "スライドショウを開始します。",
      "<BR>",
      "<FORM>",
      "<INPUT TYPE=\"button\" VALUE=\"一時停止\" onClick=\"Pwait()\">",
      "<INPUT TYPE=\"button\" VALUE=\"表示再開\" onClick=\"Pstart()\">",
      "</FORM>",
      "</CENTER>",
      "<P align=\"right\">",
      std::string("Created by <A href=\"") + kHomePageUrl + "\">Pictavo</A>",
      "</P>",
      "</BODY>",
      "</HTML>",
  };
}

}  // namespace pictavo
