// The controls of the stock-document window: menus, the list and detail
// pages, the header, the line grid with its editor overlay, the quick-entry
// strip and the footer, with their names and connections, and how the grids'
// columns share the window's width. The line grid, its editor and the
// quick-entry strip are the line editor's (LineEditor).

#include "core/App.h"
#include "documents/common/StockDocForm.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/CloseWhileEditingGuard.h"
#include "widgets/GridBehaviours.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

template <typename T>
T* named(T* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

// The boxes shown while viewing and the controls that stand in for them while
// editing share one place sized for the larger, so nothing in the header or
// footer moves when an edit starts or ends.
QWidget* sharedPlace(QWidget* parent, std::initializer_list<QWidget*> viewing, std::initializer_list<QWidget*> editing)
{
    auto* place = new QWidget(parent);
    auto* grid = new QGridLayout(place);
    grid->setContentsMargins(0, 0, 0, 0);
    for (const auto& controls : {viewing, editing}) {
        auto* line = new QHBoxLayout;
        for (QWidget* w : controls) {
            QSizePolicy policy = w->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            w->setSizePolicy(policy);
            line->addWidget(w);
        }
        grid->addLayout(line, 0, 0);
    }
    return place;
}

}  // namespace

void StockDocForm::buildFrame()
{
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    buildMenus(bar);
    layout->setMenuBar(bar);

    auto* top = new QHBoxLayout;
    m_tabs = named(new QTabBar(this), QStringLiteral("TabS"));
    const QString noun = m_policy.texts.tabNoun.isEmpty() ? m_caption : m_policy.texts.tabNoun;
    m_tabs->addTab(noun + QStringLiteral("列表"));
    m_tabs->addTab(noun + QStringLiteral("明细"));
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
    new GridContextMenu(m_app, m_lines->GdMx(),
                        RowColourTarget{QStringLiteral("TB11"),
                                        {QStringLiteral("F0"), QStringLiteral("F1"), QStringLiteral("Oid")},
                                        [this](int row) {
                                            return QVariantList{m_txt[0]->text().trimmed(),
                                                                m_lines->GdMx()->textMatrix(row, 0), row};
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
        // A command's messages stand over this window, whichever window is active.
        if (slot)
            connect(a, &QAction::triggered, this, [this, slot] {
                const MessageScope command(this);
                (this->*slot)();
            });
        return a;
    };
    m_menuAdd = action(QStringLiteral("Menu_Add"), QStringLiteral("&A.增加"), &StockDocForm::addDocument);
    m_menuEdit = action(QStringLiteral("Menu_edit"), QStringLiteral("&E.修改"), &StockDocForm::editDocument);
    m_menuDel = action(QStringLiteral("Menu_del"), QStringLiteral("&D.删除"), &StockDocForm::deleteDocument);
    m_menuOk = action(QStringLiteral("Menu_Ok"), QStringLiteral("&C.审核"), &StockDocForm::auditDocuments);
    m_menuNoOk = action(QStringLiteral("Menu_noOk"), QStringLiteral("&X.撤销审核"), &StockDocForm::unauditDocument);
    m_menuQuery = action(QStringLiteral("Menu_query"), QStringLiteral("&Q.查找"), &StockDocForm::Menu_query_Click);
    m_menuTE = action(QStringLiteral("Menu_TE"), QStringLiteral("&T.导出"), &StockDocForm::Menu_TE_Click);
    auto* print = new QMenu(QStringLiteral("&P.打印"), this);
    m_menuPrint = print->menuAction();
    m_menuPrint->setObjectName(QStringLiteral("Menu_print"));
    bar->addMenu(print);
    for (int i = 0; i < m_policy.print.plans.size(); ++i) {
        QAction* a = named(new QAction(m_policy.print.plans[i].menuCaption, this), QStringLiteral("Menu_prn%1").arg(i));
        print->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] {
            const MessageScope command(this);
            printDocument(i + 1);
        });
        m_menuPrn << a;
    }
    m_menuSave = action(QStringLiteral("Menu_save"), QStringLiteral("&S.保存"), &StockDocForm::saveDocument);
    m_menuCancel = action(QStringLiteral("Menu_cancel"), QStringLiteral("&C.取消"), &StockDocForm::cancelEdit);
    m_menuReturn = action(QStringLiteral("Menu_Return"), QStringLiteral("&R.返回"), nullptr);
    connect(m_menuReturn, &QAction::triggered, this, &QWidget::close);
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
        const QString name = m_policy.texts.boxNames.value(i);
        m_txt[size_t(i)] = named(new QLineEdit(page), name.isEmpty() ? QStringLiteral("Txt%1").arg(i) : name);
        m_txt[size_t(i)]->setReadOnly(i != 0 && i != 7 && i != 8);
    }
    m_txt[0]->setMaxLength(25);
    m_txt[6]->setMaxLength(200);
    m_lab[0]->setText(m_policy.texts.numberLabel);
    m_lab[1]->setText(m_policy.texts.dateLabel);
    m_lab[2]->setText(m_policy.texts.unitLabel);
    m_lab[3]->setText(QStringLiteral("录入员"));
    m_lab[4]->setText(QStringLiteral("审核人"));
    m_lab[5]->setText(m_policy.texts.amountLabel);
    m_lab[6]->setText(QStringLiteral("附注"));
    m_lab[7]->setText(m_policy.texts.paidLabel);
    m_dtp = named(new QDateEdit(QDate::currentDate(), page), QStringLiteral("DTP1"));
    m_dtp->setCalendarPopup(true);
    m_dtp->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    m_cmbLB = named(new QComboBox(page), QStringLiteral("CmbLB"));
    m_cmbLB->setEditable(true);
    m_cmdQGys = named(new QPushButton(QStringLiteral("…"), page), QStringLiteral("CmdQGys"));
    m_cmbK = named(new QComboBox(page), QStringLiteral("CmbK"));
    // Wide enough for the longest settlement item from the start, so it is never cut off.
    qsizetype longest = 0;
    for (const QString& item : m_policy.balance.unpaidSettlement + m_policy.balance.paidSettlement)
        longest = std::max(longest, item.size());
    m_cmbK->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cmbK->setMinimumContentsLength(int(longest) + 1);

    for (QWidget* w : std::initializer_list<QWidget*>{m_lab[0], m_txt[0], m_lab[1],
                                                      sharedPlace(page, {m_txt[1]}, {m_dtp}), m_lab[2],
                                                      sharedPlace(page, {m_txt[2]}, {m_cmbLB, m_cmdQGys}), m_lab[9],
                                                      m_txt[8]})
        header->addWidget(w);
    layout->addLayout(header);

    m_lines = new LineEditor(m_app, m_policy, *this, this, page);
    layout->addWidget(m_lines->GdMx());
    layout->addWidget(m_lines->strip());

    m_settlementPlace = sharedPlace(page, {m_lab[8]}, {m_cmbK});
    for (QWidget* w : std::initializer_list<QWidget*>{m_lab[5], m_txt[5], m_lab[7], m_txt[7], m_settlementPlace,
                                                      m_lab[3], m_txt[3], m_lab[4], m_txt[4], m_lab[6]})
        footer->addWidget(w);
    footer->addWidget(m_txt[6], 3);
    for (int i : {3, 4, 5, 7})
        m_txt[size_t(i)]->setMaximumWidth(110);
    m_txt[0]->setMaximumWidth(220);
    m_cmbLB->setMinimumWidth(200);
    // Both combos follow what they hold: the settlement choices change with the paid amount.
    for (QComboBox* c : {m_cmbLB, m_cmbK})
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_cmdQGys->setFixedWidth(m_cmdQGys->sizeHint().height() + 4);
    layout->addLayout(footer);

    for (QWidget* w : std::initializer_list<QWidget*>{m_cmbLB->lineEdit(), m_cmbK})
        w->installEventFilter(this);
    for (QLineEdit* box : m_txt)
        box->installEventFilter(this);
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
    connect(m_cmdQGys, &QPushButton::clicked, this, &StockDocForm::CmdQGys_Click);
    connect(m_cmdFexcel, &QPushButton::clicked, this, &StockDocForm::CmdFexcel_Click);
}

void StockDocForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitColumns();
}

void StockDocForm::fitColumns()
{
    // The list's shown columns share its width; the lines' by what they hold.
    const int listWidth = std::max(m_gd->viewport()->width(), m_pages->width() - 24);
    for (int c = 0; c < m_gd->cols(); ++c)
        if (m_gd->colWidth(c) > 0)
            m_gd->setColWidth(c, Grid::pixelsToTwips(std::max(96, listWidth / 7 - 2)));
    m_lines->fitColumns(m_pages->width() - 24);
}

