#pragma once
// The check that every business unit's account balance chain is whole.

#include <QString>

class Database;

// "" when each unit's QC/QM chain over its posted rows, walked in key order
// (ties by rowid) from TA1.NK, is whole; else where it breaks.
QString ChainFault(const Database& db);
