#include "shell/AfterLogin.h"

#include "core/AccountSetOpen.h"
#include "core/App.h"
#include "core/Permissions.h"
#include "core/SchemaUpgrades.h"
#include "platform/Database.h"
#include "shell/BGForm.h"
#include "shell/MForm.h"

#include <QDate>
#include <cmath>

namespace {

// A permission word as a number; null, or a value that is not a number, counts as 0.
double wordValue(const QVariant& v)
{
    if (v.isNull())
        return 0;
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    return ok ? d : 0;
}

void setEnabled(MenuModel& m, std::initializer_list<const char*> names, bool enabled)
{
    for (const char* n : names)
        m.setEnabled(QString::fromLatin1(n), enabled);
}

}  // namespace

QString FolderOfSetPath(const QString& path)
{
    const int slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return slash < 0 ? QString() : path.left(slash + 1);
}

PriceFlags PriceFlagsOf(double word)
{
    PriceFlags f;
    if (word == 0)
        return f;
    const qint64 n = std::llround(word);
    QString digits = QString::number(n < 0 ? -n : n).rightJustified(4, QLatin1Char('0'));
    if (n < 0)
        digits.prepend(QLatin1Char('-'));
    f.cost = digits.at(2) != QLatin1Char('0');
    f.profit = word >= 100 && digits.at(1) != QLatin1Char('0');
    return f;
}

QString AfterLoginSetup(App& app)
{
    Database& db = app.CurrentDatabase;
    MForm* frame = dynamic_cast<MForm*>(app.MainWindow);
    app.AccountSetFolder = FolderOfSetPath(app.CurrentSetPath);
    if (frame)
        frame->background()->setEnabled(false);
    UpgradeSchemaOnLogin(db);

    // Reservations count for the day they were made (DTTM "yyyy-MM-dd HH:mm:ss").
    const QDate today = QDate::currentDate();
    try {
        db.execute(QStringLiteral("DELETE FROM DanNo WHERE NOT (ifnull(DTTM,'')>=? AND ifnull(DTTM,'')<?)"),
                   {today.toString(QStringLiteral("yyyy-MM-dd")), today.addDays(1).toString(QStringLiteral("yyyy-MM-dd"))});
    } catch (const DbError&) {
    }
    CreatePrintSetTable(db);
    CreateRkPriceTable(db);

    // The company on printouts ("RegName") and the background's big text is
    // the name the user gave the set.
    app.CompanyName = AccountSetDisplayName(app);

    QString caption = app.AppTitle + QStringLiteral("--") + app.EditionName;
    if (app.CurrentSetName.isEmpty())
        caption += QStringLiteral(" -- ") + app.CurrentSetPath;
    if (frame)
        frame->setWindowTitle(caption);

    MenuModel& m = app.Menus;
    setEnabled(m, {"Menu_A", "Menu_B", "Menu_C", "Menu_D", "Menu_E", "Menu_zbbf", "Menu_zbhf", "Menu_F", "Menu_S1",
                   "Menu_S3", "Menu_S25", "Menu_S26"},
               true);
    setEnabled(m, {"Menu_S30", "Menu_yasuo"}, false);
    app.CanSeeCost = -1;
    app.CanSeeProfit = -1;
    setEnabled(m, {"Menu_shuaxin", "Menu_S3"}, true);
    if (app.AppTitle.contains(QStringLiteral("仓库")))
        m.setVisible(QStringLiteral("Menu_Eml"), false);
    // The summary report's memories last until the next login.
    app.SummaryMemories = {};

    if (IsTopAdministrator(app)) {
        setEnabled(m, {"Menu_S30", "Menu_yasuo"}, true);
        m.notifyChanged();
        return app.CompanyName;
    }
    setEnabled(m, {"Menu_shuaxin", "Menu_S3"}, false);
    if (frame)
        frame->setPanelToolTip(4, QString());

    try {
        const RecordSet rs = db.query(
            QStringLiteral("SELECT F61,F62,F63,F64,F65,F66,F67,F68 FROM TE1 WHERE F1=?"), {app.OperatorCode});
        if (!rs.isEmpty()) {
            const auto word = [&rs](const char* column) { return wordValue(rs.value(0, QString::fromLatin1(column))); };
            const struct {
                const char* column;
                std::initializer_list<const char*> menus;
            } groups[] = {
                {"F61", {"Menu_A"}},
                {"F62", {"Menu_B"}},
                {"F63", {"Menu_C"}},
                {"F64", {"Menu_D"}},
                {"F67", {"Menu_E"}},
                {"F68", {"Menu_F"}},
                {"F66", {"Menu_S1", "Menu_S3", "Menu_S25", "Menu_zbhf", "Menu_zbbf"}},
            };
            for (const auto& g : groups)
                if (word(g.column) == 0)
                    setEnabled(m, g.menus, false);
            const PriceFlags flags = PriceFlagsOf(word("F65"));
            app.CanSeeCost = flags.cost ? -1 : 0;
            app.CanSeeProfit = flags.profit ? -1 : 0;
        }
    } catch (const DbError&) {
        // Words that cannot be read grant nothing.
        setEnabled(m, {"Menu_A", "Menu_B", "Menu_C", "Menu_D", "Menu_E", "Menu_F", "Menu_S1", "Menu_S3", "Menu_S25",
                       "Menu_zbhf", "Menu_zbbf"},
                   false);
        app.CanSeeCost = 0;
        app.CanSeeProfit = 0;
    }
    m.notifyChanged();
    return app.CompanyName;
}
