#include "indices/ResultatsIndice.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Sql.h"
#include "db/Tableau.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

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

// YYYY-MM-DD read directly: the calculators write it on every line, and QDate::fromString
// parses its format anew each time.
QDate lireDateIso(const QString &texte)
{
    if (texte.size() < 10 || texte[4] != u'-' || texte[7] != u'-') return {};
    int champs[3] = {};
    for (const auto &[champ, debut, fin] :
         {std::tuple{0, 0, 4}, std::tuple{1, 5, 7}, std::tuple{2, 8, 10}})
        for (int i = debut; i < fin; ++i) {
            const int chiffre = texte[i].unicode() - u'0';
            if (chiffre < 0 || chiffre > 9) return {};
            champs[champ] = champs[champ] * 10 + chiffre;
        }
    return QDate(champs[0], champs[1], champs[2]);
}

QDate lireDate(const QString &texte)
{
    QDate d = lireDateIso(texte);
    if (!d.isValid()) d = QDate::fromString(texte.left(10), QStringLiteral("yyyy-MM-dd"));
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
    void chargerOperations();
    bool trouverOperation(const QDate &jour, Resultat &r);

    struct OperationDuJour
    {
        qint64 station = 0;
        QString code, protocole;
    };

    const LectureResultats &m_lecture;
    BilanResultats &m_bilan;
    QHash<QString, int> m_colonnes;
    bool m_chargees = false;
    QHash<QDate, QList<OperationDuJour>> m_operations;
};

// The operations of the run's station and point, read once and kept by day, newest first.
void Lecteur::chargerOperations()
{
    m_chargees = true;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT Q.codeQualitometre, O.codeOperation, O.protocoleBiologique, "
                       "O.dateDebut FROM QUALITOMETRES Q, QUALITOMETRES_POINTS P, "
                       "QUALITOMETRES_POINTS_OPERATIONS O WHERE O.codeQualitometre = "
                       "Q.codeQualitometre AND P.codeQualitometre = O.codeQualitometre AND "
                       "P.codePoint = O.codePoint AND P.identifiant = %1 AND Q.codeBSS = %2 "
                       "ORDER BY O.codeOperation DESC")
            .arg(sqlTexte(m_lecture.point), sqlTexte(m_lecture.codeStation)));
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QDate jour = QDate::fromString(t.texte(i, QStringLiteral("dateDebut")).left(10),
                                             QStringLiteral("dd/MM/yyyy"));
        if (!jour.isValid()) continue;
        m_operations[jour].append({t.valeur(i, QStringLiteral("codeQualitometre")).toLongLong(),
                                   t.texte(i, QStringLiteral("codeOperation")),
                                   t.texte(i, QStringLiteral("protocoleBiologique"))});
    }
}

bool Lecteur::trouverOperation(const QDate &jour, Resultat &r)
{
    if (!m_chargees) chargerOperations();
    const auto trouvees = m_operations.constFind(jour);
    if (trouvees == m_operations.cend()) return false;
    const OperationDuJour *choisie = &trouvees->first();
    for (const OperationDuJour &o : *trouvees)
        if (m_lecture.protocolesPreferes.contains(o.protocole)) {
            choisie = &o;
            break;
        }
    r.station = choisie->station;
    r.operation = choisie->code;
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

// A code setting as a number, null when empty or not a number.
QVariant codeReglage(const QString &nom)
{
    bool ok = false;
    const qlonglong code = lireRegistre(nom).trimmed().toLongLong(&ok);
    return ok ? QVariant(code) : QVariant();
}

// The statements of a run, prepared once: each result replaces the operation's value of its
// parameter under the operation's next indice. The operations' stored results are read once
// per file, inside its transaction, and followed in memory: a delete runs only where a value is
// stored, and the next indice is the highest one left plus one, as a MAX would give it.
class Enregistreur
{
  public:
    Enregistreur()
        : m_supprimer(bd().preparer(
              QStringLiteral("DELETE FROM QUALITOMETRES_OPERATIONS_RESULTATS WHERE "
                             "codeQualitometre = ? AND codeOperation = ? AND codeParametre = ?"))),
          m_inserer(bd().preparer(QStringLiteral(
              "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
              "codeOperation, indice, codeParametre, codeUnite, resultat, codeAccreditation, "
              "codeRemarque, codeAgrement) VALUES (?, ?, ?, ?, NULL, ?, ?, NULL, ?)"))),
          m_accreditation(codeReglage(reglage::Accreditation)),
          m_agrement(codeReglage(reglage::Agrement))
    {
    }

    bool charger(const QList<Resultat> &resultats);
    bool enregistrer(const Resultat &r);

  private:
    struct Stocke
    {
        std::optional<double> indice, parametre;
    };
    using Cle = std::pair<qint64, double>; // station, operation
    bool chargerStation(qint64 station, const QStringList &operations);

    InstructionPreparee m_supprimer, m_inserer;
    QVariant m_accreditation, m_agrement;
    std::map<Cle, QVector<Stocke>> m_stockes;
};

std::optional<double> nombreLu(const QVariant &v)
{
    return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
}

bool Enregistreur::chargerStation(qint64 station, const QStringList &operations)
{
    constexpr int PAR_REQUETE = 500; // some servers cap the length of an IN list
    for (int debut = 0; debut < operations.size(); debut += PAR_REQUETE) {
        Tableau t;
        long nb = 0;
        if (!bd().ExtraireRecords(
                QStringLiteral("SELECT codeOperation, indice, codeParametre FROM "
                               "QUALITOMETRES_OPERATIONS_RESULTATS WHERE codeQualitometre = %1 "
                               "AND codeOperation IN (%2)")
                    .arg(station)
                    .arg(operations.mid(debut, PAR_REQUETE).join(u',')),
                nb, t))
            return false;
        const int operation = t.indexColonne(QStringLiteral("codeOperation"));
        const int indice = t.indexColonne(QStringLiteral("indice"));
        const int parametre = t.indexColonne(QStringLiteral("codeParametre"));
        for (int i = 0; i < t.nbLignes(); ++i)
            m_stockes[{station, t(i, operation).toDouble()}].append(
                {nombreLu(t(i, indice)), nombreLu(t(i, parametre))});
    }
    return true;
}

bool Enregistreur::charger(const QList<Resultat> &resultats)
{
    std::map<qint64, QStringList> operations;
    for (const Resultat &r : resultats) {
        const Cle cle{r.station, r.operation.toDouble()};
        if (m_stockes.count(cle)) continue;
        m_stockes[cle];
        operations[r.station] << texteValeur(cle.second);
    }
    for (const auto &[station, codes] : operations)
        if (!chargerStation(station, codes)) return false;
    return true;
}

bool Enregistreur::enregistrer(const Resultat &r)
{
    const QVector<QVariant> cle = {double(r.station), r.operation.toDouble()};
    const double parametre = r.parametre.toDouble();
    QVector<Stocke> &stockes = m_stockes[{r.station, cle[1].toDouble()}];
    const auto memeParametre = [parametre](const Stocke &s) { return s.parametre == parametre; };
    if (std::any_of(stockes.cbegin(), stockes.cend(), memeParametre)) {
        if (!m_supprimer.executer(cle + QVector<QVariant>{parametre})) return false;
        stockes.removeIf(memeParametre);
    }
    double suivant = 1;
    for (const Stocke &s : std::as_const(stockes))
        if (s.indice) suivant = std::max(suivant, *s.indice + 1);
    if (!m_inserer.executer(cle + QVector<QVariant>{suivant, parametre, r.valeur.toDouble(),
                                                    m_accreditation, m_agrement}))
        return false;
    stockes.append({suivant, parametre});
    return true;
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
    Enregistreur enregistreur;
    bool stocke = enregistreur.charger(resultats);
    for (auto r = resultats.cbegin(); stocke && r != resultats.cend(); ++r)
        stocke = enregistreur.enregistrer(*r);
    if (!stocke) {
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
