#pragma once
// The stocktaking document window: a StockDocForm with the stocktaking policy.

#include "documents/common/StockDocForm.h"

class C2 : public StockDocForm {
    Q_OBJECT
public:
    explicit C2(App& app, QWidget* parent = nullptr);
};
