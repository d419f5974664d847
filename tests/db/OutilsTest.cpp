#include "db/Outils.h"
#include "db/BaseDonnees.h"
#include "db/Dialecte.h"
#include "db/FichiersTexte.h"
#include "db/Messages.h"
#include "db/Sql.h"

#include "support/BaseTest.h"

#include <QFile>

#include <cmath>

#include <gtest/gtest.h>

using namespace vyk;

namespace {

TEST(DateSQL, DateSeuleSelonLeMoteur)
{
    EXPECT_EQ(dateSQL(QStringLiteral("05/03/2020"), false, ACCESS), QStringLiteral("#03/05/2020#"));
    EXPECT_EQ(dateSQL(QStringLiteral("05/03/2020"), false, POSTGRESQL),
              QStringLiteral("'03/05/2020'"));
    EXPECT_EQ(dateSQL(QStringLiteral("05/03/2020"), false, ORACLE),
              QStringLiteral(" to_date('05/03/2020', 'DD/MM/YYYY') "));
    EXPECT_EQ(dateSQL(QStringLiteral("05/03/2020"), false, QStringLiteral("MYSQL")), QString());
}

TEST(DateSQL, AvecHeureSurVingtQuatreHeures)
{
    const QString d = QStringLiteral("05/03/2020 17:08:09");
    EXPECT_EQ(dateSQL(d, true, ACCESS), QStringLiteral("#03/05/2020 17:08:09#"));
    EXPECT_EQ(dateSQL(d, true, POSTGRESQL), QStringLiteral("'03/05/2020 17:08:09'"));
    EXPECT_EQ(dateSQL(d, true, ORACLE),
              QStringLiteral(" to_date('05/03/2020 17:08:09', 'DD/MM/YYYY HH24:MI:SS') "));
    // The time is dropped without the flag; a text that is no date gives NULL, never raw text.
    EXPECT_EQ(dateSQL(d, false, ACCESS), QStringLiteral("#03/05/2020#"));
    EXPECT_EQ(dateSQL(QStringLiteral("31/02/2020"), false, ACCESS), QStringLiteral("NULL"));
    EXPECT_EQ(dateSQL(QStringLiteral("'); DROP TABLE T; --"), false, POSTGRESQL),
              QStringLiteral("NULL"));
}

TEST(EnNombre, PointEtVirguleQuelleQueSoitLaLangue)
{
    for (const QString &t :
         {QStringLiteral("3.5"), QStringLiteral("3,5"), QStringLiteral(" 3,5 ")}) {
        const Nombre n = enNombre(t);
        ASSERT_TRUE(n.estNombre()) << qPrintable(t);
        EXPECT_DOUBLE_EQ(n.valeur, 3.5);
    }
    EXPECT_TRUE(enNombre(QString(), true).estNul());
    const Nombre zero = enNombre(QString(), false);
    EXPECT_TRUE(zero.estNombre());
    EXPECT_EQ(zero.valeur, 0);
    EXPECT_TRUE(enNombre(QStringLiteral("abc")).estErreur());
    EXPECT_TRUE(enNombre(QStringLiteral("1,234.5")).estErreur());
    EXPECT_FALSE(estNombre(QStringLiteral("")));
    EXPECT_TRUE(estNombre(QStringLiteral("-1e3")));
}

TEST(EnNombre, FormesAbregeesExposantsEtRefus)
{
    const std::pair<const char *, double> lus[] = {
        {".5", 0.5},
        {"-,5", -0.5},
        {"1.", 1.0},
        {"00012", 12.0},
        {"1,5e2", 150},
        {"2E-3", 0.002},
        {"+2", 2.0},
        {"1e+3", 1000.0},
        {"\t-3,25\n", -3.25},
        {"4.9e-324", 4.9e-324},
        {"123456789012345678901234567890123456789012345",
         123456789012345678901234567890123456789012345.0}};
    for (const auto &[texte, valeur] : lus) {
        const Nombre n = enNombre(QString::fromLatin1(texte));
        ASSERT_TRUE(n.estNombre()) << texte;
        EXPECT_EQ(n.valeur, valeur) << texte;
    }
    EXPECT_TRUE(std::signbit(enNombre(QStringLiteral("-0")).valeur));
    for (const char *texte : {"1e", "e5", "-", ".", "--1", "1-2", "1..2", "1,5,3", "+-1", "1e400",
                              "-1e400", "inf", "nan", "0x10", "1 000", "12a"})
        EXPECT_TRUE(enNombre(QString::fromLatin1(texte)).estErreur()) << texte;
}

TEST(Remplacer, ToutesLesOccurrencesEtRienSiRechercheVide)
{
    EXPECT_EQ(remplacer(QStringLiteral("a-b-c"), QStringLiteral("-"), QStringLiteral("+")),
              QStringLiteral("a+b+c"));
    EXPECT_EQ(remplacer(QStringLiteral("abc"), QString(), QStringLiteral("x")),
              QStringLiteral("abc"));
}

TEST(LireDate, FormesJourPremierEtIso)
{
    EXPECT_EQ(lireDate(u"05/03/2020"), QDateTime(QDate(2020, 3, 5), QTime(0, 0)));
    EXPECT_EQ(lireDate(u"05/03/2020 7:05"), QDateTime(QDate(2020, 3, 5), QTime(7, 5)));
    EXPECT_EQ(lireDate(u"2020-03-05 17:08:09+01"), QDateTime(QDate(2020, 3, 5), QTime(17, 8, 9)));
    EXPECT_FALSE(lireDate(u"2020-13-05").isValid());
    EXPECT_FALSE(lireDate(u"05/03/20").isValid());
    EXPECT_FALSE(lireDate(u"hier").isValid());
}

TEST(SqlTexte, DoubleLesQuotes)
{
    EXPECT_EQ(sqlTexte(QStringLiteral("l'eau")), QStringLiteral("'l''eau'"));
    EXPECT_EQ(sqlTexteOuNull(QString()), QStringLiteral("NULL"));
    EXPECT_EQ(sqlNombre(6800000.125), QStringLiteral("6800000.125"));
    EXPECT_EQ(sqlValeur(QVariant()), QStringLiteral("NULL"));
}

TEST(CodeNumeriqueMax, UneInstructionParMoteur)
{
    EXPECT_EQ(Dialecte::pour(ACCESS).codeNumeriqueMax(QStringLiteral("Analyses_Unites")),
              QStringLiteral("SELECT max(cdbl(code)) FROM Analyses_Unites where isnumeric(code)"));
    EXPECT_EQ(Dialecte::pour(POSTGRESQL).codeNumeriqueMax(QStringLiteral("Analyses_Unites")),
              QStringLiteral("SELECT max(cast(code as double precision)) FROM Analyses_Unites "
                             "where code ~ '^[0-9]+$'"));
    EXPECT_EQ(Dialecte::pour(ORACLE).codeNumeriqueMax(QStringLiteral("Analyses_Unites")),
              QStringLiteral("SELECT max(code) FROM Analyses_Unites"));
    EXPECT_EQ(Dialecte::pour(POSTGRESQL).motType(TypeNeutre::Reel),
              QStringLiteral("double precision"));
    EXPECT_EQ(Dialecte::pour(ACCESS).motType(TypeNeutre::Texte, 17), QStringLiteral("TEXT(17)"));
    EXPECT_EQ(Dialecte::pour(ORACLE).motType(TypeNeutre::Texte, 17),
              QStringLiteral("varchar2(17)"));
}

TEST(AfficherMessage, GenreEnMajusculesEtNonParDefaut)
{
    EnregistreurMessages enregistreur;
    SortieMessagesTemporaire sortie(&enregistreur);
    EXPECT_EQ(afficherMessage(QStringLiteral("question"), QStringLiteral("Continuer ?")),
              BoutonNon);
    enregistreur.repondre(BoutonOui);
    EXPECT_EQ(afficherMessage(QStringLiteral("Question"), QStringLiteral("Vraiment ?")), BoutonOui);
    EXPECT_EQ(afficherMessage(QStringLiteral("erreur"), QStringLiteral("Non trouvé")), BoutonOK);
    ASSERT_EQ(enregistreur.messages().size(), 3);
    EXPECT_EQ(enregistreur.messages()[0].genre, QStringLiteral("QUESTION"));
    EXPECT_EQ(enregistreur.messages()[2].genre, QStringLiteral("ERREUR"));
}

TEST(FichiersTexte, LignesGardentLeRetourChariotEtFichierAbsentSansMessage)
{
    test::EnvironnementTest env;
    const QString chemin = env.chemin(QStringLiteral("a.txt"));
    FichierTexte f;
    const CompteRendu absent = ouvrirFichier(chemin, f, false);
    EXPECT_FALSE(absent.ok);
    EXPECT_EQ(absent.texte, QString());
    EXPECT_EQ(f.handle(), -1);

    ASSERT_TRUE(ouvrirFichier(chemin, f, true));
    f.ecrire(QStringLiteral("première\r\nseconde"));
    f.fermer();
    ASSERT_TRUE(ouvrirFichier(chemin, f, true, true));
    f.ecrire(QStringLiteral(" suite\n"));
    f.fermer();
    ASSERT_TRUE(ouvrirFichier(chemin, f, false));
    EXPECT_EQ(f.lireLigne(), QStringLiteral("première\r"));
    EXPECT_EQ(f.lireLigne(), QStringLiteral("seconde suite"));
    EXPECT_TRUE(f.finFichier());
    f.fermer();

    // A file in Windows-1252 reads with its accents.
    QFile ansi(chemin);
    ASSERT_TRUE(ansi.open(QIODevice::WriteOnly));
    ansi.write("d\xe9"
               "bit\n");
    ansi.close();
    ASSERT_TRUE(ouvrirFichier(chemin, f, false));
    EXPECT_EQ(f.lireLigne(), QStringLiteral("débit"));
    EXPECT_TRUE(env.messages.messages().isEmpty());
}

TEST(FichiersTexte, DossierImpossibleDonneLeRefusSansLeMontrer)
{
    test::EnvironnementTest env;
    FichierTexte f;
    const QString chemin = env.chemin(QStringLiteral("absent/x.txt"));
    const CompteRendu refus = ouvrirFichier(chemin, f, true);
    EXPECT_FALSE(refus.ok);
    EXPECT_EQ(refus.texte, QStringLiteral("Impossible d'ouvrir le fichier ") + chemin +
                               QStringLiteral(".\nVérifiez qu'il ne soit pas déjà ouvert."));
    EXPECT_EQ(f.handle(), -1);
    EXPECT_TRUE(env.messages.messages().isEmpty());
}

TEST(FluxTexte, EcritEnUtf8)
{
    test::EnvironnementTest env;
    FluxTexte flux = creerFluxTexte();
    flux.WriteText(QStringLiteral("Étiage "));
    flux.WriteText(QStringLiteral("à l'aval"));
    ASSERT_TRUE(flux.SaveToFile(env.chemin(QStringLiteral("f.xml"))));
    QFile f(env.chemin(QStringLiteral("f.xml")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xc3\x89tiage \xc3\xa0 l'aval"));
}

} // namespace
