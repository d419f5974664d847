#include "users/AccesStations.h"

#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Lot.h"
#include "db/Session.h"
#include "db/Sql.h"

#include <QRegularExpression>

namespace vyk {

namespace {

// The words of each module of the suite for its station access.
struct ModuleStations
{
    const char *module;
    const char *prefixe;     // of its rights: prefixe + "ALL", prefixe + "NETWORK_" + code
    const char *typeStation; // UTILISATEURS_STATIONS.typeStation
    const char *lien;        // network memberships, "" when this program does not know them
    const char *colonne;     // station code in the membership table
};
// clang-format off
const ModuleStations MODULES[] = {
    {"VYK", "QUALITO_", "QUALITO", "lien_qualito_reseaux", "codeQualitometre"},
    {"VYDA", "PIEZO_", "PIEZO", "lien_piezo_reseaux", "codepiezometre"},
    {"VYR", "PLUVIO_", "PLUVIO", "", ""},
    {"VYW", "HYDRO_", "HYDRO", "", ""},
};
// clang-format on

const ModuleStations *moduleStations(const QString &module)
{
    for (const ModuleStations &m : MODULES)
        if (module.compare(QLatin1String(m.module), Qt::CaseInsensitive) == 0) return &m;
    return nullptr;
}

QString texteCode(qint64 code)
{
    return QString::number(code);
}

} // namespace

bool estAccesRestreint(bool contourner, const QString &module)
{
    if (contourner) return false;
    const ModuleStations *m = moduleStations(module);
    const QString login = session().login;
    if (!m || login.isEmpty() || !bd().estOuverte()) return true;
    const QString prefixe = QString::fromLatin1(m->prefixe);
    const QString tout = prefixe + QStringLiteral("ALL");
    const QString prefixeReseau = prefixe + QStringLiteral("NETWORK_");
    const QString mode = prefixe + QStringLiteral("NETWORK");

    Transaction transaction;
    bd().Execute(QStringLiteral("DELETE FROM UTILISATEURS_STATIONS WHERE login=") +
                 sqlTexte(login) + QStringLiteral(" AND modeSelect=") + sqlTexte(mode));

    // An administrator holds every right, the full access included.
    if (session().administrateur) {
        transaction.valider();
        return false;
    }

    // The full-access right and the network rights in one reading.
    InstructionPreparee lecture = bd().preparer(QStringLiteral(
        "SELECT habilitation from UTILISATEURS_HABILITATIONS WHERE login=? AND (habilitation=? OR "
        "habilitation like ?)"));
    Tableau droits;
    lecture.extraire(droits, {login, tout, prefixeReseau + u'%'});
    static const QRegularExpression numerique(QStringLiteral("^[0-9]{1,9}$"));
    QStringList reseaux, invalides;
    for (int l = 0; l < droits.nbLignes(); ++l) {
        const QString droit = droits.texte(l, QStringLiteral("habilitation")).trimmed();
        if (droit == tout) {
            transaction.valider();
            return false;
        }
        if (!droit.startsWith(prefixeReseau)) continue;
        // A network code is a number: anything else would reach the statement as SQL text.
        const QString code = droit.mid(prefixeReseau.size()).trimmed();
        if (numerique.match(code).hasMatch())
            reseaux << QString::number(code.toLongLong());
        else
            invalides << droit;
    }
    reseaux.removeDuplicates();

    const QString lien = QString::fromLatin1(m->lien);
    if (!reseaux.isEmpty() && !lien.isEmpty() && bd().tableExiste(lien)) {
        // The stations that belong to the networks today; a membership without a start date
        // counts from always.
        const QString aujourdhui = dateSQL(QDateTime(QDate::currentDate(), QTime(0, 0)));
        const QString colonne = QString::fromLatin1(m->colonne);
        bd().Execute(
            QStringLiteral(
                "INSERT INTO UTILISATEURS_STATIONS (login, typeStation, identifiant, modeSelect) "
                "SELECT DISTINCT ") +
            sqlTexte(login) + QStringLiteral(", ") + sqlTexte(QString::fromLatin1(m->typeStation)) +
            QStringLiteral(", cstr(") + colonne + QStringLiteral("), ") + sqlTexte(mode) +
            QStringLiteral(" FROM ") + lien + QStringLiteral(" WHERE codereseau IN (") +
            reseaux.join(u',') + QStringLiteral(") AND ") + colonne +
            QStringLiteral(" IS NOT NULL AND (dateDebut Is Null Or dateDebut <= ") + aujourdhui +
            QStringLiteral(") AND (dateFin Is Null Or dateFin > ") + aujourdhui +
            QStringLiteral(")"));
    }
    transaction.valider();
    // Journalled outside the transaction: a journal write that fails must not undo the grants.
    for (const QString &droit : invalides)
        journaliserErreur(QStringLiteral("Habilitation réseau invalide"),
                          login + QStringLiteral(" : ") + droit);
    return true;
}

QString conditionAccesStations(const QString &colonne)
{
    if (!estAccesRestreint()) return {};
    return colonne +
           QStringLiteral(" in (select cint(identifiant) from utilisateurs_stations where login=") +
           sqlTexte(session().login) + QStringLiteral(" and typestation='QUALITO')");
}

bool stationAccordee(qint64 codeQualitometre)
{
    InstructionPreparee lecture =
        bd().preparer(QStringLiteral("SELECT count(*) AS nb FROM Utilisateurs_stations WHERE "
                                     "login=? AND typestation='QUALITO' AND identifiant=?"));
    Tableau t;
    return lecture.extraire(t, {session().login, texteCode(codeQualitometre)}) &&
           t.nbLignes() == 1 && t.valeur(0, QStringLiteral("nb")).toLongLong() > 0;
}

bool accorderStation(qint64 codeQualitometre)
{
    return accorderStation(session().login, codeQualitometre);
}

bool accorderStation(const QString &login, qint64 codeQualitometre)
{
    if (login.isEmpty()) return false;
    Transaction transaction;
    InstructionPreparee suppression =
        bd().preparer(QStringLiteral("DELETE FROM utilisateurs_stations where login=? and "
                                     "typestation='QUALITO' and identifiant=? and "
                                     "modeselect='SINGLE'"));
    InstructionPreparee ajout =
        bd().preparer(QStringLiteral("INSERT INTO utilisateurs_stations (login, typeStation, "
                                     "identifiant, modeSelect) VALUES (?, 'QUALITO', ?, "
                                     "'SINGLE')"));
    const QString code = texteCode(codeQualitometre);
    if (!suppression.executer({login, code}) || !ajout.executer({login, code})) return false;
    return transaction.valider();
}

bool retirerStation(const QString &login, qint64 codeQualitometre, long long *retirees)
{
    InstructionPreparee suppression =
        bd().preparer(QStringLiteral("DELETE FROM utilisateurs_stations where login=? and "
                                     "typestation='QUALITO' and identifiant=? and "
                                     "modeselect='SINGLE'"));
    const bool ok = suppression.executer({login, texteCode(codeQualitometre)});
    if (retirees) *retirees = ok ? suppression.lignesModifiees() : 0;
    return ok;
}

bool retirerStationSupprimee(qint64 codeQualitometre)
{
    InstructionPreparee suppression = bd().preparer(
        QStringLiteral("DELETE FROM utilisateurs_stations where typestation='QUALITO' and "
                       "identifiant=? and modeselect='SINGLE'"));
    return suppression.executer({texteCode(codeQualitometre)});
}

} // namespace vyk
