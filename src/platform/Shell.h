#pragma once
// The desktop around the program: opening files and web addresses with their
// usual programs, starting programs, showing a file in the file manager.
// Every call answers whether something was started and shows no message: the
// caller decides what to tell the user.

#include <QString>
#include <QStringList>

// Opens a file with the program the desktop associates with it, or a web
// address ("https://...", "mailto:...") in the browser. False for a missing
// file or when nothing could be started.
bool OpenDocument(const QString& fileOrAddress);

// Starts a program without waiting for it. `program` is the whole path: it is
// never split at blanks. False when it could not be started.
bool StartProgram(const QString& program, const QStringList& arguments = QStringList(),
                  const QString& workingFolder = QString());

// Runs a program and waits for it to end, at most `timeoutMs` (then it is
// stopped). True when it ran and ended with exit code 0.
bool RunProgramToEnd(const QString& program, const QStringList& arguments, int timeoutMs);

// Opens the file manager on the folder of an existing file, with the file
// selected where the file manager can do that. False for a missing file or
// when no file manager could be started.
bool ShowInFileManager(const QString& path);

// The full path of the first of `names` found on the search path, "" when none
// is installed (for example {"gnome-calculator", "kcalc", "galculator"}).
QString FindProgram(const QStringList& names);
