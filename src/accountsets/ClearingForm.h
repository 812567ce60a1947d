#pragma once
// The data-clearing window: the operator ticks what to clear; master data is
// cleared only together with the documents that refer to it.

#include <QDialog>
#include <array>

class QCheckBox;
class QPushButton;
struct App;
struct ClearingChoice;

class S3 : public QDialog {
    Q_OBJECT
public:
    explicit S3(App& app, QWidget* parent = nullptr);

    std::array<QCheckBox*, 6> ChK;
    std::array<QPushButton*, 3> Cmd;  // 确定执行, 返回系统, 备份数据

    void Cmd0_Click();

private:
    ClearingChoice choice() const;

    App& app;
};
