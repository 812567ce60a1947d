#include "support/KillLoop.h"

#include "core/App.h"
#include "core/Permissions.h"
#include "platform/Database.h"

#include <QTest>
#include <QThread>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

[[noreturn]] void repeatUntilKilled(const QString& path, const QString& attribute, quint32 seed,
                                    const std::function<void(App&, QRandomGenerator&)>& step)
{
    try {
        App app;
        app.CurrentDatabase.open(path);
        app.OperatorCode = TopAdministrator;
        app.OperatorName = QStringLiteral("系统管理员");
        app.HpsxName = attribute;
        QRandomGenerator rng(seed);
        for (;;) {
            try {
                step(app, rng);
            } catch (const DbError&) {
            }
        }
    } catch (...) {
    }
    // Never back into the test runner of the parent's copy.
    ::_exit(1);
}

}  // namespace

void RunKillLoop(const QString& path, const KillRounds& rounds, QRandomGenerator& pauses,
                 const std::function<void(App&, QRandomGenerator&)>& step, const std::function<void()>& check)
{
    for (int round = 0; round < rounds.rounds; ++round) {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0)
            repeatUntilKilled(path, rounds.attribute, quint32(round + 1), step);
        QThread::usleep(120000 + pauses.bounded(rounds.spreadUs));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        check();
        if (QTest::currentTestFailed())
            return;
    }
}
