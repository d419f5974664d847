#include "referentials/ReferentielCodes.h"

#include "db/Progression.h"
#include "db/Session.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/Affichage.h"
#include "support/BaseTest.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

QString donnees(const QString &nom)
{
    return QStringLiteral(VYK_TEST_DATA "/referentiels/") + nom;
}

TEST(ReferentielCodes, LectureParNomDElementAvecOuSansEspaceDeNoms)
{
    FichierReferentiel f;
    QString erreur;
    ASSERT_TRUE(lireFichierReferentiel(donnees(QStringLiteral("nsa_155.xml")), f, erreur))
        << qPrintable(erreur);
    ASSERT_EQ(f.entrees.size(), 3);
    EXPECT_EQ(ligneReferentiel(f.entrees[0]),
              QStringList({"155", "2", "Résultat < seuil de détection", "<LD", "Validé",
                           "Le résultat est inférieur au seuil de détection.", "1998-05-12",
                           "2012-03-01 10:30:00"}));
    EXPECT_EQ(ligneReferentiel(f.entrees[2]),
              QStringList({"155", "5", "", "", "Code gelé", "", "", ""}));

    // Latin-1 file, prefixed names.
    ASSERT_TRUE(lireFichierReferentiel(donnees(QStringLiteral("nsa_909.xml")), f, erreur))
        << qPrintable(erreur);
    ASSERT_EQ(f.entrees.size(), 3);
    EXPECT_EQ(f.entrees[0].numero, QStringLiteral("909"));
    EXPECT_EQ(f.entrees[0].code, QStringLiteral("A1"));
    EXPECT_EQ(f.entrees[0].libelle, QStringLiteral("Cours d'eau de plaine à méandres"));
    EXPECT_EQ(f.entrees[0].mnemonique, QStringLiteral("PLAINE"));
    EXPECT_EQ(entetesReferentiel(),
              QStringList({"Référentiel", "Code", "Libellé", "Mnémonique", "Statut", "Définition",
                           "Création", "Mise à jour"}));
}

TEST(ReferentielCodes, FichiersRefusesAvecUnMessageClair)
{
    FichierReferentiel f;
    QString erreur;
    EXPECT_FALSE(lireFichierReferentiel(donnees(QStringLiteral("sans_code.xml")), f, erreur));
    EXPECT_EQ(erreur,
              QStringLiteral(
                  "Le fichier sans_code.xml ne contient aucun code de nomenclature du référentiel "
                  "(élément CdElement)."));
    EXPECT_FALSE(lireFichierReferentiel(donnees(QStringLiteral("mal_forme.xml")), f, erreur));
    EXPECT_TRUE(erreur.startsWith(
        QStringLiteral("Le fichier mal_forme.xml n'est pas un fichier XML valide (ligne 6 : ")))
        << qPrintable(erreur);
    EXPECT_TRUE(f.entrees.isEmpty());
    EXPECT_FALSE(lireFichierReferentiel(donnees(QStringLiteral("notes.txt")), f, erreur));
    EXPECT_FALSE(lireFichierReferentiel(donnees(QStringLiteral("absent.xml")), f, erreur));
    EXPECT_TRUE(erreur.startsWith(QStringLiteral("Impossible d'ouvrir le fichier ")))
        << qPrintable(erreur);

    QStringList noms;
    for (const QString &chemin : fichiersReferentiel(donnees({})))
        noms << QFileInfo(chemin).fileName();
    EXPECT_EQ(noms, QStringList({"mal_forme.xml", "nsa_155.xml", "nsa_909.xml", "sans_code.xml"}));
}

class IntegrationReferentielTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
        session().login = QStringLiteral("jdupont");
        session().editionReferentiels = true; // may edit the lists
    }

    QVector<EntreeReferentiel> lire(const QString &nom)
    {
        FichierReferentiel f;
        QString erreur;
        EXPECT_TRUE(lireFichierReferentiel(donnees(nom), f, erreur)) << qPrintable(erreur);
        return f.entrees;
    }
};

TEST_P(IntegrationReferentielTest, CodesNumeriquesMisAJourOuAjoutes)
{
    const BilanIntegration b = integrerReferentiel(
        lire(QStringLiteral("nsa_155.xml")), progressionNulle(), QStringLiteral("nsa_155.xml"));
    EXPECT_EQ(b.ajoutes, 1);
    EXPECT_EQ(b.modifies, 2);
    EXPECT_EQ(b.rejetes, 0);
    EXPECT_EQ(b.listes, QStringList({"ANALYSES.CODEREMARQUE"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Libelle, mnemonique, Statut, Commentaire, "
                                    "DateCreation, DateModification, "
                                    "codeReference, Projet FROM CODES_SANDRE WHERE "
                                    "Champ='ANALYSES.CODEREMARQUE' AND Code IN "
                                    "(2, 5, 12) ORDER BY Code")),
              QStringList({"2|Résultat < seuil de détection|<LD|2|Le résultat est inférieur au "
                           "seuil de détection.|12/05/1998|"
                           "01/03/2012 10:30:00||VYK",
                           "5|Incomptable||3||01/01/1999|01/01/1999||VYK",
                           "12|Nouveau code||0|||||VYK"}));
    EXPECT_EQ(valeur(QStringLiteral(
                         "SELECT count(*) FROM CODES_SANDRE WHERE Champ='ANALYSES.CODEREMARQUE'"))
                  .toInt(),
              12);
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT dateMaj, userMaj, code, referentiel FROM CODES_SANDRE_REFERENTIEL WHERE "
                  "champ='ANALYSES.CODEREMARQUE'")),
              QStringList({QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")) +
                           QStringLiteral("|jdupont|155|3.1")}));
    const QStringList journal =
        lignes(QStringLiteral("SELECT Titre, utilisateur, description FROM JOURNAL WHERE "
                              "Titre='Intégration des codes Sandre'"));
    ASSERT_EQ(journal.size(), 1);
    EXPECT_TRUE(journal[0].startsWith(
        QStringLiteral("Intégration des codes Sandre|jdupont|nsa_155.xml : 1 code(s) ajouté(s), "
                       "2 mis à jour, 0 rejeté(s) ; listes : ANALYSES.CODEREMARQUE")))
        << qPrintable(journal[0]);
}

TEST_P(IntegrationReferentielTest, CodesNonNumeriquesCodesLocauxStablesAuSecondImport)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE_REFERENTIEL (champ, code, referentiel) VALUES ('TEST.TYPES', "
        "909, '3.1')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('TEST.TYPES', 1, 'Ancien')")));
    BilanIntegration b =
        integrerReferentiel(lire(QStringLiteral("nsa_909.xml")), progressionNulle());
    EXPECT_EQ(b.ajoutes, 3);
    EXPECT_EQ(b.modifies, 0);
    const QStringList attendues = {"1|Ancien|", "7|Lac naturel|",
                                   "1000|Cours d'eau de plaine à méandres|A1",
                                   "1001|Cours d'eau de montagne|B2"};
    const QString requete = QStringLiteral(
        "SELECT Code, Libelle, codeReference FROM CODES_SANDRE WHERE Champ='TEST.TYPES' "
        "ORDER BY Code");
    EXPECT_EQ(lignes(requete), attendues);

    // Imported again: the same rows are updated, none added.
    ASSERT_TRUE(executer(QStringLiteral(
        "UPDATE CODES_SANDRE SET Libelle='Changé' WHERE Champ='TEST.TYPES' AND Code=1000")));
    b = integrerReferentiel(lire(QStringLiteral("nsa_909.xml")), progressionNulle());
    EXPECT_EQ(b.ajoutes, 0);
    EXPECT_EQ(b.modifies, 3);
    EXPECT_EQ(lignes(requete), attendues);

    // A national number that a local code took is refused, not merged into the local entry.
    QVector<EntreeReferentiel> conflit(1);
    conflit[0].numero = QStringLiteral("909");
    conflit[0].code = QStringLiteral("1000");
    conflit[0].libelle = QStringLiteral("Écrase");
    b = integrerReferentiel(conflit, progressionNulle());
    EXPECT_EQ(b.rejetes, 1);
    EXPECT_EQ(
        b.erreurs,
        QStringList({"Code 1000 de TEST.TYPES : ce code est déjà attribué localement au code A1"}));
    EXPECT_EQ(lignes(requete), attendues);
}

TEST_P(IntegrationReferentielTest, CodesLocauxAuDessusDesNumerosNationaux)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE_REFERENTIEL (champ, code, referentiel) VALUES ('TEST.MIXTE', "
        "910, '3.1')")));
    // The text code comes first in the file, the national 1000 and 1001 after it.
    QVector<EntreeReferentiel> entrees(3);
    entrees[0].code = QStringLiteral("Z9");
    entrees[1].code = QStringLiteral("1000");
    entrees[2].code = QStringLiteral("1001");
    for (EntreeReferentiel &e : entrees) {
        e.numero = QStringLiteral("910");
        e.libelle = QStringLiteral("Code ") + e.code;
    }
    BilanIntegration b = integrerReferentiel(entrees, progressionNulle());
    EXPECT_EQ(b.ajoutes, 3);
    EXPECT_TRUE(b.erreurs.isEmpty()) << qPrintable(b.erreurs.join(u'\n'));
    const QString requete = QStringLiteral(
        "SELECT Code, Libelle, codeReference FROM CODES_SANDRE WHERE Champ='TEST.MIXTE' "
        "ORDER BY Code");
    const QStringList attendues = {"1000|Code 1000|", "1001|Code 1001|", "1002|Code Z9|Z9"};
    EXPECT_EQ(lignes(requete), attendues);
    b = integrerReferentiel(entrees, progressionNulle());
    EXPECT_EQ(b.ajoutes, 0);
    EXPECT_EQ(b.modifies, 3);
    EXPECT_EQ(lignes(requete), attendues);
}

TEST_P(IntegrationReferentielTest, NomenclatureInconnueEtAnnulation)
{
    QVector<EntreeReferentiel> entrees(2);
    entrees[0].numero = QStringLiteral("31337");
    entrees[0].code = QStringLiteral("1");
    entrees[1].numero = QStringLiteral("31337");
    entrees[1].code = QStringLiteral("2");
    const long long avant =
        valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE")).toLongLong();
    BilanIntegration b = integrerReferentiel(entrees, progressionNulle());
    EXPECT_EQ(b.rejetes, 2);
    EXPECT_EQ(b.erreurs,
              QStringList({"La nomenclature 31337 n'est rattachée à aucune liste de codes (table "
                           "CODES_SANDRE_REFERENTIEL) : ses codes sont ignorés."}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE")).toLongLong(), avant);

    struct Annulee : Progression
    {
        bool annule() const override { return true; }
    } annulee;
    b = integrerReferentiel(lire(QStringLiteral("nsa_155.xml")), annulee);
    EXPECT_TRUE(b.annule);
    EXPECT_EQ(b.ajoutes + b.modifies, 0);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE")).toLongLong(), avant);
}

// A label or a mnemonic longer than its column refuses the entry with the same message on every
// engine (a server would refuse the row, the desktop file keep it whole); the others go in and a
// refused text code takes no local code.
TEST_P(IntegrationReferentielTest, TexteTropLongRefuseSurChaqueMoteur)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE_REFERENTIEL (champ, code, referentiel) VALUES ('TEST.LONG', "
        "911, '3.1')")));
    QVector<EntreeReferentiel> entrees(4);
    const char *codes[] = {"1", "2", "B3", "C4"};
    for (int i = 0; i < 4; ++i) {
        entrees[i].numero = QStringLiteral("911");
        entrees[i].code = QString::fromLatin1(codes[i]);
        entrees[i].libelle = QStringLiteral("Libellé ") + entrees[i].code;
    }
    entrees[1].libelle = QString(256, u'é');
    entrees[2].mnemonique = QString(101, u'm');
    const BilanIntegration b = integrerReferentiel(entrees, progressionNulle());
    EXPECT_EQ(b.ajoutes, 2);
    EXPECT_EQ(b.rejetes, 2);
    EXPECT_EQ(
        b.erreurs,
        QStringList({"Code 2 de TEST.LONG : libellé trop long (255 caractères au plus)",
                     "Code B3 de TEST.LONG : mnémonique trop long (100 caractères au plus)"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Libelle, codeReference FROM CODES_SANDRE WHERE "
                                    "Champ='TEST.LONG' ORDER BY Code")),
              QStringList({"1|Libellé 1|", "1000|Libellé C4|C4"}));
}

// A new database: every list tied to a nomenclature is empty but those the upgrade seeds, and so
// are the lists of places; each is named until it holds a row.
TEST_P(IntegrationReferentielTest, ListesVidesNommeesJusquASaPremiereEntree)
{
    EXPECT_EQ(listesLieuxVides(), QStringList({"Communes", "Pays", "Bassins versants"}));
    const QStringList avant = listesNomenclatureVides();
    EXPECT_TRUE(avant.contains(QStringLiteral("PRELEVEMENTS.FACIES")));
    EXPECT_FALSE(avant.contains(QStringLiteral("ANALYSES.CODEREMARQUE"))) << "seeded";
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('PRELEVEMENTS.FACIES', 1, 'x')")));
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO PAYS (CodePays, Nom) VALUES ('FR', 'France')")));
    EXPECT_EQ(listesLieuxVides(), QStringList({"Communes", "Bassins versants"}));
    QStringList apres = avant;
    apres.removeAll(QStringLiteral("PRELEVEMENTS.FACIES"));
    EXPECT_EQ(listesNomenclatureVides(), apres);
}

// A NUL in a label or a code refuses the entry, named without the NUL; the others go in.
TEST_P(IntegrationReferentielTest, OctetNulRefuseAvecSonCode)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE_REFERENTIEL (champ, code, referentiel) VALUES ('TEST.NUL', "
        "912, '3.1')")));
    QVector<EntreeReferentiel> entrees(3);
    for (int i = 0; i < 3; ++i) {
        entrees[i].numero = QStringLiteral("912");
        entrees[i].code = QString::number(i + 1);
        entrees[i].libelle = QStringLiteral("Libellé ") + entrees[i].code;
    }
    entrees[0].libelle = QStringLiteral("Libell") + QChar(u'\0') + u'e';
    entrees[2].code = QStringLiteral("C") + QChar(u'\0');
    const BilanIntegration b = integrerReferentiel(entrees, progressionNulle());
    EXPECT_EQ(b.ajoutes, 1);
    EXPECT_EQ(b.rejetes, 2);
    EXPECT_EQ(b.erreurs, QStringList({"Code 1 de TEST.NUL : le champ « libellé » contient un octet "
                                      "nul, qu'aucune base ne peut enregistrer",
                                      "Code C? de TEST.NUL : le champ « code » contient un octet "
                                      "nul, qu'aucune base ne peut enregistrer"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Libelle FROM CODES_SANDRE WHERE "
                                    "Champ='TEST.NUL' ORDER BY Code")),
              QStringList({"2|Libellé 2"}));
}

// Two lists follow the same nomenclature (the projection systems of piezometers and of rain
// gauges): both receive its entries and their update date, at every import, on every engine.
TEST_P(IntegrationReferentielTest, NomenclatureSuivieParDeuxListes)
{
    QVector<EntreeReferentiel> entrees(1);
    entrees[0].numero = QStringLiteral("22");
    entrees[0].code = QStringLiteral("987");
    for (const QString &libelle :
         {QStringLiteral("RGF93 / Lambert-93"), QStringLiteral("RGF93 v2b / Lambert-93"),
          QStringLiteral("RGF93 v2b / CC46")}) {
        entrees[0].libelle = libelle;
        const BilanIntegration b = integrerReferentiel(entrees, progressionNulle());
        EXPECT_EQ(b.listes,
                  QStringList({"PIEZOMETRES.TYPEPROJECTION", "PLUVIOMETRES.TYPEPROJECTION"}));
        EXPECT_EQ(b.rejetes, 0);
        EXPECT_EQ(lignes(QStringLiteral("SELECT Champ, Libelle FROM CODES_SANDRE WHERE Code=987 "
                                        "ORDER BY Champ")),
                  QStringList({"PIEZOMETRES.TYPEPROJECTION|" + libelle,
                               "PLUVIOMETRES.TYPEPROJECTION|" + libelle}));
    }
    EXPECT_EQ(lignes(QStringLiteral("SELECT champ, dateMaj, userMaj FROM CODES_SANDRE_REFERENTIEL "
                                    "WHERE code=22 ORDER BY champ")),
              QStringList(
                  {"PIEZOMETRES.TYPEPROJECTION|" +
                       QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")) + "|jdupont",
                   "PLUVIOMETRES.TYPEPROJECTION|" +
                       QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")) + "|jdupont"}));
}

VYK_SUR_LES_DEUX_MOTEURS(IntegrationReferentielTest);

} // namespace
