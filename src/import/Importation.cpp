#include "import/Importation.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Progression.h"
#include "import/AnalysesNommees.h"
#include "import/ChargementTexte.h"
#include "import/EnTeteLabo.h"
#include "import/ExtraitCode.h"
#include "import/ImportRegionaux.h"
#include "import/ImportSandre1997.h"
#include "import/Jobs.h"
#include "import/LectureSandre.h"
#include "import/ModelesImport.h"
#include "import/PaquetEchange.h"
#include "import/PointsEauXml.h"
#include "import/ResultatsLabo.h"
#include "import/StationsXml.h"
#include "import/Zip.h"
#include "import/classeurs/ModelesClasseurs.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace vyk {

namespace {

// Files of the run: the file itself, or the folder's files with the extension, by name.
QStringList fichiersDe(const QString &chemin, const QString &extension, RouteImport route)
{
    const QFileInfo info(chemin);
    if (!info.isDir()) return {chemin};
    const bool texte = route == RouteImport::AnalysesTexte ||
                       route == RouteImport::AnalysesNommees || route == RouteImport::ExtraitCode;
    const QString ext = !extension.isEmpty()               ? extension
                        : texte                            ? QStringLiteral("csv")
                        : route == RouteImport::Sandre1997 ? QStringLiteral("txt")
                        : route == RouteImport::Paquet     ? QStringLiteral("vyk")
                                                           : QStringLiteral("xml");
    QStringList masques{QStringLiteral("*.") + ext, QStringLiteral("*.zip")};
    if (route == RouteImport::Classeur && extension.isEmpty())
        masques = QStringList{QStringLiteral("*.xlsx"), QStringLiteral("*.xlsm"),
                              QStringLiteral("*.xls"), QStringLiteral("*.ods")};
    QStringList fichiers;
    const QDir dossier(chemin);
    for (const QString &nom :
         dossier.entryList(masques, QDir::Files, QDir::Name | QDir::IgnoreCase))
        fichiers << dossier.filePath(nom);
    return fichiers;
}

QString chargerEtIntegrer(const ModeleImport &modele, const QString &fichier,
                          const OptionsImport &options, OptionsIntegration &integration,
                          Progression &progression, const ReponsesIntegration &reponses,
                          BilanAnalyses &bilan, ElementsIgnores &ignores)
{
    progression.message(QStringLiteral("Chargement des données ") + QFileInfo(fichier).fileName());
    if (modele.route == RouteImport::StationsXml) {
        BilanStationsXml stations;
        const QString erreur =
            integrerStationsXml(fichier, options.remplacer, &progression, &stations, &ignores);
        bilan.stations += stations.integrees;
        return erreur;
    }
    if (modele.route == RouteImport::PointsEauXml) {
        QVector<QStringList> points;
        QString erreur = listerPointsEauXml(fichier, points, &progression, &ignores);
        if (erreur.isEmpty()) erreur = integrerPointsEau(options.remplacer, points, &progression);
        bilan.stations += int(points.size());
        return erreur;
    }
    if (modele.route == RouteImport::AnalysesNommees)
        return integrerAnalysesNommees(fichier, integration, progression, reponses, bilan, ignores);
    if (modele.route == RouteImport::Sandre1997)
        return integrerSandre1997(fichier, integration, progression, reponses, bilan, ignores);
    if (modele.route == RouteImport::Classeur)
        return integrerClasseur(modele.code, fichier, integration, progression, reponses, bilan,
                                ignores);
    GrilleImport grille;
    QString erreur, entete;
    if (modele.route == RouteImport::LaboXml) {
        // Organisations and stations of the message first, then its results; each sample takes
        // its own request code. One organisation or station refused in the head does not keep
        // the results out: their rows find or create their stations, and the file is in error.
        entete = integrerEnTeteLabo(fichier, &progression);
        erreur = chargerResultatsLabo(fichier, grille, &progression, &ignores);
        integration.demandeParLigne = true;
    } else {
        erreur = chargerFichierTexte(fichier, grille, progression, options.entete,
                                     modele.code == QLatin1String("GDES") ? textesChargementGdes()
                                                                          : TextesChargement{});
    }
    // An unreadable message: the head said the same.
    if (!erreur.isEmpty()) return erreur;
    bilan = integrerAnalyses(grille, integration, progression, reponses);
    return QStringList{entete, bilan.erreur}
        .filter(QRegularExpression(QStringLiteral("\\S")))
        .join(u'\n');
}

// An archive is unpacked in a folder of its own, then each member is taken as a file.
QString integrerFichier(const ModeleImport &modele, const QString &fichier,
                        const OptionsImport &options, OptionsIntegration &integration,
                        Progression &progression, const ReponsesIntegration &reponses,
                        BilanAnalyses &bilan, ElementsIgnores &ignores)
{
    // These formats open their archives themselves.
    if (modele.route == RouteImport::Paquet) {
        bilan = importerPaquet(fichier, integration.execution, progression);
        return bilan.erreur;
    }
    if (modele.route == RouteImport::ExtraitCode)
        return importerExtraitCode(modele.code, fichier, integration, progression, reponses, bilan);
    // The regional archives are unpacked and read as a whole.
    if (modele.route == RouteImport::Regional)
        return integrerArchiveRegionale(modele.code, fichier, integration, progression, reponses,
                                        bilan, ignores);
    if (!fichier.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        return chargerEtIntegrer(modele, fichier, options, integration, progression, reponses,
                                 bilan, ignores);
    QTemporaryDir dossier;
    const int code = decompresserZip(fichier, {}, dossier.path());
    if (code != codeZip::SUCCES) return erreurDecompression(code);
    QStringList erreurs;
    const QDir d(dossier.path());
    for (const QString &membre : fichiersExtraits(dossier.path())) {
        BilanAnalyses b;
        const QString e = chargerEtIntegrer(modele, d.filePath(membre), options, integration,
                                            progression, reponses, b, ignores);
        if (!e.isEmpty()) erreurs << membre + QStringLiteral(" : ") + e;
        bilan.ajouter(b);
    }
    return erreurs.join(u'\n');
}

} // namespace

bool ResultatImport::statut() const
{
    if (!erreur.isEmpty() || fichiers.isEmpty()) return false;
    for (const FichierImporte &f : fichiers)
        if (!f.erreur.isEmpty()) return false;
    return true;
}

QStringList ResultatImport::messages() const
{
    QStringList lignes;
    if (!erreur.isEmpty()) lignes << erreur;
    for (const FichierImporte &f : fichiers) {
        const QString nom = QFileInfo(f.chemin).fileName() + QStringLiteral(" : ");
        if (!f.erreur.isEmpty()) lignes << nom + f.erreur;
        if (!f.remarques.isEmpty()) lignes << nom + f.remarques;
    }
    return lignes;
}

BilanAnalyses ResultatImport::total() const
{
    BilanAnalyses t;
    for (const FichierImporte &f : fichiers) {
        t.ajouter(f.bilan);
    }
    return t;
}

namespace {

// The run's model, or its refusal.
const ModeleImport *modeleDuRun(const QString &code, ResultatImport &r)
{
    const ModeleImport *modele = modeleImport(code);
    if (!modele)
        r.erreur = code.trimmed().isEmpty() ? texteModeles::AUCUN : texteModeles::inconnu(code);
    return modele;
}

ResultatImport executer(const ModeleImport &modele, const QString &chemin,
                        const QStringList *fichiersDonnes, const OptionsImport &options,
                        Progression &progression, const ReponsesIntegration &reponses)
{
    ResultatImport r;
    if (!options.controle) {
        progression.message(QStringLiteral("Chargement du fichier "));
        r.execution = demarrerExecution(creerJob(
            modele.code, QStringLiteral("Intégration ") + modele.libelleListe().simplified()));
    }
    auto fin = [&] {
        if (r.execution >= 0) {
            QStringList erreurs;
            if (!r.erreur.isEmpty()) erreurs << r.erreur;
            for (const FichierImporte &f : std::as_const(r.fichiers))
                if (!f.erreur.isEmpty()) erreurs << QFileInfo(f.chemin).fileName();
            terminerExecution(erreurs.join(QStringLiteral(", ")), r.execution);
        }
        return r;
    };
    r.erreur = modele.refus();
    if (!r.erreur.isEmpty()) return fin();
    const QStringList fichiers =
        fichiersDonnes ? *fichiersDonnes : fichiersDe(chemin, options.extension, modele.route);
    if (fichiers.isEmpty()) {
        r.erreur = texteImportation::AUCUN_FICHIER + chemin;
        return fin();
    }
    OptionsIntegration integration;
    integration.remplacer = options.remplacer;
    integration.arretPremiereErreur = options.remplacer;
    integration.codeDemande = options.codeDemande;
    integration.creerIntervenants = options.creerIntervenants;
    integration.controle = options.controle;
    integration.execution = r.execution;
    integration.campagne = options.campagne;
    // A check undoes everything it wrote, the messages' organisations and stations included.
    std::unique_ptr<Transaction> controle;
    if (options.controle) controle = std::make_unique<Transaction>();
    for (const QString &fichier : fichiers) {
        // Files left untouched by a cancel fail the run: it must not read as complete.
        if (progression.annule()) {
            r.erreur = texteImportation::ANNULEE;
            break;
        }
        progression.message(QStringLiteral("Chargement du fichier ") +
                            QFileInfo(fichier).fileName());
        FichierImporte f;
        f.chemin = fichier;
        ElementsIgnores ignores;
        f.erreur = integrerFichier(modele, fichier, options, integration, progression, reponses,
                                   f.bilan, ignores);
        f.remarques = ignores.texte();
        if (!f.erreur.isEmpty() && r.execution >= 0)
            journaliserExecution(QFileInfo(fichier).fileName() + QStringLiteral(" : ") + f.erreur,
                                 r.execution);
        r.fichiers << f;
    }
    if (controle) controle->annuler();
    return fin();
}

} // namespace

ResultatImport importer(const QString &code, const QString &chemin, const OptionsImport &options,
                        Progression &progression, const ReponsesIntegration &reponses)
{
    ResultatImport r;
    const ModeleImport *modele = modeleDuRun(code, r);
    return modele ? executer(*modele, chemin, nullptr, options, progression, reponses) : r;
}

QVector<QPair<QString, qint64>> campagnesImport()
{
    QVector<QPair<QString, qint64>> campagnes;
    if (!bd().estOuverte() || !bd().tableExiste(QStringLiteral("CAMPAGNES"))) return campagnes;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT Libelle, CodeCampagne FROM CAMPAGNES ORDER BY CodeCampagne ASC"));
    for (int i = 0; i < t.nbLignes(); ++i)
        campagnes.append({t.texte(i, QStringLiteral("Libelle")),
                          t.valeur(i, QStringLiteral("CodeCampagne")).toLongLong()});
    return campagnes;
}

ResultatImport importerFichiers(const QString &code, const QStringList &fichiers,
                                const OptionsImport &options, Progression &progression,
                                const ReponsesIntegration &reponses)
{
    ResultatImport r;
    const ModeleImport *modele = modeleDuRun(code, r);
    return modele ? executer(*modele,
                             fichiers.isEmpty() ? QString()
                                                : QFileInfo(fichiers.first()).absolutePath(),
                             &fichiers, options, progression, reponses)
                  : r;
}

} // namespace vyk
