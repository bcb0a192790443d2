#include "message_table.h"

#include <cstddef>

// Qt's lupdate finds the entries by this macro's name; without Qt it is the
// text itself.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace pictavo {

namespace {

struct Entry {
  MessageId id;
  const char* text;
};

// "\r" is a line break in a dialog. Kept in the enum's order.
constexpr Entry kTable[] = {
    {MessageId::Detail, "%1"},

    {MessageId::Caption, "Pictavo"},
    {MessageId::WriteError, QT_TRANSLATE_NOOP("Message", "ファイル書き込みエラーが発生しました。\r処理は中断されました。")},
    {MessageId::WriteErrorBecause,
     QT_TRANSLATE_NOOP("Message", "ファイル書き込みエラーが発生しました。\r%1\r処理は中断されました。")},
    {MessageId::Aborted, QT_TRANSLATE_NOOP("Message", "処理は中断されました。")},
    {MessageId::Interrupted, QT_TRANSLATE_NOOP("Message", "処理は中断されました")},
    {MessageId::Finished, QT_TRANSLATE_NOOP("Message", "ファイル作成終了")},
    {MessageId::BrowserQuestion, QT_TRANSLATE_NOOP("Message", "　　　　ファイル作成終了　　　　\rブラウザを起動しますか？")},
    {MessageId::NoSelection, QT_TRANSLATE_NOOP("Message", "ファイルが選択されていません。")},
    {MessageId::CannotOpenFile, QT_TRANSLATE_NOOP("Message", "ファイル %1 は開けません")},
    {MessageId::CannotCreateFile, QT_TRANSLATE_NOOP("Message", "ファイル %1 を作成できません")},
    {MessageId::CannotOpenFileBecause, QT_TRANSLATE_NOOP("Message", "ファイル %1 は開けません (%2)")},
    {MessageId::CannotCreateFileBecause, QT_TRANSLATE_NOOP("Message", "ファイル %1 を作成できません (%2)")},
    {MessageId::LinkLeadsOutside,
     QT_TRANSLATE_NOOP("Message",
                       "「%1」はフォルダの外を指すシンボリックリンクのため、書き込みませんでした。\r処理は中断されました。")},
    {MessageId::LinkLeadsToSource,
     QT_TRANSLATE_NOOP("Message",
                       "「%1」は読み込むファイルを指すシンボリックリンクのため、書き込みませんでした。\r処理は中断されました。")},

    {MessageId::ClearFailed, QT_TRANSLATE_NOOP("Message", "フォルダの初期化に失敗しました。\r処理は中断されました。")},
    {MessageId::ReadError, QT_TRANSLATE_NOOP("Message", "JPEGファイルを読み込めませんでした。\r処理は中断されました。")},
    {MessageId::ReadingPictures, QT_TRANSLATE_NOOP("Message", "画像読込中")},
    {MessageId::SkippedFile, QT_TRANSLATE_NOOP("Message", "ファイル作成スキップ")},
    {MessageId::Filtering, QT_TRANSLATE_NOOP("Message", "フィルター処理")},
    {MessageId::NormalCompression, QT_TRANSLATE_NOOP("Message", "通常圧縮")},
    {MessageId::CommentFileMissing,
     QT_TRANSLATE_NOOP("Message", "コメントファイルが見つかりません。\rコメント作成ウインドウを開きますか？")},
    {MessageId::BackgroundMissing, QT_TRANSLATE_NOOP("Message", "背景ファイルが存在しません。\r再設定が必要です。")},

    {MessageId::BadSetting,
     QT_TRANSLATE_NOOP("Message", "設定 %1 の値「%2」は正しい整数ではありません。\r処理は中断されました。")},
    {MessageId::SettingOutOfRange,
     QT_TRANSLATE_NOOP("Message", "設定 %1 の値「%2」は範囲外です（%3 以上の整数が必要です）。\r処理は中断されました。")},
    {MessageId::SettingOutOfRangeBetween,
     QT_TRANSLATE_NOOP("Message",
                       "設定 %1 の値「%2」は範囲外です（%3 から %4 までの整数が必要です）。\r処理は中断されました。")},
    {MessageId::BadSettingName,
     QT_TRANSLATE_NOOP("Message", "設定 %1 の値「%2」はファイル名として使えません。\r処理は中断されました。")},
    {MessageId::PageIsPicture,
     QT_TRANSLATE_NOOP("Message",
                       "設定 htmlFileName の値「%1」はフォルダの画像またはコメントファイルの名前です。\r処理は中断されました。")},
    {MessageId::SettingIsLink,
     QT_TRANSLATE_NOOP("Message", "設定 %1 の値「%2」はシンボリックリンクです。\r処理は中断されました。")},
    {MessageId::PathIsLink, QT_TRANSLATE_NOOP("Message", "「%1」はシンボリックリンクです。\r処理は中断されました。")},
    {MessageId::BadSettingsLine, QT_TRANSLATE_NOOP("Message", "設定ファイル %1 の %2 行目「%3」は正しい整数ではありません。")},
    {MessageId::UnreadableVersion, QT_TRANSLATE_NOOP("Message", "%1: 「%2」の版数が読めません。")},
    {MessageId::SettingsFilter, QT_TRANSLATE_NOOP("Message", "設定ファイル(*.ini)|*.ini")},
    {MessageId::SettingsNameRefused, QT_TRANSLATE_NOOP("Message", "このフォルダに指定したファイル名は使用できません")},
    {MessageId::SettingsReadFailed, QT_TRANSLATE_NOOP("Message", "ファイルのオープンに失敗しました")},
    {MessageId::AutoSaveQuestion, QT_TRANSLATE_NOOP("Message", "同名の設定ファイルが存在します。\r上書きしますか？")},
    {MessageId::AutoSaveCaption, QT_TRANSLATE_NOOP("Message", "Pictavo 設定ファイル自動保存")},
    {MessageId::ProgramsKept,
     QT_TRANSLATE_NOOP("Message",
                       "フォルダにある設定ファイルのため、ブラウザ設定と外部ビュアー設定は読み込みませんでした。")},
    {MessageId::ProgramsKeptIn,
     QT_TRANSLATE_NOOP("Message",
                       "%1: フォルダにある設定ファイルのため、ブラウザ設定と外部ビュアー設定は読み込みませんでした。")},
    {MessageId::BackgroundType, QT_TRANSLATE_NOOP("Message", "背景は「jpg」か「gif」ファイルを設定してください。")},
    {MessageId::BadFolderName, QT_TRANSLATE_NOOP("Message", "フォルダ名が不正です。\r指定し直してください。")},
    {MessageId::BadFileName, QT_TRANSLATE_NOOP("Message", "ファイル名が不正です。\r指定し直してください。")},
    {MessageId::ProgramFolderFailed, QT_TRANSLATE_NOOP("Message", "cannot create the program folder %1")},
    {MessageId::NoSettingsFile, QT_TRANSLATE_NOOP("Message", "no such settings file: %1")},

    {MessageId::CannotMove, QT_TRANSLATE_NOOP("Message", "移動できません")},
    {MessageId::NamesPassedOver,
     QT_TRANSLATE_NOOP("Message", "%1: UTF-8 でない名前 %2 個は一覧に入れていません")},

    {MessageId::NoFolders, QT_TRANSLATE_NOOP("Message", "ファルダがありません。")},
    {MessageId::NoTargetFolders, QT_TRANSLATE_NOOP("Message", "対象のファルダがありません。")},
    {MessageId::NoTocTitle, QT_TRANSLATE_NOOP("Message", "目次のタイトルが指定されていません。")},
    {MessageId::NoBackgroundPicture, QT_TRANSLATE_NOOP("Message", "背景の画像ファイルが指定されていません。")},
    {MessageId::BackgroundCopyFailed, QT_TRANSLATE_NOOP("Message", "背景ファイルコピーに失敗しました。\r処理は中断されました。")},
    {MessageId::FolderLeadsOutside,
     QT_TRANSLATE_NOOP("Message", "「%1」はフォルダの外を指すシンボリックリンクのため、対象にしませんでした。")},
    {MessageId::FileLeadsOutside,
     QT_TRANSLATE_NOOP("Message", "「%1」はフォルダの外を指すシンボリックリンクのため、読み込みませんでした。")},
    {MessageId::ThumbnailNotAName,
     QT_TRANSLATE_NOOP("Message", "%1 のサムネイル名「%2」はファイル名ではないため、画像を表示しません。")},

    {MessageId::ConvertingBmp, QT_TRANSLATE_NOOP("Message", "BMP→JPG 変換中")},
    {MessageId::OverwriteQuestion, QT_TRANSLATE_NOOP("Message", "同名のファイルが存在します。\r%1\r上書きしてよろしいですか？")},
    {MessageId::ConversionDone, QT_TRANSLATE_NOOP("Message", "変換終了")},
    {MessageId::Rotating, QT_TRANSLATE_NOOP("Message", "回転処理中")},
    {MessageId::FileWriteFailed, QT_TRANSLATE_NOOP("Message", "ファイルの書き込みでエラーが発生しました。")},
    {MessageId::BackupWriteFailed, QT_TRANSLATE_NOOP("Message", "バックアップファイルの書き込みでエラーが発生しました。")},
    {MessageId::ReadOnlyQuestion, QT_TRANSLATE_NOOP("Message", "読み取り専用のファイルです。\r上書きしてよろしいですか？")},
    {MessageId::SaveAndFinish, QT_TRANSLATE_NOOP("Message", "保存して終了")},
    {MessageId::SaveAndNext, QT_TRANSLATE_NOOP("Message", "保存して次へ")},

    {MessageId::TooManyComments,
     QT_TRANSLATE_NOOP("Message", "コメントファイルに保存できるのは %1 件までです。\rコメントファイルは変更していません。")},
    {MessageId::UnreadCommentFile, QT_TRANSLATE_NOOP("Message", "コメントファイル「%1」を読み込めなかったため、保存しませんでした。")},
    {MessageId::CommentSaved, QT_TRANSLATE_NOOP("Message", "コメントファイルを保存しました。")},
    {MessageId::CommentsChanged, QT_TRANSLATE_NOOP("Message", "コメントが修正されています。\rファイルを保存しますか？")},
    {MessageId::FileCount, QT_TRANSLATE_NOOP("Message", "ファイル数：%1")},
};

}  // namespace

const char* MessageTemplate(MessageId id) {
  for (const Entry& e : kTable)
    if (e.id == id) return e.text;
  return nullptr;
}

std::string SubstituteArguments(const std::string& text, const std::vector<std::string>& args) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const auto k = static_cast<size_t>(text[i + 1] - '1');
      if (k < args.size()) {
        out += args[k];
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

std::string RenderMessage(const Message& message) {
  const char* text = MessageTemplate(message.id);
  return SubstituteArguments(text ? text : "", message.args);
}

}  // namespace pictavo
