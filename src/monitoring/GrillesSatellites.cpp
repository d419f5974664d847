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

const QDate JOUR_DES_HEURES(1899, 12, 30);

QTime lireHeure(const QString &texte)
{
    const QString t = texte.trimmed();
    for (const char *format : {"HH:mm", "H:mm", "HH:mm:ss", "H:mm:ss", "HH'h'mm"}) {
        const QTime h = QTime::fromString(t, QString::fromLatin1(format));
        if (h.isValid())
            return h;
    }
    return {};
}

int lireAnnee(const QString &texte)
{
    bool ok = false;
    const int annee = texte.trimmed().toInt(&ok);
    return ok && annee >= 1000 && annee <= 9999 ? annee : 0;
}

bool estDate(GenreColonne g)
{
    return g == GenreColonne::Date || g == GenreColonne::Heure || g == GenreColonne::Annee;
}

QString ligneMessage(const QString &sujet, int n, const QString &suffixe, bool correcte)
{
    return sujet + texteGrilles::POUR_LA_LIGNE + QString::number(n) + suffixe + (correcte ? texteGrilles::PAS_CORRECTE : QStringLiteral("."));
}

// The newest row of a table for a parent: its start date and value, as one text ("" when none).
QString plusRecent(const QString &table, const QString &colonne, const QString &codeParent)
{
    const Tableau t = bd().extraire(QStringLiteral("SELECT DateDebut, ") + colonne + QStringLiteral(" FROM ") + table +
                                    QStringLiteral(" WHERE CodeQualitometre=") + codeParent + QStringLiteral(" ORDER BY DateDebut DESC"));
    return t.estVide() ? QString() : t.texte(0, 0) + u'|' + t.texte(0, 1);
}

QString dernierRepere(const QString &codeParent)
{
    return plusRecent(QStringLiteral("SYSTEMES_ALTIMETRIQUES_QUALITO"), QStringLiteral("Altitude"), codeParent) + u'#' +
           plusRecent(QStringLiteral("REPERES_QUALITO"), QStringLiteral("Hauteur"), codeParent);
}

} // namespace

int DefinitionGrille::indexColonne(const QString &colonne) const
{
    for (int c = 0; c < colonnes.size(); ++c)
        if (colonnes[c].colonne.compare(colonne, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

bool GrilleSatellite::colonneNumerique(const QString &colonne) const
{
    const DefinitionTable *table = definitionTable(m_def.table);
    const DefinitionColonne *def = table ? table->colonne(colonne) : nullptr;
    return def && (def->type == TypeNeutre::Reel || def->type == TypeNeutre::Court || def->type == TypeNeutre::Long);
}

QVariant GrilleSatellite::valeurStockee(int colonne, const QString &brut) const
{
    const ColonneGrille &c = m_def.colonnes[colonne];
    const QString texte = brut.trimmed();
    if (texte.isEmpty() && c.genre != GenreColonne::Case)
        return {};
    switch (c.genre) {
    case GenreColonne::Nombre:
        return enNombre(texte, true).variant();
    case GenreColonne::Date: {
        const QDateTime d = lireDate(texte);
        return d.isValid() ? QVariant(QDateTime(d.date(), QTime(0, 0))) : QVariant();
    }
    case GenreColonne::Heure: {
        const QTime h = lireHeure(texte);
        return h.isValid() ? QVariant(QDateTime(JOUR_DES_HEURES, h)) : QVariant();
    }
    case GenreColonne::Annee: {
        const int annee = lireAnnee(texte);
        return annee ? QVariant(QDateTime(QDate(annee, 1, 1), QTime(0, 0))) : QVariant();
    }
    case GenreColonne::Case: {
        const QString v = texte == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
        return colonneNumerique(c.colonne) ? QVariant(v.toDouble()) : QVariant(v);
    }
    case GenreColonne::Code:
        if (colonneNumerique(c.colonne))
            return enNombre(texte, true).variant();
        return texte;
    case GenreColonne::Texte:
        break;
    }
    return brut;
}

QString GrilleSatellite::texteCellule(int colonne, const QVariant &v) const
{
    const ColonneGrille &c = m_def.colonnes[colonne];
    switch (c.genre) {
    case GenreColonne::Date:
        return texteDate(v.toDateTime());
    case GenreColonne::Heure:
        return v.isNull() ? QString() : v.toDateTime().time().toString(QStringLiteral("HH:mm"));
    case GenreColonne::Annee:
        return v.isNull() ? QString() : QString::number(v.toDateTime().date().year());
    case GenreColonne::Case:
        return texteValeur(v).trimmed() == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return texteValeur(v);
    }
}

bool GrilleSatellite::estVide(const LigneSatellite &ligne) const
{
    for (int c = 0; c < m_def.colonnes.size(); ++c) {
        const ColonneGrille &col = m_def.colonnes[c];
        if (col.automatique || col.genre == GenreColonne::Case)
            continue;
        if (!ligne.textes.value(c).trimmed().isEmpty())
            return false;
    }
    return true;
}

QVector<QVariant> GrilleSatellite::cleDe(const LigneSatellite &ligne) const
{
    QVector<QVariant> cle;
    for (int c = 0; c < m_def.colonnes.size(); ++c)
        if (m_def.colonnes[c].cle)
            cle << valeurStockee(c, ligne.textes.value(c));
    return cle;
}

LignesSatellite GrilleSatellite::charger(const QString &codeParent) const
{
    LignesSatellite lignes;
    const Nombre parent = enNombre(codeParent, true);
    if (!parent.estNombre())
        return lignes;
    QStringList colonnes;
    for (const ColonneGrille &c : m_def.colonnes)
        colonnes << c.colonne;
    QString sql = QStringLiteral("SELECT ") + colonnes.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + m_def.table +
                  QStringLiteral(" WHERE ") + m_def.colonneParent + u'=' + sqlNombre(parent.valeur);
    if (!m_def.ordre.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + m_def.ordre;
    const Tableau t = bd().extraire(sql);
    lignes.reserve(t.nbLignes());
    for (int l = 0; l < t.nbLignes(); ++l) {
        LigneSatellite ligne;
        for (int c = 0; c < m_def.colonnes.size(); ++c) {
            ligne.textes << texteCellule(c, t(l, c));
            if (m_def.colonnes[c].cle)
                ligne.cle << t(l, c);
        }
        // A line whose key columns are all empty still has a stored row.
        if (ligne.cle.isEmpty())
            ligne.cle << QVariant();
        lignes << ligne;
    }
    return lignes;
}

QString GrilleSatellite::verifier(const LignesSatellite &lignes) const
{
    const DefinitionTable *table = definitionTable(m_def.table);
    // Dates first, then the other columns in their order.
    QVector<int> ordre;
    for (int c = 0; c < m_def.colonnes.size(); ++c)
        if (estDate(m_def.colonnes[c].genre))
            ordre << c;
    for (int c = 0; c < m_def.colonnes.size(); ++c)
        if (!estDate(m_def.colonnes[c].genre))
            ordre << c;

    for (int l = 0; l < lignes.size(); ++l) {
        if (estVide(lignes[l]))
            continue;
        const int n = l + 1;
        for (int c : ordre) {
            const ColonneGrille &col = m_def.colonnes[c];
            if (col.automatique)
                continue;
            const QString texte = lignes[l].textes.value(c).trimmed();
            const bool vide = texte.isEmpty();
            switch (col.genre) {
            case GenreColonne::Date:
            case GenreColonne::Heure:
            case GenreColonne::Annee:
                if ((vide && col.obligatoire) || (!vide && valeurStockee(c, texte).isNull()))
                    return ligneMessage(col.sujet, n, m_def.suffixe, true);
                break;
            case GenreColonne::Code:
            case GenreColonne::Nombre:
                if (vide && col.obligatoire)
                    return ligneMessage(col.sujet, n, m_def.suffixe, false);
                if (!vide && (col.genre == GenreColonne::Nombre || colonneNumerique(col.colonne)) && !estNombre(texte))
                    return texteGrilles::PAS_UN_NOMBRE.arg(col.titre).arg(n).arg(m_def.suffixe);
                break;
            case GenreColonne::Texte: {
                const DefinitionColonne *def = table ? table->colonne(col.colonne) : nullptr;
                if (def && def->type == TypeNeutre::Texte && def->taille > 0 && lignes[l].textes.value(c).size() > def->taille)
                    return m_def.messageLongueur.isEmpty()
                               ? texteGrilles::TROP_LONG.arg(col.titre).arg(n).arg(m_def.suffixe).arg(def->taille)
                               : m_def.messageLongueur;
                break;
            }
            case GenreColonne::Case:
                break;
            }
        }
    }
    return {};
}

bool GrilleSatellite::supprimerLigne(const QString &codeParent, const LigneSatellite &ligne) const
{
    if (afficherMessage(QStringLiteral("question"), texteGrilles::CONFIRMER_SUPPRESSION.arg(m_def.quoi)) != BoutonOui)
        return false;
    const Nombre parent = enNombre(codeParent, true);
    if (ligne.estEnregistree() && parent.estNombre()) {
        QString sql = QStringLiteral("DELETE FROM ") + m_def.table + QStringLiteral(" WHERE ") + m_def.colonneParent + u'=' +
                      sqlNombre(parent.valeur);
        QVector<QVariant> valeurs;
        int k = 0;
        for (const ColonneGrille &c : m_def.colonnes) {
            if (!c.cle)
                continue;
            const QVariant v = ligne.cle.value(k++);
            if (v.isNull()) {
                sql += QStringLiteral(" AND ") + c.colonne + QStringLiteral(" is null");
            } else {
                sql += QStringLiteral(" AND ") + c.colonne + QStringLiteral(" = ?");
                valeurs << v;
            }
        }
        InstructionPreparee suppression = bd().preparer(sql);
        if (!suppression.executer(valeurs)) {
            afficherMessage(QStringLiteral("Erreur"), texteGrilles::ECHEC.arg(suppression.erreur()));
            return false;
        }
    }
    afficherMessage(QStringLiteral("Aide"), texteGrilles::LIEN_SUPPRIME.arg(m_def.quoi));
    return true;
}

bool GrilleSatellite::remplacer(const QString &codeParent, LignesSatellite &lignes, QString &erreur) const
{
    const QString parent = codeParent;
    // Numbers of the new lines follow the highest stored or kept one.
    int numero = -1;
    double prochain = 1;
    for (int c = 0; c < m_def.colonnes.size(); ++c)
        if (m_def.colonnes[c].automatique) {
            numero = c;
            const QVariant max = bd().valeur(QStringLiteral("SELECT max(") + m_def.colonnes[c].colonne + QStringLiteral(") FROM ") +
                                             m_def.table + QStringLiteral(" WHERE ") + m_def.colonneParent + u'=' + parent);
            prochain = max.isNull() ? 1 : max.toDouble() + 1;
            for (const LigneSatellite &l : lignes)
                if (const Nombre n = enNombre(l.textes.value(c), true); n.estNombre() && n.valeur >= prochain)
                    prochain = n.valeur + 1;
        }

    if (!bd().Execute(QStringLiteral("DELETE FROM ") + m_def.table + QStringLiteral(" WHERE ") + m_def.colonneParent + u'=' + parent)) {
        erreur = bd().derniereErreur();
        return false;
    }
    QStringList colonnes{m_def.colonneParent};
    QStringList marques{QStringLiteral("?")};
    for (const ColonneGrille &c : m_def.colonnes) {
        colonnes << c.colonne;
        marques << QStringLiteral("?");
    }
    InstructionPreparee ajout = bd().preparer(QStringLiteral("INSERT INTO ") + m_def.table + QStringLiteral(" (") +
                                              colonnes.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                                              marques.join(QStringLiteral(", ")) + u')');
    for (LigneSatellite &ligne : lignes) {
        if (estVide(ligne))
            continue;
        while (ligne.textes.size() < m_def.colonnes.size())
            ligne.textes << QString();
        if (numero >= 0 && !enNombre(ligne.textes[numero], true).estNombre())
            ligne.textes[numero] = QString::number(qint64(prochain++));
        QVector<QVariant> valeurs{QVariant(parent.toDouble())};
        for (int c = 0; c < m_def.colonnes.size(); ++c)
            valeurs << valeurStockee(c, ligne.textes[c]);
        if (!ajout.executer(valeurs)) {
            erreur = ajout.erreur().isEmpty() ? bd().derniereErreur() : ajout.erreur();
            return false;
        }
    }
    return true;
}

bool enregistrerSatellites(const DefinitionSauvegarde &sauvegarde, const QString &codeParent,
                           QHash<QString, LignesSatellite> &lignes, const QString &nbTournees,
                           const QVector<DefinitionGrille> &catalogue)
{
    const Nombre parent = enNombre(codeParent.trimmed(), true);
    if (codeParent.trimmed().isEmpty() || !parent.estNombre()) {
        afficherMessage(QStringLiteral("Erreur"), sauvegarde.messageParentAbsent);
        return false;
    }
    const QString code = sqlNombre(parent.valeur);
    QVector<const DefinitionGrille *> grilles;
    for (const QString &nom : sauvegarde.grilles)
        for (const DefinitionGrille &g : catalogue)
            if (g.nom == nom)
                grilles << &g;

    for (const DefinitionGrille *g : grilles) {
        const LignesSatellite &l = lignes[g->nom];
        const QString erreur = GrilleSatellite(*g).verifier(l);
        if (!erreur.isEmpty()) {
            afficherMessage(g->messageLongueur == erreur ? g->genreMessageLongueur : QStringLiteral("Erreur"), erreur);
            return false;
        }
        if (!g->colonneDistincte.isEmpty()) {
            const GrilleSatellite grille(*g);
            const int c = g->indexColonne(g->colonneDistincte);
            QSet<QString> vues;
            for (const LigneSatellite &ligne : l) {
                if (grille.estVide(ligne))
                    continue;
                const QString v = grille.texteCellule(c, grille.valeurStockee(c, ligne.textes.value(c)));
                if (vues.contains(v)) {
                    afficherMessage(QStringLiteral("ERREUR"), g->messageDoublons);
                    return false;
                }
                vues.insert(v);
            }
        }
    }
    QVariant tournees;
    if (sauvegarde.regle == RegleSauvegarde::Interventions && !nbTournees.trimmed().isEmpty()) {
        bool ok = false;
        const int n = nbTournees.trimmed().toInt(&ok);
        if (!ok || n < 0) {
            afficherMessage(QStringLiteral("Erreur"), texteGrilles::TOURNEES);
            return false;
        }
        tournees = n;
    }

    for (const DefinitionGrille *g : grilles)
        if (!g->journal.isEmpty())
            journaliser(g->journal + code);
    const QString repereAvant = sauvegarde.regle == RegleSauvegarde::Altimetrie ? dernierRepere(code) : QString();

    Transaction transaction;
    QHash<QString, LignesSatellite> ecrites = lignes;
    QString erreur;
    for (const DefinitionGrille *g : grilles)
        if (!GrilleSatellite(*g).remplacer(code, ecrites[g->nom], erreur))
            break;
    if (erreur.isEmpty() && sauvegarde.regle == RegleSauvegarde::Altimetrie) {
        const QVariant altitude = bd().valeur(QStringLiteral("SELECT Altitude FROM SYSTEMES_ALTIMETRIQUES_QUALITO WHERE CodeQualitometre=") +
                                              code + QStringLiteral(" ORDER BY DateDebut DESC"));
        const QString valeur = altitude.isNull() ? QStringLiteral("null") : sqlNombre(altitude.toDouble());
        if (!bd().Execute(QStringLiteral("UPDATE QUALITOMETRES SET Altitude=") + valeur + QStringLiteral(" WHERE codeQualitometre=") + code))
            erreur = bd().derniereErreur();
    }
    if (erreur.isEmpty() && sauvegarde.regle == RegleSauvegarde::Interventions &&
        !bd().Execute(QStringLiteral("UPDATE Qualitometres SET nbTournees=") +
                      (tournees.isNull() ? QStringLiteral("null") : QString::number(tournees.toInt())) +
                      QStringLiteral(" WHERE CodeQualitometre=") + code))
        erreur = bd().derniereErreur();
    if (!erreur.isEmpty() || !transaction.valider()) {
        if (erreur.isEmpty())
            erreur = bd().derniereErreur();
        transaction.annuler();
        afficherMessage(QStringLiteral("Erreur"), texteGrilles::ECHEC.arg(erreur));
        return false;
    }

    // The lines now carry their numbers and the keys of their rows.
    for (const DefinitionGrille *g : grilles) {
        LignesSatellite &l = ecrites[g->nom];
        LignesSatellite gardees;
        const GrilleSatellite grille(*g);
        for (LigneSatellite &ligne : l) {
            if (grille.estVide(ligne))
                continue;
            ligne.cle = grille.cleDe(ligne);
            if (ligne.cle.isEmpty())
                ligne.cle << QVariant();
            gardees << ligne;
        }
        lignes[g->nom] = gardees;
    }
    QString fin = sauvegarde.messageFin;
    if (sauvegarde.regle == RegleSauvegarde::Altimetrie) {
        const QString repereApres = dernierRepere(code);
        if (repereAvant != QLatin1String("#") && repereAvant != repereApres)
            fin = texteGrilles::ALTIMETRIE_CHANGEMENT;
    }
    afficherMessage(QStringLiteral("Aide"), fin);
    return true;
}

} // namespace vyk
