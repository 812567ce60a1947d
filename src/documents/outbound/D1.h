#pragma once
// The outbound window: sales deliveries to customers, or with F3isBm issues
// to departments, as a StockDocForm with the outbound policies.

#include "documents/common/StockDocForm.h"

class D1 : public StockDocForm {
    Q_OBJECT
public:
    D1(App& app, bool F3isBm, QWidget* parent = nullptr);
};

// The main menu's two outbound entries: department issues and sales deliveries.
class DepartmentIssueWindow : public D1 {
public:
    explicit DepartmentIssueWindow(App& app, QWidget* parent = nullptr) : D1(app, true, parent) {}
};
class SalesDeliveryWindow : public D1 {
public:
    explicit SalesDeliveryWindow(App& app, QWidget* parent = nullptr) : D1(app, false, parent) {}
};
