#include "referentials/ModeleListeCodes.h"

#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "referentials/ListesCodees.h"
#include "referentials/ReferentielCodes.h"

#include <QDate>

#include <limits>

namespace vyk {

namespace {

// The screen's texts, in one place.
namespace Texte {
const QString LIBELLE_VIDE = QStringLiteral("Renseignez le libellé du code.");
const QString TYPE_VIDE = QStringLiteral("Renseignez le type du code.");
const QString DATE_CREATION = QStringLiteral("La date de création du code n'est pas correcte.");
const QString DATE_MODIFICATION =
    QStringLiteral("La date de modification du code n'est pas correcte.");
const QString CODE_INCORRECT =
    QStringLiteral("Le code doit être un nombre entier compris entre -32768 et 32767.");
const QString STATUT_INCORRECT = QStringLiteral("Le statut du code n'est pas correct.");
const QString ENREGISTRE = QStringLiteral("Enregistrement de la fiche du code SANDRE terminé.");
const QString CHRONIQUES =
    QStringLiteral("Les codes concernant les chroniques ne peuvent pas être supprimés car ils "
                   "sont utilisés par VYK pour les chargements de données.");
const QString UTILISE =
    QStringLiteral("Attention, ce code est utilisé dans la base de données. Vous ne pouvez pas le "
                   "supprimer.");
const QString SUPPRIME = QStringLiteral("Le code a été supprimé.");
const QString AUCUN_CODE =
    QStringLiteral("Sélectionnez d'abord le code à supprimer dans la liste.");
QString existeDeja(const QString &code, const QString &champ)
{
    return QStringLiteral("Le code ") + code + QStringLiteral(" existe déjà pour ") + champ + u'.';
}
QString question(const QString &code, const QString &champ)
{
    return QStringLiteral("Supprimer le code ") + code + QStringLiteral(" pour ") + champ +
           QStringLiteral(" ?");
}
QString echec(const QString &erreur)
{
    return QStringLiteral("L'enregistrement du code a échoué :\n") + erreur;
}
QString echecSuppression(const QString &erreur)
{
    return QStringLiteral("La suppression du code a échoué :\n") + erreur;
}
} // namespace Texte

const QStringList ENTETES = {
    QStringLiteral("Code"),        QStringLiteral("Type"),        QStringLiteral("Libellé"),
    QStringLiteral("Commentaire"), QStringLiteral("Code Statut"), QStringLiteral("Date création"),
    QStringLiteral("Date Modif"),  QStringLiteral("Auteur"),      QStringLiteral("Statut"),
    QStringLiteral("Projet"),      QStringLiteral("Référence"),   QStringLiteral("Mnémonique")};

// The integer of a code text, within the range of the column; false otherwise.
bool lireCode(const QString &texte, int &code)
{
    bool ok = false;
    const qlonglong n = texte.trimmed().toLongLong(&ok);
    if (!ok || n < std::numeric_limits<short>::min() || n > std::numeric_limits<short>::max())
        return false;
    code = int(n);
    return true;
}

} // namespace

ModeleListeCodes::ModeleListeCodes()
{
    m_grille.entetes = ENTETES;
    m_grille.colonneCode = 0;
}

QStringList ModeleListeCodes::champs() const
{
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT DISTINCT Champ FROM Codes_Sandre ORDER BY Champ"));
    QStringList r;
    r.reserve(t.nbLignes());
    for (int i = 0; i < t.nbLignes(); ++i)
        if (const QVariant &champ = t.valeur(i, QStringLiteral("Champ")); !champ.isNull())
            r << texteValeur(champ);
    return r;
}

void ModeleListeCodes::choisirChamp(const QString &champ)
{
    const QString c = champ.trimmed();
    m_champ = c == CODE_TOUS || c == QLatin1String("%") ? QString() : c.toUpper();
}

bool ModeleListeCodes::charger()
{
    m_grille.vider();
    m_fiches.clear();
    QString sql = QStringLiteral(
        "SELECT Champ, Code, Libelle, Commentaire, Statut, DateCreation, DateModification, "
        "Auteur, Projet, codeReference, mnemonique FROM Codes_Sandre");
    if (!tousLesChamps()) sql += QStringLiteral(" WHERE Champ=") + sqlTexte(m_champ);
    sql += QStringLiteral(" ORDER BY Champ, Code");
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t)) return false;
    m_fiches.reserve(t.nbLignes());
    m_grille.lignes.reserve(t.nbLignes());
    for (int i = 0; i < t.nbLignes(); ++i) {
        auto v = [&](const char *c) { return t.texte(i, QLatin1String(c)); };
        FicheCode f;
        f.champ = v("Champ");
        f.code = v("Code");
        f.libelle = v("Libelle");
        f.commentaire = v("Commentaire");
        f.statut = v("Statut");
        f.dateCreation = v("DateCreation");
        f.dateModification = v("DateModification");
        f.auteur = v("Auteur");
        f.projet = v("Projet");
        f.codeReference = v("codeReference");
        f.mnemonique = v("mnemonique");
        f.nouvelle = false;
        m_grille.lignes.append(ligneGrille(f));
        m_fiches.append(std::move(f));
    }
    return true;
}

QStringList ModeleListeCodes::ligneGrille(const FicheCode &f) const
{
    return {f.code,
            f.champ,
            f.libelle,
            f.commentaire,
            f.statut,
            f.dateCreation,
            f.dateModification,
            f.auteur,
            libelleStatut(f.statut),
            f.projet,
            f.codeReference,
            f.mnemonique};
}

int ModeleListeCodes::codeSuivant(const QString &champ)
{
    const QVariant max =
        bd().valeur(QStringLiteral("SELECT max(Code) FROM Codes_Sandre WHERE Champ=") +
                    sqlTexte(champ.trimmed().toUpper()));
    return max.isNull() ? 1 : max.toInt() + 1;
}

FicheCode ModeleListeCodes::nouvelleFiche()
{
    return nouvelleFiche(m_champ);
}

FicheCode ModeleListeCodes::nouvelleFiche(const QString &champ) const
{
    FicheCode f;
    f.champ = champ.trimmed().toUpper();
    f.code = QString::number(codeSuivant(f.champ));
    f.dateCreation = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    f.auteur = session().login;
    f.projet = bd().module().isEmpty() ? QStringLiteral("VYK") : bd().module();
    f.nouvelle = true;
    return f;
}

FicheCode ModeleListeCodes::fiche(int ligne) const
{
    return ligne >= 0 && ligne < m_fiches.size() ? m_fiches[ligne] : FicheCode{};
}

int ModeleListeCodes::ligne(const QString &champ, const QString &code) const
{
    const QString c = champ.trimmed().toUpper();
    const QString k = code.trimmed();
    for (int i = 0; i < m_fiches.size(); ++i)
        if (m_fiches[i].champ.toUpper() == c && m_fiches[i].code == k) return i;
    return -1;
}

QStringList ModeleListeCodes::verifier(const FicheCode &f) const
{
    QStringList erreurs;
    if (f.libelle.trimmed().isEmpty()) erreurs << Texte::LIBELLE_VIDE;
    if (f.champ.trimmed().isEmpty()) erreurs << Texte::TYPE_VIDE;
    if (!dateCorrecte(f.dateCreation)) erreurs << Texte::DATE_CREATION;
    if (!dateCorrecte(f.dateModification)) erreurs << Texte::DATE_MODIFICATION;
    int code = 0;
    if (!lireCode(f.code, code)) erreurs << Texte::CODE_INCORRECT;
    if (!f.statut.trimmed().isEmpty() && libelleStatut(f.statut).isEmpty())
        erreurs << Texte::STATUT_INCORRECT;
    // A new entry may not take the key of an existing one: it would overwrite it.
    if (erreurs.isEmpty() && f.nouvelle &&
        !bd().valeur(QStringLiteral("SELECT Code FROM Codes_Sandre WHERE Champ=") +
                     sqlTexte(f.champ.trimmed().toUpper()) + QStringLiteral(" AND Code=") +
                     QString::number(code))
             .isNull())
        erreurs << Texte::existeDeja(QString::number(code), f.champ.trimmed().toUpper());
    return erreurs;
}

CompteRendu ModeleListeCodes::appliquer(FicheCode &f)
{
    int code = 0;
    lireCode(f.code, code);
    const QString champ = f.champ.trimmed().toUpper();
    JeuEnregistrements jeu;
    bool trouve = false;
    if (!bd().AccesBase(QStringLiteral("SELECT * FROM Codes_Sandre WHERE Champ=") +
                            sqlTexte(champ) + QStringLiteral(" AND Code=") + QString::number(code),
                        jeu, trouve, QStringLiteral("Codes_Sandre")))
        return echec(Texte::echec(bd().derniereErreur()));
    if (!trouve) jeu.addnew();
    jeu.fields(QStringLiteral("Champ")) = champ;
    jeu.fields(QStringLiteral("Code")) = code;
    jeu.fields(QStringLiteral("Libelle")) = f.libelle.trimmed();
    // A comment keeps its layout, blanks around it included.
    jeu.fields(QStringLiteral("Commentaire")) =
        f.commentaire.trimmed().isEmpty() ? QVariant() : QVariant(f.commentaire);
    jeu.fields(QStringLiteral("Statut")) =
        f.statut.trimmed().isEmpty() ? QVariant() : QVariant(f.statut.trimmed().toInt());
    jeu.fields(QStringLiteral("DateCreation")) = nulSiVide(f.dateCreation.trimmed());
    jeu.fields(QStringLiteral("DateModification")) = nulSiVide(f.dateModification.trimmed());
    jeu.fields(QStringLiteral("Auteur")) = nulSiVide(f.auteur.trimmed());
    jeu.fields(QStringLiteral("Projet")) = nulSiVide(f.projet.trimmed());
    jeu.fields(QStringLiteral("codeReference")) = nulSiVide(f.codeReference.trimmed());
    jeu.fields(QStringLiteral("mnemonique")) = nulSiVide(f.mnemonique.trimmed());
    if (!jeu.Update()) {
        const QString erreur =
            jeu.derniereErreur().isEmpty() ? bd().derniereErreur() : jeu.derniereErreur();
        jeu.Close();
        return echec(Texte::echec(erreur));
    }
    jeu.Close();

    // The grid shows what the table holds now.
    FicheCode enregistree = f;
    enregistree.champ = champ;
    enregistree.code = QString::number(code);
    enregistree.libelle = f.libelle.trimmed();
    enregistree.statut = f.statut.trimmed();
    enregistree.dateCreation = f.dateCreation.trimmed().isEmpty()
                                   ? QString()
                                   : texteDate(lireDate(f.dateCreation.trimmed()));
    enregistree.dateModification = f.dateModification.trimmed().isEmpty()
                                       ? QString()
                                       : texteDate(lireDate(f.dateModification.trimmed()));
    enregistree.nouvelle = false;
    f = enregistree;
    if (tousLesChamps() || champ == m_champ) {
        const int i = majLigne(ligne(champ, enregistree.code), ligneGrille(enregistree));
        if (i >= m_fiches.size())
            m_fiches.append(enregistree);
        else
            m_fiches[i] = enregistree;
    }
    return reussite();
}

bool ModeleListeCodes::estUtilise(const QString &champ, const QString &code)
{
    // TABLE.COLUMN[.SUBLIST]: the column is the part between the first and the second dot.
    const QStringList parties = champ.trimmed().split(u'.');
    if (parties.size() < 2) return false;
    bool okTable = false, okColonne = false;
    const QString table = identifiantSql(parties[0], &okTable);
    const QString colonne = identifiantSql(parties[1], &okColonne);
    if (!okTable || !okColonne || !bd().tableExiste(parties[0]) ||
        !bd().colonneExiste(parties[0], parties[1]))
        return false;
    // Compared as text: the column may hold numbers or texts depending on the table.
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(QStringLiteral("SELECT DISTINCT ") + colonne +
                                  QStringLiteral(" FROM ") + table +
                                  QStringLiteral(" WHERE cstr(") + colonne + QStringLiteral(")=") +
                                  sqlTexte(code.trimmed()),
                              nb, t))
        return false;
    return nb > 0;
}

CompteRendu ModeleListeCodes::supprimer(const FicheCode &f)
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    const QString champ = f.champ.trimmed().toUpper();
    int code = 0;
    if (f.nouvelle || champ.isEmpty() || !lireCode(f.code, code)) return echec(Texte::AUCUN_CODE);
    if (champ.contains(QLatin1String("CHRONIQUE"))) return echec(Texte::CHRONIQUES);
    const QString codeTexte = QString::number(code);
    if (estUtilise(champ, codeTexte)) return echec(Texte::UTILISE);
    if (!confirmer(Texte::question(codeTexte, champ))) return {};
    if (!bd().Execute(QStringLiteral("DELETE FROM CODES_SANDRE WHERE Champ=") + sqlTexte(champ) +
                      QStringLiteral(" AND Code=") + codeTexte))
        return echec(Texte::echecSuppression(bd().derniereErreur()));
    const int i = ligne(champ, codeTexte);
    if (i >= 0) {
        retirerLigne(i);
        m_fiches.removeAt(i);
    }
    return reussite(Texte::SUPPRIME);
}

ReferentielListe ModeleListeCodes::referentiel() const
{
    if (tousLesChamps()) return {};
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT code, referentiel FROM CODES_SANDRE_REFERENTIEL WHERE champ=") +
        sqlTexte(m_champ) + QStringLiteral(" AND code IS NOT NULL"));
    if (t.estVide()) return {};
    return {t.texte(0, QStringLiteral("code")), t.texte(0, QStringLiteral("referentiel"))};
}

QString ModeleListeCodes::lienReferentiel() const
{
    const ReferentielListe r = referentiel();
    return r.existe() ? adresseReferentiel(r.numero, r.version) : QString();
}

QString ModeleListeCodes::messageEnregistre() const
{
    return Texte::ENREGISTRE;
}

} // namespace vyk
