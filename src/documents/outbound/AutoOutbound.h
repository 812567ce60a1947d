#pragma once
// The automatic outbound document: from a date, a counter-party code and goods
// codes with quantities, one new outbound document of the window's type is
// built, saved and audited, as the operator would do with add, the quick-entry
// strip, save and audit.
//
// Whole or nothing: every step is checked, the save and the audit run in one
// transaction, and the audit posts the document just saved and no other. A
// refused step (no edit right, a stocktaking in progress, a bad date or unit, an
// unknown goods code, a stock shortage, a refused save or audit) leaves the
// books as they were and comes back as the message to show.

#include "documents/common/StockDocService.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

class QWidget;
class RecordSet;
struct App;

// What the caller may put in place of the shared steps.
struct AutoCkSteps {
    // The line the quick-entry strip makes of a goods code on the document date
    // (name, unit, proposed price); nullopt for an unknown code. Default: GoodsForLine.
    std::function<std::optional<StockDocLine>(const QString& code, const QDate& date)> lineFor;
    // Posts the saved document, answering a refusal or "". Default: AuditStockDoc, whose
    // policy checks the stock of the lines on the document date before anything is written.
    std::function<QString(const QString& number)> audit;
    // The save's questions on a future date or a year far from today's; true goes on.
    // Default: no (the document is not made).
    std::function<bool(const QString& question)> confirm;
};

struct AutoCkResult {
    QString number;   // the new audited document; "" when refused
    QString refusal;  // the message to show; "" when done
};

// Builds, saves and audits one outbound document dated `tmpRq` (a date text) for the
// unit `tmpBm` ("code" or "code.name") with the records of `tmpMx` from its current
// record to its end (field 0 goods code, field 1 quantity); leaves `tmpMx` at its end.
// A record with an empty code or a zero quantity adds nothing; a code already on a
// line adds its quantity to that line (checked against the stock of the day). The
// number is the next one of today for the type `typeName`. Throws DbError.
AutoCkResult AutoCk(App& app, const StockDocPolicy& policy, const QString& typeName, const QString& tmpRq,
                    const QString& tmpBm, RecordSet& tmpMx, const AutoCkSteps& steps = {});

// The window's cover while AutoCk runs: the frame AutoCkFrm over the whole window
// with the label LabInfo "请稍候……", hidden until a scope shows it.
QWidget* MakeAutoCkCover(QWidget* window);

// While alive: the window's Interactive flag off and the cover shown over the
// window. Its end hides the cover and turns Interactive on again, also when a
// step throws.
class AutoCkScope {
public:
    AutoCkScope(QWidget* cover, bool& interactive);
    ~AutoCkScope();
    AutoCkScope(const AutoCkScope&) = delete;
    AutoCkScope& operator=(const AutoCkScope&) = delete;

private:
    QWidget* m_cover;
    bool& m_interactive;
};
