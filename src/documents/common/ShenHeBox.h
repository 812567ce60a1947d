#pragma once
// The audit-scope dialog of the stock-document windows. The caller clears
// PickResult, sets LabInfo and Opt0's captions, may hide Opt1 and select
// Opt0, shows it modal and reads PickResult: "0" the selected document, "1"
// every unaudited document of the list, "" cancelled.

#include <QDialog>

class QLabel;
class QRadioButton;
struct App;

class ShenHeBox : public QDialog {
    Q_OBJECT
public:
    explicit ShenHeBox(App& app, QWidget* parent = nullptr);

    QLabel* LabInfo;
    QRadioButton* Opt0;
    QRadioButton* Opt1;

private:
    void confirm();
    App& m_app;
};
