#include "exchange/ImportForm.h"

#include "core/App.h"
#include "core/Permissions.h"
#include "widgets/BusyPointer.h"
#include "widgets/GridBehaviours.h"
#include "widgets/GridColumnAutoWiden.h"
#include "core/WindowRegistry.h"
#include "core/MainFrame.h"
#include "core/SqlText.h"
#include "exchange/ImportRuns.h"
#include "platform/Dialogs.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "platform/Spreadsheet.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace {
const QChar CR(13);
}

ImportForm::ImportForm(App& a, const Kind& kind, QWidget* parent) : QDialog(parent), app(a), m_kind(kind)
{
    Menu = new QMenuBar(this);
    Menu->setObjectName(QStringLiteral("Menu"));
    auto action = [this](const char* name, const QString& caption) {
        QAction* act = Menu->addAction(caption);
        act->setObjectName(QLatin1String(name));
        return act;
    };
    if (kind.backupMenu)
        Menu_back = action("Menu_back", QStringLiteral("&B.备份系统数据"));
    Menu_del = action("Menu_del", QStringLiteral("&D.删除行"));
    Menu_Run = action("Menu_Run", kind.runCaption);
    Menu_help = action("Menu_help", QStringLiteral("&H.使用说明"));
    Menu_R = action("Menu_R", QStringLiteral("&R.返回"));

    Frm = new QFrame(this);
    Frm->setObjectName(QStringLiteral("Frm"));
    auto* top = new QGridLayout(Frm);
    auto* label0 = new QLabel(QStringLiteral("Excel文件："), Frm);
    label0->setObjectName(QStringLiteral("Label1_0"));
    TxtFile = new QLineEdit(Frm);
    TxtFile->setObjectName(QStringLiteral("TxtFile"));
    CmdOpen = new QPushButton(QStringLiteral("…"), Frm);
    CmdOpen->setObjectName(QStringLiteral("CmdOpen"));
    auto* label1 = new QLabel(QStringLiteral("工作表名称："), Frm);
    label1->setObjectName(QStringLiteral("Label1_1"));
    TxtTAB = new QComboBox(Frm);
    TxtTAB->setObjectName(QStringLiteral("TxtTAB"));
    Cmdrst = new QPushButton(QStringLiteral("读取数据"), Frm);
    Cmdrst->setObjectName(QStringLiteral("Cmdrst"));
    // Enter in a box of the window (a column letter typed) is no click on a
    // button: in a dialog, buttons would take it as its default button.
    for (QPushButton* b : {CmdOpen, Cmdrst})
        b->setAutoDefault(false);
    top->addWidget(label0, 0, 0);
    top->addWidget(TxtFile, 0, 1, 1, 3);
    top->addWidget(CmdOpen, 0, 4);
    top->addWidget(label1, 0, 5);
    top->addWidget(TxtTAB, 0, 6);
    top->addWidget(Cmdrst, 0, 7);
    m_mapping = new QGridLayout;
    top->addLayout(m_mapping, 1, 0, 1, 8);

    Gd = new Grid(this);
    Gd->setObjectName(QStringLiteral("Gd"));
    Gd->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Gd->setRows(1);
    Gd->setCols(1);

    auto* box = new QVBoxLayout(this);
    box->setMenuBar(Menu);
    box->addWidget(Frm);
    box->addWidget(Gd, 1);

    connect(CmdOpen, &QPushButton::clicked, this, &ImportForm::chooseFile);
    connect(Cmdrst, &QPushButton::clicked, this, &ImportForm::readSheet);
    connect(TxtTAB, &QComboBox::activated, this, [this] {
        if (!isTextSource(TxtFile->text())) {
            readSheet();
            Gd->setFocus();
        }
    });
    connect(Menu_del, &QAction::triggered, this, &ImportForm::deleteRow);
    connect(Menu_Run, &QAction::triggered, this, [this] { run(); });
    connect(Menu_help, &QAction::triggered, this, &ImportForm::help);
    connect(Menu_R, &QAction::triggered, this, &QDialog::reject);
    if (Menu_back)
        connect(Menu_back, &QAction::triggered, this, [this] {
            OpenWindow(app, QStringLiteral("Menu_zbbf"));
        });
    connect(Gd, &Grid::rowColChanged, this, [this](int row, int col) {
        FitGridColumn(app, Gd, col, Gd->textMatrix(row, col));
    });
}

QComboBox* ImportForm::addMappingRow(int k, int labelIndex, const QString& caption, int gridRow, int gridCol)
{
    if (CmbCol.size() <= k)
        CmbCol.resize(k + 1);
    if (Lab.size() <= labelIndex)
        Lab.resize(labelIndex + 1);
    auto* label = new QLabel(caption, Frm);
    label->setObjectName(QStringLiteral("Lab%1").arg(labelIndex));
    auto* combo = new QComboBox(Frm);
    combo->setObjectName(QStringLiteral("CmbCol%1").arg(k));
    combo->setEditable(true);
    combo->setMinimumContentsLength(4);
    // Typed column letters are always capitals.
    connect(combo->lineEdit(), &QLineEdit::textEdited, combo, [combo](const QString& t) {
        const QString up = t.toUpper();
        if (up != t)
            combo->lineEdit()->setText(up);
    });
    m_mapping->addWidget(label, gridRow, gridCol * 2, Qt::AlignRight);
    m_mapping->addWidget(combo, gridRow, gridCol * 2 + 1);
    Lab[labelIndex] = label;
    CmbCol[k] = combo;
    if (m_rowLabel.size() <= k)
        m_rowLabel.resize(k + 1);
    m_rowLabel[k] = label;
    return combo;
}

QString ImportForm::mappingText(int k) const
{
    const QComboBox* c = CmbCol.value(k);
    return c && !c->isHidden() ? c->currentText().trimmed() : QString();
}

QStringList ImportForm::mappingTexts() const
{
    QStringList out;
    for (int k = 0; k < CmbCol.size(); ++k)
        out << mappingText(k);
    return out;
}

QStringList ImportForm::mappingCaptions() const
{
    QStringList out;
    for (int k = 0; k < CmbCol.size(); ++k)
        out << (m_rowLabel.value(k) ? m_rowLabel[k]->text() : QString());
    return out;
}

bool ImportForm::loaded() const { return !Gd->textMatrix(0, 0).isEmpty(); }

void ImportForm::clearGrid() { Gd->clear(); }

void ImportForm::showHint(const QString& text)
{
    if (app.MainWindow)
        app.MainWindow->setStatusText(4, text);
}

void ImportForm::showProgress(const QString& text) { showHint(text); }

bool ImportForm::isTextSource(const QString& path) const
{
    const QString up = path.toUpper();
    return path.size() >= 5 && (up.endsWith(QLatin1String(".CSV")) || (m_kind.txtIsText && up.endsWith(QLatin1String(".TXT"))));
}

void ImportForm::chooseFile()
{
    const QString path = Dialogs().openFile(m_kind.openTitle, app.AppFolder, m_kind.filter);
    if (path.isEmpty())
        return;
    openSource(path);
}

void ImportForm::openSource(const QString& path)
{
    TxtFile->setText(path);
    TxtTAB->clear();
    try {
        if (isTextSource(path)) {
            readText(path);
            return;
        }
        const QStringList names = SheetNames(path);
        TxtTAB->addItems(names);
        TxtTAB->setCurrentIndex(0);
        readSheet();
    } catch (const SpreadsheetError& e) {
        TxtTAB->clear();
        MsgBox(e.message());
    }
}

void ImportForm::readText(const QString& path)
{
    QVector<QStringList> lines;
    {
        BusyPointer busy;
        showProgress(QStringLiteral("正在读入数据……"));
        lines = ReadTextFile(path);  // throws before the grid is touched
    }
    int width = 1;
    for (const QStringList& l : lines)
        width = qMax(width, int(l.size()));
    const int dataRows = int(lines.size()) + 1;  // one empty row after the last line
    std::vector<QString> cells(size_t(dataRows) * size_t(width));
    for (int r = 0; r < lines.size(); ++r)
        for (int c = 0; c < lines[r].size(); ++c)
            cells[size_t(r) * size_t(width) + size_t(c)] = lines[r][c];
    Gd->clear();
    Gd->setCols(width);
    Gd->load(dataRows, width, std::move(cells));
    for (int c = 0; c < width; ++c)
        Gd->setTextMatrix(0, c, QString(QChar(u'A' + c)));
    showProgress(QStringLiteral("读入了 %1 行数据").arg(lines.size()));
    TxtTAB->addItem(m_kind.textSheetItem);
    TxtTAB->setCurrentIndex(0);
    fillMappingLists();
}

void ImportForm::readSheet()
{
    const QString path = TxtFile->text();
    const QString sheet = TxtTAB->currentText().trimmed();
    if (path.isEmpty() || sheet.isEmpty())
        return;
    BusyPointer busy;
    showProgress(QStringLiteral("正在读入数据……"));
    QVector<QStringList> rows;
    try {
        rows = ReadSheet(path, sheet);
    } catch (const SpreadsheetError& e) {
        showProgress(QStringLiteral("请检查工作表名称，重新读入数据"));
        MsgBox(e.message(), MB::OKOnly | MB::Information, app.AppTitle);
        return;
    }
    // The sheet's first row names the fields and is not data.
    const int fields = rows.isEmpty() ? 0 : int(rows.first().size());
    if (rows.size() > 1) {
        const int cols = fields + 1;  // the last grid column stays empty
        std::vector<QString> cells(size_t(rows.size() - 1) * size_t(cols));
        for (int r = 1; r < rows.size(); ++r)
            for (int c = 0; c < fields; ++c)
                cells[size_t(r - 1) * size_t(cols) + size_t(c)] = rows[r].value(c).trimmed();
        Gd->clear();
        Gd->setCols(cols);
        Gd->load(int(rows.size()) - 1, cols, std::move(cells));
    }
    for (int c = 0; c < Gd->cols(); ++c)
        Gd->setTextMatrix(0, c, c < 26 ? QString(QChar(u'A' + c)) : QString());
    fillMappingLists();
    const int width = Gd->viewport()->width() > 0 ? Gd->viewport()->width() : 600;
    const int colTwips = Grid::pixelsToTwips(Gd->cols() - 1 > 10 ? width / 10 : width / qMax(1, Gd->cols() - 1)) - 100;
    for (int c = 0; c < Gd->cols(); ++c)
        Gd->setColWidth(c, qMax(600, colTwips));
    showCounts();
}

void ImportForm::showCounts()
{
    showProgress(m_kind.countPrefix + QString::number(Gd->rows() - 1) + QStringLiteral("行，") +
                 QString::number(Gd->cols() - 1) + QStringLiteral("列"));
}

void ImportForm::fillMappingLists()
{
    QStringList letters;
    for (int c = 0; c < Gd->cols(); ++c)
        letters << Gd->textMatrix(0, c);
    for (QComboBox* combo : CmbCol) {
        if (!combo)
            continue;
        combo->clear();
        combo->addItems(letters);
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
    }
}

void ImportForm::deleteRow()
{
    if (!loaded() || Gd->rows() <= 2)
        return;
    if (MsgBox(QStringLiteral("确实要删除选中的数据吗？"), MB::YesNo | MB::Question) != MB::Yes)
        return;
    Gd->removeItem(Gd->row());
    showProgress(QStringLiteral("共有：%1行，%2列").arg(Gd->rows() - 1).arg(Gd->cols() - 1));
}

void ImportForm::help()
{
    MsgBox(QStringLiteral("打开帮助文件后，在左侧选择[从Excel文件中导入") + app.GoodsTerm + QStringLiteral("基础数据]。"));
    OpenWindow(app, QStringLiteral("Menu_Help"));
}

bool ImportForm::topAdministratorOnly()
{
    if (IsTopAdministrator(app))
        return true;
    MsgBox(QStringLiteral("本操作仅系统最高权限用户001可以执行！"), MB::OKOnly | MB::Exclamation);
    return false;
}

bool ImportForm::mappingNamesColumns()
{
    const QString problem = MappingProblem(*Gd->gridModel(), mappingTexts(), mappingCaptions());
    if (problem.isEmpty())
        return true;
    MsgBox(problem);
    return false;
}

bool ImportForm::showOutcome(const ImportOutcome& out)
{
    if (out.state == ImportOutcome::State::Cancelled) {
        showHint(QStringLiteral("导入已取消，没有写入任何数据"));
        return false;
    }
    if (!out.ok()) {
        showHint(QStringLiteral("导入失败，请检查Excel文件格式及相关设置"));
        MsgBox(out.message);
        return false;
    }
    MsgBox(QStringLiteral("数据导入成功！"));
    showHint(QStringLiteral("数据已成功导入系统"));
    clearGrid();
    return true;
}

QString ImportForm::closeQuestion() const
{
    return QStringLiteral("您尚未完成Excel数据导入工作，请在正确设置后点击[保存]。") + CR + CR +
           QStringLiteral("如果现在退出本窗口，将取消本次数据导入操作。") + CR + CR + QStringLiteral("确定要退出吗？");
}

void ImportForm::done(int r)
{
    if (loaded() && MsgBox(closeQuestion(), MB::OKCancel | MB::Question | MB::DefaultButton2) != MB::OK)
        return;
    ShowAccountSetInStatusBar(app);
    QDialog::done(r);
}
