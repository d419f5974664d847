#include "app/Csv.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/ChampDecrit.h"
#include "db/FichiersTexte.h"
#include "db/InstructionPreparee.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "db/Session.h"
#include "import/ChargementTexte.h"
#include "import/ExtraitCodeInterne.h"
#include "import/Zip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <memory>

namespace vyk {

namespace {

// The working folder of an archive: "CheminExport" + the format's folder, emptied of what a
// previous run left; a temporary folder when the setting is unset.
class DossierTravail
{
  public:
    DossierTravail(const QString &sousDossier, const QStringList &masques)
    {
        const QString racine = lireRegistre(reglage::CheminExport, {}, true).trimmed();
        if (!racine.isEmpty() && QDir().mkpath(QDir(racine).filePath(sousDossier))) {
            m_chemin = QDir(racine).filePath(sousDossier);
            viderDossierTravail(m_chemin, masques);
        } else {
            m_temporaire = std::make_unique<QTemporaryDir>();
            m_chemin = m_temporaire->path();
        }
    }
    const QString &chemin() const { return m_chemin; }
    int decompresser(const QString &archive, const QString &masque)
    {
        return decompresserZip(archive, masque, m_chemin, &m_membres);
    }
    // The bytes of an extracted member (membre()'s path), taken from what the extraction kept,
    // else read back from the folder. False when it cannot be read.
    bool prendre(const QString &chemin, QByteArray &octets)
    {
        const auto i = m_membres.find(QDir::cleanPath(QFileInfo(chemin).absoluteFilePath()));
        if (i != m_membres.end()) {
            octets = std::move(*i);
            m_membres.erase(i);
            return true;
        }
        QFile f(chemin);
        if (!f.open(QIODevice::ReadOnly)) return false;
        octets = f.readAll();
        return true;
    }
    // The extracted member of that file name (without case), "" when none.
    QString membre(const QString &nom) const
    {
        const QString cherche = nom.normalized(QString::NormalizationForm_C);
        for (const QString &m : fichiersExtraits(m_chemin))
            if (QFileInfo(m)
                    .fileName()
                    .normalized(QString::NormalizationForm_C)
                    .compare(cherche, Qt::CaseInsensitive) == 0)
                return QDir(m_chemin).filePath(m);
        return {};
    }

  private:
    QString m_chemin;
    std::unique_ptr<QTemporaryDir> m_temporaire;
    QHash<QString, QByteArray> m_membres;
};

bool estZip(const QString &fichier)
{
    return fichier.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
}

// Stations of the extract's rows among those given: already counted by an earlier step.
int stationsDejaComptees(const ExtraitCode &extrait, const QSet<QString> &comptees)
{
    QSet<QString> vues;
    const int colonnes[] = {extrait.colonne(QStringLiteral("STQ.2")),
                            extrait.colonne(QStringLiteral("ALQ.3")),
                            extrait.colonne(QStringLiteral("PTE.2"))};
    QString precedente; // rows of a station follow each other: its key is made once
    for (int l = 0; l < extrait.nombreLignes(); ++l)
        for (const int c : colonnes) {
            const QString &brute = extrait.valeur(l, c);
            if (c < 0 || brute.isEmpty()) continue;
            if (brute != precedente) {
                precedente = brute;
                if (const QString cle = cleStationCode(brute); comptees.contains(cle))
                    vues.insert(cle);
            }
            break;
        }
    return int(vues.size());
}

// The bytes are let go once loaded: the integration needs only the extract.
QString integrerOctets(QByteArray octets, EnTeteCode entete, OptionsIntegration &options,
                       Progression &progression, const ReponsesIntegration &reponses,
                       BilanAnalyses &bilan, const QSet<QString> &comptees = {})
{
    ExtraitCode extrait;
    const QString erreur = chargerExtraitCodeOctets(octets, extrait, progression, entete);
    octets = {};
    if (!erreur.isEmpty()) return erreur;
    BilanAnalyses b = integrerExtraitCode(extrait, options, progression, reponses);
    // A station of the station file met again in the analyses is still one station.
    if (!comptees.isEmpty())
        b.stations = std::max(0, b.stations - stationsDejaComptees(extrait, comptees));
    bilan.ajouter(b);
    if (bilan.messageIntervenants.isEmpty()) bilan.messageIntervenants = b.messageIntervenants;
    return b.erreur;
}

QString chargerEtIntegrer(const QString &fichier, EnTeteCode entete, OptionsIntegration &options,
                          Progression &progression, const ReponsesIntegration &reponses,
                          BilanAnalyses &bilan)
{
    QFile f(fichier);
    if (!f.open(QIODevice::ReadOnly)) return texteChargement::illisible(fichier);
    return integrerOctets(f.readAll(), entete, options, progression, reponses, bilan);
}

// --- NAIADES station file: one station per line, fields by position (1 = first).

struct ChampStation
{
    int position;
    const char *colonne;
    enum Nature
    {
        Texte,
        Nombre,
        Date
    } nature;
    int taille; // texts
};
// clang-format off
constexpr ChampStation CHAMPS_STATION[] = {
    {3, "nom", ChampStation::Texte, 70}, {5, "X", ChampStation::Nombre, 0},
    {6, "Y", ChampStation::Nombre, 0}, {7, "TypeProjection", ChampStation::Nombre, 0},
    {9, "codeCommune", ChampStation::Nombre, 0}, {24, "dateCreation", ChampStation::Date, 0},
    {25, "dateFermeture", ChampStation::Date, 0}, {26, "finalite", ChampStation::Texte, 70},
    {27, "localisation", ChampStation::Texte, 0}, {28, "altitude", ChampStation::Nombre, 0}};
// clang-format on

QVariant valeurStation(const ChampStation &c, const QString &v)
{
    if (v.isEmpty()) return {};
    switch (c.nature) {
    case ChampStation::Nombre:
        return enNombre(v, true).variant();
    case ChampStation::Date: {
        const QDateTime d = dateCode(v);
        return d.isValid() ? QVariant(QDateTime(d.date(), QTime(0, 0))) : QVariant();
    }
    case ChampStation::Texte:
        break;
    }
    return c.taille > 0 ? v.left(c.taille) : v;
}

// What a run of the station file has made sure of already: the same municipalities and water
// bodies come back on many lines, and the new stations' codes follow each other under the lock.
struct SuiteStations
{
    QSet<QString> communes;
    QHash<QString, QString> masses;
    SuiteQualitometres qualitometres;
};

// One line of the station file; "" or why it was not written.
QString integrerStationNaiades(const QStringList &champs, const OptionsIntegration &options,
                               SuiteStations &suite, BilanAnalyses &bilan, QSet<QString> &comptees)
{
    auto champ = [&](int position) {
        return position <= champs.size() ? champs[position - 1].trimmed() : QString();
    };
    const QString code = cleStationCode(champ(2));
    if (code.isEmpty()) return QStringLiteral("le code de la station est vide");
    InstructionPreparee q =
        bd().preparer(QStringLiteral("SELECT CodeQualitometre FROM QUALITOMETRES WHERE CodeBSS=?"));
    Tableau t;
    q.extraire(t, {code});
    qint64 station = t.estVide() ? -1 : qint64(t(0, 0).toDouble());
    const bool nouvelle = station < 0;
    if (nouvelle) {
        station = creerQualitometre(code, {}, QStringLiteral("1"), &suite.qualitometres);
        if (station < 0) return QStringLiteral("la station n'a pas pu être créée");
        bilan.stationsCreees << code;
    }
    if (!comptees.contains(code)) {
        comptees.insert(code);
        ++bilan.stations;
    }
    QStringList colonnes;
    QVector<QVariant> valeurs;
    for (const ChampStation &c : CHAMPS_STATION) {
        const QVariant v = valeurStation(c, champ(c.position));
        if (v.isNull()) continue; // a value absent from the file leaves the stored one
        colonnes << QString::fromLatin1(c.colonne) + QStringLiteral("=?");
        valeurs << v;
    }
    if (const QString commune = champ(9); !commune.isEmpty() && !suite.communes.contains(commune)) {
        if (!communeAssuree(commune, champ(10)))
            return QStringLiteral("la commune ") + commune +
                   QStringLiteral(" n'a pas pu être ajoutée");
        suite.communes.insert(commune);
    }
    if (const QString masse = champ(15); !masse.isEmpty()) {
        QString codeME = suite.masses.value(masse);
        if (codeME.isEmpty()) codeME = masseEauAssuree(masse, champ(17));
        if (!codeME.isEmpty()) suite.masses.insert(masse, codeME);
        if (codeME.isEmpty() ||
            !lierMasseEau(station, codeME, nouvelle && !suite.qualitometres.liens))
            return QStringLiteral("la masse d'eau ") + masse +
                   QStringLiteral(" n'a pas pu être liée");
    }
    const QString login = session().login;
    colonnes << QStringLiteral("datemaj=?") << QStringLiteral("loginmaj=?")
             << QStringLiteral("jobExecutionId=?");
    valeurs << QDateTime::currentDateTime() << (login.isEmpty() ? QVariant() : QVariant(login))
            << (options.execution >= 0 ? QVariant(options.execution) : QVariant());
    InstructionPreparee maj =
        bd().preparer(QStringLiteral("UPDATE QUALITOMETRES SET ") + colonnes.join(u',') +
                      QStringLiteral(" WHERE CodeQualitometre=?"));
    return maj.executer(valeurs << station) ? QString() : maj.erreur();
}

QString integrerStationsNaiades(const QByteArray &octets, const OptionsIntegration &options,
                                Progression &progression, BilanAnalyses &bilan,
                                QSet<QString> &comptees)
{
    QVector<EnregistrementCsv> lignes;
    QString erreur;
    if (!lireCsv(decoderTexte(octets), u';', lignes, erreur)) return erreur;
    if (lignes.isEmpty()) return {};
    const int attendus = int(lignes.first().champs.size());
    Transaction transaction;
    SuiteStations suite;
    for (qsizetype i = 1; i < lignes.size(); ++i) {
        if (progression.annule()) return texteChargement::ANNULE;
        progression.message(QStringLiteral("Intégration ligne ") + QString::number(i + 1));
        const EnregistrementCsv &e = lignes[i];
        if (enregistrementVide(e.champs)) continue;
        const QString origine = QStringLiteral("Stations.CSV, ligne ") + QString::number(e.ligne);
        QString raison = e.champs.size() == attendus
                             ? integrerStationNaiades(e.champs, options, suite, bilan, comptees)
                             : texteExtraitCode::champsLigne(int(e.champs.size()), attendus);
        if (raison.isEmpty()) continue;
        bilan.lignesEnErreur.append({0, origine, raison});
        if (options.arretPremiereErreur) {
            transaction.annuler();
            bilan.interrompu = true;
            return origine + QStringLiteral(" : ") + raison;
        }
    }
    return transaction.valider() ? QString() : bd().derniereErreur();
}

} // namespace

QString importerNaiades(const QString &archive, OptionsIntegration &options,
                        Progression &progression, const ReponsesIntegration &reponses,
                        BilanAnalyses &bilan)
{
    if (!estZip(archive)) return texteExtraitCode::STATIONS_ABSENTES;
    DossierTravail dossier(
        QStringLiteral("NAIADES"),
        {QStringLiteral("*.CSV"), QStringLiteral("*.XLS"), QStringLiteral("*.pdf")});
    const int code = dossier.decompresser(archive, {});
    if (code != codeZip::SUCCES) return erreurDecompression(code);
    const QString stations = dossier.membre(QStringLiteral("Stations.CSV"));
    if (stations.isEmpty()) return texteExtraitCode::STATIONS_ABSENTES;
    QByteArray octets;
    if (!dossier.prendre(stations, octets)) return texteChargement::illisible(stations);
    QSet<QString> comptees;
    QString erreur = integrerStationsNaiades(octets, options, progression, bilan, comptees);
    if (!erreur.isEmpty()) return erreur;
    const QString analyses = dossier.membre(QStringLiteral("Analyses.CSV"));
    if (analyses.isEmpty()) return {};
    if (!dossier.prendre(analyses, octets)) return texteChargement::illisible(analyses);
    return integrerOctets(std::move(octets), EnTeteCode::Naiades, options, progression, reponses,
                          bilan, comptees);
}

QString importerQualiteau(const QString &fichier, OptionsIntegration &options,
                          Progression &progression, const ReponsesIntegration &reponses,
                          BilanAnalyses &bilan)
{
    if (!estZip(fichier)) {
        const QString nom = QFileInfo(fichier).fileName();
        if (!nom.startsWith(QLatin1String("DB_"), Qt::CaseInsensitive))
            return QStringLiteral("Le fichier ") + nom +
                   QStringLiteral(" n'est pas une extraction QUALIT'EAU (DB_*.csv).");
        return chargerEtIntegrer(fichier, enTeteParNom(nom), options, progression, reponses, bilan);
    }
    DossierTravail dossier(
        QStringLiteral("QUALITEAU"),
        {QStringLiteral("*.CSV"), QStringLiteral("*.XLS"), QStringLiteral("*.pdf")});
    const int code = dossier.decompresser(fichier, QStringLiteral("DB_Extraction*.csv"));
    if (code != codeZip::SUCCES) return erreurDecompression(code);
    // The member bears the archive's name: a name changed on the way (accents lost) is refused.
    const QString attendu = QFileInfo(fichier).completeBaseName() + QStringLiteral(".csv");
    const QString membre = dossier.membre(attendu);
    if (membre.isEmpty()) return texteExtraitCode::NOM_ZIP;
    QByteArray octets;
    if (!dossier.prendre(membre, octets)) return texteChargement::illisible(membre);
    return integrerOctets(std::move(octets), EnTeteCode::QualiteauExtraction, options, progression,
                          reponses, bilan);
}

EnTeteCode enTeteParNom(const QString &nomFichier)
{
    const QString nom = QFileInfo(nomFichier).fileName();
    if (nom.compare(QLatin1String("Analyses.CSV"), Qt::CaseInsensitive) == 0)
        return EnTeteCode::Naiades;
    if (nom.startsWith(QLatin1String("DB_Extraction"), Qt::CaseInsensitive))
        return EnTeteCode::QualiteauExtraction;
    if (nom.startsWith(QLatin1String("DB_"), Qt::CaseInsensitive))
        return EnTeteCode::QualiteauCourt;
    return EnTeteCode::Fichier;
}

QString apercuExtraitCode(const QString &chemin, QStringList &colonnes,
                          QVector<QStringList> &lignes, Progression &progression)
{
    // The stations of a NAIADES archive show in its analyses' columns.
    if (QFileInfo(chemin).fileName().compare(QLatin1String("Stations.CSV"), Qt::CaseInsensitive) ==
        0)
        return {};
    ExtraitCode extrait;
    const QString erreur = chargerExtraitCode(chemin, extrait, progression, enTeteParNom(chemin));
    if (!erreur.isEmpty()) return erreur;
    QStringList codes;
    for (const QString &c : std::as_const(extrait.codes))
        if (!c.isEmpty()) codes << c;
    if (colonnes.isEmpty()) colonnes = codes;
    lignes.reserve(lignes.size() + extrait.nombreLignes());
    for (int l = 0; l < extrait.nombreLignes(); ++l) {
        QStringList &valeurs = lignes.emplace_back(extrait.largeur());
        for (int c = 0; c < extrait.largeur(); ++c)
            valeurs[c] = extrait.valeur(l, c);
    }
    return {};
}

QString importerExtraitCode(const QString &modele, const QString &fichier,
                            OptionsIntegration &options, Progression &progression,
                            const ReponsesIntegration &reponses, BilanAnalyses &bilan)
{
    if (modele == QLatin1String("NAIADES_PC"))
        return importerNaiades(fichier, options, progression, reponses, bilan);
    if (modele == QLatin1String("QUALITEAU_SN"))
        return importerQualiteau(fichier, options, progression, reponses, bilan);
    if (!estZip(fichier))
        return chargerEtIntegrer(fichier, EnTeteCode::Fichier, options, progression, reponses,
                                 bilan);
    // An archive of SEQEAU files: each member in turn.
    const QTemporaryDir dossier;
    const int code = decompresserZip(fichier, QStringLiteral("*.csv;*.txt"), dossier.path());
    if (code != codeZip::SUCCES) return erreurDecompression(code);
    QStringList erreurs;
    for (const QString &membre : fichiersExtraits(dossier.path()))
        if (const QString e =
                chargerEtIntegrer(QDir(dossier.path()).filePath(membre), EnTeteCode::Fichier,
                                  options, progression, reponses, bilan);
            !e.isEmpty())
            erreurs << membre + QStringLiteral(" : ") + e;
    return erreurs.join(u'\n');
}

} // namespace vyk
