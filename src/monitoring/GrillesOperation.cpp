#include "monitoring/GrillesOperation.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "monitoring/OperationsHydrobio.h"
#include "schema/Catalogue.h"

#include <cmath>

namespace vyk {

namespace {

using N = NatureChamp;

const QString PARAMETRES =
    QStringLiteral("SELECT Nom, Code FROM ANALYSES_PARAMETRES WHERE Actif='1' ORDER BY Nom");
const QString UNITES = QStringLiteral("SELECT Nom, Code FROM ANALYSES_UNITES ORDER BY Nom");

QString pourLaLigne(const QString &titre, const QString &valeur, int n)
{
    return QStringLiteral("La valeur « %1 » de la colonne %2 pour la ligne %3 n'est pas correcte.")
        .arg(valeur, titre)
        .arg(n);
}

QString conditionOperation(qint64 station, const QString &operation)
{
    return QStringLiteral(" WHERE codeQualitometre=") + QString::number(station) +
           QStringLiteral(" AND codeOperation=") + operation;
}

ColonneGrille colonne(const char *nom, const char *titre, N nature, const QString &liste = {},
                      EntreesCodees fixes = {})
{
    ColonneGrille c;
    c.colonne = QString::fromLatin1(nom);
    c.libelle = QString::fromUtf8(titre);
    c.nature = nature;
    c.liste = liste;
    c.entreesFixes = std::move(fixes);
    return c;
}

QString messageOperation(const DefinitionGrille &g, const ColonneGrille &c, DefautSaisie defaut,
                         int n, const QString &texte)
{
    return defaut == DefautSaisie::Absent ? g.messageObligatoire
                                          : pourLaLigne(c.libelle, texte.trimmed(), n);
}

DefinitionGrille grille(const char *nom, const char *table, const char *cle,
                        QVector<ColonneGrille> colonnes, const char *fin, const char *supprime,
                        const char *obligatoire, const char *messageObligatoire)
{
    DefinitionGrille g;
    g.nom = QString::fromLatin1(nom);
    g.table = QString::fromLatin1(table);
    g.colonnesParent = {QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation")};
    g.colonneNumero = QString::fromLatin1(cle);
    g.ordre = g.colonneNumero;
    g.colonnes = std::move(colonnes);
    g.colonnes[g.indexColonne(QString::fromLatin1(obligatoire))].obligatoire = true;
    g.message = messageOperation;
    g.verification = OrdreVerification::ObligatoiresDabord;
    g.messageFin = QString::fromUtf8(fin);
    g.messageSupprime = QString::fromUtf8(supprime);
    g.messageObligatoire = QString::fromUtf8(messageObligatoire);
    return g;
}

// Runs the statements of a save in one transaction: done with the end message fin, or refused
// with the failure.
template <class Travail> CompteRendu dansTransaction(Travail travail, const QString &fin)
{
    Transaction transaction;
    const bool ok = transaction.estOuverte() && travail();
    return conclureTransaction(
        transaction, ok, [](const QString &e) { return texteGrillesOperation::ECHEC + e; }, fin);
}

} // namespace

bool operationEnregistree(const QString &operation, QString &code)
{
    const Nombre n = enNombre(operation.trimmed(), true);
    if (operation.trimmed().isEmpty() || !n.estNombre()) return false;
    code = sqlNombre(n.valeur);
    return true;
}

const QVector<DefinitionGrille> &grillesOperation()
{
    const QString substrats =
        QStringLiteral("SELECT Nom, CodeSubstrat FROM SUBSTRATS ORDER BY Nom");
    const EntreesCodees materiels = {
        {QStringLiteral("0"), QStringLiteral("N")},  {QStringLiteral("1"), QStringLiteral("M6")},
        {QStringLiteral("2"), QStringLiteral("M4")}, {QStringLiteral("3"), QStringLiteral("M7")},
        {QStringLiteral("4"), QStringLiteral("M8")}, {QStringLiteral("5"), QStringLiteral("M9")},
        {QStringLiteral("6"), QStringLiteral("M10")}};
    static const QVector<DefinitionGrille> grilles = {
        grille(
            "prelevements", "QUALITOMETRES_OPERATIONS_PRELEVEMENTS", "indice",
            {colonne("codePrelevement", "Code", N::Texte),
             colonne("phase", "Phase", N::Code, QStringLiteral("PRELEVEMENTS.PHASE")),
             colonne("codeSubstrat", "Substrat", N::Code, substrats),
             colonne("codeSubstratSecondaire", "Substrat secondaire", N::Code, substrats),
             colonne("classeVitesse", "Vitesse", N::Code, QStringLiteral("PRELEVEMENTS.VITESSE")),
             colonne("hauteurEau", "Hauteur d'eau", N::Code,
                     QStringLiteral("PRELEVEMENTS.HAUTEUR")),
             colonne("materiel", "Matériel", N::Code, QStringLiteral("PRELEVEMENTS.MATERIELS"),
                     materiels),
             colonne("distanceBerge", "Distance berge", N::Nombre),
             colonne("largeur", "Largeur prospectée", N::Nombre),
             colonne("surface", "Surface", N::Nombre),
             colonne("volume", "Volume", N::Nombre),
             colonne("profondeur", "Profondeur", N::Nombre),
             colonne("zoneVerticale", "Zone verticale", N::Code,
                     QStringLiteral("PRELEVEMENTS.ZONE.VERTICALE")),
             colonne("colmatage", "Classe de colmatage", N::Code,
                     QStringLiteral("PRELEVEMENTS.COLMATAGE")),
             colonne("typeColmatage", "Type de colmatage", N::Code,
                     QStringLiteral("PRELEVEMENTS.TYPECOLMATAGE")),
             colonne("vegetation", "Végétation", N::Texte),
             colonne("diatomees", "Type diatomées", N::Code,
                     QStringLiteral("PRELEVEMENTS.DIATOMEES")),
             colonne("faciesSecondaire", "Faciès secondaire", N::Code,
                     QStringLiteral("PRELEVEMENTS.FACIES")),
             colonne("groupePrelevement", "Groupe", N::Code, QStringLiteral("PRELEVEMENTS.GROUPE")),
             colonne("ombrage", "Ombrage", N::Code, QStringLiteral("PRELEVEMENTS.OMBRAGE")),
             colonne("lame", "Lame", N::Texte),
             colonne("nbSupports", "Nb supports", N::Nombre),
             colonne("commentaires", "Commentaires", N::Texte)},
            "Enregistrement du prélèvement terminé.", "Le prélèvement a été supprimé.",
            "codePrelevement", "Le code du prélèvement n'est pas renseigné."),
        grille("conditions", "QUALITOMETRES_POINTS_OPERATIONS_ENV", "codeCondition",
               {colonne("parametre", "Paramètre", N::Code, PARAMETRES),
                colonne("mesure", "Mesure", N::Nombre), colonne("unite", "Unité", N::Code, UNITES),
                colonne("dateMesure", "Date", N::Date), colonne("heureMesure", "Heure", N::Heure),
                colonne("methode", "Méthode", N::Code,
                        QStringLiteral("SELECT Nom, Code FROM METHODES ORDER BY Nom")),
                colonne("qualification", "Qualification", N::Code,
                        QStringLiteral("ANALYSES.QUALIFICATION")),
                colonne("statut", "Statut", N::Code, QStringLiteral("ANALYSES.STATUT")),
                colonne("commentaires", "Commentaires", N::Texte)},
               "Enregistrement des conditions environnementales terminé.",
               "La condition a été supprimée.", "parametre",
               "Le paramètre de la condition n'est pas renseigné."),
        grille(
            "dispositifs", "QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS", "indice",
            {colonne("codeDispositif", "Dispositif", N::Code,
                     QStringLiteral("SELECT nom, codeDispositif FROM DISPOSITIFS ORDER BY nom"))},
            "Enregistrement des dispositifs terminé.", "Le dispositif a été supprimé.",
            "codeDispositif", "Le dispositif n'est pas renseigné."),
        grille(
            "resultats", "QUALITOMETRES_OPERATIONS_RESULTATS", "indice",
            {colonne("codeParametre", "Paramètre", N::Code, PARAMETRES),
             colonne("resultat", "Résultat", N::Nombre),
             colonne("codeUnite", "Unité", N::Code, UNITES),
             colonne("codeRemarque", "Remarque", N::Code, QStringLiteral("ANALYSES.CODEREMARQUE")),
             colonne("codeAccreditation", "Accréditation", N::Code,
                     QStringLiteral("ANALYSES.ACCREDITATION")),
             colonne("codeAgrement", "Agrément", N::Nombre)},
            "Enregistrement des résultats terminé.", "Le résultat a été supprimé.", "codeParametre",
            "Le paramètre du résultat n'est pas renseigné."),
    };
    return grilles;
}

const DefinitionGrille *grilleOperation(const QString &nom)
{
    for (const DefinitionGrille &g : grillesOperation())
        if (g.nom == nom) return &g;
    return nullptr;
}

LignesGrille GrilleOperation::charger(qint64 station, const QString &operation) const
{
    const Nombre op = enNombre(operation, true);
    if (!op.estNombre()) return {};
    return GrilleEditable::charger({double(station), op.valeur});
}

CompteRendu GrilleOperation::enregistrer(qint64 station, const QString &operation,
                                         LignesGrille &lignes,
                                         const QString *commentaireResultat) const
{
    QString op;
    if (!operationEnregistree(operation, op)) return echec(texteOperations::PARENT_ABSENT);
    if (const RefusGrille refus = verifier(lignes); !refus.estVide()) return echec(refus.message);
    // Stored lines keep their number (elementary sample n is column Pn of the taxa lists).
    LignesGrille ecrites = lignes;
    const CompteRendu fin = dansTransaction(
        [&] {
            QString erreur;
            if (!remplacer({double(station), op.toDouble()}, ecrites, erreur)) return false;
            if (!commentaireResultat) return true;
            InstructionPreparee commentaire =
                bd().preparer(QStringLiteral("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET "
                                             "commentaireResultat=? WHERE codeQualitometre=? "
                                             "AND codeOperation=?"));
            return commentaire.executer({commentaireResultat->trimmed().isEmpty()
                                             ? QVariant()
                                             : QVariant(*commentaireResultat),
                                         double(station), op.toDouble()});
        },
        definition().messageFin);
    if (fin) lignes = ecrites;
    return fin;
}

CompteRendu GrilleOperation::supprimerLigne(qint64 station, const QString &operation,
                                            const LigneGrille &ligne,
                                            const Confirmation &confirmer) const
{
    if (!confirmer(texteGrillesOperation::QUESTION_LIGNE)) return echec(QString());
    const Nombre op = enNombre(operation, true);
    QString erreur;
    if (op.estNombre() &&
        !GrilleEditable::supprimerLigne({double(station), op.valeur}, ligne, erreur))
        return echec(QStringLiteral("La suppression a échoué :\n") + erreur);
    return reussite(definition().messageSupprime);
}

// --- Covers ----------------------------------------------------------------------------------

const QVector<SupportRecouvrement> &supportsRecouvrement()
{
    static const QVector<SupportRecouvrement> supports = {
        {QStringLiteral("A - Bryophytes"), QStringLiteral("S1")},
        {QStringLiteral("B - Hydrophytes"), QStringLiteral("S2")},
        {QStringLiteral("C - Litières"), QStringLiteral("S3")},
        {QStringLiteral("D - Branchages, racines"), QStringLiteral("S28")},
        {QStringLiteral("E - Pierres, galets [25-50 mm]"), QStringLiteral("S24")},
        {QStringLiteral("F - Blocs"), QStringLiteral("S30")},
        {QStringLiteral("G - Granulats"), QStringLiteral("S9")},
        {QStringLiteral("H - Helophytes"), QStringLiteral("S10")},
        {QStringLiteral("I - Vases"), QStringLiteral("S11")},
        {QStringLiteral("J - Sables, limons [0.1 - 2.5 mm]"), QStringLiteral("S25")},
        {QStringLiteral("K - Algues"), QStringLiteral("S18")},
        {QStringLiteral("L - Dalles, argiles"), QStringLiteral("S29")},
        {QStringLiteral("M - non déterminé"), QStringLiteral("S31")},
    };
    return supports;
}

EntreesCodees entreesClassesRecouvrement()
{
    return {{QStringLiteral("1"), QStringLiteral("Dominant")},
            {QStringLiteral("2"), QStringLiteral("Marginal")},
            {QStringLiteral("3"), QStringLiteral("MNR")},
            {QStringLiteral("4"), QStringLiteral("P")}};
}

QVector<LigneRecouvrement> chargerRecouvrements(qint64 station, const QString &operation)
{
    QVector<LigneRecouvrement> lignes(supportsRecouvrement().size());
    const Nombre op = enNombre(operation, true);
    if (!op.estNombre()) return lignes;
    const Tableau t = bd().extraire(
        QStringLiteral(
            "SELECT indice, recouvrement, type, recouvrementChenal, "
            "recouvrementIntermediaire, recouvrementBerge FROM QUALITOMETRES_OPERATIONS_REC") +
        conditionOperation(station, sqlNombre(op.valeur)));
    for (int l = 0; l < t.nbLignes(); ++l) {
        auto v = [&](const char *c) { return t.texte(l, QLatin1String(c)); };
        const int i = int(t.valeur(l, QStringLiteral("indice")).toDouble()) - 1;
        if (i < 0 || i >= lignes.size()) continue;
        lignes[i] = {v("recouvrement"), v("type"), v("recouvrementChenal"),
                     v("recouvrementIntermediaire"), v("recouvrementBerge")};
    }
    return lignes;
}

RefusGrille verifierRecouvrements(const QVector<LigneRecouvrement> &lignes)
{
    double total = 0, chenal = 0, intermediaire = 0, berge = 0;
    bool saisi = false, parZone = false;
    for (int l = 0; l < lignes.size(); ++l) {
        const LigneRecouvrement &r = lignes[l];
        const struct
        {
            const QString &texte;
            double &somme;
            bool zone;
        } valeurs[] = {{r.recouvrement, total, false},
                       {r.chenal, chenal, true},
                       {r.intermediaire, intermediaire, true},
                       {r.berge, berge, true}};
        for (const auto &v : valeurs) {
            if (v.texte.trimmed().isEmpty()) continue;
            const Nombre n = enNombre(v.texte.trimmed(), true);
            if (!n.estNombre() || n.valeur < 0 || n.valeur > 100)
                return {l, pourLaLigne(QStringLiteral("recouvrement"), v.texte.trimmed(), l + 1)};
            v.somme += n.valeur;
            saisi = true;
            parZone = parZone || v.zone;
        }
        if (!r.type.trimmed().isEmpty() && !estNombre(r.type.trimmed()))
            return {l, pourLaLigne(QStringLiteral("Classe"), r.type.trimmed(), l + 1)};
    }
    if (!saisi) return {};
    const auto cent = [](double s) { return std::abs(s - 100) < 1e-6; };
    if (!parZone)
        return cent(total) ? RefusGrille{}
                           : RefusGrille{-1, texteGrillesOperation::RECOUVREMENTS_TOTAL};
    if (!cent(chenal)) return {-1, texteGrillesOperation::RECOUVREMENTS_CHENAL};
    if (!cent(intermediaire)) return {-1, texteGrillesOperation::RECOUVREMENTS_INTERMEDIAIRE};
    if (!cent(berge)) return {-1, texteGrillesOperation::RECOUVREMENTS_BERGES};
    return {};
}

CompteRendu enregistrerRecouvrements(qint64 station, const QString &operation,
                                     const QVector<LigneRecouvrement> &lignes)
{
    QString op;
    if (!operationEnregistree(operation, op)) return echec(texteOperations::PARENT_ABSENT);
    if (const RefusGrille refus = verifierRecouvrements(lignes); !refus.estVide())
        return echec(refus.message);
    return dansTransaction(
        [&] {
            if (!bd().Execute(QStringLiteral("DELETE FROM QUALITOMETRES_OPERATIONS_REC") +
                              conditionOperation(station, op)))
                return false;
            InstructionPreparee ajout = bd().preparer(
                QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_REC (codeQualitometre, "
                               "codeOperation, indice, recouvrement, type, "
                               "recouvrementChenal, recouvrementIntermediaire, recouvrementBerge) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
            for (int i = 0; i < lignes.size(); ++i) {
                const LigneRecouvrement &r = lignes[i];
                if (r.recouvrement.trimmed().isEmpty() && r.type.trimmed().isEmpty() &&
                    r.chenal.trimmed().isEmpty() && r.intermediaire.trimmed().isEmpty() &&
                    r.berge.trimmed().isEmpty())
                    continue;
                if (!ajout.executer(
                        {double(station), op.toDouble(), double(i + 1),
                         enNombre(r.recouvrement, true).variant(),
                         r.type.trimmed().isEmpty() ? QVariant() : QVariant(r.type.trimmed()),
                         enNombre(r.chenal, true).variant(),
                         enNombre(r.intermediaire, true).variant(),
                         enNombre(r.berge, true).variant()}))
                    return false;
            }
            return true;
        },
        texteGrillesOperation::RECOUVREMENTS_FIN);
}

// --- Survey units ----------------------------------------------------------------------------

const QVector<CaracteristiqueUnite> &caracteristiquesUnites()
{
    static const QVector<CaracteristiqueUnite> lignes = [] {
        QVector<CaracteristiqueUnite> l;
        const QString g0 = QStringLiteral("Description");
        const QStringList description{QStringLiteral("Recouvrement (%)"),
                                      QStringLiteral("Longueur (m)"), QStringLiteral("Largeur (m)"),
                                      QStringLiteral("Surface végétalisée (%)")};
        for (int i = 0; i < description.size(); ++i)
            l.append({0, i, g0, description[i], false});
        const struct
        {
            int groupe;
            const char *nom;
            QStringList lignes;
        } groupes[] = {
            {1,
             "Type de faciès",
             {QStringLiteral("Chenal lentique"), QStringLiteral("Chenal lotique"),
              QStringLiteral("Radier"), QStringLiteral("Plat courant"), QStringLiteral("Plat lent"),
              QStringLiteral("Mouille"), QStringLiteral("Fosse"), QStringLiteral("Autre")}},
            {2,
             "Classes de profondeur (m)",
             {QStringLiteral("P < 0,1"), QStringLiteral("0,1 <= P< 0,5"),
              QStringLiteral("0,5 <= P < 1"), QStringLiteral("1 <= P < 2"),
              QStringLiteral("P >= 2")}},
            {3,
             "Classes de vitesse (m/s)",
             {QStringLiteral("V < 0,05"), QStringLiteral("0,05 <= V < 0,2"),
              QStringLiteral("0,2 <= V < 0,5"), QStringLiteral("0,5 <= V < 1"),
              QStringLiteral("V >= 1")}},
            {4,
             "Éclairement",
             {QStringLiteral("Très ombragé"), QStringLiteral("Ombragé"),
              QStringLiteral("Peu ombragé"), QStringLiteral("Éclairé"),
              QStringLiteral("Très éclairé")}},
            {5,
             "Types de substrat",
             {QStringLiteral("Vases, limons"), QStringLiteral("Sables, graviers"),
              QStringLiteral("Cailloux, pierres"), QStringLiteral("Blocs, dalles"),
              QStringLiteral("Racines, branchages"), QStringLiteral("Artificiel")}},
            {6, "Périphyton", {QStringLiteral("Périphyton")}},
        };
        for (const auto &g : groupes)
            for (int i = 0; i < g.lignes.size(); ++i)
                l.append({g.groupe, i, QString::fromUtf8(g.nom), g.lignes[i], true});
        return l;
    }();
    return lignes;
}

EntreesCodees entreesAbondance()
{
    return {{QStringLiteral("0"), QStringLiteral("absent")},
            {QStringLiteral("1"), QStringLiteral("peu abondant")},
            {QStringLiteral("2"), QStringLiteral("abondant")},
            {QStringLiteral("3"), QStringLiteral("très abondant")}};
}

ValeursUnites chargerUnites(qint64 station, const QString &operation)
{
    const auto &lignes = caracteristiquesUnites();
    ValeursUnites v{QStringList(lignes.size()), QStringList(lignes.size())};
    const Nombre op = enNombre(operation, true);
    if (!op.estNombre()) return v;
    const Tableau t = bd().extraire(
        QStringLiteral(
            "SELECT unite, groupe, sousGroupe, resultat FROM QUALITOMETRES_OPERATIONS_UNITES") +
        conditionOperation(station, sqlNombre(op.valeur)));
    for (int l = 0; l < t.nbLignes(); ++l) {
        const int groupe = t.valeur(l, QStringLiteral("groupe")).toInt();
        const int sousGroupe = t.valeur(l, QStringLiteral("sousGroupe")).toInt();
        const bool ur2 = t.valeur(l, QStringLiteral("unite")).toInt() == 2;
        for (int i = 0; i < lignes.size(); ++i)
            if (lignes[i].groupe == groupe && lignes[i].sousGroupe == sousGroupe) {
                (ur2 ? v.ur2 : v.ur1)[i] = t.texte(l, QStringLiteral("resultat"));
                break;
            }
    }
    return v;
}

RefusGrille verifierUnites(const ValeursUnites &v)
{
    const auto &lignes = caracteristiquesUnites();
    for (int i = 0; i < lignes.size(); ++i)
        for (const QString &brut : {v.ur1.value(i), v.ur2.value(i)}) {
            const QString t = brut.trimmed();
            if (t.isEmpty()) continue;
            const Nombre n = enNombre(t, true);
            const bool ok = lignes[i].note ? (n.estNombre() && n.valeur >= 0 && n.valeur <= 3 &&
                                              n.valeur == std::floor(n.valeur))
                                           : n.estNombre();
            if (!ok) return {i, pourLaLigne(lignes[i].libelle, t, i + 1)};
        }
    return {};
}

CompteRendu enregistrerUnites(qint64 station, const QString &operation, const ValeursUnites &v)
{
    QString op;
    if (!operationEnregistree(operation, op)) return echec(texteOperations::PARENT_ABSENT);
    if (const RefusGrille refus = verifierUnites(v); !refus.estVide()) return echec(refus.message);
    const auto &lignes = caracteristiquesUnites();
    return dansTransaction(
        [&] {
            InstructionPreparee ajout = bd().preparer(
                QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_UNITES (CodeQualitometre, "
                               "codeOperation, unite, groupe, sousGroupe, resultat) "
                               "VALUES (?, ?, ?, ?, ?, ?)"));
            // Each (unit, group) set is replaced as a whole.
            for (int unite = 1; unite <= 2; ++unite)
                for (int groupe = 0; groupe <= 6; ++groupe) {
                    if (!bd().Execute(
                            QStringLiteral("DELETE FROM QUALITOMETRES_OPERATIONS_UNITES") +
                            conditionOperation(station, op) + QStringLiteral(" AND unite=") +
                            QString::number(unite) + QStringLiteral(" AND groupe=") +
                            QString::number(groupe)))
                        return false;
                    for (int i = 0; i < lignes.size(); ++i) {
                        if (lignes[i].groupe != groupe) continue;
                        const QString t = (unite == 1 ? v.ur1 : v.ur2).value(i).trimmed();
                        if (t.isEmpty()) continue;
                        if (!ajout.executer({double(station), op.toDouble(), unite, groupe,
                                             lignes[i].sousGroupe, enNombre(t, true).valeur}))
                            return false;
                    }
                }
            return true;
        },
        texteGrillesOperation::UNITES_FIN);
}

} // namespace vyk
