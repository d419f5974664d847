// The writer's records that hang on a station's points and operations: sampling points,
// operations, taxa lists, operation results, environment measures, elementary samplings and
// events.

#include "db/BaseDonnees.h"
#include "db/ChampDecrit.h"
#include "db/InstructionPreparee.h"
#include "import/EcritureObjets.h"
#include "import/EcritureSandre.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "monitoring/OperationsHydrobio.h"
#include "monitoring/PointsPrelevement.h"

#include <QDateTime>

namespace vyk {

namespace {

const QString OPERATIONS = QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS");

QVariant jour(const QDate &d)
{
    return d.isValid() ? QVariant(QDateTime(d, QTime(0, 0))) : QVariant();
}

QVariant heure(const QTime &h)
{
    return h.isValid() ? QVariant(QDateTime(JOUR_DES_HEURES, h)) : QVariant();
}

qint64 code(const QVariant &v)
{
    return qint64(v.toDouble());
}

Tableau lire(const QString &sql, const QVector<QVariant> &valeurs)
{
    InstructionPreparee i = bd().preparer(sql);
    Tableau t;
    i.extraire(t, valeurs);
    return t;
}

// Only the values given: a value the record does not give leaves the stored one.
void donnee(ValeursLigne &v, const char *colonne, const QVariant &x)
{
    if (!x.isNull()) v.valeur(colonne, x);
}

void donnee(ValeursLigne &v, const char *colonne, const QString &t)
{
    if (!t.isEmpty()) v.texte(colonne, t, QString::fromLatin1(colonne));
}

// The row of these keys updated with the values, or inserted with the keys when absent.
bool ecrireLigne(ValeursLigne &v, const QString &table, const QStringList &cles,
                 const QVector<QVariant> &valeursCles, QString &erreur)
{
    if (!v.erreur().isEmpty()) {
        erreur = v.erreur();
        return false;
    }
    QStringList conditions;
    for (const QString &c : cles)
        conditions << c + QStringLiteral(" = ?");
    const bool existe =
        lireLie(QStringLiteral("SELECT count(*) FROM ") + table + QStringLiteral(" WHERE ") +
                    conditions.join(QStringLiteral(" AND ")),
                valeursCles)
            .toDouble() > 0;
    if (existe) return v.mettreAJour(cles, valeursCles, erreur);
    for (int i = 0; i < cles.size(); ++i)
        v.valeur(qPrintable(cles[i]), valeursCles[i]);
    return v.inserer(erreur);
}

// The next indice of the rows of an operation in a table: the largest + 1, 1 for the first.
qint64 indiceSuivant(const QString &table, const QString &condition,
                     const QVector<QVariant> &valeurs,
                     const QString &colonne = QStringLiteral("indice"))
{
    const QVariant max =
        lireLie(QStringLiteral("SELECT Max(") + colonne + QStringLiteral(") FROM ") + table +
                    QStringLiteral(" WHERE ") + condition,
                valeurs);
    return max.isNull() ? 1 : code(max) + 1;
}

// The operation's row of a parameter in a table numbered per operation: its number when stored,
// else the next one.
qint64 numeroParParametre(const QString &table, const QString &colonneNumero,
                          const QString &colonneParametre, const QVector<QVariant> &operation,
                          qint64 parametre)
{
    const QString condition = QStringLiteral("codeQualitometre = ? AND codeOperation = ?");
    const QVariant stocke =
        lireLie(QStringLiteral("SELECT ") + colonneNumero + QStringLiteral(" FROM ") + table +
                    QStringLiteral(" WHERE ") + condition + QStringLiteral(" AND ") +
                    colonneParametre + QStringLiteral(" = ?"),
                operation + QVector<QVariant>{double(parametre)});
    return stocke.isNull() ? indiceSuivant(table, condition, operation, colonneNumero)
                           : code(stocke);
}

} // namespace

qint64 EcritureObjets::pointDe(qint64 station, const QString &identifiant, const QDate &date,
                               QString &erreur)
{
    const QString compter = QStringLiteral(
        "SELECT count(*) FROM QUALITOMETRES_POINTS WHERE codeQualitometre = ? AND identifiant = ?");
    const double avant = lireLie(compter, {station, identifiant}).toDouble();
    QString refus;
    const qint64 point = trouverPointPrelevement(station, identifiant, date, {}, {}, {}, &refus);
    if (point < 0) {
        erreur = refus.isEmpty() ? QStringLiteral("le point de prélèvement ") + identifiant +
                                       QStringLiteral(" n'a pas pu être trouvé ni créé")
                                 : refus;
        return -1;
    }
    if (lireLie(compter, {station, identifiant}).toDouble() > avant) ++m_bilan.pointsCrees;
    return point;
}

qint64 EcritureObjets::ecrirePointPrelevement(const PointPrelevement &p, QString &erreur)
{
    const qint64 id = stationConnue(p.codeStation, erreur);
    if (id < 0) return -1;
    if (p.identifiant.isEmpty()) {
        erreur = QStringLiteral("le point de prélèvement n'a pas d'identifiant");
        return -1;
    }
    const qint64 point = pointDe(id, p.identifiant, p.dateDebut, erreur);
    if (point < 0) return -1;
    ValeursLigne v(QStringLiteral("QUALITOMETRES_POINTS"));
    donnee(v, "nom", p.nom);
    donnee(v, "dateFin", jour(p.dateFin));
    donnee(v, "X", valeurLue(p.coordonnee.x));
    donnee(v, "Y", valeurLue(p.coordonnee.y));
    donnee(v, "TypeProjection", valeurLue(p.coordonnee.projection));
    donnee(v, "profondeurRecommandee", valeurLue(p.profondeurRecommandee));
    donnee(v, "Commentaires", p.commentaires);
    if (!v.erreur().isEmpty()) {
        erreur = v.erreur();
        return -1;
    }
    return v.mettreAJour({QStringLiteral("codeQualitometre"), QStringLiteral("codePoint")},
                         {id, double(point)}, erreur)
               ? point
               : -1;
}

qint64 EcritureObjets::operationDe(const CleOperation &cle, bool creer, QString &erreur)
{
    const qint64 id = stationConnue(cle.codeStation, erreur);
    if (id < 0) return -1;
    if (!cle.date.isValid()) {
        erreur = QStringLiteral("l'opération n'a pas de date");
        return -1;
    }
    const qint64 point = pointDe(id, cle.identifiantPoint, cle.date, erreur);
    if (point < 0) return -1;
    const QString memo =
        QStringList{QString::number(id), QString::number(point), cle.date.toString(Qt::ISODate),
                    cle.heure.isValid() ? cle.heure.toString(Qt::ISODate) : QString(),
                    cle.protocoleBiologique ? QString::number(*cle.protocoleBiologique) : QString()}
            .join(u'|');
    if (const auto i = m_operations.constFind(memo); i != m_operations.constEnd()) return *i;
    // Date and time are compared one by one: the time column holds a time of day only.
    const Tableau t =
        lire(QStringLiteral("SELECT codeOperation, dateDebut, heureDebut, "
                            "protocoleBiologique FROM ") +
                 OPERATIONS + QStringLiteral(" WHERE codeQualitometre = ? AND codePoint = ?"),
             {id, double(point)});
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QVariant &h = t.valeur(i, QStringLiteral("heureDebut"));
        const QVariant &proto = t.valeur(i, QStringLiteral("protocoleBiologique"));
        if (t.valeur(i, QStringLiteral("dateDebut")).toDateTime().date() != cle.date ||
            (h.isNull() ? cle.heure.isValid() : h.toDateTime().time() != cle.heure) ||
            (proto.isNull() ? bool(cle.protocoleBiologique)
                            : !cle.protocoleBiologique || code(proto) != *cle.protocoleBiologique))
            continue;
        const qint64 trouve = code(t.valeur(i, QStringLiteral("codeOperation")));
        m_operations.insert(memo, trouve);
        return trouve;
    }
    if (!creer) {
        erreur = QStringLiteral("l'opération de la station %1 du %2 n'existe pas")
                     .arg(cle.codeStation, cle.date.toString(QStringLiteral("dd/MM/yyyy")));
        return -1;
    }
    bd().verrouiller(OPERATIONS);
    const qint64 nouvelle = codeOperationSuivant(id);
    if (!executerLie(QStringLiteral("INSERT INTO ") + OPERATIONS +
                         QStringLiteral(" (codeQualitometre, codeOperation, codePoint, dateDebut, "
                                        "heureDebut, protocoleBiologique, jobExecutionId) VALUES "
                                        "(?, ?, ?, ?, ?, ?, ?)"),
                     {id, double(nouvelle), double(point), jour(cle.date), heure(cle.heure),
                      valeurLue(cle.protocoleBiologique),
                      m_execution >= 0 ? QVariant(double(m_execution)) : QVariant()},
                     erreur))
        return -1;
    ++m_bilan.operationsCreees;
    m_operations.insert(memo, nouvelle);
    return nouvelle;
}

qint64 EcritureObjets::ecrireOperation(const Operation &o, QString &erreur)
{
    const qint64 op = operationDe(o.cle, true, erreur);
    if (op < 0) return -1;
    ValeursLigne v(OPERATIONS);
    donnee(v, "dateFin", jour(o.dateFin));
    donnee(v, "heureFin", heure(o.heureFin));
    donnee(v, "Commentaires", o.commentaires);
    donnee(v, "codePreleveur", valeurLue(o.codePreleveur));
    donnee(v, "codeDeterminateur", valeurLue(o.codeDeterminateur));
    donnee(v, "codeProducteur", valeurLue(o.codeProducteur));
    donnee(v, "qualification", valeurLue(o.qualification));
    donnee(v, "statut", valeurLue(o.statut));
    donnee(v, "supportBiologique", valeurLue(o.supportBiologique));
    donnee(v, "localisation", o.localisation);
    donnee(v, "methodeAnalyse", valeurLue(o.methodeAnalyse));
    donnee(v, "accreditation", o.accreditation);
    donnee(v, "Ombrag", valeurLue(o.ombrage));
    donnee(v, "saisonnalite", valeurLue(o.saisonnalite));
    donnee(v, "modeConservationPrincipal", valeurLue(o.modeConservation));
    if (m_execution >= 0) v.valeur("jobExecutionId", double(m_execution));
    if (!v.erreur().isEmpty()) {
        erreur = v.erreur();
        return -1;
    }
    return v.mettreAJour({QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation")},
                         {double(station(o.cle.codeStation)), double(op)}, erreur)
               ? op
               : -1;
}

qint64 EcritureObjets::ecrirePrelevementOperation(const CleOperation &cle, QString &erreur)
{
    const qint64 op = operationDe(cle, true, erreur);
    if (op < 0) return -1;
    const qint64 id = station(cle.codeStation);
    const Tableau t = lire(QStringLiteral("SELECT NumPrelevement, DateDebut FROM PRELEVEMENTS "
                                          "WHERE CodeQualitometre = ? AND codeOperation = ? "
                                          "ORDER BY NumPrelevement"),
                           {double(id), double(op)});
    for (int i = 0; i < t.nbLignes(); ++i)
        if (t.valeur(i, QStringLiteral("DateDebut")).toDateTime().date() == cle.date)
            return code(t.valeur(i, QStringLiteral("NumPrelevement")));
    bd().verrouiller(QStringLiteral("PRELEVEMENTS"));
    const QVariant max =
        bd().valeur(QStringLiteral("SELECT Max(NumPrelevement) FROM PRELEVEMENTS"));
    const qint64 numero = max.isNull() ? 0 : code(max) + 1;
    if (!executerLie(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
                                    "DateDebut, HeureDebut, codeOperation) VALUES (?, ?, ?, ?, ?)"),
                     {double(numero), double(id), jour(cle.date), heure(cle.heure), double(op)},
                     erreur))
        return -1;
    ++m_bilan.prelevementsCrees;
    return numero;
}

bool EcritureObjets::ecrireEnteteListe(const CleOperation &cle, int codeListe, const QString &nom,
                                       QString &erreur)
{
    const qint64 op = operationDe(cle, true, erreur);
    if (op < 0) return false;
    const qint64 id = station(cle.codeStation);
    if (!creerTableListeTaxons(id)) {
        erreur = QStringLiteral("la table des listes de taxons de la station %1 n'a pas pu être "
                                "créée")
                     .arg(cle.codeStation);
        return false;
    }
    ValeursLigne entete(QStringLiteral("QUALITOMETRES_OPERATIONS_LISTE"));
    donnee(entete, "nom", nom);
    ValeursLigne micro(OPERATIONS);
    micro.valeur("microPrelevement", QStringLiteral("1"));
    if (!micro.mettreAJour({QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation")},
                           {double(id), double(op)}, erreur) ||
        !ecrireLigne(entete, QStringLiteral("QUALITOMETRES_OPERATIONS_LISTE"),
                     {QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation"),
                      QStringLiteral("codeListe")},
                     {double(id), double(op), double(codeListe)}, erreur))
        return false;
    m_listes.insert(QString::number(id) + u'|' + QString::number(op) + u'|' +
                    QString::number(codeListe));
    return true;
}

bool EcritureObjets::ecrireTaxon(const TaxonDenombre &t, QString &erreur)
{
    if (t.codeTaxon.trimmed().isEmpty()) {
        erreur = QStringLiteral("le taxon n'a pas de code");
        return false;
    }
    const qint64 op = operationDe(t.operation, true, erreur);
    if (op < 0) return false;
    const qint64 id = station(t.operation.codeStation);
    if (!m_listes.contains(QString::number(id) + u'|' + QString::number(op) + u'|' +
                           QString::number(t.codeListe)) &&
        !ecrireEnteteListe(t.operation, t.codeListe, {}, erreur))
        return false;
    const QString table = QStringLiteral("QUALITOMETRES_LISTE_") + QString::number(id);
    const QString condition = QStringLiteral("codeOperation = ? AND codeListe = ?");
    const QVector<QVariant> valeurs = {double(op), double(t.codeListe)};
    const QVariant stocke =
        lireLie(QStringLiteral("SELECT indice FROM ") + table + QStringLiteral(" WHERE ") +
                    condition + QStringLiteral(" AND codeTaxon = ?"),
                valeurs + QVector<QVariant>{t.codeTaxon.trimmed()});
    const qint64 indice = stocke.isNull() ? indiceSuivant(table, condition, valeurs) : code(stocke);
    LigneTaxonListe ligne;
    ligne.codeTaxon = t.codeTaxon.trimmed();
    for (int i = 0; i < NB_VALEURS_LISTE; ++i)
        ligne.valeurs[i] = valeurLue(t.valeurs[i]);
    if (!ecrireTaxonListe(false, id, op, t.codeListe, int(indice), ligne)) {
        erreur = bd().derniereErreur();
        return false;
    }
    ++(stocke.isNull() ? m_bilan.taxonsAjoutes : m_bilan.taxonsReecrits);
    return true;
}

bool EcritureObjets::ecrireResultatOperation(const ResultatOperation &r, QString &erreur)
{
    if (!r.codeParametre) {
        erreur = QStringLiteral("le résultat de l'opération n'a pas de paramètre");
        return false;
    }
    const qint64 op = operationDe(r.operation, true, erreur);
    if (op < 0) return false;
    const QString table = QStringLiteral("QUALITOMETRES_OPERATIONS_RESULTATS");
    const QVector<QVariant> cles = {double(station(r.operation.codeStation)), double(op)};
    const qint64 indice = numeroParParametre(
        table, QStringLiteral("indice"), QStringLiteral("codeParametre"), cles, *r.codeParametre);
    ValeursLigne v(table);
    v.valeur("codeParametre", double(*r.codeParametre));
    v.valeur("codeUnite", valeurLue(r.codeUnite));
    v.valeur("resultat", valeurLue(r.resultat));
    v.valeur("codeRemarque", valeurLue(r.codeRemarque));
    v.valeur("codeAccreditation", valeurLue(r.codeAccreditation));
    v.valeur("codeAgrement", valeurLue(r.codeAgrement));
    if (!ecrireLigne(v, table,
                     {QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation"),
                      QStringLiteral("indice")},
                     cles + QVector<QVariant>{double(indice)}, erreur))
        return false;
    ++m_bilan.resultatsOperation;
    return true;
}

bool EcritureObjets::ecrireMesureEnvironnement(const MesureEnvironnement &m, QString &erreur)
{
    if (!m.parametre) {
        erreur = QStringLiteral("la mesure d'environnement n'a pas de paramètre");
        return false;
    }
    const qint64 op = operationDe(m.operation, true, erreur);
    if (op < 0) return false;
    const QString table = QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS_ENV");
    const QVector<QVariant> cles = {double(station(m.operation.codeStation)), double(op)};
    const qint64 condition = numeroParParametre(table, QStringLiteral("codeCondition"),
                                                QStringLiteral("parametre"), cles, *m.parametre);
    ValeursLigne v(table);
    v.valeur("parametre", double(*m.parametre));
    v.valeur("dateMesure", jour(m.operation.date));
    v.valeur("heureMesure", heure(m.operation.heure));
    donnee(v, "unite", valeurLue(m.unite));
    donnee(v, "mesure", valeurLue(m.mesure));
    donnee(v, "methode", valeurLue(m.methode));
    donnee(v, "commentaires", m.commentaires);
    donnee(v, "qualification", valeurLue(m.qualification));
    donnee(v, "statut", valeurLue(m.statut));
    if (!ecrireLigne(v, table,
                     {QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation"),
                      QStringLiteral("codeCondition")},
                     cles + QVector<QVariant>{double(condition)}, erreur))
        return false;
    ++m_bilan.mesuresEnvironnement;
    return true;
}

bool EcritureObjets::ecrirePrelevementElementaire(const PrelevementElementaire &p, QString &erreur)
{
    if (p.indice < 1 || p.indice > 12) {
        erreur = QStringLiteral("le prélèvement élémentaire %1 n'est pas compris entre 1 et 12")
                     .arg(p.indice);
        return false;
    }
    const qint64 op = operationDe(p.operation, true, erreur);
    if (op < 0) return false;
    const QString table = QStringLiteral("QUALITOMETRES_OPERATIONS_PRELEVEMENTS");
    ValeursLigne v(table);
    v.texte("codePrelevement", p.codePrelevement, QStringLiteral("code du prélèvement"));
    v.valeur("phase", valeurLue(p.phase));
    v.texte("codeSubstrat", p.codeSubstrat, QStringLiteral("code du substrat"));
    v.valeur("classeVitesse", valeurLue(p.classeVitesse));
    v.valeur("hauteurEau", valeurLue(p.hauteurEau));
    v.texte("commentaires", p.commentaires, QStringLiteral("commentaires"));
    if (!ecrireLigne(v, table,
                     {QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation"),
                      QStringLiteral("indice")},
                     {double(station(p.operation.codeStation)), double(op), double(p.indice)},
                     erreur))
        return false;
    ++m_bilan.prelevementsElementaires;
    return true;
}

bool EcritureObjets::ecrireEvenement(const Evenement &e, QString &erreur)
{
    const qint64 id = stationConnue(e.codeStation, erreur);
    if (id < 0) return false;
    if (!e.date.isValid()) {
        erreur = QStringLiteral("l'événement n'a pas de date");
        return false;
    }
    const Tableau t = lire(QStringLiteral("SELECT Numero, DateEvenement, heureEvenement FROM "
                                          "EVENEMENTS_QUALITO WHERE CodeQualitometre = ?"),
                           {double(id)});
    qint64 numero = -1, max = 0;
    for (int i = 0; i < t.nbLignes(); ++i) {
        const qint64 n = code(t.valeur(i, QStringLiteral("Numero")));
        max = std::max(max, n);
        const QVariant &h = t.valeur(i, QStringLiteral("heureEvenement"));
        if (t.valeur(i, QStringLiteral("DateEvenement")).toDateTime().date() == e.date &&
            (h.isNull() ? !e.heure.isValid() : h.toDateTime().time() == e.heure))
            numero = n;
    }
    ValeursLigne v(QStringLiteral("EVENEMENTS_QUALITO"));
    v.valeur("DateEvenement", jour(e.date));
    v.valeur("heureEvenement", heure(e.heure));
    donnee(v, "Commentaires", e.commentaires);
    donnee(v, "probleme", e.probleme);
    donnee(v, "solution", e.solution);
    donnee(v, "type", e.type);
    if (!ecrireLigne(v, QStringLiteral("EVENEMENTS_QUALITO"),
                     {QStringLiteral("CodeQualitometre"), QStringLiteral("Numero")},
                     {double(id), double(numero < 0 ? max + 1 : numero)}, erreur))
        return false;
    ++m_bilan.evenements;
    return true;
}

bool EcritureObjets::effacerConditions(const CleOperation &cle, bool prelevements, QString &erreur)
{
    const qint64 op = operationDe(cle, false, erreur);
    if (op < 0) return false;
    const QVector<QVariant> cles = {double(station(cle.codeStation)), double(op)};
    QStringList tables = {QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS_ENV")};
    if (prelevements) tables << QStringLiteral("QUALITOMETRES_OPERATIONS_PRELEVEMENTS");
    for (const QString &t : tables)
        if (!executerLie(QStringLiteral("DELETE FROM ") + t +
                             QStringLiteral(" WHERE codeQualitometre = ? AND codeOperation = ?"),
                         cles, erreur))
            return false;
    return true;
}

} // namespace vyk
