#pragma once
// The goods picture viewer: a double click on a goods row shows the picture
// named in TA4.F9, sized to fit the screen and titled with the goods name.

#include "core/GoodsPicture.h"

#include <QDialog>

class QLabel;
struct App;

// Shows the goods' picture modally; tells the user when the file is missing,
// does nothing for a goods without picture path.
void ShowGoodsPicture(App& app, const QString& code, const QString& name);

// The modal viewer; a double click on the picture closes it.
class ShowPic : public QDialog {
    Q_OBJECT
public:
    ShowPic(const QString& picFile, const QString& hpmc, QWidget* parent = nullptr);

    QString PicFile;  // "toobig" once the window was cut down to the screen
    QString HPMC;     // the goods name; cleared once the picture is laid out

    QLabel* Img;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutPicture();
};
