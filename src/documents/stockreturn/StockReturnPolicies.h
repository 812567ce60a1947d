#pragma once
// The returns-to-stock policies of the stock-document base: goods a customer
// brings back (document type 88) and goods a department hands back (86).

#include "documents/common/StockDocPolicy.h"

StockDocPolicy CustomerReturnPolicy();
StockDocPolicy DepartmentReturnPolicy();

// Rewrites the stored header amount TB1.F9 of a document as the sum of its stored line
// amounts (each in the amount pattern), with the type's header sign: the audit's re-valued
// lines and the header agree.
void RestateAmountFromLines(Database& db, const QString& amountFormat, const QString& number, int headerSign);
