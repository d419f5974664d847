#include "indices/ResultatsIndice.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "db/Tableau.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <cmath>

namespace vyk {

namespace {

QString sansGuillemets(QString texte)
{
    texte = texte.trimmed();
    if (texte.size() >= 2 && texte.startsWith(u'"') && texte.endsWith(u'"'))
        texte = texte.mid(1, texte.size() - 2);
    return texte.trimmed();
}

QStringList champs(const QString &ligne)
{
    QStringList liste = ligne.split(u';');
    for (QString &c : liste)
        c = sansGuillemets(c);
    return liste;
}

// Position of each column by name, upper-cased; empty when the line is not the header.
QHash<QString, int> lireEntete(const QStringList &ligne)
{
    QHash<QString, int> positions;
    for (int i = 0; i < ligne.size(); ++i)
        positions.insert(ligne[i].toUpper(), i);
    if (!positions.contains(colonneResultat::Station) ||
        !positions.contains(colonneResultat::Resultat))
        return {};
    return positions;
}

QDate lireDate(const QString &texte)
{
    QDate d = QDate::fromString(texte.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid()) d = QDate::fromString(texte.left(10), QStringLiteral("dd/MM/yyyy"));
    return d;
}

struct Resultat
{
    QString operation, parametre, valeur;
    qint64 station = 0;
};

class Lecteur
{
  public:
    Lecteur(const LectureResultats &lecture, BilanResultats &bilan)
        : m_lecture(lecture), m_bilan(bilan)
    {
    }

    bool lire(const QString &fichier, QList<Resultat> &resultats);

  private:
    QString cellule(const QStringList &ligne, const QString &colonne) const
    {
        const int i = m_colonnes.value(colonne, -1);
        return i >= 0 && i < ligne.size() ? ligne[i] : QString();
    }
    void ignorer(int numero, const QString &raison)
    {
        m_bilan.ignores << QStringLiteral("Ligne %1 : ").arg(numero) + raison;
    }
    void lireLigne(int numero, const QStringList &ligne, QList<Resultat> &resultats);
    bool trouverOperation(const QDate &jour, Resultat &r);

    const LectureResultats &m_lecture;
    BilanResultats &m_bilan;
    QHash<QString, int> m_colonnes;
};

bool Lecteur::trouverOperation(const QDate &jour, Resultat &r)
{
    const QString jourSql = dateSQL(jour.toString(QStringLiteral("dd/MM/yyyy")));
    const QString lendemain = dateSQL(jour.addDays(1).toString(QStringLiteral("dd/MM/yyyy")));
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT Q.codeQualitometre, O.codeOperation, O.protocoleBiologique "
                       "FROM QUALITOMETRES Q, QUALITOMETRES_POINTS P, "
                       "QUALITOMETRES_POINTS_OPERATIONS O WHERE O.codeQualitometre = "
                       "Q.codeQualitometre AND P.codeQualitometre = O.codeQualitometre AND "
                       "P.codePoint = O.codePoint AND P.identifiant = %1 AND Q.codeBSS = %2 AND "
                       "O.dateDebut >= %3 AND O.dateDebut < %4 ORDER BY O.codeOperation DESC")
            .arg(sqlTexte(m_lecture.point), sqlTexte(m_lecture.codeStation), jourSql, lendemain));
    if (t.estVide()) return false;
    int choisie = 0;
    for (int i = 0; i < t.nbLignes(); ++i)
        if (m_lecture.protocolesPreferes.contains(
                t.texte(i, QStringLiteral("protocoleBiologique")))) {
            choisie = i;
            break;
        }
    r.station = t.valeur(choisie, QStringLiteral("codeQualitometre")).toLongLong();
    r.operation = t.texte(choisie, QStringLiteral("codeOperation"));
    return true;
}

void Lecteur::lireLigne(int numero, const QStringList &ligne, QList<Resultat> &resultats)
{
    Resultat r;
    r.parametre = m_lecture.parametre(cellule(ligne, colonneResultat::Parametre),
                                      cellule(ligne, colonneResultat::Libelle));
    if (r.parametre.isEmpty()) return; // a metric this program does not store
    const QString station = codeStationResultat(cellule(ligne, colonneResultat::Station));
    if (station != m_lecture.codeStation)
        return ignorer(numero, QStringLiteral("station %1 étrangère à ce calcul").arg(station));
    r.valeur = cellule(ligne, colonneResultat::Resultat).replace(u',', u'.');
    bool nombre = false;
    const double v = r.valeur.toDouble(&nombre);
    if (!nombre || !std::isfinite(v))
        return ignorer(
            numero,
            QStringLiteral("valeur « %1 » du paramètre %2 ignorée").arg(r.valeur, r.parametre));
    const QDate jour = lireDate(cellule(ligne, colonneResultat::Date));
    if (!jour.isValid() || !trouverOperation(jour, r))
        return ignorer(numero, QStringLiteral("aucune opération de la station %1 le %2")
                                   .arg(station, cellule(ligne, colonneResultat::Date)));
    resultats << r;
}

bool Lecteur::lire(const QString &fichier, QList<Resultat> &resultats)
{
    QFile f(fichier);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_bilan.erreur = QStringLiteral("Impossible de lire le fichier ") + fichier;
        return false;
    }
    int numero = 0;
    while (!f.atEnd()) {
        const QString texte = QString::fromUtf8(f.readLine()).trimmed();
        ++numero;
        if (texte.isEmpty()) continue;
        const QStringList ligne = champs(texte);
        if (m_colonnes.isEmpty()) {
            m_colonnes = lireEntete(ligne); // lines before the header are a banner
            continue;
        }
        lireLigne(numero, ligne, resultats);
    }
    if (m_colonnes.isEmpty())
        m_bilan.erreur = QStringLiteral("Colonnes %1 et %2 introuvables dans le fichier ")
                             .arg(colonneResultat::Station, colonneResultat::Resultat) +
                         fichier;
    else if (resultats.isEmpty())
        m_bilan.erreur = QStringLiteral("Aucun résultat utilisable dans le fichier ") + fichier;
    return m_bilan.erreur.isEmpty();
}

// A code setting as a number, NULL when empty or not a number.
QString codeReglage(const QString &nom)
{
    bool ok = false;
    const QString texte = lireRegistre(nom).trimmed();
    texte.toLongLong(&ok);
    return ok ? texte : QStringLiteral("NULL");
}

bool enregistrer(const Resultat &r)
{
    const QString operation = QStringLiteral(" WHERE codeQualitometre = %1 AND codeOperation = %2")
                                  .arg(r.station)
                                  .arg(r.operation);
    if (!bd().Execute(QStringLiteral("DELETE FROM QUALITOMETRES_OPERATIONS_RESULTATS") + operation +
                      QStringLiteral(" AND codeParametre = ") + r.parametre))
        return false;
    const QVariant max = bd().valeur(
        QStringLiteral("SELECT MAX(indice) FROM QUALITOMETRES_OPERATIONS_RESULTATS") + operation);
    return bd().Execute(
        QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                       "codeOperation, indice, codeParametre, codeUnite, resultat, "
                       "codeAccreditation, codeRemarque, codeAgrement) VALUES (%1, %2, %3, %4, "
                       "NULL, %5, %6, NULL, %7)")
            .arg(r.station)
            .arg(r.operation)
            .arg(max.isNull() ? 1 : max.toLongLong() + 1)
            .arg(r.parametre, r.valeur, codeReglage(reglage::Accreditation),
                 codeReglage(reglage::Agrement)));
}

} // namespace

QString codeStationResultat(const QString &code)
{
    static const QRegularExpression septChiffres(QStringLiteral("^\\d{7}$"));
    return septChiffres.match(code).hasMatch() ? u'0' + code : code;
}

bool integrerResultats(const QString &fichier, const LectureResultats &lecture,
                       BilanResultats &bilan)
{
    bilan = {};
    QList<Resultat> resultats;
    if (!Lecteur(lecture, bilan).lire(fichier, resultats)) return false;
    if (!bd().debutTransaction()) {
        bilan.erreur = bd().derniereErreur();
        return false;
    }
    for (const Resultat &r : resultats)
        if (!enregistrer(r)) {
            bilan.erreur = bd().derniereErreur();
            bd().finTransaction(true);
            return false;
        }
    if (!bd().finTransaction(false)) {
        bilan.erreur = bd().derniereErreur();
        return false;
    }
    bilan.enregistres = int(resultats.size());
    return true;
}

} // namespace vyk
