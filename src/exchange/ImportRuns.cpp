#include "exchange/ImportRuns.h"

#include "core/App.h"
#include "core/Posting.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "platform/SqlFunctions.h"
#include "widgets/LineGridHost.h"

#include <QHash>
#include <QLineEdit>
#include <QSet>

namespace {

// Grid column named by a mapping text: its first character, "A" = 0; -1 = not mapped.
int mappedColumn(const QString& text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? -1 : t.at(0).unicode() - u'A';
}

// The letters of a mapping text that name columns: the remark row may name
// several ("DEF"); the category-code row names one before its comma ("B,3").
QList<int> namedColumns(const QString& text, bool several)
{
    QList<int> cols;
    QString t = text.trimmed();
    if (t.isEmpty())
        return cols;
    if (!several)
        return {t.at(0).unicode() - u'A'};
    for (QChar c : t)
        cols << c.unicode() - u'A';
    return cols;
}

struct Mapping {
    const GridModel& grid;
    const QStringList& texts;
    int col(int field) const { return mappedColumn(texts.value(field)); }
    bool mapped(int field) const { return col(field) >= 0; }
    QString cell(int row, int field) const { return mapped(field) ? grid.text(row, col(field)) : QString(); }
    // Only after rowProblem found the row clean: a cell that is no number counts as 0.
    double number(int row, int field) const { return TypedNumber(cell(row, field)).value_or(0); }
};

// The limits the record windows put on a field: a text of at most `maxLength`
// characters, or a number (maxLength 0).
struct FieldLimit {
    int field;
    const char* caption;
    int maxLength;
};

// Why row `r` cannot be imported under the windows' limits ("" when it can).
// `text` gives the field's text as it would be stored.
QString rowProblem(const Mapping& m, int r, std::initializer_list<FieldLimit> limits,
                   const std::function<QString(int field)>& text)
{
    for (const FieldLimit& l : limits) {
        if (!m.mapped(l.field))
            continue;
        const QString caption = QString::fromUtf8(l.caption);
        const QString t = text(l.field);
        if (l.maxLength == 0) {
            if (!TypedNumber(t))
                return caption + QStringLiteral("：") + NotANumberText(t);
        } else if (t.size() > l.maxLength) {
            return QStringLiteral("%1太长（%2个字符），最多只能有%3个字符！").arg(caption).arg(t.size()).arg(l.maxLength);
        }
    }
    return QString();
}

// Reports a code met before in the same file: the message for row `r`, or "".
QString repeatedCode(QHash<QString, int>& seen, const QString& code, int r)
{
    const QString key = code.toUpper();
    const auto it = seen.constFind(key);
    if (it != seen.constEnd())
        return QStringLiteral("编码[%1]与第 %2 行的编码重复，同一个文件中每个编码只能出现一次！").arg(code).arg(*it);
    seen.insert(key, r);
    return QString();
}

// First field of the first row of a prepared query, or null.
QVariant first(Statement& st, const QVariantList& params)
{
    st.bindAll(params);
    QVariant v;
    if (st.step())
        v = st.column(0);
    st.reset();
    return v;
}

ImportOutcome failedAt(int row, const QString& reason)
{
    ImportOutcome out;
    out.state = ImportOutcome::State::Failed;
    out.failedRow = row;
    out.message = QStringLiteral("导入数据失败！第 %1 行：%2").arg(row).arg(reason) +
                  QStringLiteral("\r\r本次导入没有写入任何数据，请修改后重新导入。");
    return out;
}

ImportOutcome mappingFailed(const QString& problem)
{
    ImportOutcome out;
    out.state = ImportOutcome::State::Failed;
    out.message = problem;
    return out;
}

QString asciiUpper(const QString& s) { return s.toUpper(); }

}  // namespace

QString MappingProblem(const GridModel& grid, const QStringList& mapping, const QStringList& captions)
{
    for (int k = 0; k < mapping.size(); ++k) {
        const QString t = mapping.at(k).trimmed();
        if (t.isEmpty())
            continue;
        // Only the remark row of the goods import reads every letter.
        const bool several = captions.value(k).startsWith(QStringLiteral("备注信息"));
        for (int c : namedColumns(t, several)) {
            if (c < 0 || c >= grid.cols() || grid.text(0, c).isEmpty()) {
                QString caption = captions.value(k);
                if (caption.endsWith(QStringLiteral("：")))
                    caption.chop(1);
                return QStringLiteral("[%1]指定的列[%2]在读入的数据中不存在，请重新指定！").arg(caption, t);
            }
        }
    }
    return QString();
}

// ---- goods ---------------------------------------------------------------------

ImportOutcome RunGoodsImport(Database& db, const GoodsImportInput& in, const AskAddSupplier& ask)
{
    const GridModel& g = *in.grid;
    const Mapping m{g, in.mapping};
    const int rows = g.rows();
    auto codeOf = [&](int r) {
        QString c = m.cell(r, GCode).trimmed();
        c.replace(QLatin1Char('#'), QStringLiteral("井"));
        return c;
    };
    if (!m.mapped(GCode))
        return mappingFailed(QStringLiteral("必须指定哪一列为编码数据！"));
    if (m.mapped(GAmount) && !m.mapped(GOpeningQty))
        return mappingFailed(QStringLiteral("指定了[金额]列时必须同时指定[年初存量]列，金额要按数量折算成本单价。"));

    // Questions first: which supplier codes that no unit has may be added.
    QSet<int> addSupplierRows;
    if (m.mapped(GSupplierCode)) {
        Statement goodsExists(db, QStringLiteral("SELECT 1 FROM TA4 WHERE F1 = ? LIMIT 1"));
        Statement unitExists(db, QStringLiteral("SELECT 1 FROM TA1 WHERE F1 = ? LIMIT 1"));
        QSet<QString> seen, added;
        enum { NotAsked, Add, Skip } answer = NotAsked;
        for (int r = 1; r < rows; ++r) {
            const QString code = codeOf(r);
            if (code.isEmpty())
                continue;
            const bool isNew = !seen.contains(asciiUpper(code)) && first(goodsExists, {code}).isNull();
            seen.insert(asciiUpper(code));
            const QString s = m.cell(r, GSupplierCode);
            if (!isNew || s.isEmpty() || added.contains(asciiUpper(s)) || !first(unitExists, {s}).isNull())
                continue;
            if (answer == NotAsked) {
                const int a = ask(s);
                if (a == MB::Yes)
                    answer = Add;
                else if (a == MB::No)
                    answer = Skip;
            }
            if (answer == Add) {
                addSupplierRows.insert(r);
                added.insert(asciiUpper(s));
            }
        }
    }

    int r = 0;
    ImportOutcome out;
    try {
        Transaction tx(db);
        Statement find(db, QStringLiteral("SELECT rowid FROM TA4 WHERE F1 = ? LIMIT 1"));
        Statement insert(db, QStringLiteral(
            "INSERT INTO TA4 (F1, F2, F3, F4, F5, F6, F7, F71, F8, Fje, V1, V2, V3, V4, V5, RkF7, F701, HW, Gys, Fcplj) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const bool category = m.mapped(GCategoryName) || m.mapped(GCategoryCode);
        QString set = QStringLiteral("Fcplj = ?");
        for (auto [mappedField, column] : {std::pair{category, "F3"}, {m.mapped(GName), "F2"}, {m.mapped(GUnit), "F4"},
                                           {m.mapped(GSpec), "F5"}, {m.mapped(GMinStock), "V1"},
                                           {m.mapped(GMaxStock), "V2"}, {m.mapped(GRemark), "F6"}})
            if (mappedField)
                set += QStringLiteral(", %1 = ?").arg(QLatin1String(column));
        Statement update(db, QStringLiteral("UPDATE TA4 SET ") + set + QStringLiteral(" WHERE rowid = ?"));
        Statement catByName(db, QStringLiteral("SELECT F1 FROM TA3 WHERE F2 = ? LIMIT 1"));
        Statement catByCode(db, QStringLiteral("SELECT F2 FROM TA3 WHERE F1 = ? LIMIT 1"));
        Statement catExists(db, QStringLiteral("SELECT 1 FROM TA3 WHERE F1 = ? LIMIT 1"));
        Statement catInsert(db, QStringLiteral("INSERT INTO TA3 (F1, F2) VALUES (?, ?)"));
        Statement unitKind(db, QStringLiteral("SELECT LB, SCSF FROM TA1 WHERE F1 = ? LIMIT 1"));
        Statement supplierByName(db, QStringLiteral("SELECT F1 FROM TA1 WHERE F2 = ? AND LB = 0 LIMIT 1"));
        Statement unitInsert(db, QStringLiteral("INSERT INTO TA1 (LB, F1, F2) VALUES (0, ?, ?)"));
        const QList<int> categoryCodeCol = namedColumns(in.mapping.value(GCategoryCode), false);
        const QString codeText = in.mapping.value(GCategoryCode).trimmed();
        const int comma = codeText.indexOf(QLatin1Char(','));
        const int codeLength = comma < 0 ? -1 : codeText.mid(comma + 1).trimmed().toInt();
        const QList<int> remarkCols = namedColumns(in.mapping.value(GRemark), true);

        QHash<QString, int> seenCodes;
        for (r = 1; r < rows; ++r) {
            const QString code = codeOf(r);
            if (code.isEmpty())
                continue;
            QString problem = repeatedCode(seenCodes, code, r);
            if (problem.isEmpty())
                problem = rowProblem(m, r,
                                     {{GCode, "编码", 50}, {GName, "品名", 49}, {GUnit, "计量单位", 49},
                                      {GSpec, "规格型号", 49}, {GLocation, "存放位置", 49}, {GRemark, "备注", 3000},
                                      {GOpeningQty, "年初存量", 0}, {GCost, "成本单价", 0}, {GAmount, "金额", 0},
                                      {GMinStock, "库存底限", 0}, {GMaxStock, "库存上限", 0},
                                      {GSalePrice, "销售参考价", 0}, {GRefPrice, "入库参考价", 0}, {GFeeRate, "费用率", 0}},
                                     [&](int field) {
                                         if (field == GCode)
                                             return code;
                                         if (field != GRemark)
                                             return m.cell(r, field);
                                         QString remark;
                                         for (int c : remarkCols)
                                             remark += g.text(r, c);
                                         return remark;
                                     });
            if (!problem.isEmpty())
                return failedAt(r, problem);
            const QVariant rowid = first(find, {code});
            const bool isNew = rowid.isNull();

            // Category: by name, else by code (cut to its length), else the default.
            QString catCode;
            if (isNew || category) {
                QString catName;
                if (m.mapped(GCategoryName)) {
                    catName = m.cell(r, GCategoryName);
                    catCode = first(catByName, {catName}).toString();
                }
                if (m.mapped(GCategoryCode) && catCode.isEmpty()) {
                    catCode = g.text(r, categoryCodeCol.value(0));
                    if (codeLength >= 0)
                        catCode = catCode.left(codeLength);
                    if (catName.isEmpty())
                        catName = first(catByCode, {catCode}).toString();
                }
                if (catCode.isEmpty())
                    catCode = in.defaultCategoryCode;
                if (catName.isEmpty())
                    catName = in.defaultCategoryName;
                if (first(catExists, {catCode}).isNull()) {
                    catInsert.bindAll({catCode, catName});
                    catInsert.exec();
                }
            }
            const QString name = m.cell(r, GName).isEmpty() ? m.cell(r, GCode).trimmed() : m.cell(r, GName);
            QString remark;
            for (int c : remarkCols)
                remark += g.text(r, c);

            if (!isNew) {
                QVariantList p{in.goodsClass};
                if (category)
                    p << catCode;
                if (m.mapped(GName))
                    p << name;
                if (m.mapped(GUnit))
                    p << m.cell(r, GUnit);
                if (m.mapped(GSpec))
                    p << m.cell(r, GSpec);
                if (m.mapped(GMinStock))
                    p << m.number(r, GMinStock);
                if (m.mapped(GMaxStock))
                    p << m.number(r, GMaxStock);
                if (m.mapped(GRemark))
                    p << remark;
                p << rowid;
                update.bindAll(p);
                update.exec();
                ++out.stored;
                continue;
            }

            // Opening balance of a new goods: quantity and cost from the file,
            // or the cost as amount / quantity when an amount is given.
            const double qty = m.number(r, GOpeningQty);
            double cost = m.number(r, GCost);
            double openingAmount = qty * cost;
            double stockAmount = qty * cost;
            if (m.mapped(GAmount) && qty != 0) {
                const double amount = m.number(r, GAmount);
                if (amount != 0) {
                    cost = amount / qty;
                    openingAmount = amount;
                    stockAmount = amount;
                }
            }

            // Fixed supplier.
            QString gys;
            const QString s = m.cell(r, GSupplierCode);
            const QString supplierName = m.cell(r, GSupplierName);
            if (s.isEmpty()) {
                if (!supplierName.isEmpty())
                    gys = first(supplierByName, {supplierName}).toString();
            } else {
                unitKind.bindAll({s});
                if (unitKind.step()) {
                    const int kind = unitKind.column(0).toInt();
                    const bool dual = unitKind.column(1).toDouble() == 1;
                    if (kind == ::code(UnitKind::Supplier) || (kind == ::code(UnitKind::Customer) && dual))
                        gys = s;
                } else if (addSupplierRows.contains(r)) {
                    unitInsert.bindAll({s, supplierName.isEmpty() ? s : supplierName});
                    unitInsert.exec();
                    gys = s;
                }
                unitKind.reset();
            }

            insert.bindAll({code.toUpper(), m.mapped(GName) ? QVariant(name) : QVariant(QString()), catCode,
                            m.mapped(GUnit) ? m.cell(r, GUnit) : QStringLiteral(" "),
                            m.mapped(GSpec) ? m.cell(r, GSpec) : QStringLiteral(" "), remark, cost,
                            m.number(r, GSalePrice), qty, stockAmount, m.number(r, GMinStock),
                            m.number(r, GMaxStock), qty, cost, openingAmount, m.number(r, GRefPrice),
                            m.number(r, GFeeRate), m.cell(r, GLocation), gys, in.goodsClass});
            insert.exec();
            ++out.stored;
        }
        tx.commit();
    } catch (const DbError& e) {
        return failedAt(r, e.description());
    }
    return out;
}

// ---- business units --------------------------------------------------------------

namespace {

QString kindWord(int kind)
{
    switch (kind) {
    case code(UnitKind::Supplier):
        return QStringLiteral("供应商");
    case code(UnitKind::Customer):
        return QStringLiteral("客户");
    case code(UnitKind::Department):
        return QStringLiteral("部门");
    case code(UnitKind::Reserved):
        return QStringLiteral("系统保留");
    default:
        return QString();
    }
}

}  // namespace

ImportOutcome RunUnitImport(Database& db, const UnitImportInput& in, const AskSkipUnit& ask)
{
    const GridModel& g = *in.grid;
    const Mapping m{g, in.mapping};
    const int rows = g.rows();
    const int kind = code(in.kind);
    if (!m.mapped(UCode))
        return mappingFailed(QStringLiteral("必须指定哪一列为单位编码！"));

    // Questions first: codes that belong to a unit of another kind.
    QSet<int> skipped;
    {
        Statement unitKind(db, QStringLiteral("SELECT LB FROM TA1 WHERE F1 = ? LIMIT 1"));
        for (int r = 1; r < rows; ++r) {
            const QString c = m.cell(r, UCode);
            if (c.isEmpty())
                continue;
            const QVariant found = first(unitKind, {c});
            if (found.isNull() || found.toInt() == kind)
                continue;
            if (ask(r, c, kindWord(found.toInt())) != MB::OK) {
                ImportOutcome out;
                out.state = ImportOutcome::State::Cancelled;
                return out;
            }
            skipped.insert(r);
        }
    }

    int r = 0;
    ImportOutcome out;
    try {
        Transaction tx(db);
        Statement find(db, QStringLiteral("SELECT rowid, F1 FROM TA1 WHERE F1 = ? LIMIT 1"));
        Statement insert(db, QStringLiteral(
            "INSERT INTO TA1 (F1, F2, F3, F4, F5, F6, F7, NK, LB) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        QString set;
        const char* columns[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "NK"};
        for (int k = UName; k <= UOpening; ++k)
            if (m.mapped(k))
                set += (set.isEmpty() ? QString() : QStringLiteral(", ")) + QLatin1String(columns[k]) + QStringLiteral(" = ?");
        std::optional<Statement> update;
        if (!set.isEmpty())
            update.emplace(db, QStringLiteral("UPDATE TA1 SET ") + set + QStringLiteral(" WHERE rowid = ?"));

        QHash<QString, int> seenCodes;
        for (r = 1; r < rows; ++r) {
            const QString c = m.cell(r, UCode);
            if (c.isEmpty() || skipped.contains(r))
                continue;
            QString problem = repeatedCode(seenCodes, c, r);
            if (problem.isEmpty())
                problem = rowProblem(m, r,
                                     {{UCode, "单位编码", 49}, {UName, "单位名称", 255}, {UAddress, "地址", 255},
                                      {UPhone, "电话", 49}, {UFax, "传真", 49}, {UContact, "联系人", 49},
                                      {URemark, "备注", 200}, {UOpening, "期初余额", 0}},
                                     [&](int field) { return m.cell(r, field); });
            if (!problem.isEmpty())
                return failedAt(r, problem);
            const QString name = m.cell(r, UName).isEmpty() ? c : m.cell(r, UName);
            find.bindAll({c});
            const bool found = find.step();
            const QVariant rowid = found ? find.column(0) : QVariant();
            const QString storedCode = found ? find.column(1).toString() : QString();
            find.reset();
            if (!found) {
                QVariantList p{c.toUpper(), m.mapped(UName) ? name : c.toUpper()};
                for (int k = UAddress; k <= URemark; ++k)
                    p << (m.mapped(k) ? m.cell(r, k) : QStringLiteral(" "));
                p << m.number(r, UOpening) << kind;
                insert.bindAll(p);
                insert.exec();
            } else if (update) {
                QVariantList p;
                for (int k = UName; k <= UOpening; ++k) {
                    if (!m.mapped(k))
                        continue;
                    if (k == UName)
                        p << name;
                    else if (k == UOpening)
                        p << m.number(r, k);
                    else
                        p << m.cell(r, k);
                }
                p << rowid;
                update->bindAll(p);
                update->exec();
                // The whole balance chain follows the new opening balance.
                if (m.mapped(UOpening))
                    RepostUnitBalance(db, QStringLiteral("0"), storedCode);
            }
            ++out.stored;
        }
        tx.commit();
    } catch (const DbError& e) {
        return failedAt(r, e.description());
    }
    return out;
}

// ---- document lines ----------------------------------------------------------------

LineImportOutcome RunLineImport(App& app, LineGridHost& host, const LineImportLayout& L, const GridModel& grid,
                                const QStringList& mapping, const std::function<void()>& yield)
{
    const Mapping m{grid, mapping};
    LineImportOutcome out;
    Grid* gd = host.GdMx();
    auto tick = [&] {
        if (yield)
            yield();
    };
    auto cellText = [&](int col) { return gd->textMatrix(host.curMxR(), col); };
    auto setCell = [&](int col, const QString& text) {
        if (col >= 0)
            gd->setTextMatrix(host.curMxR(), col, text);
    };
    auto setNumber = [&](int col, double v) { setCell(col, GeneralNumberText(v)); };
    auto lead = [&](int col) { return LeadingNumber(cellText(col)); };
    auto toLastRow = [&] {
        gd->setRow(gd->rows() - 1);
        host.setCurMxR(gd->rows() - 1);
        gd->setCol(0);
        host.GdMx_Click();
    };
    const int rows = grid.rows();

    gd->setCol(0);
    host.GdMx_Click();
    for (int r = 1; r < rows; ++r) {
        tick();
        const QString code = m.cell(r, LCode).trimmed();
        if (code.isEmpty())
            continue;
        // The line editor's rule: a figure that is no number is refused, and
        // the row writes no line at all.
        const QString problem = rowProblem(m, r, {{LQty, "数量", 0}, {LPrice, "单价", 0}, {LAmount, "金额", 0}},
                                           [&](int field) { return m.cell(r, field); });
        if (!problem.isEmpty()) {
            out.problems << QStringLiteral("第 %1 行：%2").arg(r).arg(problem);
            continue;
        }
        const QString stored = SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT F1 FROM TA4 WHERE F1 = ? LIMIT 1"), {code});
        if (stored.isEmpty()) {
            ++out.missing;
            continue;
        }
        const int target = host.curMxR();
        host.TxtEnter()->setText(code);
        host.TxtEnter_LostFocus();
        tick();
        // A line the document refused (a duplicate, a goods it does not take)
        // gets none of the row's cells.
        if (host.curMxR() != target || gd->textMatrix(target, 0).compare(stored, Qt::CaseInsensitive) != 0) {
            ++out.refused;
            toLastRow();
            continue;
        }

        if (m.mapped(LQty))
            setNumber(L.qty, m.number(r, LQty));
        if (!L.stocktaking) {
            const double qty = lead(L.qty);
            if (m.mapped(LAmount)) {
                const double amount = m.number(r, LAmount);
                setNumber(L.amount, amount);
                if (qty != 0)
                    setNumber(L.price, amount / qty);
            } else if (m.mapped(LPrice)) {
                const double price = m.number(r, LPrice);
                setNumber(L.price, price);
                setNumber(L.amount, price * qty);
            } else {
                setNumber(L.amount, lead(L.price) * qty);
            }
        } else {
            const double d = LeadValue(cellText(4)) - LeadValue(cellText(3));
            setNumber(5, d);
            setCell(7, FormatNumber(d * LeadValue(cellText(6)), app.AmountFormat));
            gd->setCellForeColor(host.curMxR(), 5, d < 0 ? QColor(Qt::red) : QColor(Qt::black));
        }
        if (m.mapped(LRemark))
            setCell(L.remark, m.cell(r, LRemark));
        if (m.mapped(LAttr) && !app.HpsxName.isEmpty()) {
            setCell(L.attr, m.cell(r, LAttr));
            if (L.stocktaking) {
                const double s = SqlScalar(app.CurrentDatabase,
                                           QStringLiteral("SELECT sum(F6) FROM TB11 WHERE SRT <> '' AND F1 = ? AND HPSX = ?"),
                                           {cellText(0), cellText(L.attr)})
                                     .toDouble();
                const QString unitWord = AfterSpace(cellText(3));
                setCell(3, GeneralNumberText(s) + QLatin1Char(' ') + unitWord);
                setNumber(5, LeadValue(cellText(4)) - s);
                setCell(7, FormatNumber(LeadValue(cellText(5)) * LeadValue(cellText(6)), app.AmountFormat));
            }
        }
        tick();
        toLastRow();
        ++out.written;
    }
    return out;
}
