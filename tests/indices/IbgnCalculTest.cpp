#include "indices/ClasseurLibreOffice.h"
#include "indices/Ibgn.h"

#include "ModeleIbgnTest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace vyk;
namespace m = vyk::modeleIbgn;

namespace {

// A model of three taxon rows (codes 1234, 5678, 1234 again); its "formulas": Z2 the total of
// every count written, Z3 the protocol + the C total, Z4 the number of rows with a count;
// parameter codes in column AA.
Feuille modeleTrois()
{
    Feuille f;
    const char *codes[] = {"1234", "5678", "1234"};
    for (int i = 0; i < 3; ++i) {
        f.ecrire(m::PREMIERE_LIGNE + i, m::COLONNE_SUITE, QStringLiteral("taxon"));
        f.ecrire(m::PREMIERE_LIGNE + i, m::COLONNE_TAXON, QString::fromLatin1(codes[i]));
    }
    f.ecrire(2, m::COLONNE_CODE, 5910.0);
    f.ecrire(3, m::COLONNE_CODE, QStringLiteral("6951"));
    f.ecrire(4, m::COLONNE_CODE, QStringLiteral("6034"));
    return f;
}

bool recalculTrois(Feuille &f, QString &)
{
    double total = 0, totalC = 0;
    int lignes = 0;
    for (int r = m::PREMIERE_LIGNE; !f.texte(r, m::COLONNE_SUITE).isEmpty(); ++r) {
        const double a = f.valeur(r, m::COLONNE_A).toDouble(),
                     b = f.valeur(r, m::COLONNE_B).toDouble(),
                     c = f.valeur(r, m::COLONNE_C).toDouble();
        total += a + b + c;
        totalC += c;
        if (a + b + c > 0) ++lignes;
    }
    f.ecrire(2, m::COLONNE_VALEUR, total);
    f.ecrire(3, m::COLONNE_VALEUR,
             f.valeur(m::LIGNE_PROTOCOLE, m::COLONNE_PROTOCOLE).toDouble() + totalC);
    f.ecrire(4, m::COLONNE_VALEUR, lignes);
    return true;
}

class IbgnCalcul : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dossier.isValid());
        modele = dossier.filePath(QStringLiteral("IBGN.XLS"));
        QFile f(modele);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("le classeur du site");
    }

    CalculIbgn calculer(const QVector<LigneFaune> &liste, const QString &mode = QStringLiteral("3"),
                        const QString &protocole = QStringLiteral("704"))
    {
        return calculIBGN(classeur, liste, protocole, mode, dossier.path(), m::IBGN);
    }

    QTemporaryDir dossier;
    QString modele;
    ClasseurMemoire classeur{modeleTrois(), recalculTrois};
};

TEST_F(IbgnCalcul, SommesParLigneDuModeleEtTaxonsInconnusCites)
{
    const CalculIbgn c = calculer(
        {{QStringLiteral("1234"), QStringLiteral("2"), QStringLiteral("1,5"), QStringLiteral("1")},
         {QStringLiteral("1234"), QStringLiteral("3"), {}, QStringLiteral("2")},
         {QStringLiteral("9999"), QStringLiteral("7"), {}, {}},
         {QStringLiteral("8888"), {}, QStringLiteral("1"), {}}});
    ASSERT_TRUE(c.ok()) << qPrintable(c.erreur);
    const Feuille &f = classeur.feuille();
    // Both list rows of 1234 go into each model row that stands for 1234.
    for (int r : {m::PREMIERE_LIGNE, m::PREMIERE_LIGNE + 2}) {
        EXPECT_EQ(f.valeur(r, m::COLONNE_A).toDouble(), 5);
        EXPECT_EQ(f.valeur(r, m::COLONNE_B).toDouble(), 1.5);
        EXPECT_EQ(f.valeur(r, m::COLONNE_C).toDouble(), 3);
    }
    EXPECT_EQ(f.texte(m::PREMIERE_LIGNE + 1, m::COLONNE_A), QStringLiteral("0"));
    EXPECT_EQ(f.valeur(m::LIGNE_PROTOCOLE, m::COLONNE_PROTOCOLE).toDouble(), 704);
    EXPECT_EQ(
        c.avertissement,
        QStringLiteral("Attention, les taxons suivants n'ont pas été pris en compte dans le "
                       "caclul:\r9999,8888\rMerci de vérifier le paramétrage de la macro IBGN"));
    ASSERT_EQ(c.resultats.size(), 3);
    EXPECT_EQ(c.resultats[0].code, QStringLiteral("5910"));
    EXPECT_EQ(c.resultats[0].valeur, 19); // 2 x (5 + 1.5 + 3)
    EXPECT_EQ(c.resultats[1].code, QStringLiteral("6951"));
    EXPECT_EQ(c.resultats[1].valeur, 710);
    EXPECT_EQ(c.resultats[2].valeur, 2);
    EXPECT_TRUE(c.refus.isEmpty());
}

TEST_F(IbgnCalcul, PhaseCNulleHorsMode3)
{
    const CalculIbgn c = calculer(
        {{QStringLiteral("5678"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("4")}},
        QStringLiteral("1"), QStringLiteral("XX"));
    ASSERT_TRUE(c.ok());
    for (int r = m::PREMIERE_LIGNE; r < m::PREMIERE_LIGNE + 3; ++r)
        EXPECT_EQ(classeur.feuille().texte(r, m::COLONNE_C), QStringLiteral("0")) << r;
    EXPECT_EQ(classeur.feuille().texte(m::LIGNE_PROTOCOLE, m::COLONNE_PROTOCOLE),
              QStringLiteral("XX"));
    EXPECT_EQ(c.avertissement, QString());
    ASSERT_EQ(c.resultats.size(), 3);
    EXPECT_EQ(c.resultats[0].valeur, 3);
}

TEST_F(IbgnCalcul, CalculSurUneCopieLeModeleIntact)
{
    ASSERT_TRUE(calculer({{QStringLiteral("1234"), QStringLiteral("1"), {}, {}}}).ok());
    EXPECT_NE(QFileInfo(classeur.cheminOuvert()).absolutePath(), QFileInfo(modele).absolutePath());
    EXPECT_EQ(QFileInfo(classeur.cheminOuvert()).fileName(), QStringLiteral("IBGN.XLS"));
    QFile f(modele);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("le classeur du site"));
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), QStringList{QStringLiteral("IBGN.XLS")});
    // The working copy goes with the calculation.
    EXPECT_FALSE(QFileInfo::exists(classeur.cheminOuvert()));
}

TEST_F(IbgnCalcul, ModeleTrouveSansCasse)
{
    ASSERT_TRUE(QFile::rename(modele, dossier.filePath(QStringLiteral("ibgn.Xls"))));
    EXPECT_EQ(choisirModeleIbgn(dossier.path()), m::IBGN);
    const CalculIbgn c = calculer({{QStringLiteral("1234"), QStringLiteral("1"), {}, {}}});
    ASSERT_TRUE(c.ok()) << qPrintable(c.erreur);
    EXPECT_EQ(QFileInfo(classeur.cheminOuvert()).fileName(), QStringLiteral("ibgn.Xls"));
    ASSERT_TRUE(QFile::remove(dossier.filePath(QStringLiteral("ibgn.Xls"))));
    EXPECT_EQ(choisirModeleIbgn(dossier.path()), m::IBG_DCE);
}

TEST_F(IbgnCalcul, DossierOuFichierAbsentMoteurEnEchec)
{
    CalculIbgn c = calculIBGN(classeur, {}, {}, QStringLiteral("3"),
                              dossier.filePath(QStringLiteral("absent")), m::IBGN);
    EXPECT_EQ(c.erreur,
              QStringLiteral("Le chemin des modèles n'est pas défini. Vérifier le "
                             "paramètre chemin_modeles dans l'administration du logiciel."));
    c = calculIBGN(classeur, {}, {}, QStringLiteral("3"), dossier.path(), m::IBG_DCE);
    EXPECT_EQ(c.erreur, QStringLiteral("Impossible de trouver le fichier ") +
                            dossier.filePath(QStringLiteral("IBG_DCE.XLS")) +
                            QStringLiteral(" dans le répertoire des modèles. Merci de vérifier le "
                                           "paramétrage."));
    EXPECT_EQ(classeur.ecritures(), 0);

    ClasseurMemoire panne(modeleTrois(), [](Feuille &, QString &erreur) {
        erreur = QStringLiteral("Err:502");
        return false;
    });
    c = calculIBGN(panne, {{QStringLiteral("1234"), QStringLiteral("1"), {}, {}}}, {},
                   QStringLiteral("3"), dossier.path(), m::IBGN);
    EXPECT_EQ(c.erreur, QStringLiteral("Le calcul du modèle ") + modele +
                            QStringLiteral(" a échoué : Err:502"));
    EXPECT_TRUE(c.resultats.isEmpty());
}

// Error texts of the engine and codes that are not codes never become results.
TEST_F(IbgnCalcul, TextesDErreurEtCodesDouteuxRefuses)
{
    ClasseurMemoire douteux(modeleTrois(), [](Feuille &f, QString &) {
        f.ecrire(2, m::COLONNE_VALEUR, QStringLiteral("#N/A"));
        f.ecrire(3, m::COLONNE_CODE, QStringLiteral("6951' OR '1'='1"));
        f.ecrire(3, m::COLONNE_VALEUR, 4.0);
        f.ecrire(4, m::COLONNE_VALEUR, QStringLiteral("12,5"));
        return true;
    });
    const CalculIbgn c = calculIBGN(douteux, {}, {}, QStringLiteral("3"), dossier.path(), m::IBGN);
    ASSERT_TRUE(c.ok());
    EXPECT_EQ(c.refus, (QStringList{QStringLiteral("La cellule ligne 2, colonne 26 du modèle ne "
                                                   "contient pas une valeur : « #N/A »."),
                                    QStringLiteral("La cellule ligne 3, colonne 27 du modèle ne "
                                                   "contient pas un code de paramètre : « 6951' "
                                                   "OR '1'='1 ».")}));
    ASSERT_EQ(c.resultats.size(), 1);
    EXPECT_EQ(c.resultats[0].code, QStringLiteral("6034"));
    EXPECT_EQ(c.resultats[0].valeur, 12.5);
    EXPECT_EQ(c.resultats[0].texte, QStringLiteral("12,5"));

    ClasseurMemoire sansPremier(modeleTrois(), [](Feuille &f, QString &) {
        f.ecrire(2, m::COLONNE_CODE, QVariant());
        f.ecrire(3, m::COLONNE_VALEUR, 4.0);
        return true;
    });
    EXPECT_TRUE(calculIBGN(sansPremier, {}, {}, QStringLiteral("3"), dossier.path(), m::IBGN)
                    .resultats.isEmpty());
}

TEST(ModeListeIbgn, ProtocolesPuisPoint101)
{
    EXPECT_EQ(modeListeIbgn(QStringLiteral("704"), QStringLiteral("131")), QStringLiteral("3"));
    EXPECT_EQ(modeListeIbgn(QStringLiteral("726"), {}), QStringLiteral("3"));
    EXPECT_EQ(modeListeIbgn(QStringLiteral("471"), {}), QStringLiteral("3"));
    EXPECT_EQ(modeListeIbgn(QStringLiteral("7040"), {}), QStringLiteral("2"));
    EXPECT_EQ(modeListeIbgn(QStringLiteral("704"), QStringLiteral("Point 101")),
              QStringLiteral("1"));
    EXPECT_EQ(modeListeIbgn(QStringLiteral("1"), {}, QStringLiteral("4")), QStringLiteral("4"));
}

} // namespace

namespace {

// Command lines of the running processes that name `texte`.
QStringList processusAvec(const QString &texte)
{
    QStringList trouves;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile f(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline"));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString ligne = QString::fromUtf8(f.readAll().replace('\0', ' '));
        if (ligne.contains(texte)) trouves << ligne;
    }
    return trouves;
}

// The same once killed processes had their few seconds to die (a loaded machine schedules a
// kill late; an office left running stays far longer).
QStringList processusRestants(const QString &texte)
{
    for (int i = 0; i < 100 && !processusAvec(texte).isEmpty(); ++i)
        QThread::msleep(50);
    return processusAvec(texte);
}

// The real office engine on a model written here; skipped with its reason when not installed.
TEST(IbgnLibreOffice, ModeleRecalculeParLeMoteur)
{
    const QString raison = ClasseurLibreOffice::indisponible();
    if (!raison.isEmpty()) GTEST_SKIP() << qPrintable(raison);
    QTemporaryDir dossier;
    const QString modele = dossier.filePath(QStringLiteral("Ibgn.xls"));
    ASSERT_TRUE(test::ecrireModeleIbgn(modele));
    QFile lu(modele);
    ASSERT_TRUE(lu.open(QIODevice::ReadOnly));
    const QByteArray avant = lu.readAll();

    ClasseurLibreOffice classeur;
    const CalculIbgn c = calculIBGN(
        classeur,
        {{QStringLiteral("1234"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")},
         {QStringLiteral("5678"), QStringLiteral("1,5"), {}, {}},
         {QStringLiteral("4321"), QStringLiteral("9"), {}, {}}},
        QStringLiteral("704"), QStringLiteral("3"), dossier.path(), m::IBGN);
    ASSERT_TRUE(c.ok()) << qPrintable(c.erreur);
    ASSERT_EQ(c.resultats.size(), 2);
    EXPECT_EQ(c.resultats[0].code, QStringLiteral("5910"));
    EXPECT_EQ(c.resultats[0].valeur, 10.5);
    EXPECT_EQ(c.resultats[1].code, QStringLiteral("6034"));
    EXPECT_EQ(c.resultats[1].valeur, 1408);
    EXPECT_EQ(c.refus, QStringList{QStringLiteral("La cellule ligne 3, colonne 26 du modèle ne "
                                                  "contient pas une valeur : « #N/A ».")});
    EXPECT_TRUE(c.avertissement.contains(QStringLiteral("\r4321\r")));
    lu.seek(0);
    EXPECT_EQ(lu.readAll(), avant);

    // An engine that does not answer in time is stopped with its office: an error, nothing read.
    ClasseurLibreOffice lent(1);
    const CalculIbgn e =
        calculIBGN(lent, {}, QStringLiteral("704"), QStringLiteral("3"), dossier.path(), m::IBGN);
    EXPECT_EQ(e.erreur, QStringLiteral("Le calcul du modèle ") + modele +
                            QStringLiteral(" a échoué : LibreOffice n'a pas terminé le calcul en "
                                           "1 secondes : il a été arrêté."));
    EXPECT_TRUE(e.resultats.isEmpty());
    EXPECT_EQ(processusRestants(lent.dossierTravail()), QStringList());
}

} // namespace
