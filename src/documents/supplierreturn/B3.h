#pragma once
// The return-to-supplier window: purchase returns to suppliers, or with
// F3isBm rework returns to departments, as a StockDocForm with the returns'
// policy.

#include "documents/common/StockDocForm.h"

class B3 : public StockDocForm {
    Q_OBJECT
public:
    B3(App& app, bool F3isBm, QWidget* parent = nullptr);
};

// The main menu's two return entries: purchase returns and rework returns.
class PurchaseReturnWindow : public B3 {
public:
    explicit PurchaseReturnWindow(App& app, QWidget* parent = nullptr) : B3(app, false, parent) {}
};
class ReworkReturnWindow : public B3 {
public:
    explicit ReworkReturnWindow(App& app, QWidget* parent = nullptr) : B3(app, true, parent) {}
};
