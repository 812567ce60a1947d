#pragma once
// What a report window hands to the print window: the print is run, the
// print window that opens is read (layout, template, named values, the rows
// as its print statement reads them back) and closed.

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

class FreshAccountSet;

struct StagedPrint {
    bool shown = false;
    QString pid;
    QString templateFile;  // file name only
    QMap<QString, QString> values;
    QStringList rows;  // each row's fields joined by "|"
};

// Runs `print` and reads what the print window was handed, then closes it.
StagedPrint CapturePrint(FreshAccountSet& set, const std::function<void()>& print);
