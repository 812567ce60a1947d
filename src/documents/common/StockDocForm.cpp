#include "documents/common/StockDocForm.h"

#include "core/App.h"
#include "core/MainFrame.h"
#include "core/Rounding.h"
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

namespace {

template <typename T>
T* named(T* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

}  // namespace

StockDocForm::StockDocForm(App& app, StockDocPolicy policy, QWidget* parent)
    : QWidget(parent), m_app(app), m_policy(std::move(policy))
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_caption = StockDocTypeName(app.CurrentDatabase, m_policy);
    setWindowTitle(m_caption);
    buildFrame();
    applyMode();
    LoadDocList(OpeningListCondition(), OpeningListParams(QDate(QDate::currentDate().year(),
                                                                QDate::currentDate().month(), 1)));
}

void StockDocForm::buildFrame()
{
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    buildMenus(bar);
    layout->setMenuBar(bar);

    auto* top = new QHBoxLayout;
    m_tabs = named(new QTabBar(this), QStringLiteral("TabS"));
    m_tabs->addTab(m_caption + QStringLiteral("列表"));
    m_tabs->addTab(m_caption + QStringLiteral("明细"));
    top->addWidget(m_tabs);
    top->addStretch();
    m_cmDan[0] = named(new QPushButton(QStringLiteral("上一单↑"), this), QStringLiteral("CmDan0"));
    m_cmDan[1] = named(new QPushButton(QStringLiteral("下一单↓"), this), QStringLiteral("CmDan1"));
    m_cmdFexcel = named(new QPushButton(QStringLiteral("Excel数据导入↓"), this), QStringLiteral("CmdFexcel"));
    for (QPushButton* b : {m_cmDan[0], m_cmDan[1], m_cmdFexcel}) {
        top->addWidget(b);
        b->hide();
    }
    layout->addLayout(top);

    m_pages = new QStackedWidget(this);
    m_gd = named(new Grid(m_pages), QStringLiteral("GD"));
    m_frm = named(new QWidget(m_pages), QStringLiteral("Frm"));
    m_pages->addWidget(m_gd);
    m_pages->addWidget(m_frm);
    layout->addWidget(m_pages);
    buildDetail(m_frm);

    // Right-click colours and copying on both grids, the column sort on the list.
    new GridContextMenu(m_app, m_gd, RowColourTarget::byColumn(QStringLiteral("TB1"), QStringLiteral("F1"), m_gd, 0));
    new GridContextMenu(m_app, m_gdMx,
                        RowColourTarget{QStringLiteral("TB11"),
                                        {QStringLiteral("F0"), QStringLiteral("F1"), QStringLiteral("Oid")},
                                        [this](int row) {
                                            return QVariantList{m_txt[0]->text().trimmed(),
                                                                m_gdMx->textMatrix(row, 0), row};
                                        }});
    new ColumnSortMenu(m_gd, [](int c) {
        return c == 5 ? ColumnSortMenu::Kind::Number : c <= 7 ? ColumnSortMenu::Kind::Text : ColumnSortMenu::Kind::None;
    }, 4);
    new StatusPanelRestore(m_app, this);
    new CloseWhileEditingGuard(this);

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int i) { selectTab(i); });
    connect(m_cmDan[0], &QPushButton::clicked, this, [this] { moveDocument(-1); });
    connect(m_cmDan[1], &QPushButton::clicked, this, [this] { moveDocument(1); });
    connect(m_gd, &Grid::rowColChanged, this, [this](int row, int) {
        DocListRow = row;
        ShowListStatus();
    });
    connect(m_gd, &Grid::doubleClicked_, this, [this](int row, int) {
        DocListRow = row;
        m_tabs->setCurrentIndex(1);
    });
}

void StockDocForm::buildMenus(QMenuBar* bar)
{
    auto action = [&](const QString& name, const QString& text, void (StockDocForm::*slot)()) {
        QAction* a = named(new QAction(text, this), name);
        bar->addAction(a);
        if (slot)
            connect(a, &QAction::triggered, this, slot);
        return a;
    };
    m_menuAdd = action(QStringLiteral("Menu_Add"), QStringLiteral("&A.增加"), &StockDocForm::addDocument);
    m_menuEdit = action(QStringLiteral("Menu_edit"), QStringLiteral("&E.修改"), &StockDocForm::editDocument);
    m_menuDel = action(QStringLiteral("Menu_del"), QStringLiteral("&D.删除"), &StockDocForm::deleteDocument);
    m_menuOk = action(QStringLiteral("Menu_Ok"), QStringLiteral("&C.审核"), &StockDocForm::auditDocuments);
    m_menuNoOk = action(QStringLiteral("Menu_noOk"), QStringLiteral("&X.撤销审核"), &StockDocForm::unauditDocument);
    m_menuQuery = action(QStringLiteral("Menu_query"), QStringLiteral("&Q.查找"), nullptr);
    m_menuTE = action(QStringLiteral("Menu_TE"), QStringLiteral("&T.导出"), nullptr);
    auto* print = new QMenu(QStringLiteral("&P.打印"), this);
    m_menuPrint = print->menuAction();
    m_menuPrint->setObjectName(QStringLiteral("Menu_print"));
    bar->addMenu(print);
    for (int i = 0; i < m_policy.printPlans.size(); ++i) {
        QAction* a = named(new QAction(m_policy.printPlans[i].menuCaption, this), QStringLiteral("Menu_prn%1").arg(i));
        print->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { printDocument(i + 1); });
        m_menuPrn << a;
    }
    m_menuSave = action(QStringLiteral("Menu_save"), QStringLiteral("&S.保存"), &StockDocForm::saveDocument);
    m_menuCancel = action(QStringLiteral("Menu_cancel"), QStringLiteral("&C.取消"), &StockDocForm::cancelEdit);
    m_menuReturn = action(QStringLiteral("Menu_Return"), QStringLiteral("&R.返回"), nullptr);
    connect(m_menuReturn, &QAction::triggered, this, &QWidget::close);
    // Search and export hand their work to the query-condition and export dialogs.
    m_menuQuery->setEnabled(false);
    m_menuTE->setEnabled(false);
    m_menuSave->setVisible(false);
    m_menuCancel->setVisible(false);
}

void StockDocForm::buildDetail(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    auto* header = new QHBoxLayout;
    auto* footer = new QHBoxLayout;
    for (int i = 0; i < 10; ++i)
        m_lab[size_t(i)] = named(new QLabel(page), QStringLiteral("Lab%1").arg(i));
    for (int i = 0; i < 9; ++i) {
        const QString name = m_policy.boxNames.value(i);
        m_txt[size_t(i)] = named(new QLineEdit(page), name.isEmpty() ? QStringLiteral("Txt%1").arg(i) : name);
        m_txt[size_t(i)]->setReadOnly(i != 0 && i != 7 && i != 8);
    }
    m_txt[0]->setMaxLength(25);
    m_txt[6]->setMaxLength(200);
    m_lab[0]->setText(m_policy.numberLabel);
    m_lab[1]->setText(m_policy.dateLabel);
    m_lab[2]->setText(m_policy.unitLabel);
    m_lab[3]->setText(QStringLiteral("录入员"));
    m_lab[4]->setText(QStringLiteral("审核人"));
    m_lab[5]->setText(m_policy.amountLabel);
    m_lab[6]->setText(QStringLiteral("附注"));
    m_lab[7]->setText(m_policy.paidLabel);
    m_dtp = named(new QDateEdit(QDate::currentDate(), page), QStringLiteral("DTP1"));
    m_dtp->setCalendarPopup(true);
    m_dtp->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    m_cmbLB = named(new QComboBox(page), QStringLiteral("CmbLB"));
    m_cmbLB->setEditable(true);
    m_cmdQGys = named(new QPushButton(QStringLiteral("…"), page), QStringLiteral("CmdQGys"));
    m_cmbK = named(new QComboBox(page), QStringLiteral("CmbK"));

    header->addWidget(m_lab[0]);
    header->addWidget(m_txt[0]);
    header->addWidget(m_lab[1]);
    header->addWidget(m_txt[1]);
    header->addWidget(m_dtp);
    header->addWidget(m_lab[2]);
    header->addWidget(m_txt[2]);
    header->addWidget(m_cmbLB);
    header->addWidget(m_cmdQGys);
    header->addWidget(m_lab[9]);
    header->addWidget(m_txt[8]);
    layout->addLayout(header);

    m_gdMx = named(new Grid(page), QStringLiteral("GdMx"));
    layout->addWidget(m_gdMx);
    m_txtEnter = named(new QLineEdit(m_gdMx->viewport()), QStringLiteral("TxtEnter"));
    m_cmdQuery = named(new QPushButton(QStringLiteral("?"), m_gdMx->viewport()), QStringLiteral("CmdQuery"));
    m_cmdSX = named(new QPushButton(QStringLiteral("∵"), m_gdMx->viewport()), QStringLiteral("CmdSX"));
    for (QWidget* w : std::initializer_list<QWidget*>{m_txtEnter, m_cmdQuery, m_cmdSX})
        w->hide();

    m_picLRQ = named(new QWidget(page), QStringLiteral("PicLRQ"));
    auto* strip = new QHBoxLayout(m_picLRQ);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->addWidget(named(new QLabel(QStringLiteral("货品编码："), m_picLRQ), QStringLiteral("Label1")));
    m_txtHPBM = named(new QLineEdit(m_picLRQ), QStringLiteral("TxtHPBM"));
    strip->addWidget(m_txtHPBM);
    m_cmdQry = named(new QPushButton(QStringLiteral("?"), m_picLRQ), QStringLiteral("CmdQry"));
    m_cmdQry->setToolTip(QStringLiteral("查找货品编码资料"));
    m_cmdQuery->setToolTip(m_cmdQry->toolTip());
    m_cmdSX->setToolTip(m_cmdQry->toolTip());
    strip->addWidget(m_cmdQry);
    strip->addWidget(named(new QLabel(QStringLiteral("数量："), m_picLRQ), QStringLiteral("Label2")));
    m_txtSL = named(new QLineEdit(m_picLRQ), QStringLiteral("TxtSL"));
    strip->addWidget(m_txtSL);
    m_cmdEnter = named(new QPushButton(QStringLiteral("增加货品"), m_picLRQ), QStringLiteral("CmdEnter"));
    m_cmdDel = named(new QPushButton(QStringLiteral("删除货品"), m_picLRQ), QStringLiteral("CmdDel"));
    strip->addWidget(m_cmdEnter);
    strip->addWidget(m_cmdDel);
    layout->addWidget(m_picLRQ);
    m_picLRQ->hide();

    footer->addWidget(m_lab[5]);
    footer->addWidget(m_txt[5]);
    footer->addWidget(m_lab[7]);
    footer->addWidget(m_txt[7]);
    footer->addWidget(m_cmbK);
    footer->addWidget(m_lab[8]);
    footer->addWidget(m_lab[3]);
    footer->addWidget(m_txt[3]);
    footer->addWidget(m_lab[4]);
    footer->addWidget(m_txt[4]);
    footer->addWidget(m_lab[6]);
    footer->addWidget(m_txt[6]);
    layout->addLayout(footer);

    connect(m_dtp, &QDateEdit::dateChanged, this, &StockDocForm::dateChanged);
    connect(m_txt[0], &QLineEdit::editingFinished, this, &StockDocForm::numberEdited);
    for (int i : {5, 7})
        connect(m_txt[size_t(i)], &QLineEdit::textChanged, this, [this] {
            if (Edstu != 0 && !m_filling)
                FillSettlementCombo(m_txt[7]->text().toDouble() == 0 ? 0 : m_cmbK->currentIndex());
        });
    connect(m_cmbK, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            m_lab[8]->setText(m_cmbK->itemText(i));
    });
    connect(m_cmdEnter, &QPushButton::clicked, this, [this] {
        EnterHPBM();
        if (!m_app.HpsxName.isEmpty() && m_gdMx->textMatrix(m_curMxR, col(LineRole::Attribute)).isEmpty()) {
            m_gdMx->setCol(col(LineRole::Attribute));
            GdMx_Click();
        } else {
            m_txtHPBM->setFocus();
        }
    });
    connect(m_cmdDel, &QPushButton::clicked, this, &StockDocForm::deleteLine);
    connect(m_txtHPBM, &QLineEdit::returnPressed, this, &StockDocForm::stripCodeEnter);
    connect(m_txtSL, &QLineEdit::returnPressed, this, &StockDocForm::stripQtyEnter);
    connect(m_txtEnter, &QLineEdit::returnPressed, this, &StockDocForm::editorEnter);
    connect(m_txtEnter, &QLineEdit::editingFinished, this, [this] {
        if (!m_txtEnter->isHidden() && !m_txtEnter->hasFocus())
            TxtEnter_LostFocus();
    });
    connect(m_gdMx, &Grid::clicked_, this, [this](int, int) { GdMx_Click(); });
}

void StockDocForm::applyMode()
{
    Database& db = m_app.CurrentDatabase;
    DocNumberPrefix = StockDocNumberPrefix(db, m_caption);
    const bool hidden = amountsHidden();
    if (hidden && m_menuPrn.size() > 1)
        m_menuPrn[1]->setEnabled(false);
    for (int i : {5, 7}) {
        m_lab[size_t(i)]->setVisible(!hidden);
        m_txt[size_t(i)]->setVisible(!hidden);
        if (hidden)
            m_txt[size_t(i)]->setEchoMode(QLineEdit::Password);
    }
    const bool settlementShown = !hidden && settlementSettingOn() && !m_policy.alwaysSettled;
    m_lab[7]->setVisible(settlementShown);
    m_txt[7]->setVisible(settlementShown);
    m_lab[8]->setVisible(settlementShown);
    m_cmbK->hide();
    m_menuNoOk->setVisible(m_app.OperatorCode == QLatin1String("001"));
    m_cmbLB->hide();
    m_cmdQGys->hide();
    m_dtp->hide();
    FillUnitCombo();
    const QString extra = SqlScalar(db, QStringLiteral("SELECT setstr FROM sysinfo WHERE ID = ? AND setval <> 0"),
                                    {m_policy.extraItemSetting});
    m_lab[9]->setText(extra);
    m_lab[9]->setVisible(!extra.isEmpty());
    m_txt[8]->setVisible(!extra.isEmpty());
    m_gd->setFixedRows(1);
    m_gdMx->setFixedRows(1);
    SetLineGridHeader();
    m_pages->setCurrentIndex(0);
}

bool StockDocForm::amountsHidden() const
{
    const int right = m_policy.priceRight == PriceRight::Profit ? m_app.CanSeeProfit : m_app.CanSeeCost;
    return m_app.WithPrices == 0 || right == 0;
}

bool StockDocForm::settlementSettingOn() const
{
    return (m_policy.paidOnIssue ? m_app.ReceivedOnIssue : m_app.PaidOnReceipt) != 0;
}

bool StockDocForm::discountsOn() const
{
    return m_policy.discountSetting != 0 && !amountsHidden() &&
           SqlScalar(m_app.CurrentDatabase, QStringLiteral("SELECT setval FROM sysinfo WHERE ID = ?"),
                     {m_policy.discountSetting}).toDouble() == 1;
}

void StockDocForm::setStatus(const QString& text)
{
    if (m_app.MainWindow)
        m_app.MainWindow->setStatusText(4, text);
}

void StockDocForm::FillUnitCombo()
{
    m_cmbLB->clear();
    QString sql = QStringLiteral("SELECT F1, F2 FROM TA1 WHERE LB = ?");
    if (m_policy.dualRoleUnits &&
        SqlScalar(m_app.CurrentDatabase, QStringLiteral("SELECT setval FROM sysinfo WHERE ID = ?"),
                  {SetDualRoleUnits}).toDouble() == 1)
        sql += QStringLiteral(" OR SCSF = 1");
    try {
        const RecordSet rs = m_app.CurrentDatabase.query(sql + QStringLiteral(" ORDER BY F1"),
                                                         {code(m_policy.counterParty)});
        for (int r = 0; r < rs.rowCount(); ++r)
            m_cmbLB->addItem(rs.text(r, 0).trimmed() + QLatin1Char('.') + rs.text(r, 1).trimmed());
    } catch (const DbError&) {
    }
}

void StockDocForm::SetListGridHeader()
{
    m_gd->setCols(StockDocListColumns);
    m_gd->setRows(2);
    m_gd->clear();
    m_gd->setHeaders({m_policy.numberLabel, m_policy.dateLabel, QStringLiteral("供货单位"), QStringLiteral("录入员"),
                      QStringLiteral("审核人"), QStringLiteral("金额"), QStringLiteral("附注"), m_policy.unitCodeHeader,
                      QString(), QString(), QString(), m_lab[9]->text()});
    for (int c = 7; c < StockDocListColumns; ++c)
        m_gd->setColWidth(c, 0);
    if (amountsHidden() || !m_policy.listShowsAmount)
        m_gd->setColWidth(5, 0);
    DocListRow = 1;
}

void StockDocForm::SetLineGridHeader()
{
    m_gdMx->setCols(m_policy.columns.size());
    m_gdMx->setRows(2);
    m_gdMx->clear();
    QStringList headers;
    for (const LineColumn& c : m_policy.columns) {
        switch (c.role) {
        case LineRole::Code: headers << m_app.GoodsTerm + QStringLiteral("编码"); break;
        case LineRole::Name: headers << m_app.GoodsTerm + QStringLiteral("名称/规格"); break;
        case LineRole::Attribute: headers << m_app.HpsxName; break;
        default: headers << c.header;
        }
    }
    m_gdMx->setHeaders(headers);
    m_gdMx->setColWidth(col(LineRole::Proposed), 0);
    if (m_app.HpsxName.isEmpty())
        m_gdMx->setColWidth(col(LineRole::Attribute), 0);
    if (amountsHidden()) {
        m_gdMx->setColWidth(col(LineRole::Price), 0);
        m_gdMx->setColWidth(col(LineRole::Amount), 0);
    }
    if (!discountsOn()) {
        m_gdMx->setColWidth(col(LineRole::OriginalPrice), 0);
        m_gdMx->setColWidth(col(LineRole::Discount), 0);
    }
    m_curMxR = 1;
    DocLineCount = 0;
}

void StockDocForm::LoadDocList(const QString& condition, const QVariantList& params)
{
    SetListGridHeader();
    BusyPointer busy;
    try {
        StockDocList list = ListStockDocs(m_app.CurrentDatabase, m_policy, m_caption, condition, params,
                                          m_app.AmountFormat);
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

void StockDocForm::ShowDocument()
{
    DocListRow = std::max(DocListRow, 1);
    const int r = DocListRow;
    m_filling = true;
    for (int i = 0; i < 7; ++i)
        m_txt[size_t(i)]->setText(m_gd->textMatrix(r, i));
    m_cmbLB->setEditText(m_gd->textMatrix(r, 7).trimmed() + QLatin1Char('.') + m_txt[2]->text().trimmed());
    m_txt[7]->setText(FormatNumber(m_gd->textMatrix(r, 8).toDouble(), m_app.AmountFormat));
    m_txt[8]->setText(m_gd->textMatrix(r, 11));
    m_filling = false;
    FillSettlementCombo(int(std::lround(m_gd->textMatrix(r, 9).toDouble())));
    m_cmbK->hide();
    if (Edstu == 1)
        SetLineGridHeader();
    else
        LoadDocLines();
    const int last = m_gd->rows() - 1;
    m_cmDan[0]->setEnabled(r > 1 && last > 1);
    m_cmDan[1]->setEnabled(r < last && last > 1);
    documentShown();
}

void StockDocForm::FillSettlementCombo(int index)
{
    const QSignalBlocker block(m_cmbK);
    m_cmbK->clear();
    const double paid = m_txt[7]->text().toDouble();
    m_cmbK->addItems(paid != 0 ? m_policy.paidSettlement : m_policy.unpaidSettlement);
    m_cmbK->setCurrentIndex(std::clamp(index, 0, m_cmbK->count() - 1));
    m_lab[8]->setText(m_cmbK->currentText());
}

void StockDocForm::LoadDocLines()
{
    SetLineGridHeader();
    const QString number = m_txt[0]->text().trimmed();
    if (number.isEmpty())
        return;
    std::optional<StockDoc> doc;
    try {
        doc = LoadStockDoc(m_app.CurrentDatabase, number);
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::OKOnly | MB::Information, QStringLiteral("提示"));
        return;
    }
    if (!doc || doc->lines.isEmpty())
        return;
    m_gdMx->setRows(doc->lines.size() + 2);
    double qty = 0;
    double amount = 0;
    for (int i = 0; i < doc->lines.size(); ++i) {
        const StockDocLine& l = doc->lines[i];
        const int row = i + 1;
        m_gdMx->setTextMatrix(row, col(LineRole::Code), l.goods);
        m_gdMx->setTextMatrix(row, col(LineRole::Name), l.name);
        m_gdMx->setTextMatrix(row, col(LineRole::Attribute), l.attr);
        m_gdMx->setTextMatrix(row, col(LineRole::Quantity), NumText(l.qty) + QLatin1Char(' ') + l.unit);
        m_gdMx->setTextMatrix(row, col(LineRole::OriginalPrice), FormatNumber(l.originalPrice, m_app.PriceFormat));
        m_gdMx->setTextMatrix(row, col(LineRole::Discount), l.discount == 0 ? QString() : NumText(l.discount));
        m_gdMx->setTextMatrix(row, col(LineRole::Price), FormatNumber(l.price, m_app.PriceFormat));
        m_gdMx->setTextMatrix(row, col(LineRole::Amount), FormatNumber(l.amount, m_app.AmountFormat));
        m_gdMx->setTextMatrix(row, col(LineRole::Remark), l.remark);
        if (l.backColour || l.foreColour)
            PaintRowColours(m_gdMx, row, l.backColour, l.foreColour);
        qty += l.qty;
        amount += RoundToPattern(l.amount, m_app.AmountFormat);
    }
    const int totals = doc->lines.size() + 1;
    m_gdMx->setTextMatrix(totals, col(LineRole::Quantity), NumText(qty));
    m_gdMx->setTextMatrix(totals, col(LineRole::Amount), FormatNumber(amount, m_app.AmountFormat));
    m_curMxR = 1;
    ShowLineStatus();
}

void StockDocForm::ShowLineStatus()
{
    m_gdMx->setRow(std::clamp(m_curMxR, 1, std::max(1, m_gdMx->rows() - 1)));
    if (m_gdMx->rows() == 2 && m_gdMx->textMatrix(1, 0).trimmed().isEmpty()) {
        setStatus(QStringLiteral("无") + m_app.GoodsTerm + QStringLiteral("信息"));
        return;
    }
    const int last = m_gdMx->rows() - 1;
    DocLineCount = m_gdMx->textMatrix(last, 0).trimmed().isEmpty() ? m_gdMx->rows() - 2 : m_gdMx->rows() - 1;
    setStatus(QStringLiteral("共 %1 条记录 当前为第 %2 条").arg(DocLineCount).arg(m_curMxR));
}

void StockDocForm::EnterEditMode()
{
    if (m_tabs->currentIndex() == 0) {
        const QSignalBlocker block(m_tabs);
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
    m_cmbLB->show();
    m_cmbK->setVisible(!amountsHidden() && settlementSettingOn() && !m_policy.alwaysSettled);
    m_dtp->show();
    m_cmdQGys->setVisible(m_app.ShowUnitPicker == 1);
    m_picLRQ->show();
    m_cmdFexcel->setVisible(m_app.ExcelLineImport == 1);
    m_cmDan[0]->hide();
    m_cmDan[1]->hide();
    for (QAction* a : {m_menuAdd, m_menuOk, m_menuEdit, m_menuDel, m_menuQuery, m_menuPrint, m_menuNoOk, m_menuTE})
        a->setVisible(false);
    m_menuSave->setVisible(true);
    m_menuCancel->setVisible(true);
    m_menuReturn->setEnabled(false);
    const int last = m_gdMx->rows() - 1;
    if (m_gdMx->textMatrix(last, 0).isEmpty()) {
        m_gdMx->setTextMatrix(last, col(LineRole::Quantity), QString());
        m_gdMx->setTextMatrix(last, col(LineRole::Amount), QString());
    }
    editStateChanged();
}

void StockDocForm::LeaveEditMode()
{
    m_tabs->setEnabled(true);
    for (int i = 1; i <= 8; ++i)
        m_txt[size_t(i)]->setReadOnly(i != 7 && i != 8);
    m_txt[2]->show();
    m_cmbLB->hide();
    m_cmbK->hide();
    m_dtp->hide();
    m_cmdQGys->hide();
    m_picLRQ->hide();
    m_cmdFexcel->hide();
    m_cmdQuery->hide();
    m_cmdSX->hide();
    m_txtEnter->hide();
    for (QAction* a : {m_menuAdd, m_menuOk, m_menuEdit, m_menuDel, m_menuQuery, m_menuPrint, m_menuTE})
        a->setVisible(true);
    if (m_app.OperatorCode == QLatin1String("001"))
        m_menuNoOk->setVisible(true);
    m_menuSave->setVisible(false);
    m_menuCancel->setVisible(false);
    m_menuReturn->setEnabled(true);
    Edstu = 0;
    DocListRow = std::clamp(DocListRow, 1, std::max(1, m_gd->rows() - 1));
    m_gd->setRow(DocListRow);
    editStateChanged();
}
