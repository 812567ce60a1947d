#pragma once
// The inbound receipt window: purchase receipts from suppliers, or with
// F3isBm production receipts from departments, as a StockDocForm with the
// receipts' policy.

#include "documents/common/StockDocForm.h"

class B1 : public StockDocForm {
    Q_OBJECT
public:
    B1(App& app, bool F3isBm, QWidget* parent = nullptr);
};
