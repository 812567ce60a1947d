#include "support/Fixture.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTest>
#include <QTimer>

namespace {

// The user's data folder of the test process, before any fixture changed it.
const QByteArray& processDataHome()
{
    static const QByteArray home = qgetenv("XDG_DATA_HOME");
    return home;
}

}  // namespace

FreshAccountSet::FreshAccountSet() : m_app(std::make_unique<App>())
{
    processDataHome();
    // Per-user files (the account-set list) of one test never reach the next.
    qputenv("XDG_DATA_HOME", QFile::encodeName(userDataFolder()));
    QDir(m_dir.path()).mkpath(QStringLiteral("program"));
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    QFile::copy(templatePath(), programFolder() + QStringLiteral("nousit.dat"));
    QFile::copy(templatePath(), setPath());
    QFile(setPath()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_app->AppFolder = programFolder();
    m_app->DataFolder = folder() + QStringLiteral("data/");
    m_app->AccountSetFolder = m_app->DataFolder;
    m_app->CurrentSetPath = setPath();
    m_app->CurrentSetName = QStringLiteral("测试账套");
    m_app->CurrentDatabase.open(setPath());
}

FreshAccountSet::~FreshAccountSet()
{
    m_app.reset();
    // A newer fixture made before this one went away keeps its own folder.
    if (qgetenv("XDG_DATA_HOME") == QFile::encodeName(userDataFolder()))
        qputenv("XDG_DATA_HOME", processDataHome());
}

QString FreshAccountSet::userDataFolder() const
{
    return folder() + QStringLiteral("user");
}

QString FreshAccountSet::programFolder() const
{
    return folder() + QStringLiteral("program/");
}

QString FreshAccountSet::setPath() const
{
    return folder() + QStringLiteral("data/测试账套.vxs");
}

QString FreshAccountSet::copyOfTemplate(const QString& fileName) const
{
    const QString path = folder() + fileName;
    QFile::remove(path);
    QFile::copy(templatePath(), path);
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

QString FreshAccountSet::templatePath()
{
    return QStringLiteral(VX_TEMPLATE_FILE);
}

void FreshAccountSet::loginAs(const QString& code)
{
    const QVariant name = db().scalar(QStringLiteral("SELECT F2 FROM TE1 WHERE F1=?"), {code});
    m_app->OperatorCode = code;
    m_app->OperatorName = name.toString();
}

void WhenModal(std::function<void(QWidget*)> action, int timeoutMs)
{
    auto* timer = new QTimer(qApp);
    // Wall-clock time, not a count of ticks: on a busy machine ticks come
    // late, and a poller outliving its test would act on the next test's window.
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, deadline]() {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(w);
            return;
        }
        if (deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}

void WritePlainSqliteFile(const QString& path)
{
    // An SQLite file without a key: the header is the plain-text magic string.
    Database db;
    db.create(path, QString());
    db.execute(QStringLiteral("CREATE TABLE t (x)"));
}
