#include "accountsets/NetworkShares.h"
#include "accountsets/ZbsetNet.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The network share picker over a mount table the test writes.
class TestZbsetNet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void mountTableKeepsNetworkFileSystems();
    void shareFolderIsFoundByServerAndShare_data();
    void shareFolderIsFoundByServerAndShare();
    void nothingMountedSaysSo();
    void emptyNamesAreAskedFor_data();
    void emptyNamesAreAskedFor();
    void listingAndConfirm();
    void shareWithoutSetsKeepsBoxesEditable();
    void confirmBeforeListingExplains();
    void unmountedShareLeavesInstructions();
    void quoteIsMadeSafeBeforeListing();

private:
    void writeMounts(const QByteArray& extra = QByteArray());
    QLineEdit* txt(int i) { return picker->findChild<QLineEdit*>(QStringLiteral("Txt%1").arg(i)); }
    QPushButton* button(const QString& name) { return picker->findChild<QPushButton*>(name); }
    QGroupBox* frame(const QString& name) { return picker->findChild<QGroupBox*>(name); }
    QListWidget* files() { return picker->findChild<QListWidget*>(QStringLiteral("File1")); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<App> app;
    std::unique_ptr<ZbsetNet> picker;
    QString mounts;
    QString books;   // mount of //server/books with two sets
    QString hidden;  // mount of the hidden share //server/账套$ with one set
    QString empty;   // mount of //server/empty
};

void TestZbsetNet::init()
{
    dir = std::make_unique<QTemporaryDir>();
    const QString root = dir->path() + QLatin1Char('/');
    books = root + QStringLiteral("mnt/books folder");
    hidden = root + QStringLiteral("mnt/hidden");
    empty = root + QStringLiteral("mnt/empty");
    for (const QString& f : {books, hidden, empty})
        QDir().mkpath(f);
    for (const QString& f : {books + QStringLiteral("/b.vxs"), books + QStringLiteral("/A.VXS"),
                             books + QStringLiteral("/notes.txt"), hidden + QStringLiteral("/h.vxs")}) {
        QFile file(f);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    mounts = root + QStringLiteral("mounts");
    writeMounts();
    app = std::make_unique<App>();
    picker = std::make_unique<ZbsetNet>(*app, nullptr, mounts);
}

void TestZbsetNet::writeMounts(const QByteArray& extra)
{
    QFile f(mounts);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QByteArray booksEscaped = books.toUtf8();
    booksEscaped.replace(' ', "\\040");
    f.write("proc /proc proc rw 0 0\n/dev/sda1 / ext4 rw 0 0\n");
    f.write("//server/books " + booksEscaped + " cifs rw,vers=3.0 0 0\n");
    f.write("//server/账套$ " + hidden.toUtf8() + " smb3 rw 0 0\n");
    f.write("nas:/export/empty " + empty.toUtf8() + " nfs4 rw 0 0\n");
    f.write("/dev/sdb1 /media/usb fuseblk rw 0 0\n");
    f.write(extra);
}

void TestZbsetNet::mountTableKeepsNetworkFileSystems()
{
    const QVector<NetworkMount> m = ReadNetworkMounts(mounts);
    QCOMPARE(m.size(), 3);
    QCOMPARE(m[0].source, QStringLiteral("//server/books"));
    QCOMPARE(m[0].mountPoint, books);  // "\040" read back as a blank
    QCOMPARE(m[2].type, QStringLiteral("nfs4"));
    QVERIFY(ReadNetworkMounts(dir->path() + QStringLiteral("/no-such-table")).isEmpty());
}

void TestZbsetNet::shareFolderIsFoundByServerAndShare_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("share");
    QTest::addColumn<QString>("folder");  // "books", "hidden", "empty" or "" for none
    QTest::newRow("smb") << "server" << "books" << "books";
    QTest::newRow("other case") << "SERVER" << "Books" << "books";
    QTest::newRow("hidden share") << "server" << "账套$" << "hidden";
    QTest::newRow("nfs export") << "nas" << "empty" << "empty";
    QTest::newRow("unknown share") << "server" << "other" << "";
    QTest::newRow("unknown server") << "elsewhere" << "books" << "";
}

void TestZbsetNet::shareFolderIsFoundByServerAndShare()
{
    QFETCH(QString, server);
    QFETCH(QString, share);
    QFETCH(QString, folder);
    const QString expected = folder == QLatin1String("books")    ? books
                             : folder == QLatin1String("hidden") ? hidden
                             : folder == QLatin1String("empty")  ? empty
                                                                 : QString();
    QString error;
    QCOMPARE(MountedShareFolder(ReadNetworkMounts(mounts), server, share, error), expected);
    QCOMPARE(error.isEmpty(), !expected.isEmpty());
    if (expected.isEmpty())
        QVERIFY(error.contains(QStringLiteral("没有挂载到本机")));
}

void TestZbsetNet::nothingMountedSaysSo()
{
    QFile f(mounts);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("/dev/sda1 / ext4 rw 0 0\n");
    f.close();
    txt(0)->setText(QStringLiteral("server"));
    txt(1)->setText(QStringLiteral("books"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("本机没有连接任何网络共享文件夹"));
    button(QStringLiteral("Cmd"))->click();
    QVERIFY(!frame(QStringLiteral("FrmSM"))->isHidden());
    QCOMPARE(files()->count(), 0);
}

void TestZbsetNet::emptyNamesAreAskedFor_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("share");
    QTest::addColumn<QString>("message");
    QTest::newRow("no server") << "  " << "books" << "请输入服务器电脑名称！";
    QTest::newRow("no share") << "server" << "" << "请输入共享文件夹名称！";
}

void TestZbsetNet::emptyNamesAreAskedFor()
{
    QFETCH(QString, server);
    QFETCH(QString, share);
    QFETCH(QString, message);
    txt(0)->setText(server);
    txt(1)->setText(share);
    MessageScript msgs;
    msgs.expect(message);
    button(QStringLiteral("Cmd"))->click();
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(button(QStringLiteral("Cmd"))->text(), QStringLiteral("列出共享文件夹内的帐套文件↓"));
}

void TestZbsetNet::listingAndConfirm()
{
    txt(0)->setText(QStringLiteral("server"));
    txt(1)->setText(QStringLiteral("books"));
    button(QStringLiteral("Cmd"))->click();
    QCOMPARE(files()->count(), 2);
    QCOMPARE(files()->item(0)->text(), QStringLiteral("A.VXS"));
    QCOMPARE(frame(QStringLiteral("Frm"))->title(), QStringLiteral("请选择Vorlix帐套文件"));
    QVERIFY(frame(QStringLiteral("FrmSM"))->isHidden());
    QVERIFY(!txt(0)->isEnabled() && !txt(1)->isEnabled());
    QCOMPARE(button(QStringLiteral("Cmd"))->text(), QStringLiteral("重新指定服务器及共享文件夹↑"));

    MessageScript msgs;
    msgs.expect(QStringLiteral("请选择帐套文件！"));
    button(QStringLiteral("CmdOK0"))->click();
    QVERIFY(picker->Picked.isEmpty());

    files()->setCurrentRow(1);
    button(QStringLiteral("CmdOK0"))->click();
    QCOMPARE(picker->Picked, books + QStringLiteral("/b.vxs"));
    QCOMPARE(picker->result(), int(QDialog::Accepted));

    // Starting again empties and unlocks both boxes.
    button(QStringLiteral("Cmd"))->click();
    QVERIFY(txt(0)->isEnabled() && txt(0)->text().isEmpty() && txt(1)->text().isEmpty());
    QCOMPARE(button(QStringLiteral("Cmd"))->text(), QStringLiteral("列出共享文件夹内帐套文件↓"));
    QVERIFY(!frame(QStringLiteral("FrmSM"))->isHidden());
}

void TestZbsetNet::shareWithoutSetsKeepsBoxesEditable()
{
    txt(0)->setText(QStringLiteral("nas"));
    txt(1)->setText(QStringLiteral("empty"));
    button(QStringLiteral("Cmd"))->click();
    QCOMPARE(frame(QStringLiteral("Frm"))->title(), QStringLiteral("文件夹内没有Vorlix帐套文件"));
    QVERIFY(txt(0)->isEnabled());
    QVERIFY(frame(QStringLiteral("FrmSM"))->isHidden());
    MessageScript msgs;
    msgs.expect(QStringLiteral("请选择帐套文件！"));
    button(QStringLiteral("CmdOK0"))->click();

    // A new listing lists the names as edited.
    txt(0)->setText(QStringLiteral("//server/账套$"));
    button(QStringLiteral("Cmd"))->click();
    QCOMPARE(txt(0)->text(), QStringLiteral("server"));
    QCOMPARE(txt(1)->text(), QStringLiteral("账套$"));
    QCOMPARE(files()->count(), 1);
}

void TestZbsetNet::confirmBeforeListingExplains()
{
    MessageScript msgs;
    msgs.expect(QStringLiteral("请在输入服务器名称及共享文件夹名称后点击[列出共享文件夹内帐套文件]按钮。"));
    button(QStringLiteral("CmdOK0"))->click();
    button(QStringLiteral("CmdOK1"))->click();
    QVERIFY(picker->Picked.isEmpty());
    QCOMPARE(picker->result(), int(QDialog::Rejected));
}

void TestZbsetNet::unmountedShareLeavesInstructions()
{
    txt(0)->setText(QStringLiteral("server"));
    txt(1)->setText(QStringLiteral("missing"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("服务器[server]的共享文件夹[missing]没有挂载到本机"));
    button(QStringLiteral("Cmd"))->click();
    QVERIFY(msgs.last().text.contains(QStringLiteral("//server/books")));
    msgs.expect(QStringLiteral("请在输入服务器名称及共享文件夹名称后点击"));
    button(QStringLiteral("CmdOK0"))->click();
}

void TestZbsetNet::quoteIsMadeSafeBeforeListing()
{
    // The share is looked for under the name as typed, quote included.
    txt(0)->setText(QStringLiteral("server"));
    txt(1)->setText(QStringLiteral(" bo'oks "));
    MessageScript msgs;
    msgs.expect(QStringLiteral("共享文件夹[bo'oks]"));
    button(QStringLiteral("Cmd"))->click();
    QCOMPARE(txt(1)->text(), QStringLiteral("bo'oks"));
}

VX_REGISTER_TEST(TestZbsetNet)
#include "tst_zbsetnet.moc"
