// The stock-document window's hand-overs to the shared dialogs: the goods,
// attribute and unit pickers, the search, the export, the line import and
// the print. Each sets the dialog up from the window, shows it modal and
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

QString StockDocForm::supplierFilter() const
{
    if (F3isBm())
        return {};
    const Database& db = m_app.CurrentDatabase;
    return SupplierGoodsFilter(db, FixedSupplierSetting(db) && m_app.Menus.isVisible(QStringLiteral("Menu_AA0")), m_cmbLB->currentText());
}

void StockDocForm::pickIntoEditor(QPushButton* button, const std::function<QString()>& pick)
{
    // The editor's text is the picker's search, not a line's value: the cell keeps
    // what it held while the picker is open, and the editor commits nothing then.
    m_txtEnter->hide();
    m_cmdQuery->hide();
    m_cmdSX->hide();
    m_picking = true;
    const QString answer = pick();
    m_picking = false;
    button->setDown(false);
    // The editor opens again on the grid's cell (after a batch pick, the blank last
    // row) and takes the answer as typed text.
    GdMx_Click();
    if (!answer.isEmpty() && !m_txtEnter->isHidden())
        m_txtEnter->setText(answer);
}

void StockDocForm::CmdQry_Click()
{
    const MessageScope command(this);
    GoodsPickRequest request;
    request.preset = m_txtHPBM->text();
    request.supplier = supplierFilter();
    request.quickAdd = HasRight(m_app, RightBasicData, RightItem1);
    m_frm->setEnabled(false);
    const QString code = PickGoods(m_app, request, this);
    m_frm->setEnabled(true);
    if (!code.isEmpty()) {
        m_txtHPBM->setText(code);
        m_txtSL->setFocus();
    }
}

void StockDocForm::CmdQuery_MouseDown()
{
    const MessageScope command(this);
    if (Edstu == 0)
        return;
    GoodsPickRequest request;
    request.preset = m_txtEnter->text();
    request.host = this;
    request.supplier = supplierFilter();
    request.quickAdd = HasRight(m_app, RightBasicData, RightItem1);
    pickIntoEditor(m_cmdQuery, [&] { return PickGoods(m_app, request, this); });
}

void StockDocForm::CmdSX_MouseDown()
{
    const MessageScope command(this);
    if (Edstu == 0)
        return;
    const int r = m_curMxR;
    const QDate date = dateOfForm();
    const QString goods = m_gdMx->textMatrix(r, col(LineRole::Code));
    AttributePickRequest request{m_txtEnter->text(), goods, date,
                                 m_policy.storage.attributeOut ? StockDirection::Out : StockDirection::In,
                                 m_app.GoodsTerm + QStringLiteral("编码：") + goods + QStringLiteral(" 品名规格：") +
                                     m_gdMx->textMatrix(r, col(LineRole::Name)) + QStringLiteral(" 单位：") +
                                     AfterSpace(m_gdMx->textMatrix(r, col(LineRole::Quantity)))};
    pickIntoEditor(m_cmdSX, [&] { return PickAttributeValue(m_app, request, this); });
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
    // The editor commits when the focus moves elsewhere in the window; leaving the
    // window, or a picker opening over it, commits nothing.
    if (watched == m_txtEnter && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (!m_picking && !m_txtEnter->isHidden() && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::PopupFocusReason)
            TxtEnter_LostFocus();
    }
    if (watched == m_txtEnter && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool pickerKey = key->key() == Qt::Key_F || key->key() == Qt::Key_Slash;
        if (pickerKey && (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && m_cmdQuery->isVisible()) {
            CmdQuery_MouseDown();
            return true;
        }
    }
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
        if (m_txtHPBM->isVisibleTo(this))
            m_txtHPBM->setFocus();
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
    QList<int> numbers;  // the money columns the kind has go out as numbers
    for (LineRole role : {LineRole::OriginalPrice, LineRole::Discount, LineRole::Price, LineRole::Amount})
        if (col(role) >= 0)
            numbers.append(col(role));
    SetExportColKinds(m_app, m_gdMx, numbers);
    ToExcel(m_app, m_gdMx, m_tabs->tabText(1), StockDocExportHeader(header), footer, 1, this);
}

void StockDocForm::CmdFexcel_Click()
{
    const MessageScope command(this);
    if (Edstu == 0)
        return;
    DanExcel(m_app, *this, m_policy.storage.importLayout, m_policy.texts.importCaption, this);
    // The import writes quantities and prices after each goods was committed.
    SumDocTotals();
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
