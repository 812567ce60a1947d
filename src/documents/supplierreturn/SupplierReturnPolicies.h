#pragma once
// The returns' policies of the stock-document base: purchase returns to a
// supplier (document type 82) and rework returns to a department (84). Both
// take goods out of stock at the line's price and reduce the payable.

#include "documents/common/StockDocPolicy.h"

StockDocPolicy PurchaseReturnPolicy();
StockDocPolicy ReworkReturnPolicy();
