#include "quality/GestionSeuils.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "quality/ImportSeuils.h"

namespace vyk {

QVector<FicheJeuSeuils> jeuxSeuils(const GenreSeuils &genre)
{
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT champ, code, libelle, commentaire, codeReference FROM Codes_Sandre "
                       "WHERE champ=") +
        sqlTexte(genre.champ) + QStringLiteral(" order by champ asc, code asc"));
    QVector<FicheJeuSeuils> jeux;
    for (int i = 0; i < t.nbLignes(); ++i)
        jeux.append({t.texte(i, 1), t.texte(i, 2), t.texte(i, 3), t.texte(i, 4)});
    return jeux;
}

bool peutInsererBornes(const GenreSeuils *genre)
{
    if (genre) return true;
    afficherMessage(GENRE_AIDE, texteListeSeuils::TYPE_AVANT_INSERTION);
    return false;
}

namespace {

bool ecrireFiche(const GenreSeuils &genre, FicheJeuSeuils &fiche)
{
    if (fiche.code.trimmed().isEmpty()) {
        const int code = creerJeu(genre, fiche.libelle, fiche.commentaire, fiche.codeReference);
        if (code < 0) return false;
        fiche.code = QString::number(code);
        return true;
    }
    InstructionPreparee maj = bd().preparer(QStringLiteral(
        "UPDATE CODES_SANDRE SET Libelle=?, Commentaire=?, codeReference=?, Projet=?, "
        "DateModification=? WHERE Champ=? AND Code=?"));
    return maj.executer({fiche.libelle.trimmed(), nulSiVide(fiche.commentaire),
                         nulSiVide(fiche.codeReference), QStringLiteral("VYK"),
                         QDateTime(QDate::currentDate(), QTime(0, 0)), genre.champ,
                         fiche.code.trimmed().toInt()});
}

// Runs the writes in one transaction; the reason of a failure is shown and nothing stays.
bool enTransaction(const std::function<bool()> &ecritures)
{
    bd().debutTransaction();
    const bool ok = ecritures();
    const QString erreur = bd().derniereErreur();
    if (bd().finTransaction(!ok) && ok) return true;
    afficherMessage(GENRE_ERREUR,
                    texteListeSeuils::ECHEC.arg(erreur.isEmpty() ? bd().derniereErreur() : erreur));
    return false;
}

} // namespace

bool enregistrerJeuSeuils(const GenreSeuils &genre, FicheJeuSeuils &fiche,
                          const QVector<LigneBornes> &lignes)
{
    if (fiche.libelle.trimmed().isEmpty()) {
        afficherMessage(GENRE_ERREUR, texteListeSeuils::LIBELLE_ABSENT);
        return false;
    }
    if (const QString m = verifierBornes(genre, lignes); !m.isEmpty()) {
        afficherMessage(GENRE_ERREUR, m);
        return false;
    }
    FicheJeuSeuils ecrite = fiche;
    if (!enTransaction([&] {
            return ecrireFiche(genre, ecrite) && ecrireBornes(genre, ecrite.code.toInt(), lignes);
        }))
        return false;
    fiche = ecrite;
    afficherMessage(GENRE_AIDE, texteListeSeuils::MIS_A_JOUR);
    return true;
}

bool supprimerJeuSeuils(const GenreSeuils &genre, const QString &code)
{
    const Nombre n = enNombre(code);
    if (!n.estNombre()) return false;
    const QString numero = QString::number(qint64(n.valeur));
    if (!enTransaction([&] {
            return bd().Execute(QStringLiteral("DELETE FROM ANALYSES_SEUILS WHERE typeSeuil=") +
                                numero + QStringLiteral(" AND typeListe=") +
                                sqlTexte(genre.typeListe)) &&
                   bd().Execute(QStringLiteral("DELETE FROM CODES_SANDRE WHERE champ=") +
                                sqlTexte(genre.champ) + QStringLiteral(" AND code=") + numero);
        }))
        return false;
    afficherMessage(GENRE_AIDE, texteListeSeuils::SUPPRIME);
    return true;
}

bool exporterJeuSeuils(const GenreSeuils &genre, const FicheJeuSeuils &fiche, const QString &chemin)
{
    if (fiche.code.trimmed().isEmpty()) {
        afficherMessage(GENRE_AIDE, texteListeSeuils::SEUIL_AVANT_EXPORT);
        return false;
    }
    FichierSeuils fichier;
    for (const LigneBornes &l : lireBornes(genre, fiche.code.toInt()))
        fichier.lignes.append({l.ligne, fiche.code, fiche.libelle, {}, {}, l.textes});
    QString erreur;
    if (exporterGrilleFichier(chemin, QStringLiteral("Seuils"), entetesFichierSeuils(genre),
                              fichier.grille(genre), &erreur))
        return true;
    afficherMessage(GENRE_ERREUR, erreur);
    return false;
}

} // namespace vyk
