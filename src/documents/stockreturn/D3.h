#pragma once
// The return-to-stock window: goods a customer brings back, or with F3isBm
// goods a department hands back, as a StockDocForm with the returns' policies.

#include "documents/common/StockDocForm.h"

class D3 : public StockDocForm {
    Q_OBJECT
public:
    D3(App& app, bool F3isBm, QWidget* parent = nullptr);
};

// The main menu's two return-to-stock entries: department returns and customer returns.
class DepartmentReturnWindow : public D3 {
public:
    explicit DepartmentReturnWindow(App& app, QWidget* parent = nullptr) : D3(app, true, parent) {}
};
class CustomerReturnWindow : public D3 {
public:
    explicit CustomerReturnWindow(App& app, QWidget* parent = nullptr) : D3(app, false, parent) {}
};
