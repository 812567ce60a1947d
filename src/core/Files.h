#pragma once
// Small shared procedures around files and the desktop: testing a file or a
// folder before using it, showing a file in the file manager, the error log
// in the program folder, and the character shift of the program's own data
// files. ComputerName() (the key of per-computer print settings) comes from
// platform/SystemInfo.h, included here for the callers of these procedures.

#include "platform/SystemInfo.h"

#include <QString>

struct App;

// The name (without folder) of the file at `path`, "" when there is none.
// Hidden files count, folders do not; "*" and "?" in the last part of the
// path match as wildcards (the first match in name order). Never fails.
QString FileExists(const QString& path);

// Non-empty when `path` names an existing folder (with or without a trailing
// "/"), "" otherwise, for a file too. Never fails.
QString FolderUsable(const QString& path);

// Opens the file manager with the file selected; False when the file is
// missing or hidden, or no file manager could be started.
bool ShowInExplorer(const QString& path);

// The text of the message WriteErrorLog shows.
inline const QString ErrorLogWrittenText =
    QStringLiteral("系统运行出错，错误信息已经写入错误日志，请把错误日志文件发送给软件开发商！谢谢！");

// Appends a five-line record (separator, date and time, procedure, line
// number, error text) to "错误日志.log" in the program folder, in GB18030
// with CR LF, then tells the user to send the log. False, with no message,
// when the log could not be written; the caller then reports the error itself.
bool WriteErrorLog(const App& app, const QString& procedure, int lineNumber, const QString& errorText);

// Appends the same record as WriteErrorLog without telling the user; false
// when the log could not be written. For failures the user is told about in
// plain words while the technical text goes to the maker.
bool AppendErrorLog(const App& app, const QString& procedure, int lineNumber, const QString& errorText);

// Every character's code in the Chinese code page (GB18030; a double-byte
// character as a signed 16-bit value) raised by 12: "abc" gives "mno". A
// result below 256 is the character of that code (Latin-1 above 127); a
// double-byte result that is no character of the code page gives U+FFFD.
QString ShiftTextUp(const QString& text);
