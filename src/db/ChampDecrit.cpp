#include "db/ChampDecrit.h"

#include "db/Outils.h"
#include "db/Sql.h"
#include "db/Tableau.h"

namespace vyk {

namespace {

using N = NatureChamp;

bool estCoche(const QString &t)
{
    return t == QLatin1String("1") || t.compare(QLatin1String("oui"), Qt::CaseInsensitive) == 0;
}

int lireAnnee(const QString &texte)
{
    bool ok = false;
    const int annee = texte.toInt(&ok);
    return ok && annee >= 1000 && annee <= 9999 ? annee : 0;
}

QVariant dateSaisie(const QString &t, bool avecHeure)
{
    const QDateTime d = lireDate(t);
    if (!d.isValid() || (!avecHeure && d.time() != QTime(0, 0))) return {};
    return d;
}

} // namespace

QTime lireHeure(const QString &texte)
{
    const QString t = texte.trimmed();
    for (const char *format : {"HH:mm", "H:mm", "HH:mm:ss", "H:mm:ss", "HH'h'mm", "H'h'mm"}) {
        const QTime h = QTime::fromString(t, QString::fromLatin1(format));
        if (h.isValid()) return h;
    }
    return {};
}

QString codeSaisi(const QString &texte)
{
    const qsizetype ouvrant = texte.lastIndexOf(u'[');
    const qsizetype fermant = ouvrant < 0 ? -1 : texte.indexOf(u']', ouvrant + 1);
    if (fermant < 0) return texte.trimmed();
    return texte.mid(ouvrant + 1, fermant - ouvrant - 1).trimmed();
}

bool ChampDecrit::estChronologique() const
{
    return nature == N::Date || nature == N::DateHeure || nature == N::Heure || nature == N::Annee;
}

bool ChampDecrit::estVide(const QString &texte) const
{
    return nature == N::OuiNon || texte.trimmed().isEmpty();
}

QVariant ChampDecrit::valeur(const QString &brut) const
{
    const QString t = brut.trimmed();
    if (nature == N::OuiNon) {
        const bool coche = estCoche(t);
        return numerique ? QVariant(coche ? 1.0 : 0.0)
                         : QVariant(coche ? QStringLiteral("1") : QStringLiteral("0"));
    }
    if (t.isEmpty()) return {};
    switch (nature) {
    case N::Nombre:
        return enNombre(t, true).variant();
    case N::Date:
    case N::DateHeure:
        return dateSaisie(t, nature == N::DateHeure);
    case N::Heure: {
        const QTime h = lireHeure(t);
        return h.isValid() ? QVariant(QDateTime(JOUR_DES_HEURES, h)) : QVariant();
    }
    case N::Annee: {
        const int annee = lireAnnee(t);
        return annee ? QVariant(QDateTime(QDate(annee, 1, 1), QTime(0, 0))) : QVariant();
    }
    case N::Code: {
        const QString code = codeSaisi(t);
        if (code.isEmpty() || (taille > 0 && code.size() > taille)) return {};
        return numerique ? enNombre(code, true).variant() : QVariant(code);
    }
    default:
        return brut;
    }
}

DefautSaisie ChampDecrit::defaut(const QString &brut) const
{
    const QString t = brut.trimmed();
    if (nature == N::OuiNon) return DefautSaisie::Aucun;
    if (t.isEmpty() || (nature == N::Code && codeSaisi(t).isEmpty()))
        return obligatoire ? DefautSaisie::Absent : DefautSaisie::Aucun;
    switch (nature) {
    case N::Nombre:
        return estNombre(t) ? DefautSaisie::Aucun : DefautSaisie::PasUnNombre;
    case N::Texte:
        return taille > 0 && brut.size() > taille ? DefautSaisie::TropLong : DefautSaisie::Aucun;
    case N::Memo:
        return DefautSaisie::Aucun;
    default:
        return valeur(t).isNull() ? DefautSaisie::Illisible : DefautSaisie::Aucun;
    }
}

QString ChampDecrit::texte(const QVariant &v) const
{
    if (v.isNull() || !v.isValid()) return nature == N::OuiNon ? QStringLiteral("0") : QString();
    switch (nature) {
    case N::Date:
        return v.toDateTime().date().toString(QStringLiteral("dd/MM/yyyy"));
    case N::DateHeure:
        return texteDate(v.toDateTime(), true);
    case N::Heure: {
        const QTime h = v.toDateTime().time();
        return h.toString(h.second() ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
    }
    case N::Annee:
        return QString::number(v.toDateTime().date().year());
    case N::OuiNon:
        return estCoche(texteValeur(v).trimmed()) ? QStringLiteral("1") : QStringLiteral("0");
    case N::Code:
        return texteValeur(v).trimmed();
    default:
        return texteValeur(v);
    }
}

QString messageSaisie(const ChampDecrit &champ, DefautSaisie defaut)
{
    switch (defaut) {
    case DefautSaisie::Aucun:
        return {};
    case DefautSaisie::Absent:
        return texteChamps::ABSENT.arg(champ.libelle);
    case DefautSaisie::PasUnNombre:
        return texteChamps::PAS_UN_NOMBRE.arg(champ.libelle);
    case DefautSaisie::TropLong:
        return texteChamps::TROP_LONG.arg(champ.libelle).arg(champ.taille);
    case DefautSaisie::Illisible:
        break;
    }
    return texteChamps::INCORRECT.arg(champ.libelle);
}

QString messageRefus(const ListeRefus &refus)
{
    QStringList lignes;
    for (const Refus &r : refus)
        lignes << r.message;
    return lignes.join(u'\n');
}

QStringList colonnesRefusees(const ListeRefus &refus)
{
    QStringList colonnes;
    for (const Refus &r : refus)
        colonnes << r.colonne;
    return colonnes;
}

ListeRefus refusSaisie(const ChampsDecrits &champs, const QStringList &textes)
{
    ListeRefus refus;
    for (int i = 0; i < champs.size(); ++i)
        if (const DefautSaisie d = champs[i].defaut(textes.value(i)); d != DefautSaisie::Aucun)
            refus.append({champs[i].colonne, messageSaisie(champs[i], d)});
    return refus;
}

QString verifierSaisie(const ChampsDecrits &champs, const QStringList &textes)
{
    return messageRefus(refusSaisie(champs, textes));
}

QString listeColonnes(const ChampsDecrits &champs)
{
    QStringList r;
    for (const ChampDecrit &c : champs)
        r << c.colonne;
    return r.join(QStringLiteral(", "));
}

int indexChamp(const ChampsDecrits &champs, const QString &colonne)
{
    for (int i = 0; i < champs.size(); ++i)
        if (champs[i].colonne.compare(colonne, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QStringList lireTextes(const Tableau &tableau, int ligne, const ChampsDecrits &champs)
{
    QStringList r;
    r.reserve(champs.size());
    for (const ChampDecrit &c : champs)
        r << c.texte(tableau.valeur(ligne, c.colonne));
    return r;
}

QVector<QVariant> valeursSaisies(const ChampsDecrits &champs, const QStringList &textes)
{
    QVector<QVariant> r;
    r.reserve(champs.size());
    for (int i = 0; i < champs.size(); ++i)
        r << champs[i].valeur(textes.value(i));
    return r;
}

QString insertionLiee(const QString &table, const ChampsDecrits &champs,
                      const QStringList &colonnesAvant)
{
    const qsizetype n = colonnesAvant.size() + champs.size();
    QStringList marques(n, QStringLiteral("?"));
    QString colonnes = colonnesAvant.join(QStringLiteral(", "));
    if (!colonnes.isEmpty() && !champs.isEmpty()) colonnes += QStringLiteral(", ");
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + colonnes +
           listeColonnes(champs) + QStringLiteral(") VALUES (") +
           marques.join(QStringLiteral(", ")) + u')';
}

QString sqlInsertion(const QString &table, const ChampsDecrits &champs, const QStringList &textes)
{
    QStringList valeurs;
    for (const QVariant &v : valeursSaisies(champs, textes))
        valeurs << sqlValeur(v);
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + listeColonnes(champs) +
           QStringLiteral(") VALUES (") + valeurs.join(QStringLiteral(", ")) + u')';
}

QString sqlMiseAJour(const QString &table, const ChampsDecrits &champs, const QStringList &textes,
                     const QString &condition)
{
    QStringList affectations;
    const QVector<QVariant> valeurs = valeursSaisies(champs, textes);
    for (int i = 0; i < champs.size(); ++i)
        affectations << champs[i].colonne + u'=' + sqlValeur(valeurs[i]);
    return QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") +
           affectations.join(QStringLiteral(", ")) + u' ' + condition;
}

} // namespace vyk
