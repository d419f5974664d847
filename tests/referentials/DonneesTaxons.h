#pragma once

// Stations, taxa and list lines written straight into the test database.

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/Affichage.h"
#include "support/BaseTest.h"

namespace vyk::test {

class BaseTaxons : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }

    void station(qint64 code, const QString &codeBSS)
    {
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, "
                                            "Nom, DateCreation) VALUES (") +
                             QString::number(code) + QStringLiteral(", ") + sqlTexte(codeBSS) +
                             QStringLiteral(", 'Station ") + QString::number(code) +
                             QStringLiteral("', #01/01/2000#)")));
    }

    void taxon(const QString &code, const QString &nom, const QString &actif = QStringLiteral("1"),
               const QString &theme = QStringLiteral("3"),
               const QString &niveau = QStringLiteral("NULL"), const QString &parent = {})
    {
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO TAXONS (codeTaxon, nomLatin, actif, "
                                            "theme, niveau, elementDe) VALUES (") +
                             sqlTexte(code) + QStringLiteral(", ") + sqlTexte(nom) +
                             QStringLiteral(", ") + sqlTexte(actif) + QStringLiteral(", ") + theme +
                             QStringLiteral(", ") + niveau + QStringLiteral(", ") +
                             sqlTexteOuNull(parent) + u')'));
    }

    // Line `indice` of list 1 of an operation of the station, with a count in phase A.
    void ligneListe(qint64 station, qint64 operation, int indice, const QString &codeTaxon,
                    double compte = 3)
    {
        ASSERT_TRUE(creerTableListeTaxons(station));
        LigneTaxonListe l;
        l.codeTaxon = codeTaxon;
        l.valeurs[DenombrementA] = compte;
        ASSERT_TRUE(ecrireTaxonListe(false, station, operation, 1, indice, l))
            << qPrintable(bd().derniereErreur());
    }

    static QString donnees(const QString &nom)
    {
        return QStringLiteral(VYK_TEST_DATA "/taxons/") + nom;
    }
};

} // namespace vyk::test
