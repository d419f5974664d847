#include "demandes/Demandes.h"

#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "referentials/ListesCodees.h"

#include <QSet>

namespace vyk {

namespace {

using N = NatureChamp;

const QString TABLE = QStringLiteral("QUALITOMETRES_DEMANDES");
const QString TABLE_SITES = QStringLiteral("QUALITOMETRES_DEMANDES_SITES");
const QString TABLE_PARAMETRES = QStringLiteral("QUALITOMETRES_DEMANDES_PARAMETRES");
const QString TABLE_HISTORIQUES = QStringLiteral("QUALITOMETRES_DEMANDES_HISTORIQUES");

const QString SQL_INTERVENANTS = QStringLiteral(
    "SELECT DISTINCT Nom, codeIntervenant FROM Intervenants WHERE (CodeSandre is not null and "
    "codeSandre<>'') or (siret is not null and siret<>'') ORDER BY Nom ASC");

// A campaign's columns copied into a new request: texts as they are, organisations only when
// they can be identified in a message.
struct CopieCampagne
{
    ChampDemande champ;
    const char *colonne;
};
const CopieCampagne COPIES_CAMPAGNE[] = {{DemType, "typeDemande"},
                                         {DemContexte, "contexteCodification"},
                                         {DemReferenceMarche, "referenceMarche"},
                                         {DemCommentaire, "commentaire"},
                                         {DemContact, "nomContact"},
                                         {DemSupport, "codeSupport"},
                                         {DemListeParametres, "codeListeParametres"}};
const CopieCampagne INTERVENANTS_CAMPAGNE[] = {{DemEmetteur, "codeIntervenant"},
                                               {DemPrestataire, "codePrestataire"},
                                               {DemPayeur, "codePayeur"},
                                               {DemPreleveur, "codePreleveur"}};

QString cle(int code)
{
    return QStringLiteral(" WHERE codeDemande=") + QString::number(code);
}

ChampDecrit code(const char *colonne, const char *libelle, int taille, const QString &liste)
{
    return {QString::fromLatin1(colonne), QString::fromUtf8(libelle), N::Code, taille, liste};
}

ChampDecrit texte(const char *colonne, const char *libelle, int taille, N nature = N::Texte)
{
    return {QString::fromLatin1(colonne), QString::fromUtf8(libelle), nature, taille};
}

// Whether every parameter row has the values the message needs.
bool parametresComplets(const QVector<QStringList> &parametres)
{
    for (const QStringList &l : parametres)
        for (const int c : {ParParametre, ParUnite, ParLieu, ParFraction})
            if (codeSaisi(l.value(c)).isEmpty()) return false;
    return true;
}

QString defautFiche(const FicheDemande &f)
{
    if (const QString m = verifierSaisie(champsDemande(), f.textes); !m.isEmpty()) return m;
    if (!parametresComplets(f.parametres)) return texteDemandes::PARAMETRES_INCOMPLETS;
    for (int i = 0; i < f.parametres.size(); ++i)
        if (QString m = verifierSaisie(champsParametresDemande(), f.parametres[i]); !m.isEmpty()) {
            if (m.endsWith(u'.')) m.chop(1);
            return m + QStringLiteral(" pour la ligne ") + QString::number(i + 1) + u'.';
        }
    return {};
}

bool ecrireEntete(int code, const FicheDemande &f, bool existe)
{
    const ChampsDecrits &champs = champsDemande();
    QVector<QVariant> valeurs = valeursSaisies(champs, f.textes);
    const QVariant datemaj = QDateTime::currentDateTime();
    const QVariant login = nulSiVide(session().login);
    if (!existe) {
        InstructionPreparee ajout =
            bd().preparer(insertionLiee(TABLE, champs,
                                        {QStringLiteral("codeDemande"), QStringLiteral("datemaj"),
                                         QStringLiteral("loginmaj")}));
        return ajout.executer(QVector<QVariant>{code, datemaj, login} + valeurs);
    }
    QStringList affectations;
    for (const ChampDecrit &c : champs)
        affectations << c.colonne + QStringLiteral("=?");
    affectations << QStringLiteral("datemaj=?") << QStringLiteral("loginmaj=?");
    InstructionPreparee maj =
        bd().preparer(QStringLiteral("UPDATE ") + TABLE + QStringLiteral(" SET ") +
                      affectations.join(QStringLiteral(", ")) + cle(code));
    return maj.executer(valeurs << datemaj << login);
}

bool ecrireSites(int code, const QVector<int> &stations)
{
    InstructionPreparee ajout = bd().preparer(QStringLiteral("INSERT INTO ") + TABLE_SITES +
                                              QStringLiteral(" (codeDemande, codeQualitometre) "
                                                             "VALUES (?, ?)"));
    QSet<int> vues;
    for (const int s : stations)
        if (!vues.contains(s)) {
            vues.insert(s);
            if (!ajout.executer({code, s})) return false;
        }
    return true;
}

bool ecrireParametres(int code, const QVector<QStringList> &parametres)
{
    const ChampsDecrits &champs = champsParametresDemande();
    InstructionPreparee ajout =
        bd().preparer(insertionLiee(TABLE_PARAMETRES, champs, {QStringLiteral("codeDemande")}));
    for (const QStringList &l : parametres)
        if (!ajout.executer(QVector<QVariant>{code} + valeursSaisies(champs, l))) return false;
    return true;
}

bool supprimerLignes(int code, bool avecEntete)
{
    QStringList tables = {TABLE_PARAMETRES, TABLE_SITES};
    if (avecEntete) tables << TABLE_HISTORIQUES << TABLE;
    for (const QString &t : std::as_const(tables))
        if (!bd().Execute(QStringLiteral("DELETE FROM ") + t + cle(code))) return false;
    return true;
}

QVector<QStringList> lireParametres(const QString &table, const QString &condition,
                                    const ChampsDecrits &champs)
{
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT ") + listeColonnes(champs) + QStringLiteral(" FROM ") +
                      table + condition + QStringLiteral(" ORDER BY codeParametre ASC"));
    QVector<QStringList> lignes;
    for (int i = 0; i < t.nbLignes(); ++i) {
        QStringList l = lireTextes(t, i, champs);
        while (l.size() < NB_COLONNES_PARAMETRE)
            l << QStringLiteral("0");
        lignes << l;
    }
    return lignes;
}

// A date of the campaign table (text) as the form shows it.
QString dateFormulaire(const QString &texte)
{
    const QDateTime d = lireDate(texte.trimmed());
    return d.isValid() ? texteDate(d) : texte.trimmed();
}

// Copies one organisation of the campaign when it can be identified in a message.
void copierIntervenant(InitialisationCampagne &init, ChampDemande champ, const QString &code)
{
    if (code.trimmed().isEmpty()) return;
    const Tableau t = bd().extraire(
        QStringLiteral(
            "SELECT Nom, siret, codeSandre FROM INTERVENANTS WHERE cstr(codeIntervenant)=") +
        sqlTexte(code.trimmed()));
    if (!t.estVide() && (!t.texte(0, QStringLiteral("siret")).trimmed().isEmpty() ||
                         !t.texte(0, QStringLiteral("codeSandre")).trimmed().isEmpty())) {
        init.fiche.definir(champ, code.trimmed());
        return;
    }
    const QString nom = t.estVide() ? code.trimmed() : t.texte(0, QStringLiteral("Nom"));
    if (!init.sansCode.contains(nom)) init.sansCode << nom;
}

} // namespace

EntreesCodees typesDemande()
{
    return {{QStringLiteral("1"), QStringLiteral("Demande de prélèvement(s)"), 0},
            {QStringLiteral("2"), QStringLiteral("Demande d'analyse(s)"), 0},
            {QStringLiteral("3"), QStringLiteral("Demande mixte"), 0}};
}

EntreesCodees intervenantsDemande()
{
    return entreesRequete(SQL_INTERVENANTS);
}

const ChampsDecrits &champsDemande()
{
    static const ChampsDecrits champs = [] {
        ChampsDecrits c(NB_CHAMPS_DEMANDE);
        c[DemLibelle] = texte("libelle", "Nom de la demande", 100);
        c[DemDate] = texte("dateDemande", "Date de la demande", 0, N::Date);
        c[DemDebut] = texte("dateDebutApplication", "Début de la relance", 0, N::Date);
        c[DemFin] = texte("dateFinApplication", "Fin de la relance", 0, N::Date);
        c[DemPrestataire] = code("codePrestataire", "Laboratoire", 17, SQL_INTERVENANTS);
        c[DemCodePrestataire] =
            texte("codeDemandePrestataire", "Code de la demande au laboratoire", 100);
        c[DemType] = code("typeDemande", "Type de demande", 1, {});
        c[DemContexte] = texte("contexteCodification", "Contexte de codification", 1);
        c[DemReferenceMarche] = texte("referenceMarche", "Référence du marché", 50);
        c[DemCommentaire] = texte("commentaire", "Commentaire", 0, N::Memo);
        c[DemEmetteur] = code("codeIntervenant", "Emetteur", 17, SQL_INTERVENANTS);
        c[DemContact] = texte("nomContact", "Contact", 115);
        c[DemPayeur] = code("codePayeur", "Payeur", 17, SQL_INTERVENANTS);
        c[DemPreleveur] = code("codePreleveur", "Préleveur", 17, SQL_INTERVENANTS);
        c[DemSupport] =
            code("codeSupport", "Support", 5,
                 QStringLiteral("SELECT Nom, Code FROM ANALYSES_SUPPORTS ORDER BY Nom"));
        c[DemListeParametres] =
            code("codeListeParametres", "Liste de paramètres", 17,
                 QStringLiteral("SELECT Nom, Code FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE WHERE "
                                "TypeListe=0 ORDER BY Nom"));
        c[DemCampagne] = code("codeCampagne", "Campagne", 0,
                              QStringLiteral("SELECT libelle, codeCampagne FROM CAMPAGNES ORDER BY "
                                             "libelle"));
        c[DemCampagne].numerique = true;
        return c;
    }();
    return champs;
}

const ChampsDecrits &champsParametresDemande()
{
    static const ChampsDecrits champs = [] {
        ChampsDecrits c(NB_COLONNES_PARAMETRE);
        c[ParParametre] = code("codeParametre", "Paramètre", 5,
                               QStringLiteral("SELECT Nom, Code FROM ANALYSES_PARAMETRES WHERE "
                                              "Actif='1' ORDER BY Nom"));
        c[ParUnite] = code("codeUnite", "Unité", 5,
                           QStringLiteral("SELECT Symbole, Code FROM ANALYSES_UNITES ORDER BY "
                                          "Symbole"));
        c[ParLieu] = code("codeLieu", "Lieu", 1, QStringLiteral("ANALYSES.LIEU"));
        c[ParFraction] =
            code("codeFraction", "Fraction", 3,
                 QStringLiteral("SELECT Nom, Code FROM ANALYSES_FRACTIONS ORDER BY Nom"));
        c[ParSupport] =
            code("codeSupport", "Support", 5,
                 QStringLiteral("SELECT Nom, Code FROM ANALYSES_SUPPORTS ORDER BY Nom"));
        c[ParInsitu] = texte("insitu", "In situ", 1, N::OuiNon);
        return c;
    }();
    return champs;
}

FicheDemande nouvelleDemande()
{
    FicheDemande f;
    f.definir(DemDate, texteDate(QDateTime(QDate::currentDate(), QTime(0, 0))));
    f.definir(DemContexte, QStringLiteral("1"));
    return f;
}

QVector<LigneListeDemande> listeDemandes()
{
    const Tableau t = bd().extraire(QStringLiteral(
        "SELECT D.codeDemande AS code, D.libelle AS libelle, D.dateDemande AS dateDemande, "
        "D.dateDebutApplication AS debut, D.dateFinApplication AS fin, D.codePrestataire AS "
        "prestataire, I.Nom AS nomPrestataire, D.typeDemande AS typeDemande, C.libelle AS "
        "campagne "
        "FROM (QUALITOMETRES_DEMANDES D LEFT JOIN INTERVENANTS I ON "
        "D.codePrestataire=cstr(I.CodeIntervenant)) "
        "LEFT JOIN CAMPAGNES C ON D.codeCampagne=C.codeCampagne ORDER BY D.codeDemande DESC"));
    QVector<LigneListeDemande> lignes;
    const auto texte = [&t](int i, const char *colonne) {
        return t.texte(i, QLatin1String(colonne));
    };
    for (int i = 0; i < t.nbLignes(); ++i)
        lignes.append({t.valeur(i, QStringLiteral("code")).toInt(), texte(i, "libelle"),
                       texte(i, "dateDemande"), texte(i, "debut"), texte(i, "fin"),
                       texte(i, "prestataire"), texte(i, "nomPrestataire"), texte(i, "typeDemande"),
                       texte(i, "campagne")});
    return lignes;
}

bool lireDemande(int code, FicheDemande &fiche)
{
    const ChampsDecrits &champs = champsDemande();
    const Tableau t = bd().extraire(QStringLiteral("SELECT ") + listeColonnes(champs) +
                                    QStringLiteral(" FROM ") + TABLE + cle(code));
    if (t.estVide()) return false;
    fiche = FicheDemande();
    fiche.code = code;
    fiche.textes = lireTextes(t, 0, champs);
    const Tableau s = bd().extraire(QStringLiteral("SELECT codeQualitometre FROM ") + TABLE_SITES +
                                    cle(code) + QStringLiteral(" ORDER BY codeQualitometre ASC"));
    for (int i = 0; i < s.nbLignes(); ++i)
        fiche.stations << s.valeur(i, QStringLiteral("codeQualitometre")).toInt();
    fiche.parametres = lireParametres(TABLE_PARAMETRES, cle(code), champsParametresDemande());
    return true;
}

CompteRendu enregistrerDemande(FicheDemande &fiche)
{
    if (const QString m = defautFiche(fiche); !m.isEmpty()) return echec(m);
    Transaction transaction;
    bd().verrouiller(TABLE);
    int code = fiche.code;
    bool existe = false;
    if (code > 0)
        existe =
            bd().valeur(QStringLiteral("SELECT count(*) FROM ") + TABLE + cle(code)).toInt() > 0;
    else
        code = bd().valeur(QStringLiteral("SELECT Max(CodeDemande) FROM ") + TABLE).toInt() + 1;
    const bool ok = ecrireEntete(code, fiche, existe) && supprimerLignes(code, false) &&
                    ecrireSites(code, fiche.stations) && ecrireParametres(code, fiche.parametres);
    const CompteRendu r = conclureTransaction(
        transaction, ok, [](const QString &e) { return texteDemandes::ECHEC.arg(e); },
        texteDemandes::ENREGISTREE);
    if (r.ok) fiche.code = code;
    return r;
}

CompteRendu supprimerDemande(int code, const Confirmation &confirmer)
{
    const QVariant nom = bd().valeur(QStringLiteral("SELECT libelle FROM ") + TABLE + cle(code));
    if (!nom.isValid() &&
        bd().valeur(QStringLiteral("SELECT count(*) FROM ") + TABLE + cle(code)).toInt() == 0)
        return echec(texteDemandes::INCONNUE.arg(code));
    if (!confirmer(texteDemandes::SUPPRIMER + nom.toString() + QStringLiteral(" ?"))) return {};
    Transaction transaction;
    return conclureTransaction(
        transaction, supprimerLignes(code, true),
        [](const QString &e) { return texteDemandes::ECHEC_SUPPRESSION.arg(e); },
        texteDemandes::SUPPRIMEE);
}

FicheDemande dupliquerDemande(const FicheDemande &fiche)
{
    FicheDemande copie = fiche;
    copie.code = 0;
    const QString nom = fiche.texte(DemLibelle) + texteDemandes::SUFFIXE_COPIE;
    // The copy's name must still fit its column.
    copie.definir(DemLibelle, nom.left(champsDemande()[DemLibelle].taille));
    return copie;
}

void modifierParametres(QVector<QStringList> &parametres, ColonneParametre colonne,
                        const QString &code)
{
    for (QStringList &l : parametres) {
        while (l.size() < NB_COLONNES_PARAMETRE)
            l << QString();
        l[colonne] = codeSaisi(code);
    }
}

QVector<LigneHistorique> historiqueDemande(int code)
{
    const Tableau t = bd().extraire(QStringLiteral("SELECT nomFichier, dateGeneration, "
                                                   "heureGeneration FROM ") +
                                    TABLE_HISTORIQUES + cle(code) +
                                    QStringLiteral(" ORDER BY dateGeneration ASC, "
                                                   "heureGeneration ASC"));
    QVector<LigneHistorique> lignes;
    for (int i = 0; i < t.nbLignes(); ++i)
        lignes.append({t.texte(i, QStringLiteral("nomFichier")),
                       t.valeur(i, QStringLiteral("dateGeneration"))
                           .toDateTime()
                           .toString(QStringLiteral("dd/MM/yyyy")),
                       t.valeur(i, QStringLiteral("heureGeneration"))
                           .toDateTime()
                           .toString(QStringLiteral("HH:mm:ss"))});
    return lignes;
}

QVector<StationDemande> stationsDemande(const QVector<int> &codes)
{
    QHash<int, StationDemande> lues;
    if (!codes.isEmpty()) {
        QStringList liste;
        for (const int c : codes)
            liste << QString::number(c);
        const Tableau t =
            bd().extraire(QStringLiteral("SELECT CodeQualitometre, CodeBSS, Nom FROM "
                                         "QUALITOMETRES WHERE CodeQualitometre IN (") +
                          liste.join(u',') + u')');
        for (int i = 0; i < t.nbLignes(); ++i) {
            const int c = t.valeur(i, QStringLiteral("CodeQualitometre")).toInt();
            lues.insert(
                c, {c, t.texte(i, QStringLiteral("CodeBSS")), t.texte(i, QStringLiteral("Nom"))});
        }
    }
    QVector<StationDemande> stations;
    for (const int c : codes)
        stations << lues.value(c, {c, QString::number(c), {}});
    return stations;
}

EntreesCodees stationsProposees()
{
    return entreesStationsAccessibles(QStringLiteral(" "));
}

EntreesCodees campagnesProposees()
{
    return entreesRequete(QStringLiteral("SELECT libelle, codeCampagne FROM CAMPAGNES WHERE "
                                         "typeCampagne in (2,3) ORDER BY libelle"));
}

QString InitialisationCampagne::message() const
{
    if (sansCode.isEmpty()) return {};
    return texteDemandes::SANS_CODE_SANDRE + u'\n' + sansCode.join(u'\n');
}

InitialisationCampagne demandeDepuisCampagne(int codeCampagne)
{
    InitialisationCampagne init;
    const QString condition =
        QStringLiteral(" WHERE codeCampagne=") + QString::number(codeCampagne);
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT libelle, dateDebutApplication, dateFinApplication, typeDemande, "
                       "contexteCodification, referenceMarche, commentaire, nomContact, "
                       "codeSupport, codeListeParametres, codeIntervenant, codePrestataire, "
                       "codePayeur, codePreleveur FROM CAMPAGNES") +
        condition);
    if (t.estVide()) return init;
    init.trouvee = true;
    init.fiche = nouvelleDemande();
    FicheDemande &f = init.fiche;
    f.definir(DemLibelle, t.texte(0, QStringLiteral("libelle")));
    f.definir(DemDebut, dateFormulaire(t.texte(0, QStringLiteral("dateDebutApplication"))));
    f.definir(DemFin, dateFormulaire(t.texte(0, QStringLiteral("dateFinApplication"))));
    for (const auto &[champ, colonne] : COPIES_CAMPAGNE) {
        const QString v = t.texte(0, QLatin1String(colonne));
        if (!v.trimmed().isEmpty()) f.definir(champ, v);
    }
    for (const auto &[champ, colonne] : INTERVENANTS_CAMPAGNE)
        copierIntervenant(init, champ, t.texte(0, QLatin1String(colonne)));
    f.definir(DemCampagne, QString::number(codeCampagne));
    const Tableau s = bd().extraire(QStringLiteral("SELECT codeSite FROM CAMPAGNES_SITES") +
                                    condition + QStringLiteral(" ORDER BY ordrePassage ASC"));
    for (int i = 0; i < s.nbLignes(); ++i)
        f.stations << s.valeur(i, QStringLiteral("codeSite")).toInt();
    // The campaign's rows may not carry the in-situ flag.
    ChampsDecrits champs = champsParametresDemande();
    if (!bd().colonneExiste(QStringLiteral("CAMPAGNES_PARAMETRES"), QStringLiteral("insitu")))
        champs.removeLast();
    f.parametres = lireParametres(QStringLiteral("CAMPAGNES_PARAMETRES"), condition, champs);
    return init;
}

CompteRendu creerDemandeDepuisCampagne(int codeCampagne, int *code)
{
    InitialisationCampagne init = demandeDepuisCampagne(codeCampagne);
    if (!init.trouvee) return echec(texteDemandes::CAMPAGNE_INCONNUE.arg(codeCampagne));
    CompteRendu r = enregistrerDemande(init.fiche);
    if (r.ok && code) *code = init.fiche.code;
    if (r.ok && !init.sansCode.isEmpty()) r.texte += u'\n' + init.message();
    return r;
}

} // namespace vyk
