#pragma once
// Message texts that several commands show.

namespace pictavo::msg {

inline constexpr const char* kCaption = "Pictavo";
inline constexpr const char* kWriteError = "ファイル書き込みエラーが発生しました。\r処理は中断されました。";
inline constexpr const char* kAborted = "処理は中断されました。";
inline constexpr const char* kFinished = "ファイル作成終了";
inline constexpr const char* kBrowserQuestion = "　　　　ファイル作成終了　　　　\rブラウザを起動しますか？";

}  // namespace pictavo::msg
