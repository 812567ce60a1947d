#pragma once
// The property window of one layout item: its properties as rows (caption,
// key, value), a choice of the properties it may still get, an editor for
// the value of the current row, move, size and alignment buttons that write
// back at once, and OK / Cancel / Return. It writes back through the
// LayoutEditor, to the item it was opened for, found by its row.

#include "print/designer/LayoutEditor.h"

#include <QDialog>

class Grid;
class QComboBox;
class QLineEdit;
class QPushButton;

class ItemPropertyDialog : public QDialog {
    Q_OBJECT
public:
    // Opens for the item whose VALUE row is `row`; kind 0 variable, 1 field, 2 constant, 3 line.
    // With row -1 it opens for a new item `name`, which enters the layout only when applied.
    ItemPropertyDialog(LayoutEditor& editor, int kind, int row, QWidget* parent = nullptr,
                       const QString& name = QString());

    // The caption of a property key ("" for an unknown key).
    static QString CaptionOf(const QString& key);

    // Writes the list back into the item table; false (with a message) when refused.
    bool ApplyItemProperties();
    // True when "返 回" closed the window (the item list closes too).
    bool returnPressed() const { return m_return; }

private:
    void fill();
    void clickRow(int row);
    void addChosen();
    void editValue(const QString& text);
    void tool(int index);
    int rowOf(const QString& caption) const;
    QString uniqueName(QString text) const;
    void appendEmptyRow();

    LayoutEditor& m_editor;
    int m_kind;
    int m_row;  // the item's VALUE row, kept up to date across write-backs
    QString ValName;
    QString m_kindWord;
    std::vector<std::pair<QString, QString>> m_catalogue;  // (key, caption), emptied once used
    bool m_return = false;
    int m_choiceRow = -1;
    Grid* GD;
    QLineEdit* TxtEnter;
    QComboBox* CmbEnter;
    QComboBox* CmbFonts;
    QPushButton* CmdMove[9];
};
