#pragma once
// The business-unit members of the record form: suppliers (A1), customers
// (A2) and departments (A12) share their boxes, list, query, save and delete;
// each member only names its captions and adds what it alone has.
//
// Boxes: 0 code, 1 name, 2 address (departments: function), 3 phone, 4 fax,
// 5 contact (departments: e-mail), 6 remark, 7 opening balance, 8 mobile
// (suppliers and customers). The list holds boxes 0 to 7; column 7 is hidden.

#include "basicdata/Units.h"
#include "core/Kinds.h"
#include "forms/RecordForm.h"

class QCheckBox;

class UnitForm : public RecordForm {
    Q_OBJECT
public:
    double OpeningBeforeEdit = 0;
    bool DualRoleEnabled = false;
    int FormUnitKind = 0;

    QCheckBox* ChkSCSF = nullptr;
    QLabel* LabSCSF = nullptr;

protected:
    struct UnitCaptions {
        QStringList boxes;    // captions of boxes 0 to 7 (and 8 when withMobile)
        QStringList headers;  // list headers 0 to 7
        bool withMobile = true;
        bool withDualRole = true;
        bool withImport = true;
        bool openingShown = true;
        bool rechainsBalance = true;
        QString dualRoleText;  // the label when the box is ticked
    };
    UnitForm(App& app, QWidget* parent, UnitKind kind);
    // Builds the boxes and the shared parts; the member then calls start().
    void buildUnit(const UnitCaptions& captions);
    Shape unitShape(const QString& objectName, const QString& caption, const QString& listTab,
                    const QString& detailTab, const QString& keepOneText) const;

    // The member's share of a save: fields only it keeps (folder, quotations).
    virtual void completeSave(UnitRecord& record, UnitSaveRequest& request) { Q_UNUSED(record) Q_UNUSED(request) }

    RecordList readList(const QString& statement) override;
    RecordSaveResult saveRecord() override;
    bool codeInUse(const QString& code) override;
    bool otherRecordExists(const QString& code) override;
    void deleteRecord(const QString& code) override;
    void showRecordExtras() override;
    void enterEditExtras() override;
    void leaveEditExtras() override;
    void addExtras() override;
    void editExtras() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void ChkSCSF_Click();
    void showDualRole(bool shown);

    UnitCaptions Captions;
};
