#pragma once
// The receipts' policies of the stock-document base: purchase receipts from a
// supplier (document type 81) and production receipts from a department (83).

#include "documents/common/StockDocPolicy.h"

StockDocPolicy PurchaseReceiptPolicy();
StockDocPolicy ProductionReceiptPolicy();
