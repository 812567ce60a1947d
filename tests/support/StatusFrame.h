#pragma once
// A stand-in main window whose status panels a test can read.

#include "core/MainFrame.h"

#include <QApplication>
#include <QFont>
#include <QMap>
#include <QString>

class StatusFrame : public MainFrame {
public:
    QWidget* widget() override { return nullptr; }
    QMdiArea* mdiArea() override { return nullptr; }
    void setStatusText(int panel, const QString& text) override { panels[panel] = text; }
    QString statusText(int panel) const override { return panels.value(panel); }
    QFont backgroundFont() const override { return QApplication::font(); }
    QMap<int, QString> panels;
};
