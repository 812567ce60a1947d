#pragma once
// A stand-in line-grid host for the pickers' tests: a grid whose column 0
// takes goods codes through an in-cell editor, keeping the LineGridHost
// contract (the blank last row is where the next goods goes; a code already
// on a line leaves curMxR on that line).

#include "platform/Grid.h"
#include "widgets/LineGridHost.h"

#include <QLineEdit>
#include <QWidget>

class StandInLineHost : public QWidget, public LineGridHost {
public:
    StandInLineHost()
    {
        grid = new Grid(this);
        grid->setCols(2);
        grid->setRows(2);
        editor = new QLineEdit(this);
        editor->hide();
    }
    QLineEdit* TxtEnter() override { return editor; }
    void TxtEnter_LostFocus() override
    {
        if (!editor->isVisible())
            return;
        const QString code = editor->text().trimmed();
        editor->hide();
        if (code.isEmpty())
            return;
        for (int r = 1; r < grid->rows(); ++r) {
            if (grid->textMatrix(r, 0) == code) {
                row = r;  // a duplicate: the existing line stays current
                return;
            }
        }
        grid->setTextMatrix(row, 0, code);
        if (row == grid->rows() - 1)
            grid->setRows(grid->rows() + 1);
    }
    Grid* GdMx() override { return grid; }
    void GdMx_Click() override
    {
        ++clicks;
        TxtEnter_LostFocus();
        row = grid->row();
        col = grid->col();
        editor->setText(grid->textMatrix(row, col));
        editor->show();
    }
    int curMxR() const override { return row; }
    void setCurMxR(int r) override { row = r; }
    int curMxC() const override { return col; }
    void setCurMxC(int c) override { col = c; }
    QString& PubSql() override { return pubSql; }

    QStringList codes() const
    {
        QStringList out;
        for (int r = 1; r < grid->rows(); ++r)
            if (!grid->textMatrix(r, 0).isEmpty())
                out << grid->textMatrix(r, 0);
        return out;
    }

    Grid* grid;
    QLineEdit* editor;
    int row = 1;
    int col = 0;
    int clicks = 0;
    QString pubSql;
};
