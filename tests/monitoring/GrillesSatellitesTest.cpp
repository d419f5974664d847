#include "monitoring/GrillesSatellites.h"
#include "db/Messages.h"
#include "db/Sql.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <string_view>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class GrillesSatellitesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Altitude) "
                             "VALUES (8, 'S8', 50)"));
        ASSERT_TRUE(executer("INSERT INTO RESEAUX (CodeReseau, Libelle) VALUES (3, 'RCS')"));
    }

    // Saves one button's grids; the lines keep what the save gave them.
    bool enregistrer(const char *bouton, QHash<QString, LignesGrille> &lignes,
                     const QString &code = QStringLiteral("8"), const QString &tournees = {})
    {
        return montrer(enregistrerSatellites(*sauvegardeQualitometre(QString::fromLatin1(bouton)),
                                             code, lignes, tournees));
    }
    static LigneGrille ligne(const QStringList &textes) { return {textes, {}}; }
    QString genre()
    {
        return messages().messages().isEmpty() ? QString() : messages().messages().last().genre;
    }
};

TEST_P(GrillesSatellitesTest, ReseauxRefusSansCodeControlesPuisRemplacement)
{
    QHash<QString, LignesGrille> l;
    l[QStringLiteral("reseaux")] = {ligne({"3", "01/01/2010", ""})};
    EXPECT_FALSE(enregistrer("reseaux", l, QString()));
    EXPECT_EQ(genre(), QStringLiteral("ERREUR"));
    EXPECT_EQ(dernier(), QStringLiteral("Vous devez d'abord enregistrer le qualitomètre afin de le "
                                        "créer (icone disquette dans la barre du haut)."));
    EXPECT_FALSE(enregistrer("usages", l, QString()));
    EXPECT_EQ(dernier(), QStringLiteral("Vous devez d'abord enregistrer le qualitometre afin de le "
                                        "créer (icone disquette dans la barre du haut)."));

    // Lines are checked up to the first bad one; dates before the network.
    const struct
    {
        QStringList textes;
        const char *message;
    } cas[] = {
        {{"", "31/02/2010", ""},
         "La date de début pour la ligne 2 des réseaux n'est pas correcte."},
        {{"", "01/02/2010", "demain"},
         "La date de fin pour la ligne 2 des réseaux n'est pas correcte."},
        {{"", "01/02/2010", ""}, "Sélectionnez un réseau pour la ligne 2 des réseaux."},
        {{"x", "01/02/2010", ""},
         "La valeur « Réseau » pour la ligne 2 des réseaux n'est pas un nombre."},
    };
    for (const auto &c : cas) {
        l[QStringLiteral("reseaux")] = {ligne({"3", "01/01/2010", "31/12/2011"}), ligne(c.textes),
                                        ligne({"", "bad", ""})};
        EXPECT_FALSE(enregistrer("reseaux", l));
        EXPECT_EQ(dernier(), QString::fromUtf8(c.message));
    }
    EXPECT_EQ(valeur("SELECT count(*) FROM LIEN_QUALITO_RESEAUX").toInt(), 0);

    ASSERT_TRUE(executer("INSERT INTO LIEN_QUALITO_RESEAUX VALUES (8, 9, #01/01/1990#, NULL)"));
    ASSERT_TRUE(executer("INSERT INTO LIEN_QUALITO_RESEAUX VALUES (9, 3, #01/01/1990#, NULL)"));
    l[QStringLiteral("reseaux")] = {ligne({"3", "01/01/2010", "31/12/2011"}), ligne({"", "", ""}),
                                    ligne({"3", "01/01/2012", ""})};
    ASSERT_TRUE(enregistrer("reseaux", l));
    EXPECT_EQ(genre(), QStringLiteral("AIDE"));
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement des réseaux terminé."));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, CodeReseau, DateDebut, DateFin FROM "
                     "LIEN_QUALITO_RESEAUX ORDER BY CodeQualitometre, DateDebut"),
              QStringList({"8|3|01/01/2010|31/12/2011", "8|3|01/01/2012|", "9|3|01/01/1990|"}));
    // No journal entry for the networks; the blank line left the grid.
    EXPECT_EQ(valeur("SELECT count(*) FROM JOURNAL WHERE Titre LIKE 'Enregistrement%'").toInt(), 0);
    ASSERT_EQ(l[QStringLiteral("reseaux")].size(), 2);
    EXPECT_TRUE(l[QStringLiteral("reseaux")][1].estEnregistree());

    // One line deleted by its key, after the confirmation.
    const GrilleSatellite grille(*grilleQualitometre(QStringLiteral("reseaux")));
    const LignesGrille chargees = grille.charger(QStringLiteral("8"));
    ASSERT_EQ(chargees.size(), 2);
    EXPECT_EQ(chargees[1].textes, QStringList({"3", "01/01/2012", ""}));
    // The question goes to the function given, never to a box; No keeps the row.
    recus();
    test::Reponses reponses;
    EXPECT_FALSE(
        montrer(grille.supprimerLigne(QStringLiteral("8"), chargees[1], reponses.fonction())));
    EXPECT_EQ(reponses.questions, QStringList({"Voulez vous supprimer le réseau sélectionné ?"}));
    EXPECT_TRUE(recus().isEmpty());
    EXPECT_EQ(valeur("SELECT count(*) FROM LIEN_QUALITO_RESEAUX").toInt(), 3);
    reponses.reponse = true;
    EXPECT_TRUE(
        montrer(grille.supprimerLigne(QStringLiteral("8"), chargees[1], reponses.fonction())));
    EXPECT_EQ(recus(), QStringList({"AIDE: Le lien entre le qualitomètre et le réseau "
                                    "sélectionné a été supprimé."}));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, DateDebut FROM LIEN_QUALITO_RESEAUX ORDER BY "
                     "CodeQualitometre"),
              QStringList({"8|01/01/2010", "9|01/01/1990"}));
}

TEST_P(GrillesSatellitesTest, MessagesDeChaqueGrilleEtJournal)
{
    const struct
    {
        const char *bouton, *grille;
        QStringList textes;
        const char *message;
    } cas[] = {
        {"lithologies",
         "lithologies",
         {"", "1", ""},
         "Sélectionnez une lithologie pour la ligne 1 des lithologies."},
        {"lithologies",
         "lithologies",
         {"4", "", ""},
         "Indiquez un ordre pour la ligne 1 des lithologies."},
        {"altimetrie",
         "systemesAltimetriques",
         {"01/01/2000", "", "12", "", "", "", ""},
         "Sélectionnez une origine pour la ligne 1 des systèmes altimétriques."},
        {"localisations",
         "localisations",
         {"", "1", "2", "", ""},
         "Sélectionnez une projection pour la ligne 1 des localisations."},
        {"etats",
         "etats",
         {"20a1", "2", "", ""},
         "L'année pour la ligne 1 des états n'est pas correcte."},
        {"etats",
         "etats",
         {"2021", "", "", ""},
         "Sélectionnez un type d'état pour la ligne 1 des états."},
        {"fonctions",
         "fonctions",
         {"", "", "1", ""},
         "La date de début pour la ligne 1 des fonctions n'est pas correcte."},
        {"interventions",
         "interventions",
         {"", "01/01/2020", "25:70", "G"},
         "L'heure pour la ligne 1 des interventions n'est pas correcte."},
    };
    for (const auto &c : cas) {
        QHash<QString, LignesGrille> l;
        l[QString::fromLatin1(c.grille)] = {ligne(c.textes)};
        EXPECT_FALSE(enregistrer(c.bouton, l)) << c.message;
        EXPECT_EQ(dernier(), QString::fromUtf8(c.message));
    }
    QHash<QString, LignesGrille> photos;
    photos[QStringLiteral("photos")] = {ligne({QString(256, u'p')})};
    EXPECT_FALSE(enregistrer("photos", photos));
    EXPECT_EQ(genre(), QStringLiteral("ERREUR"));
    EXPECT_EQ(dernier(), QStringLiteral("Impossible d'enregistrer le chemin de la photo. Le chemin "
                                        "ne doit pas dépasser 255 caractères."));
    EXPECT_EQ(valeur("SELECT count(*) FROM JOURNAL WHERE Titre LIKE 'Enregistrement%'").toInt(), 0);

    // Two grids behind one button, each with its rows; one journal entry for the lithologies.
    QHash<QString, LignesGrille> l;
    l[QStringLiteral("lithologies")] = {ligne({"4", "1", "2,5"}), ligne({"6", "2", ""})};
    l[QStringLiteral("typesLithologiques")] = {ligne({"3"})};
    ASSERT_TRUE(enregistrer("lithologies", l));
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement des Lithologies terminé."));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, codeLithologie, Ordre, epaisseur FROM "
                     "LIEN_QUALITO_LITHOLOGIES ORDER BY Ordre"),
              QStringList({"8|4|1|2.5", "8|6|2|"}));
    EXPECT_EQ(lignes("SELECT codeTypeLithologique FROM LIEN_QUALITO_TYPE_LITHOLOGIQUE"),
              QStringList({"3"}));
    EXPECT_EQ(lignes("SELECT Titre FROM JOURNAL WHERE Titre LIKE 'Enregistrement%'"),
              QStringList({"Enregistrement des lithologies pour 8"}));

    QHash<QString, LignesGrille> etats;
    etats[QStringLiteral("etats")] = {ligne({"2021", "2", "", "bon"})};
    ASSERT_TRUE(enregistrer("etats", etats));
    EXPECT_EQ(lignes("SELECT DateDebut, CodeEtat, commentaire FROM LIEN_QUALITO_ETATS"),
              QStringList({"01/01/2021|2|bon"}));
    EXPECT_EQ(GrilleSatellite(*grilleQualitometre(QStringLiteral("etats")))
                  .charger(QStringLiteral("8"))[0]
                  .textes,
              QStringList({"2021", "2", "", "bon"}));
}

// Every dated grid checks its start and end dates with its own suffix; nothing is written.
TEST_P(GrillesSatellitesTest, DatesDeChaqueGrilleControlees)
{
    const struct
    {
        const char *bouton, *grille, *suffixe;
        int debut, fin;
    } cas[] = {
        {"intervenants", "intervenants", " des intervenants", 2, 3},
        {"modesMesures", "modesMesures", " des modes de mesures", 0, 1},
        {"altimetrie", "systemesAltimetriques", " des systèmes altimétriques", 0, 1},
        {"altimetrie", "reperes", " des repères", 0, 1},
        {"fonctions", "fonctions", " des fonctions", 0, 1},
        {"usages", "usages", " des usages", 0, 1},
        {"amenagements", "amenagements", " des aménagements", 0, 1},
        {"accessibilites", "accessibilites", " des accessibilités", 0, 1},
    };
    for (const auto &c : cas) {
        const QString suffixe = QString::fromUtf8(c.suffixe);
        const int n = grilleQualitometre(QString::fromLatin1(c.grille))->colonnes.size();
        // Every line has an origin where one is required.
        const QString origine =
            c.grille == std::string_view("systemesAltimetriques") ? QStringLiteral("1") : QString();
        QStringList bonne(n), debut(n), fin(n), sansDebut(n);
        for (QStringList *l : {&bonne, &debut, &fin, &sansDebut})
            if (!origine.isEmpty()) (*l)[3] = origine;
        bonne[c.debut] = QStringLiteral("01/01/2010");
        debut[c.debut] = QStringLiteral("30/02/2011");
        fin[c.debut] = QStringLiteral("01/01/2011");
        fin[c.fin] = QStringLiteral("2012");
        QHash<QString, LignesGrille> l;
        l[QString::fromLatin1(c.grille)] = {ligne(bonne), ligne(debut)};
        EXPECT_FALSE(enregistrer(c.bouton, l));
        EXPECT_EQ(dernier(), QStringLiteral("La date de début pour la ligne 2") + suffixe +
                                 QStringLiteral(" n'est pas correcte."));
        l[QString::fromLatin1(c.grille)] = {ligne(bonne), ligne(fin)};
        EXPECT_FALSE(enregistrer(c.bouton, l));
        EXPECT_EQ(dernier(), QStringLiteral("La date de fin pour la ligne 2") + suffixe +
                                 QStringLiteral(" n'est pas correcte."));
        // A line with no start date at all is refused the same way.
        sansDebut[c.fin] = QStringLiteral("01/01/2012");
        l[QString::fromLatin1(c.grille)] = {ligne(sansDebut)};
        EXPECT_FALSE(enregistrer(c.bouton, l));
        EXPECT_EQ(dernier(), QStringLiteral("La date de début pour la ligne 1") + suffixe +
                                 QStringLiteral(" n'est pas correcte."));
    }
    QHash<QString, LignesGrille> l;
    l[QStringLiteral("interventions")] = {ligne({"", "", "09:00", "G"})};
    EXPECT_FALSE(enregistrer("interventions", l));
    EXPECT_EQ(dernier(),
              QStringLiteral("La date pour la ligne 1 des interventions n'est pas correcte."));
    EXPECT_EQ(valeur("SELECT count(*) FROM JOURNAL WHERE Titre LIKE 'Enregistrement%'").toInt(), 0);
    for (const char *table :
         {"LIEN_QUALITO_INTERVENANTS", "MODES_MESURES_QUALITO", "SYSTEMES_ALTIMETRIQUES_QUALITO",
          "REPERES_QUALITO", "LIEN_QUALITO_FONCTIONS", "LIEN_QUALITO_USAGES",
          "LIEN_QUALITO_AMENAGEMENTS", "LIEN_QUALITO_ACCESSIBILITES", "EVENEMENTS_QUALITO"})
        EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(table)).toInt(), 0)
            << table;
}

// Each button: refused without a station, its end message, its journal entry, the station's rows
// replaced (saved twice, one row), then the line deleted by its key after the question.
TEST_P(GrillesSatellitesTest, ChaqueBoutonEnregistreRemplaceEtSupprime)
{
    const struct
    {
        const char *bouton, *grille, *table;
        QStringList textes;
        const char *fin, *journal, *quoi;
        bool sansAccent;
    } cas[] = {
        {"intervenants",
         "intervenants",
         "LIEN_QUALITO_INTERVENANTS",
         {"", "", "01/01/2010"},
         "Enregistrement des intervenants terminé.",
         "Enregistrement des intervenants pour 8",
         "l'intervenant sélectionné",
         false},
        {"modesMesures",
         "modesMesures",
         "MODES_MESURES_QUALITO",
         {"01/01/2010", "", "2"},
         "Enregistrement des modes mesures terminé.",
         "Enregistrement des modes de mesures pour 8",
         "le mode de mesure sélectionné",
         false},
        {"altimetrie",
         "reperes",
         "REPERES_QUALITO",
         {"01/01/2010", "", "1,5", "3"},
         "Enregistrement des systèmes altimétriques et des repères terminé.",
         "Enregistrement des repères pour 8",
         "le repère sélectionné",
         false},
        {"localisations",
         "localisations",
         "QUALITOMETRE_LOCALISATIONS",
         {"26", "870000", "6400000"},
         "Enregistrement des localisations terminé.",
         "Enregistrement des localisations pour 8",
         "la localisation sélectionnée",
         false},
        {"documents",
         "documents",
         "QUALITOMETRE_DOCUMENTS",
         {"", "Plan de situation"},
         "Enregistrement des documents terminé.",
         "",
         "le document sélectionné",
         false},
        {"photos",
         "photos",
         "QUALITOMETRE_PHOTO",
         {"site.jpg"},
         "Enregistrement des photos terminé.",
         "",
         nullptr,
         false},
        {"etats",
         "etats",
         "LIEN_QUALITO_ETATS",
         {"2019", "1"},
         "Enregistrement des états terminé.",
         "",
         "l'état sélectionné",
         false},
        {"fonctions",
         "fonctions",
         "LIEN_QUALITO_FONCTIONS",
         {"01/01/2010", "", "2"},
         "Enregistrement des fonctions terminé.",
         "Enregistrement des fonctions pour 8",
         "la fonction sélectionnée",
         true},
        {"usages",
         "usages",
         "LIEN_QUALITO_USAGES",
         {"01/01/2010"},
         "Enregistrement des usages terminé.",
         "Enregistrement des usages pour 8",
         "l'usage sélectionné",
         true},
        {"amenagements",
         "amenagements",
         "LIEN_QUALITO_AMENAGEMENTS",
         {"01/01/2010", "31/12/2015", "4"},
         "Enregistrement des aménagements terminé.",
         "Enregistrement des aménagements pour 8",
         "l'aménagement sélectionné",
         true},
        {"accessibilites",
         "accessibilites",
         "LIEN_QUALITO_ACCESSIBILITES",
         {"01/01/2010", "", "1"},
         "Enregistrement des accessibilités terminé.",
         "Enregistrement des accessibilités pour 8",
         "l'accessibilité sélectionnée",
         true},
        {"crepines",
         "crepines",
         "CREPINES_QUALITO",
         {"1", "12", "15,5"},
         "Enregistrement des crépines terminé.",
         "Enregistrement des crépines pour 8",
         "la crépine sélectionnée",
         false},
        {"ouvrage",
         "ouvrage",
         "OUVRAGES_QUALITO",
         {"Forage"},
         "Enregistrement des caractérisations de l'ouvrage terminé.",
         "Enregistrement de la description d'ouvrage pour 8",
         nullptr,
         false},
    };
    ASSERT_TRUE(executer("INSERT INTO ETATS (CodeEtat, Libelle) VALUES (1, 'Bon')"));
    for (const auto &c : cas) {
        const QString grille = QString::fromLatin1(c.grille);
        const QString compte = QStringLiteral("SELECT count(*) FROM %1 WHERE CodeQualitometre=8")
                                   .arg(QLatin1String(c.table));
        QStringList textes = c.textes;
        while (textes.size() < grilleQualitometre(grille)->colonnes.size())
            textes << QString();
        QHash<QString, LignesGrille> l;
        l[grille] = {ligne(textes)};
        recus();
        EXPECT_FALSE(enregistrer(c.bouton, l, QString()));
        EXPECT_EQ(
            dernier(),
            c.sansAccent
                ? QStringLiteral("Vous devez d'abord enregistrer le qualitometre afin de le créer "
                                 "(icone disquette dans la barre du haut).")
                : QStringLiteral("Vous devez d'abord enregistrer le qualitomètre afin de le créer "
                                 "(icone disquette dans la barre du haut)."))
            << c.bouton;
        for (int fois = 0; fois < 2; ++fois) {
            ASSERT_TRUE(enregistrer(c.bouton, l)) << c.bouton << ": " << qPrintable(dernier());
            EXPECT_EQ(genre(), QStringLiteral("AIDE"));
            EXPECT_EQ(dernier(), QString::fromUtf8(c.fin));
            EXPECT_EQ(valeur(compte).toInt(), 1) << c.bouton;
        }
        if (*c.journal)
            EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM JOURNAL WHERE Titre=") +
                             sqlTexte(QString::fromUtf8(c.journal)))
                          .toInt(),
                      2)
                << c.bouton;
        else
            EXPECT_EQ(
                valeur("SELECT count(*) FROM JOURNAL WHERE Titre LIKE 'Enregistrement%'").toInt(),
                0)
                << c.bouton;
        ASSERT_TRUE(executer("DELETE FROM JOURNAL"));
        if (!c.quoi) continue;
        const LignesGrille chargees =
            GrilleSatellite(*grilleQualitometre(grille)).charger(QStringLiteral("8"));
        ASSERT_EQ(chargees.size(), 1) << c.bouton;
        recus();
        messages().repondre(BoutonOui);
        EXPECT_TRUE(montrer(GrilleSatellite(*grilleQualitometre(grille))
                                .supprimerLigne(QStringLiteral("8"), chargees[0])));
        EXPECT_EQ(
            recus(),
            QStringList({QStringLiteral("QUESTION: Voulez vous supprimer %1 ?")
                             .arg(QString::fromUtf8(c.quoi)),
                         QStringLiteral("AIDE: Le lien entre le qualitomètre et %1 a été supprimé.")
                             .arg(QString::fromUtf8(c.quoi))}))
            << c.bouton;
        EXPECT_EQ(valeur(compte).toInt(), 0) << c.bouton;
    }
}

// The coded columns of the station's grids offer the quality lists, with their labels: not the
// groundwater roles, not bare numbers.
TEST_P(GrillesSatellitesTest, ColonnesCodeesAvecLesListesDesQualitometres)
{
    const struct
    {
        const char *grille, *colonne, *liste;
    } cas[] = {
        {"intervenants", "TypeIntervenant", "LIEN_QUALITO_INTERVENANTS.TYPEINTERVENANT"},
        {"modesMesures", "Periodicite", "MODES_MESURES.PERIODICITE"},
        {"systemesAltimetriques", "CodeNature", "SYSTEME_ALTIMETRIQUE.CODENATURE"},
        {"systemesAltimetriques", "ModeObtention", "SYSTEME_ALTIMETRIQUE.MODEOBTENTION"},
        {"reperes", "Origine", "REPERES.ORIGINE"},
        {"amenagements", "typeAmenagement", "AMENAGEMENT.TYPE_AMENAGEMENT"},
    };
    ASSERT_TRUE(executer("INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES "
                         "('LIEN_PIEZO_INTERVENANTS.TYPEINTERVENANT', 91, "
                         "'Rôle piézométrique')"));
    for (const auto &c : cas) {
        ASSERT_TRUE(executer(
            QStringLiteral(
                "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('%1', 91, 'Entrée %1')")
                .arg(QLatin1String(c.liste))));
        const DefinitionGrille *g = grilleQualitometre(QString::fromLatin1(c.grille));
        ASSERT_NE(g, nullptr) << c.grille;
        const ColonneGrille *colonne = nullptr;
        for (const ColonneGrille &col : g->colonnes)
            if (col.colonne == QLatin1String(c.colonne)) colonne = &col;
        ASSERT_NE(colonne, nullptr) << c.colonne;
        QStringList libelles;
        for (const EntreeCodee &e : GrilleSatellite::entrees(*colonne))
            if (e.code == QLatin1String("91")) libelles << e.libelle;
        EXPECT_EQ(libelles, QStringList({QStringLiteral("Entrée ") + QLatin1String(c.liste)}))
            << c.colonne;
    }
}

// Documents are numbered per station, from the station's largest number.
TEST_P(GrillesSatellitesTest, DocumentsNumerotesParStation)
{
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRE_DOCUMENTS (CodeQualitometre, CodeDocument, "
                         "Titre) VALUES (9, 5, 'Autre')"));
    QHash<QString, LignesGrille> l;
    l[QStringLiteral("documents")] = {ligne({"", "Plan", "", ""}), ligne({"", "Coupe", "", ""})};
    ASSERT_TRUE(enregistrer("documents", l));
    EXPECT_EQ(lignes("SELECT CodeDocument, Titre FROM QUALITOMETRE_DOCUMENTS WHERE "
                     "CodeQualitometre=8 ORDER BY CodeDocument"),
              QStringList({"1|Plan", "2|Coupe"}));
    EXPECT_EQ(l[QStringLiteral("documents")][1].textes[0], QStringLiteral("2"));
    messages().repondre(BoutonOui);
    ASSERT_TRUE(GrilleSatellite(*grilleQualitometre(QStringLiteral("documents")))
                    .supprimerLigne(QStringLiteral("8"), l[QStringLiteral("documents")][1]));
    l[QStringLiteral("documents")].removeLast();
    l[QStringLiteral("documents")] << ligne({"", "Photo aérienne", "", ""});
    ASSERT_TRUE(enregistrer("documents", l));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, CodeDocument, Titre FROM QUALITOMETRE_DOCUMENTS "
                     "ORDER BY CodeQualitometre, CodeDocument"),
              QStringList({"8|1|Plan", "8|2|Photo aérienne", "9|5|Autre"}));
}

TEST_P(GrillesSatellitesTest, SystemesAltimetriquesReecriventLAltitude)
{
    QHash<QString, LignesGrille> l;
    l[QStringLiteral("systemesAltimetriques")] = {
        ligne({"01/01/2000", "31/12/2009", "101.5", "1", "", "", ""}),
        ligne({"01/01/2010", "", "102,25", "1", "", "", ""})};
    ASSERT_TRUE(enregistrer("altimetrie", l));
    // The first mark: nothing to compensate.
    EXPECT_EQ(dernier(),
              QStringLiteral("Enregistrement des systèmes altimétriques et des repères terminé."));
    EXPECT_EQ(valeur("SELECT Altitude FROM QUALITOMETRES WHERE CodeQualitometre=8").toDouble(),
              102.25);
    EXPECT_EQ(lignes("SELECT Titre FROM JOURNAL WHERE Titre LIKE 'Enregistrement%' ORDER BY Titre"),
              QStringList({"Enregistrement des repères pour 8",
                           "Enregistrement des systèmes altimétriques pour 8"}));

    // The same newest mark: the plain message.
    ASSERT_TRUE(enregistrer("altimetrie", l));
    EXPECT_EQ(dernier(),
              QStringLiteral("Enregistrement des systèmes altimétriques et des repères terminé."));
    l[QStringLiteral("systemesAltimetriques")][1].textes[2] = QStringLiteral("103");
    ASSERT_TRUE(enregistrer("altimetrie", l));
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement des systèmes altimétriques et des repères "
                                        "terminé. Un changement du dernier "
                                        "repère a eu lieu. Merci de vérifier la compensation de "
                                        "lhistorique avant de la valider"));
    EXPECT_EQ(valeur("SELECT Altitude FROM QUALITOMETRES WHERE CodeQualitometre=8").toDouble(),
              103.0);

    l[QStringLiteral("systemesAltimetriques")].clear();
    ASSERT_TRUE(enregistrer("altimetrie", l));
    EXPECT_TRUE(valeur("SELECT Altitude FROM QUALITOMETRES WHERE CodeQualitometre=8").isNull());
}

TEST_P(GrillesSatellitesTest, InterventionsDatesDistinctesNumerosEtTournees)
{
    ASSERT_TRUE(executer("INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, DateEvenement) "
                         "VALUES (8, 4, #01/01/2019#)"));
    const GrilleSatellite grille(*grilleQualitometre(QStringLiteral("interventions")));
    QHash<QString, LignesGrille> l;
    l[QStringLiteral("interventions")] = grille.charger(QStringLiteral("8"));
    ASSERT_EQ(l[QStringLiteral("interventions")].size(), 1);
    LigneGrille nouvelle = ligne({"", "03/10/2021", "09:15", "G", "fuite", "", "", "", "12,6"});
    for (int c = nouvelle.textes.size(); c < grille.definition().colonnes.size(); ++c)
        nouvelle.textes << QString();
    nouvelle.textes[grille.definition().indexColonne(QStringLiteral("Graphique"))] =
        QStringLiteral("1");
    l[QStringLiteral("interventions")] << nouvelle << ligne({"", "01/01/2019"});
    EXPECT_FALSE(enregistrer("interventions", l));
    EXPECT_EQ(genre(), QStringLiteral("ERREUR"));
    EXPECT_EQ(dernier(), QStringLiteral("Il existe des doublons de date pour les interventions sur "
                                        "ce qualitomètre. Merci de les corriger."));

    l[QStringLiteral("interventions")].removeLast();
    l[QStringLiteral("interventions")] << ligne({"", "05/05/2022"});
    EXPECT_FALSE(enregistrer("interventions", l, QStringLiteral("8"), QStringLiteral("deux")));
    EXPECT_EQ(dernier(), QStringLiteral("Le nombre de tournées n'est pas un nombre entier."));
    ASSERT_TRUE(enregistrer("interventions", l, QStringLiteral("8"), QStringLiteral("3")));
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement des interventions terminé."));
    EXPECT_EQ(
        lignes("SELECT Numero, DateEvenement, heureEvenement, type, probleme, Volt, Graphique, "
               "ChgtPiles FROM EVENEMENTS_QUALITO "
               "ORDER BY Numero"),
        QStringList({"4|01/01/2019|||||0|0", "5|03/10/2021|30/12/1899 09:15:00|G|fuite|12.6|1|0",
                     "6|05/05/2022|||||0|0"}));
    EXPECT_EQ(valeur("SELECT nbTournees FROM QUALITOMETRES WHERE CodeQualitometre=8").toInt(), 3);
    EXPECT_EQ(l[QStringLiteral("interventions")][1].textes[0], QStringLiteral("5"));
    EXPECT_EQ(lignes("SELECT Titre FROM JOURNAL WHERE Titre LIKE 'Enregistrement%'"),
              QStringList({"Enregistrement des événements pour 8"}));

    ASSERT_TRUE(enregistrer("interventions", l));
    EXPECT_TRUE(valeur("SELECT nbTournees FROM QUALITOMETRES WHERE CodeQualitometre=8").isNull());
    EXPECT_EQ(valeur("SELECT count(*) FROM EVENEMENTS_QUALITO").toInt(), 3);
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(GrillesSatellitesTest);
