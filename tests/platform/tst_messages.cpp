#include "platform/Messages.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

// The real message box, as the user sees it.
class TestMessages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void titleIsNeverCut_data();
    void titleIsNeverCut();
};

void TestMessages::titleIsNeverCut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("program title over a short text") << QStringLiteral("已保存！") << QString();
    QTest::newRow("long title") << QStringLiteral("好") << QStringLiteral("Vorlix仓库管理系统 -- 账套文件压缩与备份提示");
}

void TestMessages::titleIsNeverCut()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    QApplication::setApplicationDisplayName(QStringLiteral("Vorlix仓库管理系统"));
    int width = 0;
    int needed = 0;
    QTimer::singleShot(200, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        QFont bold = box->font();
        bold.setBold(true);
        // The caption and the title bar's icon and buttons.
        needed = QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 100;
        width = box->width();
        box->accept();
    });
    QtMessages messages;
    messages.msgBox(text, MB::OKOnly, title);
    QVERIFY(needed > 0);
    QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 < %2").arg(width).arg(needed)));
}

VX_REGISTER_TEST(TestMessages)
#include "tst_messages.moc"
