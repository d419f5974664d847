#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "users/TablesUtilisateurs.h"

#include "support/BaseTest.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeCodesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }
};

TEST_P(CommandeCodesTest, ListeEnCsv)
{
    ASSERT_TRUE(executer(
        QStringLiteral("UPDATE CODES_SANDRE SET Commentaire='Selon la norme, \"accréditée\"' WHERE "
                       "Champ='ANALYSES.ACCREDITATION' AND Code=1")));
    test::SortieCli r = cli({QStringLiteral("codes"), QStringLiteral("list"),
                             QStringLiteral("analyses.accreditation")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, QStringLiteral("Champ,Code,Libelle,Commentaire,Statut,DateCreation,"
                                       "DateModification,Auteur,Projet,codeReference,"
                                       "mnemonique\n"
                                       "ANALYSES.ACCREDITATION,1,Accrédité,\"Selon la norme, "
                                       "\"\"accréditée\"\"\",,01/01/1999 00:00:00,"
                                       "01/01/1999 00:00:00,,VYK,,\n"
                                       "ANALYSES.ACCREDITATION,2,Non accrédité,,,01/01/1999 "
                                       "00:00:00,01/01/1999 00:00:00,,VYK,,\n"));
    r = cli({QStringLiteral("codes"), QStringLiteral("list"), QStringLiteral("ABSENTE")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie.count(u'\n'), 1);
    r = cli({QStringLiteral("codes"), QStringLiteral("list"), QStringLiteral("*")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie.count(u'\n'),
              1 + valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE")).toInt());

    EXPECT_EQ(cli({QStringLiteral("codes")}).code, 2);
    EXPECT_EQ(cli({QStringLiteral("codes"), QStringLiteral("supprimer"), QStringLiteral("X")}).code,
              2);
    r = cli({QStringLiteral("codes"), QStringLiteral("--help")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.sortie.contains(QStringLiteral("codes import DOSSIER|FICHIER")));
}

TEST_P(CommandeCodesTest, ImportDUnFichierPuisDUnDossier)
{
    const QString dossier = QStringLiteral(VYK_TEST_DATA "/referentiels");
    test::SortieCli r = cli({QStringLiteral("codes"), QStringLiteral("import"),
                             dossier + QStringLiteral("/nsa_155.xml")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, QStringLiteral("nsa_155.xml : 1 code(s) ajouté(s), 2 mis à jour, 0 "
                                       "rejeté(s) (ANALYSES.CODEREMARQUE)\n"));
    EXPECT_EQ(
        valeur(
            QStringLiteral(
                "SELECT Libelle FROM CODES_SANDRE WHERE Champ='ANALYSES.CODEREMARQUE' AND Code=12"))
            .toString(),
        QStringLiteral("Nouveau code"));

    // The folder: refused files and an unknown nomenclature are reported, the rest goes in.
    r = cli({QStringLiteral("codes"), QStringLiteral("import"), dossier});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(
        r.sortie,
        QStringLiteral(
            "nsa_155.xml : 0 code(s) ajouté(s), 3 mis à jour, 0 rejeté(s) (ANALYSES.CODEREMARQUE)\n"
            "nsa_909.xml : 0 code(s) ajouté(s), 0 mis à jour, 3 rejeté(s)\n"));
    EXPECT_TRUE(r.erreurs.contains(
        QStringLiteral("Le fichier mal_forme.xml n'est pas un fichier XML valide")));
    EXPECT_TRUE(
        r.erreurs.contains(QStringLiteral("Le fichier sans_code.xml ne contient aucun code")));
    EXPECT_TRUE(r.erreurs.contains(
        QStringLiteral("nsa_909.xml : La nomenclature 909 n'est rattachée à aucune liste")));
    EXPECT_EQ(valeur(QStringLiteral(
                         "SELECT count(*) FROM CODES_SANDRE WHERE Champ='ANALYSES.CODEREMARQUE'"))
                  .toInt(),
              12);

    r = cli(
        {QStringLiteral("codes"), QStringLiteral("import"), dossier + QStringLiteral("/absent")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral("n'existe pas")));
}

// --login runs the import as that user: one without the reference-editing flag writes nothing.
TEST_P(CommandeCodesTest, ImportSelonLesDroitsDeLUtilisateur)
{
    assurerTablesUtilisateurs();
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO UTILISATEURS (login, password, isAdmin, nom, metadata) "
                       "VALUES ('LECTEUR', 'x', '0', 'Lecteur', '0')")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO UTILISATEURS (login, password, isAdmin, nom, metadata) "
                       "VALUES ('EDITEUR', 'x', '0', 'Éditeur', '1')")));
    const QString fichier = QStringLiteral(VYK_TEST_DATA "/referentiels/nsa_155.xml");
    const QString liste = QStringLiteral(
        "SELECT Code, Libelle FROM CODES_SANDRE WHERE Champ='ANALYSES.CODEREMARQUE' ORDER BY Code");
    const QStringList avant = lignes(liste);

    test::SortieCli r = cli({QStringLiteral("--login"), QStringLiteral("LECTEUR"),
                             QStringLiteral("codes"), QStringLiteral("import"), fichier});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie,
              QStringLiteral("nsa_155.xml : 0 code(s) ajouté(s), 0 mis à jour, 0 rejeté(s)\n"));
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral(
        "Vous ne disposez pas de droits suffisants pour modifier les listes de référence.")))
        << qPrintable(r.erreurs);
    EXPECT_EQ(lignes(liste), avant);

    r = cli({QStringLiteral("--login"), QStringLiteral("EDITEUR"), QStringLiteral("codes"),
             QStringLiteral("import"), fichier});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(lignes(liste).size(), avant.size() + 1);

    r = cli({QStringLiteral("--login"), QStringLiteral("PERSONNE"), QStringLiteral("codes"),
             QStringLiteral("import"), fichier});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral("Utilisateur inconnu : PERSONNE")))
        << qPrintable(r.erreurs);
}

// A Latin-1 file with blanks around a code, the code given twice and a label longer than its
// column: the refusal is the same on every engine, reported with exit code 1, the rest goes in.
// A file that is not XML is refused and writes nothing.
TEST_P(CommandeCodesTest, ImportDUnFichierLatin1AvecUnLibelleTropLong)
{
    const QString xml = chemin(QStringLiteral("codes.xml"));
    QFile f(xml);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                           "<Nomenclature><CdNomenclature>155</CdNomenclature>\r\n"
                           "<Code><CdElement> 13 </CdElement><LbElement>Trace détectée"
                           "</LbElement></Code>\r\n"
                           "<Code><CdElement>14</CdElement><LbElement>")
                .toLatin1());
    f.write(QByteArray(300, 'x'));
    f.write("</LbElement></Code>\r\n<Code><CdElement>13</CdElement><MnElement>TR</MnElement>"
            "</Code></Nomenclature>\r\n");
    f.close();
    const QString requete = QStringLiteral(
        "SELECT Code, Libelle, mnemonique FROM CODES_SANDRE WHERE Champ='ANALYSES.CODEREMARQUE' "
        "AND Code>=13 ORDER BY Code");
    test::SortieCli r = cli({QStringLiteral("codes"), QStringLiteral("import"), xml});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, QStringLiteral("codes.xml : 1 code(s) ajouté(s), 1 mis à jour, 1 "
                                       "rejeté(s) (ANALYSES.CODEREMARQUE)\n"));
    EXPECT_EQ(r.erreurs, QStringLiteral("codes.xml : Code 14 de ANALYSES.CODEREMARQUE : libellé "
                                        "trop long (255 caractères au plus)\n"));
    EXPECT_EQ(lignes(requete), QStringList({"13|Trace détectée|TR"}));

    const QString csv = chemin(QStringLiteral("codes.csv"));
    QFile c(csv);
    ASSERT_TRUE(c.open(QIODevice::WriteOnly));
    c.write("CdElement;LbElement\r\n15;Autre\r\n");
    c.close();
    r = cli({QStringLiteral("codes"), QStringLiteral("import"), csv});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, QString());
    EXPECT_TRUE(r.erreurs.startsWith(
        QStringLiteral("Le fichier codes.csv n'est pas un fichier XML valide (ligne 1 : ")))
        << qPrintable(r.erreurs);
    EXPECT_EQ(lignes(requete), QStringList({"13|Trace détectée|TR"}));
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeCodesTest);

} // namespace
