#include "quality/Statistiques.h"
#include "quality/StatistiquesInterne.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "monitoring/ReglesAnalyses.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>

namespace vyk {

namespace statistiques {

QString finDeJour(const QDate &d)
{
    return dateSQL(jour(d) + FIN_DE_JOURNEE, true);
}

void marquerAge(const QDate &dateValeur, const CriteresCalcul &c, ValeurCalculee &v)
{
    if (!dateValeur.isValid()) return;
    const qint64 age = dateValeur.daysTo(c.dateCalcul);
    v.plusAncienQuePeriode = age > c.periode;
    v.plusAncienQueLimite = c.ageLimite > 0 && age > c.ageLimite;
}

QString tendance(double x, double r, double margePourcent, const QString &auDessus,
                 const QString &auDessous)
{
    const double m = std::abs(x * margePourcent / 100.0);
    if (x > r + m) return auDessus;
    if (x < r - m) return auDessous;
    return QStringLiteral("2");
}

} // namespace statistiques

using namespace statistiques;

namespace {

// The analysis table of the station, "" when it has none yet.
QString tableStation(const StationCalcul &station)
{
    const QString table = tableAnalyses(station.codeBSS);
    if (table.isEmpty() ||
        (!station.tableVerifiee && !bd().tableExiste(PREFIXE_ANALYSES + station.codeBSS)))
        return {};
    return table;
}

// "iif(remark 2 or 10, result/2, result)": a result below a limit counts for half of it.
QString expressionDemiLimite(const QString &t)
{
    return QStringLiteral("iif(%1.coderemarque='2' or %1.coderemarque='10',(%1.Resultat/2),"
                          "%1.Resultat)")
        .arg(t);
}

QString selectStatistique(const QString &t, const StationCalcul &station, const QString &parametre,
                          const QString &unite, const CriteresCalcul &c, const QString &genre)
{
    QString expression = t + QStringLiteral(".Resultat");
    if (genre == QLatin1String("P90"))
        expression = expressionDemiLimite(t);
    else if (!genre.isEmpty())
        expression = genre + u'(' + expressionDemiLimite(t) + u')';
    QString sql = QStringLiteral("SELECT ") + expression +
                  QStringLiteral(" AS valeur, PRELEVEMENTS.dateDebut AS dateDebut, ") + t +
                  QStringLiteral(".codeRemarque AS codeRemarque FROM ") + jointureAnalyses(t) +
                  QStringLiteral(" WHERE ") + t + QStringLiteral(".codeQualitometre=") +
                  QString::number(station.codeQualitometre) + QStringLiteral(" AND ") + t +
                  QStringLiteral(".CodeParametre=") + sqlTexte(parametre.trimmed());
    if (!unite.trimmed().isEmpty())
        sql +=
            QStringLiteral(" AND ") + t + QStringLiteral(".CodeUnite=") + sqlTexte(unite.trimmed());
    sql += QStringLiteral(" AND ") + t + QStringLiteral(".Resultat is not null") +
           QStringLiteral(" AND PRELEVEMENTS.DateDebut <=") + finDeJour(c.dateCalcul) +
           QStringLiteral(" AND PRELEVEMENTS.DateDebut >=") +
           dateSQL(jour(c.dateCalcul.addDays(-c.periode)));
    if (!c.statut.trimmed().isEmpty()) sql += QStringLiteral(" AND ") + filtreStatut(t, c.statut);
    if (!c.qualification.trimmed().isEmpty())
        sql += QStringLiteral(" AND ") + filtreQualification(t, c.qualification);
    if (genre.isEmpty())
        // A full key: two samples of one day give the same latest value on every engine.
        sql += QStringLiteral(" ORDER BY PRELEVEMENTS.dateDebut DESC, PRELEVEMENTS.HeureDebut "
                              "DESC, ") +
               t + QStringLiteral(".NumPrelevement DESC, ") + t +
               QStringLiteral(".NumAnalyse DESC");
    else if (genre != QLatin1String("P90"))
        sql += QStringLiteral(" GROUP BY PRELEVEMENTS.dateDebut, ") + t +
               QStringLiteral(".codeRemarque ORDER BY PRELEVEMENTS.dateDebut DESC, ") + t +
               QStringLiteral(".codeRemarque DESC");
    return sql;
}

// The rows folded into one value. A count of values taken, not a sentinel: -1 is a real result.
struct Pli
{
    int pris = 0;
    double valeur = 0;
    QDate date;
    QString remarque;
    QStringList liste; // P90
};

bool estExclue(const QString &remarque)
{
    return remarque == QLatin1String("0") || remarque == QLatin1String("3");
}

void plier(Pli &p, const QString &genre, double v, const QDate &date, const QString &remarque)
{
    const bool premier = p.pris++ == 0;
    if (genre == QLatin1String("P90")) {
        p.liste << texteNombre(v);
        return;
    }
    if (genre == QLatin1String("AVG") || genre == QLatin1String("SUM")) {
        p.valeur += v;
        if (premier) p.date = date;
        return;
    }
    const bool remplace = premier || (genre == QLatin1String("MIN") && p.valeur > v) ||
                          (genre == QLatin1String("MAX") && p.valeur < v) || genre.isEmpty();
    if (!remplace) return;
    p.valeur = v;
    p.date = date;
    p.remarque = remarque;
}

void remplirValeur(const Pli &p, const QString &genre, const CriteresCalcul &c, ValeurCalculee &v,
                   int nbLignes)
{
    if (genre == QLatin1String("P90")) {
        v.date = jour(c.dateCalcul);
        v.valeurAffichee = calculPercentile(p.liste.join(u'|') + u'|', 0.9);
        v.valeur = v.valeurAffichee.isEmpty()
                       ? QString()
                       : texteNombre(arrondi3(enNombre(v.valeurAffichee).valeur));
        return;
    }
    double n = p.valeur;
    // Each row is the mean of one date and remark; rows left out still count.
    if (genre == QLatin1String("AVG")) n /= nbLignes;
    v.valeur = texteNombre(arrondi3(n));
    v.date = genre == QLatin1String("AVG") ? QString() : jour(p.date);
    if (genre.isEmpty()) {
        v.valeurAffichee = texteResultat(QVariant(n), p.remarque);
        marquerAge(p.date, c, v);
    } else {
        v.valeurAffichee = v.valeur;
    }
}

} // namespace

bool calculStatistiqueAnalyses(const StationCalcul &station, const QString &parametre,
                               const QString &unite, const CriteresCalcul &criteres,
                               const QString &genre, ValeurCalculee &valeur)
{
    valeur = ValeurCalculee{};
    if (!criteres.dateCalcul.isValid() || !GENRES_STATISTIQUE.contains(genre)) return false;
    const QString t = tableStation(station);
    if (t.isEmpty()) return false;
    long nb = 0;
    Tableau lignes;
    if (!bd().ExtraireRecords(selectStatistique(t, station, parametre, unite, criteres, genre), nb,
                              lignes))
        return false;
    Pli pli;
    for (int l = 0; l < lignes.nbLignes(); ++l) {
        const QString remarque = lignes.texte(l, QStringLiteral("codeRemarque")).trimmed();
        const QVariant &v = lignes.valeur(l, QStringLiteral("valeur"));
        if (!estExclue(remarque) && !v.isNull())
            plier(pli, genre, v.toDouble(), lignes.valeur(l, QStringLiteral("dateDebut")).toDate(),
                  remarque);
        // The latest value is the first row's or none.
        if (genre.isEmpty()) break;
    }
    if (pli.pris == 0) return false;
    remplirValeur(pli, genre, criteres, valeur, lignes.nbLignes());
    return !valeur.valeurAffichee.isEmpty();
}

namespace {

// Rank (from 1) of the percentile among n sorted values.
qsizetype rangPercentile(qsizetype n, double fraction)
{
    // n x fraction is rounded to 9 decimals first so that 10 x 0.9 + 0.5 is exactly 9.5.
    const double r = std::round((double(n) * fraction + 0.5) * 1e9) / 1e9;
    return qsizetype(std::nearbyint(r)); // halves to even
}

} // namespace

QString calculPercentile(const QString &liste, double fraction)
{
    if (liste.isEmpty()) return {};
    QStringList cellules = liste.split(u'|');
    if (cellules.last().isEmpty()) cellules.removeLast();
    const qsizetype n = cellules.size();
    if (n == 0) return {};
    std::vector<std::optional<double>> valeurs;
    valeurs.reserve(size_t(n));
    for (const QString &c : cellules) {
        const Nombre nombre = enNombre(c, true);
        valeurs.push_back(nombre.estNombre() ? std::optional<double>(nombre.valeur) : std::nullopt);
    }
    // Empty cells sort first, as an empty text before any number.
    std::stable_sort(valeurs.begin(), valeurs.end());
    const qsizetype rang = rangPercentile(n, fraction);
    if (rang < 1 || rang > n || !valeurs[size_t(rang - 1)]) return {};
    return texteNombre(*valeurs[size_t(rang - 1)]);
}

QString percentileTrie(std::span<const double> triees, double fraction)
{
    const auto n = qsizetype(triees.size());
    const qsizetype rang = rangPercentile(n, fraction);
    if (rang < 1 || rang > n) return {};
    return texteNombre(triees[size_t(rang - 1)]);
}

bool comparerAnneeReference(const StationCalcul &station, const QString &parametre,
                            const QString &unite, const QString &annee, const QString &statut,
                            const QString &qualification, double margePourcent,
                            const QString &valeurCourante, ComparaisonReference &comparaison)
{
    comparaison = ComparaisonReference{};
    bool ok = false;
    const int an = annee.trimmed().toInt(&ok);
    const QString t = tableStation(station);
    if (!ok || annee.trimmed().size() != 4 || t.isEmpty()) return false;
    const QString debut = dateSQL(QStringLiteral("01/01/%1").arg(an));
    const QString fin = finDeJour(QDate(an, 12, 31));
    auto dansAnnee = [&](const QString &colonne) {
        return colonne + QStringLiteral(" <=") + fin + QStringLiteral(" and ") + colonne +
               QStringLiteral(" >=") + debut;
    };
    // Below a limit counts as 0 here, not as half.
    QString sql = QStringLiteral("SELECT Avg(iif(%1.codeRemarque='2',0, "
                                 "iif(%1.codeRemarque='10',0,%1.resultat))) AS moyenne FROM ")
                      .arg(t) +
                  jointureAnalyses(t) + QStringLiteral(" WHERE ") + t +
                  QStringLiteral(".codeQualitometre=") + QString::number(station.codeQualitometre) +
                  QStringLiteral(" AND ") + t + QStringLiteral(".CodeParametre=") +
                  sqlTexte(parametre.trimmed()) + QStringLiteral(" AND ") + t +
                  QStringLiteral(".Resultat is not null");
    if (!unite.trimmed().isEmpty())
        sql +=
            QStringLiteral(" AND ") + t + QStringLiteral(".CodeUnite=") + sqlTexte(unite.trimmed());
    sql += QStringLiteral(" AND ((") + t + QStringLiteral(".DateAnalyse is not null and ") +
           dansAnnee(t + QStringLiteral(".DateAnalyse")) + QStringLiteral(") or (") + t +
           QStringLiteral(".DateAnalyse is null and ") +
           dansAnnee(QStringLiteral("PRELEVEMENTS.DateDebut")) + QStringLiteral("))");
    if (!statut.trimmed().isEmpty())
        sql += QStringLiteral(" AND ") + t + QStringLiteral(".statutmesure=") +
               sqlTexte(statut.trimmed());
    if (!qualification.trimmed().isEmpty())
        sql += QStringLiteral(" AND ") + t + QStringLiteral(".codequalification=") +
               sqlTexte(qualification.trimmed());
    long nb = 0;
    Tableau moyenne;
    if (!bd().ExtraireRecords(sql, nb, moyenne) || moyenne.estVide() ||
        moyenne.valeur(0, QStringLiteral("moyenne")).isNull())
        return false;
    // The mean as shown is what the trend compares with, the same on every engine.
    const double r = arrondi3(moyenne.valeur(0, QStringLiteral("moyenne")).toDouble());
    comparaison.reference = texteNombre(r);
    const Nombre x = enNombre(valeurCourante, true);
    if (x.estNombre())
        comparaison.tendance =
            tendance(x.valeur, r, margePourcent, QStringLiteral("3"), QStringLiteral("1"));
    return true;
}

} // namespace vyk
