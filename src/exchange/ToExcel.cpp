#include "exchange/ToExcel.h"

#include "core/App.h"
#include "widgets/BusyPointer.h"
#include "core/Files.h"
#include "core/MainFrame.h"
#include "exchange/GridExport.h"
#include "platform/Dialogs.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "platform/Spreadsheet.h"
#include "platform/UserSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString Done = QStringLiteral("数据导出完成！");
const QString ExportCaption = QStringLiteral("导出数据");
const QString OpenCaption = QStringLiteral("打开文件");
constexpr int PictureQuestionRows = 1000;
const QChar CR(13);

}  // namespace

ToExcelForm::ToExcelForm(App& a, GridExportSource source, const QString& name, QWidget* parent)
    : QDialog(parent), app(a), src(std::move(source)), TName(name)
{
    setObjectName(QStringLiteral("ToExcel"));
    setWindowTitle(ExportCaption);
    CmbLX = new QComboBox(this);
    CmbLX->setObjectName(QStringLiteral("CmbLX"));
    Cmb = new QComboBox(this);
    Cmb->setObjectName(QStringLiteral("Cmb"));
    Txt = new QLineEdit(this);
    Txt->setObjectName(QStringLiteral("Txt"));
    CmdSaveTo = new QPushButton(QStringLiteral("浏览"), this);
    CmdSaveTo->setObjectName(QStringLiteral("CmdSaveTo"));
    Cmd0 = new QPushButton(ExportCaption, this);
    Cmd0->setObjectName(QStringLiteral("Cmd0"));
    Cmd1 = new QPushButton(QStringLiteral("返回上层"), this);
    Cmd1->setObjectName(QStringLiteral("Cmd1"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("文件类型:"), CmbLX);
    form->addRow(QStringLiteral("Excel版本:"), Cmb);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(Txt, 1);
    pathRow->addWidget(CmdSaveTo);
    form->addRow(QStringLiteral("保存到:"), pathRow);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cmd0);
    buttons->addWidget(Cmd1);
    auto* box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addLayout(buttons);
    resize(520, 180);

    // The workbook versions are kept so that the remembered choice reads the
    // same; every version writes the one .xlsx format.
    Cmb->addItems({QStringLiteral("EXCEL 8.0"), QStringLiteral("EXCEL 7.0"), QStringLiteral("EXCEL 5.0")});
    CmbLX->addItems({QStringLiteral("Excel 工作簿(*.xlsx)"), QStringLiteral("Excel CSV(逗号分隔)(*.csv)"),
                     QStringLiteral("图片文件(*.jpg)")});
    const int stored = GetSetting(settingApp(), settingSection(), settingKey()).trimmed().toInt();
    if (stored == 8) {
        CmbLX->setCurrentIndex(1);
        Cmb->setCurrentIndex(0);
    } else if (stored == 9) {
        CmbLX->setCurrentIndex(2);
        Cmb->setCurrentIndex(0);
    } else {
        CmbLX->setCurrentIndex(0);
        Cmb->setCurrentIndex(stored >= 0 && stored < Cmb->count() ? stored : -1);
    }

    connect(CmbLX, &QComboBox::currentIndexChanged, this, [this] {
        if (!Txt->text().isEmpty())
            ApplyTypeExtension();
    });
    connect(CmdSaveTo, &QPushButton::clicked, this, &ToExcelForm::browse);
    connect(Cmd0, &QPushButton::clicked, this, [this] {
        if (exported)
            OpenExportedFile();
        else
            exportClicked();
    });
    connect(Cmd1, &QPushButton::clicked, this, &QDialog::reject);
}

QString ToExcelForm::extension(int type) const
{
    switch (type) {
    case 0:
        return QStringLiteral(".xlsx");
    case 1:
        return QStringLiteral(".csv");
    default:
        return QStringLiteral(".jpg");
    }
}

void ToExcelForm::ApplyTypeExtension()
{
    QString path = Txt->text();
    const int slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString namePart = path.mid(slash + 1);
    if (namePart.contains(QLatin1Char('.')))
        path.truncate(path.lastIndexOf(QLatin1Char('.')));
    Txt->setText(path + extension(CmbLX->currentIndex()));
}

void ToExcelForm::browse()
{
    const QString filter = QStringLiteral("Excel 工作簿(*.xlsx) (*.xlsx);;Excel CSV(逗号分隔)(*.csv) (*.csv);;图片文件(*.jpg) (*.jpg)");
    QString proposed = Txt->text();
    if (proposed.isEmpty() && !TName.isEmpty())
        proposed = TName + extension(CmbLX->currentIndex());
    const QString chosen = Dialogs().saveFile(QStringLiteral("导出数据保存到..."), proposed, filter);
    if (chosen.isEmpty())
        return;
    if (!FileExists(chosen).isEmpty()) {
        MsgBox(QStringLiteral("目标文件夹存在同名文件，请更换文件名！"));
        return;
    }
    Txt->setText(chosen);
    const QString upper = chosen.toUpper();
    int type = CmbLX->currentIndex();
    if (chosen.size() > 6) {
        if (upper.endsWith(QLatin1String(".XLSX")) || upper.endsWith(QLatin1String(".XLS")))
            type = 0;
        else if (upper.endsWith(QLatin1String(".CSV")))
            type = 1;
        else if (upper.endsWith(QLatin1String(".BMP")) || upper.endsWith(QLatin1String(".JPG")) ||
                 upper.endsWith(QLatin1String(".JPEG")))
            type = 2;
    }
    const QSignalBlocker block(CmbLX);
    CmbLX->setCurrentIndex(type);
    ApplyTypeExtension();
}

void ToExcelForm::exportClicked()
{
    const QString path = Txt->text();
    if (path.isEmpty()) {
        MsgBox(QStringLiteral("请首先选择文件保存位置!"));
        return;
    }
    if (!FileExists(path).isEmpty()) {
        MsgBox(QStringLiteral("已经存在[") + path +
               QStringLiteral("]这个文件，请点击[浏览]按钮重新设置文件存放位置及文件名。"));
        return;
    }
    QString note;
    setEnabled(false);
    const bool ok = runExport(note);
    setEnabled(true);
    if (!ok)
        return;
    // Completion is reported only now that the file stands under its name.
    setWindowTitle(Done);
    CmdSaveTo->setEnabled(false);
    Cmb->setEnabled(false);
    CmbLX->setEnabled(false);
    Cmd0->setText(OpenCaption);
    exported = true;
    MsgBox(note.isEmpty() ? Done : Done + CR + CR + note);
}

bool ToExcelForm::runExport(QString& note)
{
    const QString path = Txt->text();
    const int type = CmbLX->currentIndex();
    int step = 1;
    try {
        auto progress = [this](const QString& prefix) {
            return [this, prefix](int row) {
                if (row % 256 == 0) {
                    setWindowTitle(prefix.arg(row));
                    QApplication::processEvents();
                }
            };
        };
        if (type == 2) {
            step = 3;
            if (src.grid->rows() > PictureQuestionRows &&
                MsgBox(QStringLiteral("您要导出的数据行数超过1000条，以图片格式保存图片尺寸会比较大，建议您改用Excel文件格式。") +
                           CR + CR + QStringLiteral("确定要继续保存图片文件吗？"),
                       MB::OKCancel | MB::Information) != MB::OK)
                return false;
            BusyPointer busy;
            ExportGridToPicture(src.grid, path);
        } else if (type == 1) {
            step = 2;
            note = ExportGridToCsv(src, path, progress(QStringLiteral("正在导出第 %1 行")));
        } else {
            step = 1;
            if (Cmb->currentIndex() < 0)
                Cmb->setCurrentIndex(0);
            ExportGridToWorkbook(src, path, progress(QStringLiteral("正在读取第 %1 行")));
        }
        return true;
    } catch (const SpreadsheetError& e) {
        setWindowTitle(ExportCaption);
        MsgBox(e.message());
    } catch (const std::exception& e) {
        setWindowTitle(ExportCaption);
        const QString text = QString::fromUtf8(e.what());
        if (!WriteErrorLog(app, QStringLiteral("ToExcel"), step, text + CR))
            MsgBox(text, MB::OKOnly | MB::Information, QString::number(step));
    }
    return false;
}

void ToExcelForm::OpenExportedFile()
{
    const QString path = Txt->text().trimmed();
    if (path.isEmpty())
        return;
    if (FileExists(path).isEmpty()) {
        MsgBox(QStringLiteral("指定文件已经被移除！"));
        return;
    }
    if (!OpenDocument(path))
        MsgBox(QStringLiteral("您的系统不支持由程序直接打开文件、或没有安装相关应用程序，") + CR + CR +
               QStringLiteral("请您到文件夹中尝试鼠标双击该文件打开文件。"));
}

void ToExcelForm::done(int r)
{
    const int type = CmbLX->currentIndex();
    const int kind = type > 0 ? 7 + type : Cmb->currentIndex();
    const QString stored = GetSetting(settingApp(), settingSection(), settingKey());
    if (kind >= 0 && stored.trimmed().toInt() != kind)
        SaveSetting(settingApp(), settingSection(), settingKey(), QString::number(kind));
    QDialog::done(r);
}

void ToExcel(App& app, Grid* grid, const QString& name, const QString& header, const QString& footer,
             int firstDataRow, QWidget* parent)
{
    GridExportSource src;
    src.grid = grid;
    src.colKinds = app.ExportColKinds;
    src.header = header;
    src.footer = footer;
    src.firstDataRow = firstDataRow;
    ToExcelForm form(app, std::move(src), name, parent ? parent : (app.MainWindow ? app.MainWindow->widget() : nullptr));
    form.exec();
}

void SetExportColKinds(App& app, const Grid* grid, const QList<int>& numericColumns)
{
    app.ExportColKinds = QVector<qint16>(grid->cols() + 1, 0);
    for (int c : numericColumns)
        if (c >= 0 && c < app.ExportColKinds.size())
            app.ExportColKinds[c] = 1;
}
