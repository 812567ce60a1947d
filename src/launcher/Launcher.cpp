#include "launcher/Launcher.h"

#include "platform/UserSettingsPath.h"

#include <QApplication>
#include <QFileInfo>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QTimer>
#include <stdexcept>

namespace {

const QString MainProgramName = QStringLiteral("Vorlixstore");

// Activation normally starts the steps; a desktop that refuses to activate a
// new window (focus-stealing prevention) must not leave the launcher waiting
// for ever, so showing it starts them after this delay at the latest.
constexpr int ActivationGraceMs = 1500;

void processPendingEvents(int rounds)
{
    for (int i = 0; i < rounds; ++i)
        QCoreApplication::processEvents();
}

[[noreturn]] void fail(const QString& description)
{
    throw std::runtime_error(description.toStdString());
}

void showMessageBox(QWidget* owner, const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace

QString MainProgramPath()
{
    const auto settings = OpenUserSettings(MainProgramName);
    settings->beginGroup(QStringLiteral("Vorlo"));
    const QString path = settings->value(QStringLiteral("Vorlo"), QString()).toString();
    if (settings->status() != QSettings::NoError)
        fail(QStringLiteral("无法读取用户设置文件 %1").arg(settings->fileName()));
    return path;
}

XiangDao::XiangDao(LauncherMessage message, QWidget* parent)
    : QWidget(parent), m_message(std::move(message))
{
    setObjectName(QStringLiteral("XiangDao"));
    setWindowTitle(MainProgramName);
    setFixedSize(420, 240);
}

bool XiangDao::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        startSteps();
    return QWidget::event(e);
}

void XiangDao::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    QTimer::singleShot(ActivationGraceMs, this, &XiangDao::startSteps);
}

void XiangDao::startSteps()
{
    if (m_started)
        return;
    m_started = true;
    // After the activation has been handled, not inside it.
    QTimer::singleShot(0, this, &XiangDao::runSteps);
}

void XiangDao::runSteps()
{
    int step = 10;
    try {
        processPendingEvents(7);  // let the window and its picture be painted

        step = 20;
        const QString path = MainProgramPath();

        step = 30;
        if (!path.isEmpty()) {
            step = 40;
            // Exactly the stored path: a path followed by arguments names no file.
            const bool found = QFileInfo(path).isFile();
            if (found) {
                step = 50;
                if (!QFileInfo(path).isExecutable())
                    fail(QStringLiteral("无法启动程序【%1】：该文件不是可以运行的程序（没有执行权限）。").arg(path));
                QProcess program;
                program.setProgram(path);
                program.setWorkingDirectory(QFileInfo(path).absolutePath());
                if (!program.startDetached())
                    fail(QStringLiteral("无法启动程序【%1】，请检查该文件是否完整或重新安装软件。").arg(path));
            } else {
                step = 70;
                m_message(MainProgramName + QStringLiteral("已经被移除或卸载，请删除本向导文件或重新安装软件！") +
                              QStringLiteral("\n\n【") + path + QStringLiteral("】文件丢失！"),
                          QStringLiteral("运行向导"));
            }
        } else {
            step = 80;
            m_message(QStringLiteral("注册表相关信息被清除，运行向导找不到《") + MainProgramName +
                          QStringLiteral("》存放在哪个文件夹内。\n\n请到屏幕左下角【开始】-【程序】中查找《") +
                          MainProgramName + QStringLiteral("》的运行快捷方式！"),
                      QString());
        }

        for (step = 100; step <= 150; step += 10)
            processPendingEvents(7);

        step = 160;
        emit finished();
    } catch (const std::exception& e) {
        // The step number is kept for the maker; the user reads what went wrong.
        m_message(QStringLiteral("Vorlix快捷方式\n") + QString::fromStdString(e.what()) +
                      QStringLiteral("\n\n（错误位置：%1）").arg(step),
                  QStringLiteral("运行向导"));
    }
}

void XiangDao::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0x1f, 0x5f, 0x9f));
    sky.setColorAt(1, QColor(0x0b, 0x2a, 0x4a));
    p.fillRect(rect(), sky);

    // A stack of three crates: the warehouse.
    const int unit = 34;
    const int baseX = 44;
    const int baseY = height() - 56;
    const QColor crate(0xe8, 0xb0, 0x5a);
    p.setPen(QPen(QColor(0x6b, 0x43, 0x12), 2));
    for (const QPoint cell : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1)}) {
        const QRect box(baseX + cell.x() * (unit + 4), baseY - (cell.y() + 1) * (unit + 4), unit, unit);
        p.setBrush(crate);
        p.drawRect(box);
        p.drawLine(box.topLeft(), box.bottomRight());
    }

    p.setPen(Qt::white);
    QFont title = font();
    title.setPointSize(20);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(140, 40, width() - 160, 50), Qt::AlignLeft | Qt::AlignVCenter, MainProgramName);
    QFont line = font();
    line.setPointSize(11);
    p.setFont(line);
    p.drawText(QRect(140, 100, width() - 160, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("仓库管理系统"));
    p.drawText(QRect(140, 140, width() - 160, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("正在启动，请稍候……"));
}

int RunLauncher()
{
    XiangDao* owner = nullptr;
    XiangDao window([&owner](const QString& text, const QString& title) { showMessageBox(owner, text, title); });
    owner = &window;
    QObject::connect(&window, &XiangDao::finished, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}
