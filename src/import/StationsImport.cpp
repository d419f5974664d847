#include "import/IntegrationInterne.h"

#include "db/BaseDonnees.h"
#include "db/Ligne.h"
#include "db/Outils.h"
#include "monitoring/SuppressionQualitometre.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"

namespace vyk {

QVariant premiere(const QString &sql, const QVector<QVariant> &valeurs, int colonne)
{
    InstructionPreparee q = bd().preparer(sql);
    Tableau t;
    if (!q.extraire(t, valeurs) || t.estVide()) return {};
    return t(0, colonne);
}

namespace {

// Link tables of a groundwater station and of a water-quality station, with their columns.
struct LienCopie
{
    const char *source, *cible, *colonnes;
};
constexpr LienCopie LIENS[] = {
    {"LIEN_PIEZO_AQUIFERE", "LIEN_QUALITO_AQUIFERE", "CodeAquifere"},
    {"LIEN_PIEZO_ENTITE_HYDRO", "LIEN_QUALITO_ENTITE_HYDRO", "CodeEntiteHydro"},
    {"LIEN_PIEZO_LITHOLOGIES", "LIEN_QUALITO_LITHOLOGIES", "codeLithologie, Ordre, epaisseur"},
    {"LIEN_PIEZO_MASSE_EAU", "LIEN_QUALITO_MASSE_EAU", "Code_ME, Type"},
};

const QString COLONNES_DESCRIPTION = QStringLiteral(
    "Nom, CodeNature, DateCreation, DateFermeture, X, Y, TypeProjection, Altitude, Commentaires, "
    "CodeCommune, CodeContact, Localisation");

} // namespace

qint64 creerQualitometre(const QString &code, const QString &designation, const QString &type,
                         SuiteQualitometres *suite)
{
    if (bd().enTransaction()) bd().verrouiller(QStringLiteral("QUALITOMETRES"));
    qint64 nouveau = suite ? suite->suivant : -1;
    if (nouveau < 0) {
        const QVariant max =
            bd().valeur(QStringLiteral("SELECT max(CodeQualitometre) FROM QUALITOMETRES"));
        nouveau = max.isNull() ? 1 : qint64(max.toDouble()) + 1;
    }
    const QString codeBSS = code.trimmed().left(17);
    const QString desig = designation.trimmed().left(6);
    const Nombre t = enNombre(type, true);
    const QVariant typeQualito = t.estNombre() ? t.valeur : 1.0;
    // A groundwater point code holds an "X" and comes with its designation.
    const QString typeStation = codeBSS.contains(u'X', Qt::CaseInsensitive) && !desig.isEmpty()
                                    ? QStringLiteral("0")
                                    : QStringLiteral("1");
    QVariant piezo;
    const bool piezometres = suite && suite->piezometres >= 0
                                 ? suite->piezometres > 0
                                 : bd().tableExiste(QStringLiteral("PIEZOMETRES"));
    if (suite) suite->piezometres = piezometres ? 1 : 0;
    if (piezometres)
        piezo = premiere(QStringLiteral("SELECT CodePiezometre FROM PIEZOMETRES WHERE CodeBSS=?"),
                         {codeBSS});
    bool ok;
    if (piezo.isNull()) {
        InstructionPreparee ins = bd().preparer(
            QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Designation, "
                           "Type_qualitometre, typeStation) VALUES (?, ?, ?, ?, ?)"));
        ok = ins.executer({nouveau, codeBSS, nulSiVide(desig), typeQualito, typeStation});
    } else {
        // The description of the groundwater station of the same code is taken over.
        InstructionPreparee ins = bd().preparer(
            QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Designation, "
                           "Type_qualitometre, typeStation, ") +
            COLONNES_DESCRIPTION + QStringLiteral(") SELECT ?, ?, ") +
            (desig.isEmpty() ? QStringLiteral("Designation") : QStringLiteral("?")) +
            QStringLiteral(", ?, ?, ") + COLONNES_DESCRIPTION +
            QStringLiteral(" FROM PIEZOMETRES WHERE CodePiezometre=?"));
        QVector<QVariant> v = {nouveau, codeBSS};
        if (!desig.isEmpty()) v << desig;
        v << typeQualito << typeStation << piezo;
        ok = ins.executer(v);
        for (const LienCopie &l : LIENS) {
            if (!ok || !bd().tableExiste(QString::fromLatin1(l.source)) ||
                !bd().tableExiste(QString::fromLatin1(l.cible)))
                continue;
            InstructionPreparee lien = bd().preparer(
                QStringLiteral("INSERT INTO %1 (CodeQualitometre, %3) SELECT ?, %3 FROM %2 WHERE "
                               "CodePiezometre=?")
                    .arg(QString::fromLatin1(l.cible), QString::fromLatin1(l.source),
                         QString::fromLatin1(l.colonnes)));
            ok = lien.executer({nouveau, piezo});
        }
    }
    if (ok && suite) {
        suite->suivant = nouveau + 1;
        suite->liens = !piezo.isNull();
    }
    return ok ? nouveau : -1;
}

qint64 IntegrationAnalyses::chercherStation(const QString &cle, QString &codeBSS)
{
    const QString code = cle.section(u'/', 0, 0).trimmed();
    const QString designation = cle.contains(u'/') ? cle.section(u'/', 1).trimmed() : QString();
    auto lire = [&](const QString &sql, const QVector<QVariant> &valeurs) -> qint64 {
        InstructionPreparee q = bd().preparer(sql);
        Tableau t;
        if (!q.extraire(t, valeurs) || t.estVide()) return -1;
        codeBSS = t.texte(0, QStringLiteral("CodeBSS"));
        return qint64(t.valeur(0, QStringLiteral("CodeQualitometre")).toDouble());
    };
    qint64 station = -1;
    if (!designation.isEmpty())
        station = lire(QStringLiteral("SELECT CodeQualitometre, CodeBSS FROM QUALITOMETRES WHERE "
                                      "CodeBSS=? AND Designation=?"),
                       {code, designation});
    if (station < 0)
        station = lire(
            QStringLiteral("SELECT CodeQualitometre, CodeBSS FROM QUALITOMETRES WHERE CodeBSS=?"),
            {code});
    if (station < 0) {
        // The key as an organisation's own reference of the station.
        const QVariant lien = premiere(QStringLiteral("SELECT codeQualitometre FROM "
                                                      "LIEN_QUALITO_INTERVENANTS WHERE "
                                                      "referenceInterne=?"),
                                       {code});
        if (!lien.isNull())
            station = lire(QStringLiteral("SELECT CodeQualitometre, CodeBSS FROM QUALITOMETRES "
                                          "WHERE CodeQualitometre=?"),
                           {lien.toDouble()});
    }
    return station;
}

void IntegrationAnalyses::resoudreStation(const QString &cle, int ligne)
{
    m_station = StationImport{};
    m_station.cle = cle;
    if (cle.isEmpty()) {
        m_station.erreur = QStringLiteral("le code de la station est vide");
        return;
    }
    m_station.code = chercherStation(cle, m_station.codeBSS);
    if (m_station.code < 0) {
        const QString code = cle.section(u'/', 0, 0).trimmed();
        // A longer code would be cut, and the next import would not find the station again.
        const int taille = tailleTexte(u"QUALITOMETRES", u"CodeBSS");
        if (code.isEmpty() || (taille > 0 && code.size() > taille)) {
            m_station.erreur = QStringLiteral("le code de la station « ") + code +
                               QStringLiteral(" » est vide ou dépasse %1 caractères").arg(taille);
            return;
        }
        QString erreur;
        if (tableAnalyses(code, &erreur).isEmpty()) {
            m_station.erreur = erreur;
            return;
        }
        m_station.code =
            creerQualitometre(code, cle.contains(u'/') ? cle.section(u'/', 1) : QString(),
                              texte(ligne, ColonneImport::TypeQualito));
        if (m_station.code < 0) {
            m_station.erreur =
                QStringLiteral("la station n'a pas pu être créée : ") + bd().derniereErreur();
            return;
        }
        m_station.codeBSS = code;
        m_bilan.stationsCreees << code;
    } else if (m_options.remplacer && !m_stationsPurgees.contains(m_station.code)) {
        // Replace mode: the station's data go once, before its first row of the file.
        const ResultatSuppression r = supprimerQualitometre(
            QString::number(m_station.code), m_station.codeBSS, nullptr, false, true);
        if (!r.effectuee || !r.echecs.isEmpty()) {
            m_station.erreur = QStringLiteral("les données de la station n'ont pas pu être "
                                              "supprimées : ") +
                               (r.echec.isEmpty() ? r.echecs.join(QStringLiteral("; ")) : r.echec);
            return;
        }
        ++m_bilan.stationsPurgees;
    }
    m_stationsPurgees.insert(m_station.code);
    QString erreur;
    m_station.table = tableAnalyses(m_station.codeBSS, &erreur);
    bool indexDiffere = false;
    if (m_station.table.isEmpty() || !creerTableAnalyses(m_station.codeBSS, &erreur, &indexDiffere))
        m_station.erreur = erreur;
    if (indexDiffere) m_indexAFaire = m_station.codeBSS;
}

bool IntegrationAnalyses::verrouillerTables()
{
    if (m_verrouille || !bd().enTransaction()) return true;
    m_verrouille = true;
    // Codes of points, operations, samples and parts are read then written: other workstations
    // wait until this run's transaction ends.
    for (const char *t :
         {"QUALITOMETRES", "QUALITOMETRES_POINTS", "QUALITOMETRES_POINTS_OPERATIONS",
          "PRELEVEMENTS", "PRELEVEMENTS_ECHANTILLONS", "INTERVENANTS"})
        if (!bd().verrouiller(QString::fromLatin1(t))) return false;
    return true;
}

void IntegrationAnalyses::ouvrirStation(const QString &cle, int ligne)
{
    if (m_options.remplacer) {
        m_transactionStation = std::make_unique<Transaction>();
        m_bilanAvantStation = m_bilan;
        // Another workstation may have written between two stations' transactions.
        m_verrouille = false;
        m_maxPrelevement.reset();
        m_intervenants.oublierMaximum();
    }
    m_points.clear();
    m_operations.clear();
    m_prelevementsParJour.clear();
    m_prelevements.clear();
    m_nbPrelevementsOperation.clear();
    m_prelevementsRencontres.clear();
    m_rencontres.clear();
    m_operationsTouchees.clear();
    m_analysesStationLues = false;
    m_maxOperation = -1;
    if (!verrouillerTables()) {
        m_station = StationImport{};
        m_station.cle = cle;
        m_station.erreur =
            QStringLiteral("les tables n'ont pas pu être réservées : ") + bd().derniereErreur();
        return;
    }
    const auto connue = m_stations.constFind(cle);
    if (connue != m_stations.constEnd() && connue->erreur.isEmpty()) {
        m_station = *connue;
    } else {
        resoudreStation(cle, ligne);
        m_stations.insert(cle, m_station);
    }
    ++m_bilan.stations;
    if (m_station.erreur.isEmpty()) chargerStation();
}

void IntegrationAnalyses::chargerStation()
{
    // Reads held whole (a server sends them in one round trip), columns by position: no table
    // of values is built, and a day and a time are read as written, with no time-zone lookup.
    const QString code = QString::number(m_station.code);
    QDate jour;
    QTime heure;
    auto operation = [&](const Ligne &l) {
        const qint64 op = l.entier(0);
        m_maxOperation = std::max(m_maxOperation, op);
        if (l.estNul(1) || l.estNul(2)) return true;
        jour = QDate();
        l.jourHeure(2, jour, heure);
        m_operations.insert(cleJour(l.entier(1), jour), op);
        return true;
    };
    bd().parcourirEnBloc(QStringLiteral("SELECT codeOperation, codePoint, dateDebut FROM "
                                        "QUALITOMETRES_POINTS_OPERATIONS WHERE codeQualitometre=") +
                             code,
                         operation);
    auto prelevement = [&](const Ligne &l) {
        if (!l.estNul(1)) ++m_nbPrelevementsOperation[l.entier(1)];
        if (l.estNul(1) || l.estNul(2)) return true;
        PrelevementImport p;
        p.numero = l.entier(0);
        p.operation = l.entier(1);
        jour = QDate();
        l.jourHeure(2, jour, heure);
        p.heure = QTime(0, 0);
        QDate jourDesHeures;
        if (!l.estNul(3) && !l.jourHeure(3, jourDesHeures, p.heure)) p.heure = QTime();
        m_prelevementsParJour[cleJour(p.operation, jour)] << p.numero;
        m_prelevements.insert(p.numero, p);
        return true;
    };
    bd().parcourirEnBloc(QStringLiteral("SELECT NumPrelevement, codeOperation, DateDebut, "
                                        "HeureDebut FROM PRELEVEMENTS WHERE CodeQualitometre=") +
                             code + QStringLiteral(" ORDER BY NumPrelevement"),
                         prelevement);
}

bool IntegrationAnalyses::terminerStation(bool annuler)
{
    bool ok = true;
    if (annuler && m_options.remplacer) {
        libererAttente();
        m_aRemplacer.clear();
        m_nouvellesOperations.clear();
        m_accordsPrelevements.clear();
        m_accordsOperations.clear();
    } else if (m_station.erreur.isEmpty() && m_station.code >= 0) {
        QString raison;
        ok = ecrireAnalyses(raison) && clotureStation();
        if (!ok && m_bilan.erreur.isEmpty())
            m_bilan.erreur = raison.isEmpty() ? bd().derniereErreur() : raison;
    }
    // A table this run made gets its index once its rows are in. An undone station may leave a
    // table behind without it (an engine whose DDL commits on its own) or bring back the one
    // its purge dropped, with its index.
    auto indexer = [&](bool apresAnnulation) {
        if (m_indexAFaire.isEmpty()) return;
        const QString code = std::exchange(m_indexAFaire, {});
        if (!apresAnnulation || (bd().tableExiste(PREFIXE_ANALYSES + code) &&
                                 !bd().indexExiste(PREFIXE_INDEX_ANALYSES + code)))
            creerIndexTableAnalyses(code);
    };
    if (m_transactionStation) {
        if (annuler || !ok) {
            m_transactionStation->annuler();
            indexer(true);
            // Nothing of the station was kept: its rows are not counted, its errors are.
            BilanAnalyses b = m_bilanAvantStation;
            b.erreur = m_bilan.erreur;
            b.interrompu = m_bilan.interrompu;
            b.lignesEnErreur = m_bilan.lignesEnErreur;
            b.stations = m_bilan.stations;
            m_bilan = b;
        } else {
            indexer(false); // inside the station's transaction
            if (!m_transactionStation->valider()) {
                ok = false;
                if (m_bilan.erreur.isEmpty())
                    m_bilan.erreur = QStringLiteral("Les données de la station ") + m_station.cle +
                                     QStringLiteral(" n'ont pas pu être enregistrées : ") +
                                     bd().derniereErreur();
            }
        }
        m_transactionStation.reset();
    }
    indexer(false);
    return ok;
}

} // namespace vyk
