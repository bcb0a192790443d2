// The one table of message wording: complete, and byte for byte the texts
// the program has always shown.
#include <gtest/gtest.h>

#include "message_table.h"

namespace pictavo {
namespace {

TEST(MessageTable, HasAnEntryForEveryId) {
  for (int k = 0; k < static_cast<int>(MessageId::End); ++k) {
    const char* text = MessageTemplate(static_cast<MessageId>(k));
    ASSERT_NE(text, nullptr) << "MessageId " << k;
    EXPECT_NE(*text, '\0') << "MessageId " << k;
  }
}

TEST(MessageTable, RendersComposedMessagesAsBefore) {
  EXPECT_EQ(RenderMessage({MessageId::BadSetting, {"thumbnailWidth", "x"}}),
            "設定 thumbnailWidth の値「x」は正しい整数ではありません。\r処理は中断されました。");
  EXPECT_EQ(RenderMessage({MessageId::SettingOutOfRange, {"thumbnailHeight", "-1", "1"}}),
            "設定 thumbnailHeight の値「-1」は範囲外です（1 以上の整数が必要です）。\r処理は中断されました。");
  EXPECT_EQ(RenderMessage({MessageId::SettingOutOfRangeBetween, {"picturesPerRow", "11", "1", "10"}}),
            "設定 picturesPerRow の値「11」は範囲外です（1 から 10 までの整数が必要です）。\r処理は中断されました。");
  EXPECT_EQ(RenderMessage({MessageId::WriteErrorBecause, {"/a/b: No space left on device"}}),
            "ファイル書き込みエラーが発生しました。\r/a/b: No space left on device\r処理は中断されました。");
  EXPECT_EQ(RenderMessage({MessageId::OverwriteQuestion, {"a.jpg"}}),
            "同名のファイルが存在します。\ra.jpg\r上書きしてよろしいですか？");
  EXPECT_EQ(RenderMessage(MessageId::BrowserQuestion), "　　　　ファイル作成終了　　　　\rブラウザを起動しますか？");
  EXPECT_EQ(RenderMessage(MessageId::Caption), "Pictavo");
  EXPECT_EQ(RenderMessage(Detail("0012/0150   ")), "0012/0150   ");
}

TEST(MessageTable, SubstitutesInOnePassAndKeepsUnfilledPlaceholders) {
  // A path that itself holds "%2" or "%" must reach the user unchanged.
  EXPECT_EQ(RenderMessage({MessageId::BadSetting, {"f", "%2 100%"}}),
            "設定 f の値「%2 100%」は正しい整数ではありません。\r処理は中断されました。");
  EXPECT_EQ(SubstituteArguments("%1 and %2", {"a"}), "a and %2");
  EXPECT_EQ(SubstituteArguments("100% %", {}), "100% %");
  EXPECT_EQ(SubstituteArguments("%1%1", {"x"}), "xx");
}

}  // namespace
}  // namespace pictavo
