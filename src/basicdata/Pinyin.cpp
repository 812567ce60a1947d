#include "basicdata/Pinyin.h"

#include "core/Files.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

QString PinyinTable::filePath(const QString& appFolder)
{
    return appFolder + QStringLiteral("mspycode.dll");
}

bool PinyinTable::load(const QString& path)
{
    m_entries.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QStringDecoder decoder("GB18030");
    auto readLine = [&](QString& line) {
        if (file.atEnd())
            return false;
        QByteArray bytes = file.readLine();
        while (bytes.endsWith('\n') || bytes.endsWith('\r'))
            bytes.chop(1);
        line = decoder.decode(bytes);
        decoder.resetState();
        return true;
    };
    QString header;
    if (!readLine(header))
        return true;  // an empty file is an empty table
    QString letterLine;
    while (readLine(letterLine)) {
        QString codeLine;
        if (!readLine(codeLine))
            return false;
        const QString letter = ShiftTextUp(ShiftTextUp(letterLine));
        bool ok = false;
        const int start = ShiftTextUp(codeLine).trimmed().toInt(&ok);
        if (!ok || letter.isEmpty())
            return false;
        for (const Entry& e : m_entries)
            if (e.letter == letter)
                return false;
        m_entries.append({letter, start});
    }
    return true;
}

int PinyinTable::charCode(char32_t ch)
{
    if (ch < 0x80)
        return int(ch);
    QStringEncoder encoder("GB18030");
    const QByteArray bytes = encoder(QString::fromUcs4(&ch, 1));
    if (bytes.size() != 2)
        return 0;
    return qint16((quint8(bytes[0]) << 8) | quint8(bytes[1]));
}

QString PinyinTable::G(int code) const
{
    if (code >= FirstLevelStart && code <= FirstLevelEnd) {
        for (auto it = m_entries.crbegin(); it != m_entries.crend(); ++it)
            if (it->start <= code)
                return it->letter;
    }
    if (code >= 0 && code < 0x80)
        return QString(QChar(code));
    const char pair[2] = {char((code >> 8) & 0xFF), char(code & 0xFF)};
    QStringDecoder decoder("GB18030");
    return decoder.decode(QByteArrayView(pair, 2));
}

QString PinyinTable::C(const QString& text) const
{
    QString result;
    result.reserve(text.size());
    for (const char32_t ch : text.toUcs4()) {
        const int code = charCode(ch);
        if (code >= FirstLevelStart && code <= FirstLevelEnd) {
            const QString initial = G(code);
            if (!initial.isEmpty()) {
                result += initial.left(1);
                continue;
            }
        }
        result += QString::fromUcs4(&ch, 1);
    }
    return result;
}
