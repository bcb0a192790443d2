#pragma once
// A settings record for the options dialog's tests, in core and in the window.

#include "settings/album_settings.h"

namespace pictavo {

// Every field away from its default, each within what the dialog offers.
inline AlbumSettings EveryFieldChanged() {
  AlbumSettings s;
  s.startFolder = "/home/user/写真";
  s.backgroundColor = 255;
  s.backgroundPattern = "on";
  s.backgroundFile = "/home/user/back.gif";
  s.browserPath = "/usr/bin/browser";
  s.externalViewerPath = "/usr/bin/viewer";
  s.displayLeft = "120";
  s.displayTop = "64";
  s.rotationQuality = 60;
  s.rotationBackup = "off";
  s.titleFontSize = "3";
  s.titleFontColor = "65280";
  s.titleFontFace = "IPAGothic";
  s.titleTableWidth = "400";
  s.titleBackgroundColor = "12345";
  s.titleItalic = "on";
  s.titleBold = "on";
  s.thumbnailWidth = "200";
  s.thumbnailHeight = "90";
  s.openInSubWindow = "on";
  s.scriptPopup = "on";
  s.makeSlideShow = "on";
  s.slideShowInterval = "12";
  s.thumbnailQuality = "95";
  s.thumbnailFilter = "on";
  s.noBrowserPrompt = "on";
  s.htmlFileName = "album.html";
  s.thumbnailFolderName = "small";
  s.titleFontSpecified = "off";
  s.defaultHeader = "off";
  s.headerComment = "春の <b>写真</b>";
  s.defaultFooter = "off";
  s.footerComment = "連絡先";
  s.footerLink = "on";
  s.footerLinkUrl = "mailto:a@example.org";
  s.titleUseTable = "off";
  s.thumbnailPrefix = "s_";
  s.skipExistingThumbnails = "on";
  s.tableBorder = "4";
  s.slideShowLimit = "on";
  s.slideShowMaxX = "1280";
  s.slideShowMaxY = "960";
  s.pictureFrame = "off";
  s.picturesPerRow = 8;
  s.clearThumbnailFolder = "on";
  s.autoSaveSettings = "on";
  s.titleTableBorder = "0";
  s.textColor = 8421504;
  return s;
}

}  // namespace pictavo
