#pragma once
// Stock by goods and attribute value, summed from the posted lines, with the
// goods remark or the remarks of the inbound lines that make up each row.

#include "forms/ReportForm.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct App;

class C11 : public ReportForm {
    Q_OBJECT
public:
    explicit C11(App& app, QWidget* parent = nullptr);

    void Command1_Click();
    // Switches between the goods remark and the inbound remarks (next run).
    void LabBZ_Click();
    void Menu_print_Click();
    bool inboundRemarkMode() const;

    QComboBox* CmbLB;
    QLineEdit* Txt;
    QPushButton* CmdQuery;
    QLineEdit* TxtF2;
    QLabel* LabSX;
    QLineEdit* TxtSX;
    QLineEdit* TxtF5;
    QPushButton* LabBZ;
    QLineEdit* TxtF6;
    QPushButton* Command1;
    QAction* Menu_TE;
    QAction* Menu_print;
    QAction* Menu_Return;

protected:
    bool generate() override;

private:
    void setHeader();
};
