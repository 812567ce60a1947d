#include "documents/outbound/D1.h"

#include "core/App.h"
#include "core/Settings.h"
#include "core/SettingsCatalogue.h"
#include "core/SqlText.h"
#include "documents/outbound/Assembly.h"
#include "documents/outbound/AutoOutbound.h"
#include "documents/outbound/OutboundPolicies.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

StockDocPolicy windowPolicy(bool department)
{
    return department ? DepartmentIssuePolicy() : SalesDeliveryPolicy();
}

}  // namespace

D1::D1(App& app, bool F3isBm, QWidget* parent)
    : StockDocForm(app, windowPolicy(F3isBm), parent), m_app(app)
{
    setObjectName(QStringLiteral("D1"));
    buildAssemblyRow();
    m_autoCkCover = MakeAutoCkCover(this);
    editStateChanged();
}

void D1::buildAssemblyRow()
{
    QWidget* frm = findChild<QWidget*>(QStringLiteral("Frm"));
    auto* layout = qobject_cast<QBoxLayout*>(frm->layout());
    m_assembly = new QWidget(frm);
    m_assembly->setObjectName(QStringLiteral("FrmAssembly"));
    auto* row = new QHBoxLayout(m_assembly);
    row->setContentsMargins(0, 0, 0, 0);
    auto box = [&](const char* label, const char* name) {
        row->addWidget(new QLabel(QString::fromUtf8(label), m_assembly));
        auto* b = new QLineEdit(m_assembly);
        b->setObjectName(QString::fromLatin1(name));
        row->addWidget(b);
        return b;
    };
    m_txt7 = box("产品编码", "Txt7");
    auto* query = new QPushButton(QStringLiteral("?"), m_assembly);
    query->setObjectName(QStringLiteral("CmdZZQuery"));
    query->setToolTip(QStringLiteral("查找货品编码资料"));
    row->addWidget(query);
    m_txt8 = box("组装数量", "Txt8");
    m_labDW10 = new QLabel(QStringLiteral("件"), m_assembly);
    m_labDW10->setObjectName(QStringLiteral("LabDW10"));
    row->addWidget(m_labDW10);
    m_txt9 = box("名称规格", "Txt9");
    auto* refresh = new QPushButton(QStringLiteral("组装"), m_assembly);
    refresh->setObjectName(QStringLiteral("CmdRfSL"));
    auto* fill = new QPushButton(QStringLiteral("组装"), m_assembly);
    fill->setObjectName(QStringLiteral("CmdAutoZZ"));
    row->addWidget(refresh);
    // The fill without the quantity question; the operator starts it with CmdRfSL,
    // so the window shows one "组装" button.
    fill->hide();
    layout->insertWidget(1, m_assembly);
    m_assembly->setVisible(SettingValue(m_app.CurrentDatabase, SetPartWord) == 1);

    const auto assemblyRow = [this] { return AssemblyRow{m_txt7, m_txt8, m_txt9, m_labDW10, &OldZZCP}; };
    connect(fill, &QPushButton::clicked, this, [this, assemblyRow] {
        const MessageScope command(this);
        if (FillAssemblyLines(m_app, policy(), assemblyRow(), lines()))
            lines().linesChanged();
    });
    connect(refresh, &QPushButton::clicked, this, [this, assemblyRow] {
        const MessageScope command(this);
        if (RefreshAssemblyLines(m_app, policy(), assemblyRow(), lines()))
            lines().linesChanged();
    });
    connect(query, &QPushButton::clicked, this, [this, assemblyRow] {
        const MessageScope command(this);
        PickAssemblyProduct(m_app, assemblyRow(), this);
    });
    connect(m_txt7, &QLineEdit::editingFinished, this, [this] {
        if (Edstu != 0 && !m_txt7->text().trimmed().isEmpty())
            m_txt9->setText(GoodsName(m_app.CurrentDatabase, m_txt7->text().trimmed()));
    });
}

void D1::editStateChanged()
{
    const bool editing = Edstu != 0;
    for (QLineEdit* b : {m_txt7, m_txt8, m_txt9})
        b->setReadOnly(!editing);
    for (const char* name : {"CmdZZQuery", "CmdRfSL"})
        findChild<QPushButton*>(QString::fromLatin1(name))->setVisible(editing);
    if (Edstu == 1) {
        for (QLineEdit* b : {m_txt7, m_txt8, m_txt9})
            b->clear();
        OldZZCP.clear();
    } else if (Edstu == 2) {
        OldZZCP = m_txt7->text().trimmed();
    }
}

void D1::documentShown(const StockDoc* doc)
{
    m_labDW10->setText(QStringLiteral("件"));
    if (Edstu == 1)
        return;
    m_txt7->setText(doc ? doc->head.assemblyProduct : QString());
    m_txt8->setText(doc && doc->head.assemblyQty != 0 ? NumText(doc->head.assemblyQty) : QString());
    m_txt9->setText(doc ? doc->head.assemblyName : QString());
}

void D1::fillHeaderExtras(StockDocHeader& head) const
{
    head.assemblyProduct = OldZZCP;
    head.assemblyQty = AssemblyQuantity(m_txt8->text());
    head.assemblyName = m_txt9->text();
}

bool D1::AutoCk(const QString& tmpRq, const QString& tmpBm, RecordSet& tmpMx)
{
    const MessageScope command(this);
    AutoCkResult result;
    {
        AutoCkScope scope(m_autoCkCover, Interactive);
        try {
            result = ::AutoCk(m_app, policy(), caption(), tmpRq, tmpBm, tmpMx);
        } catch (const DbError& e) {
            result.refusal = e.description();
        }
    }
    if (!result.refusal.isEmpty()) {
        MsgBox(result.refusal, MB::OKOnly | MB::Information, QString());
        return false;
    }
    LoadDocList(QStringLiteral("TB1.F1 = ?"), {result.number});
    return true;
}
