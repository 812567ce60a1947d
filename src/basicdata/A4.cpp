#include "basicdata/A4.h"

#include "basicdata/GoodsDetail.h"
#include "basicdata/GoodsList.h"
#include "basicdata/GoodsSave.h"
#include "basicdata/StructureEditor.h"
#include "core/App.h"
#include "core/Permissions.h"
#include "core/Settings.h"
#include "core/SettingsCatalogue.h"
#include "core/SqlText.h"
#include "exchange/ImportOpeners.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/GridBehaviours.h"
#include "widgets/NoRightsRefusal.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>

namespace {

const QString Hint = QStringLiteral("提示");

QStringList listHeaders(const QString& theHname, const QString& attribute)
{
    return {theHname + QStringLiteral("编码"), QStringLiteral("品名"), QStringLiteral("规格型号"),
            QStringLiteral("所属类别"), QStringLiteral("单位"), QStringLiteral("单价"), QStringLiteral("备注"),
            QStringLiteral("类别编码"), QStringLiteral("销售单价"), QString(), QString(), QString(), QString(), QString(),
            QStringLiteral("当前存量"), attribute, QStringLiteral("供应商"), QString()};
}

}  // namespace

QString A4::wordForItem(const App& app, bool productsItem)
{
    if (productsItem)
        return app.ProductTerm;
    return app.Menus.isVisible(QStringLiteral("Menu_AA6")) ? app.PartTerm : app.GoodsTerm;
}

A4::A4(App& app, const QString& theHname_, QWidget* parent) : RecordForm(app, RightBasicData, parent), theHname(theHname_)
{
    Detail = new GoodsDetail(app, theHname, Frm);
    FrmLayout->setContentsMargins(0, 0, 0, 0);
    FrmLayout->addWidget(Detail, 0, 0);
    // The frame's box arrays are the detail tab's boxes, so the frame's
    // locking, Enter order and focus colour reach them.
    Txt.clear();
    Lab.clear();
    for (int i = 0; i < 16; ++i) {
        Txt << Detail->Txt[i];
        Lab << Detail->Lab[i];
        Detail->Txt[i]->installEventFilter(this);
    }
    Menu_Trun = new QAction(QStringLiteral("&C.转换"), this);
    Menu_Trun->setObjectName(QStringLiteral("Menu_Trun"));
    if (auto* bar = findChild<QMenuBar*>(QStringLiteral("MenuBar")))
        bar->insertAction(Menu_TE, Menu_Trun);
    connect(Menu_Trun, &QAction::triggered, this, &A4::Menu_Trun_Click);
    Menu_Txm = new QAction(QStringLiteral("&T.打印条码"), this);
    Menu_Txm->setObjectName(QStringLiteral("Menu_Txm"));
    Menu_Txm->setEnabled(false);
    if (auto* bar = findChild<QMenuBar*>(QStringLiteral("MenuBar")))
        bar->insertAction(Menu_save, Menu_Txm);
    for (QCheckBox* b : Detail->ChkBM)
        TopButtons->addWidget(b);

    addImportButton([this] { return FromExcel(this->app, theHname, this); });

    Database& db = app.CurrentDatabase;
    const QString attribute = SettingStoredText(db, SetExtraGoodsAttr);
    Detail->settle(app.Menus.isVisible(QStringLiteral("Menu_AA0")), attribute);
    CompositeAllowed = Detail->compositeAllowed;
    AddGoodsF711Column(db);
    FillGoodsCombos();
    new ColumnSortMenu(
        GD,
        [](int col) {
            switch (GoodsListSortKind(col)) {
            case GoodsSortKind::Text: return ColumnSortMenu::Kind::Text;
            case GoodsSortKind::Number: return ColumnSortMenu::Kind::Number;
            default: return ColumnSortMenu::Kind::None;
            }
        },
        3);
    // A colour set on a structure line belongs to that part's line of the shown product.
    RowColourTarget bomColours;
    bomColours.table = QStringLiteral("Bom");
    bomColours.keyColumns = {QStringLiteral("F1"), QStringLiteral("F0")};
    bomColours.keyValues = [this](int row) {
        return QVariantList{Detail->Structure->gdMx()->textMatrix(row, 0), Detail->Txt[0]->text()};
    };
    new GridContextMenu(app, Detail->Structure->gdMx(), bomColours);

    Shape s;
    s.objectName = QStringLiteral("A4");
    s.caption = theHname + QStringLiteral("档案");
    s.listTab = theHname + QStringLiteral("资料列表");
    s.detailTab = theHname + QStringLiteral("资料明细");
    s.headers = listHeaders(theHname, attribute);
    s.listBoxes = 0;  // the detail tab fills itself from the list row
    s.colourTable = QStringLiteral("TA4");
    s.queryHead = GoodsListHead() + QStringLiteral("LEFT JOIN TA3 ON TA4.F3 = TA3.F1 ");
    s.queryFields = {{theHname + QStringLiteral("编码"), QStringLiteral("TA4.F1"), QueryFieldType::Text},
                     {QStringLiteral("品名"), QStringLiteral("TA4.F2"), QueryFieldType::Text},
                     {QStringLiteral("类别编码"), QStringLiteral("TA4.F3"), QueryFieldType::Text},
                     {QStringLiteral("规格型号"), QStringLiteral("TA4.F5"), QueryFieldType::Text},
                     {QStringLiteral("单位"), QStringLiteral("TA4.F4"), QueryFieldType::Text},
                     {QStringLiteral("单价"), QStringLiteral("TA4.F7"), QueryFieldType::Number},
                     {QStringLiteral("备注"), QStringLiteral("TA4.F6"), QueryFieldType::Text}};
    if (!attribute.isEmpty())
        s.queryFields.append({attribute, QStringLiteral("TA4.HW"), QueryFieldType::Text});
    if (Detail->fixedSupplier)
        s.queryFields.append({QStringLiteral("供应商"), QStringLiteral("TA4.Gys"), QueryFieldType::Text});
    s.queryDefaultField = 0;
    s.editableFrom = 1;
    s.editableTo = 15;
    // The list at load joins the categories; a query finds goods without one too.
    start(s, GoodsQueryStatement(GoodsListHead() + QStringLiteral("JOIN TA3 ON TA4.F3 = TA3.F1 "), listClass()));
    Menu_Trun->setVisible(app.Menus.isVisible(QStringLiteral("Menu_AA6")));
}

QList<QWidget*> A4::enterTargets(int box) const
{
    return Detail->enterTargets(box);
}

int A4::listClass() const
{
    // With separate files each window lists its own class; else every goods.
    if (!app.Menus.isVisible(QStringLiteral("Menu_AA6")))
        return -1;
    return code(CompositeAllowed ? GoodsClass::Product : GoodsClass::Part);
}

void A4::FillGoodsCombos()
{
    Detail->CmbLB->clear();
    Detail->CmbLB->addItems(GoodsCategoryItems(app.CurrentDatabase));
    Detail->CmbDW->clear();
    Detail->CmbDW->addItems(GoodsUnitItems(app.CurrentDatabase));
}

RecordList A4::readList(const QString& statement)
{
    // A statement from the query dialog still lacks the class filter and order.
    const QString sql = statement.contains(QLatin1String("ORDER BY"), Qt::CaseInsensitive)
                            ? statement
                            : GoodsQueryStatement(statement, listClass());
    GoodsListRows rows = ReadGoodsListStatement(app.CurrentDatabase, sql, {}, app.PriceFormat, app.AmountFormat);
    RecordList list;
    list.rows = rows.rows;
    list.cols = GoodsListColumns;
    list.cells = std::move(rows.cells);
    for (const GoodsListRows::Colour& c : rows.colours)
        list.colours.append({c.row, c.back, c.fore});
    // Every list fill empties the structure grid.
    Detail->Structure->SetLineGridHeader();
    return list;
}

void A4::placeListColumns()
{
    if (!Detail)  // the base's first header comes before the goods controls
        return RecordForm::placeListColumns();
    // The goods list has its own proportions over the grid's width.
    const int g = std::max(listWidthTwips(), 1400);
    int w[GoodsListColumns] = {};
    for (int c = 0; c <= 3; ++c)
        w[c] = g / 7 - 70;
    w[4] = w[5] = g / 14 - 25;
    w[6] = g / 14;
    if (!Detail->Lab[16]->text().isEmpty())
        w[15] = g / 14;
    else
        w[6] = 2 * w[5];
    if (Detail->fixedSupplier)
        w[16] = g / 14;
    else
        w[6] += w[5];
    w[4] = w[0] / 2;
    w[1] = w[0] * 3 / 2;
    if (!app.CanSeeCost || app.WithPrices == 0) {
        w[5] = 0;
        w[6] = 2 * w[0];
    }
    for (int c = 0; c < GoodsListColumns && c < GD->cols(); ++c)
        GD->setColWidth(c, std::max(0, w[c]));
}

void A4::showRecordExtras()
{
    if (CurrentRow < 1)
        CurrentRow = 1;
    Detail->ShowGoodsRecord(GoodsListRowCells(GD, CurrentRow));
}

void A4::enterEditExtras()
{
    Detail->Edstu = Edstu;
    Detail->EnterEditMode(Edstu == 1);
    Menu_Trun->setVisible(false);
    Menu_Txm->setVisible(false);
}

void A4::leaveEditExtras()
{
    Detail->LeaveEditMode();
    Menu_Trun->setVisible(app.Menus.isVisible(QStringLiteral("Menu_AA6")));
    Menu_Txm->setVisible(true);
}

void A4::addExtras()
{
    Detail->clearForAdd();
    if (Detail->ChkBM[0]->isChecked())
        Detail->Txt[1]->setFocus();
    if (!LastSavedCode.isEmpty() && Detail->ChkBM[1]->isChecked()) {
        Detail->Txt[0]->setText(NextSerialCode(LastSavedCode));
        Detail->Txt[1]->setFocus();
    }
    RefPriceBeforeEdit = 0;
}

void A4::editExtras()
{
    Detail->CmbLB->setEditText(GD->textMatrix(CurrentRow, 7).trimmed() + QLatin1Char('.') +
                               Detail->Txt[2]->text().trimmed());
    Detail->CmbDW->setEditText(Detail->Txt[3]->text());
    RefPriceBeforeEdit = BoxValue(Detail->Txt[12]->text());
}

void A4::cancelExtras()
{
    // Nothing was written: the structure and the prices show as stored again.
    Detail->Structure->txtEnter()->hide();
    Detail->Structure->txtEnter()->clear();
}

RecordSaveResult A4::saveRecord()
{
    const RecordSaveResult told{RecordSaveStatus::Told, {}};
    // A structure cell still being typed is committed first.
    Detail->Structure->TxtEnter_LostFocus();
    GoodsSaveContext ctx;
    ctx.mode = Edstu == 1 ? GoodsSaveContext::Mode::Add : GoodsSaveContext::Mode::Edit;
    ctx.editStartCode = CodeBeforeEdit;
    ctx.editStartRefPrice = RefPriceBeforeEdit;
    ctx.pinyinCodes = Detail->ChkBM[0]->isChecked();
    ctx.mayEditOpening = Edstu == 1 || IsTopAdministrator(app);
    ctx.inboundRefPrice = app.InboundRefPrice == 1;
    ctx.costPlusFeePrice = app.CostPlusFeePrice == 1;
    ctx.operatorName = app.OperatorName;
    ctx.rules = PostingRules::of(app);
    GoodsSaveOutcome out;
    for (;;) {
        out = SaveGoods(app.CurrentDatabase, ctx, Detail->input());
        Detail->applyOutcome(out);
        if (out.status != GoodsSaveOutcome::Status::AskSameName)
            break;
        if (MsgBox(out.message, MB::YesNo | MB::Question | MB::DefaultButton2) == MB::No) {
            Detail->Txt[4]->setFocus();
            return told;
        }
        ctx.sameNameConfirmed = true;
    }
    switch (out.status) {
    case GoodsSaveOutcome::Status::Saved:
        break;
    case GoodsSaveOutcome::Status::DuplicateCode:
        if (out.suggestion.isEmpty())
            MsgBox(out.message, MB::OKOnly | MB::Information, out.title);
        else if (MsgBox(out.message, MB::YesNo | MB::Information, out.title) == MB::Yes)
            Detail->Txt[0]->setText(out.suggestion);
        Detail->Txt[0]->setFocus();
        return told;
    default:
        MsgBox(out.message, MB::OKOnly | MB::Information, out.title);
        if (out.focus == GoodsBox::Category)
            Detail->CmbLB->setFocus();
        else if (out.focus == GoodsBox::Code || out.focus == GoodsBox::Name)
            Detail->Txt[out.focus == GoodsBox::Code ? 0 : 1]->setFocus();
        return told;
    }
    for (const QString& notice : out.notices)
        MsgBox(notice);
    // The saved goods as the list shows it (category name, formats, colours).
    GoodsListQuery q;
    q.condition = QStringLiteral("TA4.F1 = ?");
    q.params = {out.cleaned.code};
    q.innerJoin = false;
    savedRow.clear();
    const GoodsListRows row = ReadGoodsList(app.CurrentDatabase, q, app.PriceFormat, app.AmountFormat);
    for (int c = 0; c < GoodsListColumns && row.rows > 0; ++c)
        savedRow << row.cells[size_t(c)];
    return {};
}

QStringList A4::savedListRow() const
{
    return savedRow;
}

void A4::afterSave()
{
    if (Detail->ChkBM[1]->isChecked())
        LastSavedCode = Detail->Txt[0]->text();
    addNextAfterSave = Edstu == 1 && Detail->ChkBM[2]->isChecked();
    const QString unit = Detail->CmbDW->currentText();
    if (Detail->CmbDW->count() < 10 && Detail->CmbDW->findText(unit, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        Detail->CmbDW->addItem(unit);
}

void A4::afterSaveShown()
{
    // The saved goods as stored: its picture named by its path, its structure with totals.
    ShowRecord();
    if (!addNextAfterSave)
        return;
    addNextAfterSave = false;
    // The next goods keeps the unit of the last one.
    const QString unit = Detail->CmbDW->currentText();
    Menu_Add_Click();
    Detail->CmbDW->setEditText(unit);
}

bool A4::codeInUse(const QString& code)
{
    return GoodsCodeInUse(app.CurrentDatabase, code);
}

bool A4::otherRecordExists(const QString& code)
{
    Q_UNUSED(code)
    return true;  // the last goods may be deleted
}

QString A4::deleteQuestion(const QString& code, const QString& name)
{
    return DeleteGoodsQuestion(name, ProductsUsingPart(app.CurrentDatabase, code));
}

void A4::deleteRecord(const QString& code)
{
    DeleteGoods(app.CurrentDatabase, code);
}

bool A4::structureShown() const
{
    return TabS->currentIndex() == 1 && !Detail->Structure->isHidden();
}

QList<int> A4::exportNumericColumns() const
{
    if (structureShown())
        return {4, 5};
    return {5, 8, 10, 11, 14};
}

Grid* A4::exportGrid()
{
    return structureShown() ? Detail->Structure->gdMx() : GD;
}

QString A4::exportName() const
{
    return structureShown() ? QStringLiteral("BOM") : windowTitle();
}

QString A4::exportHead() const
{
    if (!structureShown())
        return {};
    return QStringLiteral(",,产品构成表(BOM)\r,产品编码：,") + Detail->Txt[0]->text() + QStringLiteral(",品名规格：,") +
           Detail->Txt[1]->text() + QLatin1Char(' ') + Detail->Txt[4]->text();
}

void A4::Menu_Trun_Click()
{
    // Moving a goods to the other file changes what it is: the edit right.
    if (!RequireRight(app, RightBasicData, RightItem2))
        return;
    const bool toProduct = theHname == app.PartTerm;
    const QString target = toProduct ? app.ProductTerm : app.PartTerm;
    const int row = CurrentRow > 0 ? CurrentRow : 1;
    const QString goods = GD->textMatrix(row, 0);
    if (goods.isEmpty()) {
        MsgBox(QStringLiteral("[转换]功能用于把指定货品从归属于[") + theHname + QStringLiteral("]转换为归属于[") + target +
               QStringLiteral("]。请选择要转换的数据！"));
        return;
    }
    if (MsgBox(QStringLiteral("真的要把[") + goods + QStringLiteral("]从归属于[") + theHname +
                   QStringLiteral("]转换为归属于[") + target + QStringLiteral("]吗？"),
               MB::OKCancel | MB::Question) == MB::Cancel)
        return;
    try {
        ConvertGoodsClass(app.CurrentDatabase, goods, toProduct ? GoodsClass::Product : GoodsClass::Part);
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("转换失败：") + e.description(), MB::OKOnly | MB::Information, Hint);
        return;
    }
    if (GD->rows() < 3)
        Detail->Structure->SetLineGridHeader();
    takeListRow(row);
    ListCount = std::max(0, ListCount - 1);
    CurrentRow = std::min(row, ListCount);
    ShowStatusLine();
}
