#include "support/print/CupsServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <unistd.h>

namespace {

bool WriteText(const QString& path, const QString& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) == text.toUtf8().size();
}

}  // namespace

CupsServer::CupsServer()
{
    const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")});
    const QString lpadmin = QStandardPaths::findExecutable(QStringLiteral("lpadmin"));
    const QString backend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
    const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
    if (cupsd.isEmpty() || lpadmin.isEmpty()) {
        m_problem = QStringLiteral("cupsd or lpadmin is not installed (package cups-daemon)");
        return;
    }
    if (!QFile::exists(backend) || !QFile::exists(ppd)) {
        m_problem = QStringLiteral("the cups-pdf backend is not installed (package printer-driver-cups-pdf)");
        return;
    }
    if (::geteuid() != 0) {
        m_problem = QStringLiteral("cupsd and the cups-pdf backend need root to run");
        return;
    }
    if (!m_dir.isValid()) {
        m_problem = QStringLiteral("no temporary folder");
        return;
    }
    const QString root = m_dir.path();
    for (const char* sub : {"spool", "cache", "state", "log", "tmp", "pdf"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    // The filters run as the unprivileged user of CUPS: they need the
    // temporary folder and cups-pdf's output folder open to them.
    for (const char* sub : {"tmp", "pdf"})
        QFile::setPermissions(root + QLatin1Char('/') + QString::fromLatin1(sub),
                              QFileDevice::Permissions(0x7777));
    QFile::setPermissions(root, QFileDevice::Permissions(0x7755));
    const QString socket = root + QStringLiteral("/cups.sock");
    WriteText(root + QStringLiteral("/cupsd.conf"),
              QStringLiteral("Listen %1\nLogLevel info\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                  .arg(socket));
    WriteText(root + QStringLiteral("/cups-files.conf"),
              QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                             "TempDir %1/tmp\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                             "PageLog %1/log/page_log\nSandboxing Relaxed\n")
                  .arg(root));
    // cups-pdf reads its settings from the system's CUPS folder, one file per
    // instance named in the device URI; this one writes into the test's folder.
    // Files left by test runs that were killed are removed first.
    for (const QString& name : QDir(QStringLiteral("/etc/cups")).entryList({QStringLiteral("cups-pdf-vxtest*.conf")})) {
        const QString pid = name.mid(15).chopped(5);
        if (!QFile::exists(QStringLiteral("/proc/") + pid))
            QFile::remove(QStringLiteral("/etc/cups/") + name);
    }
    const QString instance = QStringLiteral("vxtest%1").arg(QCoreApplication::applicationPid());
    m_instanceConf = QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(instance);
    if (!WriteText(m_instanceConf, QStringLiteral("Out %1/pdf\nAnonDirName %1/pdf\nLabel 0\n").arg(root))) {
        m_problem = QStringLiteral("cannot write %1").arg(m_instanceConf);
        m_instanceConf.clear();
        return;
    }
    m_cupsd = new QProcess;
    m_cupsd->setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd->start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), root + QStringLiteral("/cupsd.conf"),
                           QStringLiteral("-s"), root + QStringLiteral("/cups-files.conf")});
    if (!m_cupsd->waitForStarted(10000)) {
        m_problem = QStringLiteral("cupsd did not start: ") + m_cupsd->errorString();
        return;
    }
    qputenv("CUPS_SERVER", socket.toLocal8Bit());
    for (int i = 0; i < 100 && !QFile::exists(socket); ++i)
        QThread::msleep(50);
    m_queue = QStringLiteral("VorlixPDF");
    QProcess admin;
    admin.setProcessChannelMode(QProcess::MergedChannels);
    admin.start(lpadmin, {QStringLiteral("-p"), m_queue, QStringLiteral("-E"), QStringLiteral("-v"),
                          QStringLiteral("cups-pdf:/") + instance, QStringLiteral("-P"), ppd});
    if (!admin.waitForFinished(30000) || admin.exitCode() != 0) {
        m_problem = QStringLiteral("lpadmin could not add the PDF queue: ") + QString::fromLocal8Bit(admin.readAll());
        m_queue.clear();
    }
}

CupsServer::~CupsServer()
{
    if (m_cupsd) {
        m_cupsd->terminate();
        if (!m_cupsd->waitForFinished(10000))
            m_cupsd->kill();
        m_cupsd->waitForFinished(5000);
        delete m_cupsd;
        qunsetenv("CUPS_SERVER");
    }
    if (!m_instanceConf.isEmpty())
        QFile::remove(m_instanceConf);
}

QString CupsServer::waitForPdf(int timeoutMs)
{
    const QDir out(m_dir.path() + QStringLiteral("/pdf"));
    for (int waited = 0; waited <= timeoutMs; waited += 100) {
        const QStringList files = out.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed);
        if (files.size() > m_taken) {
            const QString path = out.filePath(files[m_taken]);
            // cups-pdf writes the file in place: wait until its size holds still.
            qint64 size = -1;
            while (QFileInfo(path).size() != size) {
                size = QFileInfo(path).size();
                QThread::msleep(300);
            }
            ++m_taken;
            return path;
        }
        QThread::msleep(100);
        QCoreApplication::processEvents();
    }
    return QString();
}
