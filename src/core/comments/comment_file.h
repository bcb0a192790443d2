#pragma once
// The per-folder comment file PicComment.txt: four lines per picture
// (separator, file name, first and second comment line), CP932, CR LF.
// The comment editor writes it; the editor and the album run read it.

#include <memory>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/message.h"
#include "platform/sink.h"

namespace pictavo {

// One record as read from the file, in file order.
struct TCommentRecord {
  std::string FileName;
  std::string Comment1;
  std::string Comment2;
  bool operator==(const TCommentRecord&) const = default;
};

// The comment lines of one picture-list entry.
struct CommentSlot {
  std::string comment1;
  std::string comment2;
  bool operator==(const CommentSlot&) const = default;
};

// Readers keep at most this many records, and lists get at most this many
// comment slots; further records are not read and further entries go
// without comments.
inline constexpr size_t kMaxCommentRecords = 10001;
inline constexpr size_t kMaxCommentSlots = kMaxCommentRecords;
// A comment file larger than this is refused (real ones hold a few lines per picture).
inline constexpr size_t kMaxCommentFileBytes = 64 * 1024 * 1024;

inline constexpr const char* kCommentFileName = "PicComment.txt";
inline constexpr const char* kCommentSeparator = "*****************************";
// Shown by the editor after a successful save.
inline const Message kCommentSavedMessage{MessageId::CommentSaved};

// FolderBase(folder) + "PicComment.txt".
std::string CommentFilePath(const std::string& folder);

struct CommentFile {
  std::vector<TCommentRecord> records;  // file order, at most kMaxCommentRecords
  bool truncated = false;               // more records followed than are kept
};

// Reads the folder's comment file. A "&#N;" reference to a character CP932
// cannot encode turns back into that character. A failure names the file
// and the system's reason when it cannot be opened or read (NotFound,
// CannotRead), or the limit when it is larger than kMaxCommentFileBytes
// (TooLarge); callers check for its existence first.
Status ReadCommentFile(const std::string& folder, CommentFile& out);
// The same rules over a file's bytes.
CommentFile ParseCommentFile(std::string bytes);

// The comment lines for every name, at most kMaxCommentSlots of them:
// names compare with ASCII letters lower-cased; of several matching records
// the last one wins; a name without a record gets empty lines.
std::vector<CommentSlot> MatchComments(const std::vector<TCommentRecord>& records,
                                       const std::vector<std::string>& names);

enum class CommentWriteResult {
  Saved,
  CannotCreate,  // error: the file and the system's reason
  WriteFailed,   // shown as the write-error message; error: the reason
  Refused,       // nothing written; error: the message to show (it names the file or the limit)
};

namespace msg {
// A save that would lose records: more pictures, or more records in the
// file read, than the kMaxCommentRecords kept.
Message TooManyCommentsText();
// A save refused because the folder's comment file could not be read.
Message UnreadCommentFileText(const std::string& path);
}  // namespace msg

// Writes one record for every name, in list order, with its comment lines
// (a name beyond `comments` gets empty lines). The file is replaced
// atomically, so a failure leaves the previous file as it was. Refused, with
// nothing written: more names than kMaxCommentRecords (a later read would
// drop the rest), or a PicComment.txt that is a link leading out of the
// folder or to one of the pictures (see FolderWritePath).
CommentWriteResult WriteCommentFile(const std::string& folder, const std::vector<std::string>& names,
                                    const std::vector<CommentSlot>& comments, Message& error);
// The same into a given sink (tests pass a failing one).
CommentWriteResult WriteCommentFile(std::unique_ptr<ByteSink> sink, const std::vector<std::string>& names,
                                    const std::vector<CommentSlot>& comments, Message& error);

}  // namespace pictavo
