#include "search/ImportSelections.h"
#include "search/Selections.h"

#include "db/BaseDonnees.h"

#include "support/BaseTest.h"
#include "support/CompteRenduTest.h"
#include "support/TablesCatalogue.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;
using vyk::test::vu;

namespace {

// Cancelled when asked for the n-th time.
class ProgressionCoupee : public Progression
{
  public:
    explicit ProgressionCoupee(int n) : m_n(n) {}
    bool annule() const override { return ++m_questions >= m_n; }

  private:
    int m_n;
    mutable int m_questions = 0;
};

class ImportSelectionsTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesCatalogue({"ANALYSES_PARAMETRES_SELECTIONS_TITRE",
                                    "ANALYSES_PARAMETRES_SELECTIONS", "ANALYSES_PARAMETRES",
                                    "ANALYSES_UNITES", "TAXONS"});
        for (const char *u : {"173", "169", "168", "175"})
            ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_UNITES (Code, Nom, Actif) "
                                                "VALUES ('%1', 'u%1', '0')")
                                     .arg(u)));
        ASSERT_TRUE(executer("INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif, Type) VALUES "
                             "('1340', 'Nitrates', '0', '0')"));
    }
    QStringList titres()
    {
        return lignes("SELECT TypeListe, Code, Nom, codeParent, defaut FROM "
                      "ANALYSES_PARAMETRES_SELECTIONS_TITRE ORDER BY TypeListe, Code");
    }
    QStringList rangs(const QString &filtre = "1=1")
    {
        return lignes("SELECT TypeListe, Code, num, CodeParametre, CodeUnite FROM "
                      "ANALYSES_PARAMETRES_SELECTIONS WHERE " +
                      filtre + " ORDER BY TypeListe, Code, num");
    }
    QStringList parametres()
    {
        return lignes("SELECT Code, Nom, Nature, Type, Actif FROM ANALYSES_PARAMETRES ORDER BY "
                      "Code");
    }
    QVector<LigneFichierSelection> fichier(const QByteArray &contenu)
    {
        const QString c = chemin("selections.csv");
        QFile f(c);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contenu);
        f.close();
        QVector<LigneFichierSelection> l;
        QString erreur;
        EXPECT_TRUE(lireFichierSelections(c, l, erreur)) << qPrintable(erreur);
        return l;
    }
    QVector<LigneFichierSelection> exemple()
    {
        return fichier("Code parametre;Code unité;Code sélection;Libellé sélection;Code sous "
                       "sélection;Libellé sous sélection\n"
                       "1340;173;NUTR;Nutriments;;\n"
                       "1335;169;NUTR;Nutriments;AZ;Azote\n"
                       "\n"
                       "9999;;NUTR;Nutriments;AZ;Azote\n"
                       "1319;168;AUTRE;Autre;;\n");
    }
    // Everything an import may touch.
    QStringList etat() { return titres() + rangs() + parametres(); }
};

TEST_P(ImportSelectionsTest, ImporterDeuxFoisDonneLesMemesListes)
{
    const QVector<LigneFichierSelection> l = exemple();
    ASSERT_EQ(l.size(), 4);
    EXPECT_EQ(l[2].ligne, 5);
    EXPECT_EQ(l[1].champs(), QStringList({"1335", "169", "NUTR", "Nutriments", "AZ", "Azote"}));
    // A taxa list holding 9998 creates no parameter.
    ASSERT_TRUE(enregistrerSelection({1, "TAX", "Taxons", "", false}, {{"9998", ""}}));
    recus();
    const BilanImportSelections b = importerSelections(l);
    EXPECT_FALSE(b.annule);
    EXPECT_EQ(b.listes, 3);
    EXPECT_EQ(b.lignes, 4);
    EXPECT_EQ(vu(b.compteRendu),
              QStringLiteral("AIDE: 4 ligne(s) importée(s) dans 3 sélection(s)."));
    EXPECT_TRUE(recus().isEmpty());
    const QStringList attendusT = {"0|AUTRE|Autre||", "0|AZ|Azote|NUTR|", "0|NUTR|Nutriments||",
                                   "1|TAX|Taxons||"};
    const QStringList attendusR = {"0|AUTRE|1|1319|168", "0|AZ|1|1335|169", "0|AZ|2|9999|",
                                   "0|NUTR|1|1340|173", "1|TAX|1|9998|"};
    EXPECT_EQ(titres(), attendusT);
    EXPECT_EQ(rangs(), attendusR);
    // Parameters named by the lists are shown; the missing ones are created under their code.
    EXPECT_EQ(parametres(), QStringList({"1319|1319|0|0|1", "1335|1335|0|0|1", "1340|Nitrates||0|1",
                                         "9999|9999|0|0|1"}));
    EXPECT_EQ(lignes("SELECT Code, Actif FROM ANALYSES_UNITES ORDER BY Code"),
              QStringList({"168|1", "169|1", "173|1", "175|0"}));
    // Imported again: the same lists, rows and parameters; a default mark is kept.
    ASSERT_TRUE(executer("UPDATE ANALYSES_PARAMETRES_SELECTIONS_TITRE SET defaut='X' WHERE "
                         "code='NUTR'"));
    EXPECT_EQ(importerSelections(l).lignes, 4);
    EXPECT_EQ(rangs(), attendusR);
    EXPECT_EQ(lignes("SELECT code FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE WHERE defaut='X'"),
              QStringList({"NUTR"}));
    EXPECT_EQ(parametres().size(), 4);
}

TEST_P(ImportSelectionsTest, UneUniteInconnueRefuseLeFichier)
{
    const QStringList avant = etat();
    const QVector<LigneFichierSelection> l = fichier("1340;173;G;G;;\n1335;999;G;G;;\n"
                                                     "1319;998;G;G;;\n1338;999;G;G;;\n");
    EXPECT_EQ(unitesInconnuesSelections(l), QStringList({"999", "998"}));
    const BilanImportSelections b = importerSelections(l);
    EXPECT_TRUE(b.annule);
    EXPECT_EQ(vu(b.compteRendu),
              QStringLiteral("WARNING: Les codes unités suivants n'existent pas : 999, 998"));
    EXPECT_TRUE(recus().isEmpty());
    EXPECT_EQ(etat(), avant);
}

TEST_P(ImportSelectionsTest, UneLigneFautiveAnnuleOuPoursuitLImport)
{
    ASSERT_TRUE(enregistrerSelection({0, "NUTR", "Ancienne", "", false}, {{"1338", ""}}));
    recus();
    const QStringList avant = etat();
    const QVector<LigneFichierSelection> l =
        fichier("1340;173;NUTR;Nutriments;;\n123456;;NUTR;Nutriments;;\n1319;168;NUTR;N;;\n");
    // No, then undo everything: the database is as it was.
    test::Reponses non, oui;
    oui.reponse = true;
    BilanImportSelections b =
        importerSelections(l, progressionNulle(), {non.fonction(), oui.fonction()});
    EXPECT_TRUE(b.annule);
    EXPECT_EQ(b.echecs, QVector<qsizetype>({2}));
    EXPECT_EQ(non.questions, QStringList({"Impossible d'importer la ligne 2. Désirez vous "
                                          "continuer l'importation ?"}));
    EXPECT_EQ(oui.questions, QStringList({"Voulez vous annuler l'importation de toutes les "
                                          "lignes éventuellement importées pendant le "
                                          "traitement ?"}));
    EXPECT_EQ(vu(b.compteRendu), QStringLiteral("AIDE: Import des sélections annulé."));
    EXPECT_TRUE(recus().isEmpty());
    EXPECT_EQ(etat(), avant);
    // Cancelled from the progress window: nothing stays either.
    ProgressionCoupee coupee(2);
    EXPECT_TRUE(importerSelections(l, coupee).annule);
    EXPECT_EQ(etat(), avant);
    // Going on: the other lines are imported.
    b = importerSelections(l, progressionNulle(), {oui.fonction(), oui.fonction()});
    EXPECT_FALSE(b.annule);
    EXPECT_EQ(b.lignes, 2);
    EXPECT_EQ(rangs(), QStringList({"0|NUTR|1|1340|173", "0|NUTR|2|1319|168"}));
    // No, then keep what was imported: the lines before the fault stay.
    b = importerSelections(l, progressionNulle(), {non.fonction(), non.fonction()});
    EXPECT_FALSE(b.annule);
    EXPECT_EQ(rangs(), QStringList({"0|NUTR|1|1340|173"}));
}

TEST_P(ImportSelectionsTest, UnFichierVideOuIllisibleEstRefuse)
{
    QVector<LigneFichierSelection> l;
    QString erreur;
    EXPECT_FALSE(lireFichierSelections(chemin("absent.csv"), l, erreur));
    EXPECT_FALSE(erreur.isEmpty());
    QFile f(chemin("vide.csv"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Code parametre;Code unité\n;;\n");
    f.close();
    EXPECT_FALSE(lireFichierSelections(chemin("vide.csv"), l, erreur));
    EXPECT_EQ(erreur, "Le fichier ne contient aucune sélection.");
}

TEST_P(ImportSelectionsTest, LesListesParDefautSInstallentUneFois)
{
    ASSERT_EQ(installerListesParDefaut(), 11);
    EXPECT_EQ(valeur("SELECT count(*) FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE").toInt(), 11);
    EXPECT_EQ(lignes("SELECT TypeListe, Nom FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE WHERE "
                     "code='XPT90-388'"),
              QStringList({"1|Norme XPT90-388"}));
    EXPECT_EQ(rangs("code='MOOX'"),
              QStringList({"0|MOOX|1|1311|175", "0|MOOX|2|1312|", "0|MOOX|3|1313|175",
                           "0|MOOX|4|1314|175", "0|MOOX|5|1841|163", "0|MOOX|6|2035|133",
                           "0|MOOX|7|1335|169", "0|MOOX|8|1319|168"}));
    EXPECT_EQ(rangs("code='NITR' OR code='PHOS' OR code='AZOT'"),
              QStringList({"0|AZOT|1|1319|168", "0|AZOT|2|1335|169", "0|AZOT|3|1339|171",
                           "0|NITR|1|1340|173", "0|PHOS|1|1350|177", "0|PHOS|2|1433|176"}));
    const QStringList eprv = {"0|EPRV|1|1439|133", "0|EPRV|2|1066|", "0|EPRV|3|1312|",
                              "0|EPRV|4|1302|", "0|EPRV|5|2030|175"};
    EXPECT_EQ(rangs("code='EPRV'"), eprv);
    // 1066 has no unit (NULL), 1312 an empty one.
    EXPECT_EQ(valeur("SELECT count(*) FROM ANALYSES_PARAMETRES_SELECTIONS WHERE CodeUnite is "
                     "null")
                  .toInt(),
              1);
    EXPECT_EQ(lignes("SELECT Actif FROM ANALYSES_PARAMETRES WHERE code='1340'"),
              QStringList({"1"}));
    EXPECT_EQ(lignes("SELECT Code FROM ANALYSES_UNITES WHERE Actif='1' ORDER BY Code"),
              QStringList({"168", "169", "173", "175"}));

    const QStringList toutes = titres() + rangs();
    EXPECT_EQ(installerListesParDefaut(), 0);
    EXPECT_EQ(titres() + rangs(), toutes);
    // An EPRV without 1066 is replaced by the built-in one, labels included.
    ASSERT_TRUE(executer("DELETE FROM ANALYSES_PARAMETRES_SELECTIONS WHERE code='EPRV' AND "
                         "codeParametre IN ('1066', '2030')"));
    ASSERT_TRUE(executer("UPDATE ANALYSES_PARAMETRES_SELECTIONS_TITRE SET Nom='Vieille' WHERE "
                         "code='EPRV'"));
    EXPECT_EQ(installerListesParDefaut(), 1);
    EXPECT_EQ(titres() + rangs(), toutes);
}

TEST_P(ImportSelectionsTest, UneListeDeMemeCodeDUnAutreTypeNEmpechePasLInstallation)
{
    ASSERT_TRUE(enregistrerSelection({1, "MOOX", "Taxons MOOX", "", false}, {{"363", ""}}));
    ASSERT_EQ(installerListesParDefaut(), 11);
    EXPECT_EQ(rangs("code='MOOX' AND TypeListe=1"), QStringList({"1|MOOX|1|363|"}));
    EXPECT_EQ(rangs("code='MOOX' AND TypeListe=0").size(), 8);
}

VYK_SUR_LES_DEUX_MOTEURS(ImportSelectionsTest);

} // namespace
