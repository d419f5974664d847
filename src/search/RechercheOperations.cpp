// The search over what the stations' operations hold: taxa counts of their lists (kinds 2 and
// 3), index results (kind 4) and states (kind 5). Their period is the operation's date; their
// grids depend on the station's type.

#include "search/RechercheInterne.h"

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "db/Tableau.h"
#include "monitoring/ReglesAnalyses.h"
#include "schema/Catalogue.h"
#include "search/Selections.h"

#include <algorithm>

namespace vyk::detail {

namespace {

bool taxons(const Contexte &x)
{
    return estGenreTaxons(x.genre);
}

// Index results and states have numeric codes: anything else cannot match and is left out.
QStringList codesPourColonne(const Contexte &x, const QStringList &codes)
{
    if (taxons(x)) return codes;
    QStringList nombres;
    for (const QString &c : codes)
        if (entier(c)) nombres << c.trimmed();
    return nombres;
}

// The elements of the chosen lists (or the one element chosen) with their names.
bool chargerElements(Contexte &x)
{
    const int type = typeListeRecherche(x.c);
    if (!x.c.selections.isEmpty()) {
        QStringList codes;
        for (const QString &code : x.c.selections)
            codes << codesAvecSousListes(code.trimmed(), type);
        for (const MembreSelection &m : membresSelections(codes, type))
            if (!m.codeParametre.trimmed().isEmpty() &&
                !x.elements.contains(m.codeParametre.trimmed()))
                x.elements << m.codeParametre.trimmed();
        x.avecSelection = true;
    } else if (!x.c.parametre.trimmed().isEmpty()) {
        x.elements << x.c.parametre.trimmed();
        x.avecSelection = true;
    }
    const QString noms = taxons(x) ? QStringLiteral("SELECT codeTaxon, nomLatin FROM TAXONS")
                         : x.genre == GenreRecherche::Etats
                             ? QStringLiteral("SELECT CodeEtat, Libelle FROM ETATS")
                             : QStringLiteral("SELECT Code, Nom FROM ANALYSES_PARAMETRES");
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(noms, nb, t)) return false;
    for (int l = 0; l < t.nbLignes(); ++l)
        x.noms.insert(t.texte(l, 0).trimmed(), t.texte(l, 1));
    for (const QString &e : std::as_const(x.elements))
        ajouterIndicateur(x, e, {}, x.noms.value(e));
    return true;
}

void compterSous(Contexte &x, const QString &taxon, const QString &cherche)
{
    QStringList &sous = x.comptesSous[taxon];
    if (!sous.contains(cherche)) sous << cherche;
}

// The taxa counted with each searched taxon (codeTaxonCalcul, ";"-separated codes).
bool chargerComptesSous(Contexte &x)
{
    if (!taxons(x) || !x.avecSelection || x.elements.isEmpty()) return true;
    for (const QString &e : std::as_const(x.elements))
        compterSous(x, e, e);
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(QStringLiteral("SELECT codeTaxon, codeTaxonCalcul FROM TAXONS WHERE "
                                             "codeTaxonCalcul IS NOT NULL AND codeTaxon IN (") +
                                  listeTextes(x.elements) + u')',
                              nb, t))
        return false;
    for (int l = 0; l < t.nbLignes(); ++l)
        for (const QString &code : t.texte(l, 1).split(u';', Qt::SkipEmptyParts))
            if (!code.trimmed().isEmpty()) compterSous(x, code.trimmed(), t.texte(l, 0).trimmed());
    return true;
}

bool chargerSeuilsTypes(Contexte &x)
{
    QStringList types;
    if (!typesSeuils(x.c.typeSeuil, types)) return false;
    if (types.isEmpty()) return true;
    const QString typeListe = QString::number(typeListeRecherche(x.c));
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(QStringLiteral("SELECT seuil1, seuil2, seuil3, seuil4, typeStation, "
                                             "typeFR, codeParametre FROM ANALYSES_SEUILS WHERE "
                                             "typeListe=") +
                                  sqlTexte(typeListe) + QStringLiteral(" AND typeSeuil IN (") +
                                  types.join(u',') + u')',
                              nb, t))
        return false;
    for (int l = 0; l < t.nbLignes(); ++l) {
        Contexte::LigneSeuils s;
        for (int k = 0; k < 4; ++k)
            if (!t(l, k).isNull()) s.grille.seuils[size_t(k)] = t(l, k).toDouble();
        s.typeStation = t.texte(l, 4).trimmed();
        s.typeFr = t.texte(l, 5).trimmed();
        s.element = t.texte(l, 6).trimmed();
        x.seuilsTypes << s;
    }
    return true;
}

// The grid of an element at a station: the element's row for the station's types, else the
// set's row for those types, else the element's general row, else the set's default row.
int grilleType(Contexte &x, const QString &element, const StationRecherche &s)
{
    const QString cle = element + u'|' + s.typeStation + u'|' + s.typeFr;
    if (const auto it = x.grillesTypes.constFind(cle); it != x.grillesTypes.constEnd()) return *it;
    const auto trouver = [&](bool propre, bool parType) -> const Contexte::LigneSeuils * {
        for (const Contexte::LigneSeuils &l : std::as_const(x.seuilsTypes)) {
            if ((propre ? l.element != element : !l.element.isEmpty())) continue;
            const bool convient = parType ? !l.typeFr.isEmpty() && l.typeStation == s.typeStation &&
                                                l.typeFr == s.typeFr
                                          : l.typeFr.isEmpty();
            if (convient) return &l;
        }
        return nullptr;
    };
    const Contexte::LigneSeuils *l = trouver(true, true);
    if (!l) l = trouver(false, true);
    if (!l) l = trouver(true, false);
    if (!l) l = trouver(false, false);
    int grille = -1;
    if (l) {
        x.r.grilles << l->grille;
        grille = int(x.r.grilles.size() - 1);
    }
    x.grillesTypes.insert(cle, grille);
    return grille;
}

const QString OPERATION = QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS");

// The operation filters shared by the kinds: period, producer, import job, status and
// qualification (of the operation, which these results do not carry themselves).
QString filtresOperation(const Contexte &x)
{
    const CriteresRecherche &c = x.c;
    QString sql = QStringLiteral(" AND O.dateDebut >= ") + x.debut +
                  QStringLiteral(" AND O.dateDebut < ") + x.fin;
    const auto egal = [&](const QString &colonne, const QString &valeur) {
        if (valeur.trimmed().isEmpty()) return;
        sql += QStringLiteral(" AND O.") + colonne + u'=' +
               (entier(valeur) ? valeur.trimmed() : QStringLiteral("NULL"));
    };
    egal(QStringLiteral("codeProducteur"), c.producteur);
    egal(QStringLiteral("jobExecutionId"), c.jobExecution);
    egal(QStringLiteral("statut"), c.statut);
    egal(QStringLiteral("qualification"), c.qualification);
    return sql;
}

QString filtreElements(const Contexte &x, const QString &colonne)
{
    if (!x.avecSelection) return {};
    QStringList codes = codesPourColonne(x, x.elements);
    if (!x.comptesSous.isEmpty()) {
        codes = x.comptesSous.keys();
        codes.sort();
    }
    if (codes.isEmpty()) return QStringLiteral(" AND 1=0");
    return QStringLiteral(" AND ") + colonne + QStringLiteral(" IN (") +
           (taxons(x) ? listeTextes(codes) : codes.join(u',')) + u')';
}

// The operation's sampler, the last column of both selects.
const QString PRELEVEUR =
    QStringLiteral(" LEFT JOIN INTERVENANTS P ON (P.CodeIntervenant=O.codePreleveur)");

// Columns: element, unit, value, remark, operation date, operation, qualification, status,
// sampler.
QString selectResultats(const Contexte &x, qint64 station)
{
    QString sql = QStringLiteral("SELECT R.codeParametre, R.codeUnite, R.resultat, "
                                 "R.codeRemarque, O.dateDebut, R.codeOperation, O.qualification, "
                                 "O.statut, P.Nom FROM QUALITOMETRES_OPERATIONS_RESULTATS R INNER "
                                 "JOIN ") +
                  OPERATION +
                  QStringLiteral(" O ON (O.codeQualitometre=R.codeQualitometre AND "
                                 "O.codeOperation=R.codeOperation)") +
                  PRELEVEUR + QStringLiteral(" WHERE R.codeQualitometre=") +
                  QString::number(station) + filtresOperation(x) +
                  filtreElements(x, QStringLiteral("R.codeParametre"));
    if (x.genre == GenreRecherche::Etats && !x.avecSelection)
        sql += QStringLiteral(" AND R.codeParametre IN (SELECT CodeEtat FROM ETATS)");
    if (x.c.detectionsSeulement)
        sql += QStringLiteral(" AND (R.codeRemarque IS NULL OR R.codeRemarque NOT IN (2, 9, 10))");
    return sql + QStringLiteral(" ORDER BY O.dateDebut, R.codeOperation, R.codeParametre");
}

// The same columns for the taxa of the station's lists: the count is the total of the list's
// count columns, with no unit nor remark.
QString selectTaxons(const Contexte &x, qint64 station, const QString &table)
{
    QStringList comptes;
    for (const char *c : {"A", "B", "C"})
        comptes << QStringLiteral("coalesce(L.denombrement%1, 0)").arg(QLatin1String(c));
    for (int p = 1; p <= 12; ++p)
        comptes << QStringLiteral("coalesce(L.denombrementP%1, 0)").arg(p);
    QString sql = QStringLiteral("SELECT L.codeTaxon, NULL, ") + comptes.join(u'+') +
                  QStringLiteral(", NULL, O.dateDebut, L.codeOperation, O.qualification, "
                                 "O.statut, P.Nom FROM ") +
                  table + QStringLiteral(" L INNER JOIN ") + OPERATION +
                  QStringLiteral(" O ON (O.codeQualitometre=") + QString::number(station) +
                  QStringLiteral(" AND O.codeOperation=L.codeOperation)") + PRELEVEUR +
                  QStringLiteral(" WHERE 1=1") + filtresOperation(x) +
                  filtreElements(x, QStringLiteral("L.codeTaxon"));
    if (!x.c.pointPrelevement.trimmed().isEmpty())
        sql += QStringLiteral(" AND EXISTS (SELECT 1 FROM QUALITOMETRES_POINTS QP WHERE "
                              "QP.codeQualitometre=O.codeQualitometre AND "
                              "QP.codePoint=O.codePoint AND QP.identifiant=") +
               sqlTexte(x.c.pointPrelevement.trimmed()) + u')';
    return sql + QStringLiteral(" ORDER BY O.dateDebut, L.codeOperation, L.codeTaxon");
}

// Classes a result against the element's grid at the station and keeps it.
void classerEtRetenir(Contexte &x, int indicateur, LigneResultat &&r,
                      const std::optional<double> &valeur)
{
    if (x.c.detectionsSeulement && !r.detection) return;
    r.grille = grilleType(x, x.r.texte(r.parametre), x.r.stations[r.station]);
    if (r.detection && r.grille >= 0) r.classe = x.classer(r.grille, *valeur);
    retenir(x, indicateur, std::move(r), valeur);
}

// A taxon's count goes to each searched taxon it counts under, for the operation being read.
void compterTaxon(Contexte &x, const QString &taxon, LigneResultat &&r, double compte)
{
    if (r.station != x.stationComptee || r.operation != x.operationComptee) {
        retenirComptes(x);
        x.stationComptee = r.station;
        x.operationComptee = r.operation;
    }
    const QStringList sous =
        x.comptesSous.isEmpty() ? QStringList{taxon} : x.comptesSous.value(taxon);
    for (const QString &cherche : sous) {
        auto it = x.indexComptes.find(cherche);
        if (it == x.indexComptes.end()) {
            const int indicateur = indicateurDe(x, cherche, {}, x.noms.value(cherche));
            if (indicateur < 0) continue;
            LigneResultat ligne = r;
            ligne.parametre = x.partage(cherche);
            ligne.nomParametre = x.partage(x.noms.value(cherche));
            it = x.indexComptes.insert(cherche, int(x.comptes.size()));
            x.comptes.push_back({indicateur, std::move(ligne), 0, {}});
        }
        Contexte::CompteTaxon &c = x.comptes[*it];
        c.total += compte;
        if (!c.taxons.contains(taxon)) c.taxons << taxon;
    }
}

void lireOperation(Contexte &x, int station, const Tableau &t, int l)
{
    const QString element = t.texte(l, 0).trimmed(), unite = t.texte(l, 1).trimmed();
    LigneResultat r;
    r.station = station;
    r.definirPrelevement(t(l, 4).toDateTime());
    r.numPrelevement = x.partage(t.texte(l, 5));
    r.operation = r.numPrelevement;
    r.qualification = x.partage(t.texte(l, 6));
    r.statut = x.partage(t.texte(l, 7));
    r.labo = x.partage(t.texte(l, 8));
    // A taxon's count has no remark: it is counted under each searched taxon it belongs to.
    if (taxons(x)) return compterTaxon(x, element, std::move(r), t(l, 2).toDouble());
    const int indicateur = indicateurDe(x, element, unite, x.noms.value(element));
    if (indicateur < 0) return;
    r.parametre = x.partage(element);
    r.unite = x.partage(unite);
    r.nomParametre = x.partage(x.noms.value(element));
    std::optional<double> valeur;
    const FormeResultat forme = formeRemarque(t(l, 3));
    if (!t(l, 2).isNull()) valeur = t(l, 2).toDouble();
    if (valeur) definirResultat(x, r, t(l, 2), *valeur, forme);
    r.detection = valeur && forme != FormeResultat::Inferieur;
    classerEtRetenir(x, indicateur, std::move(r), valeur);
}

} // namespace

bool preparerOperations(Contexte &x)
{
    return chargerElements(x) && chargerComptesSous(x) && chargerSeuilsTypes(x);
}

void retenirComptes(Contexte &x)
{
    // The searched taxa of one operation in code order, as the list rows are read.
    std::sort(x.comptes.begin(), x.comptes.end(), [&x](const auto &a, const auto &b) {
        return x.r.texte(a.ligne.parametre) < x.r.texte(b.ligne.parametre);
    });
    for (Contexte::CompteTaxon &c : x.comptes) {
        c.ligne.definirValeur(c.total);
        c.taxons.sort();
        c.ligne.numAnalyse = x.partage(c.taxons.join(u';'));
        // A taxon is detected when counted.
        c.ligne.detection = c.total > 0;
        classerEtRetenir(x, c.indicateur, std::move(c.ligne), c.total);
    }
    x.comptes.clear();
    x.indexComptes.clear();
}

bool rechercherStationOperations(Contexte &x, int station, const QSet<QString> &tables)
{
    const qint64 code = x.r.stations[station].code;
    QString sql;
    if (taxons(x)) {
        const QString nom = PREFIXE_LISTE_TAXONS + QString::number(code);
        // A station whose lists were never written has no table of them.
        if (!tables.contains(nom.toUpper())) return true;
        sql = selectTaxons(x, code, identifiantTable(PREFIXE_LISTE_TAXONS, QString::number(code)));
    } else {
        sql = selectResultats(x, code);
    }
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t)) return false;
    for (int l = 0; l < t.nbLignes(); ++l)
        lireOperation(x, station, t, l);
    return true;
}

} // namespace vyk::detail
