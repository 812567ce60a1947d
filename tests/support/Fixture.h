#pragma once
// A fresh account set for one test: a temporary program folder holding a copy
// of the template, a copy of it as the open account set, and a fresh App whose
// CurrentDatabase is open on it. Everything is removed when it goes away.
//
//   FreshAccountSet set;          // logged in as nobody
//   set.loginAs("001");           // OperatorCode / OperatorName from TE1
//   set.db().execute(...);

#include "core/App.h"

#include <QTemporaryDir>
#include <functional>
#include <memory>

class QWidget;

class FreshAccountSet {
public:
    FreshAccountSet();
    ~FreshAccountSet();

    App& app() { return *m_app; }
    Database& db() { return m_app->CurrentDatabase; }
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }  // temporary root, "/"-terminated
    QString programFolder() const;  // AppFolder: holds nousit.dat
    QString setPath() const;        // the open account-set file
    QString userDataFolder() const; // XDG_DATA_HOME while this set lives

    // Sets OperatorCode and OperatorName from TE1 (the operator must exist).
    void loginAs(const QString& code);
    // Another file copied from the template, not opened.
    QString copyOfTemplate(const QString& fileName) const;

    static QString templatePath();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<App> m_app;
};

// Runs `action` on the next modal window that opens (polling the event loop),
// so a test can drive a dialog shown with exec(). The action runs once.
void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// A plain (unencrypted) SQLite file, for refusal tests.
void WritePlainSqliteFile(const QString& path);
