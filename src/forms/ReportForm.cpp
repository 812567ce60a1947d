#include "forms/ReportForm.h"

#include "core/App.h"
#include "core/MainFrame.h"
#include "core/Permissions.h"
#include "exchange/GridExport.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "print/PlistPrint.h"
#include "widgets/CancellableBusyPanel.h"
#include "widgets/GridColumnAutoWiden.h"
#include "widgets/NoRightsRefusal.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

ReportForm::ReportForm(App& a, const QString& caption, QWidget* parent) : QWidget(parent), app(a)
{
    setWindowTitle(caption);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    MenuBar = new QMenuBar(this);
    MenuBar->setObjectName(QStringLiteral("MenuBar"));
    root->addWidget(MenuBar);

    Frm = new QFrame(this);
    Frm->setObjectName(QStringLiteral("Frm"));
    Frm->setFrameShape(QFrame::StyledPanel);
    FrmLayout = new QGridLayout(Frm);
    root->addWidget(Frm);

    GD = new Grid(this);
    GD->setObjectName(QStringLiteral("GD"));
    root->addWidget(GD, 1);

    new GridColumnAutoWiden(app, GD);
    new StatusPanelRestore(app, this);
}

QAction* ReportForm::addMenuItem(const char* name, const QString& caption)
{
    QAction* a = MenuBar->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

void ReportForm::addPeriod(int row, int col, int toSpan)
{
    auto dateEdit = [&](const char* name) {
        auto* d = new QDateEdit(Frm);
        d->setObjectName(QString::fromLatin1(name));
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        return d;
    };
    PeriodFrom = new QLabel(QStringLiteral("统计日期：由"), Frm);
    PeriodTo = new QLabel(QStringLiteral("至"), Frm);
    DTP0 = dateEdit("DTP0");
    DTP1 = dateEdit("DTP1");
    FrmLayout->addWidget(PeriodFrom, row, col);
    FrmLayout->addWidget(DTP0, row, col + 1);
    FrmLayout->addWidget(PeriodTo, row, col + 2);
    FrmLayout->addWidget(DTP1, row, col + 3, 1, toSpan);
}

QPushButton* ReportForm::addRunButton(const char* name, int row, int col, int rowSpan)
{
    RunButton = new QPushButton(QStringLiteral("生成报表↓"), Frm);
    RunButton->setObjectName(QString::fromLatin1(name));
    FrmLayout->addWidget(RunButton, row, col, rowSpan, 1);
    connect(RunButton, &QPushButton::clicked, this, [this] {
        const MessageScope command(this);
        runClicked();
    });
    return RunButton;
}

void ReportForm::addBusyPanel()
{
    cancelfrm = new CancellableBusyPanel(GD);
    cancelfrm->setObjectName(QStringLiteral("cancelfrm"));
    cancelfrm->CmdCancel->setText(QStringLiteral("取消操作"));
    cancelfrm->CmdCancel->setStyleSheet(QStringLiteral("background-color: rgb(192, 255, 192);"));
}

void ReportForm::addPopup(RowColourTarget target)
{
    new GridContextMenu(app, GD, std::move(target));
}

void ReportForm::addStatusLine(const RecordStatusLine::Options& options)
{
    m_status = new RecordStatusLine(app, GD, options);
}

void ReportForm::Run()
{
    const MessageScope command(this);
    if (m_running || (RunButton && !RunButton->isEnabled()))
        return;
    m_running = true;
    if (RunButton)
        RunButton->setEnabled(false);
    Frm->setEnabled(false);
    if (cancelfrm) {
        cancelfrm->start(QStringLiteral("请稍候，正在整理数据……"));
        cancelfrm->move((GD->width() - cancelfrm->sizeHint().width()) / 2, GD->height() / 3);
        cancelfrm->resize(cancelfrm->sizeHint());
    }
    setupGrid();
    bool whole = false;
    try {
        whole = generate();
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::Information, QStringLiteral("提示"));
    }
    if (!m_numberColumns.isEmpty())
        AlignTextAndNumbers(GD, m_numberColumns);
    if (cancelfrm)
        cancelfrm->finish();
    Frm->setEnabled(true);
    if (RunButton)
        RunButton->setEnabled(true);
    m_running = false;
    m_cancelled = !whole;
    if (m_cancelled)
        markCancelled();
    else if (m_status)
        m_status->update();
    if (m_closeWhenDone)
        close();
}

bool ReportForm::keepGoing(const QString& progress)
{
    return !cancelfrm || cancelfrm->poll()(progress);
}

void ReportForm::setStatus(const QString& text)
{
    if (app.MainWindow)
        app.MainWindow->setStatusText(4, text);
}

void ReportForm::markCancelled()
{
    // A cancelled run stays visible but must never pass for a whole report.
    const int r = GD->rows();
    GD->setRows(r + 1);
    GD->setTextMatrix(r, 0, QStringLiteral("（已取消：报表不完整）"));
    GD->setRowForeColor(r, Qt::red);
    setStatus(QStringLiteral("报表生成已取消，数据不完整"));
}

bool ReportForm::readyToPrint()
{
    const MessageScope command(this);
    if (GD->textMatrix(GD->fixedRows(), 0).isEmpty()) {
        MsgBox(QStringLiteral("没有数据可打印！"), MB::Information, QString());
        return false;
    }
    if (m_cancelled) {
        MsgBox(QStringLiteral("报表生成已取消，数据不完整，不能打印！"), MB::Information, QString());
        return false;
    }
    return true;
}

void ReportForm::exportGrid(const QList<int>& numericColumns)
{
    const MessageScope command(this);
    SetExportColKinds(app, GD, numericColumns);
    ToExcel(app, GD, windowTitle(), QString(), QString(), GD->fixedRows(), this);
}

void ReportForm::printList(const ReportListPrint& p)
{
    const MessageScope command(this);
    if (!RequireRight(app, RightReports, RightItem3))
        return;
    const int first = GD->fixedRows();
    if (GD->textMatrix(first, 0).isEmpty()) {
        MsgBox(QStringLiteral("无数据可打印！"), MB::Information, QStringLiteral("提示"));
        return;
    }
    PlistPrint job(app);
    job.Pid = p.pid;
    job.RptFile = app.AppFolder + p.templateFile;
    const int last = GD->rows() - 1;
    job.setValue(QStringLiteral("Caption"), windowTitle());
    job.setValue(QStringLiteral("SumSL"), GD->textMatrix(last, p.qtyCol));
    job.setValue(QStringLiteral("SumJE"), GD->textMatrix(last, p.amountCol));
    job.setValue(QStringLiteral("HpsxName"), app.HpsxName);  // the heading of an attribute column
    for (int r = first; r < GD->rows(); ++r) {
        if (p.goodsRowsOnly && GD->textMatrix(r, 0).isEmpty())
            continue;
        QStringList t;
        for (int c = 0; c <= p.lastCol; ++c)
            t << GD->textMatrix(r, c);
        if (p.rowNumber)
            t << QString::number(r);
        job.addRow(t);
    }
    job.PrnSQL = QStringLiteral("select F1,F2,F4,F5,F3,F6,F7,F8,F9,F10,F11 from plist order by F0");
    job.show(this);
}

void ReportForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutColumns();
}

void ReportForm::closeEvent(QCloseEvent* event)
{
    // Closing during a run first stops the run; the window closes when it has let go.
    if (m_running && cancelfrm) {
        m_closeWhenDone = true;
        cancelfrm->CmdCancel->click();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
