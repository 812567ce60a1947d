#include "CapturedPrint.h"

#include "print/Myprn.h"
#include "support/Fixture.h"

#include <QFileInfo>

StagedPrint CapturePrint(FreshAccountSet& set, const std::function<void()>& print)
{
    StagedPrint out;
    WhenModal([&](QWidget* m) {
        auto* window = qobject_cast<Myprn*>(m);
        if (!window) {
            m->close();
            return;
        }
        out.shown = true;
        PrintEngine& e = window->engine();
        out.pid = e.Pid;
        out.templateFile = QFileInfo(e.RptFile).fileName();
        for (const ItemRow& r : e.GdM)
            if (r.key == LayoutWord::Value && !out.values.contains(r.owner))
                out.values.insert(r.owner, r.value);
        int columns = 0;
        std::vector<QString> cells;
        e.ExportRows(set.db(), columns, cells);
        for (size_t i = 0; columns > 0 && i + size_t(columns) <= cells.size(); i += size_t(columns)) {
            QStringList row;
            for (int c = 0; c < columns; ++c)
                row << cells[i + size_t(c)];
            out.rows << row.join(QLatin1Char('|'));
        }
        window->close();
    });
    print();
    return out;
}
