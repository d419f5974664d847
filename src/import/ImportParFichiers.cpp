#include "import/ImportParFichiers.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "import/AnalysesNommees.h"
#include "import/ChargementTexte.h"
#include "import/ImportSandre1997.h"
#include "import/ResolutionIntervenants.h"
#include "import/Zip.h"
#include "monitoring/Factory.h"
#include "monitoring/RattachementOperations.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vyk {

namespace {

// The columns of the regional files (those of the analysis files are the import table's, see
// AnalysesNommees.cpp).
namespace ch {
enum : int
{
    Station,
    NomStation,
    TypeStation,
    X,
    Y,
    Projection,
    Altitude,
    Commune,
    NomCommune,
    Localisation,
    Commentaires,
    DateFermeture,
    Pk,
    DateCreation,
    Finalite,
    HER1,
    CodeHydro,
    Strahler,
    SuperficieBV,
    TypeFR,
    Canal,
    MasseEauCode,
    MasseEauLibelle,
    CodeReseau,
    LibelleReseau,
    DateDebut,
    DateFin,
    Identifiant,
    Support,
    NomPoint,
    Profondeur,
    Date,
    Heure,
    DateFinOperation,
    HeureFinOperation,
    Protocole,
    Qualification,
    Statut,
    Taxon,
    Denombrement,
    Parametre,
    Resultat,
    Unite,
    Remarque,
    Methode,
    Accreditation,
    Etat,
    Annee,
    Valeur,
    Preleveur,
    Determinateur,
    Producteur
};
} // namespace ch

// Names each column is known by in the OSUR and Adour-Garonne files and in the national
// element names they borrow.
// clang-format off
const QVector<NomsColonne> &nomsChamps()
{
    static const QVector<NomsColonne> noms = {
        {ch::Station, {"code_station", "CdStationMesureEauxSurface", "code_qualitometre", "codeBSS", "cd_station", "station"}},
        {ch::NomStation, {"libelle_station", "nom_station", "LbStationMesureEauxSurface", "nom"}},
        {ch::TypeStation, {"type_station"}},
        {ch::X, {"x", "coordonnee_x", "coord_x", "CoordXStationMesureEauxSurface"}},
        {ch::Y, {"y", "coordonnee_y", "coord_y", "CoordYStationMesureEauxSurface"}},
        {ch::Projection, {"projection", "code_projection", "TypeProjection", "ProjCoordStationMesureEauxSurface"}},
        {ch::Altitude, {"altitude"}},
        {ch::Commune, {"code_commune", "insee", "code_insee", "CdCommune", "commune"}},
        {ch::NomCommune, {"libelle_commune", "nom_commune", "LbCommune"}},
        {ch::Localisation, {"localisation", "localisation_precise"}},
        {ch::Commentaires, {"commentaires", "commentaire"}},
        {ch::DateFermeture, {"date_fermeture", "date_arret", "DateArretActivite"}},
        {ch::Pk, {"pk", "point_kilometrique"}},
        {ch::DateCreation, {"date_creation", "date_mise_en_service", "DateCreationStationMesureEauxSurface"}},
        {ch::Finalite, {"finalite"}},
        {ch::HER1, {"her1", "her_niveau1", "her", "hydroecoregion"}},
        {ch::CodeHydro, {"code_hydro", "code_cours_eau", "CdEntiteHydrographique", "code_troncon"}},
        {ch::Strahler, {"rang_strahler", "strahler"}},
        {ch::SuperficieBV, {"superficie_bv", "superficie_bassin_versant", "bassin_versant_superficie"}},
        {ch::TypeFR, {"type_fr", "type_cours_eau"}},
        {ch::Canal, {"canal"}},
        {ch::MasseEauCode, {"code_masse_eau", "code_masse_deau", "CdMasseDEau"}},
        {ch::MasseEauLibelle, {"libelle_masse_eau", "nom_masse_deau", "nom_masse_eau"}},
        {ch::CodeReseau, {"code_reseau", "CdRdd", "code_sandre_reseau", "reseau"}},
        {ch::LibelleReseau, {"libelle_reseau", "nom_reseau", "NomRdd"}},
        {ch::DateDebut, {"date_debut", "date_entree", "date_debut_reseau"}},
        {ch::DateFin, {"date_fin", "date_sortie", "date_fin_reseau"}},
        {ch::Identifiant, {"identifiant", "identifiant_point", "code_point", "code_site"}},
        {ch::Support, {"code_support", "CdSupport", "support"}},
        {ch::NomPoint, {"libelle_site", "nom_site", "libelle_point", "nom_point"}},
        {ch::Profondeur, {"profondeur", "profondeur_recommandee"}},
        {ch::Date, {"date_prelevement", "date_operation", "DatePrel", "date"}},
        {ch::Heure, {"heure_prelevement", "heure_operation", "HeurePrel", "heure"}},
        {ch::DateFinOperation, {"date_fin_operation", "date_fin_prelevement"}},
        {ch::HeureFinOperation, {"heure_fin_operation", "heure_fin_prelevement", "heure_fin"}},
        {ch::Protocole, {"protocole", "code_protocole", "protocole_biologique"}},
        {ch::Qualification, {"code_qualification", "qualification"}},
        {ch::Statut, {"code_statut", "statut"}},
        {ch::Taxon, {"code_taxon", "CdAppelTaxon", "taxon"}},
        {ch::Denombrement, {"denombrement", "effectif", "abondance", "RsTaxRep", "nombre"}},
        {ch::Parametre, {"code_parametre", "CdParametre", "parametre"}},
        {ch::Resultat, {"resultat", "RsAna", "RsPar"}},
        {ch::Unite, {"code_unite", "CdUniteMesure", "unite"}},
        {ch::Remarque, {"code_remarque", "CdRqAna", "remarque"}},
        {ch::Methode, {"code_methode", "CdMethode", "methode"}},
        {ch::Accreditation, {"code_accreditation", "accreditation"}},
        {ch::Etat, {"code_etat", "CdEtat", "etat"}},
        {ch::Annee, {"annee", "annee_etat", "date_etat"}},
        {ch::Valeur, {"valeur", "valeur_etat", "classe"}},
        {ch::Preleveur, {"code_preleveur", "CdPreleveur"}},
        {ch::Determinateur, {"code_determinateur", "CdDeterminateur"}},
        {ch::Producteur, {"code_producteur", "CdProducteur"}},
    };
    return noms;
}

// The columns each kind of file is read for; the others are reported.
QVector<int> champsDe(FichierRegional type)
{
    using F = FichierRegional;
    switch (type) {
    case F::Reseau: return {ch::Station, ch::CodeReseau, ch::LibelleReseau, ch::DateDebut, ch::DateFin};
    case F::Station:
        return {ch::Station, ch::NomStation, ch::TypeStation, ch::X, ch::Y, ch::Projection, ch::Altitude, ch::Commune, ch::NomCommune,
                ch::Localisation, ch::Commentaires, ch::DateFermeture, ch::Pk, ch::DateCreation, ch::Finalite, ch::HER1,
                ch::CodeHydro, ch::Strahler, ch::SuperficieBV, ch::TypeFR, ch::Canal, ch::MasseEauCode, ch::MasseEauLibelle};
    case F::Site:
        return {ch::Station, ch::Identifiant, ch::Support, ch::NomPoint, ch::DateDebut, ch::DateFin, ch::X, ch::Y, ch::Projection,
                ch::Profondeur, ch::Commentaires};
    case F::ConditionsBio:
        return {ch::Station, ch::Identifiant, ch::Support, ch::Date, ch::Heure, ch::DateFinOperation, ch::HeureFinOperation,
                ch::Commentaires, ch::Protocole, ch::Qualification, ch::Statut, ch::Localisation,
                ch::Preleveur, ch::Determinateur, ch::Producteur, ch::Parametre, ch::Resultat, ch::Unite, ch::Methode};
    case F::ConditionsPc:
        return {ch::Station, ch::Identifiant, ch::Support, ch::Date, ch::Heure, ch::DateFinOperation, ch::HeureFinOperation,
                ch::Commentaires, ch::Protocole, ch::Qualification, ch::Statut, ch::Localisation, ch::Parametre,
                ch::Resultat, ch::Unite, ch::Remarque, ch::Preleveur, ch::Determinateur,
                ch::Producteur};
    case F::HydroBio:
        return {ch::Station, ch::Identifiant, ch::Support, ch::Date, ch::Heure, ch::Protocole, ch::Taxon, ch::Denombrement,
                ch::Parametre, ch::Resultat, ch::Unite, ch::Remarque, ch::Accreditation};
    case F::Etats: return {ch::Station, ch::Etat, ch::Annee, ch::Valeur, ch::Commentaires};
    case F::Analyses: break;
    }
    return {};
}
// clang-format on

QVector<NomsColonne> nomsDe(FichierRegional type)
{
    if (type == FichierRegional::Analyses) return nomsAnalysesNommees();
    QVector<NomsColonne> noms;
    for (const int c : champsDe(type))
        noms.append(nomsChamps().at(c));
    return noms;
}

int champStation(FichierRegional type)
{
    return type == FichierRegional::Analyses ? int(ColonneImport::CodeStation) : ch::Station;
}

QDate jourLu(const QString &texte)
{
    return lireDate(dateSiecle(texte, QDate::currentDate().year())).date();
}

QTime heureLue(const QString &texte)
{
    const QString h = heureSandre(texte);
    return h.isEmpty() ? QTime() : QTime::fromString(h, QStringLiteral("HH:mm:ss"));
}

NombreLu nombreLu(const QString &texte)
{
    const Nombre n = enNombre(texte, true);
    return n.estNombre() ? NombreLu(n.valeur) : std::nullopt;
}

EntierLu entierLu(const QString &texte)
{
    const NombreLu n = nombreLu(texte);
    return n ? EntierLu(qint64(*n)) : std::nullopt;
}

// The point of a row: its identifier, else its support on two digits and point 1.
QString identifiantDe(const QString &identifiant, const QString &support)
{
    if (!identifiant.isEmpty()) return identifiant;
    const QString s = support.isEmpty() ? QStringLiteral("3") : support;
    return s.rightJustified(2, u'0') + u'1';
}

} // namespace

struct ImportParFichiers::Ligne
{
    const TableRegionale &table;
    const EnregistrementCsv &enregistrement;
    QString operator()(int champ) const
    {
        return table.colonnes->valeur(enregistrement.champs, champ);
    }
    QString origine() const
    {
        return table.nom + QStringLiteral(", ligne ") + QString::number(enregistrement.ligne);
    }
    CleOperation operation(const QString &station) const
    {
        CleOperation cle;
        cle.codeStation = station;
        cle.identifiantPoint = identifiantDe((*this)(ch::Identifiant), (*this)(ch::Support));
        cle.date = jourLu((*this)(ch::Date));
        cle.heure = heureLue((*this)(ch::Heure));
        cle.protocoleBiologique = entierLu((*this)(ch::Protocole));
        return cle;
    }
};

ImportParFichiers::ImportParFichiers(EcritureObjets &ecriture, Progression &progression)
    : m_ecriture(ecriture), m_progression(progression)
{
}

QString ImportParFichiers::init(const QString &chemin, const QString &dossierTravail)
{
    QString dossier = chemin;
    QStringList membres;
    if (!QFileInfo(chemin).isDir()) {
        if (!viderDossierTravail(dossierTravail, masquesTravail()))
            return texteChargement::illisible(dossierTravail);
        const int code = decompresserZip(chemin, {}, dossierTravail);
        if (code != codeZip::SUCCES) return erreurDecompression(code);
        dossier = dossierTravail;
        membres = listerArchive(chemin);
    } else {
        membres = fichiersExtraits(chemin);
    }
    QVector<QPair<QString, TableNommee>> tables;
    const QDir d(dossier);
    for (const QString &membre : std::as_const(membres)) {
        const QString nom = QFileInfo(membre).fileName();
        if (nom.isEmpty() || !typeDe(nom)) continue;
        TableNommee table;
        if (const QString e = lireFichierNomme(d.filePath(membre), table); !e.isEmpty())
            return nom + QStringLiteral(" : ") + e;
        tables.append({nom, std::move(table)});
    }
    return init(tables);
}

QString ImportParFichiers::init(const QVector<QPair<QString, TableNommee>> &tables)
{
    m_tables.clear();
    m_sites.clear();
    bool stations = false;
    for (const auto &[nom, table] : tables)
        stations = stations || estFichierStations(nom);
    if (!stations) return texteRegional::SANS_STATIONS;
    // The station files first: the stations come in their order.
    QVector<QPair<QString, TableNommee>> ordre = tables;
    std::stable_sort(ordre.begin(), ordre.end(), [this](const auto &a, const auto &b) {
        return estFichierStations(a.first) && !estFichierStations(b.first);
    });
    for (auto &[nom, table] : ordre)
        if (const auto type = typeDe(nom))
            if (const QString e = ajouterTable(nom, *type, std::move(table)); !e.isEmpty())
                return e;
    return {};
}

QString ImportParFichiers::ajouterTable(const QString &nom, FichierRegional type, TableNommee table)
{
    TableRegionale t;
    t.nom = nom;
    t.type = type;
    t.colonnes.emplace(table.entete, nomsDe(type));
    if (!t.colonnes->presente(champStation(type)))
        return nom + QStringLiteral(" : ") +
               texteColonnesNommees::colonneAbsente(QStringLiteral("code station"));
    for (int i = 0; i < table.lignes.size(); ++i) {
        const QString station = t.colonnes->valeur(table.lignes[i].champs, champStation(type));
        if (station.isEmpty()) continue;
        if (!m_sites.contains(station)) m_sites.append(station);
        t.lignesParStation[station].append(i);
    }
    for (LigneEnErreur l : std::as_const(table.erreurs)) {
        l.origine = nom + QStringLiteral(", ") + l.origine;
        m_erreurs.append(texteColonnesNommees::ligneRefusee(l));
        m_lignesEnErreur.append(l);
    }
    ElementsIgnores colonnes;
    t.colonnes->signalerNonReprises(table.lignes, colonnes);
    for (auto it = colonnes.comptes().cbegin(); it != colonnes.comptes().cend(); ++it)
        m_ignores.ajouter(nom + u'/' + it.key(), it.value());
    t.table = std::move(table);
    m_tables.append(std::move(t));
    return {};
}

template <typename F>
bool ImportParFichiers::parcourir(const QString &station, FichierRegional type, F &&f)
{
    bool ok = true;
    for (const TableRegionale &t : std::as_const(m_tables)) {
        if (t.type != type) continue;
        for (const int i : t.lignesParStation.value(station)) {
            // The user refused an organisation: the run stops, nothing more is asked.
            if (m_arret) return false;
            const Ligne l{t, t.table.lignes[i]};
            QString raison;
            if (!f(l, raison)) ok = refuser(l, raison) && ok;
        }
    }
    return ok;
}

bool ImportParFichiers::refuser(const Ligne &l, const QString &raison)
{
    LigneEnErreur e;
    e.origine = l.origine();
    e.ligne = int(l.enregistrement.ligne);
    e.raison = raison;
    m_lignesEnErreur.append(e);
    m_erreurs.append(texteColonnesNommees::ligneRefusee(e));
    return false;
}

bool ImportParFichiers::intervenant(const Ligne &l, int champ, EntierLu &code, QString &raison)
{
    code.reset();
    if (!m_intervenants || l(champ).isEmpty()) return true;
    QVariant v;
    // These files give national codes.
    if (!m_intervenants->resoudre(l(champ), QStringLiteral("SANDRE"), {}, v, raison)) {
        m_arret = m_intervenants->arret();
        return false;
    }
    if (!v.isNull()) code = qint64(v.toDouble());
    return true;
}

bool ImportParFichiers::extractReseau(const QString &station)
{
    return parcourir(station, FichierRegional::Reseau, [&](const Ligne &l, QString &raison) {
        const Reseau r = Factory::GetReseau(station, l(ch::CodeReseau), l(ch::LibelleReseau),
                                            jourLu(l(ch::DateDebut)), jourLu(l(ch::DateFin)));
        return m_ecriture.ecrireReseau(r, raison) >= 0;
    });
}

bool ImportParFichiers::extractPointEauQualite(const QString &station)
{
    return parcourir(station, FichierRegional::Station, [&](const Ligne &l, QString &raison) {
        if (!m_ecriture.ecrireCommune(Factory::GetCommune(l(ch::Commune), l(ch::NomCommune)),
                                      raison))
            return false;
        const QDate creation = jourLu(l(ch::DateCreation));
        const InfosStation infos = Factory::GetInfosStations(
            creation.isValid() ? creation.toString(QStringLiteral("dd/MM/yyyy")) : QString(),
            l(ch::Finalite), entierLu(l(ch::HER1)), l(ch::CodeHydro), entierLu(l(ch::Strahler)),
            nombreLu(l(ch::SuperficieBV)), entierLu(l(ch::TypeFR)), entierLu(l(ch::Canal)));
        const PointEau p = Factory::GetPointEau(
            station, l(ch::NomStation), l(ch::TypeStation),
            Factory::GetCoordonnee(nombreLu(l(ch::X)), nombreLu(l(ch::Y)),
                                   entierLu(l(ch::Projection))),
            nombreLu(l(ch::Altitude)), l(ch::Commune), l(ch::Localisation), l(ch::Commentaires),
            jourLu(l(ch::DateFermeture)), entierLu(l(ch::Pk)), infos);
        if (m_ecriture.ecrirePointEau(p, raison) < 0) return false;
        return l(ch::MasseEauCode).isEmpty() ||
               m_ecriture.ecrireMasseEau(
                   Factory::GetMasseEau(station, l(ch::MasseEauCode), l(ch::MasseEauLibelle)),
                   raison);
    });
}

bool ImportParFichiers::extractPointEau(const QString &station)
{
    return parcourir(station, FichierRegional::Site, [&](const Ligne &l, QString &raison) {
        const PointPrelevement p = Factory::getPointPrelevement(
            station, identifiantDe(l(ch::Identifiant), l(ch::Support)), l(ch::NomPoint),
            jourLu(l(ch::DateDebut)), jourLu(l(ch::DateFin)),
            Factory::GetCoordonnee(nombreLu(l(ch::X)), nombreLu(l(ch::Y)),
                                   entierLu(l(ch::Projection))),
            nombreLu(l(ch::Profondeur)), l(ch::Commentaires));
        return m_ecriture.ecrirePointPrelevement(p, raison) >= 0;
    });
}

bool ImportParFichiers::extractConditions(const QString &station, FichierRegional type)
{
    return parcourir(station, type, [&](const Ligne &l, QString &raison) {
        Operation o =
            Factory::GetOperation(l.operation(station), jourLu(l(ch::DateFinOperation)),
                                  heureLue(l(ch::HeureFinOperation)), l(ch::Commentaires));
        o.qualification = entierLu(l(ch::Qualification));
        o.statut = entierLu(l(ch::Statut));
        o.localisation = l(ch::Localisation);
        if (!intervenant(l, ch::Preleveur, o.codePreleveur, raison) ||
            !intervenant(l, ch::Determinateur, o.codeDeterminateur, raison) ||
            !intervenant(l, ch::Producteur, o.codeProducteur, raison))
            return false;
        if (!o.cle.date.isValid()) {
            raison = QStringLiteral("la date de l'opération n'est pas une date");
            return false;
        }
        if (m_ecriture.ecrireOperation(o, raison) < 0) return false;
        if (l(ch::Parametre).isEmpty()) return true;
        if (type == FichierRegional::ConditionsBio)
            return ecrireMesureEnvironnement(l, o.cle, raison);
        ajouterMesureTerrain(l, station);
        return true;
    });
}

bool ImportParFichiers::ecrireMesureEnvironnement(const Ligne &l, const CleOperation &cle,
                                                  QString &raison)
{
    const MesureEnvironnement m =
        Factory::GetMesureEnvironnement(cle, entierLu(l(ch::Parametre)), entierLu(l(ch::Unite)),
                                        nombreLu(l(ch::Resultat)), entierLu(l(ch::Methode)));
    if (!m.parametre)
        raison = QStringLiteral("le paramètre « %1 » n'est pas un code").arg(l(ch::Parametre));
    else if (!m.mesure && !l(ch::Resultat).isEmpty())
        raison = QStringLiteral("la mesure « %1 » n'est pas un nombre").arg(l(ch::Resultat));
    return raison.isEmpty() && m_ecriture.ecrireMesureEnvironnement(m, raison);
}

// A field measure of a physico-chemical operation is an analysis of its sample.
void ImportParFichiers::ajouterMesureTerrain(const Ligne &l, const QString &station)
{
    QStringList &a = m_analyses.ajouterLigne(l.origine());
    a[int(ColonneImport::CodeStation)] = station;
    a[int(ColonneImport::DatePrelvt)] =
        dateSiecle(l(ch::Date) + (l(ch::Heure).isEmpty() ? QString() : u' ' + l(ch::Heure)),
                   QDate::currentDate().year());
    a[int(ColonneImport::CodeSupport)] = l(ch::Support);
    a[int(ColonneImport::CodeParam)] = l(ch::Parametre);
    a[int(ColonneImport::Resultat)] = l(ch::Resultat);
    a[int(ColonneImport::CodeUnite)] = l(ch::Unite);
    a[int(ColonneImport::RemarqueAnalyse)] = l(ch::Remarque);
}

bool ImportParFichiers::extractHydroBio(const QString &station)
{
    return parcourir(station, FichierRegional::HydroBio, [&](const Ligne &l, QString &raison) {
        const CleOperation cle = l.operation(station);
        if (!cle.date.isValid()) {
            raison = QStringLiteral("la date de l'opération n'est pas une date");
            return false;
        }
        if (!l(ch::Taxon).isEmpty()) {
            TaxonDenombre t = Factory::GetTaxonDenombre(cle, l(ch::Taxon));
            t.valeurs[DenombrementA] = nombreLu(l(ch::Denombrement));
            return m_ecriture.ecrireTaxon(t, raison);
        }
        if (l(ch::Parametre).isEmpty()) {
            raison = QStringLiteral("la ligne ne porte ni taxon ni paramètre");
            return false;
        }
        const ResultatOperation r = Factory::GetResultatOperation(
            cle, entierLu(l(ch::Parametre)), entierLu(l(ch::Unite)), nombreLu(l(ch::Resultat)),
            entierLu(l(ch::Remarque)), entierLu(l(ch::Accreditation)));
        return m_ecriture.ecrireResultatOperation(r, raison);
    });
}

bool ImportParFichiers::extractAnalyse(const QString &station, FichierRegional type)
{
    const int annee = QDate::currentDate().year();
    return parcourir(station, type, [&](const Ligne &l, QString &) {
        remplirLigneNommee(*l.table.colonnes, l.enregistrement.champs,
                           m_analyses.ajouterLigne(l.origine()), annee);
        return true;
    });
}

bool ImportParFichiers::extractEtats(const QString &station)
{
    const qint64 id = m_ecriture.station(station);
    return parcourir(station, FichierRegional::Etats, [&](const Ligne &l, QString &raison) {
        const QString annee = l(ch::Annee).right(4);
        const QDate debut = jourLu(QStringLiteral("01/01/") + annee);
        const EntierLu etat = entierLu(l(ch::Etat));
        if (id < 0 || !etat || !debut.isValid()) {
            raison = QStringLiteral("l'état n'a pas de station, de code ou d'année");
            return false;
        }
        const QVector<QVariant> cle = {double(id), double(*etat), QDateTime(debut, QTime(0, 0))};
        const QVector<QVariant> valeurs = {valeurLue(nombreLu(l(ch::Valeur))),
                                           nulSiVide(l(ch::Commentaires))};
        InstructionPreparee maj = bd().preparer(QStringLiteral(
            "UPDATE LIEN_QUALITO_ETATS SET valeur=?, commentaire=? WHERE CodeQualitometre=? "
            "AND CodeEtat=? AND DateDebut=?"));
        if (!maj.executer(valeurs + cle)) {
            raison = bd().derniereErreur();
            return false;
        }
        if (maj.lignesModifiees() > 0) return true;
        InstructionPreparee ajout = bd().preparer(
            QStringLiteral("INSERT INTO LIEN_QUALITO_ETATS (CodeQualitometre, CodeEtat, "
                           "DateDebut, valeur, commentaire) VALUES (?, ?, ?, ?, ?)"));
        if (ajout.executer(cle + valeurs)) return true;
        raison = bd().derniereErreur();
        return false;
    });
}

BilanAnalyses ImportParFichiers::ecrireAnalyses(OptionsIntegration options,
                                                Progression &progression,
                                                const ReponsesIntegration &reponses)
{
    // The stations' purge was the water points': the analyses only add.
    options.remplacer = false;
    options.arretPremiereErreur = false;
    return integrerAnalyses(m_analyses, options, progression, reponses);
}

QString integrerRegional(ImportParFichiers &import, OptionsIntegration &options,
                         Progression &progression, const ReponsesIntegration &reponses,
                         BilanAnalyses &bilan, ElementsIgnores &ignores)
{
    // Replace mode stops at its first bad row: a broken line refuses the whole set before
    // anything is purged or written.
    if (options.remplacer && !import.erreurs().isEmpty()) {
        bilan.lignesEnErreur = import.lignesEnErreur();
        bilan.erreur = import.erreurs().first();
        return bilan.erreur;
    }
    progression.message(texteSandre1997::STATIONS);
    QStringList erreurs;
    const QStringList sites = import.getTabSites();
    for (int i = 0; i < sites.size(); ++i) {
        if (progression.annule()) {
            erreurs.append(texteIntegration::ANNULE);
            bilan.interrompu = true;
            break;
        }
        progression.position(i, int(sites.size()));
        Transaction t;
        // The station found (purged once in replace mode) or created before its files are read.
        QString raison;
        const bool ok =
            import.ecriture().ecrirePointEau(Factory::GetPointEau(sites[i]), raison) >= 0
                ? import.extraireStation(sites[i])
                : (erreurs.append(sites[i] + QStringLiteral(" : ") + raison), false);
        // Replace mode: a station is written whole or not at all, and the run stops there; a
        // missing organisation the user would not create stops any run.
        if (!ok && (options.remplacer || import.arret())) {
            t.annuler();
            import.ecriture().oublierStation(sites[i]);
            bilan.interrompu = true;
            break;
        }
        // A station whose writes were undone must not be found again under a rolled-back number.
        if (!t.valider()) {
            import.ecriture().oublierStation(sites[i]);
            erreurs.append(QStringLiteral("station %1 : ").arg(sites[i]) + bd().derniereErreur());
        }
    }
    if (!bilan.interrompu) {
        const BilanAnalyses analyses = import.ecrireAnalyses(options, progression, reponses);
        bilan.ajouter(analyses);
        for (const LigneEnErreur &l : analyses.lignesEnErreur)
            erreurs.append(texteColonnesNommees::ligneRefusee(l));
        if (!analyses.erreur.isEmpty() && analyses.lignesEnErreur.isEmpty())
            erreurs.append(analyses.erreur);
        progression.message(texteSandre1997::MAJ_PRELEVEMENTS);
        for (const QString &s : sites)
            if (const qint64 id = import.ecriture().station(s); id >= 0)
                rattacherPrelevementsOperations(QString::number(id));
        for (const QString &s : sites)
            if (!import.extraireApresPrelevements(s) && options.remplacer) break;
    }
    progression.message(texteSandre1997::LISTE_STATIONS);
    progression.message(texteSandre1997::TERMINE);
    ignores = import.ignores();
    bilan.lignesEnErreur = import.lignesEnErreur() + bilan.lignesEnErreur;
    const BilanObjets &objets = import.ecriture().bilan();
    bilan.stationsCreees = objets.stationsCreees + bilan.stationsCreees;
    bilan.stationsPurgees += objets.stationsPurgees;
    bilan.pointsCrees += objets.pointsCrees;
    bilan.operationsCreees += objets.operationsCreees;
    for (const QString &a : objets.avertissements)
        ignores.ajouter(a);
    bilan.erreur = (import.erreurs() + erreurs).join(u'\n');
    return bilan.erreur;
}

QString dossierTravailRegional(const QString &sousDossier)
{
    const QString racine = lireRegistre(reglage::CheminExport, {}, true).trimmed();
    return racine.isEmpty() ? QString() : QDir(racine).filePath(sousDossier);
}

} // namespace vyk
