#include "monitoring/Prelevement.h"

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "monitoring/RattachementOperations.h"
#include "monitoring/ReglesAnalyses.h"
#include "monitoring/TableAnalyses.h"
#include "referentials/ReferentielsAnalyses.h"
#include "schema/Catalogue.h"

#include <QTime>

namespace vyk {

namespace {

using G = NatureChamp;
namespace T = textePrelevement;

// The stored value of a cell; ok false when the text cannot be one.
QVariant valeurCellule(const ColonneGrille &c, const QString &texte, bool &ok)
{
    const DefautSaisie d = c.defaut(texte);
    ok = d != DefautSaisie::Illisible && d != DefautSaisie::PasUnNombre;
    return c.valeur(texte);
}

// The first message about a cell of the line; "" when every cell is right.
QString verifierCellules(const QVector<ColonneGrille> &colonnes, const QStringList &textes,
                         int numero, const QString &suffixe)
{
    for (int i = 0; i < colonnes.size() && i < textes.size(); ++i) {
        const ColonneGrille &c = colonnes[i];
        switch (c.defaut(textes[i])) {
        case DefautSaisie::Illisible:
        case DefautSaisie::PasUnNombre:
            return T::VALEUR_INCORRECTE.arg(c.libelle).arg(numero).arg(suffixe);
        case DefautSaisie::TropLong:
            return T::TEXTE_TROP_LONG.arg(c.libelle).arg(numero).arg(suffixe).arg(c.taille);
        default:
            break;
        }
    }
    return {};
}

QString texteCellule(const ColonneGrille &c, const QVariant &v,
                     const QHash<QString, QString> &libelles)
{
    const QString texte = c.texte(v);
    if (c.nature != G::Code || texte.isEmpty()) return texte;
    const QString libelle = libelles.value(texte);
    return libelle.isEmpty() ? texte : texteEntree(libelle, texte);
}

// Labels of every coded column, read once per load; lists of active rows show every row's label.
QHash<QString, QHash<QString, QString>> libellesColonnes(const QVector<ColonneGrille> &colonnes)
{
    QHash<QString, QHash<QString, QString>> r;
    QHash<QString, QHash<QString, QString>> parSource;
    for (const ColonneGrille &c : colonnes) {
        if (c.nature != G::Code || c.liste.isEmpty()) continue;
        QString source = c.liste;
        source.replace(QStringLiteral(" WHERE Actif='1'"), QString());
        if (!parSource.contains(source)) {
            QHash<QString, QString> l;
            ColonneGrille lecture = c;
            lecture.liste = source;
            for (const EntreeCodee &e : entreesColonne(lecture))
                l.insert(e.code, e.libelle);
            parSource.insert(source, l);
        }
        r.insert(c.colonne, parSource.value(source));
    }
    return r;
}

bool ligneVide(const QStringList &textes, const QVector<ColonneGrille> &colonnes)
{
    for (int i = 0; i < textes.size() && i < colonnes.size(); ++i)
        if (!colonnes[i].estVide(textes[i])) return false;
    return true;
}

} // namespace

void EditionPrelevement::definirStation(const QString &codeQualitometre, const QString &codeBSS)
{
    m_station = codeQualitometre.trimmed();
    m_codeBSS = codeBSS.trimmed();
}

namespace {
QString nombreSql(const QString &texte)
{
    return sqlNombre(enNombre(texte).valeur);
}
} // namespace

bool EditionPrelevement::lireFiche(const QString &condition)
{
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT * FROM PRELEVEMENTS WHERE codeQualitometre=") +
        nombreSql(m_station) + condition + QStringLiteral(" ORDER BY NumPrelevement"));
    if (t.estVide()) return false;
    champs.clear();
    const auto libelles = libellesColonnes(champsPrelevement());
    for (const ColonneGrille &c : champsPrelevement())
        champs.insert(c.colonne,
                      texteCellule(c, t.valeur(0, c.colonne), libelles.value(c.colonne)));
    m_numero = texteValeur(t.valeur(0, QStringLiteral("NumPrelevement")));
    point.clear();
    const QString operation = codeCellule(champs.value(QStringLiteral("codeOperation")));
    if (!operation.isEmpty()) {
        const Tableau p = bd().extraire(
            QStringLiteral(
                "SELECT QUALITOMETRES_POINTS.identifiant, QUALITOMETRES_POINTS.nom FROM "
                "QUALITOMETRES_POINTS_OPERATIONS INNER JOIN QUALITOMETRES_POINTS ON "
                "(QUALITOMETRES_POINTS.codeQualitometre=QUALITOMETRES_POINTS_OPERATIONS."
                "codeQualitometre AND "
                "QUALITOMETRES_POINTS.codePoint=QUALITOMETRES_POINTS_OPERATIONS.codePoint) WHERE "
                "QUALITOMETRES_POINTS_OPERATIONS.codeQualitometre=") +
            nombreSql(m_station) +
            QStringLiteral(" AND QUALITOMETRES_POINTS_OPERATIONS.codeOperation=") +
            nombreSql(operation));
        if (!p.estVide()) point = p.texte(0, 0) + QStringLiteral(" - ") + p.texte(0, 1);
    }
    chargerGrilles();
    return true;
}

bool EditionPrelevement::charger(const QString &numPrelevement)
{
    if (!estNombre(numPrelevement.trimmed()) ||
        !lireFiche(QStringLiteral(" AND NumPrelevement=") + nombreSql(numPrelevement))) {
        afficherMessage(QStringLiteral("Erreur"),
                        T::CHARGEMENT_IMPOSSIBLE.arg(numPrelevement.trimmed()));
        return false;
    }
    return true;
}

bool EditionPrelevement::chargerOperation(const QString &codeOperation)
{
    if (estNombre(codeOperation.trimmed()) &&
        lireFiche(QStringLiteral(" AND codeOperation=") + nombreSql(codeOperation)))
        return true;
    nouveau(codeOperation);
    return true;
}

void EditionPrelevement::nouveau(const QString &codeOperation)
{
    m_numero.clear();
    champs.clear();
    for (const ColonneGrille &c : champsPrelevement())
        champs.insert(c.colonne, c.nature == G::OuiNon ? QStringLiteral("0") : QString());
    champs.insert(QStringLiteral("codeOperation"), codeOperation.trimmed());
    point.clear();
    finalites.clear();
    dossiers.clear();
    echantillons.clear();
    analyses.clear();
}

EntreesCodees EditionPrelevement::operations() const
{
    EntreesCodees r;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT codeOperation, dateDebut FROM QUALITOMETRES_POINTS_OPERATIONS WHERE "
                       "codeQualitometre=") +
        nombreSql(m_station) + QStringLiteral(" ORDER BY dateDebut DESC, codeOperation DESC"));
    for (int i = 0; i < t.nbLignes(); ++i)
        r.append({texteValeur(t(i, 0)),
                  t(i, 1).isNull() ? QStringLiteral("(sans date)")
                                   : t(i, 1).toDate().toString(QStringLiteral("dd/MM/yyyy"))});
    return r;
}

namespace {

LignesPrelevement lireLignes(const QString &sql, const QVector<ColonneGrille> &colonnes,
                             const QString &colonneNumero)
{
    LignesPrelevement r;
    const Tableau t = bd().extraire(sql);
    const auto libelles = libellesColonnes(colonnes);
    for (int i = 0; i < t.nbLignes(); ++i) {
        LignePrelevement l;
        for (const ColonneGrille &c : colonnes)
            l.textes << texteCellule(c, t.valeur(i, c.colonne), libelles.value(c.colonne));
        if (!colonneNumero.isEmpty()) l.numero = texteValeur(t.valeur(i, colonneNumero));
        r.append(l);
    }
    return r;
}

QString listeColonnes(const QVector<ColonneGrille> &colonnes)
{
    QStringList r;
    for (const ColonneGrille &c : colonnes)
        r << c.colonne;
    return r.join(QStringLiteral(", "));
}

} // namespace

void EditionPrelevement::chargerGrilles()
{
    finalites.clear();
    dossiers.clear();
    echantillons.clear();
    analyses.clear();
    if (!estEnregistre()) return;
    const QString cle = QStringLiteral(" WHERE codeQualitometre=") + nombreSql(m_station) +
                        QStringLiteral(" AND NumPrelevement=") + nombreSql(m_numero);
    finalites = lireLignes(QStringLiteral("SELECT CodeFinalite FROM PRELEVEMENTS_FINALITES") + cle +
                               QStringLiteral(" ORDER BY CodeFinalite"),
                           colonnesFinalites(), {});
    dossiers = lireLignes(QStringLiteral("SELECT ") + listeColonnes(colonnesDossiers()) +
                              QStringLiteral(" FROM PRELEVEMENTS_DOSSIERS") + cle +
                              QStringLiteral(" ORDER BY NumDossier"),
                          colonnesDossiers(), QStringLiteral("NumDossier"));
    echantillons = lireLignes(QStringLiteral("SELECT ") + listeColonnes(colonnesEchantillons()) +
                                  QStringLiteral(" FROM PRELEVEMENTS_ECHANTILLONS") + cle +
                                  QStringLiteral(" ORDER BY NumEchantillon"),
                              colonnesEchantillons(), QStringLiteral("NumEchantillon"));
    chargerAnalyses();
}

void EditionPrelevement::chargerAnalyses()
{
    analyses.clear();
    const QString table = tableAnalyses(m_codeBSS);
    if (!estEnregistre() || table.isEmpty() || !bd().tableExiste(PREFIXE_ANALYSES + m_codeBSS))
        return;
    analyses =
        lireLignes(QStringLiteral("SELECT NumAnalyse, ") + listeColonnes(colonnesAnalyses()) +
                       QStringLiteral(" FROM ") + table + QStringLiteral(" WHERE NumPrelevement=") +
                       nombreSql(m_numero) + QStringLiteral(" ORDER BY NumAnalyse"),
                   colonnesAnalyses(), QStringLiteral("NumAnalyse"));
}

QString EditionPrelevement::verifierFiche() const
{
    for (const ColonneGrille &c : champsPrelevement()) {
        bool ok = true;
        const QString texte = champs.value(c.colonne);
        const QVariant v = valeurCellule(c, texte, ok);
        if (c.colonne == QLatin1String("DateDebut") && (!ok || v.isNull()))
            return T::DATE_PRELEVEMENT;
        if (c.colonne == QLatin1String("HeureDebut") && !ok) return T::HEURE_PRELEVEMENT;
        if (!ok) return T::CHAMP_INCORRECT.arg(c.libelle);
        if (c.defaut(texte) == DefautSaisie::TropLong)
            return T::CHAMP_TROP_LONG.arg(c.libelle).arg(c.taille);
    }
    return {};
}

bool EditionPrelevement::enregistrer()
{
    const QString erreur = verifierFiche();
    if (!erreur.isEmpty()) {
        afficherMessage(QStringLiteral("Erreur"), erreur);
        return false;
    }
    QString numero = m_numero;
    if (numero.isEmpty()) {
        const QVariant max = bd().valeur(
            QStringLiteral("SELECT Max(NumPrelevement) FROM PRELEVEMENTS WHERE codequalitometre=") +
            nombreSql(m_station));
        numero = max.isNull() ? QStringLiteral("0") : texteValeur(QVariant(max.toDouble() + 1));
    }
    JeuEnregistrements jeu;
    bool trouve = false;
    if (!bd().AccesBase(QStringLiteral("SELECT * FROM PRELEVEMENTS WHERE codequalitometre=") +
                            nombreSql(m_station) + QStringLiteral(" AND numPrelevement=") +
                            nombreSql(numero),
                        jeu, trouve, QStringLiteral("PRELEVEMENTS"))) {
        afficherMessage(QStringLiteral("Erreur"), T::ECHEC.arg(bd().derniereErreur()));
        return false;
    }
    if (!trouve) {
        jeu.addnew();
        jeu.fields(QStringLiteral("NumPrelevement")) = enNombre(numero).valeur;
        jeu.fields(QStringLiteral("CodeQualitometre")) = enNombre(m_station).valeur;
    }
    for (const ColonneGrille &c : champsPrelevement())
        jeu.fields(c.colonne) = c.valeur(champs.value(c.colonne));
    if (!jeu.Update()) {
        const QString e =
            jeu.derniereErreur().isEmpty() ? bd().derniereErreur() : jeu.derniereErreur();
        jeu.Close();
        afficherMessage(QStringLiteral("Erreur"), T::ECHEC.arg(e));
        return false;
    }
    jeu.Close();
    m_numero = numero;
    afficherMessage(QStringLiteral("Aide"), T::FICHE_ENREGISTREE);
    return true;
}

namespace {

// The sample's rows of a child table replaced by the lines, all or nothing.
struct Remplacement
{
    QString table;       // raw name (InsertionMassive quotes it when needed)
    QString identifiant; // for SQL text
    const QVector<ColonneGrille> &colonnes;
    QString colonneNumero;    // "" none; numbered lines keep their number, new ones take max + 1
    bool renumeroter = false; // every line numbered from 0 in order (analyses)
    // The sample's rows are found by station and number; in the station's own analysis table
    // by number alone, as the card reads them (rows written elsewhere may lack the station).
    bool parStation = true;
};

bool remplacer(const Remplacement &r, const QString &station, const QString &numero,
               LignesPrelevement &lignes, QString &erreur)
{
    QStringList noms = {QStringLiteral("CodeQualitometre"), QStringLiteral("NumPrelevement")};
    const bool numerote = !r.colonneNumero.isEmpty();
    if (numerote && indexColonne(r.colonnes, r.colonneNumero) < 0) noms << r.colonneNumero;
    for (const ColonneGrille &c : r.colonnes)
        noms << c.colonne;
    const int posNumero = numerote ? int(noms.indexOf(r.colonneNumero)) : -1;

    double prochain = 0;
    if (numerote && !r.renumeroter)
        for (const LignePrelevement &l : std::as_const(lignes))
            if (estNombre(l.numero)) prochain = std::max(prochain, enNombre(l.numero).valeur + 1);

    Transaction transaction;
    const QString condition =
        r.parStation ? QStringLiteral(" WHERE codeQualitometre=") +
                           sqlNombre(enNombre(station).valeur) + QStringLiteral(" AND ")
                     : QStringLiteral(" WHERE ");
    if (!bd().Execute(QStringLiteral("DELETE FROM ") + r.identifiant + condition +
                      QStringLiteral("NumPrelevement=") + sqlNombre(enNombre(numero).valeur))) {
        erreur = bd().derniereErreur();
        return false;
    }
    QStringList numeros;
    {
        InsertionMassive insertion(r.table, noms);
        if (!insertion.estValide()) {
            erreur = insertion.erreur();
            return false;
        }
        double rang = 0;
        for (const LignePrelevement &l : std::as_const(lignes)) {
            QVector<QVariant> ligne = {enNombre(station).valeur, enNombre(numero).valeur};
            if (numerote && indexColonne(r.colonnes, r.colonneNumero) < 0) ligne << QVariant();
            for (int i = 0; i < r.colonnes.size(); ++i) {
                ligne << r.colonnes[i].valeur(l.textes.value(i));
            }
            if (numerote) {
                double n = rang++;
                if (!r.renumeroter)
                    n = estNombre(l.numero) ? enNombre(l.numero).valeur : prochain++;
                ligne[posNumero] = n;
                numeros << texteValeur(QVariant(n));
            }
            insertion.ajouter(ligne);
        }
        if (!insertion.terminer() || !insertion.erreurs().isEmpty()) {
            erreur = insertion.erreurs().isEmpty() ? insertion.erreur()
                                                   : insertion.erreurs().first().message;
            return false;
        }
    }
    if (!transaction.valider()) {
        erreur = bd().derniereErreur();
        return false;
    }
    for (int i = 0; i < numeros.size(); ++i)
        lignes[i].numero = numeros[i];
    return true;
}

// Lines typed entirely blank are not saved.
void retirerVides(LignesPrelevement &lignes, const QVector<ColonneGrille> &colonnes)
{
    lignes.erase(
        std::remove_if(lignes.begin(), lignes.end(),
                       [&](const LignePrelevement &l) { return ligneVide(l.textes, colonnes); }),
        lignes.end());
}

} // namespace

bool EditionPrelevement::enregistrerFinalites()
{
    if (!estEnregistre()) {
        afficherMessage(QStringLiteral("Erreur"), T::ENREGISTRER_AVANT);
        return false;
    }
    retirerVides(finalites, colonnesFinalites());
    QSet<QString> connues;
    for (const EntreeCodee &e : entreesColonne(colonnesFinalites().first()))
        connues.insert(e.code);
    for (int i = 0; i < finalites.size(); ++i)
        if (!connues.contains(codeCellule(finalites[i].textes.value(0)))) {
            afficherMessage(QStringLiteral("Erreur"), T::FINALITE_INCORRECTE.arg(i + 1));
            return false;
        }
    QString erreur;
    if (!remplacer({QStringLiteral("PRELEVEMENTS_FINALITES"),
                    QStringLiteral("PRELEVEMENTS_FINALITES"),
                    colonnesFinalites(),
                    {}},
                   m_station, m_numero, finalites, erreur)) {
        afficherMessage(QStringLiteral("Erreur"), T::ECHEC.arg(erreur));
        return false;
    }
    afficherMessage(QStringLiteral("Aide"), T::FINALITES_ENREGISTREES);
    return true;
}

bool EditionPrelevement::enregistrerDossiers()
{
    if (!estEnregistre()) {
        afficherMessage(QStringLiteral("Erreur"), T::ENREGISTRER_AVANT);
        return false;
    }
    retirerVides(dossiers, colonnesDossiers());
    for (int i = 0; i < dossiers.size(); ++i) {
        QString m;
        if (dossiers[i].textes.value(0).trimmed().isEmpty()) m = T::REFERENCE_DOSSIER.arg(i + 1);
        if (m.isEmpty())
            m = verifierCellules(colonnesDossiers(), dossiers[i].textes, i + 1,
                                 QStringLiteral(" des dossiers"));
        if (!m.isEmpty()) {
            afficherMessage(QStringLiteral("Erreur"), m);
            return false;
        }
    }
    QString erreur;
    if (!remplacer({QStringLiteral("PRELEVEMENTS_DOSSIERS"),
                    QStringLiteral("PRELEVEMENTS_DOSSIERS"), colonnesDossiers(),
                    QStringLiteral("NumDossier")},
                   m_station, m_numero, dossiers, erreur)) {
        afficherMessage(QStringLiteral("Erreur"), T::ECHEC.arg(erreur));
        return false;
    }
    afficherMessage(QStringLiteral("Aide"), T::DOSSIERS_ENREGISTRES);
    return true;
}

bool EditionPrelevement::enregistrerEchantillons()
{
    if (!estEnregistre()) {
        afficherMessage(QStringLiteral("Erreur"), T::ENREGISTRER_AVANT);
        return false;
    }
    retirerVides(echantillons, colonnesEchantillons());
    const int iDate = indexColonne(colonnesEchantillons(), QStringLiteral("DateDebut"));
    const int iHeure = indexColonne(colonnesEchantillons(), QStringLiteral("HeureDebut"));
    for (int i = 0; i < echantillons.size(); ++i) {
        bool ok = true;
        QString m;
        valeurCellule(colonnesEchantillons()[iDate], echantillons[i].textes.value(iDate),
                      ok);
        if (!ok) m = T::DATE_ECHANTILLON.arg(i + 1);
        valeurCellule(colonnesEchantillons()[iHeure], echantillons[i].textes.value(iHeure),
                      ok);
        if (m.isEmpty() && !ok) m = T::HEURE_ECHANTILLON.arg(i + 1);
        if (m.isEmpty())
            m = verifierCellules(colonnesEchantillons(), echantillons[i].textes, i + 1,
                                 QStringLiteral(" des échantillons"));
        if (!m.isEmpty()) {
            afficherMessage(QStringLiteral("Erreur"), m);
            return false;
        }
    }
    QString erreur;
    if (!remplacer({QStringLiteral("PRELEVEMENTS_ECHANTILLONS"),
                    QStringLiteral("PRELEVEMENTS_ECHANTILLONS"), colonnesEchantillons(),
                    QStringLiteral("NumEchantillon")},
                   m_station, m_numero, echantillons, erreur)) {
        afficherMessage(QStringLiteral("Erreur"), T::ECHEC.arg(erreur));
        return false;
    }
    afficherMessage(QStringLiteral("Aide"), T::ECHANTILLONS_ENREGISTRES);
    return true;
}

bool EditionPrelevement::enregistrerAnalyses()
{
    if (!estEnregistre()) {
        afficherMessage(QStringLiteral("Erreur"), T::ENREGISTRER_AVANT);
        return false;
    }
    retirerVides(analyses, colonnesAnalyses());
    QSet<QString> parametres;
    {
        const Tableau t = bd().extraire(QStringLiteral("SELECT Code FROM ANALYSES_PARAMETRES"));
        for (int i = 0; i < t.nbLignes(); ++i)
            parametres.insert(t.texte(i, 0).trimmed());
    }
    for (int i = 0; i < analyses.size(); ++i) {
        const QString parametre = codeCellule(analyses[i].textes.value(0));
        QString m;
        if (parametre.isEmpty())
            m = T::PARAMETRE_ABSENT.arg(i + 1);
        else if (!parametres.contains(parametre))
            m = T::PARAMETRE_INCONNU.arg(i + 1).arg(parametre);
        else
            m = verifierCellules(colonnesAnalyses(), analyses[i].textes, i + 1,
                                 QStringLiteral(" des analyses"));
        if (!m.isEmpty()) {
            afficherMessage(QStringLiteral("Erreur"), m);
            return false;
        }
    }
    QString erreur;
    if (!creerTableAnalyses(m_codeBSS, &erreur)) {
        afficherMessage(QStringLiteral("Erreur"), T::ECHEC.arg(erreur));
        return false;
    }
    if (!remplacer({PREFIXE_ANALYSES + m_codeBSS, tableAnalyses(m_codeBSS),
                    colonnesAnalyses(), QStringLiteral("NumAnalyse"), true, false},
                   m_station, m_numero, analyses, erreur)) {
        afficherMessage(QStringLiteral("Erreur"), T::ECHEC.arg(erreur));
        return false;
    }
    // The parameters and units used by data are shown by the choice lists.
    QSet<QString> utilises, unites;
    const int iUnite = indexColonne(colonnesAnalyses(), QStringLiteral("CodeUnite"));
    for (const LignePrelevement &l : std::as_const(analyses)) {
        utilises.insert(codeCellule(l.textes.value(0)));
        if (const QString u = codeCellule(l.textes.value(iUnite)); !u.isEmpty()) unites.insert(u);
    }
    activerParametres(utilises);
    activerUnites(unites);
    afficherMessage(QStringLiteral("Aide"), T::ANALYSES_ENREGISTREES);
    return true;
}

namespace {

bool supprimerLigne(LignesPrelevement &lignes, int ligne, const QString &sql,
                    const QString &message)
{
    if (ligne < 0 || ligne >= lignes.size()) {
        afficherMessage(QStringLiteral("Erreur"), textePrelevement::AUCUNE_LIGNE);
        return false;
    }
    if (!sql.isEmpty() && !bd().Execute(sql)) {
        afficherMessage(QStringLiteral("Erreur"),
                        textePrelevement::ECHEC_SUPPRESSION.arg(bd().derniereErreur()));
        return false;
    }
    lignes.removeAt(ligne);
    afficherMessage(QStringLiteral("Aide"), message);
    return true;
}

} // namespace

bool EditionPrelevement::supprimerFinalite(int ligne)
{
    QString sql;
    if (estEnregistre() && ligne >= 0 && ligne < finalites.size())
        sql = QStringLiteral("DELETE FROM PRELEVEMENTS_FINALITES  WHERE codeQualitometre=") +
              nombreSql(m_station) + QStringLiteral(" AND numPrelevement=") + nombreSql(m_numero) +
              QStringLiteral(" AND codeFinalite=") +
              sqlTexte(codeCellule(finalites[ligne].textes.value(0)));
    return supprimerLigne(finalites, ligne, sql, T::FINALITE_SUPPRIMEE);
}

// Single lines are found by their number within the sample: the number alone would name the
// line of that number in every sample of the station.
bool EditionPrelevement::supprimerEchantillon(int ligne)
{
    QString sql;
    if (estEnregistre() && ligne >= 0 && ligne < echantillons.size() &&
        estNombre(echantillons[ligne].numero))
        sql = QStringLiteral("DELETE FROM PRELEVEMENTS_ECHANTILLONS WHERE codeQualitometre=") +
              nombreSql(m_station) + QStringLiteral(" AND numPrelevement=") + nombreSql(m_numero) +
              QStringLiteral(" AND numEchantillon=") + nombreSql(echantillons[ligne].numero);
    return supprimerLigne(echantillons, ligne, sql, T::ECHANTILLON_SUPPRIME);
}

bool EditionPrelevement::supprimerDossier(int ligne)
{
    QString sql;
    if (estEnregistre() && ligne >= 0 && ligne < dossiers.size() &&
        estNombre(dossiers[ligne].numero))
        sql = QStringLiteral("DELETE FROM PRELEVEMENTS_DOSSIERS WHERE codeQualitometre=") +
              nombreSql(m_station) + QStringLiteral(" AND numPrelevement=") + nombreSql(m_numero) +
              QStringLiteral(" AND numDossier=") + nombreSql(dossiers[ligne].numero);
    return supprimerLigne(dossiers, ligne, sql, T::DOSSIER_SUPPRIME);
}

bool EditionPrelevement::supprimerAnalyse(int ligne)
{
    QString sql;
    const QString table = tableAnalyses(m_codeBSS);
    if (estEnregistre() && !table.isEmpty() && ligne >= 0 && ligne < analyses.size() &&
        estNombre(analyses[ligne].numero))
        sql = QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE numPrelevement=") +
              nombreSql(m_numero) + QStringLiteral(" AND numAnalyse=") +
              nombreSql(analyses[ligne].numero);
    return supprimerLigne(analyses, ligne, sql, T::ANALYSE_SUPPRIMEE);
}

bool EditionPrelevement::supprimer()
{
    if (!estEnregistre()) {
        afficherMessage(QStringLiteral("Erreur"), T::ENREGISTRER_AVANT);
        return false;
    }
    if (afficherMessage(QStringLiteral("Question"), T::QUESTION_SUPPRESSION.arg(m_numero)) !=
        BoutonOui)
        return false;
    const QString station = nombreSql(m_station);
    const QString numero = nombreSql(m_numero);
    // All or nothing: a sample gone with its analyses left behind would show them nowhere.
    Transaction transaction;
    bool ok = bd().Execute(QStringLiteral("DELETE FROM PRELEVEMENTS WHERE codequalitometre=") +
                           station + QStringLiteral(" AND numPrelevement=") + numero);
    const QString table = tableAnalyses(m_codeBSS);
    if (ok && !table.isEmpty() && bd().tableExiste(PREFIXE_ANALYSES + m_codeBSS))
        ok = bd().Execute(QStringLiteral("DELETE FROM ") + table +
                          QStringLiteral(" WHERE numPrelevement=") + numero);
    for (const char *t :
         {"PRELEVEMENTS_FINALITES", "PRELEVEMENTS_ECHANTILLONS", "PRELEVEMENTS_DOSSIERS"})
        ok = ok && bd().Execute(QStringLiteral("DELETE FROM ") + QLatin1String(t) +
                                QStringLiteral(" WHERE codeQualitometre=") + station +
                                QStringLiteral(" AND numPrelevement=") + numero);
    if (!terminerTransaction(transaction, ok,
                             [](const QString &e) { return T::ECHEC_SUPPRESSION.arg(e); }))
        return false;
    nouveau();
    afficherMessage(QStringLiteral("Aide"), T::PRELEVEMENT_SUPPRIME);
    return true;
}

namespace {
bool changerColonne(EditionPrelevement &e, const QString &colonne, const QString &code,
                    const QString &message)
{
    if (!e.estEnregistre()) {
        afficherMessage(QStringLiteral("Erreur"), textePrelevement::ENREGISTRER_AVANT);
        return false;
    }
    const QString c = codeCellule(code);
    if (c.isEmpty()) {
        afficherMessage(QStringLiteral("Erreur"), textePrelevement::CHOISIR_VALEUR);
        return false;
    }
    QString erreur;
    if (!majColonneAnalyses(e.codeQualitometre(), e.codeBSS(), colonne, c, {}, e.numPrelevement(),
                            nullptr, &erreur)) {
        afficherMessage(QStringLiteral("Erreur"), textePrelevement::ECHEC.arg(erreur));
        return false;
    }
    e.chargerGrilles();
    afficherMessage(QStringLiteral("Aide"), message);
    return true;
}
} // namespace

bool EditionPrelevement::changerStatutAnalyses(const QString &code)
{
    return changerColonne(*this, COLONNE_STATUT, code, T::STATUT_MODIFIE);
}

bool EditionPrelevement::changerQualificationAnalyses(const QString &code)
{
    return changerColonne(*this, COLONNE_QUALIFICATION, code, T::QUALIFICATION_MODIFIEE);
}

EntreesCodees EditionPrelevement::selectionsParametres()
{
    return entreesRequete(
        QStringLiteral("SELECT Nom, Code FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE WHERE "
                       "typeListe=0 ORDER BY Nom"));
}

LignesPrelevement EditionPrelevement::lignesSelection(const QString &codeSelection)
{
    LignesPrelevement r;
    const Tableau t = bd().extraire(
        QStringLiteral(
            "SELECT ANALYSES_PARAMETRES_SELECTIONS.codeParametre, "
            "ANALYSES_PARAMETRES_SELECTIONS.codeUnite, "
            "ANALYSES_PARAMETRES.Nom, ANALYSES_UNITES.Symbole FROM (ANALYSES_PARAMETRES_SELECTIONS "
            "LEFT JOIN "
            "ANALYSES_PARAMETRES ON "
            "ANALYSES_PARAMETRES.Code=ANALYSES_PARAMETRES_SELECTIONS.codeParametre) LEFT JOIN "
            "ANALYSES_UNITES ON ANALYSES_UNITES.Code=ANALYSES_PARAMETRES_SELECTIONS.codeUnite "
            "WHERE "
            "ANALYSES_PARAMETRES_SELECTIONS.typeListe=0 AND ANALYSES_PARAMETRES_SELECTIONS.code in "
            "(") +
        sqlTexte(codeCellule(codeSelection)) +
        QStringLiteral(") order by ANALYSES_PARAMETRES_SELECTIONS.code ASC, num ASC"));
    const int iUnite = indexColonne(colonnesAnalyses(), QStringLiteral("CodeUnite"));
    for (int i = 0; i < t.nbLignes(); ++i) {
        LignePrelevement l;
        for (const ColonneGrille &c : colonnesAnalyses())
            l.textes << (c.nature == G::OuiNon ? QStringLiteral("0") : QString());
        const QString parametre = t.texte(i, 0).trimmed(), unite = t.texte(i, 1).trimmed();
        l.textes[0] = t.texte(i, 2).isEmpty() ? parametre : texteEntree(t.texte(i, 2), parametre);
        if (!unite.isEmpty())
            l.textes[iUnite] = t.texte(i, 3).isEmpty() ? unite : texteEntree(t.texte(i, 3), unite);
        r.append(l);
    }
    return r;
}

EntreesCodees EditionPrelevement::entreesStatutMasse()
{
    return {{QStringLiteral("1"), QStringLiteral("Brute")},
            {QStringLiteral("2"), QStringLiteral("Contrôlée")},
            {QStringLiteral("3"), QStringLiteral("Validée")},
            {QStringLiteral("4"), QStringLiteral("Interprétée")}};
}

EntreesCodees EditionPrelevement::entreesQualificationMasse()
{
    return {{QStringLiteral("0"), QStringLiteral("Non définissable")},
            {QStringLiteral("1"), QStringLiteral("Correcte")},
            {QStringLiteral("2"), QStringLiteral("Incorrecte")},
            {QStringLiteral("3"), QStringLiteral("Incertaine")},
            {QStringLiteral("4"), QStringLiteral("Non qualifié")}};
}

} // namespace vyk
