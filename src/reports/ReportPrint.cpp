#include "reports/ReportPrint.h"

#include "core/App.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "print/PlistPrint.h"
#include "widgets/NoRightsRefusal.h"

void PrintReportList(App& app, QWidget* window, Grid* grid, const ReportListPrint& p)
{
    if (!RequireRight(app, 8, 1))
        return;
    if (grid->textMatrix(1, 0).isEmpty()) {
        MsgBox(QStringLiteral("无数据可打印！"), MB::Information, QStringLiteral("提示"));
        return;
    }
    PlistPrint job(app);
    job.Pid = p.pid;
    job.RptFile = app.AppFolder + p.templateFile;
    const int last = grid->rows() - 1;
    job.setValue(QStringLiteral("Caption"), window->windowTitle());
    job.setValue(QStringLiteral("SumSL"), grid->textMatrix(last, p.qtyCol));
    job.setValue(QStringLiteral("SumJE"), grid->textMatrix(last, p.amountCol));
    for (int r = 1; r < grid->rows(); ++r) {
        if (p.goodsRowsOnly && grid->textMatrix(r, 0).isEmpty())
            continue;
        QStringList t;
        for (int c = 0; c <= p.lastCol; ++c)
            t << grid->textMatrix(r, c);
        if (p.rowNumber)
            t << QString::number(r);
        job.addRow(t);
    }
    job.PrnSQL = QStringLiteral("select F1,F2,F4,F5,F3,F6,F7,F8,F9,F10,F11 from plist order by F0");
    job.show(window);
}
