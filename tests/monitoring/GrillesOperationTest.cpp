#include "monitoring/GrillesOperation.h"
#include "monitoring/ListeTaxonsOperation.h"

#include "DonneesOperations.h"

using namespace vyk;

namespace {

class GrillesOperationTest : public test::BaseOperations
{
  protected:
    void SetUp() override
    {
        BaseOperations::SetUp();
        station(1, QStringLiteral("BSS1"));
        point(1, 0, QStringLiteral("131"));
        operation(1, 0, 0, QStringLiteral("01/06/2020"));
        operation(1, 1, 0, QStringLiteral("01/07/2020"));
    }

    static LigneGrille ligne(const QStringList &textes) { return {textes, {}}; }

    QVector<LigneRecouvrement> recouvrements(std::initializer_list<double> valeurs)
    {
        QVector<LigneRecouvrement> l(supportsRecouvrement().size());
        int i = 0;
        for (double v : valeurs)
            l[i++].recouvrement = QString::number(v);
        return l;
    }

    // The saves and deletions show nothing: their reports are kept as the screen would show them.
    bool rendu(const CompteRendu &c)
    {
        if (!c.texte.isEmpty())
            m_rendus << (c.ok ? GENRE_AIDE : GENRE_ERREUR) + QStringLiteral(": ") + c.texte;
        return c.ok;
    }
    // What the core showed (questions), then the reports, since the last call.
    QStringList rapports()
    {
        const QStringList r = recus() + m_rendus;
        m_rendus.clear();
        return r;
    }

  private:
    QStringList m_rendus;
};

TEST_P(GrillesOperationTest, PrelevementsElementairesGardentLeurNumero)
{
    const GrilleOperation g(*grilleOperation(QStringLiteral("prelevements")));
    const int code = g.definition().indexColonne(QStringLiteral("codePrelevement"));
    const int materiel = g.definition().indexColonne(QStringLiteral("materiel"));
    const int profondeur = g.definition().indexColonne(QStringLiteral("profondeur"));
    auto nouvelle = [&](const QString &c, const QString &m, const QString &p) {
        QStringList t(g.definition().colonnes.size());
        t[code] = c;
        t[materiel] = m;
        t[profondeur] = p;
        return ligne(t);
    };
    LignesGrille l{nouvelle(QStringLiteral("P1"), QStringLiteral("1"), QStringLiteral("0,25"))};
    EXPECT_FALSE(rendu(g.enregistrer(1, QString(), l)));
    EXPECT_EQ(rapports(), QStringList({"ERREUR: Vous devez d'abord enregistrer l'opération ou "
                                       "sélectionner une opération existante."}));

    l << nouvelle({}, QStringLiteral("2"), {})
      << ligne(QStringList(g.definition().colonnes.size()));
    EXPECT_FALSE(rendu(g.enregistrer(1, QStringLiteral("0"), l)));
    EXPECT_EQ(rapports(), QStringList({"ERREUR: Le code du prélèvement n'est pas renseigné."}));
    EXPECT_EQ(g.verifier(l).ligne, 1);
    l[1].textes[code] = QStringLiteral("P2");
    l[1].textes[profondeur] = QStringLiteral("profond");
    EXPECT_FALSE(rendu(g.enregistrer(1, QStringLiteral("0"), l)));
    EXPECT_EQ(rapports(),
              QStringList({"ERREUR: La valeur « profond » de la colonne Profondeur pour "
                           "la ligne 2 n'est pas correcte."}));
    l[1].textes[profondeur].clear();
    ASSERT_TRUE(rendu(g.enregistrer(1, QStringLiteral("0"), l)));
    EXPECT_EQ(rapports(), QStringList({"AIDE: Enregistrement du prélèvement terminé."}));
    ASSERT_EQ(l.size(), 2) << "the empty line is not kept";
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codeOperation, indice, codePrelevement, materiel, profondeur FROM "
                  "QUALITOMETRES_OPERATIONS_PRELEVEMENTS ORDER BY indice")),
              QStringList({"0|1|P1|1|0.25", "0|2|P2|2|"}));

    // Line 1 deleted, a new line: P2 keeps its number 2 (column P2 of the taxa lists). The
    // question goes to the function given; No keeps the row.
    test::Reponses reponses;
    EXPECT_FALSE(rendu(g.supprimerLigne(1, QStringLiteral("0"), l[0], reponses.fonction())));
    EXPECT_TRUE(rapports().isEmpty());
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_OPERATIONS_PRELEVEMENTS"))
                  .toInt(),
              2);
    reponses.reponse = true;
    ASSERT_TRUE(rendu(g.supprimerLigne(1, QStringLiteral("0"), l[0], reponses.fonction())));
    EXPECT_EQ(reponses.questions, QStringList(2, "Voulez vous supprimer la ligne sélectionnée ?"));
    EXPECT_EQ(rapports(), QStringList({"AIDE: Le prélèvement a été supprimé."}));
    l.removeFirst();
    l << nouvelle(QStringLiteral("P3"), {}, {});
    ASSERT_TRUE(rendu(g.enregistrer(1, QStringLiteral("0"), l)));
    EXPECT_EQ(lignes(QStringLiteral("SELECT indice, codePrelevement FROM "
                                    "QUALITOMETRES_OPERATIONS_PRELEVEMENTS ORDER BY indice")),
              QStringList({"2|P2", "3|P3"}));
    const LignesGrille relues = g.charger(1, QStringLiteral("0"));
    ASSERT_EQ(relues.size(), 2);
    EXPECT_EQ(relues[0].cle.value(0).toInt(), 2);
    EXPECT_EQ(relues[0].textes[materiel], QStringLiteral("2"));
    EXPECT_TRUE(g.charger(1, QStringLiteral("1")).isEmpty());
    EXPECT_TRUE(g.charger(1, QString()).isEmpty()) << "a new operation has no rows";
}

TEST_P(GrillesOperationTest, ResultatsConditionsDispositifs)
{
    const GrilleOperation resultats(*grilleOperation(QStringLiteral("resultats")));
    LignesGrille l{
        ligne({QStringLiteral("5856"), QStringLiteral("14,5"), {}, QStringLiteral("1"), {}, {}})};
    const QString commentaire = QStringLiteral("Indice calculé sur 3 phases");
    ASSERT_TRUE(rendu(resultats.enregistrer(1, QStringLiteral("1"), l, &commentaire)));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codeOperation, indice, codeParametre, resultat, codeRemarque FROM "
                  "QUALITOMETRES_OPERATIONS_RESULTATS")),
              QStringList({"1|1|5856|14.5|1"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeOperation, commentaireResultat FROM "
                                    "QUALITOMETRES_POINTS_OPERATIONS ORDER BY "
                                    "codeOperation")),
              QStringList({"0|", "1|Indice calculé sur 3 phases"}));

    const GrilleOperation conditions(*grilleOperation(QStringLiteral("conditions")));
    LignesGrille c{ligne({QStringLiteral("1725"),
                          QStringLiteral("2"),
                          {},
                          QStringLiteral("01/06/2020"),
                          QStringLiteral("8h15"),
                          {},
                          {},
                          {},
                          QStringLiteral("Étiage")})};
    ASSERT_TRUE(rendu(conditions.enregistrer(1, QStringLiteral("0"), c)));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT codeCondition, parametre, mesure, dateMesure, heureMesure, commentaires FROM "
            "QUALITOMETRES_POINTS_OPERATIONS_ENV")),
        QStringList({"1|1725|2|01/06/2020|30/12/1899 08:15:00|Étiage"}));
    EXPECT_EQ(conditions.charger(1, QStringLiteral("0"))[0].textes[4], QStringLiteral("08:15"));
    c[0].textes[3] = QStringLiteral("31/06/2020");
    EXPECT_FALSE(rendu(conditions.enregistrer(1, QStringLiteral("0"), c)));
    EXPECT_EQ(rapports().last(),
              QStringLiteral("ERREUR: La valeur « 31/06/2020 » de la colonne Date "
                             "pour la ligne 1 n'est pas correcte."));
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS_ENV")).toInt(),
        1);

    const GrilleOperation dispositifs(*grilleOperation(QStringLiteral("dispositifs")));
    LignesGrille d{ligne({QStringLiteral("0400000001")}), ligne({QStringLiteral("RCS")})};
    ASSERT_TRUE(rendu(dispositifs.enregistrer(1, QStringLiteral("0"), d)));
    EXPECT_EQ(rapports().last(), QStringLiteral("AIDE: Enregistrement des dispositifs terminé."));
    d = dispositifs.charger(1, QStringLiteral("0"));
    messages().repondre(BoutonOui);
    ASSERT_TRUE(rendu(dispositifs.supprimerLigne(1, QStringLiteral("0"), d[1])));
    EXPECT_EQ(rapports().last(), QStringLiteral("AIDE: Le dispositif a été supprimé."));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT indice, codeDispositif FROM QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS")),
        QStringList({"1|0400000001"}));
}

// Each free-line grid: refused without an operation, its required column, its end message, the
// operation's rows replaced (another operation's kept), one line deleted after the question.
TEST_P(GrillesOperationTest, ChaqueGrilleRemplaceLesLignesDeSonOperation)
{
    const struct
    {
        const char *grille, *table, *obligatoire, *autre, *valeur, *messageObligatoire, *fin,
            *supprime;
    } cas[] = {
        {"prelevements", "QUALITOMETRES_OPERATIONS_PRELEVEMENTS", "codePrelevement", "materiel",
         "P1", "Le code du prélèvement n'est pas renseigné.",
         "Enregistrement du prélèvement terminé.", "Le prélèvement a été supprimé."},
        {"conditions", "QUALITOMETRES_POINTS_OPERATIONS_ENV", "parametre", "mesure", "1725",
         "Le paramètre de la condition n'est pas renseigné.",
         "Enregistrement des conditions environnementales terminé.",
         "La condition a été supprimée."},
        {"resultats", "QUALITOMETRES_OPERATIONS_RESULTATS", "codeParametre", "resultat", "5856",
         "Le paramètre du résultat n'est pas renseigné.", "Enregistrement des résultats terminé.",
         "Le résultat a été supprimé."},
        {"dispositifs", "QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS", "codeDispositif", nullptr,
         "0400000001", nullptr, "Enregistrement des dispositifs terminé.",
         "Le dispositif a été supprimé."},
    };
    for (const auto &c : cas) {
        const GrilleOperation g(*grilleOperation(QString::fromLatin1(c.grille)));
        const QString compte = QStringLiteral("SELECT count(*) FROM %1 WHERE codeOperation=%2")
                                   .arg(QLatin1String(c.table));
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO %1 (codeQualitometre, codeOperation) "
                                            "VALUES (1, 1)")
                                 .arg(QLatin1String(c.table))));
        QStringList textes(g.definition().colonnes.size());
        if (c.autre) {
            textes[g.definition().indexColonne(QString::fromLatin1(c.autre))] = QStringLiteral("2");
            LignesGrille l{ligne(textes)};
            EXPECT_FALSE(rendu(g.enregistrer(1, QStringLiteral("0"), l)));
            EXPECT_EQ(rapports(), QStringList({QStringLiteral("ERREUR: ") +
                                               QString::fromUtf8(c.messageObligatoire)}));
        }
        textes[g.definition().indexColonne(QString::fromLatin1(c.obligatoire))] =
            QString::fromLatin1(c.valeur);
        LignesGrille l{ligne(textes)};
        EXPECT_FALSE(rendu(g.enregistrer(1, QString(), l)));
        EXPECT_EQ(rapports(), QStringList({"ERREUR: Vous devez d'abord enregistrer l'opération ou "
                                           "sélectionner une opération existante."}));
        for (int fois = 0; fois < 2; ++fois) {
            ASSERT_TRUE(rendu(g.enregistrer(1, QStringLiteral("0"), l))) << c.grille;
            EXPECT_EQ(rapports(),
                      QStringList({QStringLiteral("AIDE: ") + QString::fromUtf8(c.fin)}));
            EXPECT_EQ(valeur(compte.arg(0)).toInt(), 1) << c.grille;
        }
        l = g.charger(1, QStringLiteral("0"));
        ASSERT_EQ(l.size(), 1) << c.grille;
        EXPECT_EQ(l[0].textes[g.definition().indexColonne(QString::fromLatin1(c.obligatoire))],
                  QString::fromLatin1(c.valeur));
        messages().repondre(BoutonOui);
        ASSERT_TRUE(rendu(g.supprimerLigne(1, QStringLiteral("0"), l[0])));
        EXPECT_EQ(rapports(),
                  QStringList({"QUESTION: Voulez vous supprimer la ligne sélectionnée ?",
                               QStringLiteral("AIDE: ") + QString::fromUtf8(c.supprime)}));
        EXPECT_EQ(valeur(compte.arg(0)).toInt(), 0) << c.grille;
        EXPECT_EQ(valeur(compte.arg(1)).toInt(), 1) << c.grille;
    }
}

TEST_P(GrillesOperationTest, RecouvrementsDeCentPourCent)
{
    EXPECT_EQ(verifierRecouvrements(recouvrements({50, 49})).message,
              QStringLiteral("Le total des recouvrements n'est pas égal à 100%."));
    EXPECT_EQ(verifierRecouvrements(recouvrements({50, 51})).message,
              QStringLiteral("Le total des recouvrements n'est pas égal à 100%."));
    EXPECT_TRUE(verifierRecouvrements(recouvrements({33.3, 33.3, 33.4})).estVide());
    EXPECT_TRUE(verifierRecouvrements(recouvrements({})).estVide()) << "no cover at all";
    EXPECT_EQ(verifierRecouvrements(recouvrements({120, -20})).ligne, 0);

    QVector<LigneRecouvrement> l = recouvrements({60, 39});
    l[0].type = QStringLiteral("1");
    EXPECT_FALSE(rendu(enregistrerRecouvrements(1, QStringLiteral("0"), l)));
    EXPECT_EQ(rapports(),
              QStringList({"ERREUR: Le total des recouvrements n'est pas égal à 100%."}));
    l[1].recouvrement = QStringLiteral("40");
    ASSERT_TRUE(rendu(enregistrerRecouvrements(1, QStringLiteral("0"), l)));
    EXPECT_EQ(rapports(), QStringList({"AIDE: Enregistrement des recouvrements terminé."}));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT indice, recouvrement, type FROM QUALITOMETRES_OPERATIONS_REC ORDER BY indice")),
        QStringList({"1|60|1", "2|40|"}));
    EXPECT_EQ(chargerRecouvrements(1, QStringLiteral("0"))[1].recouvrement, QStringLiteral("40"));

    // By zone: each zone totals 100 on its own.
    QVector<LigneRecouvrement> z(supportsRecouvrement().size());
    z[0].chenal = QStringLiteral("100");
    z[0].intermediaire = QStringLiteral("50");
    z[1].intermediaire = QStringLiteral("50");
    z[2].berge = QStringLiteral("99");
    EXPECT_FALSE(rendu(enregistrerRecouvrements(1, QStringLiteral("0"), z)));
    z[2].berge = QStringLiteral("100");
    z[1].intermediaire = QStringLiteral("51");
    EXPECT_FALSE(rendu(enregistrerRecouvrements(1, QStringLiteral("0"), z)));
    z[1].intermediaire = QStringLiteral("50");
    z[0].chenal = QStringLiteral("101");
    EXPECT_FALSE(rendu(enregistrerRecouvrements(1, QStringLiteral("0"), z)));
    EXPECT_EQ(
        rapports(),
        QStringList(
            {"ERREUR: Le total des recouvrements des berges n'est pas égal à 100%.",
             "ERREUR: Le total des recouvrements de la zone intermédiaire n'est pas égal à 100%.",
             "ERREUR: La valeur « 101 » de la colonne recouvrement pour la ligne 1 n'est pas "
             "correcte."}));
    z[0].chenal = QStringLiteral("100");
    ASSERT_TRUE(rendu(enregistrerRecouvrements(1, QStringLiteral("0"), z)));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT indice, recouvrementChenal, recouvrementIntermediaire, recouvrementBerge FROM "
            "QUALITOMETRES_OPERATIONS_REC ORDER BY indice")),
        QStringList({"1|100|50|", "2||50|", "3|||100"}));
    const QVector<LigneRecouvrement> relus = chargerRecouvrements(1, QStringLiteral("0"));
    EXPECT_EQ(relus[0].chenal + u'|' + relus[0].intermediaire + u'|' + relus[0].berge + u'|' +
                  relus[2].berge,
              QStringLiteral("100|50||100"));
}

TEST_P(GrillesOperationTest, UnitesDeReleve)
{
    const auto &c = caracteristiquesUnites();
    ValeursUnites v{QStringList(c.size()), QStringList(c.size())};
    v.ur1[0] = QStringLiteral("80");
    v.ur2[1] = QStringLiteral("12,5");
    int profondeur = -1;
    for (int i = 0; i < c.size(); ++i)
        if (c[i].groupe == 2 && c[i].sousGroupe == 1) profondeur = i;
    ASSERT_GE(profondeur, 0);
    EXPECT_EQ(c[profondeur].libelle, QStringLiteral("0,1 <= P< 0,5"));
    v.ur1[profondeur] = QStringLiteral("4");
    EXPECT_FALSE(rendu(enregistrerUnites(1, QStringLiteral("0"), v)));
    EXPECT_EQ(
        rapports(),
        QStringList(
            {QStringLiteral(
                 "ERREUR: La valeur « 4 » de la colonne 0,1 <= P< 0,5 pour la ligne %1 n'est pas "
                 "correcte.")
                 .arg(profondeur + 1)}));
    v.ur1[profondeur] = QStringLiteral("3");
    ASSERT_TRUE(rendu(enregistrerUnites(1, QStringLiteral("0"), v)));
    EXPECT_EQ(rapports(), QStringList({"AIDE: Enregistrement des unités de relevé terminé."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT unite, groupe, sousGroupe, resultat FROM "
                                    "QUALITOMETRES_OPERATIONS_UNITES ORDER BY unite, "
                                    "groupe, sousGroupe")),
              QStringList({"1|0|0|80", "1|2|1|3", "2|0|1|12.5"}));
    // Saved again: replaced, not added.
    v.ur2[1].clear();
    ASSERT_TRUE(rendu(enregistrerUnites(1, QStringLiteral("0"), v)));
    const ValeursUnites relues = chargerUnites(1, QStringLiteral("0"));
    EXPECT_EQ(relues.ur1[profondeur], QStringLiteral("3"));
    EXPECT_TRUE(relues.ur2[1].isEmpty());
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_OPERATIONS_UNITES")).toInt(), 2);
}

class ListeTaxonsOperationTest : public GrillesOperationTest
{
  protected:
    void SetUp() override
    {
        GrillesOperationTest::SetUp();
        for (const char *t :
             {"INSERT INTO TAXONS (codeTaxon, nomLatin, actif) VALUES ('5001', 'Baetis', '1')",
              "INSERT INTO TAXONS (codeTaxon, nomLatin, actif, codeOmnidia) VALUES ('5002', "
              "'Caenis', '1', 'CAE')",
              "INSERT INTO TAXONS (codeTaxon, nomLatin, actif) VALUES ('5003', 'Gammarus', '1')"})
            ASSERT_TRUE(executer(QString::fromUtf8(t)));
    }

    static ListeTaxonsOperation::Ligne taxon(const QString &code, const QString &nom,
                                             const QString &a = {})
    {
        ListeTaxonsOperation::Ligne l;
        l.codeTaxon = code;
        l.nomLatin = nom;
        l.valeurs[DenombrementA] = a;
        return l;
    }
};

TEST_P(ListeTaxonsOperationTest, TableCreeeEtCompleteeParEcrireTaxonListe)
{
    // An older table: the sixteen first columns only.
    QString creation = sqlCreationTableListeTaxons(QStringLiteral("1"));
    const qsizetype p1 = creation.indexOf(QStringLiteral(", denombrementP1"));
    ASSERT_GT(p1, 0);
    creation = creation.left(p1) + u')';
    ASSERT_TRUE(executer(creation));
    ASSERT_TRUE(creerTableListeTaxons(1));
    EXPECT_TRUE(bd().colonneExiste(QStringLiteral("QUALITOMETRES_LISTE_1"),
                                   QStringLiteral("denombrementP12")));
    ASSERT_TRUE(creerTableListeTaxons(1)) << "again, nothing to do";

    LigneTaxonListe l;
    l.codeTaxon = QStringLiteral("5001");
    l.valeurs[DenombrementA] = 4;
    l.valeurs[DenombrementP1 + 11] = 2;
    ASSERT_TRUE(ecrireTaxonListe(true, 1, 0, 1, 1, l));
    l.codeTaxon = QStringLiteral("5002");
    ASSERT_TRUE(ecrireTaxonListe(false, 1, 0, 1, 2, l));
    l.valeurs[DenombrementA] = 9;
    ASSERT_TRUE(ecrireTaxonListe(false, 1, 0, 1, 2, l)) << "the line exists: updated";
    ASSERT_TRUE(ecrireTaxonListe(true, 1, 0, 0, 1, l)) << "another list of the operation";
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeListe, indice, codeTaxon, denombrementA, "
                                    "denombrementP12 FROM QUALITOMETRES_LISTE_1 "
                                    "ORDER BY codeListe, indice")),
              QStringList({"0|1|5002|9|2", "1|1|5001|4|2", "1|2|5002|9|2"}));
    // A first line empties its list only.
    l.codeTaxon = QStringLiteral("5003");
    ASSERT_TRUE(ecrireTaxonListe(true, 1, 0, 1, 1, l));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeListe, indice, codeTaxon FROM "
                                    "QUALITOMETRES_LISTE_1 ORDER BY codeListe, indice")),
              QStringList({"0|1|5002", "1|1|5003"}));
}

TEST_P(ListeTaxonsOperationTest, ListeDeLaFicheEnregistreeEtRelue)
{
    ListeTaxonsOperation liste(1, QStringLiteral("131"));
    QStringList titres;
    for (const ColonneGrilleTaxons &c : liste.colonnes())
        titres << c.titre;
    EXPECT_EQ(titres.mid(0, 10),
              QStringList({"Taxon", "Code", "A", "B", "C", "Unité", "Développement", "Remarque",
                           "Confiance", "Densité"}));
    EXPECT_EQ(titres.last(), QStringLiteral("P12"));
    EXPECT_EQ(liste.colonnes()[6].entrees.last().texte(), QStringLiteral("cf [99]"));
    ListeTaxonsOperation macrophytes(1, QStringLiteral("271"));
    EXPECT_EQ(macrophytes.colonnes()[2].titre, QStringLiteral("UR1"));
    EXPECT_EQ(macrophytes.colonnes()[3].titre, QStringLiteral("UR2"));

    ASSERT_TRUE(liste.charger(QStringLiteral("0"), 1));
    EXPECT_TRUE(liste.lignes().isEmpty());
    EXPECT_EQ(liste.ajouterTaxons(
                  {taxon(QStringLiteral("5001"), QStringLiteral("Baetis"), QStringLiteral("12")),
                   taxon(QStringLiteral("5002"), QStringLiteral("Caenis")),
                   taxon(QStringLiteral("5001"), QStringLiteral("Baetis"))}),
              2);
    liste.definirTexte(1, 3, QStringLiteral("0")); // B
    liste.lignes()[0].valeurs[PourcentageB] =
        QStringLiteral("15"); // a value the grid does not show
    liste.microPrelevement = true;
    liste.nomListe = QStringLiteral("Liste faunistique");
    liste.commentaireListe = QStringLiteral("Tri au laboratoire");
    EXPECT_FALSE(rendu(liste.enregistrer(QString(), 1)));
    rapports();

    // The question about the lines without counts: No keeps them.
    messages().repondre(BoutonNon);
    ASSERT_TRUE(rendu(liste.enregistrer(QStringLiteral("0"), 1)));
    EXPECT_EQ(rapports(),
              QStringList({"QUESTION: Voulez vous supprimer les lignes sans dénombrement ?",
                           "AIDE: Enregistrement des taxons terminé."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT indice, codeTaxon, denombrementA, denombrementB, "
                                    "pourcentageB FROM QUALITOMETRES_LISTE_1 "
                                    "ORDER BY indice")),
              QStringList({"1|5001|12||15", "2|5002||0|"}));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT microPrelevement FROM QUALITOMETRES_POINTS_OPERATIONS WHERE codeOperation=0")),
        QStringList({"1"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codeListe, nom, Commentaires FROM QUALITOMETRES_OPERATIONS_LISTE")),
              QStringList({"1|Liste faunistique|Tri au laboratoire"}));

    ListeTaxonsOperation relue(1, QStringLiteral("131"));
    ASSERT_TRUE(relue.charger(QStringLiteral("0"), 1));
    ASSERT_EQ(relue.lignes().size(), 2);
    EXPECT_EQ(relue.texte(0, 0), QStringLiteral("Baetis"));
    EXPECT_EQ(relue.texte(1, 1), QStringLiteral("5002"));
    EXPECT_EQ(relue.lignes()[0].valeurs[PourcentageB], QStringLiteral("15"))
        << "hidden values are kept";
    EXPECT_TRUE(relue.microPrelevement);
    EXPECT_EQ(relue.nomListe, QStringLiteral("Liste faunistique"));

    // Yes drops them; the header is updated, not doubled.
    relue.commentaireListe.clear();
    messages().repondre(BoutonOui);
    ASSERT_TRUE(rendu(relue.enregistrer(QStringLiteral("0"), 1)));
    EXPECT_EQ(lignes(QStringLiteral("SELECT indice, codeTaxon FROM QUALITOMETRES_LISTE_1")),
              QStringList({"1|5001"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codeListe, nom, Commentaires FROM QUALITOMETRES_OPERATIONS_LISTE")),
              QStringList({"1|Liste faunistique|"}));
    rapports();

    // Checks: unknown taxon, bad number; nothing is written.
    relue.ajouterTaxons({taxon(QStringLiteral("9999"), QStringLiteral("?"), QStringLiteral("1"))});
    EXPECT_FALSE(rendu(relue.enregistrer(QStringLiteral("0"), 1)));
    relue.lignes().removeLast();
    relue.definirTexte(0, 2, QStringLiteral("beaucoup"));
    EXPECT_FALSE(rendu(relue.enregistrer(QStringLiteral("0"), 1)));
    EXPECT_EQ(
        rapports(),
        QStringList(
            {"ERREUR: Le taxon 9999 de la ligne 2 n'existe pas dans le référentiel des taxons.",
             "ERREUR: La valeur « beaucoup » de la colonne A pour la ligne 1 n'est pas "
             "correcte."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, denombrementA FROM QUALITOMETRES_LISTE_1")),
              QStringList({"5001|12"}));

    // Single-line delete, list 1 then list 0.
    relue.definirTexte(0, 2, QStringLiteral("12"));
    messages().repondre(BoutonOui);
    ASSERT_TRUE(rendu(relue.supprimerLigne(QStringLiteral("0"), 1, 0)));
    EXPECT_EQ(rapports().last(), QStringLiteral("AIDE: Le taxon a été supprimé de la liste."));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_LISTE_1")).toInt(), 0);
    ListeTaxonsOperation zero(1, QStringLiteral("131"));
    zero.ajouterTaxons(
        {taxon(QStringLiteral("5003"), QStringLiteral("Gammarus"), QStringLiteral("1"))});
    ASSERT_TRUE(rendu(zero.enregistrer(QStringLiteral("1"), 0)));
    messages().repondre(BoutonOui);
    ASSERT_TRUE(rendu(zero.supprimerLigne(QStringLiteral("1"), 0, 0)));
    EXPECT_EQ(rapports().last(), QStringLiteral("AIDE: Le taxon a été supprimé de la liste ."));
}

VYK_SUR_LES_DEUX_MOTEURS(GrillesOperationTest);
VYK_SUR_LES_DEUX_MOTEURS(ListeTaxonsOperationTest);

} // namespace
