#include "shell/TipOfTheDay.h"

#include "core/App.h"
#include "core/Files.h"
#include "core/MainFrame.h"
#include "core/Startup.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStringDecoder>

namespace {

const QString TipsFile = QStringLiteral("Learn.dat");

// A small lamp, drawn rather than shipped.
QPixmap lampPicture()
{
    QPixmap pm(40, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(160, 120, 0), 2));
    p.setBrush(QColor(255, 220, 60));
    p.drawEllipse(QRectF(6, 2, 28, 28));
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(QRectF(13, 30, 14, 12));
    p.drawLine(QPointF(13, 36), QPointF(27, 36));
    return pm;
}

}  // namespace

void ShowTipOfTheDay(App& app)
{
    frmTip w(app, app.MainWindow ? app.MainWindow->widget() : nullptr);
    w.exec();
}

std::optional<QStringList> ReadTipsFile(const QString& path)
{
    if (path.isEmpty() || FileExists(path).isEmpty())
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringDecoder decode("GB18030");
    QString text = decode(f.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final line break ends the last tip; it does not start another.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

frmTip::frmTip(App& app, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("日积月累--Vorlix知识点滴"));

    imgDeng = new QLabel(this);
    imgDeng->setObjectName(QStringLiteral("imgDeng"));
    imgDeng->setPixmap(lampPicture());
    Label1 = new QLabel(QStringLiteral("您知道吗…"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f = Label1->font();
    f.setBold(true);
    Label1->setFont(f);
    lblTipText = new QLabel(QStringLiteral("内容。。。。。。"), this);
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    lblTipText->setWordWrap(true);
    lblTipText->setMinimumSize(320, 110);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    chkLoadTipsAtStartup = new QCheckBox(this);
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    Label2 = new QLabel(QStringLiteral("每次启动系统时都自动显示一条"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setBuddy(chkLoadTipsAtStartup);
    cmdNextTip = new QPushButton(QStringLiteral("下一条提示"), this);
    cmdNextTip->setObjectName(QStringLiteral("cmdNextTip"));
    cmdOK = new QPushButton(QStringLiteral("确  定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* text = new QVBoxLayout;
    text->addWidget(Label1);
    text->addWidget(lblTipText, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(imgDeng, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(chkLoadTipsAtStartup);
    bottom->addWidget(Label2);
    bottom->addStretch();
    bottom->addWidget(cmdNextTip);
    bottom->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);

    connect(chkLoadTipsAtStartup, &QCheckBox::toggled, this, [](bool on) { SetTipsAtStartup(on); });
    connect(cmdNextTip, &QPushButton::clicked, this, &frmTip::nextTip);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    // Opening the window turns the start-up display on again.
    chkLoadTipsAtStartup->setChecked(true);
    if (!LoadTips(app.AppFolder + TipsFile))
        lblTipText->setText(QStringLiteral("文件 ") + TipsFile + QStringLiteral(" 没有被找到吗? ") +
                            QStringLiteral("\n\n") + QStringLiteral("创建文本文件名为 ") + TipsFile +
                            QStringLiteral(" 使用记事本每行写一条提示。 ") +
                            QStringLiteral("然后将它存放在应用程序所在的目录 "));
}

bool frmTip::LoadTips(const QString& path)
{
    const std::optional<QStringList> lines = ReadTipsFile(path);
    if (!lines)
        return false;
    Tips += *lines;
    nextTip();
    return true;
}

void frmTip::DisplayCurrentTip()
{
    if (!Tips.isEmpty())
        lblTipText->setText(Tips.at(CurrentTip - 1));
}

void frmTip::nextTip()
{
    CurrentTip = int(QRandomGenerator::global()->bounded(qMax<int>(1, int(Tips.size())))) + 1;
    DisplayCurrentTip();
    QCoreApplication::processEvents();
}
