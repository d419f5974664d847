#include "monitoring/GrillesSatellites.h"

#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

#include <QSet>

namespace vyk {

namespace {

// The newest row of a table for a parent: its start date and value, as one text ("" when none).
QString plusRecent(const QString &table, const QString &colonne, const QString &codeParent)
{
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT DateDebut, ") + colonne + QStringLiteral(" FROM ") +
                      table + QStringLiteral(" WHERE CodeQualitometre=") + codeParent +
                      QStringLiteral(" ORDER BY DateDebut DESC"));
    return t.estVide() ? QString()
                       : t.texte(0, QStringLiteral("DateDebut")) + u'|' + t.texte(0, colonne);
}

QString dernierRepere(const QString &codeParent)
{
    return plusRecent(QStringLiteral("SYSTEMES_ALTIMETRIQUES_QUALITO"), QStringLiteral("Altitude"),
                      codeParent) +
           u'#' +
           plusRecent(QStringLiteral("REPERES_QUALITO"), QStringLiteral("Hauteur"), codeParent);
}

} // namespace

QString messageSatellite(const DefinitionGrille &g, const ColonneGrille &col, DefautSaisie defaut,
                         int n, const QString &)
{
    const QString ligne = texteGrilles::POUR_LA_LIGNE + QString::number(n) + g.suffixe;
    if (col.estChronologique()) return col.sujet + ligne + texteGrilles::PAS_CORRECTE;
    switch (defaut) {
    case DefautSaisie::Absent:
        return col.sujet + ligne + u'.';
    case DefautSaisie::Illisible:
        if (col.numerique) break;
        [[fallthrough]];
    case DefautSaisie::TropLong:
        return g.messageLongueur.isEmpty()
                   ? texteGrilles::TROP_LONG.arg(col.libelle).arg(n).arg(g.suffixe).arg(col.taille)
                   : g.messageLongueur;
    default:
        break;
    }
    return texteGrilles::PAS_UN_NOMBRE.arg(col.libelle).arg(n).arg(g.suffixe);
}

namespace {

QVector<QVariant> parentDe(const QString &codeParent)
{
    const Nombre parent = enNombre(codeParent.trimmed(), true);
    return {parent.estNombre() ? QVariant(parent.valeur) : QVariant()};
}

} // namespace

LignesGrille GrilleSatellite::charger(const QString &codeParent) const
{
    const QVector<QVariant> parent = parentDe(codeParent);
    return parent[0].isNull() ? LignesGrille() : GrilleEditable::charger(parent);
}

CompteRendu GrilleSatellite::supprimerLigne(const QString &codeParent, const LigneGrille &ligne,
                                            const Confirmation &confirmer) const
{
    if (!confirmer(texteGrilles::CONFIRMER_SUPPRESSION.arg(definition().quoi))) return {};
    const QVector<QVariant> parent = parentDe(codeParent);
    QString erreur;
    if (!parent[0].isNull() && !GrilleEditable::supprimerLigne(parent, ligne, erreur))
        return echec(texteGrilles::ECHEC.arg(erreur));
    return reussite(texteGrilles::LIEN_SUPPRIME.arg(definition().quoi));
}

CompteRendu enregistrerSatellites(const DefinitionSauvegarde &sauvegarde, const QString &codeParent,
                                  QHash<QString, LignesGrille> &lignes, const QString &nbTournees,
                                  const QVector<DefinitionGrille> &catalogue)
{
    const Nombre parent = enNombre(codeParent.trimmed(), true);
    if (codeParent.trimmed().isEmpty() || !parent.estNombre())
        return echec(sauvegarde.messageParentAbsent);
    const QString code = sqlNombre(parent.valeur);
    QVector<const DefinitionGrille *> grilles;
    for (const QString &nom : sauvegarde.grilles)
        for (const DefinitionGrille &g : catalogue)
            if (g.nom == nom) grilles << &g;

    for (const DefinitionGrille *g : grilles) {
        const LignesGrille &l = lignes[g->nom];
        const QString erreur = GrilleSatellite(*g).verifier(l).message;
        if (!erreur.isEmpty())
            return {false, erreur,
                    g->messageLongueur == erreur ? g->genreMessageLongueur : GENRE_ERREUR};
        if (!g->colonneDistincte.isEmpty()) {
            const GrilleSatellite grille(*g);
            const int c = g->indexColonne(g->colonneDistincte);
            QSet<QString> vues;
            for (const LigneGrille &ligne : l) {
                if (grille.estVide(ligne)) continue;
                const QString v =
                    grille.texteCellule(c, grille.valeurStockee(c, ligne.textes.value(c)));
                if (vues.contains(v)) return echec(g->messageDoublons);
                vues.insert(v);
            }
        }
    }
    QVariant tournees;
    if (sauvegarde.regle == RegleSauvegarde::Interventions && !nbTournees.trimmed().isEmpty()) {
        bool ok = false;
        const int n = nbTournees.trimmed().toInt(&ok);
        if (!ok || n < 0) return echec(texteGrilles::TOURNEES);
        tournees = n;
    }

    for (const DefinitionGrille *g : grilles)
        if (!g->journal.isEmpty()) journaliser(g->journal + code);
    const QString repereAvant =
        sauvegarde.regle == RegleSauvegarde::Altimetrie ? dernierRepere(code) : QString();

    Transaction transaction;
    QHash<QString, LignesGrille> ecrites = lignes;
    QString erreur;
    for (const DefinitionGrille *g : grilles)
        if (!GrilleSatellite(*g).remplacer({parent.valeur}, ecrites[g->nom], erreur)) break;
    if (erreur.isEmpty() && sauvegarde.regle == RegleSauvegarde::Altimetrie) {
        const QVariant altitude = bd().valeur(
            QStringLiteral(
                "SELECT Altitude FROM SYSTEMES_ALTIMETRIQUES_QUALITO WHERE CodeQualitometre=") +
            code + QStringLiteral(" ORDER BY DateDebut DESC"));
        const QString valeur =
            altitude.isNull() ? QStringLiteral("null") : sqlNombre(altitude.toDouble());
        if (!bd().Execute(QStringLiteral("UPDATE QUALITOMETRES SET Altitude=") + valeur +
                          QStringLiteral(" WHERE codeQualitometre=") + code))
            erreur = bd().derniereErreur();
    }
    if (erreur.isEmpty() && sauvegarde.regle == RegleSauvegarde::Interventions &&
        !bd().Execute(
            QStringLiteral("UPDATE Qualitometres SET nbTournees=") +
            (tournees.isNull() ? QStringLiteral("null") : QString::number(tournees.toInt())) +
            QStringLiteral(" WHERE CodeQualitometre=") + code))
        erreur = bd().derniereErreur();
    if (!erreur.isEmpty() || !transaction.valider()) {
        if (erreur.isEmpty()) erreur = bd().derniereErreur();
        transaction.annuler();
        return echec(texteGrilles::ECHEC.arg(erreur));
    }

    // The lines now carry their numbers and the keys of their rows.
    for (const DefinitionGrille *g : grilles)
        lignes[g->nom] = ecrites[g->nom];
    QString fin = sauvegarde.messageFin;
    if (sauvegarde.regle == RegleSauvegarde::Altimetrie) {
        const QString repereApres = dernierRepere(code);
        if (repereAvant != QLatin1String("#") && repereAvant != repereApres)
            fin = texteGrilles::ALTIMETRIE_CHANGEMENT;
    }
    return reussite(fin);
}

} // namespace vyk
