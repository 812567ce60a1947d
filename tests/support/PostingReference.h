#pragma once
// The posting cycle done line by line, as the document windows once did it:
// the reference that the one-walk-per-goods poster must equal, and a snapshot
// of every stored value posting writes to compare the two by.

#include "core/Posting.h"

#include <QStringList>

class Database;

// Posts the document line by line: each line stamped and walked from its own key with the
// figures before it and the out price of `outPrice`. Answers the posting key.
QString PostLineByLine(Database& db, const PostingRules& rules, const QString& docNo, const QString& auditor,
                       const BalanceMove& move, OutPriceRule outPrice = OutPriceRule::LastOutLine);
// Takes the document back line by line, each goods re-walked from the document's key.
void UnpostLineByLine(Database& db, const PostingRules& rules, const QString& docNo,
                      OutPriceRule outPrice = OutPriceRule::LastOutLine, bool keepLineAuditor = false);
// Every stored value of TB11, TB1 and TA4 in rowid order, the time stamps left out.
QStringList PostingSnapshot(const Database& db);
