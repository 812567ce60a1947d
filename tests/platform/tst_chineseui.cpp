#include "platform/ChineseUi.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileSystemModel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

// Qt's own texts in Chinese: the standard buttons, the input box, the text
// fields' context menu and the file dialog, and dates.
class TestChineseUi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void standardButtonsReadChinese();
    void inputBoxButtonsReadChinese();
    void textFieldMenuReadsChinese();
    void fileDialogReadsChinese();
    void datesAreChinese();
    void fileDialogDatesAndTypesUnderACLocale();

private:
    QLocale previous;
};

void TestChineseUi::initTestCase()
{
    QVERIFY2(UseChineseUi(*qApp), "Qt's Chinese translations (qt6-translations-l10n) are not installed");
}

void TestChineseUi::cleanupTestCase()
{
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    QLocale::setDefault(previous);
}

void TestChineseUi::standardButtonsReadChinese()
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), QStringLiteral("文字"),
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
    QVERIFY(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("是")));
    QVERIFY(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("否")));
}

void TestChineseUi::inputBoxButtonsReadChinese()
{
    QInputDialog input;
    input.setLabelText(QStringLiteral("名称："));
    input.show();
    const auto* buttons = input.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QCOMPARE(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
}

void TestChineseUi::textFieldMenuReadsChinese()
{
    QLineEdit edit(QStringLiteral("abc"));
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            texts << a->text();
    const QString all = texts.join(u'|');
    for (const char* word : {"撤消", "剪切", "复制", "粘贴", "全选"})
        QVERIFY2(all.contains(QString::fromUtf8(word)), qPrintable(all));
}

void TestChineseUi::fileDialogReadsChinese()
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList labels;
    for (const QLabel* l : dialog.findChildren<QLabel*>())
        labels << l->text();
    const QString all = labels.join(u'|');
    QVERIFY2(!all.contains(QStringLiteral("Look in")) && !all.contains(QStringLiteral("File name")), qPrintable(all));
    const auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
}

void TestChineseUi::datesAreChinese()
{
    QCOMPARE(QLocale().dayName(5), QStringLiteral("星期五"));
    QCOMPARE(ChineseLocale().dayName(1), QStringLiteral("星期一"));
}

namespace {

// Started as its own program under a C locale: what the file dialog's list
// shows for a folder (its type and modification date), and a month name of
// the system locale, one per line.
int fileListTexts(const QStringList& args)
{
    UseChineseUi(*qApp);
    const QString folder = args.value(0);
    QFileSystemModel model;
    model.setRootPath(folder);
    const QModelIndex parent = model.index(folder);
    for (int i = 0; i < 200 && model.rowCount(parent) == 0; ++i)
        QTest::qWait(50);
    if (model.rowCount(parent) == 0)
        return 1;
    QTextStream out(stdout);
    out << model.index(0, 2, parent).data().toString() << '\n'
        << model.index(0, 3, parent).data().toString() << '\n'
        << QLocale::system().monthName(12, QLocale::ShortFormat) << '\n';
    return 0;
}

const bool registered = (RegisterChildJob("fileListTexts", fileListTexts), true);

}  // namespace

void TestChineseUi::fileDialogDatesAndTypesUnderACLocale()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), ChildJobArguments(QStringLiteral("fileListTexts"), {dir.path()}));
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'));
    QVERIFY2(lines.size() >= 3, qPrintable(lines.join(QLatin1Char('|'))));
    QCOMPARE(lines[0], QStringLiteral("文件夹"));
    // The date in the Chinese short form, no English month name.
    const QString year = QString::number(QDate::currentDate().year());
    QVERIFY2(lines[1].startsWith(year + QLatin1Char('/')), qPrintable(lines[1]));
    QCOMPARE(lines[2], QStringLiteral("12月"));
}

VX_REGISTER_TEST(TestChineseUi)
#include "tst_chineseui.moc"
