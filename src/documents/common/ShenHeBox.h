#pragma once
// The audit-scope dialog of the stock-document windows. The caller sets
// LabInfo and Opt0's captions, may hide Opt1 and select Opt0, shows it modal
// and reads Scope.

#include <QDialog>

class QLabel;
class QRadioButton;

class ShenHeBox : public QDialog {
    Q_OBJECT
public:
    enum class AuditScope { Cancelled, Selected, AllUnaudited };

    explicit ShenHeBox(QWidget* parent = nullptr);

    QLabel* LabInfo;
    QRadioButton* Opt0;
    QRadioButton* Opt1;
    AuditScope Scope = AuditScope::Cancelled;  // the answer

private:
    void confirm();
};
