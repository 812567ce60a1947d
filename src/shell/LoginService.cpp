#include "shell/LoginService.h"

#include "core/Permissions.h"
#include "core/SqlText.h"
#include "platform/Database.h"

namespace {

const QString Nl = QStringLiteral("\n");

// The publisher's contact lines; neutral placeholders of this program's own.
QString contactLines()
{
    return QStringLiteral("Vorlix软件开发组") + Nl + QStringLiteral("电话：000-00000000") + Nl +
           QStringLiteral("电子邮件：support@example.com") + Nl + QStringLiteral("网站：www.example.com");
}

}  // namespace

QStringList OperatorList(const Database& db)
{
    QStringList items;
    const RecordSet rs = db.query(QStringLiteral("SELECT F1 || '.' || ifnull(F2,'') FROM TE1 ORDER BY F1"));
    for (int r = 0; r < rs.rowCount(); ++r)
        items << rs.text(r, 0);
    return items;
}

int PreselectIndex(const QStringList& items, const QString& saved)
{
    if (items.isEmpty())
        return -1;
    if (!saved.isEmpty())
        for (int i = 0; i < items.size(); ++i)
            if (items.at(i).startsWith(saved + QLatin1Char('.')))
                return i;
    return 0;
}

QString AccountOfItem(const QString& item)
{
    const int dot = item.indexOf(QLatin1Char('.'));
    return dot < 0 ? item : item.left(dot);
}

QString NoPasswordLinkCaption(const QString& account, const QString& name)
{
    return QStringLiteral("【设置") + (name.size() <= 4 ? name : account) + QStringLiteral("登录密码】");
}

QString LoginHelpText(const Database& db)
{
    const QString end = QStringLiteral("关于如何使用本软件，您可以在登录系统后查看主菜单[使用说明]中的信息。");
    if (OperatorPassword(db, TopAdministrator).isEmpty())
        return QStringLiteral("系统默认用户为“001”，默认密码为空。也就是不需要输入密码，直接按<登录>按钮登录。") + Nl + Nl +
               QStringLiteral("在系统中可以使用[操作员个人设置-修改密码]为“001”或其他用户名设定密码。") + Nl + Nl +
               QStringLiteral("有任何问题可联系软件厂商：") + Nl + Nl + contactLines() + Nl + Nl + end;
    return QStringLiteral("如果您忘记了最高管理员“001”的密码，请通过以下流程找回密码：") + Nl + Nl +
           QStringLiteral("1.与软件厂商联系，在客服人员指导下把指定的文件发送到软件厂商的电子信箱；") + Nl + Nl +
           contactLines() + Nl + Nl + end;
}

QString OperatorPassword(const Database& db, const QString& account)
{
    return SqlScalar(db, QStringLiteral("SELECT F3 FROM TE1 WHERE F1=?"), {account});
}

LoginCheck CheckPassword(const Database& db, const QString& account, const QString& typed)
{
    const ScalarAnswer stored = SqlScalarChecked(db, QStringLiteral("SELECT F3 FROM TE1 WHERE F1=?"), {account});
    if (stored.failed())
        return LoginCheck::LookupFailed;
    if (!stored.found())
        return LoginCheck::Wrong;
    return stored.text == typed ? LoginCheck::Ok : LoginCheck::Wrong;
}
