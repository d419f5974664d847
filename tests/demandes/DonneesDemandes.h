#pragma once

// A small database for the requests: four organisations, three stations with their commune and
// points, a few parameters, units, fractions and supports, and a campaign.

#include "demandes/Demandes.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

namespace vyk::test {

class DemandesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        connecterAdministrateur();
        creerTablesCatalogue(
            {"QUALITOMETRES_DEMANDES", "QUALITOMETRES_DEMANDES_SITES",
             "QUALITOMETRES_DEMANDES_PARAMETRES", "QUALITOMETRES_DEMANDES_HISTORIQUES", "CAMPAGNES",
             "CAMPAGNES_SITES", "CAMPAGNES_PARAMETRES", "INTERVENANTS", "QUALITOMETRES",
             "QUALITOMETRES_POINTS", "COMMUNES", "ANALYSES_PARAMETRES", "ANALYSES_UNITES",
             "ANALYSES_FRACTIONS", "ANALYSES_SUPPORTS", "ANALYSES_PARAMETRES_SELECTIONS_TITRE"});
        if (HasFatalFailure()) return;
        const char *donnees[] = {
            // Issuer with a SIRET, laboratory with a SANDRE code only, a payer, one without code.
            "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET, CodeSandre, email) VALUES "
            "(10, 'Agence \"Eau\" & Co', '18000000000017', '', 'agence@exemple.fr')",
            "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET, CodeSandre, email) VALUES "
            "(20, 'Labo <Rivières>', '', 'L20', 'labo@exemple.fr')",
            "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET, CodeSandre, email) VALUES "
            "(30, 'Département', '22000000000011', 'D30', '')",
            "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET, CodeSandre) VALUES "
            "(40, 'Bureau sans code', '', '')",
            "INSERT INTO COMMUNES (CodeCommune, Nom) VALUES ('31555', 'Toulouse')",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, CodeCommune, typeStation, "
            "Designation, X, Y, TypeProjection) VALUES (1, '05100000', 'La Garonne', 31555, '1', "
            "'P1', 574000.5, 6279000.25, 26)",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) VALUES (2, "
            "'BSS002', 'Forage', '0')",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) VALUES (3, "
            "'MER03', 'Côte', '4')",
            "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant, nom, x, "
            "y, typeprojection) VALUES (1, 1, '031', 'Pont', 1.5, 43.25, 31)",
            "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant, nom) "
            "VALUES (2, 1, '031', '')",
            "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif) VALUES ('1340', 'Nitrates', '1')",
            "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif) VALUES ('1302', 'pH', '1')",
            "INSERT INTO ANALYSES_UNITES (Code, Nom, Symbole) VALUES ('162', 'milligramme par "
            "litre', 'mg(NO3)/L')",
            "INSERT INTO ANALYSES_UNITES (Code, Nom, Symbole) VALUES ('264', 'unité pH', 'unité "
            "pH')",
            "INSERT INTO ANALYSES_FRACTIONS (Code, Nom) VALUES ('23', 'Eau brute')",
            "INSERT INTO ANALYSES_SUPPORTS (Code, Nom) VALUES ('3', 'Eau')",
            "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE (Code, Nom, TypeListe) VALUES "
            "('NITR', 'Nitrates & co', 0)",
        };
        for (const char *sql : donnees)
            ASSERT_TRUE(executer(QString::fromUtf8(sql)))
                << sql << qPrintable(bd().derniereErreur());
    }

    // A complete mixed request from the issuer 10 to the laboratory 20, also its sampler.
    static FicheDemande demandeComplete(const QString &type = QStringLiteral("3"))
    {
        FicheDemande f = nouvelleDemande();
        f.definir(DemLibelle, QStringLiteral("Tournée mai"));
        f.definir(DemDate, QStringLiteral("02/05/2026"));
        f.definir(DemDebut, QStringLiteral("04/05/2026"));
        f.definir(DemFin, QStringLiteral("06/05/2026"));
        f.definir(DemType, type);
        f.definir(DemEmetteur, QStringLiteral("10"));
        f.definir(DemPrestataire, QStringLiteral("20"));
        f.definir(DemPreleveur, QStringLiteral("20"));
        f.definir(DemSupport, QStringLiteral("3"));
        f.stations = {1, 2};
        f.parametres = {{"1340", "162", "2", "23", "3", "0"}, {"1302", "264", "1", "23", "3", "1"}};
        return f;
    }

    static QStringList textes(const QVector<QStringList> &lignes)
    {
        QStringList r;
        for (const QStringList &l : lignes)
            r << l.join(u'|');
        return r;
    }
};

} // namespace vyk::test
