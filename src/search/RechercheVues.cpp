#include "search/RechercheVues.h"

#include "db/BaseDonnees.h"
#include "db/Tableau.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>

namespace vyk {

namespace {

QString nombre(double v)
{
    return texteValeur(QVariant(v));
}

// The element order of the indicators; a row of a list parameter without unit matches it too.
int rangElement(const QHash<QString, int> &rangs, const ResultatRecherche &r,
                const LigneResultat &l)
{
    const QString parametre = r.texte(l.parametre);
    auto it = rangs.constFind(parametre + u'/' + r.texte(l.unite));
    if (it == rangs.constEnd()) it = rangs.constFind(parametre + u'/');
    return it == rangs.constEnd() ? std::numeric_limits<int>::max() : it.value();
}

QHash<QString, int> rangsElements(const ResultatRecherche &r)
{
    QHash<QString, int> rangs;
    for (int i = 0; i < r.indicateurs.size(); ++i)
        rangs.insert(r.indicateurs[i].code, i);
    return rangs;
}

// The stored value of a result, its "<" or ">" mark taken off.
std::optional<double> valeurResultat(const QString &resultat)
{
    QString t = resultat;
    if (t.startsWith(u'<') || t.startsWith(u'>')) t.remove(0, 1);
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

struct Agregat
{
    QStringList groupe;
    QString code, element;
    long long recherches = 0, detections = 0;
    std::optional<ClasseRecherche> pire;
    double mini = 0, maxi = 0, somme = 0;
    long long valeurs = 0;

    void ajouter(const ResultatRecherche &r, const LigneResultat &l)
    {
        ++recherches;
        if (l.detection) {
            ++detections;
            if (!pire || l.classe.classe > pire->classe ||
                (l.classe.classe == pire->classe && l.classe.couleur > pire->couleur))
                pire = l.classe;
        }
        const auto v = valeurResultat(r.resultat(l));
        if (!v) return;
        mini = valeurs ? std::min(mini, *v) : *v;
        maxi = valeurs ? std::max(maxi, *v) : *v;
        somme += *v;
        ++valeurs;
    }
    QStringList cellules() const
    {
        QStringList c = groupe;
        c << code << element << QString::number(recherches) << QString::number(detections)
          << (pire ? QString::number(pire->classe) : QString());
        if (valeurs == 0) return c << QString() << QString() << QString();
        return c << nombre(mini) << nombre(somme / double(valeurs)) << nombre(maxi);
    }
};

// The group's sort key and shown cells; an empty key leaves the row out.
std::pair<QString, QStringList> groupe(const ResultatRecherche &r, const LigneResultat &l,
                                       Regroupement regroupement)
{
    const StationRecherche &s = r.stations[l.station];
    switch (regroupement) {
    case Regroupement::Station:
        return {s.codeBSS + u'\x1f' + QString::number(s.code), {s.codeBSS, s.nom}};
    case Regroupement::Prelevement:
        return {s.codeBSS + u'\x1f' + QString::number(s.code) + u'\x1f' +
                    l.prelevement().toString(QStringLiteral("yyyyMMddHHmmss")) + u'\x1f' +
                    r.texte(l.numPrelevement).rightJustified(12, u'0'),
                {s.codeBSS, s.nom, l.jour.toString(QStringLiteral("dd/MM/yyyy")),
                 r.texte(l.numPrelevement)}};
    case Regroupement::MasseEau:
        return {s.masseEau, {s.masseEau}};
    case Regroupement::Her:
        return {s.her, {s.her}};
    case Regroupement::Bv:
        return {s.bv, {s.bv}};
    }
    return {};
}

QStringList titresGroupe(Regroupement regroupement)
{
    switch (regroupement) {
    case Regroupement::Station:
        return {QStringLiteral("Identifiant"), QStringLiteral("Station")};
    case Regroupement::Prelevement:
        return {QStringLiteral("Identifiant"), QStringLiteral("Station"),
                QStringLiteral("Prélèvement"), QStringLiteral("numPrelevement")};
    case Regroupement::MasseEau:
        return {QStringLiteral("Masse d'eau")};
    case Regroupement::Her:
        return {QStringLiteral("Code HER")};
    case Regroupement::Bv:
        return {QStringLiteral("Code BV")};
    }
    return {};
}

} // namespace

QString titreDetail(Regroupement regroupement)
{
    switch (regroupement) {
    case Regroupement::Station:
        return QStringLiteral("Détail par station");
    case Regroupement::Prelevement:
        return QStringLiteral("Détail par prélèvements");
    case Regroupement::MasseEau:
        return QStringLiteral("Détail par masses d'eaux");
    case Regroupement::Her:
        return QStringLiteral("Détail par HER");
    case Regroupement::Bv:
        return QStringLiteral("Détail par BV");
    }
    return {};
}

GrilleDetaillee grilleDetaillee(const ResultatRecherche &r, Regroupement regroupement)
{
    const QHash<QString, int> rangs = rangsElements(r);
    std::map<std::tuple<QString, int, QString>, Agregat> agregats;
    for (const LigneResultat &l : r.lignes) {
        auto [cle, cellules] = groupe(r, l, regroupement);
        if (cle.isEmpty()) continue;
        const QString code = r.texte(l.parametre) + u'/' + r.texte(l.unite);
        Agregat &a = agregats[{cle, rangElement(rangs, r, l), code}];
        if (a.recherches == 0) {
            a.groupe = cellules;
            a.code = code;
            a.element = r.texte(l.nomParametre);
        }
        a.ajouter(r, l);
    }
    GrilleDetaillee d;
    d.grille.titres = titresGroupe(regroupement);
    d.grille.titres << QStringLiteral("Code") << QStringLiteral("Element")
                    << QStringLiteral("Nb recherches") << QStringLiteral("nb détections")
                    << QStringLiteral("Classe max") << QStringLiteral("Mini")
                    << QStringLiteral("Moyenne") << QStringLiteral("Maxi");
    for (const auto &[cle, a] : agregats) {
        d.grille.lignes << a.cellules();
        d.couleurs << (a.pire ? a.pire->couleur : -1);
    }
    return d;
}

namespace {

// Coordinates by station code from a SELECT of (code, X, Y); the first kept.
void lirePoints(const Tableau &t, QHash<qint64, PointWgs84> &points)
{
    for (int l = 0; l < t.nbLignes(); ++l) {
        const qint64 code = t(l, 0).toLongLong();
        const double x = t(l, 1).toDouble(), y = t(l, 2).toDouble();
        if (points.contains(code) || t(l, 1).isNull() || t(l, 2).isNull() || x == 0 || y == 0)
            continue;
        points.insert(code, PointWgs84{{}, x, y});
    }
}

} // namespace

bool pointsWgs84(const ResultatRecherche &r, QVector<PointWgs84> &points)
{
    points.clear();
    std::set<int> trouvees;
    for (const LigneResultat &l : r.lignes)
        trouvees.insert(l.station);
    if (trouvees.empty()) return true;
    QStringList codes;
    for (int s : trouvees)
        codes << QString::number(r.stations[s].code);
    const QString dans = QStringLiteral(" IN (") + codes.join(u',') + u')';
    long nb = 0;
    Tableau localisations, stations;
    if (!bd().ExtraireRecords(QStringLiteral("SELECT CodeQualitometre, X, Y FROM "
                                             "QUALITOMETRE_LOCALISATIONS WHERE CodeProjection IN "
                                             "(16, 31, 40) AND CodeQualitometre") +
                                  dans +
                                  QStringLiteral(" ORDER BY CodeQualitometre, CodeProjection"),
                              nb, localisations) ||
        !bd().ExtraireRecords(QStringLiteral("SELECT CodeQualitometre, X, Y FROM QUALITOMETRES "
                                             "WHERE TypeProjection IN (16, 31, 40) AND "
                                             "CodeQualitometre") +
                                  dans,
                              nb, stations))
        return false;
    QHash<qint64, PointWgs84> parCode;
    lirePoints(localisations, parCode);
    lirePoints(stations, parCode);
    for (int s : trouvees) {
        const auto it = parCode.constFind(r.stations[s].code);
        if (it == parCode.constEnd()) continue;
        PointWgs84 p = it.value();
        p.identifiant = r.stations[s].codeBSS;
        points << p;
    }
    return true;
}

QUrl urlCarte(const QVector<PointWgs84> &points)
{
    QString chemin = QStringLiteral("https://www.google.com/maps/dir/");
    for (const PointWgs84 &p : points)
        chemin += QString::number(p.latitude, 'f', 6) + u',' +
                  QString::number(p.longitude, 'f', 6) + u'/';
    return QUrl(chemin);
}

} // namespace vyk
