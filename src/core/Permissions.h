#pragma once
// Operator permissions. Each operator holds one word per menu group
// (TE1.F61 ... TE1.F68): 0 = group switched off, otherwise
// 1 + 10 x item 1 + 100 x item 2 + 1000 x item 3. Written with four digits,
// the word reads from the left: item 3, item 2, item 1, group on; HasRight
// addresses these digit positions. The word is read at every test, so a
// change saved in the operators window applies at once.

#include <QString>

struct App;

// The menu groups, numbered as their words (group n is TE1.F6n).
enum RightGroup : int {
    RightBasicData = 1,
    RightInbound = 2,
    RightStocktaking = 3,
    RightOutbound = 4,
    RightPrices = 5,
    RightSystem = 6,
    RightAccounts = 7,
    RightReports = 8,
};

// Digit positions within a word, counted from the left.
enum RightDigit : int {
    RightItem3 = 1,    // printing and export
    RightItem2 = 2,    // modify and delete records, audit documents; sale prices
    RightItem1 = 3,    // add records, edit documents; cost prices
    RightGroupOn = 4,  // the group itself
};

// The top administrator: always present, holds every permission, cannot be
// deleted, and alone runs the account set's maintenance.
inline const QString TopAdministrator = QStringLiteral("001");
// True when the logged-in operator is the top administrator.
bool IsTopAdministrator(const App& app);

inline const QString NoRightsText = QStringLiteral("对不起，您无此权限！");

// True when the logged-in operator holds `digit` (1-4) of word `group` (1-8).
// Any failed look-up (nobody logged in, unknown operator, null word) is False.
bool HasRight(const App& app, int group, int digit);

// The word for the ticks of one group in the operators window: 0 when the
// group is off, whatever items are ticked.
int PermissionWord(bool groupOn, bool item1, bool item2, bool item3);

// The ticks a stored word stands for, read digit by digit as HasRight reads it.
struct PermissionItems {
    bool groupOn = false;
    bool item1 = false;
    bool item2 = false;
    bool item3 = false;
};
PermissionItems DecodePermissionWord(int word);

// The word every permission granted (the top administrator "001" is saved so).
constexpr int FullPermissionWord = 1111;
