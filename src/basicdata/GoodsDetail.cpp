#include "basicdata/GoodsDetail.h"

#include "basicdata/PictureImport.h"
#include "basicdata/QueryGoods.h"
#include "basicdata/QueryGys.h"
#include "core/Kinds.h"
#include "basicdata/RkPrice.h"
#include "core/Permissions.h"
#include "basicdata/StructureEditor.h"
#include "core/App.h"
#include "core/Settings.h"
#include "core/SettingsCatalogue.h"
#include "widgets/NumberBox.h"
#include "widgets/PictureViewer.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

namespace {

const char* const Captions[17] = {"编码",     "品名",       "所属类别", "计量单位", "规格型号", "当前库存均价",
                                  "备注",     "销售参考价", "库存底限", "库存上限", "初始数量", "初始金额",
                                  "",         "入库参考价", "费用率",   "供应商",   "存放位置"};

// Grid places of the boxes: row, column of the label (the box follows it).
struct Place {
    int txt;
    int lab;
    int row;
    int col;
};
constexpr Place Places[] = {{2, 2, 1, 0},   {4, 4, 1, 2},   {3, 3, 1, 4},  {8, 8, 2, 0},   {9, 9, 2, 2},
                            {10, 10, 3, 0}, {11, 11, 3, 2}, {5, 5, 3, 4},  {13, 14, 4, 0}, {12, 13, 4, 2},
                            {7, 7, 4, 4},   {6, 6, 5, 0},   {14, 16, 5, 4}, {15, 15, 6, 4}};

class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> onDouble) : QObject(parent), m_onDouble(std::move(onDouble)) {}
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonDblClick)
            m_onDouble();
        return QObject::eventFilter(o, e);
    }

private:
    std::function<void()> m_onDouble;
};

}  // namespace

GoodsDetail::GoodsDetail(App& app_, const QString& theHname_, QWidget* parent)
    : QWidget(parent), app(app_), theHname(theHname_)
{
    setObjectName(QStringLiteral("Frm"));
    build();
}

void GoodsDetail::build()
{
    grid = new QGridLayout(this);
    for (int i = 0; i < 17; ++i) {
        Lab[i] = new QLabel(QString::fromUtf8(Captions[i]), this);
        Lab[i]->setObjectName(QStringLiteral("Lab%1").arg(i));
    }
    for (int i = 0; i < 16; ++i) {
        Txt[i] = new QLineEdit(this);
        Txt[i]->setObjectName(QStringLiteral("Txt%1").arg(i));
        Txt[i]->setMaxLength(49);
        Txt[i]->setStyleSheet(QStringLiteral("QLineEdit { color: blue }"));
        Txt[i]->setReadOnly(i != 0);
    }
    Txt[0]->setMaxLength(50);
    Txt[6]->setMaxLength(3000);
    for (int i : {5, 7, 8, 9, 10, 11, 12, 13})
        new NumberBox(Txt[i]);
    CmbLB = new QComboBox(this);
    CmbLB->setObjectName(QStringLiteral("CmbLB"));
    CmbLB->setEditable(true);
    CmbLB->hide();
    CmbDW = new QComboBox(this);
    CmbDW->setObjectName(QStringLiteral("CmbDW"));
    CmbDW->setEditable(true);
    CmbDW->hide();
    // The choosers stand in for the category and unit boxes while editing
    // and take their room, whatever else the row shows.
    for (QComboBox* c : {CmbLB, CmbDW})
        c->setSizePolicy(Txt[2]->sizePolicy());
    TxtSL = new QLineEdit(this);
    TxtSL->setObjectName(QStringLiteral("TxtSL"));
    TxtSL->setReadOnly(true);
    LabSL = new QLabel(QStringLiteral("当前存量"), this);
    LabSL->setObjectName(QStringLiteral("LabSL"));
    LabPrice = new QLabel(QStringLiteral("当前设置：销售价格=成本价格 x 1"), this);
    LabPrice->setObjectName(QStringLiteral("LabPrice"));
    LabPrice->setStyleSheet(QStringLiteral("color: grey"));
    ChK = new QCheckBox(this);
    ChK->setObjectName(QStringLiteral("ChK"));
    ChK->setEnabled(false);
    CmdCopy = new QPushButton(QStringLiteral("根据其它") + app.ProductTerm + QStringLiteral("构成表复制"), this);
    CmdCopy->setObjectName(QStringLiteral("CmdCopy"));
    CmdCopy->hide();
    CmdQGys = new QPushButton(QStringLiteral("…"), this);
    CmdQGys->setObjectName(QStringLiteral("CmdQGys"));
    CmdQGys->setToolTip(QStringLiteral("查找货品编码资料"));
    CmdQGys->hide();
    Opt0 = new QRadioButton(QStringLiteral("按成本价合计"), this);
    Opt0->setObjectName(QStringLiteral("Opt0"));
    Opt1 = new QRadioButton(QStringLiteral("按销售价合计"), this);
    Opt1->setObjectName(QStringLiteral("Opt1"));
    Opt1->setChecked(true);
    const char* const bm[3] = {"以品名的拼音缩写做为编码", "连续增加货品时自动生成流水编码", "保存后自动增加下一条"};
    for (int i = 0; i < 3; ++i) {
        ChkBM[i] = new QCheckBox(QString::fromUtf8(bm[i]), this);
        ChkBM[i]->setObjectName(QStringLiteral("ChkBM%1").arg(i));
        ChkBM[i]->hide();
        connect(ChkBM[i], &QCheckBox::clicked, this, [this, i] { ChkBM_Click(i); });
    }
    Img = new QLabel(this);
    Img->setObjectName(QStringLiteral("Img"));
    Img->setFixedSize(180, 135);
    Img->setAlignment(Qt::AlignCenter);
    Img->setFrameShape(QFrame::Box);
    Img->installEventFilter(new ClickFilter(Img, [this] { Img_DblClick(); }));
    LabInfo = new QLabel(NoPictureText, this);
    LabInfo->setObjectName(QStringLiteral("LabInfo"));
    LabInfo->setWordWrap(true);
    LabInfo->setMaximumWidth(180);
    cmdOpen = new QPushButton(QStringLiteral("导入图片"), this);
    cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
    cmdOpen->hide();
    CmdShow = new QPushButton(QStringLiteral("查看图片"), this);
    CmdShow->setObjectName(QStringLiteral("CmdShow"));
    Structure = new StructureEditor(app, this);
    Structure->theHname = theHname;
    Structure->editing = [this] { return Edstu != 0; };
    Structure->productCode = [this] { return Txt[0]->text(); };
    Structure->hide();

    // Layout: code and name first, then the boxes in their rows, the
    // composite box and the structure; the picture on the right.
    placeCodeAndName(false);
    for (const Place& p : Places) {
        grid->addWidget(Lab[p.lab], p.row, p.col);
        grid->addWidget(Txt[p.txt], p.row, p.col + 1, 1, p.txt == 6 ? 3 : 1);
    }
    grid->addWidget(CmbLB, 1, 1);
    grid->addWidget(CmbDW, 1, 5);
    grid->addWidget(LabSL, 2, 4);
    grid->addWidget(TxtSL, 2, 5);
    grid->addWidget(CmdQGys, 6, 6);
    grid->addWidget(LabPrice, 6, 0, 1, 4);
    auto* composite = new QHBoxLayout;
    composite->addWidget(ChK);
    Lab[12]->installEventFilter(this);
    Lab[13]->installEventFilter(this);
    // Enter in a chooser moves on; the choosers are editable, so their text
    // boxes see the key first.
    for (QComboBox* c : {CmbLB, CmbDW}) {
        c->installEventFilter(this);
        c->lineEdit()->installEventFilter(this);
    }
    Lab[13]->setToolTip(QStringLiteral("点击这里查看历史参考价"));
    Lab[13]->setCursor(Qt::PointingHandCursor);
    Lab[14]->setToolTip(QStringLiteral("点击这里查看历史参考价"));
    Lab[14]->setCursor(Qt::PointingHandCursor);
    composite->addWidget(Lab[12]);
    composite->addWidget(CmdCopy);
    composite->addStretch();
    composite->addWidget(Opt0);
    composite->addWidget(Opt1);
    grid->addLayout(composite, 7, 0, 1, 7);
    grid->addWidget(Structure, 8, 0, 1, 8);
    auto* picture = new QVBoxLayout;
    picture->addWidget(Img);
    picture->addWidget(LabInfo);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdOpen);
    buttons->addWidget(CmdShow);
    picture->addLayout(buttons);
    picture->addStretch();
    grid->addLayout(picture, 0, 7, 8, 1);
    grid->setRowStretch(8, 1);

    connect(ChK, &QCheckBox::toggled, this, &GoodsDetail::ChK_Click);
    connect(Txt[1], &QLineEdit::textChanged, this, &GoodsDetail::nameChanged);
    connect(Txt[10], &QLineEdit::textChanged, this, &GoodsDetail::openingChanged);
    connect(Txt[11], &QLineEdit::textChanged, this, &GoodsDetail::openingChanged);
    connect(cmdOpen, &QPushButton::clicked, this, &GoodsDetail::Img_DblClick);
    connect(CmdShow, &QPushButton::clicked, this, &GoodsDetail::CmdShow_Click);
    connect(CmdCopy, &QPushButton::clicked, this, &GoodsDetail::CmdCopy_Click);
    connect(CmdQGys, &QPushButton::clicked, this, &GoodsDetail::CmdQGys_Click);
    connect(Opt0, &QRadioButton::clicked, this, [this] { if (Edstu == 0) LoadBomGrid(Txt[0]->text()); });
    connect(Opt1, &QRadioButton::clicked, this, [this] { if (Edstu == 0) LoadBomGrid(Txt[0]->text()); });
    connect(Structure->gdMx(), &Grid::doubleClicked_, this, [this](int, int) {
        const int r = Structure->curMxR();
        const QString code = Structure->gdMx()->textMatrix(r, 0);
        if (!code.isEmpty())
            ShowGoodsPicture(app, code, Structure->gdMx()->textMatrix(r, 1));
    });

    pinyinLoaded = pinyin.load(PinyinTable::filePath(app.AppFolder));
    ChkBM[0]->setEnabled(pinyinLoaded);
}

void GoodsDetail::settle(bool supplierMenuVisible, const QString& attributeName)
{
    const Database& db = app.CurrentDatabase;
    for (int i : {10, 11, 12, 13, 14, 15}) {
        Txt[i]->hide();
    }
    for (int i : {10, 11, 13, 14, 15, 16})
        Lab[i]->hide();
    fixedSupplier = SettingValue(db, SetFixedSupplier) == 1 &&
                    supplierMenuVisible;
    Txt[15]->setVisible(fixedSupplier);
    Lab[15]->setVisible(fixedSupplier);
    CmdQGys->setEnabled(fixedSupplier);
    Lab[16]->setText(attributeName);
    Txt[14]->setVisible(!attributeName.isEmpty());
    Lab[16]->setVisible(!attributeName.isEmpty());
    // Opening quantity and amount: shown, and typed only while adding (or by "001").
    for (int i : {10, 11}) {
        Txt[i]->show();
        Lab[i]->show();
    }
    if (app.WithPrices != 0) {
        if (!app.CanSeeCost) {
            Txt[5]->setEchoMode(QLineEdit::Password);
            Txt[11]->setEchoMode(QLineEdit::Password);
            Opt0->setEnabled(false);
        }
        if (!app.CanSeeProfit) {
            Txt[7]->setEchoMode(QLineEdit::Password);
            Opt1->setEnabled(false);
        }
        LabPrice->setText(QStringLiteral(" "));
    } else {
        for (QWidget* w : std::initializer_list<QWidget*>{Lab[5], Lab[7], Txt[5], Txt[7], LabPrice, Lab[11], Txt[11]})
            w->hide();
    }
    LabPrice->hide();
    const bool partWord = SqlScalar(db, QStringLiteral("SELECT setval FROM sysinfo WHERE id = ?"), {SetPartWord}) == QLatin1String("1");
    compositeAllowed = partWord && theHname != app.PartTerm;
    ChK->setVisible(compositeAllowed);
    Lab[12]->setVisible(compositeAllowed);
    Lab[12]->setText(QStringLiteral("该") + theHname + QStringLiteral("由其它") + app.PartTerm + QStringLiteral("组成"));
    if (app.isWarehouseEdition()) {
        Lab[7]->hide();
        Txt[7]->hide();
    }
    if (app.CanSeeCost)
        Opt0->setChecked(true);
    if (app.InboundRefPrice == 1) {
        Lab[13]->show();
        Txt[12]->show();
        if (theHname == app.ProductTerm && app.CostPlusFeePrice == 1) {
            Lab[14]->show();
            Txt[13]->show();
        }
    }
}

void GoodsDetail::placeCodeAndName(bool nameFirst)
{
    QWidget* first[2] = {Lab[0], Txt[0]};
    QWidget* second[2] = {Lab[1], Txt[1]};
    if (nameFirst)
        std::swap(first, second);
    for (QWidget* w : std::initializer_list<QWidget*>{Lab[0], Txt[0], Lab[1], Txt[1]})
        grid->removeWidget(w);
    grid->addWidget(first[0], 0, 0);
    grid->addWidget(first[1], 0, 1);
    grid->addWidget(second[0], 0, 2);
    grid->addWidget(second[1], 0, 3, 1, 3);
}

void GoodsDetail::ShowGoodsRecord(const QStringList& row)
{
    auto cell = [&](int c) { return c < row.size() ? row[c] : QString(); };
    const int from[] = {0, 1, 3, 4, 2, 5, 6, 8, 10, 11, 12, 13};
    for (int i = 0; i < 12; ++i)
        Txt[i]->setText(cell(from[i]));
    Txt[14]->setText(cell(15));
    const QString gys = cell(16);
    Txt[15]->setText(gys.isEmpty() ? QString()
                                   : gys + QLatin1Char('.') +
                                         SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT F2 FROM TA1 WHERE F1 = ?"), {gys}));
    Txt[10]->setText(NumText(BoxValue(Txt[10]->text())));
    TxtSL->setText(NumText(BoxValue(cell(14))));
    CmbLB->setEditText(cell(7).trimmed() + QLatin1Char('.') + Txt[2]->text().trimmed());
    const Database& db = app.CurrentDatabase;
    const QString code = Txt[0]->text();
    const ScalarAnswer ref = SqlScalarChecked(db, QStringLiteral("SELECT RkF7 FROM TA4 WHERE F1 = ?"), {code});
    Txt[12]->setText(ref.found() && !ref.text.isEmpty() ? FormatNumber(ref.text.toDouble(), app.PriceFormat) : QString());
    const ScalarAnswer fee = SqlScalarChecked(db, QStringLiteral("SELECT F701 FROM TA4 WHERE F1 = ?"), {code});
    Txt[13]->setText(fee.found() && !fee.text.isEmpty() ? FormatNumber(fee.text.toDouble(), QStringLiteral("#0.0000")) : QString());
    pictureRef = SqlScalar(db, QStringLiteral("SELECT F9 FROM TA4 WHERE F1 = ?"), {code.trimmed()});
    ChK->setChecked(!SqlScalar(db, QStringLiteral("SELECT F0 FROM Bom WHERE F0 = ?"), {code}).isEmpty());
    ChK_Click();
    Structure->SetLineGridHeader();
    if (ChK->isChecked())
        LoadBomGrid(code);
    showPicture(pictureRef);
}

void GoodsDetail::showPicture(const QString& reference)
{
    Img->clear();
    LabInfo->setText(NoPictureText);
    const QString path = ResolvePictureReference(app.AccountSetFolder, reference);
    if (path.isEmpty())
        return;
    const QPixmap pix(path);
    if (pix.isNull())
        return;
    Img->setPixmap(pix.scaled(Img->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    LabInfo->setText(path);
}

PriceBasis GoodsDetail::basis() const
{
    return Opt0->isChecked() ? PriceBasis::Cost : PriceBasis::Sale;
}

void GoodsDetail::LoadBomGrid(const QString& product)
{
    const double total = Structure->LoadBomGrid(product, basis(), Txt[3]->text());
    // While editing, the reference price follows the structure's cost; it is
    // stored by the save, never by the load.
    if (Edstu != 0 && total != 0 && app.CostPlusFeePrice == 1 && app.InboundRefPrice == 1 && basis() == PriceBasis::Cost) {
        const QString v = FormatNumber(total + BoxValue(Txt[13]->text()) * total, app.PriceFormat);
        if (BoxValue(v) != BoxValue(Txt[12]->text()))
            Txt[12]->setText(v);
    }
}

GoodsInput GoodsDetail::input() const
{
    GoodsInput in;
    in.code = Txt[0]->text();
    in.name = Txt[1]->text();
    in.category = CmbLB->currentText();
    in.unit = CmbDW->currentText();
    in.spec = Txt[4]->text();
    in.cost = Txt[5]->text();
    in.costEditable = Txt[5]->isVisible() && !Txt[5]->isReadOnly();
    in.remark = Txt[6]->text();
    in.salePrice = Txt[7]->text();
    in.minStock = Txt[8]->text();
    in.maxStock = Txt[9]->text();
    in.openingQty = Txt[10]->text();
    in.openingAmount = Txt[11]->text();
    in.refPrice = Txt[12]->text();
    in.feeRate = Txt[13]->text();
    in.location = Txt[14]->text();
    in.supplier = Txt[15]->text();
    in.supplierShown = fixedSupplier;
    in.picture = pictureRef.isEmpty() ? ImportPictureText : StoredPictureReference(app.AccountSetFolder, pictureRef);
    in.structureOffered = compositeAllowed;
    in.composite = ChK->isChecked();
    in.structure = Structure->lines();
    return in;
}

void GoodsDetail::applyOutcome(const GoodsSaveOutcome& out)
{
    const GoodsInput& c = out.cleaned;
    Txt[0]->setText(c.code);
    Txt[1]->setText(c.name);
    Txt[4]->setText(c.spec);
    Txt[6]->setText(c.remark);
    Txt[3]->setText(c.unit);
    if (!out.categoryName.isEmpty()) {
        CmbLB->setEditText(c.category);
        Txt[2]->setText(out.categoryName);
    }
    if (fixedSupplier)
        Txt[15]->setText(c.supplier);
    if (out.saved()) {
        Txt[5]->setText(FormatNumber(out.cost, app.PriceFormat));
        TxtSL->setText(NumText(out.stockQty));
        if (app.InboundRefPrice == 1)
            Txt[12]->setText(FormatNumber(out.refPrice, app.PriceFormat));
    } else {
        Txt[5]->setText(c.cost);
    }
}

void GoodsDetail::EnterEditMode(bool adding)
{
    for (int i = 1; i < 16; ++i) {
        Txt[i]->setReadOnly(false);
        if (adding)
            Txt[i]->clear();
    }
    Txt[0]->setReadOnly(false);
    if (!adding) {
        // Only "001" changes the opening figures of an existing goods; the
        // cost is typed only by an operator who may see it, for goods without stock.
        const bool admin = IsTopAdministrator(app);
        Txt[10]->setReadOnly(!admin);
        Txt[11]->setReadOnly(!admin);
        Txt[5]->setReadOnly(!app.CanSeeCost);
        const bool noStock = BoxValue(TxtSL->text()) == 0;
        Txt[5]->setVisible(noStock && app.WithPrices != 0);
        Lab[5]->setVisible(noStock && app.WithPrices != 0);
        if (admin && app.AdminEditStock)
            LabSL->setText(QStringLiteral("库存数量"));
        LabSL->hide();
        TxtSL->hide();
        ChkBM[1]->setChecked(false);
        ChkBM[2]->setChecked(false);
    }
    Txt[2]->hide();
    CmbLB->show();
    Txt[3]->hide();
    CmbDW->show();
    if (LabInfo->text() == NoPictureText || LabInfo->text().isEmpty())
        LabInfo->setText(ImportPictureText);
    if (app.WithPrices != 0)
        LabPrice->show();
    ChK->setEnabled(true);
    Opt0->setChecked(true);
    Opt1->setEnabled(false);
    CmdQGys->setVisible(fixedSupplier);
    CmdCopy->setVisible(ChK->isChecked());
    cmdOpen->show();
    ChkBM[0]->show();
}

void GoodsDetail::LeaveEditMode()
{
    ChK->setEnabled(false);
    for (int i = 1; i < 16; ++i)
        Txt[i]->setReadOnly(true);
    Txt[2]->show();
    CmbLB->hide();
    Txt[3]->show();
    CmbDW->hide();
    LabInfo->setText(NoPictureText);
    Edstu = 0;
    LabPrice->hide();
    LabSL->show();
    TxtSL->show();
    Lab[5]->setVisible(app.WithPrices != 0);
    Txt[5]->setVisible(app.WithPrices != 0);
    Structure->CmdQuery->hide();
    Structure->txtEnter()->hide();
    Opt0->setEnabled(app.CanSeeCost != 0);
    Opt1->setEnabled(app.CanSeeProfit != 0);
    for (QCheckBox* b : ChkBM)
        b->hide();
    CmdQGys->hide();
    CmdCopy->hide();
    cmdOpen->hide();
}

void GoodsDetail::clearForAdd()
{
    Txt[0]->clear();
    if (CmbLB->count() > 0)
        CmbLB->setCurrentIndex(0);
    Img->clear();
    pictureRef.clear();
    LabInfo->setText(ImportPictureText);
    TxtSL->setText(QStringLiteral("0"));
    TxtSL->hide();
    LabSL->hide();
    ChK->setChecked(false);
    ChK_Click();
    Structure->SetLineGridHeader();
    Txt[10]->clear();
    Txt[11]->clear();
    for (QCheckBox* b : ChkBM)
        b->show();
}

void GoodsDetail::ChK_Click()
{
    const bool on = ChK->isChecked();
    Structure->setVisible(on);
    const bool options = on && !app.isWarehouseEdition();
    Opt0->setVisible(options);
    Opt1->setVisible(options);
    Lab[12]->setText(QStringLiteral("该") + theHname + QStringLiteral("由其它") + app.PartTerm + QStringLiteral("组成") +
                     (on ? QStringLiteral("↓") : QString()));
    Lab[12]->setStyleSheet(on ? QStringLiteral("color: blue") : QStringLiteral("color: black"));
    CmdCopy->setVisible(on && Edstu > 0);
}

void GoodsDetail::ChkBM_Click(int index)
{
    if (index == 0) {
        if (ChkBM[0]->isChecked()) {
            ChkBM[1]->setChecked(false);
            placeCodeAndName(true);
            Txt[1]->setFocus();
        } else {
            placeCodeAndName(false);
        }
    } else if (index == 1 && ChkBM[1]->isChecked() && ChkBM[0]->isChecked()) {
        ChkBM[0]->setChecked(false);
        placeCodeAndName(false);
        QApplication::processEvents();
    }
}

void GoodsDetail::nameChanged()
{
    if (Edstu != 0 && ChkBM[0]->isChecked() && pinyinLoaded)
        Txt[0]->setText(pinyin.C(Txt[1]->text()));
}

void GoodsDetail::openingChanged()
{
    if (Edstu != 1)
        return;
    const double qty = BoxValue(Txt[10]->text());
    TxtSL->setText(NumText(qty));
    if (qty != 0)
        Txt[5]->setText(FormatNumber(BoxValue(Txt[11]->text()) / qty, app.PriceFormat));
}

void GoodsDetail::Img_DblClick()
{
    if (Edstu == 0)
        return;
    const QString file = Dialogs().openFile(QStringLiteral("导入") + theHname + QStringLiteral("图片"), QString(),
                                            QStringLiteral("图片文件 (*.jpg *.jpeg *.gif *.bmp *.png);;所有文件 (*)"));
    if (file.isEmpty()) {
        // Cancelling the choice is how a picture is taken off a goods.
        pictureRef.clear();
        LabInfo->setText(ImportPictureText);
        return;
    }
    const PictureImport imported = ImportGoodsPicture(app.AccountSetFolder, file, QDateTime::currentDateTime());
    if (!imported.ok()) {
        MsgBox(imported.error);
        return;
    }
    pictureRef = imported.reference;
    const QPixmap pix(file);
    Img->setPixmap(pix.scaled(Img->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    // The label names the file as the user finds it, never the stored token.
    LabInfo->setText(ResolvePictureReference(app.AccountSetFolder, imported.reference));
}

void GoodsDetail::CmdShow_Click()
{
    if (!Txt[0]->text().isEmpty())
        ShowGoodsPicture(app, Txt[0]->text(), Txt[1]->text());
}

void GoodsDetail::CmdCopy_Click()
{
    GoodsPickRequest request;
    request.onlyWithStructure = true;
    request.quickAdd = false;
    const QString product = PickGoods(app, request, window());
    QApplication::processEvents();
    if (product.isEmpty())
        return;
    if (!Structure->gdMx()->textMatrix(1, 1).isEmpty() &&
        MsgBox(QStringLiteral("系统将清空下面表格中已有的数据，并且把") + app.ProductTerm + QLatin1Char('[') + product +
                   QStringLiteral("]的构成表写入下面表格！\n\n确实要继续吗？"),
               MB::YesNo | MB::Question | MB::DefaultButton2) == MB::No)
        return;
    LoadBomGrid(product);
}

void GoodsDetail::CmdQGys_Click()
{
    const QString picked = PickUnit(app, window(), code(UnitKind::Supplier), QStringLiteral("供应商档案"), false);
    // "." is the picker's empty row: nothing chosen.
    if (!picked.isEmpty() && picked != QLatin1String("."))
        Txt[15]->setText(picked);
    Txt[15]->setFocus();
}

QList<QWidget*> GoodsDetail::enterTargets(int box) const
{
    // The reading order of the tab; a box the settings hide is passed over.
    switch (box) {
    case 0: return {Txt[1]};
    case 1: return {CmbLB};
    case 4: return {CmbDW};
    case 5: return {Txt[13], Txt[12], Txt[7], Txt[6]};
    case 6: return {Txt[14], Txt[15], Txt[0]};
    case 7: return {Txt[6]};
    case 8: return {Txt[9]};
    case 9: return {Txt[10]};
    case 10: return {Txt[11]};
    case 11: return {Txt[5], Txt[13], Txt[12], Txt[7], Txt[6]};
    case 12: return {Txt[7], Txt[6]};
    case 13: return {Txt[12]};
    case 14: return {Txt[15]};
    case 15: return {Txt[0]};
    default: return {};  // Txt(2), Txt(3): the choosers stand in their place
    }
}

bool GoodsDetail::eventFilter(QObject* watched, QEvent* event)
{
    const bool inLB = watched == CmbLB || watched == CmbLB->lineEdit();
    const bool inDW = watched == CmbDW || watched == CmbDW->lineEdit();
    if (event->type() == QEvent::KeyPress && (inLB || inDW)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            (inLB ? Txt[4] : Txt[8])->setFocus();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == Lab[12] && Edstu != 0)
            ChK->setChecked(!ChK->isChecked());
        if (watched == Lab[13] && !Txt[0]->text().isEmpty())
            ShowRkPriceHistory(app, SqlSafe(Txt[0]->text()), HasRight(app, RightBasicData, RightItem2), window());
    }
    if (event->type() == QEvent::Enter && watched == Lab[13]) {
        QFont f = Lab[13]->font();
        f.setUnderline(true);
        Lab[13]->setFont(f);
    }
    if (event->type() == QEvent::Leave && watched == Lab[13]) {
        QFont f = Lab[13]->font();
        f.setUnderline(false);
        Lab[13]->setFont(f);
    }
    return QWidget::eventFilter(watched, event);
}
