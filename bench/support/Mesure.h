#pragma once

#include <QElapsedTimer>
#include <QString>

#include <functional>

namespace vyk::bench {

// Seconds taken by f, best of `repetitions` runs.
double chronometrer(const std::function<void()> &f, int repetitions = 1);

// The PostgreSQL server given in VYK_BENCH_PG_* or VYK_TEST_PG_* (host empty when none).
struct ServeurBench
{
    QString hote, port, utilisateur, motDePasse, base;
    bool disponible() const { return !hote.isEmpty(); }
    QByteArray chaineConnexion() const;
};
ServeurBench serveurBench();

void afficher(const QString &ligne);

} // namespace vyk::bench
