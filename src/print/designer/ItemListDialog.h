#pragma once
// The list of one kind of layout item (variables, record-set fields,
// constants, lines): edit an item in its property window, add and delete
// constants and lines, hide all items of the kind for a while.

#include "print/designer/LayoutEditor.h"

#include <QDialog>

class Grid;
class PrintEngine;
class QAction;
class QMenuBar;

class ItemListDialog : public QDialog {
    Q_OBJECT
public:
    // kind: 0 variables, 1 record-set fields, 2 constants, 3 lines.
    ItemListDialog(PrintEngine& engine, LayoutEditor& editor, int kind, QWidget* parent = nullptr);

    // Fills the list; false (after the message) when there is nothing to list.
    bool fill();
    // Opens the property window of the current row.
    void edit();
    // Adds a constant or line named by the operator.
    void add();
    // Deletes the current constant or line after asking.
    void remove();
    // Hides or shows all items of the kind after asking.
    void hideAll();
    // Records run down the page (false) or across it in 2-20 columns (true), after asking.
    void setDirection(bool across);

private:
    // The VALUE row of the constant or line on list row `listRow`; -1 none.
    int itemOfListRow(int listRow) const;
    PrintEngine& m_engine;
    LayoutEditor& m_editor;
    int m_kind;
    QString m_kindWord;
    Grid* GD;
    QMenuBar* Menu_fun;
    QAction* Menu_PB0;
    QAction* Menu_PB1;
};
