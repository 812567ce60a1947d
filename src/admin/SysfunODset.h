#pragma once
// "出入库单据增设项目": for each document type in use on the wizard's page 2,
// whether its extra header item is set up and its caption, and the same for
// the stocktaking document. Rows go back into the wizard's holders one by one
// while the dialog is open (BeginWork 1); the stocktaking row only on "确   定".

#include <QDialog>
#include <array>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class SysFuncSet;

class SysfunODset : public QDialog {
    Q_OBJECT
public:
    explicit SysfunODset(SysFuncSet& wizard);

    // Fills the rows from the wizard's lists; rows beyond them stay hidden.
    void fillFromWizard();

    int BeginWork = 0;

    void done(int result) override;

private:
    void ChK_Click(int i);
    void ChKPD_Click();
    void CmdOK_Click();
    void WriteBackExtraItem(int i);
    static void colourCaption(QLineEdit* box, bool on);

    SysFuncSet& wizard;
    QGridLayout* grid;
    QLabel* LabInfo12;
    std::array<QLabel*, 8> LabDan{};
    std::array<QCheckBox*, 8> ChK{};
    std::array<QLineEdit*, 8> TxtOD{};
    QLabel* LabPD;
    QCheckBox* ChKPD;
    QLineEdit* TxtPD;
    QPushButton* CmdOK;
};
