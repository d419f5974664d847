#include "support/Mesure.h"

#include <cstdio>
#include <limits>

namespace vyk::bench {

double chronometrer(const std::function<void()> &f, int repetitions)
{
    double meilleur = std::numeric_limits<double>::max();
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        meilleur = std::min(meilleur, double(t.nsecsElapsed()) / 1e9);
    }
    return meilleur;
}

ServeurBench serveurBench()
{
    auto lire = [](const char *bench, const char *test, const QString &defaut = {}) {
        QString v = qEnvironmentVariable(bench);
        if (v.isEmpty()) v = qEnvironmentVariable(test);
        return v.isEmpty() ? defaut : v;
    };
    ServeurBench s;
    s.hote = lire("VYK_BENCH_PG_HOST", "VYK_TEST_PG_HOST");
    s.port = lire("VYK_BENCH_PG_PORT", "VYK_TEST_PG_PORT", QStringLiteral("5432"));
    s.utilisateur = lire("VYK_BENCH_PG_USER", "VYK_TEST_PG_USER", QStringLiteral("postgres"));
    s.motDePasse = lire("VYK_BENCH_PG_PASSWORD", "VYK_TEST_PG_PASSWORD");
    s.base = lire("VYK_BENCH_PG_BASE", "VYK_TEST_PG_BASE", QStringLiteral("vyk_test"));
    return s;
}

QByteArray ServeurBench::chaineConnexion() const
{
    QByteArray c = "host=" + hote.toUtf8() + " port=" + port.toUtf8() +
                   " user=" + utilisateur.toUtf8() + " dbname=" + base.toUtf8();
    if (!motDePasse.isEmpty()) c += " password=" + motDePasse.toUtf8();
    return c;
}

void afficher(const QString &ligne)
{
    std::printf("%s\n", qUtf8Printable(ligne));
    std::fflush(stdout);
}

} // namespace vyk::bench
