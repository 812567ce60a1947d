#include "documents/outbound/AutoOutbound.h"

#include "core/App.h"
#include "core/DocNumbers.h"
#include "core/Permissions.h"
#include "core/Posting.h"
#include "core/SqlText.h"
#include "platform/Database.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The digit of the edit item in a permission word.
constexpr int EditDigit = 3;

struct Entry {
    QString code;
    double qty = 0;
};

// Reads the records from the current one to the end; a Null field reads as empty text.
QVector<Entry> readEntries(RecordSet& rs)
{
    QVector<Entry> entries;
    for (; !rs.eof(); rs.moveNext())
        entries.append({rs.field(0).toString().trimmed(), BoxValue(rs.field(1).toString())});
    return entries;
}

// The save's questions on the date; "" when the date is accepted.
QString dateRefusal(const QString& text, const QDate& date, const AutoCkSteps& steps)
{
    const QDate today = QDate::currentDate();
    auto ask = [&](const QString& question) { return steps.confirm && steps.confirm(question); };
    const QString no = QStringLiteral("自动出库单没有保存。");
    if (date > today && !ask(QStringLiteral("您输入的日期[") + text + QStringLiteral("]是未来的日期，您确认录入正确吗？")))
        return no;
    if (std::abs(today.year() - date.year()) > 2 &&
        !ask(QStringLiteral("您的电脑系统日期是[") + DateText(today) + QStringLiteral("]，您确认单据是 ") +
             QString::number(date.year()) + QStringLiteral(" 年发生的吗？")))
        return no;
    return {};
}

}  // namespace

AutoCkResult AutoCk(App& app, const StockDocPolicy& policy, const QString& typeName, const QString& tmpRq,
                    const QString& tmpBm, RecordSet& tmpMx, const AutoCkSteps& steps)
{
    const QVector<Entry> entries = readEntries(tmpMx);
    auto refused = [](const QString& text) { return AutoCkResult{{}, text}; };
    Database& db = app.CurrentDatabase;

    if (!HasRight(app, policy.docType().rightGroup, EditDigit))
        return refused(NoRightsText);
    if (policy.audit.canAdd) {
        const QString refusal = policy.audit.canAdd(db);
        if (!refusal.isEmpty())
            return refused(refusal);
    }

    StockDoc doc;
    QString dateText = tmpRq.trimmed();
    try {
        doc.head.date = ParseDate(dateText);
    } catch (const DateError&) {
        return refused(QStringLiteral("您输入的日期[") + tmpRq + QStringLiteral("]不是有效的日期！"));
    }
    if (const QString r = dateRefusal(tmpRq, doc.head.date, steps); !r.isEmpty())
        return refused(r);

    const QString unitCode = tmpBm.section(QLatin1Char('.'), 0, 0).trimmed();
    if (tmpBm.trimmed().isEmpty())
        return refused(policy.texts.unitLabel + QStringLiteral("不能为空！"));
    const QString unitName =
        SqlScalar(db, QStringLiteral("SELECT F2 FROM TA1 WHERE F1 = ?"), {unitCode}).trimmed();
    if (unitName.isEmpty())
        return refused(policy.texts.unitLabel + QStringLiteral("编码输入错误！"));
    doc.head.unitCode = unitCode;
    doc.head.unitName = unitName;
    doc.head.enteredBy = app.OperatorName;
    doc.head.settlement = policy.department() ? 1 : 0;

    // The quick-entry strip: a code already on a line adds to it, else a new line.
    for (const Entry& e : entries) {
        if (e.code.isEmpty() || e.qty == 0)
            continue;
        auto same = std::find_if(doc.lines.begin(), doc.lines.end(), [&](const StockDocLine& l) {
            return l.goods.compare(e.code, Qt::CaseInsensitive) == 0;
        });
        if (same != doc.lines.end()) {
            const double qty = same->qty + e.qty;
            QString attr = same->attr;
            if (const std::optional<StockShortage> s = CheckStockOnDate(app, same->goods, qty, doc.head.date, attr))
                return refused(StockShortageText(app, *s));
            same->qty = qty;
            same->amount = same->price * qty;
            continue;
        }
        const std::optional<StockDocLine> goods =
            steps.lineFor ? steps.lineFor(e.code, doc.head.date) : GoodsForLine(app, policy, e.code);
        if (!goods)
            return refused(UnknownStripGoodsText(app.GoodsTerm, e.code, app.GoodsTerm + QStringLiteral("编码")));
        StockDocLine l = *goods;
        l.qty = e.qty;
        l.amount = l.price * e.qty;
        doc.lines.append(l);
    }

    // Number, save and audit under one write lock: the number cannot be taken
    // meanwhile, and a refused audit takes the save back with it.
    Transaction tx(db);
    doc.head.number = NextDocNumber(db, StockDocNumberPrefix(db, typeName), QStringLiteral("TB1"), QDate::currentDate());
    if (doc.head.number == NoFreeDocNumber)
        return refused(QStringLiteral("本月已没有可用的单据号，自动出库单没有保存。"));
    if (const QString r = SaveStockDoc(app, policy, typeName, doc, {}); !r.isEmpty())
        return refused(r);
    // The audit checks the stock of the lines (the policy's check before posting)
    // before it writes anything.
    const QString audit = steps.audit ? steps.audit(doc.head.number) : AuditStockDoc(app, policy, doc.head.number);
    if (!audit.isEmpty())
        return refused(audit);
    tx.commit();
    return {doc.head.number, {}};
}

QWidget* MakeAutoCkCover(QWidget* window)
{
    auto* frame = new QGroupBox(QStringLiteral("用于AutoCk过程调用，遮住界面"), window);
    frame->setObjectName(QStringLiteral("AutoCkFrm"));
    auto* info = new QLabel(QStringLiteral("请稍候……"), frame);
    info->setObjectName(QStringLiteral("LabInfo"));
    info->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(info);
    frame->setAutoFillBackground(true);
    frame->hide();
    return frame;
}

AutoCkScope::AutoCkScope(QWidget* cover, bool& interactive)
    : m_cover(cover)
    , m_interactive(interactive)
{
    m_interactive = false;
    if (m_cover) {
        if (QWidget* window = m_cover->parentWidget())
            m_cover->setGeometry(window->rect());
        m_cover->raise();
        m_cover->show();
        QApplication::processEvents();
    }
}

AutoCkScope::~AutoCkScope()
{
    if (m_cover)
        m_cover->hide();
    m_interactive = true;
}
