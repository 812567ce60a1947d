#include "widgets/SaveHint.h"

#include "core/App.h"
#include "platform/Database.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

MsgBoxOK::MsgBoxOK(Database& db, QWidget* parent) : QDialog(parent), db(db)
{
    setObjectName(QStringLiteral("MsgBoxOK"));
    setWindowTitle(QStringLiteral(" 提示"));
    setModal(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(45, 45));
    Image1->setFixedSize(45, 45);

    Lab = new QLabel(QStringLiteral("文件信息"), this);
    Lab->setObjectName(QStringLiteral("Lab"));
    Lab->setWordWrap(true);

    Check1 = new QCheckBox(QStringLiteral("我知道了，不需要再提示"), this);
    Check1->setObjectName(QStringLiteral("Check1"));

    Command1 = new QPushButton(QStringLiteral("确  定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addWidget(Lab, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Check1);
    bottom->addStretch();
    bottom->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
}

void MsgBoxOK::done(int result)
{
    if (Check1->isChecked()) {
        try {
            RememberSavedHintOff(db, chkID);
        } catch (const DbError& e) {
            MsgBox(e.description());
        }
    }
    QDialog::done(result);
}

void ShowSavedHint(App& app)
{
    if (SavedHintOff(app.CurrentDatabase))
        return;
    MsgBoxOK box(app.CurrentDatabase, QApplication::activeWindow());
    box.Lab->setText(QStringLiteral("单据保存成功！\n\n但是现在单据并没有正式生效，\n\n必须经过[审核]操作，单据才正式生效并更新库存！"));
    box.exec();
}

void WarnEditing()
{
    MsgBox(QStringLiteral("正在有数据被编辑,现在退出会造成本次编辑的数据丢失。\n\n请您首先点击窗口左上角[保存]或[取消]菜单结束本次编辑。"));
}
