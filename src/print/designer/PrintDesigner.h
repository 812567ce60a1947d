#pragma once
// The designer inside one print window: the edit switch and the tool strip
// left of the page, the rubber band and the arrow keys on the page, the
// selection drawn over it, and the design menus that open the designer's
// windows. It lives as long as its print window and changes the layout
// only through its LayoutEditor.

#include "print/designer/LayoutDesigner.h"
#include "print/designer/LayoutEditor.h"

#include <QObject>
#include <QPointer>

class Myprn;
class QPushButton;
class QRubberBand;

class PrintDesigner : public QObject {
    Q_OBJECT
public:
    explicit PrintDesigner(Myprn& window);

    LayoutDesigner& designer() { return m_designer; }
    LayoutEditor& editor() { return m_editor; }

    // The design menu commands.
    void printSetup();
    void chooseTemplate();
    void logoPicture();
    void itemList(int kind);
    // Opens the property window of the item whose VALUE row is `row`.
    void showItemProperties(int kind, int row);
    // Asks the barcode window for item code `code`; its answer, "" cancelled.
    QString askBarcode(int code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void toggleEditing();
    void updateTools();
    void decorate(QImage& page);

    Myprn& m_window;
    LayoutEditor m_editor;
    LayoutDesigner m_designer;
    QPushButton* Cmd;
    QPushButton* CmdMove[LayoutDesigner::ToolCount];
    QRubberBand* Shp;
    QPoint m_bandOrigin;
    bool m_banding = false;
};
