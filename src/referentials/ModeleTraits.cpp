#include "referentials/ModeleTraits.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"

#include <QSet>

#include <limits>

namespace vyk {

namespace {

namespace Texte {
const QString GROUPE = QStringLiteral("Renseignez le groupe du trait.");
const QString NOM = QStringLiteral("Renseignez le nom du trait.");
const QString CODE =
    QStringLiteral("Le code du trait doit être un nombre entier compris entre 1 et 32767.");
const QString ENREGISTRE = QStringLiteral("Enregistrement du trait terminé.");
const QString SUPPRIME = QStringLiteral("Le trait a été supprimé.");
const QString UTILISE =
    QStringLiteral("Attention, ce trait est utilisée par certains taxons. Etes vous sur de vouloir "
                   "le supprimer ainsi que sa référence dans les taxons concernés ?");
const QString MODALITE_SUPPRIMEE = QStringLiteral("La modalité est supprimée.");
const QString AUCUN = QStringLiteral("Sélectionnez d'abord le trait à supprimer dans la liste.");
QString question(const QString &nom)
{
    return QStringLiteral("Supprimer le trait ") + nom + QStringLiteral(" ?");
}
QString modaliteUtilisee(const QString &nom)
{
    return QStringLiteral("Voulez vous supprimer la modalité ") + nom +
           QStringLiteral(" du trait car celle-ci est actuellement utilisée ?");
}
QString modaliteCode(int n)
{
    return QStringLiteral("Le code de la modalité de la ligne ") + QString::number(n) +
           QStringLiteral(" doit être un nombre entier compris entre 1 et 32767.");
}
QString modaliteDouble(const QString &code)
{
    return QStringLiteral("La modalité ") + code + QStringLiteral(" est saisie plusieurs fois.");
}
QString modaliteNom(int n)
{
    return QStringLiteral("Renseignez le nom de la modalité de la ligne ") + QString::number(n) +
           u'.';
}
QString existeDeja(const QString &code)
{
    return QStringLiteral("Le trait ") + code + QStringLiteral(" existe déjà.");
}
QString echec(const QString &e)
{
    return QStringLiteral("L'enregistrement du trait a échoué :\n") + e;
}
QString echecSuppression(const QString &e)
{
    return QStringLiteral("La suppression a échoué :\n") + e;
}
} // namespace Texte

const QStringList ENTETES = {QStringLiteral("Code"), QStringLiteral("Nom"),
                             QStringLiteral("Groupe"), QStringLiteral("Modalités")};

bool lireCode(const QString &texte, int &code)
{
    bool ok = false;
    const int n = texte.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > std::numeric_limits<short>::max()) return false;
    code = n;
    return true;
}

} // namespace

QVector<TraitDisponible> traitsDisponibles()
{
    QVector<TraitDisponible> traits;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT codeTrait, nom, groupe FROM TRAITS_ECOBIO ORDER BY codeTrait ASC"));
    const Tableau m = bd().extraire(
        QStringLiteral("SELECT codeTrait, codeModalite, nom FROM TRAITS_ECOBIO_MODALITES ORDER BY "
                       "codeTrait, codeModalite ASC"));
    QHash<QString, int> index;
    for (int i = 0; i < t.nbLignes(); ++i) {
        auto v = [&](const char *c) { return t.texte(i, QLatin1String(c)); };
        index.insert(v("codeTrait"), int(traits.size()));
        traits.append({v("codeTrait"), v("nom"), v("groupe"), {}});
    }
    for (int i = 0; i < m.nbLignes(); ++i) {
        auto v = [&](const char *c) { return m.texte(i, QLatin1String(c)); };
        const auto it = index.constFind(v("codeTrait"));
        if (it != index.constEnd()) traits[*it].modalites.append({v("codeModalite"), v("nom"), 0});
    }
    return traits;
}

ModeleTraits::ModeleTraits()
{
    m_grille.entetes = ENTETES;
}

bool ModeleTraits::charger()
{
    m_grille.vider();
    m_fiches.clear();
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(
            QStringLiteral("SELECT codeTrait, nom, groupe, commentaires, referencesBiblio "
                           "FROM TRAITS_ECOBIO ORDER BY codeTrait ASC"),
            nb, t))
        return false;
    const Tableau m = bd().extraire(
        QStringLiteral("SELECT codeTrait, codeModalite, nom, commentaires, abbreviation "
                       "FROM TRAITS_ECOBIO_MODALITES ORDER BY codeTrait, codeModalite ASC"));
    const QHash<QString, QString> groupes = libellesListe(CHAMP_GROUPE);
    QHash<QString, int> index;
    for (int i = 0; i < t.nbLignes(); ++i) {
        auto v = [&](const char *c) { return t.texte(i, QLatin1String(c)); };
        FicheTrait f;
        f.code = v("codeTrait");
        f.nom = v("nom");
        f.groupe = v("groupe");
        f.commentaires = v("commentaires");
        f.references = v("referencesBiblio");
        f.nouvelle = false;
        index.insert(f.code, int(m_fiches.size()));
        m_fiches.append(f);
    }
    for (int i = 0; i < m.nbLignes(); ++i) {
        auto v = [&](const char *c) { return m.texte(i, QLatin1String(c)); };
        const auto it = index.constFind(v("codeTrait"));
        if (it != index.constEnd())
            m_fiches[*it].modalites.append(
                {v("codeModalite"), v("nom"), v("commentaires"), v("abbreviation")});
    }
    for (const FicheTrait &f : std::as_const(m_fiches))
        m_grille.lignes.append({f.code, f.nom, groupes.value(f.groupe, f.groupe),
                                QString::number(f.modalites.size())});
    return true;
}

FicheTrait ModeleTraits::nouvelleFiche()
{
    FicheTrait f;
    const QVariant max = bd().valeur(QStringLiteral("SELECT max(codeTrait) FROM TRAITS_ECOBIO"));
    f.code = QString::number(max.isNull() ? 1 : max.toInt() + 1);
    return f;
}

FicheTrait ModeleTraits::fiche(int ligne) const
{
    return ligne >= 0 && ligne < m_fiches.size() ? m_fiches[ligne] : FicheTrait{};
}

FicheTrait ModeleTraits::lireTrait(const QString &code)
{
    FicheTrait f;
    int n = 0;
    if (!lireCode(code, n)) return f;
    const Tableau t = bd().extraire(QStringLiteral("SELECT * FROM TRAITS_ECOBIO WHERE codeTrait=") +
                                    QString::number(n));
    if (t.estVide()) return f;
    f.code = QString::number(n);
    f.nom = t.texte(0, QStringLiteral("nom"));
    f.groupe = t.texte(0, QStringLiteral("groupe"));
    f.commentaires = t.texte(0, QStringLiteral("commentaires"));
    f.references = t.texte(0, QStringLiteral("referencesBiblio"));
    f.nouvelle = false;
    const Tableau m =
        bd().extraire(QStringLiteral("SELECT * FROM TRAITS_ECOBIO_MODALITES WHERE codeTrait=") +
                      QString::number(n) + QStringLiteral(" ORDER BY codeModalite ASC"));
    for (int i = 0; i < m.nbLignes(); ++i)
        f.modalites.append({m.texte(i, QStringLiteral("codeModalite")),
                            m.texte(i, QStringLiteral("nom")),
                            m.texte(i, QStringLiteral("commentaires")),
                            m.texte(i, QStringLiteral("abbreviation"))});
    return f;
}

int ModeleTraits::ligne(const QString &code) const
{
    for (int i = 0; i < m_fiches.size(); ++i)
        if (m_fiches[i].code == code.trimmed()) return i;
    return -1;
}

QStringList ModeleTraits::verifier(const FicheTrait &f) const
{
    QStringList erreurs;
    int code = 0;
    if (!lireCode(f.code, code)) erreurs << Texte::CODE;
    if (f.nom.trimmed().isEmpty()) erreurs << Texte::NOM;
    if (f.groupe.trimmed().isEmpty()) erreurs << Texte::GROUPE;
    QSet<int> vues;
    for (int i = 0; i < f.modalites.size(); ++i) {
        const ModaliteTrait &m = f.modalites[i];
        int c = 0;
        if (!lireCode(m.code, c)) {
            erreurs << Texte::modaliteCode(i + 1);
            continue;
        }
        if (m.nom.trimmed().isEmpty()) erreurs << Texte::modaliteNom(i + 1);
        if (vues.contains(c)) erreurs << Texte::modaliteDouble(QString::number(c));
        vues.insert(c);
    }
    // A new trait may not take the code of another: it would merge their modalities.
    if (erreurs.isEmpty() && f.nouvelle &&
        !bd().valeur(QStringLiteral("SELECT codeTrait FROM TRAITS_ECOBIO WHERE codeTrait=") +
                     QString::number(code))
             .isNull())
        erreurs << Texte::existeDeja(QString::number(code));
    return erreurs;
}

CompteRendu ModeleTraits::appliquer(FicheTrait &f)
{
    int code = 0;
    lireCode(f.code, code);
    const QString c = QString::number(code);
    Transaction transaction;
    bool ok = transaction.estOuverte();
    if (ok) {
        JeuEnregistrements jeu;
        bool trouve = false;
        ok = bd().AccesBase(QStringLiteral("SELECT * FROM TRAITS_ECOBIO WHERE codeTrait=") + c, jeu,
                            trouve, QStringLiteral("TRAITS_ECOBIO"));
        if (ok) {
            if (!trouve) jeu.addnew();
            jeu.fields(QStringLiteral("codeTrait")) = code;
            jeu.fields(QStringLiteral("nom")) = f.nom.trimmed();
            jeu.fields(QStringLiteral("groupe")) =
                f.groupe.trimmed().isEmpty() ? QVariant() : QVariant(f.groupe.trimmed().toInt());
            jeu.fields(QStringLiteral("commentaires")) = nulSiVide(f.commentaires);
            jeu.fields(QStringLiteral("referencesBiblio")) = nulSiVide(f.references);
            ok = jeu.Update();
            jeu.Close();
        }
    }
    // The modalities are those of the form: the stored ones are replaced.
    ok = ok &&
         bd().Execute(QStringLiteral("DELETE FROM TRAITS_ECOBIO_MODALITES WHERE codeTrait=") + c);
    if (ok) {
        InstructionPreparee ajout =
            bd().preparer(QStringLiteral("INSERT INTO TRAITS_ECOBIO_MODALITES (codeTrait, "
                                         "codeModalite, nom, commentaires, abbreviation) "
                                         "VALUES (?, ?, ?, ?, ?)"));
        for (const ModaliteTrait &m : std::as_const(f.modalites)) {
            ok = ajout.executer({code, m.code.trimmed().toInt(), m.nom.trimmed(),
                                 nulSiVide(m.description), nulSiVide(m.abreviation)});
            if (!ok) break;
        }
    }
    if (CompteRendu fin = conclureTransaction(transaction, ok, Texte::echec); !fin) return fin;
    f.code = c;
    f.nouvelle = false;
    const QHash<QString, QString> groupes = libellesListe(CHAMP_GROUPE);
    const int i = majLigne(ligne(c), {c, f.nom.trimmed(), groupes.value(f.groupe, f.groupe),
                                      QString::number(f.modalites.size())});
    if (i >= m_fiches.size())
        m_fiches.append(f);
    else
        m_fiches[i] = f;
    return reussite();
}

CompteRendu ModeleTraits::supprimer(const FicheTrait &f)
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    int code = 0;
    if (f.nouvelle || !lireCode(f.code, code)) return echec(Texte::AUCUN);
    const QString c = QString::number(code);
    if (!confirmer(Texte::question(f.nom))) return {};
    const bool utilise =
        !bd().extraire(QStringLiteral(
                           "SELECT DISTINCT CodeTrait FROM TRAITS_ECOBIO_TAXONS WHERE CodeTrait=") +
                       c)
             .estVide();
    if (utilise && !confirmer(Texte::UTILISE)) return {};
    Transaction transaction;
    const bool ok =
        transaction.estOuverte() &&
        bd().Execute(QStringLiteral("DELETE FROM TRAITS_ECOBIO WHERE CodeTrait=") + c) &&
        bd().Execute(QStringLiteral("DELETE FROM TRAITS_ECOBIO_TAXONS WHERE CodeTrait=") + c) &&
        bd().Execute(QStringLiteral("DELETE FROM TRAITS_ECOBIO_MODALITES WHERE CodeTrait=") + c);
    if (CompteRendu fin = conclureTransaction(transaction, ok, Texte::echecSuppression); !fin)
        return fin;
    const int i = ligne(c);
    if (i >= 0) {
        retirerLigne(i);
        m_fiches.removeAt(i);
    }
    return reussite(Texte::SUPPRIME);
}

CompteRendu ModeleTraits::supprimerModalite(const QString &codeTrait, const QString &codeModalite,
                                            const QString &nomModalite)
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    int trait = 0, modalite = 0;
    // A line never saved has no row.
    if (!lireCode(codeTrait, trait) || !lireCode(codeModalite, modalite)) return reussite();
    const QString condition = QStringLiteral(" WHERE codeTrait=") + QString::number(trait) +
                              QStringLiteral(" AND codeModalite=") + QString::number(modalite);
    if (bd().valeur(QStringLiteral("SELECT count(*) FROM TRAITS_ECOBIO_MODALITES") + condition)
            .toLongLong() == 0)
        return reussite();
    const bool utilisee =
        !bd().extraire(QStringLiteral("SELECT codeModalite FROM TRAITS_ECOBIO_TAXONS") + condition)
             .estVide();
    if (utilisee && !confirmer(Texte::modaliteUtilisee(nomModalite))) return {};
    Transaction transaction;
    const bool ok =
        transaction.estOuverte() &&
        (!utilisee ||
         bd().Execute(QStringLiteral("UPDATE TRAITS_ECOBIO_TAXONS SET codeModalite = null") +
                      condition)) &&
        bd().Execute(QStringLiteral("DELETE FROM TRAITS_ECOBIO_MODALITES") + condition);
    if (CompteRendu fin = conclureTransaction(transaction, ok, Texte::echecSuppression); !fin)
        return fin;
    const int i = ligne(QString::number(trait));
    if (i >= 0) {
        QVector<ModaliteTrait> &m = m_fiches[i].modalites;
        for (qsizetype k = 0; k < m.size(); ++k)
            if (m[k].code.trimmed() == QString::number(modalite)) m.removeAt(k--);
        majLigne(i, {m_fiches[i].code, m_fiches[i].nom, m_grille.lignes[i].value(2),
                     QString::number(m.size())});
    }
    return reussite(Texte::MODALITE_SUPPRIMEE);
}

QString ModeleTraits::messageEnregistre() const
{
    return Texte::ENREGISTRE;
}

} // namespace vyk
