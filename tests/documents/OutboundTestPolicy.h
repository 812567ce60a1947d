#pragma once
// The outbound policy the outbound service tests use: the window's own, sales
// deliveries (document type 87) or department issues (85), except that a new
// line proposes the goods' cost price, which is what these tests' goods carry.

#include "documents/outbound/OutboundPolicies.h"

inline StockDocPolicy TestOutboundPolicy(bool department)
{
    StockDocPolicy p = department ? DepartmentIssuePolicy() : SalesDeliveryPolicy();
    p.pricing.proposePrice = ProposeCostPrice;
    return p;
}
