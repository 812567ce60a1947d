#include "forms/RecordList.h"

#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/SqlFunctions.h"

RecordList ListRecords(Database& db, const QString& sql, int textCols, int numberCol, const QVariantList& params)
{
    Statement st(db, sql);
    st.bindAll(params);
    RecordList list;
    list.cols = numberCol >= textCols ? numberCol + 1 : textCols;
    const int fields = st.columnCount();
    int back = -1;
    int fore = -1;
    for (int c = 0; c < fields; ++c) {
        const QString name = st.columnName(c);
        if (name.compare(QLatin1String("BColor"), Qt::CaseInsensitive) == 0)
            back = c;
        else if (name.compare(QLatin1String("FColor"), Qt::CaseInsensitive) == 0)
            fore = c;
    }
    while (st.step()) {
        for (int c = 0; c < list.cols; ++c) {
            if (c == numberCol)
                list.cells.push_back(NumText(st.column(c).toDouble()));
            else if (c < fields)
                list.cells.push_back(st.column(c).toString());
            else
                list.cells.emplace_back();
        }
        const qint64 b = back >= 0 ? st.column(back).toLongLong() : 0;
        const qint64 f = fore >= 0 ? st.column(fore).toLongLong() : 0;
        if (b != 0 || f != 0)
            list.colours.push_back({list.rows, b, f});
        ++list.rows;
    }
    return list;
}
