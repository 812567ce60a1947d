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

// The main menu's two inbound entries: purchase receipts and production receipts.
class PurchaseReceiptWindow : public B1 {
public:
    explicit PurchaseReceiptWindow(App& app, QWidget* parent = nullptr) : B1(app, false, parent) {}
};
class ProductionReceiptWindow : public B1 {
public:
    explicit ProductionReceiptWindow(App& app, QWidget* parent = nullptr) : B1(app, true, parent) {}
};
