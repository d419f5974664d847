#include "import/ImportSandre1997.h"

#include "db/BaseDonnees.h"
#include "db/FichiersTexte.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "import/AnalysesNommees.h"
#include "import/ChampsTrame.h"
#include "import/ChargementTexte.h"
#include "import/EcritureSandre.h"
#include "import/ResolutionIntervenants.h"
#include "monitoring/Factory.h"
#include "monitoring/RattachementOperations.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <cmath>

namespace vyk {

namespace {

using Enregistrement = ImportSandre1997::Enregistrement;
namespace T = texteSandre1997;

struct TypeEnregistrement
{
    const char *type;
    int minimum; // fields, the type included
    int maximum;
    bool parStation; // field 2 is the station
};

// clang-format off
const TypeEnregistrement TYPES[] = {
    {"RSX", 2, 3, false}, {"COM", 2, 3, false}, {"STQ", 2, 17, true}, {"HBR", 3, 5, true},
    {"STM", 3, 5, true}, {"ETH", 3, 3, true}, {"OPH", 4, 13, true}, {"LIF", 4, 8, true},
    {"TXD", 8, 32, true}, {"PRE", 7, 13, true}, {"RHB", 7, 10, true},
};
// clang-format on
const QStringList ENVELOPPE = {QStringLiteral("DEC"), QStringLiteral("DEB"), QStringLiteral("FIN")};
const QStringList REFERENTIEL = {QStringLiteral("TRO"), QStringLiteral("ELH"),
                                 QStringLiteral("DEP"), QStringLiteral("RGN")};

const TypeEnregistrement *typeDe(const QString &type)
{
    for (const TypeEnregistrement &t : TYPES)
        if (type == QLatin1String(t.type)) return &t;
    return nullptr;
}

// A day of the frames: DD/MM/YYYY, YYYY-MM-DD, or DD/MM/YY whose century pivots on the current
// year ("12/05/98" is 1998, not 2098).
QDate lireJour(const QString &texte)
{
    return lireDate(dateSiecle(texte, QDate::currentDate().year())).date();
}

// The fields of one record read as values; the first that cannot be read is kept in `erreur`.
class Champs
{
  public:
    explicit Champs(const Enregistrement &e) : m_e(e) {}
    QString texte(int k) const { return m_e.champ(k); }
    NombreLu nombre(int k)
    {
        const QString t = texte(k);
        if (t.isEmpty()) return std::nullopt;
        const Nombre n = enNombre(t, true);
        if (n.estNombre()) return n.valeur;
        refuser(k, QStringLiteral("n'est pas un nombre"));
        return std::nullopt;
    }
    EntierLu entier(int k)
    {
        const NombreLu n = nombre(k);
        if (!n) return std::nullopt;
        if (*n == std::floor(*n)) return qint64(*n);
        refuser(k, QStringLiteral("n'est pas un nombre entier"));
        return std::nullopt;
    }
    QDate date(int k)
    {
        const QString t = texte(k);
        const QDate d = t.isEmpty() ? QDate() : lireJour(t);
        if (!t.isEmpty() && !d.isValid()) refuser(k, QStringLiteral("n'est pas une date"));
        return d;
    }
    QTime heure(int k)
    {
        const QString t = texte(k);
        if (t.isEmpty()) return {};
        QTime h = QTime::fromString(t, QStringLiteral("HH:mm:ss"));
        if (!h.isValid()) h = QTime::fromString(t, QStringLiteral("HH:mm"));
        if (!h.isValid()) refuser(k, QStringLiteral("n'est pas une heure"));
        return h;
    }
    const QString &erreur() const { return m_erreur; }

  private:
    void refuser(int k, const QString &pourquoi)
    {
        if (m_erreur.isEmpty())
            m_erreur = QStringLiteral("la valeur « %1 » du champ %2 de l'enregistrement %3 ")
                           .arg(texte(k))
                           .arg(k)
                           .arg(m_e.champ(1)) +
                       pourquoi;
    }
    const Enregistrement &m_e;
    QString m_erreur;
};

// One record written in a savepoint of its own: a refused statement leaves the station's other
// rows alone (the server would otherwise abort the whole transaction).
template <typename F> bool dansPointSauvegarde(F ecrire)
{
    Transaction t;
    if (!ecrire()) return false;
    return t.valider();
}

} // namespace

ImportSandre1997::ImportSandre1997(EcritureObjets &ecriture, Progression &progression,
                                   ResolutionIntervenants *intervenants)
    : m_ecriture(ecriture), m_progression(progression), m_intervenants(intervenants)
{
}

QString ImportSandre1997::init(const QString &chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return texteChargement::illisible(chemin);
    const QStringList lignes = decoderTexte(f.readAll()).split(u'\n');
    for (int i = 0; i < lignes.size(); ++i) {
        QString l = lignes[i];
        if (l.endsWith(u'\r')) l.chop(1);
        if (l.trimmed().isEmpty()) continue;
        if (++m_lus > LIGNES_IMPORT_MAX) return texteChargement::TROP_DE_LIGNES;
        Enregistrement e{i + 1, decouperEnregistrementTrame(l)};
        for (QString &c : e.champs)
            c = c.trimmed();
        while (e.champs.size() > 1 && e.champs.last().isEmpty())
            e.champs.removeLast();
        const QString type = e.champs[0].toUpper();
        e.champs[0] = type;
        if (ENVELOPPE.contains(type)) continue;
        if (REFERENTIEL.contains(type)) {
            m_ignores.ajouter(QStringLiteral("enregistrement ") + type);
            continue;
        }
        const TypeEnregistrement *t = typeDe(type);
        if (!t) {
            m_ignores.ajouter(QStringLiteral("enregistrement de type inconnu ") + type);
            continue;
        }
        if (e.champs.size() < t->minimum) {
            refuser(e, QStringLiteral("l'enregistrement %1 a %2 champ(s), %3 au moins attendus")
                           .arg(type)
                           .arg(e.champs.size())
                           .arg(t->minimum));
            continue;
        }
        if (e.champs.size() > t->maximum)
            m_ignores.ajouter(type + QStringLiteral(" : champs au-delà du %1e").arg(t->maximum),
                              int(e.champs.size()) - t->maximum);
        const QString station = t->parStation ? e.champ(2) : QString();
        if (t->parStation && station.isEmpty()) {
            refuser(e, QStringLiteral("l'enregistrement %1 n'a pas de station").arg(type));
            continue;
        }
        if (t->parStation && !m_sites.contains(station)) m_sites.append(station);
        m_parType[type][station].append(e);
    }
    return {};
}

const QVector<Enregistrement> &ImportSandre1997::de(const QString &type,
                                                    const QString &station) const
{
    static const QVector<Enregistrement> aucun;
    const auto t = m_parType.constFind(type);
    if (t == m_parType.constEnd()) return aucun;
    const auto s = t->constFind(station);
    return s == t->constEnd() ? aucun : *s;
}

bool ImportSandre1997::refuser(const Enregistrement &e, const QString &raison)
{
    m_erreurs.append({e.ligne, QStringLiteral("ligne %1").arg(e.ligne), raison});
    return false;
}

QVector<LigneEnErreur> ImportSandre1997::erreurs() const
{
    QVector<LigneEnErreur> triees = m_erreurs;
    std::stable_sort(
        triees.begin(), triees.end(), [](const LigneEnErreur &a, const LigneEnErreur &b) {
            return (a.ligne == 0 ? INT_MAX : a.ligne) < (b.ligne == 0 ? INT_MAX : b.ligne);
        });
    return triees;
}

QString ImportSandre1997::texteErreurs() const
{
    QStringList lignes;
    for (const LigneEnErreur &e : erreurs())
        lignes << (e.origine.isEmpty() ? e.raison : e.origine + QStringLiteral(" : ") + e.raison);
    return lignes.join(u'\n');
}

bool ImportSandre1997::lireOperation(const Enregistrement &e, CleOperation &cle)
{
    Champs c(e);
    cle = {c.texte(2), c.texte(3), c.date(4), c.heure(5), c.entier(6)};
    if (!c.erreur().isEmpty()) return refuser(e, c.erreur());
    if (cle.identifiantPoint.isEmpty() || !cle.date.isValid())
        return refuser(e, QStringLiteral("l'opération de l'enregistrement %1 n'a pas de point "
                                         "ou de date")
                              .arg(e.champ(1)));
    return true;
}

bool ImportSandre1997::extractReseau(const QString &station)
{
    bool ok = true;
    QString erreur;
    if (!m_reseauxLus) {
        m_reseauxLus = true;
        m_progression.message(T::RESEAUX);
        for (const Enregistrement &e : de(QStringLiteral("RSX"), {}))
            if (!dansPointSauvegarde([&] {
                    return m_ecriture.ecrireReseau({{}, e.champ(2), e.champ(3)}, erreur) >= 0;
                }))
                ok = refuser(e, erreur);
        m_progression.message(T::FIN_RESEAUX);
        m_progression.message(T::FERMETURE_RESEAUX);
    }
    for (const QString &type : {QStringLiteral("HBR"), QStringLiteral("STM")})
        for (const Enregistrement &e : de(type, station)) {
            m_progression.message(T::MAJ_STATION + station);
            Champs c(e);
            Reseau r{station, c.texte(3), {}, c.date(4), c.date(5)};
            // The frames write this end for a membership still running.
            if (c.texte(5) == FIN_OUVERTE_SANDRE) r.dateFin = {};
            if (!c.erreur().isEmpty()) {
                ok = refuser(e, c.erreur());
                continue;
            }
            if (!dansPointSauvegarde([&] { return m_ecriture.ecrireReseau(r, erreur) >= 0; }))
                ok = refuser(e, erreur);
        }
    return ok;
}

bool ImportSandre1997::extractPointEauQualite(const QString &station)
{
    bool ok = true;
    QString erreur;
    if (!m_communesLues) {
        m_communesLues = true;
        m_progression.message(T::COMMUNES);
        for (const Enregistrement &e : de(QStringLiteral("COM"), {}))
            if (!dansPointSauvegarde([&] {
                    return m_ecriture.ecrireCommune({e.champ(2), e.champ(3)}, erreur);
                }))
                ok = refuser(e, erreur);
    }
    for (const Enregistrement &e : de(QStringLiteral("STQ"), station)) {
        m_progression.message(T::STATION + station);
        Champs c(e);
        PointEau p =
            Factory::GetPointEau(station, c.texte(3), QString(),
                                 Factory::GetCoordonnee(c.nombre(4), c.nombre(5), c.entier(6)),
                                 c.nombre(16), c.texte(7), c.texte(17));
        const QDate creation = c.date(9);
        p.infos = Factory::GetInfosStations(
            creation.isValid() ? creation.toString(QStringLiteral("dd/MM/yyyy")) : QString(),
            c.texte(10), c.entier(11), c.texte(8), c.entier(12), c.nombre(13), c.entier(14),
            c.entier(15));
        if (!c.erreur().isEmpty()) {
            ok = refuser(e, c.erreur());
            continue;
        }
        if (!dansPointSauvegarde([&] { return m_ecriture.ecrirePointEau(p, erreur) >= 0; }))
            ok = refuser(e, erreur);
    }
    for (const Enregistrement &e : de(QStringLiteral("ETH"), station)) {
        m_progression.message(T::NOMS);
        if (!dansPointSauvegarde([&] {
                return m_ecriture.ecrirePointEau(Factory::GetPointEau(station, e.champ(3)),
                                                 erreur) >= 0;
            }))
            ok = refuser(e, erreur);
    }
    return ok;
}

bool ImportSandre1997::extractPointEau(const QString &station)
{
    // Each point the station's operations use, from the earliest date it is used at.
    QMap<QString, QDate> points;
    for (const QString &type : {QStringLiteral("OPH"), QStringLiteral("LIF"), QStringLiteral("TXD"),
                                QStringLiteral("PRE"), QStringLiteral("RHB")})
        for (const Enregistrement &e : de(type, station)) {
            const QDate d = lireJour(e.champ(4));
            if (e.champ(3).isEmpty() || !d.isValid()) continue; // refused with its operation
            QDate &premiere = points[e.champ(3)];
            if (!premiere.isValid() || d < premiere) premiere = d;
        }
    QString erreur;
    for (auto p = points.cbegin(); p != points.cend(); ++p)
        if (!dansPointSauvegarde([&] {
                return m_ecriture.ecrirePointPrelevement(
                           Factory::getPointPrelevement(station, p.key(), QString(), p.value()),
                           erreur) >= 0;
            })) {
            signaler(QStringLiteral("station %1 : ").arg(station) + erreur);
            return false;
        }
    return true;
}

namespace {

EntierLu methode(const QString &code, ElementsIgnores &ignores)
{
    if (code.isEmpty()) return std::nullopt;
    if (!lireLie(QStringLiteral("SELECT Code FROM METHODES WHERE Code = ?"), {code}).isNull() &&
        estNombre(code))
        return qint64(enNombre(code).valeur);
    ignores.ajouter(QStringLiteral("OPH : méthode inconnue ") + code);
    return std::nullopt;
}

} // namespace

bool ImportSandre1997::intervenant(const Enregistrement &e, int position, EntierLu &code)
{
    code.reset();
    if (!m_intervenants || e.champ(position).isEmpty()) return true;
    QVariant v;
    QString raison;
    // The frames give SANDRE codes, or the SIRET number (14 digits) of an organisation that has
    // none.
    static const QRegularExpression siret(QStringLiteral("^\\d{14}$"));
    const QString origine =
        siret.match(e.champ(position)).hasMatch() ? QStringLiteral("1") : QStringLiteral("SANDRE");
    if (!m_intervenants->resoudre(e.champ(position), origine, {}, v, raison)) {
        m_arret = m_intervenants->arret();
        return refuser(e, raison);
    }
    if (!v.isNull()) code = qint64(v.toDouble());
    return true;
}

bool ImportSandre1997::extractOperationsPrelevement(const QString &station)
{
    bool ok = true;
    QString erreur;
    m_progression.message(T::OPERATIONS);
    for (const Enregistrement &e : de(QStringLiteral("OPH"), station)) {
        m_progression.message(T::OPERATIONS + T::LIGNE + QString::number(e.ligne));
        CleOperation cle;
        if (!lireOperation(e, cle)) {
            ok = false;
            continue;
        }
        Champs c(e);
        Operation o = Factory::GetOperation(cle, c.date(7), c.heure(8), c.texte(12));
        if (!intervenant(e, 10, o.codePreleveur) || !intervenant(e, 11, o.codeDeterminateur) ||
            !intervenant(e, 13, o.codeProducteur)) {
            ok = false;
            if (m_arret) return false;
            continue;
        }
        o.methodeAnalyse = methode(c.texte(9), m_ignores);
        if (!c.erreur().isEmpty()) {
            ok = refuser(e, c.erreur());
            continue;
        }
        // The operation and its sample.
        if (!dansPointSauvegarde([&] {
                return m_ecriture.ecrireOperation(o, erreur) >= 0 &&
                       m_ecriture.ecrirePrelevementOperation(cle, erreur) >= 0;
            }))
            ok = refuser(e, erreur);
    }
    return ok;
}

bool ImportSandre1997::extractListeFaunistiques(const QString &station)
{
    m_progression.message(T::PRELEVEMENTS);
    bool ok = true;
    QString erreur;
    const auto chaque = [&](const char *type, const auto &ecrire) {
        for (const Enregistrement &e : de(QString::fromLatin1(type), station)) {
            CleOperation cle;
            if (!lireOperation(e, cle)) {
                ok = false;
                continue;
            }
            Champs c(e);
            if (!dansPointSauvegarde([&] { return ecrire(c, cle) && c.erreur().isEmpty(); }))
                ok = refuser(e, c.erreur().isEmpty() ? erreur : c.erreur());
        }
    };
    chaque("LIF", [&](Champs &c, const CleOperation &cle) {
        const EntierLu liste = c.entier(7);
        return c.erreur().isEmpty() &&
               m_ecriture.ecrireEnteteListe(cle, int(liste.value_or(1)), c.texte(8), erreur);
    });
    chaque("TXD", [&](Champs &c, const CleOperation &cle) {
        TaxonDenombre t = Factory::GetTaxonDenombre(cle, c.texte(8));
        t.codeListe = int(c.entier(7).value_or(1));
        for (int i = 0; i < NB_VALEURS_LISTE; ++i)
            t.valeurs[i] = c.nombre(9 + i);
        return c.erreur().isEmpty() && m_ecriture.ecrireTaxon(t, erreur);
    });
    chaque("PRE", [&](Champs &c, const CleOperation &cle) {
        const PrelevementElementaire p = Factory::GetPrelevementElementaire(
            cle, int(c.entier(7).value_or(0)), c.texte(8), c.entier(9), c.texte(10), c.entier(11),
            c.nombre(12), c.texte(13));
        return c.erreur().isEmpty() && m_ecriture.ecrirePrelevementElementaire(p, erreur);
    });
    chaque("RHB", [&](Champs &c, const CleOperation &cle) {
        const ResultatOperation r =
            Factory::GetResultatOperation(cle, c.entier(7), c.entier(9), c.nombre(8), c.entier(10));
        if (!c.erreur().isEmpty() || !m_ecriture.ecrireResultatOperation(r, erreur)) return false;
        m_parametres.insert(c.texte(7));
        return true;
    });
    return ok;
}

bool ImportSandre1997::MiseAJourParametres()
{
    QStringList codes(m_parametres.cbegin(), m_parametres.cend());
    codes.sort();
    bool ok = true;
    for (const QString &code : std::as_const(codes)) {
        m_progression.message(T::PARAMETRES + code);
        QString erreur;
        if (!executerLie(
                QStringLiteral("UPDATE ANALYSES_PARAMETRES SET Actif = '1' WHERE Code = ?"), {code},
                erreur)) {
            signaler(erreur);
            ok = false;
        }
    }
    return ok;
}

namespace {

// One station: found or created (purged in replace mode), then the extractions in their order.
bool integrerStation(ImportSandre1997 &import, EcritureObjets &ecriture, const QString &station,
                     QStringList &erreurs)
{
    QString erreur;
    if (ecriture.ecrirePointEau(Factory::GetPointEau(station), erreur) < 0) {
        erreurs.append(QStringLiteral("station %1 : ").arg(station) + erreur);
        return false;
    }
    // Every extraction runs: a refused record does not keep the others out.
    bool ok = import.extractReseau(station);
    ok = import.extractPointEauQualite(station) && ok;
    ok = import.extractPointEau(station) && ok;
    ok = import.extractOperationsPrelevement(station) && ok;
    return import.extractListeFaunistiques(station) && ok;
}

void remplirBilan(const ImportSandre1997 &import, const BilanObjets &objets, BilanAnalyses &bilan)
{
    bilan.lignesLues = import.enregistrements();
    bilan.stations = int(import.getTabSites().size());
    bilan.stationsCreees = objets.stationsCreees;
    bilan.stationsPurgees = objets.stationsPurgees;
    bilan.pointsCrees = objets.pointsCrees;
    bilan.operationsCreees = objets.operationsCreees;
    bilan.prelevementsCrees = objets.prelevementsCrees;
    bilan.lignesEnErreur += import.erreurs();
}

} // namespace

QString integrerSandre1997(const QString &chemin, OptionsIntegration &options,
                           Progression &progression, const ReponsesIntegration &reponses,
                           BilanAnalyses &bilan, ElementsIgnores &ignores)
{
    EcritureObjets ecriture(options.remplacer, options.execution);
    const bool creerAuDebut = options.creerIntervenants;
    ResolutionIntervenants intervenants(options.creerIntervenants, reponses,
                                        bilan.intervenantsCrees);
    ImportSandre1997 import(ecriture, progression, &intervenants);
    if (const QString refus = import.init(chemin); !refus.isEmpty()) return refus;
    progression.message(T::STATIONS);
    QStringList erreurs;
    QStringList stations;
    const QStringList sites = import.getTabSites();
    for (int i = 0; i < sites.size(); ++i) {
        if (progression.annule()) {
            erreurs.append(texteIntegration::ANNULE);
            bilan.interrompu = true;
            break;
        }
        progression.position(i, sites.size());
        Transaction t;
        const bool ok = integrerStation(import, ecriture, sites[i], erreurs);
        // Replace mode: a station is written whole or not at all, and the run stops there; so
        // does a refused organisation.
        if (!ok && (options.remplacer || import.arret())) {
            t.annuler();
            ecriture.oublierStation(sites[i]);
            bilan.interrompu = true;
            break;
        }
        if (!t.valider()) {
            ecriture.oublierStation(sites[i]);
            erreurs.append(QStringLiteral("station %1 : ").arg(sites[i]) + bd().derniereErreur());
            continue;
        }
        stations.append(QString::number(ecriture.station(sites[i])));
    }
    progression.message(T::MAJ_PRELEVEMENTS);
    for (const QString &s : std::as_const(stations))
        rattacherPrelevementsOperations(s);
    import.MiseAJourParametres();
    progression.message(T::LISTE_STATIONS);
    progression.message(T::TERMINE);
    ignores = import.ignores();
    for (const QString &a : ecriture.bilan().avertissements)
        ignores.ajouter(a);
    ignores.journaliser(chemin);
    remplirBilan(import, ecriture.bilan(), bilan);
    if (!bilan.intervenantsCrees.isEmpty() && !creerAuDebut)
        bilan.messageIntervenants = texteIntegration::INTERVENANTS_CREES + u' ' +
                                    bilan.intervenantsCrees.join(QStringLiteral(", "));
    erreurs.prepend(import.texteErreurs());
    return erreurs.filter(QRegularExpression(QStringLiteral("\\S"))).join(u'\n');
}

QString listerSitesSandre1997(const QString &chemin, QVector<QStringList> &sites)
{
    EcritureObjets rien(false);
    ImportSandre1997 import(rien, progressionNulle());
    sites.clear();
    const QString refus = import.init(chemin);
    if (refus.isEmpty())
        for (const QString &s : import.getTabSites())
            sites.append({s});
    return refus;
}

} // namespace vyk
