// Damaged, foreign and hostile files given to every reader of the referentials: each is refused
// quickly with a French reason naming where it fails, and nothing of it is kept.

#include "referentials/ImportTaxons.h"
#include "referentials/ImportationReferentielsAnalyses.h"
#include "referentials/ReferentielCodes.h"

#include "support/Affichage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace vyk;

namespace {

// A reader: true when it accepts the file, the refusal in erreur otherwise; lues: rows kept.
using Lecteur = std::function<bool(const QString &chemin, QString &erreur, qsizetype &lues)>;

const Lecteur NOMENCLATURE = [](const QString &chemin, QString &erreur, qsizetype &lues) {
    FichierReferentiel f;
    const bool ok = lireFichierReferentiel(chemin, f, erreur);
    lues = f.entrees.size();
    return ok;
};
const Lecteur PARAMETRES = [](const QString &chemin, QString &erreur, qsizetype &lues) {
    FichierReferentielAnalyses f;
    const bool ok = lireReferentielAnalyses(chemin, Referentiel::Parametre, f, erreur);
    lues = f.lignes.size();
    return ok;
};
const Lecteur TAXONS = [](const QString &chemin, QString &erreur, qsizetype &lues) {
    FichierTaxons f;
    const bool ok = lireFichierTaxons(chemin, f, erreur);
    lues = f.lignes.size();
    return ok;
};

class FichiersHostiles : public ::testing::Test
{
  protected:
    QString ecrire(const QString &nom, const QByteArray &contenu)
    {
        const QString chemin = m_dossier.filePath(nom);
        QFile f(chemin);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenu);
        return chemin;
    }

    // Refused with exactly this message, no row kept, in a few seconds even under the sanitizers.
    void refuse(const Lecteur &lecteur, const QString &nom, const QByteArray &contenu,
                const QString &attendu)
    {
        QString erreur;
        qsizetype lues = -1;
        QElapsedTimer chrono;
        chrono.start();
        EXPECT_FALSE(lecteur(ecrire(nom, contenu), erreur, lues)) << qPrintable(nom);
        EXPECT_LT(chrono.elapsed(), 5000) << qPrintable(nom);
        EXPECT_EQ(erreur, attendu);
        EXPECT_EQ(lues, 0) << qPrintable(nom);
    }

  private:
    QTemporaryDir m_dossier;
};

// Elements nested far deeper than any referential file, inside a read field or around the
// entries: refused at once, where a recursive reading exhausted the stack or took minutes.
TEST_F(FichiersHostiles, ImbricationProfondeRefuseeDansChaqueLecteurXml)
{
    const QByteArray profond =
        QByteArray("<x>").repeated(100000) + QByteArray("</x>").repeated(100000);
    const QString raison = QStringLiteral(" : éléments imbriqués sur plus de 200 niveaux).");
    refuse(NOMENCLATURE, QStringLiteral("champ.xml"),
           "<?xml "
           "version=\"1.0\"?>\n<R><CdNomenclature>155</CdNomenclature><Code><CdElement>1</"
           "CdElement><LbElement>" +
               profond + "</LbElement></Code></R>",
           QStringLiteral("Le fichier champ.xml n'est pas un fichier XML valide (ligne 2") +
               raison);
    refuse(NOMENCLATURE, QStringLiteral("autour.xml"), "<R>" + profond + "</R>",
           QStringLiteral("Le fichier autour.xml n'est pas un fichier XML valide (ligne 1") +
               raison);
    refuse(PARAMETRES, QStringLiteral("parametres.xml"),
           "<R><Parametre><CdParametre>1340</CdParametre><NomParametre>" + profond +
               "</NomParametre></Parametre></R>",
           QStringLiteral("Le fichier parametres.xml n'est pas un fichier XML valide (ligne 1") +
               raison);
    refuse(TAXONS, QStringLiteral("taxons.xml"),
           "<R><AppelTaxon><CdAppelTaxon>1</CdAppelTaxon>" + profond + "</AppelTaxon></R>",
           QStringLiteral("Le fichier taxons.xml n'est pas un fichier XML valide (ligne 1") +
               raison);
    refuse(TAXONS, QStringLiteral("enveloppe.xml"),
           profond.left(300000) + "<AppelTaxon><CdAppelTaxon>1</CdAppelTaxon></AppelTaxon>" +
               profond.mid(300000),
           QStringLiteral("Le fichier enveloppe.xml n'est pas un fichier XML valide (ligne 1") +
               raison);
}

// The reader's English detail never reaches the user: each damage has its French reason.
TEST_F(FichiersHostiles, RaisonsFrancaisesDesFichiersXmlAbimes)
{
    const struct
    {
        const char *nom;
        QByteArray contenu;
        const char *raison;
    } cas[] = {
        {"coupe.xml", "<R>\n<Code><CdElement>1</CdElement>",
         "ligne 2 : le fichier s'arrête avant la fin du document"},
        {"balise.xml", "<R>\n<Code><CdElement>1</Cd></Code></R>",
         "ligne 2 : une balise fermante ne correspond pas à la balise ouverte"},
        {"encodage.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<R><LbElement>\xE9t\xE9</LbElement></R>",
         "ligne 1 : des caractères ne sont pas dans l'encodage annoncé"},
        {"entite.xml", "<R>\n<LbElement>&inconnue;</LbElement></R>",
         "ligne 2 : une entité n'est pas déclarée ou n'est pas permise"},
        {"suite.xml", "<R></R>\n<R></R>", "ligne 2 : du contenu suit la fin du document"},
    };
    for (const auto &c : cas) {
        const QString nom = QString::fromLatin1(c.nom);
        const QString attendu = QStringLiteral("Le fichier ") + nom +
                                QStringLiteral(" n'est pas un fichier XML valide (") +
                                QString::fromUtf8(c.raison) + QStringLiteral(").");
        SCOPED_TRACE(c.nom);
        QString erreur;
        qsizetype lues = 0;
        for (const Lecteur &lecteur : {NOMENCLATURE, PARAMETRES}) {
            EXPECT_FALSE(lecteur(ecrire(nom, c.contenu), erreur, lues));
            EXPECT_EQ(erreur, attendu);
            EXPECT_EQ(lues, 0);
        }
    }
}

// A quote never closed would make one row of the rest of the file: the file is refused and the
// line of the quote named, in the taxa and referential CSV readers alike.
TEST_F(FichiersHostiles, GuillemetNonRefermeRefuseAvecSaLigne)
{
    const QByteArray taxons =
        "Code;Nom latin;Statut\r\n5001;Baetidae;2\r\n5002;\"Baetis;2\r\n5003;Caenis;2\r\n";
    refuse(TAXONS, QStringLiteral("taxons.csv"), taxons,
           QStringLiteral(
               "Ligne 3 : un guillemet ouvert n'est jamais refermé ; le fichier n'est pas lu."));
    const QByteArray parametres = "Code;Nom\n1340;Nitrates\n\n1301;\"Température\n1302;pH\n";
    refuse(
        PARAMETRES, QStringLiteral("parametres.csv"), parametres,
        QStringLiteral(
            "Le fichier parametres.csv : Ligne 4 : un guillemet ouvert n'est jamais refermé ; le "
            "fichier n'est pas lu."));
}

// Lines ended by a lone CR (old spreadsheet exports) are lines, and the rows keep the file's
// line numbers when a quoted cell spans two of them.
TEST_F(FichiersHostiles, FinsDeLigneCrSeulesEtNumerosDeLigneDuFichier)
{
    FichierTaxons f;
    QString erreur;
    ASSERT_TRUE(lireFichierTaxons(
        ecrire(QStringLiteral("mac.csv"),
               "Code;Nom latin;Statut\r5001;Baetidae;2\r5002;\"Baetis\rrhodani\";1\r5003;Caenis;2"),
        f, erreur))
        << qPrintable(erreur);
    ASSERT_EQ(f.lignes.size(), 3);
    EXPECT_EQ(f.lignes[1].nomLatin, QStringLiteral("Baetis\nrhodani"));
    EXPECT_EQ(QList<qsizetype>(
                  {f.lignes[0].ligneFichier, f.lignes[1].ligneFichier, f.lignes[2].ligneFichier}),
              QList<qsizetype>({2, 3, 5}));

    FichierReferentielAnalyses p;
    ASSERT_TRUE(lireReferentielAnalyses(
        ecrire(QStringLiteral("mac_parametres.csv"), "Code;Nom\r1340;Nitrates\r1301;pH\r"),
        Referentiel::Parametre, p, erreur))
        << qPrintable(erreur);
    ASSERT_EQ(p.lignes.size(), 2);
    EXPECT_EQ(p.lignes[1].value(QStringLiteral("Code")), QStringLiteral("1301"));
}

} // namespace
