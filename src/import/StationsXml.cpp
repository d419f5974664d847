#include "import/StationsXml.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "import/EcritureSandre.h"
#include "import/EnTeteLabo.h"
#include "import/LectureSandre.h"
#include "monitoring/PointsPrelevement.h"
#include "monitoring/Qualitometre.h"

namespace vyk {

namespace {

const QString STATION = QStringLiteral("StationMesureEauxSurface");

bool lireStations(const QString &chemin, QVector<NoeudXml> &stations, QString &erreur,
                  Progression *progression)
{
    ParcoursSandre p;
    p.estUnite = [](QStringView nom, const QStringList &) {
        return nom.compare(STATION, Qt::CaseInsensitive) == 0;
    };
    p.unite = [&](const NoeudXml &n, const QStringList &) { stations.append(n); };
    return parcourirSandre(chemin, p, erreur, progression);
}

qint64 codeEntier(const QVariant &v)
{
    return qint64(v.toDouble());
}

// The next number of a referential whose codes are numbers, under the table's lock.
qint64 codeSuivant(const QString &table, const QString &colonne)
{
    bd().verrouiller(table);
    const QVariant max =
        bd().valeur(QStringLiteral("SELECT Max(") + colonne + QStringLiteral(") FROM ") + table);
    return max.isNull() ? 1 : codeEntier(max) + 1;
}

class IntegrationStation
{
  public:
    IntegrationStation(const NoeudXml &s, BilanStationsXml &bilan) : m_s(s), m_bilan(bilan) {}

    bool integrer(bool remplacer, QString &erreur)
    {
        m_code = m_s.valeur({u"CdStationMesureEauxSurface"});
        if (m_code.isEmpty()) return refuser(QStringLiteral("la station n'a pas de code"), erreur);
        Transaction t;
        bd().verrouiller(QStringLiteral("QUALITOMETRES"));
        if (const auto stockee = trouverQualitometreParCode(m_code)) {
            m_id = stockee->code;
            if (remplacer && !purgerDonneesStation(m_id, m_code, erreur)) return false;
        } else {
            m_id = creerStationSandre(m_code, {}, {}, TYPE_STATION_DEFAUT, erreur);
            if (m_id < 0) return false;
        }
        if (!description(erreur) || !bassin(erreur) || !massesEau(erreur) ||
            !referentiels(erreur) || !reseaux(erreur) || !points(erreur))
            return false;
        if (!t.valider()) return refuser(bd().derniereErreur(), erreur);
        ++m_bilan.integrees;
        return true;
    }

    const QString &code() const { return m_code; }

  private:
    static bool refuser(const QString &raison, QString &erreur)
    {
        erreur = raison;
        return false;
    }

    bool description(QString &erreur)
    {
        ValeursLigne v(QStringLiteral("QUALITOMETRES"));
        v.texte("Nom", m_s.enfant(u"LbStationMesureEauxSurface"));
        v.texte("Localisation", m_s.enfant(u"LocPreciseStationMesureEauxSurface"));
        v.texte("Finalite", m_s.enfant(u"FinaliteStationMesureEauxSurface"));
        v.texte("Commentaires", m_s.enfant(u"ComStationMesureEauxSurface"));
        v.nombre("X", m_s.enfant(u"CoordXStationMesureEauxSurface"));
        v.nombre("Y", m_s.enfant(u"CoordYStationMesureEauxSurface"));
        v.nombre("TypeProjection", m_s.enfant(u"ProjStationMesureEauxSurface"));
        v.nombre("pk", m_s.enfant(u"PkPointTronconEntiteHydroPrincipale"));
        v.date("DateCreation", m_s.enfant(u"DateCreationStationMesureEauxSurface"));
        v.texte("code_hydro",
                m_s.chemin({u"TronconEntiteHydrographiquePrincipale", u"CdTronconHydrographique"}));
        v.texte("riviere", m_s.chemin({u"EntiteHydroStation", u"NomEntiteHydrographique"}));
        if (const NoeudXml *commune = m_s.chemin({u"StationSitueeCommune", u"CdCommune"})) {
            commune->lu = true;
            // The station's commune is a number in the schema: a code such as "2A004" is kept out
            // rather than turned into another commune.
            if (commune->texte.isEmpty() || estNombre(commune->texte))
                v.nombre("CodeCommune", commune);
            else
                m_bilan.avertissements.append(
                    QStringLiteral("Station %1 : la commune « %2 » n'est pas reprise, le code "
                                   "commune d'une station est numérique.")
                        .arg(m_code, commune->texte));
        }
        if (!v.erreur().isEmpty()) return refuser(v.erreur(), erreur);
        if (!v.mettreAJour({QStringLiteral("CodeQualitometre")}, {m_id}, erreur)) return false;
        // A surface-water station; a type already stored (a lake, a large river) stays.
        return executerLie(QStringLiteral("UPDATE QUALITOMETRES SET typeStation = ? WHERE "
                                          "CodeQualitometre = ? AND typeStation IS NULL"),
                           {TYPE_STATION_DEFAUT, m_id}, erreur);
    }

    bool bassin(QString &erreur)
    {
        const NoeudXml *entite = m_s.chemin({u"EntiteHydroStation", u"CdEntiteHydrographique"});
        if (!entite || entite->texte.isEmpty()) return true;
        entite->lu = true;
        QVariant codeBV = lireLie(
            QStringLiteral("SELECT codeBV FROM BASSINS_VERSANTS WHERE Code = ?"), {entite->texte});
        if (codeBV.isNull()) {
            const qint64 nouveau =
                codeSuivant(QStringLiteral("BASSINS_VERSANTS"), QStringLiteral("codeBV"));
            ValeursLigne v(QStringLiteral("BASSINS_VERSANTS"));
            v.valeur("codeBV", nouveau);
            v.texte("Code", entite->texte, entite->nom);
            v.valeur("Nom", QLatin1Char('<') + entite->texte + QLatin1Char('>'));
            if (!v.erreur().isEmpty()) return refuser(v.erreur(), erreur);
            if (!v.inserer(erreur)) return false;
            codeBV = nouveau;
        }
        return executerLie(QStringLiteral("UPDATE QUALITOMETRES SET codeBassinVersant = ? WHERE "
                                          "CodeQualitometre = ?"),
                           {codeBV, m_id}, erreur);
    }

    bool massesEau(QString &erreur)
    {
        QStringList codes, libelles;
        for (const NoeudXml *m : m_s.enfantsNommes(u"MdoLocStationMesureEauxSurface")) {
            const QString code = m->valeur({u"CdMasseDEau"});
            if (code.isEmpty()) continue;
            codes.append(code);
            libelles.append(m->valeur({u"LbMasseDEau"}));
        }
        // No water body in the message: the stored links stay.
        return codes.isEmpty() || lierMassesEau(m_id, codes, libelles, erreur);
    }

    // The commune and the hydrographic section the station names, added when missing.
    bool referentiels(QString &erreur)
    {
        const QString commune = m_s.valeur({u"StationSitueeCommune", u"CdCommune"});
        if (!commune.isEmpty() &&
            lireLie(QStringLiteral("SELECT CodeCommune FROM COMMUNES WHERE CodeCommune = ?"),
                    {commune})
                .isNull()) {
            ValeursLigne v(QStringLiteral("COMMUNES"));
            v.texte("CodeCommune", commune, QStringLiteral("CdCommune"));
            v.texte("Nom", m_s.chemin({u"StationSitueeCommune", u"LbCommune"}));
            if (!v.erreur().isEmpty()) return refuser(v.erreur(), erreur);
            if (!v.inserer(erreur)) return false;
        }
        const QString troncon =
            m_s.valeur({u"TronconEntiteHydrographiquePrincipale", u"CdTronconHydrographique"});
        if (troncon.isEmpty() ||
            !lireLie(QStringLiteral("SELECT code FROM CODES_HYDRO WHERE code = ?"), {troncon})
                 .isNull())
            return true;
        return executerLie(QStringLiteral("INSERT INTO CODES_HYDRO (code) VALUES (?)"), {troncon},
                           erreur);
    }

    qint64 reseau(const NoeudXml &rsx, QString &erreur)
    {
        const QString code = rsx.valeur({u"RsxStation", u"CodeSandreRdd"});
        const QVariant trouve =
            lireLie(QStringLiteral("SELECT CodeReseau FROM RESEAUX WHERE CodeSandre = ?"), {code});
        if (!trouve.isNull()) return codeEntier(trouve);
        const qint64 nouveau = codeSuivant(QStringLiteral("RESEAUX"), QStringLiteral("CodeReseau"));
        ValeursLigne v(QStringLiteral("RESEAUX"));
        v.valeur("CodeReseau", nouveau);
        v.texte("CodeSandre", code, QStringLiteral("CodeSandreRdd"));
        const QString nom = rsx.valeur({u"RsxStation", u"NomRdd"});
        v.texte("Libelle", nom.isEmpty() ? code : nom, QStringLiteral("NomRdd"));
        if (!v.erreur().isEmpty()) {
            erreur = v.erreur();
            return -1;
        }
        return v.inserer(erreur) ? nouveau : -1;
    }

    bool reseaux(QString &erreur)
    {
        QVector<const NoeudXml *> appartenances;
        for (const NoeudXml *a : m_s.enfantsNommes(u"AppartRsx"))
            if (!a->valeur({u"RsxStation", u"CodeSandreRdd"}).isEmpty()) appartenances.append(a);
        if (appartenances.isEmpty()) return true; // the stored memberships stay
        if (!executerLie(
                QStringLiteral("DELETE FROM LIEN_QUALITO_RESEAUX WHERE CodeQualitometre = ?"),
                {m_id}, erreur))
            return false;
        for (const NoeudXml *a : appartenances) {
            const qint64 r = reseau(*a, erreur);
            if (r < 0) return false;
            ValeursLigne v(QStringLiteral("LIEN_QUALITO_RESEAUX"));
            v.date("DateDebut", a->enfant(u"DateDebutAppartReseauMesure"));
            v.date("DateFin", a->enfant(u"DateFinAppartReseauMesure"), true);
            if (!v.erreur().isEmpty()) return refuser(v.erreur(), erreur);
            // A network met twice keeps the message's last period, as an update would.
            v.valeur("CodeQualitometre", m_id);
            v.valeur("CodeReseau", r);
            if (!executerLie(QStringLiteral("DELETE FROM LIEN_QUALITO_RESEAUX WHERE "
                                            "CodeQualitometre = ? AND CodeReseau = ?"),
                             {m_id, r}, erreur) ||
                !v.inserer(erreur))
                return false;
        }
        return true;
    }

    bool points(QString &erreur);

    const NoeudXml &m_s;
    BilanStationsXml &m_bilan;
    QString m_code;
    qint64 m_id = -1;
};

struct PointStocke
{
    qint64 code;
    QString identifiant;
    QVariant debut;
    bool retenu = false;
};

QVector<PointStocke> pointsStockes(qint64 station)
{
    QVector<PointStocke> points;
    InstructionPreparee lecture =
        bd().preparer(QStringLiteral("SELECT codePoint, identifiant, dateDebut FROM "
                                     "QUALITOMETRES_POINTS WHERE codeQualitometre = ? ORDER BY "
                                     "dateDebut DESC, codePoint DESC"));
    Tableau t;
    if (!lecture.extraire(t, {station})) return points;
    for (int i = 0; i < t.nbLignes(); ++i)
        points.append({codeEntier(t.valeur(i, QStringLiteral("codePoint"))),
                       t.texte(i, QStringLiteral("identifiant")),
                       t.valeur(i, QStringLiteral("dateDebut"))});
    return points;
}

// The stored point a point of the message stands for: the same identifier and start date, else
// the latest of that identifier not already taken.
PointStocke *pointCorrespondant(QVector<PointStocke> &stockes, const QString &identifiant,
                                const QVariant &debut)
{
    PointStocke *meme = nullptr;
    for (PointStocke &p : stockes) {
        if (p.retenu || p.identifiant != identifiant) continue;
        if (p.debut.toDateTime() == debut.toDateTime()) return &p;
        if (!meme) meme = &p;
    }
    return meme;
}

bool IntegrationStation::points(QString &erreur)
{
    const QVector<const NoeudXml *> recus = m_s.enfantsNommes(u"PointPrelEauxSurf");
    if (recus.isEmpty()) return true; // the stored points stay
    bd().verrouiller(QStringLiteral("QUALITOMETRES_POINTS"));
    QVector<PointStocke> stockes = pointsStockes(m_id);
    for (const NoeudXml *p : recus) {
        const QString identifiant = p->valeur({u"CdPointEauxSurf"});
        ValeursLigne v(QStringLiteral("QUALITOMETRES_POINTS"));
        v.texte("identifiant", identifiant, QStringLiteral("CdPointEauxSurf"));
        v.valeur("nom", libellePointSandre(identifiant));
        v.date("dateDebut", p->enfant(u"DateMiseServicePointEauxSurf"));
        v.date("dateFin", p->enfant(u"DateMiseHorServicePointEauxSurf"), true);
        v.nombre("X", p->enfant(u"CoordXPointEauxSurf"));
        v.nombre("Y", p->enfant(u"CoordYPointEauxSurf"));
        v.nombre("TypeProjection", p->enfant(u"ProjPointEauxSurf"));
        v.texte("Commentaires", p->enfant(u"ComPointEauxSurf"));
        if (!v.erreur().isEmpty()) return refuser(v.erreur(), erreur);
        const NoeudXml *debut = p->enfant(u"DateMiseServicePointEauxSurf");
        const QVariant dateDebut =
            debut ? QVariant(lireDate(dateSandre(debut->texte))) : QVariant();
        if (PointStocke *s = pointCorrespondant(stockes, identifiant, dateDebut)) {
            s->retenu = true;
            if (!v.mettreAJour({QStringLiteral("codeQualitometre"), QStringLiteral("codePoint")},
                               {m_id, s->code}, erreur))
                return false;
            continue;
        }
        const qint64 nouveau = codePointSuivant(m_id);
        v.valeur("codeQualitometre", m_id);
        v.valeur("codePoint", nouveau);
        if (!v.inserer(erreur)) return false;
        stockes.append({nouveau, identifiant, dateDebut, true});
    }
    // Points the message no longer describes go, unless an operation hangs on them.
    for (const PointStocke &s : std::as_const(stockes)) {
        if (s.retenu) continue;
        if (!executerLie(
                QStringLiteral("DELETE FROM QUALITOMETRES_POINTS WHERE codeQualitometre = ? "
                               "AND codePoint = ? AND NOT EXISTS (SELECT 1 FROM "
                               "QUALITOMETRES_POINTS_OPERATIONS O WHERE "
                               "O.codeQualitometre = ? AND O.codePoint = ?)"),
                {m_id, s.code, m_id, s.code}, erreur))
            return false;
    }
    return true;
}

} // namespace

QString libellePointSandre(const QString &identifiant)
{
    struct Libelle
    {
        const char *codes;
        const char *libelle;
    };
    // clang-format off
    static const Libelle libelles[] = {
        {"031 272 132", "Eaux"}, {"061", "Sédiment"}, {"041 002", "Poissons"},
        {"071", "Matières en suspension (M.E.S.)"}, {"131", "Macro-invertébrés benthiques"},
        {"101", "Diatomées benthiques"}, {"271", "Macrophytes"}, {"091", "Bryophytes"},
        {"111", "Phytoplanctons"},
    };
    // clang-format on
    if (identifiant.size() == 3)
        for (const Libelle &l : libelles)
            if (QString::fromLatin1(l.codes).split(QLatin1Char(' ')).contains(identifiant))
                return QString::fromUtf8(l.libelle);
    return QStringLiteral("Non renseigné");
}

QString listerStationsXml(const QString &chemin, QVector<QStringList> &apercu,
                          Progression *progression)
{
    apercu.clear();
    QVector<NoeudXml> stations;
    QString erreur;
    if (!lireStations(chemin, stations, erreur, progression)) return erreur;
    for (const NoeudXml &s : std::as_const(stations))
        apercu.append({s.valeur({u"CdStationMesureEauxSurface"}),
                       s.valeur({u"LbStationMesureEauxSurface"}),
                       s.valeur({u"StationSitueeCommune", u"CdCommune"})});
    return {};
}

QString integrerStationsXml(const QString &chemin, bool remplacer, Progression *progression,
                            BilanStationsXml *bilan, ElementsIgnores *ignores)
{
    QVector<NoeudXml> stations;
    QString erreur;
    if (!lireStations(chemin, stations, erreur, progression)) return erreur;
    BilanStationsXml b;
    ElementsIgnores nonRepris;
    QStringList erreurs;
    Progression &prog = progression ? *progression : progressionNulle();
    for (int i = 0; i < stations.size(); ++i) {
        if (prog.annule()) break;
        prog.position(i, stations.size());
        IntegrationStation station(stations[i], b);
        if (!station.integrer(remplacer, erreur))
            erreurs.append(texteImportLabo::ERREUR_STATION + station.code() +
                           QStringLiteral(" : ") + erreur);
        nonRepris.compterNonLus(stations[i]);
    }
    nonRepris.journaliser(chemin);
    if (ignores) *ignores = nonRepris;
    if (bilan) *bilan = b;
    return erreurs.join(QLatin1Char('\n'));
}

} // namespace vyk
