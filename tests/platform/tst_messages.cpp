#include "platform/Messages.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

// The real message box, as the user sees it.
class TestMessages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void titleIsNeverCut_data();
    void titleIsNeverCut();
    void messageBelongsToTheWindowOfItsCommand_data();
    void messageBelongsToTheWindowOfItsCommand();
    void boxStandsOverItsWindow_data();
    void boxStandsOverItsWindow();
};

namespace {

// A main window's MDI area with two children, A and B, each with a box to type in.
struct TwoChildren {
    TwoChildren()
    {
        area.resize(900, 700);
        for (QWidget*& child : {std::ref(a), std::ref(b)}) {
            child = new QWidget;
            auto* box = new QLineEdit(child);
            box->setObjectName(QStringLiteral("box"));
            area.addSubWindow(child)->setGeometry(child == a ? QRect(0, 0, 300, 200) : QRect(500, 400, 300, 200));
        }
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
    }
    void focus(QWidget* child)
    {
        area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(child->parentWidget()));
        child->findChild<QLineEdit*>()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), child->findChild<QLineEdit*>());
    }
    QMdiArea area;
    QWidget* a = nullptr;
    QWidget* b = nullptr;
};

}  // namespace

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

void TestMessages::messageBelongsToTheWindowOfItsCommand_data()
{
    QTest::addColumn<QString>("scope");   // "" none, "A", "gone" (a window closed meanwhile)
    QTest::addColumn<bool>("dialog");     // a modal dialog opened within the command
    QTest::addColumn<QString>("owner");   // "A", "B" or "dialog"
    // B holds the focus throughout.
    QTest::newRow("command of A while B is active") << "A" << false << "A";
    QTest::newRow("no command: the focused child") << "" << false << "B";
    QTest::newRow("a dialog the command opened") << "A" << true << "dialog";
    QTest::newRow("the command's window is gone") << "gone" << false << "B";
}

void TestMessages::messageBelongsToTheWindowOfItsCommand()
{
    QFETCH(QString, scope);
    QFETCH(bool, dialog);
    QFETCH(QString, owner);
    TwoChildren w;
    w.focus(w.b);
    auto* gone = new QWidget(w.a);
    std::optional<MessageScope> command;
    if (!scope.isEmpty())
        command.emplace(scope == QLatin1String("A") ? w.a : gone);
    delete gone;
    QDialog modal(w.a);
    if (dialog) {
        modal.setWindowModality(Qt::ApplicationModal);
        modal.show();
        QTRY_COMPARE(QApplication::activeModalWidget(), &modal);
    }
    const QMap<QString, QWidget*> owners{{QStringLiteral("A"), w.a}, {QStringLiteral("B"), w.b},
                                          {QStringLiteral("dialog"), &modal}};
    QCOMPARE(MessageWindow(), owners.value(owner));
    modal.hide();
    command.reset();
    // Outside any command the message follows the focus again.
    QCOMPARE(MessageWindow(), w.b);
}

void TestMessages::boxStandsOverItsWindow_data()
{
    QTest::addColumn<bool>("input");
    QTest::newRow("message box") << false;
    QTest::newRow("input box") << true;
}

void TestMessages::boxStandsOverItsWindow()
{
    QFETCH(bool, input);
    TwoChildren w;
    w.focus(w.b);
    QPointer<QWidget> parent;
    QPoint centre;
    QTimer::singleShot(200, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        parent = box->parentWidget();
        centre = box->geometry().center();
        box->accept();
    });
    const MessageScope command(w.a);
    QtMessages messages;
    if (input)
        QVERIFY(messages.inputBox(QStringLiteral("请输入新的编码："), QString(), QStringLiteral("A1")).ok);
    else
        messages.msgBox(QStringLiteral("已保存！"), MB::OKOnly, QString());
    QCOMPARE(parent.data(), w.a);
    const QPoint middle = w.a->mapToGlobal(w.a->rect().center());
    QVERIFY2((centre - middle).manhattanLength() < 4,
             qPrintable(QStringLiteral("box at %1,%2, window at %3,%4")
                            .arg(centre.x()).arg(centre.y()).arg(middle.x()).arg(middle.y())));
}

VX_REGISTER_TEST(TestMessages)
#include "tst_messages.moc"
