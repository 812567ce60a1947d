#pragma once
// "本公司部门资料" (A12): the company's departments, TA1 rows of kind
// UnitKind::Department. No print, import, mobile, dual role or account chain;
// the opening balance is kept but never shown.

#include "basicdata/UnitForm.h"

class A12 : public UnitForm {
    Q_OBJECT
public:
    explicit A12(App& app, QWidget* parent = nullptr);
};
