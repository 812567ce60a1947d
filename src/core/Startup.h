#pragma once
// The start-up road: from the command line to a logged-in operator in the
// main window. The windows on the way (account-set list and manager, main
// window, settings wizard, login, operators, tip of the day, compaction
// reminder, repair, stock alarms) are reached through App::Windows; a window
// whose hook is empty is skipped.

#include "core/WindowRegistry.h"

#include <QString>
#include <QStringList>

struct App;
class Database;

// The account-set path a command line names: a leading double quote takes the
// text up to the next one ("" when it is never closed); otherwise the whole
// trimmed text, blanks included.
QString CommandLinePath(const QString& commandLine);

// Runs start-up on a fresh App: opens the account set named by `args` (the
// arguments after the program name) or the one the account-set list gives,
// shows the main window, upgrades the schema, loads the settings, runs the
// wizard when the set asks for it, the login, and the start-up checks. A
// preset AppFolder is kept (else the executable's folder). Errors end in the
// start-up recovery. False when the program is to end.
bool Main(App& app, const QStringList& args);

// The one road after an account set was opened, at start-up and on the
// account-set switch alike: schema upgrade, settings, the settings wizard
// (cancellable when the set asks for it, compulsory when another edition
// configured the set), the login and the window the login asked for. False
// when a login ran and nobody logged in.
bool AccountSetOpened(App& app);

// After a login: the window a link of the login asked for (LoginLinkEntry),
// none for LoginLink::None.
void OpenWindowAskedByLogin(App& app, LoginLink asked);

// Reports documents audited on the header while a line still has no posting
// key (an audit that stopped half-way), each once. Changes nothing.
void CheckUnfinishedAudits(const Database& db);

// Writes this program's executable path into the per-user setting the
// launcher reads (application "Vorlixstore", section and key "Vorlo").
void RememberProgramPath();

// The per-user switch "show a tip at start-up" (on unless turned off).
bool TipsAtStartup();
void SetTipsAtStartup(bool on);
