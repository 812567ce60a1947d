#pragma once
// The settings wizard's model: what its five pages hold, how they are filled
// from the open account set, and the one save that writes them back. Members
// carry the names of the wizard's controls (ChK(n) is ChK[n]) so the window
// copies them one to one.

#include <QString>
#include <QVector>
#include <array>

struct App;
class Database;

// One document type in use on page 2 with its extra header item: the settings
// row (181 + slot), the type's name and the state entry: "" (no row),
// "显示-" + caption (shown in the documents) or "隐藏-" + caption (kept, not shown).
struct ExtraItemEntry {
    int id = 0;
    QString name;
    QString entry;
};

// The entry of an extra item; the caption is kept as given.
QString ExtraItemEntryText(bool shown, const QString& caption);
// True when the entry begins with "显示".
bool ExtraItemShown(const QString& entry);
// The caption of an entry: everything after the word and its separator ("" for a short entry).
QString ExtraItemCaption(const QString& entry);

// The document types: slot k is row 81 + k; even slots are receipts or issues,
// odd slots their returns. Defaults stand when a row is missing.
extern const std::array<const char*, 8> DocTypeDefaultNames;
extern const std::array<const char*, 8> DocTypeDefaultPrefixes;

struct WizardSettings {
    // Page 1.
    std::array<int, 4> ChKmoshi{};
    int CmbDay = 0;       // chosen entry, -1 none ("1" is 0, "月末" is 27)
    int CmbDanPrint = 0;  // chosen entry, -1 none
    // Page 2.
    std::array<QString, 8> TxtDan;
    std::array<QString, 8> TxtH;
    std::array<bool, 8> TxtDanEnabled{};  // even slots: by the flow modes; odd: by ChKDan
    std::array<int, 8> ChKDan{};          // odd slots only
    QVector<ExtraItemEntry> extraItems;   // CmbDan with CmbOD
    QString Txt9181;
    QString TxtHPSX;
    // Page 3.
    std::array<int, 3> ChkHP{};
    QString CmbHP, CmbLj, CmbCP, CmbSX;
    // Option boxes of pages 1 to 5 by index.
    std::array<int, 26> ChK{};
    // Decimal places of prices (Txt(9)) and amounts (Txt(0)); the factor box Txt(4).
    std::array<QString, 10> Txt;
    int ChKnext = 0;
    // The load's verdict: the account set was configured under another title.
    bool cancelHidden = false;
};

// Fills the model as the wizard shows it on opening: rows of sysinfo, the
// settings globals and the visibility of the finished-goods menu item, with
// the option rules applied. Creates the quotation table KhPrice when missing.
// Throws DbError only when the document types cannot be read.
WizardSettings LoadWizardSettings(App& app);

// The document frames of page 2 shown for the flow modes (frame k holds slots 2k, 2k+1).
std::array<bool, 4> FramesOfFlowModes(const std::array<int, 4>& modes);

// Rebuilds page 2 after page 1: receipt and issue names enabled by the frames
// shown, the extra-item list of the types of those frames read from their rows.
// The payment options ChK(13)/ChK(14) of the flows are cleared in the warehouse edition.
void RebuildDocumentPage(const App& app, WizardSettings& s);

// True when slot k is in use: its name box enabled and, for a return, its base type too.
bool DocTypeInUse(const WizardSettings& s, int slot);

// Writes every wizard setting into sysinfo and thever in one transaction,
// renames the documents of a renamed type (TB1.S2 of that type's kind only),
// then updates the settings globals and reshapes app.Menus. Throws DbError
// with the account set, the globals and the menus left as they were.
void SaveWizardSettings(App& app, const WizardSettings& s);

// Option rules of the wizard.

// The decimals box on leaving it: the accepted count as text, or `current`
// when the text is no plain number from 0 to 12.
QString AcceptDecimalsEntry(const QString& text, int current);
// Confirmations before letting "001" edit stock quantities / opening balances.
QString StockEditWarning(const QString& goodsTerm);
QString OpeningEditWarning(const QString& goodsTerm);
