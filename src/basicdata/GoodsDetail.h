#pragma once
// The detail tab of the goods window: the boxes of one goods, its picture,
// the code options and its product structure. The goods window A4 places it
// in its detail frame and drives it through the record commands; the boxes
// keep the names the rest of the program knows them by (Txt0 ... Txt15,
// CmbLB, CmbDW, TxtSL, ChK, ChkBM0 ... ChkBM2, Opt0, Opt1, Img, LabInfo,
// cmdOpen, CmdShow, CmdCopy, CmdQGys).

#include "basicdata/GoodsSave.h"
#include "basicdata/Pinyin.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class StructureEditor;
struct App;

class GoodsDetail : public QWidget {
    Q_OBJECT
public:
    GoodsDetail(App& app, const QString& theHname, QWidget* parent = nullptr);

    // Settled once when the window loads (settings, rights, words).
    bool compositeAllowed = false;  // ChK offered
    bool fixedSupplier = false;     // Txt15 and CmdQGys offered
    bool pinyinLoaded = false;
    int Edstu = 0;

    std::array<QLineEdit*, 16> Txt{};
    std::array<QLabel*, 17> Lab{};
    QComboBox* CmbLB;
    QComboBox* CmbDW;
    QLineEdit* TxtSL;
    QLabel* LabSL;
    QLabel* LabPrice;
    QCheckBox* ChK;
    QPushButton* CmdCopy;
    QPushButton* CmdQGys;
    QRadioButton* Opt0;
    QRadioButton* Opt1;
    std::array<QCheckBox*, 3> ChkBM{};
    QLabel* Img;
    QLabel* LabInfo;
    QPushButton* cmdOpen;
    QPushButton* CmdShow;
    StructureEditor* Structure;

    // The stored picture reference of the goods shown or being edited.
    QString pictureRef;

    // What the window settles when it loads: the optional boxes shown or
    // hidden by the settings (fixed supplier, extra attribute, reference
    // price, fee rate), price boxes masked for an operator who may not see
    // them, the composite box offered or not.
    void settle(bool supplierMenuVisible, const QString& attributeName);
    // Fills the boxes from a goods list row (the 18 list cells).
    void ShowGoodsRecord(const QStringList& row);
    // The boxes as the save reads them.
    GoodsInput input() const;
    // Writes back what the checks cleaned and the save stored.
    void applyOutcome(const GoodsSaveOutcome& out);
    // Where Enter in box Txt(box) moves the focus: the first of these that is
    // shown; none keeps the focus where it is.
    QList<QWidget*> enterTargets(int box) const;
    // Browse and edit switching of the detail boxes.
    void EnterEditMode(bool adding);
    void LeaveEditMode();
    // Clears the boxes for a new goods.
    void clearForAdd();
    // The structure at the basis the options choose, for the code in Txt0.
    void LoadBomGrid(const QString& product);
    PriceBasis basis() const;

    void ChK_Click();
    void ChkBM_Click(int index);
    void Img_DblClick();
    void CmdShow_Click();
    void CmdCopy_Click();
    void CmdQGys_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void placeCodeAndName(bool nameFirst);
    void nameChanged();
    void openingChanged();
    void showPicture(const QString& reference);

    App& app;
    QString theHname;
    PinyinTable pinyin;
    QGridLayout* grid = nullptr;
};
