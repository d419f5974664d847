#include "quality/StatistiquesTableau.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

#include <QHash>

#include <algorithm>

namespace vyk {

namespace {

const QString O = QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS");

bool filtreVide(const QString &v)
{
    return v.trimmed().isEmpty() || v.trimmed() == QLatin1String("-1");
}

// Operation codes are numbers: anything else matches nothing.
QString nombreOuNul(const QString &code)
{
    const Nombre n = enNombre(code.trimmed(), true);
    return n.estNombre() ? sqlNombre(n.valeur) : QStringLiteral("NULL");
}

// The station's operations at its points, filtered: the FROM tables and WHERE conditions that
// the dates and the cells share.
QString conditionsOperations(qint64 station, const FiltresTableauHydrobio &f)
{
    QString sql = O +
                  QStringLiteral(".codeQualitometre=QUALITOMETRES_POINTS.codeQualitometre AND ") +
                  O + QStringLiteral(".codePoint=QUALITOMETRES_POINTS.codePoint AND ") + O +
                  QStringLiteral(".codeQualitometre=") + QString::number(station);
    if (!filtreVide(f.identifiantPoint))
        sql += QStringLiteral(" AND QUALITOMETRES_POINTS.identifiant=") +
               sqlTexte(f.identifiantPoint.trimmed());
    if (dateCorrecte(f.dateDebut) && !f.dateDebut.trimmed().isEmpty())
        sql += QStringLiteral(" AND ") + O + QStringLiteral(".dateDebut>=") +
               dateSQL(f.dateDebut.trimmed());
    if (dateCorrecte(f.dateFin) && !f.dateFin.trimmed().isEmpty())
        sql += QStringLiteral(" AND ") + O + QStringLiteral(".dateDebut<=") +
               dateSQL(texteDate(lireDate(f.dateFin.trimmed())) + FIN_DE_JOURNEE, true);
    const std::pair<const char *, const QString *> filtres[] = {
        {"protocoleBiologique", &f.protocole},
        {"qualification", &f.qualification},
        {"statut", &f.statut},
        {"codeProducteur", &f.producteur}};
    for (const auto &[colonne, valeur] : filtres)
        if (!filtreVide(*valeur))
            sql += QStringLiteral(" AND ") + O + u'.' + QLatin1String(colonne) + u'=' +
                   nombreOuNul(*valeur);
    return sql;
}

// Counts: a taxon is a row when one of its counts is positive somewhere.
const QString POSITIF = QStringLiteral(
    "iif(denombrementA>0 or denombrementB>0 or denombrementC>0 or denombrementP1>0 or "
    "denombrementP2>0 or denombrementP3>0 or denombrementP4>0 or denombrementP5>0 or "
    "denombrementP6>0 or denombrementP7>0 or denombrementP8>0 or denombrementP9>0 or "
    "denombrementP10>0 or denombrementP11>0 or denombrementP12>0,1,0)");
// Cover: when A or B is given.
const QString COUVERT =
    QStringLiteral("iif(pourcentageA is not null or pourcentageB is not null,1,0)");

// One row per list line (or index result) of the shown operations, by date and operation: the
// few columns a cell needs, the names being read once per row of the matrix. Both kinds give
// the same names: code, jour, remarque, v1 (A count or cover, or the index result), v2, v3 and
// retenue.
QString selectCellules(qint64 station, const QString &liste, const FiltresTableauHydrobio &f)
{
    const QString where = QStringLiteral(" WHERE ") + conditionsOperations(station, f);
    const QString ordre = QStringLiteral(" ORDER BY ") + O + QStringLiteral(".dateDebut, ") + O +
                          QStringLiteral(".codeOperation");
    if (f.genre == GENRE_INDICES)
        return QStringLiteral(
                   "SELECT cstr(QUALITOMETRES_OPERATIONS_RESULTATS.codeParametre) AS code, ") +
               O +
               QStringLiteral(
                   ".dateDebut AS jour, NULL AS remarque, "
                   "QUALITOMETRES_OPERATIONS_RESULTATS.resultat AS v1, NULL AS v2, "
                   "NULL AS v3, 1 AS retenue FROM QUALITOMETRES_OPERATIONS_RESULTATS, ") +
               O + QStringLiteral(", QUALITOMETRES_POINTS") + where +
               QStringLiteral(" AND QUALITOMETRES_OPERATIONS_RESULTATS.codeQualitometre=") + O +
               QStringLiteral(".codeQualitometre AND QUALITOMETRES_OPERATIONS_RESULTATS."
                              "codeOperation=") +
               O + QStringLiteral(".codeOperation") + ordre;
    const bool couvert = f.genre == GENRE_RECOUVREMENTS;
    const QString valeurs =
        couvert ? QStringLiteral("pourcentageA AS v1, pourcentageB AS v2, pourcentageC AS v3")
                : QStringLiteral("denombrementA AS v1, denombrementB AS v2, denombrementC AS v3");
    return QStringLiteral("SELECT ") + liste + QStringLiteral(".codeTaxon AS code, ") + O +
           QStringLiteral(".dateDebut AS jour, ") + liste +
           QStringLiteral(".codeRemarque AS remarque, ") + valeurs + QStringLiteral(", ") +
           (couvert ? COUVERT : POSITIF) + QStringLiteral(" AS retenue FROM ") + liste +
           QStringLiteral(", ") + O + QStringLiteral(", QUALITOMETRES_POINTS") + where +
           QStringLiteral(" AND ") + O + QStringLiteral(".codeOperation=") + liste +
           QStringLiteral(".codeOperation") + ordre;
}

// Names of the rows: code, name, common name, Omnidia code, taxa counted with it.
QString selectNoms(const QStringList &codes, bool indices)
{
    QStringList valeurs;
    for (const QString &c : codes)
        valeurs << sqlTexte(c);
    if (indices)
        return QStringLiteral("SELECT code, libelleLong AS nom, nom AS nomCommun, '' AS "
                              "omnidia, NULL AS calcul FROM ANALYSES_PARAMETRES WHERE code IN (") +
               valeurs.join(u',') + u')';
    return QStringLiteral("SELECT codeTaxon AS code, nomLatin AS nom, nomCommun, codeOmnidia AS "
                          "omnidia, codeTaxonCalcul AS calcul FROM TAXONS WHERE codeTaxon IN (") +
           valeurs.join(u',') + u')';
}

// The columns of the cells' rows, found once by name.
struct ColonnesCellules
{
    int code, jour, remarque, v1, v2, v3, retenue;
    explicit ColonnesCellules(const Tableau &t)
        : code(t.indexColonne(QStringLiteral("code"))),
          jour(t.indexColonne(QStringLiteral("jour"))),
          remarque(t.indexColonne(QStringLiteral("remarque"))),
          v1(t.indexColonne(QStringLiteral("v1"))), v2(t.indexColonne(QStringLiteral("v2"))),
          v3(t.indexColonne(QStringLiteral("v3"))),
          retenue(t.indexColonne(QStringLiteral("retenue")))
    {
    }
};

QString cellule(const Tableau &t, int l, const ColonnesCellules &c, const QString &genre)
{
    if (genre == GENRE_INDICES) return texteValeur(t(l, c.v1));
    if (genre == GENRE_RECOUVREMENTS)
        return texteValeur(t(l, c.v1)) + QStringLiteral(" | ") + texteValeur(t(l, c.v2));
    const double somme = t(l, c.v1).toDouble() + t(l, c.v2).toDouble() + t(l, c.v3).toDouble();
    const QString texte = texteValeur(QVariant(somme));
    const QString remarque = texteValeur(t(l, c.remarque)).trimmed();
    if (remarque == QLatin1String("10")) return u'<' + texte;
    if (remarque == QLatin1String("4") && somme == 1) return QStringLiteral("P");
    if (remarque == QLatin1String("4") && somme == 2) return QStringLiteral("A");
    return texte;
}

// Taxa counted together: each row listed in another row's codeTaxonCalcul is added into it,
// date by date, from the cells as they were read.
void regrouper(TableauHydrobiologique &tableau, const QHash<QString, QString> &calculs)
{
    const QVector<LigneTableauHydrobio> lues = tableau.lignes;
    for (LigneTableauHydrobio &recoit : tableau.lignes) {
        const QString liste = u';' + calculs.value(recoit.code) + u';';
        if (liste.size() <= 2) continue;
        for (const LigneTableauHydrobio &autre : lues) {
            if (autre.code == recoit.code || !liste.contains(u';' + autre.code + u';')) continue;
            for (qsizetype c = 0; c < recoit.cellules.size(); ++c) {
                const Nombre a = enNombre(recoit.cellules[c], true);
                const Nombre b = enNombre(autre.cellules[c], true);
                if (recoit.cellules[c].isEmpty())
                    recoit.cellules[c] = autre.cellules[c];
                else if (a.estNombre() && b.estNombre())
                    recoit.cellules[c] = texteValeur(QVariant(a.valeur + b.valeur));
            }
        }
    }
}

// Indices: every operation of the station at its points is a column, with a result or not.
bool lireDates(qint64 station, const FiltresTableauHydrobio &f, TableauHydrobiologique &tableau)
{
    const QString sql =
        QStringLiteral("SELECT DISTINCT ") + O + QStringLiteral(".dateDebut AS jour FROM ") + O +
        QStringLiteral(", QUALITOMETRES_POINTS WHERE ") + conditionsOperations(station, f) +
        QStringLiteral(" ORDER BY ") + O + QStringLiteral(".dateDebut ASC");
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t)) return false;
    for (int l = 0; l < t.nbLignes(); ++l)
        tableau.dates << t.texte(l, QStringLiteral("jour"));
    return true;
}

} // namespace

namespace {

struct LignesLues
{
    QHash<QString, int> index;
    QVector<LigneTableauHydrobio> lignes;
    QVector<bool> retenues;
};

bool lireCellules(qint64 station, const QString &liste, const FiltresTableauHydrobio &f,
                  TableauHydrobiologique &tableau, LignesLues &lues)
{
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(selectCellules(station, liste, f), nb, t)) return false;
    if (t.estVide()) return true;
    const ColonnesCellules c(t);
    // Taxa: the columns are the dates of operations with a list, those of these very rows.
    if (f.genre != GENRE_INDICES)
        for (int l = 0; l < t.nbLignes(); ++l)
            if (l == 0 || t(l, c.jour) != t(l - 1, c.jour)) {
                const QString date = texteValeur(t(l, c.jour));
                if (tableau.dates.isEmpty() || tableau.dates.last() != date) tableau.dates << date;
            }
    QHash<QString, int> colonnes;
    for (int i = 0; i < tableau.dates.size(); ++i)
        colonnes.insert(tableau.dates[i], i);
    QVariant datePrecedente;
    int colonne = -1;
    for (int l = 0; l < t.nbLignes(); ++l) {
        const QString code = texteValeur(t(l, c.code)).trimmed();
        auto it = lues.index.find(code);
        if (it == lues.index.end()) {
            it = lues.index.insert(code, int(lues.lignes.size()));
            lues.lignes.append({code, {}, {}, {}, QStringList(tableau.dates.size(), QString())});
            lues.retenues.append(false);
        }
        lues.retenues[*it] = lues.retenues[*it] || t(l, c.retenue).toInt() == 1;
        // Rows come by date: the column is looked up once per date.
        if (t(l, c.jour) != datePrecedente) {
            datePrecedente = t(l, c.jour);
            colonne = colonnes.value(texteValeur(datePrecedente), -1);
        }
        // Operations of one date in order: the last one's cell stays.
        if (colonne >= 0) lues.lignes[*it].cellules[colonne] = cellule(t, l, c, f.genre);
    }
    return true;
}

} // namespace

bool getTableauHydrobiologique(qint64 codeQualitometre, const FiltresTableauHydrobio &filtres,
                               TableauHydrobiologique &tableau)
{
    tableau = TableauHydrobiologique{};
    const QString station = QString::number(codeQualitometre);
    const QString liste = identifiantTable(PREFIXE_LISTE_TAXONS, station);
    const bool indices = filtres.genre == GENRE_INDICES;
    // No list table yet: no taxa, no column.
    if (!indices && (liste.isEmpty() || !bd().tableExiste(PREFIXE_LISTE_TAXONS + station)))
        return true;
    LignesLues lues;
    if ((indices && !lireDates(codeQualitometre, filtres, tableau)) ||
        !lireCellules(codeQualitometre, liste, filtres, tableau, lues))
        return false;
    QStringList codes;
    for (qsizetype i = 0; i < lues.lignes.size(); ++i)
        if (lues.retenues[i]) codes << lues.lignes[i].code;
    if (codes.isEmpty()) return true;
    long nb = 0;
    Tableau noms;
    if (!bd().ExtraireRecords(selectNoms(codes, indices), nb, noms)) return false;
    // Rows without a referential entry are left out, as the join on it would.
    QHash<QString, QString> calculs;
    for (int l = 0; l < noms.nbLignes(); ++l) {
        const auto it = lues.index.constFind(noms.texte(l, QStringLiteral("code")).trimmed());
        if (it == lues.index.cend()) continue;
        LigneTableauHydrobio ligne = lues.lignes[*it];
        ligne.nom = noms.texte(l, QStringLiteral("nom"));
        ligne.nomCommun = noms.texte(l, QStringLiteral("nomCommun"));
        ligne.omnidia = noms.texte(l, QStringLiteral("omnidia"));
        calculs.insert(ligne.code, noms.texte(l, QStringLiteral("calcul")).trimmed());
        tableau.lignes.append(ligne);
    }
    std::sort(tableau.lignes.begin(), tableau.lignes.end(),
              [](const LigneTableauHydrobio &a, const LigneTableauHydrobio &b) {
                  return a.code < b.code;
              });
    if (filtres.genre != GENRE_RECOUVREMENTS && !indices) regrouper(tableau, calculs);
    return true;
}

QVector<QStringList> TableauHydrobiologique::texte(bool indices) const
{
    QVector<QStringList> r;
    r.append((indices ? QStringList{QStringLiteral("Code"), QStringLiteral("Paramètre"),
                                    QStringLiteral("Nom")}
                      : QStringList{QStringLiteral("code Taxon"), QStringLiteral("Taxon"),
                                    QStringLiteral("Omnidia")}) +
             dates);
    for (const LigneTableauHydrobio &l : lignes)
        r.append(QStringList{l.code, l.nom, indices ? l.nomCommun : l.omnidia} + l.cellules);
    return r;
}

} // namespace vyk
