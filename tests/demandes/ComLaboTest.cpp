#include "demandes/ContenuComLabo.h"
#include "demandes/MessageComLabo.h"
#include "demandes/Messagerie.h"
#include "xml/ControleXml.h"

#include "DonneesDemandes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

using namespace vyk;
using vyk::test::DemandesTest;

namespace {

// Records the mails instead of starting the mail program.
class MessagerieEnregistree : public Messagerie
{
  public:
    bool composer(const QString &adresse, const QString &sujet, const QString &fichier) override
    {
        appels << adresse + u'|' + sujet + u'|' + QFileInfo(fichier).fileName();
        return reussit;
    }
    QStringList appels;
    bool reussit = true;
};

class ComLaboTest : public DemandesTest
{
  protected:
    OptionsComLabo options() const
    {
        OptionsComLabo o;
        o.dossier = chemin(QStringLiteral("sortie"));
        QDir().mkpath(o.dossier);
        o.aujourdhui = QDate(2026, 5, 3);
        o.maintenant = QTime(14, 5, 9);
        return o;
    }
    // The document as lines (split on the carriage returns that end them).
    static QStringList lignesDocument(const QByteArray &document)
    {
        QStringList l = QString::fromUtf8(document).split(u'\r');
        if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
        return l;
    }
    QStringList document(const FicheDemande &f)
    {
        return lignesDocument(contenuComLabo(f, options()));
    }
    static qsizetype compter(const QStringList &lignes, const QString &texte)
    {
        qsizetype n = 0;
        for (const QString &l : lignes)
            n += l.contains(texte) ? 1 : 0;
        return n;
    }
};

TEST_P(ComLaboTest, UneDemandeMixteDonneLeDocumentAttenduLigneALigne)
{
    const QByteArray document = contenuComLabo(demandeComplete(), options());
    EXPECT_FALSE(document.contains('\n'));
    EXPECT_TRUE(document.endsWith("</COM_LABO>\r"));
    QFile attendu(QStringLiteral(VYK_TEST_DATA "/demandes/demande_mixte.xml"));
    ASSERT_TRUE(attendu.open(QIODevice::ReadOnly));
    const QStringList lignesAttendues =
        QString::fromUtf8(attendu.readAll()).split(u'\n', Qt::SkipEmptyParts);
    const QStringList obtenues = lignesDocument(document);
    ASSERT_EQ(obtenues.size(), lignesAttendues.size());
    for (qsizetype i = 0; i < obtenues.size(); ++i)
        EXPECT_EQ(obtenues[i], lignesAttendues[i]) << "ligne " << i + 1;
}

TEST_P(ComLaboTest, LesControlesSontFaitsDansLOrdreAvecLeursMessages)
{
    using Modif = std::function<void(FicheDemande &)>;
    const std::vector<std::pair<Modif, QString>> cas = {
        {[](FicheDemande &f) { f.definir(DemLibelle, " "); },
         "Le nom de la demande n'est pas renseigné."},
        {[](FicheDemande &f) { f.definir(DemDate, "32/01/2026"); },
         "La date de la demande n'est pas correcte."},
        {[](FicheDemande &f) { f.definir(DemDebut, ""); },
         "La date de début ou de fin de la relance n'est pas correcte."},
        {[](FicheDemande &f) { f.definir(DemFin, "03/05/2026"); },
         "La date de début ou de fin de la relance n'est pas correcte."},
        {[](FicheDemande &f) { f.definir(DemType, ""); },
         "Le type de demande n'est pas renseingé."},
        {[](FicheDemande &f) { f.definir(DemPrestataire, ""); },
         "Le laboratoire n'est pas renseingé."},
        {[](FicheDemande &f) { f.definir(DemEmetteur, ""); },
         "L'émetteur de la demande n'est pas renseingé."},
        {[](FicheDemande &f) { f.definir(DemSupport, ""); }, "Le support n'est pas renseingé."},
        {[](FicheDemande &f) { f.stations.clear(); },
         "Aucune station n'a été ajoutée à la demande."},
        {[](FicheDemande &f) { f.parametres.clear(); },
         "Aucun paramètre n'est demandé pour la demande."},
        {[](FicheDemande &f) { f.definir(DemPreleveur, ""); }, "Le préleveur n'est pas renseigné."},
        {[](FicheDemande &f) { f.definir(DemPreleveur, "30"); },
         "Lors d'une demande mixte, le preleveur et le laboratoire doivent être le même "
         "organisme."},
    };
    EXPECT_EQ(verifierGeneration(demandeComplete()), "");
    for (size_t i = 0; i < cas.size(); ++i) {
        FicheDemande f = demandeComplete();
        cas[i].first(f);
        EXPECT_EQ(verifierGeneration(f), cas[i].second) << i;
        // The later faults do not hide this one.
        f = demandeComplete();
        for (size_t j = i + 1; j < cas.size(); ++j)
            cas[j].first(f);
        cas[i].first(f);
        EXPECT_EQ(verifierGeneration(f), cas[i].second) << i;
    }
    // A request of analyses only needs no sampler.
    FicheDemande analyses = demandeComplete(QStringLiteral("2"));
    analyses.definir(DemPreleveur, QString());
    EXPECT_EQ(verifierGeneration(analyses), "");
}

TEST_P(ComLaboTest, LesBlocsSuiventLeTypeLesOrganismesEtLesStations)
{
    // Issuer and laboratory the same: one Intervenant block; a station of type 4: scheme "0";
    // start equal to end: no delay.
    FicheDemande f = demandeComplete(QStringLiteral("1"));
    f.definir(DemEmetteur, QStringLiteral("20"));
    f.definir(DemPayeur, QStringLiteral("30"));
    f.definir(DemFin, f.texte(DemDebut));
    f.stations = {3};
    QStringList d = document(f);
    EXPECT_EQ(compter(d, " <Intervenant>"), 2); // the payer is the second
    EXPECT_EQ(compter(d, "<NomIntervenant>Département</NomIntervenant>"), 1);
    EXPECT_TRUE(d.contains(QStringLiteral("       <DelaiPrel>0</DelaiPrel>")));
    EXPECT_TRUE(d.contains(QStringLiteral(
        "   <CdStationPrelevement schemeAgencyID=\"0\">MER03</CdStationPrelevement>")));
    EXPECT_EQ(compter(d, "<LocalPrelevement>"), 0);
    EXPECT_TRUE(d.contains(QStringLiteral("    <Payeur>")));
    // A sampling request: Prelevement blocks, no top-level group.
    EXPECT_EQ(compter(d, "<Prelevement>"), 1);
    EXPECT_FALSE(d.contains(QStringLiteral(" <GroupeParametres>")));
    EXPECT_EQ(compter(d, "<GroupeParametres>"), 2); // the sample's, one per place
    EXPECT_EQ(compter(d, "<Analyse>"), 0);
    // The issuer has no SIRET: its SANDRE code names it and the samples.
    EXPECT_TRUE(d.contains(QStringLiteral(
        "       <CdPrelevement schemeAgencyID=\"L20\">MER03_2026-05-04_1</CdPrelevement>")));

    // A request of analyses: groups, no sample; a list names the groups.
    f = demandeComplete(QStringLiteral("2"));
    f.definir(DemListeParametres, QStringLiteral("NITR"));
    d = document(f);
    EXPECT_EQ(compter(d, "<Prelevement>"), 0);
    EXPECT_EQ(compter(d, "<Analyse>"), 2);
    EXPECT_TRUE(d.contains(QStringLiteral("   <CdGroupeParametres>NITR_2</CdGroupeParametres>")));
    EXPECT_TRUE(d.contains(
        QStringLiteral("   <LbGroupeParametres>Nitrates &amp; co</LbGroupeParametres>")));
}

TEST_P(ComLaboTest, UnIdentifiantAvecDesignationEtUnNomLongSontEcritsCommePrevu)
{
    ASSERT_TRUE(executer(QStringLiteral("UPDATE QUALITOMETRES SET Nom='") + QString(70, u'N') +
                         QStringLiteral("' WHERE CodeQualitometre=1")));
    FicheDemande f = demandeComplete();
    f.stations = {1};
    OptionsComLabo o = options();
    o.idStationAvecDesignation = true;
    const QStringList d = lignesDocument(contenuComLabo(f, o));
    EXPECT_TRUE(d.contains(QStringLiteral(
        "   <CdStationPrelevement schemeAgencyID=\"1\">05100000/P1</CdStationPrelevement>")));
    // The name and its commune, cut to 80 characters.
    EXPECT_TRUE(d.contains(QStringLiteral("   <LbStationPrelevement>") + QString(70, u'N') +
                           QStringLiteral(" (Toulouse</LbStationPrelevement>")));
}

TEST_P(ComLaboTest, LeFichierEstEcritBienFormeDansLeDossierAvecSonHistoriqueEtLeCourriel)
{
    FicheDemande f = demandeComplete();
    f.definir(DemLibelle, QStringLiteral("../<Tournée> & \"mai\"/2026"));
    f.definir(DemCommentaire, QStringLiteral("a < b & c\x01"));
    ASSERT_TRUE(enregistrerDemande(f).ok);
    const OptionsComLabo o = options();
    const ResultatComLabo r = genererComLabo(f, o);
    ASSERT_TRUE(r.compteRendu.ok) << qPrintable(r.compteRendu.texte);
    EXPECT_EQ(r.compteRendu.texte, "Génération du fichier terminé");
    EXPECT_EQ(QFileInfo(r.chemin).fileName(), "____Tournée_ & _mai__2026.xml");
    EXPECT_EQ(QFileInfo(r.chemin).absolutePath(), QDir(o.dossier).absolutePath());
    QFile fichier(r.chemin);
    ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
    const QByteArray contenu = fichier.readAll();
    EXPECT_EQ(defautXml(contenu), "");
    EXPECT_TRUE(contenu.contains("<CommentairesCommanditaire>a &lt; b &amp; c</"
                                 "CommentairesCommanditaire>"));
    EXPECT_TRUE(contenu.contains(
        "<ReferenceFichierEnvoi>____Tournée_ &amp; _mai__2026.xml</ReferenceFichierEnvoi>"));
    EXPECT_EQ(r.courriel, "labo@exemple.fr");
    EXPECT_EQ(lignes("SELECT codeDemande, nomFichier, dateGeneration, heureGeneration FROM "
                     "QUALITOMETRES_DEMANDES_HISTORIQUES"),
              QStringList{"1|____Tournée_ & _mai__2026.xml|03/05/2026|30/12/1899 14:05:09"});
    const QVector<LigneHistorique> h = historiqueDemande(1);
    ASSERT_EQ(h.size(), 1);
    EXPECT_EQ(h[0].date + u' ' + h[0].heure, "03/05/2026 14:05:09");

    // The laboratory's address, found by its own code, goes to the mail program.
    MessagerieEnregistree messagerie;
    EXPECT_TRUE(envoyerComLabo(r, f, messagerie).ok);
    EXPECT_EQ(messagerie.appels,
              QStringList{"labo@exemple.fr|../<Tournée> & \"mai\"/2026|____Tournée_ & "
                          "_mai__2026.xml"});
    messagerie.reussit = false;
    EXPECT_EQ(envoyerComLabo(r, f, messagerie).texte,
              "Génération du fichier terminé\nLe programme de messagerie n'a pas pu être lancé.");

    // Generating again replaces the file and adds a second history row, after the first.
    OptionsComLabo plusTard = o;
    plusTard.aujourdhui = QDate(2027, 1, 2);
    ASSERT_TRUE(genererComLabo(f, plusTard).compteRendu.ok);
    EXPECT_EQ(QDir(o.dossier).entryList(QDir::Files).size(), 1);
    const QVector<LigneHistorique> h2 = historiqueDemande(1);
    ASSERT_EQ(h2.size(), 2);
    EXPECT_EQ(h2[1].date, "02/01/2027");
}

TEST_P(ComLaboTest, SansAdresseLeMessageDitQueLeFichierEstEcrit)
{
    FicheDemande f = demandeComplete();
    f.definir(DemPrestataire, QStringLiteral("30"));
    f.definir(DemPreleveur, QStringLiteral("30"));
    const ResultatComLabo r = genererComLabo(f, options());
    ASSERT_TRUE(r.compteRendu.ok) << qPrintable(r.compteRendu.texte);
    EXPECT_EQ(r.courriel, "");
    MessagerieEnregistree messagerie;
    EXPECT_EQ(envoyerComLabo(r, f, messagerie).texte, "Génération du fichier terminé");
    EXPECT_TRUE(messagerie.appels.isEmpty());
    // Not saved: no history row.
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES_DEMANDES_HISTORIQUES").toInt(), 0);
}

TEST_P(ComLaboTest, UnRefusNEcritRienEtNeTouchePasAUnFichierExistant)
{
    const OptionsComLabo o = options();
    const QString chemin = QDir(o.dossier).filePath(QStringLiteral("Tournée mai.xml"));
    {
        QFile ancien(chemin);
        ASSERT_TRUE(ancien.open(QIODevice::WriteOnly));
        ancien.write("ancien");
    }
    FicheDemande f = demandeComplete();
    f.definir(DemPayeur, QStringLiteral("40"));
    ResultatComLabo r = genererComLabo(f, o);
    EXPECT_FALSE(r.compteRendu.ok);
    EXPECT_EQ(r.compteRendu.texte, "L'intervenant Bureau sans code ne possède ni SIRET ni code "
                                   "Sandre : il ne peut pas être désigné dans le fichier.");
    f = demandeComplete();
    f.stations << 99;
    r = genererComLabo(f, o);
    EXPECT_EQ(r.compteRendu.texte, "La station 99 de la demande n'existe pas.");
    f = demandeComplete();
    f.definir(DemPreleveur, QString());
    EXPECT_EQ(genererComLabo(f, o).compteRendu.texte, "Le préleveur n'est pas renseigné.");
    OptionsComLabo ailleurs = o;
    ailleurs.dossier = chemin + QStringLiteral("-absent");
    EXPECT_EQ(genererComLabo(demandeComplete(), ailleurs).compteRendu.texte,
              "Le répertoire " + QDir::toNativeSeparators(ailleurs.dossier) + " n'existe pas.");
    QFile ancien(chemin);
    ASSERT_TRUE(ancien.open(QIODevice::ReadOnly));
    EXPECT_EQ(ancien.readAll(), "ancien");
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES_DEMANDES_HISTORIQUES").toInt(), 0);
}

TEST_P(ComLaboTest, XmllintAccepteLeFichierEtLeSchemaNationalQuandIlEstDonne)
{
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty()) GTEST_SKIP() << "xmllint n'est pas installé";
    FicheDemande f = demandeComplete();
    f.definir(DemLibelle, QStringLiteral("R&D <essai>"));
    const ResultatComLabo r = genererComLabo(f, options());
    ASSERT_TRUE(r.compteRendu.ok) << qPrintable(r.compteRendu.texte);
    QProcess p;
    p.start(xmllint, {QStringLiteral("--noout"), r.chemin});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();

    const QString schema = qEnvironmentVariable("VYK_SCHEMA_COM_LABO");
    if (schema.isEmpty())
        GTEST_SKIP() << "VYK_SCHEMA_COM_LABO ne nomme pas de copie locale du schéma national : "
                        "seule la forme du document est vérifiée";
    p.start(xmllint, {QStringLiteral("--noout"), QStringLiteral("--schema"), schema, r.chemin});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
}

TEST(NomFichierDemande, UnNomNeSortJamaisDuDossier)
{
    const std::pair<const char *, const char *> cas[] = {
        {"Tournée mai", "Tournée mai.xml"},
        {"../../etc/passwd", "___.._etc_passwd.xml"},
        {"..", "__.xml"},
        {"a\\b:c*d?e\"f<g>h|i", "a_b_c_d_e_f_g_h_i.xml"},
        {" .cache ", "_cache.xml"},
    };
    for (const auto &[libelle, nom] : cas)
        EXPECT_EQ(nomFichierDemande(QString::fromUtf8(libelle)), QString::fromUtf8(nom)) << libelle;
}

TEST(EchapperXml, LesCaracteresReservesDeviennentDesEntitesEtLesControlesDisparaissent)
{
    EXPECT_EQ(echapperXml(QStringLiteral("a&b<c>d\"e")), "a&amp;b&lt;c&gt;d&quot;e");
    EXPECT_EQ(echapperXml(QStringLiteral("ok\ttab\x01\x1f")), "ok\ttab");
    EXPECT_EQ(echapperXml(QStringLiteral("Rivière")), "Rivière");
}

TEST(ControleXml, UnDocumentMalFormeEstRefuseAvecSaLigne)
{
    EXPECT_EQ(defautXmlOctets("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r<a xmlns=\"urn:x\">\r"
                              "<b c=\"&amp;&quot;\">Rivi\xc3\xa8re &lt; &#233;</b>\r</a>\r"),
              "");
    const std::pair<const char *, int> cas[] = {
        {"<a>\r<b>\r</a>\r", 3},     // closed out of order
        {"<a>\r<b></b>", 2},         // root left open
        {"<a>x & y</a>", 1},         // bare ampersand
        {"<a>\rx < y</a>", 2},       // bare "<"
        {"<a>&nbsp;</a>", 1},        // entity never declared
        {"<a b=\"1\" b=\"2\"/>", 1}, // attribute twice
        {"<a/><b/>", 1},             // two roots
        {"<p:a>\r</p:a>", 1},        // prefix without its namespace
        {"<a>\xff\xfe</a>", 1},      // not UTF-8
    };
    for (const auto &[document, ligne] : cas) {
        const QString defaut = defautXmlOctets(document);
        EXPECT_TRUE(defaut.endsWith(QStringLiteral(", ligne %1").arg(ligne)))
            << document << " : " << qPrintable(defaut);
        EXPECT_GT(defaut.size(), QStringLiteral(", ligne 1").size()) << document;
    }
    EXPECT_NE(defautXmlOctets(""), "");
}

TEST(EcritureComLabo, LesValeursSontEchappeesEtEcritesEnUtf8)
{
    EcritureComLabo e;
    e.ligne(0, "<R>");
    e.element(2, "Nom", QStringLiteral("Rivière & fils <\"Œ\">\x02"));
    e.elementSchema(3, "Cd", QStringLiteral("A&B"), QStringLiteral("simple"));
    e.element(1, "Vide", QString());
    e.blocCode(1, "Labo", OrganismeComLabo{"7", "L", "", "S7"});
    e.ligne(0, "</R>");
    EXPECT_EQ(e.octets(),
              QByteArray("<R>\r  <Nom>Rivi\xc3\xa8re &amp; fils &lt;&quot;\xc5\x92&quot;"
                         "&gt;</Nom>\r   <Cd schemeAgencyID=\"A&amp;B\">simple</Cd>\r"
                         " <Vide></Vide>\r <Labo>\r       <CdIntervenant "
                         "schemeAgencyID=\"SANDRE\">S7</CdIntervenant>\r </Labo>\r"
                         "</R>\r"));
    EXPECT_EQ(defautXmlOctets(e.octets()), "");
}

TEST(MessagerieBureau, LeFichierEstJointEtLAdresseVientEnDernier)
{
    EXPECT_EQ(
        MessagerieBureau::arguments("labo@exemple.fr", "Demande", "d.xml"),
        (QStringList{"--utf8", "--subject", "Demande", "--attach", "d.xml", "labo@exemple.fr"}));
    MessagerieBureau bureau(QStringLiteral("programme-absent-de-la-machine"));
    EXPECT_FALSE(bureau.composer("-option", "x", "d.xml"));
    EXPECT_FALSE(bureau.composer("labo@exemple.fr", "x", "d.xml"));
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(ComLaboTest);
