#include "monitoring/ListeTaxonsOperation.h"

#include "app/Options.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "monitoring/OperationsHydrobio.h"
#include "schema/Catalogue.h"

#include <QSet>

namespace vyk {

namespace {

// Columns of the table before the values.
constexpr int COLONNES_CLE = 4; // codeOperation, codeListe, indice, codeTaxon

QString nomTable(qint64 station)
{
    return identifiantTable(PREFIXE_LISTE_TAXONS, QString::number(station));
}

QString conditionListe(qint64 operation, int liste)
{
    return QStringLiteral(" WHERE codeOperation=") + QString::number(operation) +
           QStringLiteral(" AND codeListe=") + QString::number(liste);
}

} // namespace

const QStringList &colonnesValeursListe()
{
    static const QStringList colonnes = [] {
        QStringList c;
        const auto def = definitionListeTaxons().colonnes;
        for (size_t i = COLONNES_CLE; i < def.size(); ++i)
            c << QLatin1String(def[i].nom);
        return c;
    }();
    return colonnes;
}

bool creerTableListeTaxons(qint64 codeQualitometre)
{
    const QString suffixe = QString::number(codeQualitometre);
    const QString creation = sqlCreationTableListeTaxons(suffixe);
    if (creation.isEmpty()) return false;
    // Every reader takes one operation's list: without the index each read scans the station's
    // whole table.
    const QString index = QStringLiteral("ind_liste_") + suffixe;
    const QString creationIndex = QStringLiteral("CREATE INDEX ") + index + QStringLiteral(" ON ") +
                                  PREFIXE_LISTE_TAXONS + suffixe +
                                  QStringLiteral(" (codeOperation, codeListe)");
    if (!bd().tableExiste(PREFIXE_LISTE_TAXONS + suffixe))
        return bd().Execute(creation) && bd().Execute(creationIndex);
    if (!bd().indexExiste(index)) bd().Execute(creationIndex);
    // An older table lacks the counts of the elementary samples.
    const QStringList existantes = bd().colonnes(PREFIXE_LISTE_TAXONS + suffixe);
    const QStringList ajouts = sqlColonnesAjouteesListeTaxons(suffixe);
    const auto def = definitionListeTaxons().colonnes;
    bool ok = true;
    for (int i = 0; i < ajouts.size(); ++i) {
        const QString colonne = QLatin1String(def[NB_COLONNES_INITIALES_LISTE + i].nom);
        if (!existantes.contains(colonne, Qt::CaseInsensitive)) ok = bd().Execute(ajouts[i]) && ok;
    }
    return ok;
}

bool ecrireTaxonListe(bool premiereLigne, qint64 codeQualitometre, qint64 codeOperation,
                      int codeListe, int indice, const LigneTaxonListe &ligne)
{
    const QString table = nomTable(codeQualitometre);
    if (table.isEmpty()) return false;
    if (premiereLigne) {
        if (!creerTableListeTaxons(codeQualitometre)) return false;
        if (!bd().Execute(QStringLiteral("DELETE FROM ") + table +
                          conditionListe(codeOperation, codeListe)))
            return false;
    }
    QVector<QVariant> valeurs{ligne.codeTaxon.trimmed()};
    for (const QVariant &v : ligne.valeurs)
        valeurs << v;
    valeurs << double(codeOperation) << double(codeListe) << double(indice);
    // After the list was emptied the line cannot exist: it is added at once.
    if (!premiereLigne) {
        QStringList affectations{QStringLiteral("codeTaxon=?")};
        for (const QString &c : colonnesValeursListe())
            affectations << c + QStringLiteral("=?");
        InstructionPreparee maj =
            bd().preparer(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") +
                          affectations.join(QStringLiteral(", ")) +
                          QStringLiteral(" WHERE codeOperation=? AND codeListe=? AND indice=?"));
        if (!maj.executer(valeurs)) return false;
        if (maj.lignesModifiees() > 0) return true;
    }
    const QStringList colonnes = QStringList{QStringLiteral("codeTaxon")} + colonnesValeursListe() +
                                 QStringList{QStringLiteral("codeOperation"),
                                             QStringLiteral("codeListe"), QStringLiteral("indice")};
    QStringList marques;
    for (qsizetype i = 0; i < colonnes.size(); ++i)
        marques << QStringLiteral("?");
    InstructionPreparee ajout =
        bd().preparer(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") +
                      colonnes.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                      marques.join(QStringLiteral(", ")) + u')');
    return ajout.executer(valeurs);
}

ListeTaxonsOperation::ListeTaxonsOperation(qint64 station, QString identifiantPoint)
    : m_station(station), m_point(std::move(identifiantPoint).trimmed())
{
    using G = NatureChamp;
    m_omnidia = reglageActif(reglage::omnidia);
    m_colonnes << ColonneGrilleTaxons{QStringLiteral("Taxon"), -1, G::Texte}
               << ColonneGrilleTaxons{QStringLiteral("Code"), -1, G::Texte};
    if (m_omnidia) m_colonnes << ColonneGrilleTaxons{QStringLiteral("Omnidia"), -1, G::Texte};
    if (m_point == QLatin1String("271"))
        m_colonnes << ColonneGrilleTaxons{QStringLiteral("UR1"), PourcentageA}
                   << ColonneGrilleTaxons{QStringLiteral("UR2"), PourcentageB};
    else
        m_colonnes << ColonneGrilleTaxons{QStringLiteral("A"), DenombrementA}
                   << ColonneGrilleTaxons{QStringLiteral("B"), DenombrementB}
                   << ColonneGrilleTaxons{QStringLiteral("C"), DenombrementC};
    EntreesCodees developpement = entreesListe(QStringLiteral("TAXONS.DEVELOPPEMENT"));
    developpement.append({QStringLiteral("99"), QStringLiteral("cf"), 0});
    m_colonnes << ColonneGrilleTaxons{QStringLiteral("Unité"), CodeUnite, G::Code,
                                      entreesRequete(QStringLiteral(
                                          "SELECT Nom, Code FROM ANALYSES_UNITES ORDER BY Nom"))}
               << ColonneGrilleTaxons{QStringLiteral("Développement"), CodeDeveloppement, G::Code,
                                      developpement}
               << ColonneGrilleTaxons{QStringLiteral("Remarque"), CodeRemarque, G::Code,
                                      entreesListe(QStringLiteral("ANALYSES.CODEREMARQUE"))}
               << ColonneGrilleTaxons{QStringLiteral("Confiance"), CodeConfiance, G::Code,
                                      entreesListe(QStringLiteral("ANALYSES.CONFIANCE"))}
               << ColonneGrilleTaxons{QStringLiteral("Densité"), Densite}
               << ColonneGrilleTaxons{QStringLiteral("Calcul indice"), CodeCalculIndice, G::Code,
                                      entreesListe(QStringLiteral("ANALYSES.CALCUL_INDICE"))};
    for (int p = 0; p < 12; ++p)
        m_colonnes << ColonneGrilleTaxons{QStringLiteral("P") + QString::number(p + 1),
                                          DenombrementP1 + p};
}

bool ListeTaxonsOperation::charger(const QString &operation, int codeListe)
{
    m_lignes.clear();
    nomListe.clear();
    commentaireListe.clear();
    microPrelevement = false;
    const Nombre op = enNombre(operation, true);
    if (!op.estNombre()) return true;
    const qint64 o = qint64(op.valeur);
    const Tableau entete = bd().extraire(
        QStringLiteral("SELECT nom, Commentaires FROM QUALITOMETRES_OPERATIONS_LISTE WHERE "
                       "codeQualitometre=") +
        QString::number(m_station) + QStringLiteral(" AND codeOperation=") + QString::number(o) +
        QStringLiteral(" AND codeListe=") + QString::number(codeListe));
    if (!entete.estVide()) {
        nomListe = entete.texte(0, QStringLiteral("nom"));
        commentaireListe = entete.texte(0, QStringLiteral("Commentaires"));
    }
    microPrelevement =
        bd().valeur(
                QStringLiteral("SELECT microPrelevement FROM QUALITOMETRES_POINTS_OPERATIONS WHERE "
                               "codeQualitometre=") +
                QString::number(m_station) + QStringLiteral(" AND codeOperation=") +
                QString::number(o))
            .toString()
            .trimmed() == QLatin1String("1");
    if (!bd().tableExiste(PREFIXE_LISTE_TAXONS + QString::number(m_station))) return true;
    // The table may lack the counts P1 to P12 (older layout): only the columns it has are read.
    const QStringList existantes = bd().colonnes(PREFIXE_LISTE_TAXONS + QString::number(m_station));
    QStringList lues{
        QStringLiteral("L.indice AS indice"), QStringLiteral("L.codeTaxon AS codeTaxon"),
        QStringLiteral("T.nomLatin AS nomLatin"), QStringLiteral("T.codeOmnidia AS codeOmnidia")};
    QVector<int> index;
    for (int i = 0; i < colonnesValeursListe().size(); ++i)
        if (const QString &c = colonnesValeursListe()[i];
            existantes.contains(c, Qt::CaseInsensitive)) {
            lues << QStringLiteral("L.") + c + QStringLiteral(" AS ") + c;
            index << i;
        }
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(
            QStringLiteral("SELECT ") + lues.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                nomTable(m_station) +
                QStringLiteral(
                    " L LEFT JOIN TAXONS T ON L.codeTaxon = T.codeTaxon WHERE L.codeOperation=") +
                QString::number(o) + QStringLiteral(" AND L.codeListe=") +
                QString::number(codeListe) + QStringLiteral(" ORDER BY L.indice ASC"),
            nb, t))
        return false;
    m_lignes.reserve(t.nbLignes());
    for (int l = 0; l < t.nbLignes(); ++l) {
        Ligne ligne;
        ligne.indice = int(t.valeur(l, QStringLiteral("indice")).toDouble());
        ligne.codeTaxon = t.texte(l, QStringLiteral("codeTaxon")).trimmed();
        ligne.nomLatin = t.texte(l, QStringLiteral("nomLatin"));
        ligne.codeOmnidia = t.texte(l, QStringLiteral("codeOmnidia"));
        for (const int k : std::as_const(index))
            ligne.valeurs[k] = t.texte(l, colonnesValeursListe()[k]);
        ligne.enregistree = true;
        m_lignes.append(ligne);
    }
    return true;
}

int ListeTaxonsOperation::ajouterTaxons(const QVector<Ligne> &taxons)
{
    QSet<QString> presents;
    for (const Ligne &l : std::as_const(m_lignes))
        presents.insert(l.codeTaxon);
    int ajoutes = 0;
    for (const Ligne &t : taxons) {
        if (t.codeTaxon.trimmed().isEmpty() || presents.contains(t.codeTaxon.trimmed())) continue;
        Ligne l = t;
        l.codeTaxon = t.codeTaxon.trimmed();
        l.enregistree = false;
        presents.insert(l.codeTaxon);
        m_lignes.append(l);
        ++ajoutes;
    }
    return ajoutes;
}

QString ListeTaxonsOperation::texte(int ligne, int colonne) const
{
    if (ligne < 0 || ligne >= m_lignes.size() || colonne < 0 || colonne >= m_colonnes.size())
        return {};
    const Ligne &l = m_lignes[ligne];
    const int v = m_colonnes[colonne].valeur;
    if (v >= 0) return l.valeurs[v];
    return colonne == 0 ? l.nomLatin : (colonne == 1 ? l.codeTaxon : l.codeOmnidia);
}

void ListeTaxonsOperation::definirTexte(int ligne, int colonne, const QString &texte)
{
    if (ligne < 0 || ligne >= m_lignes.size() || colonne < 0 || colonne >= m_colonnes.size())
        return;
    const int v = m_colonnes[colonne].valeur;
    if (v >= 0)
        m_lignes[ligne].valeurs[v] = texte.trimmed();
    else if (colonne == 1)
        m_lignes[ligne].codeTaxon = texte.trimmed();
}

bool ListeTaxonsOperation::aDenombrement(const Ligne &ligne)
{
    auto compte = [&](int i) {
        const Nombre n = enNombre(ligne.valeurs[i].trimmed(), true);
        return n.estNombre() && n.valeur != 0;
    };
    for (int i = DenombrementA; i <= PourcentageC; ++i)
        if (compte(i)) return true;
    for (int i = DenombrementP1; i < NB_VALEURS_LISTE; ++i)
        if (compte(i)) return true;
    return false;
}

RefusGrille ListeTaxonsOperation::verifier() const
{
    QStringList codes;
    for (int l = 0; l < m_lignes.size(); ++l) {
        const Ligne &ligne = m_lignes[l];
        if (ligne.codeTaxon.isEmpty()) return {l, texteListeTaxons::TAXON_VIDE.arg(l + 1)};
        for (const ColonneGrilleTaxons &c : m_colonnes)
            if (c.valeur >= 0 && !ligne.valeurs[c.valeur].trimmed().isEmpty() &&
                !estNombre(ligne.valeurs[c.valeur].trimmed()))
                return {
                    l, QStringLiteral(
                           "La valeur « %1 » de la colonne %2 pour la ligne %3 n'est pas correcte.")
                           .arg(ligne.valeurs[c.valeur], c.titre)
                           .arg(l + 1)};
        codes << sqlTexte(ligne.codeTaxon);
    }
    if (codes.isEmpty()) return {};
    QSet<QString> connus;
    for (qsizetype debut = 0; debut < codes.size(); debut += 500) {
        const Tableau t =
            bd().extraire(QStringLiteral("SELECT codeTaxon FROM TAXONS WHERE codeTaxon IN (") +
                          codes.mid(debut, 500).join(QStringLiteral(", ")) + u')');
        for (int i = 0; i < t.nbLignes(); ++i)
            connus.insert(t.texte(i, QStringLiteral("codeTaxon")).trimmed());
    }
    for (int l = 0; l < m_lignes.size(); ++l)
        if (!connus.contains(m_lignes[l].codeTaxon))
            return {l, texteListeTaxons::TAXON_INCONNU.arg(m_lignes[l].codeTaxon).arg(l + 1)};
    return {};
}

CompteRendu ListeTaxonsOperation::enregistrer(const QString &operation, int codeListe)
{
    QString op;
    if (!operationEnregistree(operation, op)) return echec(texteOperations::PARENT_ABSENT);
    const qint64 o = op.toLongLong();
    bool sansDenombrement = false;
    for (const Ligne &l : std::as_const(m_lignes))
        sansDenombrement = sansDenombrement || !aDenombrement(l);
    if (sansDenombrement && confirmer(texteListeTaxons::QUESTION_SANS_DENOMBREMENT))
        m_lignes.removeIf([](const Ligne &l) { return !aDenombrement(l); });
    if (const RefusGrille refus = verifier(); !refus.estVide()) return echec(refus.message);
    Transaction transaction;
    bool ok = transaction.estOuverte() &&
              bd().Execute(
                  QStringLiteral("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET microPrelevement=") +
                  sqlTexte(microPrelevement ? QStringLiteral("1") : QStringLiteral("0")) +
                  QStringLiteral(" WHERE codeQualitometre=") + QString::number(m_station) +
                  QStringLiteral(" AND codeOperation=") + op);
    if (ok) {
        const QVector<QVariant> entete{
            nomListe.trimmed().isEmpty() ? QVariant() : QVariant(nomListe.trimmed()),
            commentaireListe.trimmed().isEmpty() ? QVariant() : QVariant(commentaireListe),
            double(m_station), double(o), double(codeListe)};
        InstructionPreparee maj = bd().preparer(
            QStringLiteral("UPDATE QUALITOMETRES_OPERATIONS_LISTE SET nom=?, Commentaires=? WHERE "
                           "codeQualitometre=? AND codeOperation=? "
                           "AND codeListe=?"));
        ok = maj.executer(entete);
        if (ok && maj.lignesModifiees() == 0)
            ok = bd().preparer(QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_LISTE (nom, "
                                              "Commentaires, codeQualitometre, "
                                              "codeOperation, codeListe) VALUES (?, ?, ?, ?, ?)"))
                     .executer(entete);
    }
    if (ok && m_lignes.isEmpty() &&
        bd().tableExiste(PREFIXE_LISTE_TAXONS + QString::number(m_station)))
        ok = bd().Execute(QStringLiteral("DELETE FROM ") + nomTable(m_station) +
                          conditionListe(o, codeListe));
    for (int l = 0; ok && l < m_lignes.size(); ++l) {
        LigneTaxonListe ligne;
        ligne.codeTaxon = m_lignes[l].codeTaxon;
        for (int v = 0; v < NB_VALEURS_LISTE; ++v)
            ligne.valeurs[v] = enNombre(m_lignes[l].valeurs[v], true).variant();
        ok = ecrireTaxonListe(l == 0, m_station, o, codeListe, l + 1, ligne);
    }
    const CompteRendu fin = conclureTransaction(
        transaction, ok, [](const QString &e) { return texteGrillesOperation::ECHEC + e; },
        texteListeTaxons::FIN);
    for (int l = 0; fin && l < m_lignes.size(); ++l) {
        m_lignes[l].indice = l + 1;
        m_lignes[l].enregistree = true;
    }
    return fin;
}

CompteRendu ListeTaxonsOperation::supprimerLigne(const QString &operation, int codeListe, int ligne)
{
    if (ligne < 0 || ligne >= m_lignes.size()) return echec(QString());
    if (!confirmer(texteGrillesOperation::QUESTION_LIGNE)) return echec(QString());
    const Nombre op = enNombre(operation, true);
    if (m_lignes[ligne].enregistree && op.estNombre() &&
        bd().tableExiste(PREFIXE_LISTE_TAXONS + QString::number(m_station)) &&
        !bd().Execute(QStringLiteral("DELETE FROM ") + nomTable(m_station) +
                      conditionListe(qint64(op.valeur), codeListe) +
                      QStringLiteral(" AND indice=") + QString::number(m_lignes[ligne].indice)))
        return echec(QStringLiteral("La suppression a échoué :\n") + bd().derniereErreur());
    m_lignes.removeAt(ligne);
    return reussite(codeListe == 0 ? texteListeTaxons::SUPPRIME_LISTE_0
                                   : texteListeTaxons::SUPPRIME_LISTE_1);
}

} // namespace vyk
