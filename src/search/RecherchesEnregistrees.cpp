#include "search/RecherchesEnregistrees.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Sql.h"
#include "db/Tableau.h"
#include "schema/Catalogue.h"

#include <functional>

namespace vyk {

namespace {

const QString TITRES = QStringLiteral("RESULT_RECH_VYK");
const QString CRITERES = QStringLiteral("RESULT_RECH_CRITERES");

// Where each memorised grid goes: its table and, in grid order, the columns of its cells.
struct Memoire
{
    QString table;
    QStringList colonnes;
};

const Memoire &memoireIndicateurs()
{
    static const Memoire m{QStringLiteral("RESULT_INDIC"),
                           QStringList{"code", "Element", "NbRecherche", "nbDetection", "seuil1",
                                       "seuil1_2", "seuil2_3", "seuil3_4", "seuil4",
                                       "tauxDetection", "nbDepassementSeuil1", "TauxDepassement",
                                       "Centile90", "Mini", "Moyenne", "Maxi", "Quartile1",
                                       "Mediane", "Quartile3"}};
    return m;
}

const Memoire &memoireTotaux()
{
    static const Memoire m{QStringLiteral("RESULT_TOT_INDIC"),
                           QStringList{"code", "Element", "NbRecherche", "nbDetection", "seuil1",
                                       "seuil1_2", "seuil2_3", "seuil3_4", "seuil4",
                                       "tauxDetection", "nbDepassementSeuil1", "TauxDepassement",
                                       "Centile90", "Mini", "Moyenne", "Maxi"}};
    return m;
}

// The place lists follow the grid's cells.
const Memoire &memoireRepartitions()
{
    static const Memoire m{QStringLiteral("RESULT_REPARTITION"),
                           QStringList{"code", "Element", "NbStations", "nbDetection",
                                       "pctDetection", "nbMasseEau", "nbDetectionME",
                                       "pctDetectionME", "NbHER", "nbDetectionHER",
                                       "pctDetectionHER", "NbBV", "nbDetectionBV", "pctDetectionBV",
                                       "listeStations", "listeMassesEaux", "listeHER", "listeBV"}};
    return m;
}

const Memoire &memoireStations()
{
    static const Memoire m{QStringLiteral("RESULT_PAR_STATION"),
                           QStringList{"code", "identifiant", "nom", "nbElementDetecte",
                                       "listeElementDetecte", "nbPrelevement",
                                       "nbPlvtAvecDetection", "pctDetection", "listePrelevement",
                                       "x", "y", "TypeProjection"}};
    return m;
}

const Memoire &memoireTotalStations()
{
    static const Memoire m{QStringLiteral("RESULT_TOTAL_STATION"),
                           QStringList{"code", "nbStations", "nbElement", "nbElementMoyen",
                                       "nbPrelevement", "nbDetection", "detectionMoyenne"}};
    return m;
}

QString idSql(qint64 id)
{
    return QString::number(id);
}

// A cell as SQL for its column: texts checked against their length, numbers as numbers, an
// empty cell as NULL. "" with refus set when the cell does not fit.
QString valeurSql(const QString &table, const QString &colonne, const QString &cellule,
                  QString &refus)
{
    const DefinitionColonne *c = definitionTable(table)->colonne(colonne);
    if (c->type == TypeNeutre::Texte || c->type == TypeNeutre::Memo) {
        if (c->type == TypeNeutre::Texte && cellule.size() > c->taille)
            refus = texteRecherches::TROP_LONG.arg(colonne).arg(c->taille).arg(cellule);
        return sqlTexteOuNull(cellule);
    }
    if (cellule.trimmed().isEmpty()) return QStringLiteral("NULL");
    bool ok = false;
    const double v = cellule.trimmed().toDouble(&ok);
    if (!ok) refus = texteRecherches::TROP_LONG.arg(colonne).arg(0).arg(cellule);
    return sqlNombre(v);
}

// The INSERT statements of a grid's rows, every cell checked first.
bool instructionsMemoire(const Memoire &m, qint64 id, const QVector<QStringList> &lignes,
                         QStringList &sql, QString &refus)
{
    const QString debut =
        QStringLiteral("INSERT INTO ") + m.table + QStringLiteral(" (idResultRech, ") +
        m.colonnes.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") + idSql(id);
    for (const QStringList &ligne : lignes) {
        QString valeurs;
        for (qsizetype k = 0; k < m.colonnes.size(); ++k)
            valeurs +=
                QStringLiteral(", ") + valeurSql(m.table, m.colonnes[k], ligne.value(k), refus);
        if (!refus.isEmpty()) return false;
        sql << debut + valeurs + u')';
    }
    return true;
}

QString lieux(const QHash<QString, bool> &l)
{
    QStringList cles = l.keys();
    cles.sort();
    return cles.join(u';');
}

// The distribution rows with each element's place lists.
QVector<QStringList> lignesRepartitions(const ResultatRecherche &r)
{
    QVector<QStringList> lignes = grilleRepartitions(r).lignes;
    for (qsizetype i = 0; i < lignes.size(); ++i)
        for (const auto &l : r.indicateurs[i].lieux)
            lignes[i] << lieux(l);
    return lignes;
}

bool executerTout(const QStringList &sql)
{
    for (const QString &s : sql)
        if (!bd().Execute(s)) return false;
    return true;
}

QString effacementMemoire(const Memoire &m, qint64 id)
{
    return QStringLiteral("DELETE FROM ") + m.table + QStringLiteral(" WHERE idResultRech=") +
           idSql(id);
}

QVector<const Memoire *> memoires()
{
    return {&memoireIndicateurs(), &memoireTotaux(), &memoireRepartitions(), &memoireStations(),
            &memoireTotalStations()};
}

bool existe(qint64 id)
{
    return bd().valeur(QStringLiteral("SELECT count(*) FROM RESULT_RECH_VYK WHERE id=") + idSql(id))
               .toLongLong() > 0;
}

// Criteria by name, the ones set only.
QVector<QPair<QString, QString>> criteresEnTexte(const CriteresRecherche &c)
{
    QStringList stations;
    for (qint64 s : c.stations)
        stations << QString::number(s);
    const QVector<QPair<QString, QString>> tous = {
        {QStringLiteral("dateDebut"), c.dateDebut},
        {QStringLiteral("dateFin"), c.dateFin},
        {QStringLiteral("stations"), stations.join(u';')},
        {QStringLiteral("selections"), c.selections.join(u';')},
        {QStringLiteral("parametre"), c.parametre},
        {QStringLiteral("unite"), c.unite},
        {QStringLiteral("qualification"), c.qualification},
        {QStringLiteral("statut"), c.statut},
        {QStringLiteral("support"), c.support},
        {QStringLiteral("producteur"), c.producteur},
        {QStringLiteral("typeSeuil"), c.typeSeuil},
        {QStringLiteral("pointPrelevement"), c.pointPrelevement},
        {QStringLiteral("jobExecution"), c.jobExecution},
        {QStringLiteral("filtreClasse"), c.filtreClasse ? QString::number(c.filtreClasse) : ""},
        {QStringLiteral("detectionsSeulement"), c.detectionsSeulement ? "1" : ""},
    };
    QVector<QPair<QString, QString>> poses;
    for (const auto &p : tous)
        if (!p.second.isEmpty()) poses << p;
    return poses;
}

void lireCritere(CriteresRecherche &c, const QString &nom, const QString &valeur)
{
    const QHash<QString, QString *> textes = {
        {QStringLiteral("dateDebut"), &c.dateDebut},
        {QStringLiteral("dateFin"), &c.dateFin},
        {QStringLiteral("parametre"), &c.parametre},
        {QStringLiteral("unite"), &c.unite},
        {QStringLiteral("qualification"), &c.qualification},
        {QStringLiteral("statut"), &c.statut},
        {QStringLiteral("support"), &c.support},
        {QStringLiteral("producteur"), &c.producteur},
        {QStringLiteral("typeSeuil"), &c.typeSeuil},
        {QStringLiteral("pointPrelevement"), &c.pointPrelevement},
        {QStringLiteral("jobExecution"), &c.jobExecution}};
    if (QString *t = textes.value(nom)) {
        *t = valeur;
    } else if (nom == u"stations") {
        for (const QString &s : valeur.split(u';', Qt::SkipEmptyParts))
            c.stations << s.toLongLong();
    } else if (nom == u"selections") {
        c.selections = valeur.split(u';', Qt::SkipEmptyParts);
    } else if (nom == u"filtreClasse") {
        c.filtreClasse = valeur.toInt();
    } else if (nom == u"detectionsSeulement") {
        c.detectionsSeulement = valeur == u"1";
    }
}

// The title row's statement, lengths checked first; "" with refus set otherwise.
QString ecritureTitre(const QString &intitule, const CriteresRecherche &c, qint64 id,
                      QString &refus)
{
    const QString titre = valeurSql(TITRES, QStringLiteral("Intitule"), intitule, refus);
    const QString liste =
        valeurSql(TITRES, QStringLiteral("CodeListe"), c.selections.value(0).trimmed(), refus);
    const QString donnees =
        valeurSql(TITRES, QStringLiteral("typedonnees"), c.pointPrelevement.trimmed(), refus);
    if (!refus.isEmpty()) return {};
    const QString date = dateSQL(QDateTime::currentDateTime(), true);
    const QString typeListe = QString::number(int(typeListeRecherche(c)));
    if (id == 0)
        return QStringLiteral("INSERT INTO RESULT_RECH_VYK (TypeListe, CodeListe, typedonnees, "
                              "DateRecherche, Intitule) VALUES (") +
               QStringList{typeListe, liste, donnees, date, titre}.join(u',') + u')';
    return QStringLiteral("UPDATE RESULT_RECH_VYK SET TypeListe=") + typeListe +
           QStringLiteral(", CodeListe=") + liste + QStringLiteral(", typedonnees=") + donnees +
           QStringLiteral(", DateRecherche=") + date + QStringLiteral(", Intitule=") + titre +
           QStringLiteral(" WHERE id=") + idSql(id);
}

CompteRendu conclure(Transaction &t, bool ok, const QString &fait,
                     const QString &echecTexte = texteRecherches::ECHEC)
{
    return conclureTransaction(
        t, ok, [&](const QString &e) { return echecTexte.arg(e); }, fait);
}

} // namespace

std::optional<QVector<RechercheEnregistree>> recherchesEnregistrees()
{
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(QStringLiteral("SELECT id, Intitule, DateRecherche, typedonnees, "
                                             "CodeListe FROM RESULT_RECH_VYK ORDER BY "
                                             "DateRecherche DESC, id DESC"),
                              nb, t))
        return std::nullopt;
    QVector<RechercheEnregistree> r;
    for (int l = 0; l < t.nbLignes(); ++l)
        r << RechercheEnregistree{t(l, 0).toLongLong(), t.texte(l, 1), t(l, 2).toDateTime(),
                                  t.texte(l, 3), t.texte(l, 4)};
    return r;
}

GrilleTexte grilleRecherches(const QVector<RechercheEnregistree> &recherches)
{
    GrilleTexte g;
    g.titres =
        QStringList{QStringLiteral("Numéro"), QStringLiteral("Intitulé"), QStringLiteral("Date"),
                    QStringLiteral("Type de données"), QStringLiteral("Liste")};
    for (const RechercheEnregistree &r : recherches)
        g.lignes << QStringList{QString::number(r.id), r.intitule,
                                r.date.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")),
                                r.typeDonnees, r.codeListe};
    return g;
}

CompteRendu enregistrerCriteres(const QString &intitule, const CriteresRecherche &criteres,
                                qint64 &id)
{
    const QString titre = intitule.trimmed();
    if (titre.isEmpty()) return echec(texteRecherches::SANS_INTITULE);
    QString refus;
    const QString ecriture = ecritureTitre(titre, criteres, id, refus);
    if (!refus.isEmpty()) return echec(refus);
    if (id != 0 && !existe(id)) return echec(texteRecherches::INCONNUE.arg(id));
    Transaction transaction;
    bool ok = bd().verrouiller(TITRES) && bd().Execute(ecriture);
    qint64 numero = id;
    if (ok && id == 0) {
        numero = bd().valeur(QStringLiteral("SELECT max(id) FROM RESULT_RECH_VYK")).toLongLong();
        ok = numero > 0;
    }
    QStringList sql = {QStringLiteral("DELETE FROM RESULT_RECH_CRITERES WHERE idResultRech=") +
                       idSql(numero)};
    for (const auto &[nom, valeur] : criteresEnTexte(criteres))
        sql << QStringLiteral("INSERT INTO RESULT_RECH_CRITERES (idResultRech, critere, valeur) "
                              "VALUES (") +
                   idSql(numero) + u',' + sqlTexte(nom) + u',' + sqlTexte(valeur) + u')';
    ok = ok && executerTout(sql);
    const CompteRendu cr = conclure(transaction, ok, texteRecherches::CRITERES_ENREGISTRES);
    if (cr.ok) id = numero;
    return cr;
}

CompteRendu chargerCriteres(qint64 id, CriteresRecherche &criteres)
{
    long nb = 0;
    Tableau t;
    if (!existe(id)) return echec(texteRecherches::INCONNUE.arg(id));
    if (!bd().ExtraireRecords(QStringLiteral("SELECT critere, valeur FROM RESULT_RECH_CRITERES "
                                             "WHERE idResultRech=") +
                                  idSql(id),
                              nb, t))
        return echec(bd().derniereErreur());
    criteres = CriteresRecherche{};
    for (int l = 0; l < t.nbLignes(); ++l)
        lireCritere(criteres, t.texte(l, 0), t.texte(l, 1));
    return reussite();
}

CompteRendu supprimerRecherche(qint64 id)
{
    if (!existe(id)) return echec(texteRecherches::INCONNUE.arg(id));
    QStringList sql;
    for (const Memoire *m : memoires())
        sql << effacementMemoire(*m, id);
    sql << QStringLiteral("DELETE FROM RESULT_RECH_CRITERES WHERE idResultRech=") + idSql(id)
        << QStringLiteral("DELETE FROM RESULT_RECH_VYK WHERE id=") + idSql(id);
    Transaction transaction;
    return conclure(transaction, executerTout(sql), texteRecherches::SUPPRIMEE,
                    texteRecherches::ECHEC_SUPPRESSION);
}

CompteRendu memoriserResultats(qint64 id, const ResultatRecherche &resultat)
{
    if (resultat.total.recherches == 0) return echec(texteRecherches::AUCUN_RESULTAT);
    if (!existe(id)) return echec(texteRecherches::INCONNUE.arg(id));
    QStringList sql;
    for (const Memoire *m : memoires())
        sql << effacementMemoire(*m, id);
    QString refus;
    const bool pret =
        instructionsMemoire(memoireIndicateurs(), id, grilleIndicateurs(resultat).lignes, sql,
                            refus) &&
        instructionsMemoire(memoireTotaux(), id, grilleTotaux(resultat).lignes, sql, refus) &&
        instructionsMemoire(memoireRepartitions(), id, lignesRepartitions(resultat), sql, refus) &&
        instructionsMemoire(memoireStations(), id, grilleStations(resultat).lignes, sql, refus) &&
        instructionsMemoire(memoireTotalStations(), id, grilleTotalStations(resultat).lignes, sql,
                            refus);
    if (!pret) return echec(refus);
    Transaction transaction;
    return conclure(transaction, executerTout(sql), texteRecherches::RESULTATS_ENREGISTRES);
}

namespace {

// A memorised grid's rows as text, in the order they were written.
bool relire(const Memoire &m, qint64 id, qsizetype nbCellules, QVector<QStringList> &lignes)
{
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(QStringLiteral("SELECT ") + m.colonnes.join(QStringLiteral(", ")) +
                                  QStringLiteral(" FROM ") + m.table +
                                  QStringLiteral(" WHERE idResultRech=") + idSql(id) +
                                  QStringLiteral(" ORDER BY id"),
                              nb, t))
        return false;
    for (int l = 0; l < t.nbLignes(); ++l) {
        QStringList ligne;
        for (int k = 0; k < int(nbCellules); ++k)
            ligne << texteValeur(t(l, k));
        lignes << ligne;
    }
    return true;
}

} // namespace

std::optional<ResultatsMemorises> resultatsMemorises(qint64 id)
{
    // The grids' titles are those of the kind the search was saved with.
    ResultatRecherche vide;
    vide.genre = genreRecherche(texteValeur(bd().valeur(
        QStringLiteral("SELECT typedonnees FROM RESULT_RECH_VYK WHERE id=") + idSql(id))));
    ResultatsMemorises r{grilleIndicateurs(vide), grilleTotaux(vide), grilleRepartitions(vide),
                         grilleStations(vide), grilleTotalStations(vide)};
    r.totaux.lignes.clear();
    r.totalStations.lignes.clear();
    const bool ok =
        relire(memoireIndicateurs(), id, memoireIndicateurs().colonnes.size(),
               r.indicateurs.lignes) &&
        relire(memoireTotaux(), id, r.totaux.titres.size(), r.totaux.lignes) &&
        relire(memoireRepartitions(), id, r.repartitions.titres.size(), r.repartitions.lignes) &&
        relire(memoireStations(), id, r.stations.titres.size(), r.stations.lignes) &&
        relire(memoireTotalStations(), id, r.totalStations.titres.size(), r.totalStations.lignes);
    if (!ok) return std::nullopt;
    // The parameter and unit codes of an indicator row are its code's two halves.
    for (QStringList &ligne : r.indicateurs.lignes) {
        const QString code = ligne.value(0);
        const qsizetype barre = code.indexOf(u'/');
        ligne << (barre < 0 ? code : code.left(barre))
              << (barre < 0 ? QString() : code.mid(barre + 1));
    }
    return r;
}

} // namespace vyk
