#include "monitoring/ReglesAnalyses.h"

#include "db/Sql.h"
#include "db/Tableau.h"

namespace vyk {

namespace {

// The remark's text as a whole number; false when it is not one.
template <typename Texte> bool entierRemarque(const Texte &code, int &n)
{
    bool ok = false;
    const Texte texte = code.trimmed();
    n = texte.toInt(&ok);
    if (ok) return true;
    // "2.0" as some files write it.
    const double d = texte.toDouble(&ok);
    if (!ok || d != double(qint64(d))) return false;
    n = int(d);
    return true;
}

bool entierRemarque(const QVariant &code, int &n)
{
    return !code.isNull() && entierRemarque(code.toString(), n);
}

// Status and qualification codes are single digits: anything else matches nothing.
QString nombreCode(const QString &code)
{
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    return ok ? QString::number(n) : QStringLiteral("NULL");
}

QString filtreHerite(const QString &table, const QString &colonne, const QString &colonneOperation,
                     const QString &valeur)
{
    return u'(' + table + u'.' + colonne + u'=' + sqlTexte(valeur.trimmed()) +
           QStringLiteral(" or (") + table + u'.' + colonne +
           QStringLiteral(" is null AND QUALITOMETRES_POINTS_OPERATIONS.") + colonneOperation +
           u'=' + nombreCode(valeur) + QStringLiteral(")) ");
}

} // namespace

bool estRemarqueInferieure(const QVariant &codeRemarque)
{
    int n = 0;
    return entierRemarque(codeRemarque, n) && (n == 2 || n == 9 || n == 10);
}

bool estRemarqueSuperieure(const QVariant &codeRemarque)
{
    int n = 0;
    return entierRemarque(codeRemarque, n) && (n == 3 || n == 8);
}

SensRemarque sensRemarque(QByteArrayView codeRemarque)
{
    int n = 0;
    if (!entierRemarque(codeRemarque, n)) return SensRemarque::Aucun;
    if (n == 2 || n == 9 || n == 10) return SensRemarque::Inferieure;
    return n == 3 || n == 8 ? SensRemarque::Superieure : SensRemarque::Aucun;
}

QString texteResultat(const QVariant &resultat, const QVariant &codeRemarque)
{
    if (resultat.isNull()) return {};
    const QString texte = texteValeur(resultat);
    if (estRemarqueInferieure(codeRemarque)) return u'<' + texte;
    if (estRemarqueSuperieure(codeRemarque)) return u'>' + texte;
    return texte;
}

QString jointureAnalyses(const QString &table)
{
    return QStringLiteral("(") + table +
           QStringLiteral(" LEFT JOIN PRELEVEMENTS ON (PRELEVEMENTS.codeQualitometre=") + table +
           QStringLiteral(".codeQualitometre AND PRELEVEMENTS.NumPrelevement=") + table +
           QStringLiteral(
               ".NumPrelevement)) LEFT JOIN QUALITOMETRES_POINTS_OPERATIONS ON "
               "(QUALITOMETRES_POINTS_OPERATIONS.codeQualitometre=PRELEVEMENTS.codeQualitometre "
               "AND "
               "QUALITOMETRES_POINTS_OPERATIONS.codeOperation=PRELEVEMENTS.codeOperation)");
}

QString filtreStatut(const QString &table, const QString &statut)
{
    return filtreHerite(table, QStringLiteral("statutmesure"), QStringLiteral("statut"), statut);
}

QString filtreQualification(const QString &table, const QString &qualification)
{
    return filtreHerite(table, QStringLiteral("codequalification"), QStringLiteral("qualification"),
                        qualification);
}

QString filtreSupport(const QString &table, const QString &support)
{
    const QString s = sqlTexte(support.trimmed());
    return u'(' + table + QStringLiteral(".codeSupport=") + s + QStringLiteral(" OR (") + table +
           QStringLiteral(".codeSupport is null AND (PRELEVEMENTS.codeSupportPrincipal=") + s +
           QStringLiteral(" OR PRELEVEMENTS.codeSupportPrincipal is null))) ");
}

QString filtreQuantification(const QString &table)
{
    return u'(' + table + QStringLiteral(".codeRemarque is null or (") + table +
           QStringLiteral(".codeRemarque<>'2' and ") + table +
           QStringLiteral(".codeRemarque<>'10')) ");
}

QString filtreHorsSupport13()
{
    return QStringLiteral("(codeSupportPrincipal is null or codeSupportPrincipal<>'13') ");
}

} // namespace vyk
