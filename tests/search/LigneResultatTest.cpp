#include "db/BaseDonnees.h"
#include "schema/TableAnalyses.h"
#include "search/Recherche.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Numbers written as QString::number writes them are kept as numbers; every other text comes
// back exactly as given, and a text met again takes no more room.
TEST(TextesRecherche, NombresEtTextesRendusTelsQuels)
{
    TextesRecherche t;
    const QStringList textes = {"0",           "7",    "99000", "2147483647", "2147483648",
                                "007",         "-5",   "1e3",   " 12",        "12 ",
                                "Paramètre é", "mg/L", "12.5",  "00",         "+3"};
    for (const QString &texte : textes) {
        EXPECT_EQ(t.texte(t.cellule(texte)), texte);
        EXPECT_EQ(t.texte(t.cellule(QByteArrayView(texte.toUtf8()))), texte);
    }
    // The empty text and the nine numbers take no entry; the others one each.
    EXPECT_EQ(t.taille(), 1 + textes.size() - 4);
    const qsizetype taille = t.taille();
    for (const QString &texte : textes)
        EXPECT_EQ(t.cellule(texte), t.cellule(QByteArrayView(texte.toUtf8()))) << qPrintable(texte);
    EXPECT_EQ(t.taille(), taille);
    EXPECT_TRUE(t.cellule(QString()).vide());
    EXPECT_TRUE(t.cellule(QByteArrayView()).vide());
    EXPECT_EQ(t.texte(CelluleRecherche()), QString());
    EXPECT_FALSE(t.cellule(QStringLiteral("0")).vide());
    EXPECT_NE(t.cellule(QStringLiteral("7")), t.cellule(QStringLiteral("007")));
}

TEST(TextesRecherche, ResultatSelonSaForme)
{
    ResultatRecherche r;
    LigneResultat l;
    EXPECT_EQ(r.resultat(l), QString());
    const std::pair<double, const char *> nombres[] = {
        {12.5, "12.5"},    {3, "3"},        {-0.125, "-0.125"},
        {0, "0"},          {1e15, "1e+15"}, {123456789012345.0, "123456789012345"},
        {0.1 + 0.2, "0.3"}};
    for (const auto &[v, texte] : nombres) {
        l.definirValeur(v);
        EXPECT_EQ(r.resultat(l), QString::fromLatin1(texte));
    }
    l.definirValeur(0.5, FormeResultat::Inferieur);
    EXPECT_EQ(r.resultat(l), QStringLiteral("<0.5"));
    l.definirValeur(3, FormeResultat::Superieur);
    EXPECT_EQ(r.resultat(l), QStringLiteral(">3"));
    l.forme = FormeResultat::Texte;
    l.texteResultat = r.cellule(QStringLiteral("<traces"));
    EXPECT_EQ(r.resultat(l), QStringLiteral("<traces"));
}

// Station BSS001 and its operation 0 (status 1, qualification 2); one lab.
class LigneResultatTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        test::creerTablesCatalogue({"LIEN_QUALITO_MASSE_EAU", "BASSINS_VERSANTS"});
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (1, 'BSS001', "
                 "'Amont')",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut, statut, qualification) VALUES (1, 0, #01/01/2024#, 1, 2)",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('01311', 'Oxygène dissous')",
                 "INSERT INTO ANALYSES_UNITES (Code, Symbole) VALUES ('162', 'mg/L')",
                 "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (9, 'Labo Est')",
                 "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
                 "codeOperation) VALUES (4, 1, #03/05/2024 10:15:00#, 0)",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    }

    void analyse(const QString &valeurs)
    {
        ASSERT_TRUE(
            executer(QStringLiteral("INSERT INTO ANALYSES_BSS001 (NumAnalyse, "
                                    "NumPrelevement, CodeQualitometre, CodeParametre, "
                                    "CodeUnite, Resultat, CodeRemarque, NumLabo, "
                                    "DateAnalyse, CodeQualification, StatutMesure, "
                                    "CodeSupport, CommentaireResultat, CodeLabo) VALUES (") +
                     valeurs + u')'))
            << qPrintable(valeurs);
    }

    ResultatRecherche chercher()
    {
        CriteresRecherche c;
        c.dateDebut = QStringLiteral("01/01/2024");
        c.dateFin = QStringLiteral("31/12/2024");
        ResultatRecherche r;
        QString message;
        EXPECT_EQ(int(rechercherResultats(c, r, message)), int(IssueRecherche::Trouve))
            << qPrintable(message);
        return r;
    }

    // From the analysis date to the operation, "|" between the cells.
    static QStringList cellules(const ResultatRecherche &r)
    {
        QStringList sortie;
        for (const LigneResultat &l : r.lignes) {
            const QStringList c = celluleResultat(r, l);
            sortie << (c.mid(0, 9) + c.mid(13, 10)).join(u'|');
        }
        return sortie;
    }
};

// Codes written with leading zeros, marks of every remark, texts with accents and separators,
// a date with its time: each cell shown exactly as stored, however the row keeps it.
TEST_P(LigneResultatTest, CellulesExactesQuelleQueSoitLaForme)
{
    analyse("1, 4, 1, '1340', '162', 2.5, '3', '0042', #03/07/2024 14:30:00#, NULL, NULL, '3', "
            "'Prélèvement \"trouble\"; à revoir', 9");
    analyse("2, 4, 1, '1340', '162', 1, '10', '42', NULL, '1', '2', NULL, NULL, 9");
    analyse("3, 4, 1, '01311', '162', 0, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL");
    analyse("4, 4, 1, '1340', '162', 123456.789, ' 9 ', NULL, NULL, NULL, NULL, NULL, '', 9");
    analyse("5, 4, 1, '1340', NULL, NULL, NULL, '7', NULL, NULL, NULL, NULL, NULL, 9");
    const ResultatRecherche r = chercher();
    const QStringList attendues = {
        "05/03/2024|BSS001|Amont|07/03/2024|0042|Nitrates|>2.5|mg/L|Labo Est|BSS001|1|2|1|"
        "1340/162|3|Prélèvement \"trouble\"; à revoir|1|4|0",
        "05/03/2024|BSS001|Amont||42|Nitrates|<1|mg/L|Labo Est|BSS001|2|1|2|1340/162|||1|4|0",
        "05/03/2024|BSS001|Amont|||Oxygène dissous|0|mg/L||BSS001|3|2|1|01311/162|||1|4|0",
        "05/03/2024|BSS001|Amont|||Nitrates|<123456.789|mg/L|Labo Est|BSS001|4|2|1|1340/162|||1|"
        "4|0",
        "05/03/2024|BSS001|Amont||7|Nitrates|||Labo Est|BSS001|5|2|1|1340/|||1|4|0"};
    EXPECT_EQ(cellules(r), attendues);
    EXPECT_EQ(r.lignes[0].prelevement(), QDateTime(QDate(2024, 3, 5), QTime(10, 15)));
    // Below the limit is no detection; no result is none either.
    QString detections;
    for (const LigneResultat &l : r.lignes)
        detections += l.detection ? u'1' : u'0';
    EXPECT_EQ(detections, QStringLiteral("10100"));

    // The same search again gives the same rows; each text is kept once, not once per row.
    for (int n = 6; n < 26; ++n)
        analyse(QStringLiteral("%1, 4, 1, '1340', '162', 5, NULL, '0042', NULL, NULL, NULL, '3', "
                               "'Prélèvement \"trouble\"; à revoir', 9")
                    .arg(n));
    const ResultatRecherche encore = chercher();
    EXPECT_EQ(cellules(encore).mid(0, 5), attendues);
    EXPECT_EQ(encore.lignes.size(), 25);
    EXPECT_EQ(encore.textes.taille(), r.textes.taille());
}

VYK_SUR_LES_DEUX_MOTEURS(LigneResultatTest);

} // namespace
