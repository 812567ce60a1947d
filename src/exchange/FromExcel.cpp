#include "core/App.h"
#include "widgets/BusyPointer.h"
#include "core/SqlText.h"
#include "exchange/ImportRuns.h"
#include "exchange/ImportWindows.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

const QChar CR(13);
// Settings rows the goods window consults before it opens the goods import.
constexpr int SetPartWord = 92;
constexpr int SetExtraGoodsAttr = 7714;
constexpr int SetFixedSupplier = 7715;

ImportForm::Kind goodsKind(const App& app)
{
    ImportForm::Kind k;
    k.textSheetItem = QStringLiteral("Excel CSV表");
    k.runCaption = QStringLiteral("&S.保存");
    k.openTitle = QStringLiteral("请选择") + app.GoodsTerm + QStringLiteral("列表文件");
    k.filter = QStringLiteral("Excel 工作簿(*.xlsx *.xls) (*.xlsx *.xls);;Excel CSV(*.csv) (*.csv);;所有文件(*.*) (*)");
    k.countPrefix = QStringLiteral("共有：");
    return k;
}

}  // namespace

FromExcelForm::FromExcelForm(App& a, QWidget* parent) : ImportForm(a, goodsKind(a), parent)
{
    setObjectName(QStringLiteral("FromExcel"));
    setWindowTitle(QStringLiteral("从EXCEL文件导入") + app.GoodsTerm + QStringLiteral("资料"));
    const QStringList captions{app.GoodsTerm + QStringLiteral("编码："), app.GoodsTerm + QStringLiteral("名称："),
                               QStringLiteral("类别名称："), QStringLiteral("单位："), QStringLiteral("规格型号："),
                               QStringLiteral("备注信息："), QStringLiteral("金额："), QStringLiteral("成本单价："),
                               QStringLiteral("类别编码："), QStringLiteral("年初存量："), QStringLiteral("最低库存："),
                               QStringLiteral("最高库存："), QStringLiteral("销价："), QStringLiteral("产地："),
                               QStringLiteral("供应商编码："), QStringLiteral("入库参考价："), QStringLiteral("费用率："),
                               QStringLiteral("供应商名称：")};
    for (int k = 0; k < captions.size(); ++k) {
        const int label = k < 12 ? k : k + 2;
        addMappingRow(k, label, captions.at(k), k / 6, k % 6);
    }
    if (Lab.size() < 14)
        Lab.resize(20);
    auto addDefault = [this](int labelIndex, const QString& caption, const char* name, int col) {
        auto* label = new QLabel(caption, Frm);
        label->setObjectName(QStringLiteral("Lab%1").arg(labelIndex));
        label->setStyleSheet(QStringLiteral("color: red"));
        Lab[labelIndex] = label;
        auto* edit = new QLineEdit(Frm);
        edit->setObjectName(QLatin1String(name));
        mappingLayout()->addWidget(label, 3, col * 2, Qt::AlignRight);
        mappingLayout()->addWidget(edit, 3, col * 2 + 1);
        return edit;
    };
    txtLB0 = addDefault(12, QStringLiteral("默认类别编码"), "txtLB0", 0);
    txtLB1 = addDefault(13, QStringLiteral("默认类别名称"), "txtLB1", 1);
    Lab[0]->setStyleSheet(QStringLiteral("color: red"));
    Lab[1]->setStyleSheet(QStringLiteral("color: red"));

    const RecordSet first = app.CurrentDatabase.query(QStringLiteral("SELECT F1, F2 FROM TA3 ORDER BY rowid LIMIT 1"));
    if (first.isEmpty()) {
        txtLB0->setText(QStringLiteral("001"));
        txtLB1->setText(app.GoodsTerm + QStringLiteral("其它"));
    } else {
        txtLB0->setText(first.text(0, 0));
        txtLB1->setText(first.text(0, 1));
    }
    showRow(12, !app.isWarehouseEdition());
    for (int k = 13; k <= 17; ++k)
        showRow(k, false);
    showHint(QStringLiteral("请选择Excel文件"));
    resize(900, 600);
}

void FromExcelForm::showRow(int k, bool on)
{
    CmbCol[k]->setVisible(on);
    Lab[k < 12 ? k : k + 2]->setVisible(on);
}

void FromExcelForm::run()
{
    if (!topAdministratorOnly())
        return;
    if (!loaded()) {
        MsgBox(QStringLiteral("请选择Excel文件，选择工作表，读入数据，之后再执行导入！"));
        return;
    }
    if (txtLB0->text().trimmed().isEmpty() || txtLB1->text().trimmed().isEmpty()) {
        MsgBox(QStringLiteral("请输入默认的类列编码及名称，如果Excel数据中类别栏为空，则按默认类列处理。"));
        return;
    }
    if (mappingText(GCode).isEmpty()) {
        MsgBox(QStringLiteral("必须指定哪一列为") + app.GoodsTerm + QStringLiteral("编码数据！"));
        return;
    }
    if (!mappingNamesColumns())
        return;
    if (MsgBox(QStringLiteral("此操作危险！可能会改变系统内存在的部份信息。建议您先备份现有数据，再导入新数据！") + CR + CR +
                   QStringLiteral("现在就开始导入新数据吗？"),
               MB::YesNo | MB::Question) != MB::Yes)
        return;
    showHint(QStringLiteral("正在把数据导入到系统中……"));
    GoodsImportInput in;
    in.grid = Gd->gridModel();
    in.mapping = mappingTexts();
    in.defaultCategoryCode = txtLB0->text().trimmed();
    in.defaultCategoryName = txtLB1->text().trimmed();
    in.goodsClass = FCPLJ;
    ImportOutcome out;
    {
        BusyPointer busy;
        out = RunGoodsImport(app.CurrentDatabase, in, [](const QString& code) {
            return MsgBox(QStringLiteral("系统内不存在[") + code +
                              QStringLiteral("]这个供应商，是否允许程序自动添加这个供应商？") + CR +
                              QStringLiteral("以下再有相同情况均按照您这次的选择处理。"),
                          MB::YesNoCancel | MB::Question | MB::DefaultButton3);
        });
    }
    imported = showOutcome(out) || imported;
}

bool FromExcel(App& app, const QString& goodsWord, QWidget* parent)
{
    FromExcelForm form(app, parent);
    const Database& db = app.CurrentDatabase;
    auto setval = [&db](int id) {
        return db.scalar(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = ? LIMIT 1"), {id}).toDouble();
    };
    form.FCPLJ = setval(SetPartWord) == 1 && goodsWord != app.PartTerm ? code(GoodsClass::Product) : code(GoodsClass::Part);
    const QString extra = db.scalar(QStringLiteral("SELECT setstr FROM sysinfo WHERE ID = ? LIMIT 1"), {SetExtraGoodsAttr})
                              .toString()
                              .trimmed();
    if (!extra.isEmpty()) {
        form.Lab[15]->setText(extra + QStringLiteral(":"));
        form.showRow(13, true);
    }
    if (app.Menus.isVisible(QStringLiteral("Menu_AA0")) && setval(SetFixedSupplier) == 1) {
        form.showRow(14, true);
        form.showRow(17, true);
    }
    if (app.InboundRefPrice == 1) {
        form.showRow(15, true);
        if (goodsWord == app.ProductTerm && app.CostPlusFeePrice == 1)
            form.showRow(16, true);
    }
    form.exec();
    return form.imported;
}
