#include "quality/ImportSeuils.h"

#include "app/Csv.h"
#include "classeur/Classeur.h"
#include "db/BaseDonnees.h"
#include "db/FichiersTexte.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>

namespace vyk {

namespace {

// Columns common to every kind, before the element's.
constexpr int COLONNES_COMMUNES = 5;

QStringList colonnesElement(const GenreSeuils &g)
{
    if (g.avecUnite()) return {QStringLiteral("Code paramètre"), QStringLiteral("Code unité")};
    const ChampsDecrits &c = champsBornes(g);
    QStringList r = {c[0].libelle};
    if (g.avecTypes()) r << QStringLiteral("Type station") << QStringLiteral("Type FR");
    return r;
}

int nbColonnesElement(const GenreSeuils &g)
{
    return int(colonnesElement(g).size());
}

// The first line names its columns, or its bounds are no numbers: a header.
bool estEntete(const GenreSeuils &g, const QStringList &champs)
{
    if (champs.value(1).trimmed().startsWith(QStringLiteral("libell"), Qt::CaseInsensitive))
        return true;
    const int debut = COLONNES_COMMUNES + nbColonnesElement(g);
    for (int i = debut; i < debut + 4; ++i) {
        const QString t = champs.value(i).trimmed();
        if (!t.isEmpty() && !estNombre(t)) return true;
    }
    return false;
}

LigneFichierSeuils ligneDuFichier(const GenreSeuils &g, const QStringList &champs, qsizetype ligne)
{
    auto c = [&](int i) { return champs.value(i).trimmed(); };
    LigneFichierSeuils l{ligne, c(0), c(1), c(3), c(4), {}};
    const int n = nbColonnesElement(g);
    for (int i = 0; i < n; ++i)
        l.bornes << c(COLONNES_COMMUNES + i);
    l.bornes << c(2); // the computed parameter's code
    for (int i = 0; i < 4; ++i)
        l.bornes << c(COLONNES_COMMUNES + n + i);
    return l;
}

} // namespace

bool lireEnregistrements(const QString &chemin, QVector<EnregistrementCsv> &lignes, QString &erreur)
{
    if (formatFichierClasseur(chemin) != FormatClasseur::Inconnu) {
        Classeur classeur;
        if (!classeur.ouvrir(chemin)) {
            erreur = classeur.erreur();
            return false;
        }
        const Feuille *f = classeur.feuille(1);
        const int nbLignes = f ? f->derniereLigne() : 0;
        for (int i = 1; i <= nbLignes; ++i)
            lignes.append({f->plage(i, 1, i, f->derniereColonne()).value(0), i});
        return true;
    }
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) {
        erreur = texteImportSeuils::illisible(chemin);
        return false;
    }
    const QByteArray octets = f.readAll();
    // Counted before any parsing: a file far too long is refused at once.
    if (octets.count('\n') + (octets.endsWith('\n') ? 0 : 1) >= LIGNES_SEUILS_MAX) {
        erreur = texteImportSeuils::TROP_DE_LIGNES;
        return false;
    }
    QString texte = decoderTexte(octets);
    if (texte.startsWith(QChar(0xFEFF))) texte.remove(0, 1);
    return lireCsv(texte, u';', lignes, erreur);
}

QString annonceColonnesSeuils(const GenreSeuils &genre)
{
    QStringList l = {texteImportSeuils::ANNONCE,
                     QStringLiteral("- Code Seuil"),
                     QStringLiteral("- Libellé Seuil"),
                     QStringLiteral("- Code param calculé (facultatif)"),
                     QStringLiteral("- Code thème (facultatif)"),
                     QStringLiteral("- Libellé thème (facultatif)")};
    if (genre.avecUnite())
        l << QStringLiteral("- Code paramètre (facultatif)")
          << QStringLiteral("- Code unité (facultatif)");
    else if (genre.avecTypes())
        l << (genre.typeListe == QLatin1String("1") ? QStringLiteral("- Code taxon (facultatif)")
                                                    : QStringLiteral("- Code indice (facultatif)"))
          << QStringLiteral("- type station (facultatif)")
          << QStringLiteral("- type fr (facultatif)");
    else
        l << QStringLiteral("- Code état (facultatif)");
    for (int i = 1; i <= 4; ++i)
        l << QStringLiteral("- seuil %1 (facultatif)").arg(i);
    return l.join(u'\n');
}

QStringList entetesFichierSeuils(const GenreSeuils &genre)
{
    QStringList e = {QStringLiteral("Code seuil"), QStringLiteral("Libellé seuil"),
                     QStringLiteral("Code Sandre param calculé"), QStringLiteral("Code Thème"),
                     QStringLiteral("Libellé Thème")};
    e << colonnesElement(genre);
    for (int i = 1; i <= 4; ++i)
        e << QStringLiteral("Seuil%1").arg(i);
    return e;
}

QVector<QStringList> FichierSeuils::grille(const GenreSeuils &genre) const
{
    const int n = nbColonnesElement(genre);
    QVector<QStringList> g;
    for (const LigneFichierSeuils &l : lignes)
        g << (QStringList{l.codeSeuil, l.libelleSeuil, l.bornes.value(n), l.codeTheme,
                          l.libelleTheme}
              << l.bornes.mid(0, n) << l.bornes.mid(n + 1));
    return g;
}

bool lireFichierSeuils(const QString &chemin, const GenreSeuils &genre, FichierSeuils &fichier,
                       QString &erreur)
{
    fichier = {chemin, {}};
    QVector<EnregistrementCsv> lignes;
    if (!lireEnregistrements(chemin, lignes, erreur)) return false;
    if (!lignes.isEmpty() && lignes.last().ligne >= LIGNES_SEUILS_MAX) {
        erreur = texteImportSeuils::TROP_DE_LIGNES;
        return false;
    }
    bool premiere = true;
    for (const EnregistrementCsv &e : std::as_const(lignes)) {
        if (enregistrementVide(e.champs)) continue;
        const bool entete = premiere && estEntete(genre, e.champs);
        premiere = false;
        if (!entete) fichier.lignes << ligneDuFichier(genre, e.champs, e.ligne);
    }
    if (fichier.lignes.isEmpty()) {
        erreur = texteImportSeuils::FICHIER_VIDE;
        return false;
    }
    return true;
}

QStringList unitesInconnues(const FichierSeuils &fichier)
{
    QStringList codes;
    for (const LigneFichierSeuils &l : fichier.lignes)
        if (const QString u = l.bornes.value(1); !u.isEmpty() && !codes.contains(u)) codes << u;
    return unitesAbsentes(codes);
}

QStringList unitesAbsentes(const QStringList &codes)
{
    if (codes.isEmpty()) return {};
    QStringList litteraux;
    for (const QString &c : codes)
        litteraux << sqlTexte(c);
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT code FROM analyses_unites WHERE code in (") +
                      litteraux.join(u',') + u')');
    QSet<QString> connues;
    for (int i = 0; i < t.nbLignes(); ++i)
        connues.insert(t.texte(i, QStringLiteral("code")).trimmed());
    QStringList inconnues;
    for (const QString &c : codes)
        if (!connues.contains(c)) inconnues << c;
    return inconnues;
}

namespace {

// The lines of one main set, by group label ("" for the main set's own rows).
struct JeuFichier
{
    QString libelle;
    QMap<QString, QVector<LigneBornes>> groupes;
};

QVector<JeuFichier> jeuxDuFichier(const FichierSeuils &fichier)
{
    QVector<JeuFichier> jeux;
    QHash<QString, int> index;
    for (const LigneFichierSeuils &l : fichier.lignes) {
        auto it = index.find(l.libelleSeuil);
        if (it == index.end()) {
            it = index.insert(l.libelleSeuil, int(jeux.size()));
            jeux.append({l.libelleSeuil, {}});
        }
        jeux[*it].groupes[l.libelleTheme].append({l.ligne, l.bornes});
    }
    return jeux;
}

QString verifierFichier(const GenreSeuils &genre, const QVector<JeuFichier> &jeux,
                        const FichierSeuils &fichier)
{
    for (const LigneFichierSeuils &l : fichier.lignes)
        if (l.libelleSeuil.isEmpty())
            return texteImportSeuils::LIBELLE_VIDE + QStringLiteral(" pour la ligne ") +
                   QString::number(l.ligne) + u'.';
    for (const JeuFichier &j : jeux)
        for (const QVector<LigneBornes> &lignes : j.groupes)
            if (const QString m = verifierBornes(genre, lignes); !m.isEmpty()) return m;
    return {};
}

// The set labelled so, created when absent; the sets that referred to it lose that reference.
// A group is looked up among the sets that refer to no set or to its main set: two main sets
// may each have a theme of the same label.
int jeuReinitialise(const GenreSeuils &genre, const QString &libelle, const QString &parent)
{
    int code = -1;
    if (parent.isEmpty()) {
        code = codeJeuParLibelle(genre, libelle);
    } else {
        const QVariant v = bd().valeur(
            QStringLiteral("SELECT min(code) FROM codes_sandre WHERE champ=") +
            sqlTexte(genre.champ) + QStringLiteral(" and libelle=") + sqlTexte(libelle) +
            QStringLiteral(" and (codereference is null or codereference=") + sqlTexte(parent) +
            u')');
        code = v.isNull() ? -1 : v.toInt();
    }
    if (code < 0) return creerJeu(genre, libelle, {}, parent);
    const QString champ = sqlTexte(genre.champ);
    const QString reference = parent.isEmpty() ? QStringLiteral("null") : sqlTexte(parent);
    if (!bd().Execute(QStringLiteral("UPDATE codes_sandre set codereference=null where champ=") +
                      champ + QStringLiteral(" and codereference=") +
                      sqlTexte(QString::number(code))) ||
        !bd().Execute(QStringLiteral("UPDATE codes_sandre set codereference=") + reference +
                      QStringLiteral(" where champ=") + champ + QStringLiteral(" and code=") +
                      QString::number(code)))
        return -1;
    return code;
}

bool ecrireJeu(const GenreSeuils &genre, const JeuFichier &jeu, BilanImportSeuils &bilan,
               Progression &progression)
{
    const int principal = jeuReinitialise(genre, jeu.libelle, {});
    if (principal < 0 || !ecrireBornes(genre, principal, jeu.groupes.value(QString())))
        return false;
    int jeux = 1, lignes = int(jeu.groupes.value(QString()).size());
    progression.message(texteImportSeuils::GROUPES);
    for (auto it = jeu.groupes.cbegin(); it != jeu.groupes.cend(); ++it) {
        if (it.key().isEmpty()) continue;
        const int groupe = jeuReinitialise(genre, it.key(), QString::number(principal));
        if (groupe < 0 || !ecrireBornes(genre, groupe, *it)) return false;
        ++jeux;
        lignes += int(it->size());
    }
    bilan.jeux += jeux;
    bilan.lignes += lignes;
    return true;
}

} // namespace

BilanImportSeuils importerSeuils(const GenreSeuils &genre, const FichierSeuils &fichier,
                                 Progression &progression)
{
    BilanImportSeuils bilan;
    const QVector<JeuFichier> jeux = jeuxDuFichier(fichier);
    bilan.refus = verifierFichier(genre, jeux, fichier);
    bilan.genreRefus = GENRE_ERREUR;
    if (bilan.refus.isEmpty() && genre.avecUnite()) {
        if (const QStringList u = unitesInconnues(fichier); !u.isEmpty()) {
            bilan.refus = texteImportSeuils::UNITES_INCONNUES + u.join(QStringLiteral(", "));
            bilan.genreRefus = GENRE_WARNING;
        }
    }
    if (!bilan.refus.isEmpty()) return bilan;
    progression.message(texteImportSeuils::INTEGRATION);
    for (qsizetype i = 0; i < jeux.size(); ++i) {
        if (progression.annule()) {
            bilan.annule = true;
            break;
        }
        progression.position(i, jeux.size());
        progression.message(texteImportSeuils::SEUILS_PRINCIPAUX);
        bd().debutTransaction();
        BilanImportSeuils jeu;
        const bool ok = ecrireJeu(genre, jeux[i], jeu, progression);
        const QString erreur = bd().derniereErreur();
        if (!bd().finTransaction(!ok) || !ok) {
            bilan.echecs << jeux[i].libelle + QStringLiteral(" : ") + erreur;
            continue;
        }
        bilan.jeux += jeu.jeux;
        bilan.lignes += jeu.lignes;
    }
    progression.position(jeux.size(), jeux.size());
    return bilan;
}

} // namespace vyk
