#pragma once
// Pinyin initials of goods names, for codes made from a name ("以品名的拼音
//缩写做为编码"). The table is a file in the program folder, written by the
// build from the code page's own order (see tools/mkpinyin.cpp): one header
// line, then pairs of a letter line and a start-code line, stored shifted by
// the program's own character shift.
//
// A character's code is its code in the Chinese code page as a signed 16-bit
// number; the first-level GB2312 characters, which that code page orders by
// pinyin, have the codes -20319 to -10247. Only they become initials; every
// other character comes back unchanged.

#include <QList>
#include <QString>

class PinyinTable {
public:
    // First and last code of the first-level characters.
    static constexpr int FirstLevelStart = -20319;
    static constexpr int FirstLevelEnd = -10247;

    // The table file's path in a program folder ("/"-terminated).
    static QString filePath(const QString& appFolder);

    // Reads the file; true when the whole file was read. On a missing file,
    // a letter line without its code line, a code that is no number or a
    // letter met twice the answer is false (entries read so far stay).
    bool load(const QString& path);

    bool isEmpty() const { return m_entries.isEmpty(); }
    int size() const { return int(m_entries.size()); }

    // The initial of one character code; any code outside the first level,
    // or one no entry covers, gives the character of that code itself.
    QString G(int code) const;
    // The initials of a whole text: first-level characters become their
    // initial, every other character stays as it is. Nothing is upper-cased.
    QString C(const QString& text) const;

    // The signed code-page code of a character; 0 for a character outside
    // the double-byte code page (it is then kept unchanged by C).
    static int charCode(char32_t ch);

private:
    struct Entry {
        QString letter;
        int start = 0;
    };
    QList<Entry> m_entries;
};
