#include "import/classeurs/EcritureHydrobio.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Outils.h"
#include "db/Tableau.h"
#include "import/IntegrationInterne.h"
#include "monitoring/OperationsHydrobio.h"
#include "monitoring/PointsPrelevement.h"
#include "monitoring/Qualitometre.h"
#include "monitoring/SuppressionQualitometre.h"

namespace vyk {

namespace {

QVariant nombre(const QString &texte)
{
    return enNombre(texte, true).variant();
}

QVariant optionnel(const std::optional<double> &v)
{
    return v ? QVariant(*v) : QVariant();
}

QString lu(const QString &nom)
{
    return lireRegistre(nom).trimmed();
}

} // namespace

DefautsOperation DefautsOperation::lire()
{
    DefautsOperation d;
    d.qualification = lu(reglage::Qualification);
    d.statut = lu(reglage::Statut);
    d.determinateur = lu(reglage::Determinateur);
    d.producteur = lu(reglage::Producteur);
    d.preleveur = lu(reglage::Preleveur);
    d.protocole = lu(reglage::ProtocolePrelevement);
    d.contactPreleveur = lu(reglage::ContactPreleveur);
    d.contactDeterminateur = lu(reglage::ContactDeterminateur);
    d.accreditation = lu(reglage::Accreditation);
    d.saisonnalite = lu(reglage::Saisonnalite);
    d.support = lu(reglage::Support);
    d.modeConservation = lu(reglage::ModeConservation);
    return d;
}

EcritureHydrobio::EcritureHydrobio(const OptionsIntegration &options, BilanAnalyses &bilan)
    : m_options(options), m_bilan(bilan), m_defauts(DefautsOperation::lire())
{
}

qint64 EcritureHydrobio::station(const StationClasseur &s, QString &raison)
{
    const QString code = s.code.trimmed();
    if (code.isEmpty()) {
        raison = QStringLiteral("Le code de la station n'est pas renseigné.");
        return -1;
    }
    if (const QString r = verifierCodeTable(code); !r.isEmpty()) {
        raison = r;
        return -1;
    }
    qint64 station = -1;
    if (const std::optional<StationQualite> trouvee = trouverQualitometreParCode(code)) {
        station = trouvee->code;
    } else {
        station = creerQualitometre(code, {}, QStringLiteral("1"));
        if (station < 0 || !decrireStation(station, s)) {
            raison = QStringLiteral("La station ") + code +
                     QStringLiteral(" n'a pas pu être créée : ") + bd().derniereErreur();
            return -1;
        }
        m_bilan.stationsCreees << code;
    }
    if (!m_vues.contains(station)) {
        m_vues.insert(station);
        ++m_bilan.stations;
    }
    if (m_options.remplacer && !m_purgees.contains(station)) {
        m_purgees.insert(station);
        const ResultatSuppression r =
            supprimerQualitometre(QString::number(station), code, nullptr, false, true);
        if (!r.effectuee || !r.echecs.isEmpty()) {
            raison = QStringLiteral("Les données de la station ") + code +
                     QStringLiteral(" n'ont pas pu être supprimées : ") +
                     (r.echec.isEmpty() ? r.echecs.join(QStringLiteral(" ; ")) : r.echec);
            return -1;
        }
        ++m_bilan.stationsPurgees;
    }
    if (!ecrireLocalisation(station, s)) {
        raison = bd().derniereErreur();
        return -1;
    }
    return station;
}

bool EcritureHydrobio::decrireStation(qint64 code, const StationClasseur &s)
{
    // Commune by INSEE code, else by name; water body by label: values bound, never pasted.
    QVariant commune;
    if (!s.codeInsee.isEmpty())
        commune = premiere(QStringLiteral("SELECT CodeCommune FROM COMMUNES WHERE CodeCommune=?"),
                           {s.codeInsee});
    if (commune.isNull() && !s.commune.isEmpty())
        commune =
            premiere(QStringLiteral("SELECT CodeCommune FROM COMMUNES WHERE Nom=?"), {s.commune});
    InstructionPreparee maj = bd().preparer(
        QStringLiteral("UPDATE QUALITOMETRES SET Nom=?, riviere=?, CodeCommune=?, X=?, Y=?, "
                       "TypeProjection=?, Altitude=? WHERE CodeQualitometre=?"));
    const bool coordonnees = s.x && s.y;
    if (!maj.executer({nulSiVide(s.nom.left(70)), nulSiVide(s.coursEau), nombre(commune.toString()),
                       optionnel(s.x), optionnel(s.y),
                       coordonnees ? QVariant(s.projection) : QVariant(), optionnel(s.z), code}))
        return false;
    if (s.masseEau.isEmpty()) return true;
    InstructionPreparee me =
        bd().preparer(QStringLiteral("SELECT Code_ME, Type FROM MASSES_EAUX WHERE Libelle=?"));
    Tableau t;
    if (!me.extraire(t, {s.masseEau}) || t.estVide()) return true;
    InstructionPreparee lien = bd().preparer(QStringLiteral(
        "INSERT INTO LIEN_QUALITO_MASSE_EAU (CodeQualitometre, Code_ME, Type) VALUES (?, ?, ?)"));
    return lien.executer({code, t(0, 0), t(0, 1)});
}

bool EcritureHydrobio::ecrireLocalisation(qint64 code, const StationClasseur &s)
{
    if (!s.x || !s.y) return true;
    InstructionPreparee efface = bd().preparer(QStringLiteral(
        "DELETE FROM QUALITOMETRE_LOCALISATIONS WHERE CodeQualitometre=? AND CodeProjection=?"));
    InstructionPreparee ajout =
        bd().preparer(QStringLiteral("INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, "
                                     "CodeProjection, X, Y, Z) VALUES (?, ?, ?, ?, ?)"));
    return efface.executer({code, s.projection}) &&
           ajout.executer({code, s.projection, *s.x, *s.y, optionnel(s.z)});
}

qint64 EcritureHydrobio::operation(qint64 station, const QString &identifiant, int support,
                                   const QDate &date, QString &raison)
{
    if (!date.isValid()) {
        raison = QStringLiteral("La date de l'opération n'est pas une date.");
        return -1;
    }
    const qint64 point = trouverPointPrelevement(station, identifiant, date, {}, {}, {}, &raison);
    if (point < 0) {
        if (raison.isEmpty()) raison = bd().derniereErreur();
        return -1;
    }
    const QDateTime jour(date, QTime(0, 0));
    const QVariant execution =
        m_options.execution >= 0 ? QVariant(m_options.execution) : QVariant();
    const QVariant existante =
        premiere(QStringLiteral("SELECT CodeOperation FROM QUALITOMETRES_POINTS_OPERATIONS WHERE "
                                "codeQualitometre=? AND codePoint=? AND dateDebut=?"),
                 {station, point, jour});
    if (!existante.isNull()) {
        const qint64 code = qint64(existante.toDouble());
        InstructionPreparee maj = bd().preparer(
            QStringLiteral("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET jobExecutionId=? WHERE "
                           "codeQualitometre=? AND codeOperation=?"));
        if (execution.isValid() && !maj.executer({execution, station, code})) {
            raison = bd().derniereErreur();
            return -1;
        }
        return code;
    }
    const qint64 code = codeOperationSuivant(station);
    const DefautsOperation &d = m_defauts;
    InstructionPreparee ajout = bd().preparer(QStringLiteral(
        "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, codePoint, "
        "dateDebut, qualification, statut, codeDeterminateur, codeProducteur, codePreleveur, "
        "protocoleBiologique, contactPreleveur, contactDeterminateur, supportBiologique, "
        "accreditation, saisonnalite, modeConservationPrincipal, jobExecutionId, codecampagne) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    if (!ajout.executer({station, code, point, jour, nombre(d.qualification), nombre(d.statut),
                         nombre(d.determinateur), nombre(d.producteur), nombre(d.preleveur),
                         nombre(d.protocole), nombre(d.contactPreleveur),
                         nombre(d.contactDeterminateur), support,
                         nulSiVide(d.accreditation.left(1)), nombre(d.saisonnalite),
                         nombre(d.modeConservation), execution,
                         m_options.campagne >= 0 ? QVariant(m_options.campagne) : QVariant()})) {
        raison = bd().derniereErreur();
        return -1;
    }
    ++m_bilan.operationsCreees;
    return code;
}

bool EcritureHydrobio::ecrireResultats(qint64 station, qint64 operation,
                                       const QVector<int> &effaces,
                                       const QVector<ResultatIndice> &resultats, QString &raison)
{
    InstructionPreparee efface = bd().preparer(
        QStringLiteral("DELETE FROM QUALITOMETRES_OPERATIONS_RESULTATS WHERE codeQualitometre=? "
                       "AND codeOperation=? AND codeParametre=?"));
    for (const int p : effaces)
        if (!efface.executer({station, operation, p})) {
            raison = bd().derniereErreur();
            return false;
        }
    InstructionPreparee cherche =
        bd().preparer(QStringLiteral("SELECT indice FROM QUALITOMETRES_OPERATIONS_RESULTATS WHERE "
                                     "codeQualitometre=? AND codeOperation=? AND codeParametre=?"));
    InstructionPreparee maj = bd().preparer(
        QStringLiteral("UPDATE QUALITOMETRES_OPERATIONS_RESULTATS SET resultat=?, codeUnite=? "
                       "WHERE codeQualitometre=? AND codeOperation=? AND indice=?"));
    InstructionPreparee ajout = bd().preparer(
        QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                       "codeOperation, indice, codeParametre, codeUnite, resultat) "
                       "VALUES (?, ?, ?, ?, ?, ?)"));
    for (const ResultatIndice &r : resultats) {
        const QVariant unite = r.unite >= 0 ? QVariant(r.unite) : QVariant();
        Tableau t;
        if (!cherche.extraire(t, {station, operation, r.parametre})) {
            raison = bd().derniereErreur();
            return false;
        }
        bool ok;
        if (!t.estVide()) {
            ok = maj.executer({optionnel(r.valeur), unite, station, operation, t(0, 0)});
        } else {
            const QVariant max = premiere(
                QStringLiteral("SELECT Max(indice) FROM QUALITOMETRES_OPERATIONS_RESULTATS WHERE "
                               "codeQualitometre=? AND codeOperation=?"),
                {station, operation});
            const qint64 indice = max.isNull() ? 0 : qint64(max.toDouble()) + 1;
            ok = ajout.executer(
                {station, operation, indice, r.parametre, unite, optionnel(r.valeur)});
        }
        if (!ok) {
            raison = bd().derniereErreur();
            return false;
        }
    }
    return true;
}

bool EcritureHydrobio::ecrireListe(qint64 station, qint64 operation,
                                   const QVector<LigneTaxonListe> &lignes, QString &raison)
{
    for (int i = 0; i < lignes.size(); ++i)
        if (!ecrireTaxonListe(i == 0, station, operation, 1, i + 1, lignes.at(i))) {
            raison = QStringLiteral("Liste des taxons : ") + bd().derniereErreur();
            return false;
        }
    return true;
}

} // namespace vyk
