#pragma once
// "供应商资料" (A1): the suppliers, TA1 rows of kind UnitKind::Supplier.

#include "basicdata/UnitForm.h"

class A1 : public UnitForm {
    Q_OBJECT
public:
    explicit A1(App& app, QWidget* parent = nullptr);

protected:
    QList<int> exportNumericColumns() const override { return {7}; }
};
