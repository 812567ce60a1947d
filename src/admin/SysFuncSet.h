#pragma once
// The settings wizard "系统设置向导": five pages (flow modes, document
// types, goods words, quantities, prices and amounts), stepped through with
// "上一步"/"下一步" and saved at once with "保存设置". Its dialogs (extra
// document items, goods attribute) work on its hidden holders through the
// public members below.

#include "admin/WizardSettings.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
struct App;

class SysFuncSet : public QDialog {
    Q_OBJECT
public:
    explicit SysFuncSet(App& app, QWidget* parent = nullptr);

    // The extra-item holders (CmbDan with CmbOD) for the extra document items dialog.
    int extraItemCount() const;
    QString extraItemName(int i) const;
    QString extraItemEntry(int i) const;
    // Replaces entry i and marks its document type as edited (☆ and legend).
    void setExtraItemEntry(int i, const QString& entry);

    // Controls read by the dialogs and the start-up.
    QPushButton* CmdCancel;
    QLineEdit* Txt9181;
    QLineEdit* TxtHPSX;

    // The model as the controls hold it now.
    WizardSettings currentSettings() const;


private:
    void buildPage1(QFrame* page);
    void buildPage2(QFrame* page);
    void buildPage3(QFrame* page);
    void buildPage4(QFrame* page);
    void buildPage5(QFrame* page);
    void connectRules();
    void loadSettings();  // Form_Load

    void CmdStep_Click(int index);
    void navigate(int direction, int& errorStep, int& page);
    void rebuildDocumentPage();
    void CmdSave_Click();
    void CmdCancel_Click();
    void ChkHP_Click(int index);
    void rebuildWordCaptions();
    void cleanWord(QComboBox* box, bool blankSelectsFirst);
    void TxtDan_LostFocus(int k);
    void ChK_Click(int index);
    void ChKDan_Click(int index);
    void Txt_Change(int index);
    void Txt_LostFocus(int index);
    void Label2_Click();
    void LabODset_Click();

    App& app;
    bool LoadingOptions = false;

    std::array<QFrame*, 5> FrmStep{};
    std::array<QFrame*, 4> FrmDan{};
    std::array<QLabel*, 6> Lab{};
    std::array<QLabel*, 13> LabInfo{};
    std::array<QCheckBox*, 4> ChKmoshi{};
    std::array<QCheckBox*, 26> ChK{};
    std::array<QCheckBox*, 3> ChkHP{};
    std::array<QCheckBox*, 8> ChKDan{};  // odd indexes only
    std::array<QLineEdit*, 8> TxtDan{};
    std::array<QLineEdit*, 8> TxtH{};
    std::array<QLabel*, 9> LabStar{};
    std::array<QLineEdit*, 10> Txt{};  // 0, 4 and 9
    QLabel* LabStarSM = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* LabODset = nullptr;
    QLabel* LabOD0 = nullptr;
    QComboBox* CmbDay = nullptr;
    QComboBox* CmbDanPrint = nullptr;
    QComboBox* CmbHP = nullptr;
    QComboBox* CmbLj = nullptr;
    QComboBox* CmbCP = nullptr;
    QComboBox* CmbSX = nullptr;
    QComboBox* CmbDan = nullptr;
    QComboBox* CmbOD = nullptr;
    QComboBox* CmbSet = nullptr;
    QCheckBox* ChKnext = nullptr;
    std::array<QPushButton*, 2> CmdStep{};
    QPushButton* CmdSave = nullptr;
};
