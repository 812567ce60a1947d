// The commands of the stock-document window: adding, editing, deleting,
// cancelling, saving, auditing, unauditing and printing. Each reads the
// window's controls, asks the service and shows what comes back.

#include "core/App.h"
#include "core/DocNumbers.h"
#include "core/Permissions.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "documents/common/ShenHeBox.h"
#include "documents/common/StockDocForm.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/NoRightsRefusal.h"
#include "widgets/SaveHint.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <algorithm>
#include <cmath>

namespace {

const QString Tip = QStringLiteral("提示");
constexpr int Info = MB::OKOnly | MB::Information;

void pumpEvents(int times = 3)
{
    for (int i = 0; i < times; ++i)
        QApplication::processEvents();
}

}  // namespace

// Shows the refusal of `check` ("" = allowed, no check = allowed); true when refused.
bool StockDocForm::refusedBy(const std::function<QString(const Database&)>& check)
{
    if (!check)
        return false;
    const QString refused = check(m_app.CurrentDatabase);
    if (refused.isEmpty())
        return false;
    MsgBox(refused);
    return true;
}

void StockDocForm::addDocument()
{
    const bool exclusive = m_policy.audit.exclusive;
    if (exclusive && refusedBy(m_policy.audit.canAdd))
        return;
    if (!RequireRight(m_app, m_policy.docType().rightGroup, RightItem1))
        return;
    if (!exclusive && refusedBy(m_policy.audit.canAdd))
        return;
    Edstu = 1;
    EnterEditMode();
    FillSettlementCombo(0);
    if (m_cmbLB->count() > 0)
        m_cmbLB->setCurrentIndex(0);
    const QDate today = QDate::currentDate();
    // Where the kind refuses dates before the latest document, that one's date is proposed
    // when today is refused; the number is still of today.
    QDate date = today;
    if (m_policy.audit.canDate && !m_policy.audit.canDate(m_app.CurrentDatabase, today).isEmpty())
        date = LatestDocDate(m_app.CurrentDatabase).value_or(today);
    m_txt[1]->setText(DateText(date));
    {
        const QSignalBlocker block(m_dtp);
        m_dtp->setDate(date);
    }
    try {
        m_txt[0]->setText(ReserveNextDocNumber(m_app, DocNumberPrefix, QStringLiteral("TB1"), today, Edstu));
    } catch (const DbError& e) {
        MsgBox(e.description(), Info, Tip);
    }
    DocHeldNumber = m_txt[0]->text();
    m_lines->stripCode()->setFocus();
    SetLineGridHeader();
    m_txt[3]->setText(m_app.OperatorName);
    m_lines->editAt(1, LineRole::Code);
    DocKeptSN = 0;
}

void StockDocForm::editDocument()
{
    if (!RequireRight(m_app, m_policy.docType().rightGroup, RightItem1))
        return;
    if (m_gd->textMatrix(1, 0).trimmed().isEmpty()) {
        MsgBox(QStringLiteral("没有数据可修改！"), Info, Tip);
        return;
    }
    // One read: the audit state refused here is that of the document the editor then shows.
    std::optional<StockDoc> doc;
    try {
        doc = LoadStockDoc(m_app.CurrentDatabase, m_gd->textMatrix(DocListRow, 0).trimmed());
    } catch (const DbError& e) {
        MsgBox(e.description(), Info, Tip);
        return;
    }
    if (doc && !doc->head.auditor.trimmed().isEmpty()) {
        MsgBox(QStringLiteral("此单据已经审核，不可修改！"), Info, Tip);
        return;
    }
    Edstu = 2;
    EnterEditMode(doc ? &*doc : nullptr);
    m_cmbLB->setEditText(m_gd->textMatrix(DocListRow, 7).trimmed() + QLatin1Char('.') + m_txt[2]->text().trimmed());
    m_lines->stripCode()->setFocus();
    m_txt[3]->setText(m_app.OperatorName);
    m_lines->ensureBlankLastRow();
    m_lines->editAt(m_lines->GdMx()->rows() - 1, LineRole::Code);
    DocHeldNumber = m_txt[0]->text();
    QString dateText = m_txt[1]->text();
    try {
        const QSignalBlocker block(m_dtp);
        m_dtp->setDate(ParseDate(dateText));
    } catch (const DateError&) {
    }
    DocKeptSN = doc ? doc->head.sn : 0;
}

void StockDocForm::deleteDocument()
{
    if (!RequireRight(m_app, m_policy.docType().rightGroup, RightItem1))
        return;
    if (m_gd->textMatrix(1, 0).trimmed().isEmpty()) {
        MsgBox(QStringLiteral("无单据可删除！"), Info, Tip);
        return;
    }
    if (m_tabs->currentIndex() == 0) {
        // What is deleted is what the operator is shown now.
        DocListRow = m_gd->row();
        ShowDocument();
    }
    const QString number = m_gd->textMatrix(DocListRow, 0).trimmed();
    if (!m_gd->textMatrix(DocListRow, 4).trimmed().isEmpty()) {
        MsgBox(QStringLiteral("该单据已审核，不能删除！"), Info, Tip);
        return;
    }
    if (MsgBox(QStringLiteral("真的要删除编码为") + number + QStringLiteral("的单据吗？"), MB::YesNo | MB::Question,
               Tip) != MB::Yes)
        return;
    try {
        const QString refused = DeleteStockDoc(m_app, number, m_shown ? m_shown->loadedStamp : QByteArray());
        if (!refused.isEmpty()) {
            MsgBox(refused, Info, Tip);
            return;
        }
    } catch (const DbError& e) {
        MsgBox(e.description(), Info, Tip);
        return;
    }
    if (m_gd->rows() > 2) {
        m_gd->removeItem(DocListRow);
    } else {
        SetListGridHeader();
    }
    DocListRow = std::clamp(DocListRow, 1, std::max(1, m_gd->rows() - 1));
    m_gd->setRow(DocListRow);
    if (m_tabs->currentIndex() == 1)
        m_tabs->setCurrentIndex(0);
    ShowListStatus();
}

void StockDocForm::cancelEdit()
{
    m_lines->commitEditor();
    ReleaseNumber(m_app, DocHeldNumber);
    Edstu = 0;
    LeaveEditMode();
    ShowDocument();
}

void StockDocForm::dateChanged()
{
    if (Edstu == 0 || DateText(m_dtp->date()) == m_txt[1]->text())
        return;
    if (m_policy.audit.canDate && !m_policy.audit.canDate(m_app.CurrentDatabase, m_dtp->date()).isEmpty()) {
        // A refused date goes back to the one the box holds, without a word.
        QString shown = m_txt[1]->text();
        const QSignalBlocker block(m_dtp);
        try {
            m_dtp->setDate(ParseDate(shown));
        } catch (const DateError&) {
        }
        return;
    }
    m_txt[1]->setText(DateText(m_dtp->date()));
    try {
        const QString next = NextDocNumber(m_app.CurrentDatabase, DocNumberPrefix, QStringLiteral("TB1"), m_dtp->date());
        m_txt[0]->setText(next);
        if (next != DocHeldNumber) {
            ReleaseNumber(m_app, DocHeldNumber);
            DocHeldNumber = next;
            ReserveNumber(m_app, DocHeldNumber, Edstu);
        }
    } catch (const DbError& e) {
        MsgBox(e.description(), Info, Tip);
    }
}

void StockDocForm::numberEdited()
{
    if (Edstu == 0)
        return;
    QString number = m_txt[0]->text();
    SqlSafe(number);
    if (number != m_txt[0]->text())
        m_txt[0]->setText(number);
    if (number != DocHeldNumber) {
        ReleaseNumber(m_app, DocHeldNumber);
        DocHeldNumber = number;
        ReserveNumber(m_app, DocHeldNumber, Edstu);
    }
}

void StockDocForm::saveDocument()
{
    m_lines->GdMx()->setFocus();
    pumpEvents();
    m_lines->commitEditor();
    if (m_policy.balance.alwaysSettled)
        m_cmbK->setCurrentIndex(1);
    else if (!m_policy.balance.settlementOffered)
        m_cmbK->setCurrentIndex(0);
    const QString number = m_txt[0]->text().simplified().remove(QLatin1Char(' '));
    if (number.isEmpty()) {
        MsgBox(m_lab[0]->text() + QStringLiteral("不能为空！"), Info, Tip);
        return;
    }
    m_txt[0]->setText(number);
    QString dateText = m_txt[1]->text();
    QDate date;
    try {
        date = ParseDate(dateText);
    } catch (const DateError&) {
        MsgBox(m_lab[1]->text() + QStringLiteral("输入错误！"), Info, Tip);
        return;
    }
    const QDate today = QDate::currentDate();
    if (date > today && MsgBox(QStringLiteral("您输入的日期[") + m_txt[1]->text() +
                                   QStringLiteral("]是未来的日期，您确认录入正确吗？"),
                               MB::YesNo | MB::Question) != MB::Yes)
        return;
    if (std::abs(date.year() - today.year()) > 2 &&
        MsgBox(QStringLiteral("您的电脑系统日期是[") + DateText(today) + QStringLiteral("]，您确认单据是 ") +
                   QString::number(date.year()) + QStringLiteral(" 年发生的吗？"),
               MB::YesNo | MB::Question) != MB::Yes)
        return;
    const QString unitText = fixedUnit() ? unitOfForm() : m_cmbLB->currentText().trimmed();
    if (unitText.isEmpty()) {
        MsgBox(m_lab[2]->text() + QStringLiteral("不能为空！"), Info, Tip);
        return;
    }
    const QString unitCode = unitText.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    const QString unitName = CounterPartyName(m_app.CurrentDatabase, unitCode);
    if (unitName.isEmpty() && !fixedUnit()) {
        MsgBox(m_lab[2]->text() + QStringLiteral("编码输入错误！"), Info, Tip);
        m_cmbLB->setFocus();
        return;
    }
    m_cmbLB->setEditText(unitCode);
    m_txt[2]->setText(unitName.trimmed());
    if (!m_lines->hasLines()) {
        MsgBox(QStringLiteral("不能保存空的单据！请录入") + m_policy.texts.lineNoun + m_app.GoodsTerm + QStringLiteral("！"),
               Info, Tip);
        return;
    }
    ReleaseNumber(m_app, DocHeldNumber);
    DocHeldNumber = number;

    StockDoc doc = docFromForm();
    doc.head.date = date;
    doc.head.unitCode = unitCode;
    doc.head.unitName = unitName;
    const QString old = Edstu == 2 ? m_gd->textMatrix(DocListRow, 0).trimmed() : QString();
    try {
        const QString refused = SaveStockDoc(m_app, m_policy, m_caption, doc, old);
        if (!refused.isEmpty()) {
            MsgBox(refused, Info, Tip);
            m_txt[0]->setFocus();
            return;
        }
    } catch (const DbError& e) {
        MsgBox(e.description(), Info, Tip);
        return;
    }

    doc.head.auditor.clear();
    const QStringList cells = StockDocListCells(m_policy, doc.head, m_app.AmountFormat);
    if (Edstu == 1) {
        m_gd->addItem(cells.join(QLatin1Char('\t')));
        if (m_gd->textMatrix(1, 0).trimmed().isEmpty())
            m_gd->removeItem(1);
        DocListRow = m_gd->rows() - 1;
    }
    for (int c = 0; c < cells.size(); ++c)
        m_gd->setTextMatrix(DocListRow, c, cells[c]);
    ShowListStatus();
    LeaveEditMode();
    ShowDocument();
    ShowSavedHint(m_app);
}

StockDoc StockDocForm::docFromForm() const
{
    StockDoc doc;
    const bool replacing = Edstu == 2 && m_shown;
    if (replacing) {
        // An edit replaces the document shown: the same stored rows, and the row
        // colours the window does not edit.
        doc.loadedStamp = m_shown->loadedStamp;
        doc.head.backColour = m_shown->head.backColour;
        doc.head.foreColour = m_shown->head.foreColour;
    }
    doc.head.number = m_txt[0]->text().trimmed();
    doc.head.enteredBy = m_txt[3]->text().trimmed();
    doc.head.note = m_txt[6]->text().trimmed();
    doc.head.paid = m_txt[7]->text().toDouble();
    doc.head.settlement = std::max(0, m_cmbK->currentIndex());
    doc.head.extra = m_txt[8]->text();
    doc.head.sn = DocKeptSN;
    fillHeaderExtras(doc.head);
    doc.lines = m_lines->read(replacing ? &*m_shown : nullptr);
    return doc;
}

// Audits the document of DocListRow; true when it was posted.
bool StockDocForm::postShown()
{
    const QString number = m_gd->textMatrix(DocListRow, 0).trimmed();
    if (number.isEmpty() || !m_gd->textMatrix(DocListRow, 4).trimmed().isEmpty())
        return false;
    try {
        const QString refused = AuditStockDoc(m_app, m_policy, number);
        if (!refused.isEmpty()) {
            MsgBox(refused, Info, Tip);
            return false;
        }
    } catch (const DbError& e) {
        MsgBox(e.description(), Info, Tip);
        return false;
    }
    m_gd->setTextMatrix(DocListRow, 4, m_app.OperatorName);
    ShowDocument();
    pumpEvents(1);
    // The posting may re-value the document (issues at cost): show the stored amounts.
    if (m_shown) {
        const QString amount = FormatNumber(m_shown->head.amount, m_app.AmountFormat);
        m_gd->setTextMatrix(DocListRow, 5, amount);
        m_txt[5]->setText(amount);
    }
    return true;
}

void StockDocForm::auditDocuments()
{
    if (!RequireRight(m_app, m_policy.docType().rightGroup, RightItem2))
        return;
    if (m_gd->textMatrix(1, 0).trimmed().isEmpty()) {
        MsgBox(QStringLiteral("没有供审核的单据！"), Info, Tip);
        return;
    }
    if (!m_gd->textMatrix(DocListRow, 4).trimmed().isEmpty()) {
        MsgBox(QStringLiteral("该单据已审核，不需要再次审核！"), Info, Tip);
        return;
    }
    const QString question = m_policy.audit.auditQuestion.arg(m_app.GoodsTerm);
    ShenHeBox::AuditScope scope = ShenHeBox::AuditScope::Cancelled;
    if (m_policy.audit.confirmation == AuditConfirmation::YesNo) {
        if (MsgBox(question, MB::YesNo | MB::Question, Tip) == MB::Yes)
            scope = ShenHeBox::AuditScope::Selected;
    } else {
        ShenHeBox box(this);
        box.LabInfo->setText(question);
        const QString caption = m_policy.audit.shownCaption.isEmpty() ? box.Opt0->text() : m_policy.audit.shownCaption;
        box.Opt0->setText(caption + m_gd->textMatrix(DocListRow, 0));
        if (m_tabs->currentIndex() == 1 || m_policy.audit.auditsShownOnly) {
            box.Opt1->hide();
            box.Opt0->setChecked(true);
        }
        box.exec();
        scope = box.Scope;
    }
    if (scope == ShenHeBox::AuditScope::Cancelled)
        return;
    setEnabled(false);
    if (scope == ShenHeBox::AuditScope::Selected) {
        postShown();
    } else {
        for (int r = 1; r < m_gd->rows(); ++r) {
            DocListRow = r;
            postShown();
        }
        DocListRow = m_gd->rows() - 1;
    }
    setEnabled(true);
}

void StockDocForm::unauditDocument()
{
    if (m_gd->textMatrix(1, 0).trimmed().isEmpty()) {
        MsgBox(QStringLiteral("请选择要操作的数据行！"), Info, Tip);
        return;
    }
    if (m_gd->textMatrix(DocListRow, 4).trimmed().isEmpty()) {
        MsgBox(QStringLiteral("该单据未审核，不能执行撤销审核！"), Info, Tip);
        return;
    }
    const bool exclusive = m_policy.audit.exclusive;
    if (!exclusive && refusedBy(m_policy.audit.canUnaudit))
        return;
    const QString warning = m_policy.audit.unauditWarning.arg(m_app.GoodsTerm);
    if (MsgBox(warning + QStringLiteral("\r\r") + m_policy.audit.unauditQuestion,
               MB::YesNo | MB::Question | MB::DefaultButton2, Tip) != MB::Yes)
        return;
    if (m_policy.audit.unauditWarnsTwice &&
        MsgBox(QStringLiteral("再次警告:\r\r") + warning +
                   QStringLiteral("\r\r如果您确实需要修改此单，请在合理修改之后，尽快重新审核！\r\r真的要继续吗？"),
               MB::YesNo | MB::Question, QStringLiteral("警告")) != MB::Yes)
        return;
    if (exclusive && refusedBy(m_policy.audit.canUnaudit))
        return;
    if (m_tabs->currentIndex() == 0)
        ShowDocument();
    setEnabled(false);
    try {
        const QString refused = UnauditStockDoc(m_app, m_policy, m_txt[0]->text().trimmed());
        setEnabled(true);
        if (!refused.isEmpty()) {
            MsgBox(refused, Info, Tip);
            return;
        }
    } catch (const DbError& e) {
        setEnabled(true);
        MsgBox(e.description(), Info, Tip);
        return;
    }
    if (m_policy.audit.unauditDoneMessage)
        MsgBox(QStringLiteral("完成撤销审核!"));
    // Shows the document as the unaudit left it, the stamp of a later edit included.
    ShowDocument();
}
