#include "platform/Messages.h"

#include <QApplication>
#include <QInputDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QSpacerItem>
#include <QPushButton>
#include <QShowEvent>
#include <vector>

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

// A command's window and the modal dialog that was active when the command began.
struct Scope {
    QPointer<QWidget> window;
    QPointer<QWidget> modal;
};

std::vector<Scope>& scopes()
{
    static std::vector<Scope> open;
    return open;
}

// The widget that stands for the window `w` is in: its top-level window, or the
// widget an MDI sub-window holds (the main window is no message's window).
QWidget* windowOf(QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w->parentWidget()))
            return w;
    return nullptr;
}

// A box that stands over its owner's middle also when the owner is a widget
// inside a window (Qt centres a dialog over the parent's whole window).
template <typename Dialog>
class OverOwner : public Dialog {
public:
    using Dialog::Dialog;

protected:
    void showEvent(QShowEvent* event) override
    {
        Dialog::showEvent(event);
        QWidget* owner = this->parentWidget();
        if (owner && !owner->isWindow() && !event->spontaneous())
            this->move(owner->mapToGlobal(owner->rect().center()) - QPoint(this->width() / 2, this->height() / 2));
    }
};

}  // namespace

MessageScope::MessageScope(QWidget* window)
{
    scopes().push_back({window, QApplication::activeModalWidget()});
}

MessageScope::~MessageScope()
{
    scopes().pop_back();
}

QWidget* MessageWindow()
{
    QWidget* modal = QApplication::activeModalWidget();
    const std::vector<Scope>& open = scopes();
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        if (!it->window)
            continue;
        // A dialog the command opened runs commands of its own.
        if (modal && modal != it->modal && modal != it->window->window())
            return modal;
        return it->window;
    }
    if (QWidget* focused = windowOf(QApplication::focusWidget()))
        return focused;
    return QApplication::activeWindow();
}

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
    OverOwner<QMessageBox> box(iconOf(style), title.isEmpty() ? QApplication::applicationDisplayName() : title, text,
                               QMessageBox::NoButton, MessageWindow());
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
    OverOwner<QInputDialog> dialog(MessageWindow());
    dialog.setWindowTitle(title.isEmpty() ? QApplication::applicationDisplayName() : title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(defaultText);
    const bool ok = dialog.exec() == QDialog::Accepted;
    return {ok, ok ? dialog.textValue() : QString()};
}
