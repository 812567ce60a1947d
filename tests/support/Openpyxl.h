#pragma once
// openpyxl as an outside peer: a spreadsheet reader and writer that no one
// here wrote. Tests write workbooks with it and read our exports back with it.
// It runs under /usr/bin/python3 (the python of the Debian package); a test
// skips when that python has no openpyxl.

#include <QString>
#include <QVariant>
#include <QVector>

// The python that has openpyxl, or "" when there is none.
QString OpenpyxlPython();

// Runs a python script (openpyxl imported as `openpyxl`, `sys` and `json`
// available, `args` in sys.argv[1:]); returns its standard output. Fails the
// calling test (QVERIFY-style, via qFatal-free QTest::qFail) on a non-zero exit.
QByteArray RunOpenpyxl(const QString& script, const QStringList& args = {});

// One cell as openpyxl reads it: null for an empty cell, QString for text,
// double for a number, QString "yyyy-MM-ddThh:mm:ss" for a date.
struct PeerCell {
    QString type;  // "s" text, "n" number, "d" date, "" empty
    QVariant value;
};
// Every row of the named sheet ("" = the active sheet).
QVector<QVector<PeerCell>> OpenpyxlRead(const QString& path, const QString& sheet = QString());

#define SKIP_WITHOUT_OPENPYXL()                                    \
    do {                                                           \
        if (OpenpyxlPython().isEmpty())                            \
            QSKIP("openpyxl is not installed for /usr/bin/python3"); \
    } while (0)
