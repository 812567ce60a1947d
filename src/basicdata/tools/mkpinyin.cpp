// Writes the pinyin initials table the goods window reads ("mspycode.dll").
//
// The first-level characters of GB2312 (lead bytes 0xB0 to 0xD7) stand in the
// code page in pinyin order, so each initial letter owns one run of codes and
// the table only needs the first code of every run. The letter of each
// character comes from ICU's Chinese alphabetic index (its pinyin buckets).
// GB2312 files a few polyphonic characters under another reading than ICU
// gives them; such a character shows up as a lone change of letter inside
// another letter's run, so a run starts only where the letter moves forward
// and the next character agrees with it.
//
// File layout, as the reader expects it: one header line, then per letter a
// letter line and a code line (the code as a signed 16-bit number). The
// reader shifts every character of a letter line up by 24 and of a code line
// up by 12, so they are stored shifted down by as much.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QString>
#include <QStringDecoder>
#include <cstdio>
#include <unicode/alphaindex.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace {

struct Entry {
    int code;
    QChar letter;
};

// The character's code as the table uses it: the two GB2312 bytes as a signed 16-bit number.
int signedCode(int lead, int trail)
{
    return qint16((lead << 8) | trail);
}

QByteArray shiftedDown(const QByteArray& text, int by)
{
    QByteArray out = text;
    for (char& c : out) {
        const int shifted = quint8(c) - by;
        if (shifted < 32 || quint8(c) > 126) {
            std::fprintf(stderr, "mkpinyin: character %d cannot be stored shifted\n", quint8(c));
            std::exit(1);
        }
        c = char(shifted);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkpinyin <output file>\n");
        return 2;
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::AlphabeticIndex index(icu::Locale::getChinese(), status);
    icu::AlphabeticIndex::ImmutableIndex* buckets = index.buildImmutableIndex(status);
    if (U_FAILURE(status) || !buckets) {
        std::fprintf(stderr, "mkpinyin: no Chinese alphabetic index: %s\n", u_errorName(status));
        return 1;
    }

    // Letter of every first-level character, in code-page order.
    QStringDecoder decoder("GB18030");
    QList<Entry> chars;
    for (int lead = 0xB0; lead <= 0xD7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail > 0xF9)
                break;  // the last row of the first level ends early
            const char pair[2] = {char(lead), char(trail)};
            const QString ch = decoder.decode(QByteArrayView(pair, 2));
            decoder.resetState();
            const QByteArray utf8 = ch.toUtf8();
            const int32_t b = buckets->getBucketIndex(icu::UnicodeString::fromUTF8(utf8.constData()), status);
            std::string label;
            buckets->getBucket(b)->getLabel().toUTF8String(label);
            if (U_FAILURE(status) || label.size() != 1 || label[0] < 'A' || label[0] > 'Z') {
                std::fprintf(stderr, "mkpinyin: no initial for %s\n", utf8.constData());
                return 1;
            }
            chars.append({signedCode(lead, trail), QChar(label[0])});
        }
    }
    delete buckets;

    QList<Entry> starts;
    for (int i = 0; i < chars.size(); ++i) {
        const QChar current = starts.isEmpty() ? QChar(u'@') : starts.last().letter;
        const bool forward = chars[i].letter > current;
        const bool agreed = i + 1 < chars.size() && chars[i + 1].letter == chars[i].letter;
        if (forward && (agreed || starts.isEmpty()))
            starts.append(chars[i]);
    }
    if (starts.isEmpty() || starts.first().code != signedCode(0xB0, 0xA1)) {
        std::fprintf(stderr, "mkpinyin: the first run does not start at the first character\n");
        return 1;
    }

    QSaveFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "mkpinyin: cannot write %s\n", argv[1]);
        return 1;
    }
    out.write("Vorlix pinyin initials\r\n");
    for (const Entry& e : starts) {
        out.write(shiftedDown(QByteArray(1, char(e.letter.unicode())), 24) + "\r\n");
        out.write(shiftedDown(QByteArray::number(e.code), 12) + "\r\n");
    }
    return out.commit() ? 0 : 1;
}
