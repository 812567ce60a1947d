#include "core/Files.h"

#include "core/App.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const QString ErrorLogName = QStringLiteral("错误日志.log");

bool hasWildcard(const QString& name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// The full path of the first file that `path` names, "" when none.
QString findFile(const QString& path, bool withHidden)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo fi(path);
    const QString name = fi.fileName();
    if (name.isEmpty())
        return QString();
    if (hasWildcard(name)) {
        QDir::Filters filters = QDir::Files | QDir::System;
        if (withHidden)
            filters |= QDir::Hidden;
        const QFileInfoList found = QDir(fi.path()).entryInfoList({name}, filters, QDir::Name);
        return found.isEmpty() ? QString() : found.first().absoluteFilePath();
    }
    if (!fi.exists() || fi.isDir() || (!withHidden && fi.isHidden()))
        return QString();
    return fi.absoluteFilePath();
}

}  // namespace

QString FileExists(const QString& path)
{
    return QFileInfo(findFile(path, true)).fileName();
}

QString FolderUsable(const QString& path)
{
    if (path.isEmpty())
        return QString();
    QString s = path;
    while (s.size() > 1 && s.endsWith(QLatin1Char('/')))
        s.chop(1);
    const QFileInfo fi(s);
    if (!fi.isDir())
        return QString();
    return fi.fileName().isEmpty() ? fi.absoluteFilePath() : fi.fileName();
}

bool ShowInExplorer(const QString& path)
{
    const QString file = findFile(path, false);
    if (file.isEmpty())
        return false;
    return ShowInFileManager(file);
}

bool WriteErrorLog(const App& app, const QString& procedure, int lineNumber, const QString& errorText)
{
    if (!AppendErrorLog(app, procedure, lineNumber, errorText))
        return false;
    MsgBox(ErrorLogWrittenText, MB::OKOnly, app.AppTitle);
    return true;
}

bool AppendErrorLog(const App& app, const QString& procedure, int lineNumber, const QString& errorText)
{
    if (app.AppFolder.isEmpty())
        return false;
    QString folder = app.AppFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');

    const QString lineItem = lineNumber >= 0 ? QStringLiteral(" %1 ").arg(lineNumber)
                                             : QStringLiteral("%1 ").arg(lineNumber);
    const QStringList lines = {
        QLatin1Char(' ') + QString(53, QLatin1Char('=')),
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy/M/d H:mm:ss")),
        procedure,
        lineItem,
        errorText,
    };
    QString record;
    for (const QString& line : lines)
        record += line + QStringLiteral("\r\n");

    QStringEncoder encoder("GB18030");
    const QByteArray bytes = encoder(record);
    if (encoder.hasError())
        return false;
    QFile log(folder + ErrorLogName);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    if (log.write(bytes) != bytes.size() || !log.flush())
        return false;
    log.close();
    return log.error() == QFileDevice::NoError;
}

QString ShiftTextUp(const QString& text)
{
    QStringEncoder encoder("GB18030");
    QStringDecoder decoder("GB18030");
    QString result;
    result.reserve(text.size());
    for (const char32_t cp : text.toUcs4()) {
        const QByteArray bytes = encoder(QString::fromUcs4(&cp, 1));
        int code;
        if (bytes.size() == 1)
            code = quint8(bytes[0]);
        else if (bytes.size() == 2)
            code = qint16((quint8(bytes[0]) << 8) | quint8(bytes[1]));
        else
            code = '?';  // outside the double-byte code page
        code += 12;
        if (code >= 0 && code < 256) {
            result += QChar(code);
            continue;
        }
        const char pair[2] = {char((code >> 8) & 0xFF), char(code & 0xFF)};
        const QString decoded = decoder.decode(QByteArrayView(pair, 2));
        decoder.resetState();
        result += decoded.size() == 1 ? decoded : QString(QChar::ReplacementCharacter);
    }
    return result;
}
