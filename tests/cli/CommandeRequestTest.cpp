#include "db/BaseDonnees.h"
#include "demandes/Demandes.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QDir>
#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeRequestTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
        for (const char *sql : {
                 "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET) VALUES (10, 'Agence', "
                 "'18000000000017')",
                 "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre) VALUES (20, 'Labo, "
                 "Sud', 'L20')",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) VALUES "
                 "(1, 'V1', 'Source', '6')",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
        FicheDemande f = nouvelleDemande();
        const std::pair<ChampDemande, const char *> champs[] = {
            {DemLibelle, "Analyses/2026"}, {DemDate, "02/01/2026"}, {DemDebut, "05/01/2026"},
            {DemFin, "05/01/2026"},        {DemType, "2"},          {DemEmetteur, "10"},
            {DemPrestataire, "20"},        {DemSupport, "3"}};
        for (const auto &[champ, texte] : champs)
            f.definir(champ, QString::fromUtf8(texte));
        f.stations = {1};
        f.parametres = {{"1340", "162", "2", "23", "3", "0"}};
        ASSERT_TRUE(enregistrerDemande(f).ok);
        f.code = 0;
        f.definir(DemLibelle, QStringLiteral("Sans station"));
        f.stations.clear();
        ASSERT_TRUE(enregistrerDemande(f).ok);
    }
};

TEST_P(CommandeRequestTest, ListeEtGenerationAvecSesRefus)
{
    test::SortieCli r = cli({"request", "list"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "codeDemande,Nom,DateDemande,Debut,Fin,codeLabo,Laboratoire,Type,Campagne\n"
                        "2,Sans station,02/01/2026,05/01/2026,05/01/2026,20,\"Labo, Sud\",2,\n"
                        "1,Analyses/2026,02/01/2026,05/01/2026,05/01/2026,20,\"Labo, Sud\",2,\n");

    const QString dossier = chemin("sortie");
    ASSERT_TRUE(QDir().mkpath(dossier));
    r = cli({"request", "generate", "1", "--out", dossier});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    const QString fichier = QDir(dossier).filePath("Analyses_2026.xml");
    EXPECT_EQ(r.sortie, QDir::toNativeSeparators(fichier) + '\n');
    EXPECT_TRUE(QFile::exists(fichier));
    EXPECT_EQ(lignes("SELECT codeDemande, nomFichier FROM QUALITOMETRES_DEMANDES_HISTORIQUES"),
              QStringList{"1|Analyses_2026.xml"});

    r = cli({"request", "generate", "2", "--out", dossier});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, "");
    EXPECT_EQ(r.erreurs, "Aucune station n'a été ajoutée à la demande.\n");
    r = cli({"request", "generate", "9", "--out", dossier});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, "La demande 9 n'existe pas.\n");
    r = cli({"request", "generate", "x1", "--out", dossier});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(QDir(dossier).entryList(QDir::Files), QStringList{"Analyses_2026.xml"});
}

// A mail program in place of xdg-email: it writes its arguments, one a line, beside itself and
// exits with `code`.
class FausseMessagerie
{
  public:
    FausseMessagerie(const QString &dossier, int code)
        : m_appel(QDir(dossier).filePath("appel.txt")), m_path(qgetenv("PATH"))
    {
        QFile script(QDir(dossier).filePath("xdg-email"));
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + m_appel.toUtf8() + "'\nexit " +
                     QByteArray::number(code) + "\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        qputenv("PATH", QFile::encodeName(dossier) + ':' + m_path);
    }
    ~FausseMessagerie() { qputenv("PATH", m_path); }
    FausseMessagerie(const FausseMessagerie &) = delete;
    FausseMessagerie &operator=(const FausseMessagerie &) = delete;

    // The arguments of the last call; empty when it was not called.
    QStringList appel() const
    {
        QFile f(m_appel);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }

  private:
    QString m_appel;
    QByteArray m_path;
};

// --mail hands the message to the desktop's mail program with the laboratory's address and the
// request's name; no address or a failing program is an error, the file staying written.
TEST_P(CommandeRequestTest, CourrielAuLaboratoireParLaMessagerie)
{
    const QString dossier = chemin("sortie");
    const QString outils = chemin("outils");
    ASSERT_TRUE(QDir().mkpath(dossier));
    ASSERT_TRUE(QDir().mkpath(outils));
    const QString fichier = QDir(dossier).filePath("Analyses_2026.xml");
    {
        FausseMessagerie messagerie(outils, 0);
        test::SortieCli r = cli({"request", "generate", "1", "--out", dossier, "--mail"});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.sortie, QDir::toNativeSeparators(fichier) + '\n');
        EXPECT_EQ(r.erreurs, "Le laboratoire de la demande n'a pas d'adresse électronique : aucun "
                             "courriel n'a été préparé.\n");
        EXPECT_TRUE(messagerie.appel().isEmpty());

        ASSERT_TRUE(executer("UPDATE INTERVENANTS SET email=' labo@sud.example ' WHERE "
                             "CodeIntervenant=20"));
        r = cli({"request", "generate", "1", "--out", dossier, "--mail"});
        EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
        EXPECT_EQ(r.sortie, QDir::toNativeSeparators(fichier) + '\n');
        EXPECT_EQ(messagerie.appel(), QStringList({"--utf8", "--subject", "Analyses/2026",
                                                   "--attach", fichier, "labo@sud.example"}));
    }
    {
        FausseMessagerie enPanne(outils, 3);
        const test::SortieCli r = cli({"request", "generate", "1", "--out", dossier, "--mail"});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.erreurs, "Le programme de messagerie n'a pas pu être lancé.\n");
        EXPECT_EQ(enPanne.appel().size(), 6);
    }
    EXPECT_TRUE(QFile::exists(fichier));
    EXPECT_EQ(lignes("SELECT nomFichier FROM QUALITOMETRES_DEMANDES_HISTORIQUES"),
              QStringList({"Analyses_2026.xml", "Analyses_2026.xml", "Analyses_2026.xml"}));
    EXPECT_EQ(cli({"request", "generate", "1", "--mail=oui"}).code, 2);
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(CommandeRequestTest);
