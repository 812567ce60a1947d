#pragma once
// The two shared messages of every editing window: the hint after a stock
// document was saved (it takes effect only once audited), which the operator
// may switch off for the account set, and the warning that a record is being
// edited when a window is to close.

#include "core/SavedHintMark.h"

#include <QDialog>

class Database;
class QCheckBox;
class QLabel;
class QPushButton;
struct App;

// Tells the operator that the saved document still needs auditing, unless
// the hint is switched off; returns when the window is closed.
void ShowSavedHint(App& app);
// Tells the operator to save or cancel the edit first; the caller cancels its close.
void WarnEditing();

// The small modal hint window with its "do not show again" tick. Closing it
// by any road stores the tick under chkID.
class MsgBoxOK : public QDialog {
    Q_OBJECT
public:
    explicit MsgBoxOK(Database& db, QWidget* parent = nullptr);

    int chkID = SetSavedHintOff;

    QLabel* Lab;
    QLabel* Image1;
    QCheckBox* Check1;
    QPushButton* Command1;

    void done(int result) override;

private:
    Database& db;
};
