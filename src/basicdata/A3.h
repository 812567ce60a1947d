#pragma once
// Goods categories (A3), table TA3: code and name only. No previous/next,
// no print, no column widening; a saved category moves to the end of the list.

#include "forms/RecordForm.h"

class A3 : public RecordForm {
    Q_OBJECT
public:
    explicit A3(App& app, QWidget* parent = nullptr);

protected:
    RecordList readList(const QString& statement) override;
    RecordSaveResult saveRecord() override;
    bool codeInUse(const QString& code) override;
    bool otherRecordExists(const QString& code) override;
    void deleteRecord(const QString& code) override;
};
