#pragma once
// The print set-up of each layout in the account set (table PrintSet): which
// template file and which printer a layout uses on a computer, and whether
// the printer's orientation follows the layout. Read when a print window
// opens; written by the print set-up and template choice windows. Takes the
// database, shows nothing, throws DbError.

#include <QString>

class Database;

struct PrintSetChoice {
    bool found = false;  // the layout has a row for this operator
    QString file;       // template path as stored ("" none)
    QString printer;    // printer of this computer ("" none stored)
    bool changePrinterOrientation = true;
};

class PrintSetStore {
public:
    explicit PrintSetStore(Database& db) : m_db(db) {}

    // The choice for layout `pid`, operator and computer: this operator's
    // rows first, then those of the top administrator ("001" reads only its
    // own); the file of the last row read and the printer of the first row of
    // this computer, which also ends the reading.
    PrintSetChoice Choose(const QString& pid, const QString& operatorCode, const QString& computer) const;

    // Assigns printer, template file and orientation switch to layout `pid`
    // on `computer` for every operator: the layout's rows of that computer
    // are replaced in one transaction, so a failed write leaves the old
    // assignment.
    void Assign(const QString& pid, const QString& computer, const QString& printer, const QString& file,
                bool changePrinterOrientation);

    // Points the layout's rows that name `oldFile` (stored either way) at `newFile`.
    void RenameFile(const QString& pid, const QString& oldFile, const QString& newFile, const QString& appFolder);

    // A template path as the set-up stores it: relative to the program
    // folder when it lies inside it (exact case), else whole.
    static QString StoredPath(const QString& path, const QString& appFolder);
    // The stored path as a file path: relative ones are taken from the program folder.
    static QString FilePath(const QString& stored, const QString& appFolder);

private:
    Database& m_db;
};
