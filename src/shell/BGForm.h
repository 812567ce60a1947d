#pragma once
// The background of the main window: a picture over the client area, a small
// label near the top right and a big text with a grey shadow, centred at one
// third of the height. Other windows reach it by object name ("BGForm", and
// its children "Img", "Lab", "LabBig0", "LabBig1") and lay it out again with
// Form_Resize (invokable by name).

#include <QWidget>
#include <array>

class QLabel;

class BGForm : public QWidget {
    Q_OBJECT
public:
    explicit BGForm(QWidget* parent = nullptr);

    QLabel* Img;
    QLabel* Lab;
    std::array<QLabel*, 2> LabBig;  // 0 the shadow, 1 the text in front

    // Lays picture and labels out for the window's present size.
    Q_INVOKABLE void Form_Resize();
    // Shows a picture file; false (picture unchanged) when it cannot be read.
    Q_INVOKABLE bool LoadPicture(const QString& path);
    // Both big labels carry the same text.
    Q_INVOKABLE void SetBigText(const QString& text);
    // Shows or hides the small label and both big labels together.
    Q_INVOKABLE void SetLabelsVisible(bool visible);

    // Width in twips of a text in the window's own font (column fitting).
    int TextWidth(const QString& text) const;

protected:
    void resizeEvent(QResizeEvent* e) override;
};
