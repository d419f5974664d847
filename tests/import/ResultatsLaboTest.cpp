// Reading laboratory result messages into the import table: the exact rows, whatever the
// namespace form or the case of the names; refusals of unreadable files.

#include "import/ResultatsLabo.h"
#include "db/Progression.h"
#include "import/LectureSandre.h"

#include "MessagesSandre.h"

#include <QMap>

using namespace vyk;
using C = ColonneImport;

namespace {

QString ligne(const QMap<C, QString> &valeurs)
{
    QStringList l;
    for (int i = 0; i < NB_COLONNES_IMPORT; ++i)
        l.append(valeurs.value(C(i)));
    return l.join(u'|');
}

QStringList lignes(const GrilleImport &g)
{
    QStringList l;
    for (const QStringList &r : g.lignes)
        l.append(r.join(u'|'));
    return l;
}

const QMap<C, QString> PRELEVEMENT_1 = {
    {C::CodeStation, "05001000/P1"},
    {C::TypeQualito, "1"},
    {C::DatePrelvt, "05/03/2024 10:15:00"},
    {C::NumeroAnalyse, "DEM-01"},
    {C::Reference, "PR-1"},
    {C::CodeSupport, "3"},
    {C::LocalisationPrecise, "Aval du pont"},
};

QMap<C, QString> avec(QMap<C, QString> base, const QMap<C, QString> &ajouts)
{
    for (auto it = ajouts.cbegin(); it != ajouts.cend(); ++it)
        base[it.key()] = it.value();
    return base;
}

const QMap<C, QString> ECHANTILLON_1 =
    avec(PRELEVEMENT_1, {
                            {C::ReferenceEch, "E-1"},
                            {C::ReferenceLabo, "L-1"},
                            {C::CodeLabo, "12345678900011"},
                            {C::CommentaireOperation, "Temps (Pluie); Odeur (Aucune)"},
                        });

const QStringList ATTENDU = {
    // The field measurement, made on site, dated.
    ligne(avec(PRELEVEMENT_1, {{C::CodeParam, "1409"},
                               {C::Resultat, "12.5"},
                               {C::CodeUnite, "27"},
                               {C::DateAnalyse, "05/03/2024"},
                               {C::LieuAnalyse, "1"}})),
    ligne(avec(ECHANTILLON_1, {{C::CodeParam, "1301"},
                               {C::Resultat, "14.2"},
                               {C::CodeUnite, "27"},
                               {C::RemarqueAnalyse, "1"},
                               {C::LieuAnalyse, "1"},
                               {C::CodeMethode, "0"},
                               {C::CodeFraction, "23"},
                               {C::LimiteQuantification, "0.1"}})),
    ligne(avec(ECHANTILLON_1, {{C::CodeParam, "1302"},
                               {C::Resultat, "7,8"},
                               {C::CodeUnite, "264"},
                               {C::RemarqueAnalyse, "1"}})),
    // The second request gives its code after its sample; the part only has the orderer's
    // reference.
    ligne({{C::CodeStation, "05002000"},
           {C::TypeQualito, "1"},
           {C::DatePrelvt, "06/03/2024"},
           {C::NumeroAnalyse, "DEM-02"},
           {C::ReferenceEch, "C-9"},
           {C::CodeParam, "1340"},
           {C::Resultat, "25"},
           {C::CodeUnite, "162"},
           {C::RemarqueAnalyse, "1"}}),
};

class ResultatsLaboTest : public ::testing::Test
{
  protected:
    QString fichier(const QByteArray &contenu, const QString &nom = QStringLiteral("labo.xml"))
    {
        return test::ecrireFichier(m_dossier, nom, contenu);
    }
    QTemporaryDir m_dossier;
};

TEST_F(ResultatsLaboTest, UneLigneParAnalyseEtParMesureDeTerrain)
{
    GrilleImport g;
    ElementsIgnores ignores;
    const QString chemin = fichier(test::messageSandre(QStringLiteral("labo.xml")));
    ASSERT_EQ(chargerResultatsLabo(chemin, g, nullptr, &ignores), QString());
    EXPECT_EQ(lignes(g), ATTENDU);
    EXPECT_EQ(g.origines.size(), 4);
    EXPECT_TRUE(g.origines[1].startsWith(QStringLiteral("labo.xml, ligne ")))
        << qPrintable(g.origines[1]);
    EXPECT_TRUE(g.origines[1].endsWith(QStringLiteral(" (Analyse)")));
    // What no column takes is named and counted, never dropped unnoticed.
    EXPECT_EQ(ignores.texte(),
              QStringLiteral("Éléments non repris : Emetteur/CPIntervenant (1), "
                             "Prelevement/Echantillon/Analyse/AnaInconnue (1), "
                             "Prelevement/Echantillon/Analyse/Parametre/LbParametre (1), "
                             "Scenario/CodeScenario (1)."));
    EXPECT_EQ(lireCodeDemande(chemin), QStringLiteral("DEM-01"));
}

TEST_F(ResultatsLaboTest, PrefixeEspaceParDefautEtCasseDonnentLesMemesLignes)
{
    const QByteArray original = test::messageSandre(QStringLiteral("labo.xml"));
    for (const QByteArray &variante : {test::avecPrefixe(original), test::enMajuscules(original)}) {
        ASSERT_NE(variante, original);
        GrilleImport g;
        ASSERT_EQ(chargerResultatsLabo(fichier(variante), g), QString())
            << variante.left(400).data();
        EXPECT_EQ(lignes(g), ATTENDU);
        EXPECT_EQ(lireCodeDemande(fichier(variante)), QStringLiteral("DEM-01"));
    }
}

TEST_F(ResultatsLaboTest, FichierIllisibleRefuseSansLigne)
{
    const QByteArray original = test::messageSandre(QStringLiteral("labo.xml"));
    const QString attendu = QStringLiteral("Impossible de charger le fichier %1. Vérifier le "
                                           "format du fichier.");
    const QVector<QByteArray> mauvais = {
        original.left(original.size() / 2),                        // cut short
        QByteArray(original).replace("</Demande>", "</Demandes>"), // tags crossed
        QByteArray(),                                              // empty
        // Undeclared prefix.
        QByteArray("<r><x:Prelevement><DatePrel>2024-01-01</DatePrel></x:Prelevement></r>"),
    };
    for (const QByteArray &contenu : mauvais) {
        const QString chemin = fichier(contenu, QStringLiteral("mauvais.xml"));
        GrilleImport g;
        g.ajouterLigne(); // a previous file's rows go too
        const QString erreur = chargerResultatsLabo(chemin, g);
        EXPECT_TRUE(erreur.startsWith(attendu.arg(chemin) + u'\n')) << qPrintable(erreur);
        EXPECT_EQ(g.nombreLignes(), 0);
    }
    GrilleImport g;
    EXPECT_EQ(chargerResultatsLabo(m_dossier.filePath(QStringLiteral("absent.xml")), g),
              attendu.arg(m_dossier.filePath(QStringLiteral("absent.xml"))));
}

// An external entity is never fetched; nesting deeper than the bound is refused.
TEST_F(ResultatsLaboTest, EntitesExternesEtImbricationProfonde)
{
    const QString secret = fichier("SECRET-42", QStringLiteral("secret.txt"));
    const QByteArray entite =
        "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e SYSTEM \"file://" + secret.toUtf8() +
        "\">]><r><Prelevement><StationPrelevement><CdStationPrelevement>&e;</CdStationPrelevement>"
        "</StationPrelevement><Echantillon><Analyse><RsAna>1</RsAna></Analyse></Echantillon>"
        "</Prelevement></r>";
    GrilleImport g;
    chargerResultatsLabo(fichier(entite), g);
    for (const QStringList &l : g.lignes)
        EXPECT_FALSE(l.join(u'|').contains(QStringLiteral("SECRET"))) << qPrintable(l.join(u'|'));

    QByteArray profond = "<r><Prelevement>";
    for (int i = 0; i < 5000; ++i)
        profond += "<a>";
    const QString erreur = chargerResultatsLabo(fichier(profond), g);
    EXPECT_TRUE(erreur.contains(QStringLiteral("niveaux"))) << qPrintable(erreur);
    EXPECT_EQ(g.nombreLignes(), 0);
}

// A cancel stops the pass: the table is left empty, and it is not an error.
TEST_F(ResultatsLaboTest, AnnulationLaisseLaTableVide)
{
    struct Annulee : Progression
    {
        bool annule() const override { return true; }
    } annulee;
    QByteArray message = "<R><Prelevement><Echantillon>";
    for (int i = 0; i < 2000; ++i)
        message += "<Analyse><RsAna>1</RsAna></Analyse>";
    message += "</Echantillon></Prelevement></R>";
    GrilleImport g;
    EXPECT_EQ(chargerResultatsLabo(fichier(message), g, &annulee), QString());
    EXPECT_EQ(g.nombreLignes(), 0);
    EXPECT_EQ(chargerResultatsLabo(fichier(message), g), QString());
    EXPECT_EQ(g.nombreLignes(), 2000);
}

TEST(DatesSandre, ConversionDesDatesEtHeures)
{
    EXPECT_EQ(dateSandre(QStringLiteral("2024-03-05")), QStringLiteral("05/03/2024"));
    EXPECT_EQ(dateSandre(QStringLiteral("2024-03-05T10:00:00")), QStringLiteral("05/03/2024"));
    EXPECT_EQ(dateSandre(QString()), QString());
    EXPECT_EQ(heureSandre(QStringLiteral("10:15")), QStringLiteral("10:15:00"));
    EXPECT_EQ(heureSandre(QStringLiteral("10:15:30.5")), QStringLiteral("10:15:30"));
    EXPECT_EQ(heureSandre(QStringLiteral("midi")), QString());
    const auto cd = separerCodeDesignation(QStringLiteral("05001000/P1/b"));
    EXPECT_EQ(cd.code, QStringLiteral("05001000"));
    EXPECT_EQ(cd.designation, QStringLiteral("P1/b"));
}

} // namespace
