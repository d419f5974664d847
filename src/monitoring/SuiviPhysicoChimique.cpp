#include "monitoring/SuiviPhysicoChimique.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "monitoring/ReglesAnalyses.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"
#include "users/AccesStations.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>
#include <optional>
#include <string>

namespace vyk {

namespace {

bool tous(const QString &code)
{
    const QString c = code.trimmed();
    return c.isEmpty() || c == QLatin1String("*") || c == QLatin1String("%");
}

// Numeric codes in numeric order, then the others.
bool avantCode(const QString &a, const QString &b)
{
    bool na = false, nb = false;
    const double da = a.toDouble(&na), db = b.toDouble(&nb);
    if (na && nb && da != db) return da < db;
    if (na != nb) return na;
    return a < b;
}

} // namespace

FiltresSuivi filtresSuiviParDefaut()
{
    FiltresSuivi f;
    f.inverse = lireRegistre(reglage::AffichageChronologiqueInverse) == QLatin1String("OUI");
    return f;
}

EntreesCodees stationsSuivi()
{
    EntreesCodees r;
    QString sql = QStringLiteral(
        "SELECT CodeQualitometre, CodeBSS, Nom FROM Qualitometres WHERE CodeBSS IS NOT NULL");
    const QString acces = conditionAccesStations();
    if (!acces.isEmpty()) sql += QStringLiteral(" AND ") + acces;
    const Tableau t = bd().extraire(sql + QStringLiteral(" ORDER BY CodeBSS"));
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString nom = t.texte(i, QStringLiteral("Nom")).trimmed();
        r.append({t.texte(i, QStringLiteral("CodeQualitometre")),
                  t.texte(i, QStringLiteral("CodeBSS")).trimmed() +
                      (nom.isEmpty() ? QString() : QStringLiteral(" - ") + nom)});
    }
    return r;
}

QString codeBSSStation(const QString &codeQualitometre)
{
    const Nombre n = enNombre(codeQualitometre);
    if (!n.estNombre()) return {};
    return bd()
        .valeur(QStringLiteral("SELECT CodeBSS FROM Qualitometres WHERE CodeQualitometre=") +
                sqlNombre(n.valeur))
        .toString()
        .trimmed();
}

QStringList entetesSuivi(const TableauSuivi &tableau)
{
    QStringList r = {QStringLiteral("Paramètre"), QStringLiteral("Unité")};
    for (const ColonneSuivi &c : tableau.colonnes)
        r << c.entete;
    return r;
}

namespace {

// A wrong date would otherwise silently widen the period to every date.
bool verifierPeriode(const FiltresSuivi &f, QString *erreur)
{
    const struct
    {
        const QString &texte;
        const QString &message;
    } bornes[] = {{f.dateDebut, texteSuivi::DATE_DEBUT}, {f.dateFin, texteSuivi::DATE_FIN}};
    for (const auto &b : bornes)
        if (!b.texte.trimmed().isEmpty() && !lireDate(b.texte.trimmed()).isValid()) {
            if (erreur) *erreur = b.message;
            return false;
        }
    return true;
}

// Columns of the query, found once by name on the first row: sample, its date, its operation's
// date, parameter, unit, result, remark, names of the parameter and unit, unit's symbol.
struct ColonnesRequete
{
    int num, datePrelevement, dateOperation, parametre, unite, resultat, remarque, nomParametre,
        nomUnite, symbole;
    explicit ColonnesRequete(const Ligne &l)
        : num(l.colonne(u"num")), datePrelevement(l.colonne(u"datePrelevement")),
          dateOperation(l.colonne(u"dateOperation")), parametre(l.colonne(u"parametre")),
          unite(l.colonne(u"unite")), resultat(l.colonne(u"resultat")),
          remarque(l.colonne(u"remarque")), nomParametre(l.colonne(u"nomParametre")),
          nomUnite(l.colonne(u"nomUnite")), symbole(l.colonne(u"symbole"))
    {
    }
};

QString requeteSuivi(const QString &table, const FiltresSuivi &f)
{
    const QString debut =
        f.dateDebut.trimmed().isEmpty() ? QStringLiteral("01/01/1900") : f.dateDebut.trimmed();
    const QString fin =
        (f.dateFin.trimmed().isEmpty() ? QStringLiteral("31/12/2050") : f.dateFin.trimmed()) +
        FIN_DE_JOURNEE;
    QString sql =
        QStringLiteral("SELECT ") + table +
        QStringLiteral(".NumPrelevement AS num, PRELEVEMENTS.DateDebut AS datePrelevement, "
                       "QUALITOMETRES_POINTS_OPERATIONS.dateDebut AS dateOperation, ") +
        table + QStringLiteral(".CodeParametre AS parametre, ") + table +
        QStringLiteral(".CodeUnite AS unite, ") + table +
        QStringLiteral(".Resultat AS resultat, ") + table +
        QStringLiteral(".CodeRemarque AS remarque, ANALYSES_PARAMETRES.Nom AS nomParametre, "
                       "ANALYSES_UNITES.Nom AS nomUnite, ANALYSES_UNITES.Symbole AS symbole "
                       "FROM ((") +
        jointureAnalyses(table) +
        QStringLiteral(") LEFT JOIN ANALYSES_PARAMETRES ON ANALYSES_PARAMETRES.Code=") + table +
        QStringLiteral(".CodeParametre) LEFT JOIN ANALYSES_UNITES ON ANALYSES_UNITES.Code=") +
        table + QStringLiteral(".CodeUnite WHERE ") + table +
        QStringLiteral(".codeParametre is not null");
    // No period given: every analysis, without a condition that would change the engine's plan.
    const QString d1 = dateSQL(debut), d2 = dateSQL(fin, true);
    if (!f.dateDebut.trimmed().isEmpty() && d1 != QLatin1String("NULL"))
        sql += QStringLiteral(" AND PRELEVEMENTS.DateDebut>=") + d1;
    if (!f.dateFin.trimmed().isEmpty() && d2 != QLatin1String("NULL"))
        sql += QStringLiteral(" AND PRELEVEMENTS.DateDebut<=") + d2;
    if (!tous(f.producteur)) {
        const Nombre n = enNombre(f.producteur);
        sql += QStringLiteral(" AND QUALITOMETRES_POINTS_OPERATIONS.codeProducteur=") +
               (n.estNombre() ? sqlNombre(n.valeur) : QStringLiteral("NULL"));
    }
    if (!tous(f.support)) sql += QStringLiteral(" AND ") + filtreSupport(table, f.support);
    if (!tous(f.statut)) sql += QStringLiteral(" AND ") + filtreStatut(table, f.statut);
    if (!tous(f.qualification))
        sql += QStringLiteral(" AND ") + filtreQualification(table, f.qualification);
    if (f.quantifieesSeulement) sql += QStringLiteral(" AND ") + filtreQuantification(table);
    return sql + QStringLiteral(" ORDER BY ") + table + QStringLiteral(".NumPrelevement, ") +
           table + QStringLiteral(".NumAnalyse");
}

// A result kept for the computed parameters; its column is the sample's in reading order.
struct Mesure
{
    int colonne;
    double valeur;
    SensRemarque sens;
};

// A result's text in its sample's column (reading order).
struct Cellule
{
    int colonne;
    QString texte;
};

// A computed parameter's line without its cells, and the codes it sums.
struct ParametreCalcule
{
    LigneSuivi ligne;
    QStringList composants;
};

// What the one pass over the rows gathers. The columns come in the order of their samples and
// are put in date order once all are known.
struct LectureSuivi
{
    QVector<ParametreCalcule> calcules;
    std::optional<ColonnesRequete> r;
    int nbAnalyses = 0;
    QVector<ColonneSuivi> colonnes;
    QHash<double, int> colonneDe;
    double dernierNum = 0;
    int derniereColonne = -1;
    QVector<LigneSuivi> lignes;
    QVector<QVector<Cellule>> cellules; // per line, in the order of the rows
    // A line by its parameter and unit as read, then as compared (trimmed).
    std::string cle;
    QHash<QByteArray, int> ligneDeTexte;
    QHash<std::pair<QString, QString>, int> ligneDe;
    // Only the components of a computed parameter keep their results, in the order of the rows.
    QHash<QString, int> composantDe;
    QVector<QVector<Mesure>> mesures;
    QVector<int> composantDeLigne; // -1 for a parameter that no other sums
    bool mesure = false;
};

// The column of the row's sample; the rows come sample after sample.
int colonneDe(LectureSuivi &x, const Ligne &l)
{
    const ColonnesRequete &r = *x.r;
    const double num = l.reel(r.num);
    if (x.derniereColonne >= 0 && num == x.dernierNum) return x.derniereColonne;
    x.dernierNum = num;
    if (const auto it = x.colonneDe.constFind(num); it != x.colonneDe.cend())
        return x.derniereColonne = *it;
    ColonneSuivi c;
    c.date = l.date(l.estNul(r.dateOperation) ? r.datePrelevement : r.dateOperation);
    c.numPrelevement = l.texte(r.num);
    c.entete = (c.date.isValid() ? c.date.date().toString(QStringLiteral("dd/MM/yyyy"))
                                 : QStringLiteral("(sans date)")) +
               QStringLiteral(" (") + c.numPrelevement + u')';
    x.derniereColonne = int(x.colonnes.size());
    x.colonneDe.insert(num, x.derniereColonne);
    x.colonnes.append(std::move(c));
    return x.derniereColonne;
}

int nouvelleLigne(LectureSuivi &x, const Ligne &l, std::pair<QString, QString> cle)
{
    const ColonnesRequete &r = *x.r;
    LigneSuivi ligne;
    ligne.codeParametre = cle.first;
    ligne.codeUnite = cle.second;
    ligne.nomParametre = l.texte(r.nomParametre);
    ligne.nomUnite = l.texte(r.nomUnite);
    ligne.symbole = l.texte(r.symbole);
    const int i = int(x.lignes.size());
    x.lignes.append(std::move(ligne));
    x.cellules.append(QVector<Cellule>());
    x.composantDeLigne.append(x.composantDe.value(cle.first, -1));
    x.ligneDe.insert(std::move(cle), i);
    return i;
}

// The line of the row's parameter and unit, made on their first result.
int ligneDe(LectureSuivi &x, const Ligne &l)
{
    const ColonnesRequete &r = *x.r;
    const QByteArrayView parametre = l.utf8(r.parametre), unite = l.utf8(r.unite);
    x.cle.assign(parametre.data(), size_t(parametre.size()));
    x.cle.append(1, '\0').append(unite.data(), size_t(unite.size()));
    const QByteArray lue = QByteArray::fromRawData(x.cle.data(), qsizetype(x.cle.size()));
    if (const auto it = x.ligneDeTexte.constFind(lue); it != x.ligneDeTexte.cend()) return *it;
    auto cle = std::make_pair(l.texte(r.parametre).trimmed(), l.texte(r.unite).trimmed());
    const auto it = x.ligneDe.constFind(cle);
    const int i = it != x.ligneDe.cend() ? *it : nouvelleLigne(x, l, std::move(cle));
    x.ligneDeTexte.insert(QByteArray(lue.constData(), lue.size()), i);
    return i;
}

void lireAnalyse(LectureSuivi &x, const Ligne &l)
{
    if (l.premiere()) x.r.emplace(l);
    ++x.nbAnalyses;
    const int colonne = colonneDe(x, l);
    const int ligne = ligneDe(x, l);
    const ColonnesRequete &r = *x.r;
    if (l.estNul(r.resultat)) return;
    const SensRemarque sens = sensRemarque(l.utf8(r.remarque));
    QString texte = l.texte(r.resultat);
    if (sens != SensRemarque::Aucun) texte.prepend(sens == SensRemarque::Inferieure ? u'<' : u'>');
    x.cellules[ligne].append({colonne, std::move(texte)});
    if (const int composant = x.composantDeLigne[ligne]; composant >= 0) {
        x.mesures[composant].append({colonne, l.reel(r.resultat), sens});
        x.mesure = true;
    }
}

// Columns by date (newest first when inverse), samples of one date by number; the place of
// each column of the reading order.
QVector<int> ordonnerColonnes(QVector<ColonneSuivi> &colonnes, bool inverse)
{
    QVector<int> ordre(colonnes.size());
    std::iota(ordre.begin(), ordre.end(), 0);
    std::stable_sort(ordre.begin(), ordre.end(), [&](int i, int j) {
        const ColonneSuivi &a = colonnes[i], &b = colonnes[j];
        if (a.date != b.date) return inverse ? b.date < a.date : a.date < b.date;
        return inverse ? avantCode(b.numPrelevement, a.numPrelevement)
                       : avantCode(a.numPrelevement, b.numPrelevement);
    });
    QVector<ColonneSuivi> triees;
    triees.reserve(colonnes.size());
    QVector<int> rang(colonnes.size());
    for (int k = 0; k < ordre.size(); ++k) {
        rang[ordre[k]] = k;
        triees.append(std::move(colonnes[ordre[k]]));
    }
    colonnes = std::move(triees);
    return rang;
}

// Several results of one parameter in one sample (fractions, supports) are all shown.
void placerCellules(LigneSuivi &ligne, const QVector<Cellule> &cellules, const QVector<int> &rang)
{
    ligne.valeurs.resize(rang.size());
    for (const Cellule &c : cellules) {
        QString &cellule = ligne.valeurs[rang[c.colonne]];
        if (cellule.isEmpty())
            cellule = c.texte;
        else if (!c.texte.isEmpty() && !cellule.split(QStringLiteral(" ; ")).contains(c.texte))
            cellule += QStringLiteral(" ; ") + c.texte;
    }
}

// The cell of a computed parameter: the sum of the quantified results of its components
// (">" when one of them is a lower bound); when none is quantified, "<" and the largest limit;
// "" when none was measured.
struct Somme
{
    double somme = 0, limite = 0;
    bool quantifie = false, mesure = false, minimum = false;

    void ajouter(const Mesure &m)
    {
        mesure = true;
        if (m.sens == SensRemarque::Inferieure)
            limite = std::max(limite, m.valeur);
        else {
            quantifie = true;
            minimum = minimum || m.sens == SensRemarque::Superieure;
            somme += m.valeur;
        }
    }
    QString texte() const
    {
        if (!mesure) return {};
        if (!quantifie) return u'<' + texteValeur(QVariant(limite));
        return (minimum ? QStringLiteral(">") : QString()) + texteValeur(QVariant(somme));
    }
};

struct ColonnesCalcul
{
    int code, nom, composants, unite, nomUnite, symbole;
    explicit ColonnesCalcul(const Ligne &l)
        : code(l.colonne(u"codeParametre")), nom(l.colonne(u"nomParametre")),
          composants(l.colonne(u"composants")), unite(l.colonne(u"codeUnite")),
          nomUnite(l.colonne(u"nomUnite")), symbole(l.colonne(u"symbole"))
    {
    }
};

// The line of a computed parameter, its cells from its components' results (rang: the place of
// each column of the reading order); false when none of them was measured.
bool ligneCalculee(const LectureSuivi &x, const QStringList &composants, const QVector<int> &rang,
                   LigneSuivi &ligne)
{
    QVector<Somme> sommes(rang.size());
    for (const QString &composant : composants) {
        const int p = x.composantDe.value(composant.trimmed(), -1);
        if (p < 0) continue;
        for (const Mesure &m : x.mesures[p])
            sommes[rang[m.colonne]].ajouter(m);
    }
    bool present = false;
    for (const Somme &s : sommes) {
        ligne.valeurs << s.texte();
        present = present || s.mesure;
    }
    return present;
}

// The computed parameters and their components, read before the analyses.
bool lireCalcules(LectureSuivi &x)
{
    static const QRegularExpression separateurs(QStringLiteral("[,;+\\s]+"));
    std::optional<ColonnesCalcul> k;
    return bd().parcourir(
        QStringLiteral("SELECT ANALYSES_PARAMETRES.Code AS codeParametre, "
                       "ANALYSES_PARAMETRES.Nom AS nomParametre, "
                       "ANALYSES_PARAMETRES.codeParametresCalcul AS composants, "
                       "ANALYSES_PARAMETRES.UniteReference1 AS codeUnite, "
                       "ANALYSES_UNITES.Nom AS nomUnite, "
                       "ANALYSES_UNITES.Symbole AS symbole FROM ANALYSES_PARAMETRES "
                       "LEFT JOIN ANALYSES_UNITES ON "
                       "ANALYSES_UNITES.Code=ANALYSES_PARAMETRES.UniteReference1 WHERE "
                       "ANALYSES_PARAMETRES.calcule='1' AND "
                       "ANALYSES_PARAMETRES.codeParametresCalcul IS NOT NULL"),
        [&](const Ligne &l) {
            if (l.premiere()) k.emplace(l);
            ParametreCalcule p;
            p.composants = l.texte(k->composants).split(separateurs, Qt::SkipEmptyParts);
            if (p.composants.isEmpty()) return true;
            p.ligne.codeParametre = l.texte(k->code).trimmed();
            p.ligne.nomParametre = l.texte(k->nom);
            p.ligne.codeUnite = l.texte(k->unite).trimmed();
            p.ligne.nomUnite = l.texte(k->nomUnite);
            p.ligne.symbole = l.texte(k->symbole);
            p.ligne.calcule = true;
            for (const QString &composant : p.composants)
                if (!x.composantDe.contains(composant.trimmed())) {
                    x.composantDe.insert(composant.trimmed(), int(x.mesures.size()));
                    x.mesures.append(QVector<Mesure>());
                }
            x.calcules.append(std::move(p));
            return true;
        });
}

// A line per computed parameter one of whose components was measured in the table.
QVector<LigneSuivi> lignesCalculees(const LectureSuivi &x, const QVector<int> &rang)
{
    QVector<LigneSuivi> lignes;
    if (!x.mesure) return lignes;
    for (const ParametreCalcule &p : x.calcules) {
        LigneSuivi ligne = p.ligne;
        if (ligneCalculee(x, p.composants, rang, ligne)) lignes.append(std::move(ligne));
    }
    return lignes;
}

} // namespace

bool chargerSuivi(const QString &codeQualitometre, const QString &codeBSS, const FiltresSuivi &f,
                  TableauSuivi &tableau, QString *erreur)
{
    (void)codeQualitometre;
    tableau = {};
    if (!verifierPeriode(f, erreur)) return false;
    QString raison;
    const QString table = tableAnalyses(codeBSS, &raison);
    if (table.isEmpty()) {
        if (erreur) *erreur = raison;
        return false;
    }
    if (!bd().tableExiste(PREFIXE_ANALYSES + codeBSS.trimmed())) return true;

    LectureSuivi x;
    if (!lireCalcules(x) || !bd().parcourirEnBloc(requeteSuivi(table, f), [&x](const Ligne &l) {
            lireAnalyse(x, l);
            return true;
        })) {
        if (erreur) *erreur = bd().derniereErreur();
        return false;
    }
    const QVector<int> rang = ordonnerColonnes(x.colonnes, f.inverse);
    for (int i = 0; i < x.lignes.size(); ++i)
        placerCellules(x.lignes[i], x.cellules[i], rang);
    tableau.nbAnalyses = x.nbAnalyses;
    tableau.colonnes = std::move(x.colonnes);
    tableau.lignes = std::move(x.lignes) + lignesCalculees(x, rang);
    std::stable_sort(tableau.lignes.begin(), tableau.lignes.end(),
                     [](const LigneSuivi &a, const LigneSuivi &b) {
                         if (a.codeParametre != b.codeParametre)
                             return avantCode(a.codeParametre, b.codeParametre);
                         if (a.calcule != b.calcule) return !a.calcule;
                         return avantCode(a.codeUnite, b.codeUnite);
                     });
    return true;
}

} // namespace vyk
