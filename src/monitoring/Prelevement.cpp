#include "monitoring/Prelevement.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "monitoring/RattachementOperations.h"
#include "monitoring/ReglesAnalyses.h"
#include "referentials/ReferentielsAnalyses.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"

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
    const auto libelles = libellesDesCodes(champsPrelevement());
    for (int c = 0; c < champsPrelevement().size(); ++c) {
        const ColonneGrille &champ = champsPrelevement()[c];
        champs.insert(champ.colonne,
                      texteAvecLibelle(champ, t.valeur(0, champ.colonne), libelles.value(c)));
    }
    m_numero = texteValeur(t.valeur(0, QStringLiteral("NumPrelevement")));
    point.clear();
    const QString operation = codeCellule(champs.value(QStringLiteral("codeOperation")));
    if (!operation.isEmpty()) {
        const Tableau p = bd().extraire(
            QStringLiteral(
                "SELECT QUALITOMETRES_POINTS.identifiant AS identifiant, QUALITOMETRES_POINTS.nom "
                "AS nom "
                "FROM "
                "QUALITOMETRES_POINTS_OPERATIONS INNER JOIN QUALITOMETRES_POINTS ON "
                "(QUALITOMETRES_POINTS.codeQualitometre=QUALITOMETRES_POINTS_OPERATIONS."
                "codeQualitometre AND "
                "QUALITOMETRES_POINTS.codePoint=QUALITOMETRES_POINTS_OPERATIONS.codePoint) WHERE "
                "QUALITOMETRES_POINTS_OPERATIONS.codeQualitometre=") +
            nombreSql(m_station) +
            QStringLiteral(" AND QUALITOMETRES_POINTS_OPERATIONS.codeOperation=") +
            nombreSql(operation));
        if (!p.estVide())
            point = p.texte(0, QStringLiteral("identifiant")) + QStringLiteral(" - ") +
                    p.texte(0, QStringLiteral("nom"));
    }
    chargerGrilles();
    return true;
}

CompteRendu EditionPrelevement::charger(const QString &numPrelevement)
{
    if (!estNombre(numPrelevement.trimmed()) ||
        !lireFiche(QStringLiteral(" AND NumPrelevement=") + nombreSql(numPrelevement)))
        return echec(T::CHARGEMENT_IMPOSSIBLE.arg(numPrelevement.trimmed()));
    return reussite();
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
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QVariant &debut = t.valeur(i, QStringLiteral("dateDebut"));
        r.append({t.texte(i, QStringLiteral("codeOperation")),
                  debut.isNull() ? QStringLiteral("(sans date)")
                                 : debut.toDate().toString(QStringLiteral("dd/MM/yyyy"))});
    }
    return r;
}

namespace {

QString messagePrelevement(const DefinitionGrille &g, const ColonneGrille &c, DefautSaisie d, int n,
                           const QString &)
{
    if (d == DefautSaisie::TropLong)
        return T::TEXTE_TROP_LONG.arg(c.libelle).arg(n).arg(g.suffixe).arg(c.taille);
    return T::VALEUR_INCORRECTE.arg(c.libelle).arg(n).arg(g.suffixe);
}

// A grid of the sample: its rows found by station and sample number, numbered from 0.
DefinitionGrille grillePrelevement(const char *table, const QVector<ColonneGrille> &colonnes,
                                   const char *suffixe, const char *numero)
{
    DefinitionGrille g;
    g.table = QString::fromLatin1(table);
    g.colonnesParent = {QStringLiteral("CodeQualitometre"), QStringLiteral("NumPrelevement")};
    g.colonneNumero = QString::fromLatin1(numero);
    g.premierNumero = 0;
    g.ordre = g.colonneNumero;
    g.colonnes = colonnes;
    g.message = messagePrelevement;
    g.suffixe = QString::fromUtf8(suffixe);
    g.libellesCodes = true;
    return g;
}

const DefinitionGrille &grilleFinalites()
{
    static const DefinitionGrille g = [] {
        DefinitionGrille r =
            grillePrelevement("PRELEVEMENTS_FINALITES", colonnesFinalites(), " des finalités", "");
        r.ordre = QStringLiteral("CodeFinalite");
        r.colonnes[0].cle = true;
        return r;
    }();
    return g;
}

const DefinitionGrille &grilleDossiers()
{
    static const DefinitionGrille g = grillePrelevement("PRELEVEMENTS_DOSSIERS", colonnesDossiers(),
                                                        " des dossiers", "NumDossier");
    return g;
}

const DefinitionGrille &grilleEchantillons()
{
    static const DefinitionGrille g = grillePrelevement(
        "PRELEVEMENTS_ECHANTILLONS", colonnesEchantillons(), " des échantillons", "NumEchantillon");
    return g;
}

// The station's own analysis table: the sample's rows are found by its number alone, as the card
// reads them (rows written elsewhere may lack the station); every save numbers them from 0.
DefinitionGrille grilleAnalyses(const QString &codeBSS)
{
    DefinitionGrille g = grillePrelevement("", colonnesAnalyses(), " des analyses", "NumAnalyse");
    g.table = tableAnalyses(codeBSS);
    g.parentsEcritsSeulement = 1;
    g.renumeroter = true;
    return g;
}

} // namespace

QVector<QVariant> EditionPrelevement::parent() const
{
    return {enNombre(m_station).valeur, enNombre(m_numero).valeur};
}

bool EditionPrelevement::tableAnalysesExiste() const
{
    return !tableAnalyses(m_codeBSS).isEmpty() && bd().tableExiste(PREFIXE_ANALYSES + m_codeBSS);
}

void EditionPrelevement::chargerGrilles()
{
    finalites.clear();
    dossiers.clear();
    echantillons.clear();
    analyses.clear();
    if (!estEnregistre()) return;
    finalites = GrilleEditable(grilleFinalites()).charger(parent());
    dossiers = GrilleEditable(grilleDossiers()).charger(parent());
    echantillons = GrilleEditable(grilleEchantillons()).charger(parent());
    chargerAnalyses();
}

void EditionPrelevement::chargerAnalyses()
{
    analyses.clear();
    if (!estEnregistre() || !tableAnalysesExiste()) return;
    const DefinitionGrille grille = grilleAnalyses(m_codeBSS);
    analyses = GrilleEditable(grille).charger(parent());
}

ListeRefus EditionPrelevement::verifierFiche() const
{
    ListeRefus refus;
    for (const ColonneGrille &c : champsPrelevement()) {
        bool ok = true;
        const QString texte = champs.value(c.colonne);
        const QVariant v = valeurCellule(c, texte, ok);
        if (c.colonne == QLatin1String("DateDebut") && (!ok || v.isNull()))
            refus.append({c.colonne, T::DATE_PRELEVEMENT});
        else if (c.colonne == QLatin1String("HeureDebut") && !ok)
            refus.append({c.colonne, T::HEURE_PRELEVEMENT});
        else if (!ok)
            refus.append({c.colonne, T::CHAMP_INCORRECT.arg(c.libelle)});
        else if (c.defaut(texte) == DefautSaisie::TropLong)
            refus.append({c.colonne, T::CHAMP_TROP_LONG.arg(c.libelle).arg(c.taille)});
    }
    return refus;
}

QString EditionPrelevement::numeroSuivant() const
{
    const QVariant max = bd().valeur(
        QStringLiteral("SELECT Max(NumPrelevement) FROM PRELEVEMENTS WHERE codequalitometre=") +
        nombreSql(m_station));
    return max.isNull() ? QStringLiteral("0") : texteValeur(QVariant(max.toDouble() + 1));
}

CompteRendu EditionPrelevement::enregistrer()
{
    if (const ListeRefus refus = verifierFiche(); !refus.isEmpty())
        return echec(messageRefus(refus));
    // The next number is read under the table's lock, in the save's transaction: two
    // workstations adding a sample to one station at once get two numbers.
    Transaction transaction;
    const bool verrou =
        transaction.estOuverte() && bd().verrouiller(QStringLiteral("PRELEVEMENTS"));
    const QString numero = m_numero.isEmpty() && verrou ? numeroSuivant() : m_numero;
    JeuEnregistrements jeu;
    bool trouve = false;
    bool ok = verrou &&
              bd().AccesBase(QStringLiteral("SELECT * FROM PRELEVEMENTS WHERE codequalitometre=") +
                                 nombreSql(m_station) + QStringLiteral(" AND numPrelevement=") +
                                 nombreSql(numero),
                             jeu, trouve, QStringLiteral("PRELEVEMENTS"));
    QString erreurJeu;
    if (ok) {
        if (!trouve) {
            jeu.addnew();
            jeu.fields(QStringLiteral("NumPrelevement")) = enNombre(numero).valeur;
            jeu.fields(QStringLiteral("CodeQualitometre")) = enNombre(m_station).valeur;
        }
        for (const ColonneGrille &c : champsPrelevement())
            jeu.fields(c.colonne) = c.valeur(champs.value(c.colonne));
        ok = jeu.Update();
        erreurJeu = jeu.derniereErreur();
        jeu.Close();
    }
    const CompteRendu fin = conclureTransaction(
        transaction, ok,
        [&](const QString &e) { return T::ECHEC.arg(erreurJeu.isEmpty() ? e : erreurJeu); },
        T::FICHE_ENREGISTREE);
    if (fin) m_numero = numero;
    return fin;
}

CompteRendu EditionPrelevement::enregistrerGrille(const DefinitionGrille &definition,
                                                  LignesPrelevement &lignes,
                                                  const std::function<QString(int)> &controle,
                                                  const QString &fin,
                                                  const std::function<bool(QString &)> &preparation)
{
    if (!estEnregistre()) return echec(T::ENREGISTRER_AVANT);
    const GrilleEditable grille(definition);
    // Lines typed entirely blank are not saved.
    lignes.removeIf([&](const LigneGrille &l) { return grille.estVide(l); });
    for (int i = 0; i < lignes.size(); ++i) {
        QString m = controle ? controle(i) : QString();
        if (m.isEmpty()) m = grille.verifierLigne(lignes[i], i).message;
        if (!m.isEmpty()) return echec(m);
    }
    LignesPrelevement ecrites = lignes;
    QString erreur;
    if (preparation && !preparation(erreur)) return echec(T::ECHEC.arg(erreur));
    Transaction transaction;
    if (!grille.remplacer(parent(), ecrites, erreur) || !transaction.valider()) {
        if (erreur.isEmpty()) erreur = bd().derniereErreur();
        transaction.annuler();
        return echec(T::ECHEC.arg(erreur));
    }
    lignes = ecrites;
    return reussite(fin);
}

CompteRendu EditionPrelevement::enregistrerFinalites()
{
    QSet<QString> connues;
    for (const EntreeCodee &e : entreesColonne(colonnesFinalites().first()))
        connues.insert(e.code);
    return enregistrerGrille(
        grilleFinalites(), finalites,
        [&](int i) {
            return connues.contains(codeCellule(finalites[i].textes.value(0)))
                       ? QString()
                       : T::FINALITE_INCORRECTE.arg(i + 1);
        },
        T::FINALITES_ENREGISTREES);
}

CompteRendu EditionPrelevement::enregistrerDossiers()
{
    return enregistrerGrille(
        grilleDossiers(), dossiers,
        [&](int i) {
            return dossiers[i].textes.value(0).trimmed().isEmpty() ? T::REFERENCE_DOSSIER.arg(i + 1)
                                                                   : QString();
        },
        T::DOSSIERS_ENREGISTRES);
}

CompteRendu EditionPrelevement::enregistrerEchantillons()
{
    const int iDate = indexColonne(colonnesEchantillons(), QStringLiteral("DateDebut"));
    const int iHeure = indexColonne(colonnesEchantillons(), QStringLiteral("HeureDebut"));
    const auto lisible = [&](int i, int c) {
        const DefautSaisie d = colonnesEchantillons()[c].defaut(echantillons[i].textes.value(c));
        return d != DefautSaisie::Illisible;
    };
    return enregistrerGrille(
        grilleEchantillons(), echantillons,
        [&](int i) {
            if (!lisible(i, iDate)) return T::DATE_ECHANTILLON.arg(i + 1);
            if (!lisible(i, iHeure)) return T::HEURE_ECHANTILLON.arg(i + 1);
            return QString();
        },
        T::ECHANTILLONS_ENREGISTRES);
}

CompteRendu EditionPrelevement::enregistrerAnalyses()
{
    QSet<QString> parametres;
    if (estEnregistre()) {
        const Tableau t = bd().extraire(QStringLiteral("SELECT Code FROM ANALYSES_PARAMETRES"));
        for (int i = 0; i < t.nbLignes(); ++i)
            parametres.insert(t.texte(i, QStringLiteral("Code")).trimmed());
    }
    const DefinitionGrille grille = grilleAnalyses(m_codeBSS);
    const CompteRendu fin = enregistrerGrille(
        grille, analyses,
        [&](int i) {
            const QString parametre = codeCellule(analyses[i].textes.value(0));
            if (parametre.isEmpty()) return T::PARAMETRE_ABSENT.arg(i + 1);
            if (!parametres.contains(parametre))
                return T::PARAMETRE_INCONNU.arg(i + 1).arg(parametre);
            return QString();
        },
        T::ANALYSES_ENREGISTREES,
        [this](QString &erreur) { return creerTableAnalyses(m_codeBSS, &erreur); });
    if (!fin) return fin;
    // The parameters and units used by data are shown by the choice lists.
    QSet<QString> utilises, unites;
    const int iUnite = indexColonne(colonnesAnalyses(), QStringLiteral("CodeUnite"));
    for (const LigneGrille &l : std::as_const(analyses)) {
        utilises.insert(codeCellule(l.textes.value(0)));
        if (const QString u = codeCellule(l.textes.value(iUnite)); !u.isEmpty()) unites.insert(u);
    }
    activerParametres(utilises);
    activerUnites(unites);
    return fin;
}

CompteRendu EditionPrelevement::supprimerLigne(const DefinitionGrille &definition,
                                               LignesPrelevement &lignes, int ligne,
                                               const QString &message)
{
    if (ligne < 0 || ligne >= lignes.size()) return echec(T::AUCUNE_LIGNE);
    QString erreur;
    if (estEnregistre() &&
        !GrilleEditable(definition).supprimerLigne(parent(), lignes[ligne], erreur))
        return echec(T::ECHEC_SUPPRESSION.arg(erreur));
    lignes.removeAt(ligne);
    return reussite(message);
}

CompteRendu EditionPrelevement::supprimerFinalite(int ligne)
{
    return supprimerLigne(grilleFinalites(), finalites, ligne, T::FINALITE_SUPPRIMEE);
}

// Single lines are found by their number within the sample: the number alone would name the
// line of that number in every sample of the station.
CompteRendu EditionPrelevement::supprimerEchantillon(int ligne)
{
    return supprimerLigne(grilleEchantillons(), echantillons, ligne, T::ECHANTILLON_SUPPRIME);
}

CompteRendu EditionPrelevement::supprimerDossier(int ligne)
{
    return supprimerLigne(grilleDossiers(), dossiers, ligne, T::DOSSIER_SUPPRIME);
}

CompteRendu EditionPrelevement::supprimerAnalyse(int ligne)
{
    const DefinitionGrille grille = grilleAnalyses(m_codeBSS);
    return supprimerLigne(grille, analyses, ligne, T::ANALYSE_SUPPRIMEE);
}

CompteRendu EditionPrelevement::supprimer()
{
    if (!estEnregistre()) return echec(T::ENREGISTRER_AVANT);
    if (!confirmer(T::QUESTION_SUPPRESSION.arg(m_numero))) return echec(QString());
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
    const CompteRendu fin = conclureTransaction(
        transaction, ok, [](const QString &e) { return T::ECHEC_SUPPRESSION.arg(e); },
        T::PRELEVEMENT_SUPPRIME);
    if (fin) nouveau();
    return fin;
}

namespace {
CompteRendu changerColonne(EditionPrelevement &e, const QString &colonne, const QString &code,
                           const QString &message)
{
    if (!e.estEnregistre()) return echec(textePrelevement::ENREGISTRER_AVANT);
    const QString c = codeCellule(code);
    if (c.isEmpty()) return echec(textePrelevement::CHOISIR_VALEUR);
    QString erreur;
    if (!majColonneAnalyses(e.codeQualitometre(), e.codeBSS(), colonne, c, {}, e.numPrelevement(),
                            nullptr, &erreur))
        return echec(textePrelevement::ECHEC.arg(erreur));
    e.chargerGrilles();
    return reussite(message);
}
} // namespace

CompteRendu EditionPrelevement::changerStatutAnalyses(const QString &code)
{
    return changerColonne(*this, COLONNE_STATUT, code, T::STATUT_MODIFIE);
}

CompteRendu EditionPrelevement::changerQualificationAnalyses(const QString &code)
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
            "SELECT ANALYSES_PARAMETRES_SELECTIONS.codeParametre AS codeParametre, "
            "ANALYSES_PARAMETRES_SELECTIONS.codeUnite AS codeUnite, "
            "ANALYSES_PARAMETRES.Nom AS nom, ANALYSES_UNITES.Symbole AS symbole FROM "
            "(ANALYSES_PARAMETRES_SELECTIONS "
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
        auto v = [&](const char *c) { return t.texte(i, QLatin1String(c)); };
        const QString parametre = v("codeParametre").trimmed(), unite = v("codeUnite").trimmed();
        const QString nom = v("nom"), symbole = v("symbole");
        l.textes[0] = nom.isEmpty() ? parametre : texteEntree(nom, parametre);
        if (!unite.isEmpty())
            l.textes[iUnite] = symbole.isEmpty() ? unite : texteEntree(symbole, unite);
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
