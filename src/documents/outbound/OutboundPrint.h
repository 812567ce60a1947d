#pragma once
// What the outbound documents add to the shared document print: their plans
// (two layouts in both modes and, in sales mode, the delivery note with one
// row per goods), the line query with the discount columns, the customer's
// named values, and no print right asked.

#include "documents/common/StockDocPolicy.h"

// Sets the print part of an outbound policy (sales deliveries or department issues).
void UseOutboundPrint(PrintRule& print, bool department);
