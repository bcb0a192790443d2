#include "comments/comment_file.h"

#include <algorithm>
#include <unordered_map>

#include "platform/folder_write.h"
#include "platform/paths.h"
#include "text/chars.h"
#include "platform/textfile.h"

namespace pictavo {

std::string CommentFilePath(const std::string& folder) { return FolderBase(folder) + kCommentFileName; }

namespace msg {
Message TooManyCommentsText() { return {MessageId::TooManyComments, {std::to_string(kMaxCommentRecords)}}; }
Message UnreadCommentFileText(const std::string& path) { return {MessageId::UnreadCommentFile, {path}}; }
}  // namespace msg

CommentFile ParseCommentFile(std::string bytes) {
  CommentFile out;
  TextReader reader(std::move(bytes), /*decodeReferences=*/true);
  reader.readLine();  // the first separator; never examined
  std::string name = reader.readLine();
  while (!name.empty()) {
    if (out.records.size() == kMaxCommentRecords) {
      out.truncated = true;
      break;
    }
    TCommentRecord record;
    record.FileName = std::move(name);
    record.Comment1 = reader.readLine();
    record.Comment2 = reader.readLine();
    out.records.push_back(std::move(record));
    reader.readLine();  // the next separator
    name = reader.readLine();
  }
  return out;
}

Status ReadCommentFile(const std::string& folder, CommentFile& out) {
  std::string bytes;
  const std::string path = CommentFilePath(folder);
  if (Status read = ReadFileBytes(path, bytes, nullptr, kMaxCommentFileBytes + 1); !read.ok()) return read;
  if (bytes.size() > kMaxCommentFileBytes) {
    // Refused rather than cut: a save after a partial read would lose comments.
    return Status::Failure(ErrorCode::TooLarge,
                           path + ": larger than " + std::to_string(kMaxCommentFileBytes >> 20) + " MB");
  }
  out = ParseCommentFile(std::move(bytes));
  return {};
}

std::vector<CommentSlot> MatchComments(const std::vector<TCommentRecord>& records,
                                       const std::vector<std::string>& names) {
  std::vector<CommentSlot> slots(std::min(names.size(), kMaxCommentSlots));
  // The last matching record wins: later records overwrite earlier ones.
  // One look-up per name, not a pass over the records for each.
  std::unordered_map<std::string, size_t> lastRecord;
  lastRecord.reserve(records.size());
  for (size_t r = 0; r < records.size(); ++r) lastRecord.insert_or_assign(LowerAscii(records[r].FileName), r);
  for (size_t i = 0; i < slots.size(); ++i) {
    const auto it = lastRecord.find(LowerAscii(names[i]));
    if (it != lastRecord.end()) slots[i] = {records[it->second].Comment1, records[it->second].Comment2};
  }
  return slots;
}

CommentWriteResult WriteCommentFile(std::unique_ptr<ByteSink> sink, const std::vector<std::string>& names,
                                    const std::vector<CommentSlot>& comments, Message& error) {
  TextWriter writer(std::move(sink));
  const CommentSlot none;
  for (size_t i = 0; i < names.size(); ++i) {
    const CommentSlot& c = i < comments.size() ? comments[i] : none;
    if (!writer.writeLines({kCommentSeparator, names[i], c.comment1, c.comment2})) break;
  }
  if (!writer.close()) {
    error = Detail(writer.error());
    return CommentWriteResult::WriteFailed;
  }
  return CommentWriteResult::Saved;
}

CommentWriteResult WriteCommentFile(const std::string& folder, const std::vector<std::string>& names,
                                    const std::vector<CommentSlot>& comments, Message& error) {
  if (names.size() > kMaxCommentRecords) {
    error = msg::TooManyCommentsText();
    return CommentWriteResult::Refused;
  }
  std::vector<std::string> pictures;
  pictures.reserve(names.size());
  for (const auto& name : names) pictures.push_back(FolderBase(folder) + name);
  const FolderWrite target = FolderWritePath(folder, kCommentFileName, pictures);
  if (!target) {
    error = target.error->message;
    return CommentWriteResult::Refused;
  }
  SinkOpening opened = OpenAtomicSink(target.path);
  if (!opened.sink) {
    error = Detail(opened.status.reason());
    return CommentWriteResult::CannotCreate;
  }
  return WriteCommentFile(std::move(opened.sink), names, comments, error);
}

}  // namespace pictavo
