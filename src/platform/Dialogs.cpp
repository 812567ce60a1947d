#include "platform/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>

namespace {

std::unique_ptr<DialogSink>& installed()
{
    static std::unique_ptr<DialogSink> sink = std::make_unique<QtDialogs>();
    return sink;
}

}  // namespace

DialogSink& Dialogs()
{
    return *installed();
}

std::unique_ptr<DialogSink> InstallDialogs(std::unique_ptr<DialogSink> sink)
{
    std::swap(installed(), sink);
    return sink;
}

QString QtDialogs::openFile(const QString& title, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, folder, filter);
}

QString QtDialogs::saveFile(const QString& title, const QString& proposed, const QString& filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, proposed, filter);
}

QString QtDialogs::pickFolder(const QString& title, const QString& folder)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, folder);
}

std::optional<QColor> QtDialogs::pickColour(const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!c.isValid())
        return std::nullopt;
    return c;
}
