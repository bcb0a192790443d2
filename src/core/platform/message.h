#pragma once
// What core tells the user, as a value: which message and the texts it names
// (a path, a setting, a number). Core never holds the wording; the front ends
// render a Message from the one table in src/messages (the windows through
// Qt's translation of it). A new message is one id here and one table entry.

#include <string>
#include <utility>
#include <vector>

namespace pictavo {

enum class MessageId {
  Detail,  // "%1": the system's reason, a file name or a counter, shown as it is

  // Shared by several commands.
  Caption,            // the program's name as a question's caption
  WriteError,         // a write failed; the command stopped
  WriteErrorBecause,  // %1: the system's reason
  Aborted,
  Interrupted,  // the batch's, without the full stop
  Finished,     // status panel at the end of a run
  BrowserQuestion,
  NoSelection,
  CannotOpenFile,    // %1: path
  CannotCreateFile,  // %1: path
  CannotOpenFileBecause,    // %1: path, %2: the system's reason
  CannotCreateFileBecause,  // %1: path, %2: the system's reason
  LinkLeadsOutside,  // %1: path
  LinkLeadsToSource,  // %1: path

  // The album run.
  ClearFailed,
  ReadError,
  ReadingPictures,
  SkippedFile,
  Filtering,
  NormalCompression,
  CommentFileMissing,
  BackgroundMissing,

  // Settings and names.
  BadSetting,                // %1: field, %2: value
  SettingOutOfRange,         // %1: field, %2: value, %3: lowest
  SettingOutOfRangeBetween,  // %1: field, %2: value, %3: lowest, %4: highest
  BadSettingName,            // %1: field, %2: value
  PageIsPicture,             // %1: value
  SettingIsLink,             // %1: field, %2: value
  PathIsLink,                // %1: path
  BadSettingsLine,           // %1: path, %2: line number, %3: value
  UnreadableVersion,         // %1: path, %2: line
  SettingsFilter,
  SettingsNameRefused,
  SettingsReadFailed,
  AutoSaveQuestion,
  AutoSaveCaption,
  ProgramsKept,
  ProgramsKeptIn,  // %1: path; ProgramsKept after it
  BackgroundType,
  BadFolderName,
  BadFileName,
  ProgramFolderFailed,  // %1: folder
  NoSettingsFile,       // %1: path

  // The picture list.
  CannotMove,
  NamesPassedOver,  // %1: folder, %2: how many names are not UTF-8

  // The table of contents.
  NoFolders,
  NoTargetFolders,
  NoTocTitle,
  NoBackgroundPicture,
  BackgroundCopyFailed,
  FolderLeadsOutside,  // %1: path
  FileLeadsOutside,    // %1: path
  ThumbnailNotAName,   // %1: page, %2: name

  // BMP conversion and rotation.
  ConvertingBmp,
  OverwriteQuestion,  // %1: file name
  ConversionDone,
  Rotating,
  FileWriteFailed,
  BackupWriteFailed,
  ReadOnlyQuestion,
  SaveAndFinish,
  SaveAndNext,

  // Comments.
  TooManyComments,     // %1: the most records
  UnreadCommentFile,   // %1: path
  CommentSaved,
  CommentsChanged,
  FileCount,  // %1: count

  End  // not a message: one past the last
};

struct Message {
  MessageId id = MessageId::Detail;
  std::vector<std::string> args;

  Message() = default;
  Message(MessageId messageId) : id(messageId) {}  // NOLINT: a bare id is a message without arguments
  Message(MessageId messageId, std::vector<std::string> arguments) : id(messageId), args(std::move(arguments)) {}

  bool operator==(const Message& other) const { return id == other.id && args == other.args; }
};

// A text that is not language (the system's reason, a file name, a counter).
inline Message Detail(std::string text) { return Message(MessageId::Detail, {std::move(text)}); }

}  // namespace pictavo
