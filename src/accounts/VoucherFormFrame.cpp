// The controls of the voucher form: its menus, the list and voucher pages,
// and the entry helpers (the date picker over the date field, the unit box
// over the unit field) that stand in for their fields while a voucher is
// edited.
#include "accounts/VoucherForm.h"

#include "core/SqlText.h"
#include "platform/Messages.h"
#include "platform/Grid.h"
#include "widgets/EditFocusColour.h"
#include "widgets/EnterAsTab.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedLayout>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

constexpr int FieldCount = 9;
constexpr int DateField = 1;
constexpr int UnitField = 2;
constexpr int AmountField = 5;

// Field i mirrors list column i: its (row, column, column span) on the voucher page.
constexpr int Places[FieldCount][3] = {{0, 0, 1}, {0, 2, 1}, {1, 0, 3}, {1, 2, 1}, {2, 2, 1},
                                       {2, 0, 1}, {3, 0, 1}, {3, 2, 1}, {4, 0, 3}};
// The order Tab walks the shown fields in.
constexpr int TabOrder[] = {0, 2, 5, 6, 8, 1, 7};

}  // namespace

QAction* VoucherForm::action(const char* name, const QString& caption)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

void VoucherForm::buildMenus()
{
    auto* menus = new QMenuBar(this);
    menus->setObjectName(QStringLiteral("MenuBar"));
    layout()->setMenuBar(menus);
    Menu_Add = action("Menu_Add", QStringLiteral("&A.增加"));
    Menu_edit = action("Menu_edit", QStringLiteral("&E.修改"));
    Menu_del = action("Menu_del", QStringLiteral("&D.删除"));
    Menu_query = action("Menu_query", QStringLiteral("&Q.查找"));
    Menu_sort = new QMenu(QStringLiteral("&S.排序"), this);
    Menu_sort->setObjectName(QStringLiteral("Menu_sort"));
    for (int i = 0; i < VoucherSortItems; ++i) {
        QAction* item = action(QStringLiteral("Menu_sortBy%1").arg(i).toLatin1().constData(), QString());
        item->setCheckable(true);
        Menu_sort->addAction(item);
        Menu_sortBy << item;
        connect(item, &QAction::triggered, this, [this, i] {
            const MessageScope command(this);
            Menu_sortBy_Click(i);
        });
    }
    Menu_save = action("Menu_save", QStringLiteral("&S.保存"));
    Menu_cancel = action("Menu_cancel", QStringLiteral("&C.取消"));
    Menu_TE = action("Menu_TE", QStringLiteral("&T.导出"));
    Menu_Return = action("Menu_Return", QStringLiteral("&R.返回"));
    for (QAction* a : {Menu_Add, Menu_edit, Menu_del, Menu_query})
        menus->addAction(a);
    menus->addMenu(Menu_sort);
    for (QAction* a : {Menu_save, Menu_cancel, Menu_TE, Menu_Return})
        menus->addAction(a);
    // Each command runs under this window's message scope, so what it asks or refuses
    // stands over this window even while the operator's focus is in another one.
    const auto command = [this](QAction* a, void (VoucherForm::*run)()) {
        connect(a, &QAction::triggered, this, [this, run] {
            const MessageScope scope(this);
            (this->*run)();
        });
    };
    command(Menu_Add, &VoucherForm::Menu_Add_Click);
    command(Menu_edit, &VoucherForm::Menu_edit_Click);
    command(Menu_del, &VoucherForm::Menu_del_Click);
    command(Menu_query, &VoucherForm::Menu_query_Click);
    command(Menu_save, &VoucherForm::Menu_save_Click);
    command(Menu_cancel, &VoucherForm::Menu_cancel_Click);
    command(Menu_TE, &VoucherForm::Menu_TE_Click);
    connect(Menu_Return, &QAction::triggered, this, &QWidget::close);
}

void VoucherForm::buildPages()
{
    auto* outer = static_cast<QVBoxLayout*>(layout());
    TabS = new QTabBar(this);
    TabS->setObjectName(QStringLiteral("TabS"));
    TabS->addTab(Side.listTab);
    TabS->addTab(Side.voucherTab);
    TabS->setExpanding(false);
    outer->addWidget(TabS);

    Pages = new QStackedLayout;
    GD = new Grid(this);
    GD->setObjectName(QStringLiteral("GD"));
    GD->installEventFilter(this);
    Frm = new QFrame(this);
    Frm->setObjectName(QStringLiteral("Frm"));
    auto* grid = new QGridLayout(Frm);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(12);
    Pages->addWidget(GD);
    Pages->addWidget(Frm);
    outer->addLayout(Pages, 1);

    for (int i = 0; i < FieldCount; ++i) {
        auto* box = new QLineEdit(Frm);
        box->setObjectName(QStringLiteral("Txt%1").arg(i));
        box->setReadOnly(true);
        box->installEventFilter(this);
        auto* label = new QLabel(Frm);
        label->setObjectName(QStringLiteral("Lab%1").arg(i));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, Places[i][0], Places[i][1] * 2);
        grid->addWidget(box, Places[i][0], Places[i][1] * 2 + 1, 1, Places[i][2]);
        new EditFocusColour(box, [this] { return Edstu != 0; }, TabS);
        if (i != DateField && i != UnitField)
            EnterAsTab(box);
        Txt << box;
        Lab << label;
    }
    auto* timeLine = new QLabel(Frm);
    timeLine->setObjectName(QStringLiteral("Lab9"));
    timeLine->setStyleSheet(QStringLiteral("color: rgb(128,128,128);"));
    grid->addWidget(timeLine, 5, 0, 1, 5);
    Lab << timeLine;
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(5, 1);
    for (int i : {3, 4}) {  // related document and payment method: never stored, never shown
        Txt[i]->hide();
        Lab[i]->hide();
    }
    for (size_t k = 0; k + 1 < std::size(TabOrder); ++k)
        setTabOrder(Txt[TabOrder[k]], Txt[TabOrder[k + 1]]);

    DTP = new QDateEdit(Frm);
    DTP->setObjectName(QStringLiteral("DTP"));
    DTP->setCalendarPopup(true);
    DTP->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    DTP->installEventFilter(this);
    DTP->hide();
    grid->addWidget(DTP, Places[DateField][0], Places[DateField][1] * 2 + 1);
    connect(DTP, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (DTP->isVisible())
            Txt[DateField]->setText(DateText(d));
    });
    CmbEnter2 = new QComboBox(Frm);
    CmbEnter2->setObjectName(QStringLiteral("CmbEnter2"));
    CmbEnter2->setEditable(true);
    CmbEnter2->setInsertPolicy(QComboBox::NoInsert);
    CmbEnter2->setStyleSheet(QStringLiteral("QComboBox { background: rgb(192,255,192); color: rgb(0,0,192); }"));
    CmbEnter2->installEventFilter(this);
    CmbEnter2->hide();
    grid->addWidget(CmbEnter2, Places[UnitField][0], Places[UnitField][1] * 2 + 1, 1, Places[UnitField][2]);
    CmdQGys = new QPushButton(QStringLiteral("…"), Frm);
    CmdQGys->setObjectName(QStringLiteral("CmdQGys"));
    CmdQGys->setFixedWidth(Grid::twipsToPixels(255) + 8);
    CmdQGys->hide();
    grid->addWidget(CmdQGys, Places[UnitField][0], 4);
    connect(CmdQGys, &QPushButton::clicked, this, [this] {
        const MessageScope command(this);
        CmdQGys_Click();
    });
}

void VoucherForm::placeColumns()
{
    const int scrollBar = GD->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, GD);
    const int width = Grid::pixelsToTwips(std::max(0, GD->contentsRect().width() - scrollBar));
    const int each = std::max(600, width / 8 - 60);
    for (int c = 0; c < FieldCount; ++c)
        GD->setColWidth(c, each);
    GD->setColWidth(UnitField, each * 2);
    GD->setColWidth(3, 0);
    GD->setColWidth(4, 0);
    const bool byTime = SortIndex == VoucherSortByTime;
    if (byTime) {
        GD->setColWidth(6, each / 2);
        GD->setColWidth(7, each / 2);
    }
    GD->setColWidth(VoucherTimeColumn, byTime ? 1800 : 0);
}

void VoucherForm::commitHelpers()
{
    if (CmbEnter2->isVisible()) {
        Txt[UnitField]->setText(SqlSafe(CmbEnter2->currentText()));
        CmbEnter2->hide();
    }
    DTP->hide();
}

bool VoucherForm::entryHelperEvent(QObject* watched, QEvent* event)
{
    const bool editing = Edstu != 0;
    if (event->type() == QEvent::FocusIn && editing) {
        if (watched == Txt[DateField]) {
            QDate d = VoucherDateValue(Txt[DateField]->text());
            if (!d.isValid()) {
                d = QDate::currentDate();
                Txt[DateField]->setText(DateText(d));
            }
            DTP->setDate(d);
            DTP->show();
            DTP->raise();
            DTP->setFocus();
        } else if (watched == Txt[UnitField]) {
            CmbEnter2->setCurrentText(Txt[UnitField]->text());
            CmbEnter2->show();
            CmbEnter2->raise();
            CmbEnter2->setFocus();
        }
    } else if (event->type() == QEvent::KeyPress && (watched == DTP || watched == CmbEnter2)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            (watched == DTP ? Txt[UnitField] : Txt[AmountField])->setFocus();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut &&
               static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (watched == DTP) {
            DTP->hide();
        } else if (watched == CmbEnter2 && editing && CmbEnter2->isVisible()) {
            Txt[UnitField]->setText(SqlSafe(CmbEnter2->currentText()));
            CmbEnter2->hide();
        }
    }
    return false;
}
