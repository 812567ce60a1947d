#include "core/App.h"
#include "widgets/BusyPointer.h"
#include "exchange/ImportRuns.h"
#include "exchange/ImportWindows.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/LineGridHost.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const QChar CR(13);
constexpr int HiddenColumnTwips = 5;

ImportForm::Kind lineKind()
{
    ImportForm::Kind k;
    k.txtIsText = true;
    k.textSheetItem = QStringLiteral("外部表");
    k.backupMenu = false;
    k.runCaption = QStringLiteral("&S.写入单据");
    k.openTitle = QStringLiteral("请选择Excel文件");
    k.filter = QStringLiteral("Excel 工作簿(*.xlsx *.xls) (*.xlsx *.xls);;Excel CSV(*.csv) (*.csv);;"
                              "逗号分隔文本文件(*.txt) (*.txt);;所有文件(*.*) (*)");
    k.countPrefix = QStringLiteral("共有 ");
    return k;
}

}  // namespace

DanExcelForm::DanExcelForm(App& a, LineGridHost& host, const LineImportLayout& l, QWidget* parent)
    : ImportForm(a, lineKind(), parent), Loader(host), layout(l), PD(l.stocktaking ? 1 : 0)
{
    setObjectName(QStringLiteral("DanExcel"));
    setWindowTitle(QStringLiteral("以Excel导入方式录入数据"));
    Stb = new QStatusBar(this);
    Stb->setObjectName(QStringLiteral("Stb"));
    Stb1 = new QLabel(Stb);
    Stb1->setObjectName(QStringLiteral("Stb1"));
    Stb2 = new QLabel(Stb);
    Stb2->setObjectName(QStringLiteral("Stb2"));
    Stb->addWidget(Stb1, 1);
    Stb->addWidget(Stb2, 1);
    QDialog::layout()->addWidget(Stb);

    const bool attr = !app.HpsxName.isEmpty();
    Grid* gd = host.GdMx();
    const QStringList captions{app.GoodsTerm + QStringLiteral("编码"), gd->textMatrix(0, l.qty),
                               QStringLiteral("单价"), QStringLiteral("金额"), app.HpsxName, QStringLiteral("备注")};
    for (int k = 0; k < captions.size(); ++k) {
        // Without an attribute the remark row takes the attribute row's place.
        const int place = !attr && k == 5 ? 4 : k;
        addMappingRow(k, k, captions.at(k), 0, place);
    }
    Lab[0]->setStyleSheet(QStringLiteral("color: red"));
    const int columnOf[] = {0, l.qty, l.price, l.amount, l.attr, l.remark};
    for (int k = 1; k <= 4; ++k) {
        const bool hidden = (k == 4 && !attr) || (l.stocktaking && (k == 2 || k == 3)) ||
                            gd->colWidth(columnOf[k]) < HiddenColumnTwips;
        Lab[k]->setVisible(!hidden);
        CmbCol[k]->setVisible(!hidden);
    }
    showHint(QStringLiteral("请点击[…]按钮选择Excel文件"));
    resize(760, 480);
}

void DanExcelForm::showHint(const QString& text) { Stb1->setText(text); }

void DanExcelForm::showProgress(const QString& text) { Stb2->setText(text); }

QString DanExcelForm::closeQuestion() const
{
    return QStringLiteral("您尚未完成Excel数据导入工作，请在正确设置后点击[") + Menu_Run->text().mid(3) +
           QStringLiteral("]。") + CR + CR + QStringLiteral("如果现在退出本窗口，将取消本次导入操作。") + CR + CR +
           QStringLiteral("确定要退出吗？");
}

void DanExcelForm::run()
{
    if (!loaded()) {
        MsgBox(QStringLiteral("请先选择Excel文件，之后再进行写入操作！"));
        return;
    }
    if (mappingText(LCode).isEmpty()) {
        MsgBox(QStringLiteral("必须指定哪一列为") + Lab[0]->text() + QStringLiteral("！"));
        return;
    }
    if (!mappingNamesColumns())
        return;
    showHint(QStringLiteral("正在写入单据明细……"));
    LineImportOutcome out;
    {
        BusyPointer busy;
        setEnabled(false);
        out = RunLineImport(app, Loader, layout, *Gd->gridModel(), mappingTexts(), [] { QApplication::processEvents(); });
        setEnabled(true);
    }
    const QString code = Lab[0]->text();
    // Rows whose figures are no numbers: said row by row, first the first few.
    QString problems;
    if (!out.problems.isEmpty())
        problems = QStringLiteral("\n\n以下 %1 行数据的数字无效，没有写入单据：\n").arg(out.problems.size()) +
                   out.problems.mid(0, 10).join(QLatin1Char('\n')) +
                   (out.problems.size() > 10 ? QStringLiteral("\n……") : QString());
    if (out.written == 0 && !problems.isEmpty()) {
        MsgBox(QStringLiteral("导入数据失败！") + problems);
        return;
    }
    if (out.written == 0) {
        showHint(QStringLiteral("导入失败，请检查") + code + QStringLiteral("等项目是否对应正确的列"));
        MsgBox(QStringLiteral("导入数据失败！可能是系统基础数据中不存在您导入的") + app.GoodsTerm +
               QStringLiteral("档案，或您的设置有误！"));
        return;
    }
    QString text = QStringLiteral("成功写入 %1 行数据").arg(out.written);
    if (out.missing > 0)
        text += QStringLiteral("，有 %1 行数据因为系统内不存在指定的%2而无法写入单据").arg(out.missing).arg(code);
    if (out.refused > 0)
        text += QStringLiteral("，有 %1 行数据被单据拒绝（如重复的%2）而没有写入").arg(out.refused).arg(code);
    MsgBox(text + QStringLiteral("！") + problems);
    showHint(QStringLiteral("数据已成功写入单据，请点击[返回]继续编辑单据"));
    clearGrid();
    Loader.PubSql() = QStringLiteral("OK");
}

void DanExcel(App& app, LineGridHost& host, const LineImportLayout& layout, const QString& caption, QWidget* parent)
{
    DanExcelForm form(app, host, layout, parent);
    form.setWindowTitle(caption);
    form.exec();
}
