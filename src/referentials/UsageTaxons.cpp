#include "referentials/UsageTaxons.h"

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

#include <algorithm>

namespace vyk {

namespace {

// The tables in groups of TABLES_PAR_REQUETE.
template <class Fonction> bool parGroupes(const QVector<TableListeTaxons> &tables, Fonction f)
{
    for (qsizetype debut = 0; debut < tables.size(); debut += TABLES_PAR_REQUETE) {
        const qsizetype fin = std::min<qsizetype>(debut + TABLES_PAR_REQUETE, tables.size());
        if (!f(tables.mid(debut, fin - debut))) return false;
    }
    return true;
}

QString selectCodes(const QVector<TableListeTaxons> &groupe)
{
    QStringList termes;
    termes.reserve(groupe.size());
    for (const TableListeTaxons &t : groupe)
        termes << QStringLiteral("SELECT codeTaxon FROM ") + t.table +
                      QStringLiteral(" WHERE codeTaxon IS NOT NULL");
    return termes.join(QStringLiteral(" UNION "));
}

} // namespace

QVector<TableListeTaxons> tablesListesTaxons()
{
    QVector<TableListeTaxons> resultat;
    QSet<QString> existantes;
    for (const QString &t : bd().tables())
        if (t.startsWith(PREFIXE_LISTE_TAXONS, Qt::CaseInsensitive)) existantes.insert(t.toUpper());
    if (existantes.isEmpty()) return resultat;
    const Tableau stations = bd().extraire(
        QStringLiteral("SELECT CodeQualitometre, CodeBSS FROM QUALITOMETRES "
                       "WHERE CodeQualitometre IS NOT NULL ORDER BY CodeQualitometre"));
    resultat.reserve(std::min<qsizetype>(stations.nbLignes(), existantes.size()));
    for (int i = 0; i < stations.nbLignes(); ++i) {
        const qint64 code =
            qint64(stations.valeur(i, QStringLiteral("CodeQualitometre")).toDouble());
        const QString suffixe = QString::number(code);
        if (!existantes.contains((PREFIXE_LISTE_TAXONS + suffixe).toUpper())) continue;
        const QString nom = identifiantTable(PREFIXE_LISTE_TAXONS, suffixe);
        if (nom.isEmpty()) continue;
        resultat.append({code, stations.texte(i, QStringLiteral("CodeBSS")), nom});
    }
    return resultat;
}

QSet<QString> taxonsUtilises(const QVector<TableListeTaxons> &tables, bool *ok)
{
    QSet<QString> codes;
    const bool lu = parGroupes(tables, [&](const QVector<TableListeTaxons> &groupe) {
        long nb = 0;
        Tableau t;
        if (!bd().ExtraireRecords(selectCodes(groupe), nb, t)) return false;
        for (int i = 0; i < t.nbLignes(); ++i)
            codes.insert(t.texte(i, QStringLiteral("codeTaxon")).trimmed());
        return true;
    });
    if (ok) *ok = lu;
    return codes;
}

bool taxonUtilise(const QString &codeTaxon, const QVector<TableListeTaxons> &tables)
{
    bool utilise = false;
    const QString code = sqlTexte(codeTaxon.trimmed());
    parGroupes(tables, [&](const QVector<TableListeTaxons> &groupe) {
        QStringList termes;
        for (const TableListeTaxons &t : groupe)
            termes << QStringLiteral("SELECT codeTaxon FROM ") + t.table +
                          QStringLiteral(" WHERE codeTaxon=") + code;
        const QVariant n =
            bd().valeur(QStringLiteral("SELECT count(*) FROM (") +
                        termes.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(") u"));
        // No count: a list could not be read and may hold the taxon.
        utilise = n.isNull() || n.toLongLong() > 0;
        return !utilise;
    });
    return utilise;
}

QHash<qint64, long long> presenceTaxonParStation(const QString &codeTaxon,
                                                 const QVector<TableListeTaxons> &tables)
{
    QHash<qint64, long long> presence;
    const QString code = sqlTexte(codeTaxon.trimmed());
    parGroupes(tables, [&](const QVector<TableListeTaxons> &groupe) {
        QStringList termes;
        for (const TableListeTaxons &t : groupe)
            termes << QStringLiteral("SELECT ") + QString::number(t.station) +
                          QStringLiteral(" AS station, count(*) AS nb FROM ") + t.table +
                          QStringLiteral(" WHERE codeTaxon=") + code;
        const Tableau r = bd().extraire(termes.join(QStringLiteral(" UNION ALL ")));
        for (int i = 0; i < r.nbLignes(); ++i)
            if (const long long n = r.valeur(i, QStringLiteral("nb")).toLongLong(); n > 0)
                presence.insert(qint64(r.valeur(i, QStringLiteral("station")).toDouble()), n);
        return true;
    });
    return presence;
}

int activerTaxonsUtilises(Progression &progression, int *echecs)
{
    progression.message(QStringLiteral("Activation des taxons"));
    const QVector<TableListeTaxons> tables = tablesListesTaxons();
    int ratees = 0;
    long long faits = 0;
    int actives = 0;
    parGroupes(tables, [&](const QVector<TableListeTaxons> &groupe) {
        if (progression.annule()) return false;
        if (bd().Execute(QStringLiteral("UPDATE TAXONS SET actif='1' WHERE codeTaxon IN (") +
                         selectCodes(groupe) +
                         QStringLiteral(") AND (actif IS NULL OR actif<>'1')")))
            actives += int(bd().lignesModifiees());
        else
            ++ratees;
        faits += groupe.size();
        progression.position(faits, tables.size());
        return true;
    });
    if (echecs) *echecs = ratees;
    return actives;
}

} // namespace vyk
