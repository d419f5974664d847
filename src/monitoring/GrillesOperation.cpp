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

using G = GenreChamp;

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

bool estNumerique(const QString &table, const QString &colonne)
{
    const DefinitionTable *t = definitionTable(table);
    const DefinitionColonne *c = t ? t->colonne(colonne) : nullptr;
    return c && (c->type == TypeNeutre::Reel || c->type == TypeNeutre::Court ||
                 c->type == TypeNeutre::Long);
}

int taille(const QString &table, const QString &colonne)
{
    const DefinitionTable *t = definitionTable(table);
    const DefinitionColonne *c = t ? t->colonne(colonne) : nullptr;
    return c && c->type == TypeNeutre::Texte ? c->taille : 0;
}

// Runs the statements of a save in one transaction; the message of the failure otherwise.
template <class Travail> bool dansTransaction(Travail travail)
{
    Transaction transaction;
    const bool ok = transaction.estOuverte() && travail();
    return terminerTransaction(transaction, ok,
                               [](const QString &e) { return texteGrillesOperation::ECHEC + e; });
}

} // namespace

bool operationEnregistree(const QString &operation, QString &code)
{
    const Nombre n = enNombre(operation.trimmed(), true);
    if (operation.trimmed().isEmpty() || !n.estNombre()) {
        afficherMessage(QStringLiteral("Erreur"), texteOperations::PARENT_ABSENT);
        return false;
    }
    code = sqlNombre(n.valeur);
    return true;
}

int DefinitionGrilleOperation::indexColonne(const QString &colonne) const
{
    for (int c = 0; c < colonnes.size(); ++c)
        if (colonnes[c].colonne.compare(colonne, Qt::CaseInsensitive) == 0) return c;
    return -1;
}

const QVector<DefinitionGrilleOperation> &grillesOperation()
{
    static const QVector<DefinitionGrilleOperation> grilles = {
        {QStringLiteral("prelevements"),
         QStringLiteral("QUALITOMETRES_OPERATIONS_PRELEVEMENTS"),
         QStringLiteral("indice"),
         {{QStringLiteral("codePrelevement"), QStringLiteral("Code"), G::Texte},
          {QStringLiteral("phase"), QStringLiteral("Phase"), G::Code,
           QStringLiteral("PRELEVEMENTS.PHASE")},
          {QStringLiteral("codeSubstrat"), QStringLiteral("Substrat"), G::Code,
           QStringLiteral("SELECT Nom, CodeSubstrat FROM SUBSTRATS ORDER BY Nom")},
          {QStringLiteral("codeSubstratSecondaire"), QStringLiteral("Substrat secondaire"), G::Code,
           QStringLiteral("SELECT Nom, CodeSubstrat FROM SUBSTRATS ORDER BY Nom")},
          {QStringLiteral("classeVitesse"), QStringLiteral("Vitesse"), G::Code,
           QStringLiteral("PRELEVEMENTS.VITESSE")},
          {QStringLiteral("hauteurEau"), QStringLiteral("Hauteur d'eau"), G::Code,
           QStringLiteral("PRELEVEMENTS.HAUTEUR")},
          {QStringLiteral("materiel"),
           QStringLiteral("Matériel"),
           G::Code,
           QStringLiteral("PRELEVEMENTS.MATERIELS"),
           {{QStringLiteral("0"), QStringLiteral("N")},
            {QStringLiteral("1"), QStringLiteral("M6")},
            {QStringLiteral("2"), QStringLiteral("M4")},
            {QStringLiteral("3"), QStringLiteral("M7")},
            {QStringLiteral("4"), QStringLiteral("M8")},
            {QStringLiteral("5"), QStringLiteral("M9")},
            {QStringLiteral("6"), QStringLiteral("M10")}}},
          {QStringLiteral("distanceBerge"), QStringLiteral("Distance berge"), G::Nombre},
          {QStringLiteral("largeur"), QStringLiteral("Largeur prospectée"), G::Nombre},
          {QStringLiteral("surface"), QStringLiteral("Surface"), G::Nombre},
          {QStringLiteral("volume"), QStringLiteral("Volume"), G::Nombre},
          {QStringLiteral("profondeur"), QStringLiteral("Profondeur"), G::Nombre},
          {QStringLiteral("zoneVerticale"), QStringLiteral("Zone verticale"), G::Code,
           QStringLiteral("PRELEVEMENTS.ZONE.VERTICALE")},
          {QStringLiteral("colmatage"), QStringLiteral("Classe de colmatage"), G::Code,
           QStringLiteral("PRELEVEMENTS.COLMATAGE")},
          {QStringLiteral("typeColmatage"), QStringLiteral("Type de colmatage"), G::Code,
           QStringLiteral("PRELEVEMENTS.TYPECOLMATAGE")},
          {QStringLiteral("vegetation"), QStringLiteral("Végétation"), G::Texte},
          {QStringLiteral("diatomees"), QStringLiteral("Type diatomées"), G::Code,
           QStringLiteral("PRELEVEMENTS.DIATOMEES")},
          {QStringLiteral("faciesSecondaire"), QStringLiteral("Faciès secondaire"), G::Code,
           QStringLiteral("PRELEVEMENTS.FACIES")},
          {QStringLiteral("groupePrelevement"), QStringLiteral("Groupe"), G::Code,
           QStringLiteral("PRELEVEMENTS.GROUPE")},
          {QStringLiteral("ombrage"), QStringLiteral("Ombrage"), G::Code,
           QStringLiteral("PRELEVEMENTS.OMBRAGE")},
          {QStringLiteral("lame"), QStringLiteral("Lame"), G::Texte},
          {QStringLiteral("nbSupports"), QStringLiteral("Nb supports"), G::Nombre},
          {QStringLiteral("commentaires"), QStringLiteral("Commentaires"), G::Texte}},
         QStringLiteral("Enregistrement du prélèvement terminé."),
         QStringLiteral("Le prélèvement a été supprimé."),
         QStringLiteral("codePrelevement"),
         QStringLiteral("Le code du prélèvement n'est pas renseigné.")},
        {QStringLiteral("conditions"),
         QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS_ENV"),
         QStringLiteral("codeCondition"),
         {{QStringLiteral("parametre"), QStringLiteral("Paramètre"), G::Code, PARAMETRES},
          {QStringLiteral("mesure"), QStringLiteral("Mesure"), G::Nombre},
          {QStringLiteral("unite"), QStringLiteral("Unité"), G::Code, UNITES},
          {QStringLiteral("dateMesure"), QStringLiteral("Date"), G::Date},
          {QStringLiteral("heureMesure"), QStringLiteral("Heure"), G::Heure},
          {QStringLiteral("methode"), QStringLiteral("Méthode"), G::Code,
           QStringLiteral("SELECT Nom, Code FROM METHODES ORDER BY Nom")},
          {QStringLiteral("qualification"), QStringLiteral("Qualification"), G::Code,
           QStringLiteral("ANALYSES.QUALIFICATION")},
          {QStringLiteral("statut"), QStringLiteral("Statut"), G::Code,
           QStringLiteral("ANALYSES.STATUT")},
          {QStringLiteral("commentaires"), QStringLiteral("Commentaires"), G::Texte}},
         QStringLiteral("Enregistrement des conditions environnementales terminé."),
         QStringLiteral("La condition a été supprimée."),
         QStringLiteral("parametre"),
         QStringLiteral("Le paramètre de la condition n'est pas renseigné.")},
        {QStringLiteral("dispositifs"),
         QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS"),
         QStringLiteral("indice"),
         {{QStringLiteral("codeDispositif"), QStringLiteral("Dispositif"), G::Code,
           QStringLiteral("SELECT nom, codeDispositif FROM DISPOSITIFS ORDER BY nom")}},
         QStringLiteral("Enregistrement des dispositifs terminé."),
         QStringLiteral("Le dispositif a été supprimé."),
         QStringLiteral("codeDispositif"),
         QStringLiteral("Le dispositif n'est pas renseigné.")},
        {QStringLiteral("resultats"),
         QStringLiteral("QUALITOMETRES_OPERATIONS_RESULTATS"),
         QStringLiteral("indice"),
         {{QStringLiteral("codeParametre"), QStringLiteral("Paramètre"), G::Code, PARAMETRES},
          {QStringLiteral("resultat"), QStringLiteral("Résultat"), G::Nombre},
          {QStringLiteral("codeUnite"), QStringLiteral("Unité"), G::Code, UNITES},
          {QStringLiteral("codeRemarque"), QStringLiteral("Remarque"), G::Code,
           QStringLiteral("ANALYSES.CODEREMARQUE")},
          {QStringLiteral("codeAccreditation"), QStringLiteral("Accréditation"), G::Code,
           QStringLiteral("ANALYSES.ACCREDITATION")},
          {QStringLiteral("codeAgrement"), QStringLiteral("Agrément"), G::Nombre}},
         QStringLiteral("Enregistrement des résultats terminé."),
         QStringLiteral("Le résultat a été supprimé."),
         QStringLiteral("codeParametre"),
         QStringLiteral("Le paramètre du résultat n'est pas renseigné.")},
    };
    return grilles;
}

const DefinitionGrilleOperation *grilleOperation(const QString &nom)
{
    for (const DefinitionGrilleOperation &g : grillesOperation())
        if (g.nom == nom) return &g;
    return nullptr;
}

bool GrilleOperation::colonneNumerique(const QString &colonne) const
{
    return estNumerique(m_def.table, colonne);
}

EntreesCodees GrilleOperation::entrees(int colonne) const
{
    const ColonneGrilleOperation &c = m_def.colonnes[colonne];
    if (c.genre != GenreChamp::Code) return {};
    EntreesCodees e;
    if (!c.source.isEmpty())
        e = c.source.contains(u' ') ? entreesRequete(c.source) : entreesListe(c.source);
    return e.isEmpty() ? c.entreesFixes : e;
}

bool GrilleOperation::estVide(const LigneOperation &ligne) const
{
    for (const QString &t : ligne.textes)
        if (!t.trimmed().isEmpty()) return false;
    return true;
}

LignesOperation GrilleOperation::charger(qint64 station, const QString &operation) const
{
    LignesOperation lignes;
    const Nombre op = enNombre(operation, true);
    if (!op.estNombre()) return lignes;
    QStringList colonnes{m_def.cle};
    for (const ColonneGrilleOperation &c : m_def.colonnes)
        colonnes << c.colonne;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT ") + colonnes.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
        m_def.table + conditionOperation(station, sqlNombre(op.valeur)) +
        QStringLiteral(" ORDER BY ") + m_def.cle);
    lignes.reserve(t.nbLignes());
    for (int l = 0; l < t.nbLignes(); ++l) {
        LigneOperation ligne;
        ligne.cle = t(l, 0).isNull() ? QVariant() : QVariant(t(l, 0).toDouble());
        for (int c = 0; c < m_def.colonnes.size(); ++c)
            ligne.textes << texteSaisi(m_def.colonnes[c].genre, t(l, c + 1));
        lignes << ligne;
    }
    return lignes;
}

RefusGrille GrilleOperation::verifier(const LignesOperation &lignes) const
{
    const int obligatoire = m_def.indexColonne(m_def.colonneObligatoire);
    for (int l = 0; l < lignes.size(); ++l) {
        if (estVide(lignes[l])) continue;
        if (obligatoire >= 0 && lignes[l].textes.value(obligatoire).trimmed().isEmpty())
            return {l, m_def.messageObligatoire};
        for (int c = 0; c < m_def.colonnes.size(); ++c) {
            const ColonneGrilleOperation &col = m_def.colonnes[c];
            const QString v = lignes[l].textes.value(c).trimmed();
            const int n = taille(m_def.table, col.colonne);
            if (!saisieCorrecte(col.genre, v, colonneNumerique(col.colonne)) ||
                (n > 0 && v.size() > n))
                return {l, pourLaLigne(col.titre, v, l + 1)};
        }
    }
    return {};
}

bool GrilleOperation::enregistrer(qint64 station, const QString &operation, LignesOperation &lignes,
                                  const QString *commentaireResultat) const
{
    QString op;
    if (!operationEnregistree(operation, op)) return false;
    if (const RefusGrille refus = verifier(lignes); !refus.estVide()) {
        afficherMessage(QStringLiteral("Erreur"), refus.message);
        return false;
    }
    const QString condition = conditionOperation(station, op);
    // Stored lines keep their number (elementary sample n is column Pn of the taxa lists).
    double prochain = 1;
    if (const QVariant max = bd().valeur(QStringLiteral("SELECT max(") + m_def.cle +
                                         QStringLiteral(") FROM ") + m_def.table + condition);
        !max.isNull())
        prochain = max.toDouble() + 1;
    for (const LigneOperation &l : std::as_const(lignes))
        if (!l.cle.isNull() && l.cle.toDouble() >= prochain) prochain = l.cle.toDouble() + 1;

    LignesOperation ecrites;
    QStringList colonnes{QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation"),
                         m_def.cle};
    QStringList marques{QStringLiteral("?"), QStringLiteral("?"), QStringLiteral("?")};
    for (const ColonneGrilleOperation &c : m_def.colonnes) {
        colonnes << c.colonne;
        marques << QStringLiteral("?");
    }
    const bool ok = dansTransaction([&] {
        if (!bd().Execute(QStringLiteral("DELETE FROM ") + m_def.table + condition)) return false;
        InstructionPreparee ajout =
            bd().preparer(QStringLiteral("INSERT INTO ") + m_def.table + QStringLiteral(" (") +
                          colonnes.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                          marques.join(QStringLiteral(", ")) + u')');
        for (LigneOperation ligne : std::as_const(lignes)) {
            if (estVide(ligne)) continue;
            if (ligne.cle.isNull()) ligne.cle = prochain++;
            QVector<QVariant> valeurs{double(station), op.toDouble(), ligne.cle};
            for (int c = 0; c < m_def.colonnes.size(); ++c)
                valeurs << valeurSaisie(m_def.colonnes[c].genre, ligne.textes.value(c),
                                        colonneNumerique(m_def.colonnes[c].colonne));
            if (!ajout.executer(valeurs)) return false;
            ecrites << ligne;
        }
        if (commentaireResultat) {
            InstructionPreparee commentaire =
                bd().preparer(QStringLiteral("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET "
                                             "commentaireResultat=? WHERE codeQualitometre=? "
                                             "AND codeOperation=?"));
            if (!commentaire.executer({commentaireResultat->trimmed().isEmpty()
                                           ? QVariant()
                                           : QVariant(*commentaireResultat),
                                       double(station), op.toDouble()}))
                return false;
        }
        return true;
    });
    if (!ok) return false;
    lignes = ecrites;
    afficherMessage(QStringLiteral("Aide"), m_def.messageFin);
    return true;
}

bool GrilleOperation::supprimerLigne(qint64 station, const QString &operation,
                                     const LigneOperation &ligne) const
{
    if (afficherMessage(QStringLiteral("Question"), texteGrillesOperation::QUESTION_LIGNE) !=
        BoutonOui)
        return false;
    const Nombre op = enNombre(operation, true);
    if (!ligne.cle.isNull() && op.estNombre()) {
        if (!bd().Execute(QStringLiteral("DELETE FROM ") + m_def.table +
                          conditionOperation(station, sqlNombre(op.valeur)) +
                          QStringLiteral(" AND ") + m_def.cle + u'=' +
                          sqlNombre(ligne.cle.toDouble()))) {
            afficherMessage(QStringLiteral("Erreur"),
                            QStringLiteral("La suppression a échoué :\n") + bd().derniereErreur());
            return false;
        }
    }
    afficherMessage(QStringLiteral("Aide"), m_def.messageSupprime);
    return true;
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
        const int i = int(t(l, 0).toDouble()) - 1;
        if (i < 0 || i >= lignes.size()) continue;
        lignes[i] = {t.texte(l, 1), t.texte(l, 2), t.texte(l, 3), t.texte(l, 4), t.texte(l, 5)};
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

bool enregistrerRecouvrements(qint64 station, const QString &operation,
                              const QVector<LigneRecouvrement> &lignes)
{
    QString op;
    if (!operationEnregistree(operation, op)) return false;
    if (const RefusGrille refus = verifierRecouvrements(lignes); !refus.estVide()) {
        afficherMessage(QStringLiteral("Erreur"), refus.message);
        return false;
    }
    const bool ok = dansTransaction([&] {
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
                     enNombre(r.chenal, true).variant(), enNombre(r.intermediaire, true).variant(),
                     enNombre(r.berge, true).variant()}))
                return false;
        }
        return true;
    });
    if (ok) afficherMessage(QStringLiteral("Aide"), texteGrillesOperation::RECOUVREMENTS_FIN);
    return ok;
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
    for (int l = 0; l < t.nbLignes(); ++l)
        for (int i = 0; i < lignes.size(); ++i)
            if (lignes[i].groupe == t(l, 1).toInt() && lignes[i].sousGroupe == t(l, 2).toInt()) {
                (t(l, 0).toInt() == 2 ? v.ur2 : v.ur1)[i] = t.texte(l, 3);
                break;
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

bool enregistrerUnites(qint64 station, const QString &operation, const ValeursUnites &v)
{
    QString op;
    if (!operationEnregistree(operation, op)) return false;
    if (const RefusGrille refus = verifierUnites(v); !refus.estVide()) {
        afficherMessage(QStringLiteral("Erreur"), refus.message);
        return false;
    }
    const auto &lignes = caracteristiquesUnites();
    const bool ok = dansTransaction([&] {
        InstructionPreparee ajout = bd().preparer(
            QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_UNITES (CodeQualitometre, "
                           "codeOperation, unite, groupe, sousGroupe, resultat) "
                           "VALUES (?, ?, ?, ?, ?, ?)"));
        // Each (unit, group) set is replaced as a whole.
        for (int unite = 1; unite <= 2; ++unite)
            for (int groupe = 0; groupe <= 6; ++groupe) {
                if (!bd().Execute(QStringLiteral("DELETE FROM QUALITOMETRES_OPERATIONS_UNITES") +
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
    });
    if (ok) afficherMessage(QStringLiteral("Aide"), texteGrillesOperation::UNITES_FIN);
    return ok;
}

} // namespace vyk
