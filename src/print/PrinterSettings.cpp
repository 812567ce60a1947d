#include "print/PrinterSettings.h"

#include "platform/UserSettings.h"

#include <QPageSize>
#include <QPrinterInfo>
#include <cmath>

namespace {

const QString App = QStringLiteral("Vorlixstore");
const QString Section = QStringLiteral("PaperForms");

int Thousandths(double mm)
{
    return int(std::lround(mm * 1000));
}

}  // namespace

namespace PrinterSettings {

std::vector<PaperForm> Forms(const QString& printer)
{
    std::vector<PaperForm> out;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    for (const QPageSize& size : info.supportedPageSizes()) {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        out.push_back({size.name(), Thousandths(mm.width()), Thousandths(mm.height())});
    }
    const std::vector<PaperForm> custom = CustomForms();
    out.insert(out.end(), custom.begin(), custom.end());
    return out;
}

int FindFormBySize(const std::vector<PaperForm>& forms, int width, int height, QString& name)
{
    name.clear();
    for (size_t i = 0; i < forms.size(); ++i)
        if (forms[i].width == width && forms[i].height == height) {
            name = forms[i].name;
            return int(i) + 1;
        }
    return 0;
}

std::vector<PaperForm> CustomForms()
{
    std::vector<PaperForm> out;
    const QStringList entries = GetSetting(App, Section, QStringLiteral("Forms")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& e : entries) {
        const QStringList parts = e.split(QLatin1Char('|'));
        if (parts.size() == 3)
            out.push_back({parts[0], parts[1].toInt(), parts[2].toInt()});
    }
    return out;
}

namespace {

void Store(const std::vector<PaperForm>& forms)
{
    QStringList entries;
    for (const PaperForm& f : forms)
        entries << QStringLiteral("%1|%2|%3").arg(f.name).arg(f.width).arg(f.height);
    SaveSetting(App, Section, QStringLiteral("Forms"), entries.join(QLatin1Char(';')));
}

}  // namespace

bool AddCustomForm(const PaperForm& form)
{
    std::vector<PaperForm> forms = CustomForms();
    for (const PaperForm& f : forms)
        if (f.name == form.name)
            return false;
    forms.push_back(form);
    Store(forms);
    return true;
}

bool DeleteCustomForm(const QString& name)
{
    if (!name.startsWith(CustomPrefix))
        return false;
    std::vector<PaperForm> forms = CustomForms();
    const auto at = std::find_if(forms.begin(), forms.end(), [&name](const PaperForm& f) { return f.name == name; });
    if (at == forms.end())
        return false;
    forms.erase(at);
    Store(forms);
    return true;
}

}  // namespace PrinterSettings
