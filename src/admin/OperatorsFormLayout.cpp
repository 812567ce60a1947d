#include "admin/OperatorsForm.h"

#include "widgets/EnterAsTab.h"
#include "widgets/WidgetHooks.h"
#include "core/App.h"
#include "widgets/GridBehaviours.h"
#include "platform/Grid.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabBar>
#include <QVBoxLayout>

// The operators window's controls: menus, the tab strip over the list and the
// detail panel with one row per permission group.

namespace {

struct GroupText {
    const char* caption;
    const char* items[3];
};
const GroupText Groups[8] = {
    {"基础数据", {"增加", "修改", "打印"}}, {"入库管理", {"编辑", "审核", "打印"}},
    {"库存盘点", {"编辑", "审核", "打印"}}, {"出库管理", {"编辑", "审核", "打印"}},
    {"货品价格", {"成本价", "销售价", "打印"}}, {"系统管理", {"编辑", "审核", "打印"}},
    {"往来帐款", {"付款", "收款", "打印"}}, {"综合报表", {"编辑", "审核", "打印"}}};

// The order of the permission rows on the detail panel.
constexpr int RowOrder[8] = {0, 1, 2, 3, 6, 7, 4, 5};

// Item boxes that are never shown; they keep their state and take part in the words.
bool alwaysOutOfView(int group, int k)
{
    return (group == 4 && k == 2) || group == 5 || (group == 7 && k < 2);
}

}  // namespace

OperatorsForm::OperatorsForm(App& app, QWidget* parent, bool startAdding) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("S1"));
    setWindowTitle(QStringLiteral("系统操作员管理"));
    setModal(true);
    new StatusPanelRestore(app, this);

    auto* outer = new QVBoxLayout(this);
    auto* menus = new QMenuBar(this);
    auto action = [this, menus](QAction*& a, const char* name, const char* caption) {
        a = menus->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
    };
    action(Menu_Add, "Menu_Add", "&A.增加");
    action(Menu_edit, "Menu_edit", "&E.修改");
    action(Menu_del, "Menu_del", "&D.删除");
    action(Menu_save, "Menu_save", "&S.保存");
    action(Menu_cancel, "Menu_cancel", "&C.取消");
    action(Menu_Return, "Menu_Return", "&R.返回");
    outer->setMenuBar(menus);

    TabS = new QTabBar(this);
    TabS->setObjectName(QStringLiteral("TabS"));
    TabS->addTab(QStringLiteral("操作员列表"));
    TabS->addTab(QStringLiteral("操作员资料"));
    outer->addWidget(TabS);

    GD = new Grid(this);
    GD->setObjectName(QStringLiteral("GD"));
    outer->addWidget(GD, 1);

    Frm = new QFrame(this);
    Frm->setObjectName(QStringLiteral("Frm"));
    outer->addWidget(Frm, 1);
    auto* detail = new QVBoxLayout(Frm);
    auto* first = new QHBoxLayout;
    const char* boxCaptions[2] = {"操作员帐号", "姓名"};
    for (int i = 0; i < 2; ++i) {
        Lab[i] = new QLabel(QString::fromUtf8(boxCaptions[i]), Frm);
        Lab[i]->setObjectName(QStringLiteral("Lab%1").arg(i));
        Txt[i] = new QLineEdit(Frm);
        Txt[i]->setObjectName(QStringLiteral("Txt%1").arg(i));
        first->addWidget(Lab[i]);
        first->addWidget(Txt[i]);
    }
    Txt[1]->setMaxLength(49);
    detail->addLayout(first);

    auto* bar = new QFrame(Frm);
    bar->setAutoFillBackground(true);
    QPalette barColours = bar->palette();
    barColours.setColor(QPalette::Window, QColor(192, 192, 255));
    barColours.setColor(QPalette::WindowText, Qt::blue);
    bar->setPalette(barColours);
    auto* barLayout = new QHBoxLayout(bar);
    Label1 = new QLabel(QStringLiteral("操作权限"), bar);
    Label1->setObjectName(QStringLiteral("Label1"));
    ChkAll = new QCheckBox(QStringLiteral("全部权限"), bar);
    ChkAll->setObjectName(QStringLiteral("ChkAll"));
    barLayout->addWidget(Label1);
    barLayout->addStretch(1);
    barLayout->addWidget(ChkAll);
    detail->addWidget(bar);

    // Boxes out of view live on a container that is never shown.
    auto* offstage = new QWidget(this);
    offstage->hide();
    auto* rows = new QGridLayout;
    const bool warehouse = app.isWarehouseEdition();
    for (int r = 0; r < 8; ++r) {
        const int g = RowOrder[r];
        const bool groupOut = warehouse && g == 6;
        QWidget* home = groupOut ? offstage : Frm;
        ChK[g] = new QCheckBox(home);
        ChK[g]->setObjectName(QStringLiteral("ChK%1").arg(g));
        LabM[g] = new QLabel(QString::fromUtf8(Groups[g].caption), home);
        LabM[g]->setObjectName(QStringLiteral("LabM%1").arg(g));
        QFont bold = LabM[g]->font();
        bold.setBold(true);
        LabM[g]->setFont(bold);
        if (!groupOut) {
            rows->addWidget(ChK[g], 2 * r, 0);
            rows->addWidget(LabM[g], 2 * r, 1);
        }
        for (int k = 0; k < 3; ++k) {
            const bool out = groupOut || alwaysOutOfView(g, k) || (warehouse && g == 4 && k == 1);
            auto* b = new QCheckBox(QString::fromUtf8(Groups[g].items[k]), out ? offstage : Frm);
            b->setObjectName(QStringLiteral("Chk0%1").arg(10 * g + k));
            // Blue only while editable: disabled boxes must look disabled.
            b->setStyleSheet(QStringLiteral("QCheckBox:enabled { color: blue; }"));
            Chk0[10 * g + k] = b;
            if (!out)
                rows->addWidget(b, 2 * r, 2 + k);
        }
        Line1[g] = new QFrame(Frm);
        Line1[g]->setObjectName(QStringLiteral("Line1%1").arg(g));
        Line1[g]->setFrameShape(QFrame::HLine);
        rows->addWidget(Line1[g], 2 * r + 1, 0, 1, 5);
        connect(ChK[g], &QCheckBox::toggled, this, [this, g] { ChK_Click(g); });
        OnClick(LabM[g], [this, g] { LabM_Click(g); });
    }
    detail->addLayout(rows);
    detail->addStretch(1);

    for (QLineEdit* t : Txt) {
        EnterAsTab(t);
        connect(t, &QLineEdit::textEdited, this, [t](const QString& text) {
            const int pos = t->cursorPosition();
            t->setText(text.toUpper());
            t->setCursorPosition(pos);
        });
        OnFocusIn(t, [this, t] {
            if (Edstu == 0) {
                TabS->setFocus();
                return;
            }
            QPalette p = t->palette();
            p.setColor(QPalette::Base, QColor(192, 255, 255));
            t->setPalette(p);
        });
        OnFocusOut(t, [t] { t->setPalette(QPalette()); });
    }

    connect(Menu_Add, &QAction::triggered, this, &OperatorsForm::Menu_Add_Click);
    connect(Menu_edit, &QAction::triggered, this, &OperatorsForm::Menu_edit_Click);
    connect(Menu_del, &QAction::triggered, this, &OperatorsForm::Menu_del_Click);
    connect(Menu_save, &QAction::triggered, this, &OperatorsForm::Menu_save_Click);
    connect(Menu_cancel, &QAction::triggered, this, &OperatorsForm::Menu_cancel_Click);
    connect(Menu_Return, &QAction::triggered, this, &QDialog::close);
    connect(TabS, &QTabBar::tabBarClicked, this, &OperatorsForm::TabS_Click);
    connect(ChkAll, &QCheckBox::clicked, this, &OperatorsForm::ChkAll_Click);
    connect(GD, &Grid::rowColChanged, this, &OperatorsForm::gridCurrentCell);
    connect(GD, &Grid::doubleClicked_, this, [this] {
        gridCurrentCell();
        TabS->setCurrentIndex(1);
        TabS_Click(1);
    });

    // Load: the list in front, browse state, and adding at once after the login link.
    resize(600, 480);
    Frm->hide();
    LoadOperatorList();
    Txt[0]->setMaxLength(4);
    SetBrowseState();
    if (startAdding)
        Menu_Add_Click();
}

