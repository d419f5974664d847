#include "referentials/ModeleReferentielAnalyses.h"

#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "db/RaisonsMoteur.h"
#include "db/Sql.h"

#include <QDate>

#include <algorithm>

namespace vyk {

namespace {

namespace Texte {
const QString DATE_CREATION = QStringLiteral("La date de création du code n'est pas correcte.");
const QString DATE_MODIFICATION =
    QStringLiteral("La date de modification du code n'est pas correcte.");
const QString UTILISE = QStringLiteral(
    "Attention, ce code est utilisé dans la base de données. Vous ne pouvez pas le supprimer.");
const QString AUCUN_CODE =
    QStringLiteral("Sélectionnez d'abord le code à supprimer dans la liste.");
const QString REMPLACER = QStringLiteral(
    "Voulez vous remplacer l'historique des données du paramètre %1 par un nouveau code ?");
const QString REMPLACEMENT_ABSENT = QStringLiteral(
    "Le code de remplacement n'existe pas. Merci de le créer avant d'effectuer les modifications");
const QString CONFIRMER_REMPLACEMENT =
    QStringLiteral("Merci de confirmer que nous allons remplacer l'historique des résultats du "
                   "code %1 par le code %2");
const QString UNITE_REMPLACEMENT =
    QStringLiteral("Les unités seront remplacées par l'unité par défaut du nouveau code: ");
const QString SANS_UNITE =
    QStringLiteral("Ce code n'a pas d'unité par défaut. Toutes les unités seront donc "
                   "renseignées à une valeur vide pour les remplacements.");
const QString REMPLACEMENT_TERMINE =
    QStringLiteral("Le remplacement de l'historique du paramètre %1 par le code %2 est terminé.");
const QString REMPLACEMENT_INCOMPLET = QStringLiteral(
    "Le remplacement de l'historique du paramètre %1 par le code %2 n'a pas pu être achevé : %3");
const QString MEME_CODE =
    QStringLiteral("Le code de remplacement doit être différent du code remplacé.");
const QString PURGE_ECHEC = QStringLiteral("La purge a échoué, rien n'a été supprimé : %1");
QString existeDeja(const QString &code)
{
    return QStringLiteral("Le code ") + code + QStringLiteral(" existe déjà.");
}
QString tropLong(const QString &libelle, int taille)
{
    return QStringLiteral("Le champ « ") + libelle + QStringLiteral(" » ne doit pas dépasser ") +
           QString::number(taille) + QStringLiteral(" caractères.");
}
QString echec(const QString &erreur)
{
    return QStringLiteral("L'enregistrement a échoué :\n") + erreur;
}
QString echecSuppression(const QString &erreur)
{
    return QStringLiteral("La suppression a échoué :\n") + erreur;
}
} // namespace Texte

// Numeric codes in numeric order, then the others in text order.
bool avant(const QString &a, const QString &b)
{
    bool na = false, nb = false;
    const double da = a.toDouble(&na), db = b.toDouble(&nb);
    if (na && nb) return da < db || (da == db && a < b);
    if (na != nb) return na;
    return a < b;
}

// Status texts of older rows ("Validé") read as their number.
QString statutLu(const QString &texte)
{
    const QString t = texte.trimmed();
    if (t.isEmpty()) return t;
    const int n = statutDepuisTexte(t);
    return n >= 0 ? QString::number(n) : t;
}

} // namespace

ModeleReferentielAnalyses::ModeleReferentielAnalyses(Referentiel referentiel)
    : m_description(descriptionReferentiel(referentiel))
{
    for (const ChampReferentiel &c : m_description.champs)
        if (!c.entete.isEmpty()) m_grille.entetes << c.entete;
    m_grille.colonneCode = 0;
}

QString ModeleReferentielAnalyses::selectColonnes() const
{
    QStringList colonnes;
    for (const ChampReferentiel &c : m_description.champs)
        colonnes << c.colonne;
    return QStringLiteral("SELECT ") + colonnes.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM ") + m_description.table;
}

FicheReferentiel ModeleReferentielAnalyses::lireFiche(const Tableau &t, int ligne) const
{
    FicheReferentiel f;
    f.nouvelle = false;
    for (int c = 0; c < m_description.champs.size(); ++c) {
        const ChampReferentiel &champ = m_description.champs[c];
        QString v = t.texte(ligne, c);
        if (champ.statut) v = statutLu(v);
        if (champ.genre != NatureChamp::Memo) v = v.trimmed();
        f.valeurs.insert(champ.colonne, v);
    }
    return f;
}

QStringList ModeleReferentielAnalyses::ligneGrille(const FicheReferentiel &f) const
{
    QStringList r;
    for (const ChampReferentiel &c : m_description.champs) {
        if (c.entete.isEmpty()) continue;
        const QString v = f.valeur(c.colonne);
        if (c.statut && !libelleStatut(v).isEmpty())
            r << libelleStatut(v);
        else if (c.genre == NatureChamp::OuiNon)
            r << (v == QLatin1String("1") ? QStringLiteral("Oui") : QStringLiteral("Non"));
        else
            r << v;
    }
    return r;
}

bool ModeleReferentielAnalyses::charger()
{
    m_grille.vider();
    m_fiches.clear();
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(selectColonnes(), nb, t)) return false;
    m_fiches.reserve(t.nbLignes());
    for (int i = 0; i < t.nbLignes(); ++i)
        m_fiches.append(lireFiche(t, i));
    std::stable_sort(m_fiches.begin(), m_fiches.end(),
                     [](const FicheReferentiel &a, const FicheReferentiel &b) {
                         return avant(a.code(), b.code());
                     });
    m_grille.lignes.reserve(m_fiches.size());
    for (const FicheReferentiel &f : std::as_const(m_fiches))
        m_grille.lignes.append(ligneGrille(f));
    return true;
}

FicheReferentiel ModeleReferentielAnalyses::nouvelleFiche()
{
    FicheReferentiel f;
    f.nouvelle = true;
    f.valeurs.insert(QStringLiteral("DateCreation"),
                     QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    // A row typed by hand is meant to be used: the choice lists of the cards show active rows.
    if (m_description.champ(QStringLiteral("Actif")))
        f.valeurs.insert(QStringLiteral("Actif"), QStringLiteral("1"));
    return f;
}

FicheReferentiel ModeleReferentielAnalyses::fiche(int ligne) const
{
    return ligne >= 0 && ligne < m_fiches.size() ? m_fiches[ligne] : FicheReferentiel{};
}

int ModeleReferentielAnalyses::ligne(const QString &code) const
{
    const QString c = code.trimmed();
    for (int i = 0; i < m_fiches.size(); ++i)
        if (m_fiches[i].code() == c) return i;
    return -1;
}

QStringList ModeleReferentielAnalyses::verifier(const FicheReferentiel &f) const
{
    QStringList erreurs;
    if (f.code().isEmpty()) erreurs << m_description.codeVide;
    if (!dateCorrecte(f.valeur(QStringLiteral("DateCreation")))) erreurs << Texte::DATE_CREATION;
    if (!dateCorrecte(f.valeur(QStringLiteral("DateModification"))))
        erreurs << Texte::DATE_MODIFICATION;
    for (const ChampReferentiel &c : m_description.champs)
        if (c.taille > 0 && (c.genre == NatureChamp::Texte || c.genre == NatureChamp::Code) &&
            f.valeur(c.colonne).trimmed().size() > c.taille)
            erreurs << Texte::tropLong(c.libelle, c.taille);
    // A new row may not take the code of a stored one: it would overwrite it.
    if (erreurs.isEmpty() && f.nouvelle &&
        !bd().valeur(QStringLiteral("SELECT Code FROM ") + m_description.table +
                     QStringLiteral(" WHERE Code=") + sqlTexte(f.code()))
             .isNull())
        erreurs << Texte::existeDeja(f.code());
    return erreurs;
}

CompteRendu ModeleReferentielAnalyses::appliquer(FicheReferentiel &f)
{
    const QString code = f.code();
    const QString cle = QStringLiteral(" WHERE Code=") + sqlTexte(code);
    JeuEnregistrements jeu;
    bool trouve = false;
    if (!bd().AccesBase(QStringLiteral("SELECT * FROM ") + m_description.table + cle, jeu, trouve,
                        m_description.table))
        return echec(Texte::echec(bd().derniereErreur()));
    if (!trouve) jeu.addnew();
    for (const ChampReferentiel &c : m_description.champs) {
        QString v = f.valeur(c.colonne);
        if (c.genre != NatureChamp::Memo) v = v.trimmed();
        jeu.fields(c.colonne) = v.isEmpty() ? QVariant() : QVariant(v);
    }
    if (!jeu.Update()) {
        const QString erreur =
            jeu.derniereErreur().isEmpty() ? bd().derniereErreur() : jeu.derniereErreur();
        jeu.Close();
        return echec(Texte::echec(erreur));
    }
    jeu.Close();

    // The grid shows the row as stored, read again.
    const Tableau t = bd().extraire(selectColonnes() + cle);
    if (t.estVide()) return echec(texteIntrouvable(code));
    f = lireFiche(t, 0);
    int i = ligne(code);
    if (i < 0) {
        // New rows take their place in the code order.
        i = 0;
        while (i < m_fiches.size() && avant(m_fiches[i].code(), code))
            ++i;
        m_fiches.insert(i, f);
        m_grille.lignes.insert(i, ligneGrille(f));
    } else {
        m_fiches[i] = f;
        majLigne(i, ligneGrille(f));
    }
    return reussite();
}

CompteRendu ModeleReferentielAnalyses::supprimer(const FicheReferentiel &f)
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    const QString code = f.code();
    if (f.nouvelle || code.isEmpty()) return echec(Texte::AUCUN_CODE);
    if (estUtilise(m_description.referentiel, code)) return echec(Texte::UTILISE);
    if (!confirmer(m_description.question.arg(code))) return {};
    if (!bd().Execute(QStringLiteral("DELETE FROM ") + m_description.table +
                      QStringLiteral(" WHERE Code=") + sqlTexte(code)))
        return echec(Texte::echecSuppression(bd().derniereErreur()));
    const int i = ligne(code);
    if (i >= 0) {
        retirerLigne(i);
        m_fiches.removeAt(i);
    }
    return reussite(m_description.supprime);
}

CompteRendu ModeleReferentielAnalyses::purger(Progression &progression)
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    if (m_description.questionPurge.isEmpty()) return {};
    if (!confirmer(m_description.questionPurge))
        return abandon(m_description.purgeAnnulee, GENRE_INFO);
    progression.message(QStringLiteral("Suppression des ") + m_description.titre.toLower() +
                        QStringLiteral(" non utilisés"));
    const int n = purgerNonUtilises(m_description.referentiel, progression);
    if (n < 0) {
        const QString texte = progression.annule() ? m_description.purgeAnnulee
                                                   : Texte::PURGE_ECHEC.arg(bd().derniereErreur());
        charger();
        return echec(texte);
    }
    charger();
    return reussite(m_description.purgeTerminee);
}

CompteRendu ModeleReferentielAnalyses::confirmerRemplacement(const QString &ancien) const
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    return confirmer(Texte::REMPLACER.arg(ancien.trimmed())) ? reussite() : CompteRendu{};
}

CompteRendu ModeleReferentielAnalyses::remplacerHistorique(const QString &ancienBrut,
                                                           const QString &nouveauBrut,
                                                           Progression &progression)
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    const QString ancien = ancienBrut.trimmed();
    const QString nouveau = nouveauBrut.trimmed();
    if (nouveau.isEmpty()) return {};
    if (nouveau == ancien) return echec(Texte::MEME_CODE);
    const CibleRemplacement cible = lireCibleRemplacement(nouveau);
    if (!cible.existe) return echec(Texte::REMPLACEMENT_ABSENT);
    const QString confirmation =
        Texte::CONFIRMER_REMPLACEMENT.arg(ancien, nouveau) + u'\n' +
        (cible.unite.isEmpty() ? Texte::SANS_UNITE : Texte::UNITE_REMPLACEMENT + cible.unite);
    if (!confirmer(confirmation)) return {};
    const bool ok = remplacerHistoriqueParametre(ancien, nouveau, progression);
    const QString erreur = raisonMoteur(bd().derniereErreur());
    charger();
    if (!ok) return echec(Texte::REMPLACEMENT_INCOMPLET.arg(ancien, nouveau, erreur));
    return reussite(Texte::REMPLACEMENT_TERMINE.arg(ancien, nouveau));
}

EntreesCodees ModeleReferentielAnalyses::entrees(const ChampReferentiel &champ)
{
    if (!champ.entrees.isEmpty()) return champ.entrees;
    if (champ.statut) return entreesStatut();
    return champ.source.isEmpty() ? EntreesCodees{} : entreesRequete(champ.source);
}

} // namespace vyk
