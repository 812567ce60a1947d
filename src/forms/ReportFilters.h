#pragma once
// The filter parts of the report windows, placed on a filter frame's grid:
// the goods box with its look-up button, the category list and the business
// unit box. Each part keeps its controls' documented names; a part only
// builds and fills controls, the report reads them.

#include <QString>
#include <QStringList>
#include <functional>

class Database;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Opens a picker for the box and writes the chosen code into it.
using BoxPicker = std::function<void(QLineEdit* box)>;

struct GoodsFilterPart {
    QLabel* label = nullptr;
    QLineEdit* Txt = nullptr;         // code or pattern
    QPushButton* CmdQuery = nullptr;  // "?" opens the goods picker
};
// Caption label at (row, col), the box at col + 1, the button at col + 2.
GoodsFilterPart AddGoodsFilter(QWidget* frame, QGridLayout* layout, int row, int col, const QString& caption,
                               BoxPicker pick);

struct CategoryFilterPart {
    QLabel* label = nullptr;
    QComboBox* combo = nullptr;
};
// Caption label at (row, col), the list at col + 1, named `name`; `editable` lets a code be typed.
CategoryFilterPart AddCategoryFilter(QWidget* frame, QGridLayout* layout, int row, int col, const QString& caption,
                                     const char* name, bool editable = false);
// The categories as the list offers them, "code.name" in code order (categories
// without a name left out); throws DbError when the category table cannot be read.
QStringList CategoryFilterItems(Database& db);
// The category code of a list text "code.name" (the whole text without a ".").
QString CategoryCodeOf(const QString& item);

struct UnitFilterPart {
    QLabel* label = nullptr;
    QLineEdit* box = nullptr;
    QPushButton* pickButton = nullptr;  // only with a picker
};
// A business unit box (supplier, customer, department) named `name`, with a
// "?" button named `buttonName` when `pick` is given.
UnitFilterPart AddUnitFilter(QWidget* frame, QGridLayout* layout, int row, int col, const QString& caption,
                             const char* name, BoxPicker pick = {}, const char* buttonName = nullptr);
