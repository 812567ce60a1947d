#pragma once
// Brings an account set of any age to the current layout. There is no schema
// version: every opening and every login runs the same fixed statements, and a
// statement that adds a column or table that is already there simply fails.
// So each procedure is harmless on a current set and reports nothing: a file
// that cannot be changed passes unchanged.

class Database;

// Colour columns of the list tables, once the goods stock amount Fje
// (computed as quantity x cost on the opening that creates it), and the
// indexes a set lacks (CreateMissingIndexes).
void UpgradeSchemaOnOpen(Database& db);

// The indexes of a new set (AccountSetIndexes) that the file lacks: an old
// set walks and lists as fast as a new one. An index under another name that
// begins with the same columns counts as present.
void CreateMissingIndexes(Database& db);

// Columns of later releases; on the login that creates the goods class Fcplj,
// every goods becomes a part and every product of a structure row a finished product.
void UpgradeSchemaOnLogin(Database& db);

// The printer set-up table; true when it was created now, false when it exists (or cannot be made).
bool CreatePrintSetTable(Database& db);

// The inbound reference price history and the goods column RkF7.
void CreateRkPriceTable(Database& db);

// The unit column SCSF of units that are both supplier and customer.
void AddUnitDualRoleColumn(Database& db);

// The customer quotation table (its colour columns come with the next opening).
void CreateKhPriceTable(Database& db);

// The unit column DocDir: the folder of a customer's documents.
void AddUnitDocDirColumn(Database& db);
