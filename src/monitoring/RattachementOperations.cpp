#include "monitoring/RattachementOperations.h"

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"

#include <QHash>
#include <QTime>

namespace vyk {

namespace {

const QString TABLE_LIENS = QStringLiteral("vyk_rattachement");

// An operation is found again by its station, start day and time of day.
QString cle(double station, const QVariant &date, const QVariant &heure)
{
    const QString jour = date.isNull() ? QString() : date.toDateTime().date().toString(Qt::ISODate);
    const QString moment =
        heure.isNull() ? QString() : heure.toDateTime().time().toString(QStringLiteral("hh:mm:ss"));
    return QString::number(station, 'g', 17) + u'|' + jour + u'|' + moment;
}

// The fields of a row of samples or operations, which share their names.
double champNombre(const Tableau &t, int ligne, const char *colonne)
{
    return t.valeur(ligne, QLatin1String(colonne)).toDouble();
}
const QVariant &date(const Tableau &t, int ligne)
{
    return t.valeur(ligne, QStringLiteral("dateDebut"));
}
const QVariant &heure(const Tableau &t, int ligne)
{
    return t.valeur(ligne, QStringLiteral("heureDebut"));
}

struct Lien
{
    double station, numero, operation;
};

// The links written into a temporary table, then one UPDATE joins it to the samples.
bool ecrireLiens(const QVector<Lien> &liens)
{
    if (bd().typeBase() == ORACLE) {
        InstructionPreparee p =
            bd().preparer(QStringLiteral("UPDATE PRELEVEMENTS SET codeOperation=? WHERE "
                                         "codeQualitometre=? AND numPrelevement=?"));
        bool ok = true;
        for (const Lien &l : liens)
            ok = p.executer({l.operation, l.station, l.numero}) && ok;
        return ok;
    }
    {
        BaseDonnees::Discretion discretion(bd());
        bd().Execute(QStringLiteral("DROP TABLE ") + TABLE_LIENS);
    }
    if (!bd().Execute(
            QStringLiteral("CREATE TEMP TABLE ") + TABLE_LIENS +
            QStringLiteral(
                " (codeQualitometre Double, NumPrelevement Double, codeOperation Double)")))
        return false;
    bool ok = true;
    {
        InsertionMassive insertion(TABLE_LIENS, {QStringLiteral("codeQualitometre"),
                                                 QStringLiteral("NumPrelevement"),
                                                 QStringLiteral("codeOperation")});
        for (const Lien &l : liens)
            insertion.ajouter({l.station, l.numero, l.operation});
        ok = insertion.terminer() && insertion.erreurs().isEmpty();
    }
    ok = ok &&
         bd().Execute(QStringLiteral("UPDATE PRELEVEMENTS SET codeOperation=") + TABLE_LIENS +
                      QStringLiteral(".codeOperation FROM ") + TABLE_LIENS +
                      QStringLiteral(" WHERE PRELEVEMENTS.codeQualitometre=") + TABLE_LIENS +
                      QStringLiteral(".codeQualitometre AND PRELEVEMENTS.NumPrelevement=") +
                      TABLE_LIENS +
                      QStringLiteral(".NumPrelevement AND PRELEVEMENTS.codeOperation IS NULL"));
    bd().Execute(QStringLiteral("DROP TABLE ") + TABLE_LIENS);
    return ok;
}

} // namespace

BilanRattachement rattacherPrelevementsOperations(const QString &codeQualitometre,
                                                  Progression *progression)
{
    BilanRattachement bilan;
    Progression &p = progression ? *progression : progressionNulle();
    const bool toutes = codeQualitometre.trimmed().isEmpty();
    QString station;
    if (!toutes) {
        const Nombre n = enNombre(codeQualitometre);
        if (!n.estNombre()) return bilan;
        station = sqlNombre(n.valeur);
    }
    long nb = 0;
    Tableau echantillons;
    if (!bd().ExtraireRecords(
            QStringLiteral("SELECT codeQualitometre, numPrelevement, dateDebut, heureDebut FROM "
                           "PRELEVEMENTS WHERE "
                           "codeOperation is null") +
                (toutes ? QString() : QStringLiteral(" AND codequalitometre=") + station) +
                QStringLiteral(" ORDER BY codeQualitometre, numPrelevement"),
            nb, echantillons))
        return bilan;
    if (echantillons.estVide()) {
        bilan.reussi = true;
        return bilan;
    }
    Tableau operations;
    if (!bd().ExtraireRecords(
            QStringLiteral("SELECT codeQualitometre, codeOperation, dateDebut, heureDebut FROM "
                           "QUALITOMETRES_POINTS_OPERATIONS WHERE ") +
                (toutes ? QStringLiteral("codeQualitometre IN (SELECT DISTINCT codeQualitometre "
                                         "FROM PRELEVEMENTS "
                                         "WHERE codeOperation IS NULL)")
                        : QStringLiteral("codeQualitometre=") + station) +
                QStringLiteral(" ORDER BY codeQualitometre, codeOperation"),
            nb, operations))
        return bilan;

    QHash<QString, double> parCle;
    QHash<double, double> prochain; // station -> next operation code
    for (int i = 0; i < operations.nbLignes(); ++i) {
        if (operations.valeur(i, QStringLiteral("codeOperation")).isNull()) continue;
        const double s = champNombre(operations, i, "codeQualitometre");
        const double code = champNombre(operations, i, "codeOperation");
        const QString k = cle(s, date(operations, i), heure(operations, i));
        if (!parCle.contains(k)) parCle.insert(k, code);
        prochain[s] = std::max(prochain.value(s, 0), code + 1);
    }

    struct Operation
    {
        double station, code;
        QVariant date, heure;
    };
    QVector<Operation> nouvelles;
    QVector<Lien> liens;
    const long long total = echantillons.nbLignes();
    liens.reserve(total);
    p.message(QStringLiteral("Mise à jour des prélèvements: 0/") + QString::number(total));
    for (int i = 0; i < echantillons.nbLignes(); ++i) {
        if (p.annule()) return bilan;
        const double s = champNombre(echantillons, i, "codeQualitometre");
        const QString k = cle(s, date(echantillons, i), heure(echantillons, i));
        auto it = parCle.constFind(k);
        double code = 0;
        if (it == parCle.constEnd()) {
            code = prochain.value(s, 0);
            prochain[s] = code + 1;
            parCle.insert(k, code);
            nouvelles.append({s, code, date(echantillons, i), heure(echantillons, i)});
        } else {
            code = *it;
        }
        liens.append({s, champNombre(echantillons, i, "numPrelevement"), code});
        if (toutes && (i + 1) % 100 == 0) {
            p.message(QStringLiteral("Mise à jour des prélèvements: ") + QString::number(i + 1) +
                      u'/' + QString::number(total));
            p.position(i + 1, total);
        }
    }

    Lot lot;
    bool ok = true;
    {
        InsertionMassive insertion(QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS"),
                                   {QStringLiteral("codeQualitometre"),
                                    QStringLiteral("codeOperation"), QStringLiteral("dateDebut"),
                                    QStringLiteral("heureDebut")});
        for (const Operation &o : std::as_const(nouvelles))
            insertion.ajouter({o.station, o.code, o.date, o.heure});
        ok = insertion.terminer() && insertion.erreurs().isEmpty();
    }
    ok = ok && ecrireLiens(liens);
    ok = lot.terminer() && ok;
    p.position(total, total);
    bilan.prelevements = ok ? total : 0;
    bilan.operationsCreees = ok ? nouvelles.size() : 0;
    bilan.reussi = ok;
    return bilan;
}

namespace {

// The value as the column stores it: a number for numeric columns.
QString valeurColonne(const DefinitionColonne &c, const QVariant &valeur)
{
    if (valeur.isNull() ||
        (valeur.typeId() == QMetaType::QString && valeur.toString().trimmed().isEmpty()))
        return QStringLiteral("NULL");
    if (estNumerique(c.type)) {
        const Nombre n = enNombre(valeur.toString());
        return n.estNombre() ? sqlNombre(n.valeur) : QString();
    }
    if (c.type == TypeNeutre::Texte || c.type == TypeNeutre::Memo)
        return sqlTexte(valeur.toString());
    return sqlValeur(valeur);
}

} // namespace

bool majColonnePrelevement(const QString &codeQualitometre, const QString &numPrelevement,
                           const QString &colonne, const QVariant &valeur)
{
    const DefinitionTable *t = definitionTable(u"PRELEVEMENTS");
    const DefinitionColonne *c = t ? t->colonne(colonne.trimmed()) : nullptr;
    const Nombre station = enNombre(codeQualitometre), numero = enNombre(numPrelevement);
    if (!c || !station.estNombre() || !numero.estNombre()) return false;
    const QString v = valeurColonne(*c, valeur);
    if (v.isEmpty()) return false;
    return bd().Execute(QStringLiteral("UPDATE PRELEVEMENTS Set ") + QLatin1String(c->nom) + u'=' +
                        v + QStringLiteral(" WHERE codeQualitometre=") + sqlNombre(station.valeur) +
                        QStringLiteral(" AND NumPrelevement=") + sqlNombre(numero.valeur));
}

bool majColonneAnalyses(const QString &codeQualitometre, const QString &codeBSS,
                        const QString &colonne, const QVariant &valeur,
                        const QString &codeOperation, const QString &numPrelevement,
                        QStringList *anciennes, QString *erreur)
{
    auto echec = [&](const QString &raison) {
        if (erreur) *erreur = raison;
        return false;
    };
    const DefinitionColonne *c = definitionAnalyses().colonne(colonne.trimmed());
    if (!c)
        return echec(
            QStringLiteral("La colonne « %1 » n'existe pas dans les analyses.").arg(colonne));
    const Nombre station = enNombre(codeQualitometre);
    if (!station.estNombre())
        return echec(QStringLiteral("Le code du qualitomètre n'est pas un nombre."));
    QString raison;
    const QString table = tableAnalyses(codeBSS, &raison);
    if (table.isEmpty()) return echec(raison);
    if (!bd().tableExiste(PREFIXE_ANALYSES + codeBSS.trimmed())) return true; // no analysis yet
    const QString v = valeurColonne(*c, valeur);
    if (v.isEmpty())
        return echec(
            QStringLiteral("La valeur « %1 » n'est pas un nombre.").arg(valeur.toString()));
    const QString s = sqlNombre(station.valeur);
    const QString nom = QLatin1String(c->nom);
    // The table is the station's own: its rows are chosen by sample number alone, as the card
    // reads and replaces them (a row another program wrote without the station is still there).
    QString numeros;
    if (!codeOperation.trimmed().isEmpty()) {
        const Nombre op = enNombre(codeOperation);
        if (!op.estNombre())
            return echec(QStringLiteral("Le code de l'opération n'est pas un nombre."));
        numeros =
            QStringLiteral(" IN (SELECT NumPrelevement FROM PRELEVEMENTS WHERE codeQualitometre=") +
            s + QStringLiteral(" AND codeOperation=") + sqlNombre(op.valeur) + u')';
    } else {
        const Nombre n = enNombre(numPrelevement);
        if (!n.estNombre())
            return echec(QStringLiteral("Le numéro du prélèvement n'est pas un nombre."));
        numeros = u'=' + sqlNombre(n.valeur);
    }
    const QString condition = QStringLiteral(" WHERE NumPrelevement") + numeros;
    const QString lecture =
        QStringLiteral("SELECT DISTINCT ") + nom + QStringLiteral(" FROM ") + table + condition;
    if (anciennes) {
        anciennes->clear();
        const Tableau t = bd().extraire(lecture);
        for (int i = 0; i < t.nbLignes(); ++i)
            *anciennes << t.texte(i, nom);
    }
    if (!bd().Execute(QStringLiteral("UPDATE ") + table + QStringLiteral(" Set ") + nom + u'=' + v +
                      condition))
        return echec(bd().derniereErreur());
    return true;
}

} // namespace vyk
