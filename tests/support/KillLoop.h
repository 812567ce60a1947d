#pragma once
// Writes killed at random moments. Each round forks a child that opens the
// account set as the top administrator and repeats one step until it is
// killed (SIGKILL) at a random moment; the parent then checks the file. A
// step's DbError (a refusal, a busy file) is the child's own business: it
// goes on with the next step.
//
//   QRandomGenerator pauses(777);
//   RunKillLoop(set.setPath(), {25, 300000}, pauses,
//               [](App& app, QRandomGenerator& rng) { ... one write ... },
//               [&] { ... QCOMPARE on the file ... });

#include <QRandomGenerator>
#include <QString>
#include <functional>

struct App;

struct KillRounds {
    int rounds = 0;
    // The kill falls 120 ms (opening the encrypted file alone takes the
    // child some 100 ms: key derivation) plus up to this many microseconds
    // after the child starts.
    int spreadUs = 0;
    QString attribute;  // the child's goods attribute (HpsxName), "" = none
};

// Round r's child draws from QRandomGenerator(r + 1); the pauses come from
// `pauses`. Stops after the first round whose check failed.
void RunKillLoop(const QString& path, const KillRounds& rounds, QRandomGenerator& pauses,
                 const std::function<void(App&, QRandomGenerator&)>& step, const std::function<void()>& check);
