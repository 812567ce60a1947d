#include "basicdata/QueryTA1.h"

#include "basicdata/UnitPicker.h"
#include "core/App.h"
#include "core/Permissions.h"
#include "core/SqlText.h"
#include "platform/Messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QueryTA1::QueryTA1(App& app, QObject* loader, const QString& head, QWidget* parent)
    : QDialog(parent), KeywordSqlHead(head), Loader(loader)
{
    setObjectName(QStringLiteral("QueryTA1"));
    setWindowTitle(QStringLiteral(" 查找"));
    auto* outer = new QVBoxLayout(this);
    auto* line = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("请输入关键字："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Txt = new QLineEdit(this);
    Txt->setObjectName(QStringLiteral("Txt"));
    line->addWidget(Label1);
    line->addWidget(Txt, 1);
    outer->addLayout(line);
    auto* buttons = new QHBoxLayout;
    Cmd0 = new QPushButton(QStringLiteral("查  找"), this);
    Cmd1 = new QPushButton(QStringLiteral("取  消"), this);
    Cmd2 = new QPushButton(QStringLiteral("查找全部"), this);
    int index = 0;
    for (QPushButton* b : {Cmd0, Cmd1, Cmd2}) {
        b->setObjectName(QStringLiteral("Cmd%1").arg(index));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, index] { Cmd_Click(index); });
        ++index;
    }
    Cmd0->setDefault(true);
    outer->addLayout(buttons);
    Cmd2->setVisible(IsTopAdministrator(app));
}

void QueryTA1::Cmd_Click(int index)
{
    if (index == 0) {
        const QString keyword = SqlSafe(Txt->text());
        Txt->setText(keyword);
        if (keyword.isEmpty()) {
            MsgBox(QStringLiteral("请输入关键字！"));
            return;
        }
        if (Loader)
            Loader->setProperty("PubSql", UnitKeywordStatement(KeywordSqlHead, keyword));
    } else if (index == 2) {
        if (Loader)
            Loader->setProperty("PubSql", KeywordSqlHead);
    }
    accept();
}
