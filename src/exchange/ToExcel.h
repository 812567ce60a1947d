#pragma once
// The export window: the user picks the file type (workbook, CSV, picture)
// and the target file, exports once, and may then open the written file.
// The last type chosen is remembered per user.

#include "exchange/GridExportService.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
struct App;

class ToExcelForm : public QDialog {
    Q_OBJECT
public:
    // Per-user memory of the last choice: 0..2 workbook (version index), 8 CSV, 9 picture.
    static QString settingApp() { return QStringLiteral("Brenquist"); }
    static QString settingSection() { return QStringLiteral("Express"); }
    static QString settingKey() { return QStringLiteral("ToExcel"); }

    ToExcelForm(App& app, GridExportSource source, const QString& name, QWidget* parent = nullptr);

    // The extension of the path in Txt becomes the selected type's.
    void ApplyTypeExtension();
    void OpenExportedFile();

    QComboBox* CmbLX;
    QComboBox* Cmb;
    QLineEdit* Txt;
    QPushButton* CmdSaveTo;
    QPushButton* Cmd0;
    QPushButton* Cmd1;

    void done(int r) override;

private:
    void browse();
    void exportClicked();
    bool runExport(QString& note);
    QString extension(int type) const;

    App& app;
    GridExportSource src;
    QString TName;
    bool exported = false;
};
