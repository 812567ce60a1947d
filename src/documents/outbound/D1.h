#pragma once
// The outbound window: sales deliveries to customers, or with F3isBm issues
// to departments, as a StockDocForm with the outbound policies. It adds the
// assembly row (a product's parts as the lines) and the automatic document.

#include "documents/common/StockDocForm.h"

class QLabel;
class RecordSet;

class D1 : public StockDocForm {
    Q_OBJECT
public:
    D1(App& app, bool F3isBm, QWidget* parent = nullptr);

    // Builds, saves and audits one document dated tmpRq for unit tmpBm with the goods and
    // quantities of tmpMx, as the operator would; a refusal is shown. True when posted.
    bool AutoCk(const QString& tmpRq, const QString& tmpBm, RecordSet& tmpMx);
    bool Interactive = true;

protected:
    void editStateChanged() override;
    void documentShown(const StockDoc* doc) override;
    void fillHeaderExtras(StockDocHeader& head) const override;

private:
    void buildAssemblyRow();
    App& m_app;
    QWidget* m_assembly = nullptr;
    QLineEdit* m_txt7 = nullptr;  // product code
    QLineEdit* m_txt8 = nullptr;  // assembly quantity
    QLineEdit* m_txt9 = nullptr;  // product name/spec
    QLabel* m_labDW10 = nullptr;
    QString OldZZCP;
    QWidget* m_autoCkCover = nullptr;
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
