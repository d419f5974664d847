#include "monitoring/OperationsHydrobio.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "monitoring/ListeTaxonsOperation.h"

#include "DonneesOperations.h"

using namespace vyk;

namespace {

class OperationsHydrobioTest : public test::BaseOperations
{
  protected:
    FicheOperation nouvelle(const QString &date, qint64 point = 0)
    {
        FicheOperation f = nouvelleOperation(1, point);
        f.valeurs[QStringLiteral("dateDebut")] = date;
        return f;
    }
};

// Another workstation adding the station's first operation and committing a little later: the
// new operation's code is read once that one is written, and the two codes differ.
TEST_P(OperationsHydrobioTest, DeuxPostesAjoutantUneOperationObtiennentDeuxCodes)
{
    station(1, QStringLiteral("BSS1"));
    point(1, 0, QStringLiteral("131"));
    FicheOperation f = nouvelle(QStringLiteral("01/06/2020"));
    bool enregistree = false;
    ASSERT_TRUE(pendantUneEcritureConcurrente(
        QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS"),
        QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, "
                       "codeOperation, codePoint) VALUES (1, 0, 0)"),
        [&] { enregistree = enregistrerOperation(f).ok; }));
    EXPECT_TRUE(enregistree) << qPrintable(recus().join(u'\n'));
    EXPECT_EQ(f.code, QStringLiteral("1"));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT codeOperation FROM QUALITOMETRES_POINTS_OPERATIONS ORDER BY codeOperation")),
        QStringList({"0", "1"}));
}

TEST_P(OperationsHydrobioTest, NumerotationControlesEtValeursParDefaut)
{
    station(1, QStringLiteral("BSS1"));
    station(2, QStringLiteral("BSS2"));
    point(1, 0, QStringLiteral("131"));
    ecrireRegistre(reglage::Producteur, QStringLiteral("Agence [12]"));
    ecrireRegistre(reglage::Qualification, QStringLiteral("1"));

    FicheOperation f = nouvelle(QString());
    EXPECT_EQ(f.valeur(QStringLiteral("codeProducteur")), QStringLiteral("12"));
    EXPECT_EQ(f.valeur(QStringLiteral("codePoint")), QStringLiteral("0"));
    // The refusals come back to the caller; the core shows nothing.
    QStringList refus;
    auto refuser = [&](FicheOperation &o) {
        const CompteRendu c = enregistrerOperation(o);
        EXPECT_FALSE(c.ok);
        refus << c.texte;
    };
    refuser(f);
    f.valeurs[QStringLiteral("dateDebut")] = QStringLiteral("32/01/2020");
    refuser(f);
    f.valeurs[QStringLiteral("dateDebut")] = QStringLiteral("01/06/2020");
    f.valeurs[QStringLiteral("dateFin")] = QStringLiteral("demain");
    refuser(f);
    f.valeurs[QStringLiteral("dateFin")].clear();
    f.valeurs[QStringLiteral("heureDebut")] = QStringLiteral("25:00");
    refuser(f);
    f.valeurs[QStringLiteral("heureDebut")] = QStringLiteral("9:30");
    f.valeurs[QStringLiteral("longeur")] = QStringLiteral("12,5 m");
    refuser(f);
    EXPECT_EQ(refus, QStringList({"La date de début de l'opération n'est pas correcte.",
                                  "La date de début de l'opération n'est pas correcte.",
                                  "La date de fin de l'opération n'est pas correcte.",
                                  "La valeur « 25:00 » du champ Heure n'est pas correcte.",
                                  "La valeur « 12,5 m » du champ Longueur n'est pas correcte."}));
    EXPECT_EQ(recus(), QStringList());
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS")).toInt(), 0);

    // Every defect at once, in the form's order, each named by its column.
    FicheOperation mauvaise = f;
    mauvaise.valeurs[QStringLiteral("dateDebut")] = QStringLiteral("32/01/2020");
    mauvaise.valeurs[QStringLiteral("dateFin")] = QStringLiteral("demain");
    mauvaise.valeurs[QStringLiteral("heureDebut")] = QStringLiteral("25:00");
    EXPECT_EQ(colonnesRefusees(verifierOperation(mauvaise)),
              QStringList({"dateDebut", "heureDebut", "dateFin", "longeur"}));
    refus.clear();
    refuser(mauvaise);
    EXPECT_EQ(refus, QStringList({"La date de début de l'opération n'est pas correcte.\n"
                                  "La valeur « 25:00 » du champ Heure n'est pas correcte.\n"
                                  "La date de fin de l'opération n'est pas correcte.\n"
                                  "La valeur « 12,5 m » du champ Longueur n'est pas correcte."}));
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS")).toInt(), 0);

    f.valeurs[QStringLiteral("longeur")] = QStringLiteral("12,5");
    const CompteRendu fait = enregistrerOperation(f);
    ASSERT_TRUE(fait.ok);
    EXPECT_EQ(fait.texte, QStringLiteral("Enregistrement de l'opération terminé."));
    EXPECT_EQ(f.code, QStringLiteral("0")) << "the first operation of a station is 0";
    EXPECT_EQ(recus(), QStringList());
    FicheOperation g = nouvelle(QStringLiteral("02/06/2021"));
    ASSERT_TRUE(enregistrerOperation(g));
    EXPECT_EQ(g.code, QStringLiteral("1"));
    FicheOperation h = nouvelleOperation(2);
    h.valeurs[QStringLiteral("dateDebut")] = QStringLiteral("01/01/2019");
    ASSERT_TRUE(enregistrerOperation(h));
    EXPECT_EQ(h.code, QStringLiteral("0"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeQualitometre, codeOperation, dateDebut, "
                                    "heureDebut, longeur, codeProducteur, "
                                    "qualification, codePoint FROM QUALITOMETRES_POINTS_OPERATIONS "
                                    "ORDER BY codeQualitometre, "
                                    "codeOperation")),
              QStringList({"1|0|01/06/2020|30/12/1899 09:30:00|12.5|12|1|0",
                           "1|1|02/06/2021|||12|1|0", "2|0|01/01/2019|||12|1|"}));

    // Read back as typed; saved again under its own code.
    FicheOperation lue = chargerOperation(1, QStringLiteral("0"));
    EXPECT_EQ(lue.valeur(QStringLiteral("heureDebut")), QStringLiteral("09:30"));
    EXPECT_EQ(lue.valeur(QStringLiteral("longeur")), QStringLiteral("12.5"));
    lue.valeurs[QStringLiteral("Commentaires")] = QStringLiteral("Crue récente");
    ASSERT_TRUE(enregistrerOperation(lue));
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS")).toInt(), 3);

    // The list: newest first, labels of the coded fields.
    ListeOperations liste;
    ASSERT_TRUE(liste.charger(1));
    ASSERT_EQ(liste.grille().nbLignes(), 2);
    EXPECT_EQ(liste.grille().lignes[0][0], QStringLiteral("1"));
    EXPECT_EQ(liste.grille().entetes.mid(0, 3), QStringList({"Code", "Date", "Heure"}));
    const int q = liste.grille().entetes.indexOf(QStringLiteral("Code Qualification"));
    EXPECT_EQ(liste.grille().lignes[1][q], QStringLiteral("Correcte"));
    ASSERT_TRUE(liste.charger(1, 5));
    EXPECT_EQ(liste.grille().nbLignes(), 0);
}

TEST_P(OperationsHydrobioTest, QualificationEtStatutPropagesAuxAnalyses)
{
    station(1, QStringLiteral("BSS1"));
    point(1, 0, QStringLiteral("031"));
    operation(1, 0, 0, QStringLiteral("01/06/2020"));
    operation(1, 1, 0, QStringLiteral("01/07/2020"));
    echantillon(1, QStringLiteral("BSS1"), 0, 10);
    echantillon(1, QStringLiteral("BSS1"), 1, 11);

    FicheOperation f = chargerOperation(1, QStringLiteral("0"));
    f.valeurs[QStringLiteral("qualification")] = QStringLiteral("2");
    f.valeurs[QStringLiteral("statut")] = QStringLiteral("3");
    ASSERT_TRUE(enregistrerOperation(f));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement, NumAnalyse, CodeQualification, "
                                    "StatutMesure FROM ANALYSES_BSS1 ORDER BY "
                                    "NumPrelevement, NumAnalyse")),
              QStringList({"10|1|2|3", "10|2|2|3", "11|1|4|1", "11|2|4|1"}));
    // An empty qualification empties it on the analyses of its samples only.
    f.valeurs[QStringLiteral("qualification")].clear();
    ASSERT_TRUE(enregistrerOperation(f));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement, CodeQualification, StatutMesure FROM "
                                    "ANALYSES_BSS1 WHERE NumAnalyse=1 "
                                    "ORDER BY NumPrelevement")),
              QStringList({"10||3", "11|4|1"}));
    // The function other modules call, and a station without analysis table.
    ASSERT_TRUE(executer(QStringLiteral(
        "UPDATE QUALITOMETRES_POINTS_OPERATIONS SET qualification=1, statut=null WHERE "
        "codeOperation=1")));
    EXPECT_TRUE(propagerQualificationStatut(1, 1));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT CodeQualification, StatutMesure FROM ANALYSES_BSS1 WHERE NumPrelevement=11")),
        QStringList({"1|", "1|"}));
    station(2, QStringLiteral("BSS2"));
    operation(2, 0, 0, QStringLiteral("01/01/2020"));
    EXPECT_TRUE(propagerQualificationStatut(2, 0));
    EXPECT_FALSE(propagerQualificationStatut(2, 7)) << "no such operation";
}

TEST_P(OperationsHydrobioTest, SuppressionDeToutCeQuiDependDeLOperation)
{
    station(1, QStringLiteral("BSS1"));
    point(1, 0, QStringLiteral("131"));
    // The per-operation taxa rows of older databases.
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE QUALITOMETRES_OPERATIONS_TAXONS "
                                        "(codeQualitometre Double, codeOperation Double, "
                                        "codeListe Double)")));
    for (int op : {0, 1}) {
        operation(1, op, 0, QStringLiteral("01/06/2020"));
        const QString valeurs = QStringLiteral("(1, ") + QString::number(op);
        for (const QString &i :
             {QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_PRELEVEMENTS (codeQualitometre, "
                             "codeOperation, "
                             "indice) VALUES "),
              QStringLiteral(
                  "INSERT INTO QUALITOMETRES_OPERATIONS_TAXONS (codeQualitometre, codeOperation, "
                  "codeListe) VALUES "),
              QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                             "codeOperation, "
                             "indice) VALUES "),
              QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_REC (codeQualitometre, "
                             "codeOperation, indice) "
                             "VALUES "),
              QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS_ENV (codeQualitometre, "
                             "codeOperation, "
                             "codeCondition) VALUES "),
              QStringLiteral(
                  "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS (codeQualitometre, "
                  "codeOperation, indice) VALUES "),
              QStringLiteral(
                  "INSERT INTO QUALITOMETRES_OPERATIONS_LISTE (codeQualitometre, codeOperation, "
                  "codeListe) VALUES "),
              QStringLiteral(
                  "INSERT INTO QUALITOMETRES_OPERATIONS_UNITES (CodeQualitometre, codeOperation, "
                  "unite) VALUES ")})
            ASSERT_TRUE(executer(i + valeurs + QStringLiteral(", 1)")));
        LigneTaxonListe l;
        l.codeTaxon = QStringLiteral("5001");
        ASSERT_TRUE(ecrireTaxonListe(true, 1, op, 1, 1, l));
        echantillon(1, QStringLiteral("BSS1"), op, 10 + op);
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO PRELEVEMENTS_FINALITES (NumPrelevement, "
                                            "CodeFinalite, codeQualitometre) "
                                            "VALUES (") +
                             QString::number(10 + op) + QStringLiteral(", 'F', 1)")));
    }
    messages().repondre(BoutonNon);
    const CompteRendu non = supprimerOperation(1, QStringLiteral("0"));
    EXPECT_FALSE(non.ok);
    EXPECT_EQ(non.texte, QString()) << "the user said No: nothing more to show";
    const CompteRendu aucune = supprimerOperation(1, QString());
    EXPECT_FALSE(aucune.ok);
    EXPECT_EQ(aucune.texte, QStringLiteral("Sélectionnez d'abord une opération dans la liste."));
    EXPECT_EQ(recus(), QStringList({"QUESTION: Etes vous sur de vouloir supprimer l'opération "
                                    "sélectionnée et toutes les informations "
                                    "qui lui sont rattachées ?"}));
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS")).toInt(), 2);

    messages().repondre(BoutonOui);
    const CompteRendu supprimee = supprimerOperation(1, QStringLiteral("0"));
    EXPECT_TRUE(supprimee.ok);
    EXPECT_EQ(supprimee.texte, QStringLiteral("L'opération a été supprimée."));
    EXPECT_EQ(recus().size(), 1) << "the question only";
    for (const char *table :
         {"QUALITOMETRES_POINTS_OPERATIONS", "QUALITOMETRES_OPERATIONS_PRELEVEMENTS",
          "QUALITOMETRES_OPERATIONS_TAXONS", "QUALITOMETRES_OPERATIONS_RESULTATS",
          "QUALITOMETRES_OPERATIONS_REC", "QUALITOMETRES_POINTS_OPERATIONS_ENV",
          "QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS", "QUALITOMETRES_OPERATIONS_LISTE",
          "QUALITOMETRES_OPERATIONS_UNITES", "QUALITOMETRES_LISTE_1", "PRELEVEMENTS"})
        EXPECT_EQ(
            lignes(QStringLiteral("SELECT DISTINCT codeOperation FROM ") + QLatin1String(table)),
            QStringList({"1"}))
            << table;
    EXPECT_EQ(lignes(QStringLiteral("SELECT DISTINCT NumPrelevement FROM ANALYSES_BSS1")),
              QStringList({"11"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement FROM PRELEVEMENTS_FINALITES")),
              QStringList({"11"}));
    // The point may now lose its last operation, and the next new operation reuses no orphan.
    messages().repondre(BoutonOui);
    EXPECT_TRUE(supprimerOperation(1, QStringLiteral("1")));
    EXPECT_EQ(codeOperationSuivant(1), 0);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_OPERATIONS_LISTE")).toInt(),
              0);
}

// Samples are numbered per station: the sample 0 of another station is not the operation's.
TEST_P(OperationsHydrobioTest, SuppressionSansToucherLeMemeNumeroDUneAutreStation)
{
    for (qint64 s : {1, 2}) {
        const QString bss = QStringLiteral("BSS") + QString::number(s);
        station(s, bss);
        point(s, 0, QStringLiteral("031"));
        operation(s, 0, 0, QStringLiteral("01/06/2020"));
        echantillon(s, bss, 0, 0);
        for (const char *t :
             {"PRELEVEMENTS_FINALITES", "PRELEVEMENTS_DOSSIERS", "PRELEVEMENTS_ECHANTILLONS"})
            ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ") + QLatin1String(t) +
                                 QStringLiteral(" (codeQualitometre, NumPrelevement) VALUES (") +
                                 QString::number(s) + QStringLiteral(", 0)")));
    }
    messages().repondre(BoutonOui);
    ASSERT_TRUE(supprimerOperation(1, QStringLiteral("0")));
    for (const char *t : {"PRELEVEMENTS", "PRELEVEMENTS_FINALITES", "PRELEVEMENTS_DOSSIERS",
                          "PRELEVEMENTS_ECHANTILLONS"})
        EXPECT_EQ(lignes(QStringLiteral("SELECT codeQualitometre, NumPrelevement FROM ") +
                         QLatin1String(t)),
                  QStringList({"2|0"}))
            << t;
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ANALYSES_BSS1")).toInt(), 0);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ANALYSES_BSS2")).toInt(), 2);
}

VYK_SUR_LES_DEUX_MOTEURS(OperationsHydrobioTest);

} // namespace
