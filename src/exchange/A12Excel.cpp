#include "core/App.h"
#include "widgets/BusyPointer.h"
#include "exchange/ImportRuns.h"
#include "exchange/ImportWindows.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QComboBox>
#include <QLabel>

namespace {

const QChar CR(13);

ImportForm::Kind unitKind()
{
    ImportForm::Kind k;
    k.textSheetItem = QStringLiteral("Excel CSV表");
    k.runCaption = QStringLiteral("&S.保存");
    k.openTitle = QStringLiteral("请选择Excel文件");
    k.filter = QStringLiteral("Excel 工作簿(*.xlsx *.xls) (*.xlsx *.xls);;Excel CSV(*.csv) (*.csv);;所有文件(*.*) (*)");
    k.countPrefix = QStringLiteral("共有：");
    return k;
}

}  // namespace

A12ExcelForm::A12ExcelForm(App& a, UnitKind kind, QWidget* parent) : ImportForm(a, unitKind(), parent), LB(kind)
{
    setObjectName(QStringLiteral("A12Excel"));
    setWindowTitle(kind == UnitKind::Customer ? QStringLiteral("从Excel文件导入客户档案")
                                              : QStringLiteral("从Excel文件导入供应商档案"));
    const QStringList captions{QStringLiteral("单位编码："), QStringLiteral("单位名称："), QStringLiteral("地址："),
                               QStringLiteral("电话："),     QStringLiteral("传真："),     QStringLiteral("联系人："),
                               QStringLiteral("备注："),     QStringLiteral("年初应付：")};
    for (int k = 0; k < captions.size(); ++k)
        addMappingRow(k, k, captions.at(k), k / 4, k % 4);
    Lab[0]->setStyleSheet(QStringLiteral("color: red"));
    Lab[1]->setStyleSheet(QStringLiteral("color: red"));
    showHint(QStringLiteral("请选择Excel文件"));
    resize(900, 600);
}

void A12ExcelForm::run()
{
    if (!topAdministratorOnly())
        return;
    if (!loaded()) {
        MsgBox(QStringLiteral("请选择Excel文件读入数据，之后再进行保存！"));
        return;
    }
    if (mappingText(UCode).isEmpty()) {
        QString caption = Lab[0]->text();
        caption.chop(1);
        MsgBox(QStringLiteral("必须指定哪一列为") + caption + QStringLiteral("！"));
        return;
    }
    if (!mappingNamesColumns())
        return;
    if (MsgBox(QStringLiteral("此操作危险！如果已经存在编码相同的档案，旧的数据将被覆盖！建议您先备份现有数据，再进行本操作！") +
                   CR + CR + QStringLiteral("现在就开始保存新数据到系统中吗？"),
               MB::YesNo | MB::Question) != MB::Yes)
        return;
    showHint(QStringLiteral("正在把数据保存到系统中……"));
    UnitImportInput in;
    in.grid = Gd->gridModel();
    in.mapping = mappingTexts();
    in.kind = LB;
    ImportOutcome out;
    {
        BusyPointer busy;
        out = RunUnitImport(app.CurrentDatabase, in, [](int row, const QString& code, const QString& kindWord) {
            return MsgBox(QStringLiteral("第 %1 行中的[%2]在系统中已经做为%3编码！").arg(row).arg(code, kindWord) + CR + CR +
                              QStringLiteral("系统将跳过该行继续导入其它数据，点击<确定>系统继续，点击<取消>系统中止本操作！"),
                          MB::OKCancel | MB::Exclamation);
        });
    }
    imported = showOutcome(out) || imported;
}

bool A12Excel(App& app, UnitKind kind, QWidget* parent)
{
    A12ExcelForm form(app, kind, parent);
    form.exec();
    return form.imported;
}
