#include "platform/Messages.h"

#include <QApplication>
#include <QInputDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QPushButton>

namespace {

std::unique_ptr<MessageSink>& installed()
{
    static std::unique_ptr<MessageSink> sink = std::make_unique<QtMessages>();
    return sink;
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case MB::Critical:
        return QMessageBox::Critical;
    case MB::Question:
        return QMessageBox::Question;
    case MB::Exclamation:
        return QMessageBox::Warning;
    case MB::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

}  // namespace

MessageSink& Messages()
{
    return *installed();
}

std::unique_ptr<MessageSink> InstallMessages(std::unique_ptr<MessageSink> sink)
{
    std::swap(installed(), sink);
    return sink;
}

int MsgBox(const QString& text, int style, const QString& title)
{
    return Messages().msgBox(text, style, title);
}

InputAnswer InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    return Messages().inputBox(prompt, title, defaultText);
}

// Room a title bar takes beside its caption: icon and window buttons.
constexpr int TitleBarExtra = 140;

int QtMessages::msgBox(const QString& text, int style, const QString& title)
{
    QMessageBox box(iconOf(style), title.isEmpty() ? QApplication::applicationDisplayName() : title, text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    struct B {
        const char* caption;
        int answer;
        QMessageBox::ButtonRole role;
    };
    std::vector<B> buttons;
    switch (style & 0x0f) {
    case MB::OKCancel:
        buttons = {{"确定", MB::OK, QMessageBox::AcceptRole}, {"取消", MB::Cancel, QMessageBox::RejectRole}};
        break;
    case MB::AbortRetryIgnore:
        buttons = {{"中止", MB::Abort, QMessageBox::RejectRole}, {"重试", MB::Retry, QMessageBox::AcceptRole},
                   {"忽略", MB::Ignore, QMessageBox::AcceptRole}};
        break;
    case MB::YesNoCancel:
        buttons = {{"是", MB::Yes, QMessageBox::YesRole}, {"否", MB::No, QMessageBox::NoRole},
                   {"取消", MB::Cancel, QMessageBox::RejectRole}};
        break;
    case MB::YesNo:
        buttons = {{"是", MB::Yes, QMessageBox::YesRole}, {"否", MB::No, QMessageBox::NoRole}};
        break;
    case MB::RetryCancel:
        buttons = {{"重试", MB::Retry, QMessageBox::AcceptRole}, {"取消", MB::Cancel, QMessageBox::RejectRole}};
        break;
    default:
        buttons = {{"确定", MB::OK, QMessageBox::AcceptRole}};
    }
    std::vector<QAbstractButton*> made;
    for (const B& b : buttons)
        made.push_back(box.addButton(QString::fromUtf8(b.caption), b.role));
    const size_t def = (style & MB::DefaultButton3) ? 2 : (style & MB::DefaultButton2) ? 1 : 0;
    if (def < made.size())
        box.setDefaultButton(static_cast<QPushButton*>(made[def]));
    // A short message would leave a box too narrow for its title, which the
    // title bar then cuts ("Vorl…系统"): the box is at least as wide as the
    // title plus the title bar's icon and buttons. (The message box sizes
    // itself; a spacer across its layout is what it keeps to.)
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont titleFont = box.font();
        titleFont.setBold(true);
        const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle());
        grid->addItem(new QSpacerItem(titleWidth + TitleBarExtra, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
    for (size_t i = 0; i < made.size(); ++i)
        if (box.clickedButton() == made[i])
            return buttons[i].answer;
    // Closed with Esc or the window's close box.
    const int set = style & 0x0f;
    if (set == MB::YesNo)
        return MB::No;
    if (set == MB::OKOnly)
        return MB::OK;
    return MB::Cancel;
}

InputAnswer QtMessages::inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(),
                                               title.isEmpty() ? QApplication::applicationDisplayName() : title,
                                               prompt, QLineEdit::Normal, defaultText, &ok);
    return {ok, ok ? text : QString()};
}
