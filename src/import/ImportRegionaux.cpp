#include "import/ImportRegionaux.h"

#include "classeur/Classeur.h"
#include "db/Progression.h"
#include "import/ResolutionIntervenants.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace vyk {

namespace {

using F = FichierRegional;

const QString OSUR_CSV = QStringLiteral("OSUR WEB CSV");
const QString OSUR_XLS = QStringLiteral("OSUR XLS");

// A sheet, read by its first row's names, as the table of a file.
TableNommee tableDeFeuille(const Feuille &f)
{
    TableNommee t;
    for (int c = 1; c <= f.derniereColonne(); ++c)
        t.entete << f.texte(1, c).trimmed();
    for (int l = 2; l <= f.derniereLigne(); ++l) {
        EnregistrementCsv e;
        e.ligne = l;
        for (int c = 1; c <= f.derniereColonne(); ++c)
            e.champs << f.texte(l, c);
        if (!enregistrementVide(e.champs)) t.lignes.append(std::move(e));
    }
    return t;
}

} // namespace

QString ImportOsur::initClasseur(const QString &chemin)
{
    m_classeur = true;
    Classeur classeur;
    if (!classeur.ouvrir(chemin)) return classeur.erreur();
    QVector<QPair<QString, TableNommee>> tables;
    for (const QString &nom : classeur.feuilles())
        if (typeDe(nom))
            if (const Feuille *f = classeur.feuille(nom)) tables.append({nom, tableDeFeuille(*f)});
    return init(tables);
}

std::optional<FichierRegional> ImportOsur::typeDe(const QString &nom) const
{
    if (!m_classeur && !nom.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        return std::nullopt;
    // A sheet may be named "BIO" or "PC" alone.
    const QString n = u'_' + nom.toUpper() + u'_';
    if (n.contains(QLatin1String("CEBIO"))) return F::ConditionsBio;
    if (n.contains(QLatin1String("CEPC"))) return F::ConditionsPc;
    if (n.contains(QLatin1String("_BIO_"))) return F::HydroBio;
    if (n.contains(QLatin1String("_PC_"))) return F::Analyses;
    if (n.contains(QLatin1String("RESO"))) return F::Reseau;
    if (n.contains(QLatin1String("SITE"))) return F::Site;
    if (n.contains(QLatin1String("STATION"))) return F::Station;
    return std::nullopt;
}

bool ImportOsur::estFichierStations(const QString &nom) const
{
    return typeDe(nom) == F::Station &&
           (m_classeur || nom.startsWith(QLatin1String("EXPOSUR_STATION"), Qt::CaseInsensitive));
}

bool ImportOsur::extraireStation(const QString &station)
{
    // Each extraction runs even when one before refused a row: the others are written.
    bool ok = extractReseau(station);
    ok = extractPointEauQualite(station) && ok;
    ok = extractPointEau(station) && ok;
    ok = extractConditions(station, F::ConditionsBio) && ok;
    ok = extractConditions(station, F::ConditionsPc) && ok;
    ok = extractHydroBio(station) && ok;
    return extractAnalyse(station) && ok;
}

std::optional<FichierRegional> ImportAdourGaronne::typeDe(const QString &nom) const
{
    const QString n = nom.toLower();
    if (n.startsWith(QLatin1String("station"))) return F::Station;
    if (n.startsWith(QLatin1String("physicochimie")) || n.startsWith(QLatin1String("analyse_")))
        return F::Analyses;
    if (n.startsWith(QLatin1String("etats_"))) return F::Etats;
    if (n.startsWith(QLatin1String("hydrobio_"))) return F::HydroBio;
    if (n.startsWith(QLatin1String("cep_")) ||
        n.startsWith(QLatin1String("mesure_environnementale_")))
        return F::ConditionsPc;
    return std::nullopt;
}

bool ImportAdourGaronne::estFichierStations(const QString &nom) const
{
    return nom.startsWith(QLatin1String("stations_STQ"), Qt::CaseInsensitive);
}

bool ImportAdourGaronne::extraireStation(const QString &station)
{
    bool ok = extractPointEauQualite(station);
    ok = extractAnalyse(station) && ok;
    ok = extractHydroBio(station) && ok;
    return extractConditions(station, F::ConditionsPc) && ok;
}

bool ImportAdourGaronne::extraireApresPrelevements(const QString &station)
{
    return extractEtats(station);
}

namespace {

std::unique_ptr<ImportParFichiers> importDe(const QString &modele, EcritureObjets &ecriture,
                                            Progression &progression)
{
    if (modele.compare(OSUR_CSV, Qt::CaseInsensitive) == 0 ||
        modele.compare(OSUR_XLS, Qt::CaseInsensitive) == 0)
        return std::make_unique<ImportOsur>(ecriture, progression);
    return std::make_unique<ImportAdourGaronne>(ecriture, progression);
}

QString initialiser(const QString &modele, ImportParFichiers &import, const QString &chemin,
                    QTemporaryDir &temporaire)
{
    if (modele.compare(OSUR_XLS, Qt::CaseInsensitive) == 0)
        return static_cast<ImportOsur &>(import).initClasseur(chemin);
    const bool osur = modele.compare(OSUR_CSV, Qt::CaseInsensitive) == 0;
    QString dossier =
        dossierTravailRegional(osur ? QStringLiteral("OSUR_CSV") : QStringLiteral("AG"));
    if (dossier.isEmpty())
        dossier = temporaire.path();
    else
        QDir().mkpath(dossier);
    return import.init(chemin, dossier);
}

} // namespace

QString integrerArchiveRegionale(const QString &modele, const QString &chemin,
                                 OptionsIntegration &options, Progression &progression,
                                 const ReponsesIntegration &reponses, BilanAnalyses &bilan,
                                 ElementsIgnores &ignores)
{
    EcritureObjets ecriture(options.remplacer, options.execution);
    const std::unique_ptr<ImportParFichiers> import = importDe(modele, ecriture, progression);
    QTemporaryDir temporaire;
    if (const QString refus = initialiser(modele, *import, chemin, temporaire); !refus.isEmpty())
        return refus;
    const bool creerAuDebut = options.creerIntervenants;
    ResolutionIntervenants intervenants(options.creerIntervenants, reponses,
                                        bilan.intervenantsCrees);
    import->resoudreIntervenantsPar(&intervenants);
    const QString erreur =
        integrerRegional(*import, options, progression, reponses, bilan, ignores);
    if (!creerAuDebut && !bilan.intervenantsCrees.isEmpty())
        bilan.messageIntervenants = texteIntegration::INTERVENANTS_CREES + u' ' +
                                    bilan.intervenantsCrees.join(QStringLiteral(", "));
    ignores.journaliser(chemin);
    return erreur;
}

QString listerSitesRegionaux(const QString &modele, const QString &chemin,
                             QVector<QStringList> &sites)
{
    EcritureObjets rien(false);
    const std::unique_ptr<ImportParFichiers> import = importDe(modele, rien, progressionNulle());
    QTemporaryDir temporaire;
    const QString refus = initialiser(modele, *import, chemin, temporaire);
    if (refus.isEmpty())
        for (const QString &s : import->getTabSites())
            sites.append({s});
    return refus;
}

} // namespace vyk
