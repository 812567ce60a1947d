#pragma once
// Stocktaking as a kind of the stock-document window: its line roles (book
// quantity and counted quantity beside the base's difference, price and
// amount), the count's rules on the grid, and the routes by which the base
// service hands its documents to the stocktaking service.

#include "documents/common/StockDocPolicy.h"

// The line roles a count adds: the book quantity and the counted quantity. The base's
// Quantity role holds the difference (counted - book), its Amount the difference amount.
constexpr LineRole BookRole = LineRole(int(LineRole::KindOwn));
constexpr LineRole CountedRole = LineRole(int(LineRole::KindOwn) + 1);

StockDocPolicy StocktakingPolicy();
