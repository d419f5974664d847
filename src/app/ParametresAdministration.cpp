#include "app/ParametresAdministration.h"

#include "app/Options.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Messages.h"
#include "db/Outils.h"

#include <QDir>
#include <QHash>

namespace vyk {

namespace {

const QString DONNEES = QStringLiteral("Données");
const QString DOSSIERS = QStringLiteral("Dossiers et fichiers");
const QString AFFICHAGE = QStringLiteral("Affichage et saisie");
const QString OPERATION = QStringLiteral("Opération par défaut");
const QString IMPORTATIONS = QStringLiteral("Importations");
const QString SEUILS = QStringLiteral("Seuils");
const QString JOURNAL = QStringLiteral("Journal");
const QString TRANSFERT = QStringLiteral("Transfert");

QVector<DefinitionReglage> construire()
{
    using namespace reglage;
    using G = GenreReglage;
    auto simple = [](const QString &nom, const QString &libelle, const QString &onglet, G genre) {
        DefinitionReglage d;
        d.nom = nom;
        d.libelle = libelle;
        d.onglet = onglet;
        d.genre = genre;
        return d;
    };
    auto liste = [&](const QString &nom, const QString &libelle, const QString &onglet,
                     QVector<EntreeListe> entrees) {
        DefinitionReglage d = simple(nom, libelle, onglet, G::Liste);
        d.entrees = std::move(entrees);
        return d;
    };
    // A list filled from the data: a code list when champ is given, a registered source otherwise.
    auto externe = [&](const QString &nom, const QString &libelle, const QString &onglet,
                       const QString &champ = {}) {
        DefinitionReglage d = simple(nom, libelle, onglet, G::Liste);
        d.champ = champ;
        d.listeExterne = true;
        return d;
    };
    const QVector<EntreeListe> mois = {{QStringLiteral("Janvier"), QStringLiteral("01")},
                                       {QStringLiteral("Février"), QStringLiteral("02")},
                                       {QStringLiteral("Mars"), QStringLiteral("03")},
                                       {QStringLiteral("Avril"), QStringLiteral("04")},
                                       {QStringLiteral("Mai"), QStringLiteral("05")},
                                       {QStringLiteral("Juin"), QStringLiteral("06")},
                                       {QStringLiteral("Juillet"), QStringLiteral("07")},
                                       {QStringLiteral("Août"), QStringLiteral("08")},
                                       {QStringLiteral("Septembre"), QStringLiteral("09")},
                                       {QStringLiteral("Octobre"), QStringLiteral("10")},
                                       {QStringLiteral("Novembre"), QStringLiteral("11")},
                                       {QStringLiteral("Décembre"), QStringLiteral("12")}};
    const QVector<EntreeListe> ouiNon = {{QStringLiteral("Oui"), QStringLiteral("OUI")},
                                         {QStringLiteral("Non"), QStringLiteral("NON")}};

    return {
        simple(donneesPhysicoChimique, QStringLiteral("Données physico-chimiques"), DONNEES,
               G::Case),
        simple(donneesHydroBio, QStringLiteral("Données hydrobiologiques"), DONNEES, G::Case),
        simple(ExploitationAEP, QStringLiteral("Exploitation AEP (alimentation en eau potable)"),
               DONNEES, G::Case),
        simple(ContexteInternational, QStringLiteral("Contexte international"), DONNEES, G::Case),

        simple(CheminEdition, QStringLiteral("Dossier des éditions"), DOSSIERS, G::Dossier),
        simple(CheminModeles, QStringLiteral("Dossier des modèles"), DOSSIERS, G::Dossier),
        simple(CheminExport, QStringLiteral("Dossier de travail des exports et importations"),
               DOSSIERS, G::Dossier),
        simple(CheminR, QStringLiteral("Dossier des calculateurs d'indices"), DOSSIERS, G::Dossier),
        simple(CheminPhotos, QStringLiteral("Dossier des photos"), DOSSIERS, G::Dossier),
        simple(CheminDocuments, QStringLiteral("Dossier des documents"), DOSSIERS, G::Dossier),
        simple(FichierAide, QStringLiteral("Fichier d'aide"), DOSSIERS, G::Fichier),
        simple(FichierDonneesCR2M, QStringLiteral("Fichier de données CR2M"), DOSSIERS, G::Fichier),
        simple(FichierAppelCR2M, QStringLiteral("Fichier d'appel CR2M"), DOSSIERS, G::Fichier),
        simple(BaseBrute, QStringLiteral("Base brute"), DOSSIERS, G::Fichier),

        liste(Affichage, QStringLiteral("Affichage des altitudes"), AFFICHAGE,
              {{QStringLiteral("NGF"), QStringLiteral("NGF")},
               {QStringLiteral("Repère"), QStringLiteral("REPERE")}}),
        liste(AffichageProfondeur, QStringLiteral("Affichage des profondeurs"), AFFICHAGE,
              {{QStringLiteral("Non"), QStringLiteral("0")},
               {QStringLiteral("Oui"), QStringLiteral("1")}}),
        externe(TypeProjection, QStringLiteral("Projection d'affichage et d'export"), AFFICHAGE,
                QStringLiteral("PIEZOMETRES.TYPEPROJECTION")),
        liste(MoisDebutAnneeHydro, QStringLiteral("Premier mois de l'année hydrologique"),
              AFFICHAGE, mois),
        liste(Point_OK, QStringLiteral("Point OK"), AFFICHAGE, ouiNon),
        simple(Nommage_Fichier, QStringLiteral("Nommage des fichiers"), AFFICHAGE, G::Texte),
        simple(AffichageMasseEau, QStringLiteral("Afficher les masses d'eau"), AFFICHAGE, G::Case),
        simple(AffichageChronologiqueInverse,
               QStringLiteral("Dates des suivis de la plus récente à la plus ancienne"), AFFICHAGE,
               G::CaseOuiNon),
        simple(AffichageStatistiques, QStringLiteral("Afficher les statistiques"), AFFICHAGE,
               G::Case),
        simple(LimiterChargementStatistiques,
               QStringLiteral("Limiter le chargement des statistiques"), AFFICHAGE, G::Case),
        simple(omnidia, QStringLiteral("Taxons par leur code Omnidia"), AFFICHAGE, G::Case),
        simple(refMuseum, QStringLiteral("Afficher la référence muséum des taxons"), AFFICHAGE,
               G::Case),
        simple(modificationPhoto, QStringLiteral("Autoriser la modification des photos"), AFFICHAGE,
               G::Case),
        simple(EcranOperationSaisie, QStringLiteral("Écran de saisie des opérations"), AFFICHAGE,
               G::Case),
        simple(SaisieMesures, QStringLiteral("Saisie des mesures"), AFFICHAGE, G::Case),
        simple(CompensationMesureDefaut, QStringLiteral("Compensation des mesures par défaut"),
               AFFICHAGE, G::Case),
        simple(naturePiezoDefaut, QStringLiteral("Nature par défaut des points d'eau"), AFFICHAGE,
               G::Texte),
        simple(exportExcel, QStringLiteral("Export Excel"), AFFICHAGE, G::Case),
        simple(exportCalc, QStringLiteral("Export Calc"), AFFICHAGE, G::Case),
        simple(exportCSV, QStringLiteral("Export CSV"), AFFICHAGE, G::Case),

        externe(Producteur, QStringLiteral("Producteur"), OPERATION),
        externe(Preleveur, QStringLiteral("Préleveur"), OPERATION),
        externe(Determinateur, QStringLiteral("Déterminateur"), OPERATION),
        externe(ContactPreleveur, QStringLiteral("Contact préleveur"), OPERATION),
        externe(ContactDeterminateur, QStringLiteral("Contact déterminateur"), OPERATION),
        externe(Laboratoire, QStringLiteral("Laboratoire"), OPERATION),
        externe(Qualification, QStringLiteral("Qualification"), OPERATION,
                QStringLiteral("ANALYSES.QUALIFICATION")),
        externe(Statut, QStringLiteral("Statut"), OPERATION, QStringLiteral("ANALYSES.STATUT")),
        externe(ProtocolePrelevement, QStringLiteral("Protocole de prélèvement"), OPERATION),
        externe(Support, QStringLiteral("Support"), OPERATION),
        externe(Accreditation, QStringLiteral("Accréditation"), OPERATION,
                QStringLiteral("ANALYSES.ACCREDITATION")),
        externe(Agrement, QStringLiteral("Agrément"), OPERATION),
        externe(Saisonnalite, QStringLiteral("Saisonnalité"), OPERATION,
                QStringLiteral("PRELEVEMENTS.SAISONNALITES")),
        externe(ModeConservation, QStringLiteral("Mode de conservation"), OPERATION,
                QStringLiteral("QUALITOMETRES.MODE_CONSERVATION")),
        externe(ModeConservationSecondaire, QStringLiteral("Mode de conservation secondaire"),
                OPERATION, QStringLiteral("QUALITOMETRES.MODE_CONSERVATION")),
        externe(MaterielPrelevement, QStringLiteral("Matériel de prélèvement"), OPERATION,
                QStringLiteral("PRELEVEMENTS.MATERIELS")),
        externe(Colmatage, QStringLiteral("Colmatage"), OPERATION,
                QStringLiteral("PRELEVEMENTS.COLMATAGE")),
        externe(TypeColmatage, QStringLiteral("Type de colmatage"), OPERATION,
                QStringLiteral("PRELEVEMENTS.TYPECOLMATAGE")),
        externe(Confiance, QStringLiteral("Confiance"), OPERATION,
                QStringLiteral("ANALYSES.CONFIANCE")),
        externe(Developpement, QStringLiteral("Développement"), OPERATION,
                QStringLiteral("TAXONS.DEVELOPPEMENT")),

        simple(repriseSiteSansControle, QStringLiteral("Reprendre les sites sans contrôle"),
               IMPORTATIONS, G::CaseOuiNon),
        simple(MargeIntegrationSite, QStringLiteral("Marge d'intégration des sites"), IMPORTATIONS,
               G::Nombre),

        externe(TypeSeuil, QStringLiteral("Type de seuil"), SEUILS, QStringLiteral("SEUILS")),
        externe(TypeSeuilEtats, QStringLiteral("Type de seuil des états"), SEUILS,
                QStringLiteral("SEUILS")),
        externe(TypeSeuilResultats, QStringLiteral("Type de seuil des résultats"), SEUILS,
                QStringLiteral("SEUILS")),
        externe(TypeSeuilTaxons, QStringLiteral("Type de seuil des taxons"), SEUILS,
                QStringLiteral("SEUILS")),

        liste(LogLevel, QStringLiteral("Niveau du journal"), JOURNAL,
              {{QStringLiteral("APPLICATION [0]"), QStringLiteral("0")},
               {QStringLiteral("DEBUGGAGE   [1]"), QStringLiteral("1")},
               {QStringLiteral("INFORMATION [2]"), QStringLiteral("2")},
               {QStringLiteral("WARNING     [3]"), QStringLiteral("3")},
               {QStringLiteral("ERROR       [4]"), QStringLiteral("4")}}),

        simple(FtpServer, QStringLiteral("Serveur FTP"), TRANSFERT, G::Texte),
        simple(FtpServerPort, QStringLiteral("Port du serveur FTP"), TRANSFERT, G::Nombre),
        simple(FtpUsername, QStringLiteral("Utilisateur FTP"), TRANSFERT, G::Texte),
        simple(FtpPassword, QStringLiteral("Mot de passe FTP"), TRANSFERT, G::MotDePasse),
        simple(FtpProxy, QStringLiteral("Proxy"), TRANSFERT, G::Texte),
        simple(FtpRemoteFolder, QStringLiteral("Dossier distant"), TRANSFERT, G::Texte),
        simple(FtpExport, QStringLiteral("Export FTP"), TRANSFERT, G::Case),
        simple(WebApplication, QStringLiteral("Application web"), TRANSFERT, G::Texte),
    };
}

QHash<QString, SourceListe> &sources()
{
    static QHash<QString, SourceListe> s;
    return s;
}

QVector<EntreeListe> listeCodes(const QString &champ)
{
    QVector<EntreeListe> entrees;
    if (!bd().estOuverte() || !bd().tableExiste(QStringLiteral("CODES_SANDRE"))) return entrees;
    InstructionPreparee lecture = bd().preparer(QStringLiteral(
        "SELECT Libelle, Code FROM CODES_SANDRE WHERE Champ = ? ORDER BY Libelle ASC"));
    Tableau t;
    if (!lecture.extraire(t, {champ})) return entrees;
    entrees.reserve(t.nbLignes());
    for (int l = 0; l < t.nbLignes(); ++l)
        entrees.append({t.texte(l, QStringLiteral("Libelle")), t.texte(l, QStringLiteral("Code"))});
    return entrees;
}

} // namespace

const QVector<DefinitionReglage> &reglagesAdministration()
{
    static const QVector<DefinitionReglage> definitions = construire();
    return definitions;
}

QStringList ongletsAdministration()
{
    QStringList onglets;
    for (const DefinitionReglage &d : reglagesAdministration())
        if (!onglets.contains(d.onglet)) onglets << d.onglet;
    return onglets;
}

const DefinitionReglage *definitionReglage(const QString &nom)
{
    for (const DefinitionReglage &d : reglagesAdministration())
        if (d.nom.compare(nom, Qt::CaseInsensitive) == 0) return &d;
    return nullptr;
}

void definirSourceListe(const QString &nomReglage, SourceListe source)
{
    sources().insert(nomReglage.toUpper(), std::move(source));
}

QVector<EntreeListe> entreesListe(const DefinitionReglage &d)
{
    if (d.genre != GenreReglage::Liste) return {};
    QVector<EntreeListe> entrees;
    if (d.listeExterne) {
        entrees.append(EntreeListe{});
        const auto source = sources().constFind(d.nom.toUpper());
        if (source != sources().constEnd() && *source)
            entrees += (*source)();
        else if (!d.champ.isEmpty())
            entrees += listeCodes(d.champ);
    } else {
        entrees = d.entrees;
    }
    const QString valeur = valeurReglage(d);
    const bool connue = std::any_of(entrees.cbegin(), entrees.cend(),
                                    [&](const EntreeListe &e) { return e.code == valeur; });
    if (!connue && !valeur.isEmpty()) entrees.append({u'[' + valeur + u']', valeur});
    return entrees;
}

QString valeurReglage(const DefinitionReglage &d)
{
    if (d.nom == reglage::MoisDebutAnneeHydro) return moisDebutAnneeHydro();
    return lireRegistre(d.nom, {}, true);
}

QString valeurCase(const DefinitionReglage &d, bool cochee)
{
    if (d.genre == GenreReglage::CaseOuiNon)
        return cochee ? QStringLiteral("OUI") : QStringLiteral("NON");
    return cochee ? QStringLiteral("1") : QStringLiteral("0");
}

bool caseCochee(const QString &valeur)
{
    return estActive(valeur);
}

bool ecrireReglage(const DefinitionReglage &d, const QString &valeur)
{
    QString texte = valeur;
    switch (d.genre) {
    case GenreReglage::Dossier:
        texte = texte.trimmed();
        if (!texte.isEmpty() && !texte.endsWith(u'/') && !texte.endsWith(u'\\'))
            texte += QDir::separator();
        break;
    case GenreReglage::Nombre:
        texte = texte.trimmed();
        if (!texte.isEmpty() && !estNombre(texte)) return false;
        break;
    case GenreReglage::Fichier:
    case GenreReglage::Texte:
        texte = texte.trimmed();
        break;
    default:
        break;
    }
    if (!ecrireRegistre(d.nom, texte)) return false;
    if (d.nom == reglage::LogLevel) definirNiveauJournal(niveauJournalDe(texte));
    return true;
}

QVector<LigneProfil> ProfilsAdministration::charger()
{
    return lignesProfils(lireFichierBases(lireRegistre(reglage::FichierProfils, {}, true)));
}

CompteRendu ProfilsAdministration::enregistrer(const QVector<LigneProfil> &lignes,
                                               const std::function<QString()> &choisirDossier)
{
    for (const LigneProfil &l : lignes) {
        if (l.nom.trimmed().isEmpty() || l.type.trimmed().isEmpty() ||
            l.serveur.trimmed().isEmpty())
            continue;
        if (const QString erreur = erreurLigneProfil(l); !erreur.isEmpty()) return echec(erreur);
    }
    QString chemin = lireRegistre(reglage::FichierProfils, {}, true);
    if (chemin.isEmpty()) {
        const QString dossier = choisirDossier ? choisirDossier() : QString();
        if (dossier.isEmpty()) return {};
        chemin = QDir(dossier).filePath(reglage::FichierProfils);
        ecrireRegistre(reglage::FichierProfils, chemin);
    }
    if (!ecrireFichierBases(chemin, lignes)) return echec(ECHEC_ECRITURE);
    return reussite(ENREGISTRE);
}

} // namespace vyk
