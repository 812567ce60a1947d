#include "ExchangeSupport.h"

#include "platform/Database.h"

void FillImportGrid(GridModel& g, const QVector<QStringList>& rows)
{
    int width = 1;
    for (const QStringList& r : rows)
        width = qMax(width, int(r.size()));
    g.setRows(1);
    g.setCols(width);
    std::vector<QString> cells(size_t(rows.size()) * size_t(width));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            cells[size_t(r) * size_t(width) + size_t(c)] = rows[r][c];
    g.setData(int(rows.size()), width, std::move(cells));
    for (int c = 0; c < width; ++c)
        g.setText(0, c, QString(QChar(u'A' + c)));
}

QStringList Mapping(int n, const QList<QPair<int, QString>>& set)
{
    QStringList m;
    for (int i = 0; i < n; ++i)
        m << QString();
    for (const auto& p : set)
        m[p.first] = p.second;
    return m;
}

StandInHost::StandInHost(Database& d, int cols) : db(d)
{
    grid.setCols(cols);
    grid.setRows(2);
    grid.setHeaders({QStringLiteral("编码"), QStringLiteral("名称"), QStringLiteral("批号"), QStringLiteral("数量"),
                     QStringLiteral("单价"), QStringLiteral("金额"), QStringLiteral("备注"), QString()});
    editor.setVisible(false);
}

void StandInHost::GdMx_Click()
{
    row = grid.row();
    col = grid.col();
    editor.setVisible(col == 0);
}

void StandInHost::TxtEnter_LostFocus()
{
    if (!editor.isVisible() && editor.text().isEmpty())
        return;
    editor.setVisible(false);
    const QString code = editor.text().trimmed().toUpper();
    for (int r = 1; r < grid.rows(); ++r) {
        if (r != row && grid.textMatrix(r, 0).compare(code, Qt::CaseInsensitive) == 0) {
            ++refusals;  // "相同的编码已经存在！": the existing line is selected
            row = r;
            grid.setRow(r);
            return;
        }
    }
    const RecordSet rs = db.query(QStringLiteral("SELECT F1, F2, F4, F7 FROM TA4 WHERE F1 = ?"), {code});
    if (rs.isEmpty())
        return;
    grid.setTextMatrix(row, 0, rs.text(0, 0));
    grid.setTextMatrix(row, 1, rs.text(0, 1));
    grid.setTextMatrix(row, 3, QStringLiteral("1 ") + rs.text(0, 2));
    grid.setTextMatrix(row, 4, rs.text(0, 3));
    if (!grid.textMatrix(grid.rows() - 1, 0).isEmpty())
        grid.setRows(grid.rows() + 1);
}
