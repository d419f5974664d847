// Single values of the hydrobiological operations: latest index result, its reference year,
// abundance of a taxon.

#include "quality/Statistiques.h"
#include "quality/StatistiquesInterne.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

namespace vyk {

using namespace statistiques;

namespace {

// Status and qualification of an operation are numbers: anything else matches nothing.
QString codeNumerique(const QString &code)
{
    const Nombre n = enNombre(code.trimmed(), true);
    return n.estNombre() ? sqlNombre(n.valeur) : QStringLiteral("NULL");
}

// Index results of the station, latest first, between two date literals ("" for no lower one).
Tableau resultatsIndice(qint64 station, const QString &parametre, const QString &depuis,
                        const QString &jusqua, const QString &statut, const QString &qualification,
                        bool *ok)
{
    QString sql =
        QStringLiteral("SELECT QUALITOMETRES_OPERATIONS_RESULTATS.Resultat AS resultat, "
                       "QUALITOMETRES_POINTS_OPERATIONS.DateDebut AS dateDebut FROM "
                       "QUALITOMETRES_OPERATIONS_RESULTATS, QUALITOMETRES_POINTS_OPERATIONS WHERE "
                       "QUALITOMETRES_OPERATIONS_RESULTATS.codeQualitometre="
                       "QUALITOMETRES_POINTS_OPERATIONS.codeQualitometre AND "
                       "QUALITOMETRES_OPERATIONS_RESULTATS.codeoperation="
                       "QUALITOMETRES_POINTS_OPERATIONS.codeoperation AND "
                       "QUALITOMETRES_OPERATIONS_RESULTATS.Resultat is not null AND "
                       "QUALITOMETRES_OPERATIONS_RESULTATS.codeQualitometre=");
    sql += QString::number(station) +
           QStringLiteral(" AND QUALITOMETRES_OPERATIONS_RESULTATS.CodeParametre=") +
           codeNumerique(parametre) +
           QStringLiteral(" AND QUALITOMETRES_POINTS_OPERATIONS.DateDebut <=") + jusqua;
    if (!depuis.isEmpty())
        sql += QStringLiteral(" AND QUALITOMETRES_POINTS_OPERATIONS.DateDebut >=") + depuis;
    if (!statut.trimmed().isEmpty())
        sql +=
            QStringLiteral(" AND QUALITOMETRES_POINTS_OPERATIONS.statut=") + codeNumerique(statut);
    if (!qualification.trimmed().isEmpty())
        sql += QStringLiteral(" AND QUALITOMETRES_POINTS_OPERATIONS.qualification=") +
               codeNumerique(qualification);
    // The operation code breaks ties of one day the same way on every engine.
    sql += QStringLiteral(" ORDER BY QUALITOMETRES_POINTS_OPERATIONS.DateDebut DESC, "
                          "QUALITOMETRES_POINTS_OPERATIONS.codeOperation DESC");
    long nb = 0;
    Tableau t;
    *ok = bd().ExtraireRecords(sql, nb, t);
    return t;
}

const QStringList COMPTES = {QStringLiteral("denombrementA"),   QStringLiteral("denombrementB"),
                             QStringLiteral("denombrementC"),   QStringLiteral("denombrementp1"),
                             QStringLiteral("denombrementp2"),  QStringLiteral("denombrementp3"),
                             QStringLiteral("denombrementp4"),  QStringLiteral("denombrementp5"),
                             QStringLiteral("denombrementp6"),  QStringLiteral("denombrementp7"),
                             QStringLiteral("denombrementp8"),  QStringLiteral("denombrementp9"),
                             QStringLiteral("denombrementp10"), QStringLiteral("denombrementp11"),
                             QStringLiteral("denombrementp12")};

// "sum(c) AS c" for each count.
QString sommesComptes()
{
    QStringList sommes;
    for (const QString &c : COMPTES)
        sommes << QStringLiteral("sum(") + c + QStringLiteral(") AS ") + c;
    return sommes.join(u',');
}

// The taxa counted with `taxon` (its codeTaxonCalcul), quoted and joined by commas; "" for none.
QString ensembleTaxons(const QString &taxon)
{
    const QString liste =
        texteValeur(bd().valeur(QStringLiteral("SELECT codeTaxonCalcul FROM TAXONS WHERE "
                                               "codeTaxon=") +
                                sqlTexte(taxon)))
            .trimmed();
    if (liste.isEmpty()) return {};
    QStringList pieces;
    for (const QString &code : liste.split(u';', Qt::SkipEmptyParts))
        pieces << sqlTexte(code.trimmed());
    return pieces.join(u',');
}

} // namespace

bool dernierResultatOperation(qint64 codeQualitometre, const QString &parametre,
                              const CriteresCalcul &criteres, ValeurCalculee &valeur)
{
    valeur = ValeurCalculee{};
    if (!criteres.dateCalcul.isValid()) return false;
    bool ok = false;
    const Tableau t =
        resultatsIndice(codeQualitometre, parametre, {}, finDeJour(criteres.dateCalcul),
                        criteres.statut, criteres.qualification, &ok);
    if (!ok || t.estVide()) return false;
    const QVariant &resultat = t.valeur(0, QStringLiteral("resultat"));
    const QDate date = t.valeur(0, QStringLiteral("dateDebut")).toDate();
    valeur.valeur = texteNombre(arrondi3(resultat.toDouble()));
    valeur.valeurAffichee = texteValeur(resultat);
    valeur.date = jour(date);
    marquerAge(date, criteres, valeur);
    return true;
}

bool comparerClasseAnneeReference(qint64 codeQualitometre, const QString &annee,
                                  const QString &parametre, const QString &statut,
                                  const QString &qualification, double margePourcent,
                                  const QString &classeCourante, const Classement &classer,
                                  ComparaisonReference &comparaison)
{
    comparaison = ComparaisonReference{};
    bool ok = false;
    const int an = annee.trimmed().toInt(&ok);
    if (!ok || annee.trimmed().size() != 4) return false;
    const Tableau t =
        resultatsIndice(codeQualitometre, parametre, dateSQL(QStringLiteral("01/01/%1").arg(an)),
                        finDeJour(QDate(an, 12, 31)), statut, qualification, &ok);
    if (!ok || t.estVide()) return false;
    const QString classe =
        classer ? classer(t.texte(0, QStringLiteral("resultat"))).trimmed() : QString();
    if (classe.isEmpty() || classe == QLatin1String("-1")) return true;
    comparaison.reference = classe;
    const Nombre a = enNombre(classeCourante, true);
    const Nombre b = enNombre(classe, true);
    // Class numbers grow as quality worsens: a higher class now is trend 1.
    if (a.estNombre() && b.estNombre())
        comparaison.tendance =
            tendance(a.valeur, b.valeur, margePourcent, QStringLiteral("1"), QStringLiteral("3"));
    return true;
}

bool calculDenombrementTaxon(qint64 codeQualitometre, int codeListe, const QString &taxon,
                             const CriteresCalcul &criteres, ValeurCalculee &valeur)
{
    valeur = ValeurCalculee{};
    const QString station = QString::number(codeQualitometre);
    const QString l = identifiantTable(PREFIXE_LISTE_TAXONS, station);
    if (!criteres.dateCalcul.isValid() || l.isEmpty() ||
        !bd().tableExiste(PREFIXE_LISTE_TAXONS + station))
        return false;
    const QString ensemble = ensembleTaxons(taxon.trimmed());
    const QString from =
        QStringLiteral(" FROM ") + l +
        QStringLiteral(", QUALITOMETRES_POINTS_OPERATIONS WHERE "
                       "QUALITOMETRES_POINTS_OPERATIONS."
                       "codeoperation=") +
        l + QStringLiteral(".codeoperation AND QUALITOMETRES_POINTS_OPERATIONS.codeQualitometre=") +
        station + QStringLiteral(" AND ") + l + QStringLiteral(".codeListe=") +
        QString::number(codeListe) +
        QStringLiteral(" AND QUALITOMETRES_POINTS_OPERATIONS.DateDebut <=") +
        finDeJour(criteres.dateCalcul) + QStringLiteral(" AND ") + l +
        (ensemble.isEmpty() ? QStringLiteral(".codeTaxon=") + sqlTexte(taxon.trimmed())
                            : QStringLiteral(".codeTaxon in (") + ensemble + u')');
    QString sql;
    if (ensemble.isEmpty()) {
        sql = QStringLiteral("SELECT ") + COMPTES.join(u',') +
              QStringLiteral(", QUALITOMETRES_POINTS_OPERATIONS.DateDebut AS dateDebut") + from +
              QStringLiteral(" ORDER BY QUALITOMETRES_POINTS_OPERATIONS.DateDebut DESC, "
                             "QUALITOMETRES_POINTS_OPERATIONS.codeOperation DESC");
    } else {
        // Taxa counted together: the operation with the highest code is the latest one.
        const QVariant operation = bd().valeur(
            QStringLiteral("SELECT max(QUALITOMETRES_POINTS_OPERATIONS.codeOperation)") + from);
        if (operation.isNull()) return false;
        sql = QStringLiteral("SELECT ") + sommesComptes() +
              QStringLiteral(", max(QUALITOMETRES_POINTS_OPERATIONS.DateDebut) AS dateDebut") +
              from + QStringLiteral(" AND QUALITOMETRES_POINTS_OPERATIONS.codeOperation=") +
              texteValeur(operation);
    }
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t) || t.estVide() ||
        t.valeur(0, QStringLiteral("dateDebut")).isNull())
        return false;
    double somme = 0;
    for (const QString &c : COMPTES)
        somme += t.valeur(0, c).toDouble(); // an empty count adds nothing
    const QDate date = t.valeur(0, QStringLiteral("dateDebut")).toDate();
    valeur.valeur = texteNombre(arrondi3(somme));
    valeur.valeurAffichee = texteNombre(somme);
    valeur.date = jour(date);
    marquerAge(date, criteres, valeur);
    return true;
}

} // namespace vyk
