#pragma once
// The one hand-over through which every window prints: stage the rows in
// Plist, give the named values, the layout id, the default template and the
// SQL that reads the rows back, then show the print window.
//
//   PlistPrint job(app);                           // empties Plist and the named values
//   job.Pid = QStringLiteral("客户档案");           // layout id (key of PrintSet)
//   job.RptFile = app.AppFolder + "pkh.vxp";       // default template
//   job.setValue("Caption", windowTitle());        // named values, in order
//   job.addRow({code, name, phone});               // F1, F2, F3 (F0 = row number)
//   job.PrnSQL = "select F1,F2,F3 from Plist order by F0";
//   job.show(this);                                // MyCmd 0 preview, 1 print at once
//
// Plist is a TEMP table of this connection, so two workstations printing at
// once never see each other's rows.

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

struct App;
class QWidget;
class Database;

class PlistPrint {
public:
    explicit PlistPrint(App& app);

    QString Pid;      // layout id, a Chinese title such as "客户档案"
    QString RptFile;  // default template path: AppFolder + file name
    QString PrnSQL;   // SQL over Plist returning the print rows in order
    int MyCmd = 0;    // 0 preview, 1 print all pages and close

    // A named value (row of the print window's value table) after "RegName".
    void setValue(const QString& name, const QString& value);
    // One staged row: texts into F1..F15 in order, numbers into V1..V7, long
    // texts (remarks) into M1, M2. F0 gets the row number "00001", "00002" ...
    // so text order is row order.
    void addRow(const QStringList& texts, const QList<double>& numbers = {}, const QStringList& memos = {});
    int rowCount() const { return int(m_rows.size()); }

    // Checks for a printer (NoPrinter(1)), writes the staged rows into Plist
    // in one transaction and shows the print window modally. False when no
    // printer is installed or the rows could not be staged (the user was told).
    bool show(QWidget* parent);

    // Writes the staged rows into Plist (emptied first); throws DbError.
    void stage();

    // Makes sure this connection has its TEMP table Plist.
    static void EnsurePlist(Database& db);

    const std::vector<std::pair<QString, QString>>& values() const { return m_values; }

private:
    App& m_app;
    std::vector<std::pair<QString, QString>> m_values;
    struct Row {
        QStringList texts;
        QList<double> numbers;
        QStringList memos;
    };
    std::vector<Row> m_rows;
};
