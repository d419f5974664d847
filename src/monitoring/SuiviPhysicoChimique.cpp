#include "monitoring/SuiviPhysicoChimique.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "monitoring/ReglesAnalyses.h"
#include "schema/TableAnalyses.h"
#include "schema/Catalogue.h"
#include "users/AccesStations.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <map>

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
    for (int i = 0; i < t.nbLignes(); ++i)
        r.append(
            {texteValeur(t(i, 0)),
             t.texte(i, 1).trimmed() + (t.texte(i, 2).trimmed().isEmpty()
                                            ? QString()
                                            : QStringLiteral(" - ") + t.texte(i, 2).trimmed())});
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

bool chargerSuivi(const QString &codeQualitometre, const QString &codeBSS, const FiltresSuivi &f,
                  TableauSuivi &tableau, QString *erreur)
{
    tableau = {};
    // A wrong date would otherwise silently widen the period to every date.
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
    QString raison;
    const QString table = tableAnalyses(codeBSS, &raison);
    if (table.isEmpty()) {
        if (erreur) *erreur = raison;
        return false;
    }
    if (!bd().tableExiste(PREFIXE_ANALYSES + codeBSS.trimmed())) return true;
    (void)codeQualitometre;

    const QString debut =
        f.dateDebut.trimmed().isEmpty() ? QStringLiteral("01/01/1900") : f.dateDebut.trimmed();
    const QString fin =
        (f.dateFin.trimmed().isEmpty() ? QStringLiteral("31/12/2050") : f.dateFin.trimmed()) +
        QStringLiteral(" 23:59:59");
    QString sql =
        QStringLiteral("SELECT ") + table +
        QStringLiteral(".NumPrelevement, PRELEVEMENTS.DateDebut, "
                       "QUALITOMETRES_POINTS_OPERATIONS.dateDebut, ") +
        table + QStringLiteral(".CodeParametre, ") + table + QStringLiteral(".CodeUnite, ") +
        table + QStringLiteral(".Resultat, ") + table +
        QStringLiteral(".CodeRemarque, ANALYSES_PARAMETRES.Nom, ANALYSES_UNITES.Nom, "
                       "ANALYSES_UNITES.Symbole FROM ((") +
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
    sql += QStringLiteral(" ORDER BY ") + table + QStringLiteral(".NumPrelevement, ") + table +
           QStringLiteral(".NumAnalyse");

    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t)) {
        if (erreur) *erreur = bd().derniereErreur();
        return false;
    }
    tableau.nbAnalyses = t.nbLignes();

    // Columns: one per sample.
    QHash<double, int> colonneDe;
    for (int i = 0; i < t.nbLignes(); ++i) {
        const double n = t(i, 0).toDouble();
        if (colonneDe.contains(n)) continue;
        colonneDe.insert(n, 0);
        const QString num = texteValeur(t(i, 0));
        const QVariant date = t(i, 2).isNull() ? t(i, 1) : t(i, 2);
        ColonneSuivi c;
        c.date = date.toDateTime();
        c.numPrelevement = num;
        c.entete = (c.date.isValid() ? c.date.date().toString(QStringLiteral("dd/MM/yyyy"))
                                     : QStringLiteral("(sans date)")) +
                   QStringLiteral(" (") + num + u')';
        tableau.colonnes.append(c);
    }
    std::stable_sort(tableau.colonnes.begin(), tableau.colonnes.end(),
                     [&](const ColonneSuivi &a, const ColonneSuivi &b) {
                         if (a.date != b.date) return f.inverse ? b.date < a.date : a.date < b.date;
                         return f.inverse ? avantCode(b.numPrelevement, a.numPrelevement)
                                          : avantCode(a.numPrelevement, b.numPrelevement);
                     });
    for (int c = 0; c < tableau.colonnes.size(); ++c)
        colonneDe[tableau.colonnes[c].numPrelevement.toDouble()] = c;

    // Lines: one per parameter and unit.
    std::map<std::pair<QString, QString>, int> ligneDe;
    QVector<LigneSuivi> lignes;
    // Results of each parameter per column, for the computed parameters.
    QHash<QString, QVector<QVector<Mesure>>> mesures;
    const int nbColonnes = int(tableau.colonnes.size());
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString parametre = t.texte(i, 3).trimmed();
        const QString unite = t.texte(i, 4).trimmed();
        const auto cle = std::make_pair(parametre, unite);
        auto it = ligneDe.find(cle);
        if (it == ligneDe.end()) {
            LigneSuivi l;
            l.codeParametre = parametre;
            l.codeUnite = unite;
            l.nomParametre = t.texte(i, 7);
            l.nomUnite = t.texte(i, 8);
            l.symbole = t.texte(i, 9);
            for (int c = 0; c < nbColonnes; ++c)
                l.valeurs << QString();
            it = ligneDe.emplace(cle, int(lignes.size())).first;
            lignes.append(l);
        }
        const int c = colonneDe.value(t(i, 0).toDouble());
        const QString valeur = texteResultat(t(i, 5), t(i, 6));
        QString &cellule = lignes[it->second].valeurs[c];
        // Several results of one parameter in one sample (fractions, supports) are all shown.
        if (cellule.isEmpty())
            cellule = valeur;
        else if (!valeur.isEmpty() && !cellule.split(QStringLiteral(" ; ")).contains(valeur))
            cellule += QStringLiteral(" ; ") + valeur;
        if (!t(i, 5).isNull()) {
            auto &parColonne = mesures[parametre];
            if (parColonne.isEmpty()) parColonne.resize(nbColonnes);
            parColonne[c].append({t(i, 5).toDouble(), estRemarqueInferieure(t(i, 6)),
                                  estRemarqueSuperieure(t(i, 6))});
        }
    }

    // Computed parameters: the sum of the quantified results of their components in each
    // sample (">" when one of them is a lower bound); when none is quantified, "<" and the
    // largest limit.
    const Tableau calcules = bd().extraire(
        QStringLiteral("SELECT ANALYSES_PARAMETRES.Code, ANALYSES_PARAMETRES.Nom, "
                       "ANALYSES_PARAMETRES.codeParametresCalcul, "
                       "ANALYSES_PARAMETRES.UniteReference1, ANALYSES_UNITES.Nom, "
                       "ANALYSES_UNITES.Symbole FROM ANALYSES_PARAMETRES "
                       "LEFT JOIN ANALYSES_UNITES ON "
                       "ANALYSES_UNITES.Code=ANALYSES_PARAMETRES.UniteReference1 WHERE "
                       "ANALYSES_PARAMETRES.calcule='1' AND "
                       "ANALYSES_PARAMETRES.codeParametresCalcul IS NOT NULL"));
    static const QRegularExpression separateurs(QStringLiteral("[,;+\\s]+"));
    for (int i = 0; i < calcules.nbLignes(); ++i) {
        const QStringList composants = calcules.texte(i, 2).split(separateurs, Qt::SkipEmptyParts);
        LigneSuivi l;
        l.codeParametre = calcules.texte(i, 0).trimmed();
        l.nomParametre = calcules.texte(i, 1);
        l.codeUnite = calcules.texte(i, 3).trimmed();
        l.nomUnite = calcules.texte(i, 4);
        l.symbole = calcules.texte(i, 5);
        l.calcule = true;
        bool present = false;
        for (int c = 0; c < nbColonnes; ++c) {
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
            l.valeurs << (!mesure     ? QString()
                          : quantifie ? (minimum ? QStringLiteral(">") : QString()) +
                                            texteValeur(QVariant(somme))
                                      : u'<' + texteValeur(QVariant(limite)));
            present = present || mesure;
        }
        if (present && !composants.isEmpty()) {
            lignes.append(l);
        }
    }

    std::stable_sort(lignes.begin(), lignes.end(), [](const LigneSuivi &a, const LigneSuivi &b) {
        if (a.codeParametre != b.codeParametre) return avantCode(a.codeParametre, b.codeParametre);
        if (a.calcule != b.calcule) return !a.calcule;
        return avantCode(a.codeUnite, b.codeUnite);
    });
    tableau.lignes = lignes;
    return true;
}

} // namespace vyk
