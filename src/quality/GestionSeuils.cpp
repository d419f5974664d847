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
        jeux.append({t.texte(i, QStringLiteral("code")), t.texte(i, QStringLiteral("libelle")),
                     t.texte(i, QStringLiteral("commentaire")),
                     t.texte(i, QStringLiteral("codeReference"))});
    return jeux;
}

CompteRendu peutInsererBornes(const GenreSeuils *genre)
{
    return genre ? reussite() : abandon(texteListeSeuils::TYPE_AVANT_INSERTION, GENRE_AIDE);
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

// Runs the writes in one transaction; on a failure nothing stays and the report gives why.
CompteRendu enTransaction(const std::function<bool()> &ecritures, const QString &fait)
{
    bd().debutTransaction();
    const bool ok = ecritures();
    const QString erreur = bd().derniereErreur();
    if (bd().finTransaction(!ok) && ok) return reussite(fait);
    return echec(texteListeSeuils::ECHEC.arg(erreur.isEmpty() ? bd().derniereErreur() : erreur));
}

} // namespace

CompteRendu enregistrerJeuSeuils(const GenreSeuils &genre, FicheJeuSeuils &fiche,
                                 const QVector<LigneBornes> &lignes)
{
    if (fiche.libelle.trimmed().isEmpty()) return echec(texteListeSeuils::LIBELLE_ABSENT);
    if (const QString m = verifierBornes(genre, lignes); !m.isEmpty()) return echec(m);
    FicheJeuSeuils ecrite = fiche;
    const CompteRendu fait = enTransaction(
        [&] {
            return ecrireFiche(genre, ecrite) && ecrireBornes(genre, ecrite.code.toInt(), lignes);
        },
        texteListeSeuils::MIS_A_JOUR);
    if (fait) fiche = ecrite;
    return fait;
}

CompteRendu supprimerJeuSeuils(const GenreSeuils &genre, const QString &code)
{
    const Nombre n = enNombre(code);
    if (!n.estNombre()) return {};
    const QString numero = QString::number(qint64(n.valeur));
    return enTransaction(
        [&] {
            return bd().Execute(QStringLiteral("DELETE FROM ANALYSES_SEUILS WHERE typeSeuil=") +
                                numero + QStringLiteral(" AND typeListe=") +
                                sqlTexte(genre.typeListe)) &&
                   bd().Execute(QStringLiteral("DELETE FROM CODES_SANDRE WHERE champ=") +
                                sqlTexte(genre.champ) + QStringLiteral(" AND code=") + numero);
        },
        texteListeSeuils::SUPPRIME);
}

CompteRendu exporterJeuSeuils(const GenreSeuils &genre, const FicheJeuSeuils &fiche,
                              const QString &chemin)
{
    if (fiche.code.trimmed().isEmpty())
        return abandon(texteListeSeuils::SEUIL_AVANT_EXPORT, GENRE_AIDE);
    FichierSeuils fichier;
    for (const LigneBornes &l : lireBornes(genre, fiche.code.toInt()))
        fichier.lignes.append({l.ligne, fiche.code, fiche.libelle, {}, {}, l.textes});
    QString erreur;
    if (exporterGrilleFichier(chemin, QStringLiteral("Seuils"), entetesFichierSeuils(genre),
                              fichier.grille(genre), &erreur))
        return reussite();
    return echec(erreur);
}

} // namespace vyk
