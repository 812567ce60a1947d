#include "support/Openpyxl.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

QString OpenpyxlPython()
{
    static const QString found = [] {
        QStringList candidates{QStringLiteral("/usr/bin/python3")};
        const QString onPath = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (!onPath.isEmpty())
            candidates << onPath;
        for (const QString& py : candidates) {
            if (!QFileInfo(py).isExecutable())
                continue;
            QProcess p;
            p.start(py, {QStringLiteral("-c"), QStringLiteral("import openpyxl")});
            if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
                return py;
        }
        return QString();
    }();
    return found;
}

QByteArray RunOpenpyxl(const QString& script, const QStringList& args)
{
    QProcess p;
    const QString prelude = QStringLiteral("import sys, json, datetime, openpyxl\n");
    p.start(OpenpyxlPython(), QStringList{QStringLiteral("-c"), prelude + script} + args);
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("openpyxl script failed: ") + QString::fromUtf8(p.readAllStandardError())),
                     __FILE__, __LINE__);
        return {};
    }
    return p.readAllStandardOutput();
}

QVector<QVector<PeerCell>> OpenpyxlRead(const QString& path, const QString& sheet)
{
    const QString script = QStringLiteral(
        "wb = openpyxl.load_workbook(sys.argv[1])\n"
        "ws = wb[sys.argv[2]] if sys.argv[2] else wb.active\n"
        "out = []\n"
        "for row in ws.iter_rows():\n"
        "    r = []\n"
        "    for c in row:\n"
        "        v = c.value\n"
        "        if v is None: r.append(['', None])\n"
        "        elif isinstance(v, bool): r.append(['b', v])\n"
        "        elif isinstance(v, (int, float)): r.append(['n', v])\n"
        "        elif isinstance(v, datetime.datetime): r.append(['d', v.isoformat()])\n"
        "        else: r.append(['s', str(v)])\n"
        "    out.append(r)\n"
        "sys.stdout.write(json.dumps(out))\n");
    const QByteArray json = RunOpenpyxl(script, {path, sheet});
    QVector<QVector<PeerCell>> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(json).array()) {
        QVector<PeerCell> cells;
        for (const QJsonValue& c : row.toArray()) {
            const QJsonArray pair = c.toArray();
            PeerCell cell;
            cell.type = pair.at(0).toString();
            cell.value = pair.at(1).toVariant();
            cells << cell;
        }
        rows << cells;
    }
    return rows;
}
