#include "documents/stocktaking/C2.h"

#include "documents/stocktaking/StocktakingPolicy.h"

C2::C2(App& app, QWidget* parent) : StockDocForm(app, StocktakingPolicy(), parent)
{
    // The line import recognises the stocktaking window by this name.
    setObjectName(QStringLiteral("C2"));
}
