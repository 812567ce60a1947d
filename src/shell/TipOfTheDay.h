#pragma once
// The tip of the day: one random line of "Learn.dat" (GB18030 text, one tip
// a line) from the program folder, with the switch for showing it at start-up.
// Opening the window always switches the start-up display on again.

#include <QDialog>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
struct App;

// Shows the tip window modally (the tip-of-the-day hook).
void ShowTipOfTheDay(App& app);

// The lines of a tips file, empty lines included; nullopt when the file is
// missing or cannot be read.
std::optional<QStringList> ReadTipsFile(const QString& path);

class frmTip : public QDialog {
    Q_OBJECT
public:
    explicit frmTip(App& app, QWidget* parent = nullptr);

    // Fills the tips from a file and shows a random one; false (tips
    // unchanged) for an empty path or a missing file.
    bool LoadTips(const QString& path);
    // Shows the tip at the current position, when there are tips.
    void DisplayCurrentTip();
    int tipCount() const { return int(Tips.size()); }

    QLabel* lblTipText;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* imgDeng;
    QCheckBox* chkLoadTipsAtStartup;
    QPushButton* cmdNextTip;
    QPushButton* cmdOK;

private:
    void nextTip();
    QStringList Tips;
    int CurrentTip = 0;  // 1-based
};
