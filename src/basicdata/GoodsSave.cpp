#include "basicdata/GoodsSave.h"

#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Database.h"

#include <QDateTime>
#include <limits>
#include <tuple>

namespace {

const QString CodeCaption = QStringLiteral("编码");
const QString NameCaption = QStringLiteral("品名");
const QString CategoryCaption = QStringLiteral("所属类别");
const QString CostCaption = QStringLiteral("当前库存均价");
const QString Hint = QStringLiteral("提示");

GoodsSaveOutcome refuse(GoodsSaveOutcome out, const QString& message, const QString& title,
                        GoodsBox focus = GoodsBox::None)
{
    out.status = GoodsSaveOutcome::Status::Refused;
    out.message = message;
    out.title = title;
    out.focus = focus;
    return out;
}

QString removeBlanks(QString text)
{
    text.remove(QLatin1Char(' ')).remove(QLatin1Char('\t')).remove(QChar(0x3000));
    return text;
}

QString removeLineBreaks(QString text)
{
    text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n')).remove(QLatin1Char('\t'));
    return text;
}

// The part of a "code.name" text before its first "." (the whole text
// without a "." or with the "." first).
QString codePart(const QString& text)
{
    const int dot = text.indexOf(QLatin1Char('.'));
    return dot > 0 ? text.left(dot) : text;
}

QString starToX(QString text)
{
    return text.replace(QLatin1Char('*'), QLatin1Char('x'));
}

struct Opening {
    double qty = 0;
    double price = 0;
    double amount = 0;
    bool operator==(const Opening& o) const { return qty == o.qty && price == o.price && amount == o.amount; }
};

// Opening price: amount / quantity, or the cost box for a goods without an
// opening quantity (the stored one when the box cannot be typed into).
double openingPrice(double qty, double amount, const GoodsInput& in, double storedPrice)
{
    if (qty != 0)
        return amount / qty;
    return in.costEditable ? BoxValue(in.cost) : storedPrice;
}

}  // namespace

GoodsSaveOutcome SaveGoods(Database& db, const GoodsSaveContext& ctx, const GoodsInput& input)
{
    GoodsSaveOutcome out;
    GoodsInput& in = out.cleaned;
    in = input;
    const bool adding = ctx.mode == GoodsSaveContext::Mode::Add;

    // Checks and cleaning, in the order the operator meets them.
    in.code = in.code.toUpper();
    if (in.code.trimmed().isEmpty())
        return refuse(out, CodeCaption + QStringLiteral("不能为空！"), Hint, GoodsBox::Code);
    if (in.name.trimmed().isEmpty())
        return refuse(out, NameCaption + QStringLiteral("不能为空！"), Hint, GoodsBox::Name);
    // A figure that is no number is refused, never stored as 0.
    for (const auto& [text, caption, used] :
         {std::tuple{&in.cost, CostCaption, in.costEditable}, {&in.salePrice, QStringLiteral("销售参考价"), true},
          {&in.minStock, QStringLiteral("库存底限"), true}, {&in.maxStock, QStringLiteral("库存上限"), true},
          {&in.openingQty, QStringLiteral("初始数量"), ctx.mayEditOpening},
          {&in.openingAmount, QStringLiteral("初始金额"), ctx.mayEditOpening},
          {&in.refPrice, QStringLiteral("入库参考价"), true}, {&in.feeRate, QStringLiteral("费用率"), true}})
        if (used && !TypedNumber(*text))
            return refuse(out, caption + QStringLiteral("：") + NotANumberText(*text), Hint);
    in.code = removeBlanks(in.code);
    SqlSafe(in.code);
    if (in.code.contains(QLatin1Char('#')))
        return refuse(out, CodeCaption + QStringLiteral("中不能包含[#]这个符号！"), QString(), GoodsBox::Code);
    if (BoxValue(in.unit) != 0)
        return refuse(out, QStringLiteral("计量单位不能是数字!"), QString());
    in.unit = in.unit.trimmed();
    SqlSafe(in.unit);
    in.code = removeLineBreaks(in.code);
    SqlSafe(in.name);
    SqlSafe(in.spec);
    SqlSafe(in.cost);
    // The remark keeps quotes as typed (it is bound, never spliced into SQL);
    // only its line breaks go, so it is stored as one line.
    in.remark = removeLineBreaks(in.remark).trimmed();
    in.code = starToX(in.code);
    in.name = starToX(in.name);
    if (!in.spec.isEmpty())
        in.spec = starToX(in.spec);

    QString supplierCode;
    if (in.supplierShown) {
        SqlSafe(in.supplier);
        if (!in.supplier.isEmpty()) {
            supplierCode = codePart(in.supplier);
            const QString name = SqlScalar(db, QStringLiteral("SELECT F2 FROM TA1 WHERE LB = ? AND F1 = ?"),
                                           {::code(UnitKind::Supplier), supplierCode});
            if (name.isEmpty())
                return refuse(out, QStringLiteral("[") + supplierCode + QStringLiteral("]不是有效的供应商编码！"), QString());
            in.supplier = supplierCode + QLatin1Char('.') + name;
        }
    }

    const QString categoryText = in.category.trimmed();
    if (categoryText.isEmpty())
        return refuse(out, CategoryCaption + QStringLiteral("不能为空！"), Hint);
    const QString categoryCode = codePart(categoryText).trimmed();
    out.categoryName = SqlScalar(db, QStringLiteral("SELECT F2 FROM TA3 WHERE F1 = ?"), {categoryCode}).trimmed();
    if (out.categoryName.isEmpty())
        return refuse(out, CategoryCaption + QStringLiteral("编码输入错误！"), Hint, GoodsBox::Category);
    in.category = categoryCode;

    const QString code = in.code.trimmed();
    // The goods that holds the code, other than the one being edited.
    const QString holder =
        adding ? SqlScalar(db, QStringLiteral("SELECT F2 FROM TA4 WHERE F1 = ?"), {code})
               : SqlScalar(db, QStringLiteral("SELECT F2 FROM TA4 WHERE F1 = ? AND F1 <> ?"), {code, ctx.editStartCode});
    const bool taken = adding ? db.scalarRow(QStringLiteral("SELECT 1 FROM TA4 WHERE F1 = ?"), {code}).has_value()
                              : db.scalarRow(QStringLiteral("SELECT 1 FROM TA4 WHERE F1 = ? AND F1 <> ?"),
                                             {code, ctx.editStartCode})
                                    .has_value();
    if (taken) {
        out.status = GoodsSaveOutcome::Status::DuplicateCode;
        out.title = Hint;
        out.focus = GoodsBox::Code;
        if (ctx.pinyinCodes) {
            out.suggestion = SuggestFreeCode(db, code);
            out.message = QStringLiteral("[") + holder + QStringLiteral("]已经使用了") + code +
                          QStringLiteral("这个编码，请重新设置编码后再点击[保存]！\n\n建议使用[") + out.suggestion +
                          QStringLiteral("]，是否采纳这个建议？");
        } else {
            out.message = QStringLiteral("[") + holder + QStringLiteral("]已经使用了") + code +
                          QStringLiteral("这个编码，请重新设置编码!");
        }
        return out;
    }

    if (adding && !ctx.sameNameConfirmed) {
        const QString same = SqlScalar(db, QStringLiteral("SELECT F1 FROM TA4 WHERE F2 = ? AND F5 = ?"), {in.name, in.spec});
        if (!same.isEmpty()) {
            out.status = GoodsSaveOutcome::Status::AskSameName;
            out.focus = GoodsBox::Spec;
            out.message = QStringLiteral("在系统内已经设置过名称为[") + in.name + QStringLiteral("] 规格为[") + in.spec +
                          QStringLiteral("]的货品编码为[") + same +
                          QStringLiteral("]。\n\n您确实要新建这个名称和规格相同但货品编码不同的档案吗？");
            return out;
        }
    }

    // Opening figures.
    const QString& priceFormat = ctx.rules.priceFormat;
    Opening stored;
    double storedFje = 0;
    if (!adding) {
        const RecordSet rs = db.query(QStringLiteral("SELECT V3, V4, V5, F11, Fje FROM TA4 WHERE F1 = ?"), {ctx.editStartCode});
        if (rs.isEmpty())
            return refuse(out, QStringLiteral("[") + ctx.editStartCode + QStringLiteral("]这个货品已经不存在，无法保存！"), Hint);
        stored = {rs.value(0, 0).toDouble(), rs.value(0, 1).toDouble(), rs.value(0, 2).toDouble()};
        storedFje = rs.value(0, 4).toDouble();
        out.hasStructure = rs.text(0, 3) == QLatin1String("1");
    }
    Opening opening;
    if (adding || ctx.mayEditOpening) {
        opening.qty = BoxValue(in.openingQty);
        opening.amount = BoxValue(in.openingAmount);
    } else {
        opening.qty = stored.qty;
        opening.amount = stored.amount;
    }
    if (adding && opening.qty != 0) {
        const double quotient = opening.amount / opening.qty;
        const QString should = FormatNumber(quotient, priceFormat);
        if (FormatNumber(BoxValue(in.cost), priceFormat) != should) {
            out.notices << CostCaption + QLatin1Char(' ') + in.cost + QStringLiteral(" 与年初数量金额不相符,\n\n当前成本单价应为: ") +
                               should + QStringLiteral(" !\n\n系统将强制更正!");
            in.cost = NumText(quotient);
        }
    }
    opening.price = openingPrice(opening.qty, opening.amount, in, stored.price);

    const bool renamed = !adding && code != ctx.editStartCode;
    const bool openingChanged = !adding && !(opening == stored);

    Transaction tx(db);
    // Another workstation may have taken the code since the check above.
    if (db.scalarRow(QStringLiteral("SELECT 1 FROM TA4 WHERE F1 = ?") + (adding ? QString() : QStringLiteral(" AND F1 <> ?")),
                     adding ? QVariantList{code} : QVariantList{code, ctx.editStartCode})
            .has_value()) {
        out.status = GoodsSaveOutcome::Status::DuplicateCode;
        out.title = Hint;
        out.focus = GoodsBox::Code;
        out.message = QStringLiteral("[") + code + QStringLiteral("]这个编码刚刚被其他用户使用，请重新设置编码!");
        return out;
    }

    const double structureTotal = in.composite ? StructureTotal(in.structure) : 0;
    // The class follows the composite box's tick where the box is offered;
    // elsewhere a new goods is a part and an edited one keeps its class.
    QVariant goodsClass;
    if (in.structureOffered)
        goodsClass = ::code(in.composite ? GoodsClass::Product : GoodsClass::Part);
    else if (adding)
        goodsClass = ::code(GoodsClass::Part);
    const QVariantList common{supplierCode,
                              in.location,
                              BoxValue(in.feeRate),
                              goodsClass,
                              BoxValue(in.refPrice),
                              structureTotal,
                              code,
                              in.name.trimmed(),
                              in.category,
                              in.unit,
                              in.spec.trimmed(),
                              in.remark,
                              BoxValue(in.salePrice),
                              in.picture,
                              BoxValue(in.minStock),
                              BoxValue(in.maxStock)};
    AddGoodsF711Column(db);
    if (adding) {
        QVariantList values = common;
        values << opening.qty << opening.amount << BoxValue(in.cost) << opening.qty << opening.price << opening.amount;
        db.execute(QStringLiteral("INSERT INTO TA4 (Gys, HW, F701, Fcplj, RkF7, F711, F1, F2, F3, F4, F5, F6, F71, F9, V1, V2, "
                                  "F8, Fje, F7, V3, V4, V5, F11) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                  "?, ?, ?, ?, ?, ?, '0')"),
                   values);
        out.cost = BoxValue(in.cost);
        out.stockQty = opening.qty;
        out.stockAmount = opening.amount;
    } else {
        QVariantList values = common;
        values << ctx.editStartCode;
        db.execute(QStringLiteral("UPDATE TA4 SET Gys = ?, HW = ?, F701 = ?, Fcplj = IFNULL(?, Fcplj), RkF7 = ?, F711 = ?, F1 = ?, F2 = ?, "
                                  "F3 = ?, F4 = ?, F5 = ?, F6 = ?, F71 = ?, F9 = ?, V1 = ?, V2 = ? WHERE F1 = ?"),
                   values);
        if (renamed) {
            const QVariantList names{code, ctx.editStartCode};
            db.execute(QStringLiteral("UPDATE TB11 SET F1 = ? WHERE F1 = ?"), names);
            // The product an outbound document assembled is named by its code too.
            db.execute(QStringLiteral("UPDATE TB1 SET zzcp = ? WHERE zzcp = ? COLLATE NOCASE"), names);
            db.execute(QStringLiteral("UPDATE Bom SET F0 = ? WHERE F0 = ?"), names);
            db.execute(QStringLiteral("UPDATE Bom SET F1 = ? WHERE F1 = ?"), names);
            db.execute(QStringLiteral("UPDATE KhPrice SET F1 = ? WHERE F1 = ?"), names);
            db.execute(QStringLiteral("UPDATE RkPrice SET F1 = ? WHERE F1 = ?"), names);
        }
        if (openingChanged) {
            db.execute(QStringLiteral("UPDATE TA4 SET V3 = ?, V4 = ?, V5 = ? WHERE F1 = ?"),
                       {opening.qty, opening.price, opening.amount, code});
            double qty = opening.qty, price = opening.price, amount = opening.amount, outPrice = 0;
            RecostGoods(db, ctx.rules, code, qty, price, amount, QString(), outPrice);
            out.cost = price;
            out.stockQty = qty;
            out.stockAmount = amount;
            const QString shown = FormatNumber(BoxValue(in.cost), priceFormat);
            if (qty != 0 && shown != FormatNumber(amount / qty, priceFormat))
                out.notices << QStringLiteral("由于您修改了初始数量或初始金额，当前") + CostCaption + QLatin1Char(' ') + in.cost +
                                   QStringLiteral(" 也随之发生变化,\n\n当前成本单价应为: ") +
                                   FormatNumber(amount / qty, priceFormat) + QStringLiteral("\n\n系统已自动更新!");
        } else {
            const RecordSet rs = db.query(QStringLiteral("SELECT F7, F8 FROM TA4 WHERE F1 = ?"), {code});
            out.cost = rs.value(0, 0).toDouble();
            out.stockQty = rs.value(0, 1).toDouble();
            out.stockAmount = storedFje;
        }
    }

    if (in.structureOffered) {
        out.hasStructure = SaveStructure(db, code, in.composite ? in.structure : QVector<StructureLine>());
        db.execute(QStringLiteral("UPDATE TA4 SET F11 = ? WHERE F1 = ?"),
                   {out.hasStructure ? QStringLiteral("1") : QStringLiteral("0"), code});
    }

    out.refPrice = BoxValue(in.refPrice);
    if (ctx.inboundRefPrice) {
        if (ctx.costPlusFeePrice && in.structureOffered && in.composite) {
            out.refPrice = RoundToPattern((1 + BoxValue(in.feeRate)) * BomCostSum(db, code), priceFormat);
            db.execute(QStringLiteral("UPDATE TA4 SET RkF7 = ? WHERE F1 = ?"), {out.refPrice, code});
        }
        if (out.refPrice != 0 && out.refPrice != ctx.editStartRefPrice)
            db.execute(QStringLiteral("INSERT INTO RkPrice (F1, F7, F9, F10) VALUES (?, ?, ?, ?)"),
                       {code, out.refPrice, ctx.operatorName,
                        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
    }
    tx.commit();
    out.status = GoodsSaveOutcome::Status::Saved;
    return out;
}

bool GoodsCodeInUse(const Database& db, const QString& code)
{
    const QString c = code.trimmed();
    if (c.isEmpty())
        return true;
    return db.scalarRow(QStringLiteral("SELECT 1 FROM TB11 WHERE F1 = ? LIMIT 1"), {c}).has_value();
}

void DeleteGoods(Database& db, const QString& code)
{
    const QString c = code.trimmed();
    Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM TA4 WHERE F1 = ?"), {c});
    db.execute(QStringLiteral("DELETE FROM Bom WHERE F1 = ? OR F0 = ?"), {c, c});
    tx.commit();
}

QString DeleteGoodsQuestion(const QString& name, const QVector<QPair<QString, QString>>& usedIn)
{
    QString text;
    if (!usedIn.isEmpty()) {
        QStringList products;
        for (const auto& p : usedIn)
            products << QStringLiteral("[") + p.first + QStringLiteral("]") + p.second;
        text = QStringLiteral("[") + name + QStringLiteral("]是下列成品的组成零件：\n") + products.join(QLatin1Char('\n')) +
               QStringLiteral("\n删除后，这些成品的构成表中将不再包含它。\n\n");
    }
    return text + QStringLiteral("真的要删除") + name + QStringLiteral("的资料吗？");
}

QString NextSerialCode(const QString& last)
{
    int p = last.size();
    while (p > 0 && last.at(p - 1) >= QLatin1Char('0') && last.at(p - 1) <= QLatin1Char('9'))
        --p;
    const QString digits = last.mid(p);
    const int width = int(digits.size());
    qint64 k = 1;
    if (!digits.isEmpty()) {
        bool ok = false;
        const qint64 n = digits.size() > 18 ? -1 : digits.toLongLong(&ok);
        if (!ok || n < 0 || n >= std::numeric_limits<qint32>::max())
            return QString();
        k = n + 1;
    }
    QString number = QString::number(k);
    if (number.size() < width)
        number = QString(width - number.size(), QLatin1Char('0')) + number;
    return last.left(p) + number;
}

QString SuggestFreeCode(const Database& db, const QString& code)
{
    for (int n = 1; n < 1000000; ++n) {
        const QString candidate = code + (n < 1000 ? QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')) : QString::number(n));
        if (!db.scalarRow(QStringLiteral("SELECT 1 FROM TA4 WHERE F1 = ?"), {candidate}).has_value())
            return candidate;
    }
    return QString();
}

void ConvertGoodsClass(Database& db, const QString& code, GoodsClass target)
{
    db.execute(QStringLiteral("UPDATE TA4 SET Fcplj = ? WHERE F1 = ?"), {::code(target), code.trimmed()});
}

void AddGoodsF711Column(Database& db)
{
    if (!db.columnExists(QStringLiteral("TA4"), QStringLiteral("F711")))
        db.tryExecute(QStringLiteral("ALTER TABLE TA4 ADD COLUMN F711 REAL DEFAULT 0"));
}
