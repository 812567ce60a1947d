#pragma once
// Helpers of the basic-data window tests: an account set with operator 001
// logged in and a stand-in main window whose status panels can be read, and
// small drivers for the record windows' named controls.

#include "support/Fixture.h"

#include "forms/RecordList.h"
#include "core/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QTest>
#include <QWidget>

class StatusFrame : public MainFrame {
public:
    QWidget* widget() override { return nullptr; }
    QMdiArea* mdiArea() override { return nullptr; }
    void setStatusText(int panel, const QString& text) override { panels[panel] = text; }
    QString statusText(int panel) const override { return panels.value(panel); }
    QFont backgroundFont() const override { return QApplication::font(); }
    QMap<int, QString> panels;
};

class RecordBooks : public FreshAccountSet {
public:
    RecordBooks()
    {
        loginAs(QStringLiteral("001"));
        app().MainWindow = &frame;
    }
    ~RecordBooks() { app().MainWindow = nullptr; }
    QString status() const { return frame.panels.value(4); }
    // Sets a sysinfo row's value.
    void setSetting(int id, double value);

    StatusFrame frame;
};

template <class T>
T* control(QWidget* w, const QString& name)
{
    T* c = w->findChild<T*>(name);
    if (!c)
        qWarning("no control %s", qPrintable(name));
    return c;
}

// Runs a menu command of a window by its item name.
void Trigger(QWidget* w, const char* item);
// Types into box Txt<i> (one line or several), as the user leaves it.
void TypeBox(QWidget* w, int i, const QString& text);
QString BoxText(QWidget* w, int i);
// The codes in column 0 of a read list.
QStringList ListCodes(const RecordList& list);
// The codes in column 0 of a grid's data rows.
QStringList GridCodes(QWidget* w, const char* grid = "GD");
// Empty when the list grid's columns fill most of its viewport without passing
// it; else what they take of what it offers, for the failure message.
QString ListColumnsFillRefusal(QWidget* w);
// Makes the list row holding `code` current.
void SelectCode(QWidget* w, const QString& code);
// Adds an operator whose basic-data word is `word` and logs it in.
void LoginWithBasicWord(FreshAccountSet& set, int word, int accountsWord = 1111);
