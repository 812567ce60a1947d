#include "admin/PersonalSettings.h"

#include "core/App.h"
#include "core/MainFrame.h"
#include "core/SqlText.h"
#include "platform/Database.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QWidget>

namespace {

// The background window of the main window, by its object name; null without one.
QWidget* background(const App& app)
{
    if (!app.MainWindow || !app.MainWindow->widget())
        return nullptr;
    return app.MainWindow->widget()->findChild<QWidget*>(QStringLiteral("BGForm"));
}

}  // namespace

QString StoredPassword(const Database& db, const QString& code)
{
    return SqlScalar(db, QStringLiteral("SELECT F3 FROM TE1 WHERE F1 = ?"), {code});
}

PasswordCheck CheckPasswordChange(const Database& db, const QString& code, const QString& oldPassword,
                                  const QString& newPassword, const QString& repeated, bool setPasswordMode)
{
    if (newPassword != repeated)
        return PasswordCheck::Mismatch;
    if (oldPassword == newPassword)
        return PasswordCheck::SameAsOld;
    if (StoredPassword(db, code) == oldPassword)
        return newPassword.isEmpty() ? PasswordCheck::AskClear : PasswordCheck::Ready;
    return setPasswordMode ? PasswordCheck::ChangedByOther : PasswordCheck::WrongOld;
}

bool StorePassword(Database& db, const QString& code, const QString& oldPassword, const QString& newPassword)
{
    // Compared byte for byte: the password column may compare without case.
    db.execute(QStringLiteral("UPDATE TE1 SET F3 = ? WHERE F1 = ? AND ifnull(F3, '') = ? COLLATE BINARY"),
               {newPassword, code, oldPassword});
    return db.changes() > 0;
}

QString PersonalNoteText(const QString& typed)
{
    return typed;
}

QString PersonalCaptionText(const QString& typed)
{
    return QLatin1Char(' ') + PersonalNoteText(typed).trimmed();
}

void SavePersonalTexts(Database& db, const QString& code, const QString* notes, const QString* storedCaption)
{
    if (!notes && !storedCaption)
        return;
    Transaction tx(db);
    if (notes)
        db.execute(QStringLiteral("UPDATE TE1 SET [pad] = ? WHERE F1 = ?"), {*notes, code});
    if (storedCaption)
        db.execute(QStringLiteral("UPDATE TE1 SET F75 = ? WHERE F1 = ?"), {*storedCaption, code});
    tx.commit();
}

QString PersonalPicturePath(const App& app, const QString& code)
{
    return app.AppFolder + QStringLiteral("image/") + code + QStringLiteral(".jpg");
}

QString DefaultPicturePath(const App& app)
{
    return app.AppFolder + QStringLiteral("syspic.dat");
}

QString InstallPersonalPicture(const App& app, const QString& code, const QString& source)
{
    QDir().mkpath(app.AppFolder + QStringLiteral("image"));
    const QString target = PersonalPicturePath(app, code);
    const QString partial = target + QStringLiteral(".new");
    QFile::remove(partial);
    QFile in(source);
    if (!QFile::copy(source, partial))
        return in.exists() ? QStringLiteral("无法复制图片文件：") + source : QStringLiteral("文件不存在：") + source;
    QFile::remove(target);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        return QStringLiteral("无法写入图片文件：") + target;
    }
    return QString();
}

void RemovePersonalPicture(const App& app, const QString& code)
{
    QFile::remove(PersonalPicturePath(app, code));
}

QString BackgroundBigText(const App& app)
{
    QWidget* bg = background(app);
    const QLabel* big = bg ? bg->findChild<QLabel*>(QStringLiteral("LabBig0")) : nullptr;
    return big ? big->text() : QString();
}

void SetBackgroundBigText(App& app, const QString& text)
{
    if (QWidget* bg = background(app)) {
        QMetaObject::invokeMethod(bg, "SetBigText", Q_ARG(QString, text));
        QMetaObject::invokeMethod(bg, "Form_Resize");
    }
}

void SetBackgroundLabelsVisible(App& app, bool visible)
{
    if (QWidget* bg = background(app))
        QMetaObject::invokeMethod(bg, "SetLabelsVisible", Q_ARG(bool, visible));
}

bool SetBackgroundPicture(App& app, const QString& path)
{
    QWidget* bg = background(app);
    if (!bg)
        return true;
    bool loaded = false;
    QMetaObject::invokeMethod(bg, "LoadPicture", Q_RETURN_ARG(bool, loaded), Q_ARG(QString, path));
    return loaded;
}
