#pragma once

// Stations, samples, analyses, requests and events of the campaign tests.

#include "campagnes/Campagnes.h"
#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "schema/TableAnalyses.h"

#include "support/TablesCatalogue.h"

#include <gtest/gtest.h>

namespace vyk::test {

inline void creerTablesCampagnes()
{
    creerTablesCatalogue({"CAMPAGNES", "CAMPAGNES_SITES", "CAMPAGNES_PARAMETRES",
                          "QUALITOMETRES_DEMANDES", "QUALITOMETRES_DEMANDES_SITES", "QUALITOMETRES",
                          "QUALITOMETRE_LOCALISATIONS", "LIEN_QUALITO_INTERVENANTS", "INTERVENANTS",
                          "PRELEVEMENTS", "EVENEMENTS_QUALITO"});
}

inline bool executerSql(const QString &sql)
{
    const bool ok = bd().Execute(sql);
    EXPECT_TRUE(ok) << qPrintable(sql) << ": " << qPrintable(bd().derniereErreur());
    return ok;
}

// A station; x, y in projection `projection` (0 for none).
inline void ajouterStation(int code, const QString &bss, const QString &nom,
                           const QString &designation = {}, double x = 0, double y = 0,
                           int projection = 0, int nbTournees = 0)
{
    executerSql(QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, "
                               "Designation, X, Y, TypeProjection, nbTournees) VALUES (%1, %2, "
                               "%3, %4, %5, %6, %7, %8)")
                    .arg(code)
                    .arg(sqlTexte(bss), sqlTexte(nom), sqlTexteOuNull(designation), sqlNombre(x),
                         sqlNombre(y))
                    .arg(projection)
                    .arg(nbTournees));
}

inline void ajouterPrelevement(int station, int numero, const QString &date, int producteur = 0)
{
    executerSql(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
                               "DateDebut, CodeProducteurPrincipal) VALUES (%1, %2, %3, %4)")
                    .arg(numero)
                    .arg(station)
                    .arg(dateSQL(date, date.size() > 10))
                    .arg(producteur));
}

inline void ajouterAnalyse(const QString &bss, int station, int prelevement, int numero,
                           const QString &parametre, const QString &unite)
{
    QString erreur;
    ASSERT_TRUE(creerTableAnalyses(bss, &erreur)) << qPrintable(erreur);
    executerSql(QStringLiteral("INSERT INTO ") + tableAnalyses(bss) +
                QStringLiteral(" (NumAnalyse, NumPrelevement, CodeQualitometre, CodeParametre, "
                               "CodeUnite) VALUES (%1, %2, %3, %4, %5)")
                    .arg(numero)
                    .arg(prelevement)
                    .arg(station)
                    .arg(sqlTexte(parametre), sqlTexte(unite)));
}

inline void ajouterDemande(int code, const QString &libelle, const QString &debut,
                           const QString &fin, std::initializer_list<int> stations,
                           const QString &campagne = QStringLiteral("NULL"))
{
    executerSql(QStringLiteral("INSERT INTO QUALITOMETRES_DEMANDES (codeDemande, libelle, "
                               "dateDebutApplication, dateFinApplication, codeCampagne) VALUES "
                               "(%1, %2, %3, %4, %5)")
                    .arg(code)
                    .arg(sqlTexte(libelle), dateSQL(debut), dateSQL(fin), campagne));
    for (int s : stations)
        executerSql(QStringLiteral("INSERT INTO QUALITOMETRES_DEMANDES_SITES (codeDemande, "
                                   "codeQualitometre) VALUES (%1, %2)")
                        .arg(code)
                        .arg(s));
}

inline void ajouterEvenement(int station, int numero, const QString &date,
                             const QString &type = QStringLiteral("T"))
{
    executerSql(QStringLiteral("INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, "
                               "DateEvenement, type) VALUES (%1, %2, %3, %4)")
                    .arg(station)
                    .arg(numero)
                    .arg(dateSQL(date), sqlTexte(type)));
}

inline ParametreCampagne parametre(const QString &code, const QString &unite)
{
    return {code,
            unite,
            QStringLiteral("1"),
            QStringLiteral("23"),
            QStringLiteral("3"),
            QStringLiteral("0")};
}

inline StationCampagne station(const QString &code, const QString &datePassage = {})
{
    StationCampagne s;
    s.codeSite = code;
    s.datePassage = datePassage;
    return s;
}

} // namespace vyk::test
