#include "referentials/ModeleListeTaxons.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "referentials/UsageTaxons.h"
#include "schema/Catalogue.h"

#include <QDate>
#include <QDir>
#include <QRegularExpression>

namespace vyk {

namespace {

namespace Texte {
const QString CODE_VIDE = QStringLiteral("Renseignez le code du taxon.");
const QString DATE_CREATION = QStringLiteral("La date de création du code n'est pas correcte.");
const QString DATE_MODIFICATION =
    QStringLiteral("La date de modification du code n'est pas correcte.");
const QString INACTIF =
    QStringLiteral("Le taxon est utilisé dans la base. Il ne peut être rendu inactif");
const QString UTILISE = QStringLiteral(
    "Attention, ce code est utilisé dans la base de données. Vous ne pouvez pas le supprimer.");
const QString SUPPRIME = QStringLiteral("Le taxon a été supprimé.");
const QString AUCUN = QStringLiteral("Sélectionnez d'abord le taxon à supprimer dans la liste.");
const QString ENREGISTRE = QStringLiteral("Enregistrement de la fiche du taxon terminé.");
const QString PURGE_QUESTION = QStringLiteral("Voulez vous purger tous les taxons non utilisés ?");
const QString PURGE_ANNULEE =
    QStringLiteral("L'opération a été annulée. Aucun taxon n'a été supprimé");
const QString PURGE_EN_COURS = QStringLiteral("Suppression des taxons non utilisés");
const QString PURGE_FIN = QStringLiteral("Les taxons ont été supprimés.");
const QString REMPLACEMENT_INCONNU = QStringLiteral(
    "Le code de remplacement n'existe pas. Merci de le créer avant d'effectuer les modifications");
const QString REMPLACEMENT_IDENTIQUE =
    QStringLiteral("Le code de remplacement doit être différent du code remplacé.");
const QString PARCOURS = QStringLiteral("Parcours de l'historique");
const QString DENOMBREMENTS = QStringLiteral("Mise à jour des dénombrements de la station ");
const QString SELECTIONS = QStringLiteral("Mise à jour des sélections");
const QString SEUILS = QStringLiteral("Mise à jour des seuils");
const QString GRAPHIQUES =
    QStringLiteral("Mise à jour des graphiques et recherche préenregistrées");
const QString REMPLACEMENT_FIN =
    QStringLiteral("Le remplacement de l'historique du taxon est terminé.");
const QString REMPLACEMENT_ANNULE =
    QStringLiteral("Le remplacement a été annulé. Aucune donnée n'a été modifiée.");
QString trop(const QString &libelle, int taille)
{
    return libelle + QStringLiteral(" ne doit pas dépasser ") + QString::number(taille) +
           QStringLiteral(" caractères.");
}
QString existe(const QString &code)
{
    return QStringLiteral("Le taxon ") + code + QStringLiteral(" existe déjà.");
}
QString pasUnNombre(const QString &libelle)
{
    return libelle + QStringLiteral(" doit être un nombre.");
}
QString question(const QString &nom)
{
    return QStringLiteral("Supprimer le taxon ") + nom + QStringLiteral(" ?");
}
QString questionRemplacement(const QString &code)
{
    return QStringLiteral("Voulez vous remplacer l'historique des données du taxon ") + code +
           QStringLiteral(" par un nouveau code ?");
}
QString confirmation(const QString &ancien, const QString &nouveau)
{
    return QStringLiteral("Merci de confirmer que nous allons remplacer l'historique des "
                          "détermination du code ") +
           ancien + QStringLiteral(" par le code ") + nouveau;
}
QString echec(const QString &e)
{
    return QStringLiteral("L'enregistrement du taxon a échoué, rien n'a été modifié :\n") + e;
}
QString echecSuppression(const QString &e)
{
    return QStringLiteral("La suppression a échoué, rien n'a été supprimé :\n") + e;
}
} // namespace Texte

const QStringList ENTETES = {
    QStringLiteral("Code"),   QStringLiteral("Nom latin"),     QStringLiteral("Nom commun"),
    QStringLiteral("Statut"), QStringLiteral("Actif"),         QStringLiteral("Niveau"),
    QStringLiteral("Thème"),  QStringLiteral("Parent"),        QStringLiteral("Omnidia"),
    QStringLiteral("Museum"), QStringLiteral("Date création"), QStringLiteral("Date Modif"),
    QStringLiteral("Auteur")};

const QString CHAMP_NIVEAUX = QStringLiteral("TAXONS.NIVEAUX");
const QString CHAMP_THEME = QStringLiteral("TAXONS.THEME");

QString texteDateStockee(const QString &t)
{
    return t.trimmed().isEmpty() ? QString() : texteDate(lireDate(t.trimmed()));
}

// Moves the references of a taxon code to another one. avecListes: the counts of every station
// too (the old row is about to disappear); avecExports: the export lists as well.
bool deplacerReferences(const QString &ancien, const QString &nouveau, bool avecExports,
                        Progression &progression, bool &annule)
{
    const QString a = sqlTexte(ancien), n = sqlTexte(nouveau);
    progression.message(Texte::PARCOURS);
    const QVector<TableListeTaxons> tables = tablesListesTaxons();
    const QHash<qint64, long long> presence = presenceTaxonParStation(ancien, tables);
    long long fait = 0;
    for (const TableListeTaxons &t : tables) {
        if (!presence.contains(t.station)) continue;
        if (progression.annule()) {
            annule = true;
            return false;
        }
        progression.message(Texte::DENOMBREMENTS + t.codeBSS);
        progression.position(++fait, presence.size());
        if (!bd().Execute(QStringLiteral("UPDATE ") + t.table + QStringLiteral(" SET codeTaxon=") +
                          n + QStringLiteral(" WHERE codeTaxon=") + a))
            return false;
    }
    progression.message(Texte::SELECTIONS);
    if (!bd().Execute(QStringLiteral("UPDATE ANALYSES_PARAMETRES_SELECTIONS SET codeparametre=") +
                      n + QStringLiteral(" WHERE codeparametre=") + a +
                      QStringLiteral(" AND typeListe=1")))
        return false;
    progression.message(Texte::SEUILS);
    if (!bd().Execute(QStringLiteral("UPDATE ANALYSES_SEUILS SET codeparametre=") + n +
                      QStringLiteral(" WHERE codeparametre=") + a +
                      QStringLiteral(" AND typeListe='1'")))
        return false;
    progression.message(Texte::GRAPHIQUES);
    // Saved charts keep taxon codes in a number column: only numeric codes can be there.
    const Nombre na = enNombre(ancien, true), nn = enNombre(nouveau, true);
    if (na.estNombre() && nn.estNombre() &&
        !bd().Execute(
            QStringLiteral("UPDATE QUALITOMETRES_SUPERPOSITIONS_PARAMETRES SET Parametre=") +
            sqlNombre(nn.valeur) + QStringLiteral(" WHERE Parametre=") + sqlNombre(na.valeur) +
            QStringLiteral(" AND TypeListe=1")))
        return false;
    if (avecExports &&
        !bd().Execute(QStringLiteral("UPDATE LISTES_EXPORT_QUALITE_PARAM SET code=") + n +
                      QStringLiteral(" WHERE code=") + a +
                      QStringLiteral(" AND typeListe='1' AND site=1")))
        return false;
    return true;
}

} // namespace

const QVector<TexteTaxon> &textesTaxon()
{
    static const QVector<TexteTaxon> textes = {
        {QStringLiteral("basionyme"), QStringLiteral("Basionyme")},
        {QStringLiteral("synonymes"), QStringLiteral("Synonymes")},
        {QStringLiteral("caracteristiques"), QStringLiteral("Caractéristiques")},
        {QStringLiteral("morphologie"), QStringLiteral("Morphologie")},
        {QStringLiteral("ecologie"), QStringLiteral("Écologie")},
        {QStringLiteral("notes"), QStringLiteral("Notes")},
        {QStringLiteral("observations"), QStringLiteral("Observations")},
        {QStringLiteral("floraison"), QStringLiteral("Floraison")},
        {QStringLiteral("nePasConfondre"), QStringLiteral("Ne pas confondre avec")},
        {QStringLiteral("aspectPopulation"), QStringLiteral("Aspect de la population")},
    };
    return textes;
}

ModeleListeTaxons::ModeleListeTaxons()
{
    m_grille.entetes = ENTETES;
}

QStringList ModeleListeTaxons::photosTaxon(const QString &code, const QString &dossier)
{
    QStringList photos;
    const QString c = code.trimmed();
    // A code with a wildcard or a separator would name other files.
    if (c.isEmpty() || dossier.trimmed().isEmpty() ||
        c.contains(QRegularExpression(QStringLiteral("[*?\\[\\]/\\\\]"))))
        return photos;
    const QDir d(dossier.trimmed());
    for (const QString &f :
         d.entryList({c + QStringLiteral(".*"), c + QStringLiteral("_*")}, QDir::Files, QDir::Name))
        photos << d.filePath(f);
    return photos;
}

EntreesCodees ModeleListeTaxons::entreesTypeEspece()
{
    return {{QStringLiteral("0"), QStringLiteral("Inconnu")},
            {QStringLiteral("1"), QStringLiteral("Phanéro")},
            {QStringLiteral("2"), QStringLiteral("Bryo")},
            {QStringLiteral("3"), QStringLiteral("Algues")},
            {QStringLiteral("4"), QStringLiteral("Lichens")},
            {QStringLiteral("5"), QStringLiteral("Hétérotrophes")}};
}

EntreesCodees ModeleListeTaxons::entreesStatutEspece()
{
    return {{QStringLiteral("1"), QStringLiteral("Indigène")},
            {QStringLiteral("2"), QStringLiteral("Invasive")},
            {QStringLiteral("3"), QStringLiteral("Protégée")}};
}

EntreesCodees ModeleListeTaxons::entreesActif()
{
    return {{QStringLiteral("0"), QStringLiteral("Non")},
            {QStringLiteral("1"), QStringLiteral("Oui")}};
}

QStringList ModeleListeTaxons::ligneGrille(const FicheTaxon &f) const
{
    return {f.code,
            f.nomLatin,
            f.nomCommun,
            libelleStatut(f.statut),
            f.actif == QLatin1String("1") ? QStringLiteral("Oui") : QStringLiteral("Non"),
            m_niveaux.value(f.niveau, f.niveau),
            m_themes.value(f.theme, f.theme),
            f.elementDe,
            f.codeOmnidia,
            f.refMuseum,
            texteDateStockee(f.dateCreation),
            texteDateStockee(f.dateMiseAJour),
            f.auteur};
}

bool ModeleListeTaxons::charger()
{
    m_grille.vider();
    m_niveaux = libellesListe(CHAMP_NIVEAUX);
    m_themes = libellesListe(CHAMP_THEME);
    QString sql = QStringLiteral(
        "SELECT codeTaxon, nomLatin, nomCommun, statut, actif, niveau, theme, elementDe, "
        "codeOmnidia, refMuseum, "
        "dateCreation, dateMiseAJour, auteur FROM TAXONS WHERE codeTaxon IS NOT NULL");
    if (m_filtre.theme == QLatin1String("0"))
        sql += QStringLiteral(" AND (theme=0 OR theme IS NULL)");
    else if (const Nombre n = enNombre(m_filtre.theme, true); n.estNombre())
        sql += QStringLiteral(" AND theme=") + sqlNombre(n.valeur);
    if (m_filtre.actif == QLatin1String("1"))
        sql += QStringLiteral(" AND actif='1'");
    else if (m_filtre.actif == QLatin1String("0"))
        sql += QStringLiteral(" AND (actif IS NULL OR actif<>'1')");
    if (const QString t = m_filtre.texte.trimmed(); !t.isEmpty()) {
        const QString motif = sqlTexte(u'%' + t + u'%');
        sql += QStringLiteral(" AND (nomLatin LIKE ") + motif +
               QStringLiteral(" OR nomCommun LIKE ") + motif +
               QStringLiteral(" OR codeTaxon LIKE ") + motif +
               QStringLiteral(" OR codeOmnidia LIKE ") + motif + u')';
    }
    sql += QStringLiteral(" ORDER BY nomLatin, codeTaxon");
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t)) return false;
    m_grille.lignes.reserve(t.nbLignes());
    for (int i = 0; i < t.nbLignes(); ++i) {
        auto v = [&](const char *c) { return t.texte(i, QLatin1String(c)); };
        FicheTaxon f;
        f.code = v("codeTaxon");
        f.nomLatin = v("nomLatin");
        f.nomCommun = v("nomCommun");
        f.statut = v("statut");
        f.actif = v("actif");
        f.niveau = v("niveau");
        f.theme = v("theme");
        f.elementDe = v("elementDe");
        f.codeOmnidia = v("codeOmnidia");
        f.refMuseum = v("refMuseum");
        f.dateCreation = v("dateCreation");
        f.dateMiseAJour = v("dateMiseAJour");
        f.auteur = v("auteur");
        m_grille.lignes.append(ligneGrille(f));
    }
    return true;
}

FicheTaxon ModeleListeTaxons::nouvelleFiche()
{
    FicheTaxon f;
    f.dateCreation = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    f.redacteur = session().login;
    return f;
}

FicheTaxon ModeleListeTaxons::lireTaxon(const QString &code)
{
    FicheTaxon f;
    const Tableau t = bd().extraire(QStringLiteral("SELECT * FROM TAXONS WHERE codeTaxon=") +
                                    sqlTexte(code.trimmed()));
    if (t.estVide()) return f;
    auto v = [&](const char *c) { return t.texte(0, QLatin1String(c)); };
    f.codeOrigine = f.code = v("codeTaxon");
    f.nomLatin = v("nomLatin");
    f.statut = v("statut");
    f.dateCreation = v("dateCreation");
    f.dateMiseAJour = v("dateMiseAJour");
    f.auteur = v("auteur");
    f.redacteur = v("redacteur");
    f.nomCommun = v("nomCommun");
    f.referenceBibliographique = v("referenceBibliographique");
    f.commentaire = v("commentaire");
    f.actif = v("actif");
    f.elementDe = v("elementDe");
    f.niveau = v("niveau");
    f.theme = v("theme");
    f.codeOmnidia = v("codeOmnidia");
    f.codeTaxonCalcul = v("codeTaxonCalcul");
    f.refMuseum = v("refMuseum");
    f.codeMacrophyte = v("codeMacrophyte");
    f.typeEspece = v("typeEspece");
    f.statutEspece = v("statutEspece");
    for (const TexteTaxon &x : textesTaxon())
        f.textes.insert(x.colonne, t.texte(0, x.colonne));
    const Tableau traits = bd().extraire(
        QStringLiteral(
            "SELECT codeTrait, codeModalite FROM TRAITS_ECOBIO_TAXONS WHERE codeTaxon=") +
        sqlTexte(f.code) + QStringLiteral(" ORDER BY codeTrait"));
    for (int i = 0; i < traits.nbLignes(); ++i)
        f.traits.insert(traits.texte(i, QStringLiteral("codeTrait")),
                        traits.texte(i, QStringLiteral("codeModalite")));
    return f;
}

FicheTaxon ModeleListeTaxons::fiche(int ligne) const
{
    if (ligne < 0 || ligne >= m_grille.nbLignes()) return {};
    return lireTaxon(m_grille.lignes[ligne].value(0));
}

int ModeleListeTaxons::ligne(const QString &code) const
{
    return m_grille.chercher(code);
}

QStringList ModeleListeTaxons::verifier(const FicheTaxon &f) const
{
    QStringList erreurs;
    const QString code = f.code.trimmed();
    if (code.isEmpty()) erreurs << Texte::CODE_VIDE;
    if (!dateCorrecte(f.dateCreation)) erreurs << Texte::DATE_CREATION;
    if (!dateCorrecte(f.dateMiseAJour)) erreurs << Texte::DATE_MODIFICATION;
    // Every engine refuses the same texts, so that a record saved here reads back whole.
    const struct
    {
        const QString &texte;
        const char *colonne;
        const char *libelle;
    } longueurs[] = {{f.code, "codeTaxon", "Le code du taxon"},
                     {f.nomLatin, "nomLatin", "Le nom latin"},
                     {f.nomCommun, "nomCommun", "Le nom commun"},
                     {f.auteur, "auteur", "L'auteur"},
                     {f.redacteur, "redacteur", "Le rédacteur"},
                     {f.elementDe, "elementDe", "Le code du parent"},
                     {f.codeOmnidia, "codeOmnidia", "Le code Omnidia"},
                     {f.refMuseum, "refMuseum", "La référence Museum"},
                     {f.codeMacrophyte, "codeMacrophyte", "Le code macrophyte"},
                     {f.textes.value(QStringLiteral("basionyme")), "basionyme", "Le basionyme"}};
    for (const auto &l : longueurs)
        if (const int n = tailleTexte(u"TAXONS", QString::fromLatin1(l.colonne));
            n > 0 && l.texte.trimmed().size() > n)
            erreurs << Texte::trop(QString::fromUtf8(l.libelle), n);
    if (!f.niveau.trimmed().isEmpty() && !estNombre(f.niveau.trimmed()))
        erreurs << Texte::pasUnNombre(QStringLiteral("Le niveau"));
    if (!f.theme.trimmed().isEmpty() && !estNombre(f.theme.trimmed()))
        erreurs << Texte::pasUnNombre(QStringLiteral("Le thème"));
    // A new code may not be one that exists: the save would overwrite that other taxon.
    if (erreurs.isEmpty() && code != f.codeOrigine.trimmed() &&
        !bd().valeur(QStringLiteral("SELECT codeTaxon FROM TAXONS WHERE codeTaxon=") +
                     sqlTexte(code))
             .isNull())
        erreurs << Texte::existe(code);
    return erreurs;
}

bool ModeleListeTaxons::ecrireTaxon(const FicheTaxon &f, const QString &code)
{
    JeuEnregistrements jeu;
    bool trouve = false;
    if (!bd().AccesBase(QStringLiteral("SELECT * FROM TAXONS WHERE codeTaxon=") + sqlTexte(code),
                        jeu, trouve, QStringLiteral("TAXONS")))
        return false;
    if (!trouve) jeu.addnew();
    jeu.fields(QStringLiteral("codeTaxon")) = code;
    jeu.fields(QStringLiteral("nomLatin")) = nulSiVide(f.nomLatin);
    jeu.fields(QStringLiteral("statut")) = nulSiVide(f.statut);
    jeu.fields(QStringLiteral("dateCreation")) = nulSiVide(f.dateCreation);
    jeu.fields(QStringLiteral("dateMiseAJour")) = nulSiVide(f.dateMiseAJour);
    jeu.fields(QStringLiteral("auteur")) = nulSiVide(f.auteur);
    jeu.fields(QStringLiteral("redacteur")) = nulSiVide(f.redacteur);
    jeu.fields(QStringLiteral("nomCommun")) = nulSiVide(f.nomCommun);
    jeu.fields(QStringLiteral("referenceBibliographique")) = nulSiVide(f.referenceBibliographique);
    jeu.fields(QStringLiteral("commentaire")) = nulSiVide(f.commentaire);
    jeu.fields(QStringLiteral("actif")) =
        f.actif.trimmed() == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
    jeu.fields(QStringLiteral("elementDe")) = nulSiVide(f.elementDe);
    jeu.fields(QStringLiteral("niveau")) = nulSiVide(f.niveau);
    jeu.fields(QStringLiteral("theme")) = nulSiVide(f.theme);
    jeu.fields(QStringLiteral("codeOmnidia")) = nulSiVide(f.codeOmnidia);
    jeu.fields(QStringLiteral("codeTaxonCalcul")) = nulSiVide(f.codeTaxonCalcul);
    jeu.fields(QStringLiteral("refMuseum")) = nulSiVide(f.refMuseum);
    jeu.fields(QStringLiteral("codeMacrophyte")) = nulSiVide(f.codeMacrophyte);
    jeu.fields(QStringLiteral("typeEspece")) = nulSiVide(f.typeEspece);
    jeu.fields(QStringLiteral("statutEspece")) = nulSiVide(f.statutEspece);
    for (const TexteTaxon &x : textesTaxon())
        jeu.fields(x.colonne) = nulSiVide(f.textes.value(x.colonne));
    const bool ok = jeu.Update();
    jeu.Close();
    return ok;
}

CompteRendu ModeleListeTaxons::appliquer(FicheTaxon &f)
{
    const QString code = f.code.trimmed();
    const QString origine = f.codeOrigine.trimmed();
    const bool changement = !origine.isEmpty() && origine != code;
    if (f.actif.trimmed() != QLatin1String("1") && taxonUtilise(origine.isEmpty() ? code : origine))
        return echec(Texte::INACTIF);
    Transaction transaction;
    bool ok = transaction.estOuverte();
    const QString c = sqlTexte(code), o = sqlTexte(origine);
    if (ok && changement) {
        // The new row starts as a copy of the old one: the columns the record does not show
        // (calculator codes, notes) follow the taxon.
        QStringList colonnes = bd().colonnes(QStringLiteral("TAXONS"));
        colonnes.removeIf([](const QString &x) {
            return x.compare(QLatin1String("codeTaxon"), Qt::CaseInsensitive) == 0;
        });
        const QString liste = colonnes.join(QStringLiteral(", "));
        ok = bd().Execute(QStringLiteral("INSERT INTO TAXONS (codeTaxon, ") + liste +
                          QStringLiteral(") SELECT ") + c + QStringLiteral(", ") + liste +
                          QStringLiteral(" FROM TAXONS WHERE codeTaxon=") + o);
    }
    ok = ok && ecrireTaxon(f, code);
    if (ok && changement)
        ok = bd().Execute(QStringLiteral("UPDATE TRAITS_ECOBIO_TAXONS SET codeTaxon=") + c +
                          QStringLiteral(" WHERE codeTaxon=") + o);
    if (ok) {
        InstructionPreparee ajout =
            bd().preparer(QStringLiteral("INSERT INTO TRAITS_ECOBIO_TAXONS (codeTaxon, codeTrait, "
                                         "codeModalite) VALUES (?, ?, ?)"));
        for (auto it = f.traits.constBegin(); ok && it != f.traits.constEnd(); ++it) {
            const Nombre trait = enNombre(it.key(), true);
            if (!trait.estNombre()) continue;
            ok = bd().Execute(QStringLiteral("DELETE FROM TRAITS_ECOBIO_TAXONS WHERE codeTaxon=") +
                              c + QStringLiteral(" AND codeTrait=") + sqlNombre(trait.valeur));
            const Nombre modalite = enNombre(it.value(), true);
            if (ok && modalite.estNombre())
                ok = ajout.executer({code, int(trait.valeur), int(modalite.valeur)});
        }
    }
    if (ok && changement) {
        bool annule = false;
        Progression &p = progressionNulle();
        ok = deplacerReferences(origine, code, true, p, annule) &&
             bd().Execute(QStringLiteral("UPDATE TAXONS SET elementDe=") + c +
                          QStringLiteral(" WHERE elementDe=") + o) &&
             bd().Execute(QStringLiteral("DELETE FROM TAXONS WHERE codeTaxon=") + o);
    }
    if (CompteRendu fin = conclureTransaction(transaction, ok, Texte::echec); !fin) return fin;
    if (changement) {
        const int i = ligne(origine);
        if (i >= 0) retirerLigne(i);
    }
    f = lireTaxon(code);
    majGrille(f);
    return reussite();
}

void ModeleListeTaxons::majGrille(const FicheTaxon &f)
{
    majLigne(ligne(f.code), ligneGrille(f));
}

CompteRendu ModeleListeTaxons::supprimer(const FicheTaxon &f)
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    const QString code = f.codeOrigine.trimmed();
    if (code.isEmpty()) return echec(Texte::AUCUN);
    if (taxonUtilise(code)) return echec(Texte::UTILISE);
    if (!confirmer(Texte::question(f.nomLatin.isEmpty() ? code : f.nomLatin))) return {};
    const QString c = sqlTexte(code);
    Transaction transaction;
    // Only the taxa selections: a parameter of the same number keeps its own.
    const bool ok =
        transaction.estOuverte() &&
        bd().Execute(
            QStringLiteral("DELETE FROM ANALYSES_PARAMETRES_SELECTIONS WHERE CodeParametre=") + c +
            QStringLiteral(" AND typeListe=1")) &&
        bd().Execute(QStringLiteral("DELETE FROM TAXONS WHERE CodeTaxon=") + c) &&
        bd().Execute(QStringLiteral("DELETE FROM TRAITS_ECOBIO_TAXONS WHERE CodeTaxon=") + c);
    if (CompteRendu fin = conclureTransaction(transaction, ok, Texte::echecSuppression); !fin)
        return fin;
    const int i = ligne(code);
    if (i >= 0) retirerLigne(i);
    return reussite(Texte::SUPPRIME);
}

CompteRendu ModeleListeTaxons::purger(Progression &progression, int *nbSupprimes)
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    if (!confirmer(Texte::PURGE_QUESTION)) return abandon(Texte::PURGE_ANNULEE, GENRE_AIDE);
    progression.message(Texte::PURGE_EN_COURS);
    bool lu = true;
    const QSet<QString> utilises = taxonsUtilises(tablesListesTaxons(), &lu);
    // A list that cannot be read would make its taxa look unused.
    if (!lu) return echec(Texte::echecSuppression(bd().derniereErreur()));
    const Tableau tous = bd().extraire(QStringLiteral(
        "SELECT DISTINCT codeTaxon, nomLatin FROM TAXONS WHERE codeTaxon IS NOT NULL"));
    QStringList aSupprimer;
    for (int i = 0; i < tous.nbLignes(); ++i) {
        const QString code = tous.texte(i, QStringLiteral("codeTaxon"));
        if (!utilises.contains(code.trimmed())) aSupprimer << sqlTexte(code);
    }
    aSupprimer.removeDuplicates();
    constexpr int PAR_INSTRUCTION = 500;
    bool ok = bd().debutTransaction();
    bool annule = false;
    for (qsizetype debut = 0; ok && debut < aSupprimer.size(); debut += PAR_INSTRUCTION) {
        if (progression.annule()) {
            annule = true;
            break;
        }
        progression.position(debut, aSupprimer.size());
        ok = bd().Execute(QStringLiteral("DELETE FROM TAXONS WHERE codeTaxon IN (") +
                          aSupprimer.mid(debut, PAR_INSTRUCTION).join(QStringLiteral(", ")) + u')');
    }
    const QString erreur = bd().derniereErreur();
    if (!ok || annule) {
        if (bd().enTransaction()) bd().finTransaction(true);
        return annule ? abandon(Texte::PURGE_ANNULEE, GENRE_AIDE)
                      : echec(Texte::echecSuppression(erreur));
    }
    if (!bd().finTransaction(false)) return echec(Texte::echecSuppression(bd().derniereErreur()));
    charger();
    if (nbSupprimes) *nbSupprimes = int(aSupprimer.size());
    return reussite(Texte::PURGE_FIN);
}

CompteRendu ModeleListeTaxons::demanderRemplacement(const QString &ancien) const
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    return confirmer(Texte::questionRemplacement(ancien.trimmed())) ? reussite() : CompteRendu{};
}

CompteRendu ModeleListeTaxons::remplacerHistorique(const QString &ancienCode,
                                                   const QString &nouveauCode,
                                                   Progression &progression)
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    const QString ancien = ancienCode.trimmed(), nouveau = nouveauCode.trimmed();
    if (nouveau.isEmpty()) return {};
    if (bd().extraire(QStringLiteral("SELECT NomLatin FROM TAXONS WHERE codeTaxon=") +
                      sqlTexte(nouveau))
            .estVide())
        return echec(Texte::REMPLACEMENT_INCONNU);
    if (nouveau == ancien) return echec(Texte::REMPLACEMENT_IDENTIQUE);
    if (!confirmer(Texte::confirmation(ancien, nouveau))) return {};
    Transaction transaction;
    bool annule = false;
    const bool ok = transaction.estOuverte() &&
                    deplacerReferences(ancien, nouveau, false, progression, annule) &&
                    bd().Execute(QStringLiteral("UPDATE TAXONS SET actif='1' WHERE codeTaxon=") +
                                 sqlTexte(nouveau));
    const QString erreur = bd().derniereErreur();
    if (!ok || !transaction.valider()) {
        transaction.annuler();
        return annule ? abandon(Texte::REMPLACEMENT_ANNULE, GENRE_AIDE)
                      : echec(Texte::echec(erreur));
    }
    if (const int i = ligne(nouveau); i >= 0) majLigne(i, ligneGrille(lireTaxon(nouveau)));
    return reussite(Texte::REMPLACEMENT_FIN);
}

CompteRendu ModeleListeTaxons::activerTaxons(Progression &progression)
{
    if (CompteRendu droit = droitReferentiels(); !droit) return droit;
    int echecs = 0;
    const int n = activerTaxonsUtilises(progression, &echecs);
    const QString erreur = bd().derniereErreur();
    charger();
    if (echecs > 0) return echec(Texte::echec(erreur));
    return reussite(QString::number(n) + QStringLiteral(" taxon(s) activé(s)."));
}

QString ModeleListeTaxons::messageEnregistre() const
{
    return Texte::ENREGISTRE;
}

} // namespace vyk
