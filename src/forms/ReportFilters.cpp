#include "forms/ReportFilters.h"

#include "platform/Database.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QPushButton* pickButton(QWidget* frame, const char* name, const QString& tip)
{
    auto* b = new QPushButton(QStringLiteral("?"), frame);
    b->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty())
        b->setToolTip(tip);
    b->setFixedWidth(24);
    QFont bold = b->font();
    bold.setBold(true);
    b->setFont(bold);
    return b;
}

}  // namespace

GoodsFilterPart AddGoodsFilter(QWidget* frame, QGridLayout* layout, int row, int col, const QString& caption,
                               BoxPicker pick)
{
    GoodsFilterPart part;
    part.label = new QLabel(caption, frame);
    part.Txt = new QLineEdit(frame);
    part.Txt->setObjectName(QStringLiteral("Txt"));
    part.CmdQuery = pickButton(frame, "CmdQuery", QStringLiteral("查找货品编码资料"));
    layout->addWidget(part.label, row, col);
    layout->addWidget(part.Txt, row, col + 1);
    layout->addWidget(part.CmdQuery, row, col + 2);
    QLineEdit* box = part.Txt;
    QObject::connect(part.CmdQuery, &QPushButton::clicked, frame, [box, pick = std::move(pick)] {
        if (pick)
            pick(box);
    });
    return part;
}

CategoryFilterPart AddCategoryFilter(QWidget* frame, QGridLayout* layout, int row, int col, const QString& caption,
                                     const char* name, bool editable)
{
    CategoryFilterPart part;
    part.label = new QLabel(caption, frame);
    part.combo = new QComboBox(frame);
    part.combo->setObjectName(QString::fromLatin1(name));
    part.combo->setEditable(editable);
    layout->addWidget(part.label, row, col);
    layout->addWidget(part.combo, row, col + 1);
    return part;
}

QStringList CategoryFilterItems(Database& db)
{
    QStringList items;
    Statement st(db, QStringLiteral("SELECT F1, F2 FROM TA3 WHERE F2 IS NOT NULL ORDER BY F1"));
    while (st.step())
        items << st.text(0) + QStringLiteral(".") + st.text(1);
    return items;
}

QString CategoryCodeOf(const QString& item)
{
    return item.section(QLatin1Char('.'), 0, 0);
}

UnitFilterPart AddUnitFilter(QWidget* frame, QGridLayout* layout, int row, int col, const QString& caption,
                             const char* name, BoxPicker pick, const char* buttonName)
{
    UnitFilterPart part;
    part.label = new QLabel(caption, frame);
    part.box = new QLineEdit(frame);
    part.box->setObjectName(QString::fromLatin1(name));
    layout->addWidget(part.label, row, col);
    layout->addWidget(part.box, row, col + 1);
    if (pick) {
        part.pickButton = pickButton(frame, buttonName ? buttonName : "CmdUnit", QString());
        layout->addWidget(part.pickButton, row, col + 2);
        QLineEdit* box = part.box;
        QObject::connect(part.pickButton, &QPushButton::clicked, frame, [box, pick = std::move(pick)] { pick(box); });
    }
    return part;
}
