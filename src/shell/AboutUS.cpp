#include "shell/AboutUS.h"

#include "core/App.h"
#include "platform/Shell.h"
#include "widgets/LabelButton.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

// The publisher's lines; neutral placeholders of this program's own.
const char* const kPublisherLines[6] = {
    "出品：Vorlix软件开发组",
    "电话：000-00000000",
    "传真：000-00000001",
    "电子邮件：support@example.com",
    "即时通讯：000000000",
    "网站：www.example.com",
};
const char* const kPublisherMail = "support@example.com";

}  // namespace

QString AboutTitle(const QString& appTitle)
{
    QString t = appTitle;
    if (t.size() > 9)
        t.remove(QStringLiteral("系统"));
    if (t.size() > 9)
        t.remove(QStringLiteral("管理"));
    return t;
}

QString AboutMailLink(const QString& appTitle, const QString& editionName)
{
    return QStringLiteral("mailto:") + QString::fromLatin1(kPublisherMail) + QStringLiteral("?subject=关于") + appTitle +
           QStringLiteral(" Ver") + editionName + QStringLiteral("&body=您好！");
}

AboutUS::AboutUS(App& app, QWidget* parent) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("AboutUS"));
    setWindowTitle(QStringLiteral("Vorlix系列管理软件"));

    const QString title = AboutTitle(app.AppTitle);
    QFont big(QStringLiteral("KaiTi"));
    big.setPointSize(20);
    big.setBold(true);
    for (int i = 0; i < 2; ++i) {
        Lab[i] = new QLabel(title, this);
        Lab[i]->setObjectName(QStringLiteral("Lab%1").arg(i));
        Lab[i]->setFont(big);
    }
    Lab[0]->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128);"));
    Lab[1]->setStyleSheet(QStringLiteral("color: rgb(160, 160, 160);"));
    Labver = new QLabel(app.EditionName, this);
    Labver->setObjectName(QStringLiteral("Labver"));

    // The title with its grey shadow one pixel right of and below it.
    auto* titleBox = new QWidget(this);
    Lab[0]->setParent(titleBox);
    Lab[1]->setParent(titleBox);
    Lab[0]->adjustSize();
    Lab[1]->adjustSize();
    Lab[1]->move(1, 1);
    Lab[0]->move(0, 0);
    Lab[0]->raise();
    titleBox->setMinimumSize(Lab[0]->width() + 1, Lab[0]->height() + 1);

    auto* lines = new QVBoxLayout;
    for (int i = 0; i < 6; ++i) {
        LB[i] = new QLabel(QString::fromUtf8(kPublisherLines[i]), this);
        LB[i]->setObjectName(QStringLiteral("LB%1").arg(i));
        lines->addWidget(LB[i]);
    }

    const char* const captions[3] = {"访问网站", "发送邮件", "返回系统"};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < 3; ++i) {
        Cmd[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        Cmd[i]->setObjectName(QStringLiteral("Cmd%1").arg(i));
        Cmd[i]->setVisible(false);
        Labcmd[i] = new LabelButton(QString::fromUtf8(captions[i]), this);
        Labcmd[i]->setObjectName(QStringLiteral("Labcmd%1").arg(i));
        buttons->addWidget(Labcmd[i]);
        QPushButton* cmd = Cmd[i];
        connect(Labcmd[i], &LabelButton::clicked, cmd, &QPushButton::click);
    }
    Command1 = new QPushButton(QStringLiteral("返回"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setVisible(false);
    connect(Cmd[0], &QPushButton::clicked, this, &AboutUS::visitWebsite);
    connect(Cmd[1], &QPushButton::clicked, this, &AboutUS::sendMail);
    connect(Cmd[2], &QPushButton::clicked, this, &QDialog::accept);
    connect(Command1, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleBox, 0, Qt::AlignHCenter);
    layout->addWidget(Labver, 0, Qt::AlignRight);
    layout->addLayout(lines);
    layout->addLayout(buttons);
}

void AboutUS::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        Cmd[2]->click();
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        Command1->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

void AboutUS::visitWebsite()
{
    OpenDocument(linkstr);
}

void AboutUS::sendMail()
{
    OpenDocument(AboutMailLink(app.AppTitle, app.EditionName));
}
