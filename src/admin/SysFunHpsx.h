#pragma once
// "设置货品动态属性": chooses the name of the goods attribute (or none) for
// the settings wizard; it reads and writes only the wizard's TxtHPSX.

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class SysFuncSet;

class SysFunHpsx : public QDialog {
    Q_OBJECT
public:
    explicit SysFunHpsx(SysFuncSet& wizard);

private:
    void Cmd_Click(int index);

    SysFuncSet& wizard;
    QLabel* Label1;
    std::array<QRadioButton*, 2> Opt{};
    QComboBox* Cmb;
    std::array<QPushButton*, 2> Cmd{};
};
