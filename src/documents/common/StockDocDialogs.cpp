// The stock-document window's hand-overs to the shared dialogs: the unit
// picker, the search, the export, the line import and the print (the goods
// and attribute pickers are the line editor's). Each sets the dialog up from the window, shows it modal and
// takes its answer back; what to hand over comes from StockDocExchange.

#include "forms/Query.h"
#include "basicdata/QueryGoods.h"
#include "basicdata/QueryGys.h"
#include "basicdata/QueryHPSX.h"
#include "core/App.h"
#include "core/MainFrame.h"
#include "core/Permissions.h"
#include "core/SqlText.h"
#include "documents/common/StockDocExchange.h"
#include "documents/common/StockDocForm.h"
#include "documents/common/StockDocPrint.h"
#include "exchange/GridExport.h"
#include "exchange/ImportOpeners.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "print/PlistPrint.h"
#include "widgets/NoRightsRefusal.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

namespace {

const QString Tip = QStringLiteral("提示");

}  // namespace

QString StockDocForm::lineGoodsFilter() const
{
    if (F3isBm())
        return {};
    const Database& db = m_app.CurrentDatabase;
    return SupplierGoodsFilter(db, FixedSupplierSetting(db) && m_app.Menus.isVisible(QStringLiteral("Menu_AA0")), m_cmbLB->currentText());
}

void StockDocForm::CmdQGys_Click()
{
    const MessageScope command(this);
    const QString picked = PickUnit(m_app, this, code(m_policy.docType().counterParty), m_policy.texts.unitPickerCaption, false);
    if (!picked.isEmpty() && picked != QLatin1String("."))
        m_cmbLB->setEditText(picked);
    m_cmbLB->setFocus();
}

bool StockDocForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return headerEnter(watched);
    }
    return QWidget::eventFilter(watched, event);
}

// Enter in the header while editing: a header box goes on to the unit combo (where
// the kind says so, as Tab does; the box still sees its Enter), the unit combo to
// the quick-entry code box, the settlement combo on as Tab. True when swallowed.
bool StockDocForm::headerEnter(QObject* watched)
{
    const auto tab = [](QObject* from) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(from, &press);
        return true;
    };
    if (watched == m_cmbK)
        return tab(watched);
    if (watched == m_cmbLB->lineEdit()) {
        if (m_lines->stripCode()->isVisibleTo(this))
            m_lines->stripCode()->setFocus();
        return true;
    }
    if (Edstu == 0 || std::find(m_txt.begin(), m_txt.end(), watched) == m_txt.end())
        return false;
    if (m_policy.texts.headerEnterAsTab)
        return tab(watched);
    if (m_cmbLB->isVisibleTo(this))
        m_cmbLB->setFocus();
    return false;
}

void StockDocForm::Menu_query_Click()
{
    QStringList headers;
    for (int c = 0; c < m_gd->cols(); ++c)
        headers << m_gd->textMatrix(0, c);
    RunQuery(m_app, this, StockDocSearchHead(), StockDocSearchFields(headers), 0);
    if (m_tabs->currentIndex() == 1)
        m_tabs->setCurrentIndex(0);
    const std::optional<QString> condition = StockDocSearchCondition(m_pubSql);
    if (condition)
        LoadDocList(*condition, {}, true);
}

void StockDocForm::Menu_TE_Click()
{
    if (m_tabs->currentIndex() == 0) {
        SetExportColKinds(m_app, m_gd, {5});
        ToExcel(m_app, m_gd, m_tabs->tabText(0), QString(), QString(), 1, this);
        return;
    }
    QVector<QPair<QString, QString>> header;
    for (int i : {0, 1, 2})
        header.append({m_lab[size_t(i)]->text(), m_txt[size_t(i)]->text()});
    if (!m_txt[8]->isHidden() && !m_txt[8]->text().isEmpty())
        header.append({m_lab[9]->text(), m_txt[8]->text()});
    const QString footer = StockDocExportFooter({{m_lab[3]->text(), m_txt[3]->text()}, {m_lab[4]->text(), m_txt[4]->text()}},
                                                {m_lab[6]->text(), m_txt[6]->text()});
    QList<int> numbers;  // the kind's number columns it has go out as numbers
    for (LineRole role : m_policy.storage.exportNumbers)
        if (m_lines->col(role) >= 0)
            numbers.append(m_lines->col(role));
    SetExportColKinds(m_app, m_lines->GdMx(), numbers);
    ToExcel(m_app, m_lines->GdMx(), m_tabs->tabText(1), StockDocExportHeader(header), footer, 1, this);
}

void StockDocForm::CmdFexcel_Click()
{
    const MessageScope command(this);
    if (Edstu == 0)
        return;
    DanExcel(m_app, *m_lines, m_policy.storage.importLayout, m_policy.texts.importCaption, this);
    // The import writes quantities and prices after each goods was committed.
    m_lines->sumTotals();
}

void StockDocForm::printDocument(int plan)
{
    if (m_policy.print.needsRight && !RequireRight(m_app, m_policy.docType().rightGroup, RightItem3))
        return;
    if (m_tabs->currentIndex() == 0)
        ShowDocument();
    // The document as the window shows it, edited or stored.
    StockDoc doc = docFromForm();
    doc.head.date = dateOfForm();
    doc.head.unitCode = unitOfForm();
    doc.head.unitName = m_txt[2]->text();
    doc.head.auditor = m_txt[4]->text().trimmed();
    PrintStockDoc(m_app, this, m_policy, m_caption, doc, plan - 1, !amountsHidden());
}
