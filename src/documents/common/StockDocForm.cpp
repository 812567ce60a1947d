#include "documents/common/StockDocForm.h"

#include "core/App.h"
#include "core/MainFrame.h"
#include "core/Permissions.h"
#include "core/Rounding.h"
#include "core/Settings.h"
#include "core/SettingsCatalogue.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/BusyPointer.h"
#include "widgets/CloseWhileEditingGuard.h"
#include "widgets/GridBehaviours.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

StockDocForm::StockDocForm(App& app, StockDocPolicy policy, QWidget* parent)
    : QWidget(parent), m_app(app), m_policy(std::move(policy))
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_caption = StockDocTypeName(app.CurrentDatabase, m_policy);
    setWindowTitle(m_policy.texts.windowCaption.isEmpty() ? m_caption : m_policy.texts.windowCaption);
    buildFrame();
    applyMode();
    LoadDocList(OpeningListCondition(), OpeningListParams(QDate(QDate::currentDate().year(),
                                                                QDate::currentDate().month(), 1)));
}

void StockDocForm::applyMode()
{
    Database& db = m_app.CurrentDatabase;
    DocNumberPrefix = StockDocNumberPrefix(db, m_policy, m_caption);
    const bool hidden = amountsHidden();
    if (hidden && m_menuPrn.size() > 1)
        m_menuPrn[1]->setEnabled(false);
    for (int i : {5, 7}) {
        m_lab[size_t(i)]->setVisible(!hidden);
        m_txt[size_t(i)]->setVisible(!hidden);
        if (hidden)
            m_txt[size_t(i)]->setEchoMode(QLineEdit::Password);
    }
    const bool settlementShown = !hidden && settlementSettingOn() && m_policy.balance.settlementOffered;
    m_lab[7]->setVisible(settlementShown);
    m_txt[7]->setVisible(settlementShown);
    m_lab[8]->setVisible(settlementShown);
    m_settlementPlace->setVisible(settlementShown);
    m_cmbK->hide();
    m_menuNoOk->setVisible(IsTopAdministrator(m_app));
    m_cmbLB->hide();
    m_cmdQGys->hide();
    m_dtp->hide();
    // A kind with one fixed counter-party shows none.
    m_lab[2]->setVisible(!fixedUnit());
    m_txt[2]->setVisible(!fixedUnit());
    FillUnitCombo();
    const QString extra = StockDocExtraItemCaption(db, m_policy);
    m_lab[9]->setText(extra);
    m_lab[9]->setVisible(!extra.isEmpty());
    m_txt[8]->setVisible(!extra.isEmpty());
    m_gd->setFixedRows(1);
    SetLineGridHeader();
    m_pages->setCurrentIndex(0);
}

bool StockDocForm::settlementSettingOn() const
{
    return (m_policy.balance.paidOnIssue ? m_app.ReceivedOnIssue : m_app.PaidOnReceipt) != 0;
}

QString StockDocForm::unitOfForm() const
{
    if (fixedUnit())
        return QString::fromUtf8(m_policy.docType().fixedUnit);
    return m_cmbLB->currentText().section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
}

QDate StockDocForm::dateOfForm() const
{
    QString text = m_txt[1]->text();
    try {
        return ParseDate(text);
    } catch (const DateError&) {
        return QDate::currentDate();
    }
}

void StockDocForm::setStatus(const QString& text)
{
    if (m_app.MainWindow)
        m_app.MainWindow->setStatusText(4, text);
}

void StockDocForm::FillUnitCombo()
{
    m_cmbLB->clear();
    try {
        m_cmbLB->addItems(CounterPartyItems(m_app.CurrentDatabase, m_policy));
    } catch (const DbError&) {
    }
}

void StockDocForm::SetListGridHeader()
{
    m_gd->setCols(StockDocListColumns);
    m_gd->setRows(2);
    m_gd->clear();
    m_gd->setHeaders({m_policy.texts.numberLabel, m_policy.texts.dateLabel, m_policy.texts.unitListHeader, QStringLiteral("录入员"),
                      QStringLiteral("审核人"), m_policy.texts.listAmountHeader, QStringLiteral("附注"), m_policy.texts.unitCodeHeader,
                      QString(), QString(), QString(), m_lab[9]->text()});
    for (int c = 7; c < StockDocListColumns; ++c)
        m_gd->setColWidth(c, 0);
    if (fixedUnit())
        m_gd->setColWidth(2, 0);
    if (amountsHidden() || !m_policy.pricing.listShowsAmount)
        m_gd->setColWidth(5, 0);
    fitColumns();
    DocListRow = 1;
}

void StockDocForm::SetLineGridHeader()
{
    m_lines->clear();
    fitColumns();
}

void StockDocForm::LoadDocList(const QString& condition, const QVariantList& params, bool orphansToo)
{
    SetListGridHeader();
    BusyPointer busy;
    try {
        StockDocList list = ListStockDocs(m_app.CurrentDatabase, m_policy, m_caption, condition, params,
                                          m_app.AmountFormat, orphansToo);
        if (list.rows == 0)
            return;
        const std::vector<std::pair<qint64, qint64>> colours = list.colours;
        m_gd->load(list.rows, StockDocListColumns, std::move(list.cells));
        for (int r = 0; r < int(colours.size()); ++r)
            if (colours[size_t(r)].first || colours[size_t(r)].second)
                PaintRowColours(m_gd, r + 1, colours[size_t(r)].first, colours[size_t(r)].second);
        DocListRow = 1;
        m_gd->setCurrent(1, 0);
        ShowListStatus();
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::OKOnly | MB::Information, QStringLiteral("提示"));
    }
}

void StockDocForm::ShowListStatus()
{
    DocListRow = std::clamp(DocListRow, 1, std::max(1, m_gd->rows() - 1));
    if (m_gd->rows() == 2 && m_gd->textMatrix(1, 0).trimmed().isEmpty())
        setStatus(QStringLiteral("无单据信息"));
    else
        setStatus(QStringLiteral("共 %1 条记录 当前为第 %2 条").arg(m_gd->rows() - 1).arg(DocListRow));
}

void StockDocForm::selectTab(int index)
{
    m_pages->setCurrentIndex(index);
    if (index == 0) {
        m_cmDan[0]->hide();
        m_cmDan[1]->hide();
        DocListRow = std::clamp(DocListRow, 1, std::max(1, m_gd->rows() - 1));
        m_gd->setRow(DocListRow);
        ShowListStatus();
    } else {
        ShowDocument();
        m_cmDan[0]->setVisible(m_cmDan[0]->isEnabled() && Edstu == 0);
        m_cmDan[1]->setVisible(m_cmDan[1]->isEnabled() && Edstu == 0);
    }
}

void StockDocForm::moveDocument(int step)
{
    const int target = DocListRow + step;
    QPushButton* clicked = m_cmDan[step < 0 ? 0 : 1];
    if (target < 1 || target > m_gd->rows() - 1) {
        clicked->setEnabled(false);
    } else {
        DocListRow = target;
        m_cmDan[step < 0 ? 1 : 0]->setEnabled(true);
        ShowDocument();
        ShowListStatus();
    }
    for (QPushButton* b : m_cmDan)
        b->setVisible(b->isEnabled());
}

void StockDocForm::ShowDocument(const StockDoc* read)
{
    DocListRow = std::max(DocListRow, 1);
    const int r = DocListRow;
    // The stored document first: its list row takes what is stored now, so the boxes
    // below show the header the stamp of a later save or delete was read with.
    m_shown.reset();
    if (Edstu == 1)
        SetLineGridHeader();
    else
        LoadDocLines(read);
    m_filling = true;
    for (int i = 0; i < 7; ++i)
        m_txt[size_t(i)]->setText(m_gd->textMatrix(r, i));
    m_cmbLB->setEditText(m_gd->textMatrix(r, 7).trimmed() + QLatin1Char('.') + m_txt[2]->text().trimmed());
    m_txt[7]->setText(FormatNumber(m_gd->textMatrix(r, 8).toDouble(), m_app.AmountFormat));
    m_txt[8]->setText(m_gd->textMatrix(r, 11));
    m_filling = false;
    FillSettlementCombo(int(std::lround(m_gd->textMatrix(r, 9).toDouble())));
    m_cmbK->hide();
    const int last = m_gd->rows() - 1;
    m_cmDan[0]->setEnabled(r > 1 && last > 1);
    m_cmDan[1]->setEnabled(r < last && last > 1);
    documentShown(m_shown ? &*m_shown : nullptr);
}

void StockDocForm::FillSettlementCombo(int index)
{
    const QSignalBlocker block(m_cmbK);
    m_cmbK->clear();
    const double paid = m_txt[7]->text().toDouble();
    m_cmbK->addItems(paid != 0 ? m_policy.balance.paidSettlement : m_policy.balance.unpaidSettlement);
    m_cmbK->setCurrentIndex(std::clamp(index, 0, m_cmbK->count() - 1));
    m_lab[8]->setText(m_cmbK->currentText());
}

void StockDocForm::LoadDocLines(const StockDoc* read)
{
    SetLineGridHeader();
    const QString number = m_gd->textMatrix(DocListRow, 0).trimmed();
    if (number.isEmpty())
        return;
    if (read) {
        m_shown = *read;
    } else {
        try {
            m_shown = LoadStockDoc(m_app.CurrentDatabase, number);
        } catch (const DbError& e) {
            MsgBox(e.description(), MB::OKOnly | MB::Information, QStringLiteral("提示"));
            return;
        }
    }
    const std::optional<StockDoc>& doc = m_shown;
    if (!doc)
        return;
    const QStringList cells = StockDocListCells(doc->head, m_app.AmountFormat);
    for (int c = 0; c < cells.size(); ++c)
        m_gd->setTextMatrix(DocListRow, c, cells[c]);
    m_lines->show(*doc);
}

void StockDocForm::lineMoved(int lines, int current)
{
    // While the list is shown (a command showed the document behind it), the status
    // line keeps counting the list.
    if (m_tabs->currentIndex() == 0)
        ShowListStatus();
    else if (lines == 0)
        setStatus(QStringLiteral("无") + m_app.GoodsTerm + QStringLiteral("信息"));
    else
        setStatus(QStringLiteral("共 %1 条记录 当前为第 %2 条").arg(lines).arg(current));
}

void StockDocForm::lineTotalChanged(double amount)
{
    m_txt[5]->setText(FormatNumber(amount, m_app.AmountFormat));
}

void StockDocForm::EnterEditMode(const StockDoc* read)
{
    if (read)
        ShowDocument(read);
    if (m_tabs->currentIndex() == 0) {
        const QSignalBlocker block(m_tabs);
        if (!read)
            ShowDocument();
        m_tabs->setCurrentIndex(1);
        m_pages->setCurrentIndex(1);
    }
    m_tabs->setEnabled(false);
    for (int i = 1; i <= 8; ++i) {
        if (Edstu == 1)
            m_txt[size_t(i)]->clear();
        m_txt[size_t(i)]->setReadOnly(i == 3 || i == 4 || i == 5);
    }
    m_txt[2]->hide();
    m_cmbLB->setVisible(!fixedUnit());
    m_cmbK->setVisible(!amountsHidden() && settlementSettingOn() && m_policy.balance.settlementOffered);
    // The date picker and the settlement combo stand in for the boxes they edit.
    m_txt[1]->hide();
    if (!m_cmbK->isHidden())
        m_lab[8]->hide();
    m_dtp->show();
    m_cmdQGys->setVisible(m_app.ShowUnitPicker == 1 && !fixedUnit());
    m_lines->startEditing();
    m_cmdFexcel->setVisible(m_app.ExcelLineImport == 1);
    m_cmDan[0]->hide();
    m_cmDan[1]->hide();
    for (QAction* a : {m_menuAdd, m_menuOk, m_menuEdit, m_menuDel, m_menuQuery, m_menuPrint, m_menuNoOk, m_menuTE})
        a->setVisible(false);
    m_menuSave->setVisible(true);
    m_menuCancel->setVisible(true);
    m_menuReturn->setEnabled(false);
    editStateChanged();
}

void StockDocForm::LeaveEditMode()
{
    m_tabs->setEnabled(true);
    for (int i = 1; i <= 8; ++i)
        m_txt[size_t(i)]->setReadOnly(i != 7 && i != 8);
    m_txt[2]->setVisible(!fixedUnit());
    m_txt[1]->show();
    m_lab[8]->setVisible(!m_txt[7]->isHidden());
    m_cmbLB->hide();
    m_cmbK->hide();
    m_dtp->hide();
    m_cmdQGys->hide();
    m_lines->stopEditing();
    m_cmdFexcel->hide();
    for (QAction* a : {m_menuAdd, m_menuOk, m_menuEdit, m_menuDel, m_menuQuery, m_menuPrint, m_menuTE})
        a->setVisible(true);
    if (IsTopAdministrator(m_app))
        m_menuNoOk->setVisible(true);
    m_menuSave->setVisible(false);
    m_menuCancel->setVisible(false);
    m_menuReturn->setEnabled(true);
    Edstu = 0;
    DocListRow = std::clamp(DocListRow, 1, std::max(1, m_gd->rows() - 1));
    m_gd->setRow(DocListRow);
    editStateChanged();
}
