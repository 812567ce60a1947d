#pragma once

class Database;

// Starts a new year in the same account set: every goods' current stock
// quantity, cost price and amount become its opening figures (V3, V4, V5);
// every supplier's and customer's balance after its last audited document
// (QM at its highest posting key) becomes its opening balance NK, while units
// without audited documents and departments keep theirs; then every document
// line, header and voucher is deleted. One transaction: a failure leaves the
// set as it was. Throws DbError.
void CarryOverYear(Database& db);
