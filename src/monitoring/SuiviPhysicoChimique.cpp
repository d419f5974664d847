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

struct Mesure
{
    double valeur;
    bool inferieure;
    bool superieure;
};

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

// Columns of the query, found once by name: sample, its date, its operation's date,
// parameter, unit, result, remark, names of the parameter and unit, unit's symbol.
struct ColonnesRequete
{
    int num, datePrelevement, dateOperation, parametre, unite, resultat, remarque, nomParametre,
        nomUnite, symbole;
    explicit ColonnesRequete(const Tableau &t)
        : num(t.indexColonne(QStringLiteral("num"))),
          datePrelevement(t.indexColonne(QStringLiteral("datePrelevement"))),
          dateOperation(t.indexColonne(QStringLiteral("dateOperation"))),
          parametre(t.indexColonne(QStringLiteral("parametre"))),
          unite(t.indexColonne(QStringLiteral("unite"))),
          resultat(t.indexColonne(QStringLiteral("resultat"))),
          remarque(t.indexColonne(QStringLiteral("remarque"))),
          nomParametre(t.indexColonne(QStringLiteral("nomParametre"))),
          nomUnite(t.indexColonne(QStringLiteral("nomUnite"))),
          symbole(t.indexColonne(QStringLiteral("symbole")))
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

// One column per sample, by date (newest first when inverse); colonneDe gives a sample's column.
QVector<ColonneSuivi> colonnesSuivi(const Tableau &t, bool inverse, QHash<double, int> &colonneDe)
{
    QVector<ColonneSuivi> colonnes;
    const ColonnesRequete r(t);
    for (int i = 0; i < t.nbLignes(); ++i) {
        const double n = t(i, r.num).toDouble();
        if (colonneDe.contains(n)) continue;
        colonneDe.insert(n, 0);
        const QString num = texteValeur(t(i, r.num));
        const QVariant date =
            t(i, r.dateOperation).isNull() ? t(i, r.datePrelevement) : t(i, r.dateOperation);
        ColonneSuivi c;
        c.date = date.toDateTime();
        c.numPrelevement = num;
        c.entete = (c.date.isValid() ? c.date.date().toString(QStringLiteral("dd/MM/yyyy"))
                                     : QStringLiteral("(sans date)")) +
                   QStringLiteral(" (") + num + u')';
        colonnes.append(c);
    }
    std::stable_sort(colonnes.begin(), colonnes.end(),
                     [inverse](const ColonneSuivi &a, const ColonneSuivi &b) {
                         if (a.date != b.date) return inverse ? b.date < a.date : a.date < b.date;
                         return inverse ? avantCode(b.numPrelevement, a.numPrelevement)
                                        : avantCode(a.numPrelevement, b.numPrelevement);
                     });
    for (int c = 0; c < colonnes.size(); ++c)
        colonneDe[colonnes[c].numPrelevement.toDouble()] = c;
    return colonnes;
}

// Results of each parameter per column, for the computed parameters.
using MesuresParParametre = QHash<QString, QVector<QVector<Mesure>>>;

// One line per parameter and unit, its results in their sample's column.
QVector<LigneSuivi> lignesMesurees(const Tableau &t, const QHash<double, int> &colonneDe,
                                   int nbColonnes, MesuresParParametre &mesures)
{
    QHash<std::pair<QString, QString>, int> ligneDe;
    QVector<LigneSuivi> lignes;
    const ColonnesRequete r(t);
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString parametre = t.texte(i, r.parametre).trimmed();
        const auto cle = std::make_pair(parametre, t.texte(i, r.unite).trimmed());
        auto it = ligneDe.constFind(cle);
        if (it == ligneDe.cend()) {
            LigneSuivi l;
            l.codeParametre = cle.first;
            l.codeUnite = cle.second;
            l.nomParametre = t.texte(i, r.nomParametre);
            l.nomUnite = t.texte(i, r.nomUnite);
            l.symbole = t.texte(i, r.symbole);
            l.valeurs.resize(nbColonnes);
            it = ligneDe.insert(cle, int(lignes.size()));
            lignes.append(l);
        }
        const int c = colonneDe.value(t(i, r.num).toDouble());
        const QVariant &resultat = t(i, r.resultat);
        const QVariant &remarque = t(i, r.remarque);
        const QString valeur = texteResultat(resultat, remarque);
        QString &cellule = lignes[*it].valeurs[c];
        // Several results of one parameter in one sample (fractions, supports) are all shown.
        if (cellule.isEmpty())
            cellule = valeur;
        else if (!valeur.isEmpty() && !cellule.split(QStringLiteral(" ; ")).contains(valeur))
            cellule += QStringLiteral(" ; ") + valeur;
        if (!resultat.isNull()) {
            auto &parColonne = mesures[parametre];
            if (parColonne.isEmpty()) parColonne.resize(nbColonnes);
            parColonne[c].append({resultat.toDouble(), estRemarqueInferieure(remarque),
                                  estRemarqueSuperieure(remarque)});
        }
    }
    return lignes;
}

// The cell of a computed parameter: the sum of the quantified results of its components
// (">" when one of them is a lower bound); when none is quantified, "<" and the largest limit;
// "" when none was measured.
QString celluleCalculee(const QStringList &composants, const MesuresParParametre &mesures, int c)
{
    double somme = 0, limite = 0;
    bool quantifie = false, mesure = false, minimum = false;
    for (const QString &composant : composants)
        for (const Mesure &m : mesures.value(composant.trimmed()).value(c)) {
            mesure = true;
            if (m.inferieure)
                limite = std::max(limite, m.valeur);
            else {
                quantifie = true;
                minimum = minimum || m.superieure;
                somme += m.valeur;
            }
        }
    if (!mesure) return {};
    if (!quantifie) return u'<' + texteValeur(QVariant(limite));
    return (minimum ? QStringLiteral(">") : QString()) + texteValeur(QVariant(somme));
}

// A line per computed parameter one of whose components was measured in the table.
QVector<LigneSuivi> lignesCalculees(const MesuresParParametre &mesures, int nbColonnes)
{
    QVector<LigneSuivi> lignes;
    if (mesures.isEmpty()) return lignes;
    const Tableau calcules = bd().extraire(
        QStringLiteral("SELECT ANALYSES_PARAMETRES.Code AS codeParametre, "
                       "ANALYSES_PARAMETRES.Nom AS nomParametre, "
                       "ANALYSES_PARAMETRES.codeParametresCalcul AS composants, "
                       "ANALYSES_PARAMETRES.UniteReference1 AS codeUnite, "
                       "ANALYSES_UNITES.Nom AS nomUnite, "
                       "ANALYSES_UNITES.Symbole AS symbole FROM ANALYSES_PARAMETRES "
                       "LEFT JOIN ANALYSES_UNITES ON "
                       "ANALYSES_UNITES.Code=ANALYSES_PARAMETRES.UniteReference1 WHERE "
                       "ANALYSES_PARAMETRES.calcule='1' AND "
                       "ANALYSES_PARAMETRES.codeParametresCalcul IS NOT NULL"));
    static const QRegularExpression separateurs(QStringLiteral("[,;+\\s]+"));
    for (int i = 0; i < calcules.nbLignes(); ++i) {
        auto v = [&](const char *c) { return calcules.texte(i, QLatin1String(c)); };
        const QStringList composants = v("composants").split(separateurs, Qt::SkipEmptyParts);
        if (composants.isEmpty()) continue;
        LigneSuivi l;
        l.codeParametre = v("codeParametre").trimmed();
        l.nomParametre = v("nomParametre");
        l.codeUnite = v("codeUnite").trimmed();
        l.nomUnite = v("nomUnite");
        l.symbole = v("symbole");
        l.calcule = true;
        bool present = false;
        for (int c = 0; c < nbColonnes; ++c) {
            l.valeurs << celluleCalculee(composants, mesures, c);
            present = present || !l.valeurs.back().isEmpty();
        }
        if (present) lignes.append(l);
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

    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(requeteSuivi(table, f), nb, t)) {
        if (erreur) *erreur = bd().derniereErreur();
        return false;
    }
    tableau.nbAnalyses = t.nbLignes();
    QHash<double, int> colonneDe;
    tableau.colonnes = colonnesSuivi(t, f.inverse, colonneDe);
    const int nbColonnes = int(tableau.colonnes.size());
    MesuresParParametre mesures;
    tableau.lignes = lignesMesurees(t, colonneDe, nbColonnes, mesures);
    tableau.lignes += lignesCalculees(mesures, nbColonnes);
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
