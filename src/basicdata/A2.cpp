#include "basicdata/A2.h"

#include "core/App.h"
#include "core/Files.h"
#include "core/Permissions.h"
#include "core/Settings.h"
#include "core/SettingsCatalogue.h"
#include "widgets/GridBehaviours.h"
#include "widgets/GridColumnAutoWiden.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr int MaxFolderPath = 150;

}  // namespace

A2::A2(App& app, QWidget* parent) : UnitForm(app, parent, UnitKind::Customer)
{
    UnitCaptions c;
    c.boxes = {QStringLiteral("单位编码"), QStringLiteral("单位名称"), QStringLiteral("地址"), QStringLiteral("电话"),
               QStringLiteral("传真"), QStringLiteral("联系人"), QStringLiteral("备注"), QStringLiteral("年初应收款"),
               QStringLiteral("手机")};
    c.headers = {QStringLiteral("编码"), QStringLiteral("名称"), QStringLiteral("地址"), QStringLiteral("电话"),
                 QStringLiteral("传真"), QStringLiteral("联系人"), QStringLiteral("备注"), QString()};
    c.dualRoleText = QStringLiteral("该单位具有“客户”及“供应商”双重身份");
    buildUnit(c);
    buildFolderLink();
    buildQuotePanel();
    UnitFoldersEnabled = SettingValue(app.CurrentDatabase, SetUnitFolders) == 1;
    Frmbj->setVisible(app.OfferCustomerPrice != 0);
    new ColumnSortMenu(GD, [](int c) { return c < 7 ? ColumnSortMenu::Kind::Text : ColumnSortMenu::Kind::None; }, 3);
    Shape s = unitShape(QStringLiteral("A2"), QStringLiteral("客户资料"), QStringLiteral("客户列表"),
                        QStringLiteral("客户资料"), QStringLiteral("系统中必须保留至少一条客户记录！"));
    s.exportRight = RightItem3;
    s.columnMargin = 30;
    start(s, QStringLiteral("select * from TA1 "));
}

void A2::buildFolderLink()
{
    ImgDir = new QToolButton(Frm);
    ImgDir->setObjectName(QStringLiteral("ImgDir"));
    ImgDir->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    ImgDir->setIconSize(QSize(28, 28));
    ImgDir->setAutoRaise(true);
    ImgDir->hide();
    ImgDir->installEventFilter(this);
    FrmLayout->addWidget(ImgDir, 0, 6, Qt::AlignRight | Qt::AlignTop);
    Menu_DocDir = new QMenu(this);
    Menu_DocDir->setObjectName(QStringLiteral("Menu_DocDir"));
    Menu_open = Menu_DocDir->addAction(QStringLiteral("打开文件夹"));
    Menu_open->setObjectName(QStringLiteral("Menu_open"));
    menu_Set = Menu_DocDir->addAction(QStringLiteral("设置文件夹位置"));
    menu_Set->setObjectName(QStringLiteral("menu_Set"));
    Menu_line = Menu_DocDir->addSeparator();
    Menu_line->setObjectName(QStringLiteral("Menu_line"));
    Menu_Quxiao = Menu_DocDir->addAction(QStringLiteral("取消文件夹链接功能"));
    Menu_Quxiao->setObjectName(QStringLiteral("Menu_Quxiao"));
    connect(Menu_open, &QAction::triggered, this, &A2::ImgDir_DblClick);
    connect(menu_Set, &QAction::triggered, this, &A2::menu_Set_Click);
    connect(Menu_Quxiao, &QAction::triggered, this, &A2::Menu_Quxiao_Click);
    connect(ImgDir, &QToolButton::clicked, this, &A2::popupFolderMenu);
}

QString A2::folderPath() const
{
    return ImgDir->toolTip();
}

void A2::setFolderPath(const QString& path)
{
    ImgDir->setToolTip(path);
}

void A2::popupFolderMenu()
{
    const bool editing = Edstu != 0;
    if (!editing && folderPath().isEmpty())
        return;
    menu_Set->setVisible(editing);
    const bool admin = editing && IsTopAdministrator(app);
    Menu_line->setVisible(admin);
    Menu_Quxiao->setVisible(admin);
    Menu_open->setVisible(!folderPath().isEmpty());
    Menu_DocDir->popup(ImgDir->mapToGlobal(QPoint(0, ImgDir->height())));
}

void A2::ImgDir_DblClick()
{
    const QString path = folderPath();
    if (path.isEmpty())
        return;
    if (FolderUsable(path).isEmpty()) {
        MsgBox(QStringLiteral("找不到文件夹 ") + path);
        return;
    }
    OpenDocument(path);
}

void A2::menu_Set_Click()
{
    const QString chosen = Dialogs().pickFolder(QStringLiteral("请选择文件夹路径："), folderPath());
    if (!chosen.isEmpty()) {
        if (chosen.size() > MaxFolderPath)
            MsgBox(QStringLiteral("您设置的文件夹路径字串过长，系统不能保存！"));
        else
            setFolderPath(chosen);
        return;
    }
    if (folderPath().isEmpty())
        return;
    if (MsgBox(QStringLiteral("该客户相关文档文件所在的文件夹为  ") + folderPath()
                   + QStringLiteral("\n\n您要保留这个设置吗？ \n\n点击<确定>保留该设置，点击<取消>清除该设置。"),
               MB::OKCancel | MB::Question)
        == MB::Cancel)
        setFolderPath(QString());
}

void A2::Menu_Quxiao_Click()
{
    setFolderPath(QString());
}

void A2::completeSave(UnitRecord& record, UnitSaveRequest& request)
{
    if (UnitFoldersEnabled)
        record.docDir = folderPath();
    if (!Frmbj->isHidden()) {
        QVector<QuoteLine> lines = gridQuotes();
        for (const QuoteLine& kept : ReplacedLines) {
            const bool again = std::any_of(lines.begin(), lines.end(), [&](const QuoteLine& l) {
                return l.goods.compare(kept.goods, Qt::CaseInsensitive) == 0;
            });
            if (!again)
                lines.push_back(kept);
        }
        request.quotes = lines;
    }
}

void A2::showRecordExtras()
{
    UnitForm::showRecordExtras();
    QString path;
    if (UnitFoldersEnabled)
        path = LoadUnitExtras(app.CurrentDatabase, boxText(0)).docDir;
    setFolderPath(path);
    ImgDir->setVisible(UnitFoldersEnabled && !path.isEmpty());
    LoadQuoteGrid();
}

void A2::enterEditExtras()
{
    UnitForm::enterEditExtras();
    ImgDir->setVisible(UnitFoldersEnabled);
    setBoxBack(7, QColor());
}

void A2::leaveEditExtras()
{
    UnitForm::leaveEditExtras();
    // After a save the icon shows the stored link; Cancel shows the record again anyway.
    ImgDir->setVisible(UnitFoldersEnabled && !folderPath().isEmpty());
    TxtEnterBox->hide();
    CmdQuery->hide();
    const int last = GdMxGrid->rows() - 1;
    if (GdMxGrid->rows() > 2 && GdMxGrid->textMatrix(last, 0).isEmpty())
        GdMxGrid->removeItem(last);
    ReplacedLines.clear();
}

void A2::addExtras()
{
    UnitForm::addExtras();
    SetQuoteGridHeader();
    QuoteOwnerCode.clear();
    ReplacedLines.clear();
    setFolderPath(QString());
}

void A2::editExtras()
{
    UnitForm::editExtras();
    QuoteOwnerCode = boxText(0);
    ReplacedLines.clear();
    if (lineHasCode(GdMxGrid->rows() - 1))
        GdMxGrid->addItem(QString());
}

void A2::cancelExtras()
{
    TxtEnterBox->hide();
    CmdQuery->hide();
}

void A2::tabExtras(int tab)
{
    UnitForm::tabExtras(tab);
    if (tab == 0)
        hideSearch();
}

void A2::beforeCommand()
{
    hideSearch();
}

void A2::hideSearch()
{
    FrmQ->hide();
    CmdQ->hide();
}

bool A2::queryHandled()
{
    if (TabS->currentIndex() != 1)
        return false;
    const bool show = FrmQ->isHidden();
    FrmQ->setVisible(show);
    CmdQ->setVisible(show);
    if (show)
        TxtBJ->setFocus();
    return true;
}

bool A2::beforeSave()
{
    if (!TxtEnterBox->isHidden()) {
        Txt[0]->setFocus();
        TxtEnter_LostFocus();
        TxtEnterBox->hide();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    return true;
}

void A2::afterSave()
{
    QuoteOwnerCode = boxText(0);
}

QString A2::exportName() const
{
    return TabS->currentIndex() == 1 ? boxText(1) + QStringLiteral("报价") : windowTitle();
}

Grid* A2::exportGrid()
{
    return TabS->currentIndex() == 1 ? GdMxGrid : GD;
}

QList<int> A2::exportNumericColumns() const
{
    if (TabS->currentIndex() == 1)
        return {3};
    return {};
}

void A2::checkTypedCode()
{
    if (Edstu == 0 || boxText(0).trimmed().isEmpty())
        return;
    const QString typed = NormaliseCode(boxText(0));
    if (typed == QuoteOwnerCode)
        return;
    const std::optional<QVariant> holder =
        app.CurrentDatabase.scalarRow(QStringLiteral("SELECT F2 FROM TA1 WHERE F1 = ? LIMIT 1"), {typed});
    const QString listed = GD->textMatrix(CurrentRow, 0).trimmed();
    if (holder && (Edstu == 1 || typed.compare(listed, Qt::CaseInsensitive) != 0)) {
        MsgBox(QStringLiteral("系统中已经存在 ") + boxText(0) + QStringLiteral("' 这个编码！（") + holder->toString()
                   + QStringLiteral("）"),
               MB::OKOnly, app.AppTitle);
        setBoxText(0, QuoteOwnerCode);
        return;
    }
    QuoteOwnerCode = typed;
}

bool A2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ImgDir && event->type() == QEvent::MouseButtonDblClick) {
        ImgDir_DblClick();
        return true;
    }
    if (watched == TxtEnterBox) {
        if (event->type() == QEvent::KeyPress) {
            return TxtEnter_KeyDown(static_cast<QKeyEvent*>(event));
        }
        if (event->type() == QEvent::FocusOut && !Committing)
            TxtEnter_LostFocus();
        return false;
    }
    const bool leavingCode = !Txt.isEmpty() && watched == Txt[0] && event->type() == QEvent::FocusOut;
    const bool handled = UnitForm::eventFilter(watched, event);
    if (leavingCode && !CheckingCode) {
        CheckingCode = true;
        checkTypedCode();
        CheckingCode = false;
    }
    return handled;
}
