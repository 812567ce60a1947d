#pragma once
// What one operator keeps for himself in his TE1 row (password F3, notes
// [pad], big text F75) and in the program folder (his background picture
// "image/<code>.jpg"), and how the main window's background shows it.

#include <QString>

struct App;
class Database;

enum class PasswordCheck {
    Ready,           // the new password may be stored
    Mismatch,        // the two new entries differ
    SameAsOld,       // the new password equals the old one (also: nothing typed in set-password mode)
    AskClear,        // old password right, new one empty: ask before clearing
    WrongOld,        // the old password does not match the stored one
    ChangedByOther,  // set-password mode, yet a password is stored now
};

// The stored password of an operator ("" for none or a missing operator).
QString StoredPassword(const Database& db, const QString& code);

// Checks a password change against the stored password, as typed.
PasswordCheck CheckPasswordChange(const Database& db, const QString& code, const QString& oldPassword,
                                  const QString& newPassword, const QString& repeated, bool setPasswordMode);

// Stores the new password exactly as typed, only while the stored one still
// equals `oldPassword`; false when another workstation changed it meanwhile.
// Throws DbError.
bool StorePassword(Database& db, const QString& code, const QString& oldPassword, const QString& newPassword);

// The notes as stored: as typed (they are bound, never spliced into SQL).
QString PersonalNoteText(const QString& typed);
// The big text as stored in F75: one blank before the trimmed text.
QString PersonalCaptionText(const QString& typed);

// Writes the notes and/or the big text (each only when given) in one
// transaction. Throws DbError.
void SavePersonalTexts(Database& db, const QString& code, const QString* notes, const QString* storedCaption);

// The operator's own background picture file.
QString PersonalPicturePath(const App& app, const QString& code);
// The default background picture "syspic.dat".
QString DefaultPicturePath(const App& app);

// Copies `source` unchanged over the operator's picture; the older copy is
// replaced only once the new one is complete. "" on success, else the reason.
QString InstallPersonalPicture(const App& app, const QString& code, const QString& source);
// Removes the operator's picture (a missing file is no error).
void RemovePersonalPicture(const App& app, const QString& code);

// The main window's background (when it exists): big text, labels, picture.
QString BackgroundBigText(const App& app);
void SetBackgroundBigText(App& app, const QString& text);
void SetBackgroundLabelsVisible(App& app, bool visible);
// False when the picture cannot be shown.
bool SetBackgroundPicture(App& app, const QString& path);
