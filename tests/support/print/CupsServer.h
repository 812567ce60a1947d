#pragma once
// A CUPS server of a test's own: cupsd started in a temporary folder with a
// PDF queue (the cups-pdf backend), reached through CUPS_SERVER, stopped and
// removed when the object goes away. Needs root (cupsd and cups-pdf run as
// root); where it cannot start, problem() says why.

#include <QString>
#include <QTemporaryDir>

class QProcess;

class CupsServer {
public:
    CupsServer();
    ~CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    // "" when the server runs with its queue, else why not.
    const QString& problem() const { return m_problem; }
    // The PDF queue's name.
    const QString& queue() const { return m_queue; }
    // Waits for the next PDF the queue writes; its path, "" after `timeoutMs`.
    QString waitForPdf(int timeoutMs = 60000);

private:
    QTemporaryDir m_dir;
    QProcess* m_cupsd = nullptr;
    QString m_queue;
    QString m_instanceConf;
    QString m_problem;
    int m_taken = 0;
};
