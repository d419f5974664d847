#include "monitoring/PointsPrelevement.h"

#include "app/Options.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cmath>

namespace vyk {

namespace {

// Column of the table, member of the form, and whether it holds a number.
struct ChampPoint
{
    const char *colonne;
    QString FichePoint::*membre;
    const char *libelle; // "" for dates and texts
};

// clang-format off
const ChampPoint CHAMPS[] = {
    {"identifiant", &FichePoint::identifiant, nullptr},
    {"nom", &FichePoint::nom, nullptr},
    {"dateDebut", &FichePoint::dateDebut, nullptr},
    {"dateFin", &FichePoint::dateFin, nullptr},
    {"longeurTotale", &FichePoint::longueurTotale, "Longueur totale"},
    {"XAmont", &FichePoint::xAmont, "X amont"},
    {"YAmont", &FichePoint::yAmont, "Y amont"},
    {"XAval", &FichePoint::xAval, "X aval"},
    {"YAval", &FichePoint::yAval, "Y aval"},
    {"objetPrincipal", &FichePoint::objetPrincipal, nullptr},
    {"recommendation", &FichePoint::recommandation, nullptr},
    {"X", &FichePoint::x, "X"},
    {"Y", &FichePoint::y, "Y"},
    {"TypeProjection", &FichePoint::typeProjection, "Projection"},
    {"profondeurRecommandee", &FichePoint::profondeurRecommandee, "Profondeur recommandée"},
    {"Commentaires", &FichePoint::commentaires, nullptr},
    {"largeurDebit", &FichePoint::largeurDebit, "Largeur"},
    {"profDebut", &FichePoint::profDebut, "Profondeur de début"},
    {"profFin", &FichePoint::profFin, "Profondeur de fin"},
};
// clang-format on

QString nombreIncorrect(const QString &valeur, const QString &champ)
{
    return QStringLiteral("La valeur « %1 » du champ %2 n'est pas un nombre.").arg(valeur, champ);
}

QDate dateOuDefaut(const QString &texte, const QDate &defaut)
{
    const QDateTime d = lireDate(texte.trimmed());
    return d.isValid() ? d.date() : defaut;
}

const QDate DEBUT_VIDE(1900, 1, 1);
const QDate FIN_VIDE(2050, 12, 31);

QString jour(const QDate &d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

QString colonnesPoint()
{
    QStringList c{QStringLiteral("codeQualitometre"), QStringLiteral("codePoint")};
    for (const ChampPoint &ch : CHAMPS)
        c << QLatin1String(ch.colonne);
    for (int i = 1; i <= 6; ++i)
        c << QStringLiteral("Photo") + QString::number(i);
    return c.join(QStringLiteral(", "));
}

FichePoint lirePoint(const Tableau &t, int l)
{
    FichePoint p;
    p.station = qint64(t.valeur(l, QStringLiteral("codeQualitometre")).toDouble());
    p.codePoint = t.texte(l, QStringLiteral("codePoint"));
    for (const ChampPoint &ch : CHAMPS)
        p.*ch.membre = t.texte(l, QLatin1String(ch.colonne));
    for (int i = 0; i < 6; ++i)
        p.photos[i] = t.texte(l, QStringLiteral("Photo") + QString::number(i + 1));
    return p;
}

} // namespace

EntreesCodees entreesIdentifiantsPoint()
{
    return {{QStringLiteral("031"), QStringLiteral("Eau - physico-chimie"), 0},
            {QStringLiteral("041"), QStringLiteral("Autre support (4)"), 0},
            {QStringLiteral("061"), QStringLiteral("Autre support (6)"), 0},
            {QStringLiteral("071"), QStringLiteral("Autre support (7)"), 0},
            {QStringLiteral("091"), QStringLiteral("Autre support (9)"), 0},
            {QStringLiteral("101"), QStringLiteral("Diatomées benthiques (IBD)"), 0},
            {QStringLiteral("131"), QStringLiteral("Macro-invertébrés (IBGN, I2M2)"), 0},
            {QStringLiteral("271"), QStringLiteral("Macrophytes (IBMR)"), 0}};
}

bool estPointPhysicoChimique(const QString &identifiant)
{
    const QString i = identifiant.trimmed();
    return i == QLatin1String("031") || i == QLatin1String("061") || i == QLatin1String("071");
}

LibellesPoint libellesPoint(const QString &identifiant)
{
    const QString i = identifiant.trimmed();
    if (i == QLatin1String("131") || i == QLatin1String("271"))
        return {QStringLiteral("Largeur au débit de plein bord (m)"),
                {},
                QStringLiteral("Largeur mouillée moyenne (m)")};
    if (i == QLatin1String("101")) return {{}, {}, QStringLiteral("Prof maxi observée (m)")};
    return {{}, QStringLiteral("Prof début (m)"), QStringLiteral("Prof fin (m)")};
}

QVector<FichePoint> chargerPoints(qint64 station)
{
    QVector<FichePoint> points;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT ") + colonnesPoint() +
        QStringLiteral(" FROM QUALITOMETRES_POINTS WHERE codeQualitometre=") +
        QString::number(station) + QStringLiteral(" ORDER BY identifiant, dateDebut, codePoint"));
    points.reserve(t.nbLignes());
    for (int l = 0; l < t.nbLignes(); ++l)
        points.append(lirePoint(t, l));
    return points;
}

std::optional<FichePoint> chargerPoint(qint64 station, const QString &codePoint)
{
    const Nombre code = enNombre(codePoint, true);
    if (!code.estNombre()) return std::nullopt;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT ") + colonnesPoint() +
        QStringLiteral(" FROM QUALITOMETRES_POINTS WHERE codeQualitometre=") +
        QString::number(station) + QStringLiteral(" AND codePoint=") + sqlNombre(code.valeur));
    if (t.estVide()) return std::nullopt;
    return lirePoint(t, 0);
}

ListeRefus verifierPoint(const FichePoint &p)
{
    ListeRefus refus;
    if (p.identifiant.trimmed().isEmpty())
        refus.append({QStringLiteral("identifiant"), textePoints::SITE_VIDE});
    const bool debutLu =
        p.dateDebut.trimmed().isEmpty() || lireDate(p.dateDebut.trimmed()).isValid();
    const bool finLue = p.dateFin.trimmed().isEmpty() || lireDate(p.dateFin.trimmed()).isValid();
    if (!debutLu) refus.append({QStringLiteral("dateDebut"), textePoints::DATE_DEBUT});
    if (!finLue) refus.append({QStringLiteral("dateFin"), textePoints::DATE_FIN});
    if (debutLu && finLue &&
        dateOuDefaut(p.dateFin, FIN_VIDE) < dateOuDefaut(p.dateDebut, DEBUT_VIDE))
        refus.append({QStringLiteral("dateFin"), textePoints::PERIODE});
    for (const ChampPoint &ch : CHAMPS) {
        const QString v = (p.*ch.membre).trimmed();
        if (ch.libelle && !v.isEmpty() && !estNombre(v))
            refus.append(
                {QLatin1String(ch.colonne), nombreIncorrect(v, QString::fromUtf8(ch.libelle))});
    }
    return refus;
}

bool chevauchePoint(const FichePoint &p)
{
    const QString debut = dateSQL(jour(dateOuDefaut(p.dateDebut, DEBUT_VIDE)));
    const QString fin = dateSQL(jour(dateOuDefaut(p.dateFin, FIN_VIDE)));
    const Nombre code = enNombre(p.codePoint, true);
    const QString sql =
        QStringLiteral("SELECT codePoint FROM QUALITOMETRES_POINTS WHERE CodeQualitometre=") +
        QString::number(p.station) + QStringLiteral(" AND identifiant=") +
        sqlTexte(p.identifiant.trimmed()) + QStringLiteral(" AND codePoint<>") +
        (code.estNombre() ? sqlNombre(code.valeur) : QStringLiteral("-1")) +
        QStringLiteral(" AND ((dateDebut<=") + fin + QStringLiteral(" AND dateFin>=") + debut +
        QStringLiteral(") OR (dateDebut IS NULL AND dateFin>=") + debut +
        QStringLiteral(") OR (dateFin IS NULL AND dateDebut<=") + fin +
        QStringLiteral(") OR (dateDebut IS NULL AND dateFin IS NULL))");
    return !bd().extraire(sql).estVide();
}

qint64 codePointSuivant(qint64 station)
{
    const QVariant max = bd().valeur(
        QStringLiteral("SELECT Max(CodePoint) FROM QUALITOMETRES_POINTS WHERE codeQualitometre=") +
        QString::number(station));
    return max.isNull() ? 0 : qint64(max.toDouble()) + 1;
}

bool reculerDateCreation(qint64 station, const QDate &date, const QString &prefixeDetail)
{
    if (!date.isValid()) return false;
    // Only a later day is moved back: a creation time on that very day stays. The condition in
    // the statement spares a read first.
    if (!bd().Execute(QStringLiteral("UPDATE QUALITOMETRES SET dateCreation=") +
                      dateSQL(jour(date)) + QStringLiteral(" WHERE codeQualitometre=") +
                      QString::number(station) + QStringLiteral(" AND dateCreation>=") +
                      dateSQL(jour(date.addDays(1)))) ||
        bd().lignesModifiees() == 0)
        return false;
    journaliser(textePoints::TITRE_JOURNAL,
                prefixeDetail +
                    QStringLiteral("Modification de la date de création du qualitomètre (") +
                    QString::number(station) + QStringLiteral(") à la date du: ") + jour(date));
    return true;
}

QString enregistrerPoint(FichePoint &p)
{
    if (const ListeRefus refus = verifierPoint(p); !refus.isEmpty()) return messageRefus(refus);
    // The overlaps and the next code are read under the table's lock, in the save's transaction:
    // two workstations adding a point to one station at once get two codes.
    Transaction transaction;
    const bool verrou =
        transaction.estOuverte() && bd().verrouiller(QStringLiteral("QUALITOMETRES_POINTS"));
    if (verrou && chevauchePoint(p)) return textePoints::CHEVAUCHEMENT;
    const qint64 code =
        p.estNouveau() ? codePointSuivant(p.station) : qint64(enNombre(p.codePoint, true).valeur);
    JeuEnregistrements jeu;
    bool trouve = false;
    bool ok =
        verrou && bd().AccesBase(
                      QStringLiteral("SELECT * FROM QUALITOMETRES_POINTS WHERE codeQualitometre=") +
                          QString::number(p.station) + QStringLiteral(" AND codePoint=") +
                          QString::number(code),
                      jeu, trouve, QStringLiteral("QUALITOMETRES_POINTS"));
    if (ok) {
        if (!trouve) jeu.addnew();
        jeu.fields(QStringLiteral("codeQualitometre")) = double(p.station);
        jeu.fields(QStringLiteral("codePoint")) = double(code);
        for (const ChampPoint &ch : CHAMPS) {
            const QString v = (p.*ch.membre).trimmed();
            jeu.fields(QLatin1String(ch.colonne)) =
                v.isEmpty() ? QVariant() : (ch.libelle ? enNombre(v, true).variant() : QVariant(v));
        }
        for (int i = 0; i < 6; ++i)
            jeu.fields(QStringLiteral("Photo") + QString::number(i + 1)) =
                p.photos.value(i).trimmed().isEmpty() ? QVariant()
                                                      : QVariant(p.photos.value(i).trimmed());
        ok = jeu.Update();
        jeu.Close();
    }
    if (!ok || !transaction.valider())
        return textePoints::ECHEC_ENREGISTREMENT + bd().derniereErreur();
    p.codePoint = QString::number(code);
    if (const QDateTime debut = lireDate(p.dateDebut.trimmed()); debut.isValid())
        reculerDateCreation(p.station, debut.date(), textePoints::JOURNAL_SAISIE);
    return {};
}

bool supprimerPoint(qint64 station, const QString &codePoint, const QString &codeStationAffiche,
                    const Confirmation &confirmer, QString &refus)
{
    refus.clear();
    const Nombre code = enNombre(codePoint, true);
    if (!code.estNombre()) {
        refus = textePoints::AUCUN;
        return false;
    }
    const QString condition = QStringLiteral(" WHERE codePoint=") + sqlNombre(code.valeur) +
                              QStringLiteral(" AND codeQualitometre=") + QString::number(station);
    if (bd().valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS") +
                    condition)
            .toLongLong() > 0) {
        refus = textePoints::OPERATIONS_RATTACHEES;
        return false;
    }
    if (!confirmer(textePoints::questionSuppression(codeStationAffiche))) return false;
    if (!bd().Execute(QStringLiteral("DELETE FROM QUALITOMETRES_POINTS") + condition)) {
        refus = textePoints::ECHEC_SUPPRESSION + bd().derniereErreur();
        return false;
    }
    return true;
}

namespace {

// A point of the identifier turned down because its position differs from the measurement's.
struct PointEcarte
{
    qint64 code;
    QDate debut, fin;
};

// The new point may not overlap a point turned down for its position: one that started before
// the date ends the day before it, a later one bounds the new point's period. One that starts on
// that very day, or a measurement without date, leaves nothing to split: refused.
bool separerDefinitions(qint64 station, const QString &id, const QDate &date,
                        const QVector<PointEcarte> &ecartes, QDate &finNouveau,
                        QVector<qint64> &aFermer, QString &refus)
{
    for (const PointEcarte &e : ecartes) {
        if (!date.isValid() || e.debut == date) {
            refus = textePoints::POSITION_DIFFERENTE.arg(id, QString::number(station));
            return false;
        }
        if (e.debut.isValid() && e.debut > date) {
            const QDate fin = e.debut.addDays(-1);
            if (!finNouveau.isValid() || fin < finNouveau) finNouveau = fin;
        } else if (!e.fin.isValid() || e.fin >= date) {
            aFermer << e.code;
        }
    }
    return true;
}

// Inside the caller's transaction, under its lock: suivant is the station's next code.
qint64 creerPoint(qint64 station, const QString &id, const QDate &date,
                  std::optional<double> profondeur, std::optional<double> x,
                  std::optional<double> y, const QVector<PointEcarte> &ecartes, qint64 code,
                  QString &refus)
{
    QDate finNouveau;
    QVector<qint64> aFermer;
    if (!separerDefinitions(station, id, date, ecartes, finNouveau, aFermer, refus)) return -1;
    const QString veille = dateSQL(jour(date.addDays(-1)));
    for (qint64 f : std::as_const(aFermer)) {
        if (!bd().Execute(QStringLiteral("UPDATE QUALITOMETRES_POINTS SET dateFin=") + veille +
                          QStringLiteral(" WHERE codeQualitometre=") + QString::number(station) +
                          QStringLiteral(" AND codePoint=") + QString::number(f))) {
            refus = bd().derniereErreur();
            return -1;
        }
        journaliser(textePoints::TITRE_FERMETURE,
                    textePoints::JOURNAL_FERMETURE.arg(
                        QString::number(f), id, QString::number(station), jour(date.addDays(-1))));
    }
    InstructionPreparee ajout = bd().preparer(
        QStringLiteral("INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, "
                       "identifiant, dateDebut, dateFin, profondeurRecommandee, X, Y) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    const auto variante = [](std::optional<double> v) { return v ? QVariant(*v) : QVariant(); };
    const auto jourVariante = [](const QDate &d) {
        return d.isValid() ? QVariant(QDateTime(d, QTime(0, 0))) : QVariant();
    };
    if (!ajout.executer({double(station), double(code), id, jourVariante(date),
                         jourVariante(finNouveau), variante(profondeur), variante(x),
                         variante(y)})) {
        refus = bd().derniereErreur();
        return -1;
    }
    return code;
}

// The station (no row when unknown) with its points of the identifier, one row each (one row
// with a null code when it has none), its creation date and its largest point code.
Tableau lirePointsIdentifiant(qint64 station, const QString &id, std::optional<double> profondeur)
{
    const QString n = QString::number(station);
    QString sql =
        QStringLiteral("SELECT q.dateCreation, (SELECT Max(m.CodePoint) FROM QUALITOMETRES_POINTS "
                       "m WHERE m.codeQualitometre=") +
        n +
        QStringLiteral(") AS dernier, p.codePoint, p.X, p.Y, p.dateDebut, p.dateFin FROM "
                       "QUALITOMETRES q LEFT JOIN QUALITOMETRES_POINTS p ON "
                       "(p.codeQualitometre=q.codeQualitometre AND p.identifiant=") +
        sqlTexte(id);
    if (profondeur) sql += QStringLiteral(" AND p.profondeurRecommandee=") + sqlNombre(*profondeur);
    return bd().extraire(sql + QStringLiteral(") WHERE q.codeQualitometre=") + n +
                         QStringLiteral(" ORDER BY p.codePoint"));
}

// The rows to try, in order: with a date, the latest started on or before it then the undated
// ones (valid at any date), or else the earliest started after it; without a date, the latest
// then the undated ones. Ties keep the codes' order.
QVector<QVector<int>> ordresCandidats(const Tableau &t, const QDate &date)
{
    QVector<int> dates, sansDate;
    for (int l = 0; l < t.nbLignes(); ++l) {
        if (t.valeur(l, QStringLiteral("codePoint")).isNull()) continue;
        (t.valeur(l, QStringLiteral("dateDebut")).isNull() ? sansDate : dates) << l;
    }
    auto debut = [&](int l) { return t.valeur(l, QStringLiteral("dateDebut")).toDateTime(); };
    std::stable_sort(dates.begin(), dates.end(), [&](int a, int b) { return debut(a) > debut(b); });
    if (!date.isValid()) return {dates + sansDate};
    const QDateTime jourMesure(date, QTime(0, 0));
    QVector<int> avant, apres;
    for (int l : std::as_const(dates))
        (debut(l) <= jourMesure ? avant : apres) << l;
    // A point started on that very day is in both.
    for (int l : std::as_const(avant))
        if (debut(l) == jourMesure) apres << l;
    std::stable_sort(apres.begin(), apres.end(), [&](int a, int b) {
        return debut(a) < debut(b) || (debut(a) == debut(b) && a < b);
    });
    return {avant + sansDate, apres};
}

} // namespace

qint64 trouverPointPrelevement(qint64 station, const QString &identifiant, const QDate &date,
                               std::optional<double> profondeur, std::optional<double> x,
                               std::optional<double> y, QString *refus, IssuePoint *issue)
{
    QString raison;
    const QString id = identifiant.trimmed();
    if (id.isEmpty()) return -1;
    // The candidates, the overlaps and the next code are read under the table's lock: two
    // imports meeting one new point at once create it once.
    Transaction transaction;
    if (!transaction.estOuverte() || !bd().verrouiller(QStringLiteral("QUALITOMETRES_POINTS"))) {
        if (refus) *refus = bd().derniereErreur();
        return -1;
    }
    const Tableau t = lirePointsIdentifiant(station, id, profondeur);
    if (t.estVide()) return -1;

    // Tolerance on the position of a matched point.
    std::optional<double> marge;
    if (x && y && !estActive(lireRegistre(reglage::repriseSiteSansControle)))
        if (const Nombre m = enNombre(lireRegistre(reglage::MargeIntegrationSite), true);
            m.estNombre() && m.valeur >= 0)
            marge = m.valeur;
    auto convient = [&](int l) {
        const QVariant &px = t.valeur(l, QStringLiteral("X"));
        const QVariant &py = t.valeur(l, QStringLiteral("Y"));
        if (!marge || px.isNull() || py.isNull()) return true;
        return std::abs(px.toDouble() - *x) <= *marge && std::abs(py.toDouble() - *y) <= *marge;
    };
    QVector<PointEcarte> ecartes;
    auto essayer = [&](const QVector<int> &ordre) -> qint64 {
        for (int l : ordre) {
            const qint64 point = qint64(t.valeur(l, QStringLiteral("codePoint")).toDouble());
            if (convient(l)) return point;
            ecartes.append({point, t.valeur(l, QStringLiteral("dateDebut")).toDateTime().date(),
                            t.valeur(l, QStringLiteral("dateFin")).toDateTime().date()});
        }
        return -1;
    };
    qint64 code = -1;
    for (const QVector<int> &ordre : ordresCandidats(t, date))
        if (code < 0) code = essayer(ordre);
    const bool cree = code < 0;
    if (cree) {
        const QVariant dernier = t.valeur(0, QStringLiteral("dernier"));
        code = creerPoint(station, id, date, profondeur, x, y, ecartes,
                          dernier.isNull() ? 0 : qint64(dernier.toDouble()) + 1, raison);
        const QVariant creation = t.valeur(0, QStringLiteral("dateCreation"));
        if (code >= 0 && !creation.isNull() && creation.toDateTime().date() > date)
            reculerDateCreation(station, date, textePoints::JOURNAL_CREATION);
    }
    if (code >= 0 && !transaction.valider()) {
        raison = bd().derniereErreur();
        code = -1;
    }
    if (refus) *refus = raison;
    if (issue && code >= 0) {
        const bool aucun = t.valeur(0, QStringLiteral("codePoint")).isNull();
        *issue = {cree, (aucun ? 0 : int(t.nbLignes())) + (cree ? 1 : 0)};
    }
    return code;
}

QStringList photosPoint(const FichePoint &point, const QString &codeBSS, const QString &dossier)
{
    QStringList photos;
    QSet<QString> vues;
    auto ajouter = [&](const QString &chemin) {
        const QString c = QDir::cleanPath(chemin);
        if (!vues.contains(c) && QFileInfo(c).isFile()) {
            vues.insert(c);
            photos << c;
        }
    };
    if (!dossier.trimmed().isEmpty() && !codeBSS.trimmed().isEmpty()) {
        const QDir d(dossier.trimmed());
        // "/" may not stand in a file name.
        const QString station = QString(codeBSS.trimmed()).replace(u'/', u'_');
        const QStringList prefixes{station + u'_' + point.identifiant.trimmed(), station};
        const QStringList sortes{QStringLiteral("carte"),  QStringLiteral("site"),
                                 QStringLiteral("amont"),  QStringLiteral("aval"),
                                 QStringLiteral("bateau"), QStringLiteral("schema")};
        const QStringList indices{QStringLiteral("IBD"), QStringLiteral("IBMR"),
                                  QStringLiteral("IBG"), QStringLiteral("IBGDCE")};
        QStringList motifs;
        for (const QString &prefixe : prefixes) {
            for (const QString &s : sortes) {
                motifs << prefixe + u'_' + s + u'*';
                for (const QString &i : indices)
                    motifs << prefixe + u'_' + i + u'_' + s + u'*';
            }
            motifs << prefixe + QStringLiteral("scan_IBMR*")
                   << prefixe + QStringLiteral("_scan_IBMR*")
                   << prefixe + QStringLiteral("_scan_IBGDCE*")
                   << prefixe + QStringLiteral("_scan_IBD*");
        }
        const QStringList fichiers = d.entryList(motifs, QDir::Files, QDir::Name);
        for (const QString &f : fichiers)
            ajouter(d.filePath(f));
    }
    for (const QString &p : point.photos)
        if (!p.trimmed().isEmpty())
            ajouter(QFileInfo(p.trimmed()).isRelative() && !dossier.trimmed().isEmpty()
                        ? QDir(dossier.trimmed()).filePath(p.trimmed())
                        : p.trimmed());
    return photos;
}

} // namespace vyk
