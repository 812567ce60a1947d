#include "support/Scripted.h"

#include <QTest>

class ScriptedMessageSink : public MessageSink {
public:
    explicit ScriptedMessageSink(MessageScript& s) : m_s(s) {}

    int msgBox(const QString& text, int style, const QString& title) override
    {
        m_s.m_recorded.append({text, style, title, false, MessageWindow()});
        if (!m_s.m_queue.empty() && !m_s.m_queue.front().input && text.contains(m_s.m_queue.front().fragment)) {
            const int answer = m_s.m_queue.front().answer;
            m_s.m_queue.pop_front();
            return answer;
        }
        if (!m_s.m_allowAny)
            unexpected(text);
        return m_s.m_anyAnswer;
    }

    InputAnswer inputBox(const QString& prompt, const QString& title, const QString&) override
    {
        m_s.m_recorded.append({prompt, 0, title, true, MessageWindow()});
        if (!m_s.m_queue.empty() && m_s.m_queue.front().input && prompt.contains(m_s.m_queue.front().fragment)) {
            const auto e = m_s.m_queue.front();
            m_s.m_queue.pop_front();
            return {e.ok, e.text};
        }
        if (!m_s.m_allowAny)
            unexpected(prompt);
        return {false, QString()};
    }

private:
    void unexpected(const QString& text)
    {
        const QString expected = m_s.m_queue.empty() ? QStringLiteral("(nothing)") : m_s.m_queue.front().fragment;
        QTest::qFail(qPrintable(QStringLiteral("unexpected message: \"%1\"; expected: \"%2\"").arg(text, expected)),
                     __FILE__, __LINE__);
    }
    MessageScript& m_s;
};

MessageScript::MessageScript()
{
    m_previous = InstallMessages(std::make_unique<ScriptedMessageSink>(*this));
}

MessageScript::~MessageScript()
{
    InstallMessages(std::move(m_previous));
}

MessageScript& MessageScript::expect(const QString& fragment, int answer)
{
    m_queue.push_back({fragment, answer, false, QString(), false});
    return *this;
}

MessageScript& MessageScript::expectInput(const QString& fragment, const QString& text, bool ok)
{
    m_queue.push_back({fragment, 0, true, text, ok});
    return *this;
}

const QList<RecordedMessage>& MessageScript::recorded() const
{
    return m_recorded;
}

bool MessageScript::anyContains(const QString& fragment) const
{
    for (const auto& m : m_recorded)
        if (m.text.contains(fragment))
            return true;
    return false;
}

int MessageScript::pending() const
{
    return int(m_queue.size());
}

void MessageScript::clear()
{
    m_recorded.clear();
    m_queue.clear();
}

class ScriptedDialogSink : public DialogSink {
public:
    explicit ScriptedDialogSink(DialogScript& s) : m_s(s) {}
    QString openFile(const QString& title, const QString&, const QString&) override
    {
        return next(m_s.m_open, title, "open");
    }
    QString saveFile(const QString& title, const QString&, const QString&) override
    {
        return next(m_s.m_save, title, "save");
    }
    QString pickFolder(const QString& title, const QString&) override
    {
        return next(m_s.m_folder, title, "folder");
    }
    std::optional<QColor> pickColour(const QColor&) override
    {
        m_s.titles << QStringLiteral("colour");
        if (m_s.m_colour.empty()) {
            QTest::qFail("unexpected colour dialog", __FILE__, __LINE__);
            return std::nullopt;
        }
        auto c = m_s.m_colour.front();
        m_s.m_colour.pop_front();
        return c;
    }

private:
    QString next(std::deque<QString>& q, const QString& title, const char* kind)
    {
        m_s.titles << title;
        if (q.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected %1 dialog: %2").arg(QLatin1String(kind), title)),
                         __FILE__, __LINE__);
            return QString();
        }
        const QString v = q.front();
        q.pop_front();
        return v;
    }
    DialogScript& m_s;
};

DialogScript::DialogScript()
{
    m_previous = InstallDialogs(std::make_unique<ScriptedDialogSink>(*this));
}

DialogScript::~DialogScript()
{
    InstallDialogs(std::move(m_previous));
}

DialogScript& DialogScript::openFile(const QString& path)
{
    m_open.push_back(path);
    return *this;
}

DialogScript& DialogScript::saveFile(const QString& path)
{
    m_save.push_back(path);
    return *this;
}

DialogScript& DialogScript::pickFolder(const QString& path)
{
    m_folder.push_back(path);
    return *this;
}

DialogScript& DialogScript::pickColour(std::optional<QColor> colour)
{
    m_colour.push_back(colour);
    return *this;
}
