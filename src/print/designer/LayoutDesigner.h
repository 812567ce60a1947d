#pragma once
// The layout designer's edit session over one print engine: edit mode, the
// selection made by a rubber band or a click (the hit test), and the fifteen
// tool buttons that move, size, align, embolden or turn into a barcode what
// is selected. It changes the layout only through LayoutEditor; the dialogs
// it needs (barcode, properties, logo, print set-up) are asked through the
// hooks, which the window fills.
//
// Coordinates are the layout's: x in design units across, y in millimetres
// down; a negative TOP or BOTTOM counts from the page bottom.

#include "print/designer/LayoutEditor.h"

#include <QObject>
#include <QRectF>
#include <array>
#include <functional>

class PrintEngine;

struct Selection {
    QString kind;  // "" nothing, "#LOGO", "字段", "常量", "LINE" or a variable's name
    QString name;  // value of the VALUE row, or "记录集横线" for the record rows' rule lines
    double left = -1000, top = -1000, right = 0, bottom = 0;
    bool wholeRow = false;
};

class LayoutDesigner : public QObject {
    Q_OBJECT
public:
    // The tool buttons by index.
    enum Tool {
        MoveLeft = 0, MoveUp = 1, MoveDown = 2, MoveRight = 3, Longer = 4, Shorter = 5, AlignLeft = 6,
        AlignRight = 7, Centre = 8, Larger = 9, Smaller = 10, Properties = 11, Barcode = 12, Bold = 13, Logo = 14
    };
    static constexpr int ToolCount = 15;
    // Modifier mask of a press: 1 Shift, 2 Ctrl, 4 Alt.
    enum Mask { ShiftKey = 1, CtrlKey = 2, AltKey = 4 };

    LayoutDesigner(PrintEngine& engine, LayoutEditor& editor, QObject* parent = nullptr);

    bool editing() const { return m_editing; }
    // Switches edit mode: forgets the selection and sets the tool buttons.
    void setEditing(bool on);

    const Selection& selection() const { return m_sel; }
    void clearSelection();
    bool toolEnabled(int tool) const { return m_enabled[size_t(tool)]; }

    // Selects what the band (a click leaves a band of 2 x 1 units) catches;
    // `release` is where the mouse was let go. True when something is selected.
    bool selectBand(const QRectF& band, const QPointF& release);

    // A press of tool button `tool` with modifier mask `shift`.
    void press(int tool, int shift);

    // The logo's size in layout units (0 x 0 without a picture).
    QSizeF logoSize() const;

    // Hooks the window fills.
    std::function<QString(int code)> askBarcode;        // the barcode dialog's answer, "" cancelled
    std::function<void(int kind, int row)> showProperties;
    std::function<void()> showLogo;
    std::function<void()> showPaperSetup;

Q_SIGNALS:
    // The tool buttons' enabled state or the selection changed.
    void toolsChanged();
    void selectionChanged();

private:
    bool hitTest(const QRectF& band);
    void enableFor();
    void enable(std::initializer_list<int> tools, bool on = true);
    int findSelected() const;
    bool applyOrdinary(int target, int tool, int step, int shift, bool wholeRow);
    bool applyRecordSettings(int target, int tool, int step, int shift);
    void insertMissing(int target, int tool);
    bool frameLineRule(int tool, int step);
    // Gives each property row of item `target`, in table order, the value
    // `rule` answers for its key and value; an unchanged value is not written.
    void walk(int target, const std::function<double(const QString& key, double value)>& rule);
    double resolved(double v) const;

    PrintEngine& m_engine;
    LayoutEditor& m_editor;
    Selection m_sel;
    bool m_editing = false;
    std::array<bool, ToolCount> m_enabled{};
    std::vector<bool> m_met;  // per key group: a row that counts for the missing-row rule was met
};
