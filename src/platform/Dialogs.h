#pragma once
// File, folder and colour dialogs behind one small interface, replaced by a
// scripted stand-in in tests (tests/support) just like Messages.

#include <QColor>
#include <QString>
#include <memory>
#include <optional>

class DialogSink {
public:
    virtual ~DialogSink() = default;
    // "" when cancelled. filter uses Qt's form: "账套文件 (*.vxs);;所有文件 (*)".
    virtual QString openFile(const QString& title, const QString& folder, const QString& filter) = 0;
    virtual QString saveFile(const QString& title, const QString& proposed, const QString& filter) = 0;
    virtual QString pickFolder(const QString& title, const QString& folder) = 0;
    virtual std::optional<QColor> pickColour(const QColor& initial) = 0;
};

DialogSink& Dialogs();
std::unique_ptr<DialogSink> InstallDialogs(std::unique_ptr<DialogSink> sink);

class QtDialogs : public DialogSink {
public:
    QString openFile(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFile(const QString& title, const QString& proposed, const QString& filter) override;
    QString pickFolder(const QString& title, const QString& folder) override;
    std::optional<QColor> pickColour(const QColor& initial) override;
};
