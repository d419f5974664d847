#include "search/RecherchesEnregistrees.h"
#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "schema/TableAnalyses.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Two stations; nitrates with an ascending grid of threshold type 5.
class RecherchesEnregistreesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        test::creerTablesCatalogue({"LIEN_QUALITO_MASSE_EAU", "BASSINS_VERSANTS", "RESULT_RECH_VYK",
                                    "RESULT_RECH_CRITERES", "RESULT_INDIC", "RESULT_TOT_INDIC",
                                    "RESULT_REPARTITION", "RESULT_PAR_STATION",
                                    "RESULT_TOTAL_STATION"});
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS002")));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, her_niveau1, X, Y, "
                 "TypeProjection) VALUES (1, 'BSS001', 'Amont', 5, 700000.5, 6600000, 26)",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (2, "
                 "'BSS002', 'Aval')",
                 "INSERT INTO LIEN_QUALITO_MASSE_EAU (CodeQualitometre, Code_ME) VALUES (1, 'ME1')",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut) VALUES (1, 0, #01/01/2024#)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut) VALUES (2, 0, #01/01/2024#)",
                 "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('SEUILS', 5, 'Usage')",
                 "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, CodeParametre, CodeUnite, "
                 "Seuil1, Seuil2, Seuil3, Seuil4) VALUES ('0', 5, '1340', '162', 10, 25, 50, 100)",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1311', 'Oxygène dissous')",
                 "INSERT INTO ANALYSES_UNITES (Code, Symbole) VALUES ('162', 'mg/L')",
             })
            executerOk(QString::fromUtf8(sql));
        mesure(1, 1, "02/01/2024", "1340", "30");
        mesure(1, 2, "02/02/2024", "1340", "3.25", "'10'");
        mesure(1, 3, "02/03/2024", "1311", "7.5");
        mesure(2, 4, "02/04/2024", "1340", "120");
    }

    void executerOk(const QString &sql)
    {
        ASSERT_TRUE(executer(sql)) << qPrintable(sql) << qPrintable(bd().derniereErreur());
    }

    void mesure(int station, int numero, const char *date, const char *parametre,
                const char *resultat, const char *remarque = "NULL")
    {
        executerOk(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
                                  "DateDebut, codeOperation) VALUES (%1, %2, #%3#, 0)")
                       .arg(numero)
                       .arg(station)
                       .arg(QLatin1String(date)));
        executerOk(
            QStringLiteral("INSERT INTO ANALYSES_BSS00%1 (NumAnalyse, NumPrelevement, "
                           "CodeQualitometre, CodeParametre, CodeUnite, Resultat, "
                           "CodeRemarque) VALUES (%2, %2, %1, '%3', '162', %4, %5)")
                .arg(station)
                .arg(numero)
                .arg(QLatin1String(parametre), QLatin1String(resultat), QLatin1String(remarque)));
    }

    static CriteresRecherche tousLesCriteres()
    {
        CriteresRecherche c;
        c.dateDebut = QStringLiteral("01/01/2024");
        c.dateFin = QStringLiteral("31/12/2024");
        c.stations = {1, 2};
        c.selections = {QStringLiteral("MOOX"), QStringLiteral("NUTR")};
        c.parametre = QStringLiteral("1340");
        c.unite = QStringLiteral("162");
        c.qualification = QStringLiteral("1");
        c.statut = QStringLiteral("2");
        c.support = QStringLiteral("3");
        c.producteur = QStringLiteral("55");
        c.typeSeuil = QStringLiteral("5");
        c.pointPrelevement = QStringLiteral("031");
        c.jobExecution = QStringLiteral("77");
        c.filtreClasse = 9;
        c.detectionsSeulement = true;
        return c;
    }

    static QStringList enTexte(const CriteresRecherche &c)
    {
        QStringList stations;
        for (qint64 s : c.stations)
            stations << QString::number(s);
        return {c.dateDebut,
                c.dateFin,
                stations.join(u','),
                c.selections.join(u','),
                c.parametre,
                c.unite,
                c.qualification,
                c.statut,
                c.support,
                c.producteur,
                c.typeSeuil,
                c.pointPrelevement,
                c.jobExecution,
                QString::number(c.filtreClasse),
                c.detectionsSeulement ? "oui" : "non"};
    }

    ResultatRecherche chercher()
    {
        CriteresRecherche c;
        c.dateDebut = QStringLiteral("01/01/2024");
        c.typeSeuil = QStringLiteral("5");
        ResultatRecherche r;
        QString message;
        EXPECT_EQ(rechercherResultats(c, r, message), IssueRecherche::Trouve)
            << qPrintable(message);
        return r;
    }

    // Rows of every table a saved search writes, for "nothing changed" checks.
    QStringList toutesLesLignes()
    {
        QStringList sortie;
        for (const char *t :
             {"RESULT_RECH_VYK", "RESULT_RECH_CRITERES", "RESULT_INDIC", "RESULT_TOT_INDIC",
              "RESULT_REPARTITION", "RESULT_PAR_STATION", "RESULT_TOTAL_STATION"})
            sortie << QLatin1String(t) + u':' +
                          lignes(QStringLiteral("SELECT * FROM ") + QLatin1String(t))
                              .join(QStringLiteral(" / "));
        return sortie;
    }
};

TEST_P(RecherchesEnregistreesTest, CriteresEnregistresRelusModifiesEtRefuses)
{
    qint64 id = 0;
    const CriteresRecherche c = tousLesCriteres();
    const CompteRendu cr = enregistrerCriteres(QStringLiteral("  Nitrates 2024 "), c, id);
    ASSERT_TRUE(cr.ok) << qPrintable(cr.texte);
    EXPECT_EQ(cr.texte, QStringLiteral("Les critères de la recherche ont été enregistrés."));
    EXPECT_GT(id, 0);
    EXPECT_EQ(lignes("SELECT TypeListe, CodeListe, typedonnees, Intitule FROM RESULT_RECH_VYK"),
              QStringList({"0|MOOX|031|Nitrates 2024"}));

    CriteresRecherche relus;
    ASSERT_TRUE(chargerCriteres(id, relus).ok);
    EXPECT_EQ(enTexte(relus), enTexte(c));

    // Saving again under the same number replaces; unset criteria come back empty.
    CriteresRecherche indices;
    indices.pointPrelevement = QStringLiteral("-1");
    qint64 meme = id;
    ASSERT_TRUE(enregistrerCriteres(QStringLiteral("Indices"), indices, meme).ok);
    ASSERT_TRUE(enregistrerCriteres(QStringLiteral("Indices"), indices, meme).ok);
    EXPECT_EQ(meme, id);
    EXPECT_EQ(lignes("SELECT TypeListe, CodeListe, typedonnees, Intitule FROM RESULT_RECH_VYK"),
              QStringList({"2||-1|Indices"}));
    ASSERT_TRUE(chargerCriteres(id, relus).ok);
    EXPECT_EQ(enTexte(relus), enTexte(indices));
    EXPECT_EQ(lignes("SELECT critere, valeur FROM RESULT_RECH_CRITERES"),
              QStringList({"pointPrelevement|-1"}));

    const auto liste = recherchesEnregistrees();
    ASSERT_TRUE(liste.has_value());
    const GrilleTexte g = grilleRecherches(*liste);
    EXPECT_EQ(g.titres.join(u'|'), QStringLiteral("Numéro|Intitulé|Date|Type de données|Liste"));
    ASSERT_EQ(g.lignes.size(), 1);
    EXPECT_EQ(g.lignes[0][0] + u'|' + g.lignes[0][1] + u'|' + g.lignes[0][3],
              QString::number(id) + QStringLiteral("|Indices|-1"));

    // Refusals write nothing.
    const QStringList avant = toutesLesLignes();
    qint64 nouveau = 0;
    EXPECT_EQ(enregistrerCriteres(QStringLiteral("   "), c, nouveau).texte,
              QStringLiteral("Donnez un intitulé à la recherche."));
    const QString long256(256, u'x');
    EXPECT_EQ(enregistrerCriteres(long256, c, nouveau).texte,
              QStringLiteral("Intitule dépasse 255 caractères : ") + long256);
    CriteresRecherche listeLongue = c;
    listeLongue.selections = {QStringLiteral("LISTE-BIEN-TROP-LONGUE")};
    EXPECT_EQ(enregistrerCriteres(QStringLiteral("x"), listeLongue, nouveau).texte,
              QStringLiteral("CodeListe dépasse 17 caractères : LISTE-BIEN-TROP-LONGUE"));
    qint64 absent = id + 100;
    EXPECT_EQ(enregistrerCriteres(QStringLiteral("x"), c, absent).texte,
              QStringLiteral("La recherche %1 n'existe pas.").arg(id + 100));
    EXPECT_EQ(chargerCriteres(id + 100, relus).texte,
              QStringLiteral("La recherche %1 n'existe pas.").arg(id + 100));
    EXPECT_EQ(nouveau, 0);
    EXPECT_EQ(toutesLesLignes(), avant);
}

TEST_P(RecherchesEnregistreesTest, ResultatsMemorisesRelusRemplacesEtSupprimes)
{
    const ResultatRecherche r = chercher();
    qint64 id = 0, autre = 0;
    ASSERT_TRUE(enregistrerCriteres(QStringLiteral("Nitrates"), tousLesCriteres(), id).ok);
    ASSERT_TRUE(enregistrerCriteres(QStringLiteral("Autre"), CriteresRecherche{}, autre).ok);
    EXPECT_NE(id, autre);

    EXPECT_EQ(memoriserResultats(id, ResultatRecherche{}).texte,
              QStringLiteral("Aucun résultat à enregistrer."));
    const CompteRendu cr = memoriserResultats(id, r);
    ASSERT_TRUE(cr.ok) << qPrintable(cr.texte);
    EXPECT_EQ(cr.texte, QStringLiteral("Les résultats de la recherche ont été enregistrés."));
    ASSERT_TRUE(memoriserResultats(autre, r).ok);
    // Memorising again replaces the rows instead of adding to them.
    ASSERT_TRUE(memoriserResultats(id, r).ok);

    const auto m = resultatsMemorises(id);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->indicateurs.titres, grilleIndicateurs(r).titres);
    EXPECT_EQ(m->indicateurs.lignes, grilleIndicateurs(r).lignes);
    EXPECT_EQ(m->totaux.lignes, grilleTotaux(r).lignes);
    EXPECT_EQ(m->repartitions.lignes, grilleRepartitions(r).lignes);
    EXPECT_EQ(m->stations.lignes, grilleStations(r).lignes);
    EXPECT_EQ(m->totalStations.lignes, grilleTotalStations(r).lignes);
    // What the grids hold, once.
    EXPECT_EQ(m->stations.lignes,
              QVector<QStringList>(
                  {{"1", "BSS001", "Amont", "2", "1340/162;1311/162", "3", "2", "66.7", "1;2;3",
                    "700000.5", "6600000", "26"},
                   {"2", "BSS002", "Aval", "1", "1340/162", "1", "1", "100", "4", "", "", ""}}));
    EXPECT_EQ(m->totalStations.lignes,
              QVector<QStringList>({{"Total", "2", "2", "1.5", "4", "3", "75"}}));
    EXPECT_EQ(lignes("SELECT code, listeStations, listeMassesEaux, listeHER, listeBV FROM "
                     "RESULT_REPARTITION WHERE idResultRech=" +
                     QString::number(id) + " ORDER BY id"),
              QStringList({"1340/162|BSS001;BSS002|ME1|5|", "1311/162|BSS001|ME1|5|"}));

    ASSERT_TRUE(supprimerRecherche(id).ok);
    const auto vide = resultatsMemorises(id);
    ASSERT_TRUE(vide.has_value());
    EXPECT_TRUE(vide->indicateurs.lignes.isEmpty() && vide->stations.lignes.isEmpty() &&
                vide->totaux.lignes.isEmpty());
    EXPECT_EQ(valeur("SELECT count(*) FROM RESULT_RECH_CRITERES WHERE idResultRech=" +
                     QString::number(id))
                  .toInt(),
              0);
    EXPECT_EQ(supprimerRecherche(id).texte,
              QStringLiteral("La recherche %1 n'existe pas.").arg(id));
    // The other search keeps its results.
    EXPECT_EQ(resultatsMemorises(autre)->indicateurs.lignes, grilleIndicateurs(r).lignes);

    // A search of index results reads its grids back under the titles of its kind.
    CriteresRecherche criteresIndices;
    criteresIndices.pointPrelevement = QStringLiteral("-1");
    qint64 indices = 0;
    ASSERT_TRUE(enregistrerCriteres(QStringLiteral("Indices"), criteresIndices, indices).ok);
    ASSERT_TRUE(memoriserResultats(indices, r).ok);
    const auto relus = resultatsMemorises(indices);
    ASSERT_TRUE(relus.has_value());
    EXPECT_EQ(relus->indicateurs.titres[3], QStringLiteral("Nb calcul"));
    EXPECT_EQ(relus->repartitions.titres[3], QStringLiteral("Nb avec calcul"));
    EXPECT_EQ(relus->indicateurs.lignes, grilleIndicateurs(r).lignes);
}

TEST_P(RecherchesEnregistreesTest, UnEchecEnCoursDeRouteNeLaisseRienDeChange)
{
    toleranceErreurs = true;
    const ResultatRecherche r = chercher();
    qint64 id = 0;
    ASSERT_TRUE(enregistrerCriteres(QStringLiteral("Nitrates"), tousLesCriteres(), id).ok);
    ASSERT_TRUE(memoriserResultats(id, r).ok);
    // An element name that does not fit refuses the whole memorisation before any write.
    ResultatRecherche longue = r;
    longue.indicateurs[0].element = QString(300, u'e');
    const QStringList avant = toutesLesLignes();
    EXPECT_TRUE(memoriserResultats(id, longue)
                    .texte.startsWith(QStringLiteral("Element dépasse 255 caractères : eee")));
    EXPECT_EQ(toutesLesLignes(), avant);

    // The last table missing: the rows deleted and written before are put back.
    executerOk(QStringLiteral("DROP TABLE RESULT_TOTAL_STATION"));
    const QStringList sansTable = toutesLesLignes().mid(0, 6);
    const CompteRendu cr = memoriserResultats(id, r);
    EXPECT_FALSE(cr.ok);
    EXPECT_TRUE(cr.texte.startsWith(QStringLiteral("Echec de l'enregistrement de la recherche : ")))
        << qPrintable(cr.texte);
    EXPECT_EQ(toutesLesLignes().mid(0, 6), sansTable);
    const CompteRendu suppression = supprimerRecherche(id);
    EXPECT_TRUE(
        suppression.texte.startsWith(QStringLiteral("Echec de la suppression de la recherche : ")));
    EXPECT_EQ(toutesLesLignes().mid(0, 6), sansTable);
}

TEST(GenreRecherche, CleDuTypeDeResultat)
{
    QStringList genres;
    for (const char *cle : {"", "031", "691", "-1", "-2", "101", "271", "131", "002"})
        genres << QString::number(int(genreRecherche(QLatin1String(cle))));
    EXPECT_EQ(genres.join(u','), QStringLiteral("1,1,1,4,5,3,3,2,2"));
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(RecherchesEnregistreesTest);
