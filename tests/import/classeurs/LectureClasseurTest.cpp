#include "import/classeurs/LectureClasseur.h"

#include "ClasseursTest.h"

#include <QTemporaryDir>

using namespace vyk;

namespace {

// A sheet is found by its name as written, without case, accents or the typographic apostrophe;
// the first sheet when no name is asked; otherwise the message naming the file.
TEST(LectureClasseur, FeuilleParNom)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("noms.ods");
    ASSERT_TRUE(test::ecrireClasseur(chemin, {{"Accueil", {{"bienvenue"}}},
                                              {"Contrôle surveillance - RCS", {{"a", "b"}}},
                                              {"Relevé d'été", {{"c"}}}}));
    QString erreur;
    for (const QString &nom :
         {QString("Relevé d'été"), QString("RELEVE D\u2019ETE"), QString("  releve   d'ete ")}) {
        const std::optional<Feuille> f = lireClasseur(chemin, nom, {}, erreur);
        ASSERT_TRUE(f) << qPrintable(nom);
        EXPECT_EQ(f->texte(1, 1), "c");
    }
    const std::optional<Feuille> rcs =
        lireClasseur(chemin, "controle surveillance - rcs", {}, erreur);
    ASSERT_TRUE(rcs);
    EXPECT_EQ(rcs->plage(1, 1, 1, 2), QVector<QStringList>({{"a", "b"}}));
    EXPECT_EQ(lireClasseur(chemin, {}, {}, erreur)->nom(), "Accueil");
    EXPECT_FALSE(lireClasseur(chemin, "Absente", {}, erreur));
    EXPECT_EQ(erreur, "Impossible de trouver le classeur de données " + chemin);
    // The user's answer, or nothing when the user gives none.
    EXPECT_EQ(lireClasseur(
                  chemin, "Absente", [](const QStringList &f) { return f.at(2); }, erreur)
                  ->nom(),
              "Relevé d'été");
    erreur.clear();
    EXPECT_FALSE(lireClasseur(
        chemin, "Absente", [](const QStringList &) { return QString(); }, erreur));
    EXPECT_EQ(erreur, "Impossible de trouver le classeur de données " + chemin);
    EXPECT_FALSE(lireClasseur(dossier.filePath("absent.xlsx"), {}, {}, erreur));
    EXPECT_EQ(erreur, "Impossible d'ouvrir le fichier Excel.");
}

TEST(LectureClasseur, ValeursNonCommuniquees)
{
    for (const char *t : {"-", "N.C.", "n.c", "NC", " nc "})
        EXPECT_TRUE(estNonCommunique(t)) << t;
    for (const char *t : {"", "NCA", "0", "N.C.C"})
        EXPECT_FALSE(estNonCommunique(t)) << t;
    Feuille f;
    f.ecrire(1, 1, "N.C.");
    f.ecrire(1, 2, " Loire ");
    EXPECT_EQ(texteUtile(f, 1, 1), "");
    EXPECT_EQ(texteUtile(f, 1, 2), "Loire");
}

// The header row is the first holding every required name, in any case and with or without
// accents; columns are then looked up by any of their names.
TEST(LectureClasseur, EnTeteParNom)
{
    Feuille f;
    f.ecrire(1, 1, "Titre du relevé");
    f.ecrire(3, 2, "Code Hydro");
    f.ecrire(3, 4, "Date");
    f.ecrire(3, 5, "Rivière");
    const EnTete e = chercherEnTete(f, {"CODE HYDRO", "DATE"});
    EXPECT_EQ(e.ligne, 3);
    EXPECT_EQ(e.colonne({"COURS D'EAU", "RIVIERE"}), 5);
    EXPECT_EQ(e.colonne({"IBD"}), 0);
    EXPECT_EQ(chercherEnTete(f, {"CODE HYDRO", "IBD"}).ligne, 0);
}

} // namespace
