#pragma once
// The printer settings a layout needs, over the platform's printing (CUPS
// through Qt's print support): a printer's paper forms with their sizes in
// thousandths of a millimetre, the custom forms this program makes (names
// beginning "Vorlo"), which it keeps in a list of its own for this user, and
// the paper and orientation a print job carries. A printer's own defaults,
// which other programs use, are never changed.

#include <QString>
#include <QStringList>
#include <vector>

struct PaperForm {
    QString name;
    int width = 0;   // thousandths of a millimetre
    int height = 0;
};

namespace PrinterSettings {

// The prefix of the custom forms this program makes.
inline const QString CustomPrefix = QStringLiteral("Vorlo");

// The forms of printer `printer`: its supported page sizes, then the custom forms.
std::vector<PaperForm> Forms(const QString& printer);
// 1-based position of the first form of exactly that size, 0 none; its name into `name`.
int FindFormBySize(const std::vector<PaperForm>& forms, int width, int height, QString& name);
// The custom forms kept by the program.
std::vector<PaperForm> CustomForms();
// Adds a custom form; false when one of that name exists.
bool AddCustomForm(const PaperForm& form);
// Deletes a custom form; false when it is not one of the program's.
bool DeleteCustomForm(const QString& name);

}  // namespace PrinterSettings
