#pragma once
// The outbound policies of the stock-document base: sales deliveries to a
// customer (document type 87) and issues to a department (85).

#include "documents/common/StockDocPolicy.h"

StockDocPolicy SalesDeliveryPolicy();
StockDocPolicy DepartmentIssuePolicy();
