#pragma once
// Lays out a print template from what its print hands over: the named values
// above and below the record table, and the record columns by their place in
// the print's query, each under its heading. The shipped templates are made
// with it at build time (mkprinttemplates.cpp), so every column and every
// named value a print stages has its place on the page.
//
// Coordinates are millimetres from the margins (the design width is the
// paper's width, so layout units are millimetres). Lines below the table are
// placed from the page bottom, so they follow the table on every page; named
// values whose name begins with "Sum" print on the last page only (the
// engine's rule), their labels on every page.

#include "print/Layout.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace PrintTemplate {

enum Align { Left = 0, Right = 1, Centre = 2 };

// One labelled value on a line above or below the table. `label` is a
// constant, or a named value when it begins with "@" (a value that is itself
// a caption, such as "供货单位："); `name` is the named value printed after it.
struct Value {
    QString label;
    QString name;
    double share = 1;  // part of the line's width
};

// One record column: its place in the query, its heading (a constant, or a
// named value when it begins with "@"), its part of the table width.
struct Column {
    int field = 0;
    QString heading;
    double weight = 1;
    Align align = Left;
    int dec = -1;  // decimals the engine gives a number, -1 as it comes
};

// A heading over several neighbouring columns (the first and last index into
// the column list).
struct Group {
    int first = 0;
    int last = 0;
    QString text;
};

struct Spec {
    QString pid;  // "" = any layout may use it
    QString paper = QStringLiteral("A4");
    double paperW = 210, paperH = 297;
    bool landscape = false;
    int fontSize = 10;
    QVector<QVector<Value>> head;  // lines between the title and the table
    QVector<Group> groups;
    QVector<Column> columns;
    QVector<QVector<Value>> foot;  // lines below the table
    bool printDate = false;        // the day of printing beside the page number
};

// The layout of `spec`, ready for TemplateFile::Lines.
PrintLayout Build(const Spec& spec);

// The template file's lines: the writer's own lines, with the layout's id as
// the PID line and without a query line (the print's own query is used).
QStringList Lines(const Spec& spec);

}  // namespace PrintTemplate
